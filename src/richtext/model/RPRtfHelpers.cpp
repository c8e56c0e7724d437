#include "richtext/model/RPRtfHelpers.h"

#include <cstdio>
#include <string>

#include "platform/base/StringTypes.h"
#include "platform/base/UnicodeCase.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/model/RPUnicode.h"

namespace {

AnsiString PrefixBackslash(AnsiStringView text) {
  AnsiString out;
  for (char c : text) {
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    out += c;
  }
  return out;
}

// A letter or digit of the ANSI code page.
bool IsAlphaNumericByte(char c) {
  uint16_t type = 0;
  return GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1, &c, 1, &type) && (type & (C1_ALPHA | C1_DIGIT)) != 0;
}

// The bytes of a \u fallback: printable ASCII as it is, every other byte and the RTF
// delimiters as "\'hh", so that every reader counts one character per byte (a
// double-byte character's trail byte may be a backslash or a brace).
AnsiString RtfFallbackBytes(AnsiStringView bytes) {
  AnsiString out;
  for (char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte >= 32 && byte < 127 && c != '\\' && c != '{' && c != '}') {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\'%02x", byte);
      out += hex;
    }
  }
  return out;
}

void Write(TStream& stream, const AnsiString& text) {
  if (!text.empty()) stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace

AnsiString RtfEncodeSpecialChars(AnsiStringView text, bool keywords) {
  AnsiString out(text);
  for (size_t i = out.size(); i-- > 0;) {
    const auto byte = static_cast<uint8_t>(out[i]);
    if (byte >= 32 && byte <= 127) continue;
    AnsiString replacement;
    if (keywords && byte == 0x95)
      replacement = "\\bullet ";
    else if (keywords && byte == 0xA0)
      replacement = "\\~";
    else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\'%02x", byte);
      replacement = hex;
    }
    out.replace(i, 1, replacement);
  }
  return out;
}

AnsiString RtfEscapeText(AnsiStringView text, bool raw, bool keywords) {
  return RtfEncodeSpecialChars(raw ? AnsiString(text) : PrefixBackslash(text), keywords);
}

AnsiString RtfEscapeFieldArgument(AnsiStringView text) {
  // Two layers: the field's own (a backslash or a double quote escaped with a backslash),
  // then RTF's (backslashes and braces escaped). Braces get only RTF's escape: escaping
  // them twice would leave a bare brace that opens or closes a group.
  AnsiString out;
  for (char c : text) {
    if (c == '\\')
      out += "\\\\\\\\";
    else if (c == '"')
      out += "\\\\\"";
    else if (c == '{' || c == '}')
      out += AnsiString("\\") + c;
    else
      out += c;
  }
  return RtfEncodeSpecialChars(out, false);
}

AnsiString RtfSanitizeName(AnsiStringView text) {
  AnsiString out(text);
  for (char& c : out)
    if (c == '\\' || c == '{' || c == '}') c = '_';
  return RtfEncodeSpecialChars(out, false);
}

AnsiString MakeRtfBookmarkName(AnsiStringView name) {
  AnsiString out(name);
  for (char& c : out)
    if (!IsAlphaNumericByte(c)) c = '_';
  return RtfEncodeSpecialChars(out, false);
}

void WriteRtfUnicodeText(TStream& stream, AnsiStringView raw, uint32_t codePage, bool rawText, bool withFallback) {
  static const struct {
    WideChar Unit;
    const char* Keyword;
  } keywords[] = {
      {0x0095, "\\bullet "},  {0x00A0, "\\~"},        {0x00AD, "\\-"},          {0x2002, "\\enspace "},
      {0x2003, "\\emspace "}, {0x2005, "\\qmspace "}, {0x2013, "\\endash "},    {0x2014, "\\emdash "},
      {0x2018, "\\lquote "},  {0x2019, "\\rquote "},  {0x201C, "\\ldblquote "}, {0x201D, "\\rdblquote "},
  };
  for (WideChar unit : RawUnicodeToWide(raw)) {
    if (unit >= 1 && unit <= 127) {
      Write(stream, RtfEscapeText(AnsiString(1, static_cast<char>(unit)), rawText, true));
      continue;
    }
    bool written = false;
    for (const auto& k : keywords)
      if (!rawText && unit == k.Unit) {
        Write(stream, k.Keyword);
        written = true;
      }
    if (written) continue;
    AnsiString fallback;
    if (withFallback) {
      fallback = RawUnicodeToAnsi(codePage, WideToRawUnicode(WideString(1, unit)));
      if (fallback.size() != 1) Write(stream, "\\uc" + std::to_string(fallback.size()));
    }
    Write(stream, "\\u" + std::to_string(static_cast<int16_t>(unit)) + " ");
    if (withFallback) {
      Write(stream, RtfFallbackBytes(fallback));
      if (fallback.size() != 1) Write(stream, "\\uc1 ");
    }
  }
}

void WriteRTFFontFormatting(TStream& stream, const TFont& font, const TRPColorList& colors,
                            const IRPStyleSheet* rpStyle, const IRPRTFFontTable* fontTable) {
  AnsiString out;
  if (const int32_t index = fontTable ? fontTable->Find(font.Name(), font.Charset()) : -1; index >= 0)
    out += "\\f" + std::to_string(index);
  const TFontStyles style = font.Style();
  if (style.Contains(fsBold)) out += "\\b";
  if (style.Contains(fsItalic)) out += "\\i";
  if (style.Contains(fsUnderline)) out += "\\ul";
  if (style.Contains(fsStrikeOut)) out += "\\strike";
  out += "\\fs" + std::to_string(2 * font.Size());
  const int32_t baseCharset = rpStyle ? rpStyle->GetTextStyleCharset(0) : DEFAULT_CHARSET;
  if (font.Charset() != DEFAULT_CHARSET && font.Charset() != baseCharset)
    out += "\\lang" + std::to_string(CharsetToLanguageId(font.Charset()));
  if (font.Color() != clWindowText) out += "\\cf" + std::to_string(colors.IndexOf(static_cast<int32_t>(font.Color())));
  stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}
