// The main window's layout rule with the program's own images and with another skin.
#include <gtest/gtest.h>

#include "app/main_layout.h"

namespace {

MainLayoutInput Buttons(int width, int height) {
  MainLayoutInput in;
  in.skin = {width, height};
  in.close = in.minimise = {38, 34};
  in.options = in.about = {16, 16};
  in.photoDir = in.outputDir = in.organize = {155, 52};
  in.stop = {24, 24};
  return in;
}

}  // namespace

TEST(MainLayout, RectanglesFollowTheSkin) {
  struct Case {
    LayoutSize skin;
    MainLayout expected;
  };
  const Case cases[] = {
      {{622, 416},
       {{582, 2, 38, 34},
        {544, 2, 38, 34},
        {512, 5, 16, 16},
        {494, 5, 16, 16},
        {87, 91, 155, 52},
        {252, 91, 311, 52},
        {87, 183, 155, 52},
        {252, 183, 311, 52},
        {87, 274, 155, 52},
        {252, 274, 311, 104},
        {573, 286, 24, 24},
        {93, 391, 200, 18},
        {261, 396, 400, 18}}},
      // A larger skin: rows move with the height, statics follow half the width, the title
      // buttons stay at the right edge, the bottom lines stay 25 and 20 pixels above it.
      {{801, 503},
       {{761, 2, 38, 34},
        {723, 2, 38, 34},
        {691, 5, 16, 16},
        {673, 5, 16, 16},
        {87, 110, 155, 52},
        {252, 110, 400, 52},
        {87, 221, 155, 52},
        {252, 221, 400, 52},
        {87, 331, 155, 52},
        {252, 331, 400, 104},
        {662, 343, 24, 24},
        {120, 478, 200, 18},
        {336, 483, 400, 18}}},
  };
  for (const Case& c : cases) {
    const MainLayout got = ComputeMainLayout(Buttons(c.skin.w, c.skin.h));
    const LayoutRect MainLayout::*members[] = {
        &MainLayout::close,     &MainLayout::minimise, &MainLayout::options,
        &MainLayout::about,     &MainLayout::photoDir, &MainLayout::pathSrc,
        &MainLayout::outputDir, &MainLayout::pathTar,  &MainLayout::organize,
        &MainLayout::message,   &MainLayout::stop,     &MainLayout::deleteSrc,
        &MainLayout::makerLine};
    for (size_t i = 0; i < std::size(members); ++i) {
      const LayoutRect& g = got.*members[i];
      const LayoutRect& e = c.expected.*members[i];
      EXPECT_EQ(e, g) << c.skin.w << "x" << c.skin.h << " row " << i << ": " << g.x << "," << g.y
                      << "," << g.w << "," << g.h;
    }
  }
}
