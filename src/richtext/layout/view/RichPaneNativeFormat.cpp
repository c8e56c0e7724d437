// The rich view control's entries to the native format: its layout as a layout object,
// and saving, loading and inserting with its layout, background and colour.
#include "richtext/layout/view/RichPane.h"

std::unique_ptr<TRPLayoutInfo> TCustomRichPane::CreateLayoutInfo() const {
  auto layout = std::make_unique<TRPLayoutInfo>();
  layout->LeftMargin = LeftMargin;
  layout->RightMargin = RightMargin;
  layout->TopMargin = TopMargin;
  layout->BottomMargin = BottomMargin;
  layout->MinTextWidth = MinTextWidth;
  layout->MaxTextWidth = MaxTextWidth;
  layout->BiDiMode = BiDiMode();
  return layout;
}

void TCustomRichPane::ApplyLayoutInfo(const TRPLayoutInfo& layout) {
  LeftMargin = layout.LeftMargin;
  RightMargin = layout.RightMargin;
  TopMargin = layout.TopMargin;
  BottomMargin = layout.BottomMargin;
  MinTextWidth = layout.MinTextWidth;
  MaxTextWidth = layout.MaxTextWidth;
  if (layout.BiDiMode != BiDiMode()) SetBiDiMode(layout.BiDiMode);
}

bool TCustomRichPane::SaveRPFToStream(TStream& stream, TRPFSaveMode mode) {
  const std::unique_ptr<TRPLayoutInfo> layout = CreateLayoutInfo();
  return FData->SaveRPFToStream(stream, mode, layout.get(), FBackground.get(), Color);
}

bool TCustomRichPane::LoadRPFFromStream(TStream& stream) {
  TRPLayoutInfo layout;
  TColor color = Color;
  if (!FData->LoadRPFFromStream(stream, FBackground.get(), color, &layout)) return false;
  Color = color;
  if (layout.Loaded) ApplyLayoutInfo(layout);
  SetBackgroundStyle(FBackground->Style);
  return true;
}

bool TCustomRichPane::InsertRPFFromStream(TStream& stream, int32_t index) {
  TColor color = Color;
  return FData->InsertRPFFromStream(stream, index, false, nullptr, color, nullptr);
}
