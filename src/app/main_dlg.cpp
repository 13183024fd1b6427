// The main window's skin, layout, colours, moving, minimising, closing and About box, and the
// folders handed to it by a drop or a second start.
#include "app/main_dlg.h"

#include "app/about_dlg.h"
#include "app/app_globals.h"
#include "app/folder_argument.h"
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

// A window's size in pixels at 96 DPI.
LayoutSize BaseSizeOf(HWND window, int dpi) {
  const LayoutSize size = SizeOf(window);
  return {fw::Unscale(size.w, dpi), fw::Unscale(size.h, dpi)};
}

void Place(HWND window, const LayoutRect& r, int dpi) {
  const LayoutRect scaled = ScaleLayoutRect(r, dpi);
  MoveWindow(window, scaled.x, scaled.y, scaled.w, scaled.h, TRUE);
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
  DDX_Control(pDX, IDC_BTN_OPEN_OUTPUT, m_btnOpenOutput);
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
  CSkinDialog::OnInitDialog();
  CDialog::SetMainWindow(m_hWnd);
  DragAcceptFiles(m_hWnd, TRUE);

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
  TakeNamedFolder(m_strPathAtOpen);
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
  LayOut();
  ShowWindow(GetDlgItem(IDC_EDIT_UNUSED), SW_HIDE);
  ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
  ShowWindow(m_btnOpenOutput.m_hWnd, SW_HIDE);
  g_linkMainWeb.SubclassDlgItem(IDC_MAKER_LINK, m_hWnd);
  g_linkMainWeb.SetNotify(TRUE);
  g_linkMainWeb.SetLinkCursor(
      LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND)));
  g_linkMainWeb.SetLink(TALLOWICK_MAKER_WEB);

  // Moving a transparent control carries the pixels of its old place along: paint it all anew.
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CMainDlg::OnDpiLayout() {
  LayOut();
}

