// Numbering: old-style \pn numbering and the list table (\ls, \ilvl) as list styles of
// the style sheet and list-marker items at the start of numbered paragraphs.
//
// A marker of a list-table paragraph knows its list style at once (the RTF lists are
// matched to list styles, or added as list styles, at the first such paragraph). A
// marker of old-style numbering waits for the next marker update, at the paragraph's
// end, when its numbering is complete; then it gets the list style this import chose for
// its level, or an equal existing one, or a new one of one level.
#include <algorithm>

#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFImport.h"

namespace {

TRPListType ListTypeOf(uint8_t rtfType) {
  switch (rtfType) {
    case 2:
      return rplstLowerAlpha;
    case 3:
      return rplstUpperAlpha;
    case 4:
      return rplstLowerRoman;
    case 5:
      return rplstUpperRoman;
    case 6:
      return rplstBullet;
    default:
      return rplstDecimal;
  }
}

TRPMarkerAlignment AlignmentOf(uint8_t rtfAlignment) {
  return rtfAlignment == 1 ? rpmaRight : rtfAlignment == 2 ? rpmaCenter : rpmaLeft;
}

// The look of a level's marker font; a level without a font of its own has the default.
struct TFontLook {
  AnsiString Name = "Arial";
  int32_t Size = 8;
  TFontStyles Style;
  TColor Color = clWindowText;
};

TFontLook LookOf(const TRPListLevel& level) {
  TFontLook look;
  if (const TRPMarkerFont* font = level.FindFont()) {
    look.Name = font->Name();
    look.Size = font->Size();
    look.Style = font->Style();
    look.Color = font->Color();
  }
  return look;
}

bool SameLook(const TFontLook& a, const TFontLook& b) {
  return a.Size == b.Size && a.Style == b.Style && a.Color == b.Color && SameText(a.Name, b.Name);
}

// The 8-bit format of an RTF level text (its length byte left out): a placeholder byte
// N below 10 becomes "%N:s", a literal "%" is doubled.
AnsiString FormatOfLevelText(AnsiStringView body) {
  AnsiString format;
  for (char c : body) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 10)
      format += "%" + std::to_string(byte) + ":s";
    else if (c == '%')
      format += "%%";
    else
      format += c;
  }
  return format;
}

WideString WideFormatOfLevelText(WideStringView body) {
  WideString format;
  for (WideChar c : body) {
    if (c < 10)
      format += u"%s";
    else if (c == u'%')
      format += u"%%";
    else
      format += c;
  }
  return format;
}

}  // namespace

// --- Markers --------------------------------------------------------------------------------

std::unique_ptr<TRPMarkerItemInfo> TRPRTFImport::CreateMarker() {
  const TRPRTFParaProperties& para = FReader.RTFState().ParaProps;
  FMarkerFromListTable = false;
  TRPRTFListOverrideTable97& overrides = FReader.ListOverrideTable();
  if (para.ListOverrideIndex >= 0 && para.ListOverrideIndex < overrides.Count()) {
    const TRPRTFListOverride97& listOverride = *overrides.Items(para.ListOverrideIndex);
    if (listOverride.ListIndex >= 0 && listOverride.ListIndex < FReader.ListTable().Count()) {
      MapListTable();
      const int32_t listNo = FListStyleMap[static_cast<size_t>(listOverride.ListIndex)];
      if (listNo >= 0) {
        const int32_t level = std::max(para.ListLevel, 0);
        // An override's start restarts the numbering at its first paragraph of the level.
        bool reset = false;
        int32_t start = 1;
        if (level < listOverride.Count()) {
          const TRPRTFListOverrideLevel97& overrideLevel = *listOverride.Items(level);
          if (overrideLevel.UseStart && FStartedOverrides.insert({para.ListOverrideIndex, level}).second) {
            reset = true;
            start = overrideLevel.Start;
          }
        }
        FMarkerFromListTable = true;
        return TRPMarkerItemInfo::CreateEx(FCurrent, listNo, level, start, reset);
      }
    }
  }
  const TRPRTFMarkerProperties* numbering = para.GetMarkerProps();
  if (numbering && numbering->Level > 0) return TRPMarkerItemInfo::CreateEx(FCurrent, -1, 0, numbering->Start, false);
  return nullptr;
}

