// Sub-documents: identity from the list that holds them.
#include "richtext/layout/view/RPItemFormattedData.h"

#include "richtext/model/RPException.h"

TRPItemFormattedData* TRPDataList::Data(int32_t index) const {
  return static_cast<TRPItemFormattedData*>(Items(index));
}

TRPDocumentFlags TRPItemFormattedData::GetDocumentFlags() const { return FOwner ? FOwner->Flags : 0; }

void TRPItemFormattedData::SetDocumentFlags(TRPDocumentFlags) {
  throw ERichPaneError("This method is not supported for TRPItemFormattedData");
}

TCustomRPData* TRPItemFormattedData::GetParentData() const { return FOwner ? FOwner->GetParentRPData() : nullptr; }

TCustomRPData* TRPItemFormattedData::GetAbsoluteParentData() const { return GetParentData(); }

TCustomRPData* TRPItemFormattedData::GetRootData() {
  TCustomRPData* parent = GetParentData();
  return parent ? parent->GetRootData() : this;
}

TCustomRPData* TRPItemFormattedData::GetAbsoluteRootData() {
  TCustomRPData* parent = GetAbsoluteParentData();
  return parent ? parent->GetAbsoluteRootData() : this;
}

TCustomRPFormattedData* TRPItemFormattedData::ParentFormatted() const {
  return dynamic_cast<TCustomRPFormattedData*>(GetParentData());
}

TRPStyle* TRPItemFormattedData::GetStyleSheet() const {
  const TCustomRPFormattedData* parent = ParentFormatted();
  return parent ? parent->GetStyleSheet() : nullptr;
}

TCanvas* TRPItemFormattedData::GetCanvas() {
  TCustomRPFormattedData* parent = ParentFormatted();
  return parent ? parent->GetCanvas() : nullptr;
}

TRPResolution TRPItemFormattedData::GetResolutions(TCanvas& canvas) const {
  const TCustomRPFormattedData* parent = ParentFormatted();
  return parent ? parent->GetResolutions(canvas) : TCustomRPFormattedData::GetResolutions(canvas);
}

void TRPItemFormattedData::ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) {
  auto* root = dynamic_cast<TCustomRPFormattedData*>(GetRootData());
  if (!root || root == this) return;
  const TPoint origin = GetOrigin();
  root->ShowRectangle(x + origin.X, y + origin.Y, width, height);
}
