#include "richtext/model/RPFStreamHelpers.h"

#include <algorithm>
#include <cstdint>

#include "platform/base/Exception.h"
#include "platform/base/Filer.h"
#include "platform/base/LittleEndian.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPStyleSheetQueries.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit of either case; -1 for another character.
int32_t HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bytes of the digit pairs of s into out, up to the first pair with another
// character; false when one was met.
bool DecodeHexPairs(AnsiStringView s, AnsiString& out) {
  out.reserve(s.size() / 2);
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    const int32_t high = HexValue(s[i]), low = HexValue(s[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>((high << 4) | low);
  }
  return true;
}

// A field ends at a NUL, a space or the end of the line (a CR or LF left on it too).
bool AtFieldEnd(AnsiStringView cursor) {
  return cursor.empty() || cursor[0] == '\0' || cursor[0] == ' ' || cursor[0] == '\r' || cursor[0] == '\n';
}

void SkipOneSpace(AnsiStringView& cursor) {
  if (!cursor.empty() && cursor[0] == ' ') cursor.remove_prefix(1);
}

AnsiString QuoteName(AnsiStringView name) {
  AnsiString quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A quoted name (or a number) among count names: the first that equals it, 0 when none.
bool ReadStyleField(AnsiStringView& cursor, int32_t count, const std::function<AnsiString(int32_t)>& nameOf,
                    int32_t& n) {
  if (RPFReadInteger(cursor, n)) return true;
  AnsiString name;
  if (!RPFReadQuotedString(cursor, name)) return false;
  n = 0;
  for (int32_t i = 0; i < count; ++i)
    if (nameOf(i) == name) {
      n = i;
      break;
    }
  return true;
}

AnsiString StreamBytes(TMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// stream holding the bytes of s, rewound.
void FillStream(TMemoryStream& stream, AnsiStringView s) {
  if (!s.empty()) stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
  stream.SetPosition(0);
}

// A 4-byte placeholder, what write puts after it, then the real length in the
// placeholder; the stream is left at the end.
void WriteLengthPrefixed(TStream& stream, const std::function<void(TStream&)>& write) {
  const int64_t start = stream.Position();
  const uint8_t placeholder[4] = {};
  stream.WriteBuffer(placeholder, 4);
  write(stream);
  const int64_t end = stream.Position();
  uint8_t length[4];
  StoreLE32(length, static_cast<uint32_t>(end - start - 4));
  stream.SetPosition(start);
  stream.WriteBuffer(length, 4);
  stream.SetPosition(end);
}

bool LoadControl(AnsiStringView bytes, std::unique_ptr<TComponent>& component, const AnsiString& className,
                 const TRPControlParentSetter& parent) {
  if (!className.empty()) {
    const TComponentFactory factory = FindComponentClass(className);
    component = factory ? factory() : nullptr;
  }
  try {
    if (component && parent) parent(*component);
    TMemoryStream stream;
    FillStream(stream, bytes);
    ReadComponent(stream, component);
  } catch (const std::exception&) {
    component.reset();
    return false;
  }
  if (component && parent) parent(*component);
  return true;
}

}  // namespace

// --- Writing ------------------------------------------------------------------------------

void RPFWrite(TStream& stream, AnsiStringView s) {
  if (!s.empty()) stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
}

void RPFWriteLine(TStream& stream, AnsiStringView s) {
  RPFWrite(stream, s);
  RPFWrite(stream, "\r\n");
}

void RPFWriteTextLine(TStream& stream, AnsiStringView s, bool unicode, bool hex) {
  if (unicode && hex) {
    RPFWriteLine(stream, RPFStrToHex(s));
  } else if (unicode) {
    RPFWrite(stream, s);
    RPFWrite(stream, ") ");  // U+2029, the paragraph separator, little-endian
  } else {
    RPFWriteLine(stream, s);
  }
}

// --- Hexadecimal ------------------------------------------------------------------------

AnsiString RPFStreamToHex(TMemoryStream& stream) { return RPFStrToHex(StreamBytes(stream)); }

AnsiString RPFStrToHex(AnsiStringView s) {
  AnsiString hex;
  hex.reserve(s.size() * 2);
  for (char c : s) {
    const auto byte = static_cast<uint8_t>(c);
    hex += HexDigits[byte >> 4];
    hex += HexDigits[byte & 0x0F];
  }
  return hex;
}

AnsiString RPFWideStrToHex(WideStringView w) {
  AnsiString hex;
  hex.reserve(w.size() * 4);
  for (WideChar c : w)
    for (int shift = 12; shift >= 0; shift -= 4) hex += HexDigits[(c >> shift) & 0x0F];
  return hex;
}

bool RPFHexToStream(AnsiStringView s, TMemoryStream& stream) {
  if (s.size() % 2 != 0) return false;
  AnsiString bytes;
  const bool whole = DecodeHexPairs(s, bytes);
  stream.SetSize(static_cast<int64_t>(s.size() / 2));
  stream.SetPosition(0);
  RPFWrite(stream, bytes);
  stream.SetPosition(0);
  return whole;
}

AnsiString RPFHexToStr(AnsiStringView s) {
  if (s.size() % 2 != 0) return {};
  AnsiString bytes;
  DecodeHexPairs(s, bytes);
  return bytes;
}

WideString RPFHexToWideStr(AnsiStringView s) {
  if (s.size() % 4 != 0) return {};
  WideString text;
  text.reserve(s.size() / 4);
  for (size_t i = 0; i < s.size(); i += 4) {
    uint32_t unit = 0;
    for (size_t j = 0; j < 4; ++j) {
      const int32_t digit = HexValue(s[i + j]);
      if (digit < 0) return text;
      unit = (unit << 4) | static_cast<uint32_t>(digit);
    }
    text += static_cast<WideChar>(unit);
  }
  return text;
}

// --- Pictures -----------------------------------------------------------------------------

AnsiString RPFSavePictureToHex(const TGraphic& graphic) {
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  return RPFStreamToHex(stream);
}

bool RPFLoadPictureFromHex(AnsiStringView s, TGraphic& graphic) {
  TMemoryStream stream;
  if (!RPFHexToStream(s, stream)) return false;
  graphic.LoadFromStream(stream);
  return true;
}

void RPFLoadPictureFromBinaryStr(AnsiStringView s, TGraphic& graphic) {
  TMemoryStream stream;
  FillStream(stream, s);
  graphic.LoadFromStream(stream);
}

void RPFSavePictureBinary(TStream& stream, const TGraphic& graphic) {
  WriteLengthPrefixed(stream, [&](TStream& out) { graphic.SaveToStream(out); });
}

AnsiString RPFReadBinaryBlock(TStream& stream) {
  uint8_t length[4];
  stream.ReadBuffer(length, 4);
  const uint32_t count = LoadLE32(length);
  // The length comes from the stream: a block longer than what is left is refused before
  // it is allocated.
  if (count > static_cast<uint64_t>(std::max<int64_t>(stream.Size() - stream.Position(), 0)))
    throw EReadError(SReadError);
  AnsiString bytes(count, '\0');
  if (count) stream.ReadBuffer(bytes.data(), static_cast<int32_t>(count));
  return bytes;
}

void RPFLoadPictureBinary(TStream& stream, TGraphic& graphic) {
  RPFLoadPictureFromBinaryStr(RPFReadBinaryBlock(stream), graphic);
}

// --- Components ---------------------------------------------------------------------------

AnsiString RPFSaveControlToHex(TComponent& component) {
  TMemoryStream stream;
  WriteComponent(stream, component);
  return RPFStreamToHex(stream);
}

void RPFSaveControlBinary(TStream& stream, TComponent& component) {
  WriteLengthPrefixed(stream, [&](TStream& out) { WriteComponent(out, component); });
}

bool RPFLoadControlFromHex(AnsiStringView s, std::unique_ptr<TComponent>& component, const AnsiString& className,
                           const TRPControlParentSetter& parent) {
  TMemoryStream stream;
  if (!RPFHexToStream(s, stream)) return false;
  return LoadControl(StreamBytes(stream), component, className, parent);
}

bool RPFLoadControlFromBinaryStr(AnsiStringView s, std::unique_ptr<TComponent>& component, const AnsiString& className,
                                 const TRPControlParentSetter& parent) {
  return LoadControl(s, component, className, parent);
}

// --- Field readers ------------------------------------------------------------------------

void RPFSkipBlanks(AnsiStringView& cursor) {
  while (!cursor.empty() && cursor[0] == ' ') cursor.remove_prefix(1);
}

bool RPFReadWord(AnsiStringView& cursor, AnsiString& s) {
  size_t end = 0;
  while (end < cursor.size() && cursor[end] != '\0' && cursor[end] != ' ') ++end;
  s.assign(cursor.substr(0, end));
  cursor.remove_prefix(end);
  SkipOneSpace(cursor);
  return !s.empty();
}

bool RPFReadInteger(AnsiStringView& cursor, int32_t& n) {
  AnsiStringView rest = cursor;
  const bool negative = !rest.empty() && rest[0] == '-';
  if (negative) rest.remove_prefix(1);
  if (rest.empty() || rest[0] < '0' || rest[0] > '9') return false;
  int64_t value = 0;
  while (!rest.empty() && rest[0] >= '0' && rest[0] <= '9') {
    value = value * 10 + (rest[0] - '0');
    if (value > int64_t{1} << 31) return false;
    rest.remove_prefix(1);
  }
  if (!AtFieldEnd(rest)) return false;
  value = negative ? -value : value;
  if (value > INT32_MAX) return false;
  n = static_cast<int32_t>(value);
  SkipOneSpace(rest);
  cursor = rest;
  return true;
}

bool RPFReadQuotedString(AnsiStringView& cursor, AnsiString& s) {
  if (cursor.empty() || cursor[0] != '"') return false;
  AnsiString text;
  for (size_t at = 1; at < cursor.size(); ++at) {
    if (cursor[at] != '"') {
      text += cursor[at];
      continue;
    }
    if (at + 1 < cursor.size() && cursor[at + 1] == '"') {
      text += '"';
      ++at;
      continue;
    }
    s = std::move(text);
    cursor.remove_prefix(at + 1);
    SkipOneSpace(cursor);
    return true;
  }
  return false;  // no closing quote
}

bool RPFReadStringField(AnsiStringView& cursor, bool asString, bool allowQuoted, TRPTag& value) {
  AnsiStringView rest = cursor;
  AnsiString text;
  const bool quoted = allowQuoted && !rest.empty() && rest[0] == '"';
  if (quoted ? !RPFReadQuotedString(rest, text) : !RPFReadWord(rest, text)) return false;
  if (asString) {
    value = TRPTag::FromText(!quoted && text == "0" ? AnsiString() : text);
  } else {
    AnsiStringView digits = text;
    int32_t number = 0;
    if (!RPFReadInteger(digits, number) || !digits.empty()) return false;
    value = TRPTag::FromNumber(number);
  }
  cursor = rest;
  return true;
}

bool RPFReadStyleNumber(AnsiStringView& cursor, const IRPStyleSheet* rpStyle, int32_t& n) {
  return ReadStyleField(
      cursor, rpStyle ? rpStyle->GetParaStyleCount() : 0, [&](int32_t i) { return rpStyle->GetParaStyleName(i); }, n);
}

bool RPFReadStyleNumberRec(AnsiStringView& cursor, const IRPStyleSheet* rpStyle, TRPFHeaderRec& rec) {
  return ReadStyleField(
      cursor, rpStyle ? rpStyle->GetTextStyleCount() : 0, [&](int32_t i) { return rpStyle->GetTextStyleName(i); },
      rec.StyleNo);
}

// --- Field writers ------------------------------------------------------------------------

AnsiString RPFTagToText(bool tagsArePChars, const TRPTag& tag) {
  if (!tagsArePChars) return std::to_string(tag.Number());
  return tag.Text().empty() ? AnsiString("0") : QuoteName(tag.Text());
}

AnsiString RPFTextStyleNoToText(const IRPStyleSheet* rpStyle, bool useNames, int32_t n) {
  if (useNames && rpStyle && n >= 0 && n < rpStyle->GetTextStyleCount()) return QuoteName(rpStyle->GetTextStyleName(n));
  return std::to_string(n);
}

AnsiString RPFParaNoToText(const IRPStyleSheet* rpStyle, bool useNames, int32_t n) {
  if (useNames && rpStyle && n >= 0 && n < rpStyle->GetParaStyleCount()) return QuoteName(rpStyle->GetParaStyleName(n));
  return std::to_string(n);
}

AnsiString RPFItemParaNoToText(int32_t n, const TCustomRPData& rpData, bool forceMinusOne) {
  return RPFParaNoToText(rpData.GetRPStyle(), (rpData.GetRPFOptions() & rpfoUseStyleNames) != 0,
                         forceMinusOne ? -1 : n);
}

namespace {

// s with every byte from replaced by the byte to at the same index.
AnsiString ReplaceBytes(AnsiStringView s, AnsiStringView from, AnsiStringView to) {
  AnsiString out(s);
  for (char& c : out)
    if (const size_t at = from.find(c); at != AnsiStringView::npos) c = to[at];
  return out;
}

}  // namespace

AnsiString RPFEncodeLineBreaks(AnsiStringView s) { return ReplaceBytes(s, "\r\n", "\x01\x02"); }

AnsiString RPFDecodeLineBreaks(AnsiStringView s) { return ReplaceBytes(s, "\x01\x02", "\r\n"); }
