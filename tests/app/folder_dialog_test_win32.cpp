// The folder picker as a user meets it: the shell's browser with the typed-path box, driven by
// the real pointer and keyboard from a second thread while DoModal runs on this one.
#include <gtest/gtest.h>

#include <thread>

#include "folderpicker/folder_dialog.h"
#include "test_files.h"
#include "window_driver.h"

using namespace windriver;

namespace {

HWND WaitForBrowser() {
  HWND browser = nullptr;
  WaitFor([&] {
    browser = FindTopLevel(GetCurrentProcessId(), "#32770", "浏览目录");
    return browser && GetDlgItem(browser, CFolderDialog::kPathEditId);
  });
  return browser;
}

// Empties the typed-path box as a user would. The keys go where the focus is: only once the
// click has put it in the box (on a busy machine it may still be in the tree, where End,
// Shift+Home and Backspace choose other folders, which the box then shows).
void ClearPathBox(HWND browser) {
  HWND box = GetDlgItem(browser, CFolderDialog::kPathEditId);
  ClickCentre(box);
  WaitFor([&] {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread) &&
           thread.hwndFocus == box;
  });
  Key("End");
  Key("shift+Home");
  Key("BackSpace");
}

}  // namespace

TEST(FolderDialog, TypedMissingPathIsCreatedOnYes) {
  testfiles::TempFolder base;
  const std::string initial = base.Path().substr(0, base.Path().size() - 1);
  const std::string typed = base.Path() + "made\\deeper";
  bool asked = false;
  std::thread user([&] {
    HWND browser = WaitForBrowser();
    ASSERT_TRUE(browser);
    // Whatever fails below, the picker ends rather than leave the test waiting for it.
    struct Cancel {
      HWND browser;
      ~Cancel() { PostMessageW(browser, WM_COMMAND, IDCANCEL, 0); }
    } cancel{browser};
    HWND ok = GetDlgItem(browser, IDOK);
    HWND box = GetDlgItem(browser, CFolderDialog::kPathEditId);
    // The box holds the initial folder from the start, and OK agrees with it.
    EXPECT_EQ(initial, Text(box));
    EXPECT_TRUE(IsWindowEnabled(ok));
    ClearPathBox(browser);
    ASSERT_TRUE(WaitFor([&] { return Text(box).empty() && !IsWindowEnabled(ok); }))
        << "box \"" << Text(box) << "\", OK enabled " << IsWindowEnabled(ok);
    Type(typed);
    ASSERT_TRUE(WaitFor([&] { return Text(box) == typed; })) << Text(box);
    // A later selection in the tree (not by the user) leaves the typed path alone.
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\"));
    EXPECT_EQ(typed, Text(box));
    ASSERT_TRUE(IsWindowEnabled(ok));
    ClickCentre(ok);
    // The picker's question, captioned with this program's name.
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (question = FindTopLevel(GetCurrentProcessId(), "#32770", "tests_app")); }));
    asked = GetDlgItem(question, IDYES) != nullptr;
    ASSERT_TRUE(asked) << Text(GetDlgItem(question, 0xFFFF));
    ClickCentre(GetDlgItem(question, IDYES));
  });
  CFolderDialog picker("浏览目录", "导入目录", base.Path().c_str(), nullptr);
  const INT_PTR result = picker.DoModal();
  user.join();
  ASSERT_TRUE(asked);
  EXPECT_EQ(1, result);
  EXPECT_EQ(typed, picker.GetPath());
  EXPECT_TRUE(testfiles::Exists(typed));
}

TEST(FolderDialog, CancelReturnsMinusOne) {
  testfiles::TempFolder base;
  std::thread user([&] {
    if (HWND browser = WaitForBrowser())
      ClickCentre(GetDlgItem(browser, IDCANCEL));
  });
  CFolderDialog picker("浏览目录", "保存目录", base.Path().c_str(), nullptr);
  EXPECT_EQ(-1, picker.DoModal());
  user.join();
}
