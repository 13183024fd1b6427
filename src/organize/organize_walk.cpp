// The organize walk: visits a folder tree depth first and files every photo and video that
// passes the filter into a date folder under the job's target, by copy or move.
#include <cstdio>
#include <string>
#include <vector>

#include "metadata/media_date.h"
#include "metadata/photo_date.h"
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

// The day text found in the file, its partner or its name, and its source; empty (source
// kFileDate) when only the file's own date is left.
std::string DateOfEntry(const platform::FolderListing& listing, const std::string& folder,
                        bool readMediaDates, const std::string* partner, DaySource* source) {
  *source = DaySource::kFileDate;
  if (!readMediaDates) {
    return GetPhotoDate(listing);
  }
  MediaDay found = FindMediaDay(listing, folder);
  if (partner != nullptr &&
      (found.source == DaySource::kNone || found.source == DaySource::kName)) {
    found = DayOfPair(folder, listing.Name(), *partner, found);
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

}  // namespace

void COrganizeJob::OrganizeFolder(std::string path) {
  if (!path.empty() && path.back() != kSep) {
    path += kSep;
  }
  if (!m_bRunning) {
    return;
  }
  platform::FolderListing listing(path);
  WalkFolder(path, listing, false);
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
    m_source.assign(path).append(name);
    const std::string lowerSource = platform::ToLower(m_source);
    if (files.IsMainFile(lowerSource, name)) {
      PlaceFile(lowerSource, listing, path, files.PartnerOf(name));
      PlaceSidecars(files, path, name);
    }
  } while (listing.Next() && m_bRunning);
  // A listing that broke off leaves the rest of the folder unseen.
  ReportUnreadFolder(path, listing, hiddenBySystem);
}

void COrganizeJob::ReportUnreadFolder(const std::string& path,
                                      const platform::FolderListing& listing, bool hiddenBySystem) {
  // Folders the system keeps from users (at a drive's root) are passed over quietly, so that
  // organizing a whole drive does not report them every time.
  if (listing.Error() == platform::ListingError::kNone || hiddenBySystem) {
    return;
  }
  ++m_nUnreadFolders;
  OnFolderUnread(UnreadFolderText(path, listing.Error(), listing.ErrorCode()));
}

void COrganizeJob::PlaceFile(const std::string& lowerSource, const platform::FolderListing& listing,
                             const std::string& folder, const std::string* partner) {
  DaySource source;
  std::string date = DateOfEntry(listing, folder, m_settings.readMediaDates, partner, &source);
  if (!IsUsableDateText(date)) {
    date.clear();
  }

  // Each folder level but the last is created here, the last one below.
  m_dateFolder.assign(m_jobTarget);
  const std::vector<std::string> levels =
      LayoutFolders(m_settings.EffectiveLayout(), date,
                    [&listing] { return LocalDayOf(listing.LastWriteTime()); });
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (i != 0) {
      CreateFolderIfMissing(m_dateFolder);
    }
    m_dateFolder.append(levels[i]).push_back(kSep);
  }
  if (m_settings.rawFolder && IsRawPhotoName(listing.Name())) {
    CreateFolderIfMissing(m_dateFolder);
    m_dateFolder.append(kRawFolderName).push_back(kSep);
  }

  CreateFolderIfMissing(m_dateFolder);
  // A dry run with media dates also says where each day came from.
  const char* daySource = m_bDryRun && m_settings.readMediaDates ? DaySourceLabel(source) : nullptr;
  ReportPlacement(PlaceAs(listing.Name(), m_settings.renameClashes), lowerSource, listing.Name(),
                  daySource);
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
  if (!m_bDryRun && !platform::PathExists(folder) &&
      m_guard.CreateFolder(folder) == GuardedChange::kDone && m_pJournal != nullptr) {
    m_pJournal->RecordFolder(folder);
  }
}

bool COrganizeJob::TransferFile() {
  GuardedChange result;
  if (m_bDryRun) {
    result = m_jobDeleteSrc ? m_guard.CheckMove(m_source, m_destination)
                            : m_guard.CheckMake(m_destination);
    // Succeeds as the real operation would: the destination is free on disk and no earlier
    // file of this dry run was promised it.
    if (result == GuardedChange::kDone) {
      return !platform::PathExists(m_destination) &&
             m_dryRunPlaced.insert(PathKey(m_destination)).second;
    }
  } else {
    result = m_jobDeleteSrc ? m_guard.Move(m_source, m_destination)
                            : m_guard.Copy(m_source, m_destination);
  }
  if (result == GuardedChange::kOutsideSource) {
    m_refusal = "已拒绝, 文件不在照片目录内: " + m_source;
  } else if (result == GuardedChange::kOutsideTarget) {
    m_refusal = "已拒绝, 位置不在输出目录内: " + m_destination;
  }
  return result == GuardedChange::kDone;
}
