// The main window's skin, layout, colours, moving, minimising, closing and About box.
#include "app/main_dlg.h"

#include "app/about_dlg.h"
#include "app/app_globals.h"
#include "app/main_layout.h"
#include "app/options_dlg.h"
#include "app/single_instance.h"
#include "log/msgx.h"
#include "organize/app_config.h"
#include "product.h"
#include "resource.h"

namespace {

constexpr COLORREF kTextColour = RGB(31, 107, 129);
constexpr COLORREF kMakerColour = RGB(255, 255, 255);

LayoutSize SizeOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Place(HWND window, const LayoutRect& r) {
  MoveWindow(window, r.x, r.y, r.w, r.h, TRUE);
}

}  // namespace

CMainDlg::CMainDlg(HWND parent)
    : CSkinDialog(IDD_MAIN_DIALOG, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

CMainDlg::~CMainDlg() {
  JoinWorker();  // the worker must not outlive the job state it works on
}

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_BTN_ABOUT, m_btnAbout);
  DDX_Control(pDX, IDC_BTN_STOP, m_btnStop);
  DDX_Control(pDX, IDC_BTN_OPTIONS, m_btnOptions);
  DDX_Control(pDX, IDC_BTN_OUTPUT_DIR, m_btnOutputDir);
  DDX_Control(pDX, IDC_BTN_PHOTO_DIR, m_btnPhotoDir);
  DDX_Control(pDX, IDC_BTN_MIN, m_btnMin);
  DDX_Control(pDX, IDC_BTN_CLOSE, m_btnClose);
  DDX_Control(pDX, IDC_BTN_ORGANIZE, m_btnOrganize);
  int deleteSrc = m_bDeleteSrc ? 1 : 0;
  DDX_Check(pDX, IDC_CHK_DELETE_SRC, deleteSrc);
  m_bDeleteSrc = deleteSrc != 0;
  // The latest message belongs to the job: it is shown, never read back from the control.
  if (!pDX->m_bSaveAndValidate) {
    std::string message = LatestMessage();
    DDX_Text(pDX, IDC_MESSAGE, message);
  }
  DDX_Control(pDX, IDC_PATH_SRC, m_lblPathSrc);
  DDX_Control(pDX, IDC_PATH_TAR, m_lblPathTar);
  DDX_Text(pDX, IDC_PATH_SRC, m_strPathSrc);
  DDX_Text(pDX, IDC_PATH_TAR, m_strPathTar);
}

BOOL CMainDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CDialog::SetMainWindow(m_hWnd);

  if (HMENU menu = GetSystemMenu(m_hWnd, FALSE)) {
    char about[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about);
    if (about[0]) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  m_bDeleteSrc = theConfig.IsDeleteSrc != 0;
  m_strPathSrc = theConfig.PathSrc;
  m_strPathTar = theConfig.PathTar;

  InitSkin();
  UpdateData(FALSE);
  m_bRunning = false;
  m_strInstanceKey = instance::Key(theConfig.PathApp);
  instance::Mark(m_hWnd, m_strInstanceKey);
  return TRUE;
}

// Enter with the focus on no button: the main window has no OK to press.
void CMainDlg::OnOK() {}

