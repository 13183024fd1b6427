#include "skin/link_rule.h"

#include <gtest/gtest.h>

#include "skin/product.h"

namespace {

struct LinkCase {
  const char* text;
  int result;
  std::string link;  // what the previous target "old" becomes
};

const std::string kQQTail = std::string("&Site=") + kMakerSiteName + "&Menu=yes";

TEST(LinkRule, TextsAndTargets) {
  const LinkCase cases[] = {
      {"", 0, "old"},  // empty keeps the previous target
      {"http://www.tallowick.cn", 1, "http://www.tallowick.cn"},
      {"https://a.b/c?d=1", 1, "https://a.b/c?d=1"},
      {"maker@tallowick.cn", 1, "mailto:maker@tallowick.cn"},
      {"QQ:12345678", 1, "tencent://message/?uin=12345678" + kQQTail},
      {"QQ: 123 ", 1, "tencent://message/?uin= 123 " + kQQTail},         // blanks kept
      {"my QQ:42 QQ:7", 1, "tencent://message/?uin=42 QQ:7" + kQQTail},  // first "QQ:"
      {"QQ:", 1, "tencent://message/?uin=" + kQQTail},
      {"HTTP://WWW.TALLOWICK.CN", 0, ""},  // case-sensitive: no target
      {"qq:123", 0, ""},
      {"QQ 123", 0, ""},
      {"plain text", 0, ""},
      {"http://x.cn/a@b QQ:1", 1, "http://x.cn/a@b QQ:1"},  // web wins
      {"a@b.cn QQ:1", 1, "mailto:a@b.cn QQ:1"},             // e-mail before QQ
  };
  for (const LinkCase& c : cases) {
    std::string link = "old";
    EXPECT_EQ(ApplyLinkRule(c.text, &link), c.result) << c.text;
    EXPECT_EQ(link, c.link) << c.text;
  }
}

}  // namespace
