// A program for the launcher tests, different on each platform.
#pragma once

#include <string>

struct LaunchCommand {
  std::string file;
  std::string parameters;
};

// A command that runs for a moment and then writes the file `marker`; `folder` may hold
// whatever it needs.
LaunchCommand WriteMarkerLater(const std::string& folder, const std::string& marker);
