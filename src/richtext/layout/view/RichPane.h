// The rich view control: holds a document (RPControlData.h), its style sheet, a
// background and the layout properties (margins, text widths, options, flags), offers
// the document operations (clear, add, format) and paints the document into a canvas.
// It needs no display: the window that shows it is its scroller's host; mouse, keyboard,
// timer and window-text messages arrive with that host.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "richtext/layout/RPBackground.h"
#include "richtext/layout/view/RPAnimate.h"
#include "richtext/layout/view/RPControlData.h"
#include "richtext/layout/view/RPPopup.h"
#include "richtext/layout/view/RPScroller.h"
#include "richtext/layout/view/RPThread.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPLayoutInfo.h"

class TRPStyle;

inline constexpr TRPOptions rpoRichPaneDefaults =
    rpoAllowSelection | rpoScrollToEnd | rpoShowPageBreaks | rpoAutoCopyText | rpoAutoCopyRPF | rpoAutoCopyImage |
    rpoAutoCopyRTF | rpoFormatInvalidate | rpoDblClickSelectsWord | rpoRClickDeselects | rpoFastFormatting;

// The characters of a line break in the linear view of a document (RPLinearPositions.cpp).
extern int32_t RPLinearLineBreakLength;

// The document flag that lets the control answer the text-control messages.
inline constexpr TRPDocumentFlags rpdfTextMessages = 0x0800;

// The id of the auto-scroll timer (the host's timers).
inline constexpr uint32_t RPScrollTimerId = 1;

// The control's RTF import options (RTFReadProperties) are a class of the interchange
// formats, which come later in the build: that unit registers how to make them, and the
// control makes them on first use through it.
using TRPRTFReadPropertiesFactory = std::unique_ptr<TPersistent> (*)();
void SetRTFReadPropertiesFactory(TRPRTFReadPropertiesFactory factory);

// When live spelling starts: when the program calls StartLiveSpelling, or with the first
// change of an editor's document.
enum TRPLiveSpellingMode : uint8_t { rplspManualStart, rplspOnChange };

// Where a document shorter than the client area stands in it.
enum TRPDocVAlign : uint8_t { rpdvaTop, rpdvaCenter, rpdvaBottom };

// The control painted without a style sheet shows this, %s being the control's name.
inline constexpr const char* RPNoStyleText = "Style is not defined\rCreate a TRPStyle object and assign it to %s.Style";

// The word delimiters: space . ; , : ( ) { } " / \ < > ! ? [ ], the four typographic
// quotation marks of the 8-bit code page, - + * = and the no-break space.
inline const AnsiString RPDefaultDelimiters = " .;,:(){}\"/\\<>!?[]\x91\x92\x93\x94-+*=\xA0";

class TCustomRichPane : public TRPScroller {
public:
  explicit TCustomRichPane(TComponent* owner);
  ~TCustomRichPane() override;

