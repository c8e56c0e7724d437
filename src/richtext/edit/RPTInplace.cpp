#include "richtext/edit/RPTInplace.h"

#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "platform/base/UserInput.h"
#include "platform/gui/Controls.h"
#include "richtext/edit/RPTableUndoRecords.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

// The table's side of the cell editor (RPTableHooks.h) over a TRPTableInplaceEdit.
class TInplaceEditorAdapter : public IRPTableInplaceEditor {
public:
  TInplaceEditorAdapter(TRPEditRPData& hostData, TWinControl* parentWindow)
      : FEditor(std::make_unique<TRPTableInplaceEdit>(nullptr)), FHost(hostData) {
    TRPTableInplaceEdit& editor = *FEditor;
    editor.SetParentRPData(hostData);
    if (parentWindow) editor.Window().SetParent(parentWindow);
    hostData.Control().SetInplaceEditorOwner(&editor, nullptr);
    PassEventsToHost();
  }
  ~TInplaceEditorAdapter() override {
    TRPTableInplaceEdit& editor = *FEditor;
    const bool quiet = editor.QuietDestroy();
    TCustomRichPane& host = FHost.Control();
    host.ClearInplaceEditorOwner(&editor);
    if (FHost.InplaceEditedItem == editor.Table()) FHost.InplaceEditedItem = nullptr;
    const bool hadFocus = editor.Window().Focused();
    editor.Window().SetVisible(false);
    FEditor.reset();
    if (!quiet && hadFocus)
      if (auto* window = dynamic_cast<TWinControl*>(host.Host())) window->SetFocus();
  }
  TRPScroller& Control() override { return *FEditor; }
  TCustomRPFormattedData& Data() override { return FEditor->InplaceData(); }
  void AttachToCell(int32_t row, int32_t col, int32_t padding, TRPTableItemInfo& table) override {
    FEditor->AttachToCell(row, col, padding, table);
    FHost.Control().SetInplaceEditorOwner(FEditor.get(), &table);
    FHost.InplaceEditedItem = &table;
    // A change of the content's height lays the table out again in the host.
    FEditor->OnChangeHook = [this, &table](bool) {
      const int32_t height = FEditor->InplaceData().DocumentHeight;
      FEditor->TestAndClearResized();
      if (height == FLastHeight) return;
      FLastHeight = height;
      ReformatTableInHost(table);
    };
    FLastHeight = FEditor->InplaceData().DocumentHeight;
  }
  void SetPadding(int32_t padding) override {
    TRPTableInplaceEdit& e = *FEditor;
    e.LeftMargin = e.RightMargin = e.TopMargin = e.BottomMargin = padding;
  }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override {
    FEditor->Window().SetBounds(left, top, width, height);
    FEditor->SetBounds(width, height);
  }
  int32_t GetLeft() const override { return FEditor->Window().Left(); }
  int32_t GetTop() const override { return FEditor->Window().Top(); }
  int32_t GetWidth() const override { return FEditor->Width(); }
  int32_t GetHeight() const override { return FEditor->Height(); }
  void SetVScrollAllowed(bool value) override { FEditor->VScrollAllowed = value; }
  void SetContentClipped(bool value) override { FEditor->SetVScrollVisible(value && FEditor->VScrollAllowed); }
  void SetEditColor(TColor color, bool transparent) override {
    FEditor->Color = color;
    FEditor->ShowHostBackground = transparent;
  }
  void SetCellSelected(bool value) override { FEditor->SetCellSelected(value); }
  bool TestAndClearResized() override { return FEditor->TestAndClearResized(); }
  void SetQuietDestroy() override { FEditor->SetQuietDestroy(); }
  bool IsBusy() const override { return FEditor->EditData().GetMouseCaptureItem() != nullptr; }
  void Reformat() override { FEditor->Format(); }
  void Invalidate() override { FEditor->EditData().InvalidateControl(); }
  void ShowEditor(bool takeFocus) override {
    FEditor->Window().SetVisible(true);
    if (takeFocus) FEditor->Window().SetFocus();
  }
  void MoveCaretToStart() override { FEditor->EditData().MoveCaretHome(true); }
  void MoveCaretToEnd() override { FEditor->EditData().MoveCaretEnd(true); }
  int32_t RebuildJumps(int32_t firstJumpNo) override {
    FEditor->EditData().FirstJumpNo = firstJumpNo;
    return TRPTableInplaceEdit::RebuildEditorJumps(FEditor->EditData());
  }
  void HandOverUndo(bool) override {
    TRPTableInplaceEdit& e = *FEditor;
    if (e.Table()) HandOverCellUndo(FHost, e.Table()->GetItemNo(), e.Row(), e.Col(), e.EditData());
  }
  // The host's press, moves and release handed on: the host fires its own mouse events
  // for them, the editor's are not passed back.
  void PassMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    FPressHeld = true;
    HandOn([&] { FEditor->MouseDown(button, shift, x, y); });
    if (button == mbLeft) FEditor->RememberClick();
  }
  bool PassMouseMove(TShiftState shift, int32_t x, int32_t y) override {
    if (!FPressHeld || FEditor->HandingToHost()) return false;
    if ((shift & (ssLeft | ssRight | ssMiddle)) == 0) FPressHeld = false;
    HandOn([&] { FEditor->MouseMove(shift, x, y); });
    return true;
  }
  bool PassMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    if (!FPressHeld || FEditor->HandingToHost()) return false;
    FPressHeld = false;
    HandOn([&] { FEditor->MouseUp(button, shift, x, y); });
    return true;
  }

