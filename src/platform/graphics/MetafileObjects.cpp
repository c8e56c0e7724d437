// The player's object table: pens, brushes, fonts, regions and palettes by slot, and the
// stock objects.
#include <algorithm>

#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileTarget.h"

void TMetafilePlayer::SetObjectTableSize(int64_t slots) {
  FObjects.assign(static_cast<size_t>(std::clamp<int64_t>(slots, 0, FLimits.MaxObjects)), TMfObject{});
}

void TMetafilePlayer::CreateObject(TMfObject object) {
  for (auto& slot : FObjects)
    if (std::holds_alternative<std::monostate>(slot)) {
      slot = std::move(object);
      return;
    }
  if (static_cast<int64_t>(FObjects.size()) >= FLimits.MaxObjects) {
    ++Skipped;
    return;
  }
  FObjects.push_back(std::move(object));
}

void TMetafilePlayer::CreateObjectAt(uint32_t index, TMfObject object) {
  if (index >= FObjects.size()) {
    ++Skipped;
    return;
  }
  FObjects[index] = std::move(object);
}

void TMetafilePlayer::DeleteObject(uint32_t index) {
  if (index < FObjects.size()) FObjects[index] = std::monostate{};
}

void TMetafilePlayer::SelectObject(uint32_t index) {
  if (index >= FObjects.size()) {
    ++Skipped;
    return;
  }
  const TMfObject& object = FObjects[index];
  if (const auto* pen = std::get_if<TMfPen>(&object))
    State.Pen = *pen;
  else if (const auto* brush = std::get_if<TMfBrush>(&object))
    State.Brush = *brush;
  else if (const auto* font = std::get_if<TMfFont>(&object))
    State.Font = *font;
  else if (const auto* region = std::get_if<TMfRegion>(&object)) {
    std::vector<TRect> rects;
    for (const TRect& r : region->Rects) {
      const TPointD a = ToTarget(r.Left, r.Top), b = ToTarget(r.Right, r.Bottom);
      rects.push_back(PixelBox(a.X, a.Y, b.X, b.Y));
    }
    SelectClipRegion(rects, RGN_COPY);
  }
}

void TMetafilePlayer::SelectStockObject(uint32_t stockIndex) {
  // The stock brushes from WHITE_BRUSH to BLACK_BRUSH, in steps of grey.
  static constexpr COLORREF brushColors[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
  if (stockIndex > static_cast<uint32_t>(DC_PEN)) return;
  switch (const auto index = static_cast<int32_t>(stockIndex)) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH:
      State.Brush = TMfBrush{BS_SOLID, brushColors[index], 0, nullptr};
      break;
    case NULL_BRUSH:
      State.Brush = TMfBrush{BS_NULL, 0, 0, nullptr};
      break;
    case WHITE_PEN:
    case BLACK_PEN:
      State.Pen = TMfPen{PS_SOLID, 0, index == WHITE_PEN ? 0xFFFFFFu : 0u};
      break;
    case NULL_PEN:
      State.Pen = TMfPen{PS_NULL, 0, 0};
      break;
    case DC_BRUSH:  // white until the device's colour is set, which no record does
      State.Brush = TMfBrush{BS_SOLID, 0xFFFFFF, 0, nullptr};
      break;
    case DC_PEN:
      State.Pen = TMfPen{PS_SOLID, 0, 0};
      break;
    default:
      if (index >= OEM_FIXED_FONT && index <= DEFAULT_GUI_FONT && index != DEFAULT_PALETTE) State.Font = TMfFont{};
      break;
  }
}
