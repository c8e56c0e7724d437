// The base of every item of a rich-text document, the two intermediate bases of the
// non-text items, the item kinds by style number, and the registry that creates an item
// from its style number.
//
// An item's style number tells its kind: 0 and above a text style index (MaxInt: the
// paragraph's default text style), negative numbers the rpkind... values below. Items
// are created through CreateItemByStyleNo (or a class's factory) and handed to a
// document (RPData.h), which owns them.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPPaletteAction.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPTag.h"
#include "richtext/model/RPWordPainters.h"

class TCanvas;
class TComponent;
class TCustomRPData;
class TCustomRPItemInfo;
class IRPStyleSheet;
class IRPFStreaming;
class TRPMultiDrawItemPart;
struct TRPRTFSaveContext;
struct TRPHTMLSaveContext;
struct TRPJumpInfo;
// Native-format reading modes and states (RPItemStreaming.h).
enum TRPFBodyMode : int32_t;
enum TRPFLineMode : int32_t;
enum TRPFReadState : int32_t;
// The hyperlink areas of a formatted document (the layout's).
using TRPJumpList = std::vector<std::unique_ptr<TRPJumpInfo>>;

// Item kinds (written to native-format files; the values are fixed).
inline constexpr int32_t rpkindBreak = -1;
inline constexpr int32_t rpkindPicture = -3;
inline constexpr int32_t rpkindHotspot = -4;
inline constexpr int32_t rpkindControl = -5;
inline constexpr int32_t rpkindBullet = -6;
inline constexpr int32_t rpkindHotPicture = -10;
inline constexpr int32_t rpkindListMarker = -11;
inline constexpr int32_t rpkindTab = -12;
// A text style number meaning "the paragraph's default text style".
inline constexpr int32_t rpDefaultTextStyle = std::numeric_limits<int32_t>::max();

// ItemOptions bits. Bits 0, 1 and 2 exclude each other through the setters.
using TRPItemOptions = uint8_t;
inline constexpr TRPItemOptions rpioContinuesLine = 0x01;
inline constexpr TRPItemOptions rpioPageBreakBefore = 0x02;
inline constexpr TRPItemOptions rpioLineBreakBefore = 0x04;
inline constexpr TRPItemOptions rpioUnicode = 0x08;
// The bits written to native-format files.
inline constexpr TRPItemOptions rpioStoredMask = 0x0F;

// ItemState bits.
using TRPItemState = uint8_t;
inline constexpr TRPItemState rpisSpellChecked = 0x01;

// GetBoolValue queries.
enum TRPItemBoolQuery : int32_t {
  rpibqWholeLine = 0,
  rpibqHasContent = 1,
  rpibqRPFBody = 2,
  rpibqSelectAsObject = 3,
  rpibqResetsFontCache = 4,
  rpibqOwnCodePage = 5,
  rpibqTab = 6,
  rpibqControl = 7,
  rpibqResizable = 8,
  rpibqLive = 9,
  rpibqSwitchesTextStyle = 13,
};

// GetBoolValueEx queries (answers may need the style sheet).
enum TRPItemBoolQueryEx : int32_t {
  rpibqxPrintAsBitmap = 0,
  rpibqxJump = 1,
  rpibqxFocusable = 2,
  rpibqxHoverRepaint = 3,
  rpibqxJumpCursor = 4,
  rpibqxSizeForWidth = 5,
};

// The formats a document reads items from (a hyperlink's host is told the one its link came in).
enum TRPLoadFormat : uint8_t { rplfText, rplfHTML, rplfRTF, rplfRPF, rplfURL, rplfOther };

// Vertical alignment of rectangular items.
enum TRPVAlign : uint8_t { rpvaBaseline, rpvaMiddle, rpvaAbsTop, rpvaAbsBottom, rpvaAbsMiddle };

// Integer property codes (0: unknown name) and string property codes.
enum TRPItemIntProperty : int32_t {
  rpipUnknown = 0,
  rpipVShift = 1,
  rpipVShiftAbs = 2,
  rpipWidth = 3,
  rpipHeight = 4,
  rpipTransparent = 5,
  rpipTransparentMode = 6,
  rpipTransparentColor = 7,
  rpipMinHeightOnPage = 8,
  rpipSpacing = 9,
  rpipResizable = 10,
  rpipUnremovable = 11,
  rpipNoHTMLImageSize = 12,
  rpipAnimationInterval = 13,
  rpipVisible = 14,
};
enum TRPItemStrProperty : int32_t { rpspUnknown = 0, rpspHint = 1, rpspAlt = 2, rpspFileName = 3 };

