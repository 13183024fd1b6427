// Takes an organize job back from its journal: moved files go back to their sources, copies
// are deleted, folders the job created are removed once empty. A file the user changed or
// removed, a source path that is taken again, or a copy whose source is gone or holds other
// bytes now is left alone and counted, never forced.
#pragma once

#include <atomic>
#include <functional>
#include <string>

struct UndoCounts {
  int undone = 0;         // files moved back or copies deleted (in a dry run: that would be)
  int notUndone = 0;      // files left alone, and journal lines that could not be read
  bool complete = false;  // every record was come to (none was left for a stop)
};

// Works through the journal's records from the last to the first, each only inside the
// folders of its job (FolderGuard). Each action and each file left alone is passed to `report`
// as one line (without a line break). What is taken back is noted in the journal as it goes,
// and a later undo passes over it: a stopped undo is resumed by running it again, and it
// reports only what still cannot be taken back. A dry run checks and reports the same but
// changes nothing. With `running` given, the undo ends after the record in hand once it is
// cleared. False when the journal cannot be read at all.
bool UndoJournal(const std::string& journalPath, bool dryRun,
                 const std::function<void(const std::string&)>& report, UndoCounts* counts,
                 const std::atomic<bool>* running = nullptr);