// Escape, the close button, Alt+F4 and the system menu's close: during a job only when the user
// agrees to stop it.
void CMainDlg::OnCancel() {
  if (m_bRunning && MessageBoxA(m_hWnd, "正在整理, 停止并退出吗?", "提示",
                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  CSkinDialog::OnCancel();
}

void CMainDlg::InitSkin() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const SIZE skin = LoadSkin(IDB_MAIN_SKIN);
  m_nSkinWidth = skin.cx;
  m_nSkinHeight = skin.cy;
  CMsgX::m_nLine = 770;
  CMsgX::Printf("皮肤背景大小为: %d, %d", m_nSkinWidth, m_nSkinHeight);

  // Each button takes its frame's size from its strip (or keeps its template size).
  m_btnClose.LoadPng(IDP_CLOSE);
  m_btnMin.LoadPng(IDP_MINIMISE);
  m_btnOptions.LoadPng(IDP_OPTIONS);
  m_btnAbout.LoadPng(IDP_ABOUT);
  m_btnPhotoDir.LoadPng(IDP_PHOTO_DIR);
  m_btnOutputDir.LoadPng(IDP_OUTPUT_DIR);
  m_btnOrganize.LoadPng(IDP_ORGANIZE);
  m_btnStop.LoadPng(IDP_STOP);

  MainLayoutInput in;
  in.skin = {m_nSkinWidth, m_nSkinHeight};
  in.close = SizeOf(m_btnClose.m_hWnd);
  in.minimise = SizeOf(m_btnMin.m_hWnd);
  in.options = SizeOf(m_btnOptions.m_hWnd);
  in.about = SizeOf(m_btnAbout.m_hWnd);
  in.photoDir = SizeOf(m_btnPhotoDir.m_hWnd);
  in.outputDir = SizeOf(m_btnOutputDir.m_hWnd);
  in.organize = SizeOf(m_btnOrganize.m_hWnd);
  in.stop = SizeOf(m_btnStop.m_hWnd);
  const MainLayout layout = ComputeMainLayout(in);

  Place(m_btnClose.m_hWnd, layout.close);
  Place(m_btnMin.m_hWnd, layout.minimise);
  Place(m_btnOptions.m_hWnd, layout.options);
  Place(m_btnAbout.m_hWnd, layout.about);
  Place(m_btnPhotoDir.m_hWnd, layout.photoDir);
  Place(GetDlgItem(IDC_PATH_SRC), layout.pathSrc);
  Place(m_btnOutputDir.m_hWnd, layout.outputDir);
  Place(GetDlgItem(IDC_PATH_TAR), layout.pathTar);
  Place(m_btnOrganize.m_hWnd, layout.organize);
  ShowWindow(GetDlgItem(IDC_EDIT_UNUSED), SW_HIDE);
  Place(GetDlgItem(IDC_MESSAGE), layout.message);
  Place(m_btnStop.m_hWnd, layout.stop);
  ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
  Place(GetDlgItem(IDC_CHK_DELETE_SRC), layout.deleteSrc);
  Place(GetDlgItem(IDC_MAKER_LINK), layout.makerLine);

  g_linkMainWeb.SubclassDlgItem(IDC_MAKER_LINK, m_hWnd);
  g_linkMainWeb.SetNotify(TRUE);
  g_linkMainWeb.SetLinkCursor(LoadCursorA(instance, MAKEINTRESOURCEA(IDC_LINK_HAND)));
  g_linkMainWeb.SetLink(TALLOWICK_MAKER_WEB);

  // Moving a transparent control carries the pixels of its old place along: paint it all anew.
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool CMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      *result = 0;
      return OnSysCommand(wParam);
    case WM_PAINT:
      *result = 0;
      return OnPaint();
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<LRESULT>(m_hIcon);
      return true;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam), HIWORD(wParam))) {
        *result = 0;
        return true;
      }
      break;
    case WM_ENDSESSION:
      if (wParam)
        OnEndSession();
      *result = 0;
      return true;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (data->dwData != instance::kHandOverTag)
        break;
      OnHandOver(std::string(static_cast<const char*>(data->lpData), data->cbData));
      *result = TRUE;
      return true;
    }
    case WM_ORGANIZE_PROGRESS:
      *result = OnOrganizeProgress();
      return true;
    case WM_TIMER:
      if (wParam != kProgressRestTimer)
        break;
      OnProgressRestTimer();
      *result = 0;
      return true;
    default:
      break;
  }
  return CSkinDialog::HandleMessage(message, wParam, lParam, result);
}

bool CMainDlg::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED)
    return false;
  switch (id) {
    case IDC_CHK_DELETE_SRC:
      // The tick is what the next job does and what is saved, from the moment it changes.
      m_bDeleteSrc = IsDlgButtonChecked(m_hWnd, IDC_CHK_DELETE_SRC) == BST_CHECKED;
      return true;
    case IDC_BTN_PHOTO_DIR:
      OnBtnPhotoDir();
      return true;
    case IDC_BTN_OUTPUT_DIR:
      OnBtnOutputDir();
      return true;
    case IDC_BTN_STOP:
      OnBtnStop();
      return true;
    case IDC_BTN_ORGANIZE:
      OnBtnOrganize();
      return true;
    case IDC_BTN_CLOSE:
      OnBtnClose();
      return true;
    case IDC_BTN_MIN:
      OnBtnMin();
      return true;
    case IDC_BTN_ABOUT:
      OnBtnAbout();
      return true;
    case IDC_BTN_OPTIONS:
      OnBtnOptions();
      return true;
    default:
      return false;  // OK and Cancel take the dialog's standard course
  }
}

// Statics, the check box and the read-only edit are drawn in teal, the maker line in white.
COLORREF CMainDlg::TextColour(int id) const {
  return id == IDC_MAKER_LINK ? kMakerColour : kTextColour;
}

bool CMainDlg::OnSysCommand(WPARAM id) {
  if ((id & 0xFFF0) != IDM_ABOUTBOX)
    return false;
  CAboutDlg about;
  about.DoModal();
  return true;
}

bool CMainDlg::OnPaint() {
  if (!IsIconic(m_hWnd))
    return false;
  fw::PaintDC dc(m_hWnd);
  SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
  RECT client{};
  GetClientRect(m_hWnd, &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc.get(), x, y, m_hIcon);
  return true;
}

void CMainDlg::OnHandOver(const std::string& /*arguments*/) {
  // The second start ends at once; its user meets this window instead, or the dialog in
  // front of it. (No arguments are taken yet.)
  if (IsIconic(m_hWnd))
    ShowWindow(m_hWnd, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(m_hWnd));
}

void CMainDlg::OnBtnClose() {
  PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void CMainDlg::OnBtnMin() {
  PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainDlg::OnBtnAbout() {
  CAboutDlg about;
  about.DoModal();
}

// The options change what the next job does, so they open only between jobs (the button is
// disabled during one).
void CMainDlg::OnBtnOptions() {
  if (m_bRunning)
    return;
  COptionsDlg options;
  if (options.DoModal() == COptionsDlg::kUndoChosen)
    StartUndo(options.UndoJournal());
}

void CMainDlg::InvalidateControl(int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(id), &rect);
  MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  InvalidateRect(m_hWnd, &rect, TRUE);
}
