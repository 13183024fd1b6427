#include "organize/clash_names.h"

std::size_t ExtensionStart(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

std::string ClashName(const std::string& name, int number) {
  const std::size_t dot = ExtensionStart(name);
  return name.substr(0, dot) + "(" + std::to_string(number) + ")" + name.substr(dot);
}
