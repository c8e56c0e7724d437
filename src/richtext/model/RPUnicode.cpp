#include "richtext/model/RPUnicode.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/InputLanguage.h"
#include "platform/base/Locale.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UnicodeCase.h"
#include "richtext/model/RPException.h"

namespace {

bool IsUnicodeText(TRPItemOptions options) { return (options & rpioUnicode) != 0; }

WideChar UnitAt(AnsiStringView raw, size_t index) {
  return static_cast<WideChar>(static_cast<uint8_t>(raw[2 * index]) | (static_cast<uint8_t>(raw[2 * index + 1]) << 8));
}

void AppendUnit(AnsiString& raw, WideChar ch) {
  raw.push_back(static_cast<char>(ch & 0xFF));
  raw.push_back(static_cast<char>(ch >> 8));
}

// The stored form with every unit that `keep` rejects dropped.
template <typename Keep>
AnsiString FilterUnits(AnsiStringView raw, Keep keep) {
  AnsiString out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size() / 2; ++i)
    if (keep(UnitAt(raw, i))) AppendUnit(out, UnitAt(raw, i));
  return out;
}

void AppendUtf16AsUtf8(AnsiString& out, WideStringView text) {
  if (text.empty()) return;
  out += WideToAnsi(text, CP_UTF8);
}

}  // namespace

// --- Stored-text primitives ----------------------------------------------------------

size_t ItemTextByteOffset(int32_t position, TRPItemOptions options) {
  const size_t index = position > 1 ? static_cast<size_t>(position - 1) : 0;
  return IsUnicodeText(options) ? 2 * index : index;
}

int32_t GetItemTextLength(AnsiStringView text, TRPItemOptions options) {
  const auto bytes = static_cast<int32_t>(text.size());
  return IsUnicodeText(options) ? bytes / 2 : bytes;
}

AnsiString CopyItemText(AnsiStringView text, int32_t from, int32_t count, TRPItemOptions options) {
  if (count <= 0) return {};
  const size_t start = ItemTextByteOffset(from, options);
  if (start >= text.size()) return {};
  const size_t bytes = IsUnicodeText(options) ? 2 * static_cast<size_t>(count) : static_cast<size_t>(count);
  return AnsiString(text.substr(start, bytes));
}

void DeleteItemText(AnsiString& text, int32_t from, int32_t count, TRPItemOptions options) {
  if (count <= 0) return;
  const size_t start = ItemTextByteOffset(from, options);
  if (start >= text.size()) return;
  const size_t bytes = IsUnicodeText(options) ? 2 * static_cast<size_t>(count) : static_cast<size_t>(count);
  text.erase(start, bytes);
}

void InsertItemText(AnsiStringView substring, AnsiString& text, int32_t position, TRPItemOptions options) {
  text.insert(std::min(ItemTextByteOffset(position, options), text.size()), substring);
}

bool IsItemTextSpaceAt(AnsiStringView text, int32_t position, TRPItemOptions options) {
  if (position < 1 || position > GetItemTextLength(text, options)) return false;
  const size_t at = ItemTextByteOffset(position, options);
  if (!IsUnicodeText(options)) return text[at] == ' ';
  return text[at] == ' ' && text[at + 1] == 0;
}

void CheckUnicodeByteLength(size_t byteLength) {
  if (byteLength % 2 != 0) throw ERichPaneError(errRPUnicode);
}

// --- Conversions ---------------------------------------------------------------------

WideString RawUnicodeToWide(AnsiStringView raw) {
  CheckUnicodeByteLength(raw.size());
  WideString text(raw.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = UnitAt(raw, i);
  return text;
}

AnsiString WideToRawUnicode(WideStringView text) {
  AnsiString raw;
  raw.reserve(2 * text.size());
  for (WideChar ch : text) AppendUnit(raw, ch);
  return raw;
}

AnsiString AnsiToRawUnicode(uint32_t codePage, AnsiStringView text) {
  if (text.empty()) return {};
  const auto bytes = static_cast<int32_t>(text.size());
  int32_t length = MultiByteToWideChar(codePage, 0, text.data(), bytes, nullptr, 0);
  if (length == 0 && codePage != CP_ACP) {
    codePage = CP_ACP;
    length = MultiByteToWideChar(codePage, 0, text.data(), bytes, nullptr, 0);
  }
  if (length == 0) {
    AnsiString marks;
    for (size_t i = 0; i < text.size(); ++i) AppendUnit(marks, u'?');
    return marks;
  }
  WideString wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(codePage, 0, text.data(), bytes, wide.data(), length);
  return WideToRawUnicode(wide);
}

AnsiString RawUnicodeToAnsi(uint32_t codePage, AnsiStringView raw) {
  if (raw.empty()) return {};
  const WideString wide = RawUnicodeToWide(raw);
  const auto units = static_cast<int32_t>(wide.size());
  int32_t length = WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, "?", nullptr);
  if (length == 0 && codePage != CP_ACP) {
    codePage = CP_ACP;
    length = WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, "?", nullptr);
  }
  if (length == 0) return AnsiString(wide.size(), '?');
  AnsiString text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), units, text.data(), length, "?", nullptr);
  return text;
}

