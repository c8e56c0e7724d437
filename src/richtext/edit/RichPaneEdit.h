// The editor control: a rich view control (RichPane.h of the layout) whose document is
// the editable document data (RPERPData.h). The data does the editing; the control adds
// the editor's options and events, the keyboard, the insertion commands with their
// common frame, the style commands, read-only state, undo and redo, and the answers a
// standard edit control gives.
//
// When a table cell is edited in place, commands go to the cell's editor: the innermost
// editor is found by following the in-place editors (TRPScroller::GetInplaceEditor)
// while they are editors; the root editor is the one of the document's root data.
//
// Keys arrive as the window hands them on: KeyDown for every key, KeyText for the text
// a key typed when KeyDown left it (UTF-16, as the platform gives it), KeyUp for every
// release. TRichPaneEdit is the editor with its window (RPWindow.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/StringLists.h"
#include "platform/gui/Clipbrd.h"
#include "richtext/edit/RPDropTarget.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPEditorControl.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/screen/RPWindow.h"

class TGraphic;
class TRPStyleTemplate;
class TRPTableCellData;

// The formats the editor takes from drops.
enum TRPDragDropFormat : uint8_t {
  rpddRPF,
  rpddRTF,
  rpddText,
  rpddUnicodeText,
  rpddBitmap,
  rpddMetafile,
  rpddURL,
  rpddFiles,
};
using TRPDragDropFormats = uint8_t;
constexpr TRPDragDropFormats RPDragDropFormatBit(TRPDragDropFormat format) {
  return static_cast<TRPDragDropFormats>(1u << format);
}
inline constexpr TRPDragDropFormats rpddAllButURL = 0xFF & ~RPDragDropFormatBit(rpddURL);

// Where the caret tried to leave the document.
enum TRPGetOutDirection : uint8_t { rpdLeft, rpdUp, rpdRight, rpdDown, rpdTop, rpdBottom };
// What becomes of dropped files.
enum TRPDropFileAction : uint8_t { rpdfNone, rpdfInsert, rpdfLink };
// The drop effects a drag allows, as the platform's bits (copy 1, move 2, link 4).
using TRPOleDropEffects = uint8_t;

// Typed characters switch an 8-bit current text style to the default Unicode style
// even when its code page holds them (off: only characters outside it switch).
extern bool RPUnicodeKeyboardInput;

// Raised for TabNavigation other than rptnNone.
inline constexpr char errRPNotSupportedInEditor[] = "Not supported in editor";

// What the editor wants of the keys (the dialog code of a standard edit control).
using TRPDialogCode = uint8_t;
inline constexpr TRPDialogCode rpdcWantArrows = 0x01;
inline constexpr TRPDialogCode rpdcWantTab = 0x02;
inline constexpr TRPDialogCode rpdcWantAllKeys = 0x04;
inline constexpr TRPDialogCode rpdcWantChars = 0x08;

class TCustomRichPaneEdit : public TCustomRichPane, public IRPEditorControl, public IRPDropTargetControl {
public:
  explicit TCustomRichPaneEdit(TComponent* owner);
  // An editor whose document data is of a class derived from the editable data.
  TCustomRichPaneEdit(TComponent* owner, TDataFactory createData);
  ~TCustomRichPaneEdit() override;

  // --- Properties ---------------------------------------------------------------------
  TRPDragDropFormats AcceptDragDropFormats = rpddAllButURL;
  TRPEditorOptions EditorOptions = rpoEditorDefaults;
  bool Modified = false;

