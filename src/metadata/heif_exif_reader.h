// The date of capture of a HEIF image (HEIC, AVIF): the EXIF block of the file's "Exif" item,
// found through the meta box's item information (iinf) and item locations (iloc).
#pragma once

#include <string>

#include "metadata/byte_source.h"

// The EXIF date of capture as written, e.g. "2021:03:14 10:15:00". False when the file is not
// a HEIF file, has no Exif item, or the item holds no date.
bool ReadHeifTakenAt(ByteSource& source, std::string* takenAt);
