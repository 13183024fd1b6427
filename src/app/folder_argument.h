// Folders handed to the window from outside: dropped on it, or named on the command line of its
// start (the Explorer entry "用拾光整理照片" passes the folder or drive that was right-clicked).
#pragma once

#include <string>

// The folder that `path` stands for: a folder itself, a file the folder it lies in; without a
// final separator unless it is a drive's root. Empty when the path names nothing that exists.
std::string FolderOfPath(const std::string& path);

// The process's command line after the program's name, as UTF-8 (the narrow command line of
// WinMain may come in another code page).
std::string CommandLineArguments();

// The path a command line's arguments name: the text inside the first pair of double quotes
// (taken as it stands, so "D:\" is the drive's root), else the whole text without the blanks
// around it (a path may hold blanks); a relative path is taken from `startFolder`. Empty when
// the arguments are empty.
std::string PathArgument(const std::string& arguments, const std::string& startFolder);

// The folder as the window shows and keeps it, exactly as the folder picker gives it.
std::string PickedFolderPath(const std::string& folder);
