// The formatting pass's frame: widths, start, end, reruns; item and draw-item queries.
#include "richtext/layout/RPFormattedData.h"

#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/layout/RPLineBreaker.h"
#include "richtext/model/RPStyle.h"

TCustomRPFormattedData::TCustomRPFormattedData() = default;
TCustomRPFormattedData::~TCustomRPFormattedData() = default;

std::unique_ptr<TRPDrawLineInfo> TCustomRPFormattedData::CreateDrawItem(int32_t) {
  return std::make_unique<TRPDrawLineInfo>();
}

TRPResolution TCustomRPFormattedData::GetResolutions(TCanvas& canvas) const {
  TRPResolution r;
  GetScreenAndDeviceResolution(r, canvas);
  return r;
}

void TCustomRPFormattedData::ClearFormatting() {
  DrawItems.Clear();
  FSelStartNo = FSelEndNo = -1;
  FSelStartOffs = FSelEndOffs = 0;
  FSelecting.reset();
  FInnerSelectionItem = nullptr;
  ClearJumps();
  FNextJumpNo = 0;
  LastFormattedItemNo = -1;
  DocumentHeight = GetTopMargin() + GetBottomMargin();
}

void TCustomRPFormattedData::Clear() {
  FSoftPageBreaks.reset();
  ClearFormatting();
  TCustomRPData::Clear();
}

void TCustomRPFormattedData::SetWidths(TCanvas& canvas, bool& widthChanged) {
  const int32_t oldDocumentWidth = DocumentWidth, oldTextWidth = TextWidth;
  const int32_t margins = ScaleX(GetLeftMargin()) + ScaleX(GetRightMargin());
  const int32_t area = GetWidth() - margins;
  const int32_t minText = ScaleX(GetMinTextWidth());
  MinDocWidth = CalculateMinDocWidth(&FResolution, canvas);
  DocumentWidth = std::max({area, MinDocWidth, minText});
  if ((GetOptions() & rpoClientTextWidth) != 0) {
    TextWidth = std::max(area, minText);
  } else {
    const int32_t maxText = ScaleX(GetMaxTextWidth());
    TextWidth = maxText < DocumentWidth ? (GetMaxTextWidth() < 1 ? DocumentWidth : maxText) : DocumentWidth;
  }
  widthChanged = DocumentWidth != oldDocumentWidth || TextWidth != oldTextWidth;
}

void TCustomRPFormattedData::WithFontCache(TCanvas& canvas, const std::function<void(TRPFontInfoCache&)>& body) {
  const bool collectionPpi = HasFlag(rpdfUseCollectionPPI);
  auto* root = dynamic_cast<TCustomRPFormattedData*>(GetRootData());
  if (root && root != this && root->FActiveFontCache) {
    TRPFontInfoCache& shared = *root->FActiveFontCache;
    if (&shared.Canvas() == &canvas && &shared.Style() == GetStyleSheet() &&
        shared.UsesCollectionPpi() == collectionPpi) {
      shared.Forget();  // the root's own items may have changed the canvas since
      body(shared);
      return;
    }
  }
  TRPFontInfoCache own(canvas, *GetStyleSheet(), collectionPpi, FResolution);
  TRPFontInfoCache* const saved = FActiveFontCache;
  FActiveFontCache = &own;
  TScopeExit restore([&] { FActiveFontCache = saved; });
  body(own);
}

void TCustomRPFormattedData::RunPass(TCanvas& canvas, bool onlyTail, bool itemFlag1, bool itemFlag2) {
  int32_t first = 0;
  int32_t y = 0;
  if (onlyTail && LastFormattedItemNo >= 0) {
    first = LastFormattedItemNo + 1;
    y = DocumentHeight - GetBottomMargin() - ScaleY(GetParaStyle(LastFormattedItemNo).SpaceAfter);
  } else {
    ClearFormatting();
    y = GetTopMargin();
  }
  const int32_t last = GetItemCount() - 1;
  BeforeFormat();
  int32_t bottom = 0;
  WithFontCache(canvas, [&](TRPFontInfoCache& cache) {
    TRPLineBreaker breaker(*this, canvas, cache, itemFlag1, itemFlag2, DrawItems.Count(), y);
    breaker.Run(first, last);
    bottom = breaker.Bottom();
  });
  DocumentHeight = GetBottomMargin() + bottom;
  if (last >= 0) DocumentHeight += ScaleY(GetParaStyle(last).SpaceAfter);
  LastFormattedItemNo = last;
}

