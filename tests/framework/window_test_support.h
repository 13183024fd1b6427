// Helpers for tests that make real windows: they need an X display under Wine.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY"))
      GTEST_SKIP() << "no X display: run under Xvfb (tools/test.sh)";
  }

  // A hidden top-level popup of a plain class (hidden ones are destroyed at once under Wine).
  static HWND MakeTopLevel(int x = 100, int y = 100, int width = 300, int height = 200) {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"TallowickTestTop";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    return CreateWindowExW(0, L"TallowickTestTop", L"top", WS_POPUP, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static HWND MakeChild(HWND parent, const wchar_t* cls, DWORD style, int id) {
    return CreateWindowExW(0, cls, L"child", WS_CHILD | WS_VISIBLE | style, 10, 10, 80, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  }
};
