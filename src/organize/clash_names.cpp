#include "organize/clash_names.h"

#include <algorithm>

#include "platform/platform.h"

std::size_t ExtensionStart(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

std::string ClashName(const std::string& name, int number) {
  const std::size_t dot = ExtensionStart(name);
  return name.substr(0, dot) + "(" + std::to_string(number) + ")" + name.substr(dot);
}

std::vector<std::string> ClashKeys(const std::string& dayFolder, const std::string& mainName,
                                   const std::vector<Sidecar>& sidecars) {
  const auto key = [&](const std::string& name) {
    const std::size_t cut = std::min(name.find_first_of("(."), name.size());
    return platform::ToLower(dayFolder + '\n' + name.substr(0, cut) + '/' +
                             name.substr(ExtensionStart(name)));
  };
  std::vector<std::string> keys = {key(mainName)};
  for (const Sidecar& sidecar : sidecars) {
    keys.push_back(key(SidecarFinalName(sidecar, mainName, mainName)));
  }
  return keys;
}