private:
  // Hands a mouse event of the host on to the editor.
  template <typename F>
  void HandOn(const F& handOn) {
    const bool was = FFromHost;
    FFromHost = true;
    const TScopeExit restore([this, was] { FFromHost = was; });
    handOn();
  }

  // What happens in the cell is the host's to hear: its handlers (looked up when the event
  // comes, so that handlers set later count) run with the host control as the sender. A
  // click in the cell is the host window's click, once the event is done.
  void PassEventsToHost() {
    TCustomRichPane* host = &FHost.Control();
    TRPTableInplaceEdit& e = *FEditor;
    e.OnControlAction = [host](TCustomRichPane*, TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item) {
      if (host->OnControlAction) host->OnControlAction(host, action, itemNo, item);
    };
    // A press or release in the cell is the host's at the same place of its document, heard
    // once the editor's event is done (its handler may close the cell's editor).
    const auto handOnMouse = [this, host](TCustomRichPane::TRPMouseEvent TCustomRichPane::*event) {
      return [this, host, event](TCustomRichPane*, TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x,
                                 int32_t y) {
        if (FFromHost || !(host->*event)) return;
        const TPoint at = FEditor->ToHostDocument(x, y);
        FEditor->PostToHost([host, event, button, shift, itemNo, at] {
          if (host->*event) (host->*event)(host, button, shift, itemNo, at.X, at.Y);
        });
      };
    };
    e.OnRPMouseDown = handOnMouse(&TCustomRichPane::OnRPMouseDown);
    e.OnRPMouseUp = handOnMouse(&TCustomRichPane::OnRPMouseUp);
    e.OnRPMouseMove = [host](TCustomRichPane*, int32_t id) {
      if (host->OnRPMouseMove) host->OnRPMouseMove(host, id);
    };
    e.Window().OnClick = [&e, host](TObject*) {
      if (auto* window = dynamic_cast<TControl*>(host->Host())) e.PostToHost([window] { window->Click(); });
    };
    e.OnRPRightClick = [host](TCustomRichPane*, const WideString& word, int32_t style, int32_t x, int32_t y) {
      if (host->OnRPRightClick) host->OnRPRightClick(host, word, style, x, y);
    };
    e.OnItemHint = [host](TCustomRichPane*, TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint) {
      if (host->OnItemHint) host->OnItemHint(host, rpData, itemNo, hint);
    };
    e.OnReadHyperlink = [host](TCustomRichPane*, const AnsiString& target, const AnsiString& extras,
                               TRPLoadFormat format, int32_t& styleNo, TRPTag& tag, AnsiString& itemName) {
      if (host->OnReadHyperlink) host->OnReadHyperlink(host, target, extras, format, styleNo, tag, itemName);
    };
    e.OnImportPicture = [host](TCustomRichPane*, const AnsiString& location, std::unique_ptr<TGraphic>& graphic) {
      if (host->OnImportPicture) host->OnImportPicture(host, location, graphic);
    };
  }

  // The content's height changed: the table is laid out again and its paragraph
  // reformatted in the host; the whole host only when the table's width crosses the
  // host's (wider than it before and not after, or the reverse). The host is repainted
  // when the editor moved or changed size with the cell.
  void ReformatTableInHost(TRPTableItemInfo& table) {
    TRPTableInplaceEdit& editor = *FEditor;
    const TRect before{GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()};
    const int32_t hostWidth = FHost.DocumentWidth;
    const int32_t oldWidth = table.GetWidth();
    const int32_t itemNo = table.GetItemNo();
    const int32_t drawNo = itemNo >= 0 ? FHost.GetItemFirstDrawItem(itemNo) : -1;
    table.Changed();
    if (drawNo < 0) {
      FHost.Control().Format();
    } else {
      FHost.ReformatParagraphs(drawNo, drawNo, false, 0);
      if ((oldWidth > hostWidth) != (table.GetWidth() > hostWidth)) FHost.Control().Format();
    }
    const TRect after{GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()};
    if (after != before) FHost.InvalidateControl();
    editor.EditData().InvalidateControl();
  }

  std::unique_ptr<TRPTableInplaceEdit> FEditor;
  TRPEditRPData& FHost;
  int32_t FLastHeight = 0;
  // A press passed on and not yet released.
  bool FPressHeld = false;
  // While a mouse event of the host is handed on.
  bool FFromHost = false;
};
}  // namespace

