#include "richtext/model/RPUnicodeCanvas.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsUnicodeText(TRPItemOptions options) { return (options & rpioUnicode) != 0; }

// The canvas's extent of each zero-width character, measured once per call when met.
class TZeroWidthCache {
public:
  explicit TZeroWidthCache(HDC dc) : FDC(dc) {}
  int32_t WidthOf(WideChar ch) {
    for (size_t i = 0; i < std::size(ZeroWidthChars); ++i) {
      if (ZeroWidthChars[i] != ch) continue;
      if (FWidths[i] < 0) {
        TSize size{};
        GetTextExtentPointW(FDC, &ch, 1, &size);
        FWidths[i] = size.cx;
      }
      return FWidths[i];
    }
    return 0;
  }

private:
  HDC FDC;
  std::array<int32_t, std::size(ZeroWidthChars)> FWidths{-1, -1, -1};
};

bool HasZeroWidthChar(const WideChar* text, int32_t count) {
  for (WideChar ch : ZeroWidthChars)
    if (FindWideChar(text, ch, count)) return true;
  return false;
}

// The characters of a text in visual order, as character placement gives them.
struct TPlacement {
  std::vector<uint32_t> VisualOf;  // per logical character
  std::vector<int32_t> LogicalAt;  // per visual position, -1 where no character stands
  std::vector<int32_t> Advances;   // per visual position
  std::vector<char> Classes;       // per logical character
  WideString Units;                // the text's UTF-16 units (for UTF-16 text)
};

// One placement run into the arrays of `placement`; Results is the UTF-16 or the 8-bit
// record, Char its character type.
template <typename Results, typename Char>
uint32_t PlaceOnce(HDC dc, const Char* text, size_t n, TPlacement& placement, uint32_t flags, bool wantClasses) {
  placement.VisualOf.assign(n, 0);
  placement.Advances.assign(n, 0);
  placement.LogicalAt.assign(n, -1);
  placement.Classes.assign(wantClasses ? n : 0, 0);
  Results results;
  results.lpOrder = placement.VisualOf.data();
  results.lpDx = placement.Advances.data();
  results.lpClass = wantClasses ? placement.Classes.data() : nullptr;
  results.nGlyphs = static_cast<uint32_t>(n);
  if constexpr (std::is_same_v<Char, WideChar>)
    return GetCharacterPlacementW(dc, text, static_cast<int32_t>(n), 0, &results, flags);
  else
    return GetCharacterPlacementA(dc, text, static_cast<int32_t>(n), 0, &results, flags);
}

uint32_t PlaceOnce(HDC dc, AnsiStringView text, bool unicode, TPlacement& placement, uint32_t flags, bool wantClasses) {
  return unicode ? PlaceOnce<GCP_RESULTSW>(dc, placement.Units.data(), placement.Units.size(), placement, flags,
                                           wantClasses)
                 : PlaceOnce<GCP_RESULTSA>(dc, text.data(), text.size(), placement, flags, wantClasses);
}

// Places the text; false when the placement's width is not expectedWidth within 1 or its
// height is below 1.
bool PlaceText(HDC dc, AnsiStringView text, TRPItemOptions options, int32_t expectedWidth, bool wantClasses,
               TPlacement& placement) {
  constexpr uint32_t Reorder = GCP_REORDER | GCP_GLYPHSHAPE | GCP_DIACRITIC;
  const bool unicode = IsUnicodeText(options);
  if (unicode) placement.Units = RawUnicodeToWide(text);
  uint32_t size = 0;
  if (unicode || (GetFontLanguageInfo(dc) & GCP_LIGATE)) {
    size = PlaceOnce(dc, text, unicode, placement, Reorder | GCP_LIGATE, wantClasses);
    const uint32_t second = PlaceOnce(dc, text, unicode, placement, Reorder, wantClasses);
    if (size == 0) size = second;
  } else {
    size = PlaceOnce(dc, text, unicode, placement, Reorder, wantClasses);
  }
  const int32_t width = static_cast<int32_t>(size & 0xFFFF);
  const int32_t height = static_cast<int32_t>(size >> 16);
  if (std::abs(width - expectedWidth) > 1 || height < 1) return false;
  for (size_t logical = 0; logical < placement.VisualOf.size(); ++logical) {
    const uint32_t visual = placement.VisualOf[logical];
    if (visual < placement.LogicalAt.size()) placement.LogicalAt[visual] = static_cast<int32_t>(logical);
  }
  return true;
}

}  // namespace

// --- Measuring -----------------------------------------------------------------------

TSize MeasureWideText(TCanvas* canvas, const WideChar* text, int32_t count) {
  HDC dc = canvas->Handle();
  TSize size{};
  GetTextExtentPoint32W(dc, text, count, &size);
  TZeroWidthCache zeroWidths(dc);
  for (int32_t i = 0; i < count; ++i)
    if (IsZeroWidthChar(text[i])) size.cx -= zeroWidths.WidthOf(text[i]);
  return size;
}

