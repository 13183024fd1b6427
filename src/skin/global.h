// Program resources as bytes, a memory stream over a copy of them, and decoded images.
#pragma once

#include <windows.h>

#include <optional>

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
