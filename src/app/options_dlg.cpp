#include "app/options_dlg.h"

#include <iterator>

#include "framework/gdi_holders.h"
#include "organize/app_config.h"
#include "organize/folder_layout.h"
#include "organize/job_journals.h"
#include "organize/raw_pairs.h"
#include "resource.h"

namespace {

// The palette of the skin images.
constexpr COLORREF kBody = RGB(243, 248, 250);
constexpr COLORREF kBand = RGB(23, 88, 107);
constexpr COLORREF kBandEdge = RGB(16, 62, 75);
constexpr COLORREF kTitle = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(31, 107, 129);
constexpr COLORREF kNote = RGB(95, 140, 153);
constexpr int kBandHeight = 36;

// The choices of the layout list, in the order of kFolderLayouts.
constexpr const char* kLayoutTexts[] = {"2012年\\2012-05-17", "2012-05-17",
                                        "2012年\\05月\\2012-05-17",
                                        "2012年\\2012-05 (按月, 不分日)", "2012\\05\\17"};
static_assert(std::size(kLayoutTexts) == std::size(kFolderLayouts));

int LayoutIndex(FolderLayout layout) {
  for (int i = 0; i < static_cast<int>(std::size(kFolderLayouts)); ++i) {
    if (kFolderLayouts[i] == layout)
      return i;
  }
  return 0;
}

bool IsYearChoice(FolderLayout layout) {
  return layout == FolderLayout::kYearDay || layout == FolderLayout::kDay;
}

void FillRectWith(HDC dc, const RECT& rect, COLORREF colour) {
  fw::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

}  // namespace

COptionsDlg::COptionsDlg()
    : CSkinDialog(IDD_OPTIONS, nullptr),
      m_strFilters(theConfig.FileFilters),
      m_nByYear(theConfig.IsClassifyByYear != 0),
      m_nLayout(LayoutIndex(EffectiveLayout(theConfig.FolderLayout, theConfig.IsClassifyByYear))),
      m_nMediaDates(theConfig.ReadMediaDates != 0),
      m_nRawFolder(theConfig.RawFolder != 0),
      m_nSkipIdentical(theConfig.SkipIdentical != 0),
      m_nRenameClashes(theConfig.RenameClashes != 0),
      m_nSidecars(theConfig.Sidecars != 0),
      m_nKeepJournal(theConfig.KeepJournal != 0),
      m_strLastJournal(LastJobJournal(theConfig.PathApp)) {}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_OPT_CLOSE, m_btnClose);
  DDX_Control(pDX, IDC_OPT_FILTERS_DEFAULT, m_btnDefault);
  DDX_Control(pDX, IDC_OPT_ADD_RAW, m_btnAddRaw);
  DDX_Control(pDX, IDC_OPT_UNDO, m_btnUndo);
  DDX_Control(pDX, IDOK, m_btnOK);
  DDX_Control(pDX, IDCANCEL, m_btnCancel);
  DDX_Text(pDX, IDC_OPT_FILTERS, m_strFilters);
  DDX_Check(pDX, IDC_OPT_BY_YEAR, m_nByYear);
  DDX_Check(pDX, IDC_OPT_MEDIA_DATES, m_nMediaDates);
  DDX_Check(pDX, IDC_OPT_RAW_FOLDER, m_nRawFolder);
  DDX_Check(pDX, IDC_OPT_SKIP_IDENTICAL, m_nSkipIdentical);
  DDX_Check(pDX, IDC_OPT_RENAME_CLASHES, m_nRenameClashes);
  DDX_Check(pDX, IDC_OPT_SIDECARS, m_nSidecars);
  DDX_Check(pDX, IDC_OPT_JOURNAL, m_nKeepJournal);
  HWND list = GetDlgItem(IDC_OPT_LAYOUT);
  if (pDX->m_bSaveAndValidate) {
    const LRESULT chosen = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR)
      m_nLayout = static_cast<int>(chosen);
  } else {
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(m_nLayout), 0);
  }
}

BOOL COptionsDlg::OnInitDialog() {
  HWND list = GetDlgItem(IDC_OPT_LAYOUT);
  for (const char* text : kLayoutTexts)
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  CSkinDialog::OnInitDialog();
  DrawSkin();
  PlaceImageButtons();
  EnableWindow(m_btnUndo.m_hWnd, !m_strLastJournal.empty());
  EnableWindow(GetDlgItem(IDC_OPT_BY_YEAR), IsYearChoice(kFolderLayouts[m_nLayout]));
  SendMessageA(GetDlgItem(IDC_OPT_FILTERS), EM_LIMITTEXT, 1000, 0);
  return TRUE;
}