int32_t GetItemTextWidth(AnsiStringView text, TCanvas* canvas, TRPItemOptions options) {
  return GetItemTextSize(text, canvas, options).cx;
}

TSize GetItemTextSize(AnsiStringView text, TCanvas* canvas, TRPItemOptions options) {
  if (IsUnicodeText(options)) {
    const WideString units = RawUnicodeToWide(text);
    return MeasureWideText(canvas, units.data(), static_cast<int32_t>(units.size()));
  }
  TSize size{};
  GetTextExtentPoint32A(canvas->Handle(), text.data(), static_cast<int32_t>(text.size()), &size);
  return size;
}

void GetItemTextFaceExtent(AnsiStringView text, TCanvas* canvas, TRPItemOptions options, int32_t& ascent,
                           int32_t& descent) {
  if (IsUnicodeText(options)) {
    const WideString units = RawUnicodeToWide(text);
    GetTextFaceExtentW(canvas->Handle(), units.data(), static_cast<int32_t>(units.size()), &ascent, &descent);
  } else {
    GetTextFaceExtentA(canvas->Handle(), text.data(), static_cast<int32_t>(text.size()), &ascent, &descent);
  }
}

bool RemoveZeroWidthExtents(const WideChar* text, int32_t count, int32_t* extents, int32_t& fit, int32_t maxExtent) {
  bool removed = false;
  for (int32_t i = 0; i < count; ++i) {
    if (!IsZeroWidthChar(text[i])) continue;
    const int32_t step = i == 0 ? extents[0] : extents[i] - extents[i - 1];
    if (step == 0) continue;
    for (int32_t j = i; j < count; ++j) extents[j] -= step;
    removed = true;
  }
  if (removed)
    while (fit < count && extents[fit] < maxExtent) ++fit;
  return removed;
}

void MeasureTextFit(TCanvas* canvas, AnsiStringView text, int32_t count, TSize& size, TRPItemOptions options,
                    int32_t* extents, int32_t& fit, int32_t maxExtent) {
  fit = 0;
  if (count == 0) return;
  HDC dc = canvas->Handle();
  if (!IsUnicodeText(options)) {
    GetTextExtentExPointA(dc, text.data(), count, maxExtent, &fit, extents, &size);
    return;
  }
  const WideString units = RawUnicodeToWide(text);
  MeasureWideTextFit(canvas, units.data(), std::min(count, static_cast<int32_t>(units.size())), size, extents, fit,
                     maxExtent);
}

void MeasureWideTextFit(TCanvas* canvas, const WideChar* units, int32_t count, TSize& size, int32_t* extents,
                        int32_t& fit, int32_t maxExtent) {
  std::vector<int32_t> ownExtents;
  if (!extents && HasZeroWidthChar(units, count)) {
    ownExtents.assign(static_cast<size_t>(count) + 1, 0);
    extents = ownExtents.data();
  }
  GetTextExtentExPointW(canvas->Handle(), units, count, maxExtent, &fit, extents, &size);
  if (extents) RemoveZeroWidthExtents(units, count, extents, fit, maxExtent);
}

void MeasureTailFit(const TTextTails& tails, const WideChar* text, size_t from, int32_t maxExtent,
                    std::vector<int32_t>& extents, int32_t& fit) {
  // A window on the tail's front, doubled until the fit lies inside it: the extents in
  // it are the whole tail's, and so is a fit short of its end.
  constexpr size_t FirstWindowUnits = 64;
  const size_t length = tails.Length() - from;
  for (size_t count = std::min(length, FirstWindowUnits);; count = std::min(length, 2 * count)) {
    extents.assign(count, 0);
    const auto units = static_cast<int32_t>(count);
    tails.TailExtents(from, count, maxExtent, extents.data(), fit);
    RemoveZeroWidthExtents(text + from, units, extents.data(), fit, maxExtent);
    if (fit < units || count == length) return;
  }
}

void MeasureItemTextFit(TCanvas* canvas, AnsiStringView text, int32_t maxExtent, TRPItemOptions options,
                        int32_t* extents, int32_t& fit) {
  TSize size{};
  MeasureTextFit(canvas, text, GetItemTextLength(text, options), size, options, extents, fit, maxExtent);
}

// --- Character placement -------------------------------------------------------------

