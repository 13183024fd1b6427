// The demo album: a couple of dozen files that show every rule of the organizer once.
#include <filesystem>
#include <string_view>

#include "album.h"
#include "jpeg_builder.h"
#include "platform/platform.h"

namespace album {
namespace {

using jpegbuilder::ByteOrder;
using jpegbuilder::Bytes;

enum class Kind {
  kPhotoLittle,  // JPEG with an EXIF date, little-endian block
  kPhotoBig,     // the same, big-endian block
  kPhotoNoExif,  // JPEG without EXIF: goes by its file date
  kMp4,
  kMov,
  kText,
  kPng,
  kLock,  // an office program's lock file
};

struct DemoFile {
  std::string_view path;  // '/'-separated, below the album folder
  Kind kind;
  std::string_view takenAt;  // EXIF date of capture, photos with EXIF only
  LocalStamp written;        // the file's last-write time
};

// Photos with EXIF carry a last-write time of the day they were copied off the camera, so the
// organized album shows that the date of capture wins. The two IMG_0001.JPG under
// Camera/DCIM are different photos of the same day: one of them fails on purpose.
constexpr LocalStamp kCopiedOff{2023, 1, 5, 21, 30};
const DemoFile kDemoFiles[] = {
    {"2019 旅行/第一天/IMG_0101.JPG", Kind::kPhotoLittle, "2019:10:01 08:12:00", kCopiedOff},
    {"2019 旅行/第一天/IMG_0102.JPG", Kind::kPhotoBig, "2019:10:01 09:30:15", kCopiedOff},
    {"2019 旅行/第一天/IMG_0103.JPG", Kind::kPhotoLittle, "2019:10:01 18:45:00", kCopiedOff},
    {"2019 旅行/第二天/IMG_0201.JPG", Kind::kPhotoBig, "2019:10:02 07:05:42", kCopiedOff},
    {"2019 旅行/第二天/IMG_0202.jpg", Kind::kPhotoLittle, "2019:10:02 11:20:00", kCopiedOff},
    {"2019 旅行/第二天/.thumbs/IMG_0201.jpg", Kind::kPhotoBig, "2019:10:02 07:05:42", kCopiedOff},
    {"2019 旅行/第二天/.thumbs/IMG_0202.jpg", Kind::kPhotoLittle, "2019:10:02 11:20:00",
     kCopiedOff},
    {"2019 旅行/行程.txt", Kind::kText, "", {2019, 9, 20, 22, 0}},
    {"2019 旅行/~$行程安排.docx", Kind::kLock, "", {2019, 9, 20, 22, 5}},
    {"手机相册/IMG_20210314_101500.jpg", Kind::kPhotoLittle, "2021:03:14 10:15:00", kCopiedOff},
    {"手机相册/IMG_20210314_101722.jpg", Kind::kPhotoBig, "2021:03:14 10:17:22", kCopiedOff},
    {"手机相册/IMG_20210315_200130.jpg", Kind::kPhotoLittle, "2021:03:15 20:01:30", kCopiedOff},
    {"手机相册/VID_20210314_102000.mp4", Kind::kMp4, "", {2021, 3, 14, 10, 21}},
    {"手机相册/下载图片_20210320.jpg", Kind::kPhotoNoExif, "", {2021, 3, 20, 15, 40}},
    {"手机相册/Screenshot_20210316.png", Kind::kPng, "", {2021, 3, 16, 9, 0}},
    {"手机相册/.nomedia", Kind::kText, "", {2021, 3, 1, 12, 0}},
    {"Camera/DCIM/100CANON/IMG_0001.JPG", Kind::kPhotoBig, "2020:08:15 14:02:11", kCopiedOff},
    {"Camera/DCIM/100CANON/IMG_0002.JPG", Kind::kPhotoBig, "2020:08:15 14:03:40", kCopiedOff},
    {"Camera/DCIM/100CANON/MVI_0003.MOV", Kind::kMov, "", {2020, 8, 16, 9, 30}},
    {"Camera/DCIM/100CANON/IMG_0004.JPG", Kind::kPhotoLittle, "2020:08:16 10:00:00", kCopiedOff},
    {"Camera/DCIM/101CANON/IMG_0001.JPG", Kind::kPhotoBig, "2020:08:15 16:40:05", kCopiedOff},
    {"Camera/DCIM/101CANON/IMG_0005.JPG", Kind::kPhotoBig, "2020:08:17 08:00:00", kCopiedOff},
    {"Camera/.Trashes/IMG_0009.JPG", Kind::kPhotoLittle, "2020:08:18 12:00:00", kCopiedOff},
};

Bytes Filler(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(0x20 + (i * 31 + seed) % 0xC0);
  }
  return bytes;
}

Bytes WithHead(std::string_view head, std::size_t size, std::uint8_t seed) {
  Bytes bytes(head.begin(), head.end());
  const Bytes rest = Filler(size, seed);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

Bytes Content(const DemoFile& file, std::uint8_t seed) {
  // Sizes differ from file to file, so that no two photos are the same bytes.
  const std::size_t scan = 3000 + 97 * seed;
  switch (file.kind) {
    case Kind::kPhotoLittle:
      return jpegbuilder::PhotoWithDate(std::string(file.takenAt), ByteOrder::kLittle, scan);
    case Kind::kPhotoBig:
      return jpegbuilder::PhotoWithDate(std::string(file.takenAt), ByteOrder::kBig, scan);
    case Kind::kPhotoNoExif:
      return jpegbuilder::PhotoWithDate("", ByteOrder::kLittle, scan);
    case Kind::kMp4:
      return WithHead(std::string_view("\0\0\0\x18"
                                       "ftypmp42\0\0\0\0mp42isom",
                                       24),
                      20000, seed);
    case Kind::kMov:
      return WithHead(std::string_view("\0\0\0\x14"
                                       "ftypqt  \0\0\0\0qt  ",
                                       20),
                      30000, seed);
    case Kind::kPng:
      return WithHead("\x89PNG\r\n\x1a\n", 2000, seed);
    case Kind::kLock:
      return WithHead("lock", 162, seed);
    case Kind::kText:
      break;
  }
  return WithHead("十月一日出发, 十月三日回来.\n", 0, seed);
}

// True when a folder or the file itself begins with '.' or '~': the organizer skips it.
bool InSkippedPlace(std::string_view path) {
  for (std::size_t start = 0; start < path.size();) {
    if (path[start] == '.' || path[start] == '~') {
      return true;
    }
    const std::size_t slash = path.find('/', start);
    start = slash == std::string_view::npos ? path.size() : slash + 1;
  }
  return false;
}

std::string NativePath(const std::string& folder, std::string_view relative) {
  std::string path = folder;
  if (!path.empty() && path.back() != platform::kPathSeparator) {
    path += platform::kPathSeparator;
  }
  for (char c : relative) {
    path += c == '/' ? platform::kPathSeparator : c;
  }
  return path;
}

}  // namespace

bool MakeDemoAlbum(const std::string& folder, std::string* error) {
  std::uint8_t seed = 0;
  for (const DemoFile& file : kDemoFiles) {
    const std::string path = NativePath(folder, file.path);
    const std::u8string parent(path.begin(), path.begin() + path.rfind(platform::kPathSeparator));
    std::error_code ignored;
    std::filesystem::create_directories(parent, ignored);
    if (!WriteFileAt(path, Content(file, ++seed), file.written)) {
      *error = path;
      return false;
    }
  }
  return true;
}

std::string DescribeDemoAlbum(const std::string& folder) {
  int exif = 0;
  for (const DemoFile& file : kDemoFiles) {
    const bool photo = file.kind == Kind::kPhotoLittle || file.kind == Kind::kPhotoBig;
    exif += photo && !InSkippedPlace(file.path);
  }
  return "已生成演示相册: " + folder + "\n" + "共 " + std::to_string(std::size(kDemoFiles)) +
         " 个文件:\n"
         "  - " +
         std::to_string(exif) +
         " 张带 EXIF 拍摄日期的 JPEG, 两种字节序都有, 扩展名有大写 .JPG 也有小写 .jpg;\n"
         "    它们的文件日期都是 2023-01-05 (拷贝日期), 整理时按拍摄日期放.\n"
         "  - 1 张没有 EXIF 的 JPEG (手机相册/下载图片_20210320.jpg), 按文件日期 2021-03-20 放.\n"
         "  - 2 个视频 (.mp4 和 .MOV), 按文件日期放.\n"
         "  - 会被跳过: .thumbs 和 .Trashes 目录里的照片, .nomedia, 文档锁文件 ~$行程安排.docx.\n"
         "  - 会被过滤: 行程.txt 和一张 .png 截图.\n"
         "  - 故意的同名冲突: Camera/DCIM/100CANON 和 101CANON 里各有一张 IMG_0001.JPG,\n"
         "    是同一天拍的不同照片; 整理时后一张失败, 写进失败列表.\n"
         "整理试试: tallowick-cli \"" +
         folder + "\" 输出目录\n";
}

}  // namespace album