// The background: the light body of the main window under a title band in its darker teal,
// framed by a line of the band's edge colour, as large as the template made the window.
void COptionsDlg::DrawSkin() {
  RECT client{};
  GetClientRect(m_hWnd, &client);
  fw::WindowDC screen(m_hWnd);
  fw::Bitmap skin(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  HDC dc = CreateCompatibleDC(screen.get());
  {
    fw::SelectGuard select(dc, skin.get());
    const int band = Scaled(kBandHeight), line = Scaled(1);
    FillRectWith(dc, client, kBandEdge);
    FillRectWith(dc, {line, line, client.right - line, client.bottom - line}, kBody);
    FillRectWith(dc, {0, 0, client.right, band}, kBand);
    FillRectWith(dc, {0, band, client.right, band + Scaled(2)}, kBandEdge);
  }
  DeleteDC(dc);
  SetSkin(skin);
}

// The image buttons take their strips' sizes: close in the band's right corner, undo at the
// left of the bottom row, OK and Cancel at its right, restore-default beside the filter box.
void COptionsDlg::PlaceImageButtons() {
  RECT client{};
  GetClientRect(m_hWnd, &client);
  m_btnClose.LoadPng(IDP_ABOUT_OK, Dpi());
  m_btnDefault.LoadPng(IDP_RESTORE_DEFAULT, Dpi());
  m_btnAddRaw.LoadPng(IDP_ADD_RAW, Dpi());
  m_btnUndo.LoadPng(IDP_UNDO_LAST, Dpi());
  m_btnOK.LoadPng(IDP_DIALOG_OK, Dpi());
  m_btnCancel.LoadPng(IDP_DIALOG_CANCEL, Dpi());
  const int bottom = client.bottom - Scaled(12);
  const int margin = Scaled(16), gap = Scaled(10);
  MoveWindow(m_btnClose.m_hWnd, client.right - m_btnClose.m_nFrameWidth - gap,
             (Scaled(kBandHeight) - m_btnClose.m_nImageHeight) / 2, m_btnClose.m_nFrameWidth,
             m_btnClose.m_nImageHeight, TRUE);
  const int cancelLeft = client.right - margin - m_btnCancel.m_nFrameWidth;
  MoveWindow(m_btnCancel.m_hWnd, cancelLeft, bottom - m_btnCancel.m_nImageHeight,
             m_btnCancel.m_nFrameWidth, m_btnCancel.m_nImageHeight, TRUE);
  MoveWindow(m_btnOK.m_hWnd, cancelLeft - gap - m_btnOK.m_nFrameWidth,
             bottom - m_btnOK.m_nImageHeight, m_btnOK.m_nFrameWidth, m_btnOK.m_nImageHeight, TRUE);
  MoveWindow(m_btnUndo.m_hWnd, margin, bottom - m_btnUndo.m_nImageHeight, m_btnUndo.m_nFrameWidth,
             m_btnUndo.m_nImageHeight, TRUE);
  RECT filters{};
  GetWindowRect(GetDlgItem(IDC_OPT_FILTERS), &filters);
  MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&filters), 2);
  const int defaultTop = (filters.top + filters.bottom - m_btnDefault.m_nImageHeight) / 2;
  MoveWindow(m_btnDefault.m_hWnd, filters.right + gap, defaultTop, m_btnDefault.m_nFrameWidth,
             m_btnDefault.m_nImageHeight, TRUE);
  // Adding the raw endings sits under restore-default, both at the filter box's end.
  MoveWindow(m_btnAddRaw.m_hWnd, filters.right + gap,
             defaultTop + m_btnDefault.m_nImageHeight + Scaled(4), m_btnAddRaw.m_nFrameWidth,
             m_btnAddRaw.m_nImageHeight, TRUE);
}

void COptionsDlg::OnOK() {
  if (StoreValues())
    EndDialog(IDOK);
}

