// The EXIF date of capture of a TIFF structure read straight from a file: a TIFF or raw photo
// laid out as TIFF, or a TIFF block inside another container. Only the directories on the way
// to the date are read (a few hundred bytes), never the image data.
#pragma once

#include <cstdint>

#include "metadata/byte_source.h"
#include "platform/platform.h"

namespace tiffdate {

// The day of tag 0x9003 (date of capture) of the TIFF block whose byte-order mark is at
// `start`: from the Exif directory that IFD0 (or a directory chained after it) points to,
// else from IFD0 itself, where some makers put it. Offsets count from `start`; nothing at or
// past `end` is read. Besides 42 the header may carry the magics of Olympus ("IIRO", "IIRS",
// "MMOR") and Panasonic (0x55). The day is not checked against the calendar.
bool ReadTiffDay(ByteSource& source, std::uint64_t start, std::uint64_t end,
                 platform::LocalDate* day);

// The same for a bare directory without a TIFF header at `start + ifdOffset`, in the given
// byte order, offsets counting from `start` (the EXIF some cameras put in AVI stream data,
// where `start` is the directory's own).
bool ReadDirectoryDay(ByteSource& source, std::uint64_t start, std::uint64_t end, bool bigEndian,
                      std::uint32_t ifdOffset, platform::LocalDate* day);

// The day in the EXIF block (APP1 "Exif\0\0") of a JPEG whose start-of-image marker is at
// `start`: a camera's embedded preview or a .THM file. Sections are walked up to the image
// data, each skipped by its length.
bool ReadJpegDay(ByteSource& source, std::uint64_t start, std::uint64_t end,
                 platform::LocalDate* day);

// "Exif\0\0" and a TIFF block, or the TIFF block alone, held in memory.
bool ReadExifBytesDay(const std::uint8_t* bytes, std::size_t size, platform::LocalDate* day);

}  // namespace tiffdate
