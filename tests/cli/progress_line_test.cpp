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

TEST(ProgressLine, LinesTellTheShareAndTimeLeftKeepTheFileNameAndFitTheWidth) {
  const std::pair<ProgressFigures, const char*> lines[] = {
      {{532, 0, 19597, true, 42}, "[532/19,597 · 2.7% · 剩余 0:42] /p/a.jpg"},
      {{12, 1, 1000, true, 3723}, "[12/1,000 · 1.2% · 失败 1 · 剩余 1:02:03] /p/a.jpg"},
      {{532, 0, 1234567, true, -1}, "[532/1,234,567 · 0.0%] /p/a.jpg"},
      // While counting: what is known, and no estimate.
      {{532, 2, 12000, false, 42}, "[532/12,000+ · 失败 2] /p/a.jpg"},
      // A count that fell short of the files found since is no total either.
      {{20, 0, 12, true, 5}, "[20/20+] /p/a.jpg"},
  };
  for (const auto& [figures, line] : lines) {
    EXPECT_EQ(FormatProgressLine(figures, "/p/a.jpg", 80), line);
  }
  const std::string file = "/home/用户/照片/2019 旅行/第一天/img_0101.jpg";
  const ProgressFigures figures{1234, 5, 2000, false, -1};
  for (int columns = 0; columns <= 60; ++columns) {
    EXPECT_LE(DisplayWidth(FormatProgressLine(figures, file, columns)), columns) << columns;
  }
  const std::string cut = FormatProgressLine(figures, file, 40);
  EXPECT_EQ(cut.rfind("[1,234/2,000+ · 失败 5] ...", 0), 0u) << cut;
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

TEST(ProgressLine, TimeLeftFollowsTheRateOfTheLastTenSeconds) {
  ProgressEstimate estimate;
  const ProgressEstimate::Clock::time_point start{};
  estimate.Add(start, 0);
  estimate.Add(start + 500ms, 50);
  EXPECT_EQ(estimate.SecondsLeft(1000), -1) << "under a second seen";
  estimate.Add(start + 10s, 100);  // 10 files a second
  EXPECT_EQ(estimate.SecondsLeft(1000), 90);
  estimate.Add(start + 20s, 1100);  // 100 a second over the last 10 s: the slow start is gone
  EXPECT_EQ(estimate.SecondsLeft(2100), 10);
  estimate.Add(start + 40s, 1100);  // nothing done for 20 s
  EXPECT_EQ(estimate.SecondsLeft(2100), -1);
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