// The property's name in native-format files ("vshift", "hint"), empty for an unknown
// code; and the code of a name (exact, case-sensitive), 0 when unknown.
AnsiStringView RPIntPropertyName(int32_t code);
AnsiStringView RPStrPropertyName(int32_t code);
int32_t RPIntPropertyCode(AnsiStringView name);
int32_t RPStrPropertyCode(AnsiStringView name);

// The styles a document uses: one 0/1 mark per text, paragraph and list style, or
// (after RenumberItemStyles prepared them) cumulative counts of removed styles.
struct TRPStyleUsage {
  bool TrackTextStyles = false;
  bool TrackParaStyles = false;
  bool TrackListStyles = false;
  bool Initialized = false;
  TRPIntegerList TextStyles;
  TRPIntegerList ParaStyles;
  TRPIntegerList ListStyles;
};

// A stored location of a sub-document inside an item (a cell of a table); the items
// with sub-documents store their own kinds.
class TRPStoreSubRPData : public TObject {
public:
  // Orders two locations inside one item: negative, 0 or positive; 0 in this class.
  virtual int32_t Compare(const TRPStoreSubRPData&) const { return 0; }
};

// Which sub-document of an item GetSubRPData answers: the first, the last, the end or
// the start of the selected block, or the one after or before the given location.
enum TRPSubRPDataPosition : int32_t {
  rpsdFirst = 0,
  rpsdLast = 1,
  rpsdSelectionEnd = 2,
  rpsdSelectionStart = 3,
  rpsdNext = 4,
  rpsdPrevious = 5,
};

// An item class as the registry knows it: its name and its factory (the class's
// constructor with the owning document).
struct TRPItemClassInfo {
  const char* ClassName;
  std::unique_ptr<TCustomRPItemInfo> (*Create)(TCustomRPData* rpData);
};
using TRPItemClass = const TRPItemClassInfo*;

// The factory of an item class T (constructible from the owning document), for its
// TRPItemClassInfo.
template <typename T>
std::unique_ptr<TCustomRPItemInfo> CreateRPItem(TCustomRPData* rpData) {
  return std::make_unique<T>(rpData);
}

class TCustomRPItemInfo : public TPersistent {
public:
  explicit TCustomRPItemInfo(TCustomRPData* rpData);
  ~TCustomRPItemInfo() override;

  int32_t StyleNo = 0;
  int32_t ParaNo = 0;
  TRPItemOptions ItemOptions = 0;
  TRPItemState ItemState = 0;
  // Created on first use, freed when it becomes empty.
  std::unique_ptr<TRPWordPainterList> WordPainters;
  // Owned by the item; linked into its document's chain while the item is in one.
  std::unique_ptr<TRPCPInfo> Checkpoint;
  int32_t JumpID = 0;
  TRPTag Tag;
  int32_t CachedIndex = -1;
  AnsiString Hint;

  // The class this item was made by; a copy is made by the same class.
  virtual TRPItemClass ItemClass() const = 0;

  virtual int32_t GetAssociatedTextStyleNo() const { return -1; }
  virtual void SetAssociatedTextStyleNo(int32_t) {}
  // 20, scaled to the device when a resolution is given.
  virtual int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const;
  virtual bool GetBoolValue(TRPItemBoolQuery query) const;
  virtual bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const;
  virtual int32_t GetImageWidth(const IRPStyleSheet*) const { return 0; }
  virtual int32_t GetImageHeight(const IRPStyleSheet*) const { return 0; }
  virtual int32_t GetBorderWidth() const { return 0; }
  virtual int32_t GetBorderHeight() const { return 0; }
  // Before the item enters a document (it may change the stored text) and after.
  virtual void Inserting(TCustomRPData* rpData, AnsiString& text, bool safe);
  virtual void Inserted(TCustomRPData* rpData, int32_t itemNo);

  // The palette state of the document (RPData.h): what the item does with palette copies
  // of its images. Nothing in this class.
  virtual void UpdatePaletteInfo(TRPPaletteAction, bool /*forceRecreate*/, HPALETTE, const TLogPalette*) {}

