// The date of capture of raw photos whose container is not TIFF: Canon CR3 and CRW, Fujifilm
// RAF, Minolta MRW, Sigma X3F. Each reads only the headers and directories on the way to the
// date. The day is not checked against the calendar.
#pragma once

#include "metadata/byte_source.h"
#include "platform/platform.h"

// CR3 (ISO boxes, brand "crx "): the TIFF blocks CMT2 (the Exif directory) and CMT1 (IFD0) in
// Canon's uuid box inside moov.
bool ReadCr3Day(ByteSource& source, platform::LocalDate* day);
// RAF: the EXIF block of the JPEG preview whose offset and length the header gives.
bool ReadRafDay(ByteSource& source, platform::LocalDate* day);
// MRW: the TIFF block of the "\0TTW" block among those before the image data.
bool ReadMrwDay(ByteSource& source, platform::LocalDate* day);
// CRW: the capture time record (0x180E) in the heap of records, seconds counted on the
// camera's wall clock.
bool ReadCrwDay(ByteSource& source, platform::LocalDate* day);
// X3F: the EXIF block of the embedded JPEG, else the TIME property (seconds since 1970 on the
// camera's wall clock).
bool ReadX3fDay(ByteSource& source, platform::LocalDate* day);
