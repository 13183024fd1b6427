// The texts the window program carries in its resources, read as the program reads them: the About
// menu item's string, the version block (one version everywhere) and the manifest; and its
// images, drawn for each scale.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/dpi.h"
#include "framework/gdiplus_holders.h"
#include "resource.h"
#include "skin/global.h"
#include "tallowick_version.h"

namespace {

// Resource `id` of a type by its number ("#16" RT_VERSION, "#24" RT_MANIFEST) through the
// product's reader.
std::vector<BYTE> Resource(UINT id, const char* type) {
  DWORD size = 0;
  CGlobal::GetResourceData(id, nullptr, &size, type);
  std::vector<BYTE> bytes(size);
  CGlobal::GetResourceData(id, bytes.data(), &size, type);
  return bytes;
}

TEST(ProgramTexts, AboutMenuItemInTheUtf8CodePage) {
  char text[64] = "";
  LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text);
  EXPECT_STREQ("关于 Tallowick(&A)...", text);
  EXPECT_EQ(65001u, GetACP());
  const std::vector<BYTE> bytes = Resource(1, "#24");
  const std::string manifest(bytes.begin(), bytes.end());
  for (const char* part : {">UTF-8</activeCodePage>", ">true/pm</dpiAware>",
                           ">PerMonitorV2, PerMonitor</dpiAwareness>",
                           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""})
    EXPECT_NE(std::string::npos, manifest.find(part)) << part;
}

TEST(ProgramTexts, VersionBlockFollowsTheProjectVersion) {
  std::vector<BYTE> block = Resource(VS_VERSION_INFO, "#16");
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  const DWORD high = MAKELONG(TALLOWICK_VERSION_MINOR, TALLOWICK_VERSION_MAJOR);
  const DWORD low = MAKELONG(TALLOWICK_VERSION_TWEAK, TALLOWICK_VERSION_PATCH);
  EXPECT_EQ(high, fixed->dwFileVersionMS);
  EXPECT_EQ(low, fixed->dwFileVersionLS);
  EXPECT_EQ(high, fixed->dwProductVersionMS);
  EXPECT_EQ(low, fixed->dwProductVersionLS);

  // Simplified Chinese, Unicode: the string table the shell shows.
  const std::string version = TALLOWICK_VERSION_TEXT;
  const std::wstring entries[][2] = {
      {L"ProductName", L"Tallowick"},
      {L"OriginalFilename", L"Tallowick.exe"},
      {L"FileVersion", std::wstring(version.begin(), version.end())},
      {L"ProductVersion", std::wstring(version.begin(), version.end())},
  };
  for (const auto& [name, expected] : entries) {
    wchar_t* value = nullptr;
    const std::wstring path = L"\\StringFileInfo\\080404b0\\" + name;
    ASSERT_TRUE(
        VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
    EXPECT_EQ(expected, value);
  }
}

// Each strip and window bitmap is drawn at 150 % and 200 % too, every frame as large as the
// program shows it at 144 and 192 DPI; any other DPI takes the nearest scale, the larger of two
// as near.
TEST(ProgramTexts, EveryImageIsDrawnForTheLargerScales) {
  for (const auto& [dpi, scale] :
       {std::pair{96, 100}, {119, 100}, {120, 150}, {144, 150}, {168, 200}, {192, 200}, {288, 200}})
    EXPECT_EQ(scale, NearestImageScale(dpi)) << dpi;
  fw::GdiplusSession gdiplus;
  struct Drawn {
    UINT id;
    SIZE base;   // at 96 DPI
    int frames;  // side by side in the image
  };
  std::vector<Drawn> drawn;
  for (UINT id = IDP_OPTIONS; id <= IDP_OPEN_OUTPUT; ++id) {
    if (auto image = LoadResourceImage(id))
      drawn.push_back({id, {static_cast<LONG>(image->width), static_cast<LONG>(image->height)}, 4});
  }
  EXPECT_EQ(15u, drawn.size());
  for (const UINT skin : {IDB_MAIN_SKIN, IDB_ABOUT_SKIN}) {
    BITMAP info{};
    GetObjectA(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(skin)), sizeof info, &info);
    drawn.push_back({skin, {info.bmWidth, info.bmHeight}, 1});
  }
  for (const Drawn& image : drawn) {
    for (const int dpi : {144, 192}) {
      int scale = 0;
      auto loaded = LoadResourceImageForDpi(image.id, dpi, &scale);
      ASSERT_TRUE(loaded && loaded->image) << image.id << " at " << dpi;
      EXPECT_EQ(dpi * 100 / 96, scale) << image.id;
      EXPECT_EQ(fw::Scale(image.base.cx / image.frames, dpi),
                static_cast<LONG>(loaded->width) / image.frames)
          << image.id << " at " << dpi;
      EXPECT_EQ(fw::Scale(image.base.cy, dpi), static_cast<LONG>(loaded->height)) << image.id;
    }
  }
}

}  // namespace
