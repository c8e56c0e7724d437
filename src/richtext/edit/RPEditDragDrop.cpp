// The editor's drops: where a drag may drop (the drop caret), what a drop inserts and in
// which format, the one undo step of a drop, and the move of a selection dragged within
// the editor. Also the editable data's side of dragging its selection out.
#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/edit/RPTInplace.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

// Rows at the top and bottom of the client area that scroll the document under a drag.
constexpr int32_t DragScrollZonePx = 20;

bool IsUnicodeStyle(const TRPStyle* style, int32_t styleNo) {
  return style && styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
}

// A point of editor's client area in the root editor's: a cell's editor lies at its place
// in its host's client area.
TPoint InRootClientArea(const TCustomRichPaneEdit& editor, TPoint point) {
  for (auto* cell = dynamic_cast<const TRPTableInplaceEdit*>(&editor); cell && cell->HostEditor();
       cell = dynamic_cast<const TRPTableInplaceEdit*>(cell->HostEditor())) {
    point.X += cell->Window().Left();
    point.Y += cell->Window().Top();
  }
  return point;
}

// The extension of a file name without its dot; empty when none.
WideString ExtensionOf(const WideString& fileName) {
  const size_t dot = fileName.rfind(u'.');
  const size_t slash = fileName.rfind(u'/');
  if (dot == WideString::npos || (slash != WideString::npos && dot < slash)) return WideString();
  return fileName.substr(dot + 1);
}

// A file as a picture, through the class that reads its extension; nullptr when no class
// reads it or the file is no such picture.
std::unique_ptr<TGraphic> LoadPictureFile(const WideString& fileName) {
  const TGraphicClass graphicClass = FindGraphicClassOfExtension(WideToAnsi(ExtensionOf(fileName)));
  if (!graphicClass) return nullptr;
  std::unique_ptr<TGraphic> graphic = RPCreateGraphic(graphicClass);
  if (!graphic) return nullptr;
  try {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    graphic->LoadFromStream(stream);
  } catch (const std::exception&) {
    return nullptr;
  }
  if (graphic->Empty()) return nullptr;
  return graphic;
}

}  // namespace

// --- The editable data's side of a drag out -----------------------------------------------------

int32_t TRPEditRPData::GetDragEffects() const {
  return IsReadOnly() ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
}

void TRPEditRPData::DeleteDraggedSelection() {
  // A drop into this same editor moved the selection itself.
  const TRPDropSource* source = DropSource();
  if (source && source->DroppedOnSource) return;
  IRPEditorControl* editor = Editor();
  if (!SelectionExists(false) || (editor && !editor->CanChange())) return;
  DeleteSelection();
  InvalidateControl();
  if (editor) editor->Change();
}

// --- The drop target's questions ------------------------------------------------------------------

void TCustomRichPaneEdit::CreateDropTarget() {
  if (!FDropTarget) FDropTarget = std::make_unique<TRPDropTarget>(*this);
}

TRPDropSource* TCustomRichPaneEdit::OwnDragSource() const {
  if (TRPDropSource* own = EditData().DropSource()) return own;
  const auto* root = dynamic_cast<const TRichPaneRPData*>(EditData().GetAbsoluteRootData());
  return root ? root->DropSource() : nullptr;
}

bool TCustomRichPaneEdit::IsDragFromThisControl() const { return OwnDragSource() != nullptr; }

bool TCustomRichPaneEdit::OleCanAcceptFormat(uint32_t format) {
  const TRPClipboardFormats& named = RPClipboardFormats();
  std::optional<TRPDragDropFormat> kind;
  if (format == CF_TEXT) kind = rpddText;
  if (format == CF_BITMAP || format == CF_DIB) kind = rpddBitmap;
  if (format == CF_UNICODETEXT) kind = rpddUnicodeText;
  if (format == CF_ENHMETAFILE) kind = rpddMetafile;
  if (format == CF_HDROP) kind = rpddFiles;
  if (format == named.RTF) kind = rpddRTF;
  if (format == named.RichPane) kind = rpddRPF;
  if (format == named.URL) kind = rpddURL;
  return kind && (AcceptDragDropFormats & RPDragDropFormatBit(*kind)) != 0;
}

