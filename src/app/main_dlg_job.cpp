// The main window's organize job: folder buttons, start checks, the worker thread, stop,
// progress, and the hand-back of the settings when the window closes.
#include "app/main_dlg.h"

#include "folderpicker/folder_dialog.h"
#include "log/msgx.h"
#include "organize/app_config.h"
#include "organize/job_journals.h"
#include "platform/launch.h"
#include "resource.h"

bool CMainDlg::PickFolder(const char* prompt, std::string& path) {
  UpdateData(TRUE);
  CFolderDialog picker("浏览目录", prompt, path.c_str(), nullptr);
  if (picker.DoModal() != 1)
    return false;
  path = picker.GetPath() + platform::kPathSeparator;
  UpdateData(FALSE);
  return true;
}

void CMainDlg::OnBtnPhotoDir() {
  if (PickFolder("导入目录", m_strPathSrc))
    InvalidateControl(IDC_PATH_SRC);
}

void CMainDlg::OnBtnOutputDir() {
  if (PickFolder("保存目录", m_strPathTar))
    InvalidateControl(IDC_PATH_TAR);
}

void CMainDlg::OnBtnOrganize() {
  UpdateData(TRUE);
  const std::string refusal = CheckStart();
  if (!refusal.empty()) {
    MessageBoxA(m_hWnd, refusal.c_str(), "提示", MB_ICONINFORMATION);
    return;
  }
  // The organize button was disabled until the last walk ended; its worker may still be
  // writing the failure file from its own copy of the list.
  JoinWorker();
  PrepareJob();
  const std::string failureFile = theConfig.PathApp + "errorFile.txt";
  StartWorker([this, failureFile] { RunOrganize(failureFile); });
}

bool CMainDlg::StartUndo(const std::string& journalPath) {
  if (m_bRunning || journalPath.empty())
    return false;
  JoinWorker();
  m_pJournal = nullptr;
  m_journal.reset();
  const std::string failureFile = theConfig.PathApp + "errorFile.txt";
  StartWorker([this, journalPath, failureFile] { RunUndo(journalPath, failureFile); });
  return true;
}

void CMainDlg::PrepareJob() {
  m_settings.fileFilters = theConfig.FileFilters;
  m_settings.SetLayout(EffectiveLayout(theConfig.FolderLayout, theConfig.IsClassifyByYear));
  m_settings.readMediaDates = theConfig.ReadMediaDates != 0;
  m_settings.rawFolder = theConfig.RawFolder != 0;
  m_settings.skipIdentical = theConfig.SkipIdentical != 0;
  m_settings.renameClashes = theConfig.RenameClashes != 0;
  m_settings.sidecars = theConfig.Sidecars != 0;
  m_pJournal = nullptr;
  m_journal.reset();
  if (theConfig.KeepJournal != 0) {
    auto journal = std::make_unique<OrganizeJournal>();
    const std::string path = NewJobJournalPath(theConfig.PathApp);
    if (!path.empty() && journal->Open(path)) {
      m_journal = std::move(journal);
      m_pJournal = m_journal.get();
    }
  }
}

void CMainDlg::StartWorker(std::function<void()> work) {
  m_bJobEnded = false;
  BeginJob();
  EnableWindow(m_btnOrganize.m_hWnd, FALSE);
  ShowWindow(m_btnStop.m_hWnd, SW_SHOW);
  m_worker = std::thread(std::move(work));
}

void CMainDlg::OnBtnStop() {
  Stop();
  ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
}

void CMainDlg::PostOrganizeProgress() {
  if (!m_bProgressPosted.exchange(true))
    PostMessageA(m_hWnd, WM_ORGANIZE_PROGRESS, 0, 0);
}

void CMainDlg::OnOrganizeFinished() {
  m_bJobEnded = true;  // the next progress message brings the buttons back
}

void CMainDlg::OnFailureFileWritten(const std::string& path) {
  theConfig.LaunchFile("notepad.exe", path.c_str(), false, platform::kShowNormal, "open");
}

void CMainDlg::OnFolderUnread(const std::string& text) {
  // The window's message area and summary stay as they are; the diagnostic log keeps the
  // folder. (The logger takes no lock; on the window's thread it logs only at start-up and
  // when a skin image fails to load.)
  CMsgX::Log(text.c_str(), 2, __LINE__, "");
}

LRESULT CMainDlg::OnOrganizeProgress() {
  ShowJobState();
  // Posted messages come before input and painting, so a window that took one post after
  // another would neither repaint nor answer the pointer. The flag stays set for a short rest;
  // the timer, which comes after input and painting, then clears it and shows what came in
  // meanwhile, so the window still ends on the latest message.
  SetTimer(m_hWnd, kProgressRestTimer, kProgressRestMs, nullptr);
  return 0;
}

void CMainDlg::OnProgressRestTimer() {
  KillTimer(m_hWnd, kProgressRestTimer);
  m_bProgressPosted = false;
  ShowJobState();
}

void CMainDlg::ShowJobState() {
  if (m_bJobEnded.exchange(false)) {
    EnableWindow(m_btnOrganize.m_hWnd, TRUE);
    ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
  }
  UpdateData(FALSE);
  InvalidateControl(IDC_MESSAGE);
}

void CMainDlg::JoinWorker() {
  if (!m_worker.joinable())
    return;
  Stop();
  m_worker.join();
}

void CMainDlg::OnDestroy() {
  // A walk still running stops after the file in hand; the window goes only after it.
  JoinWorker();
  KillTimer(m_hWnd, kProgressRestTimer);
  theConfig.IsDeleteSrc = m_bDeleteSrc ? 1 : 0;
  theConfig.PathSrc = m_strPathSrc;
  theConfig.PathTar = m_strPathTar;
}