  TColor Color = clNone;  // none: the style sheet's colour, or clWindow without one
  int32_t LeftMargin = 5, RightMargin = 5, TopMargin = 5, BottomMargin = 5;
  int32_t MinTextWidth = 0, MaxTextWidth = 0;
  AnsiString Delimiters = RPDefaultDelimiters;
  TRPOptions Options = rpoRichPaneDefaults;
  // The native format's and RTF's options, the native-format reader's warnings and style
  // read modes that the control's document answers.
  uint32_t RPFOptions =
      rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary | rpfoSaveDocProperties | rpfoLoadDocProperties;
  uint32_t RTFOptions = rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg;
  uint32_t RPFWarnings = 0;
  TRPFReaderStyleMode RPFTextStylesReadMode = rpf_sInsertMerge;
  TRPFReaderStyleMode RPFParaStylesReadMode = rpf_sInsertMerge;
  TRPDocumentFlags DocumentFlags = rpdfRichPaneDefaults;
  TRPDocVAlign DocVAlign = rpdvaTop;
  bool Visible = true;
  std::function<void(TCustomRichPane* sender, TCanvas& canvas, bool prepaint)> OnPaint;
  std::function<void(TCustomRichPane* sender, int32_t id)> OnJump;
  TNotifyEvent OnSelect;
  std::function<void(TCustomRichPane* sender, TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text,
                     TCustomRPData* rpData)>
      OnItemAction;
  std::function<void(TCustomRichPane* sender, TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item)>
      OnControlAction;
  // While the native format is read: the picture or image list the stream names (none:
  // the item has none).
  std::function<std::unique_ptr<TGraphic>(TCustomRichPane* sender, const AnsiString& name, const TRPTag& tag)>
      OnRPFPictureNeeded;
  std::function<TCustomImageList*(TCustomRichPane* sender, int32_t tag)> OnRPFImageListNeeded;
  // The control of a control item whose record holds no body, by its class name and item
  // name (none: the item has none).
  std::function<std::unique_ptr<TComponent>(TCustomRichPane* sender, const AnsiString& className,
                                            const AnsiString& name, const TRPTag& tag)>
      OnRPFControlNeeded;
  // The document properties that the native format carries with the document.
  TStringList DocProperties;
  // Exports: the host writes an item itself (clearing doDefault, with the text), writes a
  // control, gives a hyperlink's target and extra attributes, or saves a picture
  // (clearing doDefault, with the file name).
  std::function<void(TCustomRichPane* sender, const WideString& path, TCustomRPData& rpData, int32_t itemNo,
                     TRPSaveFormat format, bool unicode, AnsiString& text, bool& doDefault)>
      OnSaveItemToFile;
  std::function<void(TCustomRichPane* sender, const WideString& path, TComponent* component, TRPSaveFormat format,
                     AnsiString& text)>
      OnSaveComponentToFile;
  std::function<void(TCustomRichPane* sender, int32_t jumpNo, TCustomRPData& rpData, int32_t itemNo,
                     TRPSaveFormat format, AnsiString& target, AnsiString& extra)>
      OnWriteHyperlink;
  std::function<void(TCustomRichPane* sender, const TGraphic& graphic, TRPSaveFormat format, const WideString& path,
                     TColor backColor, WideString& fileName, bool& doDefault)>
      OnSaveImage2;
  // Exports: the host's RTF code for an area (object, row and col as the document's
  // SaveRTFExtra says), its HTML code for an area, its HTML code before (paraStart) or
  // after a paragraph, and where a picture of an HTML export goes (itemNo -1: the
  // background of rpData; clearing doDefault with location, which may stay empty to leave
  // the picture out).
  std::function<void(TCustomRichPane* sender, TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col,
                     bool inStyleSheet, AnsiString& rtfCode)>
      OnSaveRTFExtra;
  std::function<void(TCustomRichPane* sender, TRPHTMLSaveArea area, bool cssVersion, AnsiString& htmlCode)>
      OnSaveHTMLExtra;
  std::function<void(TCustomRichPane* sender, TCustomRPData& rpData, int32_t itemNo, bool paraStart, bool cssVersion,
                     AnsiString& htmlCode)>
      OnSaveParaToHTML;
  std::function<void(TCustomRichPane* sender, TCustomRPData& rpData, int32_t itemNo, const WideString& path,
                     TColor backColor, AnsiString& location, bool& doDefault)>
      OnHTMLSaveImage;
  // The mouse over the document: the cursor shown where nothing else asks for one; the
  // hyperlink under the mouse (its number, -1 on leaving it); presses and releases with
  // the item under the mouse (-1: none) and the document point; a double click and a
  // right click with the word under the mouse (the right click at a screen point); the
  // hint of the item under the mouse, which the handler may change; a copy just made,
  // with the clipboard still open.
  TCursor Cursor = crDefault;
  std::function<void(TCustomRichPane* sender, int32_t id)> OnRPMouseMove;
  using TRPMouseEvent = std::function<void(TCustomRichPane* sender, TMouseButton button, TShiftState shift,
                                           int32_t itemNo, int32_t x, int32_t y)>;
  TRPMouseEvent OnRPMouseDown;
  TRPMouseEvent OnRPMouseUp;
  std::function<void(TCustomRichPane* sender, const WideString& clickedWord, int32_t style)> OnRPDblClick;
  std::function<void(TCustomRichPane* sender, const WideString& clickedWord, int32_t style, int32_t x, int32_t y)>
      OnRPRightClick;
  std::function<void(TCustomRichPane* sender, TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint)>
      OnItemHint;
  TNotifyEvent OnCopy;
  // Imports: the picture at a location an imported document names (none: the import's
  // own loading); a hyperlink read from a format, whose style number (a text style, or
  // rpkindHotPicture for a picture), tag and item name the handler may change; the
  // progress of a long operation (percentDone 0 .. 100).
  std::function<void(TCustomRichPane* sender, const AnsiString& location, std::unique_ptr<TGraphic>& graphic)>
      OnImportPicture;
  std::function<void(TCustomRichPane* sender, const AnsiString& target, const AnsiString& extras,
                     TRPLoadFormat docFormat, int32_t& styleNo, TRPTag& itemTag, AnsiString& itemName)>
      OnReadHyperlink;
  std::function<void(TCustomRichPane* sender, TRPLongOperation operation, TRPProgressStage stage, int32_t percentDone)>
      OnProgress;
  // The address of hyperlink id that the document asks for; left empty, the link has none.
  std::function<void(TCustomRichPane* sender, int32_t id, AnsiString& url)> OnURLNeeded;

