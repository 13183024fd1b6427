// The day a photo or video was taken, from the first of these that gives a believable day:
// a JPEG's EXIF date, a HEIF image's EXIF date, a video's local creation date or its movie
// header's UTC time, a date in the file's name. The organize walk uses this when media dates
// are switched on; the file's own date is left to the walk.
#pragma once

#include <string>

#include "metadata/byte_source.h"
#include "platform/platform.h"

enum class DaySource { kNone, kExif, kHeicExif, kQuickTimeLocal, kQuickTimeUtc, kName, kFileDate };

// The short name shown in dry-run lines, e.g. "QuickTime UTC".
const char* DaySourceLabel(DaySource source);

struct MediaDay {
  platform::LocalDate day;
  DaySource source = DaySource::kNone;  // kNone: no believable day was found
};

// Which reader a file name's ending calls for (any letter case).
enum class MediaKind { kOther, kJpeg, kHeif, kQuickTime };
MediaKind MediaKindOf(const std::string& name);

// The day inside a HEIF or QuickTime file, if it is no later than `latest`.
MediaDay DayInsideBoxes(MediaKind kind, ByteSource& source, const platform::LocalDate& latest);

// The day of the listing's current entry, from its content and then its name.
MediaDay FindMediaDay(const platform::FolderListing& listing);
// The same for a file given by its path; `held`, when given and open, is that file, read
// without opening it again.
MediaDay FindMediaDay(const std::string& path, const platform::HeldFile* held = nullptr);