  // --- Events -------------------------------------------------------------------------
  std::function<void(TCustomRichPaneEdit* sender, TRPGetOutDirection direction)> OnCaretGetOut;
  TNotifyEvent OnChange;
  std::function<void(TCustomRichPaneEdit* sender, bool& canEdit)> OnChanging;
  TNotifyEvent OnCaretMove;
  TNotifyEvent OnCurParaStyleChanged;
  TNotifyEvent OnCurTextStyleChanged;
  // The dropped files (full paths), which the handler may change before they go in.
  std::function<void(TCustomRichPaneEdit* sender, std::vector<WideString>& files, TRPDropFileAction& fileAction,
                     bool& doDefault)>
      OnDropFiles;
  // Drag and drop over the editor (point in the root editor's client coordinates).
  std::function<void(TCustomRichPaneEdit* sender, const IDataObject& data, TShiftState shift, int32_t x, int32_t y,
                     TRPOleDropEffects possibleDropEffects, int32_t& dropEffect)>
      OnOleDragEnter;
  TNotifyEvent OnOleDragLeave;
  std::function<void(TCustomRichPaneEdit* sender, TShiftState shift, int32_t x, int32_t y,
                     TRPOleDropEffects possibleDropEffects, int32_t& dropEffect)>
      OnOleDragOver;
  std::function<void(TCustomRichPaneEdit* sender, const IDataObject& data, TShiftState shift, int32_t x, int32_t y,
                     TRPOleDropEffects possibleDropEffects, int32_t& dropEffect, bool& doDefault)>
      OnOleDrop;
  using TRPStyleConversionEvent = std::function<void(TCustomRichPaneEdit* sender, int32_t styleNo, int32_t userData,
                                                     bool appliedToText, int32_t& newStyleNo)>;
  TRPStyleConversionEvent OnParaStyleConversion;
  TRPStyleConversionEvent OnStyleConversion;
  std::function<void(TCustomRichPaneEdit* sender, bool& doDefault)> OnPaste;

  // --- Read-only, undo limit and tab navigation ------------------------------------------
  virtual bool ReadOnly() const { return FReadOnly; }
  // True: hyperlinks work (the data builds its hyperlink areas); false: hyperlink mode
  // ends. The innermost editor's caret follows; the control repaints.
  virtual void SetReadOnly(bool value);
  // The flag alone (a cell editor takes its host's).
  void SetReadOnlyFlag(bool value) { FReadOnly = value; }
  int32_t GetUndoLimit() const;
  void SetUndoLimit(int32_t value);
  // Only rptnNone: anything else raises ERichPaneError "Not supported in editor".
  void SetTabNavigation(TRPTabNavigationType value);

  // --- The editors of the nesting ------------------------------------------------------
  TRPEditRPData& EditData() const { return static_cast<TRPEditRPData&>(RPData()); }
  // The editor that edits in place at the deepest level (this one without a cell
  // editor), and the editor of the document's root data.
  TCustomRichPaneEdit& InnermostEditor();
  TCustomRichPaneEdit& RootEditor();

  // --- Change control --------------------------------------------------------------------
  // Whether the document may change now: false (with a beep) when read-only, without a
  // style sheet, while an item holds the mouse (unless force) or when OnChanging refuses.
  // When it may, live spelling stands still, an empty document gets its empty item and
  // the soft page breaks go.
  bool CanChangeDoc(bool force);
  // After a change: the item resizer follows the caret, the document is modified, soft
  // page breaks and hyperlink mode end, the redo list is cleared (clearRedo), OnChange
  // fires and live spelling goes on (or starts, rplspOnChange) outside group mode.
  void ChangeDoc(bool clearRedo);

  // --- Insertion commands (each through the insertion frame) ------------------------------
  void InsertText(const AnsiString& text, bool caretBefore = false);
  // UTF-16 text held as bytes (two a unit); switches to a Unicode text style first when
  // the current one is not.
  void InsertTextW(const AnsiString& rawText);
  void InsertTextW(const WideString& text);
  // A text file as 8-bit text; true without inserting when the frame refuses.
  bool InsertTextFromFile(const WideString& fileName);
  // One text item in the current text style with a tag; tabs become SpacesInTab spaces.
  bool InsertStringTag(const AnsiString& text, const TRPTag& tag);
  bool InsertTab();
  // A picture item that takes the graphic.
  bool InsertPicture(const AnsiString& name, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign);
  bool InsertRPFFromStream(TStream& stream);
  bool InsertRPFFromFile(const WideString& fileName);
  bool InsertRTFFromStream(TStream& stream);
  // The reader's base path is the file's folder meanwhile; false when the file cannot be
  // opened or the reader failed.
  bool InsertRTFFromFile(const WideString& fileName);
  void DeleteSelection();

