// How many files a job places at once.
#pragma once

#include <string>

// The most files a job places at once (--jobs, the Jobs key).
inline constexpr int kMaxJobs = 64;

// How many files to place at once when the user leaves it to the program, by the disks of the
// photo folder `source` and the output folder `target`.
int AutomaticJobs(const std::string& source, const std::string& target);
