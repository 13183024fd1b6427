// The command line of tallowick-make-album.
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "album.h"

namespace album {
namespace {

constexpr char kUsage[] =
    "用法: tallowick-make-album [--demo | --files N | --camera] [--seed S] [--min-size 字节数]\n"
    "                           [--max-size 字节数] [--raw-size 字节数] [--video-size 字节数] "
    "目录\n"
    "\n"
    "在目录里生成一套照片目录树 (目录不存在就新建; 目录必须是空的).\n"
    "  --demo            演示相册 (默认): 二十多个文件, 每条整理规则都用到一次\n"
    "  --files N         基准测试用的目录树, 正好 N 个文件, 按年份和活动分目录\n"
    "  --seed S          随机种子, 同样的参数生成同样的目录树 (默认 1)\n"
    "  --min-size 字节数 照片和视频的最小大小, 默认 10K (可用 K, M 后缀)\n"
    "  --max-size 字节数 最大大小, 默认 5M\n"
    "  --camera          每种相机格式 (RAW, TIFF, PNG, WebP, JXL, PSD, AVI, AVCHD, MKV) 各一个\n"
    "                    带拍摄日期的文件, 以及列出各文件日期的 dates.tsv\n"
    "  --raw-size 字节数 --camera 时 RAW 照片的图像数据大小 (默认 0)\n"
    "  --video-size 字节数 --camera 时视频的媒体数据大小 (默认 4K)\n";

constexpr int kExitWriteFailed = 1;
constexpr int kExitUsage = 2;

// A size such as 4096, 10K or 5M; plain digits only, so no sign and no blanks.
std::optional<std::uint64_t> ParseSize(const std::string& text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, failure] = std::from_chars(text.data(), end, value);
  if (failure != std::errc() || stop == text.data()) {
    return std::nullopt;
  }
  const std::string_view suffix(stop, static_cast<std::size_t>(end - stop));
  std::uint64_t unit = 1;
  if (suffix == "K" || suffix == "k") {
    unit = 1024;
  } else if (suffix == "M" || suffix == "m") {
    unit = 1024 * 1024;
  } else if (!suffix.empty()) {
    return std::nullopt;
  }
  if (value > UINT64_MAX / unit) {
    return std::nullopt;
  }
  return value * unit;
}

struct Command {
  bool help = false;
  bool demo = false;
  bool tree = false;
  bool sizeOrSeedGiven = false;
  bool camera = false;
  bool cameraSizeGiven = false;
  std::uint64_t rawBytes = 0;
  std::uint64_t videoBytes = 4096;
  TreeOptions options;
  std::string folder;
};

bool Parse(const std::vector<std::string>& args, Command* command, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      command->help = true;
      return true;
    }
    if (arg == "--demo" || arg == "--camera") {
      (arg == "--demo" ? command->demo : command->camera) = true;
      continue;
    }
    if (arg == "--raw-size" || arg == "--video-size") {
      const std::optional<std::uint64_t> value =
          i + 1 < args.size() ? ParseSize(args[++i]) : std::nullopt;
      if (!value || *value > (1ULL << 30)) {
        *error = "选项 " + arg + " 需要一个不超过 1G 的大小";
        return false;
      }
      (arg == "--raw-size" ? command->rawBytes : command->videoBytes) = *value;
      command->cameraSizeGiven = true;
      continue;
    }
    if (arg == "--files" || arg == "--seed" || arg == "--min-size" || arg == "--max-size") {
      if (i + 1 >= args.size()) {
        *error = "选项 " + arg + " 需要一个参数";
        return false;
      }
      const std::optional<std::uint64_t> value = ParseSize(args[++i]);
      const bool count = arg == "--files" || arg == "--seed";
      if (!value || (count && args[i].find_first_not_of("0123456789") != std::string::npos)) {
        *error = "选项 " + arg + " 的参数不是数: " + args[i];
        return false;
      }
      if (arg == "--files") {
        if (*value < 1 || *value > 10000000) {
          *error = "--files 应在 1 到 10000000 之间";
          return false;
        }
        command->tree = true;
        command->options.files = static_cast<int>(*value);
      } else if (arg == "--seed") {
        command->options.seed = *value;
        command->sizeOrSeedGiven = true;
      } else {
        (arg == "--min-size" ? command->options.minSize : command->options.maxSize) = *value;
        command->sizeOrSeedGiven = true;
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      *error = "未知选项: " + arg;
      return false;
    }
    if (!command->folder.empty()) {
      *error = "只能给一个目录";
      return false;
    }
    command->folder = arg;
  }
  if (command->folder.empty()) {
    *error = "需要一个目录";
  } else if (command->demo + command->tree + command->camera > 1) {
    *error = "--demo, --files 和 --camera 只能选一个";
  } else if (command->cameraSizeGiven && !command->camera) {
    *error = "--raw-size 和 --video-size 只用于 --camera";
  } else if (command->sizeOrSeedGiven && !command->tree) {
    *error = "--seed, --min-size 和 --max-size 只用于 --files";
  } else if (command->options.minSize < 1024) {
    *error = "--min-size 至少是 1K (照片的文件头要放得下)";
  } else if (command->options.maxSize < command->options.minSize) {
    *error = "--max-size 不能小于 --min-size";
  }
  return error->empty();
}

