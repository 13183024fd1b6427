// The main window: a borderless dialog painted from the skin, holding the organize job. The
// worker thread runs the walk; it reaches the window only by posting WM_ORGANIZE_PROGRESS.
// It has no OK: Enter presses the focused button; closing during a job asks first. A folder
// dropped on it, or named on the command line, becomes one of its two folders; its taskbar
// button shows a job's progress.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/job_taskbar.h"
#include "app/skin_dialog.h"
#include "organize/file_counter.h"
#include "organize/organize_job.h"
#include "organize/organize_journal.h"
#include "skin/path_label.h"
#include "skin/png_button.h"

// Posted by the worker, both parameters 0: the job state has news to show.
constexpr UINT WM_ORGANIZE_PROGRESS = WM_USER + 20;

class CMainDlg : public CSkinDialog, public COrganizeJob {
 public:
  explicit CMainDlg(HWND parent = nullptr);
  ~CMainDlg() override;

  // Takes back the job recorded in `journalPath` on the worker thread, with the organize job's
  // progress, stop button and summary; records left alone go to errorFile.txt, which opens in
  // the editor as after a failed job. False (nothing started) while a job runs or without a
  // journal.
  bool StartUndo(const std::string& journalPath);
  // The path named on the command line, taken as the photo folder when the window opens.
  void TakeFolderWhenOpen(std::string path) { m_strPathAtOpen = std::move(path); }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  COLORREF TextColour(int id) const override;
  void OnDestroy() override;
  void OnDpiLayout() override;

  // Worker side of the job (called on the worker thread).
  void PostOrganizeProgress() override;
  void OnOrganizeFinished() override;
  void OnFailureFileWritten(const std::string& path) override;
  void OnFolderUnread(const std::string& text) override;
  // The core's summary, and the count of folders that could not be read.
  std::string SummaryText() const override;

 private:
  void InitSkin();
  // Loads the skin and the image buttons for the window's DPI and places every control.
  void LayOut();
  bool OnSysCommand(WPARAM id);
  bool OnPaint();
  bool OnCommand(WORD id, WORD code);
  // The session ends: the process goes once this returns, without WM_DESTROY.
  void OnEndSession();
  // A second start of the program handed over its command-line arguments.
  void OnHandOver(const std::string& arguments);
  // A path named on a command line: its folder becomes the photo folder, after the job if one
  // runs; a path that names nothing leaves the folder, and the message area says why.
  void TakeNamedFolder(const std::string& path);
  // Files or folders dropped on the window: the folder of the first that names one (a file
  // stands for its folder) becomes the output folder when dropped on its button or path, else
  // the photo folder. Nothing during a job.
  void OnDropFiles(HDROP drop);
  // Makes `folder` the photo or output folder (`labelId` its path's label), as the picker would.
  void TakeFolder(int labelId, const std::string& folder);
  // The window shows or keeps a folder path that changed in `labelId`'s label.
  void OnFolderChanged(int labelId);

  void OnBtnPhotoDir();
  void OnBtnOutputDir();
  void OnBtnOrganize();
  void OnBtnStop();
  void OnBtnClose();
  void OnBtnMin();
  void OnBtnAbout();
  void OnBtnOptions();
  void OnBtnOpenOutput();
  LRESULT OnOrganizeProgress();
  void OnProgressRestTimer();
  // Writes the job state into the controls; after a walk, brings the buttons back.
  void ShowJobState();

  // Copies the settings and options of theConfig into the job; with KeepJournal set, opens a
  // new journal for it. When that cannot be opened, asks whether to go on without one; false
  // when the user said no.
  bool PrepareJob();
  // After a job whose journal could not be written to its end: says so.
  void WarnOfUnfinishedJournal();
  // Copies the window's values into theConfig, which writes them to Config.ini.
  void HandBackSettings();
  // Disables the organize button, shows stop and starts `work` on the worker thread.
  void StartWorker(std::function<void()> work);
  // Runs the folder picker for one of the two folders; true when `path` was replaced.
  bool PickFolder(const char* prompt, std::string& path);
  // Repaints the skin under a transparent static whose text changed.
  void InvalidateControl(int id);
  // Stops a running walk and waits for the worker to end.
  void JoinWorker();

  int m_nSkinWidth = 0;
  int m_nSkinHeight = 0;
  PngButton m_btnAbout;
  PngButton m_btnStop;
  CDimmingPngButton m_btnOptions;  // greyed during a job
  PngButton m_btnOutputDir;
  PngButton m_btnPhotoDir;
  PngButton m_btnMin;
  PngButton m_btnClose;
  PngButton m_btnOrganize;
  PngButton m_btnOpenOutput;  // after a job that placed anything
  CPathLabel m_lblPathSrc;
  CPathLabel m_lblPathTar;
  HICON m_hIcon = nullptr;        // shared icon from the program's resources
  std::string m_strInstanceKey;   // marks this window as the running one of its program folder
  std::string m_strPathAtOpen;    // named on the command line
  std::string m_strPathAfterJob;  // handed over by a second start during a job

  static constexpr UINT_PTR kProgressRestTimer = 1;
  static constexpr UINT kProgressRestMs = 20;

  std::thread m_worker;
  std::unique_ptr<OrganizeJournal> m_journal;  // the running job's, with KeepJournal
  std::string m_strJournalPath;
  // Set from a post until the window has shown it and rested: the worker posts only when it is
  // clear, so the queue never fills and the last post is never refused.
  std::atomic<bool> m_bProgressPosted{false};
  // Set by the worker when the walk has ended; the window thread then brings the buttons back.
  std::atomic<bool> m_bJobEnded{false};

  // The running job's progress for the taskbar button: its files counted on a thread of their
  // own (organize jobs only), and what the worker has handled and whether anything failed.
  JobTaskbar m_taskbar;
  std::optional<FileCounter> m_counter;
  std::atomic<int> m_nHandledFiles{0};
  std::atomic<bool> m_bAnyFailed{false};
  // The output folder of the running organize job (empty for an undo), which the open button
  // shows once the job has placed anything.
  std::string m_strJobOutput;
  std::string m_strOpenOutput;
};
