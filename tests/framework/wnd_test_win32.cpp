// The dialog layer's binding of an object to a window, and its handle holders.
#include "framework/wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <type_traits>

#include "framework/gdi_holders.h"
#include "framework/gdiplus_holders.h"

namespace {

// Holders own their handle alone: no copies, and taking over a raw handle is written out.
static_assert(!std::is_copy_constructible_v<fw::Brush> && !std::is_copy_assignable_v<fw::Brush>);
static_assert(!std::is_copy_constructible_v<fw::Font> && !std::is_copy_assignable_v<fw::Bitmap>);
static_assert(!std::is_copy_constructible_v<fw::Cursor>);
static_assert(!std::is_copy_constructible_v<fw::GdipImage> &&
              !std::is_copy_assignable_v<fw::ComStream>);
static_assert(!std::is_copy_constructible_v<fw::SelectGuard>);
static_assert(!std::is_convertible_v<HBRUSH, fw::Brush>);
static_assert(std::is_nothrow_move_constructible_v<fw::Brush>);

// Counts the messages and the final messages that reach it.
class ProbeWnd : public CWnd {
 public:
  int m_nMessages = 0;
  int m_nFinal = 0;

 protected:
  bool HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) override {
    ++m_nMessages;
    return false;
  }
  void OnFinalMessage() override { ++m_nFinal; }
};

// A long-lived object (like the program's link labels) bound to a fresh window each time.
TEST(Wnd, BindingEndsWithTheWindowAndCanStartAgain) {
  if (!std::getenv("DISPLAY"))
    GTEST_SKIP() << "no X display: run under Xvfb (tools/test.sh)";
  ProbeWnd probe;
  for (int round = 1; round <= 2; ++round) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"top", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"child", WS_CHILD, 0, 0, 80, 20, parent,
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_TRUE(probe.SubclassDlgItem(7, parent)) << round;
    EXPECT_EQ(probe.GetSafeHwnd(), child);
    EXPECT_FALSE(probe.SubclassWindow(child)) << "already bound";
    SendMessageW(child, WM_NULL, 0, 0);
    EXPECT_GT(probe.m_nMessages, 0);

    DestroyWindow(parent);
    EXPECT_EQ(probe.GetSafeHwnd(), nullptr);
    EXPECT_EQ(probe.m_nFinal, round);
    const int seen = probe.m_nMessages;
    SendMessageW(child, WM_NULL, 0,
                 0);  // a dead handle: nothing may reach the object
    EXPECT_EQ(probe.m_nMessages, seen);
  }
}

}  // namespace
