// Where the logger sends its debugger output and takes its clock and MsgX.ini from. By default
// these are the system's; tests put in their own to watch and steer the logger.
#pragma once

#include <string>

#include "platform/diagnostics.h"

struct MsgXSeams {
  void (*debugOutput)(const char* line) = nullptr;  // null: the system's debugger output
  platform::LocalTime (*clock)() = nullptr;         // null: the local time
  std::string settingsFolder;                       // empty: the system folder
};

// Replaces the seams; MsgXSeams() gives the system's back.
void SetMsgXSeams(const MsgXSeams& seams);
