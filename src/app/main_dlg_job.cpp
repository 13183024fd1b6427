// The main window's organize job: folder buttons, start checks, the worker thread, stop,
// progress (in the window and on its taskbar button), opening the result, and the hand-back of
// the settings when the window closes.
#include "app/main_dlg.h"

#include <utility>

#include "app/folder_argument.h"
#include "app/single_instance.h"
#include "folderpicker/folder_dialog.h"
#include "log/msgx.h"
#include "organize/app_config.h"
#include "organize/job_journals.h"
#include "organize/unread_folder.h"
#include "platform/launch.h"
#include "resource.h"

namespace {

// `folder` as Explorer's command line takes it: no final separator but at a drive's root (a
// quoted path ending in one would escape its closing quote), in quotes when it holds a blank.
std::string ExplorerArgument(std::string folder) {
  while (folder.size() > 1 && folder.back() == platform::kPathSeparator)
    folder.pop_back();
  if (folder.size() == 2 && folder[1] == ':')
    folder += platform::kPathSeparator;
  return folder.find(' ') == std::string::npos ? folder : "\"" + folder + "\"";
}

}  // namespace

bool CMainDlg::PickFolder(const char* prompt, std::string& path) {
  UpdateData(TRUE);
  CFolderDialog picker("浏览目录", prompt, path.c_str(), nullptr);
  if (picker.DoModal() != 1)
    return false;
  path = PickedFolderPath(picker.GetPath());
  UpdateData(FALSE);
  return true;
}

void CMainDlg::OnBtnPhotoDir() {
  if (PickFolder("导入目录", m_strPathSrc))
    OnFolderChanged(IDC_PATH_SRC);
}

void CMainDlg::OnBtnOutputDir() {
  if (PickFolder("保存目录", m_strPathTar))
    OnFolderChanged(IDC_PATH_TAR);
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
  if (!PrepareJob())
    return;
  const std::string failureFile = theConfig.PathApp + "errorFile.txt";
  m_counter.emplace(m_strPathSrc, m_strPathTar, m_settings);
  m_strJobOutput = m_strPathTar;
  StartWorker([this, failureFile] { RunOrganize(failureFile); });
}

bool CMainDlg::StartUndo(const std::string& journalPath) {
  if (m_bRunning || journalPath.empty())
    return false;
  JoinWorker();
  m_pJournal = nullptr;
  m_journal.reset();
  m_counter.reset();
  m_strJobOutput.clear();
  const std::string failureFile = theConfig.PathApp + "errorFile.txt";
  StartWorker([this, journalPath, failureFile] { RunUndo(journalPath, failureFile); });
  return true;
}