bool COptionsDlg::StoreValues() {
  if (!UpdateData(TRUE))
    return false;
  theConfig.FileFilters = m_strFilters;
  theConfig.ReadMediaDates = m_nMediaDates;
  theConfig.RawFolder = m_nRawFolder;
  theConfig.SkipIdentical = m_nSkipIdentical;
  theConfig.RenameClashes = m_nRenameClashes;
  theConfig.Sidecars = m_nSidecars;
  theConfig.KeepJournal = m_nKeepJournal;
  // The two layouts of the year switch keep the FolderLayout key empty (unless the file names
  // the same layout already), so that choosing them changes no key beyond IsClassifyByYear.
  const FolderLayout chosen = kFolderLayouts[m_nLayout];
  FolderLayout named{};
  const bool keyNamesIt = ParseFolderLayout(theConfig.FolderLayout, &named) && named == chosen;
  if (IsYearChoice(chosen)) {
    theConfig.IsClassifyByYear = chosen == FolderLayout::kYearDay ? 1 : 0;
    if (!keyNamesIt)
      theConfig.FolderLayout.clear();
  } else {
    theConfig.IsClassifyByYear = m_nByYear;
    theConfig.FolderLayout = FolderLayoutName(chosen);
  }
  return true;
}

bool COptionsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_COMMAND)
    return CSkinDialog::HandleMessage(message, wParam, lParam, result);
  const WORD id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (id == IDC_OPT_LAYOUT && code == CBN_SELCHANGE) {
    OnLayoutChosen();
  } else if (code != BN_CLICKED) {
    return CSkinDialog::HandleMessage(message, wParam, lParam, result);
  } else if (id == IDC_OPT_CLOSE) {
    OnCancel();
  } else if (id == IDC_OPT_FILTERS_DEFAULT) {
    SetDlgItemTextA(m_hWnd, IDC_OPT_FILTERS, ConfigValues{}.FileFilters.c_str());
  } else if (id == IDC_OPT_ADD_RAW) {
    OnAddRawEndings();
  } else if (id == IDC_OPT_BY_YEAR) {
    OnByYearClicked();
  } else if (id == IDC_OPT_UNDO) {
    OnUndo();
  } else {
    return CSkinDialog::HandleMessage(message, wParam, lParam, result);
  }
  *result = 0;
  return true;
}

// The year switch and the list show one choice: with a layout of its own the switch is moot.
void COptionsDlg::OnLayoutChosen() {
  const LRESULT chosen = SendMessageA(GetDlgItem(IDC_OPT_LAYOUT), CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR)
    return;
  const FolderLayout layout = kFolderLayouts[chosen];
  HWND byYear = GetDlgItem(IDC_OPT_BY_YEAR);
  EnableWindow(byYear, IsYearChoice(layout));
  if (IsYearChoice(layout)) {
    SendMessageA(byYear, BM_SETCHECK,
                 layout == FolderLayout::kYearDay ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void COptionsDlg::OnByYearClicked() {
  const bool byYear = SendMessageA(GetDlgItem(IDC_OPT_BY_YEAR), BM_GETCHECK, 0, 0) == BST_CHECKED;
  const FolderLayout layout = byYear ? FolderLayout::kYearDay : FolderLayout::kDay;
  SendMessageA(GetDlgItem(IDC_OPT_LAYOUT), CB_SETCURSEL, static_cast<WPARAM>(LayoutIndex(layout)),
               0);
}

void COptionsDlg::OnAddRawEndings() {
  HWND box = GetDlgItem(IDC_OPT_FILTERS);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(box)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(box, text.data(), static_cast<int>(text.size()))));
  SetWindowTextA(box, WithRawEndings(text).c_str());
}

// Asks first, naming what the undo will take back; the main window then runs it. What else was
// changed in this visit is kept, as OK would keep it.
void COptionsDlg::OnUndo() {
  JournalCounts counts;
  if (!CountJournal(m_strLastJournal, &counts)) {
    MessageBoxA(m_hWnd, "无法读取上次整理的记录.", "提示", MB_ICONINFORMATION);
    return;
  }
  const std::string question = "将撤销上次整理: " + std::to_string(counts.files) + " 个文件, " +
                               std::to_string(counts.folders) +
                               " 个新建的文件夹.\r\n复制的文件将删除, 移动的文件将移回原处.\r\n"
                               "之后改动过的文件不会动, 只会列出.\r\n\r\n确定要撤销吗?";
  if (MessageBoxA(m_hWnd, question.c_str(), "提示", MB_OKCANCEL | MB_ICONQUESTION) != IDOK ||
      !StoreValues())
    return;
  m_strUndoJournal = m_strLastJournal;
  EndDialog(kUndoChosen);
}

// Every control was scaled with the DPI; the skin and the image buttons follow.
void COptionsDlg::OnDpiLayout() {
  DrawSkin();
  PlaceImageButtons();
}

COLORREF COptionsDlg::TextColour(int id) const {
  if (id == IDC_OPT_TITLE)
    return kTitle;
  return id == IDC_OPT_NOTE ? kNote : kText;
}