  // Live spelling asks whether word (8-bit text in the code page of its text style
  // styleNo) is misspelled. Called on the live-spelling thread: the handler must not touch
  // the user interface or the document.
  std::function<void(TCustomRichPane* sender, const AnsiString& word, int32_t styleNo, bool& misspelled)>
      OnSpellingCheck;
  // The same question in UTF-16: the words of Unicode text come whole through it (8-bit
  // text through OnSpellingCheck). When only one of the two is set, it hears every word,
  // 8-bit words converted from their style's code page and Unicode words to it; a Unicode
  // word that code page cannot hold is then not asked (nor marked).
  std::function<void(TCustomRichPane* sender, const WideString& word, int32_t styleNo, bool& misspelled)>
      OnSpellingCheckW;
  // The smart popup button was clicked.
  std::function<void(TCustomRichPane* sender, IRPSmartPopupButton* button)> OnSmartPopupClick;
  TRPLiveSpellingMode LiveSpellingMode = rplspManualStart;

  TRichPaneRPData& RPData() const { return *FData; }
  TCanvas& Canvas() { return FCanvas; }
  TRPBackground& Background() const { return *FBackground; }
  TRPStyle* Style() const { return FStyle; }
  // Watches the style sheet: when it is freed the control is left without one.
  virtual void SetStyle(TRPStyle* style);
  TBackgroundStyle BackgroundStyle() const { return FBackground->Style; }
  // Stores the style and applies the background: scrolling repaints everything when the
  // background needs it; the control repaints.
  void SetBackgroundStyle(TBackgroundStyle style);
  // A new direction lays the document out again.
  void SetBiDiMode(TRPBiDiMode value) override;
  // The document's items and the background take the new palette action.
  void SetDoInPaletteMode(TRPPaletteAction value) override;
  // After streaming: the background is applied and the document formatted.
  void Loaded() override;
  // Whether text styles are applied with the style sheet's own pixels per inch.
  virtual bool UsesStylePixelsPerInch() const { return false; }
  // The effective colour: Color, else the style sheet's, else clWindow.
  TColor EffectiveColor() const;

  // --- The document -------------------------------------------------------------------
  // Releases the formatting, then removes every item and checkpoint.
  void Clear();
  virtual void ClearFormatting();
  void AddItem(AnsiString name, std::unique_ptr<TCustomRPItemInfo> item) {
    FData->AddItem(std::move(name), std::move(item));
  }
  // One paragraph per line of 8-bit text, without a tag.
  bool AddTextNL(AnsiStringView text, int32_t styleNo, int32_t firstParaNo, int32_t paraNo) {
    return FData->AddMultilineText(text, styleNo, TRPTag(), paraNo, firstParaNo);
  }
  int32_t AddNamedCheckpoint(const AnsiString& name, bool raiseEvent, const TRPTag& tag) {
    return FData->AddCheckpoint(name, raiseEvent, tag);
  }
  int32_t GetItemCount() const { return FData->GetItemCount(); }
  TCustomRPItemInfo* GetItem(int32_t i) const { return FData->GetItem(i); }
  int32_t GetItemStyle(int32_t i) const { return FData->GetItemStyle(i); }
  bool IsFromNewLine(int32_t i) const { return FData->StartsNewLine(i); }
  int32_t GetItemStartOffset(int32_t i) const { return FData->GetItemStartOffset(i); }
  int32_t GetItemEndOffset(int32_t i) const { return FData->GetItemEndOffset(i); }
  // The item's integer property of that code (an rpip... constant); false when the item
  // has none of that code.
  bool GetItemExtraIntProperty(int32_t i, int32_t prop, int32_t& value) const {
    return FData->GetItemIntProperty(i, prop, value);
  }
  int32_t GetDocumentHeight() const { return FData->DocumentHeight; }

