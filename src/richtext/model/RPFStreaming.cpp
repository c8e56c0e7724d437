#include "richtext/model/RPFStreaming.h"

#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"

uint32_t TRPFStreaming::Options() const { return FRPData.GetRPFOptions(); }

void TRPFStreaming::AddWarning(uint32_t warning) { FRPData.SetRPFWarnings(FRPData.GetRPFWarnings() | warning); }

AnsiString TRPFStreaming::ParaNoText(int32_t paraNo, bool forceMinusOne) const {
  return RPFItemParaNoToText(paraNo, FRPData, forceMinusOne);
}

AnsiString TRPFStreaming::TextStyleNoText(int32_t styleNo) const {
  return RPFTextStyleNoToText(FRPData.GetRPStyle(), (Options() & rpfoUseStyleNames) != 0, styleNo);
}

AnsiString TRPFStreaming::TagText(const TRPTag& tag) const { return RPFTagToText(FRPData.TagsArePChars(), tag); }

AnsiString TRPFStreaming::PictureToHex(const TGraphic& graphic) const { return RPFSavePictureToHex(graphic); }

void TRPFStreaming::SavePictureBinary(TStream& stream, const TGraphic& graphic) const {
  RPFSavePictureBinary(stream, graphic);
}

bool TRPFStreaming::LoadPictureFromHex(const AnsiString& hex, TGraphic& graphic) const {
  return RPFLoadPictureFromHex(hex, graphic);
}

void TRPFStreaming::LoadPictureFromBinary(const AnsiString& bytes, TGraphic& graphic) const {
  RPFLoadPictureFromBinaryStr(bytes, graphic);
}

std::unique_ptr<TGraphic> TRPFStreaming::RequestPicture(const AnsiString& name, const TRPTag& tag) {
  return FRPData.RPFPictureNeeded(name, tag);
}

TCustomImageList* TRPFStreaming::FindImageList(int32_t tag) { return FRPData.RPFImageListNeeded(tag); }

const TGraphic* TRPFStreaming::InvalidPicture() const {
  const IRPStyleSheet* sheet = FRPData.GetRPStyle();
  return sheet ? sheet->GetInvalidPicture() : nullptr;
}

std::unique_ptr<IRPItemControl> TRPFStreaming::RequestControl(const AnsiString& name, const TRPTag& tag) {
  // A record without a body names no class.
  return MakeRPItemControl(FRPData.RPFControlNeeded(AnsiString(), name, tag));
}

IRPControlParent* TRPFStreaming::ControlParent() const { return FRPData.GetParentControl(); }
