// Benchmark trees: many photos and videos in year and event folders, the same tree for the
// same seed. Files are written through one reused buffer in large pieces.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "album.h"
#include "jpeg_builder.h"
#include "platform/platform.h"

namespace album {
namespace {

using jpegbuilder::ByteOrder;
using jpegbuilder::Bytes;

// A small generator with a fixed definition, so a seed gives the same tree on every platform
// (the standard library's distributions may differ between implementations).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // 0 .. count-1.
  int Below(int count) { return static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }
  // In [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kEvents[] = {
    "家庭聚会", "旅行", "生日", "海边", "爬山", "毕业典礼", "婚礼", "日常", "Camera Roll", "春节",
};
constexpr std::string_view kSubfolders[] = {"相机", "手机"};
constexpr int kFirstYear = 2015;
constexpr int kYears = 9;

// Out of 1000 files: photos with EXIF, photos without, videos; the rest is skipped.
constexpr int kPhotoShare = 850;
constexpr int kNoExifShare = 50;
constexpr int kVideoShare = 80;

constexpr std::size_t kChunk = 1 << 20;  // the reused write buffer

std::string Two(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string Number(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", value);
  return text;
}

std::string ExifDate(const LocalStamp& when, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", when.year, when.month, when.day,
                when.hour, when.minute, second);
  return text;
}

class TreeWriter {
 public:
  TreeWriter(const TreeOptions& options, TreeTotals* totals)
      : options_(options), totals_(totals), random_(options.seed), filler_(kChunk) {
    // Entropy-coded data never holds 0xFF, so the filler reads as one long scan.
    for (std::size_t i = 0; i < filler_.size(); ++i) {
      filler_[i] = static_cast<std::uint8_t>(0x20 + (i * 37 + i / 251) % 0xC0);
    }
  }

  bool Make(const std::string& root, std::string* error);

 private:
  bool MakeFolder(const std::string& folder, int files, const LocalStamp& day);
  bool MakeFile(const std::string& folder, const LocalStamp& day);
  bool MakeSkipped(const std::string& folder, const LocalStamp& day);
  // Writes `head`, filler up to `size` bytes less `tail`, then `tail`.
  bool Write(const std::string& path, const Bytes& head, std::uint64_t size, const Bytes& tail,
             const LocalStamp& written);
  std::uint64_t PickSize();
  bool CreateFolder(const std::string& path);

  const TreeOptions& options_;
  TreeTotals* totals_;
  Random random_;
  Bytes filler_;
  int running_ = 0;  // the running number in file names: no two files share a name
  std::string failed_;
};

std::uint64_t TreeWriter::PickSize() {
  // Log-uniform between the two sizes: as many small files as large ones per size decade.
  const double low = std::log(static_cast<double>(options_.minSize));
  const double high = std::log(static_cast<double>(options_.maxSize));
  const auto size = static_cast<std::uint64_t>(std::exp(low + (high - low) * random_.Unit()));
  return std::min(std::max(size, options_.minSize), options_.maxSize);
}

bool TreeWriter::CreateFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::u8string(path.begin(), path.end()), error);
  if (error) {
    failed_ = path;
    return false;
  }
  ++totals_->folders;
  return true;
}

bool TreeWriter::Write(const std::string& path, const Bytes& head, std::uint64_t size,
                       const Bytes& tail, const LocalStamp& written) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  bool ok = file != nullptr;
  if (ok) {
    // Large pieces straight from the filler; the stream's own buffer only gathers head and
    // tail.
    std::setvbuf(file.get(), nullptr, _IOFBF, 64 * 1024);
    ok = std::fwrite(head.data(), 1, head.size(), file.get()) == head.size();
    std::uint64_t left = size > head.size() + tail.size() ? size - head.size() - tail.size() : 0;
    while (ok && left > 0) {
      const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk));
      ok = std::fwrite(filler_.data(), 1, piece, file.get()) == piece;
      left -= piece;
    }
    ok =
        ok && (tail.empty() || std::fwrite(tail.data(), 1, tail.size(), file.get()) == tail.size());
    ok = std::fclose(file.release()) == 0 && ok;
  }
  ok = ok && SetLocalWriteTime(path, written);
  if (!ok) {
    failed_ = path;
    return false;
  }
  ++totals_->files;
  totals_->bytes += std::max<std::uint64_t>(size, head.size() + tail.size());
  return true;
}

