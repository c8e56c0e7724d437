#include "richtext/table/RPTableBackground.h"

void TRPBackgroundHolder::SetImage(const TGraphic* graphic) {
  if (graphic == GetImage()) return;
  if (!FBackground && graphic && !graphic->Empty()) FBackground = std::make_unique<TRPBackground>(false);
  if (FBackground) {
    if (graphic)
      FBackground->SetImageCopy(*graphic, rppaDoNothing, nullptr);
    else
      FBackground->FreeImage();
  }
  FreeEmpty();
}

std::unique_ptr<TGraphic> TRPBackgroundHolder::TakeImage() {
  if (!FBackground) return nullptr;
  std::unique_ptr<TGraphic> image = FBackground->TakeImage();
  FreeEmpty();
  return image;
}

void TRPBackgroundHolder::PutImage(std::unique_ptr<TGraphic> graphic) {
  if (!FBackground && graphic && !graphic->Empty()) FBackground = std::make_unique<TRPBackground>(false);
  if (FBackground) {
    if (graphic)
      FBackground->SetImage(std::move(graphic), rppaDoNothing, nullptr);
    else
      FBackground->FreeImage();
  }
  FreeEmpty();
}

void TRPBackgroundHolder::SetStyle(TRPItemBackgroundStyle style) {
  if (style == GetStyle()) return;
  if (!FBackground && style != rpbsColor) FBackground = std::make_unique<TRPBackground>(false);
  if (FBackground) FBackground->SetItemBackgroundStyle(style);
  FreeEmpty();
}

void TRPBackgroundHolder::FreeEmpty() {
  if (FBackground && FBackground->IsEmpty()) FBackground.reset();
}