  // --- Style commands ----------------------------------------------------------------------
  void ApplyTextStyle(int32_t styleNo);
  void ApplyParaStyle(int32_t paraNo);
  void ApplyStyleConversion(int32_t userData);
  void ApplyParaStyleConversion(int32_t userData);
  // Each style of the selection (a paragraph style; a text style unless protected, with
  // the paragraph's style lent to the template) becomes an equal style that takes
  // template templateNo of the style sheet (an index; negative: no template), added as a
  // non-standard style when the sheet has none.
  void ApplyParaStyleTemplate(int32_t templateNo);
  void ApplyTextStyleTemplate(int32_t templateNo, bool toWholeParagraphs);
  // The style that style styleNo (paraNo) becomes under a template.
  int32_t TextStyleFromTemplate(int32_t styleNo, int32_t templateNo, int32_t paraNo);
  int32_t ParaStyleFromTemplate(int32_t paraNo, int32_t templateNo);
  // Sets an extra integer property of an item as one undo group (AutoReformat: the
  // document is laid out again as the width of the item's paragraph requires).
  void SetItemExtraIntPropertyEd(int32_t itemNo, int32_t prop, int32_t value, bool autoReformat);

  // --- Undo and redo ----------------------------------------------------------------------
  void BeginUndoGroup(TRPUndoKind kind);
  void SetUndoGroupMode(bool on);
  void ClearUndo();
  virtual void Undo();
  virtual void Redo();
  bool CanUndo();
  bool CanRedo();

  // --- Current styles and the caret ----------------------------------------------------------
  int32_t GetCurTextStyleNo();
  int32_t GetCurParaStyleNo();
  // The current text style as the current paragraph style resolves it.
  int32_t GetActualCurTextStyleNo();
  int32_t GetCaretItemNo();
  int32_t GetCaretItemOffset();
  TCustomRPItemInfo* GetCurrentItem();

  // --- Keyboard --------------------------------------------------------------------------
  bool KeyDown(uint16_t key, TShiftState shift) override;
  bool KeyText(const WideString& text, TShiftState shift) override;
  void KeyUp(uint16_t key, TShiftState shift) override;
  // Tab and Shift+Tab come to the editor (instead of moving the focus) with rpoWantTabs.
  bool WantsTabs() const override { return (EditorOptions & rpoWantTabs) != 0; }
  // An 8-bit character (in the current text style's code page): true when taken.
  bool KeyPress(char key);
  // Switches to the style sheet's default Unicode style when the current text style is
  // not Unicode and that style is valid; whether the current style is Unicode now.
  bool EnsureUnicodeStyle();

  // --- What a standard edit control answers ---------------------------------------------------
  TRPDialogCode GetDialogCode() const;
  // Undo (result: whether it could), CanUndo, CanRedo, Redo when it can (result: whether
  // it could), delete the selection.
  bool EditUndo();
  bool EditCanUndo() { return CanUndo(); }
  bool EditCanRedo() { return CanRedo(); }
  bool EditRedo();
  void EditClear() { DeleteSelection(); }

  // --- Saving -------------------------------------------------------------------------------
  // The document (or its selection) as RTF, classic HTML or HTML with CSS; with the
  // document flag rpdfSaveJumps the hyperlinks are built around the writing so that the
  // writers see them although the editor does not show them.
  bool SaveRTFToStream(TStream& stream, bool selectionOnly);
  bool SaveHTMLToStream(TStream& stream, const TRPHTMLExportParams& params);
  bool SaveHTMLCSSToStream(TStream& stream, const TRPHTMLExportParams& params);

  // --- Focus -----------------------------------------------------------------------------
  void FocusEnter(bool byKeyboard, bool backward) override;
  void FocusExit() override;

  // Copies the viewer's handlers, then, from an editor, the editor's.
  void AssignEvents(const TCustomRichPane& source);
  void DoCaretMove() override;
  // Runs call once the current event is done, if this editor still lives then (at once
  // without a window): what an event handler may do then (close a cell's editor, free
  // the editor) cannot pull the ground from under the event being handled.
  void PostWhileAlive(std::function<void()> call);

  // --- The editable data's questions (RPEditorControl.h) ---------------------------------------
  bool GetReadOnly() const override { return ReadOnly(); }
  TRPEditorOptions GetEditorOptions() const override { return EditorOptions; }
  void SetModified(bool value) override { Modified = value; }
  void SetCurTextStyleNo(int32_t styleNo) override;
  void SetCurParaStyleNo(int32_t paraNo) override;
  bool CanChange() override { return CanChangeDoc(false); }
  // The change handling after an edit; a cell's editor in place tells its table too.
  void Change() override { ChangeDoc(true); }
  bool ConvertTextStyle(int32_t styleNo, bool appliedToText, int32_t& newStyleNo, int32_t userData,
                        int32_t paraNo) override;
  bool ConvertParaStyle(int32_t paraNo, int32_t userData, int32_t& newParaNo) override;
  void SetPointerCursor(TCursor cursor) override;

