#include "wolf/WolfFileReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("wolf reader: " + what); }

uint16_t Le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Le32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 | static_cast<uint32_t>(b[at + 2]) << 16 |
         static_cast<uint32_t>(b[at + 3]) << 24;
}

// A bounds-checked cursor over the file.
class Cursor {
public:
  explicit Cursor(std::span<const uint8_t> file) : File(file) {}

  std::span<const uint8_t> File;
  size_t Pos = 0;

  void Need(size_t bytes, const char* what) const {
    if (Pos > File.size() || File.size() - Pos < bytes) Fail(std::string("file ends inside ") + what);
  }
  bool At(std::string_view text) const {
    return Pos <= File.size() && File.size() - Pos >= text.size() &&
           std::memcmp(File.data() + Pos, text.data(), text.size()) == 0;
  }
  void Expect(std::string_view text) {
    if (!At(text)) Fail("expected \"" + std::string(text) + "\" at " + std::to_string(Pos));
    Pos += text.size();
  }
  uint32_t U32() {
    Need(4, "a u32");
    const uint32_t v = Le32(File, Pos);
    Pos += 4;
    return v;
  }
  uint16_t U16() {
    Need(2, "a u16");
    const uint16_t v = Le16(File, Pos);
    Pos += 2;
    return v;
  }
  std::vector<uint8_t> Bytes(size_t count) {
    Need(count, "a byte run");
    std::vector<uint8_t> out(File.begin() + static_cast<std::ptrdiff_t>(Pos),
                             File.begin() + static_cast<std::ptrdiff_t>(Pos + count));
    Pos += count;
    return out;
  }
  // Text up to (not including) the first occurrence of stop; moves past it.
  std::string Until(std::string_view stop) {
    const auto begin = File.begin() + static_cast<std::ptrdiff_t>(Pos);
    const auto found = std::search(begin, File.end(), stop.begin(), stop.end());
    if (found == File.end()) Fail("no \"" + std::string(stop) + "\" after " + std::to_string(Pos));
    std::string text(begin, found);
    Pos += text.size() + stop.size();
    return text;
  }
};

// "<img bitcount=B compact=1 width=W height=H length=L>": the attributes in this order.
TReadWolfImage ReadImageBlock(Cursor& c) {
  TReadWolfImage image;
  image.Offset = static_cast<uint32_t>(c.Pos);
  const std::string tag = c.Until(">");
  int compact = 0;
  unsigned length = 0;
  char tail = 0;
  if (std::sscanf(tag.c_str(), "<img bitcount=%d compact=%d width=%d height=%d length=%u%c", &image.BitCount, &compact,
                  &image.Width, &image.Height, &length, &tail) != 5)
    Fail("malformed image tag \"" + tag + "\"");
  const std::string canonical = "<img bitcount=" + std::to_string(image.BitCount) +
                                " compact=1 width=" + std::to_string(image.Width) +
                                " height=" + std::to_string(image.Height) + " length=" + std::to_string(length);
  if (tag != canonical) Fail("image tag \"" + tag + "\" is not in the fixed form");
  if (image.BitCount != 1 && image.BitCount != 2) Fail("image bit count " + std::to_string(image.BitCount));
  if (length == 0) Fail("image of length 0 at " + std::to_string(image.Offset));
  image.Encoded = c.Bytes(length);
  c.Expect("</img>");
  return image;
}

struct DecodeResult {
  std::vector<uint8_t> Bytes;
  size_t Consumed = 0;
};

