#include "cli/cli_options.h"

#include <string_view>

#include "organize/organize_job.h"

namespace {

enum class Kind { kFlag, kValue };

struct OptionInfo {
  std::string_view name;
  Kind kind;
};

constexpr OptionInfo kOptions[] = {
    {"--move", Kind::kFlag},    {"--flat", Kind::kFlag},        {"--dry-run", Kind::kFlag},
    {"--quiet", Kind::kFlag},   {"--help", Kind::kFlag},        {"--version", Kind::kFlag},
    {"--filter", Kind::kValue}, {"--error-file", Kind::kValue},
};

const OptionInfo* FindOption(std::string_view name) {
  for (const OptionInfo& option : kOptions) {
    if (option.name == name) {
      return &option;
    }
  }
  return nullptr;
}

void SetFlag(std::string_view name, CliOptions* options) {
  if (name == "--move") {
    options->move = true;
  } else if (name == "--flat") {
    options->flat = true;
  } else if (name == "--dry-run") {
    options->dryRun = true;
  } else if (name == "--quiet") {
    options->quiet = true;
  } else if (name == "--help") {
    options->help = true;
  } else if (name == "--version") {
    options->version = true;
  }
}

void SetValue(std::string_view name, const std::string& value, CliOptions* options) {
  if (name == "--filter") {
    options->filter = value;
  } else {
    options->errorFile = value;
  }
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
    if (option->kind == Kind::kFlag) {
      if (equals != std::string::npos) {
        *error = "选项 " + std::string(name) + " 不带参数";
        return false;
      }
      SetFlag(name, options);
      if (options->help || options->version) {
        return true;
      }
      continue;
    }
    if (equals != std::string::npos) {
      SetValue(name, arg.substr(equals + 1), options);
    } else if (i + 1 < args.size()) {
      SetValue(name, args[++i], options);
    } else {
      *error = "选项 " + std::string(name) + " 需要一个参数";
      return false;
    }
  }

  if (options->folders.size() != 2) {
    *error = "需要两个目录 (照片目录和输出目录), 实际给了 " +
             std::to_string(options->folders.size()) + " 个";
    return false;
  }
  return true;
}