  // A whole new layout on the control's canvas; the control repaints. Nothing while
  // designing, with a small step of 0 or without a style sheet.
  void Format();
  // A new layout keeping the selection and the scroll position.
  void Reformat();
  // The client area changed size: a resize pass.
  void Resized(int32_t width, int32_t height);
  // The window's client area has this size now (its border and scroll bars left out): a
  // resize pass.
  void ClientResized(int32_t clientWidth, int32_t clientHeight);

  void Deselect() { FData->Deselect(true); }
  void SelectAll() { FData->SelectAll(); }
  void SetSelectionBounds(int32_t startItemNo, int32_t startOffs, int32_t endItemNo, int32_t endOffs) {
    FData->SetSelectionBounds(startItemNo, startOffs, endItemNo, endOffs);
  }
  bool SelectionExists() const { return FData->SelectionExists(false); }

  // The document as plain text, lines of lineWidth characters (80 for drag and drop):
  // 8-bit in the default code page, or UTF-16LE; false when writing failed.
  bool SaveTextToStream(TStream& stream, int32_t lineWidth) {
    return FData->SaveTextToStream({}, stream, lineWidth, false, false, false, false);
  }
  bool SaveTextToStreamW(TStream& stream, int32_t lineWidth) {
    return FData->SaveTextToStream({}, stream, lineWidth, false, true, false, false);
  }
  // How a picture of an HTML export of this control's document (its table cells'
  // included) is saved when the host's OnSaveImage2 leaves it to the default: the
  // document's own saving (TCustomRPData::SavePictureFile). A descendant may save
  // pictures its own way or name them after its own prefix.
  virtual WideString SavePictureFile(const WideString& path, const WideString& imagesPrefix, const TGraphic& graphic,
                                     int32_t& imgSaveNo, bool overwrite, TColor backColor);
  // Copies every event handler of source.
  void AssignEvents(const TCustomRichPane& source);

