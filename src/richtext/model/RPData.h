// The rich-text document: an ordered list of items, each with its text in stored form
// (RPUnicode.h), bound to a text or item style number and a paragraph style number of a
// style sheet, with line and paragraph flags, a chain of checkpoints and a tag.
//
// A paragraph is a run of items in which every item after the first continues the line
// (rpioContinuesLine) or starts a new line inside the paragraph (rpioLineBreakBefore).
// This class holds no layout; formatting and painting derive from it. Item indexes are
// 0-based; the accessors that say so raise for a bad index, the others expect a valid
// one. Text positions inside an item are 1-based.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/StringLists.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPExportAreas.h"
#include "richtext/model/RPFDocumentFormat.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPMarkerList.h"
#include "richtext/model/RPPaletteAction.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/model/RPTag.h"

class IRPItemControl;
class IRPControlParent;

enum TRPItemAction { rpiaInserting, rpiaInserted, rpiaTextModifying, rpiaDestroying, rpiaMovingToUndoList };
enum TRPControlAction { rpcaDestroy, rpcaMoveToUndoList, rpcaMoveFromUndoList, rpcaBeforeRPFSave, rpcaAfterRPFSave };

// The formats an export writes an item or a control in (the host may write it itself).
enum TRPSaveFormat : uint8_t { rpsfText = 0, rpsfHTML = 1, rpsfRTF = 2 };

// The long operations that report their progress to the host, and the stages of one.
enum TRPLongOperation : uint8_t { rploReadRTF };
enum TRPProgressStage : uint8_t { rpprStarting, rpprRunning, rpprEnding };

// What became of the first item of a native-format read (InsertFirstRPFItem).
enum TRPFFirstItemFate : uint8_t {
  rpffInserted,  // it stands in the document, just before the index the read goes on at
  rpffDropped,   // it was freed, and the read goes on: the next item read is its first
  rpffRefused    // it was freed, and the read fails
};

// Document options that this class reads; the control-bound document keeps the rest of
// its control's set.
using TRPOptions = uint32_t;
inline constexpr TRPOptions rpoTagsArePChars = 0x01;  // tags are owned strings
inline constexpr TRPOptions rpoShowItemHints = 0x02;
// Read by formatting and painting (the control keeps them for its document).
inline constexpr TRPOptions rpoClientTextWidth = 0x04;        // wrap at the client width, not MaxTextWidth
inline constexpr TRPOptions rpoShowSpecialCharacters = 0x08;  // spaces, soft hyphens and paragraph marks shown
inline constexpr TRPOptions rpoShowCheckpoints = 0x10;
inline constexpr TRPOptions rpoShowPageBreaks = 0x20;
inline constexpr TRPOptions rpoScrollToEnd = 0x80;  // a pass over appended items scrolls to the end

// State flags: set while the document is being cleared.
inline constexpr uint32_t rpstClearing = 0x80;
// Set while a table cell's content is read from its data property: its items are told
// that loading has ended only when the table's reading ends.
inline constexpr uint32_t rpstReadingCellData = 0x100;
// Set on a cell whose content a write of selected cells leaves out (it is not selected).
inline constexpr uint32_t rpstNoDataProperty = 0x200;

class TRPLayoutInfo;
class TRPBackground;
class TRPMarkerList;

class TCustomRPData : public TPersistent {
public:
  TCustomRPData();
  ~TCustomRPData() override;
  TCustomRPData(const TCustomRPData&) = delete;
  TCustomRPData& operator=(const TCustomRPData&) = delete;

