#include "skin/global.h"

#include <cstring>
#include <new>
#include <vector>

#include "log/msgx.h"

DWORD CGlobal::GetResourceData(UINT id, BYTE* dest, DWORD* size, const char* type) {
  if (!size)
    return 0;
  char typeName[24] = "png";
  if (type && *type)
    lstrcpynA(typeName, type, sizeof typeName);
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), typeName);
  if (!found)
    return 0;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded)
    return 0;
  const void* bytes = LockResource(loaded);
  if (!bytes)
    return 0;
  DWORD length = SizeofResource(module, found);
  if (dest && *size >= length)
    memcpy(dest, bytes, length);
  *size = length;
  return length;
}

HGLOBAL CGlobal::SaveData2Stream(const BYTE* data, int length, IStream** stream) {
  if (!data || length < 1 || !stream)
    return nullptr;
  HGLOBAL block = GlobalAlloc(0, static_cast<SIZE_T>(length));
  if (!block) {
    CMsgX::Log("CGlobal::SaveData2Stream: GlobalAlloc Error! ", 0, 246, "");
    return nullptr;
  }
  IStream* made = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &made))) {
    CMsgX::Log("CGlobal::SaveData2Stream: CreateStreamOnHGlobal Error! ", 0, 251, "");
    return block;  // not owned by any stream: the caller frees it
  }
  void* target = GlobalLock(block);
  if (!target) {
    CMsgX::Log("CGlobal:: Read Error!", 0, 262, "");
    made->Release();  // frees the block too
    return nullptr;
  }
  memcpy(target, data, static_cast<size_t>(length));
  GlobalUnlock(block);
  *stream = made;
  return block;
}

std::optional<ResourceImage> LoadResourceImage(UINT id) {
  DWORD size = 0;
  if (CGlobal::GetResourceData(id, nullptr, &size, "png") == 0 || size == 0)
    return std::nullopt;
  std::vector<BYTE> bytes;
  try {
    bytes.assign(size, 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (CGlobal::GetResourceData(id, bytes.data(), &size, "png") != bytes.size() || size == 0)
    return std::nullopt;

  ResourceImage result;
  IStream* stream = nullptr;
  HGLOBAL block = CGlobal::SaveData2Stream(bytes.data(), static_cast<int>(size), &stream);
  if (stream) {
    result.stream.reset(stream);
  } else if (block) {
    GlobalFree(block);  // made, but no stream took it over
  }
  bytes.clear();
  bytes.shrink_to_fit();

  Gdiplus::GpBitmap* bitmap = nullptr;
  if (stream && Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
    result.image.reset(bitmap);
    if (Gdiplus::DllExports::GdipGetImageWidth(bitmap, &result.width) != Gdiplus::Ok)
      result.width = 0;
    if (Gdiplus::DllExports::GdipGetImageHeight(bitmap, &result.height) != Gdiplus::Ok)
      result.height = 0;
  }
  return result;
}
