#include "metadata/media_date.h"

#include <algorithm>
#include <cstring>

#include "metadata/day_rules.h"
#include "metadata/heif_exif_reader.h"
#include "metadata/jpeg_meta_reader.h"
#include "metadata/name_date.h"
#include "metadata/quicktime_date_reader.h"

namespace {

// Seconds from 1904-01-01 (the movie header's epoch) to 1970-01-01.
constexpr std::uint64_t kSeconds1904To1970 = 2082844800;

struct Ending {
  const char* text;
  MediaKind kind;
};

constexpr Ending kEndings[] = {
    {".jpg", MediaKind::kJpeg},      {".jpeg", MediaKind::kJpeg},
    {".heic", MediaKind::kHeif},     {".heif", MediaKind::kHeif},
    {".avif", MediaKind::kHeif},     {".mp4", MediaKind::kQuickTime},
    {".mov", MediaKind::kQuickTime}, {".m4v", MediaKind::kQuickTime},
    {".3gp", MediaKind::kQuickTime},
};

bool EndsWithIgnoringCase(const std::string& name, const char* ending) {
  const std::size_t length = std::strlen(ending);
  if (name.size() < length) {
    return false;
  }
  return std::equal(ending, ending + length, name.end() - static_cast<std::ptrdiff_t>(length),
                    [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); });
}

MediaDay Accept(const platform::LocalDate& day, DaySource source,
                const platform::LocalDate& latest) {
  return dayrules::IsPlausibleDay(day, latest) ? MediaDay{day, source} : MediaDay{};
}

MediaDay DayOfJpeg(std::FILE* stream, const platform::LocalDate& latest) {
  PhotoMeta record{};
  CJpegMetaReader reader(&record);
  reader.ReadSections(stream);
  platform::LocalDate day;
  if (!record.hasExif || !dayrules::ParseDayText(record.takenAt, &day)) {
    return MediaDay{};
  }
  return Accept(day, DaySource::kExif, latest);
}

MediaDay DayOfFile(const std::string& name, platform::InputFile* file) {
  const platform::LocalDate latest = dayrules::Tomorrow();
  const MediaKind kind = MediaKindOf(name);
  MediaDay found;
  if (file->Stream() != nullptr) {
    if (kind == MediaKind::kJpeg) {
      found = DayOfJpeg(file->Stream(), latest);
    } else {
      FileSource source(file);
      found = DayInsideBoxes(kind, source, latest);
    }
    file->Close();
  }
  platform::LocalDate day;
  if (found.source == DaySource::kNone && DayFromFileName(name, &day)) {
    found = Accept(day, DaySource::kName, latest);
  }
  return found;
}

}  // namespace

const char* DaySourceLabel(DaySource source) {
  switch (source) {
    case DaySource::kExif:
      return "EXIF";
    case DaySource::kHeicExif:
      return "HEIC EXIF";
    case DaySource::kQuickTimeLocal:
      return "QuickTime local";
    case DaySource::kQuickTimeUtc:
      return "QuickTime UTC";
    case DaySource::kName:
      return "name";
    case DaySource::kFileDate:
      return "file date";
    case DaySource::kNone:
      break;
  }
  return "";
}

MediaKind MediaKindOf(const std::string& name) {
  for (const Ending& ending : kEndings) {
    if (EndsWithIgnoringCase(name, ending.text)) {
      return ending.kind;
    }
  }
  return MediaKind::kOther;
}

MediaDay DayInsideBoxes(MediaKind kind, ByteSource& source, const platform::LocalDate& latest) {
  platform::LocalDate day;
  if (kind == MediaKind::kHeif) {
    std::string takenAt;
    if (ReadHeifTakenAt(source, &takenAt) && dayrules::ParseDayText(takenAt, &day)) {
      return Accept(day, DaySource::kHeicExif, latest);
    }
  } else if (kind == MediaKind::kQuickTime) {
    QuickTimeDates dates;
    if (!ReadQuickTimeDates(source, &dates)) {
      return MediaDay{};
    }
    // The local creation date's own day is the day, whatever its zone offset.
    if (dayrules::ParseDayText(dates.localCreation, &day)) {
      const MediaDay local = Accept(day, DaySource::kQuickTimeLocal, latest);
      if (local.source != DaySource::kNone) {
        return local;
      }
    }
    if (dates.creationSeconds > kSeconds1904To1970 &&
        dayrules::LocalDayOfUnixSeconds(
            static_cast<std::int64_t>(std::min<std::uint64_t>(
                dates.creationSeconds - kSeconds1904To1970, std::uint64_t{1} << 62)),
            &day)) {
      return Accept(day, DaySource::kQuickTimeUtc, latest);
    }
  }
  return MediaDay{};
}

MediaDay FindMediaDay(const platform::FolderListing& listing) {
  platform::InputFile file;
  if (MediaKindOf(listing.Name()) != MediaKind::kOther) {
    listing.OpenEntry(&file);
  }
  return DayOfFile(listing.Name(), &file);
}

MediaDay FindMediaDay(const std::string& path, const platform::HeldFile* held) {
  platform::InputFile file;
  if (MediaKindOf(path) != MediaKind::kOther) {
    held != nullptr && held->IsOpen() ? file.Open(*held) : file.Open(path);
  }
  const std::size_t slash = path.find_last_of("/\\");
  return DayOfFile(slash == std::string::npos ? path : path.substr(slash + 1), &file);
}
