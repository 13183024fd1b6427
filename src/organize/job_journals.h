// The window's job journals: one file per job in the journal folder beside the program, named
// after the job's number, which only grows, and the local time the job started
// ("000042_2024-05-01_101500.txt"); the highest number is the last job's, whatever the clock
// did meanwhile. The time-only names of earlier versions count as older than every number.
#pragma once

#include <string>

// How many journals are kept; older ones are removed when a new one is named.
inline constexpr int kKeptJobJournals = 20;

// appPath + "journal" + separator.
std::string JobJournalFolder(const std::string& appPath);

// Creates the journal folder when missing, removes all but the newest kKeptJobJournals - 1
// journals, and returns a free path "journal\NNNNNN_YYYY-MM-DD_HHMMSS.txt": the number after
// the newest journal's (1 in an empty folder), the local time now. Empty when the folder
// cannot be made.
std::string NewJobJournalPath(const std::string& appPath);

// The newest journal, or empty when there is none, it has been undone, or its job placed and
// created nothing.
std::string LastJobJournal(const std::string& appPath);

// Marks the journal as undone, so that LastJobJournal no longer offers it. False on failure.
bool MarkJournalUndone(const std::string& path);

// What an undo of a journal would take back.
struct JournalCounts {
  int files = 0;    // files placed by the job
  int folders = 0;  // folders the job created
};

// Counts the journal's records. False when it cannot be read.
bool CountJournal(const std::string& path, JournalCounts* counts);
