#include "richtext/layout/view/RPPopup.h"

TRPShortCut RPShortCutOf(uint16_t key, TShiftState shift) {
  TRPShortCut shortCut = key & 0xFF;
  if (shift & ssShift) shortCut |= rpscShift;
  if (shift & ssCtrl) shortCut |= rpscCtrl;
  if (shift & ssAlt) shortCut |= rpscAlt;
  return shortCut;
}

TRPSmartPopupProperties::TRPSmartPopupProperties(TCustomRichPane* richPane) : FRichPane(richPane) {}

void TRPSmartPopupProperties::RepaintButton() {
  if (FButton) FButton->Repaint();
}

void TRPSmartPopupProperties::SetImageIndex(int32_t value) {
  FImageIndex = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetImageList(TCustomImageList* value) {
  FImageList = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetColor(TColor value) {
  FColor = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetHoverColor(TColor value) {
  FHoverColor = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetLineColor(TColor value) {
  FLineColor = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetHoverLineColor(TColor value) {
  FHoverLineColor = value;
  RepaintButton();
}

void TRPSmartPopupProperties::SetHint(const AnsiString& value) {
  FHint = value;
  if (FButton) FButton->SetHint(value);
}

int32_t TRPSmartPopupProperties::ButtonWidth() const {
  constexpr int32_t BorderPx = 2, PlainImagePx = 8, ArrowPx = 8;
  const int32_t image = FImageList ? FImageList->Width() : PlainImagePx;
  return image + 2 * BorderPx + (FButtonType == rpsptSimple ? 0 : ArrowPx);
}

int32_t TRPSmartPopupProperties::ButtonHeight() const {
  constexpr int32_t BorderPx = 2, PlainImagePx = 8;
  return (FImageList ? FImageList->Height() : PlainImagePx) + 2 * BorderPx;
}

void TRPSmartPopupProperties::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TRPSmartPopupProperties*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  FImageIndex = other->FImageIndex;
  FImageList = other->FImageList;
  FColor = other->FColor;
  FHoverColor = other->FHoverColor;
  FLineColor = other->FLineColor;
  FHoverLineColor = other->FHoverLineColor;
  FMenu = other->FMenu;
  FShortCut = other->FShortCut;
  FButtonType = other->FButtonType;
  SetHint(other->FHint);
  RepaintButton();
}

namespace {

// An ordinal property of the settings read and written through a pair of members.
template <typename V>
TPropInfo Ordinal(AnsiString name, V (TRPSmartPopupProperties::*getter)() const,
                  void (TRPSmartPopupProperties::*setter)(V), int64_t def) {
  TPropInfo info{std::move(name), tkInteger, {}, {}, def, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue {
    return static_cast<int64_t>((static_cast<const TRPSmartPopupProperties&>(o).*getter)());
  };
  info.Set = [setter](TPersistent& o, const TPropValue& v) {
    (static_cast<TRPSmartPopupProperties&>(o).*setter)(static_cast<V>(std::get<int64_t>(v)));
  };
  return info;
}

}  // namespace

const TClassProps& TRPSmartPopupProperties::Props() {
  static const TClassProps props("TRPSmartPopupProperties", nullptr, [] {
    TPropInfo hint = Published::AnsiText<TRPSmartPopupProperties>("Hint", &TRPSmartPopupProperties::Hint,
                                                                  &TRPSmartPopupProperties::SetHint);
    hint.Stored = [](const TPersistent& o) { return !static_cast<const TRPSmartPopupProperties&>(o).Hint().empty(); };
    return std::vector<TPropInfo>{
        Ordinal<int32_t>("ImageIndex", &TRPSmartPopupProperties::ImageIndex, &TRPSmartPopupProperties::SetImageIndex,
                         0),
        Ordinal<TColor>("Color", &TRPSmartPopupProperties::Color, &TRPSmartPopupProperties::SetColor, clWindow),
        Ordinal<TColor>("HoverColor", &TRPSmartPopupProperties::HoverColor, &TRPSmartPopupProperties::SetHoverColor,
                        clInfoBk),
        Ordinal<TColor>("LineColor", &TRPSmartPopupProperties::LineColor, &TRPSmartPopupProperties::SetLineColor,
                        clHighlight),
        Ordinal<TColor>("HoverLineColor", &TRPSmartPopupProperties::HoverLineColor,
                        &TRPSmartPopupProperties::SetHoverLineColor, clInfoText),
        std::move(hint),
        Ordinal<TRPShortCut>("ShortCut", &TRPSmartPopupProperties::ShortCut, &TRPSmartPopupProperties::SetShortCut,
                             rpscCtrl | rpscShift | VK_DOWN),
        Ordinal<TRPSmartPopupType>("ButtonType", &TRPSmartPopupProperties::ButtonType,
                                   &TRPSmartPopupProperties::SetButtonType, rpsptDropDown),
    };
  }());
  return props;
}
