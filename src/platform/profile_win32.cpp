// INI files through the system's private-profile functions.
#include <windows.h>
// <windows.h> names WriteProfileString as a macro, which would rename our function here.
#undef WriteProfileString

#include <vector>

#include "platform/profile.h"

namespace platform {

std::string ReadIniText(const std::string& path, const char* section, const char* key,
                        const char* fallback, std::size_t bufferSize) {
  std::vector<char> buffer(bufferSize, '\0');
  const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                                static_cast<DWORD>(bufferSize), path.c_str());
  return std::string(buffer.data(), length);
}

int ReadIniInt(const std::string& path, const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path.c_str()));
}

bool WriteIniText(const std::string& path, const char* section, const char* key,
                  const char* value) {
  return WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
}

}  // namespace platform