  // --- Clipboard (RPEditClipboard.cpp) --------------------------------------------------
  // Pasting takes the richest format the clipboard has: the native format, RTF, UTF-16
  // or 8-bit text, a picture. Each paste is one insertion command, so one undo step.
  // Whether the clipboard has text, a picture, RTF or the native format.
  bool CanPaste();
  // OnPaste first (it may take the paste); a failure beeps and leaves what went in as one
  // undo step.
  void Paste();
  void PasteText();
  void PasteTextW();
  // The clipboard's picture (the bitmap file form first, read as its headers say); with
  // textAsName the clipboard's text names it.
  void PasteBitmap(bool textAsName);
  // The clipboard's metafile picture (the enhanced form first; a Windows metafile without
  // a resolution taken at 1440 units per inch), shown at the metafile's size; with
  // textAsName the clipboard's text names it. False when none went in.
  bool PasteMetafile(bool textAsName);
  // The native format's document (its length cut to the block); false when none went in.
  bool PasteRPF();
  // RTF with the reader's base path taken from the clipboard's HTML source for the time
  // of the insertion; false when the clipboard has no RTF or it did not go in.
  bool PasteRTF();
  // Copies the selection and, when that succeeded and changes are allowed, deletes it.
  void CutSelection();
  bool HasRPFFormat();
  bool HasRTFFormat();
  // The folder of the page the clipboard's HTML came from: a file's folder (its path up
  // to and with the last "/"), or an http(s) URL up to its last "/"; empty when none.
  WideString GetSourceURLFromClipboard();
  // The clipboard shortcuts beside copying: cut (Ctrl+X, Shift+Delete with a selection)
  // and paste (Ctrl+V, Shift+Insert). True when the key was one.
  bool ClipboardKeyDown(uint16_t key, TShiftState shift);

  // --- Input methods and input languages (RPEditInputMethod.cpp) ------------------------
  // Text an input method settled on goes in at the caret (when changes are allowed);
  // what it composes meanwhile is only remembered (the method shows it).
  void InputMethodResult(const WideString& commit, const WideString& preedit);
  const WideString& InputMethodPreedit() const { return FPreedit; }
  // The font composed text shows in: the current text style's face and pixel height.
  bool GetCompositionFont(WideString& name, int32_t& heightPx);
  // Where composition may show: the client area less the margins and the current
  // paragraph's indents; and where it is: the caret (one pixel lower for Korean).
  TRect GetCompositionArea();
  TRect GetCompositionCursor(const TRect& caret);
  // The user switched input languages (charset: the new language's font character set):
  // with rpoAutoSwitchLang, a style sheet, a document and an 8-bit current text style,
  // the current text style becomes the equal style in that character set (added as a
  // non-standard style when the sheet has none). True when it was handled.
  bool InputLanguageChanged(uint8_t charset);

  // --- Drag and drop (RPEditDragDrop.cpp) --------------------------------------------------
  // The drop target of the editor's window, made when the window takes drops.
  void CreateDropTarget();
  TRPDropTarget* DropTarget() const { return FDropTarget.get(); }
  bool OleCanAcceptFormat(uint32_t format) override;
  bool OleDragEnter(int32_t x, int32_t y) override;
  bool OleDragOver(int32_t x, int32_t y) override;
  void OleDragLeave() override;
  int32_t OleDrop(const IDataObject& data, bool move, TShiftState keyState, const TPoint& point,
                  int32_t allowedEffects) override;
  bool IsDragFromThisControl() const override;
  // The drag that this editor's document started, else the one its root document (that
  // of the editor a cell's editor stands in) started; nullptr for a drag from elsewhere.
  TRPDropSource* OwnDragSource() const;
  void DoOleDragEnter(const IDataObject& data, TShiftState keyState, const TPoint& point, int32_t allowedEffects,
                      int32_t& effect) override;
  void DoOleDragOver(TShiftState keyState, const TPoint& point, int32_t allowedEffects, int32_t& effect) override;
  void ReleaseDropTarget() override {}

protected:
  // From now on the editor fires no events (its destruction began).
  void MarkDestroying() { FDestroying = true; }
  void DoVScrolled() override;
  void DoHScrolled() override;

private:
  // The insertion frame: refused with a beep while the data edits inside an item or text
  // may not go in at the caret, silently when changes are not allowed; else one undo
  // group of kind rpukInsert in group mode around insert, the selection deleted first,
  // Change afterwards (also when insert raises). False when refused.
  bool InsertFrame(const std::function<void()>& insert);
  void CloseInsertFrame();
  // A native (or RTF) document from the stream at the caret of the innermost editor.
  bool InsertDocument(TStream& stream, bool rtf);
  // The style-changed notifications (the root editor is the sender).
  void CurTextStyleChanged();
  void CurParaStyleChanged();
  // Undo and Redo: passed on to the cell editor that can, else (the cell editor closed
  // first, once the current event is done) played on this editor's data.
  void PlayUndo(bool redo);
  void PlayOwnUndo(bool redo);
  // Runs save with the hyperlinks built when rpdfSaveJumps asks for them.
  bool SaveWithJumps(const std::function<bool()>& save);
  // After scrolling the caret and the mouse follow.
  void AfterScroll();
  // A smart popup button shown in the document stands at the caret item of the
  // innermost editor.
  void AttachSmartPopupToCaret();
  // Keys of KeyDown by group.
  bool MovementKeyDown(uint16_t key, TShiftState shift);
  bool EditingKeyDown(uint16_t key, TShiftState shift);
  // One UTF-16 character (or several units) typed in a Unicode text style.
  void TypeUnicode(const WideString& text);

