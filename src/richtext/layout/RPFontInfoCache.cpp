#include "richtext/layout/RPFontInfoCache.h"

#include "platform/base/Numbers.h"
#include "richtext/model/RPStyle.h"

TRPFontInfoCache::TRPFontInfoCache(TCanvas& canvas, TRPStyle& rpStyle, bool useCollectionPpi,
                                   const TRPResolution& resolution)
    : FCanvas(canvas), FStyle(rpStyle), FUseCollectionPpi(useCollectionPpi), FResolution(resolution) {
  // One slot per style, and one for the fallback style that any index outside answers.
  FItems.resize(static_cast<size_t>(rpStyle.TextStyles().Count()) + 1);
}

const TRPFontInfoCacheItem& TRPFontInfoCache::Select(int32_t styleNo, TRPBiDiMode biDiMode) {
  const size_t fallback = FItems.size() - 1;
  const size_t slot = styleNo >= 0 && static_cast<size_t>(styleNo) < fallback ? static_cast<size_t>(styleNo) : fallback;
  if (FLastStyleNo != styleNo || FLastBiDiMode != biDiMode) {
    FStyle.ApplyStyle(FCanvas, styleNo, biDiMode, FUseCollectionPpi);
    const TFontInfo& font = *FStyle.TextStyles()[styleNo];
    if (font.CharSpacing != 0 &&
        (FResolution.ScreenPpiX != FResolution.DevicePpiX || FResolution.ScreenPpiY != FResolution.DevicePpiY))
      SetTextCharacterExtra(FCanvas.Handle(), ScreenToDeviceX(font.CharSpacing, FResolution));
    FLastStyleNo = styleNo;
    FLastBiDiMode = biDiMode;
  }
  std::optional<TRPFontInfoCacheItem>& item = FItems[slot];
  if (!item) {
    TRPFontInfoCacheItem fresh;
    HDC dc = FCanvas.Handle();
    GetTextMetricsW(dc, &fresh.Metrics);
    fresh.VerticalShift = MulDiv(fresh.Metrics.tmHeight, FStyle.TextStyles()[styleNo]->VShift, 100);
    TSize size{};
    GetTextExtentPoint32A(dc, "-", 1, &size);
    fresh.HyphenWidth = size.cx;
    item = fresh;
  }
  return *item;
}
