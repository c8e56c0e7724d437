// Word wrap of text items: fitting characters, break opportunities, draw items.
#include <algorithm>
#include <vector>

#include "platform/base/Surrogates.h"
#include "richtext/layout/RPLineBreaker.h"
#include "richtext/model/RPLineBreak.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr WideChar SpaceChar = 0x20;
constexpr WideChar SoftHyphen = 0x00AD;

}  // namespace

void TRPLineBreaker::LoadItemText(int32_t itemNo) {
  TRPItemText& t = FText;
  if (t.ItemNo == itemNo) return;
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const int32_t textStyle = FData.GetItemStyle(itemNo);
  t.ItemNo = itemNo;
  t.Unicode = item.IsUnicode();
  t.Raw = FData.GetItemTextRaw(itemNo);
  t.Wide = t.Unicode ? RawUnicodeToWide(t.Raw) : WideString();
  t.Length = t.Unicode ? static_cast<int32_t>(t.Wide.size()) : static_cast<int32_t>(t.Raw.size());
  const TFontInfo& font = *FStyle->TextStyles()[textStyle];
  const bool special = (FData.GetOptions() & rpoShowSpecialCharacters) != 0;
  t.Display = PrepareDisplayText(t.Raw, item.ItemOptions, font.StyleEx.Contains(rpfsAllCaps), false, false,
                                 special && GetRPVisibleSpecialCharacters().Contains(rpscSoftHyphen));
}

void TRPLineBreaker::SwitchTextStyle(int32_t itemNo) {
  const int32_t styleNo = FData.GetItemStyle(itemNo);
  if (FStyleNo == styleNo) return;
  const TRPFontInfoCacheItem& m = FCache->Select(styleNo, FData.GetParaBiDiMode(FData.GetItemPara(itemNo)));
  FStyleNo = styleNo;
  FTextAscent = m.Metrics.tmAscent;
  FTextDescent = m.Metrics.tmDescent;
  FTextHeight = m.Metrics.tmHeight;
  FExternalLeading = m.Metrics.tmExternalLeading;
  FVerticalShift = m.VerticalShift;
  FHyphenWidth = m.HyphenWidth;
}

AnsiStringView TRPLineBreaker::DisplayText(int32_t pos, int32_t count) const {
  const TRPItemText& t = FText;
  return AnsiStringView(t.Display).substr(t.Bytes(pos), t.Bytes(count));
}

int32_t TRPLineBreaker::MeasureDisplayWidth(int32_t pos, int32_t count) const {
  return MeasureDisplaySize(pos, count).cx;
}

TSize TRPLineBreaker::MeasureDisplaySize(int32_t pos, int32_t count) const {
  return GetItemTextSize(DisplayText(pos, count), FCanvas, FText.Unicode ? rpioUnicode : 0);
}

void TRPLineBreaker::MeasureFaceExtent(int32_t pos, int32_t count, int32_t& ascent, int32_t& descent) const {
  GetItemTextFaceExtent(DisplayText(pos, count), FCanvas, FText.Unicode ? rpioUnicode : 0, ascent, descent);
}

int32_t TRPLineBreaker::MeasureFit(int32_t pos, int32_t remaining, int32_t avail) {
  const TRPItemText& t = FText;
  const TRPItemOptions options = t.Unicode ? rpioUnicode : 0;
  const auto at = [&](int32_t i) { return t.At(pos + i); };
  int32_t fit = 0;
  if (HasFlag(rpdfFitByExtents)) {
    std::vector<int32_t> extents;
    if (t.Unicode) {
      MeasureWideFit(pos, remaining, avail, extents, fit);
      if (fit > 0 && at(fit - 1) == SoftHyphen && extents[static_cast<size_t>(fit - 1)] + FHyphenWidth > avail) --fit;
      if (fit > 0 && fit < remaining && at(fit) == SoftHyphen) --fit;
    } else {
      extents.assign(static_cast<size_t>(remaining) + 1, 0);
      TSize size{};
      MeasureTextFit(FCanvas, t.Raw.substr(t.Bytes(pos)), remaining, size, options, extents.data(), fit, avail);
    }
  } else {
    // The width of the first n characters, a visible hyphen added after a soft one.
    const auto widthOf = [&](int32_t n) {
      int32_t w = MeasureDisplayWidth(pos, n);
      if (t.Unicode && n > 0 && at(n - 1) == SoftHyphen) w += FHyphenWidth;
      return w;
    };
    const int32_t whole = MeasureDisplayWidth(pos, remaining);
    if (whole >= 0 && whole <= avail) return remaining;
    // Interpolation between a count known to fit and one known not to; the products
    // are 64-bit so that long texts cannot overflow them.
    int32_t low = 0, lowWidth = 0, high = remaining, highWidth = whole;
    fit = -1;
    while (high > low + 1) {
      if (highWidth == lowWidth) ++highWidth;
      int64_t guess = low + static_cast<int64_t>(avail - lowWidth) * (high - low) / (highWidth - lowWidth);
      guess = std::clamp<int64_t>(guess, low + 1, high - 1);
      const int32_t g = static_cast<int32_t>(guess);
      const int32_t w = widthOf(g);
      if (w == avail) {
        fit = g;
        break;
      }
      if (w < avail && g > 0) {
        low = g;
        lowWidth = w;
      } else {
        high = g;
        highWidth = w;
      }
    }
    if (fit < 0) fit = low;
    if (t.Unicode && fit > 0 && fit < remaining && at(fit) == SoftHyphen) --fit;
  }
  // A whole character: never between the halves of a surrogate pair.
  if (t.Unicode && fit > 0 && fit < remaining && IsLowSurrogate(at(fit))) --fit;
  return fit;
}

