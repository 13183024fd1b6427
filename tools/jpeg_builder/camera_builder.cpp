#include "camera_builder.h"

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "box_builder.h"

namespace camerabuilder {
namespace {

using boxbuilder::Box;
using boxbuilder::Cat;
using boxbuilder::Text;
using boxbuilder::U16;
using boxbuilder::U32;
using jpegbuilder::ByteOrder;
using jpegbuilder::ExifBuilder;

Bytes Le(std::uint64_t value, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  return out;
}

// Image or media data: zeros, so that large files can be written sparse.
Bytes Filler(std::size_t count) {
  return Bytes(count, 0);
}

// A TIFF block whose first directory holds Make and Model; the date in it or in a linked Exif
// directory.
Bytes TiffBlock(ByteOrder order, const std::string& takenAt, bool dateInFirst,
                std::uint32_t firstOffset = 8) {
  ExifBuilder exif(order);
  exif.SetFirstDirectoryOffset(firstOffset);
  const int first = exif.AddDirectory();
  exif.AddAscii(first, jpegbuilder::kTagMake, "Tallowick");
  exif.AddAscii(first, jpegbuilder::kTagModel, "TW-1");
  if (!takenAt.empty()) {
    int dir = first;
    if (!dateInFirst) {
      dir = exif.AddDirectory();
      exif.AddLink(first, jpegbuilder::kTagExifIfd, dir);
    }
    exif.AddAscii(dir, jpegbuilder::kTagDateTimeOriginal, takenAt);
  }
  return exif.Build();
}

// CRW heaps: the values one after another, then the directory, then its offset.
struct HeapEntry {
  std::uint16_t tag;
  Bytes value;
};
// An entry whose tag has 0x4000 set keeps its eight value bytes in place of size and offset.
Bytes CrwHeap(const std::vector<HeapEntry>& entries) {
  Bytes values;
  Bytes directory = Le(entries.size(), 2);
  for (const HeapEntry& entry : entries) {
    if (entry.tag & 0x4000) {
      directory = Cat({directory, Le(entry.tag, 2), entry.value});
      continue;
    }
    directory = Cat({directory, Le(entry.tag, 2), Le(entry.value.size(), 4), Le(values.size(), 4)});
    values = Cat({values, entry.value});
  }
  return Cat({values, directory, Le(values.size(), 4)});
}

Bytes Utf16(const std::string& text) {
  Bytes out;
  for (char c : text) {
    out = Cat({out, Le(static_cast<std::uint8_t>(c), 2)});
  }
  return Cat({out, Le(0, 2)});
}

// The MPEG-2 CRC of table sections.
std::uint32_t MpegCrc(const Bytes& data) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::uint8_t byte : data) {
    crc ^= std::uint32_t{byte} << 24;
    for (int bit = 0; bit < 8; ++bit) {
      crc = crc & 0x80000000 ? (crc << 1) ^ 0x04C11DB7 : crc << 1;
    }
  }
  return crc;
}

// One 188-byte packet of `pid` carrying up to 184 bytes of `payload` from `at`; stuffing in
// an adaptation field fills a short last packet.
Bytes TsPacket(int pid, bool unitStart, const Bytes& payload, std::size_t* at, int counter) {
  const std::size_t take = std::min<std::size_t>(184, payload.size() - *at);
  Bytes packet = {0x47, static_cast<std::uint8_t>((unitStart ? 0x40 : 0) | (pid >> 8)),
                  static_cast<std::uint8_t>(pid), 0};
  if (take < 184) {
    const std::size_t field = 183 - take;  // adaptation field length
    packet[3] = static_cast<std::uint8_t>(0x30 | (counter & 15));
    packet.push_back(static_cast<std::uint8_t>(field));
    if (field > 0) {
      packet.push_back(0);
      packet.insert(packet.end(), field - 1, 0xFF);
    }
  } else {
    packet[3] = static_cast<std::uint8_t>(0x10 | (counter & 15));
  }
  packet.insert(packet.end(), payload.begin() + static_cast<std::ptrdiff_t>(*at),
                payload.begin() + static_cast<std::ptrdiff_t>(*at + take));
  *at += take;
  return packet;
}

