// The EXIF block of an APP1 section: header checks, the directory walk and the tag values.
// Every read is checked against the block's end; offsets and sizes are summed in 64 bits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "metadata/jpeg_meta_reader.h"

namespace {

constexpr std::uint32_t kExifHeaderLength = 6;  // "Exif" and two NUL bytes
constexpr std::uint32_t kTiffHeaderLength = 8;
constexpr std::uint32_t kEntryLength = 12;
constexpr std::uint16_t kTiffMagic = 42;
constexpr std::uint32_t kMaxFormat = 12;

// Bytes per component of format codes 0-12.
constexpr std::uint32_t kFormatBytes[kMaxFormat + 1] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

enum : int {
  kFormatByte = 1,
  kFormatShort = 3,
  kFormatLong = 4,
  kFormatRational = 5,
  kFormatSignedByte = 6,
  kFormatSignedShort = 8,
  kFormatSignedLong = 9,
  kFormatSignedRational = 10,
  kFormatFloat = 11,
  kFormatDouble = 12,
};

enum : int {
  kTagMake = 0x010F,
  kTagModel = 0x0110,
  kTagOrientation = 0x0112,
  kTagResolutionX = 0x011A,
  kTagResolutionY = 0x011B,
  kTagResolutionUnit = 0x0128,
  kTagThumbnailOffset = 0x0201,
  kTagThumbnailLength = 0x0202,
  kTagExposureTime = 0x829A,
  kTagFNumber = 0x829D,
  kTagExifDirectory = 0x8769,
  kTagExposureProgram = 0x8822,
  kTagIsoSpeed = 0x8827,
  kTagExifVersion = 0x9000,
  kTagDateTimeOriginal = 0x9003,
  kTagCompressedBpp = 0x9102,
  kTagShutterSpeed = 0x9201,
  kTagAperture = 0x9202,
  kTagBrightness = 0x9203,
  kTagExposureBias = 0x9204,
  kTagMaxAperture = 0x9205,
  kTagSubjectDistance = 0x9206,
  kTagMeteringMode = 0x9207,
  kTagLightSource = 0x9208,
  kTagFlash = 0x9209,
  kTagFocalLength = 0x920A,
  kTagUserComment = 0x9286,
  kTagPixelWidth = 0xA002,
  kTagPixelHeight = 0xA003,
  kTagInteropDirectory = 0xA005,
  kTagFocalPlaneResX = 0xA20E,
  kTagFocalPlaneResY = 0xA20F,
  kTagFocalPlaneUnit = 0xA210,
};

constexpr std::uint32_t kUserCommentTextLength = 199;

// A double truncated toward zero, held inside the int32 range (NaN gives 0).
std::int32_t WholeNumber(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}

// Copies text up to its first NUL, at most `max` bytes and never past `available`, and fills
// the rest of those `max` bytes with NUL.
void CopyText(char* field, std::uint32_t max, const std::uint8_t* text, std::uint32_t available) {
  std::uint32_t n = 0;
  for (; n < max && n < available && text[n] != 0; ++n) {
    field[n] = static_cast<char>(text[n]);
  }
  std::memset(field + n, 0, max - n);
}

// Length of one resolution unit in inches; 0 for an unknown unit code.
float UnitInches(std::int32_t code) {
  switch (code) {
    case 1:
    case 2:
      return 1.0f;
    case 3:
      return static_cast<float>(1.0 / 2.54);
    case 4:
      return static_cast<float>(1.0 / 25.4);
    case 5:
      return static_cast<float>(1.0 / 25400.0);
    default:
      return 0.0f;
  }
}

void SetUnit(float& field, std::int32_t code) {
  const float inches = UnitInches(code);
  if (inches != 0.0f) {
    field = inches;
  }
}

}  // namespace

std::uint16_t CJpegMetaReader::ExifU16(const std::uint8_t* p) const {
  if (m_bBigEndian) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
  }
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CJpegMetaReader::ExifU32(const std::uint8_t* p) const {
  const std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
  if (m_bBigEndian) {
    return (b0 << 24) | (b1 << 16) | (b2 << 8) | b3;
  }
  return (b3 << 24) | (b2 << 16) | (b1 << 8) | b0;
}

