// The EXIF date of capture of still images other than JPEG and HEIF: PNG, WebP, JPEG XL and
// Photoshop files. Each walks the file's chunks, boxes or resources up to the EXIF block and
// reads its directories from the file. The day is not checked against the calendar.
#pragma once

#include "metadata/byte_source.h"
#include "platform/platform.h"

// PNG: the eXIf chunk, or a "Raw profile type exif" (or "APP1") text chunk of hex digits,
// plain (tEXt, iTXt) or zlib-compressed (zTXt, iTXt). Chunks are read up to the image data;
// those after it (where some writers put their EXIF) are looked for in the file's last 64 KiB.
bool ReadPngDay(ByteSource& source, platform::LocalDate* day);
// WebP: the EXIF chunk, with or without "Exif\0\0" before the TIFF block.
bool ReadWebpDay(ByteSource& source, platform::LocalDate* day);
// JPEG XL in its box container: the Exif box (a four-byte offset, then the TIFF block).
bool ReadJxlDay(ByteSource& source, platform::LocalDate* day);
// PSD and PSB: image resource 0x0422, a TIFF block.
bool ReadPsdDay(ByteSource& source, platform::LocalDate* day);
