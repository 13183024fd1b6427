#include "folderpicker/folder_dialog.h"

#include <string>

#include "folderpicker/folder_rules.h"
#include "framework/dialog.h"
#include "framework/dpi.h"

namespace {

// The program file's name without its folder and extension.
std::string ApplicationName() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos)
    name.erase(0, slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos)
    name.erase(dot);
  return name;
}

// The picker's questions and warnings, modal to the window in front (the browser).
class BrowserMessages : public CFolderMessages {
 public:
  bool AskYesNo(const std::string& text) override {
    return Show(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void Warn(const std::string& text) override { Show(text, MB_ICONEXCLAMATION); }

 private:
  static int Show(const std::string& text, UINT type) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), ApplicationName().c_str(), type);
  }
};

}  // namespace

bool CFolderDialogHook::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND || !m_pDialog)
    return false;
  if (LOWORD(wParam) == IDOK) {
    m_pDialog->OnOK();
  } else if (LOWORD(wParam) == CFolderDialog::kPathEditId && HIWORD(wParam) == EN_CHANGE) {
    m_pDialog->OnChangePathEdit();
  } else {
    return false;
  }
  *result = 0;
  return true;
}

CFolderDialog::CFolderDialog(const char* caption, const char* prompt, const char* initialDir,
                             HWND parent)
    : m_pszCaption(caption), m_pszInitialDir(initialDir), m_pOwner(CDialog::GetSafeOwner(parent)) {
  m_bi.hwndOwner = m_pOwner;
  m_bi.pidlRoot = nullptr;
  m_bi.pszDisplayName = nullptr;
  m_bi.lpszTitle = prompt;
  m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  m_bi.lpfn = BrowseCallback;
  m_bi.iImage = 0;
  m_wndHook.m_pDialog = this;
}

INT_PTR CFolderDialog::DoModal() {
  char displayName[MAX_PATH] = "";
  m_bi.pszDisplayName = displayName;
  m_bi.lpfn = BrowseCallback;
  m_bi.lParam = reinterpret_cast<LPARAM>(this);

  // The browser talks to the shell's folders through COM.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IMalloc* allocator = nullptr;
  if (FAILED(SHGetMalloc(&allocator))) {
    if (SUCCEEDED(com))
      CoUninitialize();
    return -1;
  }
  m_bAccepted = 0;
  if (LPITEMIDLIST chosen = SHBrowseForFolderA(&m_bi))
    allocator->Free(chosen);  // the result is the typed path, not the browser's own choice
  allocator->Release();
  m_wndHook.UnsubclassWindow();
  m_hDialog = nullptr;
  if (SUCCEEDED(com))
    CoUninitialize();
  return m_bAccepted ? 1 : -1;
}

int CALLBACK CFolderDialog::BrowseCallback(HWND window, UINT event, LPARAM parameter, LPARAM data) {
  auto* self = reinterpret_cast<CFolderDialog*>(data);
  if (event == BFFM_INITIALIZED)
    self->OnInitialized(window);
  else if (event == BFFM_SELCHANGED)
    self->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(parameter));
  return 0;
}

void CFolderDialog::OnInitialized(HWND window) {
  m_hDialog = window;
  if (m_pszCaption)
    SetWindowTextA(window, m_pszCaption);
  m_wndHook.SubclassWindow(window);
  ShowWindow(GetDlgItem(window, kHiddenControlId), SW_HIDE);

  // The box sits just above the tree, as wide as it and 23 pixels high (at 96 DPI, and scaled
  // at more, where the browser's font is larger).
  const int dpi = fw::DpiOf(window);
  RECT tree{};
  GetWindowRect(GetDlgItem(window, kTreeId), &tree);
  RECT box{tree.left, tree.top - fw::Scale(27, dpi), tree.right, tree.top - fw::Scale(4, dpi)};
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&box), 2);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, box.left,
                              box.top, box.right - box.left, box.bottom - box.top, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPathEditId)),
                              GetModuleHandleA(nullptr), nullptr);
  ShowWindow(edit, SW_SHOW);
  SendMessageA(edit, WM_SETFONT, SendMessageA(window, WM_GETFONT, 0, 0), TRUE);

  char current[MAX_PATH] = "";
  std::string initial = m_pszInitialDir ? m_pszInitialDir : "";
  if (!m_pszInitialDir) {
    GetCurrentDirectoryA(MAX_PATH, current);
    initial = current;
  }
  // The box and OK agree from the start, whether or not the tree ever reports a selection. A
  // folder is typed without its final separator (a drive's root keeps it).
  if (initial.size() > 3 && (initial.back() == '\\' || initial.back() == '/'))
    initial.pop_back();
  m_bTyped = 0;
  SetPathEdit(initial.c_str());
  SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(initial.c_str()));
}

void CFolderDialog::OnSelectionChanged(LPCITEMIDLIST item) {
  // A path the user typed stays until the user picks in the tree.
  if (m_bTyped && GetFocus() != GetDlgItem(m_hDialog, kTreeId)) {
    EnableOKForPathEdit();  // the browser judged the tree's selection
    return;
  }
  char path[MAX_PATH] = "";
  // Only drive-letter paths come from the tree; network and virtual folders give nothing.
  if (!SHGetPathFromIDListA(item, path) || path[1] != ':')
    path[0] = '\0';
  SendMessageA(m_hDialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  m_bTyped = 0;
  SetPathEdit(path);
}

void CFolderDialog::SetPathEdit(const char* path) {
  m_bSettingPathEdit = 1;
  SetDlgItemTextA(m_hDialog, kPathEditId, path);
  m_bSettingPathEdit = 0;
  EnableOKForPathEdit();
}

void CFolderDialog::ReadPathEdit() {
  GetDlgItemTextA(m_hDialog, kPathEditId, m_szPath, MAX_PATH);
}

void CFolderDialog::EnableOKForPathEdit() {
  ReadPathEdit();
  SendMessageA(m_hDialog, BFFM_ENABLEOK, 0, m_szPath[0] != '\0');
}

void CFolderDialog::OnChangePathEdit() {
  if (!m_bSettingPathEdit)
    m_bTyped = 1;
  EnableOKForPathEdit();
}

void CFolderDialog::OnOK() {
  ReadPathEdit();
  BrowserMessages messages;
  if (ValidateFolder(m_szPath, messages) != kFolderUsable) {
    SetFocus(GetDlgItem(m_hDialog, kPathEditId));
    return;
  }
  m_bAccepted = 1;
  ::EndDialog(m_hDialog, 1);
}
