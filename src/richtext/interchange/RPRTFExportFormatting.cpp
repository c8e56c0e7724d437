// Character and paragraph formatting of the RTF writer, in the style sheet and in the
// body.
#include <string>

#include "platform/base/Numbers.h"
#include "richtext/interchange/RPRTFWriter.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPMarkerList.h"
#include "richtext/model/RPUnicode.h"

namespace {

AnsiString Num(int32_t value) { return std::to_string(value); }

// The keyword of a tab's leader, by its first character; empty without a leader.
AnsiString TabLeaderWord(const AnsiString& leader) {
  if (leader.empty()) return {};
  switch (leader[0]) {
    case '-':
      return "\\tlhyph";
    case '=':
      return "\\tleq";
    case '_':
      return "\\tlul";
    case '\xB7':
      return "\\tlmdot";
    default:
      return "\\tldot";
  }
}

}  // namespace

TRPRTFWriter::TRPRTFWriter(TStream& stream, const TRPStyle& style, TRPRTFTables& tables, const WideString& path,
                           double twips, uint32_t options)
    : FStream(stream), FStyle(style), FTables(tables), FPath(path), FTwips(twips), FOptions(options) {}

void TRPRTFWriter::Write(AnsiStringView text) const { RPFWrite(FStream, text); }

int32_t TRPRTFWriter::Twips(int32_t pixels) const { return static_cast<int32_t>(Round(pixels * FTwips)); }

int32_t TRPRTFWriter::ColorIndex(TColor color) const { return FTables.Colors.IndexOf(color); }

int32_t TRPRTFWriter::ParaStyleSheetNo(int32_t paraNo) const {
  if (!(FOptions & rprtfSaveStyleSheet) || paraNo < 0 || paraNo >= FStyle.ParaStyles().Count()) return -1;
  return FStyle.ParaStyles()[paraNo]->Standard ? paraNo : -1;
}

int32_t TRPRTFWriter::TextStyleSheetNo(int32_t styleNo) const {
  if (!(FOptions & rprtfSaveStyleSheet) || styleNo < 0 || styleNo >= FStyle.TextStyles().Count()) return -1;
  return FStyle.TextStyles()[styleNo]->Standard ? styleNo + FStyle.ParaStyles().Count() : -1;
}

bool TRPRTFWriter::IsHtmlCodeOnly(int32_t styleNo) const {
  const TRPTextOptions options = FStyle.TextStyles()[styleNo]->Options;
  return options.Contains(rpteoHTMLCode) && !options.Contains(rpteoRTFCode);
}

AnsiString TRPRTFWriter::TextFormatting(TCustomRPData& data, int32_t styleNo, bool inStyleSheet) const {
  const TFontInfo& font = *FStyle.TextStyles()[styleNo];
  int32_t fontNo = styleNo >= 0 && styleNo < FTables.StyleFonts.Count()
                       ? FTables.StyleFonts[styleNo]
                       : FTables.FontTable.Find(font.FontName, font.Charset);
  AnsiString out = "\\f" + Num(fontNo < 0 ? 0 : fontNo);
  if (font.Style.Contains(fsBold)) out += "\\b";
  if (font.Style.Contains(fsItalic)) out += "\\i";
  if (font.Style.Contains(fsUnderline)) out += "\\ul";
  if (font.Style.Contains(fsStrikeOut)) out += "\\strike";
  if (font.VShift < 0) out += "\\sub";
  if (font.VShift > 0) out += "\\super";
  if (font.CharScale != 100) out += "\\charscalex" + Num(font.CharScale);
  if (font.CharSpacing != 0) out += "\\expndtw" + Num(Twips(font.CharSpacing));
  if (font.StyleEx.Contains(rpfsAllCaps)) out += "\\caps";
  if (font.BiDiMode == rpbdLeftToRight) out += "\\ltrch";
  if (font.BiDiMode == rpbdRightToLeft) out += "\\rtlch";
  if (font.Charset != DEFAULT_CHARSET && font.Charset != FStyle.TextStyles()[0]->Charset)
    if (const uint16_t language = CharsetToLanguageId(font.Charset); language != 0) out += "\\lang" + Num(language);
  // A shifted run is written at twice its size: readers shrink sub- and superscripts,
  // the engine draws them at full size.
  out += "\\fs" + Num(font.VShift != 0 ? 4 * font.Size : 2 * font.Size);
  if (font.BackColor != clNone)
    if (const int32_t index = ColorIndex(font.BackColor); index >= 0) out += "\\chcbpat" + Num(index);
  if (font.Color != clWindowText)
    if (const int32_t index = ColorIndex(font.Color); index >= 0) out += "\\cf" + Num(index);
  out += data.SaveRTFExtra(rp_rtfs_TextStyle, const_cast<TFontInfo*>(&font), -1, -1, inStyleSheet);
  return out + " ";
}

