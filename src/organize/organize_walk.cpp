// The organize walk: visits a folder tree depth first and files every photo and video that
// passes the filter into a date folder under the job's target, by copy or move.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "metadata/media_date.h"
#include "metadata/photo_date.h"
#include "organize/job_count.h"
#include "organize/ordered_pool.h"
#include "organize/organize_job.h"
#include "organize/organize_journal.h"
#include "organize/unread_folder.h"
#include "platform/file_ops.h"
#include "platform/folder_bounds.h"
#include "platform/folder_names.h"
#include "platform/platform.h"

namespace {

constexpr char kSep = platform::kPathSeparator;  // wherever a path needs a separator
constexpr char kRawFolderName[] = "RAW";         // below a day, with rawFolder

// A date from a photo is file data, not a path. Texts that could name a folder outside the
// date folder's parent (a separator, "." or "..", or only dots and blanks, which Windows
// trims to nothing), or that the platform will not take as a folder's name (a Windows
// device such as NUL), are not used; the file then goes by its own date.
bool IsUsableDateText(const std::string& date) {
  if (date.find_first_of("\\/") != std::string::npos) {
    return false;
  }
  return date.find_first_not_of(". ") != std::string::npos && platform::IsPlainFolderName(date);
}

// The local calendar day of a file time; a time that cannot be converted counts as the
// file-time epoch, 1601-01-01.
platform::LocalDate LocalDayOf(platform::FileTime written) {
  platform::LocalDate date;
  if (!platform::LocalDateOfFileTime(written, &date)) {
    date = platform::LocalDate{1601, 1, 1};
  }
  return date;
}

std::string YearText(const platform::LocalDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", date.year);
  return text;
}

std::string DayText(const platform::LocalDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// The day of a file of a raw pair that holds no date of its own (`own` is its name's day or
// none): the day inside its partner; else, for the raw file, its photo's name or last change.
MediaDay DayOfPair(const std::string& folder, const std::string& name, const std::string& partner,
                   const MediaDay& own) {
  const MediaDay theirs = FindContentDay(folder + partner);
  if (theirs.source != DaySource::kNone) {
    return MediaDay{theirs.day, DaySource::kRawPair};
  }
  platform::FileInfo info;
  if (IsRawPhotoName(name) && own.source == DaySource::kNone &&
      platform::ReadFileInfo(folder + partner, &info)) {
    return MediaDay{LocalDayOf(info.lastWrite), DaySource::kRawPair};
  }
  return own;  // the photo's own name or last change; the raw file's name gives the same day
}

// The day text found in the file `name` of `folder`, its raw `partner` (if any) or its name, and
// its source; empty (source kFileDate) when only the file's own date is left. The file is read
// through `listing`, standing on its entry, when given, else through `held` when open, else by
// its path.
std::string DateOfEntry(const platform::FolderListing* listing, const std::string& folder,
                        const std::string& name, const platform::HeldFile& held,
                        bool readMediaDates, const std::string* partner, DaySource* source) {
  *source = DaySource::kFileDate;
  if (!readMediaDates) {
    return listing != nullptr ? GetPhotoDate(*listing) : GetPhotoDate(folder + name, &held);
  }
  MediaDay found =
      listing != nullptr ? FindMediaDay(*listing, folder) : FindMediaDay(folder + name, &held);
  if (partner != nullptr &&
      (found.source == DaySource::kNone || found.source == DaySource::kName)) {
    found = DayOfPair(folder, name, *partner, found);
  }
  if (found.source == DaySource::kNone) {
    return {};
  }
  *source = found.source;
  return DayText(found.day);
}

// The year, month and day texts of a date text "Y-M-D" (the day is all after the second '-'),
// each usable as a folder name on its own. False when the text has no such three parts.
bool SplitDate(const std::string& date, std::string parts[3]) {
  const std::size_t first = date.find('-');
  const std::size_t second = first == std::string::npos ? first : date.find('-', first + 1);
  if (second == std::string::npos) {
    return false;
  }
  parts[0] = date.substr(0, first);
  parts[1] = date.substr(first + 1, second - first - 1);
  parts[2] = date.substr(second + 1);
  return IsUsableDateText(parts[0]) && IsUsableDateText(parts[1]) && IsUsableDateText(parts[2]);
}

// The folders, from the target down, that a file with the (usable or empty) date text `date`
// goes into; `localDay` gives the file's own day when the date text cannot serve.
template <typename LocalDay>
std::vector<std::string> LayoutFolders(FolderLayout layout, std::string date, LocalDay localDay) {
  if (layout == FolderLayout::kDay) {
    return {date.empty() ? DayText(localDay()) : date};
  }
  if (layout == FolderLayout::kYearDay) {
    std::string year = date.substr(0, date.find('-'));
    if (year.empty()) {
      // No year in the photo's date: the file's own local day gives both texts.
      const platform::LocalDate local = localDay();
      year = YearText(local);
      date = DayText(local);
    }
    return {year + "年", date};
  }
  // The other layouts take the date apart: one that does not split goes by the file's day.
  std::string parts[3];
  if (!SplitDate(date, parts)) {
    SplitDate(DayText(localDay()), parts);
  }
  const std::string& year = parts[0];
  switch (layout) {
    case FolderLayout::kYearMonthDay:
      return {year + "年", parts[1] + "月", year + "-" + parts[1] + "-" + parts[2]};
    case FolderLayout::kYearMonth:
      return {year + "年", year + "-" + parts[1]};
    default:
      return {year, parts[1], parts[2]};
  }
}

// The local day of the file at `path` when it has no usable date; read by `listing`, which
// stands on its entry, when given.
platform::LocalDate LocalDayOfFile(const platform::FolderListing* listing,
                                   const std::string& path) {
  return LocalDayOf(listing != nullptr ? listing->LastWriteTime()
                                       : platform::EntryLastWriteTime(path));
}

// Tasks in flight per worker: enough that the workers keep busy while a large file holds up
// the report of those behind it.
constexpr int kTasksPerJob = 16;

}  // namespace

// A main file and its sidecars as a task of the pool. Run at once on the walk's thread (given
// the listing), it is the file in hand, finished whatever comes; run by workers, ahead of the
// walk, it begins nothing once the job is stopped: no read, no placing.
class COrganizeJob::FileTask : public OrderedTask {
 public:
  FileTask(COrganizeJob& job, const platform::FolderListing* listing)
      : job_(job), listing_(listing), ahead_(listing == nullptr) {}

