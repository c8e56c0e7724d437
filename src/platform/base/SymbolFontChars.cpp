#include "platform/base/SymbolFontChars.h"

#include <array>
#include <cstddef>

namespace {

struct TSymbolChar {
  WideChar Unicode;
  const char* HtmlName;
};

constexpr uint8_t FirstSymbolCode = 32;

// Codes 32 to 255. Where the font's glyph is a piece of a larger sign (the radical and
// arrow extenders, the parts of tall brackets), the character is Unicode's piece of that
// sign and HTML writes the nearest ASCII stroke. The two phi shapes follow the glyphs:
// 'f' is the stroked phi (U+03D5), 'j' the open one (U+03C6).
constexpr std::array<TSymbolChar, 256 - FirstSymbolCode> SymbolChars = {{
    // clang-format off
    /*  32 */ {0x0020, " "}, {0x0021, "!"}, {0x2200, "forall"}, {0x0023, "#"}, {0x2203, "exist"}, {0x0025, "%"},
    /*  38 */ {0x0026, "&"}, {0x220B, "?"}, {0x0028, "("}, {0x0029, ")"}, {0x2217, "*"}, {0x002B, "+"}, {0x002C, ","},
    /*  45 */ {0x2212, "-"}, {0x002E, "."}, {0x002F, "/"}, {0x0030, "0"}, {0x0031, "1"}, {0x0032, "2"}, {0x0033, "3"},
    /*  52 */ {0x0034, "4"}, {0x0035, "5"}, {0x0036, "6"}, {0x0037, "7"}, {0x0038, "8"}, {0x0039, "9"}, {0x003A, ":"},
    /*  59 */ {0x003B, ";"}, {0x003C, "<"}, {0x003D, "="}, {0x003E, ">"}, {0x003F, "?"},
    // the capital Greek letters
    /*  64 */ {0x2245, "cong"}, {0x0391, "Alpha"}, {0x0392, "Beta"}, {0x03A7, "Chi"}, {0x0394, "Delta"},
    /*  69 */ {0x0395, "Epsilon"}, {0x03A6, "Phi"}, {0x0393, "Gamma"}, {0x0397, "Eta"}, {0x0399, "Iota"},
    /*  74 */ {0x03D1, "#977"}, {0x039A, "Kappa"}, {0x039B, "Lambda"}, {0x039C, "Mu"}, {0x039D, "Nu"},
    /*  79 */ {0x039F, "Omicron"}, {0x03A0, "Pi"}, {0x0398, "Theta"}, {0x03A1, "Rho"}, {0x03A3, "Sigma"},
    /*  84 */ {0x03A4, "Tau"}, {0x03A5, "Upsilon"}, {0x03C2, "sigmaf"}, {0x03A9, "Omega"}, {0x039E, "Xi"},
    /*  89 */ {0x03A8, "Psi"}, {0x0396, "Zeta"}, {0x005B, "["}, {0x2234, "there4"}, {0x005D, "]"}, {0x22A5, "perp"},
    /*  95 */ {0x005F, "_"},
    // the small Greek letters
    /*  96 */ {0x203E, "-"}, {0x03B1, "alpha"}, {0x03B2, "beta"}, {0x03C7, "chi"}, {0x03B4, "delta"},
    /* 101 */ {0x03B5, "epsilon"}, {0x03D5, "#981"}, {0x03B3, "gamma"}, {0x03B7, "eta"}, {0x03B9, "iota"},
    /* 106 */ {0x03C6, "phi"}, {0x03BA, "kappa"}, {0x03BB, "lambda"}, {0x03BC, "mu"}, {0x03BD, "nu"},
    /* 111 */ {0x03BF, "omicron"}, {0x03C0, "pi"}, {0x03B8, "theta"}, {0x03C1, "rho"}, {0x03C3, "sigma"},
    /* 116 */ {0x03C4, "tau"}, {0x03C5, "upsilon"}, {0x03D6, "#982"}, {0x03C9, "omega"}, {0x03BE, "xi"},
    /* 121 */ {0x03C8, "psi"}, {0x03B6, "zeta"}, {0x007B, "{"}, {0x007C, "|"}, {0x007D, "}"}, {0x223C, "~"},
    // 127 - 159: nothing
    /* 127 */ {0, ""},
    /* 128 */ {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""},
    /* 139 */ {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""},
    /* 150 */ {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""},
    /* 160 */ {0x20AC, ""}, {0x03D2, "#978"}, {0x2032, "prime"}, {0x2264, "le"}, {0x2044, "frasl"}, {0x221E, "infin"},
    /* 166 */ {0x0192, "fnof"}, {0x2663, "clubs"}, {0x2666, "diams"}, {0x2665, "hearts"}, {0x2660, "spades"},
    /* 171 */ {0x2194, "harr"}, {0x2190, "larr"}, {0x2191, "uarr"}, {0x2192, "rarr"}, {0x2193, "darr"},
    /* 176 */ {0x00B0, "\xB0"}, {0x00B1, "plusmn"}, {0x2033, "Prime"}, {0x2265, "ge"}, {0x00D7, "times"},
    /* 181 */ {0x221D, "prop"}, {0x2202, "part"}, {0x2022, "#8226"}, {0x00F7, "divide"}, {0x2260, "ne"},
    /* 186 */ {0x2261, "equiv"}, {0x2248, "asymp"}, {0x2026, "hellip"}, {0x23D0, "|"}, {0x23AF, "-"},
    /* 191 */ {0x21B5, "crarr"},
    /* 192 */ {0x2135, "alefsym"}, {0x2111, "image"}, {0x211C, "real"}, {0x2118, "weierp"}, {0x2297, "otimes"},
    /* 197 */ {0x2295, "oplus"}, {0x2205, "empty"}, {0x2229, "cap"}, {0x222A, "cup"}, {0x2283, "sup"},
    /* 202 */ {0x2287, "supe"}, {0x2284, "nsub"}, {0x2282, "sub"}, {0x2286, "sube"}, {0x2208, "isin"},
    /* 207 */ {0x2209, "notin"}, {0x2220, "ang"}, {0x2207, "nabla"}, {0x00AE, "reg"}, {0x00A9, "copy"},
    /* 212 */ {0x2122, "trade"}, {0x220F, "prod"}, {0x221A, "radic"}, {0x22C5, "sdot"}, {0x00AC, "not"},
    /* 217 */ {0x2227, "and"}, {0x2228, "or"}, {0x21D4, "hArr"}, {0x21D0, "lArr"}, {0x21D1, "uArr"}, {0x21D2, "rArr"},
    /* 223 */ {0x21D3, "dArr"},
    /* 224 */ {0x25CA, "loz"}, {0x27E8, "lang"},
    // 226 - 228: the sans-serif forms of 210 - 212
    /* 226 */ {0x00AE, "reg"}, {0x00A9, "copy"}, {0x2122, "trade"}, {0x2211, "sum"}, {0x239B, "/"}, {0x239C, "|"},
    /* 232 */ {0x239D, "\\"}, {0x23A1, "/"}, {0x23A2, "|"}, {0x23A3, "\\"}, {0x23A7, "/"}, {0x23A8, "{"},
    /* 238 */ {0x23A9, "\\"}, {0x23AA, "|"}, {0, "euro"}, {0x27E9, "rang"}, {0x222B, "int"}, {0x2320, "#8992"},
    /* 244 */ {0x23AE, "|"}, {0x2321, "#8993"}, {0x239E, "\\"}, {0x239F, "|"}, {0x23A0, "/"}, {0x23A4, "\\"},
    /* 250 */ {0x23A5, "|"}, {0x23A6, "/"}, {0x23AB, "\\"}, {0x23AC, "}"}, {0x23AD, "/"}, {0, ""},
    // clang-format on
}};

constexpr const TSymbolChar& Row(unsigned code) { return SymbolChars[code - FirstSymbolCode]; }

// The rows stand at their codes: the ASCII rows that the font keeps show themselves.
constexpr bool KeepsAscii(unsigned code) {
  const char* name = Row(code).HtmlName;
  return Row(code).Unicode == code && name[0] == static_cast<char>(code) && name[1] == 0;
}
static_assert(KeepsAscii(' ') && KeepsAscii('0') && KeepsAscii('?') && KeepsAscii('[') && KeepsAscii('_') &&
              KeepsAscii('{') && KeepsAscii('}'));
// One row of each block, so a row left out or put twice shows.
static_assert(Row('@').Unicode == 0x2245 && Row('D').Unicode == 0x0394 && Row('`').Unicode == 0x203E &&
              Row('p').Unicode == 0x03C0 && Row(0xA0).Unicode == 0x20AC && Row(0xAE).Unicode == 0x2192 &&
              Row(0xC0).Unicode == 0x2135 && Row(0xE0).Unicode == 0x25CA && Row(0xFE).Unicode == 0x23AD);
// Every code that shows a character has a name, but for 160, which HTML leaves out.
constexpr bool NamesTheDrawnCodes() {
  for (unsigned code = FirstSymbolCode; code < 256; ++code)
    if ((Row(code).Unicode != 0) != (Row(code).HtmlName[0] != 0) && code != 160 && code != 240) return false;
  return true;
}
static_assert(NamesTheDrawnCodes());

}  // namespace

WideChar SymbolCharToUnicode(uint8_t code) noexcept { return code < FirstSymbolCode ? 0 : Row(code).Unicode; }

const char* SymbolCharHtmlName(uint8_t code) noexcept { return code < FirstSymbolCode ? "" : Row(code).HtmlName; }
