// What a path rooted on this platform looks like.
#pragma once

#include <cstddef>
#include <string>

// The longest path the rules look at; longer text is cut to this many bytes.
extern const std::size_t kMaxFolderPathLength;

// The length of the root at the start of `path`, 0 when it does not begin with one.
std::size_t FolderRootLength(const std::string& path);