AnsiString CodePageTextToUtf8(uint32_t codePage, AnsiStringView text) {
  AnsiString out;
  if (!text.empty()) AppendUtf16AsUtf8(out, AnsiToWide(text, codePage));
  return out;
}

bool CanConvertRawUnicodeToCodePage(AnsiStringView, uint32_t) { return false; }

uint32_t CharsetToCodePage(int32_t charset) {
  switch (charset) {
    case 0:
      return 1252;
    // The Mac character sets: Roman, Japanese, Korean, simplified Chinese, traditional
    // Chinese, Johab, Hebrew, Arabic, Greek, Turkish, Thai, Central European, Cyrillic.
    case 77:
      return CP_MACCP;
    case 78:
      return 10001;
    case 79:
      return 10003;
    case 80:
      return 10008;
    case 81:
      return 10002;
    case 82:
      return 1361;
    case 83:
      return 10005;
    case 84:
      return 10004;
    case 85:
      return 10006;
    case 86:
      return 10081;
    case 87:
      return 10021;
    case 88:
      return 10029;
    case 89:
      return 10007;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 255:
      return CP_OEMCP;
    default:
      return CP_ACP;
  }
}

namespace {

// A locale item of the keyboard's language as text, up to its terminating zero; empty
// when the locale has none.
AnsiString KeyboardLocaleItem(uint32_t item) {
  char buffer[16] = {};
  if (GetLocaleInfoA(GetInputLanguage(), item, buffer, sizeof buffer) == 0) return {};
  return AnsiString(buffer);
}

}  // namespace

uint32_t GetKeyboardCodePage() {
  const AnsiString text = KeyboardLocaleItem(LOCALE_IDEFAULTANSICODEPAGE);
  uint32_t codePage = 0;
  if (text.empty()) return GetACP();
  for (char c : text) {
    if (c < '0' || c > '9' || codePage > 100000) return GetACP();
    codePage = codePage * 10 + static_cast<uint32_t>(c - '0');
  }
  return codePage;
}

uint16_t GetKeyboardLanguageId() {
  uint32_t id = 0;
  for (char c : KeyboardLocaleItem(LOCALE_ILANGUAGE)) {
    const int32_t digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
    if (digit < 0) break;
    id = (id << 4) | static_cast<uint32_t>(digit);
  }
  return static_cast<uint16_t>(id);
}

AnsiString KeyboardAnsiToRawUnicode(AnsiStringView text) { return AnsiToRawUnicode(GetKeyboardCodePage(), text); }

uint16_t CharsetToLanguageId(int32_t charset) {
  switch (charset) {
    case 0:
      return 1033;
    case 128:
      return 1041;
    case 129:
      return 1042;
    case 130:
      return 2066;
    case 134:
      return 2052;
    case 136:
      return 1028;
    case 161:
      return 1032;
    case 162:
      return 1055;
    case 163:
      return 1066;
    case 177:
      return 1037;
    case 204:
      return 1049;
    case 222:
      return 1054;
    case 1:
    case 178:
    case 186:
      return 0;
    default:
      return 1024;
  }
}

uint32_t MakeDefaultLocale(uint16_t languageId) { return static_cast<uint32_t>(languageId) | (1u << 10); }

// --- UTF-16 buffers ------------------------------------------------------------------

WideChar* SwapByteOrder(WideChar* buffer, int32_t count) {
  for (int32_t i = 0; i < count; ++i, ++buffer) *buffer = static_cast<WideChar>((*buffer >> 8) | (*buffer << 8));
  return buffer;
}

