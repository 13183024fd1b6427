// tallowick-cli --undo JOURNAL: takes an organize job back and prints each step.
#pragma once

#include <string>

#include "cli/cli.h"

// Returns the exit status: 0 when everything was taken back (or, in a dry run, could be),
// 1 when anything was left alone, 2 when the journal cannot be read.
int RunUndoCli(const std::string& journal, bool dryRun, const CliStreams& streams);
