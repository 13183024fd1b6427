// The skin's images as the windows load them: strip sizes and frames, bitmaps, icon, cursor,
// and whether the texts the windows draw over the bitmaps can be read.
#include <gtest/gtest.h>

#include "resource_bytes.h"  // <windows.h> first

#include <objidl.h>  // before the GDI+ headers, which need its types

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "resource.h"

namespace {

using namespace Gdiplus;

// GDI+ for the whole test program, started on first use.
void StartGdiplus() {
  static ULONG_PTR token = [] {
    GdiplusStartupInput input;
    ULONG_PTR t = 0;
    EXPECT_EQ(GdiplusStartup(&t, &input, nullptr), Ok);
    return t;
  }();
  (void)token;
}

// A decoded PNG resource, through a stream over a private copy of its bytes.
class DecodedPng {
 public:
  explicit DecodedPng(std::span<const std::uint8_t> bytes) {
    StartGdiplus();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr)
      return;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream_))) {
      GlobalFree(block);
      return;
    }
    DllExports::GdipCreateBitmapFromStream(stream_, &bitmap_);
  }
  ~DecodedPng() {
    if (bitmap_)
      DllExports::GdipDisposeImage(bitmap_);
    if (stream_)
      stream_->Release();
  }
  DecodedPng(const DecodedPng&) = delete;
  DecodedPng& operator=(const DecodedPng&) = delete;

  UINT Width() const { return Query(DllExports::GdipGetImageWidth); }
  UINT Height() const { return Query(DllExports::GdipGetImageHeight); }
  ARGB Pixel(int x, int y) const {
    ARGB argb = 0;
    DllExports::GdipBitmapGetPixel(bitmap_, x, y, &argb);
    return argb;
  }

 private:
  UINT Query(GpStatus (*get)(GpImage*, UINT*)) const {
    UINT value = 0;
    return bitmap_ && get(bitmap_, &value) == Ok ? value : 0;
  }
  IStream* stream_ = nullptr;
  GpBitmap* bitmap_ = nullptr;
};

