// The album generator: a small demo album a newcomer can organize and look at, and large
// deterministic trees for benchmarks. Paths are UTF-8 text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace album {

// A local date and time of day.
struct LocalStamp {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 12;
  int minute = 0;
};

// Sets a file's last-write time to a local time. False when that fails.
bool SetLocalWriteTime(const std::string& path, const LocalStamp& when);

// Writes `bytes` to a new file at `path` and gives it the last-write time `when`.
bool WriteFileAt(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 const LocalStamp& when);

// Fills `folder` (which exists and is empty) with the demo album. On failure `error` names
// what could not be written.
bool MakeDemoAlbum(const std::string& folder, std::string* error);

// A short description, in Chinese, of what the demo album holds and what organizing it gives.
std::string DescribeDemoAlbum(const std::string& folder);

struct TreeOptions {
  int files = 1000;
  std::uint64_t seed = 1;
  std::uint64_t minSize = 10 * 1024;        // smallest photo or video, in bytes
  std::uint64_t maxSize = 5 * 1024 * 1024;  // largest
};

struct TreeTotals {
  int files = 0;  // every file written, the skipped ones included
  std::uint64_t bytes = 0;
  int photos = 0;             // JPEGs with an EXIF date
  int photosWithoutExif = 0;  // JPEGs placed by their file date
  int videos = 0;
  int skipped = 0;  // files the organizer leaves alone (dot folders, "~" names, other types)
  int folders = 0;
};

// Fills `folder` (which exists and is empty) with a benchmark tree of exactly
// `options.files` files, the same tree for the same options.
bool MakeBenchmarkTree(const std::string& folder, const TreeOptions& options, TreeTotals* totals,
                       std::string* error);

// Fills `folder` (which exists and is empty) with one file of each camera format the media
// date readers know (raw photos, TIFF, PNG, WebP, JPEG XL, PSD, AVI with a .THM, AVCHD,
// Matroska), each dated a day of its own, and dates.tsv naming each file's day. Raw photos
// carry `rawBytes` of image data and videos `videoBytes` of media data, written as holes
// where the file system allows.
bool MakeCameraSamples(const std::string& folder, std::uint64_t rawBytes,
                       std::uint64_t videoBytes, std::string* error);

// The tallowick-make-album command: `args` without the program name. Returns the exit status:
// 0 made, 1 a file could not be written, 2 a wrong command line or a folder that is not empty.
int RunMakeAlbum(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace album
