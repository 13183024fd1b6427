#include <gtest/gtest.h>

#include <type_traits>

#include "framework/gdi_holders.h"
#include "framework/gdiplus_holders.h"

namespace {

static_assert(!std::is_copy_constructible_v<fw::Brush> && !std::is_copy_assignable_v<fw::Brush>);
static_assert(!std::is_copy_constructible_v<fw::Font> && !std::is_copy_assignable_v<fw::Bitmap>);
static_assert(!std::is_copy_constructible_v<fw::Cursor>);
static_assert(!std::is_copy_constructible_v<fw::GdipImage> &&
              !std::is_copy_assignable_v<fw::ComStream>);
static_assert(!std::is_copy_constructible_v<fw::SelectGuard>);
// Taking over a handle must be written out: no implicit conversion from a raw handle.
static_assert(!std::is_convertible_v<HBRUSH, fw::Brush>);
static_assert(std::is_nothrow_move_constructible_v<fw::Brush>);

TEST(Holders, MoveEmptiesTheSourceAndScopeEndFreesTheHandle) {
  HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  {
    fw::Brush first(raw);
    fw::Brush second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    fw::Brush third;
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(Holders, AssignmentAndResetFreeTheHandleHeldBefore) {
  HFONT a = CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
  HFONT b = CreateFontW(14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
  HBITMAP c = CreateBitmap(2, 2, 1, 32, nullptr);
  fw::Font font(a);
  font = fw::Font(b);
  EXPECT_EQ(GetObjectType(a), 0u);
  font.reset();
  EXPECT_EQ(GetObjectType(b), 0u);

  fw::Bitmap bitmap(c);
  HBITMAP released = bitmap.release();
  EXPECT_FALSE(bitmap);
  EXPECT_EQ(GetObjectType(released), static_cast<DWORD>(OBJ_BITMAP));
  DeleteObject(released);
}

TEST(Holders, SelectGuardPutsThePreviousObjectBack) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ before = GetCurrentObject(dc, OBJ_BRUSH);
  {
    fw::Brush brush(CreateSolidBrush(RGB(9, 8, 7)));
    fw::SelectGuard guard(dc, brush.get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush.get());
  }  // the guard goes first, so the brush is no longer selected when it is deleted
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), before);
  DeleteDC(dc);
}

TEST(Holders, ComStreamReleasesItsReference) {
  IStream* raw = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &raw), S_OK);
  raw->AddRef();
  { fw::ComStream stream(raw); }
  EXPECT_EQ(raw->Release(), 0u);  // only our extra reference was left
}

}  // namespace
