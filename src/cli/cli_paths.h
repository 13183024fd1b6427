// Turns paths typed on the command line into the absolute forms the organize job works with.
#pragma once

#include <string>

// An absolute, normalised folder path ending with the platform's separator, as the window's
// folder buttons store it. The folder need not exist. An empty argument stays empty, so the
// job's start check asks for a folder as the window does.
std::string AbsoluteFolderPath(const std::string& typed);

// An absolute, normalised file path (for the failure file).
std::string AbsoluteFilePath(const std::string& typed);
