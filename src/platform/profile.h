// INI ("private profile") files: read a key's text or integer, write a key's text. On Windows
// these are the system's own profile functions; on Linux profile_posix.cpp meets their rules.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The value of `key` in `section` of the file at `path`, or `fallback` when the file, the
// section or the key is missing; either is cut to `bufferSize` - 1 bytes, as when read into a
// buffer of `bufferSize` bytes. Section and key names match without regard to letter case.
std::string ReadIniText(const std::string& path, const char* section, const char* key,
                        const char* fallback, std::size_t bufferSize);

// The value of `key` read as an integer (leading blanks, an optional sign, decimal digits up
// to the first other character; no digits give 0), or `fallback` when the key is missing or
// its value is empty.
int ReadIniInt(const std::string& path, const char* section, const char* key, int fallback);

// Sets `key` in `section` to `value`: an existing key is replaced where it stands, a missing
// key is added at the end of its section, a missing section (or file) at the end of the file.
// Every other line is kept byte for byte. False when the file could not be written.
bool WriteIniText(const std::string& path, const char* section, const char* key, const char* value);

}  // namespace platform
