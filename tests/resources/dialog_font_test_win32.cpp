// The dialogs' 9-point "宋体" as the system gives it: Chinese glyphs present and dialog units of
// about 1.5 pixels, the size the skin bitmaps are drawn for.
#include <gtest/gtest.h>

#include "resource.h"
#include "resource_bytes.h"

namespace {

// Under Wine a window needs an X display.
bool WineWithoutDisplay() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return GetProcAddress(ntdll, "wine_get_version") != nullptr &&
         GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

TEST(DialogFont, SongTiDrawsChineseAtOneAndAHalfPixelsPerUnit) {
  if (WineWithoutDisplay())
    GTEST_SKIP() << "Wine has no X display: run under Xvfb, as tools/test.sh does";
  for (int id : {IDD_MAIN_DIALOG, IDD_ABOUTBOX}) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr,
                                     QuietDialog, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_HIDE);

    RECT units{0, 0, 40, 80};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_NEAR(units.right, 60, 6) << "pixels for 40 horizontal units";
    EXPECT_NEAR(units.bottom, 120, 12) << "pixels for 80 vertical units";

    // Every character of the captions has a glyph in the font the dialog chose.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    const wchar_t text[] = L"整理停止照片目录输出删除源文件关于确定版";
    WORD glyphs[std::size(text) - 1];
    ASSERT_NE(GetGlyphIndicesW(dc, text, static_cast<int>(std::size(glyphs)), glyphs,
                               GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    for (size_t i = 0; i < std::size(glyphs); ++i)
      EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i;
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    DestroyWindow(dialog);
  }
}

}  // namespace
