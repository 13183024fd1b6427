#include "cli/cli.h"

#include <optional>

#include "cli/cli_job.h"
#include "cli/cli_options.h"
#include "cli/cli_paths.h"
#include "cli/cli_texts.h"
#include "cli/cli_undo.h"
#include "cli/console.h"
#include "cli/interrupt.h"
#include "metadata/jpeg_meta_reader.h"
#include "organize/app_config.h"
#include "organize/organize_journal.h"
#include "organize/unread_folder.h"
#include "platform/platform.h"

namespace {

constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;

void PrintLine(std::FILE* stream, const std::string& text) {
  WriteText(stream, text);
  WriteText(stream, "\n");
}

// The summary line without the two line breaks that lead it in the window.
std::string SummaryLine(const COrganizeJob& job) {
  std::string summary = job.SummaryText();
  const std::size_t start = summary.find_first_not_of("\r\n");
  return start == std::string::npos ? std::string() : summary.substr(start);
}

void PrintEnd(const CCliJob& job, const CliOptions& options, const std::string& failureFile,
              const CliStreams& streams) {
  if (job.PrintedAny()) {
    WriteText(streams.out, "\n");
  }
  PrintLine(streams.out, SummaryLine(job));
  if (job.m_nUnreadFolders > 0) {
    PrintLine(streams.out, UnreadFoldersLine(job.m_nUnreadFolders));
  }
  PrintLine(streams.out, kTargetFolder + job.m_strPathTar);
  if (job.m_nFailCount > 0) {
    if (options.dryRun) {
      WriteText(streams.out, kDryRunNoFailureFile);
    } else if (!job.WrittenFailureFile().empty()) {
      PrintLine(streams.out, kFailureFile + job.WrittenFailureFile());
    } else {
      PrintLine(streams.err, kFailureFileNotWritten + failureFile);
    }
  }
  if (options.dryRun) {
    WriteText(streams.out, kDryRunEnd);
  }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, const CliStreams& streams) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, &options, &error)) {
    WriteText(streams.err, std::string("tallowick-cli: ").append(error).append("\n"));
    WriteText(streams.err, kCliShortUsage);
    return kExitUsage;
  }
  if (options.help) {
    WriteText(streams.out, kCliUsage);
    return 0;
  }
  if (options.version) {
    WriteText(streams.out, "tallowick-cli " TALLOWICK_VERSION "\n");
    return 0;
  }
  if (!options.undo.empty()) {
    return RunUndoCli(options.undo, options.dryRun, streams);
  }

  // The reader's diagnostics would mix into the tool's own output.
  SetJpegReaderDiagnostics(nullptr);

  CliOutputStyle style;
  style.terminal = streams.outIsTerminal;
  style.columns = streams.columns;
  style.quiet = options.quiet;
  CCliJob job(streams.out, streams.err, style);
  job.m_strPathSrc = AbsoluteFolderPath(options.folders[0]);
  job.m_strPathTar = AbsoluteFolderPath(options.folders[1]);
  job.m_bDeleteSrc = options.move;
  job.m_bDryRun = options.dryRun;
  // The window's settings file is only read here, never written; options override it.
  const ConfigValues config =
      ReadConfigFile(streams.configFile.empty() ? platform::ProgramFolder() + kConfigFileName
                                                : streams.configFile);
  job.m_settings.fileFilters = options.filterGiven ? options.filter : config.FileFilters;
  FolderLayout layout;
  if (!ParseFolderLayout(options.layout, &layout)) {
    layout = options.flat ? FolderLayout::kDay
                          : EffectiveLayout(config.FolderLayout, config.IsClassifyByYear);
  }
  job.m_settings.SetLayout(layout);
  job.m_settings.skipIdentical = options.skipIdentical.value_or(config.SkipIdentical != 0);
  job.m_settings.renameClashes = options.renameClashes.value_or(config.RenameClashes != 0);
  job.m_settings.sidecars = options.sidecars.value_or(config.Sidecars != 0);
  job.m_settings.readMediaDates = options.mediaDates.value_or(config.ReadMediaDates != 0);
  job.m_settings.jobs = options.jobs.value_or(config.Jobs);
  job.m_settings.rawFolder = options.rawFolder.value_or(config.RawFolder != 0);

  const std::string refusal = job.CheckStart();
  if (!refusal.empty()) {
    PrintLine(streams.err, refusal);
    return kExitUsage;
  }

  const std::string failureFile = options.errorFile.empty()
                                      ? platform::ProgramFolder() + "errorFile.txt"
                                      : AbsoluteFilePath(options.errorFile);
  // A dry run places nothing, so it records nothing either.
  OrganizeJournal journal;
  const std::string journalFile = options.journal.empty() ? "" : AbsoluteFilePath(options.journal);
  if (!journalFile.empty() && !options.dryRun) {
    if (!journal.Open(journalFile)) {
      PrintLine(streams.err, kJournalNotOpened + journalFile);
      return kExitUsage;
    }
    job.m_pJournal = &journal;
  }
  if (options.dryRun) {
    WriteText(streams.out, kDryRunStart);
    if (!journalFile.empty()) {
      WriteText(streams.out, kDryRunNoJournal);
    }
  }

  bool stopped = false;
  job.BeginJob();
  job.StartCount();
  {
    std::optional<InterruptGuard> interrupts;
    if (streams.catchInterrupts) {
      interrupts.emplace(job);
    }
    job.RunOrganize(failureFile);
    stopped = interrupts && interrupts->StopRequested();
  }
  job.EndDisplay();
  if (stopped) {
    WriteText(streams.err, kStoppedEarly);
  }
  PrintEnd(job, options, failureFile, streams);
  std::fflush(streams.out);
  if (journal.Failed()) {
    PrintLine(streams.err, kJournalNotWritten + journalFile);
  }
  // A stopped job is no success, whatever it placed: the files after it are still to do.
  if (stopped) {
    return kExitInterrupted;
  }
  return journal.Failed() || job.m_nFailCount > 0 || job.m_nUnreadFolders > 0 ? kExitFailures : 0;
}

int RunCli(int argc, char** argv) {
  PrepareConsoleOutput();
  CliStreams streams;
  streams.outIsTerminal = IsTerminal(stdout);
  streams.columns = TerminalColumns(stdout);
  streams.catchInterrupts = true;
  return RunCli(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), streams);
}
