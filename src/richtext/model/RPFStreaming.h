// The native format's side of a document, as its items see it while they are written or
// read (IRPFStreaming, RPItemStreaming.h): the document's RPF options and warnings (kept
// by its root), its style names and tag kind in the header fields, the picture helpers
// (RPFStreamHelpers.h), the pictures and image lists the document's host supplies while
// reading, and the style sheet's invalid picture.
#pragma once

#include "richtext/model/RPItemStreaming.h"

class TCustomRPData;

class TRPFStreaming : public IRPFStreaming {
public:
  // Bound to the document the items are written from or read into.
  explicit TRPFStreaming(TCustomRPData& rpData) : FRPData(rpData) {}

  TCustomRPData& RPData() const { return FRPData; }

  uint32_t Options() const override;
  void AddWarning(uint32_t warning) override;
  AnsiString ParaNoText(int32_t paraNo, bool forceMinusOne) const override;
  AnsiString TextStyleNoText(int32_t styleNo) const override;
  AnsiString TagText(const TRPTag& tag) const override;
  AnsiString PictureToHex(const TGraphic& graphic) const override;
  void SavePictureBinary(TStream& stream, const TGraphic& graphic) const override;
  bool LoadPictureFromHex(const AnsiString& hex, TGraphic& graphic) const override;
  void LoadPictureFromBinary(const AnsiString& bytes, TGraphic& graphic) const override;
  // The document's RPFPictureNeeded and RPFImageListNeeded (its host's answers).
  std::unique_ptr<TGraphic> RequestPicture(const AnsiString& name, const TRPTag& tag) override;
  TCustomImageList* FindImageList(int32_t tag) override;
  // The style sheet's InvalidPicture; none without a style sheet.
  const TGraphic* InvalidPicture() const override;
  // The document; its RPFControlNeeded and GetParentControl.
  TCustomRPData* Document() const override { return &FRPData; }
  std::unique_ptr<IRPItemControl> RequestControl(const AnsiString& name, const TRPTag& tag) override;
  IRPControlParent* ControlParent() const override;

private:
  TCustomRPData& FRPData;
};