// A table section (PAT or PMT) behind its pointer field, with its CRC.
Bytes Section(std::uint8_t table, std::uint16_t id, const Bytes& body) {
  const Bytes head = {table, static_cast<std::uint8_t>(0xB0 | ((body.size() + 9) >> 8)),
                      static_cast<std::uint8_t>(body.size() + 9)};
  const Bytes section = Cat({head, U16(id), Bytes{0xC1, 0, 0}, body});
  return Cat({Bytes{0}, section, U32(MpegCrc(section))});
}

Bytes EbmlSize(std::uint64_t size) {
  if (size < 127) {
    return {static_cast<std::uint8_t>(0x80 | size)};
  }
  Bytes out = {0x01};
  for (int i = 6; i >= 0; --i) {
    out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  }
  return out;
}

Bytes Ebml(std::uint32_t id, const Bytes& data) {
  Bytes out;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if ((id >> shift) != 0) {
      out.push_back(static_cast<std::uint8_t>(id >> shift));
    }
  }
  return Cat({out, EbmlSize(data.size()), data});
}

Bytes EbmlUint(std::uint32_t id, std::uint64_t value) {
  return Ebml(id, boxbuilder::U64(value));
}

}  // namespace

Bytes RawTiff(const char* magic, const std::string& takenAt, bool dateInIfd0, const Bytes& extra,
              std::size_t imageBytes) {
  const ByteOrder order = magic[0] == 'M' ? ByteOrder::kBig : ByteOrder::kLittle;
  Bytes out = TiffBlock(order, takenAt, dateInIfd0, static_cast<std::uint32_t>(8 + extra.size()));
  std::memcpy(out.data(), magic, 4);
  std::copy(extra.begin(), extra.end(), out.begin() + 8);
  return Cat({out, Filler(imageBytes)});
}

Bytes TiffWithDateInFirstDirectory(const std::string& takenAt) {
  return TiffBlock(ByteOrder::kLittle, takenAt, true);
}

Bytes PreviewWithDate(const std::string& takenAt) {
  return jpegbuilder::JpegBuilder()
      .Exif(jpegbuilder::ExifBlockWithDate(takenAt))
      .QuantTable()
      .Frame(160, 120)
      .Scan()
      .Data();
}

Bytes Cr3(const Bytes& cmt2, std::size_t imageBytes) {
  static const Bytes kCanon = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
                               0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
  const Bytes uuid =
      Box("uuid", Cat({kCanon, Box("CNCV", Text("CanonCR3_001/00.09.00/00.00.00")),
                       Box("CMT1", TiffBlock(ByteOrder::kLittle, "", true)), Box("CMT2", cmt2)}));
  const Bytes ftyp = Box("ftyp", Cat({Text("crx "), U32(1), Text("crx isom")}));
  return Cat({ftyp, Box("moov", Cat({uuid, boxbuilder::MovieHeader(0, 0)})),
              Box("mdat", Filler(imageBytes))});
}

Bytes Raf(const Bytes& jpeg, std::size_t imageBytes) {
  Bytes header = Cat({Text("FUJIFILMCCD-RAW 0201FF383501"), Bytes(32, 0), Text("0100"), Bytes(20)});
  header.resize(148, 0);
  const Bytes place = Cat({U32(148), U32(static_cast<std::uint32_t>(jpeg.size()))});
  std::copy(place.begin(), place.end(), header.begin() + 84);
  std::memcpy(header.data() + 28, "X-T1", 4);  // the camera's name
  return Cat({header, jpeg, Filler(imageBytes)});
}

Bytes Mrw(const Bytes& tiff, std::size_t imageBytes) {
  const Bytes prd = Cat({Text("21860002"), U16(2000), U16(3000), U16(2000), U16(3000),
                         Bytes{12, 12, 0x59, 0}, U16(0), U16(1)});
  const Bytes blocks =
      Cat({Bytes{0}, Text("PRD"), U32(static_cast<std::uint32_t>(prd.size())), prd, Bytes{0},
           Text("TTW"), U32(static_cast<std::uint32_t>(tiff.size())), tiff});
  return Cat({Bytes{0}, Text("MRM"), U32(static_cast<std::uint32_t>(blocks.size())), blocks,
              Filler(imageBytes)});
}

