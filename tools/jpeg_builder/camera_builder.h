// Builds the files of the camera formats beyond JPEG, HEIF and MP4 byte by byte: raw photos
// (TIFF-laid with each maker's header, CR3, RAF, MRW, CRW, X3F), PNG, WebP, JPEG XL, PSD, AVI,
// AVCHD transport streams and Matroska. The tests state exact layouts with them, the
// benchmark sizes them like real files, and tools/check_builders.sh has exiftool read each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jpeg_builder.h"

namespace camerabuilder {

using Bytes = std::vector<std::uint8_t>;

// ---- Raw photos. `imageBytes` of image data follow the metadata.

// A TIFF-laid raw: the four header bytes at `magic` ("II*\0", "MM\0*", "IIRO", "IIRS", "MMOR",
// "IIU\0"; the byte order follows its first letter), `extra` bytes after the first eight (CR2's
// "CR\2\0..."), IFD0 with Make, Model and either a link to an Exif directory holding the date
// (0x9003) or, with `dateInIfd0`, the date itself. An empty date leaves 0x9003 out.
Bytes RawTiff(const char* magic, const std::string& takenAt, bool dateInIfd0 = false,
              const Bytes& extra = {}, std::size_t imageBytes = 0);
// A TIFF block whose first directory holds the date: CR3's CMT2, an Exif directory.
Bytes TiffWithDateInFirstDirectory(const std::string& takenAt);
// The JPEG preview a camera embeds in a raw file: APP1 EXIF with the date first, no JFIF.
Bytes PreviewWithDate(const std::string& takenAt);
// CR3: ftyp "crx ", moov with Canon's uuid box holding CMT1 (IFD0: Make) and `cmt2`, mdat.
Bytes Cr3(const Bytes& cmt2, std::size_t imageBytes = 0);
// RAF: the 148-byte header, whose bytes 84-91 give the offset and length of `jpeg`.
Bytes Raf(const Bytes& jpeg, std::size_t imageBytes = 0);
// MRW: "\0MRM", then the blocks PRD and TTW (`tiff`), then the image data.
Bytes Mrw(const Bytes& tiff, std::size_t imageBytes = 0);
// CRW: the heap header, then a heap whose ImageProps heap (0x300A) holds the capture time
// record (0x180E: seconds on the camera's clock, zone code, zone info), or with `inEntry` the
// seconds in the directory entry itself (0x580E).
Bytes Crw(std::uint32_t seconds, std::size_t imageBytes = 0, bool inEntry = false);
// X3F version 2.0: the header, an image section holding `jpeg` (none when empty), a property
// list with TIME = `timeProperty` (none when empty), the section directory, its offset.
Bytes X3f(const Bytes& jpeg, const std::string& timeProperty, std::size_t imageBytes = 0);

// ---- Still images

// One PNG chunk: length, type, data, CRC.
Bytes PngChunk(const char (&type)[5], const Bytes& data);
// The signature, IHDR of a 1x1 image, `chunks`, an IDAT of `imageBytes` (at least one pixel's
// worth), `after` (where some writers put their EXIF), IEND.
Bytes Png(const std::vector<Bytes>& chunks, std::size_t imageBytes = 0,
          const std::vector<Bytes>& after = {});
// The text of a raw profile: "\nexif\n", the length, the bytes as hex digits in lines.
std::string RawProfileText(const Bytes& block);
// A tEXt, zTXt or iTXt chunk (`type`) with the keyword "Raw profile type exif" holding
// "Exif\0\0" and `tiff`; iTXt `compressed` or not.
Bytes PngProfileChunk(const char (&type)[5], const Bytes& tiff, bool compressed = false);
// zlib's compression of `data`.
Bytes Deflate(const Bytes& data);

// RIFF chunks (little-endian sizes, padded to even lengths).
Bytes RiffChunk(const char (&id)[5], const Bytes& data);
Bytes RiffList(const char (&id)[5], const char (&form)[5], const std::vector<Bytes>& chunks);
// WebP: VP8X, a small VP8L image, then an EXIF chunk holding `exif` (none when empty).
Bytes Webp(const Bytes& exif, std::size_t imageBytes = 0);
// JPEG XL container: signature, ftyp, the codestream, an Exif box (offset 0, `tiff`).
Bytes Jxl(const Bytes& tiff, std::size_t imageBytes = 0);
// PSD: header, image resources holding 0x0422 = `tiff` (none when empty) after another one.
Bytes Psd(const Bytes& tiff, std::size_t imageBytes = 0);

// ---- Videos

struct AviParts {
  std::string idit{};           // the IDIT text, none when empty
  std::string streamTakenAt{};  // strd: "AVIF", four bytes, a directory with a link to the
                                // Exif directory holding this date; none when empty
  std::string nikonTakenAt{};   // a top-level LIST ncdt whose nctg record 0x13 holds this
  std::size_t movieBytes = 64;  // frame data in LIST movi
};
Bytes Avi(const AviParts& parts);

// An H.264 SEI NAL unit of unregistered user data with MDPM records: a time code holding
// 00 00 01 (so the unit carries an emulation-prevention byte), then the recording's date
// `year`-`month`-`day` at 12:00:00 in zone +`zoneHours`.
Bytes MdpmSei(int year, int month, int day, int zoneHours = 9);
// A transport stream of `packetBytes` (192 or 188) packets: PAT, PMT, then the H.264 PES
// carrying an access unit delimiter, `sei` and `videoBytes` of filler slices.
Bytes TransportStream(const Bytes& sei, std::size_t packetBytes = 192,
                      std::size_t videoBytes = 4096);

// Matroska / WebM: EBML header, a Segment with Info (DateUTC = `dateNanoseconds` since
// 2001-01-01 UTC, left out when `withDate` is false), Tracks, a Cluster.
Bytes Matroska(std::int64_t dateNanoseconds, bool withDate = true, std::size_t clusterBytes = 64);
// Nanoseconds since 2001-01-01 UTC of a UTC time.
std::int64_t MatroskaTime(int year, int month, int day, int hour);

}  // namespace camerabuilder
