// The document's share of the native format: its entry points, which go through the
// installed format (RPFDocumentFormat.h), and what the reader asks of it.
#include "platform/base/Exception.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPException.h"

namespace {

IRPFDocumentFormat*& InstalledFormat() {
  static IRPFDocumentFormat* format = nullptr;
  return format;
}

IRPFDocumentFormat& RequiredFormat() {
  IRPFDocumentFormat* format = InstalledFormat();
  if (!format) throw ERichPaneError(errRPNoNativeFormat);
  return *format;
}

}  // namespace

IRPFDocumentFormat* GetRPFDocumentFormat() { return InstalledFormat(); }

void SetRPFDocumentFormat(IRPFDocumentFormat* format) { InstalledFormat() = format; }

bool TCustomRPData::SaveRPFToStream(TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
                                    const TRPBackground* background, TColor color) {
  IRPFDocumentFormat* format = GetRPFDocumentFormat();
  return format && format->Save(*this, stream, mode, layout, background, color);
}

bool TCustomRPData::ReadRPFFromStream(TStream& stream, int32_t& index, const TRPFReadRequest& request, TColor& color) {
  IRPFDocumentFormat* format = GetRPFDocumentFormat();
  return format && format->Read(*this, stream, index, request, color);
}

bool TCustomRPData::InsertRPFFromStream(TStream& stream, int32_t index, bool load, TRPBackground* background,
                                        TColor& color, TRPLayoutInfo* layout) {
  TRPFReadRequest request;
  request.Load = load;
  request.Background = background;
  request.Layout = layout;
  return ReadRPFFromStream(stream, index, request, color);
}

bool TCustomRPData::LoadRPFFromStream(TStream& stream, TRPBackground* background, TColor& color,
                                      TRPLayoutInfo* layout) {
  TRPFReadRequest request;
  request.Load = true;
  request.ClearFirst = true;
  request.Background = background;
  request.Layout = layout;
  int32_t index = 0;
  return ReadRPFFromStream(stream, index, request, color);
}

void TCustomRPData::WriteRPFDataProperty(TStream& stream) { RequiredFormat().WriteDataProperty(*this, stream); }

void TCustomRPData::ReadRPFDataProperty(TStream& stream) { RequiredFormat().ReadDataProperty(*this, stream); }

TRPFFirstItemFate TCustomRPData::InsertFirstRPFItem(int32_t& index, AnsiString text,
                                                    std::unique_ptr<TCustomRPItemInfo> item) {
  InsertItem(index, std::move(text), std::move(item));
  LinkItemCheckpoint(index);
  ++index;
  return rpffInserted;
}

void TCustomRPData::LinkItemCheckpoint(int32_t i) {
  TCustomRPItemInfo& item = *GetItem(i);
  if (!item.Checkpoint) return;
  item.Checkpoint->ItemInfo = &item;
  LinkCheckpointInOrder(*item.Checkpoint, i);
  ++FCPCount;
}

std::unique_ptr<TRPCPInfo> TCustomRPData::TakePendingCheckpoint() {
  if (FNotAddedCP) --FCPCount;
  return std::move(FNotAddedCP);
}

void TCustomRPData::SetPendingCheckpoint(std::unique_ptr<TRPCPInfo> checkpoint) {
  if (FNotAddedCP || !checkpoint) return;
  checkpoint->ItemInfo = nullptr;
  checkpoint->Next = checkpoint->Prev = nullptr;
  FNotAddedCP = std::move(checkpoint);
  ++FCPCount;
}

std::unique_ptr<TComponent> TCustomRPData::RPFControlNeeded(const AnsiString& className, const AnsiString& name,
                                                            const TRPTag& tag) {
  TCustomRPData* root = GetAbsoluteRootData();
  return root == this ? nullptr : root->RPFControlNeeded(className, name, tag);
}

TStrings* TCustomRPData::GetDocProperties() {
  TCustomRPData* root = GetRootData();
  if (root != this) return root->GetDocProperties();
  if (!FDocProperties) FDocProperties = std::make_unique<TStringList>();
  return FDocProperties.get();
}

bool TCustomRPData::GetRPFStylesSaving() const {
  const TCustomRPData* root = const_cast<TCustomRPData*>(this)->GetRootData();
  return root == this ? FRPFStylesSaving : root->GetRPFStylesSaving();
}

void TCustomRPData::SetRPFStylesSaving(bool value) {
  TCustomRPData* root = GetRootData();
  if (root == this)
    FRPFStylesSaving = value;
  else
    root->SetRPFStylesSaving(value);
}