Bytes Crw(std::uint32_t seconds, std::size_t imageBytes, bool inEntry) {
  const HeapEntry time = inEntry ? HeapEntry{0x580E, Cat({Le(seconds, 4), Le(0, 4)})}
                                 : HeapEntry{0x180E, Cat({Le(seconds, 4), Le(0, 4), Le(0, 4)})};
  const Bytes props = CrwHeap({time, {0x0805, Cat({Text("Tallowick"), Bytes(23)})}});
  const Bytes root = CrwHeap({{0x2007, Filler(imageBytes)}, {0x300A, props}});
  return Cat({Text("II"), Le(26, 4), Text("HEAPCCDR"), Le(0x00010002, 4), Bytes(8), root});
}

Bytes X3f(const Bytes& jpeg, const std::string& timeProperty, std::size_t imageBytes) {
  // Version 2.2: a 72-byte header and 160 bytes of extended header.
  Bytes file = Cat({Text("FOVb"), Le(0x00020002, 4), Bytes(16, 7), Le(0, 4), Le(640, 4), Le(480, 4),
                    Le(0, 4), Text("AUTO"), Bytes(28), Bytes(160)});
  Bytes directory;
  int count = 0;
  const auto add = [&](const char(&type)[5], const Bytes& section) {
    directory = Cat({directory, Le(file.size(), 4), Le(section.size(), 4), Text(type)});
    file = Cat({file, section});
    ++count;
  };
  add("IMAG", Cat({Text("SECi"), Le(0x00020000, 4), Le(3, 4), Le(6, 4), Le(640, 4), Le(480, 4),
                   Le(640, 4), Filler(imageBytes)}));
  if (!jpeg.empty()) {
    add("IMA2", Cat({Text("SECi"), Le(0x00020000, 4), Le(2, 4), Le(18, 4), Le(160, 4), Le(120, 4),
                     Le(0, 4), jpeg}));
  }
  if (!timeProperty.empty()) {
    const Bytes chars = Cat({Utf16("CAMMODEL"), Utf16("SD9"), Utf16("TIME"), Utf16(timeProperty)});
    const std::size_t model = 9;  // characters of "CAMMODEL" and its NUL
    const std::size_t time = model + 4;
    add("PROP",
        Cat({Text("SECp"), Le(0x00010000, 4), Le(2, 4), Le(0, 4), Le(0, 4), Le(chars.size() / 2, 4),
             Le(0, 4), Le(model, 4), Le(time, 4), Le(time + 5, 4), chars}));
  }
  const std::size_t directoryAt = file.size();
  return Cat({file, Text("SECd"), Le(0x00020000, 4), Le(count, 4), directory, Le(directoryAt, 4)});
}

Bytes PngChunk(const char (&type)[5], const Bytes& data) {
  const Bytes typed = Cat({Text(type), data});
  return Cat(
      {U32(static_cast<std::uint32_t>(data.size())), typed,
       U32(static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))))});
}

Bytes Png(const std::vector<Bytes>& chunks, std::size_t imageBytes,
          const std::vector<Bytes>& after) {
  Bytes out = Cat({Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'},
                   PngChunk("IHDR", Cat({U32(1), U32(1), Bytes{8, 0, 0, 0, 0}}))});
  for (const Bytes& chunk : chunks) {
    out = Cat({out, chunk});
  }
  // One gray pixel behind its filter byte, then stored filler the decoder never reaches.
  out = Cat({out, PngChunk("IDAT", Deflate(Cat({Bytes{0, 0x80}, Filler(imageBytes)})))});
  for (const Bytes& chunk : after) {
    out = Cat({out, chunk});
  }
  return Cat({out, PngChunk("IEND", {})});
}

std::string RawProfileText(const Bytes& block) {
  char head[32];
  std::snprintf(head, sizeof head, "\nexif\n%8zu", block.size());
  std::string text = head;
  for (std::size_t i = 0; i < block.size(); ++i) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", block[i]);
    if (i % 36 == 0) {
      text += '\n';
    }
    text += hex;
  }
  return text + "\n";
}

