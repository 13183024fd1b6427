#include "skin/png_button.h"

#include <gtest/gtest.h>

#include "../framework/window_test_support.h"
#include "test_resources.h"

namespace {

class PngButtonTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped())
      return;
    m_parent = MakeTopLevel();
    m_child =
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 7, 9, 70, 30,
                        m_parent, reinterpret_cast<HMENU>(5), GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(m_button.SubclassWindow(m_child));
  }
  void TearDown() override {
    if (m_parent)
      DestroyWindow(m_parent);
  }
  RECT PlaceInParent() const {
    RECT r;
    GetWindowRect(m_child, &r);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  fw::GdiplusSession m_gdiplus;
  HWND m_parent = nullptr;
  HWND m_child = nullptr;
  PngButton m_button;
};

TEST_F(PngButtonTest, TakesTheFrameSizeAtItsCornerAndReleasesTheStripItReplaces) {
  struct Case {
    UINT id;
    LONG width, height;
    int frameWidth;
  } cases[] = {
      {IDP_STRIP_40X24, 40, 24, 40},
      {IDP_STRIP_622X52, 155, 52, 155},  // 622 / 4: the two spare columns are dropped
      {IDP_MISSING, 155, 52, 155},       // no image: the button stays as it was
      {IDP_NOT_AN_IMAGE, 0, 0, 0},       // undecodable: an image of 0 x 0
  };
  IStream* previous = nullptr;
  for (const Case& c : cases) {
    m_button.LoadPng(c.id);
    RECT r = PlaceInParent();
    EXPECT_EQ(r.left, 7) << c.id;
    EXPECT_EQ(r.top, 9) << c.id;
    EXPECT_EQ(r.right - r.left, c.width) << c.id;
    EXPECT_EQ(r.bottom - r.top, c.height) << c.id;
    EXPECT_EQ(m_button.m_nFrameWidth, c.frameWidth) << c.id;

    IStream* current = m_button.m_pImage ? m_button.m_pImage->stream.get() : nullptr;
    if (previous && current != previous) {
      EXPECT_EQ(previous->Release(), 0u) << "the replaced strip's stream is still held";
      previous = nullptr;
    }
    if (current && current != previous) {
      current->AddRef();  // our own reference, to see whether the button lets go of its own
      previous = current;
    }
  }
  if (previous)
    previous->Release();
}

}  // namespace