bool CMainDlg::PrepareJob() {
  m_settings.fileFilters = theConfig.FileFilters;
  m_settings.SetLayout(EffectiveLayout(theConfig.FolderLayout, theConfig.IsClassifyByYear));
  m_settings.readMediaDates = theConfig.ReadMediaDates != 0;
  m_settings.rawFolder = theConfig.RawFolder != 0;
  m_settings.skipIdentical = theConfig.SkipIdentical != 0;
  m_settings.renameClashes = theConfig.RenameClashes != 0;
  m_settings.sidecars = theConfig.Sidecars != 0;
  m_settings.jobs = theConfig.Jobs;
  m_pJournal = nullptr;
  m_journal.reset();
  m_strJournalPath.clear();
  if (theConfig.KeepJournal == 0)
    return true;
  auto journal = std::make_unique<OrganizeJournal>();
  const std::string path = NewJobJournalPath(theConfig.PathApp);
  if (!path.empty() && journal->Open(path)) {
    m_journal = std::move(journal);
    m_pJournal = m_journal.get();
    m_strJournalPath = path;
    return true;
  }
  // Nothing has moved yet: without a journal the job could not be taken back.
  const std::string question = "无法建立整理记录 (磁盘已满或没有权限):\r\n" +
                               (path.empty() ? JobJournalFolder(theConfig.PathApp) : path) +
                               "\r\n\r\n不记录也继续整理吗? 这次整理将不能撤销.";
  return MessageBoxA(m_hWnd, question.c_str(), "提示",
                     MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

void CMainDlg::WarnOfUnfinishedJournal() {
  if (!m_journal || !m_journal->Failed())
    return;
  const std::string warning = "整理记录没有写完整 (磁盘已满或没有权限):\r\n" + m_strJournalPath +
                              "\r\n\r\n撤销上次整理时, 没有记录下来的文件不会撤销.";
  m_pJournal = nullptr;
  m_journal.reset();  // said once
  MessageBoxA(m_hWnd, warning.c_str(), "提示", MB_ICONEXCLAMATION);
}

void CMainDlg::StartWorker(std::function<void()> work) {
  m_bJobEnded = false;
  m_nHandledFiles = 0;
  m_bAnyFailed = false;
  BeginJob();
  EnableWindow(m_btnOrganize.m_hWnd, FALSE);
  EnableWindow(m_btnOptions.m_hWnd, FALSE);
  ShowWindow(m_btnStop.m_hWnd, SW_SHOW);
  ShowWindow(m_btnOpenOutput.m_hWnd, SW_HIDE);
  m_taskbar.Begin(m_hWnd);
  m_worker = std::thread(std::move(work));
}

void CMainDlg::OnBtnStop() {
  Stop();
  ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
}

void CMainDlg::PostOrganizeProgress() {
  // The counts belong to the worker; the window reads these copies.
  m_nHandledFiles = m_nFileCount + m_nIdenticalCount;
  if (m_nFailCount > 0)
    m_bAnyFailed = true;
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
  // Listed with the failed files, so the failure file opens after the job; the summary counts
  // the folders. (The logger takes no lock; on the window's thread it logs only at start-up
  // and when a skin image fails to load.)
  m_strErrors.append(text).append("\r\n");
  m_bAnyFailed = true;
  CMsgX::Log(text.c_str(), 2, __LINE__, "");
}

std::string CMainDlg::SummaryText() const {
  std::string summary = COrganizeJob::SummaryText();
  if (m_nUnreadFolders > 0)
    summary.append("\r\n").append(UnreadFoldersLine(m_nUnreadFolders));
  return summary;
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
  const bool ended = m_bJobEnded.exchange(false);
  if (ended || m_bRunning) {
    const bool countDone = m_counter && m_counter->Done();  // read first: then the count is final
    m_taskbar.Update(m_nHandledFiles, m_counter ? m_counter->Count() : 0, countDone, m_bAnyFailed);
  }
  if (ended) {
    EnableWindow(m_btnOrganize.m_hWnd, TRUE);
    EnableWindow(m_btnOptions.m_hWnd, TRUE);
    ShowWindow(m_btnStop.m_hWnd, SW_HIDE);
    m_counter.reset();
    m_taskbar.End(!IsIconic(m_hWnd) && GetAncestor(GetForegroundWindow(), GA_ROOTOWNER) == m_hWnd);
    // The worker has set the counts for good before it reported the end.
    if (!m_strJobOutput.empty() && m_nFileCount > m_nFailCount) {
      m_strOpenOutput = m_strJobOutput;
      ShowWindow(m_btnOpenOutput.m_hWnd, SW_SHOW);
    }
  }
  // Only the message: the folders and the tick are the user's, never rewritten by the job.
  SetDlgItemTextA(m_hWnd, IDC_MESSAGE, LatestMessage().c_str());
  InvalidateControl(IDC_MESSAGE);
  if (ended) {
    TakeNamedFolder(std::exchange(m_strPathAfterJob, std::string()));
    WarnOfUnfinishedJournal();
  }
}

// Opens the folder where the last job placed its files, with the launcher that opens the
// failure list.
void CMainDlg::OnBtnOpenOutput() {
  theConfig.LaunchFile("explorer.exe", ExplorerArgument(m_strOpenOutput).c_str(), false,
                       platform::kShowNormal, "open");
}

void CMainDlg::JoinWorker() {
  if (!m_worker.joinable())
    return;
  Stop();
  m_worker.join();
}

void CMainDlg::HandBackSettings() {
  theConfig.IsDeleteSrc = m_bDeleteSrc ? 1 : 0;
  theConfig.PathSrc = m_strPathSrc;
  theConfig.PathTar = m_strPathTar;
}

void CMainDlg::OnEndSession() {
  JoinWorker();
  HandBackSettings();
  theConfig.SaveConfig();
}

void CMainDlg::OnDestroy() {
  // A walk still running stops after the file in hand; the window goes only after it.
  JoinWorker();
  KillTimer(m_hWnd, kProgressRestTimer);
  instance::Unmark(m_hWnd, m_strInstanceKey);
  HandBackSettings();
}
