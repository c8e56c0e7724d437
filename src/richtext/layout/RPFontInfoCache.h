// The text metrics of each text style on the formatting canvas, measured once per pass.
// Selecting a style applies it to the canvas (only when another style was applied last)
// and answers its metrics; a slot is filled on first use.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyleSheetQueries.h"

class TRPStyle;

struct TRPFontInfoCacheItem {
  TEXTMETRICW Metrics;
  int32_t VerticalShift = 0;  // MulDiv(tmHeight, VShift, 100)
  int32_t HyphenWidth = 0;    // width of "-" in the font
};

class TRPFontInfoCache {
public:
  // useCollectionPpi is the document flag passed to TRPStyle::ApplyStyle; character
  // spacing is scaled to the device when the resolutions differ.
  TRPFontInfoCache(TCanvas& canvas, TRPStyle& rpStyle, bool useCollectionPpi, const TRPResolution& resolution);

  TCanvas& Canvas() const { return FCanvas; }
  const TRPStyle& Style() const { return FStyle; }
  bool UsesCollectionPpi() const { return FUseCollectionPpi; }
  // Applies text style styleNo unless it was the last applied; its metrics.
  const TRPFontInfoCacheItem& Select(int32_t styleNo, TRPBiDiMode biDiMode);
  // Forgets which style the canvas holds (someone else changed its font).
  void Forget() { FLastStyleNo = -1; }

private:
  TCanvas& FCanvas;
  TRPStyle& FStyle;
  bool FUseCollectionPpi;
  TRPResolution FResolution;
  std::vector<std::optional<TRPFontInfoCacheItem>> FItems;
  int32_t FLastStyleNo = -1;
  TRPBiDiMode FLastBiDiMode = rpbdUnspecified;
};
