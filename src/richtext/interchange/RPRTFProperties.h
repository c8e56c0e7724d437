// The RTF reader's property model: what the property control words set, kept as RTF
// gives it (twips for lengths, points for font sizes, hundredths of a percent for
// shading, colour-table entries as TColor), for the import to read when text, pictures
// and table events arrive.
//
// Two colour sentinels: automatic is clWindowText, none is clNone. The formatting of a
// group (character, paragraph, section, document, row) is copied when a group opens and
// restored when it closes (RPRTFReaderState.h). The document-wide tables (fonts,
// colours, style sheet, lists, list overrides) belong to the reader.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Font.h"
#include "richtext/model/RPLists.h"

// Sides of a border, in the order of the border words (\brdrl, \brdrt, \brdrr, \brdrb).
enum TRPRTFSide : uint8_t { rtf_side_Left = 0, rtf_side_Top = 1, rtf_side_Right = 2, rtf_side_Bottom = 3 };

// An owning list of one class; the tables of the reader and the cells of a row.
template <class T>
class TRPRTFOwningList : public TRPList {
public:
  T* Items(int32_t index) const { return static_cast<T*>(TRPList::Items(index)); }
  T* Last() const { return Count() > 0 ? Items(Count() - 1) : nullptr; }
  T* AddNew() {
    auto item = std::make_unique<T>();
    T* added = item.get();
    Add(std::move(item));
    return added;
  }
};

// --- Character formatting -------------------------------------------------------------

class TRPRTFCharProperties : public TObject {
public:
  // \plain: every field to its default, with the language and the default font's index.
  void Reset(int32_t defLanguage, int32_t defFontIndex);
  // Everything but the language and the font name override.
  void Assign(const TRPRTFCharProperties& source);

  bool Hidden = false;
  int32_t Size = 12;  // points
  TColor Color = clWindowText;
  TColor BackColor = clNone;
  int32_t FontIndex = 0;  // into the font list
  TFontStyles Style;
  bool AllCaps = false;
  int32_t CharScaleX = 100;    // percent
  uint8_t SubSuperScript = 0;  // 0 none, 1 subscript, 2 superscript
  int32_t CharSpacing = 0;     // twips
  int32_t Language = 0;
  // Set only while a SYMBOL field adds its character.
  AnsiString FontNameOverride;
};

// --- Borders and tabs -----------------------------------------------------------------

class TRPRTFBorderSide : public TObject {
public:
  void Reset();

  uint8_t BorderType = 0;  // 0 none; the border kinds of \brdrs .. \brdroutset
  int32_t Width = 0;       // twips
  TColor Color = clNone;
  int32_t Spacing = 0;  // twips
};

class TRPRTFParaBorder : public TObject {
public:
  TRPRTFParaBorder() = default;
  TRPRTFParaBorder(const TRPRTFParaBorder& source) : TObject() { Assign(source); }
  TRPRTFParaBorder& operator=(const TRPRTFParaBorder& source) {
    Assign(source);
    return *this;
  }

  // The side, created on first use.
  TRPRTFBorderSide& Side(uint8_t side);
  // The side, or nullptr when it was never touched.
  const TRPRTFBorderSide* GetSide(uint8_t side) const { return side < 4 ? FSides[side].get() : nullptr; }
  // Some side exists with a style other than none.
  bool IsPresent() const;
  // Copies each side the source has and frees each side it lacks.
  void Assign(const TRPRTFParaBorder& source);
  // Every existing side back to no style, width 0, no colour, spacing 0.
  void Reset();

private:
  std::array<std::unique_ptr<TRPRTFBorderSide>, 4> FSides;
};

struct TRPRTFTab {
  int32_t Position = 0;  // twips
  uint8_t Kind = 0;      // 0 left, 1 right, 2 centre, 3 decimal
  uint8_t Leader = 0;    // 0 none, 1 dots, 2 middle dots, 3 hyphens, 4 underline, 5 equals signs
  bool IsListTab = false;
};

// The tab stops of a paragraph; the last one is the spare that \tx completes.
using TRPRTFTabList = std::vector<TRPRTFTab>;

// --- Numbering ------------------------------------------------------------------------

// What a numbering fixed itself, so that it does not follow the text's formatting.
enum TRPRTFMarkerFixed : uint8_t {
  rtf_mf_Font = 1,
  rtf_mf_Size = 2,
  rtf_mf_Color = 4,
  rtf_mf_Bold = 8,
  rtf_mf_Italic = 16,
  rtf_mf_Underline = 32,
  rtf_mf_StrikeOut = 64,
};

