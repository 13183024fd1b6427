#include "skin/link_rule.h"

#include "skin/product.h"

int ApplyLinkRule(const std::string& text, std::string* link) {
  if (text.empty())
    return 0;
  if (text.find("http") != std::string::npos) {
    *link = text;
    return 1;
  }
  if (text.find('@') != std::string::npos) {
    *link = "mailto:" + text;
    return 1;
  }
  constexpr std::string_view kQQ = "QQ:";
  if (size_t at = text.find(kQQ); at != std::string::npos) {
    *link = "tencent://message/?uin=" + text.substr(at + kQQ.size()) + "&Site=" + kMakerSiteName +
            "&Menu=yes";
    return 1;
  }
  link->clear();
  return 0;
}
