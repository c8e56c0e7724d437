// List markers: the item that stands at the start of a paragraph of a numbered or
// bulleted list, and the marker list that a document keeps of them in document order.
//
// A marker refers to a list style of the style sheet (ListNo, an index of ListStyles)
// and to one of its levels (Level; a level past the last is taken as the last). It keeps
// its number (Counter) and the text it shows (DisplayString); the marker list renumbers
// the markers of a list whenever a marker comes, goes or restarts (RecalcCounters), which
// also renews their texts. A marker without a usable level (a negative ListNo or Level, a
// ListNo past the list styles, a list style without levels) takes no room, draws
// nothing, shows no text and writes nothing.
//
// Where a marker stands (a paragraph's marker line starts at the level's MarkerIndent,
// its text at LeftIndent + FirstIndent, its other lines at LeftIndent) is formatting's
// business (IRPListMarkerLevel); the marker measures itself for it: its box runs from
// where its text begins (MarkerIndent for a left-aligned marker, MarkerIndent less the
// marker's width for a right-aligned one, half of it for a centred one) to where the
// paragraph's text begins, and that shift to the left is the horizontal offset that
// UpdateSizeForWidth reports, so the marker is drawn at its box's left.
//
// Precondition: RegisterMarkerItemClasses has run (the model's start-up does it), so
// that documents make markers by their style number and keep a marker list.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPMarkerList.h"
#include "richtext/model/RPMarkerNumbering.h"
#include "richtext/model/RPScaling.h"

class TRPMarkerList;
class TRPMarkerItemInfo;

// The answer of a marker's last parent search: not known, no parent, or the parent (its
// list, its index there and the marker). It holds while the markers before the marker
// stand as they did: renumbering a list from a place (after a marker was inserted or
// deleted there, or got another level) clears the answers of the list's markers from that
// place on, and Chain is the stamp of the lists before the marker's own
// (TRPMarkerList::ChainStamp) that the answer was found in.
struct TRPMarkerParentCache {
  enum TState : uint8_t { Unknown, None, Found };
  TState State = Unknown;
  const TRPMarkerList* List = nullptr;
  int32_t Index = -1;
  const TRPMarkerItemInfo* Parent = nullptr;
  uint64_t Chain = 0;
};

// HTML export option: list markers are written inline, as text or images, without HTML
// lists.
inline constexpr uint32_t rphtmlListMarkersInline = 0x200;

// Registers the marker class for style number -11 and the marker list that documents
// keep (SetMarkerListFactory).
void RegisterMarkerItemClasses();

class TRPMarkerItemInfo : public TRPRectItemInfo, public IRPListMarkerLevel {
public:
  // Create: no list (ListNo -1, Level 0).
  explicit TRPMarkerItemInfo(TCustomRPData* rpData);
  // CreateEx: a marker of level `level` of list style listNo; with reset the numbering
  // restarts at startFrom with this marker. Counter 1, not yet in a marker list; it
  // always starts a paragraph.
  TRPMarkerItemInfo(TCustomRPData* rpData, int32_t listNo, int32_t level, int32_t startFrom, bool reset);
  static std::unique_ptr<TRPMarkerItemInfo> CreateEx(TCustomRPData* rpData, int32_t listNo, int32_t level,
                                                     int32_t startFrom, bool reset);
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  // The size measured last (UpdateSizeForWidth), device pixels of the formatting canvas.
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Descent = 0;
  int32_t Overhang = 0;  // left to right: minus the part of the marker before MarkerIndent
  // The index in the marker list when last looked up; -1 when unknown.
  mutable int32_t CachedListIndex = -1;
  // What the last parent search of this marker found, for the searches of later markers
  // that meet it (TRPMarkerList::FindParentMarker).
  mutable TRPMarkerParentCache ParentCache;
  int32_t ListNo = -1;
  int32_t Level = 0;
  int32_t Counter = 1;
  bool Reset = false;
  int32_t StartFrom = 1;
  AnsiString DisplayString;  // the bullet or number text, renewed by UpdateDisplayString
  bool NoHTMLImageSize = false;