// Marker number types: 0 none, 1 decimal, 2 lower letters, 3 upper letters, 4 lower
// roman, 5 upper roman, 6 bullet.
class TRPRTFCustomMarkerProperties : public TObject {
public:
  virtual void Reset();
  // Follows the text: font, size and colour unless fixed, bold, italic and strike-out
  // unless fixed.
  void UpdateFrom(const TRPRTFCharProperties& charProps);

  uint8_t ListType = 0;
  int32_t FontIndex = -1;
  int32_t Indent = 0;  // twips
  int32_t Space = 0;   // twips
  int32_t Start = 0;
  TFontStyles FontStyle;
  TColor Color = clWindowText;
  uint8_t Alignment = 0;        // 0 left, 1 right, 2 centre
  uint8_t FixedProperties = 0;  // TRPRTFMarkerFixed bits
  int32_t FontSize = 12;        // points
};

// Old-style numbering (\pn).
class TRPRTFMarkerProperties : public TRPRTFCustomMarkerProperties {
public:
  void Reset() override;

  int32_t Level = 0;  // 1-9 numbered levels, 10 body, 11 bullet
  bool Hanging = false;
  AnsiString TextAfter;
  AnsiString TextBefore;
};

// A level of the list table.
class TRPRTFListLevel97 : public TRPRTFCustomMarkerProperties {
public:
  void Reset() override;

  bool OldStyle = false;
  bool Legal = false;
  bool NoRestart = false;
  AnsiString Text;     // \leveltext: its length, then the text with placeholders
  AnsiString Numbers;  // \levelnumbers: its length, then the placeholder positions
  WideString TextW;    // \leveltext with \u characters
  uint8_t Follow = 0;  // 0 tab, 1 space, 2 nothing
  int32_t LeftIndent = 0;
  int32_t FirstIndent = 0;
  int32_t TabPosition = 0;
  bool FontSizeDefined = false;
  bool IndentsUpdated = false;
};

class TRPRTFList97 : public TRPRTFOwningList<TRPRTFListLevel97> {
public:
  int32_t Id = 0;
  int32_t TemplateId = 0;  // no control word sets it
  bool Simple = false;
  AnsiString Name;
};

class TRPRTFListTable97 : public TRPRTFOwningList<TRPRTFList97> {
public:
  // Index of the list with that id, -1 when none.
  int32_t FindListId(int32_t id) const;
};

class TRPRTFListOverrideLevel97 : public TObject {
public:
  bool UseStart = false;
  int32_t Start = 1;
};

class TRPRTFListOverride97 : public TRPRTFOwningList<TRPRTFListOverrideLevel97> {
public:
  int32_t ListIndex = -1;  // into the list table, -1 for an unknown id
  int32_t Number = 0;      // \ls
  int32_t OverrideCount = 0;
};

class TRPRTFListOverrideTable97 : public TRPRTFOwningList<TRPRTFListOverride97> {
public:
  // Index of the override numbered number, -1 when none.
  int32_t FindOverrideNumber(int32_t number) const;
};

// --- Paragraph ------------------------------------------------------------------------

class TRPRTFParaProperties : public TObject {
public:
  TRPRTFParaProperties() = default;
  // Deep: border, numbering and tabs.
  TRPRTFParaProperties(const TRPRTFParaProperties& source);
  TRPRTFParaProperties& operator=(const TRPRTFParaProperties& source);

  // \pard. While KeepNesting is set the nesting level and the in-table mark stay.
  void Reset();
  // The border, created on first use.
  TRPRTFParaBorder& Border();
  const TRPRTFParaBorder* GetBorder() const { return FBorder.get(); }
  // The numbering, created on first use.
  TRPRTFMarkerProperties& MarkerProps();
  const TRPRTFMarkerProperties* GetMarkerProps() const { return FMarkerProps.get(); }
  void SetMarkerProps(const TRPRTFMarkerProperties& source);
  // The tab stops (empty when none were given); a group's copy shares them until one of
  // the copies changes them.
  const TRPRTFTabList& Tabs() const;
  TRPRTFTabList& MutableTabs();
  // Before a run, picture or object is reported: a shading blends the background with
  // the foreground (and is then 0); once per paragraph state the spare tab and the list
  // tabs go.
  void Finalize();
  // 0 outside a table, else the nesting level.
  int32_t TableLevel() const { return InTable ? NestingLevel : 0; }

  int32_t LeftIndent = 0;
  int32_t RightIndent = 0;
  int32_t FirstIndent = 0;
  int32_t SpaceBefore = 0;
  int32_t SpaceAfter = 0;
  uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre, 3 justify
  uint8_t CurBorderSide = rtf_side_Left;
  int32_t LineSpacing = 240;
  bool LineSpacingMulti = true;
  TColor Color = clNone;  // background
  int32_t NestingLevel = 1;
  bool InTable = false;
  int32_t Shading = 0;  // hundredths of a percent
  TColor ForeColor = clBlack;
  int32_t ListOverrideIndex = -1;  // into the list-override table
  int32_t ListLevel = 0;
  bool KeepLinesTogether = false;
  bool KeepWithNext = false;
  bool NoOverlap = false;
  bool KeepNesting = false;  // no control word sets it
  bool TabsFinalized = false;

private:
  std::unique_ptr<TRPRTFParaBorder> FBorder;
  std::unique_ptr<TRPRTFMarkerProperties> FMarkerProps;
  std::shared_ptr<TRPRTFTabList> FTabs;
};