bool GetCaretPositionsBiDi(TCanvas* canvas, AnsiStringView text, int32_t* positions, int32_t expectedWidth,
                           TRPItemOptions options) {
  const int32_t n = GetItemTextLength(text, options);
  std::fill(positions, positions + n + 1, -1);
  TPlacement placement;
  if (!PlaceText(canvas->Handle(), text, options, expectedWidth, true, placement)) return false;
  const bool unicode = IsUnicodeText(options);
  bool gaps = false;
  int32_t x = 0;
  for (int32_t visual = 0; visual < n; ++visual) {
    const int32_t logical = placement.LogicalAt[static_cast<size_t>(visual)];
    if (logical < 0) {
      gaps = true;
      continue;
    }
    int32_t advance = placement.Advances[static_cast<size_t>(visual)];
    // The unit at the visual index decides, as the placement reports it for
    // left-to-right text.
    if (unicode && IsZeroWidthChar(placement.Units[static_cast<size_t>(visual)])) advance = 0;
    if (placement.Classes[static_cast<size_t>(logical)] == GCPCLASS_HEBREW) {
      positions[logical + 1] = x;
      if (logical == 0) positions[0] = x + advance;
    } else {
      positions[logical + 1] = x + advance + 1;
      if (logical == 0) positions[0] = x;
    }
    x += advance;
  }
  if (gaps)
    for (int32_t i = 0; i <= n; ++i)
      if (positions[i] == -1) positions[i] = i == 0 ? 0 : positions[i - 1];
  return true;
}

bool GetCharRangeXBiDi(TCanvas* canvas, AnsiStringView text, int32_t first, int32_t count, TRPItemOptions options,
                       int32_t expectedWidth, int32_t& left, int32_t& right) {
  const int32_t n = GetItemTextLength(text, options);
  if (first < 1 || count < 0 || first + count - 1 > n) return false;
  std::vector<int32_t> positions(static_cast<size_t>(n) + 1);
  if (!GetCaretPositionsBiDi(canvas, text, positions.data(), expectedWidth, options)) return false;
  left = positions[static_cast<size_t>(first - 1)];
  right = positions[static_cast<size_t>(first + count - 1)];
  if (left > right) std::swap(left, right);
  return true;
}

bool DrawTextRangeBiDi(int32_t x, int32_t y, int32_t expectedWidth, TRPItemOptions options, int32_t last, int32_t first,
                       TCanvas* canvas, AnsiStringView text, int32_t height) {
  const int32_t n = GetItemTextLength(text, options);
  first = std::max(first, 1);
  last = std::min(last, n);
  HDC dc = canvas->Handle();
  TPlacement placement;
  if (!PlaceText(dc, text, options, expectedWidth, false, placement)) return false;
  // Logical characters (0-based) still to draw.
  std::vector<uint8_t> pending(static_cast<size_t>(n), 0);
  for (int32_t i = first - 1; i < last; ++i) pending[static_cast<size_t>(i)] = 1;
  const auto visualOf = [&](int32_t logical) {
    return static_cast<int32_t>(placement.VisualOf[static_cast<size_t>(logical)]);
  };
  const auto isPending = [&](int32_t logical) {
    return logical >= 0 && logical < n && pending[static_cast<size_t>(logical)];
  };
  for (;;) {
    int32_t start = -1;
    for (int32_t visual = 0; visual < n && start < 0; ++visual) {
      const int32_t logical = placement.LogicalAt[static_cast<size_t>(visual)];
      if (isPending(logical)) start = logical;
    }
    if (start < 0) break;
    // The run: neighbouring logical characters whose visual positions follow on.
    int32_t lo = start, hi = start;
    while (isPending(hi + 1) && std::abs(visualOf(hi + 1) - visualOf(hi)) == 1) ++hi;
    while (isPending(lo - 1) && std::abs(visualOf(lo - 1) - visualOf(lo)) == 1) --lo;
    int32_t firstVisual = n, lastVisual = -1;
    for (int32_t logical = lo; logical <= hi; ++logical) {
      pending[static_cast<size_t>(logical)] = 0;
      firstVisual = std::min(firstVisual, visualOf(logical));
      lastVisual = std::max(lastVisual, visualOf(logical));
    }
    int32_t offset = 0, runWidth = 0;
    for (int32_t visual = 0; visual <= lastVisual; ++visual)
      (visual < firstVisual ? offset : runWidth) += placement.Advances[static_cast<size_t>(visual)];
    const TRect clip{x + offset, y, x + offset + runWidth, y + height};
    if (IsUnicodeText(options))
      ExtTextOutW(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &clip, placement.Units.data(),
                  static_cast<uint32_t>(placement.Units.size()), nullptr);
    else
      ExtTextOutA(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &clip, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  }
  return true;
}

bool TryDrawTextRangeBiDi(int32_t x, int32_t y, int32_t expectedWidth, TRPItemOptions options, int32_t last,
                          int32_t first, TCanvas* canvas, AnsiStringView text, int32_t height, bool needsBiDi) {
  return needsBiDi && DrawTextRangeBiDi(x, y, expectedWidth, options, last, first, canvas, text, height);
}
