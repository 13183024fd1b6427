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

// Empties the typed-path box as a user would.
void ClearPathBox(HWND browser) {
  ClickCentre(GetDlgItem(browser, CFolderDialog::kPathEditId));
  Key("End");
  Key("shift+Home");
  Key("BackSpace");
}

}  // namespace

TEST(FolderDialog, TypedMissingPathIsCreatedOnYes) {
  testfiles::TempFolder base;
  const std::string typed = base.Path() + "made\\deeper";
  bool okEnabledWhenEmpty = true;
  bool okEnabledWithText = false;
  bool asked = false;
  std::thread user([&] {
    HWND browser = WaitForBrowser();
    if (!browser)
      return;
    HWND ok = GetDlgItem(browser, IDOK);
    HWND box = GetDlgItem(browser, CFolderDialog::kPathEditId);
    // The tree selects the initial folder in steps; the box shows it once it has arrived.
    WaitFor([&] { return Text(box) + "\\" == base.Path(); });
    // Keys reach the box in their own time, slowly on a loaded machine, and the focus click or
    // the tree's last step can undo a clearing: clear until the box is empty.
    bool emptied = false;
    for (int attempt = 0; attempt < 3 && !emptied; ++attempt) {
      ClearPathBox(browser);
      emptied = WaitFor([&] { return Text(box).empty(); }, 4000);
    }
    WaitFor([&] { return !IsWindowEnabled(ok); });
    okEnabledWhenEmpty = !emptied || IsWindowEnabled(ok) != FALSE;
    Type(typed);
    WaitFor([&] { return Text(box) == typed; });
    okEnabledWithText = IsWindowEnabled(ok) != FALSE;
    ClickCentre(ok);
    // The picker's question, captioned with this program's name.
    HWND question = nullptr;
    asked = WaitFor(
        [&] { return (question = FindTopLevel(GetCurrentProcessId(), "#32770", "tests_app")); });
    if (asked && GetDlgItem(question, IDYES)) {
      ClickCentre(GetDlgItem(question, IDYES));
    } else {  // not the question: end the picker rather than leave the test waiting for it
      asked = false;
      if (question)
        PostMessageW(question, WM_COMMAND, IDOK, 0);
      PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
    }
  });
  CFolderDialog picker("浏览目录", "导入目录", base.Path().c_str(), nullptr);
  const INT_PTR result = picker.DoModal();
  user.join();
  EXPECT_FALSE(okEnabledWhenEmpty);
  EXPECT_TRUE(okEnabledWithText);
  EXPECT_TRUE(asked);
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