  // The marker's level; nullptr when it has none (see the head of this file).
  const TRPListLevel* GetLevelInfo(const IRPStyleSheet* rpStyle) const;
  // Level `index` of the marker's list style, clamped to the last; nullptr as above.
  const TRPListLevel* GetLevelInfoAt(const IRPStyleSheet* rpStyle, int32_t index) const;
  bool GetLevelIndents(const IRPStyleSheet* rpStyle, int32_t& leftIndent, int32_t& firstIndent,
                       int32_t& markerIndent) const override;

  int32_t GetWidth() const override { return Width; }
  int32_t GetHeight() const override { return Height; }
  int32_t GetDescent() const override { return Descent; }
  int32_t GetLeftOverhang() const override { return Overhang; }
  // The level picture's size (picture levels), the image list's image size (image-list
  // levels), else 0.
  int32_t GetImageWidth(const IRPStyleSheet* rpStyle) const override;
  int32_t GetImageHeight(const IRPStyleSheet* rpStyle) const override;
  // Resets the font cache after measuring; has its own code page.
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  // Printed through a bitmap for picture (with a picture) and image-list levels; sized
  // for a width.
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;

  // The room the marker needs after MarkerIndent: the larger of the part of it after
  // MarkerIndent and LeftIndent + FirstIndent - MarkerIndent. 0 without a level or a
  // canvas.
  int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const override;
  // Measures the marker on canvas for formatting: width, height and descent of its box
  // (device pixels; picture sizes scaled when a resolution is given) and the shift of the
  // box to the left of the line position (see the head of this file; 0 in a right-to-left
  // paragraph, whose marker hangs over the line's far side). Stores the size unless
  // store is false.
  void UpdateSizeForWidth(TCanvas& canvas, TCustomRPData& rpData, const TRPResolution* resolution, int32_t& width,
                          int32_t& height, int32_t& descent, int32_t& horzOffset, bool store = true);
  // Draws the marker with the top-left of its box at (x, y): the picture, the image
  // (ImageIndex, + Counter - 1 for a counter list; nothing for an index outside the
  // list), or the text in the level's font (its colour through colorMode, its height
  // from the style sheet's text-style resolution when that is set).
  void DrawMarker(TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode, const IRPStyleSheet* rpStyle) const;
  // On screen (rpcmColor), on a page (the print job's colour mode), into the page
  // painter's bitmap at (0, 0) (true).
  void Paint(int32_t x, int32_t y, TCanvas& canvas, const IRPStyleSheet* rpStyle) const;
  void Print(TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode, const IRPStyleSheet* rpStyle) const;
  bool PrintToBitmap(TBitmap& bitmap, TRPColorMode colorMode, const IRPStyleSheet* rpStyle) const;

  // The index in list (CachedListIndex, refreshed by a search when stale); -1 without a
  // list or when the marker is not in it.
  int32_t GetIndexInList(const TRPMarkerList* list) const;
  // DisplayString from the level: the bullet text, nothing for pictures, images and
  // Unicode bullets, or the level's FormatString with the number texts of this marker
  // and of its parents (%0:s for level 0 and on). index is the marker's place in list.
  void UpdateDisplayString(const IRPStyleSheet* rpStyle, const TRPMarkerList& list, int32_t index);

  // HTML list structure (useCss: the list tags carry the levels' indents). Closes the
  // list tags of this marker's list style from level `fromLevel` down to toLevel + 1 and
  // opens those from fromLevel + 1 up to toLevel (-1: outside the list), then writes an
  // empty line when the levels differ. Levels past the list's last count as the last, so
  // that a stored level of any size opens no more tags than the list has levels.
  void WriteHtmlLevelChange(TStream& stream, int32_t fromLevel, bool useCss, const IRPStyleSheet* rpStyle,
                            int32_t toLevel) const;
  // From the previous marker (nullptr: none) to this one: within one list style from its
  // level to this one's; else out of the previous list altogether and into this one.
  void WriteHtmlListTransition(TStream& stream, const TRPMarkerItemInfo* previous, bool useCss,
                               const IRPStyleSheet* rpStyle) const;

  // The plain-text form: the bullet or number and a space (symbol-font bullets made
  // readable), a Unicode bullet and a space, "* " for pictures and images; UTF-16
  // (textIsUnicode) when unicode is asked or for a Unicode bullet. Empty without a level.
  AnsiString GetPlainText(const IRPStyleSheet* rpStyle, bool unicode, bool& textIsUnicode) const;
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const override;

