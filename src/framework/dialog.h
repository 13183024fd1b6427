// A modal dialog over a dialog template resource, with data exchange between members and
// controls.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"

class CDialog;

// One pass of data exchange: loads controls from members, or saves controls into members.
class CDataExchange {
 public:
  CDataExchange(CDialog* dialog, bool saveAndValidate)
      : m_pDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}
  // Marks the pass failed and puts the focus on the control at fault.
  void Fail(int id);
  bool Failed() const { return m_bFailed; }

  CDialog* m_pDlg;
  bool m_bSaveAndValidate;

 private:
  bool m_bFailed = false;
};

// Each helper does nothing once the pass has failed, and returns whether the pass still holds.
bool DDX_Control(CDataExchange* pDX, int id, CWnd& control);
bool DDX_Check(CDataExchange* pDX, int id, int& value);
bool DDX_Text(CDataExchange* pDX, int id, std::string& value);

class CDialog {
 public:
  CDialog(UINT templateId, HWND owner = nullptr) : m_nIDTemplate(templateId), m_hOwner(owner) {}
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog; the result of EndDialog, or -1 when the dialog could not be made.
  INT_PTR DoModal();
  bool UpdateData(BOOL saveAndValidate = TRUE);
  void EndDialog(INT_PTR result);
  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

  // The owner used when none is given: the program's main window, while it exists.
  static void SetMainWindow(HWND window) { s_hMainWnd = window; }
  static HWND GetSafeOwner(HWND owner);

  HWND m_hWnd = nullptr;

 protected:
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange*) {}
  virtual void OnOK();
  virtual void OnCancel();
  // The class's own message table, as for CWnd. WM_INITDIALOG is not passed here.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The standard handling of the message being dispatched.
  LRESULT Default();
  void CenterWindow();

  UINT m_nIDTemplate;
  HWND m_hOwner;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static CDialog* FromWindow(HWND window);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  WindowMessage m_current{};
  static HWND s_hMainWnd;
};
