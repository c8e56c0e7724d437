// The header of an RTF export: the document's code page and language, the font, colour
// and style-sheet tables and the list tables.
#include <string>

#include "platform/base/CodePages.h"
#include "platform/graphics/PenBrush.h"
#include "richtext/interchange/RPRTFWriter.h"
#include "richtext/model/RPRtfHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

AnsiString Num(int32_t value) { return std::to_string(value); }

// A name ends at the first ";" of a table entry, and no escape keeps a ";" in it: the
// character is written as a hexadecimal escape, which readers take as part of the name
// or drop, but never as the entry's end.
AnsiString KeepSemicolonsInside(const AnsiString& text) {
  AnsiString out;
  for (char c : text) out += c == ';' ? AnsiString("\\'3b") : AnsiString(1, c);
  return out;
}

// A font name with its backslashes and braces escaped and 8-bit characters as "\'xx".
AnsiString RtfFontTableName(const AnsiString& name) { return KeepSemicolonsInside(RtfEscapeText(name, false, false)); }

// A style name as RTF-safe text: backslashes and braces become "_".
AnsiString RtfStyleSheetName(const AnsiString& name) { return KeepSemicolonsInside(RtfSanitizeName(name)); }

// The font charset of a Windows code page; DEFAULT_CHARSET when none has it.
uint8_t CodePageCharset(uint32_t codePage) {
  for (const uint8_t charset : {0, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238})
    if (CharsetToCodePage(charset) == codePage) return charset;
  return DEFAULT_CHARSET;
}

}  // namespace

void TRPRTFWriter::WriteFontTable() const {
  // The default charset means the document's code page; readers are told which, so that
  // they decode the fonts' 8-bit text with it.
  const uint8_t defaultCharset = CodePageCharset(FStyle.DefCodePage != 0 ? FStyle.DefCodePage : GetACP());
  AnsiString out = "{\\fonttbl";
  for (int32_t i = 0; i < FTables.FontTable.Count(); ++i) {
    const TRPRTFFontTableItem& font = FTables.FontTable.Item(i);
    const uint8_t charset = font.Charset == DEFAULT_CHARSET ? defaultCharset : font.Charset;
    out += "{\\f" + Num(i) + "\\fnil\\fcharset" + Num(charset) + " " + RtfFontTableName(font.FontName) + ";}";
  }
  Write(out + "}");
}

void TRPRTFWriter::WriteColorTable() const {
  AnsiString out = "{\\colortbl;";
  for (int32_t i = 1; i < FTables.Colors.Count(); ++i) {
    const COLORREF rgb = ColorToRGB(FTables.Colors[i]);
    out += "\\red" + Num(GetRValue(rgb)) + "\\green" + Num(GetGValue(rgb)) + "\\blue" + Num(GetBValue(rgb)) + ";";
  }
  Write(out + "}");
}

void TRPRTFWriter::WriteStyleSheet(TCustomRPData& data) const {
  AnsiString out = "{\\stylesheet";
  const TParaInfos& paraStyles = FStyle.ParaStyles();
  for (int32_t i = 0; i < paraStyles.Count(); ++i)
    if (paraStyles[i]->Standard)
      out += "{\\s" + Num(i) + ParaFormatting(data, i, nullptr, 0, true) + RtfStyleSheetName(paraStyles[i]->StyleName) +
             ";}";
  const TFontInfos& textStyles = FStyle.TextStyles();
  for (int32_t i = 0; i < textStyles.Count(); ++i)
    if (textStyles[i]->Standard)
      out += "{\\*\\cs" + Num(i + paraStyles.Count()) + TextFormatting(data, i, true) +
             RtfStyleSheetName(textStyles[i]->StyleName) + ";}";
  Write(out + "}");
}

void TRPRTFWriter::WriteListTables(TCustomRPData&) { Write("\r\n{\\*\\listoverridetable\r\n}\r\n"); }

void TRPRTFWriter::WriteHeader(TCustomRPData& data) {
  const uint32_t codePage = FStyle.DefCodePage != 0 ? FStyle.DefCodePage : GetACP();
  const int32_t language = CharsetToLanguageId(FStyle.TextStyles()[0]->Charset);
  AnsiString out = "{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage) + "\\uc1\\deff0\\deflang" + Num(language) +
                   "\\deflangfe" + Num(language);
  const TRPBiDiMode bidi = data.GetBiDiMode();
  if (bidi == rpbdLeftToRight) out += "\\ltrdoc";
  if (bidi == rpbdRightToLeft) out += "\\rtldoc";
  Write(out);
  WriteFontTable();
  WriteColorTable();
  if (FOptions & rprtfSaveStyleSheet) WriteStyleSheet(data);
  WriteListTables(data);
  Write(data.SaveRTFExtra(rp_rtfs_Doc, nullptr, -1, -1, false) + "\r\n");
  Write(FOptions & rprtfDuplicateUnicode ? "\\uc1" : "\\uc0");
}