DecodeResult Decode(std::span<const uint8_t> in, size_t outBytes, uint8_t ringFill) {
  std::array<uint8_t, 4096> ring;
  ring.fill(ringFill);
  size_t r = 4078;
  DecodeResult result;
  result.Bytes.reserve(outBytes);
  size_t pos = 0;
  const auto next = [&]() -> uint8_t {
    if (pos >= in.size()) Fail("LZSS stream ends after " + std::to_string(result.Bytes.size()) + " bytes");
    return in[pos++];
  };
  while (result.Bytes.size() < outBytes) {
    const uint8_t flags = next();
    for (int bit = 0; bit < 8 && result.Bytes.size() < outBytes; ++bit) {
      if (flags & (1 << bit)) {
        const uint8_t c = next();
        result.Bytes.push_back(c);
        ring[r] = c;
        r = (r + 1) % 4096;
      } else {
        const uint8_t b0 = next(), b1 = next();
        const size_t from = b0 | static_cast<size_t>(b1 >> 4) << 8;
        const size_t length = static_cast<size_t>(b1 & 0x0F) + 3;
        for (size_t k = 0; k < length; ++k) {
          if (result.Bytes.size() == outBytes) Fail("LZSS match runs past the image");
          const uint8_t c = ring[(from + k) % 4096];
          result.Bytes.push_back(c);
          ring[r] = c;
          r = (r + 1) % 4096;
        }
      }
    }
  }
  result.Consumed = pos;
  return result;
}

size_t RowBytes(int width, int bitCount) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 7) / 8;
}

}  // namespace

uint16_t TReadWolfBook::Header16(size_t offset) const { return Le16(Header, offset); }
uint32_t TReadWolfBook::Header32(size_t offset) const { return Le32(Header, offset); }

const TReadWolfImage& TReadWolfBook::PageImage(size_t index) const {
  const uint32_t at = PageLists.at(0).at(index);
  for (const TReadWolfImage& image : Images)
    if (image.Offset >= at) return image;
  Fail("no image for page " + std::to_string(index));
}

std::vector<uint8_t> DecodeWolfLZSS(std::span<const uint8_t> encoded, size_t outBytes, uint8_t ringFill) {
  return Decode(encoded, outBytes, ringFill).Bytes;
}

std::vector<uint8_t> UnpackWolfRows(std::span<const uint8_t> rows, int width, int height, int bitCount) {
  const size_t rowBytes = RowBytes(width, bitCount);
  if (rows.size() != rowBytes * static_cast<size_t>(height)) Fail("packed rows of the wrong size");
  std::vector<uint8_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows.data() + rowBytes * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bitCount);
      const int shift = 8 - bitCount - static_cast<int>(bit % 8);
      pixels.push_back(static_cast<uint8_t>((row[bit / 8] >> shift) & ((1 << bitCount) - 1)));
    }
  }
  return pixels;
}

std::vector<uint8_t> DecodeWolfImagePixels(std::span<const uint8_t> encoded, int width, int height, int bitCount) {
  const size_t outBytes = RowBytes(width, bitCount) * static_cast<size_t>(height);
  const DecodeResult first = Decode(encoded, outBytes, 0x00);
  // After the rows: an empty final group when the item count is a multiple of 8, then
  // the trailing 0x00.
  const size_t rest = encoded.size() - first.Consumed;
  if (rest < 1 || rest > 2 ||
      std::any_of(encoded.begin() + static_cast<std::ptrdiff_t>(first.Consumed), encoded.end(),
                  [](uint8_t b) { return b != 0; }))
    Fail("image stream does not end in its final group and one 0x00 byte");
  for (const uint8_t fill : {uint8_t{0x20}, uint8_t{'a'}})
    if (Decode(encoded, outBytes, fill).Bytes != first.Bytes) Fail("decoding depends on the ring's first contents");
  if (Decode(encoded.first(encoded.size() - 1), outBytes, 0x00).Bytes != first.Bytes)
    Fail("decoding needs the trailing byte");
  return UnpackWolfRows(first.Bytes, width, height, bitCount);
}

