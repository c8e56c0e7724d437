#include "xml/codecs/ComputedCodePages.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

using TByteTable = std::array<char16_t, 256>;
constexpr char16_t Undefined = TCodePageTable::Undefined;

template <class TRule>
constexpr TByteTable MakeTable(TRule rule) {
  TByteTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = rule(static_cast<int>(i));
  return table;
}

constexpr bool InRange(int value, int first, int last) { return value >= first && value <= last; }

constexpr TByteTable CharsISO8859_5 = MakeTable([](int b) -> char16_t {
  if (b <= 0xA0 || b == 0xAD) return char16_t(b);
  if (b == 0xF0) return 0x2116;
  if (b == 0xFD) return 0x00A7;
  return char16_t(b + 0x360);
});

constexpr TByteTable CharsISO8859_6 = MakeTable([](int b) -> char16_t {
  if (b <= 0xA0 || b == 0xA4 || b == 0xAD) return char16_t(b);
  if (InRange(b, 0xA1, 0xA3) || InRange(b, 0xA5, 0xAB) || InRange(b, 0xAE, 0xBA) || InRange(b, 0xBC, 0xBE) ||
      b == 0xC0 || InRange(b, 0xDB, 0xDF) || b >= 0xF3)
    return Undefined;
  return char16_t(b + 0x560);
});

// The 1987 edition: 0xA4, 0xA5 and 0xAA are Greek signs, not the currency signs of later editions.
constexpr TByteTable CharsISO8859_7 = MakeTable([](int b) -> char16_t {
  if (b <= 0xA0 || b == 0xA3 || InRange(b, 0xA6, 0xA9) || InRange(b, 0xAB, 0xAD) || InRange(b, 0xB0, 0xB3) ||
      b == 0xB7 || b == 0xBB || b == 0xBD)
    return char16_t(b);
  if (b == 0xA1) return 0x2018;
  if (b == 0xA2) return 0x2019;
  if (b == 0xAF) return 0x2015;
  if (b == 0xD2 || b == 0xFF) return Undefined;
  return char16_t(b + 0x2D0);
});

// The 1988 edition: 0xAF is the overline; the direction marks of later editions are undefined.
constexpr TByteTable CharsISO8859_8 = MakeTable([](int b) -> char16_t {
  if (b == 0xA1 || InRange(b, 0xBF, 0xDE) || b >= 0xFB) return Undefined;
  if (b == 0xAA) return 0x00D7;
  if (b == 0xAF) return 0x203E;
  if (b == 0xBA) return 0x00F7;
  if (b == 0xDF) return 0x2017;
  if (InRange(b, 0xE0, 0xFA)) return char16_t(b + 0x4F0);
  return char16_t(b);
});

constexpr TByteTable CharsISO8859_9 = MakeTable([](int b) -> char16_t {
  switch (b) {
    case 0xD0:
      return 0x011E;
    case 0xDD:
      return 0x0130;
    case 0xDE:
      return 0x015E;
    case 0xF0:
      return 0x011F;
    case 0xFD:
      return 0x0131;
    case 0xFE:
      return 0x015F;
    default:
      return char16_t(b);
  }
});

constexpr TByteTable CharsISO8859_15 = MakeTable([](int b) -> char16_t {
  switch (b) {
    case 0xA4:
      return 0x20AC;
    case 0xA6:
      return 0x0160;
    case 0xA8:
      return 0x0161;
    case 0xB4:
      return 0x017D;
    case 0xB8:
      return 0x017E;
    case 0xBC:
      return 0x0152;
    case 0xBD:
      return 0x0153;
    case 0xBE:
      return 0x0178;
    default:
      return char16_t(b);
  }
});

// The characters every EBCDIC page shares; everything else, the controls included, is undefined.
struct TEbcdicPair {
  uint8_t Byte;
  char16_t Char;
};
constexpr TEbcdicPair EbcdicInvariants[] = {
    {0x40, 0x0020}, {0x4A, 0x00A2}, {0x4B, 0x002E}, {0x4C, 0x003C}, {0x4D, 0x0028}, {0x4E, 0x002B}, {0x4F, 0x007C},
    {0x50, 0x0026}, {0x5A, 0x0021}, {0x5B, 0x0024}, {0x5C, 0x002A}, {0x5D, 0x0029}, {0x5E, 0x003B}, {0x5F, 0x00AC},
    {0x60, 0x002D}, {0x61, 0x002F}, {0x6A, 0x00A6}, {0x6B, 0x002C}, {0x6C, 0x0025}, {0x6D, 0x005F}, {0x6E, 0x003E},
    {0x6F, 0x003F}, {0x79, 0x0060}, {0x7A, 0x003A}, {0x7B, 0x0023}, {0x7C, 0x0040}, {0x7D, 0x0027}, {0x7E, 0x003D},
    {0x7F, 0x0022}, {0xA1, 0x007E}, {0xC0, 0x007B}, {0xD0, 0x007D}, {0xE0, 0x005C},
};

constexpr TByteTable CharsEBCDIC_US = MakeTable([](int b) -> char16_t {
  if (InRange(b, 0x81, 0x89)) return char16_t(u'a' + (b - 0x81));
  if (InRange(b, 0x91, 0x99)) return char16_t(u'j' + (b - 0x91));
  if (InRange(b, 0xA2, 0xA9)) return char16_t(u's' + (b - 0xA2));
  if (InRange(b, 0xC1, 0xC9)) return char16_t(u'A' + (b - 0xC1));
  if (InRange(b, 0xD1, 0xD9)) return char16_t(u'J' + (b - 0xD1));
  if (InRange(b, 0xE2, 0xE9)) return char16_t(u'S' + (b - 0xE2));
  if (InRange(b, 0xF0, 0xF9)) return char16_t(u'0' + (b - 0xF0));
  for (const TEbcdicPair& pair : EbcdicInvariants)
    if (pair.Byte == b) return pair.Char;
  return Undefined;
});

constexpr TByteTable CharsJIS_X0201 = MakeTable([](int b) -> char16_t {
  if (b == 0x5C) return 0x00A5;
  if (b == 0x7E) return 0x203E;
  if (InRange(b, 0x20, 0x7D)) return char16_t(b);
  if (InRange(b, 0xA1, 0xDF)) return char16_t(0xFF61 + (b - 0xA1));
  return Undefined;
});

}  // namespace

constexpr TCodePageTable CodePageISO8859_5{"ISO-8859-5", 0x00, 0xFF, CharsISO8859_5.data()};
constexpr TCodePageTable CodePageISO8859_6{"ISO-8859-6", 0x00, 0xFF, CharsISO8859_6.data()};
constexpr TCodePageTable CodePageISO8859_7{"ISO-8859-7", 0x00, 0xFF, CharsISO8859_7.data()};
constexpr TCodePageTable CodePageISO8859_8{"ISO-8859-8", 0x00, 0xFF, CharsISO8859_8.data()};
constexpr TCodePageTable CodePageISO8859_9{"ISO-8859-9", 0x00, 0xFF, CharsISO8859_9.data()};
constexpr TCodePageTable CodePageISO8859_15{"ISO-8859-15", 0x00, 0xFF, CharsISO8859_15.data()};
constexpr TCodePageTable CodePageEBCDIC_US{"EBCDIC-US", 0x00, 0xFF, CharsEBCDIC_US.data()};
constexpr TCodePageTable CodePageJIS_X0201{"JIS_X0201", 0x00, 0xFF, CharsJIS_X0201.data()};
