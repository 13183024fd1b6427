// Program resources as bytes, a memory stream over a copy of them, and decoded images, also
// in the sizes drawn for screens of more than 96 DPI.
#pragma once

#include <windows.h>

#include <optional>

#include "framework/gdi_holders.h"
#include "framework/gdiplus_holders.h"

class CGlobal {
 public:
  // Copies resource `id` of type `type` (null or empty: "png") into `dest` when `*size` (its
  // capacity on entry) is large enough; stores the resource's size in `*size` and returns it.
  // 0 when `size` is null or the resource cannot be found, loaded or locked.
  static DWORD GetResourceData(UINT id, BYTE* dest, DWORD* size, const char* type);
  // Copies the bytes into a new global block and hands out a stream over it (positioned at 0,
  // owning the block). Returns the block, or null when the arguments are refused or the block
  // cannot be made; `*stream` changes only on success.
  static HGLOBAL SaveData2Stream(const BYTE* data, int length, IStream** stream);
};

// A decoded image together with the stream it was decoded from, which the image may read from
// for as long as it exists. The image is released before the stream.
struct ResourceImage {
  fw::ComStream stream;
  fw::GdipImage image;  // null when the bytes could not be decoded
  UINT width = 0;
  UINT height = 0;
};

// Loads resource `id` of type "png" and decodes it. Nothing when the resource is missing or
// empty; an image of 0 x 0 without a native bitmap when the bytes cannot be streamed or decoded.
std::optional<ResourceImage> LoadResourceImage(UINT id);

// The images drawn at 150 % and 200 % of their size (for 144 and 192 DPI) carry the id of their
// 100 % image plus these.
inline constexpr UINT kImageIdAt150 = 0x1000;
inline constexpr UINT kImageIdAt200 = 0x2000;

// The scale, in per cent, of the drawn images nearest to `dpi`: 100, 150 or 200 (the larger of
// two as near, since shrinking keeps an image sharper than enlarging).
int NearestImageScale(int dpi);

// Loads the "png" image `id` as drawn for the scale nearest to `dpi`, or its 100 % image when
// that scale was not drawn; `*scale` tells which. As LoadResourceImage otherwise.
std::optional<ResourceImage> LoadResourceImageForDpi(UINT id, int dpi, int* scale);

// Draws the part `source` of `image` into `dest` of `dc`: 1:1 when the sizes agree, else smoothly
// resampled.
void DrawImagePart(HDC dc, Gdiplus::GpImage* image, const RECT& source, const RECT& dest);

// The window bitmap `id` (a 24-bit "BITMAP" at 100 %, its larger scales "png" images) at `dpi`:
// the drawn scale nearest to it, resampled to the exact size the DPI gives. `*baseSize` receives
// its size at 96 DPI.
fw::Bitmap LoadSkinBitmap(UINT id, int dpi, SIZE* baseSize);
