// One file of each camera format the media date readers know, each with its own date of
// capture, sized like a real one when asked: the builders' check against exiftool and the
// raw-and-video benchmark tree start from these.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "album.h"
#include "box_builder.h"
#include "camera_builder.h"

namespace album {
namespace {

using camerabuilder::Bytes;
namespace cb = camerabuilder;
using jpegbuilder::PhotoWithDate;

// Blocks of this many zeros become holes in the file (but the last block, which sets the
// file's size).
constexpr std::size_t kHoleBytes = 64 * 1024;

bool WriteSparse(const std::string& path, const Bytes& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    return false;
  }
  for (std::size_t at = 0; at < bytes.size(); at += kHoleBytes) {
    const std::size_t length = std::min(kHoleBytes, bytes.size() - at);
    const bool last = at + length == bytes.size();
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    if (!last && std::all_of(begin, begin + static_cast<std::ptrdiff_t>(length),
                             [](std::uint8_t b) { return b == 0; })) {
      continue;
    }
    if (std::fseek(file.get(), static_cast<long>(at), SEEK_SET) != 0 ||
        std::fwrite(bytes.data() + at, 1, length, file.get()) != length) {
      return false;
    }
  }
  return std::fflush(file.get()) == 0;
}

struct Sample {
  std::string name;
  Bytes bytes;
};

std::int64_t UnixSeconds(int year, int month, int day, int hour, int minute, int second) {
  using namespace std::chrono;
  return (sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute} +
          seconds{second})
      .time_since_epoch()
      .count();
}

}  // namespace

