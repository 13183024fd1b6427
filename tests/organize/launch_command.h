// A program for the launcher tests, different on each platform.
#pragma once

#include <memory>
#include <string>

struct LaunchCommand {
  std::string file;
  std::string parameters;
};

// A command that runs for a moment and then writes the file `marker`; `folder` may hold
// whatever it needs.
LaunchCommand WriteMarkerLater(const std::string& folder, const std::string& marker);

// While it lives, presses OK on the error box that the Windows shell shows (when there is a
// display) for a file it cannot start, which would otherwise hold the launch forever. Nothing
// to do elsewhere.
class ShellErrorBoxAnswerer {
 public:
  ShellErrorBoxAnswerer();
  ~ShellErrorBoxAnswerer();
  ShellErrorBoxAnswerer(const ShellErrorBoxAnswerer&) = delete;
  ShellErrorBoxAnswerer& operator=(const ShellErrorBoxAnswerer&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
