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

void COrganizeJob::AdmitGroup(FileGroup& group, std::vector<std::string>* keys) {
  // The first time the job writes into a day folder, temporaries that a killed run left
  // there go: hidden from the user, they would take room for good.
  group.cleanFirst = !m_bDryRun && m_cleanedFolders.insert(group.DayFolder()).second;
  if (keys != nullptr) {
    *keys = ClashKeys(group.DayFolder(), group.files.front().name, group.sidecars);
  }
}

void COrganizeJob::PlaceGroup(FileGroup& group) {
  for (const std::string& folder : group.folders) {
    CreateFolderIfMissing(folder);
  }
  const std::string& day = group.DayFolder();
  if (group.cleanFirst) {
    m_guard.RemoveStaleTemporaries(day);
  }
  Placement& main = group.files.front();
  main.result = PlaceAs(main, day, main.name, m_settings.renameClashes, &group.held);
  group.held.Close();  // here, not on the thread that reports: on a share a close waits too
  // The sidecars follow the main file's final name; when it failed, they stay with it, never
  // on a day of their own.
  const std::string mainFinalName = main.destination.substr(day.size());
  for (std::size_t i = 0; i < group.sidecars.size(); ++i) {
    Placement& sidecar = group.files[i + 1];
    sidecar.result =
        main.result == PlaceResult::kFailed
            ? PlaceResult::kLeftWithMain
            : PlaceAs(sidecar, day, SidecarFinalName(group.sidecars[i], main.name, mainFinalName),
                      false);
  }
}

COrganizeJob::PlaceResult COrganizeJob::PlaceAs(Placement& file, const std::string& dayFolder,
                                                const std::string& name, bool mayRename,
                                                const platform::HeldFile* held) {
  for (int number = 0; number <= kMaxClashNumber; ++number) {
    file.destination.assign(dayFolder).append(number == 0 ? name : ClashName(name, number));
    // The no-overwrite copy or move is the check for a free name: two jobs into one target
    // never both get the same one.
    if (TransferFile(file, held)) {
      if (m_pJournal != nullptr && !m_bDryRun) {
        platform::ReadFileInfo(file.destination, &file.placed);
      }
      return PlaceResult::kPlaced;
    }
    if (!file.refusal.empty() || (!m_settings.skipIdentical && !mayRename)) {
      return PlaceResult::kFailed;
    }
    bool taken = platform::PathExists(file.destination);
    if (!taken && m_bDryRun) {
      std::lock_guard<std::mutex> lock(m_dryRunMutex);
      taken = m_dryRunPlaced.count(PathKey(file.destination)) != 0;
    }
    if (!taken) {
      return PlaceResult::kFailed;  // the name was free, yet the file could not be placed
    }
    if (m_settings.skipIdentical && HaveSameContent(file.source, file.destination)) {
      return PlaceResult::kIdentical;
    }
    if (!mayRename) {
      return PlaceResult::kFailed;
    }
  }
  return PlaceResult::kFailed;
}

void COrganizeJob::ReportGroup(const FileGroup& group) {
  if (m_pJournal != nullptr && !m_bDryRun) {
    std::lock_guard<std::mutex> lock(m_folderMutex);
    for (const std::string& folder : group.folders) {
      const auto made = m_unjournaledFolders.find(folder);
      if (made != m_unjournaledFolders.end()) {
        m_pJournal->RecordFolder(folder);
        if (--made->second == 0) {
          m_unjournaledFolders.erase(made);
        }
      }
    }
  }
  // A dry run with media dates also says where each day came from.
  const char* daySource =
      m_bDryRun && m_settings.readMediaDates ? DaySourceLabel(group.daySource) : nullptr;
  for (const Placement& file : group.files) {
    ReportPlacement(file, group.DayFolder(), &file == &group.files.front() ? daySource : nullptr);
  }
}

void COrganizeJob::ReportPlacement(const Placement& file, const std::string& dayFolder,
                                   const char* daySource) {
  const char* verb = m_jobDeleteSrc ? "移动" : "复制";
  m_messageBuf.clear();
  if (file.result == PlaceResult::kIdentical) {
    // Already in place: neither placed nor failed; a move leaves its source where it is.
    ++m_nIdenticalCount;
    m_messageBuf.append("已存在相同文件: ")
        .append(file.lowerSource)
        .append(" -> ")
        .append(file.destination)
        .append("\r\n");
  } else if (file.result == PlaceResult::kPlaced) {
    ++m_nFileCount;
    m_messageBuf.append(verb)
        .append("文件(")
        .append(std::to_string(m_nFileCount))
        .append("): ")
        .append(file.lowerSource)
        .append("\r\n\r\n")
        .append(verb)
        .append("到: ")
        .append(file.destination)
        .append("\r\n");
    const std::string finalName = file.destination.substr(dayFolder.size());
    if (finalName != file.name) {
      m_messageBuf.append("重名, 改名为: ").append(finalName).append("\r\n");
    }
    if (m_pJournal != nullptr && !m_bDryRun) {
      m_pJournal->RecordPlaced(m_jobDeleteSrc, file.source, file.destination, &file.placed);
    }
  } else {
    ++m_nFileCount;
    ++m_nFailCount;
    if (file.result == PlaceResult::kLeftWithMain) {
      m_messageBuf.append("附属文件未处理 (主文件没有放好): ")
          .append(file.lowerSource)
          .append("\r\n");
    } else {
      m_messageBuf.append(verb)
          .append("文件失败: ")
          .append(file.lowerSource)
          .append(" -> ")
          .append(file.destination)
          .append("\r\n");
      if (!file.refusal.empty()) {
        m_messageBuf.append(file.refusal).append("\r\n");
      }
    }
    m_strErrors += m_messageBuf;
  }
  if (daySource != nullptr) {
    m_messageBuf.append("日期来源: ").append(daySource).append("\r\n");
  }
  PublishMessage();
  PostOrganizeProgress();
}