void TRPLineBreaker::MeasureWideFit(int32_t pos, int32_t remaining, int32_t avail, std::vector<int32_t>& extents,
                                    int32_t& fit) {
  const WideChar* units = FText.Wide.data();
  // A rest cut short of the text's end (by the document's maximum line length) has tails
  // of its own.
  if (remaining <= TRPWholeRestUnits::Current() || pos + remaining != FTextEnd) {
    extents.assign(static_cast<size_t>(remaining), 0);
    TSize size{};
    MeasureWideTextFit(FCanvas, units + pos, remaining, size, extents.data(), fit, avail);
    return;
  }
  HDC dc = FCanvas->Handle();
  if (!FTails || !FTails->MeasuresWith(dc))
    FTails = std::make_unique<TTextTails>(
        dc, WideStringView(units + FTextStart, static_cast<size_t>(FTextEnd - FTextStart)));
  MeasureTailFit(*FTails, units + FTextStart, static_cast<size_t>(pos - FTextStart), avail, extents, fit);
}

void TRPLineBreaker::FormatJustifiedText(int32_t itemNo) {
  LoadItemText(itemNo);
  const TRPItemText& t = FText;
  if (t.Length == 0) {
    FormatText(itemNo, 1, 0, false);
    return;
  }
  // Pieces from one space to the next: every word after the first carries the space
  // before it.
  int32_t start = 0;
  while (start < t.Length) {
    int32_t end = t.At(start) == SpaceChar ? start + 1 : start;
    while (end < t.Length && t.At(end) != SpaceChar) ++end;
    FormatText(itemNo, start + 1, end - start, start > 0);
    start = end;
  }
}

