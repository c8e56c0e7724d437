// The header of an RTF export: the document's code page and language, the font, colour
// and style-sheet tables and the list tables.
#include <string>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Format.h"
#include "platform/base/Random.h"
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

namespace {

// The number format of a level ("\\levelnfc").
int32_t LevelNumberFormat(TRPListType type) {
  switch (type) {
    case rplstDecimal:
    case rplstImageListCounter:
      return 0;
    case rplstUpperRoman:
      return 1;
    case rplstLowerRoman:
      return 2;
    case rplstUpperAlpha:
      return 3;
    case rplstLowerAlpha:
      return 4;
    case rplstBullet:
    case rplstPicture:
    case rplstImageList:
    case rplstUnicodeBullet:
      return 23;
  }
  return 255;
}

AnsiString HexByte(size_t value) {
  static const char digits[] = "0123456789abcdef";
  return AnsiString("\\'") + digits[(value >> 4) & 15] + digits[value & 15];
}

// A level text's length stands in one byte: longer marker texts are cut to fit.
constexpr size_t MaxLevelTextLength = 255;

// "{\\leveltext...;}{\\levelnumbers...;}": the marker text preceded by its length, and
// the positions of the level numbers in it.
AnsiString LevelTexts(const TRPListLevel& level, uint32_t codePage, bool withFallback) {
  AnsiString text, numbers;
  switch (level.ListType) {
    case rplstBullet: {
      const AnsiString bullet = level.FormatString.substr(0, MaxLevelTextLength);
      text = HexByte(bullet.size()) + RtfEscapeText(bullet, false, false);
      break;
    }
    case rplstUnicodeBullet: {
      WideString bullet = level.FormatStringW.substr(0, MaxLevelTextLength);
      // A pair of surrogates is not cut in half.
      if (bullet.size() < level.FormatStringW.size() && !bullet.empty() && bullet.back() >= 0xD800 &&
          bullet.back() < 0xDC00)
        bullet.pop_back();
      TMemoryStream stream;
      WriteRtfUnicodeText(stream, WideToRawUnicode(bullet), codePage, false, withFallback);
      text = HexByte(bullet.size()) +
             AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
      break;
    }
    case rplstPicture:
    case rplstImageList:
      text = "\\'00";
      break;
    default: {
      // The pattern formatted with the level placeholders 0 .. 8 as bytes: where they stand
      // are the level numbers; every other character is escaped, so that no pattern breaks
      // its group.
      std::array<AnsiString, 9> placeholders;
      std::vector<TVarRec> args;
      for (size_t n = 0; n < placeholders.size(); ++n) {
        placeholders[n] = AnsiString(1, static_cast<char>(n));
        args.emplace_back(placeholders[n]);
      }
      AnsiString formatted;
      try {
        formatted = Format(level.FormatString, std::span<const TVarRec>(args));
      } catch (const EConvertError&) {
        formatted = level.FormatString;  // a pattern Format refuses stands as text
      }
      formatted.resize(std::min(formatted.size(), MaxLevelTextLength));
      text = HexByte(formatted.size());
      for (size_t i = 0; i < formatted.size(); ++i) {
        const auto c = static_cast<unsigned char>(formatted[i]);
        if (c < 9) {
          text += HexByte(c);
          numbers += HexByte(i + 1);
        } else {
          text += RtfEscapeText(formatted.substr(i, 1), false, false);
        }
      }
    }
  }
  return "{\\leveltext" + text + ";}{\\levelnumbers" + numbers + ";}";
}

}  // namespace