std::int32_t CJpegMetaReader::ExifS32(const std::uint8_t* p) const {
  return static_cast<std::int32_t>(ExifU32(p));
}

double CJpegMetaReader::ExifValueAsNumber(const std::uint8_t* value, int format,
                                          std::uint32_t available) const {
  if (format < 0 || format > static_cast<int>(kMaxFormat) || kFormatBytes[format] > available) {
    return 0;
  }
  switch (format) {
    case kFormatByte:
      return value[0];
    case kFormatSignedByte:
      return static_cast<std::int8_t>(value[0]);
    case kFormatShort:
      return ExifU16(value);
    case kFormatSignedShort:
      return static_cast<std::int16_t>(ExifU16(value));
    case kFormatLong:
      return ExifU32(value);
    case kFormatSignedLong:
      return ExifS32(value);
    case kFormatRational: {
      const std::uint32_t denominator = ExifU32(value + 4);
      return denominator == 0 ? 0.0 : static_cast<double>(ExifU32(value)) / denominator;
    }
    case kFormatSignedRational: {
      const std::int32_t denominator = ExifS32(value + 4);
      return denominator == 0 ? 0.0 : static_cast<double>(ExifS32(value)) / denominator;
    }
    case kFormatFloat: {
      const std::uint32_t bits = ExifU32(value);
      float number;
      std::memcpy(&number, &bits, sizeof number);
      return number;
    }
    case kFormatDouble: {
      const std::uint64_t high = ExifU32(value + (m_bBigEndian ? 0 : 4));
      const std::uint64_t low = ExifU32(value + (m_bBigEndian ? 4 : 0));
      const std::uint64_t bits = (high << 32) | low;
      double number;
      std::memcpy(&number, &bits, sizeof number);
      return number;
    }
    default:  // none, ASCII text, undefined
      return 0;
  }
}

bool CJpegMetaReader::ParseExif(std::uint8_t* payload, int sectionLength) {
  m_pRecord->flashFired = 0;
  m_pRecord->commentText[0] = '\0';
  m_nLargestDim = 0;
  m_nWalkedDirs = 0;

  const long long payloadLength = static_cast<long long>(sectionLength) - 2;
  if (payloadLength < kExifHeaderLength || std::memcmp(payload, "Exif\0\0", 6) != 0) {
    SetError("Incorrect Exif header");
    return false;
  }
  std::uint8_t* block = payload + kExifHeaderLength;
  const std::uint32_t blockLength = static_cast<std::uint32_t>(payloadLength) - kExifHeaderLength;

  // A block too short for its own header fails with the text of the first check it cannot pass.
  if (blockLength >= 2 && std::memcmp(block, "II", 2) == 0) {
    m_bBigEndian = 0;
  } else if (blockLength >= 2 && std::memcmp(block, "MM", 2) == 0) {
    m_bBigEndian = 1;
  } else {
    SetError("Invalid Exif alignment marker.");
    return false;
  }
  if (blockLength < 4 || ExifU16(block + 2) != kTiffMagic) {
    SetError("Invalid Exif start (1)");
    return false;
  }
  if (blockLength < kTiffHeaderLength) {
    SetError("Suspicious offset of first IFD value");
    return false;
  }
  const std::uint32_t firstOffset = ExifU32(block + 4);
  if (firstOffset < 8 || firstOffset > 16) {
    SetError("Suspicious offset of first IFD value");
    return false;
  }

  m_WalkedDirs[m_nWalkedDirs++] = firstOffset;
  if (!ParseExifDirectory(firstOffset, block, blockLength, 0)) {
    return false;
  }

  if (m_pRecord->focalPlaneResX != 0) {
    m_pRecord->sensorWidth =
        static_cast<float>(static_cast<double>(m_nLargestDim) * m_pRecord->focalPlaneUnitInches /
                           m_pRecord->focalPlaneResX);
  }
  return true;
}