  void Prepare() override {
    if (!Stopped()) {
      job_.PlanGroup(group, listing_);
    }
    listing_ = nullptr;  // the walk has moved on
  }
  const std::string& Where() const override { return group.folder; }
  bool Admit(std::vector<std::string>* keys) override {
    if (Stopped()) {
      return false;
    }
    job_.AdmitGroup(group, keys);
    return true;
  }
  void CarryOut() override {
    placed_ = !Stopped();
    if (placed_) {
      job_.PlaceGroup(group);
    }
  }
  void Finish() override {
    if (placed_) {
      job_.ReportGroup(group);
    }
  }

  FileGroup group;

 private:
  bool Stopped() const { return ahead_ && !job_.m_bRunning; }

  COrganizeJob& job_;
  const platform::FolderListing* listing_;
  const bool ahead_;
  bool placed_ = false;
};

// A folder that could not be read, reported in its place among the files.
class COrganizeJob::NoticeTask : public OrderedTask {
 public:
  NoticeTask(COrganizeJob& job, std::string text) : job_(job), text_(std::move(text)) {}
  void Prepare() override {}
  bool Admit(std::vector<std::string>*) override { return true; }
  void CarryOut() override {}
  void Finish() override {
    ++job_.m_nUnreadFolders;
    job_.OnFolderUnread(text_);
  }