void TRPRTFImport::UpdateMarker() {
  if (!FPendingMarker) return;
  TRPMarkerItemInfo& marker = *FPendingMarker;
  TCustomRPData& data = *FPendingMarkerData;
  FPendingMarker = nullptr;
  FPendingMarkerData = nullptr;
  if (FMarkerFromListTable) {
    AdjustListLevel();
    return;
  }
  const TRPRTFMarkerProperties* numbering = FReader.RTFState().ParaProps.GetMarkerProps();
  if (!numbering || numbering->Level <= 0) return;
  marker.ListNo = OldStyleListStyle(*numbering);
  marker.Level = 0;
  const int32_t itemNo = data.IndexOfItem(&marker);
  if (itemNo >= 0) data.UpdateMarkerCountersFrom(itemNo);
}

// --- Old-style numbering -----------------------------------------------------------------

int32_t TRPRTFImport::OldStyleListStyle(const TRPRTFMarkerProperties& numbering) {
  const int32_t rtfLevel = numbering.Level;
  if (rtfLevel >= 1 && rtfLevel <= 10 && FLevelMap[static_cast<size_t>(rtfLevel - 1)] >= 0)
    return FLevelMap[static_cast<size_t>(rtfLevel - 1)];

  const TRPRTFParaProperties& para = FReader.RTFState().ParaProps;
  const bool bullet = rtfLevel == 11 || (rtfLevel == 10 && numbering.ListType == 0) || numbering.ListType == 6;
  const TRPListType type = bullet ? rplstBullet : ListTypeOf(numbering.ListType);
  const AnsiString format = bullet ? numbering.TextBefore : numbering.TextBefore + "%s" + numbering.TextAfter;
  const AnsiString secondFormat = bullet ? format : numbering.TextBefore + "%0:s" + numbering.TextAfter;
  const TRPMarkerAlignment alignment = AlignmentOf(numbering.Alignment);
  // Indents: the marker stands at the paragraph's first line, its text after the
  // numbering's indent or space.
  const int32_t left = TwipsToPixels(para.LeftIndent);
  const int32_t first = TwipsToPixels(para.FirstIndent);
  const int32_t indent = TwipsToPixels(numbering.Indent);
  const int32_t space = TwipsToPixels(numbering.Space);
  const int32_t firstIndent =
      numbering.Hanging ? std::max(space, first + indent) : std::max(0, std::max(indent, space) + first);
  int32_t markerIndent = left + first;
  if (alignment == rpmaRight)
    markerIndent = firstIndent + left;
  else if (alignment == rpmaCenter)
    markerIndent = (firstIndent + left + markerIndent) / 2;
  TFontLook look;
  look.Name = numbering.FontIndex >= 0 && numbering.FontIndex < FReader.FontTable().Count()
                  ? FReader.FontTable().Items(numbering.FontIndex)->Name
                  : FReader.FontNameOf(FReader.RTFState().CharProps);
  look.Size = numbering.FontSize;
  look.Style = numbering.FontStyle;
  look.Color = numbering.Color;

  TRPListInfos& styles = FStyle.ListStyles();
  int32_t listNo = -1;
  for (int32_t i = 0; i < styles.Count() && listNo < 0; ++i) {
    const TRPListInfo& style = *styles[i];
    if (style.Levels().Count() == 0) continue;
    const TRPListLevel& level = *style.Levels()[0];
    if (level.ListType == type && level.MarkerAlignment == alignment && level.LeftIndent == left &&
        level.MarkerIndent == markerIndent && level.FirstIndent == firstIndent && SameLook(LookOf(level), look) &&
        (level.FormatString == format || level.FormatString == secondFormat))
      listNo = i;
  }
  if (listNo < 0) {
    TRPListLevel& level = *styles.Add()->Levels().Add();
    level.ListType = type;
    level.FormatString = format;
    level.MarkerAlignment = alignment;
    level.LeftIndent = left;
    level.MarkerIndent = markerIndent;
    level.FirstIndent = firstIndent;
    level.StartFrom = numbering.Start;
    TRPMarkerFont& font = level.GetFont();
    font.SetName(look.Name);
    font.SetSize(look.Size);
    font.SetStyle(look.Style);
    font.SetColor(look.Color);
    listNo = styles.Count() - 1;
  }
  if (rtfLevel >= 1 && rtfLevel <= 11) FLevelMap[static_cast<size_t>(rtfLevel - 1)] = listNo;
  return listNo;
}

