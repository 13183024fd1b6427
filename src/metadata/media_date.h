// The day a photo or video was taken, from the first of these that gives a believable day:
// the date the file's format keeps inside it (the EXIF date of JPEG, HEIF, TIFF, raw, PNG,
// WebP, JPEG XL and PSD images; a video's local creation date, or its UTC time as a local
// day), for an AVI the .THM file beside it, then a date in the file's name. The organize walk
// uses this when media dates are switched on; the file's own date is left to the walk.
#pragma once

#include <string>
#include <vector>

#include "metadata/byte_source.h"
#include "platform/platform.h"

enum class DaySource {
  kNone,
  kExif,
  kHeicExif,
  kQuickTimeLocal,
  kQuickTimeUtc,
  kName,
  kFileDate,
  kRawExif,
  kTiffExif,
  kPngExif,
  kWebpExif,
  kJxlExif,
  kPsdExif,
  kAviIdit,
  kAviExif,
  kThmExif,
  kAvchd,
  kMatroskaUtc,
  kRawPair,  // the day of the raw file's or photo's partner (chosen by the organize walk)
};

// The short name shown in dry-run lines, e.g. "QuickTime UTC".
const char* DaySourceLabel(DaySource source);

struct MediaDay {
  platform::LocalDate day;
  DaySource source = DaySource::kNone;  // kNone: no believable day was found
};

// Which reader a file name's ending calls for (any letter case).
enum class MediaKind {
  kOther,
  kJpeg,
  kHeif,       // .heic .heif .avif, and .hif as cameras name it
  kQuickTime,  // .mp4 .mov .m4v .3gp
  kTiffRaw,    // raw photos laid out as TIFF: .cr2 .nef .arw .dng .orf .rw2 ...
  kTiff,       // .tif .tiff
  kCr3,
  kRaf,
  kMrw,
  kCrw,
  kX3f,
  kPng,
  kWebp,
  kJxl,
  kPsd,  // .psd .psb
  kAvi,
  kAvchd,     // .mts .m2ts
  kMatroska,  // .mkv .webm
};
MediaKind MediaKindOf(const std::string& name);

// A camera's raw photo (by its name's ending).
bool IsRawPhotoName(const std::string& name);
// The endings of raw photos, lower case, without the dot ("cr2", "nef", ...).
const std::vector<std::string>& RawPhotoEndings();

// The day inside a file of `kind`, if it is no later than `latest`. No sibling files are read.
MediaDay DayInsideFile(MediaKind kind, ByteSource& source, const platform::LocalDate& latest);

// The day of the listing's current entry, from its content, then (for an AVI) the .THM file
// beside it in `folder` (ending with the separator), then its name.
MediaDay FindMediaDay(const platform::FolderListing& listing, const std::string& folder);
// The same for a file given by its path; `held`, when given and open, is that file, read
// without opening it again.
MediaDay FindMediaDay(const std::string& path, const platform::HeldFile* held = nullptr);
// The day inside the file alone: no .THM file, no name.
MediaDay FindContentDay(const std::string& path);
