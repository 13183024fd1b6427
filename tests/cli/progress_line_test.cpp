#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace {

using namespace std::chrono_literals;

TEST(ProgressLine, DisplayWidthAndTailFitting) {
  // Full-width forms count two columns, a two-byte Latin letter one, a combining accent none,
  // a four-byte emoji two; a cut character and a stray continuation byte count byte by byte.
  const std::pair<const char*, int> widths[] = {
      {"", 0},          {"2019年/旅行", 11},     {"（１）", 6},    {"café", 4},
      {"e\xCC\x81", 1}, {"\xF0\x9F\x93\xB7", 2}, {"a\xE6\x97", 3}, {"\x80x", 2}};
  for (const auto& [text, width] : widths) {
    EXPECT_EQ(DisplayWidth(text), width) << text;
  }
  // A wide character that would stick out by one column is left out whole.
  const std::pair<std::pair<const char*, int>, const char*> tails[] = {
      {{"abcdef", 3}, "def"},    {{"abc", 10}, "abc"},   {{"abc", 0}, ""},
      {{"旅行照片", 5}, "照片"}, {{"a旅行", 4}, "旅行"}, {{"a旅行", 3}, "行"}};
  for (const auto& [in, tail] : tails) {
    EXPECT_EQ(TailFitting(in.first, in.second), tail) << in.first << " " << in.second;
  }
}

TEST(ProgressLine, LinesKeepTheFileNameAndFitTheWidth) {
  EXPECT_EQ(FormatProgressLine(12, 1, "/p/a.jpg", 80), "[已处理 12, 失败 1] /p/a.jpg");
  const std::string file = "/home/用户/照片/2019 旅行/第一天/img_0101.jpg";
  for (int columns = 0; columns <= 60; ++columns) {
    EXPECT_LE(DisplayWidth(FormatProgressLine(1234, 5, file, columns)), columns) << columns;
  }
  const std::string cut = FormatProgressLine(1234, 5, file, 40);
  EXPECT_EQ(cut.rfind("[已处理 1234, 失败 5] ...", 0), 0u) << cut;
  EXPECT_TRUE(cut.ends_with("/img_0101.jpg")) << cut;
  EXPECT_EQ(DisplayWidth(cut), 40);
  // The file a message is about: its first line, after the ": ".
  EXPECT_EQ(
      FileOfMessage("复制文件(3): /a/b c/x.jpg\r\n\r\n复制到: /t/2019年/2019-10-01/X.JPG\r\n"),
      "/a/b c/x.jpg");
}

TEST(ProgressLine, ThrottleCountsFromTheLastRedrawLetThrough) {
  ProgressThrottle throttle(100ms);
  const ProgressThrottle::Clock::time_point start{};
  const std::pair<std::chrono::milliseconds, bool> calls[] = {
      {0ms, true}, {99ms, false}, {100ms, true}, {150ms, false}, {200ms, true}, {1000ms, true}};
  for (const auto& [at, due] : calls) {
    EXPECT_EQ(throttle.Due(start + at), due) << at.count();
  }
}

TEST(ProgressLine, DisplayRedrawsInPlaceAndPrintsAboveTheLine) {
  clitest::CapturedStream out, plain;
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
  // Without a line shown, text is only printed.
  ProgressDisplay display(plain.get(), 80);
  display.PrintAbove("failed: x\n");
  display.Clear();
  EXPECT_EQ(plain.Text(), "failed: x\n");
}

}  // namespace
