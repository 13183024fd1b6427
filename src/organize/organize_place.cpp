// Placing one file under its name in the day folder: the clash renames and the identical-file
// check around the copy or move, the message and counts of each outcome, the journal record,
// and the sidecars that follow a main file.
#include <string>
#include <vector>

#include "organize/clash_names.h"
#include "organize/organize_job.h"
#include "organize/organize_journal.h"
#include "organize/same_content.h"
#include "organize/sidecar_groups.h"
#include "platform/platform.h"

namespace {

// The highest "(N)" tried before a file counts as failed.
constexpr int kMaxClashNumber = 9999;

}  // namespace

COrganizeJob::PlaceResult COrganizeJob::PlaceAs(const std::string& name, bool mayRename) {
  // The first time the job writes into a day folder, temporaries that a killed run left
  // there go: hidden from the user, they would take room for good.
  if (!m_bDryRun && m_cleanedFolders.insert(m_dateFolder).second) {
    m_guard.RemoveStaleTemporaries(m_dateFolder);
  }
  m_refusal.clear();
  for (int number = 0; number <= kMaxClashNumber; ++number) {
    m_destination.assign(m_dateFolder).append(number == 0 ? name : ClashName(name, number));
    // The no-overwrite copy or move is the check for a free name: two jobs into one target
    // never both get the same one.
    if (TransferFile()) {
      return PlaceResult::kPlaced;
    }
    if (!m_refusal.empty() || (!m_settings.skipIdentical && !mayRename)) {
      return PlaceResult::kFailed;
    }
    const bool taken = platform::PathExists(m_destination) ||
                       (m_bDryRun && m_dryRunPlaced.count(PathKey(m_destination)) != 0);
    if (!taken) {
      return PlaceResult::kFailed;  // the name was free, yet the file could not be placed
    }
    if (m_settings.skipIdentical && HaveSameContent(m_source, m_destination)) {
      return PlaceResult::kIdentical;
    }
    if (!mayRename) {
      return PlaceResult::kFailed;
    }
  }
  return PlaceResult::kFailed;
}

void COrganizeJob::ReportPlacement(PlaceResult result, const std::string& lowerSource,
                                   const std::string& name, const char* daySource) {
  m_lastResult = result;
  const char* verb = m_jobDeleteSrc ? "移动" : "复制";
  m_messageBuf.clear();
  if (result == PlaceResult::kIdentical) {
    // Already in place: neither placed nor failed; a move leaves its source where it is.
    ++m_nIdenticalCount;
    m_messageBuf.append("已存在相同文件: ")
        .append(lowerSource)
        .append(" -> ")
        .append(m_destination)
        .append("\r\n");
  } else if (result == PlaceResult::kPlaced) {
    ++m_nFileCount;
    m_messageBuf.append(verb)
        .append("文件(")
        .append(std::to_string(m_nFileCount))
        .append("): ")
        .append(lowerSource)
        .append("\r\n\r\n")
        .append(verb)
        .append("到: ")
        .append(m_destination)
        .append("\r\n");
    const std::string finalName = m_destination.substr(m_dateFolder.size());
    if (finalName != name) {
      m_messageBuf.append("重名, 改名为: ").append(finalName).append("\r\n");
    }
    if (m_pJournal != nullptr && !m_bDryRun) {
      m_pJournal->RecordPlaced(m_jobDeleteSrc, m_source, m_destination);
    }
  } else {
    ++m_nFileCount;
    ++m_nFailCount;
    m_messageBuf.append(verb)
        .append("文件失败: ")
        .append(lowerSource)
        .append(" -> ")
        .append(m_destination)
        .append("\r\n");
    if (!m_refusal.empty()) {
      m_messageBuf.append(m_refusal).append("\r\n");
    }
    m_strErrors += m_messageBuf;
  }
  if (daySource != nullptr) {
    m_messageBuf.append("日期来源: ").append(daySource).append("\r\n");
  }
  PublishMessage();
  PostOrganizeProgress();
}

void COrganizeJob::PlaceSidecars(const FolderFiles& files, const std::string& folder,
                                 const std::string& mainName) {
  const std::vector<Sidecar>& sidecars = files.SidecarsOf(mainName);
  if (sidecars.empty()) {
    return;
  }
  // The sidecars belong to the file in hand: a stop request lets them follow it.
  const PlaceResult mainResult = m_lastResult;
  const std::string mainFinalName = m_destination.substr(m_dateFolder.size());
  for (const Sidecar& sidecar : sidecars) {
    m_source.assign(folder).append(sidecar.name);
    const std::string lowerSource = platform::ToLower(m_source);
    if (mainResult == PlaceResult::kFailed) {
      // Its main file stays where it is, and so does the sidecar: never on a day of its own.
      m_lastResult = PlaceResult::kFailed;
      ++m_nFileCount;
      ++m_nFailCount;
      m_messageBuf.assign("附属文件未处理 (主文件没有放好): ").append(lowerSource).append("\r\n");
      m_strErrors += m_messageBuf;
      PublishMessage();
      PostOrganizeProgress();
      continue;
    }
    ReportPlacement(PlaceAs(SidecarFinalName(sidecar, mainName, mainFinalName), false), lowerSource,
                    sidecar.name);
  }
}