WideChar* SkipByteOrderMark(WideChar* text, int32_t count) {
  if (count <= 0) return text;
  if (*text == 0xFEFF) return text + 1;
  if (*text == 0xFFFE) {
    SwapByteOrder(text + 1, count - 1);
    return text + 1;
  }
  return text;
}

const WideChar* FindWideChar(const WideChar* buffer, WideChar ch, int32_t count) {
  if (count <= 0) return nullptr;
  const WideChar* end = buffer + count;
  const WideChar* found = std::find(buffer, end, ch);
  return found == end ? nullptr : found;
}

// --- HTML escaping -------------------------------------------------------------------

AnsiString HtmlEntityOfChar(WideChar ch) {
  switch (ch) {
    case u'&':
      return "&amp;";
    case u'<':
      return "&lt;";
    case u'>':
      return "&gt;";
    case 0x00A0:
      return "&nbsp;";
    default:
      return {};
  }
}

AnsiString RawUnicodeToHtmlEntities(AnsiStringView raw, bool rawText) {
  const WideString text = RawUnicodeToWide(raw);
  AnsiString out;
  bool afterSpace = true;  // a space at the start is kept by &nbsp;
  for (size_t i = 0; i < text.size(); ++i) {
    const WideChar ch = text[i];
    if (ch < 128) {
      if (!rawText && ch == u' ') {
        if (i + 1 == text.size() || afterSpace) {
          out += "&nbsp;";
          afterSpace = false;
        } else {
          out += ' ';
          afterSpace = true;
        }
        continue;
      }
      const AnsiString entity = rawText ? AnsiString() : HtmlEntityOfChar(ch);
      out += entity.empty() ? AnsiString(1, static_cast<char>(ch)) : entity;
    } else if (ch == 0x00A0) {
      out += "&nbsp;";
      continue;  // leaves the space flag as it was
    } else {
      out += "&#" + std::to_string(ch) + ";";
    }
    afterSpace = false;
  }
  return out;
}

AnsiString RawUnicodeToHtmlUtf8(AnsiStringView raw, bool rawText) {
  const WideString text = RawUnicodeToWide(raw);
  AnsiString out;
  if (rawText) {
    AppendUtf16AsUtf8(out, text);
    return out;
  }
  WideString pending;
  bool afterSpace = false;
  const auto flush = [&] {
    AppendUtf16AsUtf8(out, pending);
    pending.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const WideChar ch = text[i];
    if (ch == u' ') {
      if (i == 0 || afterSpace || i + 1 == text.size()) {
        flush();
        out += "&nbsp;";
        afterSpace = false;
      } else {
        pending += ch;
        afterSpace = true;
      }
      continue;
    }
    afterSpace = false;
    const AnsiString entity = HtmlEntityOfChar(ch);
    if (entity.empty()) {
      pending += ch;
    } else {
      flush();
      out += entity;
    }
  }
  flush();
  return out;
}

// --- Text as drawn -------------------------------------------------------------------

bool IsZeroWidthChar(WideChar ch) noexcept {
  return std::find(std::begin(ZeroWidthChars), std::end(ZeroWidthChars), ch) != std::end(ZeroWidthChars);
}

AnsiString PrepareDisplayText(AnsiStringView text, TRPItemOptions options, bool allCaps, bool atLineEnd,
                              bool removeZeroWidth, bool showSoftHyphens) {
  if (!IsUnicodeText(options)) return allCaps ? AnsiUpperCase(text) : AnsiString(text);
  WideString wide = RawUnicodeToWide(text);
  if (allCaps) CharUpperBuffW(wide.data(), static_cast<uint32_t>(wide.size()));
  constexpr WideChar SoftHyphen = 0x00AD;
  // A soft hyphen that ends the line stays, to be drawn as a hyphen.
  size_t replaceUpTo = wide.size();
  if (atLineEnd && !showSoftHyphens && replaceUpTo > 0) --replaceUpTo;
  for (size_t i = 0; i < replaceUpTo; ++i)
    if (wide[i] == SoftHyphen) wide[i] = showSoftHyphens ? WideChar(0x00AC) : WideChar(0x200B);
  AnsiString raw = WideToRawUnicode(wide);
  if (removeZeroWidth) raw = FilterUnits(raw, [](WideChar ch) { return !IsZeroWidthChar(ch); });
  return raw;
}