  // ListNo, Level, StartFrom, Reset and NoHTMLImageSize from a marker.
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // The document lets the marker go from its marker list, and takes it back.
  void MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) override;
  void MovingFromUndoList(int32_t itemNo, TCustomRPData* rpData) override;
  // The list style too (when ListNo is not negative).
  void MarkStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberStyles(const TRPStyleUsage& usage) override;
  // 12 NoHTMLImageSize.
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;
  // "ListNo Level StartFrom Reset" (Reset as 0 or 1).
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  // Four integers (a non-zero fourth one sets Reset); false, with the marker unchanged,
  // when one is missing.
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // The header (as many lines as properties, no body) and the property lines.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;

  // RTF: a picture level's picture, an image level's image, or the text in a "\listtext"
  // group with the level font's formatting, then the paragraph's list override
  // ("\ls") and level ("\ilvl"); a restarting counted marker takes its list's next
  // override number.
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // A restarting marker of a counting level (not an image counter) adds an override to
  // its list's count.
  void FillRTFTables(TRPColorList& colors, TRPIntegerList& listOverrideCounts, TCustomRPData* rpData) const override;
  // HTML, with rphtmlListMarkersInline only: the picture or image as "<img>" (the image in
  // a span as wide as the marker's room with CSS when the marker does not hang), or the
  // text in the level's font (a span with its CSS, or font tags against text style 0);
  // Unicode bullets as character references, Wingdings and Symbol characters as the
  // Unicode characters they look like, any other text escaped.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // The "<li>" style: a picture or image level's image as list-style-image, no left
  // margin when the paragraph has a left indent; " style=\"{ ... }\"", empty when none.
  AnsiString GetHtmlLiStyle(TRPHTMLSaveContext& context) const;

private:
  // Box and alignment of the marker measured on canvas (see UpdateSizeForWidth); for the
  // minimal width only the room after MarkerIndent.
  struct TMeasure {
    int32_t Width = 0, Height = 0, Descent = 0, Overhang = 0, HorzOffset = 0, PaintOffset = 0, MinWidth = 0;
  };
  TMeasure CalcSize(TCanvas* canvas, TCustomRPData& rpData, const TRPResolution* resolution, bool minWidth) const;
  // The level picture's or the image list's image size; 0 x 0 for other levels.
  TSize GetImageSize(const IRPStyleSheet* rpStyle) const;
  // The location of the level's picture or shown image saved for HTML (the document's
  // hook first); empty when there is none.
  AnsiString SaveHtmlImage(TRPHTMLSaveContext& context, const TRPListLevel& level) const;
  // The image index shown by an image-list level, -1 when it lies outside the list.
  int32_t ShownImageIndex(const TRPListLevel& level) const;

  // Where the marker's drawing starts inside its box (a right-to-left paragraph's marker
  // sits at the box's far end), device pixels; set by UpdateSizeForWidth.
  int32_t FPaintOffset = 0;
};

// The markers of a nesting of documents in document order, or the markers read from a
// record block (which this list then owns). Indexes are 0-based.
class TRPMarkerList : public IRPMarkerList {
public:
  TRPMarkerList() = default;
  TRPMarkerList(const TRPMarkerList&) = delete;
  TRPMarkerList& operator=(const TRPMarkerList&) = delete;
  ~TRPMarkerList() override;

  // The list whose markers come before these (an earlier part of the document); not
  // owned. Parents of markers are looked for there too.
  TRPMarkerList* PrevMarkerList() const { return FPrevMarkerList; }
  void SetPrevMarkerList(TRPMarkerList* list);
  // Changes whenever a list before this one (PrevMarkerList, its PrevMarkerList, ...)
  // gains or loses markers or another list takes the place of one: what a parent search
  // found before these markers holds while it stays the same.
  uint64_t ChainStamp() const;

  int32_t Count() const override { return static_cast<int32_t>(FItems.size()); }
  TRPMarkerItemInfo* Items(int32_t index) const { return FItems[static_cast<size_t>(index)]; }
  TRPMarkerItemInfo* operator[](int32_t index) const { return Items(index); }
  int32_t IndexOf(const TRPMarkerItemInfo* marker) const;
  // Inserts marker at 0 (after nullptr) or right after `after` (at the end when after is
  // not in the list); sets its CachedListIndex; returns the index.
  int32_t InsertMarkerAfter(TRPMarkerItemInfo& marker, const TRPMarkerItemInfo* after);
  // Takes the marker at index out (freed when this list owns it).
  void Delete(int32_t index);
  // Empties the list (freeing what it owns).
  void Clear();