  // --- The interchange formats (one signature each; the writers and readers call them) --
  // Native format: the rest of the item's header line, the number and the lines of its
  // properties ("hint" in this class).
  virtual void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const;
  virtual int32_t GetRPFPropertyCount() const;
  virtual void SaveRPFProperties(TStream& stream) const;
  // Reads the rest of the item's header line from rest (advancing it); false when it is
  // malformed. Nothing to read in this class.
  virtual bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming);
  // Line lineNo of the lineCount lines after the item's header, read in mode readType.
  // name receives the item's text when the line holds it; readMode asks for the next
  // line as a binary block; readState becomes rpfrsItemDone after the item's last line.
  // False refuses the line (the reading ends). A property line in this class.
  virtual bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                           int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState);
  // The item's record: its header, then its lines. paraNo is its paragraph number (-1:
  // it continues a paragraph); name its text in the document; part the printed part of a
  // split item to write (none: all of it); forceSameAsPrev writes it as the continuation
  // of the line before. Nothing in this class (text items: their text record).
  virtual void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo,
                       const AnsiString& name, const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const;
  // The selection held inside the item (a table's selected cells) as its record; false
  // (nothing written) when it holds none. False in this class.
  virtual bool SaveRPFInnerSelection(TStream&, IRPFStreaming&, int32_t /*paraNo*/, const AnsiString& /*name*/,
                                     bool /*forceSameAsPrev*/) const {
    return false;
  }
  // Told that the item is being read from a format (its header made it) and that its
  // reading has ended (it is in its document). Nothing in this class.
  virtual void BeforeLoading(TRPLoadFormat) {}
  virtual void AfterLoading(TRPLoadFormat) {}
  // RTF: the item at the writer's position; its colours (and list overrides) into the
  // writer's tables before. Nothing in this class.
  virtual void SaveRTF(TStream&, TRPRTFSaveContext&, const AnsiString& /*text*/, int32_t /*itemNo*/) const {}
  virtual void FillRTFTables(TRPColorList&, TRPIntegerList& /*listOverrideCounts*/, TCustomRPData*) const {}
  // HTML: the item at the writer's position. Nothing in this class.
  virtual void SaveToHTML(TStream&, TRPHTMLSaveContext&, const AnsiString& /*text*/, int32_t /*itemNo*/) const {}
  // "name=value": an integer property, a string property, or SetCustomProperty; a line
  // without "=" is ignored; a value that is no number reads as 0.
  void ReadRPFPropertyLine(AnsiStringView s);
  // Plain text (the item's part of the document's plain text): the item for a line of
  // lineWidth characters; textIsUnicode tells whether the result is stored UTF-16. Empty
  // in this class.
  virtual AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const;

  // --- Sub-documents, controls and hyperlinks -------------------------------------------
  // The sub-document (a table's cell) at a point of the item; none in this class.
  virtual TCustomRPData* GetSubRPDataAt(int32_t /*x*/, int32_t /*y*/) { return nullptr; }
  // Whether the item holds the control (the component behind it), or the in-place editor
  // shown over it; false in this class.
  virtual bool OwnsControl(const TComponent* /*control*/) const { return false; }
  virtual bool OwnsInplaceEditor(const TComponent* /*editor*/) const { return false; }
  // The cursor shown over the item as a hyperlink: the style sheet's JumpCursor.
  virtual int32_t GetHyperlinkCursor(const IRPStyleSheet* rpStyle) const;
  // Adds the hyperlink areas the item holds itself (a table's cells), its box at (left,
  // top), numbered from nextJumpId on (moved past the numbers used). Nothing in this
  // class.
  virtual void BuildJumps(int32_t /*left*/, int32_t /*top*/, TRPJumpList&, int32_t& /*nextJumpId*/) {}

  // Copies StyleNo, ParaNo, ItemOptions and Hint; subclasses first copy their own
  // fields when the source is of their class.
  virtual void CopyPropertiesFrom(const TCustomRPItemInfo& source);
  virtual void TakeOverAnimator(TCustomRPItemInfo&, TCustomRPData*) {}
  virtual void UpdateAnimator(TCustomRPData*) {}
  virtual void ExecuteJump(TCustomRPData*) {}
  virtual void FocusItem() {}
  // Marks ParaNo in the usage record / maps ParaNo through the cumulative counts.
  virtual void MarkStylesInUse(TRPStyleUsage& usage) const;
  virtual void RenumberStyles(const TRPStyleUsage& usage);
  virtual bool SetIntProperty(int32_t, int32_t) { return false; }
  virtual bool GetIntProperty(int32_t, int32_t&) const { return false; }
  virtual bool SetStrProperty(int32_t code, const AnsiString& value);
  virtual bool GetStrProperty(int32_t code, AnsiString& value) const;
  virtual bool SetCustomProperty(const AnsiString&, const AnsiString&) { return false; }
  // A sub-document of the item (a table's cell) with its location; none in this class.
  virtual TCustomRPData* GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location, TRPSubRPDataPosition position);
  // The y at which the item may be split before its part n (tables: a row's top).
  virtual int32_t GetSplitPoint(int32_t n) const { return n; }
  // Called when an editor moves the item into its undo list.
  virtual void MovingToUndoList(int32_t itemNo, TCustomRPData* rpData);
  virtual void MovingFromUndoList(int32_t, TCustomRPData*) {}
  // Editing: the item takes the caret inside itself (a table: into a cell) as the caret
  // moves (direction 0 right, 1 left, 2 down, 3 up; x relative to the item for up and
  // down); true when it did. Nothing in this class.
  virtual bool EnterItem(int32_t /*direction*/, int32_t /*x*/) { return false; }
  // Finishes an operation of its own that is pending (an edit inside it) before the
  // document changes; nothing in this class.
  virtual void FinishPendingOperation() {}
  // An editor converts the styles of the selection (mode: the editor's operation code):
  // the item converts what it holds through rpData's conversion (ConvertAssociatedStyle)
  // and its sub-documents' selections (ApplyStyleConversionToSubRPData, nothing here).
  virtual void ApplyStyleConversion(TCustomRPData* rpData, int32_t itemNo, int32_t userData, int32_t mode);
  virtual void ApplyStyleConversionToSubRPData(int32_t /*userData*/, int32_t /*mode*/) {}
  // An editor applies a paragraph style (mode 0: value; else a conversion with value as
  // user data) to paragraphs holding the item: the selected parts of its sub-documents
  // follow. Nothing in this class.
  virtual void ApplyParaStyleConversion(int32_t /*value*/, int32_t /*mode*/) {}
  // While the item is edited in place (a table's cell editor open): whether the selection
  // of its editor may be deleted now, and deleting that selection. True and nothing in
  // this class: an item without an editor of its own holds nothing to refuse.
  virtual bool CanDeleteInplaceSelection() { return true; }
  virtual void DeleteInplaceSelection() {}
  // Around a change of one of its published properties by an editor; nothing here.
  virtual void BeforePropertyChange() {}
  virtual void AfterPropertyChange() {}

  // Option bits.
  bool GetContinuesLine() const { return (ItemOptions & rpioContinuesLine) != 0; }
  void SetContinuesLine(bool value);
  bool GetPageBreakBefore() const { return (ItemOptions & rpioPageBreakBefore) != 0; }
  void SetPageBreakBefore(bool value);
  bool GetLineBreakBefore() const { return (ItemOptions & rpioLineBreakBefore) != 0; }
  // A whole-line item never gets the bit.
  void SetLineBreakBefore(bool value);
  bool StartsParagraph() const { return (ItemOptions & (rpioContinuesLine | rpioLineBreakBefore)) == 0; }
  bool IsUnicode() const { return (ItemOptions & rpioUnicode) != 0; }
  // StyleNo, with MaxInt resolved through the paragraph style (RPData.h).
  int32_t ResolveStyleNo(const IRPStyleSheet* rpStyle) const;

  // Live-spelling marks (1-based character offsets).
  void AddMisspelling(int32_t startOffs, int32_t length);
  void RemoveMisspellings();
  void ResetSpellCheck(int32_t offset);
  // One character typed / count characters deleted at offset; true when a painted word
  // was touched.
  bool AdjustWordPaintersForInsert(int32_t offset, WideChar ch, TCustomRPData* rpData);
  bool AdjustWordPaintersForDelete(int32_t offset, int32_t count);
  bool FindWordPainterAt(int32_t offset, int32_t& start, int32_t& length) const;
  bool IsInPaintedWord(int32_t offset) const;

