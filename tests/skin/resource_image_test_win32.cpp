#include <gtest/gtest.h>

#include <vector>

#include "skin/global.h"
#include "test_resources.h"

namespace {

constexpr DWORD kNotAnImageSize = 24;

class ResourceImageTest : public testing::Test {
 protected:
  fw::GdiplusSession m_gdiplus;
};

TEST_F(ResourceImageTest, GetResourceDataSizesAndCopies) {
  DWORD size = 0;
  EXPECT_EQ(CGlobal::GetResourceData(IDP_MISSING, nullptr, &size, "png"), 0u);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(CGlobal::GetResourceData(IDP_NOT_AN_IMAGE, nullptr, nullptr, "png"), 0u);

  // Null, empty and differently cased type names all find the PNG resource.
  for (const char* type : {static_cast<const char*>(nullptr), "", "png", "PNG"}) {
    size = 0;
    EXPECT_EQ(CGlobal::GetResourceData(IDP_NOT_AN_IMAGE, nullptr, &size, type), kNotAnImageSize);
    EXPECT_EQ(size, kNotAnImageSize);
  }
  size = 0;
  EXPECT_EQ(CGlobal::GetResourceData(IDR_TEST_DATA, nullptr, &size, "TESTDATA"), kNotAnImageSize);
  EXPECT_EQ(CGlobal::GetResourceData(IDR_TEST_DATA, nullptr, &size, nullptr), 0u);

  // A destination one byte short receives nothing but learns the size.
  std::vector<BYTE> dest(kNotAnImageSize, 0xAA);
  size = kNotAnImageSize - 1;
  EXPECT_EQ(CGlobal::GetResourceData(IDP_NOT_AN_IMAGE, dest.data(), &size, "png"), kNotAnImageSize);
  EXPECT_EQ(size, kNotAnImageSize);
  EXPECT_EQ(dest, std::vector<BYTE>(kNotAnImageSize, 0xAA));

  size = kNotAnImageSize;
  CGlobal::GetResourceData(IDP_NOT_AN_IMAGE, dest.data(), &size, "png");
  EXPECT_EQ(std::string(dest.begin(), dest.end()), "these bytes are no image");
}

TEST_F(ResourceImageTest, SaveData2StreamRefusesAndCopies) {
  const BYTE data[] = {1, 2, 3, 4, 5};
  IStream* const untouched = reinterpret_cast<IStream*>(0x1234);
  IStream* stream = untouched;
  EXPECT_EQ(CGlobal::SaveData2Stream(nullptr, 5, &stream), nullptr);
  EXPECT_EQ(CGlobal::SaveData2Stream(data, 0, &stream), nullptr);
  EXPECT_EQ(CGlobal::SaveData2Stream(data, -1, &stream), nullptr);
  EXPECT_EQ(CGlobal::SaveData2Stream(data, 5, nullptr), nullptr);
  EXPECT_EQ(stream, untouched);

  stream = nullptr;
  HGLOBAL block = CGlobal::SaveData2Stream(data, 5, &stream);
  ASSERT_NE(block, nullptr);
  ASSERT_NE(stream, nullptr);
  fw::ComStream owned(stream);
  BYTE back[8] = {};
  ULONG read = 0;
  ASSERT_EQ(owned.get()->Read(back, sizeof back, &read), S_OK);  // positioned at 0
  ASSERT_GE(read, 5u);
  EXPECT_EQ(std::vector<BYTE>(back, back + 5), std::vector<BYTE>(data, data + 5));
}

TEST_F(ResourceImageTest, DecodesStripsAndGivesEmptyImageForOtherBytes) {
  struct Case {
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
  for (const Case& c : cases) {
    std::optional<ResourceImage> image = LoadResourceImage(c.id);
    ASSERT_EQ(image.has_value(), c.made) << c.id;
    if (!image)
      continue;
    EXPECT_EQ(image->width, c.width) << c.id;
    EXPECT_EQ(image->height, c.height) << c.id;
    EXPECT_EQ(image->image.get() != nullptr, c.decoded) << c.id;
  }
}

TEST_F(ResourceImageTest, DecodedPixelsKeepTheirAlpha) {
  std::optional<ResourceImage> image = LoadResourceImage(IDP_STRIP_40X24);
  ASSERT_TRUE(image && image->image);
  auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image->image.get());
  struct Probe {
    INT x;
    Gdiplus::ARGB argb;
  } probes[] = {
      {0, 0xFFC80000}, {25, 0x80C80000}, {40, 0xFF00C800}, {105, 0x800000C8}, {120, 0xFF808080}};
  for (const Probe& p : probes) {
    Gdiplus::ARGB argb = 0;
    ASSERT_EQ(Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, p.x, 5, &argb), Gdiplus::Ok);
    EXPECT_EQ(argb, p.argb) << p.x;
  }
}

}  // namespace