TReadWolfBook ReadWolfBook(std::span<const uint8_t> file) {
  TReadWolfBook book;
  Cursor c(file);
  c.Need(128, "the header");
  book.Header.assign(file.begin(), file.begin() + 128);
  if (std::memcmp(file.data(), "WolfEbook1.11\0\0", 15) != 0) Fail("bad signature");
  if (file[0x11] != 0x01 || file[0x12] != 0x02) Fail("header 0x11 is not 01 02");
  if (book.Header16(0x40) != 1) Fail("header 0x40 is not 1");

  const uint32_t descBytes = book.Header16(0x17), coverBytes = book.Header32(0x19), catalogBytes = book.Header32(0x1E),
                 bodyBytes = book.Header32(0x26), tableBytes = book.Header32(0x3C);
  if (uint64_t{128} + descBytes + coverBytes + bodyBytes + catalogBytes + tableBytes != file.size())
    Fail("section lengths do not add up to the file size");
  if (file.size() < 4 || Le32(file, file.size() - 4) != 0xFFFFFFFF) Fail("file does not end in FF FF FF FF");

  c.Pos = 128;
  const std::vector<uint8_t> desc = c.Bytes(descBytes);
  book.Description.assign(desc.begin(), desc.end());

  if (coverBytes != 0) {
    if (coverBytes < 11) Fail("cover record too short");
    book.HasCover = true;
    if (c.U16() != 1) Fail("cover record does not start with 1");
    book.Cover.Width = c.U16();
    book.Cover.BitCount = c.U16();
    book.Cover.RowBytesField = c.U16();
    book.Cover.Height = c.U16();
    book.Cover.Encoded = c.Bytes(coverBytes - 10);
  }

  book.BookStart = static_cast<uint32_t>(c.Pos);
  c.Expect("<wolf>\r\n");
  while (!c.At("</wolf>")) {
    if (c.At("<catalog>")) {
      c.Expect("<catalog>");
      while (c.At("<img")) book.Images.push_back(ReadImageBlock(c));
      c.Expect("</catalog>");
    } else {
      Fail("unexpected bytes in the book body at " + std::to_string(c.Pos));
    }
  }
  c.Expect("</wolf>");
  if (c.Pos - book.BookStart != bodyBytes) Fail("book body length differs from header 0x26");

  book.CatalogStart = static_cast<uint32_t>(c.Pos);
  c.Expect("<catalog>");
  while (c.At("<item>")) {
    c.Expect("<item>");
    TReadCatalogItem item;
    item.Name = c.Until("</item>");
    item.RelativePosition = c.U32();
    book.CatalogItems.push_back(item);
  }
  c.Expect("</catalog>");
  if (book.CatalogItems.size() != book.Header16(0x22)) Fail("catalog item count differs from header 0x22");
  const uint32_t subcatalogPos = book.Header32(0x61);
  if (subcatalogPos != 0) {
    if (subcatalogPos != c.Pos) Fail("header 0x61 does not point at \"<subcatalog>\"");
    book.SubcatalogStart = subcatalogPos;
    c.Expect("<subcatalog>");
    const size_t recordsStart = c.Pos;
    // The names area starts where the first record's name is.
    c.Need(80, "a subcatalog record");
    const uint32_t namesStart = Le32(file, recordsStart + 4);
    if (namesStart < recordsStart || (namesStart - recordsStart) % 80 != 0) Fail("names area misplaced");
    const size_t count = (namesStart - recordsStart) / 80;
    for (size_t j = 0; j < count; ++j) {
      TReadSubcatalogRecord rec;
      rec.Offset = static_cast<uint32_t>(c.Pos);
      const std::vector<uint8_t> raw = c.Bytes(80);
      rec.RelativePosition = Le32(raw, 0);
      rec.NamePosition = Le32(raw, 4);
      rec.NameBytes = Le16(raw, 8);
      rec.ChildCount = Le16(raw, 10);
      rec.PrevSibling = Le32(raw, 12);
      rec.NextSibling = Le32(raw, 16);
      rec.FirstChild = Le32(raw, 20);
      rec.Parent = Le32(raw, 24);
      rec.Level3 = raw[28];
      rec.Level2 = raw[29];
      rec.Level1 = raw[30];
      if (raw[31] != 0 || std::any_of(raw.begin() + 72, raw.end(), [](uint8_t b) { return b != 0; }))
        Fail("reserved record bytes are not 0");
      const auto shortEnd = std::find(raw.begin() + 32, raw.begin() + 72, 0);
      rec.ShortName.assign(raw.begin() + 32, shortEnd);
      if (std::any_of(shortEnd, raw.begin() + 72, [](uint8_t b) { return b != 0; })) Fail("short name not zero-padded");
      book.Records.push_back(rec);
    }
    size_t namePos = c.Pos;
    for (TReadSubcatalogRecord& rec : book.Records) {
      if (rec.NamePosition != namePos) Fail("record name position out of sequence");
      const std::vector<uint8_t> name = c.Bytes(rec.NameBytes);
      rec.Name.assign(name.begin(), name.end());
      if (rec.ShortName != rec.Name.substr(0, std::min<size_t>(40, rec.Name.size())).c_str())
        Fail("record's short name differs from its name");
      namePos += rec.NameBytes;
    }
    c.Expect("\x08</subcatalog>");
    std::set<uint32_t> recordOffsets;
    for (const TReadSubcatalogRecord& rec : book.Records) recordOffsets.insert(rec.Offset);
    for (const TReadSubcatalogRecord& rec : book.Records)
      for (const uint32_t link : {rec.PrevSibling, rec.NextSibling, rec.FirstChild, rec.Parent})
        if (link != 0 && !recordOffsets.count(link)) Fail("record link " + std::to_string(link) + " is no record");
  }
  if (c.Pos - book.CatalogStart != catalogBytes) Fail("catalog length differs from header 0x1E");

  book.PageTableStart = static_cast<uint32_t>(c.Pos);
  c.Expect("<pagetable ver=\"001\">");
  for (int i = 0; i < 13; ++i) book.PageTablePositions.push_back(c.U32());
  c.Expect("</pagetable>");
  book.PageLists.resize(8);
  for (size_t k = 0; k < 4; ++k) {
    const size_t listA = book.PageTablePositions[3 * k], listB = book.PageTablePositions[3 * k + 1],
                 end = book.PageTablePositions[3 * k + 2];
    if (c.Pos != listA || listB < listA || end < listB || (listB - listA) % 4 || (end - listB) % 4)
      Fail("page list pair " + std::to_string(k) + " misplaced");
    while (c.Pos < listB) book.PageLists[2 * k].push_back(c.U32());
    while (c.Pos < end) book.PageLists[2 * k + 1].push_back(c.U32());
    if (c.U32() != 0xFFFFFFFF) Fail("page list pair without terminator");
  }
  if (book.PageTablePositions[12] != c.Pos || c.Pos != file.size()) Fail("page table does not end the file");
  if (c.Pos - book.PageTableStart != tableBytes) Fail("page table length differs from header 0x3C");
  if (book.Header32(0x42) != book.PageLists[0].size() || book.Header32(0x4B) != book.PageLists[4].size())
    Fail("page list counts differ from header 0x42/0x4B");

  std::set<uint32_t> pagePositions;
  for (const auto& list : book.PageLists)
    for (const uint32_t at : list) {
      Cursor probe(file);
      probe.Pos = at;
      if (at < book.BookStart || at >= book.CatalogStart || !(probe.At("<catalog>") || probe.At("<img")))
        Fail("page-table entry " + std::to_string(at) + " points at neither \"<catalog>\" nor \"<img\"");
      pagePositions.insert(at);
    }
  for (const TReadCatalogItem& item : book.CatalogItems)
    if (!pagePositions.count(book.BookStart + item.RelativePosition))
      Fail("catalog item \"" + item.Name + "\" points at no page");
  for (const TReadSubcatalogRecord& rec : book.Records)
    if (!pagePositions.count(book.BookStart + rec.RelativePosition))
      Fail("record \"" + rec.Name + "\" points at no page");
  return book;
}
