#include "metadata/jpeg_meta_reader.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

namespace {

constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerCom = 0xFE;

// The marker's own 0xFF and up to five fill bytes.
constexpr int kMaxFillBytes = 6;
constexpr int kMaxCommentBytes = 1000;

std::atomic<std::FILE*>& DiagnosticsSink() {
  static std::atomic<std::FILE*> sink{stdout};
  return sink;
}

void PrintDiagnostic(const char* text) {
  if (std::FILE* out = DiagnosticsSink().load(std::memory_order_relaxed)) {
    std::fputs(text, out);
  }
}

// Start-of-frame markers: 0xC0-0xCF without 0xC4 (Huffman tables), 0xC8 (reserved) and 0xCC
// (arithmetic conditioning).
bool IsStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

void SetJpegReaderDiagnostics(std::FILE* out) {
  DiagnosticsSink().store(out, std::memory_order_relaxed);
}

CJpegMetaReader::CJpegMetaReader(PhotoMeta* record)
    : m_pRecord(record),
      m_szErrorText{},
      m_nLargestDim(0),
      m_bBigEndian(0),
      m_Sections{},
      m_nSections(0),
      m_bOwnsRecord(record == nullptr),
      m_bCommentTaken(false),
      m_WalkedDirs{},
      m_nWalkedDirs(0) {
  if (m_bOwnsRecord) {
    m_pRecord = new PhotoMeta{};
  }
}

CJpegMetaReader::~CJpegMetaReader() {
  // A section whose reading failed half-way sits above m_nSections: visit every slot.
  for (JpegSection& section : m_Sections) {
    delete[] section.bytes;
  }
  if (m_bOwnsRecord) {
    delete m_pRecord;
  }
}

void CJpegMetaReader::SetError(const char* text) {
  std::snprintf(m_szErrorText, sizeof m_szErrorText, "%s", text);
}

void CJpegMetaReader::DropLastSection() {
  --m_nSections;
  JpegSection& section = m_Sections[m_nSections];
  delete[] section.bytes;
  section = JpegSection{};
}

bool CJpegMetaReader::ReadSections(std::FILE* file) {
  if (std::getc(file) != 0xFF || std::getc(file) != kMarkerSoi) {
    return false;
  }

  while (m_nSections < kMaxSections) {
    int marker = 0;
    for (int fills = 0;;) {
      marker = std::getc(file);
      if (marker != 0xFF) {
        break;
      }
      if (++fills > kMaxFillBytes) {
        PrintDiagnostic("too many padding unsigned chars\n");
        return false;
      }
    }

    JpegSection& section = m_Sections[m_nSections];
    section.marker = marker;

    const int high = std::getc(file);
    const int low = std::getc(file);
    const int length = (high << 8) | low;
    if (high == EOF || low == EOF || length < 2) {
      SetError("invalid marker");
      return false;
    }
    section.length = length;

    section.bytes = new (std::nothrow) std::uint8_t[length];
    if (section.bytes == nullptr) {
      SetError("Could not allocate memory");
      return false;
    }
    section.bytes[0] = static_cast<std::uint8_t>(high);
    section.bytes[1] = static_cast<std::uint8_t>(low);
    const std::size_t payloadLength = static_cast<std::size_t>(length) - 2;
    if (std::fread(section.bytes + 2, 1, payloadLength, file) != payloadLength) {
      SetError("Premature end of file?");
      return false;
    }
    ++m_nSections;

    std::uint8_t* payload = section.bytes + 2;
    if (IsStartOfFrame(marker)) {
      TakeFrameHeader(section.bytes, length, marker);
    } else if (marker == kMarkerEoi) {
      PrintDiagnostic("No image in jpeg!\n");
      return false;
    } else if (marker == kMarkerSos) {
      return true;
    } else if (marker == kMarkerApp0) {
      DropLastSection();
    } else if (marker == kMarkerApp1) {
      if (payloadLength >= 4 && std::memcmp(payload, "Exif", 4) == 0) {
        m_pRecord->hasExif = ParseExif(payload, length);
      } else {
        DropLastSection();
      }
    } else if (marker == kMarkerCom) {
      if (m_bCommentTaken) {
        DropLastSection();
      } else {
        m_bCommentTaken = true;
        TakeComment(section.bytes, length);
      }
    }
  }

  SetError("Too many sections in jpg file");
  return false;
}

void CJpegMetaReader::TakeFrameHeader(const std::uint8_t* bytes, int length, int marker) {
  // Length (2), precision (1), height (2), width (2), component count (1): a shorter section
  // leaves the frame fields as they were.
  if (length < 8) {
    return;
  }
  m_pRecord->imageHeight = BigEndianU16(bytes + 3);
  m_pRecord->imageWidth = BigEndianU16(bytes + 5);
  m_pRecord->colourFrame = bytes[7] == 3 ? 1 : 0;
  m_pRecord->frameMarker = marker;
}

void CJpegMetaReader::TakeComment(const std::uint8_t* bytes, int length) {
  const int end = std::min(length, kMaxCommentBytes);
  char* out = m_pRecord->commentText;
  int n = 0;
  for (int i = 2; i < end; ++i) {
    const std::uint8_t c = bytes[i];
    if (c == '\r') {
      if (i + 1 < length && bytes[i + 1] == '\n') {
        continue;  // CR LF becomes LF
      }
      out[n++] = '?';
    } else if (c == '\t' || c == '\n' || c >= 0x20) {
      out[n++] = static_cast<char>(c);
    } else {
      out[n++] = '?';
    }
  }
  out[n] = '\0';
}

std::uint16_t CJpegMetaReader::BigEndianU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
