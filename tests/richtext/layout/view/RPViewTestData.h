// A rich view control with a style sheet, for the tests of the control and its document.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "richtext/layout/view/RPItemFormattedData.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

struct TTestRichPane {
  TTestRichPane() {
    Style.TextStyles()[0]->FontName = "Arial";
    Pane.SetStyle(&Style);
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
};

// A clipboard that keeps what is put on it.
class TRecordingClipboard : public IRPClipboard {
public:
  int32_t Opened = 0, Closed = 0;
  std::vector<std::string> Formats;  // in the order put: "text", "unicode", "graphic" or the number
  AnsiString Text;
  WideString UnicodeText;
  const TGraphic* Graphic = nullptr;
  void Open() override {
    ++Opened;
    Formats.clear();
  }
  void Close() override { ++Closed; }
  void SetText(const AnsiString& text) override {
    Formats.push_back("text");
    Text = text;
  }
  void SetUnicodeText(const WideString& text) override {
    Formats.push_back("unicode");
    UnicodeText = text;
  }
  void SetGraphic(const TGraphic& graphic) override {
    Formats.push_back("graphic");
    Graphic = &graphic;
  }
  void SetData(uint32_t format, const AnsiString&) override { Formats.push_back(std::to_string(format)); }
};

// A window host that records what it is asked.
class TRecordingHost : public IRPWindowHost {
public:
  int32_t VMax = -1, VPage = -1, VPos = -1;
  int32_t ScrolledX = 0, ScrolledY = 0;
  int32_t Invalidated = 0, Refreshed = 0, Updated = 0;
  std::vector<TRect> InvalidatedRects;
  bool HasFocus = false;
  int32_t FocusRequests = 0;
  TCursor Cursor = crDefault;
  std::vector<WideString> Hints;
  std::vector<std::pair<uint32_t, uint32_t>> TimersSet;
  std::vector<uint32_t> TimersKilled;
  TPoint MousePos{0, 0};
  TShiftState Shift = 0;
  TRecordingClipboard Board;
  int32_t Drags = 0, DropEffect = DROPEFFECT_NONE;
  TRecordingClipboard DragData;
  int32_t FocusLeft = 0;
  TCanvas* Canvas = nullptr;

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
  void InvalidateRect(const TRect& rect) override { InvalidatedRects.push_back(rect); }
  void Invalidate() override { ++Invalidated; }
  void Refresh() override { ++Refreshed; }
  void Update() override { ++Updated; }
  bool Focused() const override { return HasFocus; }
  TCanvas* WindowCanvas() override { return Canvas; }
  void SetCursor(TCursor cursor) override { Cursor = cursor; }
  TCursor GetCursor() const override { return Cursor; }
  void SetFocus() override { ++FocusRequests; }
  void FocusNextControl(bool) override { ++FocusLeft; }
  TPoint ClientToScreen(const TPoint& point) const override { return TPoint{point.X + 1000, point.Y + 2000}; }
  TPoint GetMousePos() const override { return MousePos; }
  TShiftState GetShiftState() const override { return Shift; }
  void ActivateHint(const WideString& text) override { Hints.push_back(text); }
  void SetTimer(uint32_t id, uint32_t interval) override { TimersSet.emplace_back(id, interval); }
  void KillTimer(uint32_t id) override { TimersKilled.push_back(id); }
  IRPClipboard* Clipboard() override { return &Board; }
  int32_t DoDragDrop(const std::function<void(IRPClipboard&)>& fill, int32_t) override {
    ++Drags;
    DragData.Open();
    fill(DragData);
    return DropEffect;
  }
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
