#include "box_builder.h"

#include <algorithm>
#include <chrono>

namespace boxbuilder {
namespace {

Bytes BigEndian(std::uint64_t value, int count) {
  Bytes out(static_cast<std::size_t>(count));
  for (int i = count - 1; i >= 0; --i) {
    out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
    value >>= 8;
  }
  return out;
}

Bytes Type(const char (&type)[5]) {
  return Bytes(type, type + 4);
}

Bytes Id(std::uint32_t value, bool wide) {
  return wide ? U32(value) : U16(static_cast<std::uint16_t>(value));
}

Bytes FullBox(const char (&type)[5], std::uint8_t version, const Bytes& payload) {
  return Box(type, Cat({Bytes{version, 0, 0, 0}, payload}));
}

}  // namespace

Bytes U16(std::uint16_t value) {
  return BigEndian(value, 2);
}
Bytes U32(std::uint32_t value) {
  return BigEndian(value, 4);
}
Bytes U64(std::uint64_t value) {
  return BigEndian(value, 8);
}
Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) {
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

Bytes Box(const char (&type)[5], const Bytes& payload) {
  return Cat({U32(static_cast<std::uint32_t>(payload.size() + 8)), Type(type), payload});
}

Bytes Ftyp(const char (&brand)[5]) {
  return Box("ftyp", Cat({Type(brand), U32(0), Type(brand)}));
}

Bytes MovieHeader(std::uint8_t version, std::uint64_t creationSeconds) {
  const Bytes times = version == 1 ? Cat({U64(creationSeconds), U64(creationSeconds)})
                                   : Cat({U32(static_cast<std::uint32_t>(creationSeconds)),
                                          U32(static_cast<std::uint32_t>(creationSeconds))});
  return FullBox("mvhd", version, Cat({times, U32(600), Bytes(version == 1 ? 8 : 4), Bytes(80)}));
}

Bytes CreationDateMeta(const std::string& value, bool asFullBox) {
  const std::string otherKey = "com.apple.quicktime.make";
  const std::string dateKey = "com.apple.quicktime.creationdate";
  const Bytes hdlr = FullBox("hdlr", 0, Cat({U32(0), Text("mdta"), Bytes(12), Bytes{0}}));
  const Bytes keys =
      FullBox("keys", 0,
              Cat({U32(2), U32(static_cast<std::uint32_t>(otherKey.size() + 8)), Text("mdta"),
                   Text(otherKey), U32(static_cast<std::uint32_t>(dateKey.size() + 8)),
                   Text("mdta"), Text(dateKey)}));
  // ilst entries are boxes whose type is the key's 1-based index.
  auto entry = [](std::uint32_t index, const std::string& text) {
    const Bytes data = Box("data", Cat({U32(1), U32(0), Text(text)}));
    return Cat({U32(static_cast<std::uint32_t>(data.size() + 8)), U32(index), data});
  };
  const Bytes ilst = Box("ilst", Cat({entry(1, "Apple"), entry(2, value)}));
  const Bytes children = Cat({hdlr, keys, ilst});
  return asFullBox ? FullBox("meta", 0, children) : Box("meta", children);
}

Bytes Movie(std::initializer_list<Bytes> moovChildren) {
  return Cat({Ftyp("qt  "), Box("mdat", Bytes(64, 0xAB)), Box("moov", Cat(moovChildren))});
}

std::uint64_t Seconds1904(int year, int month, int day, int hour, int minute) {
  using namespace std::chrono;
  const sys_seconds time =
      sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute};
  return static_cast<std::uint64_t>(time.time_since_epoch().count() + 2082844800);  // from 1904
}

Bytes HeifWithExif(const Bytes& tiffBlock, const HeifLayout& layout) {
  Bytes prefix(layout.tiffOffset, 0);
  std::copy_n("Exif\0\0", std::min<std::size_t>(6, prefix.size()), prefix.begin());
  const Bytes item = Cat({U32(layout.tiffOffset), prefix, tiffBlock});

  auto infe = [&](std::uint32_t itemId, const char(&type)[5]) {
    return FullBox("infe", layout.infeVersion,
                   Cat({Id(itemId, layout.infeVersion == 3), U16(0), Type(type), Bytes{0}}));
  };
  const Bytes iinf = FullBox("iinf", 0,
                             Cat({U16(layout.withExifItem ? 2 : 1), infe(1, "hvc1"),
                                  layout.withExifItem ? infe(7, "Exif") : Bytes{}}));

  // The extents cut the item into nearly equal pieces, laid out in order.
  const std::size_t pieces = static_cast<std::size_t>(layout.extents);
  auto ilocWith = [&](std::uint64_t itemStart) {
    const std::uint8_t v = layout.ilocVersion;
    Bytes extents;
    std::size_t done = 0;
    for (std::size_t i = 0; i < pieces; ++i) {
      const std::size_t length = i + 1 == pieces ? item.size() - done : item.size() / pieces;
      extents = Cat({extents, U32(static_cast<std::uint32_t>(itemStart + done)),
                     U32(static_cast<std::uint32_t>(length))});
      done += length;
    }
    auto method = [&](int m) { return v == 0 ? Bytes{} : U16(static_cast<std::uint16_t>(m)); };
    // offset size 4, length size 4, base offset size 0, index size 0
    return FullBox(
        "iloc", v,
        Cat({Bytes{0x44, 0x00}, v == 2 ? U32(2) : U16(2), Id(1, v == 2), method(0), U16(0), U16(1),
             U32(0), U32(0), Id(7, v == 2), method(layout.inIdat ? 1 : 0), U16(0),
             U16(static_cast<std::uint16_t>(pieces)), extents}));
  };
  const Bytes hdlr = FullBox("hdlr", 0, Cat({U32(0), Text("pict"), Bytes(12), Bytes{0}}));
  const Bytes pitm = FullBox("pitm", 0, U16(1));
  const Bytes ftyp = Ftyp("heic");
  if (layout.inIdat) {
    const Bytes meta = FullBox("meta", 0, Cat({hdlr, pitm, iinf, ilocWith(0), Box("idat", item)}));
    return Cat({ftyp, meta});
  }
  // The item's offset in the file depends on the meta box's size, which does not.
  const std::size_t metaSize = FullBox("meta", 0, Cat({hdlr, pitm, iinf, ilocWith(0)})).size();
  const std::uint64_t itemStart = ftyp.size() + metaSize + 8;
  return Cat(
      {ftyp, FullBox("meta", 0, Cat({hdlr, pitm, iinf, ilocWith(itemStart)})), Box("mdat", item)});
}

}  // namespace boxbuilder