  // --- Pasting and dropping (RPEditClipboard.cpp, RPEditDragDrop.cpp) ---------------------
  // RTF from outside (pasted or dropped): the reader's base path is basePath meanwhile.
  bool InsertForeignRTF(TStream& stream, const WideString& basePath);
  // The drop's insertion: OnOleDrop, then the formats in order (only preferredFormat when
  // not 0; plainBitmap: a picture is read in its plain form); whether something went in
  // (or OnOleDrop took the drop), and the effect OnOleDrop left.
  bool InsertDrop(const IDataObject& data, uint32_t preferredFormat, bool plainBitmap, bool move, TShiftState keyState,
                  const TPoint& point, int32_t allowedEffects, int32_t& effect);
  // A drag from this editor: the first format of native, RTF, the selected bitmap,
  // Unicode text, text that this editor takes and the source offers, rendered into
  // prepared now; 0 when none (or it cannot be rendered).
  uint32_t PrepareOwnDrag(TRPDropSource& source, TDataObject& prepared);
  // A drop whose drop caret lies in a cell of a table of this document (itemNo, itemOffs in
  // the cell): the cell's editor opens with its caret there and inserts the drop; a move
  // first takes the dragged selection out of this document, and the two are one undo
  // step of this document. The drop's effect.
  int32_t DropIntoCell(TRPTableCellData& cell, int32_t itemNo, int32_t itemOffs, const IDataObject& data, bool move,
                       TShiftState keyState, const TPoint& point, int32_t allowedEffects);
  // One format of a drop; true when it went in.
  bool InsertDropFormat(const IDataObject& data, uint32_t format, bool plainBitmap);
  // The dropped files through OnDropFiles, then as pictures or by their extension.
  bool InsertDroppedFiles(const IDataObject& data);
  struct TDropFrame {
    bool Open = false;
    int32_t StartItemNo = -1, StartOffs = 0;
    bool StartWasText = false;
  };
  void OpenDropFrame(TDropFrame& frame);
  void CloseDropFrame(TDropFrame& frame);
  std::unique_ptr<TRPDropTarget> FDropTarget;
  WideString FPreedit;

  bool FReadOnly = false;
  bool FDestroying = false;
  // Expires with the editor: a queued call runs only while the editor lives.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  // A typed character asks whether the document may change (live spelling keeps its
  // pending word then).
  bool FTyping = false;
  // The conversion handler a style command runs with, or none (the control's events).
  std::function<bool(int32_t styleNo, bool appliedToText, int32_t userData, int32_t paraNo, int32_t& newStyleNo)>
      FTextConversion;
  std::function<bool(int32_t paraNo, int32_t userData, int32_t& newParaNo)> FParaConversion;
};

// The editor with its window: the window is the control to place on a form.
class TRichPaneEdit : public TCustomRichPaneEdit {
public:
  explicit TRichPaneEdit(TComponent* owner);
  TRichPaneEdit(TComponent* owner, TDataFactory createData);
  ~TRichPaneEdit() override;

  TRPWindow& Window() const { return *FWindow; }

private:
  std::unique_ptr<TRPWindow> FWindow;
};