void TRPLineBreaker::FormatText(int32_t itemNo, int32_t offs, int32_t count, bool continuation) {
  // Outline. A line is due first when the item starts a line (or none is open yet): the
  // next line then begins a paragraph. Empty text makes one empty draw item. Otherwise,
  // while characters remain:
  //   1. the due line is opened; at a soft break a leading space is dropped (TrimSpaces);
  //   2. the characters that fit are measured (all of them in a no-wrap paragraph, none
  //      beyond the document's maximum line length);
  //   3. none fit: the next line, unless the line is empty or follows a list marker,
  //      which take one whole character; some fit: up to the last break opportunity
  //      among them (a space there is dropped with TrimSpaces), without one the next
  //      line, or on an empty line all that fit (the word is cut); all fit: the rest;
  //   4. the piece becomes a draw item, and what remains goes on the next line.
  LoadItemText(itemNo);
  SwitchTextStyle(itemNo);
  const TRPItemText& t = FText;
  FTextStart = offs - 1;
  FTextEnd = offs - 1 + count;
  FTails.reset();
  const bool trimSpaces = HasFlag(rpdfTrimSpaces);
  const bool afterMarker = itemNo > 0 && GetItem(itemNo - 1)->StyleNo == rpkindListMarker;
  const bool nextContinues = itemNo + 1 < FData.GetItemCount() && GetItem(itemNo + 1)->GetContinuesLine();
  const int32_t maxLength = FData.GetMaxLength();
  bool lineDue = false;
  if (!continuation && (FData.StartsNewLine(itemNo) || FLineStart < 0)) {
    FNewPara = true;
    FSpaceSkipped = false;
    lineDue = true;
  }
  if (count == 0) {
    if (lineDue) StartNewLine(itemNo, !FNewPara);
    AddTextDrawItem(itemNo, offs - 1, 0, true);
    return;
  }
  int32_t pos = offs - 1;  // 0-based
  int32_t remaining = count;
  bool firstPiece = true;
  while (remaining > 0) {
    if (lineDue) {
      const bool soft = !FNewPara;
      StartNewLine(itemNo, soft);
      lineDue = false;
      if (trimSpaces && soft && !FSpaceSkipped && remaining > 1 && t.At(pos) == SpaceChar) {
        ++pos;
        --remaining;
      }
    }
    const bool lineEmpty = !LineHasItems();
    const int32_t avail = std::max(FLineWidth - FX, 0);
    int32_t n = 0;
    if (GetParaStyle(itemNo).Options.Contains(rppaoNoWrap))
      n = remaining;
    else if (maxLength <= 0 || FCharsOnLine < maxLength)
      n = MeasureFit(pos, maxLength > 0 ? std::min(remaining, maxLength - FCharsOnLine) : remaining, avail);
    int32_t take = 0, consumed = 0;  // consumed - take: a dropped space
    if (n == 0) {
      if (!(lineEmpty || (firstPiece && afterMarker))) {
        lineDue = true;
        continue;
      }
      take = consumed = (t.Unicode && remaining > 1 && IsLowSurrogate(t.At(pos + 1))) ? 2 : 1;
    } else if (n < remaining) {
      int32_t k = -1;
      if (t.Unicode) {
        const WideChar* found = FindLineBreakBefore(t.Wide.data() + pos, n, n + 1 == remaining);
        if (found) k = static_cast<int32_t>(found - (t.Wide.data() + pos));
      } else {
        const int32_t limit = remaining - n > 1 ? n + 1 : n;
        for (int32_t i = limit - 1; i >= 0; --i)
          if (t.At(pos + i) == SpaceChar) {
            k = i;
            break;
          }
      }
      if (k < 0 && trimSpaces && t.At(pos + n) == SpaceChar && (n + 1 < remaining || nextContinues)) k = n;
      if (k >= 0) {
        if (trimSpaces && t.At(pos + k) == SpaceChar) {
          if (k == 0) {
            take = consumed = 1;
          } else {
            take = k;
            consumed = k + 1;
          }
        } else {
          take = consumed = k + 1;
        }
      } else if (!lineEmpty) {
        lineDue = true;
        continue;
      } else {
        take = consumed = n;
      }
    } else {
      take = consumed = remaining;
    }
    AddTextDrawItem(itemNo, pos, take, firstPiece);
    FSpaceSkipped = consumed > take;
    pos += consumed;
    remaining -= consumed;
    firstPiece = false;
    if (remaining > 0) lineDue = true;
  }
}

void TRPLineBreaker::AddTextDrawItem(int32_t itemNo, int32_t pos, int32_t take, bool firstPiece) {
  auto d = std::make_unique<TRPDrawLineInfo>();
  d->ItemNo = itemNo;
  d->Offs = pos + 1;
  d->Length = take;
  // A face that fallback draws some of the text with may reach above or below the
  // style's font: the draw item, and so its line, grows to hold it.
  int32_t ascent = FTextAscent, descent = FTextDescent;
  if (take > 0) {
    const TSize size = MeasureDisplaySize(pos, take);
    d->Width = size.cx;
    if (size.cy > FTextHeight) MeasureFaceExtent(pos, take, ascent, descent);
  }
  d->FallbackAscent = ascent - FTextAscent;
  d->Height = FTextHeight + d->FallbackAscent + descent - FTextDescent;
  const int32_t leading = HasFlag(rpdfUseExternalLeading) ? FExternalLeading : 0;
  const int32_t above = ascent + leading + FVerticalShift;
  if (!LineHasItems()) {
    d->FromNewLine = 255;
    FX = 0;
    FY += FLineExtra;
    FLineExtra = 0;
    d->Top = FY + FBelow;
    FAscent = above;
    FY += FAscent + FBelow;
    FBelow = descent - FVerticalShift;
  } else {
    RaiseLine(above);
    d->Top = FY - above;
    FBelow = std::max(FBelow, descent - FVerticalShift);
  }
  d->Left = FLineLeft + FX;
  FX += d->Width;
  FCharsOnLine += take;
  FSpaceSkipped = false;
  const int32_t drawNo = FDrawCount;
  const TRPDrawLineInfo& placed = *d;
  InsertDrawItem(std::move(d));
  if (firstPiece && FPendingTab >= 0) ResolveTab();
  if (HasFlag(rpdfUseJumps) && FStyle->TextStyles()[FData.GetItemStyle(itemNo)]->Jump)
    AddJump(itemNo, placed, drawNo, static_cast<int16_t>(FStyle->TextStyles()[FData.GetItemStyle(itemNo)]->JumpCursor));
}
