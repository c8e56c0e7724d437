#include "richtext/model/RPParaInfo.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/PenBrush.h"
#include "richtext/model/RPStyleSimilarity.h"

// --- Offsets and flags per side ---------------------------------------------------------

void TRPRect::InflateRect(TRect& rect) const {
  rect.Left -= Left;
  rect.Top -= Top;
  rect.Right += Right;
  rect.Bottom += Bottom;
}

void TRPRect::InflateRectOnDevice(TRect& rect, const TRPResolution& resolution) const {
  rect.Left -= ScreenToDeviceX(Left, resolution);
  rect.Top -= ScreenToDeviceY(Top, resolution);
  rect.Right += ScreenToDeviceX(Right, resolution);
  rect.Bottom += ScreenToDeviceY(Bottom, resolution);
}

void TRPRect::AssignToRectIfGreater(TRect& rect) const {
  rect.Left = std::max(rect.Left, Left);
  rect.Top = std::max(rect.Top, Top);
  rect.Right = std::max(rect.Right, Right);
  rect.Bottom = std::max(rect.Bottom, Bottom);
}

bool TRPRect::IsEqualEx(const TRPRect& v, bool ignoreLeft, bool ignoreTop, bool ignoreRight, bool ignoreBottom) const {
  return (ignoreLeft || Left == v.Left) && (ignoreTop || Top == v.Top) && (ignoreRight || Right == v.Right) &&
         (ignoreBottom || Bottom == v.Bottom);
}

namespace {

// Copies source into target when source is of target's class; false otherwise.
template <typename T>
bool AssignSame(T& target, const TPersistent& source) {
  const auto* same = dynamic_cast<const T*>(&source);
  if (same && same != &target) target = *same;
  return same != nullptr;
}

}  // namespace

void TRPRect::Assign(const TPersistent& source) {
  if (!AssignSame(*this, source)) TPersistent::Assign(source);
}

void TRPBooleanRect::Assign(const TPersistent& source) {
  if (!AssignSame(*this, source)) TPersistent::Assign(source);
}

void TRPBorder::Assign(const TPersistent& source) {
  if (!AssignSame(*this, source)) TPersistent::Assign(source);
}

void TRPBackgroundRect::Assign(const TPersistent& source) {
  if (!AssignSame(*this, source)) TPersistent::Assign(source);
}

void TRPRect::AssignValidProperties(const TRPRect& source, bool validLeft, bool validTop, bool validRight,
                                    bool validBottom) {
  if (validLeft) Left = source.Left;
  if (validTop) Top = source.Top;
  if (validRight) Right = source.Right;
  if (validBottom) Bottom = source.Bottom;
}

int32_t TRPRect::SimilarityValue(const TRPRect& v, int32_t weight) const {
  return RateIntSimilarity(Left, v.Left, weight) + RateIntSimilarity(Top, v.Top, weight) +
         RateIntSimilarity(Right, v.Right, weight) + RateIntSimilarity(Bottom, v.Bottom, weight);
}

void TRPBooleanRect::SetValues(bool left, bool top, bool right, bool bottom) {
  Left = left;
  Top = top;
  Right = right;
  Bottom = bottom;
}

bool TRPBooleanRect::IsEqualToValues(bool left, bool top, bool right, bool bottom) const {
  return Left == left && Top == top && Right == right && Bottom == bottom;
}

bool TRPBooleanRect::IsEqualEx(const TRPBooleanRect& v, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                               bool ignoreBottom) const {
  return (ignoreLeft || Left == v.Left) && (ignoreTop || Top == v.Top) && (ignoreRight || Right == v.Right) &&
         (ignoreBottom || Bottom == v.Bottom);
}

void TRPBooleanRect::AssignValidProperties(const TRPBooleanRect& source, bool validLeft, bool validTop, bool validRight,
                                           bool validBottom) {
  if (validLeft) Left = source.Left;
  if (validTop) Top = source.Top;
  if (validRight) Right = source.Right;
  if (validBottom) Bottom = source.Bottom;
}

// --- Border and background -----------------------------------------------------------

