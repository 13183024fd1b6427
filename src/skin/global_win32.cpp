#include "skin/global.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "framework/dpi.h"
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

int NearestImageScale(int dpi) {
  int nearest = 100;
  for (const int scale : {150, 200}) {
    if (std::abs(dpi * 100 - scale * fw::kBaseDpi) <= std::abs(dpi * 100 - nearest * fw::kBaseDpi))
      nearest = scale;
  }
  return nearest;
}

std::optional<ResourceImage> LoadResourceImageForDpi(UINT id, int dpi, int* scale) {
  *scale = NearestImageScale(dpi);
  if (*scale != 100) {
    if (auto drawn = LoadResourceImage(id + (*scale == 150 ? kImageIdAt150 : kImageIdAt200)))
      return drawn;
    *scale = 100;
  }
  return LoadResourceImage(id);
}

void DrawImagePart(HDC dc, Gdiplus::GpImage* image, const RECT& source, const RECT& dest) {
  using namespace Gdiplus;
  fw::GdipGraphics graphics;
  if (DllExports::GdipCreateFromHDC(dc, graphics.put()) != Ok)
    return;
  const int sourceWidth = source.right - source.left, sourceHeight = source.bottom - source.top;
  const int width = dest.right - dest.left, height = dest.bottom - dest.top;
  fw::GdipImageAttributes attributes;
  if (sourceWidth != width || sourceHeight != height) {
    DllExports::GdipSetInterpolationMode(graphics.get(), InterpolationModeHighQualityBicubic);
    DllExports::GdipSetPixelOffsetMode(graphics.get(), PixelOffsetModeHighQuality);
    // Samples beyond the part mirror its edge, so no neighbouring frame bleeds in.
    if (DllExports::GdipCreateImageAttributes(attributes.put()) == Ok)
      DllExports::GdipSetImageAttributesWrapMode(attributes.get(), WrapModeTileFlipXY, 0, FALSE);
  }
  DllExports::GdipDrawImageRectRectI(graphics.get(), image, dest.left, dest.top, width, height,
                                     source.left, source.top, sourceWidth, sourceHeight, UnitPixel,
                                     attributes.get(), nullptr, nullptr);
}

fw::Bitmap LoadSkinBitmap(UINT id, int dpi, SIZE* baseSize) {
  fw::Bitmap base(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
  BITMAP info{};
  GetObjectA(base.get(), sizeof info, &info);
  *baseSize = {info.bmWidth, info.bmHeight};
  const SIZE size{fw::Scale(info.bmWidth, dpi), fw::Scale(info.bmHeight, dpi)};
  if (!base || (size.cx == info.bmWidth && size.cy == info.bmHeight))
    return base;
  // The larger drawing nearest to the DPI, else the bitmap itself, resampled to the exact size.
  int scale = 100;
  std::optional<ResourceImage> drawn;
  if (NearestImageScale(dpi) != 100)
    drawn = LoadResourceImageForDpi(id, dpi, &scale);
  fw::GdipImage fromBitmap;
  Gdiplus::GpImage* source = nullptr;
  RECT sourceRect{0, 0, info.bmWidth, info.bmHeight};
  if (drawn && drawn->image && scale != 100) {
    source = drawn->image.get();
    sourceRect = {0, 0, static_cast<LONG>(drawn->width), static_cast<LONG>(drawn->height)};
  } else {
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(base.get(), nullptr, &bitmap);
    fromBitmap.reset(bitmap);
    source = bitmap;
  }
  if (!source)
    return base;
  fw::WindowDC screen(nullptr);
  fw::Bitmap scaled(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  HDC dc = CreateCompatibleDC(screen.get());
  {
    fw::SelectGuard select(dc, scaled.get());
    DrawImagePart(dc, source, sourceRect, {0, 0, size.cx, size.cy});
  }
  DeleteDC(dc);
  return scaled;
}
