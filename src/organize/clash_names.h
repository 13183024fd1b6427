// Names a file takes when its own is taken in the day folder: "IMG_0001(1).JPG", ...
#pragma once

#include <string>

// Where the extension of `name` begins (its last '.'), or name.size() when it has none; a
// leading '.' starts no extension.
std::size_t ExtensionStart(const std::string& name);

// `name` with "(number)" put before its extension: ("IMG_0001.JPG", 2) -> "IMG_0001(2).JPG".
std::string ClashName(const std::string& name, int number);
