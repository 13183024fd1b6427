// One organize job: its state, the recursive walk that files every photo and video under its
// day, the checks made before a start, the summary and the failure file. Portable: the main
// window derives from this class and the command-line tool drives it directly.
#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>

#include "organize/folder_guard.h"
#include "organize/folder_layout.h"
#include "organize/walk_rules.h"
#include "platform/platform.h"

class OrganizeJournal;

// Entries the walk passes over: hidden ones (a leading '.') and lock or temporary files
// (a leading '~'), including "." and "..".
inline bool IsSkippedEntry(const std::string& name) {
  return name.empty() || name[0] == '.' || name[0] == '~';
}

// The last three bytes of the lower-cased path, searched as plain text in the filter.
inline bool PassesFilter(const std::string& lowerPath, const std::string& filters) {
  const std::size_t tail = lowerPath.size() < 3 ? 0 : lowerPath.size() - 3;
  return filters.find(lowerPath.c_str() + tail, 0, lowerPath.size() - tail) != std::string::npos;
}

// Settings the walk reads for every file.
struct OrganizeSettings {
  std::string fileFilters = "jpg,avi,mov,mp4";  // searched as plain text, case-sensitive
  // The folders above each file. The flag names the two first layouts as older callers do:
  // false with the default layout gives FolderLayout::kDay. SetLayout keeps both in step.
  FolderLayout layout = FolderLayout::kYearDay;
  bool classifyByYear = true;  // year folders above the day folders
  bool skipIdentical = false;  // a taken name holding the same bytes counts as in place
  bool renameClashes = false;  // a taken name gives way to "name(1).ext", "name(2).ext", ...
  bool sidecars = false;       // .xmp/.aae/.thm files and live-photo videos follow their file
  // Days also from HEIF EXIF, video metadata and file names, and .jpeg files read as JPEGs;
  // a dry run then names each day's source.
  bool readMediaDates = false;
  bool rawFolder = false;  // raw photos go into a "RAW" folder below their day

  void SetLayout(FolderLayout chosen) {
    layout = chosen;
    classifyByYear = chosen != FolderLayout::kDay;
  }
  // The layout the walk uses.
  FolderLayout EffectiveLayout() const {
    return layout == FolderLayout::kYearDay && !classifyByYear ? FolderLayout::kDay : layout;
  }
};

class COrganizeJob {
 public:
  COrganizeJob() = default;
  virtual ~COrganizeJob() = default;
  COrganizeJob(const COrganizeJob&) = delete;
  COrganizeJob& operator=(const COrganizeJob&) = delete;

  // Organize job state. The three folder/flag members are what the user chose; the walk
  // works on copies taken by BeginJob, so changing them during a run cannot reach it.
  int m_nFileCount = 0;  // files that passed the filter, placed or failed
  int m_nFailCount = 0;  // failed copies or moves
  // Files found already in place (same bytes under the name), counted apart from both.
  int m_nIdenticalCount = 0;
  // Folders that could not be listed (not counting those the system hides from users).
  int m_nUnreadFolders = 0;
  std::atomic<bool> m_bRunning{false};
  std::string m_strErrors;  // failure messages, in order; the summary is appended at the end
  bool m_bDeleteSrc = false;
  std::string m_strPathSrc;  // ends with the separator when chosen with its button
  std::string m_strPathTar;

  OrganizeSettings m_settings;
  bool m_bDryRun = false;  // decide and report every file, but change nothing on disk
  OrganizeJournal* m_pJournal = nullptr;  // when set, records created folders and placed files

  // The latest message: replaced by the walk per file and by the summary at the end; read by
  // another thread through LatestMessage().
  std::string LatestMessage() const;

  // The start checks, in order. Empty when the job may start, else the message to show.
  std::string CheckStart() const;

  // Resets counts, list and message, takes the walk's copies of the folders and the delete
  // flag, and sets the running flag. Call after CheckStart() found nothing.
  void BeginJob();

  // The worker's part: walks the source folder, makes the summary the latest message, clears
  // the running flag, calls OnOrganizeFinished() and PostOrganizeProgress(), and when any file
  // failed writes the failure list and summary to `failureFilePath` and calls
  // OnFailureFileWritten() with that path.
  void RunOrganize(const std::string& failureFilePath);

  // The worker's part of taking a job back from its journal (call BeginJob first): each record
  // undone or left alone becomes the latest message, the summary "撤销文件 N 个, 无法撤销 M 个"
  // ends it, and the records left alone go to the failure file as RunOrganize writes it. A
  // journal worked through to its end is marked undone (see MarkJournalUndone); one stopped
  // before is not, and the next undo of it takes back the rest.
  void RunUndo(const std::string& journalPath, const std::string& failureFilePath);

  // Clears the running flag: the file in hand finishes, no further entry is handled.
  void Stop() { m_bRunning = false; }

  // Files the walk has dealt with so far: placed, failed or found in place. A FileCounter
  // counts the same files ahead of the walk.
  int HandledCount() const { return m_nFileCount + m_nIdenticalCount; }