void TCustomRPFormattedData::Format(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth, TCanvas* canvas,
                                    bool onlyTail, bool itemFlag1, bool itemFlag2) {
  if (FUpdatingScrollRanges) {
    FUpdatingScrollRanges = false;
    return;
  }
  if (depth > 1 || !GetStyleSheet() || (FFormatting && depth == 0)) return;
  if (!canvas) canvas = GetCanvas();
  if (!canvas) return;
  FResolution = GetResolutions(*canvas);
  // The item at the top of the view, and how far its first draw item stood from it.
  int32_t topItem = -1, topDistance = 0;
  const int32_t oldVOffs = GetVOffs();
  if (onlyResized && !noScroll && DrawItems.Count() > 0) {
    const int32_t d = FindDrawItemByY(oldVOffs, 0);
    topItem = DrawItems[d]->ItemNo;
    topDistance = DrawItems[GetItemFirstDrawItem(topItem)]->Top - oldVOffs;
  }
  // The selection survives a pass after a resize as item positions.
  int32_t selStartItem = -1, selEndItem = -1, selStartOffs = 0, selEndOffs = 0;
  if (onlyResized) GetSelectionBounds(selStartItem, selEndItem, selStartOffs, selEndOffs, false);
  bool widthChanged = false;
  SetWidths(*canvas, widthChanged);
  const bool wasFormatting = FFormatting;
  FFormatting = true;
  TScopeExit done([&] {
    FFormatting = wasFormatting;
    LastFormattedItemNo = GetItemCount() - 1;
    AfterFormat(0, GetItemCount() - 1);
  });
  if (!onlyResized || forceFormat || widthChanged) RunPass(*canvas, onlyTail, itemFlag1, itemFlag2);
  AdjustVSmallStep();
  UpdateJumpsCoords();
  const int32_t oldWidth = GetWidth(), oldHeight = GetHeight();
  {
    FUpdatingScrollRanges = true;
    TScopeExit restore([&] { FUpdatingScrollRanges = false; });
    UpdateScrollRanges(ScaleX(GetLeftMargin()) + DocumentWidth + ScaleX(GetRightMargin()), DocumentHeight);
  }
  if (GetWidth() != oldWidth || GetHeight() != oldHeight) {
    ClearFormatting();
    FFormatting = false;
    Format(onlyResized, true, noScroll, depth + 1, canvas, false, itemFlag1, itemFlag2);
    FFormatting = true;
  }
  if (depth == 0) {
    if (onlyResized && !noScroll) {
      const int32_t d = topItem >= 0 && topItem < GetItemCount() ? GetItemFirstDrawItem(topItem) : -1;
      ScrollTo(d >= 0 ? DrawItems[d]->Top - topDistance : 0);
    } else if (onlyTail) {
      ScrollTo((GetOptions() & rpoScrollToEnd) != 0 ? DocumentHeight : oldVOffs);
    }
    PlaceControls();
    if (onlyResized && selStartItem >= 0 && selEndItem >= 0) {
      ItemToDrawItemPos(selStartItem, selStartOffs, FSelStartNo, FSelStartOffs);
      ItemToDrawItemPos(selEndItem, selEndOffs, FSelEndNo, FSelEndOffs);
      if (FSelStartNo < 0 || FSelEndNo < 0) FSelStartNo = FSelEndNo = -1;
      NormalizeSelection();
    }
  }
}

void TCustomRPFormattedData::UpdateJumpsCoords() {
  if (Jumps.empty()) return;
  // In this document's coordinates: a document with an origin of its own (the editor of a
  // cell) finds its hyperlinks under its mouse.
  const TPoint own{GetOrigin().X, GetOrigin().Y - GetDocumentVAlignOffset()};
  for (const auto& jump : Jumps) {
    const auto* owner = dynamic_cast<const TCustomRPFormattedData*>(jump->RPData);
    if (!owner) owner = this;
    const TRPDrawLineInfo& d = *owner->DrawItems[jump->DrawItemNo];
    const TPoint origin = owner->GetOrigin();
    jump->Left = origin.X - own.X + d.Left;
    jump->Top = origin.Y - own.Y - owner->GetDocumentVAlignOffset() + d.Top;
    jump->Width = d.Width;
    jump->Height = d.Height;
  }
}

void TCustomRPFormattedData::PlaceControls() {
  if (HasFlag(rpdfPrinting)) return;
  for (int32_t i = 0; i < DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    // Controls, and the items that hold controls or editors of their own (tables).
    if (IsTextItem(d.ItemNo)) continue;
    if (auto* control = dynamic_cast<TRPNonTextItemInfo*>(GetItem(d.ItemNo)))
      control->AdjustControlPlacement(d.Left - GetHOffs(), d.Top - GetVOffs(), false);
  }
  ControlsPlaced();
}

// --- Item queries --------------------------------------------------------------------

const TParaInfo& TCustomRPFormattedData::GetParaStyle(int32_t itemNo) const {
  return *GetStyleSheet()->ParaStyles()[GetItemPara(itemNo)];
}

TRPBiDiMode TCustomRPFormattedData::GetEffectiveParaBiDiMode(int32_t itemNo) const {
  return GetParaBiDiMode(GetItemPara(itemNo));
}

WideChar TCustomRPFormattedData::ItemCharAt(int32_t itemNo, int32_t index) const {
  const AnsiString& raw = GetItemTextRaw(itemNo);
  if (!GetItem(itemNo)->IsUnicode()) return static_cast<uint8_t>(raw[static_cast<size_t>(index)]);
  const size_t at = static_cast<size_t>(index) * 2;
  return static_cast<WideChar>(static_cast<uint8_t>(raw[at]) | (static_cast<uint8_t>(raw[at + 1]) << 8));
}

