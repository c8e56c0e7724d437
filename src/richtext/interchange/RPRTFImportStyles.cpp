// The styles of imported text and paragraphs: the one given, the closest existing one by
// weighted scores, or an equal one, added when the style sheet has none; and RTF
// paragraph borders as the engine's.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFImport.h"
#include "richtext/model/RPStyleSimilarity.h"

namespace {

// The vertical shift of a run: 0 none, -1 lowered, 1 raised.
int32_t RunShiftKind(uint8_t subSuperScript) { return subSuperScript == 1 ? -1 : subSuperScript == 2 ? 1 : 0; }

bool IsSymbolFontName(AnsiStringView name) { return SameText(name, "Symbol") || SameText(name, "Wingdings"); }

// What an imported paragraph asks of a paragraph style, in pixels.
struct TWantedPara {
  int32_t LeftIndent = 0, RightIndent = 0, FirstIndent = 0, SpaceBefore = 0, SpaceAfter = 0;
  TRPAlignment Alignment = rpaLeft;
  TColor Background = clNone;
  bool KeepLinesTogether = false, KeepWithNext = false;
  bool LineSpacingMulti = true;
  int32_t LineSpacingPercent = 100;
};

TRPTabAlign TabAlignOf(uint8_t kind) {
  switch (kind) {
    case 1:
    case 3:  // decimal tabs align right
      return rptaRight;
    case 2:
      return rptaCenter;
    default:
      return rptaLeft;
  }
}

AnsiString TabLeaderOf(uint8_t leader) {
  switch (leader) {
    case 1:
      return ".";
    case 2:
      return AnsiString(1, static_cast<char>(183));  // the middle dot
    case 3:
      return "-";
    case 4:
      return "_";
    case 5:
      return "=";
    default:
      return AnsiString();
  }
}

// The side of a converted border that the kind and colour come from: the first with a
// style in the order top, left, bottom, right (right when none has one).
uint8_t BorderSourceSide(const TRPRTFParaBorder& rtf) {
  for (uint8_t side : {rtf_side_Top, rtf_side_Left, rtf_side_Bottom, rtf_side_Right}) {
    const TRPRTFBorderSide* s = rtf.GetSide(side);
    if (s && s->BorderType != 0) return side;
  }
  return rtf_side_Right;
}

bool SideVisible(const TRPBooleanRect& visible, uint8_t side) {
  switch (side) {
    case rtf_side_Left:
      return visible.Left;
    case rtf_side_Top:
      return visible.Top;
    case rtf_side_Right:
      return visible.Right;
    default:
      return visible.Bottom;
  }
}

int32_t RoundHalf(double value) { return static_cast<int32_t>(Round(value)); }

}  // namespace

// --- Text styles -------------------------------------------------------------------------