  // "\r\n\r\n整理文件 N 个, 失败 M 个", with skipIdentical followed by ", 已存在相同文件 K 个".
  // A front end may add lines of its own; the summary ends the failure file too.
  virtual std::string SummaryText() const;

  // Walks one folder (with or without a final separator) and all below it.
  void OrganizeFolder(std::string path);

 protected:
  // Called on the worker after each placed or failed file, and once after the summary.
  virtual void PostOrganizeProgress() {}
  // Called on the worker after the walk, once the summary is the latest message and the
  // running flag is clear (the window enables its organize button and hides stop here).
  virtual void OnOrganizeFinished() {}
  // Called on the worker after the failure file was written.
  virtual void OnFailureFileWritten(const std::string& /*path*/) {}
  // Called on the worker for each folder that could not be listed, or not to its end, with
  // "无法读取文件夹: PATH (reason)"; all below it stays where it is, uncounted. Not called
  // for folders that the system hides from users.
  virtual void OnFolderUnread(const std::string& /*text*/) {}

 private:
  // The end of a run: `summary` becomes the latest message, the running flag is cleared, and
  // when anything failed the list and summary go to the failure file.
  void FinishRun(const std::string& summary, const std::string& failureFilePath);
  // Places one file that passed the filter: `m_source` holds its real path, `lowerSource` the
  // lower-cased one shown in messages; `listing` stands on its entry in `folder`, whose
  // last-write time is read only when the file has no usable photo date (on Linux that costs a
  // stat); `partner` names the other file of its raw pair, if any.
  void PlaceFile(const std::string& lowerSource, const platform::FolderListing& listing,
                 const std::string& folder, const std::string* partner);
  // Walks the folder `path` (ending with the separator) through its `listing`, and all below.
  // `hiddenBySystem`: the folder is one the system hides from users, left quietly if unread.
  void WalkFolder(const std::string& path, platform::FolderListing& listing, bool hiddenBySystem);
  // Counts and reports `path` when `listing` failed to open or to read to its end.
  void ReportUnreadFolder(const std::string& path, const platform::FolderListing& listing,
                          bool hiddenBySystem);
  enum class PlaceResult { kPlaced, kIdentical, kFailed };
  // Places m_source into m_dateFolder as `name`; when that name is taken, the file counts as
  // in place if it holds the same bytes (with skipIdentical), else, if `mayRename`, the next
  // clash name is tried. m_destination holds the path last tried.
  PlaceResult PlaceAs(const std::string& name, bool mayRename);
  // Counts the outcome for the file `name`, records it in the journal, publishes its message,
  // which ends with the day's source when `daySource` is given.
  void ReportPlacement(PlaceResult result, const std::string& lowerSource, const std::string& name,
                       const char* daySource = nullptr);
  // Right after the main file `mainName` of `folder`: its sidecars, beside it.
  void PlaceSidecars(const FolderFiles& files, const std::string& folder,
                     const std::string& mainName);
  // Copies or moves m_source to m_destination through the guard; in a dry run only predicts
  // the outcome. A refusal leaves its reason in m_refusal.
  bool TransferFile();
  void CreateFolderIfMissing(const std::string& folder);
  // The path under which the walk goes on below the folder link `folder` (the path through
  // the link, ending with the separator): where the link really leads, so that the guard
  // judges the real place. A place below the photo folder keeps the photo folder's own path
  // in front.
  std::string ThroughLink(const std::string& folder);
  // Makes m_messageBuf the latest message (the old text's buffer is reused next time).
  void PublishMessage();
  void SetMessage(std::string message);
  // The text under which paths are compared (the destinations a dry run remembers, the
  // nesting of the two folders): names that the file system takes for the same file give the
  // same key.
  static std::string PathKey(const std::string& path);

  mutable std::mutex m_messageMutex;
  std::string m_strMessage;

  // The walk's own copies, taken by BeginJob.
  std::string m_jobSource;
  std::string m_jobTarget;
  bool m_jobDeleteSrc = false;
  WalkedFolders m_walkedFolders;  // folders already walked in this job, and the target
  // Files leave only the photo folder, files and folders are made only in the output folder.
  FolderGuard m_guard;
  std::string m_realSource;  // the photo folder with its links resolved, once a link needs it
  std::set<std::string> m_dryRunPlaced;  // destinations a dry run has promised
  std::set<std::string> m_cleanedFolders;  // day folders rid of stale temporaries in this job

  // Per-file scratch texts, reused from file to file so the walk allocates little.
  std::string m_source;       // real path of the file in hand
  std::string m_dateFolder;   // year folder, then date folder
  std::string m_destination;  // date folder followed by the name
  std::string m_messageBuf;   // message being formatted
  std::string m_refusal;      // why the guard refused the file in hand; empty when it did not
  // How the file handled last came out; its sidecars follow it.
  PlaceResult m_lastResult = PlaceResult::kFailed;
};
