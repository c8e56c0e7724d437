#include "platform/graphics/Graphic.h"

#include <algorithm>
#include <vector>

#include "platform/base/TextUtils.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace {

std::vector<TGraphicClass>& Registry() {
  static std::vector<TGraphicClass> classes;
  return classes;
}

}  // namespace

TGraphic::~TGraphic() = default;

void TGraphic::Assign(const TGraphic* source) {
  if (source == nullptr)
    Clear();
  else
    Assign(static_cast<const TPersistent&>(*source));
}

void TGraphic::Draw(TCanvas& canvas, const TRect& rect) const {
  TBitmap converted;
  converted.Assign(this);
  canvas.StretchDraw(rect, &converted);
}

void TGraphic::SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(this);
  format = CF_BITMAP;
  data = std::move(bitmap);
  palette = {};
}

void TGraphic::LoadFromClipboardFormat(uint16_t, const TBitmap&, HPALETTE) {
  throw EInvalidGraphic(SUnknownClipboardFormat);
}

void RegisterGraphicClass(TGraphicClass graphicClass) {
  auto& classes = Registry();
  if (std::find(classes.begin(), classes.end(), graphicClass) == classes.end()) classes.push_back(graphicClass);
}

void UnRegisterGraphicClass(TGraphicClass graphicClass) { std::erase(Registry(), graphicClass); }

TGraphicClass FindGraphicClassOfExtension(AnsiStringView extension) {
  if (SameText(extension, TBitmap::ClassInfo.DefaultExtension)) return &TBitmap::ClassInfo;
  for (TGraphicClass graphicClass : Registry())
    if (*graphicClass->DefaultExtension != '\0' && SameText(graphicClass->DefaultExtension, extension))
      return graphicClass;
  return nullptr;
}

TGraphicClass FindGraphicClass(AnsiStringView className) {
  for (TGraphicClass graphicClass : Registry())
    if (SameText(graphicClass->ClassName, className)) return graphicClass;
  return nullptr;
}
