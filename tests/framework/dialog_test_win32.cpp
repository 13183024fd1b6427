#include "framework/dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/gdi_holders.h"
#include "framework/wnd.h"
#include "framework_test_resources.h"
#include "window_test_support.h"

namespace {

// The test dialog: its members are exchanged with the edit, the check box and the label, and
// each test says what happens once it is open.
class ExchangeDialog : public CDialog {
 public:
  explicit ExchangeDialog(HWND owner = nullptr) : CDialog(IDD_EXCHANGE, owner) {}

  std::function<void(ExchangeDialog&)> m_onOpen;
  std::string m_strName;
  int m_bDelete = 0;
  CWnd m_label;
  bool m_bBindMissing = false;
  LRESULT m_nHitTest = HTCLIENT;
  fw::Brush m_brush{CreateSolidBrush(RGB(1, 2, 3))};
  RECT m_rcOpened{};
  RECT m_rcClosing{};  // where the window stood when its controls were read back

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    GetWindowRect(m_hWnd, &m_rcOpened);
    if (m_onOpen)
      m_onOpen(*this);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    if (pDX->m_bSaveAndValidate)
      GetWindowRect(m_hWnd, &m_rcClosing);
    if (m_bBindMissing)
      DDX_Text(pDX, IDC_MISSING, m_strName);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Check(pDX, IDC_DELETE, m_bDelete);
    DDX_Control(pDX, IDC_LABEL, m_label);
  }
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (message) {
      case WM_NCHITTEST:
        *result = m_nHitTest;
        return true;
      case WM_CTLCOLORDLG:
        *result = reinterpret_cast<LRESULT>(m_brush.get());
        return true;
      default:
        return CDialog::HandleMessage(message, wParam, lParam, result);
    }
  }
};

void PostKey(ExchangeDialog& dialog, WPARAM key) {
  HWND focus = GetFocus();
  PostMessageW(focus ? focus : dialog.m_hWnd, WM_KEYDOWN, key, 1);
}

using DialogTest = WindowTest;

TEST_F(DialogTest, EndsWithTheButtonTheUserMeans) {
  struct Case {
    const char* what;
    std::function<void(ExchangeDialog&)> act;
    INT_PTR result;
  } cases[] = {
      {"close", [](ExchangeDialog& d) { PostMessageW(d.m_hWnd, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"escape", [](ExchangeDialog& d) { PostKey(d, VK_ESCAPE); }, IDCANCEL},
      {"enter", [](ExchangeDialog& d) { PostKey(d, VK_RETURN); }, IDOK},
      {"system close",
       [](ExchangeDialog& d) { PostMessageW(d.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    ExchangeDialog dialog;
    dialog.m_onOpen = c.act;
    EXPECT_EQ(dialog.DoModal(), c.result) << c.what;
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << c.what;
  }
}

TEST_F(DialogTest, HandledAnswersReachTheSenderWhateverTheirValue) {
  ExchangeDialog dialog;
  LRESULT hitCaption = 0, hitNowhere = -1, brush = 0;
  dialog.m_onOpen = [&](ExchangeDialog& d) {
    RECT rect;
    GetWindowRect(d.m_hWnd, &rect);
    LPARAM inside = MAKELPARAM(rect.left + 40, rect.top + 40);
    d.m_nHitTest = HTCAPTION;
    hitCaption = SendMessageW(d.m_hWnd, WM_NCHITTEST, 0, inside);
    d.m_nHitTest = HTNOWHERE;  // 0 handled must not turn into the default answer
    hitNowhere = SendMessageW(d.m_hWnd, WM_NCHITTEST, 0, inside);
    HDC dc = GetDC(d.m_hWnd);
    brush = SendMessageW(d.m_hWnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(d.m_hWnd));
    ReleaseDC(d.m_hWnd, dc);
    d.EndDialog(IDOK);
  };
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(hitCaption, HTCAPTION);
  EXPECT_EQ(hitNowhere, HTNOWHERE);
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(dialog.m_brush.get()));
}

TEST_F(DialogTest, DataExchangeRoundTrip) {
  ExchangeDialog dialog;
  dialog.m_strName = "照片目录 A";
  dialog.m_bDelete = 1;
  std::string shown;
  LRESULT checkShown = -1;
  HWND labelWindow = nullptr;
  dialog.m_onOpen = [&](ExchangeDialog& d) {
    HWND name = d.GetDlgItem(IDC_NAME);
    shown.resize(64);
    shown.resize(static_cast<size_t>(GetWindowTextA(name, shown.data(), 64)));
    checkShown = SendMessageW(d.GetDlgItem(IDC_DELETE), BM_GETCHECK, 0, 0);
    labelWindow = d.m_label.GetSafeHwnd();
    SetWindowTextA(name, "输出目录 B");
    SendMessageW(d.GetDlgItem(IDC_DELETE), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageW(d.m_hWnd, WM_COMMAND, IDOK, 0);
  };
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shown, "照片目录 A");
  EXPECT_EQ(checkShown, BST_CHECKED);
  EXPECT_NE(labelWindow, nullptr);
  EXPECT_EQ(dialog.m_strName, "输出目录 B");
  EXPECT_EQ(dialog.m_bDelete, 0);
  EXPECT_EQ(dialog.m_label.GetSafeHwnd(), nullptr);  // unbound with its window
}

TEST_F(DialogTest, FailedExchangeStopsAndKeepsTheDialogOpen) {
  ExchangeDialog dialog;
  dialog.m_strName = "kept";
  bool saved = true;
  dialog.m_onOpen = [&](ExchangeDialog& d) {
    d.m_bBindMissing = true;
    SetWindowTextA(d.GetDlgItem(IDC_NAME), "typed");
    SendMessageW(d.GetDlgItem(IDC_DELETE), BM_SETCHECK, BST_CHECKED, 0);
    saved = d.UpdateData(TRUE);
    SendMessageW(d.m_hWnd, WM_COMMAND, IDOK, 0);  // OK with a failing exchange: stays open
    EXPECT_NE(d.GetSafeHwnd(), nullptr);
    d.EndDialog(IDABORT);
  };
  EXPECT_EQ(dialog.DoModal(), IDABORT);
  EXPECT_FALSE(saved);
  EXPECT_EQ(dialog.m_strName, "kept");
  EXPECT_EQ(dialog.m_bDelete, 0);
}

TEST_F(DialogTest, OpensCentredOverItsOwnerOrTheMainWindow) {
  HWND owner = MakeTopLevel(50, 60, 600, 400);
  for (bool viaMainWindow : {false, true}) {
    CDialog::SetMainWindow(viaMainWindow ? owner : nullptr);
    ExchangeDialog dialog(viaMainWindow ? nullptr : owner);
    HWND ownerSeen = nullptr;
    // Like a skinned window, the dialog takes its real size while it initialises.
    dialog.m_onOpen = [&](ExchangeDialog& d) {
      ownerSeen = GetWindow(d.m_hWnd, GW_OWNER);
      MoveWindow(d.m_hWnd, 0, 0, 300, 180, FALSE);
      PostMessageW(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(ownerSeen, owner) << viaMainWindow;
    const RECT& r = dialog.m_rcClosing;
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_NEAR((r.left + r.right) / 2, 50 + 300, 1) << viaMainWindow;
    EXPECT_NEAR((r.top + r.bottom) / 2, 60 + 200, 1) << viaMainWindow;
  }
  CDialog::SetMainWindow(nullptr);
  DestroyWindow(owner);
}

}  // namespace