bool TCustomRichPaneEdit::OleDragEnter(int32_t x, int32_t y) {
  TCustomRichPaneEdit& root = RootEditor();
  if (!Style()) return false;
  if (ReadOnly() && (root.EditData().GetDocumentFlags() & rpdfResizeReadOnly) == 0) return false;
  root.EditData().AddRefDragCaret();
  StartScrollTimer(true);
  OleDragOver(x, y);
  TRPEditRPData& inner = InnermostEditor().EditData();
  if (inner.CaretDrawItemNo >= 0) inner.UpdateCaret(false, false, true);
  return true;
}

bool TCustomRichPaneEdit::OleDragOver(int32_t x, int32_t y) {
  // The document scrolls while the mouse stays near the top or the bottom.
  const int32_t zoneY =
      y < DragScrollZonePx ? -1 : (y > ClientHeight() - DragScrollZonePx ? ClientHeight() : DragScrollZonePx);
  RecordAutoScroll(ClientWidth() / 2, zoneY);
  TRPEditRPData& data = RootEditor().EditData();
  if (!data.GetDragDropCaretInfo()) return false;
  const TPoint inRoot = InRootClientArea(*this, TPoint{x, y});
  data.SetDragDropCaret(inRoot.X, inRoot.Y);
  const TCustomRPFormattedData::TRPDragDropCaretInfo& caret = data.GetDragDropCaret();
  return caret.Data && caret.Data->CanInsertAt(caret.ItemNo, caret.ItemOffs);
}

void TCustomRichPaneEdit::OleDragLeave() {
  TCustomRichPaneEdit& root = RootEditor();
  StopScrollTimer();
  TRPEditRPData& data = root.EditData();
  data.EraseDragDropCaret();
  data.ReleaseDragCaret();
  if (!data.GetDragDropCaretInfo()) {
    TRPEditRPData& inner = InnermostEditor().EditData();
    if (inner.CaretDrawItemNo >= 0) inner.UpdateCaret(false, false, true);
  }
  if (OnOleDragLeave) OnOleDragLeave(&root);
}

void TCustomRichPaneEdit::DoOleDragEnter(const IDataObject& data, TShiftState keyState, const TPoint& point,
                                         int32_t allowedEffects, int32_t& effect) {
  if (!OnOleDragEnter) return;
  effect &= 0x0F;
  OnOleDragEnter(&RootEditor(), data, keyState, point.X, point.Y, static_cast<TRPOleDropEffects>(allowedEffects & 7),
                 effect);
}

void TCustomRichPaneEdit::DoOleDragOver(TShiftState keyState, const TPoint& point, int32_t allowedEffects,
                                        int32_t& effect) {
  if (!OnOleDragOver) return;
  effect &= 0x0F;
  OnOleDragOver(&RootEditor(), keyState, point.X, point.Y, static_cast<TRPOleDropEffects>(allowedEffects & 7), effect);
}

// --- The drop ---------------------------------------------------------------------------------------

