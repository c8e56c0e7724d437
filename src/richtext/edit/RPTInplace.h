// The editor that edits a table cell in place: a borderless editor control the table
// places exactly over the cell (RPTableInplace.cpp of the tables), with the cell's items
// moved into its document while it edits. It behaves as a part of the document that
// holds the table: it shares that editor's read-only state and undo lists, paints what
// lies under a transparent cell, passes clicks it cannot handle to the host, and turns
// Tab and arrows at the cell's edges into moves to the neighbouring cell or out of the
// table.
//
// Its private messages are calls queued on its window (PostCall): leaving the cell in a
// direction, undo and redo after the table handed the cell's recorded steps over, and
// going away after a mouse-up that selected cells.
//
// InstallTableInplaceEditor() makes tables in editors open this editor (RPTableHooks.h);
// the editor control installs it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "richtext/edit/RichPaneEdit.h"
#include "richtext/table/RPTableHooks.h"

class TRPTableItemInfo;
class TRPTableCellData;
class TRPTableInplaceEdit;

// The cell editor's document data: its source, parent and root are the cell's, so undo,
// the root editor and leaving the cell reach the host.
class TRPTableInplaceRPData : public TRPEditRPData {
public:
  explicit TRPTableInplaceRPData(TCustomRichPane& control);
  static std::unique_ptr<TRichPaneRPData> Create(TCustomRichPane& control);

  // The content's height changed since the table last looked.
  bool Resized = false;
  // The selected look of a cell of a cell selection: the editor's colour is the
  // selection's.
  bool CellSelected = false;

  TRPTableInplaceEdit& Editor() const;
  TCustomRPData* GetSourceRPData() override;
  TCustomRPData* GetAbsoluteParentData() const override;
  TCustomRPData* GetAbsoluteRootData() override;
  void UpdateScrollRanges(int32_t width, int32_t height) override;
  // Scrolling a rectangle into view: the editor's own while it may scroll (a cell taller
  // than the largest editor), else the host's, the rectangle moved to the host.
  void ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) override;
  // The cell's origin less the padding (the editor's margins carry it).
  TPoint GetOrigin() const override;
  // A selected cell or none: the editor's colour; else the host's background under a
  // transparent cell, then the table's under the cell, then the cell's picture.
  void DrawBackground(TCanvas& canvas, const TRect& rect) override;
  TRPBackground* GetBackground() const override;
  // A double click on a word and a followed hyperlink are the host's: queued to it, so
  // that its control fires OnRPDblClick and OnJump.
  void DoRPDblClick(const WideString& word, int32_t styleNo) override;
  bool IsRPDblClickAssigned() const override;
  void ExecuteItemJump(int32_t jumpId) override;
  // Hyperlink mode is one for the host and the cell: the host builds the hyperlinks (the
  // table has this document number its own among them) and the answer is -100; leaving
  // it, the host leaves first, then this document.
  int32_t BuildJumps(bool force) override;
  void ClearJumps() override;
};

class TRPTableInplaceEdit : public TRichPaneEdit {
public:
  explicit TRPTableInplaceEdit(TComponent* owner);
  ~TRPTableInplaceEdit() override;

  TRPTableInplaceRPData& InplaceData() const { return static_cast<TRPTableInplaceRPData&>(RPData()); }
  // The host document and control, the table, its index and the cell being edited.
  TRPEditRPData* HostData() const { return FHostData; }
  TCustomRichPaneEdit* HostEditor() const;
  TRPTableItemInfo* Table() const { return FTable; }
  int32_t TableItemNo() const { return FTableItemNo; }
  TRPTableCellData* Cell() const { return FCell; }
  int32_t Row() const { return FRow; }
  int32_t Col() const { return FCol; }

  // Takes the host document's options, native-format and RTF options and style sheet.
  void SetParentRPData(TRPEditRPData& hostData);
  // Binds to the cell (row, col) of table: the margins become padding; the undo lists
  // record for the host's root document.
  void AttachToCell(int32_t row, int32_t col, int32_t padding, TRPTableItemInfo& table);
  void SetQuietDestroy() { FQuietDestroy = true; }
  bool QuietDestroy() const { return FQuietDestroy; }
  bool TestAndClearResized();
  // The selected look: the document's flag and the selection colour (the own colour kept).
  void SetCellSelected(bool value);
  // The hyperlinks of data (an editor's document) built by the editable data itself,
  // forced; their count.
  static int32_t RebuildEditorJumps(TRPEditRPData& data);

  // The cell shows what lies under it (it has no colour of its own).
  bool ShowHostBackground = false;
  // The height was limited: the editor scrolls vertically.
  bool VScrollAllowed = false;
  // When a click opened the editor: a left press within the double-click time after it
  // is a double click (the quick second click of a double click on a cell).
  void RememberClick() { FLastClick = std::chrono::steady_clock::now(); }
  // While it hands a mouse event on to the host (a drag selecting cells there).
  bool HandingToHost() const { return FHandingToHost; }
  // Runs call once the current event is done, if the host editor still lives then (at
  // once without a host editor or window): what a cell hands its host.
  void PostToHost(std::function<void()> call);
  // A point of this editor's document in the host's document coordinates.
  TPoint ToHostDocument(int32_t x, int32_t y) const;
  // Called after a change with the clear-redo flag (the table reformats the host).
  std::function<void(bool clearRedo)> OnChangeHook;

  // --- The host's state and undo --------------------------------------------------------
  bool ReadOnly() const override;
  void SetReadOnly(bool value) override;
  bool CanChange() override;
  void Change() override;
  // The editor's own steps first; without any, the host's.
  void Undo() override;
  void Redo() override;

  // --- Keys, the mouse and leaving the cell ------------------------------------------------
  // Tab and Shift+Tab leave the cell: the window hands them on.
  bool WantsTabs() const override { return true; }
  bool KeyDown(uint16_t key, TShiftState shift) override;
  bool KeyText(const WideString& text, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  // Leaves the cell: 0 left, 1 up, 2 right, 3 down (to the neighbouring cell or out of
  // the table), 4 / 5 to the start / end of the host document, 6 / 7 to the next /
  // previous cell. Queued by Tab and by the caret's leaving the document.
  void MoveOut(int32_t direction);
  void PostMoveOut(int32_t direction);

  // Only when the height was limited; over a transparent cell a scroll repaints it all.
  void VScrollTo(int32_t pos, bool redraw) override;
  void HScrollTo(int32_t pos) override;

private:
  // The editor's window over the host's: placed, shown, hidden.
  void SelectCellsInHost(TShiftState shift, int32_t x, int32_t y, bool release);

  TRPEditRPData* FHostData = nullptr;
  TRPTableItemInfo* FTable = nullptr;
  TRPTableCellData* FCell = nullptr;
  int32_t FTableItemNo = -1;
  int32_t FRow = -1;
  int32_t FCol = -1;
  bool FQuietDestroy = false;
  bool FMouseDown = false;
  bool FHandingToHost = false;
  std::optional<std::chrono::steady_clock::time_point> FLastClick;
  TColor FSavedColor = clNone;
};

// Tables in editors' documents edit their cells with TRPTableInplaceEdit.
void InstallTableInplaceEditor();