bool TRPBorder::operator==(const TRPBorder& o) const {
  return Width == o.Width && InternalWidth == o.InternalWidth && Color == o.Color && Style == o.Style &&
         VisibleBorders.IsEqual(o.VisibleBorders) && BorderOffsets.IsEqual(o.BorderOffsets);
}

int32_t TRPBorder::GetTotalWidth() const {
  switch (Style) {
    case rpbNone:
      return 0;
    case rpbSingle:
      return Width;
    case rpbDouble:
      return 2 * Width + InternalWidth;
    case rpbTriple:
      return 3 * Width + 2 * InternalWidth;
    case rpbThickInside:
    case rpbThickOutside:
      return 3 * Width + InternalWidth;
  }
  return 0;
}

void TRPBorder::Draw(TRect rect, TCanvas& canvas) const {
  if (Style == rpbNone) return;
  BorderOffsets.InflateRect(rect);
  DrawLines(rect, canvas, Width, InternalWidth, 1, rpcmColor);
}

void TRPBorder::DrawOnDevice(TRect rect, TCanvas& canvas, const TRPResolution& resolution,
                             TRPColorMode colorMode) const {
  if (Style == rpbNone) return;
  BorderOffsets.InflateRectOnDevice(rect, resolution);
  DrawLines(rect, canvas, ScreenToDeviceY(Width, resolution), ScreenToDeviceY(InternalWidth, resolution),
            ScreenToDeviceY(1, resolution), colorMode);
}

// The lines from the innermost pass outwards: each pass draws the visible sides, each
// side forth and back so that both of its ends are painted, then the rectangle grows by
// a line and the gap.
void TRPBorder::DrawLines(TRect rect, TCanvas& canvas, int32_t lineWidth, int32_t gap, int32_t unit,
                          TRPColorMode colorMode) const {
  TPen& pen = canvas.Pen();
  pen.SetWidth(lineWidth);
  pen.SetStyle(psInsideFrame);
  switch (colorMode) {
    case rpcmColor:
      pen.SetColor(Color);
      break;
    case rpcmPrinterColor:
      pen.SetColor(ResolveSystemColorForPrinting(Color));
      break;
    case rpcmGrayScale:
      pen.SetColor(ColorToGray(ResolveSystemColorForPrinting(Color)));
      break;
    case rpcmBlackAndWhite:
    case rpcmBlackOnWhite:
      pen.SetColor(clBlack);
      break;
  }
  const int32_t passes = Style == rpbSingle ? 1 : Style == rpbTriple ? 3 : 2;
  auto side = [&canvas](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
    canvas.LineTo(x1, y1);
  };
  for (int32_t n = passes; n >= 1; --n) {
    const bool thick = (n == 1 && Style == rpbThickOutside) || (n == 2 && Style == rpbThickInside);
    pen.SetWidth(thick ? 2 * lineWidth : lineWidth);
    if (VisibleBorders.Top) side(rect.Left, rect.Top, rect.Right, rect.Top);
    if (VisibleBorders.Right) side(rect.Right, rect.Top, rect.Right, rect.Bottom);
    if (VisibleBorders.Bottom) side(rect.Right, rect.Bottom, rect.Left, rect.Bottom);
    if (VisibleBorders.Left) side(rect.Left, rect.Bottom, rect.Left, rect.Top);
    rect = TRect{rect.Left - unit - gap, rect.Top - unit - gap, rect.Right + unit + gap, rect.Bottom + unit + gap};
    if (lineWidth == 1 && Style == rpbThickOutside) {
      rect.Right += unit;
      rect.Bottom += unit;
    }
    if (lineWidth == 1 && Style == rpbThickInside) {
      rect.Left -= unit;
      rect.Top -= unit;
    }
  }
  pen.SetWidth(1);
}