// --- The list table ------------------------------------------------------------------------

void TRPRTFImport::BuildListStyle(const TRPRTFList97& list, TRPListInfo& style) const {
  for (int32_t i = 0; i < list.Count(); ++i) {
    const TRPRTFListLevel97& rtf = *list.Items(i);
    TRPListLevel& level = *style.Levels().Add();
    const AnsiStringView body = rtf.Text.empty() ? AnsiStringView() : AnsiStringView(rtf.Text).substr(1);
    const WideStringView bodyW = rtf.TextW.empty() ? WideStringView() : WideStringView(rtf.TextW).substr(1);
    AnsiString fontName;
    uint8_t charset = DEFAULT_CHARSET;
    if (rtf.FontIndex >= 0 && rtf.FontIndex < FReader.FontTable().Count()) {
      fontName = FReader.FontTable().Items(rtf.FontIndex)->Name;
      charset = FReader.FontTable().Items(rtf.FontIndex)->Charset;
    }
    level.ListType = ListTypeOf(rtf.ListType);
    if (level.ListType == rplstBullet && bodyW.size() == 1) {
      // A symbol font's private-use character is its 8-bit character.
      const WideChar ch = bodyW[0];
      if ((SameText(fontName, "Symbol") && ch >= 0xF0A1 && ch <= 0xF0FE) ||
          (SameText(fontName, "Wingdings") && ch >= 0xF021 && ch <= 0xF0FF)) {
        level.FormatString = AnsiString(1, static_cast<char>(ch - 0xF000));
      } else {
        level.ListType = rplstUnicodeBullet;
        level.FormatString.clear();
        level.FormatStringW = WideString(bodyW);
      }
    } else {
      level.FormatString = FormatOfLevelText(body);
      level.FormatStringW = WideFormatOfLevelText(bodyW);
    }
    level.MarkerAlignment = AlignmentOf(rtf.Alignment);
    TRPMarkerFont& font = level.GetFont();
    if (!fontName.empty()) font.SetName(fontName);
    font.SetCharset(charset);
    font.SetStyle(rtf.FontStyle);
    font.SetColor(rtf.Color);
    font.SetSize(rtf.FontSize);
    level.LeftIndent = TwipsToPixels(rtf.LeftIndent);
    level.MarkerIndent = level.LeftIndent + TwipsToPixels(rtf.FirstIndent);
    // A tab after the marker without a tab position of its own stops where the lines
    // after the first start.
    level.FirstIndent = rtf.Follow == 0 && rtf.TabPosition == 0 ? 0 : TwipsToPixels(rtf.TabPosition) - level.LeftIndent;
    level.StartFrom = rtf.Start;
    level.Options.Set(rploLevelReset, !rtf.NoRestart);
    level.Options.Set(rploLegalStyleNumbering, rtf.Legal);
  }
}

