#include "app/about_dlg.h"

#include "app/app_globals.h"
#include "app/skin_paint.h"
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

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDOK, m_btnOK);
}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  BindLink(g_linkAboutWeb, IDC_ABOUT_WEB, m_hWnd, TALLOWICK_MAKER_WEB);
  BindLink(g_linkAboutMail, IDC_ABOUT_MAIL, m_hWnd, TALLOWICK_MAKER_MAIL);
  BindLink(g_linkAboutQQ, IDC_ABOUT_QQ, m_hWnd, "QQ:" TALLOWICK_MAKER_QQ);

  fw::Bitmap skin(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT_SKIN)));
  BITMAP info{};
  GetObjectA(skin.get(), sizeof info, &info);
  const int W = info.bmWidth;
  const int H = info.bmHeight;
  m_brushSkin.reset(CreatePatternBrush(skin.get()));
  skin.reset();

  RECT window{};
  GetWindowRect(m_hWnd, &window);
  MoveWindow(m_hWnd, window.left, window.top, W, H, TRUE);

  m_btnOK.LoadPng(IDP_ABOUT_OK);
  RECT button{};
  GetWindowRect(m_btnOK.m_hWnd, &button);
  const int w = button.right - button.left;
  const int h = button.bottom - button.top;
  MoveWindow(m_btnOK.m_hWnd, W - w - 5, 5, w, h, TRUE);
  return TRUE;
}

bool CAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (IsCtlColorMessage(message)) {
    HBRUSH brush = OnCtlColor(message, wParam, lParam);
    *result = reinterpret_cast<LRESULT>(brush);
    return brush != nullptr;
  }
  switch (message) {
    case WM_DESTROY:
      m_brushSkin.reset();
      *result = 0;
      return true;
    case WM_ERASEBKGND:
      PaintSkinBackground(m_hWnd, reinterpret_cast<HDC>(wParam), m_brushSkin.get());
      *result = 1;
      return true;
    case WM_LBUTTONDOWN:
      // A press on the body moves the dialog, as a press on a caption would.
      PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
      return false;
    default:
      return CDialog::HandleMessage(message, wParam, lParam, result);
  }
}

HBRUSH CAboutDlg::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT reflected = 0;
  ReflectToChild(message, wParam, lParam, &reflected);  // a link label selects its font here
  if (message == WM_CTLCOLORDLG)
    return m_brushSkin.get();
  if (message != WM_CTLCOLORSTATIC)
    return reinterpret_cast<HBRUSH>(reflected);
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkMode(dc, TRANSPARENT);
  const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id == IDC_ABOUT_TITLE)
    SetTextColor(dc, kTitleColour);
  else if (id != IDC_ABOUT_ICON)
    SetTextColor(dc, kTextColour);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}