// Per channel (back * (10000 - shading) + fore * shading) / 10000, with no background as
// white and automatic as black; shading is clamped to 0 .. 10000.
TColor BlendRTFShading(TColor back, TColor fore, int32_t shading);

// --- Section and document -------------------------------------------------------------

// The section's numbering defaults of levels 1 to 11 (\pnseclvl), each made on first use.
class TRPRTFMarkerDefaults : public TRPRTFOwningList<TRPRTFMarkerProperties> {
public:
  TRPRTFMarkerDefaults();
  // Level 1 to 11; nullptr outside.
  TRPRTFMarkerProperties* Level(int32_t level) const;

  // A \pnseclvl gave the section some defaults.
  bool Used = false;
};

class TRPRTFSectionProperties : public TObject {
public:
  TRPRTFSectionProperties();
  // \sectd: every field but the header and footer distances to its default; new
  // numbering defaults.
  void Reset();
  // All but the header and footer distances, which keep their latest values. The copy
  // shares the numbering defaults, so that levels defined inside their own groups hold
  // for the section after those groups close.
  void Assign(const TRPRTFSectionProperties& source);
  TRPRTFMarkerDefaults& MarkerDefaults() const { return *FMarkerDefaults; }

  int32_t ColumnCount = 1;
  uint8_t SectionBreak = 4;  // 0 none, 1 column, 2 even, 3 odd, 4 page
  int32_t PageNumberX = 720;
  int32_t PageNumberY = 720;
  uint8_t PageNumberFormat = 0;  // 0 decimal, 1 upper roman, 2 lower roman, 3 upper, 4 lower letters
  int32_t HeaderY = 720;
  int32_t FooterY = 720;

private:
  std::shared_ptr<TRPRTFMarkerDefaults> FMarkerDefaults;
};

class TRPRTFDocProperties : public TObject {
public:
  void Reset() { *this = TRPRTFDocProperties(); }

  int32_t PaperWidth = 12240;
  int32_t PaperHeight = 15480;
  int32_t LeftMargin = 1800;
  int32_t TopMargin = 1440;
  int32_t RightMargin = 1800;
  int32_t BottomMargin = 1440;
  int32_t PageNumberStart = 1;
  bool FacingPages = false;
  bool Landscape = false;
};

// --- Rows and cells -------------------------------------------------------------------

class TRPRTFCellProperties : public TObject {
public:
  uint8_t HMerge = 0;  // 0 none, 1 first cell, 2 merged into the previous one
  uint8_t VMerge = 0;
  bool PercentWidth = false;
  int32_t BestWidth = 0;  // twips; negative: fiftieths of a percent
  TColor Color = clNone;
  uint8_t VAlign = 0;  // 0 top, 1 bottom, 2 centre
  TRPRTFParaBorder Border;
  uint8_t CurBorderSide = rtf_side_Left;
  int32_t RightBoundary = 0;  // twips, from \cellx
  TColor ForeColor = clBlack;
  int32_t Shading = 0;     // hundredths of a percent
  int32_t BestHeight = 0;  // pixels, from \richpanecbh
};

class TRPRTFCellPropsList : public TRPRTFOwningList<TRPRTFCellProperties> {
public:
  void AssignDeep(const TRPRTFCellPropsList& source);
};

class TRPRTFRowProperties : public TObject {
public:
  TRPRTFRowProperties() { Reset(); }
  TRPRTFRowProperties(const TRPRTFRowProperties& source);

  // \trowd: padding, spacing and their flags cleared, the border reset, the cells
  // emptied and one spare cell added; finishing and spare flags on, heading and pixel
  // flags off. The rest keeps its value.
  void Reset();
  // The last cell (the spare one while \cellx is still to come).
  TRPRTFCellProperties& CurrentCell();
  // \cellx: the current cell takes the boundary, then a new spare cell follows unless
  // the row already holds maxCells cells.
  void AddCellBoundary(int32_t twips, int32_t maxCells);
  // At \row: the spare cell goes, and every cell with a shading gets its colour blended
  // with its foreground. Only once per row definition.
  void Finish();