std::uint32_t BigEndian(std::span<const std::uint8_t> b, size_t at) {
  return std::uint32_t{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

struct Strip {
  int id;
  UINT width, height;
};
const Strip kStrips[] = {
    {IDP_OPTIONS, 64, 16},   {IDP_ABOUT, 64, 16},      {IDP_CLOSE, 152, 34},
    {IDP_MINIMISE, 152, 34}, {IDP_PHOTO_DIR, 620, 52}, {IDP_OUTPUT_DIR, 620, 52},
    {IDP_ORGANIZE, 620, 52}, {IDP_STOP, 96, 24},       {IDP_ABOUT_OK, 64, 16},
};

TEST(SkinImages, StripsAreFourFrameRgbaPngs) {
  for (const auto& strip : kStrips) {
    SCOPED_TRACE("png " + std::to_string(strip.id));
    // Found as the image button looks for them: type name "png", in any letter case.
    auto bytes = ResourceBytes(strip.id, "png");
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(BigEndian(bytes, 16), strip.width);
    EXPECT_EQ(BigEndian(bytes, 20), strip.height);
    EXPECT_EQ(bytes[24], 8) << "bits per channel";
    EXPECT_EQ(bytes[25], 6) << "colour type: RGB with alpha";

    DecodedPng png(bytes);
    ASSERT_EQ(png.Width(), strip.width);
    ASSERT_EQ(png.Height(), strip.height);
    const int frame = static_cast<int>(strip.width / 4);
    ASSERT_EQ(frame * 4, static_cast<int>(strip.width));
    // The skin shows through around each frame's rounded corners.
    for (int f = 0; f < 4; ++f)
      EXPECT_EQ(png.Pixel(f * frame, 0) >> 24, 0u) << "frame " << f;
    // Normal, pointer over, pressed and greyed each look different from the others.
    for (int a = 0; a < 4; ++a) {
      for (int b = a + 1; b < 4; ++b) {
        int differing = 0;
        for (int y = 0; y < static_cast<int>(strip.height); ++y)
          for (int x = 0; x < frame; ++x)
            differing += png.Pixel(a * frame + x, y) != png.Pixel(b * frame + x, y);
        EXPECT_GT(differing, frame * static_cast<int>(strip.height) / 50)
            << "frames " << a << " and " << b;
      }
    }
  }
}

// A window's skin as 24-bit pixels, loaded the way the windows load it.
struct Skin {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<std::uint8_t> bgr;  // top-down rows, 3 bytes a pixel

  explicit Skin(int id) {
    auto bytes = ResourceBytes(id, RT_BITMAP);
    if (bytes.size() >= sizeof(BITMAPINFOHEADER)) {
      BITMAPINFOHEADER header;
      std::memcpy(&header, bytes.data(), sizeof header);
      bitsPerPixel = header.biBitCount;
    }
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info{};
    if (bitmap == nullptr || !GetObjectW(bitmap, sizeof info, &info))
      return;
    width = info.bmWidth, height = info.bmHeight;
    BITMAPINFO want{};
    want.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    want.bmiHeader.biWidth = width;
    want.bmiHeader.biHeight = -height;  // top-down
    want.bmiHeader.biPlanes = 1;
    want.bmiHeader.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> rows(static_cast<size_t>(stride * height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, rows.data(), &want, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (int y = 0; y < height; ++y)
      bgr.insert(bgr.end(), rows.begin() + y * stride, rows.begin() + y * stride + width * 3);
  }

  double Luminance(int x, int y) const {
    const std::uint8_t* p = &bgr[static_cast<size_t>((y * width + x) * 3)];
    return RelativeLuminance(p[2], p[1], p[0]);
  }
  static double RelativeLuminance(int r, int g, int b) {
    auto linear = [](int c) {
      double s = c / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
  }
};

TEST(SkinImages, BitmapsAre24BitAtTheirSizes) {
  struct {
    int id, width, height;
  } const bitmaps[] = {{IDB_MAIN_SKIN, 622, 416}, {IDB_ABOUT_SKIN, 360, 200}};
  for (const auto& b : bitmaps) {
    SCOPED_TRACE("bitmap " + std::to_string(b.id));
    Skin skin(b.id);
    EXPECT_EQ(skin.width, b.width);
    EXPECT_EQ(skin.height, b.height);
    EXPECT_EQ(skin.bitsPerPixel, 24);
  }
}

// Every text the windows draw on their skins stands out from every pixel behind it by at least
// the contrast ratio 4.5 that makes small text readable.
TEST(SkinImages, TextsReadOnTheSkinBehindThem) {
  struct Zone {
    int bitmap;
    const char* what;
    RECT area;  // pixels: left, top, right, bottom
    COLORREF text;
  } const zones[] = {
      {IDB_MAIN_SKIN, "source folder 1019", {252, 91, 563, 143}, RGB(31, 107, 129)},
      {IDB_MAIN_SKIN, "target folder 1020", {252, 183, 563, 235}, RGB(31, 107, 129)},
      {IDB_MAIN_SKIN, "message area 1018", {252, 274, 563, 378}, RGB(31, 107, 129)},
      {IDB_MAIN_SKIN, "check box 1006", {93, 391, 190, 409}, RGB(31, 107, 129)},
      {IDB_MAIN_SKIN, "maker line 1013", {261, 396, 622, 414}, RGB(255, 255, 255)},
      {IDB_ABOUT_SKIN, "title 1016", {10, 4, 162, 19}, RGB(255, 255, 255)},
      {IDB_ABOUT_SKIN, "About texts", {94, 52, 275, 180}, RGB(245, 245, 245)},
  };
  for (const auto& z : zones) {
    Skin skin(z.bitmap);
    ASSERT_GE(skin.width, z.area.right) << z.what;
    ASSERT_GE(skin.height, z.area.bottom) << z.what;
    const double text =
        Skin::RelativeLuminance(GetRValue(z.text), GetGValue(z.text), GetBValue(z.text));
    double worst = 21;
    for (int y = z.area.top; y < z.area.bottom; ++y) {
      for (int x = z.area.left; x < z.area.right; ++x) {
        double back = skin.Luminance(x, y);
        worst = std::min(worst, (std::max(text, back) + 0.05) / (std::min(text, back) + 0.05));
      }
    }
    EXPECT_GE(worst, 4.5) << z.what;
  }
}

TEST(SkinImages, IconHasTheSizesWindowsAsksFor) {
  auto group = ResourceBytes(IDR_MAINFRAME, RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  const int count = group[4] | group[5] << 8;
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::set<int> sizes;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* entry = &group[6 + 14 * i];
    const int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
    EXPECT_EQ(width, height);
    EXPECT_EQ(entry[6] | entry[7] << 8, 32) << width << " x " << height << " bits per pixel";
    sizes.insert(width);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 96}));
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
}

TEST(SkinImages, HandCursorPointsWithItsFingertip) {
  auto group = ResourceBytes(IDC_LINK_HAND, RT_GROUP_CURSOR);
  ASSERT_EQ(group.size(), 6u + 14u);
  EXPECT_EQ(group[6] | group[7] << 8, 32) << "width";
  EXPECT_EQ(group[8] | group[9] << 8, 64) << "height of colour and mask together";
  // The image itself: its hot spot, then a bitmap header.
  auto image = ResourceBytes(group[18] | group[19] << 8, RT_CURSOR);
  ASSERT_GE(image.size(), 4 + sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, image.data() + 4, sizeof header);
  EXPECT_EQ(header.biBitCount, 4) << "bits per pixel: 16 colours";

  HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_LINK_HAND));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_EQ(info.yHotspot, 1u);
  if (info.hbmColor)
    DeleteObject(info.hbmColor);
  if (info.hbmMask)
    DeleteObject(info.hbmMask);
}

}  // namespace