// --- The document data ---------------------------------------------------------------------------

TRPTableInplaceRPData::TRPTableInplaceRPData(TCustomRichPane& control) : TRPEditRPData(control) {}

std::unique_ptr<TRichPaneRPData> TRPTableInplaceRPData::Create(TCustomRichPane& control) {
  return std::make_unique<TRPTableInplaceRPData>(control);
}

TRPTableInplaceEdit& TRPTableInplaceRPData::Editor() const { return static_cast<TRPTableInplaceEdit&>(Control()); }

TCustomRPData* TRPTableInplaceRPData::GetSourceRPData() {
  if (TRPTableCellData* cell = Editor().Cell()) return cell;
  return this;
}

TCustomRPData* TRPTableInplaceRPData::GetAbsoluteParentData() const {
  TRPTableCellData* cell = Editor().Cell();
  return cell ? cell->GetAbsoluteParentData() : TRPEditRPData::GetAbsoluteParentData();
}

TCustomRPData* TRPTableInplaceRPData::GetAbsoluteRootData() {
  TRPTableCellData* cell = Editor().Cell();
  return cell ? cell->GetAbsoluteRootData() : TRPEditRPData::GetAbsoluteRootData();
}

void TRPTableInplaceRPData::UpdateScrollRanges(int32_t width, int32_t height) {
  TRPEditRPData::UpdateScrollRanges(width, height);
  Resized = true;
}

void TRPTableInplaceRPData::ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) {
  TRPTableInplaceEdit& editor = Editor();
  TRPEditRPData* host = editor.HostData();
  if (editor.VScrollAllowed || !host) {
    TRPEditRPData::ShowRectangle(x, y, width, height);
    return;
  }
  host->ShowRectangle(x + editor.Window().Left() + host->GetHOffs(), y + editor.Window().Top() + host->GetVOffs(),
                      width, height);
}

TPoint TRPTableInplaceRPData::GetOrigin() const {
  TRPTableCellData* cell = Editor().Cell();
  TRPTableItemInfo* table = Editor().Table();
  if (!cell || !table) return TRPEditRPData::GetOrigin();
  const TPoint origin = cell->GetOrigin();
  return TPoint{origin.X - table->GetCellPadding(), origin.Y - table->GetCellPadding()};
}

TRPBackground* TRPTableInplaceRPData::GetBackground() const {
  TRPTableCellData* cell = Editor().Cell();
  if (cell && !CellSelected && cell->GetCellBackground()) return cell->GetCellBackground();
  return TRPEditRPData::GetBackground();
}

void TRPTableInplaceRPData::DrawBackground(TCanvas& canvas, const TRect& rect) {
  TRPTableInplaceEdit& editor = Editor();
  TRPTableCellData* cell = editor.Cell();
  TRPTableItemInfo* table = editor.Table();
  if (!cell || !table || CellSelected) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(CellSelected && GetStyleSheet() ? GetStyleSheet()->SelColor : GetColor());
    canvas.FillRect(rect);
    return;
  }
  if (editor.ShowHostBackground) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(editor.HostData() ? editor.HostData()->GetColor() : GetColor());
    canvas.FillRect(rect);
    table->DrawBackgroundUnderCell(canvas, rect, editor.Row(), editor.Col());
  } else {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(GetColor());
    canvas.FillRect(rect);
  }
  if (const TRPBackground* picture = cell->GetCellBackground(); picture && picture->HasVisibleImage())
    picture->Draw(canvas, rect, GetHOffs(), GetVOffs(), 0, 0, GetWidth(), GetHeight(), clNone, false);
}

