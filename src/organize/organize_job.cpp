// Job control of COrganizeJob: the start checks, the reset at a start, the worker's run with
// its summary, and the failure file.
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "organize/organize_job.h"
#include "organize/organize_journal.h"
#include "platform/platform.h"

namespace {

// Writes `text` to `path`, creating or truncating the file, after a UTF-8 byte-order mark: an
// editor that does not guess UTF-8 would read the Chinese lines in its own code page. No line
// break added. False when the file cannot be opened or written.
bool WriteFailureFile(const std::string& path, const std::string& text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    return false;
  }
  static constexpr char kMark[] = "\xEF\xBB\xBF";
  const bool written = std::fwrite(kMark, 1, 3, file.get()) == 3 &&
                       std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  return std::fclose(file.release()) == 0 && written;
}

}  // namespace

std::string COrganizeJob::LatestMessage() const {
  std::lock_guard<std::mutex> lock(m_messageMutex);
  return m_strMessage;
}

void COrganizeJob::SetMessage(std::string message) {
  std::lock_guard<std::mutex> lock(m_messageMutex);
  m_strMessage = std::move(message);
}

void COrganizeJob::PublishMessage() {
  std::lock_guard<std::mutex> lock(m_messageMutex);
  m_strMessage.swap(m_messageBuf);
}

std::string COrganizeJob::CheckStart() const {
  if (m_strPathTar.empty() || m_strPathSrc.empty()) {
    return "请先选择目录.";
  }
  // Lower-casing touches only ASCII letters, so multi-byte characters compare unchanged.
  if (platform::ToLower(m_strPathTar) == platform::ToLower(m_strPathSrc)) {
    return "照片目录和输出目录不能是同一个目录.";
  }
  // Nesting is a plain text search in both directions, with letter case where the file system
  // tells names by it.
  const std::string source = PathKey(m_strPathSrc);
  const std::string target = PathKey(m_strPathTar);
  constexpr char kNested[] = "照片目录和输出目录不能在是同一个目录内.";
  if (source.find(target) != std::string::npos || target.find(source) != std::string::npos) {
    return kNested;
  }
  if (!platform::PathExists(m_strPathTar)) {
    return "目录不存在:" + m_strPathTar;
  }
  if (!platform::PathExists(m_strPathSrc)) {
    return "目录不存在:" + m_strPathSrc;
  }
  // A source that lies in the target on disk all the same (through a link, say) is one the
  // walk never enters, as it keeps out of the target: nothing would be done, without a word.
  std::string sourceFolder = m_strPathSrc;
  if (sourceFolder.back() != platform::kPathSeparator) {
    sourceFolder += platform::kPathSeparator;
  }
  if (!WalkedFolders(m_strPathTar).Enter(platform::FolderListing(sourceFolder))) {
    return kNested;
  }
  return std::string();
}

std::string COrganizeJob::SummaryText() const {
  std::string summary = "\r\n\r\n整理文件 " + std::to_string(m_nFileCount) + " 个, 失败 " +
                        std::to_string(m_nFailCount) + " 个";
  if (m_settings.skipIdentical) {
    summary += ", 已存在相同文件 " + std::to_string(m_nIdenticalCount) + " 个";
  }
  return summary;
}

void COrganizeJob::BeginJob() {
  m_nFileCount = 0;
  m_nFailCount = 0;
  m_nIdenticalCount = 0;
  m_nUnreadFolders = 0;
  m_strErrors.clear();
  SetMessage(std::string());

  // The walk works on its own copies, so the window may change the chosen folders and the
  // delete flag while a job runs without reaching it.
  m_jobSource = m_strPathSrc;
  m_jobTarget = m_strPathTar;
  m_jobDeleteSrc = m_bDeleteSrc;
  // Names are appended to the target without a separator; a target lacking its final one
  // (a hand-edited setting) would otherwise put the folders beside it instead of inside.
  if (!m_jobTarget.empty() && m_jobTarget.back() != platform::kPathSeparator) {
    m_jobTarget += platform::kPathSeparator;
  }
  m_walkedFolders = WalkedFolders(m_jobTarget);
  m_guard = FolderGuard(m_jobSource, m_jobTarget);
  m_realSource.clear();
  m_dryRunPlaced.clear();
  m_cleanedFolders.clear();

  m_bRunning = true;
}

void COrganizeJob::RunOrganize(const std::string& failureFilePath) {
  // Without a target every folder would be made relative to the current folder.
  if (!m_jobTarget.empty()) {
    if (m_pJournal != nullptr && !m_bDryRun) {
      m_pJournal->RecordJob(m_jobSource, m_jobTarget);
    }
    OrganizeFolder(m_jobSource);
  }

  FinishRun(SummaryText(), failureFilePath);
}

void COrganizeJob::FinishRun(const std::string& summary, const std::string& failureFilePath) {
  SetMessage(summary);

  // The failure file gets its own copy of the list, taken before the running flag is
  // cleared: a job started right after may then reset m_strErrors while this worker writes.
  const bool anyFailure = m_strErrors.size() > 1;
  std::string failureText;
  if (anyFailure) {
    m_strErrors += summary;
    failureText = m_strErrors;
  }

  m_bRunning = false;
  OnOrganizeFinished();
  PostOrganizeProgress();

  // A dry run changes nothing on disk, the failure file included.
  if (anyFailure && !m_bDryRun && WriteFailureFile(failureFilePath, failureText)) {
    OnFailureFileWritten(failureFilePath);
  }
}
