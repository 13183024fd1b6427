// The skin test dialog: an image button over a plain background of a known colour and link labels
// whose launcher writes the target into a static instead of opening it.
#include <windows.h>

#include <string>

#include "../skin/test_resources.h"
#include "framework/dialog.h"
#include "framework/gdi_holders.h"
#include "framework/gdiplus_holders.h"
#include "skin/link_label.h"
#include "skin/png_button.h"
#include "skin_demo_resources.h"

namespace {

constexpr COLORREF kBackground = RGB(40, 60, 80);

// Like the program's own labels: objects that outlive the dialog.
CLinkLabel g_linkMail(1);
CLinkLabel g_linkWeb(0);
HWND g_openedStatic = nullptr;

void ShowOpened(const char* target) {
  SetWindowTextA(g_openedStatic, target);
}

class CSkinDemoDlg : public CDialog {
 public:
  CSkinDemoDlg() : CDialog(IDD_SKIN_DEMO) {}

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_SMALL_BUTTON, m_btnSmall);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_btnSmall.LoadPng(IDP_STRIP_40X24);
    g_openedStatic = GetDlgItem(IDC_OPENED);
    BindLink(g_linkMail, IDC_MAIL_LINK);
    BindLink(g_linkWeb, IDC_WEB_LINK);
    return TRUE;
  }
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    switch (message) {
      case WM_CTLCOLORDLG:
        *result = reinterpret_cast<LRESULT>(m_brush.get());
        return true;
      case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_SMALL_BUTTON) {
          SetWindowTextA(GetDlgItem(IDC_CLICKS), std::to_string(++m_nClicks).c_str());
          *result = 0;
          return true;
        }
        break;
    }
    return CDialog::HandleMessage(message, wParam, lParam, result);
  }

 private:
  void BindLink(CLinkLabel& label, int id) {
    label.SubclassDlgItem(static_cast<UINT>(id), m_hWnd);
    label.SetNotify(1);
    label.SetLinkCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // shared hand cursor
    char text[128] = {};
    GetWindowTextA(label.GetSafeHwnd(), text, sizeof text);
    label.SetLink(text);
  }

  PngButton m_btnSmall;
  int m_nClicks = 0;
  fw::Brush m_brush{CreateSolidBrush(kBackground)};
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  fw::GdiplusSession gdiplus;
  if (!gdiplus.ok())
    return 2;
  CLinkLabel::s_launcher = ShowOpened;
  CSkinDemoDlg dialog;
  return dialog.DoModal() == -1 ? 1 : 0;
}