void TRPTableInplaceRPData::DoRPDblClick(const WideString& word, int32_t styleNo) {
  TRPEditRPData* host = Editor().HostData();
  if (!host) return TRPEditRPData::DoRPDblClick(word, styleNo);
  Editor().PostToHost([host, word, styleNo] { host->DoRPDblClick(word, styleNo); });
}

bool TRPTableInplaceRPData::IsRPDblClickAssigned() const {
  TRPEditRPData* host = Editor().HostData();
  return host ? host->IsRPDblClickAssigned() : TRPEditRPData::IsRPDblClickAssigned();
}

void TRPTableInplaceRPData::ExecuteItemJump(int32_t jumpId) {
  TRPEditRPData* host = Editor().HostData();
  if (!host) return TRPEditRPData::ExecuteItemJump(jumpId);
  // The cell's hyperlinks are numbered among the host's from FirstJumpNo on.
  const int32_t id = FirstJumpNo + jumpId - host->FirstJumpNo;
  Editor().PostToHost([host, id] { host->ExecuteItemJump(id); });
}

int32_t TRPTableInplaceRPData::BuildJumps(bool force) {
  TRPEditRPData* host = Editor().HostData();
  if (!host || !Editor().Table()) return TRPEditRPData::BuildJumps(force);
  host->BuildJumps(force);
  return -100;
}

void TRPTableInplaceRPData::ClearJumps() {
  if (TRPEditRPData* host = Editor().HostData()) host->ClearJumps();
  TRPEditRPData::ClearJumps();
}

// --- The editor ---------------------------------------------------------------------------------

TRPTableInplaceEdit::TRPTableInplaceEdit(TComponent* owner) : TRichPaneEdit(owner, &TRPTableInplaceRPData::Create) {
  BorderStyle = bsNone;
  WheelStep = 0;
  // No bar at all over a cell: its scrolling is the host's.
  VScrollDisableNoScroll = false;
  Window().SetVisible(false);
  SetVScrollVisible(false);
  SetHScrollVisible(false);
  OnCaretGetOut = [this](TCustomRichPaneEdit*, TRPGetOutDirection direction) {
    PostMoveOut(static_cast<int32_t>(direction));
  };
}

TRPTableInplaceEdit::~TRPTableInplaceEdit() {
  Destroying();
  if (FQuietDestroy)
    if (auto* nested = dynamic_cast<TRPTableInplaceEdit*>(GetInplaceEditor())) nested->SetQuietDestroy();
  DestroyInplaceEditor();
  // The items went back to the cell; nothing of the cell stays here.
  FCell = nullptr;
  // Items of its own (an editor never bound to a cell) go while the document still
  // answers as this editor's.
  InplaceData().Clear();
}

TCustomRichPaneEdit* TRPTableInplaceEdit::HostEditor() const {
  return FHostData ? dynamic_cast<TCustomRichPaneEdit*>(&FHostData->Control()) : nullptr;
}

void TRPTableInplaceEdit::SetParentRPData(TRPEditRPData& hostData) {
  FHostData = &hostData;
  TCustomRichPane& host = hostData.Control();
  Options = host.Options;
  RPFOptions = host.RPFOptions;
  RTFOptions = host.RTFOptions;
  if (auto* hostEditor = dynamic_cast<TCustomRichPaneEdit*>(&host)) {
    EditorOptions = hostEditor->EditorOptions | rpoWantTabs;
    Cursor = hostEditor->Cursor;
  }
  Delimiters = host.Delimiters;
  RPFTextStylesReadMode = host.RPFTextStylesReadMode;
  RPFParaStylesReadMode = host.RPFParaStylesReadMode;
  SetStyle(host.Style());
  SetVSmallStep(1);
  SetUndoLimit(hostData.UndoList->Limit != 0 ? -1 : 0);
}

void TRPTableInplaceEdit::AttachToCell(int32_t row, int32_t col, int32_t padding, TRPTableItemInfo& table) {
  FRow = row;
  FCol = col;
  FTable = &table;
  FCell = table.GetCell(row, col);
  FTableItemNo = table.GetItemNo();
  LeftMargin = RightMargin = TopMargin = BottomMargin = padding;
}

bool TRPTableInplaceEdit::TestAndClearResized() {
  const bool resized = InplaceData().Resized;
  InplaceData().Resized = false;
  return resized;
}

