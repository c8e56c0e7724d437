// A rich view control with a style sheet, for the tests of the control and its document.
#pragma once

#include <memory>

#include "richtext/layout/view/RPItemFormattedData.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

struct TTestRichPane {
  TTestRichPane() {
    RegisterTextItemClasses();
    RegisterPictureItemClasses();
    RegisterBulletItemClasses();
    Style.TextStyles()[0]->FontName = "Arial";
    Pane.SetStyle(&Style);
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
};

// A window host that records what it is asked.
class TRecordingHost : public IRPWindowHost {
public:
  int32_t VMax = -1, VPage = -1, VPos = -1;
  int32_t ScrolledX = 0, ScrolledY = 0;
  int32_t Invalidated = 0;
  bool HasFocus = false;

  void SetScrollBar(TRPScrollBarKind bar, int32_t max, int32_t page, int32_t position, bool) override {
    if (bar != rpsbVertical) return;
    VMax = max;
    VPage = page;
    VPos = position;
  }
  void ScrollContent(int32_t dx, int32_t dy) override {
    ScrolledX += dx;
    ScrolledY += dy;
  }
  void Invalidate() override { ++Invalidated; }
  bool Focused() const override { return HasFocus; }
};

// A small white picture for backgrounds.
inline std::unique_ptr<TBitmap> WhiteTile() {
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(4, 4);
  return tile;
}

// A row of cells (sub-documents) whose parent is a given document.
class TTestRow : public TRPDataList {
public:
  explicit TTestRow(TCustomRPData* parent) : FParent(parent) {}
  TCustomRPData* GetParentRPData() const override { return FParent; }

private:
  TCustomRPData* FParent;
};
