// Builds files of boxes (HEIF images, MP4 and MOV videos) byte by byte, so that each test
// states the exact layout it feeds the readers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace boxbuilder {

using Bytes = std::vector<std::uint8_t>;

Bytes U16(std::uint16_t value);
Bytes U32(std::uint32_t value);
Bytes U64(std::uint64_t value);
Bytes Text(const std::string& text);  // without a NUL
Bytes Cat(std::initializer_list<Bytes> parts);

Bytes Box(const char (&type)[5], const Bytes& payload);

Bytes Ftyp(const char (&brand)[5]);

// mvhd with the creation time in 32 bits (version 0) or 64 (version 1), then zeros.
Bytes MovieHeader(std::uint8_t version, std::uint64_t creationSeconds);
// A metadata box of keys and values holding one key, "com.apple.quicktime.creationdate",
// after another key. QuickTime style (children at once) or, with `asFullBox`, MP4 style.
Bytes CreationDateMeta(const std::string& value, bool asFullBox = false);
// ftyp, a small mdat, then moov with the given children.
Bytes Movie(std::initializer_list<Bytes> moovChildren);

std::uint64_t Seconds1904(int year, int month, int day, int hour, int minute = 0);

struct HeifLayout {
  std::uint8_t ilocVersion = 0;  // 0, 1 or 2
  std::uint8_t infeVersion = 2;  // 2 (16-bit ids) or 3 (32-bit ids)
  int extents = 1;               // the item split into this many extents
  bool inIdat = false;           // construction method 1: the item inside meta's idat
  std::uint32_t tiffOffset = 6;  // bytes between the item's offset field and the TIFF header
  bool withExifItem = true;      // false: only an image item
};
// ftyp "heic", meta (hdlr, pitm, iinf with an image item and the Exif item, iloc, maybe idat),
// then mdat with the item: a four-byte TIFF offset, that many bytes ("Exif\0\0" when 6), the
// TIFF block.
Bytes HeifWithExif(const Bytes& tiffBlock, const HeifLayout& layout = HeifLayout{});

}  // namespace boxbuilder