 private:
  COrganizeJob& job_;
  std::string text_;
};

void COrganizeJob::OrganizeFolder(std::string path) {
  if (!path.empty() && path.back() != kSep) {
    path += kSep;
  }
  if (!m_bRunning) {
    return;
  }
  const int jobs =
      m_settings.jobs > 0 ? std::min(m_settings.jobs, kMaxJobs) : AutomaticJobs(path, m_jobTarget);
  OrderedPool pool(jobs > 1 ? jobs : 0, static_cast<std::size_t>(kTasksPerJob * jobs));
  m_pool = &pool;
  platform::FolderListing listing(path);
  WalkFolder(path, listing, false);
  pool.FinishAll();
  m_pool = nullptr;
}

void COrganizeJob::WalkFolder(const std::string& path, platform::FolderListing& listing,
                              bool hiddenBySystem) {
  if (!listing.IsOpen()) {
    ReportUnreadFolder(path, listing, hiddenBySystem);
    return;
  }
  // A folder reached a second time (through a link back into the tree) is not walked again,
  // so the walk ends on every tree; nor is the target, which the walk fills, by any path.
  if (!m_walkedFolders.Enter(listing)) {
    return;
  }
  // Sidecars are placed right after their main file, and a raw file's day may depend on its
  // photo's, so the folder's names are grouped first.
  const FolderFiles files(path, m_settings.fileFilters, m_settings.sidecars,
                          m_settings.readMediaDates);

  std::string lowerSource;
  do {
    const std::string& name = listing.Name();
    if (IsSkippedEntry(name)) {
      continue;
    }
    if (listing.IsFolder()) {
      // Opened by its name in this folder's open listing: the cost stays the same at any depth.
      if (m_bRunning) {
        std::string folder = path + name + kSep;
        if (listing.IsLink()) {
          folder = ThroughLink(folder);
        }
        platform::FolderListing below(listing, name, folder);
        WalkFolder(folder, below, listing.IsHiddenSystem());
      }
      continue;
    }
    // The lower-cased path is filtered and shown; the real one names the file, since a
    // case-sensitive file system knows the file only under that name.
    lowerSource = platform::ToLower(path + name);
    if (files.IsMainFile(lowerSource, name)) {
      AddFile(path, lowerSource, listing, files);
    }
  } while (listing.Next() && m_bRunning);
  // A listing that broke off leaves the rest of the folder unseen.
  ReportUnreadFolder(path, listing, hiddenBySystem);
}

void COrganizeJob::AddFile(const std::string& path, const std::string& lowerSource,
                           const platform::FolderListing& listing, const FolderFiles& files) {
  const std::string& name = listing.Name();
  // Without workers the task runs at once, while the listing still stands on the file.
  auto task = std::make_unique<FileTask>(*this, m_pool->HasWorkers() ? nullptr : &listing);
  FileGroup& group = task->group;
  group.folder = path;
  if (const std::string* partner = files.PartnerOf(name)) {
    group.partner = *partner;
  }
  group.sidecars = files.SidecarsOf(name);
  group.files.resize(1 + group.sidecars.size());
  for (std::size_t i = 0; i < group.files.size(); ++i) {
    Placement& file = group.files[i];
    file.name = i == 0 ? name : group.sidecars[i - 1].name;
    file.source = path + file.name;
    file.lowerSource = i == 0 ? lowerSource : platform::ToLower(file.source);
  }
  m_pool->Add(std::move(task));
}

void COrganizeJob::ReportUnreadFolder(const std::string& path,
                                      const platform::FolderListing& listing, bool hiddenBySystem) {
  // Folders the system keeps from users (at a drive's root) are passed over quietly, so that
  // organizing a whole drive does not report them every time.
  if (listing.Error() == platform::ListingError::kNone || hiddenBySystem) {
    return;
  }
  m_pool->Add(std::make_unique<NoticeTask>(
      *this, UnreadFolderText(path, listing.Error(), listing.ErrorCode())));
}

void COrganizeJob::PlanGroup(FileGroup& group, const platform::FolderListing* listing) const {
  const Placement& main = group.files.front();
  // A worker keeps a copy's file open for its copy: a share is asked to open it once.
  if (listing == nullptr && !m_bDryRun && !m_jobDeleteSrc) {
    group.held.Open(main.source);
  }
  std::string date =
      DateOfEntry(listing, group.folder, main.name, group.held, m_settings.readMediaDates,
                  group.partner.empty() ? nullptr : &group.partner, &group.daySource);
  if (!IsUsableDateText(date)) {
    date.clear();
  }
  const std::vector<std::string> levels = LayoutFolders(
      m_settings.EffectiveLayout(), date, [&] { return LocalDayOfFile(listing, main.source); });
  std::string folder = m_jobTarget;
  for (const std::string& level : levels) {
    folder.append(level).push_back(kSep);
    group.folders.push_back(folder);
  }
  if (m_settings.rawFolder && IsRawPhotoName(main.name)) {
    folder.append(kRawFolderName).push_back(kSep);
    group.folders.push_back(folder);
  }
}

std::string COrganizeJob::ThroughLink(const std::string& folder) {
  const std::string real = platform::RealFolderPath(folder);
  if (real.empty()) {
    return folder;  // a link that cannot be resolved cannot be listed either: it is reported
  }
  if (m_realSource.empty()) {
    m_realSource = platform::RealFolderPath(m_jobSource);
  }
  std::string source = m_jobSource;
  if (source.empty() || source.back() != kSep) {
    source += kSep;
  }
  if (!m_realSource.empty() && real == m_realSource) {
    return source;
  }
  if (!m_realSource.empty() && platform::IsBelowFolder(real, m_realSource)) {
    // What follows the real photo folder (whose text ends with a separator at a drive's root)
    // and one separator.
    std::size_t start = m_realSource.size();
    while (start > 0 && platform::path_syntax::IsSeparator(m_realSource[start - 1])) {
      --start;
    }
    return source + real.substr(start + 1) + kSep;
  }
  return real + kSep;
}

void COrganizeJob::CreateFolderIfMissing(const std::string& folder) {
  // A dry run creates nothing; a folder that cannot be created shows as a failed transfer.
  if (m_bDryRun || platform::PathExists(folder)) {
    return;
  }
  // Made and noted at once, so that a worker that finds the folder made by another, and any
  // report after it, also finds the note.
  std::lock_guard<std::mutex> lock(m_folderMutex);
  if (!platform::PathExists(folder) && m_guard.CreateFolder(folder) == GuardedChange::kDone &&
      m_pJournal != nullptr) {
    ++m_unjournaledFolders[folder];
  }
}

bool COrganizeJob::TransferFile(Placement& file, const platform::HeldFile* held) {
  GuardedChange result;
  if (m_bDryRun) {
    result = m_jobDeleteSrc ? m_guard.CheckMove(file.source, file.destination)
                            : m_guard.CheckMake(file.destination);
    // Succeeds as the real operation would: the destination is free on disk and no earlier
    // file of this dry run was promised it.
    if (result == GuardedChange::kDone) {
      std::lock_guard<std::mutex> lock(m_dryRunMutex);
      return !platform::PathExists(file.destination) &&
             m_dryRunPlaced.insert(PathKey(file.destination)).second;
    }
  } else {
    result = m_jobDeleteSrc ? m_guard.Move(file.source, file.destination)
                            : m_guard.Copy(file.source, file.destination, held);
  }
  if (result == GuardedChange::kOutsideSource) {
    file.refusal = "已拒绝, 文件不在照片目录内: " + file.source;
  } else if (result == GuardedChange::kOutsideTarget) {
    file.refusal = "已拒绝, 位置不在输出目录内: " + file.destination;
  }
  return result == GuardedChange::kDone;
}