bool MakeCameraSamples(const std::string& folder, std::uint64_t rawBytes, std::uint64_t videoBytes,
                       std::string* error) {
  const std::size_t raw = static_cast<std::size_t>(rawBytes);
  const std::size_t video = static_cast<std::size_t>(videoBytes);
  std::vector<Sample> samples;
  std::string list = "file\tday\n";
  int index = 0;
  // Each sample gets a day of its own: 2015, month 1-12, day 1-28.
  const auto add = [&](const std::string& name, auto make) {
    const int month = 1 + index % 12;
    const int day = 1 + index % 28;
    ++index;
    char text[32];
    std::snprintf(text, sizeof text, "2015:%02d:%02d 10:20:30", month, day);
    samples.push_back(Sample{name, make(std::string(text), month, day)});
    std::snprintf(text, sizeof text, "2015-%02d-%02d", month, day);
    list += name + "\t" + text + "\n";
  };
  const auto tiff = [](const std::string& date) { return cb::RawTiff("II*\0", date); };
  const Bytes rw2Magic = {0x88, 0xe7, 0x74, 0xd8, 0xf8, 0x25, 0x1d, 0x4d,
                          0x94, 0x7a, 0x6e, 0x77, 0x82, 0x2b, 0x5d, 0x6a};
  const auto rawTiff = [&](const char* magic, bool inIfd0 = false, Bytes extra = {}) {
    return [=](const std::string& date, int, int) {
      return cb::RawTiff(magic, date, inIfd0, extra, raw);
    };
  };
  add("IMG_0001.CR2", rawTiff("II*\0", false, {'C', 'R', 2, 0, 0, 0, 0, 0}));
  add("DSC_0002.NEF", rawTiff("MM\0*"));
  add("DSC_0003.ARW", rawTiff("II*\0"));
  add("IMG_0004.DNG", rawTiff("II*\0"));
  add("P0005.ORF", rawTiff("IIRO"));
  add("P0006.ORF", rawTiff("IIRS"));
  add("P0007.ORF", rawTiff("MMOR"));
  add("P0008.RW2", rawTiff("IIU\0", false, rw2Magic));
  add("IMGP0009.PEF", rawTiff("MM\0*", true));
  add("IMG_0010.CR3", [&](const std::string& date, int, int) {
    return cb::Cr3(cb::TiffWithDateInFirstDirectory(date), raw);
  });
  add("DSCF0011.RAF",
      [&](const std::string& date, int, int) { return cb::Raf(cb::PreviewWithDate(date), raw); });
  add("PICT0012.MRW",
      [&](const std::string& date, int, int) { return cb::Mrw(cb::RawTiff("MM\0*", date), raw); });
  add("CRW_0013.CRW", [&](const std::string&, int month, int day) {
    return cb::Crw(static_cast<std::uint32_t>(UnixSeconds(2015, month, day, 10, 20, 30)), raw);
  });
  add("SDIM0014.X3F", [&](const std::string& date, int, int) {
    return cb::X3f(cb::PreviewWithDate(date), "", raw);
  });
  add("SDIM0015.X3F", [&](const std::string&, int month, int day) {
    return cb::X3f({}, std::to_string(UnixSeconds(2015, month, day, 10, 20, 30)), raw);
  });
  add("scan0016.tif", [&](const std::string& date, int, int) { return tiff(date); });
  add("shot0017.png", [&](const std::string& date, int, int) {
    return cb::Png({cb::PngChunk("eXIf", tiff(date))});
  });
  add("shot0018.png", [&](const std::string& date, int, int) {
    return cb::Png({cb::PngProfileChunk("zTXt", tiff(date))});
  });
  add("shot0019.png", [&](const std::string& date, int, int) {
    return cb::Png({cb::PngProfileChunk("tEXt", tiff(date))});
  });
  add("shot0020.png", [&](const std::string& date, int, int) {
    return cb::Png({cb::PngProfileChunk("iTXt", tiff(date), true)});
  });
  add("pic0021.webp", [&](const std::string& date, int, int) { return cb::Webp(tiff(date)); });
  add("pic0022.webp", [&](const std::string& date, int, int) {
    return cb::Webp(boxbuilder::Cat({boxbuilder::Text(std::string("Exif\0\0", 6)), tiff(date)}));
  });
  add("pic0023.jxl", [&](const std::string& date, int, int) { return cb::Jxl(tiff(date)); });
  add("art0024.psd", [&](const std::string& date, int, int) { return cb::Psd(tiff(date)); });
  static constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  add("MVI_0025.AVI", [&](const std::string&, int month, int day) {
    char idit[40];
    std::snprintf(idit, sizeof idit, "MON %s %02d 10:20:30 2015", kMonths[month - 1], day);
    return cb::Avi({.idit = idit, .movieBytes = video});
  });
  add("MVI_0026.AVI", [&](const std::string& date, int, int) {
    return cb::Avi({.streamTakenAt = date, .movieBytes = video});
  });
  add("DSCN0027.AVI", [&](const std::string& date, int, int) {
    return cb::Avi({.nikonTakenAt = date, .movieBytes = video});
  });
  add("MVI_0028.THM", [&](const std::string& date, int, int) { return PhotoWithDate(date); });
  samples.push_back(Sample{"MVI_0028.AVI", cb::Avi({.movieBytes = video})});
  add("00029.MTS", [&](const std::string&, int month, int day) {
    return cb::TransportStream(cb::MdpmSei(2015, month, day), 192, video);
  });
  add("00030.M2TS", [&](const std::string&, int month, int day) {
    return cb::TransportStream(cb::MdpmSei(2015, month, day, 1), 188, video);
  });
  add("clip0031.mkv", [&](const std::string&, int month, int day) {
    return cb::Matroska(cb::MatroskaTime(2015, month, day, 12), true, video);
  });
  add("clip0032.webm", [&](const std::string&, int month, int day) {
    return cb::Matroska(cb::MatroskaTime(2015, month, day, 12), true, video);
  });

  for (const Sample& sample : samples) {
    if (!WriteSparse(folder + "/" + sample.name, sample.bytes)) {
      *error = folder + "/" + sample.name;
      return false;
    }
  }
  if (!jpegbuilder::WriteBytes(folder + "/dates.tsv", Bytes(list.begin(), list.end()))) {
    *error = folder + "/dates.tsv";
    return false;
  }
  return true;
}

}  // namespace album