  // --- Answers of the document's place in a nesting (overridden by the control-bound
  // document and by sub-documents) -------------------------------------------------
  virtual TRPOptions GetOptions() const;
  virtual void SetOptions(TRPOptions options);
  bool TagsArePChars() const { return (GetOptions() & rpoTagsArePChars) != 0; }
  // The native format's and RTF's options (rpfo..., rprtf...), the warnings of the last
  // native-format read (rpfw...) and how it takes style collections: the root's (the
  // control-bound document answers its control's). The root of this class keeps its own:
  // no options, no warnings, collections merged.
  virtual uint32_t GetRPFOptions() const;
  virtual void SetRPFOptions(uint32_t options);
  virtual uint32_t GetRTFOptions() const;
  virtual void SetRTFOptions(uint32_t options);
  virtual uint32_t GetRPFWarnings() const;
  virtual void SetRPFWarnings(uint32_t warnings);
  virtual TRPFReaderStyleMode GetRPFTextStylesReadMode() const;
  virtual TRPFReaderStyleMode GetRPFParaStylesReadMode() const;
  // The palette state pictures are drawn with: the root's. This platform draws on
  // true-colour devices only, so no palette is ever realized: the root of this class has
  // none and does nothing with palette copies.
  virtual HPALETTE GetRPPalette() const;
  virtual const TLogPalette* GetRPLogPalette() const;
  virtual TRPPaletteAction GetDoInPaletteMode() const;
  // Passes the palette state to every item (nothing when the items are shared).
  void UpdateItemsPalette();
  // The style sheet: the parent's, nullptr at the top of this class.
  virtual const IRPStyleSheet* GetRPStyle() const;
  virtual TCustomRPData* GetParentData() const { return nullptr; }
  virtual TCustomRPData* GetRootData() { return this; }
  virtual TCustomRPData* GetAbsoluteParentData() const { return nullptr; }
  virtual TCustomRPData* GetAbsoluteRootData() { return this; }
  virtual TCustomRPData* GetRPData() { return this; }
  virtual TCustomRPData* GetSourceRPData() { return this; }
  // Where this document stands in its parent: the index of the item that holds it and
  // the location inside that item; -1 and none at the top (this class).
  virtual int32_t GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const;
  // The word delimiters of the root control; the root of this class has none.
  virtual AnsiString GetDelimiters() const;
  // Notification of what happens to an item; nothing in this class.
  virtual void ItemAction(TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text);
  // Tells the host that something happens to a control item; nothing in this class.
  virtual void ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item);
  // ControlAction for a control item (rpkindControl); nothing for other items.
  void NotifyControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item);
  // The window that the controls of control items stand in: the absolute root's (the
  // control-bound document answers its view's window); none at the root of this class.
  virtual IRPControlParent* GetParentControl();
  // The marker list of the nesting, kept by the absolute root; with create, made when
  // absent (nullptr while no list-marker unit provides one).
  virtual IRPMarkerList* GetMarkers(bool create);
  void DestroyMarkers();
  // Takes the list marker at itemNo into the marker list (after the nearest marker before
  // it in document order) and renumbers its list from there; nothing when it is there.
  void AddMarkerToList(int32_t itemNo);
  // Lets the marker go from the marker list (the list is freed when it becomes empty)
  // and renumbers the later markers of its list.
  void RemoveMarkerFromList(TCustomRPItemInfo& marker);
  // Renumbers the list of the marker at itemNo from it on (after its restart changed).
  void UpdateMarkerCountersFrom(int32_t itemNo);
  // The nearest list marker before item itemNo in document order: backwards in this
  // document (inside the sub-documents of earlier items, the last first), then in the
  // documents that hold this one, before it. nullptr when there is none.
  TCustomRPItemInfo* FindPrevMarker(int32_t itemNo);
  // The index in the marker list of the last marker after index whose list style is one
  // of listNos; -1 when none (or without a marker list).
  int32_t FindLastMarkerOfLists(int32_t index, const TRPIntegerList& listNos);
  // Follows the hyperlink jumpId of one of its items; the formatted document does it
  // (with its jump base), a plain one has nothing to follow.
  virtual void ExecuteItemJump(int32_t) {}
  // Whether the document keeps page breaks that added text asks for.
  virtual bool AcceptsPageBreaks() const { return true; }
  // While the native format is read: the picture and the image list the stream names,
  // as the host supplies them (asked of the absolute root; none at the root of this
  // class).
  virtual std::unique_ptr<TGraphic> RPFPictureNeeded(const AnsiString& name, const TRPTag& tag);
  virtual TCustomImageList* RPFImageListNeeded(int32_t tag);
  // The control a control item names when its record holds no body (its class name and
  // item name), as the host supplies it (asked of the absolute root; none at the root
  // of this class).
  virtual std::unique_ptr<TComponent> RPFControlNeeded(const AnsiString& className, const AnsiString& name,
                                                       const TRPTag& tag);
  // The markers of the document part before this one, which a document continuing a list
  // keeps (read from a dragged selection's marker record); none in this class.
  virtual TRPMarkerList* GetPrevMarkerList() { return nullptr; }
  // The document properties that the native format carries: the root's list (the root of
  // this class keeps its own; the control-bound document hands out its control's).
  virtual TStrings* GetDocProperties();
  // Whether the native format writes style collections outside the clipboard form: the
  // root's flag (true at the root of this class; the control-bound document answers its
  // control's).
  virtual bool GetRPFStylesSaving() const;
  virtual void SetRPFStylesSaving(bool value);
  // Sounds the message beep when the style sheet's UseSound is on (a refused action).
  void Beep() const;

  // --- Live spelling -------------------------------------------------------------------
  // A live-spelling thread (the view's, RPThread.h) reads the items of the whole nesting
  // while it runs. Every change of the items is bracketed: PauseLiveSpelling returns once
  // the thread stands still between two words, ResumeLiveSpelling lets it go on (after
  // the last of nested pauses); positions changed meanwhile are reported with
  // LiveSpellingResetFrom. Each is asked of the absolute parent, up to the nearest view
  // (a document with no parent answers that nothing checks the spelling).
  virtual void PauseLiveSpelling();
  virtual void ResumeLiveSpelling();
  // Checking goes on from character offset of item itemNo of rpData (a document of this
  // nesting) when the thread has passed it.
  virtual void LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset);
  // One character ch was typed at offset of item itemNo of rpData / count characters were
  // deleted there: the item's word marks follow, and a changed word that the thread has
  // passed is checked again.
  virtual void AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch);
  virtual void AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count);
  // The sub-document cell (a table's cell) goes away: the thread must not stay in it.
  virtual void LiveSpellingCellFreed(TCustomRPData& cell);
  // LiveSpellingCellFreed for every sub-document of item, at any depth.
  void LiveSpellingItemFreed(TCustomRPItemInfo& item);

  // --- Item sharing ------------------------------------------------------------------
  // Whether this document uses the item list of another (false in this class). A
  // document that shares never frees, clears or deletes items.
  virtual bool ItemsShared() const { return false; }
  // When this document shares items: Clear, then use source's item list.
  void ShareItemsFrom(TCustomRPData& source);
  // Uses source's item list from now on, without copying or clearing anything.
  void UseItemListOf(TCustomRPData& source);
  // Runs every item's Inserting hook against rpData, keeping the text it gives back.
  void NotifyItemsAdding(TCustomRPData* rpData, bool safe);
  // --- Items -------------------------------------------------------------------------
  int32_t GetItemCount() const { return static_cast<int32_t>(FItems->size()); }
  TCustomRPItemInfo* GetItem(int32_t i) const { return (*FItems)[static_cast<size_t>(i)].Item.get(); }
  int32_t IndexOfItem(const TCustomRPItemInfo* item) const;
  int32_t GetItemStyle(int32_t i) const { return ResolveItemStyle(*GetItem(i)); }
  int32_t ResolveItemStyle(const TCustomRPItemInfo& item) const;
  int32_t ResolveStyleNo(int32_t styleNo, int32_t paraNo) const;
  int32_t GetItemPara(int32_t i) const { return GetItem(i)->ParaNo; }
  const TRPTag& GetItemTag(int32_t i) const { return GetItem(i)->Tag; }
  TRPItemOptions GetItemOptions(int32_t i) const { return GetItem(i)->ItemOptions; }
  TRPCPInfo* GetItemCheckpoint(int32_t i) const { return GetItem(i)->Checkpoint.get(); }
  // True when the item is no continuation of the line (a paragraph or line start).
  bool StartsNewLine(int32_t i) const { return !GetItem(i)->GetContinuesLine(); }
  bool StartsParagraph(int32_t i) const { return GetItem(i)->StartsParagraph(); }
  // Bit rpioPageBreakBefore of item i, or of the list marker right before it. Both raise
  // ERichPaneError "Item index is out of bounds" outside 0 .. count - 1.
  bool GetPageBreakBefore(int32_t i) const;
  void SetPageBreakBefore(int32_t i, bool value);
  // Item i as T; raises ERichPaneError "Can't get or set this kind of information for
  // this item" when it is no T.
  template <typename T>
  T& CheckItemClass(int32_t i) const;
  bool GetItemIntProperty(int32_t i, int32_t code, int32_t& value) const;
  // The index of the item that holds control (a table answers for its cells); -1 when
  // none does.
  int32_t FindControlItem(const TComponent* control) const;

  // --- Text --------------------------------------------------------------------------
  const AnsiString& GetItemTextRaw(int32_t i) const { return (*FItems)[static_cast<size_t>(i)].Text; }
  // A new text of item i: its live-spelling marks go and it is checked again.
  void SetItemTextRaw(int32_t i, AnsiString text);
  // A new text of item i after an edit whose caller moves the item's live-spelling marks
  // with the text (AdjustSpellingOnInsert): the marks stay and live spelling is not sent
  // back to the item's start, so the item's other words keep their marks.
  void SetItemTextKeepingMarks(int32_t i, AnsiString text);
  // 8-bit text; a Unicode text item is converted with its style's code page.
  AnsiString GetItemTextA(int32_t i) const;
  // UTF-16; 8-bit text converted with its style's code page.
  WideString GetItemTextW(int32_t i) const;
  // The stored form that item i needs for a UTF-16 string.
  AnsiString WideToItemText(int32_t i, WideStringView text) const;
  void SetItemTextW(int32_t i, WideStringView text) { SetItemTextRaw(i, WideToItemText(i, text)); }
  // Caret length: characters of a text item, 1 for any other item.
  int32_t GetItemLength(int32_t i) const;
  int32_t GetItemStartOffset(int32_t i) const { return IsTextItem(i) ? 1 : 0; }
  int32_t GetItemEndOffset(int32_t i) const { return IsTextItem(i) ? GetItemLength(i) + 1 : 1; }
  // The neighbouring character position (a surrogate pair is one character).
  int32_t GetNextCharPos(int32_t i, int32_t position) const;
  int32_t GetPrevCharPos(int32_t i, int32_t position) const;
  bool IsDelimiterA(char ch) const;
  bool IsDelimiterW(WideChar ch) const;
  bool IsDelimiterAt(int32_t i, int32_t position) const;
  bool IsTextItem(int32_t i) const { return GetItem(i)->StyleNo >= 0; }

  // Code page of a text style's charset; the style sheet's DefCodePage for the default
  // charset or a negative style; 0 without a style sheet.
  uint32_t GetStyleCodePage(int32_t styleNo) const;
  uint32_t GetDefaultCodePage() const;
  uint32_t GetStyleLocale(int32_t styleNo) const;
  // The document's default direction: the root's; unspecified at the top of this class
  // (the control-bound document answers its control's).
  virtual TRPBiDiMode GetBiDiMode() const;
  // The text style's direction; when unspecified (and for non-text items) the paragraph
  // style's, then the document's.
  TRPBiDiMode GetItemBiDiMode(int32_t i) const;
  TRPBiDiMode GetParaBiDiMode(int32_t paraNo) const;
  // False only when the style is RTF code and not HTML code; true without a style sheet.
  bool IsStyleHTMLWritable(int32_t styleNo) const;

  // --- Adding ------------------------------------------------------------------------
  // A style below 0 means the paragraph's default style; paragraph -1 continues the
  // current paragraph.
  void AddItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  // Appends keeping the item's flags and paragraph number.
  void AddItemAsIs(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  void AddTextKeepTabs(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo);
  void AddTextExpandTabs(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo);
  void AddRawText(AnsiString text, int32_t styleNo, int32_t paraNo);
  void AddAnsiTextKeepTabs(AnsiStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo);
  void AddAnsiText(AnsiStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo);
  void AddRawUnicodeText(AnsiStringView raw, int32_t styleNo, TRPTag tag, int32_t paraNo);
  void AddTextW(WideStringView text, int32_t styleNo, TRPTag tag, int32_t paraNo);
  // A picture item that owns graphic, with name as its text, through AddItem (so a
  // pending checkpoint goes to it).
  void AddPictureTag(AnsiString name, std::unique_ptr<TGraphic> graphic, int32_t paraNo, TRPVAlign vAlign, TRPTag tag);
  void AddPicture(AnsiString name, std::unique_ptr<TGraphic> graphic, int32_t paraNo, TRPVAlign vAlign);
  // One paragraph per line of 8-bit text; false when adding failed (the items added
  // before stay).
  bool AddMultilineText(AnsiStringView text, int32_t styleNo, const TRPTag& tag, int32_t paraNo, int32_t firstParaNo);
  // The pending checkpoint that the next added item takes; its number.
  int32_t AddCheckpoint(const AnsiString& name, bool raiseEvent, const TRPTag& tag);
  void SetAddParagraphs(bool value) { FAddParagraphs = value; }
  bool GetAddParagraphs() const { return FAddParagraphs; }
  // Inserts at index (0 .. count) with the item's hooks and registers a list marker;
  // true.
  virtual bool InsertItem(int32_t index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  // Moves every item of source to the end of this document. Raises ERichPaneError
  // "Can't assign RichPane to RichPane - tags types mismatch" when the tag kinds differ.
  void AppendItemsFrom(TCustomRPData* source);

  // --- Ranges and paragraphs ---------------------------------------------------------
  int32_t GetParaStartItem(int32_t i) const;
  int32_t GetLineStartItem(int32_t i) const;
  void ExpandToParagraphs(int32_t& first, int32_t& last) const;
  void ExpandToLines(int32_t& first, int32_t& last) const;
  int32_t ClampItemIndex(int32_t i) const;
  void UnifyParagraphStyle(int32_t i);
  // Calls back for every item, and after each item for the items of its sub-documents
  // (of the documents that hold their items now: GetRPData), depth first; stops when the
  // callback clears its flag. Returns the flag.
  using TRPEnumItemsProc = std::function<void(TCustomRPData& data, int32_t itemNo, bool& goOn)>;
  bool EnumItems(const TRPEnumItemsProc& proc);
  // proc for each sub-document of item, while it answers true; false when it stopped.
  static bool ForEachSubDocument(TCustomRPItemInfo& item, const std::function<bool(TCustomRPData&)>& proc);
  // Index at or after start of the item that is item or holds it at any depth; -1.
  int32_t IndexOfItemDeep(int32_t start, const TCustomRPItemInfo* item);
  // Orders item itemNo of this document against item otherItemNo of other, through the
  // documents that hold them: negative, 0 or positive. Raises ERichPaneError "Error when
  // comparing positions in the document" when they share no document.
  int32_t ComparePositions(int32_t itemNo, TCustomRPData* other, int32_t otherItemNo);

  // --- Checkpoints ---------------------------------------------------------------------
  TRPCPInfo* GetFirstCheckpoint() const { return FFirstCP; }
  TRPCPInfo* GetLastCheckpoint() const { return FLastCP; }
  TRPCPInfo* GetPendingCheckpoint() const { return FNotAddedCP.get(); }
  int32_t GetCheckpointCount() const { return FCPCount; }
  // Links the pending checkpoint, if any, to item after `after` (nullptr: first).
  void LinkPendingCheckpoint(TCustomRPItemInfo& item, TRPCPInfo* after);
  // Takes the checkpoint out of the chain (its item keeps it).
  void UnlinkCheckpoint(TRPCPInfo& checkpoint, bool decrementCount);
  // Unlinks (when asked) and frees the item's checkpoint.
  void FreeCheckpoint(TCustomRPItemInfo& item, bool unlink, bool decrementCount);
  void RefreshCheckpointIndexes();
  // The last checkpoint on an item before i; nullptr when none.
  TRPCPInfo* FindCheckpointBefore(int32_t i);
  // Links the item's checkpoint after the last checkpoint of an earlier item.
  void LinkCheckpointInOrder(TRPCPInfo& checkpoint, int32_t itemNo);
  // Gives checkpoint to item itemNo (which has none), linked in item order and counted;
  // itemNo -1: it becomes the pending checkpoint at the document's end.
  void AttachCheckpoint(int32_t itemNo, std::unique_ptr<TRPCPInfo> checkpoint);
  // Takes the checkpoint of item itemNo (-1: the pending one) out of the chain and the
  // count and hands it over; nullptr when there is none.
  std::unique_ptr<TRPCPInfo> DetachCheckpoint(int32_t itemNo);

  // --- Deleting ------------------------------------------------------------------------
  virtual void DeleteItems(int32_t index, int32_t count);
  // Frees item i (its hooks run first); the entry stays, empty.
  void FreeItemAt(int32_t i, bool clearing);
  // Takes item i out of the list without freeing it (an undo list keeps it): its entry is
  // removed without its hooks, text receives its stored text, its checkpoint, which it
  // keeps, leaves the document's chain (and count), and a list marker (or those inside
  // it) leaves the marker list. Nothing for an index outside 0 .. count - 1 or when the
  // items are shared.
  std::unique_ptr<TCustomRPItemInfo> DetachItem(int32_t i, AnsiString& text);
  virtual void FreeItem(std::unique_ptr<TCustomRPItemInfo> item, bool clearing);
  virtual void Clear();
  uint32_t GetState() const { return FState; }
  void SetStateFlag(uint32_t flag, bool on) { FState = on ? FState | flag : FState & ~flag; }

  // --- The native format (through the installed IRPFDocumentFormat) --------------------
  // The document (mode rpfsmDocument) or its selection in the native format; layout and
  // background go with it as the options say. False when anything failed (what was
  // written stays in the stream) or no format is installed. An empty document writes
  // nothing and counts as written.
  bool SaveRPFToStream(TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout, const TRPBackground* background,
                       TColor color);
  // The common reader: the rest of stream at index (clamped to the item count, moved past
  // what was inserted), as the request says. color receives the background record's
  // colour. False for a damaged stream, which changes nothing.
  bool ReadRPFFromStream(TStream& stream, int32_t& index, const TRPFReadRequest& request, TColor& color);
  // At index, not in the editor's insertion mode; load: the stream's collections,
  // layout, properties and markers replace the document's.
  bool InsertRPFFromStream(TStream& stream, int32_t index, bool load, TRPBackground* background, TColor& color,
                           TRPLayoutInfo* layout);
  // The document emptied and read from stream with the load flag (emptied only when the
  // stream was read whole).
  bool LoadRPFFromStream(TStream& stream, TRPBackground* background, TColor& color, TRPLayoutInfo* layout);
  // The data property of a table cell: a 4-byte length, then the document in the native
  // format (rpfoSaveBack off meanwhile, no layout, no background). Reading raises
  // EReadError for damaged data (the document stays as it was); both raise
  // ERichPaneError when no format is installed.
  void WriteRPFDataProperty(TStream& stream);
  void ReadRPFDataProperty(TStream& stream);

  // --- What the native-format reader asks of the document --------------------------------
  // Puts the first item read at index and moves index past it. The editor's document puts
  // it at its caret instead (index then follows it), where it may also drop it (a list
  // marker amid a line) or refuse it. The reader keeps no hold on the item. This class
  // inserts it.
  virtual TRPFFirstItemFate InsertFirstRPFItem(int32_t& index, AnsiString text,
                                               std::unique_ptr<TCustomRPItemInfo> item);
  // Links the checkpoint that item i brought into the document's chain (and count).
  void LinkItemCheckpoint(int32_t i);
  // The checkpoint after the last item: taken out (the count goes down), or put there
  // when there is none (else it is freed).
  std::unique_ptr<TRPCPInfo> TakePendingCheckpoint();
  void SetPendingCheckpoint(std::unique_ptr<TRPCPInfo> checkpoint);

  // --- Joining text items --------------------------------------------------------------
  bool CanMergeItems(int32_t i, bool force) const;
  void MergeItems(int32_t i);
  // Joins what CanMergeItems allows from last down to first, inside sub-documents too.
  void NormalizeItems(int32_t first, int32_t last);
  // The same joining in every sub-document of item i, at any depth.
  void NormalizeSubDocuments(int32_t i);

  // --- Styles in use -------------------------------------------------------------------
  // The items mark their styles / take their new numbers after unused styles went; an
  // editor's document also keeps its current styles right.
  virtual void MarkItemStylesInUse(TRPStyleUsage& usage) const;
  virtual void RenumberItemStyles(const TRPStyleUsage& usage);
  // A non-text item's text style converted by the editor's style conversion (an item
  // calls it from its ApplyStyleConversion): styleNo becomes the new number. Nothing in
  // this class.
  virtual void ConvertAssociatedStyle(int32_t& /*styleNo*/, bool /*appliedToText*/, int32_t /*userData*/,
                                      int32_t /*paraNo*/, int32_t /*itemNo*/) {}

  // --- Plain text ----------------------------------------------------------------------
  // The items of the range UseSelectionOnly gives as text, lines joined by CR LF (a form
  // feed before an item with a page break when pageBreaks); UTF-16LE with unicode (with a
  // leading U+FEFF when asked), else 8-bit in the default code page. A selection that
  // starts in a list paragraph begins with the marker's text; the partly selected text
  // items at its ends give their selected characters. A non-text item gives its plain
  // text unless the host writes it (SaveItemToFile with rpsfText, path being the file
  // written). Nothing for an empty or invalid range; false when writing failed.
  bool SaveTextToStream(const WideString& path, TStream& stream, int32_t lineWidth, bool selectionOnly, bool unicode,
                        bool withByteOrderMark, bool pageBreaks);

  // --- Exports -------------------------------------------------------------------------
  // The selection as exports take it, item positions in the order start item, end item,
  // start offset, end offset (normalize: the earlier end first); the whole document in
  // this class (-1 items for an empty one). The formatted document answers its
  // selection.
  virtual void GetSelectionBounds(int32_t& startItemNo, int32_t& endItemNo, int32_t& startOffs, int32_t& endOffs,
                                  bool normalize) const;
  // The item range an export writes: the normalized selection with selectionOnly, else
  // the whole document. False when it is empty or invalid.
  bool UseSelectionOnly(bool selectionOnly, int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                        int32_t& endOffs) const;
  // Whether the host writes item itemNo of rpData (a document of this nesting) itself in
  // the format: true with the text to write. Asked of the absolute root; the root of
  // this class leaves every item to itself.
  virtual bool SaveItemToFile(const WideString& path, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format,
                              bool unicode, AnsiString& text);
  // What the host writes for a control held by a control item (asked of the absolute
  // root); empty: nothing is written.
  virtual AnsiString SaveComponentToFile(const WideString& path, TComponent* component, TRPSaveFormat format);
  // The target and the extra attribute text of hyperlink jumpNo (item itemNo of rpData)
  // written in the format (asked of the absolute root); both empty at the root of this
  // class.
  virtual void WriteHyperlink(int32_t jumpNo, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format,
                              AnsiString& target, AnsiString& extra);
  // The file a picture of an export is saved to: imagesPrefix (taken relative to the
  // folder of path unless it is a full path) followed by the running number imgSaveNo,
  // increased until no file has the name (with overwrite, until no read-only one has
  // it), and the extension.
  virtual WideString MakePictureFileName(const WideString& path, const WideString& imagesPrefix,
                                         const WideString& extension, int32_t& imgSaveNo, bool overwrite);
  // The default saving of a picture for HTML: a JPEG image, or a picture of a class kept
  // for HTML, is saved as it is (its own extension); any other picture is drawn on a
  // 32-bit bitmap filled with backColor (white for clNone) and saved as a JPEG file (a
  // bitmap file when it has no pixels). Answers the name relative to the folder of path:
  // the prefix's folder, "/", the file name. With no path (and a prefix that is no full
  // path) no file is written: the answer is a "data:" URI that holds the picture.
  virtual WideString SavePictureFile(const WideString& path, const WideString& imagesPrefix, const TGraphic& graphic,
                                     int32_t& imgSaveNo, bool overwrite, TColor backColor);
  // The host saves the picture (asked of the absolute root): true with the file name;
  // false at the root of this class.
  virtual bool HostSavesPicture(TRPSaveFormat format, const WideString& path, const TGraphic& graphic, TColor backColor,
                                WideString& fileName);
  // HostSavesPicture, else the absolute root's SavePictureFile.
  WideString SavePictureForExport(TRPSaveFormat format, const WideString& path, const WideString& imagesPrefix,
                                  const TGraphic& graphic, int32_t& imgSaveNo, bool overwrite, TColor backColor);
  // The host's RTF code for an area of an RTF export (asked of the absolute root; empty
  // at the root of this class): object is the text or paragraph style, the table cell or
  // the table concerned (nullptr for the document), row and col the cell's or row's place
  // (-1 otherwise), inStyleSheet whether a style is being written into the style sheet.
  virtual AnsiString SaveRTFExtra(TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col, bool inStyleSheet);
  // The host's HTML code for an area of an HTML export, of the CSS flavour or the classic
  // one (asked of the absolute root; empty at the root of this class).
  virtual AnsiString SaveHTMLExtra(TRPHTMLSaveArea area, bool cssVersion);
  // The host's HTML code before the paragraph that item itemNo of rpData opens
  // (paraStart) or after the one it closes (asked of the absolute root; empty at the root
  // of this class).
  virtual AnsiString SaveParaToHTML(TCustomRPData& rpData, int32_t itemNo, bool paraStart, bool cssVersion);
  // Where the host puts a picture of an HTML export: item itemNo of rpData, or the
  // background of rpData itself with itemNo -1, over backColor. True leaves the picture to
  // the default saving; false with location (empty: the picture is left out). Asked of
  // the absolute root; the root of this class leaves every picture to the default.
  virtual bool HTMLSaveImage(TCustomRPData& rpData, int32_t itemNo, const WideString& path, TColor backColor,
                             AnsiString& location);

  // --- What an import asks of the document --------------------------------------------
  // Puts the first item of an import at index (clamped to 0 .. count). This class inserts
  // it, moves index past it and answers true with joined false. The editor's document may
  // instead join it to the text at the insertion point (joined true: the item is gone and
  // index names the item that took it) or refuse it (false: the item is freed, the
  // import stops).
  virtual bool InsertFirstImportedItem(int32_t& index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item,
                                       bool& joined);
  // Whether the host reports the progress of long operations, and a report (asked of the
  // absolute root; no host at the root of this class).
  virtual bool HasProgressHandler();
  virtual void ReportProgress(TRPLongOperation operation, TRPProgressStage stage, int32_t percentDone);
  // The picture at a location that an import names (asked of the absolute root); none at
  // the root of this class.
  virtual std::unique_ptr<TGraphic> ImportPicture(const AnsiString& location);
  // A hyperlink read from format with its target and extra text: the host may change
  // the style number (a text style, or an item kind for a picture), the tag and the
  // item's name it will be added with (asked of the absolute root; the root of this
  // class leaves them).
  virtual void ReadHyperlink(const AnsiString& target, const AnsiString& extras, TRPLoadFormat format, int32_t& styleNo,
                             TRPTag& tag, AnsiString& itemName);
  // The address of hyperlink id as the host gives it (asked of the absolute root; empty
  // at the root of this class).
  virtual AnsiString GetURL(int32_t id);

private:
  struct TItemEntry {
    AnsiString Text;
    std::unique_ptr<TCustomRPItemInfo> Item;
  };
  using TItemList = std::vector<TItemEntry>;

  int32_t ResolveStyleForAdding(int32_t styleNo, int32_t paraNo) const;
  AnsiString ConvertTextForStyle(AnsiStringView text, bool textIsUnicode, int32_t resolvedStyle) const;
  void AddTextItem(AnsiString text, int32_t styleNo, TRPTag tag, int32_t paraNo, bool expandTabs);
  // The entry with the item's hooks and marker registration.
  void InsertEntry(int32_t index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  // Registers the list markers inside item's sub-documents (an item that joined the
  // document with its markers: a table whose cells were filled first).
  void AddMarkersInside(TCustomRPItemInfo& item);
  // Lets the marker list forget item (a marker) or the markers inside it, as it goes.
  void ForgetMarkers(TCustomRPItemInfo& item, bool clearing);
  // The last list marker of this document before item `before` (all items for -1),
  // looking into sub-documents too; nullptr when none.
  TCustomRPItemInfo* FindLastMarkerBefore(int32_t before);
  // The last list marker inside the sub-documents of item, those before `stop` only when
  // stop is given (one of them); nullptr when none.
  static TCustomRPItemInfo* FindLastMarkerInSubDocuments(TCustomRPItemInfo& item, const TCustomRPData* stop);
  AnsiString ReplaceTabs(AnsiString text, bool unicode) const;
  void CheckItemIndex(int32_t i) const;

  // The list in use: the document's own, or another document's when items are shared.
  TItemList FOwnItems;
  TItemList* FItems = &FOwnItems;
  bool FAddParagraphs = true;
  TRPCPInfo* FFirstCP = nullptr;
  TRPCPInfo* FLastCP = nullptr;
  std::unique_ptr<TRPCPInfo> FNotAddedCP;
  int32_t FCPCount = 0;
  uint32_t FState = 0;
  TRPOptions FOptions = 0;
  uint32_t FRPFOptions = 0;
  uint32_t FRTFOptions = 0;
  uint32_t FRPFWarnings = 0;
  bool FRPFStylesSaving = true;
  std::unique_ptr<TStringList> FDocProperties;
  std::unique_ptr<IRPMarkerList> FMarkers;
};

// Raises ERichPaneError "Can't get or set this kind of information for this item".
[[noreturn]] void ThrowInvalidItemClass();

template <typename T>
T& TCustomRPData::CheckItemClass(int32_t i) const {
  if (auto* item = dynamic_cast<T*>(GetItem(i))) return *item;
  ThrowInvalidItemClass();
}
