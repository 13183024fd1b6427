// One organize job: its state, the recursive walk that files every photo and video under its
// day, the checks made before a start, the summary and the failure file. Portable: the main
// window derives from this class and the command-line tool drives it directly.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "metadata/media_date.h"
#include "organize/folder_guard.h"
#include "organize/folder_layout.h"
#include "organize/walk_rules.h"
#include "platform/file_ops.h"
#include "platform/platform.h"

class OrderedPool;
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
  // Files placed at once: their dates are read and they are copied or moved on this many
  // threads, while every decision and message keeps the order of one at a time. 1: one after
  // another on the walk's own thread; 0 (or less): as many as suit the two folders' disks;
  // at most kMaxJobs.
  int jobs = 1;

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
  enum class PlaceResult {
    kPlaced,
    kIdentical,
    kFailed,
    kLeftWithMain,  // a sidecar whose main file could not be placed stays where it is
  };
  // One file on its way into the target.
  struct Placement {
    std::string source;       // its real path
    std::string lowerSource;  // the lower-cased path shown in messages
    std::string name;         // its own name
    std::string destination;  // the path last tried
    std::string refusal;      // why the guard refused it; empty when it did not
    PlaceResult result = PlaceResult::kFailed;
    platform::FileInfo placed;  // size and last-write time where it was placed (journal)
  };
  // A file that passed the filter and the sidecars that follow it into its day folder: planned
  // (its day read), placed and reported together.
  struct FileGroup {
    std::string folder;   // the source folder, with its final separator
    std::string partner;  // the other file of the main file's raw pair; empty: none
    std::vector<std::string> folders;  // from below the target down to the day folder
    std::vector<Sidecar> sidecars;
    std::vector<Placement> files;  // the main file, then its sidecars
    DaySource daySource = DaySource::kFileDate;
    // On a worker, a copy's main file, open from the reading of its day until it is copied.
    platform::HeldFile held;
    bool cleanFirst = false;  // first into its day folder: temporaries left there go first
    const std::string& DayFolder() const { return folders.back(); }
  };
  class FileTask;
  class NoticeTask;

  // The end of a run: `summary` becomes the latest message, the running flag is cleared, and
  // when anything failed the list and summary go to the failure file.
  void FinishRun(const std::string& summary, const std::string& failureFilePath);
  // Walks the folder `path` (ending with the separator) through its `listing`, and all below.
  // `hiddenBySystem`: the folder is one the system hides from users, left quietly if unread.
  void WalkFolder(const std::string& path, platform::FolderListing& listing, bool hiddenBySystem);
  // Hands the file `name` of the folder `path` and its sidecars to the pool; `listing` stands
  // on its entry.
  void AddFile(const std::string& path, const std::string& lowerSource,
               const platform::FolderListing& listing, const FolderFiles& files);
  // Counts and reports `path`, in its place among the files, when `listing` failed to open or
  // to read to its end.
  void ReportUnreadFolder(const std::string& path, const platform::FolderListing& listing,
                          bool hiddenBySystem);
  // Reads the group's day and names its folders. `listing` stands on the main file's entry,
  // whose last-write time is read only when the file has no usable date (on Linux that costs a
  // stat); null on a worker, which reads the file by its path.
  void PlanGroup(FileGroup& group, const platform::FolderListing* listing) const;
  // Decides, in walk order, what depends on the order; fills `keys` (when given) with what the
  // group's placing may contend for: its names in its day folder.
  void AdmitGroup(FileGroup& group, std::vector<std::string>* keys);
  // Creates the group's folders and places its files.
  void PlaceGroup(FileGroup& group);
  // Counts, records in the journal and publishes the group's outcome.
  void ReportGroup(const FileGroup& group);
  // Places `file` into `dayFolder` as `name`; when that name is taken, the file counts as in
  // place if it holds the same bytes (with skipIdentical), else, if `mayRename`, the next clash
  // name is tried. file.destination holds the path last tried. `held`: the file, held open.
  PlaceResult PlaceAs(Placement& file, const std::string& dayFolder, const std::string& name,
                      bool mayRename, const platform::HeldFile* held = nullptr);
  // Counts the outcome for `file`, records it in the journal, publishes its message, which
  // ends with the day's source when `daySource` is given.
  void ReportPlacement(const Placement& file, const std::string& dayFolder,
                       const char* daySource = nullptr);
  // Copies or moves the file to file.destination through the guard; in a dry run only
  // predicts the outcome. A refusal leaves its reason in file.refusal.
  bool TransferFile(Placement& file, const platform::HeldFile* held);
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
  std::string m_realSource;       // the photo folder with its links resolved, once a link needs it
  OrderedPool* m_pool = nullptr;  // where the walk hands its files, during OrganizeFolder
  std::set<std::string> m_cleanedFolders;  // day folders rid of stale temporaries in this job
  std::mutex m_dryRunMutex;
  std::set<std::string> m_dryRunPlaced;  // destinations a dry run has promised
  // Folders this job made whose journal line is still to come: the line goes before the first
  // file reported into the folder, where a run of one file at a time writes it.
  std::mutex m_folderMutex;
  std::map<std::string, int> m_unjournaledFolders;

  std::string m_messageBuf;  // message being formatted, on the thread that reports
};