void TRPTableInplaceEdit::SetCellSelected(bool value) {
  TRPTableInplaceRPData& data = InplaceData();
  if (data.CellSelected == value) return;
  data.CellSelected = value;
  if (value) {
    FSavedColor = Color;
    if (Style()) Color = Style()->SelColor;
  } else {
    Color = FSavedColor;
  }
  data.UpdateCaret(false, false, true);
  data.InvalidateControl();
}

// The editable document's own building, not a cell editor's passing it to its host.
int32_t TRPTableInplaceEdit::RebuildEditorJumps(TRPEditRPData& data) { return data.TRPEditRPData::BuildJumps(true); }

// --- The host's state and undo ------------------------------------------------------------------

bool TRPTableInplaceEdit::ReadOnly() const {
  TCustomRichPaneEdit* host = HostEditor();
  return host ? host->ReadOnly() : false;
}

void TRPTableInplaceEdit::SetReadOnly(bool value) {
  if (TCustomRichPaneEdit* host = HostEditor()) host->SetReadOnly(value);
}

bool TRPTableInplaceEdit::CanChange() {
  TCustomRichPaneEdit* host = HostEditor();
  return host && host->CanChangeDoc(true);
}

void TRPTableInplaceEdit::Change() {
  TRichPaneEdit::Change();
  if (OnChangeHook) OnChangeHook(true);
}

void TRPTableInplaceEdit::Undo() {
  if (EditData().UndoList->Count() > 0 || !HostEditor())
    TRichPaneEdit::Undo();
  else
    HostEditor()->Undo();
}

void TRPTableInplaceEdit::Redo() {
  if (EditData().RedoList->Count() > 0 || !HostEditor())
    TRichPaneEdit::Redo();
  else
    HostEditor()->Redo();
}

// --- Keys, the mouse and leaving the cell ------------------------------------------------------------

bool TRPTableInplaceEdit::KeyDown(uint16_t key, TShiftState shift) {
  if (key == VK_TAB && (shift & ssCtrl) == 0) {
    PostMoveOut((shift & ssShift) != 0 ? 7 : 6);
    return true;
  }
  return TRichPaneEdit::KeyDown(key, shift);
}

bool TRPTableInplaceEdit::KeyText(const WideString& text, TShiftState shift) {
  if (text == u"\t" && (shift & ssCtrl) == 0) return true;
  return TRichPaneEdit::KeyText(text, shift);
}

void TRPTableInplaceEdit::PostToHost(std::function<void()> call) {
  if (TCustomRichPaneEdit* host = HostEditor())
    host->PostWhileAlive(std::move(call));
  else
    call();
}

TPoint TRPTableInplaceEdit::ToHostDocument(int32_t x, int32_t y) const {
  TRPEditRPData& data = EditData();
  TPoint at{x - data.GetHOffs() + Window().Left(), y - data.GetVOffs() + Window().Top()};
  if (FHostData) {
    at.X += FHostData->GetHOffs();
    at.Y += FHostData->GetVOffs();
  }
  return at;
}

void TRPTableInplaceEdit::PostMoveOut(int32_t direction) {
  PostWhileAlive([this, direction] { MoveOut(direction); });
}

namespace {
// The caret of a document that held a cell editor goes to (itemNo, offset): the table
// stops being the document's inner selection first, or the caret would still be
// reported on the table. Text typed there takes the style of the text it lands in.
void PlaceCaretOutsideTable(TRPEditRPData& data, int32_t itemNo, int32_t offset) {
  data.SetSelectionBounds(itemNo, offset, itemNo, offset);
  data.MoveCaretTo(itemNo, offset);
}
}  // namespace

