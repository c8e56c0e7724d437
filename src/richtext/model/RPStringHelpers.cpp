#include "richtext/model/RPStringHelpers.h"

#include <cstring>

#include "platform/base/TextUtils.h"

namespace {
TRPUrlTest UrlHook;

AnsiString ReplaceUnits(AnsiStringView text, AnsiStringView unit, AnsiStringView by) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); at += unit.size()) {
    if (text.substr(at, unit.size()) == unit)
      out += by;
    else
      out += text.substr(at, unit.size());
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

AnsiString ReplaceTabsWithSpaces(AnsiStringView text, int32_t n) {
  return ReplaceUnits(text, "\t", AnsiString(static_cast<size_t>(n > 0 ? n : 0), ' '));
}

AnsiString ReplaceTabsWithSpacesW(AnsiStringView raw, int32_t n) {
  AnsiString spaces;
  for (int32_t i = 0; i < n; ++i) spaces.append(" \0", 2);
  return ReplaceUnits(raw, AnsiStringView("\t\0", 2), spaces);
}

AnsiString ReplaceAllRepeated(AnsiString text, AnsiStringView pattern, AnsiStringView replacement) {
  if (pattern.empty()) return text;
  for (size_t at = text.find(pattern); at != AnsiString::npos; at = text.find(pattern))
    text.replace(at, pattern.size(), replacement);
  return text;
}

AnsiString ReplaceAllForward(AnsiString text, AnsiStringView pattern, AnsiStringView replacement) {
  if (pattern.empty()) return text;
  for (size_t at = text.find(pattern); at != AnsiString::npos; at = text.find(pattern, at + replacement.size()))
    text.replace(at, pattern.size(), replacement);
  return text;
}

int32_t FindByteInBuffer(const char* buffer, char byte, int32_t length) {
  if (!buffer || length <= 0) return 0;
  const void* found = std::memchr(buffer, byte, static_cast<size_t>(length));
  return found ? static_cast<int32_t>(static_cast<const char*>(found) - buffer) + 1 : 0;
}

AnsiString ReplaceZeroChars(AnsiString text) {
  for (char& c : text)
    if (c == '\0') c = '?';
  return text;
}

AnsiString AppendWithSeparator(const AnsiString& text, const AnsiString& addition, const AnsiString& separator) {
  if (text.empty()) return addition;
  return addition.empty() ? text : text + separator + addition;
}

AnsiString AppendWithSpace(const AnsiString& text, const AnsiString& addition) {
  return AppendWithSeparator(text, addition, " ");
}

AnsiString ReplaceCharsInSet(AnsiStringView text, char ch, const TRPByteSet& set) {
  AnsiString out(text);
  for (char& c : out)
    if (set.test(static_cast<uint8_t>(c))) c = ch;
  return out;
}

AnsiString PrefixCharsInSet(AnsiStringView text, char ch, const TRPByteSet& set) {
  AnsiString out;
  for (char c : text) {
    if (set.test(static_cast<uint8_t>(c))) out += ch;
    out += c;
  }
  return out;
}

AnsiString DecodePercentEscapes(AnsiStringView text) {
  AnsiString out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

void SetLooksLikeUrlHook(TRPUrlTest hook) { UrlHook = std::move(hook); }

bool LooksLikeUrl(const AnsiString& text) {
  if (UrlHook && UrlHook(text)) return true;
  const AnsiString lower = LowerCase(text);
  for (const char* prefix : {"http://", "ftp://", "file://", "gopher://", "mailto:", "https://",
                             "news:", "telnet:", "wais:", "www.", "ftp."}) {
    const size_t length = std::strlen(prefix);
    if (lower.size() > length && lower.compare(0, length, prefix) == 0) return true;
  }
  return false;
}

bool LooksLikeEmailAddress(const AnsiString& text) {
  const size_t at = text.find('@');
  const size_t dot = text.rfind('.');
  return at != AnsiString::npos && dot != AnsiString::npos && dot > at;
}
