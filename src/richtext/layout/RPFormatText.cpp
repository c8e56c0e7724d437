// Word wrap of text items: fitting characters, break opportunities, draw items.
#include <algorithm>
#include <vector>

#include "platform/base/Surrogates.h"
#include "richtext/layout/RPFormatCursor.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPLineBreak.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

constexpr WideChar SpaceChar = 0x20;
constexpr WideChar SoftHyphen = 0x00AD;

}  // namespace

void TCustomRPFormattedData::LoadItemText(int32_t itemNo, TRPFormatCursor& c) {
  TRPItemText& t = c.Text;
  if (t.ItemNo == itemNo) return;
  const TCustomRPItemInfo& item = *GetItem(itemNo);
  const int32_t textStyle = GetItemStyle(itemNo);
  t.ItemNo = itemNo;
  t.Unicode = item.IsUnicode();
  t.Raw = GetItemTextRaw(itemNo);
  t.Wide = t.Unicode ? RawUnicodeToWide(t.Raw) : WideString();
  t.Length = t.Unicode ? static_cast<int32_t>(t.Wide.size()) : static_cast<int32_t>(t.Raw.size());
  const TFontInfo& font = *c.Style->TextStyles()[textStyle];
  const bool special = (GetOptions() & rpoShowSpecialCharacters) != 0;
  t.Display = PrepareDisplayText(t.Raw, item.ItemOptions, font.StyleEx.Contains(rpfsAllCaps), false, false,
                                 special && GetRPVisibleSpecialCharacters().Contains(rpscSoftHyphen));
}

void TCustomRPFormattedData::SwitchTextStyle(int32_t itemNo, TRPFormatCursor& c) {
  const int32_t styleNo = GetItemStyle(itemNo);
  if (c.StyleNo == styleNo) return;
  const TRPFontInfoCacheItem& m = c.Cache->Select(styleNo, GetParaBiDiMode(GetItemPara(itemNo)));
  c.StyleNo = styleNo;
  c.TextAscent = m.Metrics.tmAscent;
  c.TextDescent = m.Metrics.tmDescent;
  c.TextHeight = m.Metrics.tmHeight;
  c.ExternalLeading = m.Metrics.tmExternalLeading;
  c.VerticalShift = m.VerticalShift;
  c.HyphenWidth = m.HyphenWidth;
}

int32_t TCustomRPFormattedData::MeasureDisplayWidth(int32_t pos, int32_t count, TRPFormatCursor& c) const {
  const TRPItemText& t = c.Text;
  const AnsiStringView shown = AnsiStringView(t.Display).substr(t.Bytes(pos), t.Bytes(count));
  return GetItemTextWidth(shown, c.Canvas, t.Unicode ? rpioUnicode : 0);
}

