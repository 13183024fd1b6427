#include "framework/wnd.h"

#include <gtest/gtest.h>

#include "framework/gdi_holders.h"
#include "window_test_support.h"

namespace {

// Counts what reaches it and answers the reflected colour request with its brush, if any.
class ProbeWnd : public CWnd {
 public:
  int m_nMessages = 0;
  int m_nFinal = 0;
  HBRUSH m_hBrush = nullptr;  // borrowed from the test
  bool m_bDrawn = false;

 protected:
  bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override {
    ++m_nMessages;
    switch (message) {
      case WM_REFLECT_BASE + WM_CTLCOLORSTATIC:
        *result = reinterpret_cast<LRESULT>(m_hBrush);
        return true;
      case WM_REFLECT_BASE + WM_DRAWITEM:
        m_bDrawn = true;
        *result = TRUE;
        return true;
      default:
        return false;
    }
  }
  void OnFinalMessage() override { ++m_nFinal; }
};

using WndTest = WindowTest;

TEST_F(WndTest, BindingEndsWithTheWindowAndCanStartAgain) {
  ProbeWnd probe;
  for (int round = 1; round <= 2; ++round) {
    HWND parent = MakeTopLevel();
    HWND child = MakeChild(parent, L"STATIC", 0, 7);
    ASSERT_TRUE(probe.SubclassDlgItem(7, parent)) << round;
    EXPECT_EQ(probe.GetSafeHwnd(), child);
    EXPECT_FALSE(probe.SubclassWindow(child)) << "already bound";
    SendMessageW(child, WM_NULL, 0, 0);
    EXPECT_GT(probe.m_nMessages, 0);

    DestroyWindow(parent);
    EXPECT_EQ(probe.GetSafeHwnd(), nullptr);
    EXPECT_EQ(probe.m_nFinal, round);
    int seen = probe.m_nMessages;
    SendMessageW(child, WM_NULL, 0, 0);  // a dead handle: nothing may reach the object
    EXPECT_EQ(probe.m_nMessages, seen);
  }
  EXPECT_FALSE(probe.SubclassDlgItem(7, nullptr));
}

TEST_F(WndTest, UnsubclassLeavesTheWindowWorking) {
  ProbeWnd probe;
  HWND parent = MakeTopLevel();
  HWND child = MakeChild(parent, L"STATIC", 0, 7);
  ASSERT_TRUE(probe.SubclassWindow(child));
  EXPECT_EQ(probe.UnsubclassWindow(), child);
  int seen = probe.m_nMessages;
  SetWindowTextW(child, L"still a static");
  wchar_t text[32] = {};
  GetWindowTextW(child, text, 32);
  EXPECT_STREQ(text, L"still a static");
  EXPECT_EQ(probe.m_nMessages, seen);
  DestroyWindow(parent);
  EXPECT_EQ(probe.m_nFinal, 0);
}

TEST_F(WndTest, ParentReflectsColourAndDrawingToTheChildObject) {
  HWND parent = MakeTopLevel();
  HWND child = MakeChild(parent, L"STATIC", 0, 7);
  HWND other = MakeChild(parent, L"STATIC", 0, 8);
  ProbeWnd parentObject, childObject;
  ASSERT_TRUE(parentObject.SubclassWindow(parent));
  ASSERT_TRUE(childObject.SubclassWindow(child));
  fw::Brush brush(CreateSolidBrush(RGB(10, 20, 30)));
  HDC dc = GetDC(child);

  auto ask = [&](HWND control) {
    return SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
  };
  LRESULT standard = DefWindowProcW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(other));
  childObject.m_hBrush = brush.get();
  EXPECT_EQ(ask(child), reinterpret_cast<LRESULT>(brush.get()));
  childObject.m_hBrush = nullptr;  // no brush: the standard answer
  EXPECT_EQ(ask(child), standard);
  EXPECT_EQ(ask(other), standard);  // a child without an object

  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_STATIC;
  item.hwndItem = child;
  item.hDC = dc;
  SendMessageW(parent, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));  // 0: a menu's
  EXPECT_FALSE(childObject.m_bDrawn);
  EXPECT_EQ(SendMessageW(parent, WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_TRUE(childObject.m_bDrawn);

  ReleaseDC(child, dc);
  DestroyWindow(parent);
}

}  // namespace
