// The options dialog: the filter, the day-folder layout and the optional capabilities of
// Config.ini, and the undo of the last job. A borderless dialog in the skin of the About box,
// its background drawn from the palette. OK stores the values into theConfig; Cancel, Escape
// and the close button leave them; choosing undo stores them too. Its template's dialog units
// follow the DPI's font; a change of DPI scales every control (CSkinDialog).
#pragma once

#include <windows.h>

#include <string>

#include "app/skin_dialog.h"
#include "skin/png_button.h"

class COptionsDlg : public CSkinDialog {
 public:
  // What DoModal returns when the user chose to undo the last job (see UndoJournal).
  static constexpr INT_PTR kUndoChosen = 100;

  COptionsDlg();
  // The journal to take back, once DoModal has returned kUndoChosen.
  const std::string& UndoJournal() const { return m_strUndoJournal; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  COLORREF TextColour(int id) const override;
  void OnDpiLayout() override;

 private:
  void DrawSkin();
  void PlaceImageButtons();
  void OnLayoutChosen();
  void OnByYearClicked();
  void OnUndo();
  // Stores the dialog's values into theConfig; false when they could not be read.
  bool StoreValues();
  // Appends the raw photo endings that the filter box does not take yet.
  void OnAddRawEndings();

  CDimmingPngButton m_btnClose;
  CDimmingPngButton m_btnDefault;
  CDimmingPngButton m_btnAddRaw;
  CDimmingPngButton m_btnUndo;
  CDimmingPngButton m_btnOK;
  CDimmingPngButton m_btnCancel;

  std::string m_strFilters;
  int m_nByYear = 1;
  int m_nLayout = 0;  // index into kFolderLayouts
  int m_nMediaDates = 0;
  int m_nRawFolder = 0;
  int m_nSkipIdentical = 0;
  int m_nRenameClashes = 0;
  int m_nSidecars = 0;
  int m_nKeepJournal = 0;
  std::string m_strLastJournal;  // empty: nothing to undo
  std::string m_strUndoJournal;
};