  // The nearest marker before index (in this list, then in PrevMarkerList from its end,
  // and so on) of the same list style as marker (the marker at index when nullptr) with
  // a lower level: true with its index and list, else false with -1 and nullptr.
  // The search of the marker at index keeps its answer (ParentCache). A search that meets
  // a marker of the list style at its level or deeper whose answer holds takes it over:
  // none of the markers between that one and its parent (or the start) is lower, so
  // the search goes on from that parent, or ends without one. Numbering a long run of
  // siblings, with or without a parent, so looks at each marker a bounded number of times.
  // Renumbering (RecalcCounters) searches in document order and clears the answers it
  // passes, so the answers met are those of markers renumbered already or before the
  // change.
  bool FindParentMarker(int32_t index, const TRPMarkerItemInfo* marker, int32_t& parentIndex,
                        const TRPMarkerList*& parentList) const;
  // Markers looked at by parent searches of this list so far: a measure of their work.
  int64_t ParentSearchSteps() const { return FParentSearchSteps; }
  // Renumbers the markers of the list style of the marker at fromIndex, from it to the
  // end, and renews their texts; their parent searches are made afresh. Nothing when
  // fromIndex is outside the list or that marker has no list style. Whoever inserts,
  // deletes or changes the list or level of a marker renumbers from there (the document
  // does, through AddMarker, RemoveMarker and UpdateCountersFrom).
  void RecalcCounters(int32_t fromIndex, const IRPStyleSheet* rpStyle);

  // The record block: with withSize an int32 byte size (17 x count + 8) first, then an
  // int32 0, the count, and per marker ListNo (int32), Level (int32), Reset (a byte 0 or
  // 1), StartFrom (int32), Counter (int32), all little-endian. count markers from the
  // first (clamped to the list) are written.
  void WriteMarkersBinary(TStream& stream, int32_t count, bool withSize) const;
  // Replaces the list's markers by markers made from a record block (this list owns
  // them). A block that ends early raises EReadError "Stream read error" and leaves the
  // list empty.
  void ReadMarkersBinary(TStream& stream, TCustomRPData* rpData, bool withSize);
  // The same from the bytes of a block without the size.
  void LoadMarkersFromBinaryString(AnsiStringView bytes, TCustomRPData* rpData);
  // The same from the hexadecimal digits of a block without the size; false (the list
  // empty) for an odd number of digits or a character that is no digit. Raises as
  // ReadMarkersBinary for a short block.
  bool LoadMarkersFromHexString(AnsiStringView hex, TCustomRPData* rpData);
  // count markers from the first as one line of hexadecimal digits of a block without the
  // size, and CR LF.
  void WriteMarkersHexLine(TStream& stream, int32_t count) const;

  // IRPMarkerList: what documents ask of their marker list.
  void AddMarker(TCustomRPData& data, int32_t itemNo) override;
  void RemoveMarker(TCustomRPData& data, TCustomRPItemInfo& marker, bool clearing) override;
  void UpdateCountersFrom(TCustomRPData& data, TCustomRPItemInfo& marker) override;
  int32_t FindLastOfLists(int32_t index, const TRPIntegerList& listNos) const override;

private:
  // A new stamp for the markers of this list (ChainStamp).
  void Changed();
  // Whether a marker's parent answer holds for the marker standing at (list, index),
  // where listChain is list->ChainStamp().
  static bool ParentAnswerHolds(const TRPMarkerParentCache& answer, const TRPMarkerList& list, int32_t index,
                                uint64_t listChain);

  std::vector<TRPMarkerItemInfo*> FItems;
  // The markers this list made (read from records); the others belong to documents.
  std::vector<std::unique_ptr<TRPMarkerItemInfo>> FOwned;
  TRPMarkerList* FPrevMarkerList = nullptr;
  // Stamps (from one counter of the process, never the same twice) of the last change of
  // the markers and of PrevMarkerList; 0 for never.
  uint64_t FMarkersStamp = 0;
  uint64_t FLinkStamp = 0;
  mutable int64_t FParentSearchSteps = 0;
};