int32_t TRPRTFImport::ChooseTextStyle(bool unicode, bool jump) {
  if (FProps.TextStyleMode == rprsUseSpecified) return FProps.GetTextStyleNo();
  const TRPRTFCharProperties& ch = FReader.RTFState().CharProps;
  TRPRTFWantedText w;
  w.FontName = FReader.FontNameOf(ch);
  if (!ch.FontNameOverride.empty()) {
    if (IsSymbolFontName(ch.FontNameOverride)) w.Charset = SYMBOL_CHARSET;
  } else if (ch.FontIndex >= 0 && ch.FontIndex < FReader.FontTable().Count()) {
    w.Charset = FReader.FontTable().Items(ch.FontIndex)->Charset;
  }
  // Sub- and superscript text is drawn at half its size.
  w.ShiftKind = RunShiftKind(ch.SubSuperScript);
  w.Size = w.ShiftKind != 0 ? std::max(ch.Size / 2, 1) : ch.Size;
  w.Color = ch.Color;
  w.BackColor = ch.BackColor;
  w.Style = ch.Style;
  w.AllCaps = ch.AllCaps;
  w.CharScale = ch.CharScaleX;
  w.CharSpacing = TwipsToPixels(ch.CharSpacing);
  w.Unicode = unicode;
  w.Jump = jump;

  TFontInfos& styles = FStyle.TextStyles();
  const std::function<bool(int32_t)> allowed = [&](int32_t i) {
    return !FProps.OnAllowUseStyle || FProps.OnAllowUseStyle(i, true);
  };
  if (FProps.TextStyleMode == rprsAddIfNeeded) {
    // An equal style, else a new one while the budget allows; past it, the closest one.
    // A run without a font matches the font a new style has, so that such runs share one
    // style.
    if (w.FontName.empty()) w.FontName = RPDefaultFontName;
    if (const int32_t equal = FTextStyleIndex.Find(styles, w, allowed); equal >= 0) return equal;
    if (FReader.Budget().SpendAddedTextStyle()) return AddTextStyle(w);
  }

  int32_t best = -1;
  int64_t bestScore = 0;
  for (int32_t i = 0; i < styles.Count(); ++i) {
    const TFontInfo& s = *styles[i];
    if (!allowed(i) || s.Unicode != w.Unicode) continue;
    if (w.Jump ? !s.Jump : s.Jump && !FProps.UseHypertextStyles) continue;
    int64_t score = 0;
    if (SameText(s.FontName, w.FontName)) score += 10000;
    if (s.Charset == w.Charset)
      score += 50000;
    else if (s.Charset == DEFAULT_CHARSET || w.Charset == DEFAULT_CHARSET)
      score += 12500;
    score += RateIntSimilarity(w.Size, s.Size, 10000);
    score += RateColorSimilarity(w.Color, s.Color, 3333, 3000);
    score += RateColorSimilarity(w.BackColor, s.BackColor, 10000, 50000);
    if (w.AllCaps == s.StyleEx.Contains(rpfsAllCaps)) score += 50000;
    for (TFontStyle fs : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
      if (w.Style.Contains(fs) == s.Style.Contains(fs)) score += 50000;
    if (w.Style.Empty() == s.Style.Empty()) score += 50000;
    score += Round((1.0 - std::abs(int64_t{w.CharScale} - s.CharScale) / 100.0) * 300);
    score += RateIntSimilarity(w.CharSpacing, s.CharSpacing, 10000);
    if (w.ShiftKind == RPRTFShiftKind(s.VShift)) score += 50000;
    if (s.StyleEx.Contains(rpfsOverline) || s.StyleEx.Contains(rpfsAllCaps)) score /= 4;
    if (score > bestScore) {
      best = i;
      bestScore = score;
    }
  }
  return std::max(best, 0);
}

int32_t TRPRTFImport::AddTextStyle(const TRPRTFWantedText& w) {
  TFontInfos& styles = FStyle.TextStyles();
  TFontInfo& added = *styles.Add();
  added.Jump = w.Jump;
  added.Unicode = w.Unicode;
  added.Style = w.Style;
  added.Size = w.Size;
  added.Color = w.Color;
  added.BackColor = w.BackColor;
  if (!w.FontName.empty()) added.FontName = w.FontName;
  added.Charset = w.Charset;
  added.CharScale = w.CharScale;
  added.CharSpacing = w.CharSpacing;
  added.VShift = w.ShiftKind < 0 ? -25 : w.ShiftKind > 0 ? 45 : 0;
  added.StyleEx.Set(rpfsAllCaps, w.AllCaps);
  return styles.Count() - 1;
}

// --- Borders ------------------------------------------------------------------------------

void TRPRTFImport::ConvertBorder(const TRPRTFParaBorder& rtf, TRPBorder& border) const {
  border = TRPBorder();
  border.VisibleBorders.SetAll(false);
  for (uint8_t side = 0; side < 4; ++side) {
    const TRPRTFBorderSide* s = rtf.GetSide(side);
    const int32_t padding = s ? TwipsToPixels(s->Spacing) : 0;
    const bool visible = s && s->BorderType != 0;
    switch (side) {
      case rtf_side_Left:
        border.BorderOffsets.Left = padding;
        border.VisibleBorders.Left = visible;
        break;
      case rtf_side_Top:
        border.BorderOffsets.Top = padding;
        border.VisibleBorders.Top = visible;
        break;
      case rtf_side_Right:
        border.BorderOffsets.Right = padding;
        border.VisibleBorders.Right = visible;
        break;
      default:
        border.BorderOffsets.Bottom = padding;
        border.VisibleBorders.Bottom = visible;
        break;
    }
  }
  const uint8_t sourceSide = BorderSourceSide(rtf);
  const TRPRTFBorderSide* source = rtf.GetSide(sourceSide);
  const uint8_t kind = source ? source->BorderType : 0;
  // RTF's automatic border colour is the text colour.
  border.Color = source && source->Color != clNone ? source->Color : clWindowText;
  const int32_t w = source ? TwipsToPixels(source->Width) : 0;
  const bool outerSide = sourceSide == rtf_side_Top || sourceSide == rtf_side_Left;
  switch (kind) {
    case 0:
      border.Style = rpbNone;
      border.Width = 0;
      break;
    case 2:  // \brdrth: twice as thick
      border.Style = rpbSingle;
      border.Width = 2 * w;
      break;
    case 7:  // \brdrhair
      border.Style = rpbSingle;
      border.Width = 1;
      break;
    case 4:   // \brdrdb
    case 22:  // \brdrwavydb
      border.Style = rpbDouble;
      border.Width = w;
      border.InternalWidth = 2 * w - 1;
      break;
    case 11:  // \brdrtriple
      border.Style = rpbTriple;
      border.Width = w;
      border.InternalWidth = 2 * w - 1;
      break;
    case 14: {  // \brdrtnthtnsg
      const int32_t v = RoundHalf(w / 3.0);
      border.Style = rpbTriple;
      border.Width = v;
      border.InternalWidth = 2 * v - 1;
      break;
    }
    case 17: {  // \brdrtnthtnmg
      const int32_t v = RoundHalf(w / 2.0);
      border.Style = rpbTriple;
      border.Width = v;
      border.InternalWidth = 3 * v - 1;
      break;
    }
    case 20:  // \brdrtnthtnlg
      border.Style = rpbTriple;
      border.Width = 1;
      border.InternalWidth = w;
      break;
    case 12:    // \brdrtnthsg (thin-thick)
    case 13: {  // \brdrthtnsg (thick-thin)
      const int32_t v = kind == 12 ? RoundHalf(w / 2.0) : RoundHalf(3.0 * w / 8.0) + 1;
      border.Width = v;
      border.InternalWidth = v + (v + 1) / 2;
      border.Style = (kind == 12) == outerSide ? rpbThickOutside : rpbThickInside;
      break;
    }
    case 15:    // \brdrtnthmg
    case 16: {  // \brdrthtnmg
      const int32_t v = RoundHalf(w / 2.0);
      border.Width = v;
      border.InternalWidth = 2 * v + (v + 1) / 2;
      border.Style = (kind == 15) == outerSide ? rpbThickOutside : rpbThickInside;
      break;
    }
    case 18:  // \brdrtnthlg
    case 19:  // \brdrthtnlg
      border.Width = 1;
      border.InternalWidth = w + 1;
      border.Style = (kind == 18) == outerSide ? rpbThickOutside : rpbThickInside;
      break;
    default:
      border.Style = rpbSingle;
      border.Width = w;
      break;
  }
}

// --- Paragraph styles ---------------------------------------------------------------------

namespace {

// The total width of a converted border's lines.
int32_t BorderTotalWidth(const TRPBorder& border) {
  switch (border.Style) {
    case rpbSingle:
    case rpbDouble:
      return 2 * border.Width + border.InternalWidth;
    case rpbTriple:
      return 3 * border.Width + 2 * border.InternalWidth;
    case rpbThickInside:
    case rpbThickOutside:
      return 3 * border.Width + border.InternalWidth;
    default:
      return 0;
  }
}

}  // namespace

int32_t TRPRTFImport::ChooseParaStyle() {
  if (FProps.ParaStyleMode == rprsUseSpecified) return FProps.GetParaStyleNo();
  const TRPRTFParaProperties& para = FReader.RTFState().ParaProps;
  TWantedPara w;
  w.LeftIndent = TwipsToPixels(para.LeftIndent);
  w.RightIndent = TwipsToPixels(para.RightIndent);
  w.FirstIndent = TwipsToPixels(para.FirstIndent);
  w.SpaceBefore = TwipsToPixels(para.SpaceBefore);
  w.SpaceAfter = TwipsToPixels(para.SpaceAfter);
  w.Alignment = static_cast<TRPAlignment>(std::min<uint8_t>(para.Alignment, rpaJustify));
  w.Background = para.Color;
  w.KeepLinesTogether = para.KeepLinesTogether;
  w.KeepWithNext = para.KeepWithNext;
  w.LineSpacingMulti = para.LineSpacingMulti;
  w.LineSpacingPercent =
      std::max(static_cast<int32_t>(std::abs(static_cast<int64_t>(para.LineSpacing)) * 100 / 240), 100);
  const TRPRTFParaBorder* rtfBorder = para.GetBorder();
  const bool hasBorder = rtfBorder && rtfBorder->IsPresent();
  TRPBorder border;
  if (hasBorder) ConvertBorder(*rtfBorder, border);
  const TRPRTFTabList& rtfTabs = para.Tabs();

  TParaInfos& styles = FStyle.ParaStyles();
  auto allowed = [&](int32_t i) { return !FProps.OnAllowUseStyle || FProps.OnAllowUseStyle(i, false); };

  if (FProps.ParaStyleMode == rprsUseClosest) {
    int32_t best = -1;
    int64_t bestScore = 0;
    for (int32_t i = 0; i < styles.Count(); ++i) {
      if (!allowed(i)) continue;
      const TParaInfo& s = *styles[i];
      const TRPRect& offsets = s.Border.BorderOffsets;
      int64_t score = 0;
      score += RateIntSimilarity(w.LeftIndent + offsets.Left, s.LeftIndent, 1000);
      score += RateIntSimilarity(w.RightIndent + offsets.Right, s.RightIndent, 1000);
      score += RateIntSimilarity(w.FirstIndent, s.FirstIndent, 1000);
      score += RateIntSimilarity(w.SpaceBefore + offsets.Top, s.SpaceBefore, 1000);
      score += RateIntSimilarity(w.SpaceAfter + offsets.Bottom, s.SpaceAfter, 1000);
      score += RateColorSimilarity(w.Background, s.Background.Color, 10000, 50000);
      if (w.Alignment == s.Alignment) score += 50000;
      if (w.KeepLinesTogether == s.Options.Contains(rppaoKeepLinesTogether)) score += 500;
      if (w.KeepWithNext == s.Options.Contains(rppaoKeepWithNext)) score += 500;
      if (w.LineSpacingMulti) {
        if (s.LineSpacingType == rplsPercent)
          score += RateIntSimilarity(w.LineSpacingPercent, std::max(s.LineSpacing, 100), 5000);
        else if (s.LineSpacing >= 2)
          score -= 20000;
        else if (w.LineSpacingPercent <= 100)
          score += 5000;
      }
      for (uint8_t side = 0; side < 4; ++side) {
        const bool styleLine = s.Border.Style != rpbNone && SideVisible(s.Border.VisibleBorders, side);
        if (!hasBorder) {
          if (!styleLine) score += 20000;
        } else if (styleLine) {
          score += RateIntSimilarity(border.Width, s.Border.Width, 1000) +
                   RateIntSimilarity(border.InternalWidth, s.Border.InternalWidth, 1000) +
                   RateColorSimilarity(border.Color, s.Border.Color, 3333, 3000) +
                   (border.Style == s.Border.Style ? 6000 : 5000);
        }
      }
      if (hasBorder) {
        const int32_t common = std::min<int32_t>(static_cast<int32_t>(rtfTabs.size()), s.Tabs.Count());
        for (int32_t t = 0; t < common; ++t) {
          const TRPRTFTab& a = rtfTabs[static_cast<size_t>(t)];
          const TRPTabInfo& b = *s.Tabs.Tab(t);
          score += RateIntSimilarity(TwipsToPixels(a.Position), b.Position(), 200);
          if (TabAlignOf(a.Kind) == b.Align) score += 100;
          if (TabLeaderOf(a.Leader) == b.Leader) score += 50;
        }
        score += 800 * common - 400 * static_cast<int64_t>(rtfTabs.size()) - 400 * s.Tabs.Count();
      }
      if (score > bestScore) {
        best = i;
        bestScore = score;
      }
    }
    return std::max(best, 0);
  }

  // rprsAddIfNeeded: the wanted style whole, with the border's room in the indents.
  TParaInfo wanted(nullptr);
  wanted.Alignment = w.Alignment;
  wanted.LeftIndent = w.LeftIndent;
  wanted.RightIndent = w.RightIndent;
  wanted.FirstIndent = w.FirstIndent;
  wanted.SpaceBefore = w.SpaceBefore;
  wanted.SpaceAfter = w.SpaceAfter;
  wanted.Background.Color = w.Background;
  wanted.LineSpacingType = rplsPercent;
  wanted.LineSpacing = w.LineSpacingMulti ? w.LineSpacingPercent : 100;
  wanted.Options.Set(rppaoKeepLinesTogether, w.KeepLinesTogether);
  wanted.Options.Set(rppaoKeepWithNext, w.KeepWithNext);
  for (const TRPRTFTab& tab : rtfTabs)
    wanted.Tabs.AddTab(TwipsToPixels(tab.Position), TabAlignOf(tab.Kind), TabLeaderOf(tab.Leader));
  if (hasBorder) {
    wanted.Border = border;
    const int32_t room = BorderTotalWidth(border) - 1;
    const TRPRect& pad = border.BorderOffsets;
    const TRPBooleanRect& visible = border.VisibleBorders;
    if (visible.Left) wanted.LeftIndent = std::max(wanted.LeftIndent, pad.Left + room);
    if (visible.Top) wanted.SpaceBefore = std::max(wanted.SpaceBefore, pad.Top + room);
    if (visible.Right) wanted.RightIndent = std::max(wanted.RightIndent, pad.Right + room);
    if (visible.Bottom) wanted.SpaceAfter = std::max(wanted.SpaceAfter, pad.Bottom + room);
  }
  for (int32_t i = 0; i < styles.Count(); ++i) {
    const TParaInfo& s = *styles[i];
    if (!allowed(i)) continue;
    if (s.Alignment == wanted.Alignment && s.LeftIndent == wanted.LeftIndent && s.RightIndent == wanted.RightIndent &&
        s.FirstIndent == wanted.FirstIndent && s.SpaceBefore == wanted.SpaceBefore &&
        s.SpaceAfter == wanted.SpaceAfter && s.Background.Color == wanted.Background.Color &&
        s.LineSpacing == wanted.LineSpacing && s.LineSpacingType == wanted.LineSpacingType &&
        s.Options.Contains(rppaoKeepLinesTogether) == w.KeepLinesTogether &&
        s.Options.Contains(rppaoKeepWithNext) == w.KeepWithNext && s.Tabs == wanted.Tabs &&
        (hasBorder ? s.Border == wanted.Border : s.Border.Style == rpbNone))
      return i;
  }
  TParaInfo& added = *styles.Add();
  added.Alignment = wanted.Alignment;
  added.LeftIndent = wanted.LeftIndent;
  added.RightIndent = wanted.RightIndent;
  added.FirstIndent = wanted.FirstIndent;
  added.SpaceBefore = wanted.SpaceBefore;
  added.SpaceAfter = wanted.SpaceAfter;
  added.Background.Color = wanted.Background.Color;
  added.LineSpacing = wanted.LineSpacing;
  added.LineSpacingType = wanted.LineSpacingType;
  added.Options = wanted.Options;
  added.Tabs.Assign(wanted.Tabs);
  added.Border = wanted.Border;
  return styles.Count() - 1;
}

int32_t TRPRTFImport::ChooseTableParaStyle(uint8_t alignment, bool alignmentGiven) {
  switch (FProps.ParaStyleMode) {
    case rprsUseSpecified:
      return FProps.GetParaStyleNo();
    case rprsUseClosest:
      return 0;
    case rprsAddIfNeeded:
      break;
  }
  TParaInfos& styles = FStyle.ParaStyles();
  const TRPAlignment wanted = !alignmentGiven  ? rpaLeft
                              : alignment == 1 ? rpaRight
                              : alignment == 2 ? rpaCenter
                                               : rpaLeft;
  const TParaInfo& first = *styles[0];
  if (first.LeftIndent == 0 && first.RightIndent == 0 && first.FirstIndent == 0 && first.Alignment == wanted) return 0;
  TParaInfo copy(nullptr);
  copy.Assign(first);
  copy.LeftIndent = copy.RightIndent = copy.FirstIndent = 0;
  copy.Alignment = wanted;
  const int32_t found = styles.FindMatchingStyle(0, copy, RPAllParaInfoProperties);
  if (found >= 0) return found;
  styles.Add()->Assign(copy);
  return styles.Count() - 1;
}
