// String 101, the version block and the manifest of the window program.
#include <gtest/gtest.h>

#include <vector>

#include "resource.h"
#include "resource_bytes.h"
#include "tallowick_version.h"

namespace {

TEST(ProgramTexts, AboutMenuItemString) {
  const wchar_t* text = nullptr;
  int length =
      LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&text), 0);
  ASSERT_GT(length, 0);
  EXPECT_EQ(Utf8({text, static_cast<size_t>(length)}), "关于 Tallowick(&A)...");
}

class VersionBlock : public testing::Test {
 protected:
  void SetUp() override {
    auto bytes = ResourceBytes(VS_VERSION_INFO, RT_VERSION);
    ASSERT_FALSE(bytes.empty());
    // The query works on a writable copy, as it would on one read from a file.
    copy_.assign(bytes.begin(), bytes.end());
  }
  void* Query(const wchar_t* path, UINT* size = nullptr) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(copy_.data(), path, &value, &length))
      return nullptr;
    if (size)
      *size = length;
    return value;
  }
  std::vector<std::uint8_t> copy_;
};

TEST_F(VersionBlock, NumbersFollowTheProjectVersion) {
  auto* fixed = static_cast<VS_FIXEDFILEINFO*>(Query(L"\\"));
  ASSERT_NE(fixed, nullptr);
  const DWORD high = MAKELONG(TALLOWICK_VERSION_MINOR, TALLOWICK_VERSION_MAJOR);
  const DWORD low = MAKELONG(0, TALLOWICK_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionBlock, ChineseStringBlock) {
  UINT size = 0;
  auto* translation = static_cast<WORD*>(Query(L"\\VarFileInfo\\Translation", &size));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  const struct {
    const wchar_t* name;
    const char* value;
  } entries[] = {
      {L"InternalName", "Tallowick"},
      {L"OriginalFilename", "Tallowick.exe"},
      {L"ProductName", "Tallowick"},
      {L"CompanyName", ""},
      {L"FileVersion", TALLOWICK_VERSION_TEXT},
      {L"ProductVersion", TALLOWICK_VERSION_TEXT},
  };
  for (const auto& e : entries) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + e.name;
    UINT length = 0;
    auto* value = static_cast<const wchar_t*>(Query(path.c_str(), &length));
    ASSERT_NE(value, nullptr) << Utf8(e.name);
    EXPECT_EQ(Utf8(value), e.value) << Utf8(e.name);
  }
}

TEST(ProgramTexts, ManifestAsksForUtf8AndCommonControls6AndNoDpiAwareness) {
  auto bytes = ResourceBytes(1, RT_MANIFEST);
  std::string manifest(bytes.begin(), bytes.end());
  for (const char* part : {
           ">UTF-8</activeCodePage>",
           "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
           ">false</dpiAware>",
       }) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
  // In effect for this program, which carries the same resources.
  EXPECT_EQ(GetACP(), 65001u);
}

}  // namespace
