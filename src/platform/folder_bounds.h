// Where a path lies: below a folder or not, judged on its text, and where a link really leads.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when `path` names something below `folder` (never the folder itself), judged on the
// text alone, by whole names: `path` is `folder` (with or without its final separator), a
// separator and one or more names, none of them "." or "..", none empty but a last one (a
// folder's path may end with a separator). So "/a/b" is not below "/a/bc", and "/a/b/../x"
// is below nothing. On Windows letters compare without case, '/' separates like '\', a
// "\\?\" or "\\?\UNC\" prefix changes nothing, and names holding ':' or made only of dots
// and blanks pass nowhere (the system would read them as a stream, a drive or a step up).
// Cheap: no system call, one pass over the text.
bool IsBelowFolder(std::string_view path, std::string_view folder);

// The real path of the existing folder `folder`, with every link resolved and no final
// separator; empty when it cannot be found.
std::string RealFolderPath(const std::string& folder);

// The platform's path syntax that IsBelowFolder judges by.
namespace path_syntax {
bool IsSeparator(char c);
// Two bytes of a path that name the same thing.
bool SameByte(char a, char b);
// `path` without a prefix that leaves its meaning unchanged; `*network` is set when what is left
// starts with a server's name.
std::string_view Unprefixed(std::string_view path, bool* network);
// A name that may stand below a folder.
bool IsPlainName(std::string_view name);
}  // namespace path_syntax

}  // namespace platform