private:
  void FreeEmptyWordPainters();
};

// styleNo with MaxInt resolved: the paragraph style's DefStyleNo, or 0 when that is
// negative or there is no style sheet; other numbers unchanged.
int32_t ResolveTextStyleNo(int32_t styleNo, int32_t paraNo, const IRPStyleSheet* rpStyle);

// Options with the continues-line bit set and bits 1 and 2 cleared when flag is set.
TRPItemOptions SetContinuesLineInOptions(TRPItemOptions options, bool flag);

class TRPNonTextItemInfo : public TCustomRPItemInfo {
public:
  using TCustomRPItemInfo::TCustomRPItemInfo;
  bool Unremovable = false;

  virtual int32_t GetHeight() const { return 0; }
  virtual int32_t GetWidth() const { return 0; }
  virtual int32_t GetLeftOverhang() const { return 0; }
  virtual void AdjustControlPlacement(int32_t, int32_t, bool) {}

  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
};

// An item that takes a whole line (breaks, tables).
class TRPFullLineItemInfo : public TRPNonTextItemInfo {
public:
  using TRPNonTextItemInfo::TRPNonTextItemInfo;
  bool GetBoolValue(TRPItemBoolQuery query) const override;
};

// An item that stands in a line as a rectangle (pictures, tabs, controls, markers).
class TRPRectItemInfo : public TRPNonTextItemInfo {
public:
  explicit TRPRectItemInfo(TCustomRPData* rpData) : TRPNonTextItemInfo(rpData) {}
  // 0: never split over pages.
  int32_t MinHeightOnPage = 0;
  TRPVAlign VAlign = rpvaBaseline;
  // Percent of the item's height, or pixels when VShiftAbs.
  int32_t VShift = 0;
  bool VShiftAbs = false;
  // Empty space on every side.
  int32_t Spacing = 1;