void TRPBackgroundRect::Draw(const TRect& rect, TCanvas& canvas, bool, TRPColorMode colorMode) const {
  if (Color == clNone || colorMode == rpcmBlackAndWhite || colorMode == rpcmBlackOnWhite) return;
  TColor color = Color;
  if (colorMode == rpcmPrinterColor)
    color = ResolveSystemColorForPrinting(Color);
  else if (colorMode == rpcmGrayScale)
    color = ColorToGray(ResolveSystemColorForPrinting(Color));
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Pen().SetStyle(psClear);
  canvas.Rectangle(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
}

// --- Tab stops --------------------------------------------------------------------------

void TRPTabInfo::SetPosition(int32_t value) {
  if (value == FPosition) return;
  FPosition = value;
  if (auto* tabs = dynamic_cast<TRPTabInfos*>(Collection())) tabs->SortTabs();
}

AnsiString TRPTabInfo::DisplayName() const {
  static const char* const names[] = {"left", "right", "center"};
  AnsiString name = AnsiString(names[Align]) + " at " + std::to_string(FPosition);
  if (!Leader.empty()) {
    name += " (";
    for (int i = 0; i < 6; ++i) name += Leader;
    name += ")";
  }
  return name;
}

void TRPTabInfo::Assign(const TPersistent& source) {
  if (const auto* tab = dynamic_cast<const TRPTabInfo*>(&source)) {
    Align = tab->Align;
    FPosition = tab->FPosition;
    Leader = tab->Leader;
    return;
  }
  TCollectionItem::Assign(source);
}

TRPTabInfo* TRPTabInfos::AddTab(int32_t position, TRPTabAlign align, const AnsiString& leader) {
  auto* tab = static_cast<TRPTabInfo*>(Add());
  tab->Align = align;
  tab->Leader = leader;
  tab->SetPosition(position);
  return tab;
}

void TRPTabInfos::SortTabs() {
  std::vector<TRPTabInfo*> tabs;
  for (int32_t i = 0; i < Count(); ++i) tabs.push_back(Tab(i));
  std::stable_sort(tabs.begin(), tabs.end(),
                   [](const TRPTabInfo* a, const TRPTabInfo* b) { return a->Position() < b->Position(); });
  BeginUpdate();
  for (size_t i = 0; i < tabs.size(); ++i) tabs[i]->SetIndex(static_cast<int32_t>(i));
  EndUpdate();
}

bool TRPTabInfos::operator==(const TRPTabInfos& o) const {
  if (Count() != o.Count()) return false;
  for (int32_t i = 0; i < Count(); ++i)
    if (!(*Tab(i) == *o.Tab(i))) return false;
  return true;
}

// --- Paragraph styles -------------------------------------------------------------------

namespace {
// The property of each paragraph option.
constexpr std::pair<TRPParaInfoProperty, TRPParaOption> OptionProperties[] = {
    {rppiNoWrap, rppaoNoWrap},
    {rppiReadOnly, rppaoReadOnly},
    {rppiStyleProtect, rppaoStyleProtect},
    {rppiDoNotWantReturns, rppaoDoNotWantReturns},
    {rppiKeepLinesTogether, rppaoKeepLinesTogether},
    {rppiKeepWithNext, rppaoKeepWithNext},
};
}  // namespace

TCustomRPParaInfo::TCustomRPParaInfo(TCollection* collection) : TCustomRPInfo(collection) {
  StyleName = "Paragraph Style";
}

void TCustomRPParaInfo::Assign(const TPersistent& source) {
  if (const auto* p = dynamic_cast<const TCustomRPParaInfo*>(&source)) {
    FirstIndent = p->FirstIndent;
    LeftIndent = p->LeftIndent;
    RightIndent = p->RightIndent;
    SpaceBefore = p->SpaceBefore;
    SpaceAfter = p->SpaceAfter;
    Alignment = p->Alignment;
    LineSpacing = p->LineSpacing;
    LineSpacingType = p->LineSpacingType;
    Background = p->Background;
    Border = p->Border;
    Tabs.Assign(p->Tabs);
    Options = p->Options;
    BiDiMode = p->BiDiMode;
  }
  TCustomRPInfo::Assign(source);
}

std::unique_ptr<TCustomRPInfo> TCustomRPParaInfo::CloneDetached() const {
  auto copy = std::make_unique<TCustomRPParaInfo>(nullptr);
  copy->Assign(*this);
  return copy;
}

bool TCustomRPParaInfo::ExtraLineSpacing() const {
  return LineSpacingType == rplsPercent ? LineSpacing != 100 : LineSpacing > 0;
}

void TCustomRPParaInfo::AssignValidProperties(const TCustomRPParaInfo& s, TRPParaInfoProperties valid) {
  auto has = [valid](TRPParaInfoProperty p) { return valid.Contains(p); };
  if (has(rppiFirstIndent)) FirstIndent = s.FirstIndent;
  if (has(rppiLeftIndent)) LeftIndent = s.LeftIndent;
  if (has(rppiRightIndent)) RightIndent = s.RightIndent;
  if (has(rppiSpaceBefore)) SpaceBefore = s.SpaceBefore;
  if (has(rppiSpaceAfter)) SpaceAfter = s.SpaceAfter;
  if (has(rppiAlignment)) Alignment = s.Alignment;
  if (has(rppiLineSpacing)) LineSpacing = s.LineSpacing;
  if (has(rppiLineSpacingType)) LineSpacingType = s.LineSpacingType;
  if (has(rppiBackground_Color)) Background.Color = s.Background.Color;
  Background.BorderOffsets.AssignValidProperties(s.Background.BorderOffsets, has(rppiBackground_BO_Left),
                                                 has(rppiBackground_BO_Top), has(rppiBackground_BO_Right),
                                                 has(rppiBackground_BO_Bottom));
  if (has(rppiBorder_Color)) Border.Color = s.Border.Color;
  if (has(rppiBorder_Style)) Border.Style = s.Border.Style;
  if (has(rppiBorder_Width)) Border.Width = s.Border.Width;
  if (has(rppiBorder_InternalWidth)) Border.InternalWidth = s.Border.InternalWidth;
  Border.BorderOffsets.AssignValidProperties(s.Border.BorderOffsets, has(rppiBorder_BO_Left), has(rppiBorder_BO_Top),
                                             has(rppiBorder_BO_Right), has(rppiBorder_BO_Bottom));
  Border.VisibleBorders.AssignValidProperties(s.Border.VisibleBorders, has(rppiBorder_Vis_Left),
                                              has(rppiBorder_Vis_Top), has(rppiBorder_Vis_Right),
                                              has(rppiBorder_Vis_Bottom));
  for (const auto& [property, option] : OptionProperties)
    if (has(property)) Options.Set(option, s.Options.Contains(option));
  if (has(rppiTabs)) Tabs.Assign(s.Tabs);
  if (has(rppiBiDiMode)) BiDiMode = s.BiDiMode;
}

bool TCustomRPParaInfo::IsEqual(const TCustomRPParaInfo& v, TRPParaInfoProperties ignore) const {
  auto same = [ignore](TRPParaInfoProperty p, bool equal) { return equal || ignore.Contains(p); };
  if (!(same(rppiAlignment, Alignment == v.Alignment) && same(rppiFirstIndent, FirstIndent == v.FirstIndent) &&
        same(rppiLeftIndent, LeftIndent == v.LeftIndent) && same(rppiRightIndent, RightIndent == v.RightIndent) &&
        same(rppiSpaceBefore, SpaceBefore == v.SpaceBefore) && same(rppiSpaceAfter, SpaceAfter == v.SpaceAfter) &&
        same(rppiLineSpacing, LineSpacing == v.LineSpacing) &&
        same(rppiLineSpacingType, LineSpacingType == v.LineSpacingType)))
    return false;
  for (const auto& [property, option] : OptionProperties)
    if (!same(property, Options.Contains(option) == v.Options.Contains(option))) return false;
  if (!same(rppiBiDiMode, BiDiMode == v.BiDiMode) || !same(rppiTabs, Tabs == v.Tabs)) return false;
  const TRPRect &bo = Background.BorderOffsets, &vbo = v.Background.BorderOffsets;
  if (!same(rppiBackground_Color, Background.Color == v.Background.Color) ||
      !bo.IsEqualEx(vbo, ignore.Contains(rppiBackground_BO_Left), ignore.Contains(rppiBackground_BO_Top),
                    ignore.Contains(rppiBackground_BO_Right), ignore.Contains(rppiBackground_BO_Bottom)))
    return false;
  return same(rppiBorder_Style, Border.Style == v.Border.Style) &&
         same(rppiBorder_Color, Border.Color == v.Border.Color) &&
         same(rppiBorder_Width, Border.Width == v.Border.Width) &&
         same(rppiBorder_InternalWidth, Border.InternalWidth == v.Border.InternalWidth) &&
         Border.BorderOffsets.IsEqualEx(v.Border.BorderOffsets, ignore.Contains(rppiBorder_BO_Left),
                                        ignore.Contains(rppiBorder_BO_Top), ignore.Contains(rppiBorder_BO_Right),
                                        ignore.Contains(rppiBorder_BO_Bottom)) &&
         Border.VisibleBorders.IsEqualEx(v.Border.VisibleBorders, ignore.Contains(rppiBorder_Vis_Left),
                                         ignore.Contains(rppiBorder_Vis_Top), ignore.Contains(rppiBorder_Vis_Right),
                                         ignore.Contains(rppiBorder_Vis_Bottom));
}

bool TCustomRPParaInfo::IsSimpleEqual(const TCustomRPInfo& value, bool, bool) const {
  const auto* v = dynamic_cast<const TCustomRPParaInfo*>(&value);
  return v && Alignment == v->Alignment && FirstIndent == v->FirstIndent && LeftIndent == v->LeftIndent &&
         RightIndent == v->RightIndent && SpaceBefore == v->SpaceBefore && SpaceAfter == v->SpaceAfter &&
         LineSpacing == v->LineSpacing && LineSpacingType == v->LineSpacingType && Options == v->Options &&
         BiDiMode == v->BiDiMode && Background.Color == v->Background.Color &&
         Background.BorderOffsets.IsEqual(v->Background.BorderOffsets) && Tabs == v->Tabs && Border == v->Border;
}

bool TCustomRPParaInfo::IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList&) const {
  return IsSimpleEqual(value, true, false);
}