Bytes PngProfileChunk(const char (&type)[5], const Bytes& tiff, bool compressed) {
  const Bytes text = Text(RawProfileText(Cat({Text(std::string("Exif\0\0", 6)), tiff})));
  const Bytes keyword = Cat({Text("Raw profile type exif"), Bytes{0}});
  if (std::strcmp(type, "zTXt") == 0) {
    return PngChunk(type, Cat({keyword, Bytes{0}, Deflate(text)}));
  }
  if (std::strcmp(type, "iTXt") == 0) {
    return PngChunk(type,
                    Cat({keyword, Bytes{compressed ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0},
                         compressed ? Deflate(text) : text}));
  }
  return PngChunk(type, Cat({keyword, text}));
}

Bytes Deflate(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
  out.resize(size);
  return out;
}

Bytes RiffChunk(const char (&id)[5], const Bytes& data) {
  return Cat({Text(id), Le(data.size(), 4), data, Bytes(data.size() & 1)});
}

Bytes RiffList(const char (&id)[5], const char (&form)[5], const std::vector<Bytes>& chunks) {
  Bytes data = Text(form);
  for (const Bytes& chunk : chunks) {
    data = Cat({data, chunk});
  }
  return RiffChunk(id, data);
}

Bytes Webp(const Bytes& exif, std::size_t imageBytes) {
  const std::uint8_t flags = exif.empty() ? 0 : 0x08;
  // A 1x1 lossless image: signature, 14-bit width-1 and height-1, then its bit stream.
  const Bytes image = Cat(
      {Bytes{0x2F, 0, 0, 0, 0, 0x07, 0, 0x10, 0x07, 0x10, 0x11, 0x11, 0x88, 0x88, 0xFE, 0x07, 0},
       Filler(imageBytes)});
  std::vector<Bytes> chunks = {RiffChunk("VP8X", Cat({Bytes{flags, 0, 0, 0}, Bytes(6)})),
                               RiffChunk("VP8L", image)};
  if (!exif.empty()) {
    chunks.push_back(RiffChunk("EXIF", exif));
  }
  return RiffList("RIFF", "WEBP", chunks);
}