int32_t TCustomRPFormattedData::MeasureFit(int32_t pos, int32_t remaining, int32_t avail, TRPFormatCursor& c) {
  const TRPItemText& t = c.Text;
  const TRPItemOptions options = t.Unicode ? rpioUnicode : 0;
  const auto at = [&](int32_t i) { return t.At(pos + i); };
  int32_t fit = 0;
  if (HasFlag(rpdfFitByExtents)) {
    std::vector<int32_t> extents(static_cast<size_t>(remaining) + 1, 0);
    TSize size{};
    MeasureTextFit(c.Canvas, t.Raw.substr(t.Bytes(pos)), remaining, size, options, extents.data(), fit, avail);
    if (t.Unicode) {
      if (fit > 0 && at(fit - 1) == SoftHyphen && extents[static_cast<size_t>(fit - 1)] + c.HyphenWidth > avail) --fit;
      if (fit > 0 && fit < remaining && at(fit) == SoftHyphen) --fit;
    }
  } else {
    // The width of the first n characters, a visible hyphen added after a soft one.
    const auto widthOf = [&](int32_t n) {
      int32_t w = MeasureDisplayWidth(pos, n, c);
      if (t.Unicode && n > 0 && at(n - 1) == SoftHyphen) w += c.HyphenWidth;
      return w;
    };
    const int32_t whole = MeasureDisplayWidth(pos, remaining, c);
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

void TCustomRPFormattedData::FormatJustifiedText(int32_t itemNo, TRPFormatCursor& c) {
  LoadItemText(itemNo, c);
  const TRPItemText& t = c.Text;
  if (t.Length == 0) {
    FormatText(itemNo, 1, 0, false, c);
    return;
  }
  // Pieces from one space to the next: every word after the first carries the space
  // before it.
  int32_t start = 0;
  while (start < t.Length) {
    int32_t end = t.At(start) == SpaceChar ? start + 1 : start;
    while (end < t.Length && t.At(end) != SpaceChar) ++end;
    FormatText(itemNo, start + 1, end - start, start > 0, c);
    start = end;
  }
}

void TCustomRPFormattedData::FormatText(int32_t itemNo, int32_t offs, int32_t count, bool continuation,
                                        TRPFormatCursor& c) {
  LoadItemText(itemNo, c);
  SwitchTextStyle(itemNo, c);
  const TRPItemText& t = c.Text;
  const bool trimSpaces = HasFlag(rpdfTrimSpaces);
  const bool afterMarker = itemNo > 0 && GetItem(itemNo - 1)->StyleNo == rpkindListMarker;
  const bool nextContinues = itemNo + 1 < GetItemCount() && GetItem(itemNo + 1)->GetContinuesLine();
  const int32_t maxLength = GetMaxLength();
  bool lineDue = false;
  if (!continuation && (StartsNewLine(itemNo) || c.LineStart < 0)) {
    c.NewPara = true;
    c.SpaceSkipped = false;
    lineDue = true;
  }
  if (count == 0) {
    if (lineDue) StartNewLine(itemNo, !c.NewPara, c);
    AddTextDrawItem(itemNo, offs - 1, 0, true, c);
    return;
  }
  int32_t pos = offs - 1;  // 0-based
  int32_t remaining = count;
  bool firstPiece = true;
  while (remaining > 0) {
    if (lineDue) {
      const bool soft = !c.NewPara;
      StartNewLine(itemNo, soft, c);
      lineDue = false;
      if (trimSpaces && soft && !c.SpaceSkipped && remaining > 1 && t.At(pos) == SpaceChar) {
        ++pos;
        --remaining;
      }
    }
    const bool lineEmpty = !c.LineHasItems();
    const int32_t avail = std::max(c.LineWidth - c.X, 0);
    int32_t n = 0;
    if (GetParaStyle(itemNo).Options.Contains(rppaoNoWrap))
      n = remaining;
    else if (maxLength <= 0 || c.CharsOnLine < maxLength)
      n = MeasureFit(pos, maxLength > 0 ? std::min(remaining, maxLength - c.CharsOnLine) : remaining, avail, c);
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
    AddTextDrawItem(itemNo, pos, take, firstPiece, c);
    c.SpaceSkipped = consumed > take;
    pos += consumed;
    remaining -= consumed;
    firstPiece = false;
    if (remaining > 0) lineDue = true;
  }
}

void TCustomRPFormattedData::AddTextDrawItem(int32_t itemNo, int32_t pos, int32_t take, bool firstPiece,
                                             TRPFormatCursor& c) {
  auto d = std::make_unique<TRPDrawLineInfo>();
  d->ItemNo = itemNo;
  d->Offs = pos + 1;
  d->Length = take;
  d->Width = take > 0 ? MeasureDisplayWidth(pos, take, c) : 0;
  d->Height = c.TextHeight;
  const int32_t leading = HasFlag(rpdfUseExternalLeading) ? c.ExternalLeading : 0;
  const int32_t above = c.TextAscent + leading + c.VerticalShift;
  if (!c.LineHasItems()) {
    d->FromNewLine = 255;
    c.X = 0;
    c.Y += c.LineExtra;
    c.LineExtra = 0;
    d->Top = c.Y + c.Below;
    c.Ascent = above;
    c.Y += c.Ascent + c.Below;
    c.Below = c.TextDescent - c.VerticalShift;
  } else {
    RaiseLine(above, c);
    d->Top = c.Y - above;
    c.Below = std::max(c.Below, c.TextDescent - c.VerticalShift);
  }
  d->Left = c.LineLeft + c.X;
  c.X += d->Width;
  c.CharsOnLine += take;
  c.SpaceSkipped = false;
  const int32_t drawNo = c.DrawCount;
  const TRPDrawLineInfo& placed = *d;
  InsertDrawItem(std::move(d), c);
  if (firstPiece && c.PendingTab >= 0) ResolveTab(c);
  if (HasFlag(rpdfUseJumps) && c.Style->TextStyles()[GetItemStyle(itemNo)]->Jump)
    AddJump(itemNo, placed, drawNo, static_cast<int16_t>(c.Style->TextStyles()[GetItemStyle(itemNo)]->JumpCursor), c);
}