bool TreeWriter::MakeFile(const std::string& folder, const LocalStamp& day) {
  const int kind = random_.Below(1000);
  const int number = ++running_;
  LocalStamp taken = day;
  taken.hour = 7 + random_.Below(14);
  taken.minute = random_.Below(60);

  if (kind < kPhotoShare + kNoExifShare) {
    const bool exif = kind < kPhotoShare;
    const ByteOrder order = random_.Below(2) == 0 ? ByteOrder::kLittle : ByteOrder::kBig;
    jpegbuilder::JpegBuilder jpeg;
    jpeg.Jfif();
    if (exif) {
      jpeg.Exif(jpegbuilder::ExifBlockWithDate(ExifDate(taken, random_.Below(60)), order));
    }
    jpeg.QuantTable().Frame(4000, 3000).Section(0xDA, {1, 1, 0, 0, 63, 0});
    // Photos with EXIF were copied off the camera some days later; the others keep the day.
    LocalStamp written = taken;
    if (exif) {
      written.day = std::min(28, day.day + 1 + random_.Below(20));
    }
    const bool upper = random_.Below(5) != 0;
    const std::string name = "IMG_" + Number(number) + (upper ? ".JPG" : ".jpg");
    if (!Write(folder + name, jpeg.Data(), PickSize(), {0xFF, 0xD9}, written)) {
      return false;
    }
    ++(exif ? totals_->photos : totals_->photosWithoutExif);
    return true;
  }
  if (kind < kPhotoShare + kNoExifShare + kVideoShare) {
    const bool mp4 = random_.Below(2) == 0;
    const std::string_view box = mp4 ? std::string_view(
                                           "\0\0\0\x18"
                                           "ftypmp42\0\0\0\0mp42isom",
                                           24)
                                     : std::string_view(
                                           "\0\0\0\x14"
                                           "ftypqt  \0\0\0\0qt  ",
                                           20);
    const std::string name = "VID_" + Number(number) + (mp4 ? ".mp4" : ".MOV");
    if (!Write(folder + name, Bytes(box.begin(), box.end()), PickSize(), {}, taken)) {
      return false;
    }
    ++totals_->videos;
    return true;
  }
  return MakeSkipped(folder, taken);
}

bool TreeWriter::MakeSkipped(const std::string& folder, const LocalStamp& day) {
  const int number = ++running_;
  std::string path;
  Bytes head;
  std::uint64_t size = 0;
  switch (random_.Below(4)) {
    case 0: {  // a thumbnail cache: a dot folder with a JPEG that would pass the filter
      const std::string thumbs = folder + ".thumbs" + platform::kPathSeparator;
      if (!platform::PathExists(thumbs) && !CreateFolder(thumbs)) {
        return false;
      }
      path = thumbs + "IMG_" + Number(number) + ".JPG";
      head = jpegbuilder::PhotoWithDate(ExifDate(day, 0), ByteOrder::kLittle, 1024);
      size = head.size();
      break;
    }
    case 1:  // an office lock file
      path = folder + "~$笔记_" + Number(number) + ".docx";
      head = Bytes(162, 'x');
      size = head.size();
      break;
    case 2:  // a screenshot in a format the filter leaves out
      path = folder + "Screenshot_" + Number(number) + ".png";
      head = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
      size = 20 * 1024;
      break;
    default:  // a sidecar text file
      path = folder + "IMG_" + Number(number) + ".xmp";
      head = Bytes(600, ' ');
      size = head.size();
      break;
  }
  if (!Write(path, head, size, {}, day)) {
    return false;
  }
  ++totals_->skipped;
  return true;
}

bool TreeWriter::MakeFolder(const std::string& folder, int files, const LocalStamp& day) {
  if (!CreateFolder(folder)) {
    return false;
  }
  for (int i = 0; i < files; ++i) {
    // Some events run over a few days.
    LocalStamp when = day;
    when.day = std::min(28, day.day + random_.Below(3) * (random_.Below(4) == 0));
    if (!MakeFile(folder, when)) {
      return false;
    }
  }
  return true;
}

bool TreeWriter::Make(const std::string& root, std::string* error) {
  std::string base = root;
  if (base.empty() || base.back() != platform::kPathSeparator) {
    base += platform::kPathSeparator;
  }
  int left = options_.files;
  while (left > 0) {
    LocalStamp day;
    day.year = kFirstYear + random_.Below(kYears);
    day.month = 1 + random_.Below(12);
    day.day = 1 + random_.Below(26);
    const std::string event = std::to_string(day.year) + "-" + Two(day.month) + "-" + Two(day.day) +
                              " " + std::string(kEvents[random_.Below(10)]);
    const std::string eventFolder = base + std::to_string(day.year) + platform::kPathSeparator +
                                    event + platform::kPathSeparator;
    const int files = std::min(left, 50 + random_.Below(151));
    left -= files;
    bool ok = true;
    if (files >= 100 && random_.Below(3) == 0) {
      // Two cameras at one event: the files go into two subfolders.
      const int first = files / 2;
      ok = MakeFolder(eventFolder + std::string(kSubfolders[0]) + platform::kPathSeparator, first,
                      day) &&
           MakeFolder(eventFolder + std::string(kSubfolders[1]) + platform::kPathSeparator,
                      files - first, day);
    } else {
      ok = MakeFolder(eventFolder, files, day);
    }
    if (!ok) {
      *error = failed_;
      return false;
    }
  }
  return true;
}

}  // namespace

bool MakeBenchmarkTree(const std::string& folder, const TreeOptions& options, TreeTotals* totals,
                       std::string* error) {
  *totals = TreeTotals();
  TreeWriter writer(options, totals);
  return writer.Make(folder, error);
}

}  // namespace album
