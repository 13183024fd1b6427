// How a path too long for its box is shortened: the folder's own name at the end stays, an
// ellipsis takes the place of the middle.
#pragma once

#include <functional>
#include <string>

// `path` when `fits` accepts it; else its first component with its separator ("D:\", "/"), an
// ellipsis, and as many whole components of the end as fit ("D:\…\Trip\Second Phone\"); when
// not even the last one fits, an ellipsis and as much of the end as fits, cut between
// characters (UTF-8).
std::string ShortenPathInMiddle(const std::string& path, char separator,
                                const std::function<bool(const std::string&)>& fits);
