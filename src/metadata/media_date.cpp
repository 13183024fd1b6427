#include "metadata/media_date.h"

#include <algorithm>
#include <cstring>

#include "metadata/day_rules.h"
#include "metadata/heif_exif_reader.h"
#include "metadata/image_date_readers.h"
#include "metadata/jpeg_meta_reader.h"
#include "metadata/name_date.h"
#include "metadata/quicktime_date_reader.h"
#include "metadata/raw_date_readers.h"
#include "metadata/tiff_date_reader.h"
#include "metadata/video_date_readers.h"

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
    {".avif", MediaKind::kHeif},     {".hif", MediaKind::kHeif},
    {".mp4", MediaKind::kQuickTime}, {".mov", MediaKind::kQuickTime},
    {".m4v", MediaKind::kQuickTime}, {".3gp", MediaKind::kQuickTime},
    {".cr2", MediaKind::kTiffRaw},   {".nef", MediaKind::kTiffRaw},
    {".nrw", MediaKind::kTiffRaw},   {".arw", MediaKind::kTiffRaw},
    {".sr2", MediaKind::kTiffRaw},   {".srf", MediaKind::kTiffRaw},
    {".dng", MediaKind::kTiffRaw},   {".pef", MediaKind::kTiffRaw},
    {".srw", MediaKind::kTiffRaw},   {".3fr", MediaKind::kTiffRaw},
    {".erf", MediaKind::kTiffRaw},   {".kdc", MediaKind::kTiffRaw},
    {".mef", MediaKind::kTiffRaw},   {".mos", MediaKind::kTiffRaw},
    {".iiq", MediaKind::kTiffRaw},   {".orf", MediaKind::kTiffRaw},
    {".rw2", MediaKind::kTiffRaw},   {".rwl", MediaKind::kTiffRaw},
    {".tif", MediaKind::kTiff},      {".tiff", MediaKind::kTiff},
    {".cr3", MediaKind::kCr3},       {".raf", MediaKind::kRaf},
    {".mrw", MediaKind::kMrw},       {".crw", MediaKind::kCrw},
    {".x3f", MediaKind::kX3f},       {".png", MediaKind::kPng},
    {".webp", MediaKind::kWebp},     {".jxl", MediaKind::kJxl},
    {".psd", MediaKind::kPsd},       {".psb", MediaKind::kPsd},
    {".avi", MediaKind::kAvi},       {".mts", MediaKind::kAvchd},
    {".m2ts", MediaKind::kAvchd},    {".mkv", MediaKind::kMatroska},
    {".webm", MediaKind::kMatroska},
};

bool IsRawKind(MediaKind kind) {
  switch (kind) {
    case MediaKind::kTiffRaw:
    case MediaKind::kCr3:
    case MediaKind::kRaf:
    case MediaKind::kMrw:
    case MediaKind::kCrw:
    case MediaKind::kX3f:
      return true;
    default:
      return false;
  }
}

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

MediaDay DayOfQuickTime(ByteSource& source, const platform::LocalDate& latest) {
  QuickTimeDates dates;
  platform::LocalDate day;
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
  return MediaDay{};
}

// The readers that give a day alone, and the source each names.
struct DayReader {
  MediaKind kind;
  bool (*read)(ByteSource&, platform::LocalDate*);
  DaySource source;
};

bool ReadWholeTiffDay(ByteSource& source, platform::LocalDate* day) {
  return tiffdate::ReadTiffDay(source, 0, source.Size(), day);
}

constexpr DayReader kDayReaders[] = {
    {MediaKind::kTiffRaw, ReadWholeTiffDay, DaySource::kRawExif},
    {MediaKind::kTiff, ReadWholeTiffDay, DaySource::kTiffExif},
    {MediaKind::kCr3, ReadCr3Day, DaySource::kRawExif},
    {MediaKind::kRaf, ReadRafDay, DaySource::kRawExif},
    {MediaKind::kMrw, ReadMrwDay, DaySource::kRawExif},
    {MediaKind::kCrw, ReadCrwDay, DaySource::kRawExif},
    {MediaKind::kX3f, ReadX3fDay, DaySource::kRawExif},
    {MediaKind::kPng, ReadPngDay, DaySource::kPngExif},
    {MediaKind::kWebp, ReadWebpDay, DaySource::kWebpExif},
    {MediaKind::kJxl, ReadJxlDay, DaySource::kJxlExif},
    {MediaKind::kPsd, ReadPsdDay, DaySource::kPsdExif},
    {MediaKind::kAvchd, ReadAvchdDay, DaySource::kAvchd},
    {MediaKind::kMatroska, ReadMatroskaDay, DaySource::kMatroskaUtc},
};

