#include "framework/dialog.h"

#include "framework/wnd.h"

namespace {
// The dialog whose template is being made: the messages before WM_INITDIALOG still reach it.
thread_local CDialog* t_creating = nullptr;

// Messages whose answer a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  if (IsCtlColorMessage(message))
    return true;
  switch (message) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}
}  // namespace

HWND CDialog::s_hMainWnd = nullptr;

void CDataExchange::Fail(int id) {
  m_bFailed = true;
  if (HWND control = m_pDlg->GetDlgItem(id))
    SetFocus(control);
}

bool DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->Failed())
    return false;
  if (control.GetSafeHwnd())
    return true;  // bound by an earlier pass
  if (!control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlg->GetSafeHwnd()))
    pDX->Fail(id);
  return !pDX->Failed();
}

// The control a helper exchanges with, or null when the pass has failed or fails here.
static HWND ExchangeControl(CDataExchange* pDX, int id) {
  if (pDX->Failed())
    return nullptr;
  HWND control = pDX->m_pDlg->GetDlgItem(id);
  if (!control)
    pDX->Fail(id);
  return control;
}

bool DDX_Check(CDataExchange* pDX, int id, int& value) {
  HWND control = ExchangeControl(pDX, id);
  if (!control)
    return false;
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
  else
    SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  return true;
}

bool DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  HWND control = ExchangeControl(pDX, id);
  if (!control)
    return false;
  if (!pDX->m_bSaveAndValidate) {
    SetWindowTextA(control, value.c_str());
    return true;
  }
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  value = std::move(text);
  return true;
}

HWND CDialog::GetSafeOwner(HWND owner) {
  if (owner && IsWindow(owner))
    return GetAncestor(owner, GA_ROOT);
  if (s_hMainWnd && IsWindow(s_hMainWnd))
    return s_hMainWnd;
  return nullptr;
}

INT_PTR CDialog::DoModal() {
  HWND owner = GetSafeOwner(m_hOwner);
  t_creating = this;
  INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                                   owner, DialogProc, reinterpret_cast<LPARAM>(this));
  t_creating = nullptr;
  return result;
}

bool CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate != FALSE);
  DoDataExchange(&dx);
  return !dx.Failed();
}

void CDialog::EndDialog(INT_PTR result) {
  ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE))
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        OnOK();
      } else if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
      } else {
        return false;
      }
      *result = 0;
      return true;
    case WM_CLOSE:
      OnCancel();
      *result = 0;
      return true;
    default:
      return false;
  }
}

LRESULT CDialog::Default() {
  const WindowMessage& m = m_current;
  LRESULT reflected = 0;
  if (ReflectToChild(m.message, m.wParam, m.lParam, &reflected))
    return reflected;
  return DefWindowProcW(m_hWnd, m.message, m.wParam, m.lParam);
}

void CDialog::CenterWindow() {
  RECT area;
  HWND owner = GetWindow(m_hWnd, GW_OWNER);
  if (owner && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own;
  GetWindowRect(m_hWnd, &own);
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  int left = area.left + (area.right - area.left - width) / 2;
  int top = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDialog* CDialog::FromWindow(HWND window) {
  auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self ? self : t_creating;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->m_hWnd = window;
    // Centred after OnInitDialog, which may give the window its real size.
    BOOL result = self->OnInitDialog();
    self->CenterWindow();
    return result;
  }
  CDialog* self = FromWindow(window);
  if (!self)
    return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->m_hWnd = nullptr;
    return FALSE;
  }
  if (!self->m_hWnd)
    self->m_hWnd = window;  // a message before WM_INITDIALOG
  return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  WindowMessage saved = m_current;
  m_current = {message, wParam, lParam};
  LRESULT result = 0;
  bool handled = HandleMessage(message, wParam, lParam, &result) ||
                 ReflectToChild(message, wParam, lParam, &result);
  m_current = saved;
  if (!handled)
    return FALSE;  // the dialog manager's own handling
  if (ReturnsResultDirectly(message))
    return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