  // --- Live spelling (RPThread.h) ------------------------------------------------------
  // Checks the document from its start on a thread of its own (again from the start when
  // it runs already); misspelled words get marks (the style sheet's LiveSpellingColor).
  void StartLiveSpelling();
  // Ends the thread and waits for it; the marks stay.
  void StopLiveSpelling();
  TRPWordEnumThread* LiveSpellingThread() const { return FSpellingThread.get(); }
  // The document's changes bracket themselves with these (RPData.h): the thread stands
  // still between the first pause and the last resume, and goes on after a quiet delay.
  void PauseLiveSpelling();
  void ResumeLiveSpelling();
  // Checking goes on from offset of item itemNo of rpData when the thread has passed it.
  void LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset);
  // One character typed / count characters deleted at offset of item itemNo of rpData:
  // the item's marks follow; a marked word that changed, behind the thread, is checked
  // again (an unmarked one when RecheckModifiedWord is called).
  void AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch);
  void AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count);
  void RecheckModifiedWord(TCustomRPData& rpData, int32_t itemNo);
  // A sub-document goes away: the thread leaves it.
  void LiveSpellingCellFreed(TCustomRPData& cell);

  // --- Animation (RPAnimate.h) ---------------------------------------------------------
  TRPAnimationMode AnimationMode() const { return FAnimationMode; }
  // rpaniDisabled stops the animation and frees the animators.
  void SetAnimationMode(TRPAnimationMode mode);
  // Every strip picture of the nesting gets its animator and the timer starts (nothing
  // while animation is disabled).
  void StartAnimation();
  // The timer stops and the animators go.
  void StopAnimation();
  // The timer (RPAnimationTimerId) at the animators' smallest interval, when there are
  // animators.
  void StartAnimationTimer();

  // --- Smart popup (RPPopup.h) ---------------------------------------------------------
  // Made on first use.
  TRPSmartPopupProperties& SmartPopupProperties();
  bool HasSmartPopupProperties() const { return FSmartPopupProperties != nullptr; }
  // Shows the button at the end of item itemNo of rpData (a document of the control's
  // nesting), made by the window host; nothing without one.
  void ShowSmartPopup(TCustomRPFormattedData& rpData, int32_t itemNo);
  void HideSmartPopup() { FData->FreeSmartPopupButton(); }

  // --- The native format (RichPaneNativeFormat.cpp) ------------------------------------
  // The control's layout: margins, minimal and maximal text widths, direction.
  std::unique_ptr<TRPLayoutInfo> CreateLayoutInfo() const;
  // The layout read with a document comes back into the control (its margins, text widths
  // and direction).
  virtual void ApplyLayoutInfo(const TRPLayoutInfo& layout);
  // The document (or its selection) with the control's layout, background and colour;
  // false when writing failed.
  bool SaveRPFToStream(TStream& stream, TRPFSaveMode mode);
  // The document replaced by the stream's: the background record sets the control's
  // colour and background (with rpfoLoadBack), the layout record its layout (with
  // rpfoLoadLayout). False for a damaged stream, which changes nothing.
  bool LoadRPFFromStream(TStream& stream);
  // The stream's items inserted at index (its collections merged or mapped).
  bool InsertRPFFromStream(TStream& stream, int32_t index);

  // The RTF import options, made on first use through the registered class (nullptr
  // while no class is registered). Setting copies value into them, making them first;
  // nullptr frees them.
  virtual TPersistent* GetRTFReadProperties();
  void SetRTFReadProperties(const TPersistent* value);

  // --- Linear positions (RPLinearPositions.cpp) ----------------------------------------
  // The document as one flat text, the sub-documents of items (table cells) included, as
  // text-control messages address it. Every item that starts a line is preceded by a
  // line break of RPLinearLineBreakLength characters ("\r" when that is 1, else
  // "\r\n"); a text item counts its characters, a tab or any other item without
  // sub-documents one character ("\t" and a space), an item with sub-documents the text
  // of each sub-document and one line break after the last. Linear positions count from
  // the end of the document's first line break, so the text starts with the first item.
  //
  // The position of caret position (itemNo, itemOffset) of targetRPData, searched in
  // rpData and its sub-documents, in pos: counted from the start of rpData, its first
  // line break included (a linear position plus the line-break length). False when
  // targetRPData is not found.
  static bool GetLinearPosition(TCustomRPData& rpData, const TCustomRPData* targetRPData, int32_t& pos,
                                int32_t itemOffset, int32_t itemNo);
  // The caret position (foundRPData, itemNo, offset) at linear position pos of rpData;
  // pos is used up on the way. False when pos lies past the end.
  static bool LinearToCaret(TCustomRPData& rpData, int32_t& pos, int32_t& offset, int32_t& itemNo,
                            TCustomRPData*& foundRPData);
  // The selection of the innermost document that holds it as linear positions: length
  // is negative when the selection runs backwards; 0, 0 without a selection.
  void GetLinearSelection(int32_t& start, int32_t& length);
  // Selects from start to start + length when both lie in one document; else nothing.
  void SetLinearSelection(int32_t start, int32_t length);
  // length characters from start (all that follow with a negative length; none with 0).
  WideString GetLinearText(int32_t start, int32_t length);
  int32_t GetLinearTextLength();

  // --- The text-control messages (RichPaneText.cpp) -----------------------------------
  // What a text control answers about its text, in linear positions, while the document
  // flag rpdfTextMessages is set and the control is not being destroyed (otherwise false,
  // 0 or nothing, as a window that knows none of them answers).
  // The selection's ends, the smaller first (0, 0 without a selection).
  bool GetSel(int32_t& start, int32_t& end);
  // Selects start .. end (end -1: to the end of the text) and repaints.
  bool SetSel(int32_t start, int32_t end);
  // The text from start to end (-1: to the end); its length.
  int32_t GetTextRange(int32_t start, int32_t end, WideString& text);
  // Up to size - 1 characters of the whole text and a terminating zero into buffer; the
  // characters copied (0 for an empty document, and nothing copied when size < 1).
  int32_t GetTextBuf(WideChar* buffer, int32_t size);
  int32_t GetTextLen();
  // The document becomes the 8-bit text, a paragraph per line in text style 0 and
  // paragraph style 0, and is formatted.
  bool SetTextBuf(AnsiStringView text);

  // Paints the part clip of the view: without a style sheet the "Style is not defined"
  // text, else the document through its buffered painting, then OnPaint.
  void Paint(TCanvas& canvas, const TRect& clip);
  // Selecting with the mouse outside the client area scrolls by itself: a pointer at
  // (x, y) of the client area sets the step of each axis (-10 more than 20 pixels
  // before the area, -1 up to 20 before it, +1 and +10 after it, 0 inside); each tick of
  // the host's auto-scroll timer scrolls by them (units vertically, pixels horizontally).
  void RecordAutoScroll(int32_t x, int32_t y);
  void AutoScrollTick();
  // The auto-scroll timer (id RPScrollTimerId): every 100 milliseconds, slow: 300.
  void StartScrollTimer(bool slow);
  void StopScrollTimer();
  int32_t AutoScrollStepX() const { return FAutoScrollX; }
  int32_t AutoScrollStepY() const { return FAutoScrollY; }

  // Refused (nothing changes) when not positive, or when the vertical bar is visible and
  // the document height would need more than 32000 units.
  void SetVSmallStep(int32_t value) override;

  // --- The window's input (RichPaneInput.cpp) ----------------------------------------
  // What the window host hands on: points are client coordinates. A left press starts
  // the auto-scroll timer and a left release stops it; the document handles the rest
  // (RPFormattedData.h).
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void DblClick();
  // The mouse left the window.
  void MouseLeave();
  // A mouse move at the mouse's position with the keys and buttons held now.
  void GenerateMouseMove();
  // A timer of the host fired: the auto-scroll timer scrolls by the recorded steps and
  // extends the selection to the mouse.
  virtual void TimerTick(uint32_t id);
  // A key went down: the scrolling keys, Ctrl+C and Ctrl+Insert (copy), Tab and Shift+Tab
  // (or with Ctrl, per TabNavigation) among the focusable items, Enter on a focused item.
  // True when the key was used.
  virtual bool KeyDown(uint16_t key, TShiftState shift);
  // The text a key typed (UTF-16) when KeyDown left the key, and a key's release; the
  // view takes neither (an editor does).
  virtual bool KeyText(const WideString& /*text*/, TShiftState /*shift*/) { return false; }
  virtual void KeyUp(uint16_t /*key*/, TShiftState /*shift*/) {}
  // Whether the view takes Tab keys from the form (tab navigation is on).
  virtual bool WantsTabs() const;
  // The focus arrived (by the keyboard: Tab, backward: Shift+Tab) or left; with tab
  // navigation a keyboard arrival focuses the first (last) focusable item.
  virtual void FocusEnter(bool byKeyboard, bool backward);
  virtual void FocusExit();
  // Ctrl+C or Ctrl+Insert without Alt.
  static bool IsCopyShortcut(uint16_t key, TShiftState shift);
  // Copies the selection in every format the options enable, with the effective colour
  // and background; false when nothing was copied.
  bool CopySelection();
  // The graphic of the one picture item the selection covers, or nullptr.
  TGraphic* GetSelectedImage() { return FData->GetSelectedImage(); }
  // Follows the focused item (Enter).
  void ExecuteFocusedItem() { FData->ExecuteFocusedItem(); }