void TRPTableInplaceEdit::MoveOut(int32_t direction) {
  TRPTableItemInfo* table = FTable;
  TRPEditRPData* host = FHostData;
  if (!table || !host) return;
  TCustomRichPaneEdit* hostEditor = HostEditor();
  auto focusHost = [hostEditor] {
    if (auto* window = hostEditor ? dynamic_cast<TWinControl*>(hostEditor->Host()) : nullptr) window->SetFocus();
  };
  if (direction == 4 || direction == 5) {
    auto* root = static_cast<TRPEditRPData*>(host->GetAbsoluteRootData());
    table->DestroyInplaceEditor();
    const int32_t last = root->GetItemCount() - 1;
    if (direction == 4)
      PlaceCaretOutsideTable(*root, 0, root->GetItemStartOffset(0));
    else
      PlaceCaretOutsideTable(*root, last, root->GetItemEndOffset(last));
    focusHost();
    return;
  }
  int32_t newRow = -1, newCol = -1;
  const int32_t row = FRow, col = FCol;
  if (table->GetNeighbourCell(row, col, direction, newRow, newCol, true)) {
    const bool toEnd = direction == 0 || direction == 1 || direction == 7;
    table->CreateInplaceEditor(-1, newRow, newCol, true, toEnd, !toEnd, true);
    return;
  }
  const TRPTableCellData* cell = table->GetCell(row, col);
  const int32_t itemNo = table->GetItemNo();
  if (!cell || itemNo < 0) return;
  const bool before =
      (direction == 0 && col == 0) || (direction == 1 && row == 0) || (direction == 7 && row == 0 && col == 0);
  const bool after = (direction == 2 && col + cell->GetColSpan() >= table->Rows().GetColCount()) ||
                     (direction == 3 && row + cell->GetRowSpan() >= table->Rows().GetRowCount());
  if (!before && !after) return;
  table->DestroyInplaceEditor();
  PlaceCaretOutsideTable(*host, itemNo, before ? 0 : 1);
  focusHost();
}

void TRPTableInplaceEdit::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) {
    const auto clicked = FLastClick;
    FLastClick.reset();
    if (clicked && (shift & ssDouble) == 0 &&
        std::chrono::steady_clock::now() - *clicked <= std::chrono::milliseconds(GetDoubleClickTime())) {
      DblClick();
      shift |= ssDouble;
    }
  }
  if (button == mbLeft && FTable && FTable->SelectCell(FRow, FCol)) FMouseDown = true;
  TRichPaneEdit::MouseDown(button, shift, x, y);
}

void TRPTableInplaceEdit::SelectCellsInHost(TShiftState shift, int32_t x, int32_t y, bool release) {
  TCustomRichPaneEdit* host = HostEditor();
  if (!host) return;
  const int32_t hx = x + Window().Left(), hy = y + Window().Top();
  const bool handing = FHandingToHost;
  FHandingToHost = true;
  const TScopeExit restore([this, handing] { FHandingToHost = handing; });
  if (release)
    host->MouseUp(mbLeft, shift, hx, hy);
  else
    host->MouseMove(shift, hx, hy);
}

void TRPTableInplaceEdit::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (FMouseDown && (shift & ssLeft) == 0) {
    MouseUp(mbLeft, shift, x, y);
    return;
  }
  if (FMouseDown && FTable) {
    SelectCellsInHost(shift, x, y, false);
    if (FTable && FTable->HasCellSelection()) return;
  }
  TRichPaneEdit::MouseMove(shift, x, y);
}

void TRPTableInplaceEdit::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft) FMouseDown = false;
  TRPTableItemInfo* table = FTable;
  if (button == mbLeft && table && table->HasCellSelection()) {
    SelectCellsInHost(shift, x, y, true);
    // The cells are selected in the host: this editor goes once the event is done.
    if (Host()) PostWhileAlive([table] { table->DestroyInplaceEditor(); });
    return;
  }
  TRichPaneEdit::MouseUp(button, shift, x, y);
}

void TRPTableInplaceEdit::VScrollTo(int32_t pos, bool redraw) {
  if (!VScrollAllowed) return;
  // What the host paints under a transparent cell does not move with the text: after the
  // scroll the whole editor is painted again instead of its content being shifted.
  const bool fullRedraw = FullRedraw;
  if (ShowHostBackground) FullRedraw = true;
  TRichPaneEdit::VScrollTo(pos, redraw);
  FullRedraw = fullRedraw;
}

void TRPTableInplaceEdit::HScrollTo(int32_t) {}

// --- Installation ------------------------------------------------------------------------------

void InstallTableInplaceEditor() {
  TRPTableHooks& hooks = RPTableHooks();
  hooks.CreateInplaceEditor = [](TRPTableItemInfo&,
                                 TCustomRPFormattedData& hostData) -> std::unique_ptr<IRPTableInplaceEditor> {
    auto* host = dynamic_cast<TRPEditRPData*>(&hostData);
    if (!host) return nullptr;
    auto* window = dynamic_cast<TWinControl*>(host->Control().Host());
    return std::make_unique<TInplaceEditorAdapter>(*host, window);
  };
  hooks.IsEditorReadOnly = [](TCustomRPData& data) {
    auto* root = dynamic_cast<TRPEditRPData*>(data.GetAbsoluteRootData());
    return root && root->IsReadOnly();
  };
}
