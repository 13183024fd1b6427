// The image button and the link label as a user meets them, in the skin test dialog: a real
// pointer over them, and the commands and links it reports read back from its window.
#include <gtest/gtest.h>

#include "window_driver.h"

using namespace windriver;

TEST(SkinDemo, ButtonsAnswerThePointerAndLinksOpenTheirTarget) {
  ProgramUnderTest demo("", TALLOWICK_SKIN_DEMO_EXE);
  ASSERT_TRUE(demo.Start(1032));
  HWND button = demo.Control(1001);
  HWND clicks = demo.Control(1031);
  // The button takes its frame's size at its template corner.
  const RECT shown = ScreenRectOf(button);
  const RECT corner = ScreenRectOf(demo.Control(1011));
  const RECT expected{corner.left, corner.top, corner.left + 40, corner.top + 24};
  EXPECT_TRUE(EqualRect(&shown, &expected)) << shown.left << "," << shown.top << "," << shown.right;

  // The hover frame (frame 1, green in the test strip; frame 0 is red) shows only while the
  // pointer is over the button.
  bool (*red)(int, int, int) = [](int r, int g, int b) { return r > 150 && g < 60 && b < 90; };
  bool (*green)(int, int, int) = [](int r, int g, int b) { return r < 90 && g > 150 && b < 90; };
  auto frameShows = [&](bool (*frame)(int, int, int), bool (*other)(int, int, int)) {
    return WaitFor(
        [&] { return CountPixelsWhere(shown, frame) > 100 && CountPixelsWhere(shown, other) == 0; },
        3000);
  };
  MoveTo({5, 5});
  EXPECT_TRUE(frameShows(red, green)) << "pointer away";
  MoveTo({shown.left + 5, shown.top + 12});
  EXPECT_TRUE(frameShows(green, red)) << "pointer over";
  Screenshot("skin-hover", demo.Main());

  // One command for a click, two for a double-click.
  ClickCentre(button);
  EXPECT_TRUE(WaitFor([&] { return Text(clicks) == "1"; })) << Text(clicks);
  RunLinux("/usr/bin/xdotool click --repeat 2 --delay 80 1");
  EXPECT_TRUE(WaitFor([&] { return Text(clicks) == "3"; })) << Text(clicks);

  // Each link opens exactly the target its text names.
  for (auto [id, target] :
       {std::pair{1021, "mailto:maker@tallowick.cn"}, std::pair{1022, "http://www.tallowick.cn"}}) {
    ClickCentre(demo.Control(id));
    EXPECT_TRUE(WaitFor([&] { return Text(demo.Control(1032)) == target; })) << target;
  }
}