  bool PercentWidth = false;
  bool Heading = false;
  int32_t GapH = 0;  // \trgaph, half the gap between cells
  int32_t Left = 0;  // \trleft
  int32_t Height = 0;
  int32_t BestWidth = 0;  // twips; negative: fiftieths of a percent; 0 none
  TRPRTFParaBorder Border;
  uint8_t CurBorderSide = rtf_side_Left;
  TRPRTFCellPropsList Cells;
  bool NeedsFinishing = true;
  bool HasSpareCell = true;
  bool SizesInPixels = false;
  // Indexed by TRPRTFSide.
  std::array<int32_t, 4> Padding{};
  std::array<int32_t, 4> Spacing{};
  std::array<bool, 4> PaddingInTwips{};
  std::array<bool, 4> SpacingInTwips{};
};

// --- Pictures and objects -------------------------------------------------------------

enum TRPRTFPictureKind : uint8_t {
  rtf_pict_EMF = 0,
  rtf_pict_PNG = 1,
  rtf_pict_JPEG = 2,
  rtf_pict_MacPict = 3,
  rtf_pict_PmMetafile = 4,
  rtf_pict_WMF = 5,
  rtf_pict_DIB = 6,
  rtf_pict_DDB = 7,
};

// A device-independent bitmap's data starts with room for the 14-byte file header.
inline constexpr int32_t RTFBitmapFileHeaderBytes = 14;

class TRPRTFPicture : public TObject {
public:
  TRPRTFPictureKind PicType = rtf_pict_EMF;
  int32_t MetafileMapMode = 0;
  int32_t PicW = 0;  // pixels of a bitmap, hundredths of a millimetre of a metafile
  int32_t PicH = 0;
  int32_t PicWGoal = 0;  // twips, 0 = none
  int32_t PicHGoal = 0;
  int32_t PicScaleX = 100;  // percent
  int32_t PicScaleY = 100;
  int32_t WBMWidthBytes = 0;
  int32_t WBMBitsPixel = 1;
  int32_t WBMPlanes = 1;
  bool MetafileWithBitmap = false;
  // Inside \shppict or a shape's picture property: a picture with an alternative
  // (\nonshppict, \shprslt) that stands for it when it gives nothing.
  bool ShpPict = false;
  TMemoryStream Data;
  int32_t SuggestedWidth = 0;  // pixels, from the goal sizes; 0 when not given
  int32_t SuggestedHeight = 0;
};

class TRPRTFObject : public TObject {
public:
  uint8_t ObjType = 0;  // \objemb 0 .. \objocx 7
  TMemoryStream Data;
  int32_t Width = 0;  // twips
  int32_t Height = 0;
};

// --- Fonts, style sheet, colours ------------------------------------------------------

class TRPRTFFont : public TObject {
public:
  int32_t Number = 0;  // \fN
  AnsiString Name;
  uint8_t Family = 0;   // \fnil 0 .. \fbidi 7
  uint8_t Charset = 1;  // 1: the default charset
};

class TRPRTFFontList : public TRPRTFOwningList<TRPRTFFont> {
public:
  TRPRTFFont* AddFont(int32_t number);
  void Clear() override;
  // The index of the font numbered number; else 0 when number is the default number;
  // else the index of the default number's font, or 0.
  int32_t GetFontIndex(int32_t number, int32_t defNumber) const;
  // A font of charset 161, 162, 186, 204 or 238 whose name ends with a space and
  // "greek", "tur", "baltic", "cyr" or "ce" (any case) loses them.
  void RemoveCharsetSuffixes();

private:
  int32_t IndexOfNumber(int32_t number) const;
  std::unordered_map<int32_t, int32_t> FFirstIndexOfNumber;
};

class TRPRTFStyleSheetEntry : public TObject {
public:
  TRPRTFStyleSheetEntry() : Next(this) {}

  TRPRTFParaProperties ParaProps;
  TRPRTFCharProperties CharProps;
  bool Additive = false;
  bool Hidden = false;
  int32_t Number = 0;
  uint8_t StyleSheetType = 1;  // 0 character, 1 paragraph, 2 section
  TRPRTFStyleSheetEntry* BasedOn = nullptr;
  TRPRTFStyleSheetEntry* Next;
  AnsiString Name;
};

class TRPRTFStyleSheet : public TRPRTFOwningList<TRPRTFStyleSheetEntry> {
public:
  // The first entry numbered number, or nullptr.
  TRPRTFStyleSheetEntry* FindEntry(int32_t number) const;
};

// Colour-table entries in order; index 0 is the automatic colour of the first ";".
class TRPRTFColorList : public TRPIntegerList {
public:
  // The entry, or fallback for an index outside the list.
  TColor ColorOr(int32_t index, TColor fallback) const;
  // \red, \green, \blue: an automatic last entry becomes 0 first; then value shifted
  // by shift is ORed in. Nothing when the list is empty.
  void MixIntoLast(int32_t value, int32_t shift);
};