int32_t TCustomRichPaneEdit::OleDrop(const IDataObject& data, bool move, TShiftState keyState, const TPoint& point,
                                     int32_t allowedEffects) {
  TCustomRichPaneEdit& root = RootEditor();
  TRPEditRPData& rootData = root.EditData();
  StopScrollTimer();
  // Erasing forgets the drop caret: its place is kept first.
  const TCustomRPFormattedData::TRPDragDropCaretInfo caret = rootData.GetDragDropCaret();
  rootData.EraseDragDropCaret();
  const auto finish = [&] {
    rootData.ReleaseDragCaret();
    TRPEditRPData& inner = InnermostEditor().EditData();
    if (inner.CaretDrawItemNo >= 0) inner.UpdateCaret(false, false, true);
    rootData.InvalidateControl();
  };
  // A drop caret in a cell of a table of this document: the cell's editor takes it.
  if (auto* cell = dynamic_cast<TRPTableCellData*>(caret.Data)) {
    const int32_t effect =
        DropIntoCell(*cell, caret.ItemNo, caret.ItemOffs, data, move, keyState, point, allowedEffects);
    finish();
    return effect;
  }
  // A drop caret in another document this editor does not edit takes nothing.
  auto* target = dynamic_cast<TRPEditRPData*>(caret.Data);
  if (target != &EditData()) {
    finish();
    return DROPEFFECT_NONE;
  }
  // The selection of the document that holds this cell's table, dragged onto the cell: the
  // selection holds the table (a selection made there closes the cell's editor), so
  // nothing is dropped.
  if (!EditData().DropSource() && &root != this && rootData.DropSource() && rootData.SelectionExists(false)) {
    finish();
    return DROPEFFECT_NONE;
  }
  TRPDropSource* source = OwnDragSource();
  // Onto the selection itself (its edges too when moving): nothing is dropped.
  if (EditData().SelectionExists(false)) {
    int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
    EditData().GetSelectionRange(startNo, startOffs, endNo, endOffs);
    const auto before = [](int32_t aNo, int32_t aOffs, int32_t bNo, int32_t bOffs) {
      return aNo < bNo || (aNo == bNo && aOffs < bOffs);
    };
    const bool afterStart = move ? !before(caret.ItemNo, caret.ItemOffs, startNo, startOffs)
                                 : before(startNo, startOffs, caret.ItemNo, caret.ItemOffs);
    const bool beforeEnd = move ? !before(endNo, endOffs, caret.ItemNo, caret.ItemOffs)
                                : before(caret.ItemNo, caret.ItemOffs, endNo, endOffs);
    if (afterStart && beforeEnd) {
      EditData().Deselect(true);
      EditData().MoveCaretTo(caret.ItemNo, caret.ItemOffs);
      finish();
      return DROPEFFECT_NONE;
    }
  }
  if (!EditData().CanInsertAt(caret.ItemNo, caret.ItemOffs)) {
    finish();
    return DROPEFFECT_NONE;
  }

  // A drag from this editor drops its richest format the editor takes, rendered now,
  // before a move deletes what it was rendered from.
  TDataObject prepared;
  const uint32_t preferred = source ? PrepareOwnDrag(*source, prepared) : 0;
  const IDataObject* dropped = preferred != 0 ? &prepared : &data;
  const bool plainBitmap = preferred == CF_BITMAP;

  // The linear position of the drop caret, kept through the deletion of a moved
  // selection that lies before it.
  int32_t dropPos = 0;
  GetLinearPosition(EditData(), &EditData(), dropPos, caret.ItemOffs, caret.ItemNo);
  dropPos -= RPLinearLineBreakLength;
  bool moving = false;
  if (move && source && EditData().SelectionExists(false)) {
    if (!CanChangeDoc(false)) {
      finish();
      return DROPEFFECT_NONE;
    }
    int32_t selStart = 0, selLength = 0;
    GetLinearSelection(selStart, selLength);
    if (selLength < 0) {
      selStart += selLength;
      selLength = -selLength;
    }
    EditData().BeginUndoGroup(rpukInsert, true);
    EditData().SetUndoGroupMode(true);
    moving = true;
    EditData().DeleteSelection();
    if (dropPos >= selStart + selLength) dropPos -= selLength;
    source->DroppedOnSource = true;
  }
  int32_t offset = 0, itemNo = -1;
  TCustomRPData* found = nullptr;
  int32_t pos = dropPos;
  if (moving && LinearToCaret(EditData(), pos, offset, itemNo, found) && found == &EditData())
    EditData().MoveCaretTo(itemNo, offset);
  else if (!moving)
    EditData().MoveCaretTo(caret.ItemNo, caret.ItemOffs);
  EditData().Deselect(true);

  int32_t effect = DROPEFFECT_NONE;
  bool inserted = false;
  try {
    inserted = InsertDrop(*dropped, preferred, plainBitmap, moving, keyState, point, allowedEffects, effect);
  } catch (...) {
    if (moving) EditData().SetUndoGroupMode(false);
    finish();
    throw;
  }
  if (moving) {
    EditData().SetUndoGroupMode(false);
    ChangeDoc(true);
  }
  finish();
  if (!inserted) return DROPEFFECT_NONE;
  if (effect != DROPEFFECT_NONE) return effect;
  return moving ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

uint32_t TCustomRichPaneEdit::PrepareOwnDrag(TRPDropSource& source, TDataObject& prepared) {
  const TRPClipboardFormats& named = RPClipboardFormats();
  std::vector<uint32_t> order{named.RichPane, named.RTF};
  if (dynamic_cast<const TBitmap*>(EditData().GetSelectedImage())) order.push_back(CF_BITMAP);
  order.push_back(CF_UNICODETEXT);
  order.push_back(CF_TEXT);
  for (const uint32_t format : order)
    if (OleCanAcceptFormat(format) && source.QueryGetData(format)) {
      if (!source.PrepareData(format)) return 0;
      TRPDragDataSink sink;
      source.GetData(format, sink);
      prepared = std::move(sink.Data);
      return format;
    }
  return 0;
}

int32_t TCustomRichPaneEdit::DropIntoCell(TRPTableCellData& cell, int32_t itemNo, int32_t itemOffs,
                                          const IDataObject& data, bool move, TShiftState keyState, const TPoint& point,
                                          int32_t allowedEffects) {
  TRPTableItemInfo* table = cell.GetTable();
  if (!table || table->GetFormattedDocument() != &EditData()) return DROPEFFECT_NONE;
  const int32_t tableNo = table->GetItemNo();
  TRPDropSource* source = EditData().DropSource();
  const bool fromSelection = source && EditData().SelectionExists(false);
  if (fromSelection) {
    // Into a table that is part of the dragged selection: nothing is dropped.
    int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
    EditData().GetSelectionRange(startNo, startOffs, endNo, endOffs);
    if (startNo <= tableNo && tableNo <= endNo) return DROPEFFECT_NONE;
  }
  int32_t row = -1, col = -1;
  table->GetCellPosition(&cell, row, col);
  // Refused before anything changes: where the cell's content takes no insertion.
  if (row < 0 || (itemNo >= 0 && itemNo < cell.GetItemCount() && !cell.CanInsertAt(itemNo, itemOffs)))
    return DROPEFFECT_NONE;
  // What this editor's own drag carries is rendered before a move deletes it.
  TDataObject prepared;
  const uint32_t preferred = source ? PrepareOwnDrag(*source, prepared) : 0;
  const IDataObject* dropped = preferred != 0 ? &prepared : &data;
  const bool plainBitmap = preferred == CF_BITMAP;
  if (!CanChangeDoc(false)) return DROPEFFECT_NONE;
  // A move is one step of this document: the dragged selection taken out, then what the
  // cell's editor recorded for the insertion, handed over into the same group.
  const bool moving = move && fromSelection;
  if (moving) {
    // What a cell's editor still holds is a step of its own, before the move's.
    DestroyInplaceEditor();
    EditData().BeginUndoGroup(rpukInsert, true);
    EditData().SetUndoGroupMode(true);
    EditData().DeleteSelection();
    source->DroppedOnSource = true;
  }
  const auto closeMove = [&] {
    if (!moving) return;
    table->HandOverInplaceUndo();
    EditData().SetUndoGroupMode(false);
    ChangeDoc(true);
  };
  int32_t effect = DROPEFFECT_NONE;
  bool inserted = false;
  try {
    auto* cellEditor = table->CreateInplaceEditor(-1, row, col, false, false, false, true)
                           ? dynamic_cast<TCustomRichPaneEdit*>(GetInplaceEditor())
                           : nullptr;
    if (cellEditor) {
      TRPEditRPData& cellData = cellEditor->EditData();
      if (itemNo >= 0 && itemNo < cellData.GetItemCount()) cellData.MoveCaretTo(itemNo, itemOffs);
      inserted =
          cellData.CanInsertAt(cellData.GetCaretItemNo(), cellData.GetCaretOffset()) &&
          cellEditor->InsertDrop(*dropped, preferred, plainBitmap, moving, keyState, point, allowedEffects, effect);
    }
  } catch (...) {
    closeMove();
    throw;
  }
  closeMove();
  if (!inserted) return DROPEFFECT_NONE;
  if (effect != DROPEFFECT_NONE) return effect;
  return moving ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

bool TCustomRichPaneEdit::InsertDrop(const IDataObject& data, uint32_t preferredFormat, bool plainBitmap, bool move,
                                     TShiftState keyState, const TPoint& point, int32_t allowedEffects,
                                     int32_t& effect) {
  effect = move ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  bool doDefault = true;
  if (OnOleDrop)
    OnOleDrop(&RootEditor(), data, keyState, point.X, point.Y, static_cast<TRPOleDropEffects>(allowedEffects & 7),
              effect, doDefault);
  if (!doDefault) return true;
  const TRPClipboardFormats& named = RPClipboardFormats();
  std::vector<uint32_t> order;
  if (preferredFormat != 0) {
    order.push_back(preferredFormat);
  } else {
    order = {named.RichPane, named.RTF, named.URL};
    if (IsUnicodeStyle(Style(), InnermostEditor().EditData().CurTextStyleNo)) {
      order.push_back(CF_UNICODETEXT);
      order.push_back(CF_TEXT);
    } else {
      order.push_back(CF_TEXT);
      order.push_back(CF_UNICODETEXT);
    }
    order.push_back(CF_BITMAP);
    order.push_back(CF_ENHMETAFILE);
    order.push_back(CF_HDROP);
  }
  TDropFrame frame;
  bool inserted = false;
  for (const uint32_t format : order) {
    // A picture counts as offered in either of its forms.
    const bool offered = data.HasFormat(format) || (format == CF_BITMAP && data.HasFormat(CF_DIB));
    if (!OleCanAcceptFormat(format) || !offered) continue;
    OpenDropFrame(frame);
    try {
      inserted = format == CF_HDROP ? InsertDroppedFiles(data) : InsertDropFormat(data, format, plainBitmap);
    } catch (...) {
      CloseDropFrame(frame);
      throw;
    }
    if (inserted) break;
  }
  CloseDropFrame(frame);
  return inserted;
}

bool TCustomRichPaneEdit::InsertDropFormat(const IDataObject& data, uint32_t format, bool plainBitmap) {
  const TRPClipboardFormats& named = RPClipboardFormats();
  if (format == named.RichPane || format == named.RTF) {
    const std::unique_ptr<TMemoryStream> stream = TRPDropTarget::GetDataStream(data, format);
    if (!stream) return false;
    return format == named.RichPane ? InsertRPFFromStream(*stream) : InsertForeignRTF(*stream, WideString());
  }
  if (format == CF_TEXT) {
    AnsiString text;
    if (!TRPDropTarget::GetDataString(data, CF_TEXT, text)) return false;
    InsertText(text);
    return true;
  }
  if (format == CF_UNICODETEXT) {
    WideString text;
    if (!TRPDropTarget::GetUnicodeText(data, text)) return false;
    InsertTextW(text);
    return true;
  }
  if (format == named.URL) {
    AnsiString link;
    if (!TRPDropTarget::GetDataString(data, named.URL, link)) return false;
    AnsiString title(RPFileGroupDescriptorName(data.GetData(named.FileGroupDescriptor).value_or(AnsiString())));
    title = title.size() >= 5 ? title.substr(0, title.size() - 4) : link;
    if (!OnReadHyperlink) {
      InsertText(link);
      return true;
    }
    int32_t styleNo = InnermostEditor().EditData().CurTextStyleNo;
    TRPTag tag;
    AnsiString name = title;
    OnReadHyperlink(this, link, AnsiString(), rplfURL, styleNo, tag, name);
    SetCurTextStyleNo(styleNo);
    return InsertStringTag(name, tag);
  }
  if (format == CF_BITMAP) {
    std::unique_ptr<TBitmap> bitmap = TRPDropTarget::GetBitmap(data, !plainBitmap);
    if (!bitmap || bitmap->Empty()) return false;
    return InsertPicture(AnsiString(), std::move(bitmap), rpvaBaseline);
  }
  if (format == CF_ENHMETAFILE) {
    std::unique_ptr<TMetafile> metafile = TRPDropTarget::GetMetafile(data);
    return metafile && InsertPicture(AnsiString(), std::move(metafile), rpvaBaseline);
  }
  return false;
}

bool TCustomRichPaneEdit::InsertDroppedFiles(const IDataObject& data) {
  std::vector<WideString> files = TRPDropTarget::GetFileList(data);
  TRPDropFileAction action = rpdfNone;
  bool doDefault = true;
  if (OnDropFiles) OnDropFiles(&RootEditor(), files, action, doDefault);
  if (!doDefault) return action != rpdfNone;
  bool inserted = false;
  for (const WideString& file : files) {
    try {
      if (std::unique_ptr<TGraphic> picture = LoadPictureFile(file)) {
        inserted = InsertPicture(AnsiString(), std::move(picture), rpvaBaseline) || inserted;
        continue;
      }
      const AnsiString extension = WideToAnsi(ExtensionOf(file));
      if (SameText(extension, "rtf"))
        inserted = InsertRTFFromFile(file) || inserted;
      else if (SameText(extension, "rpf"))
        inserted = InsertRPFFromFile(file) || inserted;
      else if (SameText(extension, "txt"))
        inserted = InsertTextFromFile(file) || inserted;
    } catch (const std::exception&) {
      // A file that cannot be read is skipped.
    }
  }
  return inserted;
}

// --- The drop frame: one undo step, the inserted content selected ----------------------------------

void TCustomRichPaneEdit::OpenDropFrame(TDropFrame& frame) {
  if (frame.Open) return;
  frame.Open = true;
  TRPEditRPData& data = EditData();
  data.BeginUndoGroup(rpukInsert, true);
  data.SetUndoGroupMode(true);
  TRPEditRPData& inner = InnermostEditor().EditData();
  frame.StartItemNo = inner.GetCaretItemNo();
  frame.StartOffs = inner.GetCaretOffset();
  frame.StartWasText = frame.StartItemNo >= 0 && inner.IsTextItem(frame.StartItemNo) &&
                       frame.StartOffs <= inner.GetItemStartOffset(frame.StartItemNo);
}

void TCustomRichPaneEdit::CloseDropFrame(TDropFrame& frame) {
  if (!frame.Open) return;
  frame.Open = false;
  TRPEditRPData& data = EditData();
  data.SetUndoGroupMode(false);
  data.UndoList->RemoveEmptyLastGroup();
  ChangeDoc(true);
  TRPEditRPData& inner = InnermostEditor().EditData();
  if (frame.StartItemNo < 0 || frame.StartItemNo >= inner.GetItemCount()) return;
  int32_t startOffs = frame.StartOffs;
  const bool isText = inner.IsTextItem(frame.StartItemNo);
  if (frame.StartWasText && !isText) startOffs = 0;
  if (!frame.StartWasText && isText && startOffs == 0) startOffs = 1;
  const int32_t endItemNo = inner.GetCaretItemNo();
  const int32_t endOffs = inner.GetCaretOffset();
  if (endItemNo < 0) return;
  inner.SetSelectionBounds(frame.StartItemNo, startOffs, endItemNo, endOffs);
  inner.InvalidateControl();
}
