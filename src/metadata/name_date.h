// Days written into file names by phones and chat programs, e.g. "IMG_20210314_101500.jpg".
#pragma once

#include <string>

#include "platform/platform.h"

// The first pattern of the table that matches the start of `name`, and the calendar day it
// gives (a time of day in the name must be a real one too). Names with milliseconds since
// 1970 UTC give the local day of that instant. The day's range is not checked here.
bool DayFromFileName(const std::string& name, platform::LocalDate* day);