protected:
  // The document drops its selection when the control, an editor in place, is forgotten.
  void DeselectForInplaceEditor() override;

  using TDataFactory = std::unique_ptr<TRichPaneRPData> (*)(TCustomRichPane& control);
  // The constructor of a control whose document is of another class.
  TCustomRichPane(TComponent* owner, TDataFactory createData);
  void Notification(TComponent* component, TOperation operation) override;
  void Repaint();
  // The smart popup button follows the document.
  void DoVScrolled() override;
  void DoHScrolled() override;

private:
  // The layout pass after a change of size.
  void ResizePass();
  // A step of the animation timer: the animators advance; the timer follows their
  // smallest interval and stops when none is left.
  void AnimationTick();
  // After an edit of item itemNo of rpData (the walk paused): a dropped mark behind the
  // walk has the item checked again, skipping the words still marked; another change
  // behind it is remembered for RecheckModifiedWord.
  void WordMarksAdjusted(TCustomRPData& rpData, int32_t itemNo, bool markDropped);
  // The animation timer stops when it runs (the host is not asked otherwise: it may be
  // gone while the control is destroyed).
  void StopAnimationTimer();
  TCanvas FCanvas;
  std::unique_ptr<TRPBackground> FBackground;
  TRPStyle* FStyle = nullptr;
  // Before the document, which refers to them while it goes.
  std::unique_ptr<TRPSmartPopupProperties> FSmartPopupProperties;
  TRPAnimationMode FAnimationMode = rpaniManualStart;
  std::unique_ptr<TRichPaneRPData> FData;
  // After the document: it ends (and is joined) first.
  std::unique_ptr<TRPWordEnumThread> FSpellingThread;
  int32_t FSpellingPauses = 0;
  int32_t FAutoScrollX = 0, FAutoScrollY = 0;
  std::unique_ptr<TPersistent> FRTFReadProperties;
};