AnsiString TRPRTFWriter::BorderFormatting(const TCustomRPParaInfo& para) const {
  const TRPBorder& border = para.Border;
  if (border.Style == rpbNone || border.Color == clNone) return {};
  const bool thick = border.Style == rpbThickInside || border.Style == rpbThickOutside;
  const int32_t width = Twips(thick ? 2 * border.Width : border.Width);
  const int32_t colorIndex = std::max(ColorIndex(border.Color), 0);
  // leftOrTop: the kind of the left and top sides, which the thick kinds mirror.
  const auto kind = [&](bool leftOrTop) -> AnsiString {
    switch (border.Style) {
      case rpbSingle:
        return "\\brdrs";
      case rpbDouble:
        return "\\brdrdb";
      case rpbTriple:
        return "\\brdrtriple";
      case rpbThickInside:
        return leftOrTop ? "\\brdrthtnmg" : "\\brdrtnthmg";
      case rpbThickOutside:
        return leftOrTop ? "\\brdrtnthmg" : "\\brdrthtnmg";
      case rpbNone:
        break;
    }
    return {};
  };
  AnsiString out = "\\brdrbtw";
  const struct {
    bool Visible;
    const char* Word;
    int32_t Offset;
    bool LeftOrTop;
  } sides[] = {{border.VisibleBorders.Left, "\\brdrl\\brsp", border.BorderOffsets.Left, true},
               {border.VisibleBorders.Top, "\\brdrt\\brsp", border.BorderOffsets.Top, true},
               {border.VisibleBorders.Right, "\\brdrr\\brsp", border.BorderOffsets.Right, false},
               {border.VisibleBorders.Bottom, "\\brdrb\\brsp", border.BorderOffsets.Bottom, false}};
  for (const auto& side : sides)
    if (side.Visible)
      out += side.Word + Num(Twips(side.Offset)) + kind(side.LeftOrTop) + "\\brdrcf" + Num(colorIndex) + "\\brdrw" +
             Num(width);
  return out;
}

AnsiString TRPRTFWriter::ParaFormatting(TCustomRPData& data, int32_t paraNo, const TCustomRPItemInfo* marker,
                                        int32_t level, bool inStyleSheet) const {
  const TParaInfo& para = *FStyle.ParaStyles()[paraNo];
  AnsiString out;
  if (para.LineSpacingType == rplsPercent && para.LineSpacing > 100)
    out += "\\sl" + Num(para.LineSpacing * 240 / 100) + "\\slmult1";
  if (para.Options.Contains(rppaoKeepLinesTogether)) out += "\\keep";
  if (para.Options.Contains(rppaoKeepWithNext)) out += "\\keepn";
  // A paragraph headed by a marker of a known level takes the level's indents; its tab
  // stops count from where the text after the marker starts.
  int32_t leftIndent = 0, firstIndent = 0, markerIndent = 0;
  const auto* markerLevel = dynamic_cast<const IRPListMarkerLevel*>(marker);
  const bool listIndents =
      markerLevel && markerLevel->GetLevelIndents(data.GetRPStyle(), leftIndent, firstIndent, markerIndent);
  int32_t tabsAfter = -1;
  if (listIndents) {
    out += "\\li" + Num(Twips(leftIndent)) + "\\fi" + Num(Twips(markerIndent - leftIndent)) + "\\jclisttab\\tx" +
           Num(Twips(leftIndent + firstIndent));
    tabsAfter = leftIndent + firstIndent;
  } else {
    out += "\\fi" + Num(Twips(para.FirstIndent)) + "\\li" + Num(Twips(para.LeftIndent));
  }
  for (int32_t i = 0; i < para.Tabs.Count(); ++i) {
    const TRPTabInfo& tab = *para.Tabs.Tab(i);
    if (tab.Position() <= tabsAfter) continue;
    if (tab.Align == rptaRight) out += "\\tqr";
    if (tab.Align == rptaCenter) out += "\\tqc";
    out += TabLeaderWord(tab.Leader) + "\\tx" + Num(Twips(tab.Position()));
  }
  static const char* const alignments[] = {"l", "r", "c", "j"};
  out += AnsiString("\\q") + alignments[para.Alignment] + "\\ri" + Num(Twips(para.RightIndent)) + "\\sb" +
         Num(Twips(para.SpaceBefore)) + "\\sa" + Num(Twips(para.SpaceAfter));
  if (para.BiDiMode == rpbdLeftToRight) out += "\\ltrpar";
  if (para.BiDiMode == rpbdRightToLeft) out += "\\rtlpar";
  if (para.Background.Color != clNone)
    if (const int32_t index = ColorIndex(para.Background.Color); index >= 0) out += "\\cbpat" + Num(index);
  out += BorderFormatting(para);
  if (!inStyleSheet) {
    out += "\\itap" + Num(level);
    if (level == 1) out += "\\intbl";
  }
  out += data.SaveRTFExtra(rp_rtfs_ParaStyle, const_cast<TParaInfo*>(&para), -1, -1, inStyleSheet);
  return out + " ";
}