AnsiString TRPRTFWriter::ListLevelRtf(const TRPListLevel& level) const {
  static const int32_t justifications[] = {0, 2, 1};  // left, right, centre
  const int32_t nfc = LevelNumberFormat(level.ListType);
  AnsiString out = "{\\listlevel\\levelnfc" + Num(nfc) + "\\leveljc" + Num(justifications[level.MarkerAlignment]) +
                   "\\li" + Num(Twips(level.LeftIndent)) + "\\fi" + Num(Twips(level.MarkerIndent - level.LeftIndent)) +
                   "\\jclisttab\\tx" + Num(Twips(level.LeftIndent + level.FirstIndent));
  if (nfc != 23) out += "\\levelstartat" + Num(level.StartFrom);
  if (level.Options.Contains(rploLegalStyleNumbering)) out += "\\levellegal1";
  if (!level.Options.Contains(rploLevelReset)) out += "\\levelnorestart1";
  out += LevelTexts(level, FStyle.DefCodePage != 0 ? FStyle.DefCodePage : GetACP(),
                    (FOptions & rprtfDuplicateUnicode) != 0);
  if (level.HasTextMarker()) {
    TMemoryStream font;
    WriteRTFFontFormatting(font, RTFMarkerFont(level), FTables.Colors, &FStyle, &FTables.FontTable);
    out += AnsiString(static_cast<const char*>(font.Memory()), static_cast<size_t>(font.Size()));
  }
  return out + "}\r\n";
}

void TRPRTFWriter::WriteListTables(TCustomRPData& data) {
  const TRPListInfos& lists = FStyle.ListStyles();
  const int32_t count = lists.Count();
  std::vector<int32_t> listIds;
  if (count == 0) {
    Write("\r\n");
  } else {
    // Template ids and list ids from the seedable generator, unique across both kinds.
    std::set<int32_t> used;
    const auto drawId = [&] {
      int32_t id = 0;
      do id = Random(2147483647);
      while (!used.insert(id).second);
      return id;
    };
    AnsiString out = "{\\*\\listtable";
    for (int32_t i = 0; i < count; ++i) {
      const TRPListLevelCollection& levels = lists[i]->Levels();
      out += "{\\list\\listtemplateid" + Num(drawId()) + (levels.Count() == 1 ? "\\listsimple1" : "") + "\r\n";
      const int32_t written = levels.Count() == 1 ? 1 : 9;
      for (int32_t l = 0; l < written && levels.Count() > 0; ++l)
        out += ListLevelRtf(*levels[std::min(l, levels.Count() - 1)]);
      listIds.push_back(drawId());
      out += "\\listid" + Num(listIds.back()) + "}\r\n";
    }
    Write(out + "}\r\n");
  }
  // One override per list, then one per restarting marker of a list that has them, in
  // document order; the markers take the same numbers as they are written.
  AnsiString out = "{\\*\\listoverridetable\r\n";
  int32_t ls = 1;
  FTables.ListOverrideNumbers.Clear();
  for (int32_t i = 0; i < count; ++i) {
    out += "{\\listoverride\\listid" + Num(listIds[static_cast<size_t>(i)]) + "\\listoverridecount0\\ls" + Num(ls) +
           "}\r\n";
    FTables.ListOverrideNumbers.Add(ls++);
    if (i >= FTables.ListOverrideCounts.Count() || FTables.ListOverrideCounts[i] <= 1) continue;
    data.EnumItems([&](TCustomRPData& owner, int32_t itemNo, bool&) {
      const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(owner.GetItem(itemNo));
      if (!marker || marker->ListNo != i || marker->Level < 0 || !marker->Reset) return;
      const TRPListLevel* level = marker->GetLevelInfo(&FStyle);
      if (!level || !level->HasNumbering() || level->ListType == rplstImageListCounter) return;
      out += "{\\listoverride\\listid" + Num(listIds[static_cast<size_t>(i)]) + "\\listoverridecount" +
             Num(marker->Level + 1);
      for (int32_t l = 0; l < marker->Level; ++l) out += "{\\lfolevel}";
      out += "{\\lfolevel\\listoverridestartat\\levelstartat" + Num(marker->StartFrom) + "}\\ls" + Num(ls++) + "}\r\n";
    });
  }
  Write(out + "}\r\n");
  FTables.ListOverrideCounters = FTables.ListOverrideNumbers;
}

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
