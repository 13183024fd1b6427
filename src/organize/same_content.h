// Whether two files hold the same bytes.
#pragma once

#include <string>

// True when both files can be read and have the same size and the same bytes. Sizes are
// compared first, so a file of another size is never read; the bytes are compared through a
// bounded buffer and the reading stops at the first difference.
bool HaveSameContent(const std::string& first, const std::string& second);