void CJpegMetaReader::FollowLink(std::uint32_t offset, std::uint8_t* block,
                                 std::uint32_t blockLength, int depth) {
  if (depth > kMaxDirectoryDepth || m_nWalkedDirs >= kMaxDirectories) {
    return;
  }
  for (int i = 0; i < m_nWalkedDirs; ++i) {
    if (m_WalkedDirs[i] == offset) {
      return;
    }
  }
  m_WalkedDirs[m_nWalkedDirs++] = offset;
  // A linked directory's failure ends only its own walk; its error text stays.
  ParseExifDirectory(offset, block, blockLength, depth);
}

bool CJpegMetaReader::ParseExifDirectory(std::uint32_t offset, std::uint8_t* block,
                                         std::uint32_t blockLength, int depth) {
  if (std::uint64_t{offset} + 2 > blockLength) {
    SetError("Illegally sized directory");
    return false;
  }
  const std::uint8_t* const directory = block + offset;
  const std::uint32_t entryCount = ExifU16(directory);
  const std::uint64_t entriesEnd = std::uint64_t{offset} + 2 + kEntryLength * entryCount;
  if (entriesEnd > blockLength) {
    SetError("Illegally sized directory");
    return false;
  }

  std::int32_t thumbnailOffset = 0;
  std::int32_t thumbnailLength = 0;
  for (std::uint32_t i = 0; i < entryCount; ++i) {
    std::uint8_t* const entry = block + offset + 2 + kEntryLength * i;
    const int tag = ExifU16(entry);
    const int format = ExifU16(entry + 2);
    const std::uint32_t components = ExifU32(entry + 4);
    if (format > static_cast<int>(kMaxFormat)) {
      SetError("Illegal format code in EXIF dir");
      return false;
    }
    const std::uint64_t byteCount = std::uint64_t{components} * kFormatBytes[format];
    if (byteCount > std::numeric_limits<std::uint32_t>::max()) {
      SetError("Illegal pointer offset value in EXIF.");
      return false;
    }

    std::uint8_t* value = entry + 8;
    if (byteCount > 4) {
      const std::uint32_t valueOffset = ExifU32(entry + 8);
      if (valueOffset + byteCount > blockLength) {
        SetError("Illegal pointer offset value in EXIF.");
        return false;
      }
      value = block + valueOffset;
    }
    // Inline values lie inside the entry, so at least four bytes remain at `value`.
    const std::uint32_t available = blockLength - static_cast<std::uint32_t>(value - block);

    if (tag == kTagThumbnailOffset || tag == kTagThumbnailLength) {
      const std::int32_t number = WholeNumber(ExifValueAsNumber(value, format, available));
      (tag == kTagThumbnailOffset ? thumbnailOffset : thumbnailLength) = number;
    } else {
      ApplyTag(tag, format, value, static_cast<std::uint32_t>(byteCount), available);
    }

    if (tag == kTagExifDirectory || tag == kTagInteropDirectory) {
      const std::uint32_t subOffset = ExifU32(value);
      if (subOffset > blockLength) {
        SetError("Illegal subdirectory link");
        return false;
      }
      FollowLink(subOffset, block, blockLength, depth + 1);
    }
  }

  // The next-directory offset; when its four bytes do not fit, there is no next directory.
  if (entriesEnd + 4 <= blockLength) {
    const std::uint32_t nextOffset = ExifU32(block + entriesEnd);
    if (nextOffset != 0) {
      if (nextOffset > blockLength) {
        SetError("Illegal subdirectory link");
        return false;
      }
      FollowLink(nextOffset, block, blockLength, depth + 1);
    }
  }

  if (thumbnailOffset > 0 && thumbnailLength > 0 &&
      std::uint64_t(thumbnailOffset) + std::uint64_t(thumbnailLength) <= blockLength) {
    m_pRecord->thumbnailBytes = block + thumbnailOffset;
    m_pRecord->thumbnailLength = thumbnailLength;
  }
  return true;
}