void CMainDlg::LayOut() {
  const int dpi = Dpi();
  const SIZE skin = LoadSkin(IDB_MAIN_SKIN);
  m_nSkinWidth = skin.cx;
  m_nSkinHeight = skin.cy;
  CMsgX::m_nLine = 770;
  CMsgX::Printf("皮肤背景大小为: %d, %d", m_nSkinWidth, m_nSkinHeight);

  // Each button takes its frame's size from its strip (or keeps its template size).
  m_btnClose.LoadPng(IDP_CLOSE, dpi);
  m_btnMin.LoadPng(IDP_MINIMISE, dpi);
  m_btnOptions.LoadPng(IDP_OPTIONS, dpi);
  m_btnAbout.LoadPng(IDP_ABOUT, dpi);
  m_btnPhotoDir.LoadPng(IDP_PHOTO_DIR, dpi);
  m_btnOutputDir.LoadPng(IDP_OUTPUT_DIR, dpi);
  m_btnOrganize.LoadPng(IDP_ORGANIZE, dpi);
  m_btnStop.LoadPng(IDP_STOP, dpi);
  m_btnOpenOutput.LoadPng(IDP_OPEN_OUTPUT, dpi);

  // Laid out at 96 DPI, each rectangle then scaled: the same picture at every DPI.
  MainLayoutInput in;
  in.skin = {m_nSkinWidth, m_nSkinHeight};
  in.close = BaseSizeOf(m_btnClose.m_hWnd, dpi);
  in.minimise = BaseSizeOf(m_btnMin.m_hWnd, dpi);
  in.options = BaseSizeOf(m_btnOptions.m_hWnd, dpi);
  in.about = BaseSizeOf(m_btnAbout.m_hWnd, dpi);
  in.photoDir = BaseSizeOf(m_btnPhotoDir.m_hWnd, dpi);
  in.outputDir = BaseSizeOf(m_btnOutputDir.m_hWnd, dpi);
  in.organize = BaseSizeOf(m_btnOrganize.m_hWnd, dpi);
  in.stop = BaseSizeOf(m_btnStop.m_hWnd, dpi);
  in.openOutput = BaseSizeOf(m_btnOpenOutput.m_hWnd, dpi);
  const MainLayout layout = ComputeMainLayout(in);

  Place(m_btnClose.m_hWnd, layout.close, dpi);
  Place(m_btnMin.m_hWnd, layout.minimise, dpi);
  Place(m_btnOptions.m_hWnd, layout.options, dpi);
  Place(m_btnAbout.m_hWnd, layout.about, dpi);
  Place(m_btnPhotoDir.m_hWnd, layout.photoDir, dpi);
  Place(GetDlgItem(IDC_PATH_SRC), layout.pathSrc, dpi);
  Place(m_btnOutputDir.m_hWnd, layout.outputDir, dpi);
  Place(GetDlgItem(IDC_PATH_TAR), layout.pathTar, dpi);
  Place(m_btnOpenOutput.m_hWnd, layout.openOutput, dpi);
  Place(m_btnOrganize.m_hWnd, layout.organize, dpi);
  Place(GetDlgItem(IDC_MESSAGE), layout.message, dpi);
  Place(m_btnStop.m_hWnd, layout.stop, dpi);
  Place(GetDlgItem(IDC_CHK_DELETE_SRC), layout.deleteSrc, dpi);
  Place(GetDlgItem(IDC_MAKER_LINK), layout.makerLine, dpi);
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
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      *result = 0;
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
    case IDC_BTN_OPEN_OUTPUT:
      OnBtnOpenOutput();
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

void CMainDlg::OnHandOver(const std::string& arguments) {
  // The second start ends at once; its user meets this window instead, or the dialog in
  // front of it. It took its path from the folder it started in.
  if (IsIconic(m_hWnd))
    ShowWindow(m_hWnd, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(m_hWnd));
  TakeNamedFolder(PathArgument(arguments, g_strStartFolder));
}

void CMainDlg::TakeNamedFolder(const std::string& path) {
  if (path.empty())
    return;
  if (m_bRunning) {
    m_strPathAfterJob = path;  // taken when the job has ended: its folders stay until then
    return;
  }
  const std::string folder = FolderOfPath(path);
  if (folder.empty()) {
    // Under the last job's summary, if one shows.
    std::string text = LatestMessage();
    text.append(text.empty() ? "" : "\r\n\r\n").append("找不到文件夹: ").append(path);
    text.append("\r\n照片目录没有改变.");
    SetDlgItemTextA(m_hWnd, IDC_MESSAGE, text.c_str());
    InvalidateControl(IDC_MESSAGE);
    return;
  }
  TakeFolder(IDC_PATH_SRC, folder);
}

void CMainDlg::OnDropFiles(HDROP drop) {
  POINT point{};
  DragQueryPoint(drop, &point);
  std::string folder;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count && folder.empty(); ++i) {
    std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
    path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
    folder = FolderOfPath(path);
  }
  DragFinish(drop);
  if (m_bRunning || folder.empty())
    return;
  const HWND target = ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
  const int id = target ? GetDlgCtrlID(target) : 0;
  TakeFolder(id == IDC_BTN_OUTPUT_DIR || id == IDC_PATH_TAR ? IDC_PATH_TAR : IDC_PATH_SRC, folder);
}

void CMainDlg::TakeFolder(int labelId, const std::string& folder) {
  std::string& path = labelId == IDC_PATH_TAR ? m_strPathTar : m_strPathSrc;
  path = PickedFolderPath(folder);
  SetDlgItemTextA(m_hWnd, labelId, path.c_str());
  OnFolderChanged(labelId);
}

void CMainDlg::OnFolderChanged(int labelId) {
  InvalidateControl(labelId);
  // The open button shows the folder where the last job placed its files.
  if (labelId == IDC_PATH_TAR)
    ShowWindow(m_btnOpenOutput.m_hWnd, SW_HIDE);
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