Bytes Jxl(const Bytes& tiff, std::size_t imageBytes) {
  const Bytes signature = {0, 0, 0, 12, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  return Cat({signature, Box("ftyp", Cat({Text("jxl "), U32(0), Text("jxl ")})),
              Box("jxlc", Cat({Bytes{0xFF, 0x0A, 0xFA, 0x1F, 0x01, 0x00}, Filler(imageBytes)})),
              Box("Exif", Cat({U32(0), tiff}))});
}

Bytes Psd(const Bytes& tiff, std::size_t imageBytes) {
  const auto resource = [](std::uint16_t id, const Bytes& data) {
    return Cat({Text("8BIM"), U16(id), Bytes{0, 0}, U32(static_cast<std::uint32_t>(data.size())),
                data, Bytes(data.size() & 1)});
  };
  Bytes resources = resource(0x03ED, Bytes(16, 0));  // resolution information
  if (!tiff.empty()) {
    resources = Cat({resources, resource(0x0422, tiff)});
  }
  return Cat({Text("8BPS"), U16(1), Bytes(6), U16(3), U32(1), U32(1), U16(8), U16(3), U32(0),
              U32(static_cast<std::uint32_t>(resources.size())), resources, U32(0), U16(0),
              Bytes{0x80, 0x80, 0x80}, Filler(imageBytes)});
}

Bytes Avi(const AviParts& parts) {
  const Bytes avih = Cat({Le(40000, 4), Le(0, 4), Le(0, 4), Le(0x10, 4), Le(1, 4), Le(0, 4),
                          Le(1, 4), Le(0, 4), Le(16, 4), Le(16, 4), Bytes(16)});
  const Bytes strh = Cat({Text("vidsMJPG"), Le(0, 4), Le(0, 4), Le(0, 4), Le(1, 4), Le(25, 4),
                          Le(0, 4), Le(1, 4), Le(0, 4), Le(0xFFFFFFFF, 4), Le(0, 4), Bytes(8)});
  const Bytes strf = Cat(
      {Le(40, 4), Le(16, 4), Le(16, 4), Le(1, 2), Le(24, 2), Text("MJPG"), Le(768, 4), Bytes(16)});
  std::vector<Bytes> strl = {RiffChunk("strh", strh), RiffChunk("strf", strf)};
  if (!parts.streamTakenAt.empty()) {
    // The directories' offsets count from the first one's start, eight bytes into the data:
    // IFD0 (Make, the Exif link) at 0, Make's text at 30, the Exif directory at 40, its date
    // at 58.
    const auto entry = [](std::uint16_t tag, std::uint16_t format, std::uint32_t count,
                          std::uint32_t value) {
      return Cat({Le(tag, 2), Le(format, 2), Le(count, 4), Le(value, 4)});
    };
    const Bytes date = Cat({Text(parts.streamTakenAt.substr(0, 19)),
                            Bytes(20 - std::min<std::size_t>(19, parts.streamTakenAt.size()))});
    strl.push_back(
        RiffChunk("strd", Cat({Text("AVIF"), Le(1, 4), Le(2, 2), entry(0x010F, 2, 10, 30),
                               entry(0x8769, 4, 1, 40), Le(0, 4), Text("Tallowick"), Bytes{0},
                               Le(1, 2), entry(0x9003, 2, 20, 58), Le(0, 4), date})));
  }
  std::vector<Bytes> hdrl = {RiffChunk("avih", avih), RiffList("LIST", "strl", strl)};
  if (!parts.idit.empty()) {
    hdrl.push_back(RiffChunk("IDIT", Cat({Text(parts.idit), Bytes{'\n', 0}})));
  }
  std::vector<Bytes> top = {RiffList("LIST", "hdrl", hdrl)};
  if (!parts.nikonTakenAt.empty()) {
    const Bytes date = Cat({Text(parts.nikonTakenAt), Bytes{0}});
    const Bytes tags = Cat(
        {Le(0x03, 2), Le(6, 2), Text("NIKON"), Bytes{0}, Le(0x13, 2), Le(date.size(), 2), date});
    top.push_back(RiffList("LIST", "ncdt", {RiffChunk("nctg", tags)}));
  }
  top.push_back(RiffList("LIST", "movi", {RiffChunk("00dc", Filler(parts.movieBytes))}));
  top.push_back(
      RiffChunk("idx1", Cat({Text("00dc"), Le(0x10, 4), Le(4, 4), Le(parts.movieBytes, 4)})));
  return RiffList("RIFF", "AVI ", top);
}

Bytes MdpmSei(int year, int month, int day, int zoneHours) {
  const auto bcd = [](int value) {
    return static_cast<std::uint8_t>(value / 10 * 16 + value % 10);
  };
  const Bytes records = {4,
                         0x13,
                         0x00,
                         0x00,
                         0x01,
                         0x00,  // time code (frames, s, min, h)
                         0x18,
                         static_cast<std::uint8_t>(zoneHours * 2),
                         bcd(year / 100),
                         bcd(year % 100),
                         bcd(month),
                         0x19,
                         bcd(day),
                         0x12,
                         0x00,
                         0x00,
                         0x70,
                         0x80,
                         0x81,
                         0x82,
                         0x83};
  const Bytes uuid = {0x17, 0xee, 0x8c, 0x60, 0xf8, 0x4d, 0x11, 0xd9,
                      0x8c, 0xd6, 0x08, 0x00, 0x20, 0x0c, 0x9a, 0x66};
  const Bytes payload = Cat({uuid, Text("MDPM"), records});
  const Bytes rbsp =
      Cat({Bytes{5, static_cast<std::uint8_t>(payload.size())}, payload, Bytes{0x80}});
  // Emulation prevention: 00 00 followed by 00-03 gets a 03 between.
  Bytes escaped = {0, 0, 0, 1, 0x06};
  int zeros = 0;
  for (std::uint8_t byte : rbsp) {
    if (zeros >= 2 && byte <= 3) {
      escaped.push_back(3);
      zeros = 0;
    }
    escaped.push_back(byte);
    zeros = byte == 0 ? zeros + 1 : 0;
  }
  return escaped;
}

Bytes TransportStream(const Bytes& sei, std::size_t packetBytes, std::size_t videoBytes) {
  constexpr int kPmtPid = 0x100;
  constexpr int kVideoPid = 0x1011;
  const Bytes pat = Section(0x00, 1, Cat({U16(1), U16(0xE000 | kPmtPid)}));
  const Bytes pmt = Section(0x02, 1,
                            Cat({U16(0xE000 | kVideoPid), U16(0xF000), Bytes{0x1B},
                                 U16(0xE000 | kVideoPid), U16(0xF000)}));
  // PES: start code, stream 0xE0, no length, a PTS; then the access unit.
  const Bytes sps = {0,    0,    0,    1,    0x67, 0x64, 0x00, 0x28, 0xAC, 0xD9, 0x40,
                     0x78, 0x02, 0x27, 0xE5, 0xC0, 0x44, 0x00, 0x00, 0x03, 0x00, 0x04,
                     0x00, 0x00, 0x03, 0x00, 0xC8, 0x3C, 0x60, 0xC6, 0x58};
  Bytes slices = {0, 0, 0, 1, 0x65};
  slices.resize(5 + videoBytes, 0x5A);
  const Bytes pes = Cat({Bytes{0, 0, 1, 0xE0, 0, 0, 0x80, 0x80, 5, 0x21, 0, 1, 0, 1},
                         Bytes{0, 0, 0, 1, 0x09, 0xF0}, sps, sei, slices});
  Bytes out;
  int packets = 0;
  const auto emit = [&](int pid, const Bytes& payload) {
    for (std::size_t at = 0; at < payload.size();) {
      const bool start = at == 0;
      const Bytes packet = TsPacket(pid, start, payload, &at, packets);
      if (packetBytes == 192) {
        const Bytes code = U32(static_cast<std::uint32_t>(packets * 1000));
        out.insert(out.end(), code.begin(), code.end());
      }
      out.insert(out.end(), packet.begin(), packet.end());
      ++packets;
    }
  };
  emit(0, pat);
  emit(kPmtPid, pmt);
  emit(kVideoPid, pes);
  return out;
}

Bytes Matroska(std::int64_t dateNanoseconds, bool withDate, std::size_t clusterBytes) {
  const Bytes header =
      Ebml(0x1A45DFA3,
           Cat({EbmlUint(0x4286, 1), EbmlUint(0x42F7, 1), EbmlUint(0x42F2, 4), EbmlUint(0x42F3, 8),
                Ebml(0x4282, Text("matroska")), EbmlUint(0x4287, 4), EbmlUint(0x4285, 2)}));
  Bytes info = EbmlUint(0x2AD7B1, 1000000);
  if (withDate) {
    info = Cat({info, Ebml(0x4461, boxbuilder::U64(static_cast<std::uint64_t>(dateNanoseconds)))});
  }
  info = Cat({info, Ebml(0x4D80, Text("Tallowick")), Ebml(0x5741, Text("Tallowick"))});
  const Bytes track = Ebml(0xAE, Cat({EbmlUint(0xD7, 1), EbmlUint(0x73C5, 1), EbmlUint(0x83, 1),
                                      Ebml(0x86, Text("V_MJPEG")),
                                      Ebml(0xE0, Cat({EbmlUint(0xB0, 16), EbmlUint(0xBA, 16)}))}));
  const Bytes cluster = Ebml(
      0x1F43B675,
      Cat({EbmlUint(0xE7, 0), Ebml(0xA3, Cat({Bytes{0x81, 0, 0, 0x80}, Filler(clusterBytes)}))}));
  return Cat(
      {header, Ebml(0x18538067, Cat({Ebml(0x1549A966, info), Ebml(0x1654AE6B, track), cluster}))});
}

std::int64_t MatroskaTime(int year, int month, int day, int hour) {
  using namespace std::chrono;
  const sys_seconds time = sys_days{std::chrono::year{year} / month / day} + hours{hour};
  return (time.time_since_epoch().count() - 978307200) * 1000000000LL;
}

}  // namespace camerabuilder
