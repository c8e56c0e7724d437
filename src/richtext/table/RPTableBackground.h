// The background picture of a table or a cell, held only while it is not empty.
#pragma once

#include <memory>

#include "richtext/layout/RPBackground.h"

class TRPBackgroundHolder {
public:
  TRPBackground* Get() const { return FBackground.get(); }
  TGraphic* GetImage() const { return FBackground ? FBackground->GetImage() : nullptr; }
  // A copy of graphic (nullptr removes the picture); nothing when it is the picture.
  void SetImage(const TGraphic* graphic);
  // The picture handed out, nullptr without one / taken over (nullptr removes it).
  std::unique_ptr<TGraphic> TakeImage();
  void PutImage(std::unique_ptr<TGraphic> graphic);
  TRPItemBackgroundStyle GetStyle() const { return FBackground ? FBackground->GetItemBackgroundStyle() : rpbsColor; }
  void SetStyle(TRPItemBackgroundStyle style);

private:
  void FreeEmpty();
  std::unique_ptr<TRPBackground> FBackground;
};
