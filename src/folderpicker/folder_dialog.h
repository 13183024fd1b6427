// The shell's folder browser with a box in which a path can be typed: OK checks the typed path
// and offers to create a missing folder. Windows only.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "framework/wnd.h"

class CFolderDialog;

// Takes over the browser window's messages: its OK button and the typed-path box.
class CFolderDialogHook : public CWnd {
 public:
  CFolderDialog* m_pDialog = nullptr;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CFolderDialog {
 public:
  // `caption`, `prompt` and `initialDir` are borrowed and may be null; with no `parent` the
  // program's main window owns the browser.
  CFolderDialog(const char* caption, const char* prompt, const char* initialDir, HWND parent);
  virtual ~CFolderDialog() = default;
  CFolderDialog(const CFolderDialog&) = delete;
  CFolderDialog& operator=(const CFolderDialog&) = delete;

  // 1 when a path was typed or picked and accepted, otherwise -1.
  virtual INT_PTR DoModal();
  std::string GetPath() const { return m_szPath; }

  // Control ids inside the browser window.
  static constexpr int kPathEditId = 14148;
  static constexpr int kHiddenControlId = 14147;
  static constexpr int kTreeId = 14145;

 private:
  friend class CFolderDialogHook;
  static int CALLBACK BrowseCallback(HWND window, UINT event, LPARAM parameter, LPARAM data);
  void OnInitialized(HWND window);
  void OnSelectionChanged(LPCITEMIDLIST item);
  void OnOK();
  void OnChangePathEdit();
  // Puts `path` into the typed-path box (not as typed) and OK in step with it.
  void SetPathEdit(const char* path);
  void ReadPathEdit();
  // OK is enabled while the box holds a path.
  void EnableOKForPathEdit();

  const char* m_pszCaption;
  const char* m_pszInitialDir;
  char m_szPath[MAX_PATH] = "";
  BROWSEINFOA m_bi{};
  HWND m_hDialog = nullptr;
  HWND m_pOwner;
  int m_bAccepted = 0;
  int m_bTyped = 0;  // the box holds what the user typed, not the tree's selection
  int m_bSettingPathEdit = 0;
  CFolderDialogHook m_wndHook;
};