void TRPRTFImport::MapListTable() {
  const TRPRTFListTable97& lists = FReader.ListTable();
  if (!FListTableMapped) {
    FListTableMapped = true;
    // Styles that were there before the import, each for one RTF list at most: two lists
    // of the document number apart even when they look alike.
    FListStylesTaken.assign(static_cast<size_t>(FListStyleCountBefore), false);
  }
  std::vector<bool>& taken = FListStylesTaken;
  TRPListInfos& styles = FStyle.ListStyles();
  const auto mapped = static_cast<int32_t>(FListStyleMap.size());
  FListStyleMap.resize(static_cast<size_t>(std::max(lists.Count(), mapped)), -1);
  for (int32_t i = mapped; i < lists.Count(); ++i) {
    TRPListInfo wanted(nullptr);
    BuildListStyle(*lists.Items(i), wanted);
    if (wanted.Levels().Count() == 0) continue;
    int32_t match = -1;
    for (int32_t s = 0; s < FListStyleCountBefore && match < 0; ++s) {
      if (taken[static_cast<size_t>(s)]) continue;
      const TRPListInfo& style = *styles[s];
      if (style.Levels().Count() < wanted.Levels().Count()) continue;
      bool equal = true;
      for (int32_t l = 0; l < wanted.Levels().Count() && equal; ++l) {
        const TRPListLevel& a = *wanted.Levels()[l];
        const TRPListLevel& b = *style.Levels()[l];
        equal = a.ListType == b.ListType && a.StartFrom == b.StartFrom && a.MarkerAlignment == b.MarkerAlignment &&
                a.LeftIndent == b.LeftIndent && a.MarkerIndent == b.MarkerIndent && a.FirstIndent == b.FirstIndent &&
                a.Options.Contains(rploLegalStyleNumbering) == b.Options.Contains(rploLegalStyleNumbering) &&
                a.Options.Contains(rploLevelReset) == b.Options.Contains(rploLevelReset) &&
                SameLook(LookOf(a), LookOf(b)) && a.FormatString == b.FormatString &&
                a.FormatStringW == b.FormatStringW;
      }
      if (equal) match = s;
    }
    if (match >= 0) {
      taken[static_cast<size_t>(match)] = true;
    } else {
      styles.Add()->Assign(wanted);
      match = styles.Count() - 1;
    }
    FListStyleMap[static_cast<size_t>(i)] = match;
  }
}

void TRPRTFImport::AdjustListLevel() {
  const TRPRTFReaderState& state = FReader.RTFState();
  const TRPRTFParaProperties& para = state.ParaProps;
  TRPRTFListOverrideTable97& overrides = FReader.ListOverrideTable();
  if (para.ListOverrideIndex < 0 || para.ListOverrideIndex >= overrides.Count()) return;
  const int32_t listIndex = overrides.Items(para.ListOverrideIndex)->ListIndex;
  if (listIndex < 0 || static_cast<size_t>(listIndex) >= FListStyleMap.size()) return;
  const int32_t listNo = FListStyleMap[static_cast<size_t>(listIndex)];
  if (listNo < FListStyleCountBefore) return;  // a list style of the document's own
  TRPRTFList97& list = *FReader.ListTable().Items(listIndex);
  TRPListInfo& style = *FStyle.ListStyles()[listNo];
  const int32_t levelIndex = std::max(para.ListLevel, 0);
  if (levelIndex >= list.Count() || levelIndex >= style.Levels().Count()) return;
  TRPRTFListLevel97& rtf = *list.Items(levelIndex);
  if (rtf.IndentsUpdated) return;
  rtf.IndentsUpdated = true;
  TRPListLevel& level = *style.Levels()[levelIndex];
  const int32_t textRoom = level.LeftIndent + level.FirstIndent - level.MarkerIndent;
  level.LeftIndent = TwipsToPixels(para.LeftIndent);
  level.MarkerIndent = TwipsToPixels(int64_t{para.LeftIndent} + para.FirstIndent);
  level.FirstIndent = textRoom + level.MarkerIndent - level.LeftIndent;
  if (!rtf.FontSizeDefined) {
    level.GetFont().SetSize(state.CharProps.Size);
    rtf.FontSize = state.CharProps.Size;
    rtf.FontSizeDefined = true;
  }
}
