#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace {

using namespace std::chrono_literals;

TEST(ProgressLine, DisplayWidthCountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth(""), 0);
  EXPECT_EQ(DisplayWidth("img_0001.jpg"), 12);
  EXPECT_EQ(DisplayWidth("旅行"), 4);
  EXPECT_EQ(DisplayWidth("2019年/a"), 8);
  EXPECT_EQ(DisplayWidth("（１）"), 6);            // full-width forms
  EXPECT_EQ(DisplayWidth("café"), 4);              // two-byte Latin letter
  EXPECT_EQ(DisplayWidth("e\xCC\x81"), 1);         // combining accent adds nothing
  EXPECT_EQ(DisplayWidth("\xF0\x9F\x93\xB7"), 2);  // a four-byte emoji
  // Broken UTF-8 (a cut character, a stray continuation byte) counts byte by byte.
  EXPECT_EQ(DisplayWidth("a\xE6\x97"), 3);
  EXPECT_EQ(DisplayWidth("\x80x"), 2);
}

TEST(ProgressLine, TailFittingCutsOnlyBetweenCharacters) {
  EXPECT_EQ(TailFitting("abcdef", 3), "def");
  EXPECT_EQ(TailFitting("abc", 10), "abc");
  EXPECT_EQ(TailFitting("abc", 0), "");
  // A wide character that would stick out by one column is left out whole.
  EXPECT_EQ(TailFitting("旅行照片", 5), "照片");
  EXPECT_EQ(TailFitting("a旅行", 4), "旅行");
  EXPECT_EQ(TailFitting("a旅行", 3), "行");
}

TEST(ProgressLine, LinesKeepTheFileNameAndFitTheWidth) {
  EXPECT_EQ(FormatProgressLine(12, 1, "/p/a.jpg", 80), "[已处理 12, 失败 1] /p/a.jpg");

  const std::string file = "/home/用户/照片/2019 旅行/第一天/img_0101.jpg";
  for (int columns = 0; columns <= 60; ++columns) {
    const std::string line = FormatProgressLine(1234, 5, file, columns);
    EXPECT_LE(DisplayWidth(line), columns) << line;
  }
  const std::string cut = FormatProgressLine(1234, 5, file, 40);
  EXPECT_EQ(cut.rfind("[已处理 1234, 失败 5] ...", 0), 0u) << cut;
  EXPECT_EQ(cut.substr(cut.size() - 12), "img_0101.jpg");
  EXPECT_EQ(DisplayWidth(cut), 40);
}

TEST(ProgressLine, FileOfMessageReadsSuccessAndFailureMessages) {
  EXPECT_EQ(
      FileOfMessage("复制文件(3): /a/b c/x.jpg\r\n\r\n复制到: /t/2019年/2019-10-01/X.JPG\r\n"),
      "/a/b c/x.jpg");
  EXPECT_EQ(FileOfMessage("移动文件失败: /a/x.jpg -> /t/2019年/2019-10-01/x.jpg\r\n"), "/a/x.jpg");
  EXPECT_EQ(FileOfMessage("no separator here"), "");
}

TEST(ProgressLine, ThrottleLetsOneRedrawThroughPerInterval) {
  ProgressThrottle throttle(100ms);
  const ProgressThrottle::Clock::time_point start{};
  EXPECT_TRUE(throttle.Due(start));
  EXPECT_FALSE(throttle.Due(start + 10ms));
  EXPECT_FALSE(throttle.Due(start + 99ms));
  EXPECT_TRUE(throttle.Due(start + 100ms));
  // The interval counts from the last redraw let through, not from the last call.
  EXPECT_FALSE(throttle.Due(start + 150ms));
  EXPECT_TRUE(throttle.Due(start + 200ms));
  EXPECT_TRUE(throttle.Due(start + 1000ms));
}

TEST(ProgressLine, DisplayRedrawsInPlaceAndPrintsAboveTheLine) {
  clitest::CapturedStream out;
  {
    ProgressDisplay display(out.get(), 21);
    EXPECT_EQ(display.LineColumns(), 20);
    display.Draw("long line 1");
    display.Draw("short");  // blanks over the rest of the longer line
    display.PrintAbove("failed: x\n");
    display.Clear();
  }
  EXPECT_EQ(out.Text(),
            "\rlong line 1"
            "\rshort      "
            "\r     \r"  // erased: as wide as the line now on screen
            "failed: x\n"
            "\rshort"  // drawn again below the printed text
            "\r     \r");
}

TEST(ProgressLine, PrintAboveWithoutALineOnlyPrints) {
  clitest::CapturedStream out;
  ProgressDisplay display(out.get(), 80);
  display.PrintAbove("failed: x\n");
  display.Clear();
  EXPECT_EQ(out.Text(), "failed: x\n");
}

}  // namespace
