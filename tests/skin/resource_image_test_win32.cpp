// Images of the program's resources: decoded at their strip size, or known to be no image.
#include <gtest/gtest.h>

#include "skin/global.h"
#include "test_resources.h"

namespace {

TEST(ResourceImage, DecodesStripsAndGivesAnEmptyImageForOtherBytes) {
  fw::GdiplusSession gdiplus;
  const struct {
    UINT id;
    bool made;
    UINT width, height;
    bool decoded;
  } cases[] = {
      {IDP_STRIP_40X24, true, 160, 24, true},
      {IDP_STRIP_622X52, true, 622, 52, true},
      {IDP_NOT_AN_IMAGE, true, 0, 0, false},
      {IDP_MISSING, false, 0, 0, false},
  };
  for (const auto& c : cases) {
    std::optional<ResourceImage> image = LoadResourceImage(c.id);
    ASSERT_EQ(image.has_value(), c.made) << c.id;
    if (!image)
      continue;
    EXPECT_EQ(image->width, c.width) << c.id;
    EXPECT_EQ(image->height, c.height) << c.id;
    EXPECT_EQ(image->image.get() != nullptr, c.decoded) << c.id;
  }
}

}  // namespace