int32_t TCustomRPParaInfo::SimilarityValue(const TCustomRPInfo& value) const {
  const auto* v = dynamic_cast<const TCustomRPParaInfo*>(&value);
  if (!v) return 0;
  int32_t score =
      RateIntSimilarity(FirstIndent, v->FirstIndent, 1000) + RateIntSimilarity(LeftIndent, v->LeftIndent, 1000) +
      RateIntSimilarity(RightIndent, v->RightIndent, 1000) + RateIntSimilarity(SpaceBefore, v->SpaceBefore, 1000) +
      RateIntSimilarity(SpaceAfter, v->SpaceAfter, 1000);
  score += RateColorSimilarity(Background.Color, v->Background.Color, 10000, 50000) +
           Background.BorderOffsets.SimilarityValue(v->Background.BorderOffsets, 100);
  const int32_t tabPairs = std::min(Tabs.Count(), v->Tabs.Count());
  for (int32_t i = 0; i < tabPairs; ++i) {
    const TRPTabInfo &a = *Tabs.Tab(i), &b = *v->Tabs.Tab(i);
    score += RateIntSimilarity(a.Position(), b.Position(), 200);
    if (a.Align == b.Align) score += 100;
    if (a.Leader == b.Leader) score += 50;
  }
  score += tabPairs * 800 - 400 * Tabs.Count() - 400 * v->Tabs.Count();
  // Border: per side, whether each style has a line there.
  const TRPBorder &ba = Border, &bb = v->Border;
  auto lines = [](const TRPBorder& b) {
    const bool on = b.Style != rpbNone;
    return std::array<bool, 4>{on && b.VisibleBorders.Left, on && b.VisibleBorders.Top, on && b.VisibleBorders.Right,
                               on && b.VisibleBorders.Bottom};
  };
  const auto la = lines(ba), lb = lines(bb);
  const int32_t offsetsA[4] = {ba.BorderOffsets.Left, ba.BorderOffsets.Top, ba.BorderOffsets.Right,
                               ba.BorderOffsets.Bottom};
  const int32_t offsetsB[4] = {bb.BorderOffsets.Left, bb.BorderOffsets.Top, bb.BorderOffsets.Right,
                               bb.BorderOffsets.Bottom};
  int32_t both = 0;
  for (int i = 0; i < 4; ++i) both += la[i] && lb[i];
  if (both > 0)
    score += (RateColorSimilarity(ba.Color, bb.Color, 3333, 3000) + RateIntSimilarity(ba.Width, bb.Width, 1000) +
              RateIntSimilarity(ba.InternalWidth, bb.InternalWidth, 1000) + (ba.Style == bb.Style ? 1000 : 0)) *
             both;
  for (int i = 0; i < 4; ++i) {
    if (!la[i] && !lb[i])
      score += 20000;
    else if (la[i] != lb[i])
      score -= 20000;
    else
      score += RateIntSimilarity(offsetsA[i], offsetsB[i], 100);
  }
  if (Alignment == v->Alignment) score += 50000;
  if (BiDiMode == v->BiDiMode) score += 10000;
  const std::pair<TRPParaOption, int32_t> options[] = {
      {rppaoNoWrap, 1000},           {rppaoReadOnly, 100000},
      {rppaoStyleProtect, 1000},     {rppaoDoNotWantReturns, 10000},
      {rppaoKeepLinesTogether, 500}, {rppaoKeepWithNext, 500},
  };
  for (const auto& [option, weight] : options)
    if (Options.Contains(option) == v->Options.Contains(option)) score += weight;
  if (LineSpacingType == v->LineSpacingType)
    score += RateIntSimilarity(LineSpacing, v->LineSpacing, 5000);
  else if (ExtraLineSpacing() != v->ExtraLineSpacing())
    score -= 20000;
  return score;
}

