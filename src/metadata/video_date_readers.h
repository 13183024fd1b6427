// The date of capture of videos other than MP4/MOV: AVI, AVCHD (.MTS/.M2TS) and Matroska/WebM.
// Each reads only headers: the AVI header list, the first packets of a transport stream, the
// Matroska segment's information. The day is not checked against the calendar.
#pragma once

#include <string_view>

#include "metadata/byte_source.h"
#include "platform/platform.h"

enum class AviDate { kNone, kIdit, kExif };

// AVI: the IDIT chunk's date text, else the EXIF that some cameras put in a stream's "strd"
// chunk ("AVIF" and a directory) or in a LIST "ncdt" (the "nctg" record 0x13).
AviDate ReadAviDay(ByteSource& source, platform::LocalDate* day);

// The day of an AVI date text: "SUN MAR 10 15:04:43 2003", "2003:03:10 15:04:43",
// "2005/11/28/ 09:19", "2001/ 1/27  1:42PM".
bool ParseAviDateText(std::string_view text, platform::LocalDate* day);

// AVCHD: the recording date in the MDPM records of the H.264 stream's unregistered user data
// (SEI), in the stream's first packets (192-byte packets, or plain 188-byte ones). The day as
// the camcorder's clock wrote it, whatever zone it names.
bool ReadAvchdDay(ByteSource& source, platform::LocalDate* day);

// Matroska and WebM: the segment information's DateUTC, an instant, as a local day.
bool ReadMatroskaDay(ByteSource& source, platform::LocalDate* day);
