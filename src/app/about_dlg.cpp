#include "app/about_dlg.h"

#include "app/app_globals.h"
#include "product.h"
#include "resource.h"

namespace {

constexpr COLORREF kTitleColour = RGB(255, 255, 255);
constexpr COLORREF kTextColour = RGB(245, 245, 245);

// Binds one of the program's link labels to a static of the dialog being opened.
void BindLink(CLinkLabel& link, int id, HWND dialog, const char* target) {
  link.SubclassDlgItem(static_cast<UINT>(id), dialog);
  link.SetNotify(TRUE);
  link.SetLinkCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND)));
  link.SetLink(target);
}

}  // namespace

CAboutDlg::CAboutDlg() : CSkinDialog(IDD_ABOUTBOX, nullptr) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDOK, m_btnOK);
}

BOOL CAboutDlg::OnInitDialog() {
  CSkinDialog::OnInitDialog();
  BindLink(g_linkAboutWeb, IDC_ABOUT_WEB, m_hWnd, TALLOWICK_MAKER_WEB);
  BindLink(g_linkAboutMail, IDC_ABOUT_MAIL, m_hWnd, TALLOWICK_MAKER_MAIL);
  BindLink(g_linkAboutQQ, IDC_ABOUT_QQ, m_hWnd, "QQ:" TALLOWICK_MAKER_QQ);
  LayOutSkin();
  return TRUE;
}

void CAboutDlg::OnDpiLayout() {
  LayOutSkin();
}

void CAboutDlg::LayOutSkin() {
  LoadSkin(IDB_ABOUT_SKIN);
  m_btnOK.LoadPng(IDP_ABOUT_OK, Dpi());
  RECT client{}, button{};
  GetClientRect(m_hWnd, &client);
  GetWindowRect(m_btnOK.m_hWnd, &button);
  const int w = button.right - button.left;
  const int h = button.bottom - button.top;
  MoveWindow(m_btnOK.m_hWnd, client.right - w - Scaled(5), Scaled(5), w, h, TRUE);
}

COLORREF CAboutDlg::TextColour(int id) const {
  return id == IDC_ABOUT_TITLE ? kTitleColour : kTextColour;
}