void CJpegMetaReader::ApplyTag(int tag, int format, std::uint8_t* value, std::uint32_t byteCount,
                               std::uint32_t available) {
  PhotoMeta& r = *m_pRecord;
  const auto number = [&] { return ExifValueAsNumber(value, format, available); };
  const auto whole = [&] { return WholeNumber(number()); };
  const auto single = [&] { return static_cast<float>(number()); };

  switch (tag) {
    case kTagMake:
      CopyText(r.maker, sizeof r.maker - 1, value, available);
      break;
    case kTagModel:
      CopyText(r.model, sizeof r.model - 1, value, available);
      break;
    case kTagOrientation:
      r.orientationCode = whole();
      if (r.orientationCode < 1 || r.orientationCode > 8) {
        SetError("Undefined rotation value");
        r.orientationCode = 0;
      }
      break;
    case kTagResolutionX:
      r.resolutionX = single();
      break;
    case kTagResolutionY:
      r.resolutionY = single();
      break;
    case kTagResolutionUnit:
      SetUnit(r.resolutionUnitInches, whole());
      break;
    case kTagExposureTime:
      r.exposureSeconds = single();
      break;
    case kTagFNumber:
      r.fNumber = single();
      break;
    case kTagExposureProgram:
      r.exposureProgramCode = whole();
      break;
    case kTagIsoSpeed: {
      // Values below 50 are taken in steps of 200 (held inside the int32 range).
      const std::int64_t iso = whole();
      r.isoSpeed = static_cast<std::int32_t>(
          iso >= 50 ? iso
                    : std::max<std::int64_t>(iso * 200, std::numeric_limits<std::int32_t>::min()));
      break;
    }
    case kTagExifVersion:
      CopyText(r.exifVersion, sizeof r.exifVersion - 1, value, available);
      break;
    case kTagDateTimeOriginal:
      CopyText(r.takenAt, sizeof r.takenAt - 1, value, available);
      break;
    case kTagCompressedBpp:
      r.compressedBpp = whole();
      break;
    case kTagShutterSpeed:
      if (r.exposureSeconds == 0) {
        r.exposureSeconds = static_cast<float>(1.0 / std::exp2(number()));
      }
      break;
    case kTagAperture:
    case kTagMaxAperture:
      if (r.fNumber == 0) {
        r.fNumber = static_cast<float>(std::exp2(number() / 2));
      }
      break;
    case kTagBrightness:
      r.brightnessValue = single();
      break;
    case kTagExposureBias:
      r.exposureBiasEv = single();
      break;
    case kTagSubjectDistance:
      r.subjectDistance = single();
      break;
    case kTagMeteringMode:
      r.meteringModeCode = whole();
      break;
    case kTagLightSource:
      r.lightSource = whole();
      break;
    case kTagFlash:
      r.flashFired = (whole() & 7) != 0 ? 1 : 0;
      break;
    case kTagFocalLength:
      r.focalLengthMm = single();
      break;
    case kTagUserComment:
      TakeUserComment(value, byteCount, available);
      break;
    case kTagPixelWidth:
    case kTagPixelHeight:
      if (whole() > m_nLargestDim) {
        m_nLargestDim = whole();
      }
      break;
    case kTagFocalPlaneResX:
      r.focalPlaneResX = single();
      break;
    case kTagFocalPlaneResY:
      r.focalPlaneResY = single();
      break;
    case kTagFocalPlaneUnit:
      SetUnit(r.focalPlaneUnitInches, whole());
      break;
    default:
      break;
  }
}

void CJpegMetaReader::TakeUserComment(std::uint8_t* value, std::uint32_t byteCount,
                                      std::uint32_t available) {
  // Trailing blanks become NUL in the section bytes themselves, the first byte included.
  for (std::uint32_t i = byteCount; i > 0 && value[i - 1] == ' '; --i) {
    value[i - 1] = '\0';
  }

  char* const comment = m_pRecord->commentText;
  if (available >= 5 && std::memcmp(value, "ASCII", 5) == 0) {
    // A character-code prefix: the text starts at the first byte of 5-9 that is neither NUL
    // nor blank.
    for (std::uint32_t i = 5; i < 10 && i < available; ++i) {
      if (value[i] != 0 && value[i] != ' ') {
        CopyText(comment, kUserCommentTextLength, value + i, available - i);
        return;
      }
    }
    return;
  }
  CopyText(comment, kUserCommentTextLength, value, available);
}