// The day in the .THM file that some cameras write beside an AVI ("MVI_0001.THM"), a JPEG.
MediaDay DayOfThumbnailBeside(const std::string& folder, const std::string& videoName,
                              const platform::LocalDate& latest) {
  const std::string stem = folder + videoName.substr(0, videoName.rfind('.'));
  for (const char* ending : {".THM", ".thm"}) {
    platform::InputFile file;
    platform::LocalDate day;
    if (file.Open(stem + ending)) {
      FileSource source(&file);
      return tiffdate::ReadJpegDay(source, 0, source.Size(), &day)
                 ? Accept(day, DaySource::kThmExif, latest)
                 : MediaDay{};
    }
  }
  return MediaDay{};
}

// The day inside the open file (closed here), then beside it, then in its name.
MediaDay DayOfFile(const std::string& folder, const std::string& name, platform::InputFile* file,
                   bool contentOnly = false) {
  const platform::LocalDate latest = dayrules::Tomorrow();
  const MediaKind kind = MediaKindOf(name);
  MediaDay found;
  if (file->Stream() != nullptr) {
    if (kind == MediaKind::kJpeg) {
      found = DayOfJpeg(file->Stream(), latest);
    } else {
      FileSource source(file);
      found = DayInsideFile(kind, source, latest);
    }
    file->Close();
  }
  if (contentOnly) {
    return found;
  }
  if (found.source == DaySource::kNone && kind == MediaKind::kAvi) {
    found = DayOfThumbnailBeside(folder, name, latest);
  }
  platform::LocalDate day;
  if (found.source == DaySource::kNone && DayFromFileName(name, &day)) {
    found = Accept(day, DaySource::kName, latest);
  }
  return found;
}

// The folder part of a path (with its separator) and the name after it.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::pair<std::string, std::string>{std::string(), path}
                                    : std::pair<std::string, std::string>{path.substr(0, slash + 1),
                                                                          path.substr(slash + 1)};
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
    case DaySource::kRawExif:
      return "RAW EXIF";
    case DaySource::kTiffExif:
      return "TIFF EXIF";
    case DaySource::kPngExif:
      return "PNG EXIF";
    case DaySource::kWebpExif:
      return "WebP EXIF";
    case DaySource::kJxlExif:
      return "JXL EXIF";
    case DaySource::kPsdExif:
      return "PSD EXIF";
    case DaySource::kAviIdit:
      return "AVI IDIT";
    case DaySource::kAviExif:
      return "AVI EXIF";
    case DaySource::kThmExif:
      return "THM EXIF";
    case DaySource::kAvchd:
      return "AVCHD";
    case DaySource::kMatroskaUtc:
      return "Matroska UTC";
    case DaySource::kRawPair:
      return "raw pair";
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

bool IsRawPhotoName(const std::string& name) {
  return IsRawKind(MediaKindOf(name));
}

const std::vector<std::string>& RawPhotoEndings() {
  static const std::vector<std::string> endings = [] {
    std::vector<std::string> raw;
    for (const Ending& ending : kEndings) {
      if (IsRawKind(ending.kind)) {
        raw.emplace_back(ending.text + 1);
      }
    }
    return raw;
  }();
  return endings;
}

MediaDay DayInsideFile(MediaKind kind, ByteSource& source, const platform::LocalDate& latest) {
  platform::LocalDate day;
  switch (kind) {
    case MediaKind::kHeif: {
      std::string takenAt;
      return ReadHeifTakenAt(source, &takenAt) && dayrules::ParseDayText(takenAt, &day)
                 ? Accept(day, DaySource::kHeicExif, latest)
                 : MediaDay{};
    }
    case MediaKind::kQuickTime:
      return DayOfQuickTime(source, latest);
    case MediaKind::kAvi:
      switch (ReadAviDay(source, &day)) {
        case AviDate::kIdit:
          return Accept(day, DaySource::kAviIdit, latest);
        case AviDate::kExif:
          return Accept(day, DaySource::kAviExif, latest);
        case AviDate::kNone:
          return MediaDay{};
      }
      return MediaDay{};
    default:
      break;
  }
  for (const DayReader& reader : kDayReaders) {
    if (reader.kind == kind) {
      return reader.read(source, &day) ? Accept(day, reader.source, latest) : MediaDay{};
    }
  }
  return MediaDay{};
}

MediaDay FindMediaDay(const platform::FolderListing& listing, const std::string& folder) {
  platform::InputFile file;
  if (MediaKindOf(listing.Name()) != MediaKind::kOther) {
    listing.OpenEntry(&file);
  }
  return DayOfFile(folder, listing.Name(), &file);
}

MediaDay FindMediaDay(const std::string& path, const platform::HeldFile* held) {
  platform::InputFile file;
  if (MediaKindOf(path) != MediaKind::kOther) {
    held != nullptr && held->IsOpen() ? file.Open(*held) : file.Open(path);
  }
  const auto [folder, name] = SplitPath(path);
  return DayOfFile(folder, name, &file);
}

MediaDay FindContentDay(const std::string& path) {
  platform::InputFile file;
  if (MediaKindOf(path) != MediaKind::kOther) {
    file.Open(path);
  }
  const auto [folder, name] = SplitPath(path);
  return DayOfFile(folder, name, &file, true);
}