bool TCustomRPFormattedData::GetContinuedListMarker(int32_t&, int32_t&) const { return false; }

void TCustomRPFormattedData::GetParaIndents(int32_t itemNo, bool firstLine, int32_t& left, int32_t& right) const {
  const TParaInfo& para = GetParaStyle(itemNo);
  left = para.LeftIndent + (firstLine ? para.FirstIndent : 0);
  right = para.RightIndent;
  const int32_t paraStart = GetParaStartItem(itemNo);
  int32_t levelLeft = 0, levelFirst = 0, markerIndent = 0;
  int32_t levelSide = 0;
  if (GetItem(paraStart)->StyleNo == rpkindListMarker) {
    const auto* marker = dynamic_cast<const IRPListMarkerLevel*>(GetItem(paraStart));
    if (!marker || !marker->GetLevelIndents(GetRPStyle(), levelLeft, levelFirst, markerIndent)) return;
    levelSide = itemNo == paraStart ? markerIndent : levelLeft;
  } else {
    // The first paragraph of a fragment that begins inside a list paragraph: every line
    // is a continuation line of the list's level.
    int32_t listNo = -1, level = -1;
    if (paraStart != 0 || !GetContinuedListMarker(listNo, level)) return;
    const TRPListLevel* info = GetStyleSheet()->ListStyles().GetLevel(listNo, level);
    if (!info) return;
    levelSide = info->LeftIndent;
  }
  if (para.BiDiMode == rpbdRightToLeft) {
    left = para.LeftIndent;
    right = levelSide;
  } else {
    left = levelSide;
  }
}

// --- Draw-item queries -------------------------------------------------------------

void TCustomRPFormattedData::GetLineDrawItems(int32_t drawNo, int32_t& first, int32_t& last) const {
  first = drawNo;
  while (first > 0 && !DrawItems[first]->StartsLine()) --first;
  last = drawNo;
  while (last + 1 < DrawItems.Count() && !DrawItems[last + 1]->StartsLine()) ++last;
}

int32_t TCustomRPFormattedData::GetLineTop(int32_t drawNo) const {
  int32_t first = 0, last = 0;
  GetLineDrawItems(drawNo, first, last);
  int32_t top = DrawItems[first]->Top;
  for (int32_t j = first + 1; j <= last; ++j) top = std::min(top, DrawItems[j]->Top);
  return top;
}

int32_t TCustomRPFormattedData::FindDrawItemByY(int32_t y, int32_t mode) const {
  const int32_t n = DrawItems.Count();
  if (n == 0 || y <= DrawItems[0]->Top) return 0;
  if (mode == 3 && y > DrawItems[n - 1]->Top) return n - 1;
  if (mode == 2) return 1;
  int32_t lo = 0, hi = n;  // first draw item with Top >= y
  while (lo < hi) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (DrawItems[mid]->Top < y)
      lo = mid + 1;
    else
      hi = mid;
  }
  int32_t found = std::min(lo, n - 1);
  if (mode == 1) {
    // Back to the start of the line before the one found.
    for (int32_t starts = 0; found > 0 && starts < 2; --found)
      if (DrawItems[found]->StartsLine() && ++starts == 2) break;
    if (found > 0) --found;
  }
  return found;
}

int32_t TCustomRPFormattedData::GetItemFirstDrawItem(int32_t itemNo) const {
  for (int32_t i = 0; i < DrawItems.Count(); ++i)
    if (DrawItems[i]->ItemNo == itemNo) return i;
  return -1;
}

void TCustomRPFormattedData::DrawItemToItemPos(int32_t drawNo, int32_t drawOffs, int32_t& itemNo, int32_t& offs) const {
  if (drawNo < 0 || drawNo >= DrawItems.Count()) {
    itemNo = -1;
    offs = 0;
    return;
  }
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  itemNo = d.ItemNo;
  offs = IsTextItem(itemNo) ? drawOffs + d.Offs - 1 : drawOffs;
}

void TCustomRPFormattedData::ItemToDrawItemPos(int32_t itemNo, int32_t offs, int32_t& drawNo, int32_t& drawOffs) const {
  drawNo = -1;
  drawOffs = 0;
  if (itemNo < 0) return;
  const int32_t first = GetItemFirstDrawItem(itemNo);
  if (first < 0) return;
  if (!IsTextItem(itemNo)) {
    drawNo = first;
    drawOffs = offs;
    return;
  }
  for (int32_t i = first; i < DrawItems.Count() && DrawItems[i]->ItemNo == itemNo; ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    drawNo = i;
    drawOffs = offs - d.Offs + 1;
    // The earlier draw item wins at a boundary; a later one that starts a line takes the
    // offset only when it lies at or past its start.
    if (offs <= d.Offs + d.Length) return;
  }
}