  virtual int32_t GetDescent() const { return Spacing; }
  int32_t GetBorderWidth() const override { return Spacing; }
  int32_t GetBorderHeight() const override { return Spacing; }

  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // VAlign as a decimal number.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  // VAlign: 0 for an empty rest (NUL, CR or LF first), else one integer; false when it is
  // no number.
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // "vertical-align : N" for a shifted baseline item: VShift pixels, or VShift percent of
  // the image height; empty when unshifted, without height or not on the baseline.
  AnsiString GetVShiftCSS(const IRPStyleSheet* rpStyle) const;
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
};

// " align=..." for vertical alignments other than the baseline, empty for it.
AnsiString GetHTMLAlign(TRPVAlign vAlign, uint32_t htmlOptions);

// "name=value" CR LF for a property code.
void WriteRPFIntPropertyLine(TStream& stream, int32_t code, int32_t value);
void WriteRPFStrPropertyLine(TStream& stream, int32_t code, const AnsiString& value);

// The registry. RegisterItemClass takes style numbers below -9 only (the table item
// registers -60); a number registered with another class, or -9 and above, raises
// ERichPaneError "Can't register RichPane item type - this StyleNo is already
// registered". Registering the same class again does nothing.
void RegisterItemClass(int32_t styleNo, TRPItemClass itemClass);
// The classes of the built-in kinds (rpkindBreak ... rpkindTab) and of text items, set
// by the rich-text model's start-up (nullptr: not available). GetBuiltInItemClass
// answers nullptr for a style number that is no built-in kind.
void SetBuiltInItemClass(int32_t styleNo, TRPItemClass itemClass);
TRPItemClass GetBuiltInItemClass(int32_t styleNo);
void SetTextItemClass(TRPItemClass itemClass);
TRPItemClass GetTextItemClass();
// A new empty item of the kind with StyleNo set; nullptr when the kind is unknown.
std::unique_ptr<TCustomRPItemInfo> CreateItemByStyleNo(int32_t styleNo, TCustomRPData* rpData);
// A new item of source's class with StyleNo and the copied properties; with
// copyCheckpoint, a copy of its checkpoint. The tag is copied with its string.
std::unique_ptr<TCustomRPItemInfo> CreateItemCopy(const TCustomRPItemInfo& source, TCustomRPData* rpData,
                                                  bool copyCheckpoint);
