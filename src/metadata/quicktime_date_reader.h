// The capture time of an MP4, MOV, M4V or 3GP video, from its movie box (moov) wherever it
// lies in the file: the box is found by its header among the top-level boxes, so the media
// data before it is skipped by a seek, never read.
#pragma once

#include <cstdint>
#include <string>

#include "metadata/byte_source.h"

struct QuickTimeDates {
  // The value of the metadata key "com.apple.quicktime.creationdate": local time in ISO 8601
  // with its zone offset, e.g. "2021-03-14T10:15:00+0800". Empty when absent.
  std::string localCreation;
  // The movie header's creation time: seconds since 1904-01-01 UTC; 0 when unknown.
  std::uint64_t creationSeconds = 0;
};

// False when no movie box is found; otherwise true with whatever dates it holds.
bool ReadQuickTimeDates(ByteSource& source, QuickTimeDates* dates);
