// Reading this program's own resources in the tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The bytes of resource ID of TYPE in this program, empty when it is missing. Resources of the
// program's own image stay mapped for its whole run, so nothing is released.
inline std::span<const std::uint8_t> ResourceBytes(int id, const char* type) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr)
    return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, found)};
}

inline std::string Utf8(std::wstring_view text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}
