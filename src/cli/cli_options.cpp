#include "cli/cli_options.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "organize/folder_layout.h"
#include "organize/job_count.h"
#include "organize/organize_job.h"

namespace {

// Each option sets one member: a flag, a text taken from its argument, or a switch that
// Config.ini may have set, on or off.
struct OptionInfo {
  std::string_view name;
  bool CliOptions::*flag = nullptr;
  std::string CliOptions::*value = nullptr;
  std::optional<bool> CliOptions::*toggle = nullptr;
  bool on = false;
};

constexpr OptionInfo kOptions[] = {
    {"--move", &CliOptions::move, nullptr},
    {"--flat", &CliOptions::flat, nullptr},
    {"--layout", nullptr, &CliOptions::layout},
    {"--dry-run", &CliOptions::dryRun, nullptr},
    {"--quiet", &CliOptions::quiet, nullptr},
    {"--help", &CliOptions::help, nullptr},
    {"--version", &CliOptions::version, nullptr},
    {"--filter", nullptr, &CliOptions::filter},
    {"--error-file", nullptr, &CliOptions::errorFile},
    {"--journal", nullptr, &CliOptions::journal},
    {"--jobs", nullptr, &CliOptions::jobsText},
    {"--undo", nullptr, &CliOptions::undo},
    {"--skip-identical", nullptr, nullptr, &CliOptions::skipIdentical, true},
    {"--no-skip-identical", nullptr, nullptr, &CliOptions::skipIdentical, false},
    {"--rename-clashes", nullptr, nullptr, &CliOptions::renameClashes, true},
    {"--no-rename-clashes", nullptr, nullptr, &CliOptions::renameClashes, false},
    {"--sidecars", nullptr, nullptr, &CliOptions::sidecars, true},
    {"--no-sidecars", nullptr, nullptr, &CliOptions::sidecars, false},
    {"--media-dates", nullptr, nullptr, &CliOptions::mediaDates, true},
    {"--no-media-dates", nullptr, nullptr, &CliOptions::mediaDates, false},
    {"--raw-folder", nullptr, nullptr, &CliOptions::rawFolder, true},
    {"--no-raw-folder", nullptr, nullptr, &CliOptions::rawFolder, false},
};

const OptionInfo* FindOption(std::string_view name) {
  for (const OptionInfo& option : kOptions) {
    if (option.name == name) {
      return &option;
    }
  }
  return nullptr;
}

// A whole number from 0 to kMaxJobs, else nothing.
std::optional<int> JobsNumber(const std::string& text) {
  int jobs = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  if (error != std::errc() || end != text.data() + text.size() || jobs < 0 || jobs > kMaxJobs) {
    return std::nullopt;
  }
  return jobs;
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error) {
  *options = CliOptions();
  options->filter = OrganizeSettings().fileFilters;
  error->clear();

  bool onlyFolders = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A lone "-" is an ordinary name, as is anything after "--".
    if (onlyFolders || arg.size() < 2 || arg[0] != '-') {
      options->folders.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyFolders = true;
      continue;
    }
    if (arg == "-h") {
      options->help = true;
      return true;
    }

    const std::size_t equals = arg.find('=');
    const std::string_view name = std::string_view(arg).substr(0, equals);
    const OptionInfo* option = FindOption(name);
    if (option == nullptr) {
      *error = "未知选项: " + arg;
      return false;
    }
    if (option->value == nullptr) {
      if (equals != std::string::npos) {
        *error = "选项 " + std::string(name) + " 不带参数";
        return false;
      }
      if (option->toggle != nullptr) {
        options->*option->toggle = option->on;
        continue;
      }
      options->*option->flag = true;
      if (options->help || options->version) {
        return true;
      }
      continue;
    }
    options->filterGiven |= option->value == &CliOptions::filter;
    if (equals != std::string::npos) {
      options->*option->value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      options->*option->value = args[++i];
    } else {
      *error = "选项 " + std::string(name) + " 需要一个参数";
      return false;
    }
  }

  FolderLayout layout;
  if (!options->layout.empty() && !ParseFolderLayout(options->layout, &layout)) {
    *error = "未知的目录样式: " + options->layout + " (可用: ";
    for (FolderLayout known : kFolderLayouts) {
      error->append(known == kFolderLayouts[0] ? "" : ", ").append(FolderLayoutName(known));
    }
    error->append(")");
    return false;
  }
  if (!options->jobsText.empty() && !(options->jobs = JobsNumber(options->jobsText))) {
    *error = "--jobs 应是 0 到 " + std::to_string(kMaxJobs) + " 之间的整数: " + options->jobsText;
    return false;
  }
  if (!options->undo.empty()) {
    if (!options->folders.empty()) {
      *error = "--undo 不带目录";
      return false;
    }
    return true;
  }
  if (options->folders.size() != 2) {
    *error = "需要两个目录 (照片目录和输出目录), 实际给了 " +
             std::to_string(options->folders.size()) + " 个";
    return false;
  }
  return true;
}