void TParaInfo::Assign(const TPersistent& source) {
  TCustomRPParaInfo::Assign(source);
  if (const auto* p = dynamic_cast<const TParaInfo*>(&source)) {
    NextParaNo = p->NextParaNo;
    DefStyleNo = p->DefStyleNo;
    ModifiedProperties1 = p->ModifiedProperties1;
    ModifiedProperties2 = p->ModifiedProperties2;
  }
}

std::unique_ptr<TCustomRPInfo> TParaInfo::CloneDetached() const {
  auto copy = std::make_unique<TParaInfo>(nullptr);
  copy->Assign(*this);
  return copy;
}

bool TParaInfo::IsEqual(const TCustomRPParaInfo& value, TRPParaInfoProperties ignore) const {
  if (!TCustomRPParaInfo::IsEqual(value, ignore)) return false;
  const auto* v = dynamic_cast<const TParaInfo*>(&value);
  if (!v) return true;
  return (NextParaNo == v->NextParaNo || ignore.Contains(rppiNextParaNo)) &&
         (DefStyleNo == v->DefStyleNo || ignore.Contains(rppiDefStyleNo)) && StyleTemplateId == v->StyleTemplateId &&
         ModifiedProperties1 == v->ModifiedProperties1 && ModifiedProperties2 == v->ModifiedProperties2;
}

bool TParaInfo::IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const {
  if (!TCustomRPParaInfo::IsSimpleEqual(value, ignoreReferences, ignoreId)) return false;
  const auto* v = dynamic_cast<const TParaInfo*>(&value);
  if (!v) return true;
  return ModifiedProperties1 == v->ModifiedProperties1 && ModifiedProperties2 == v->ModifiedProperties2 &&
         StyleTemplateId == v->StyleTemplateId &&
         (ignoreReferences || (NextParaNo == v->NextParaNo && DefStyleNo == v->DefStyleNo));
}

bool TParaInfo::IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const {
  if (!IsSimpleEqual(value, true, false)) return false;
  auto* v = dynamic_cast<TParaInfo*>(&value);
  return !v || MappedReferenceMatches(v->NextParaNo, NextParaNo, map);
}

void TParaInfo::MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList* textStyleMap) {
  TCustomRPParaInfo::MapMergedReferences(map, textStyleMap);
  MapReference(NextParaNo, &map);
  MapReference(DefStyleNo, textStyleMap);
}
