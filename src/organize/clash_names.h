// Names a file takes when its own is taken in the day folder: "IMG_0001(1).JPG", ...
#pragma once

#include <string>
#include <vector>

#include "organize/sidecar_groups.h"

// Where the extension of `name` begins (its last '.'), or name.size() when it has none; a
// leading '.' starts no extension.
std::size_t ExtensionStart(const std::string& name);

// `name` with "(number)" put before its extension: ("IMG_0001.JPG", 2) -> "IMG_0001(2).JPG".
std::string ClashName(const std::string& name, int number);

// What placing the file `mainName` with its `sidecars` into `dayFolder` may contend for, as
// keys: two such placements that could ever try one name share a key, whatever clash names
// they come to (and letter case aside, as some file systems ignore it). Each key is the folder
// and a name's family: its part before the first '(' or '.', and its extension, which every
// clash name made from it keeps, as does a sidecar's name after its file's.
std::vector<std::string> ClashKeys(const std::string& dayFolder, const std::string& mainName,
                                   const std::vector<Sidecar>& sidecars);