// Creates the folder when missing; a folder that holds anything is refused, so the generator
// never mixes its files with someone's own.
bool PrepareFolder(const std::string& folder, std::string* error) {
  const std::filesystem::path path(std::u8string(folder.begin(), folder.end()));
  std::error_code failure;
  if (std::filesystem::exists(path, failure)) {
    if (!std::filesystem::is_directory(path, failure)) {
      *error = "不是目录: " + folder;
      return false;
    }
    if (!std::filesystem::is_empty(path, failure) || failure) {
      *error = "目录不是空的: " + folder + " (只在空目录或新目录里生成, 以免混进已有的文件)";
      return false;
    }
    return true;
  }
  std::filesystem::create_directories(path, failure);
  if (failure) {
    *error = "无法创建目录: " + folder;
    return false;
  }
  return true;
}

std::string Megabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

}  // namespace

int RunMakeAlbum(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  Command command;
  std::string error;
  if (!Parse(args, &command, &error)) {
    std::fprintf(err, "tallowick-make-album: %s\n\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  if (command.help) {
    std::fputs(kUsage, out);
    return 0;
  }
  if (!PrepareFolder(command.folder, &error)) {
    std::fprintf(err, "tallowick-make-album: %s\n", error.c_str());
    return kExitUsage;
  }

  if (command.camera) {
    if (!MakeCameraSamples(command.folder, command.rawBytes, command.videoBytes, &error)) {
      std::fprintf(err, "tallowick-make-album: 无法写入 %s\n", error.c_str());
      return kExitWriteFailed;
    }
    return 0;
  }
  if (!command.tree) {
    if (!MakeDemoAlbum(command.folder, &error)) {
      std::fprintf(err, "tallowick-make-album: 无法写入 %s\n", error.c_str());
      return kExitWriteFailed;
    }
    std::fputs(DescribeDemoAlbum(command.folder).c_str(), out);
    return 0;
  }

  TreeTotals totals;
  if (!MakeBenchmarkTree(command.folder, command.options, &totals, &error)) {
    std::fprintf(err, "tallowick-make-album: 无法写入 %s\n", error.c_str());
    return kExitWriteFailed;
  }
  const std::string summary =
      "已生成 " + std::to_string(totals.files) + " 个文件, 共 " + std::to_string(totals.bytes) +
      " 字节 (" + Megabytes(totals.bytes) + "), 在 " + std::to_string(totals.folders) +
      " 个目录里:\n  带 EXIF 日期的照片 " + std::to_string(totals.photos) +
      " 张, 没有 EXIF 的照片 " + std::to_string(totals.photosWithoutExif) + " 张, 视频 " +
      std::to_string(totals.videos) + " 个,\n  整理时会跳过或过滤的文件 " +
      std::to_string(totals.skipped) + " 个.\n整理时应处理 " +
      std::to_string(totals.photos + totals.photosWithoutExif + totals.videos) + " 个文件.\n";
  std::fputs(summary.c_str(), out);
  return 0;
}

}  // namespace album
