// The style sheet: the text, paragraph and list styles that documents refer to by index, the
// colours and cursors of the viewer, and the hooks through which text, checkpoints,
// page breaks and paragraph backgrounds are painted.
//
// A style index out of range never fails: the collections answer a fallback style (white
// on red for text, a red frame for paragraphs), so such errors show on the page.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Components.h"
#include "platform/graphics/Canvas.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/model/RPStyleTemplates.h"

class TCustomIniFile;
class TCustomRPData;
class TStream;

// Makes a style of a collection's kind, joined to collection (none for a fallback).
using TRPFontInfoClass = std::unique_ptr<TFontInfo> (*)(TCollection* collection);
using TRPParaInfoClass = std::unique_ptr<TParaInfo> (*)(TCollection* collection);

template <typename T>
std::unique_ptr<T> CreateRPStyleItem(TCollection* collection) {
  return std::make_unique<T>(collection);
}

class TFontInfos : public TCustomRPInfos {
public:
  TFontInfos(TPersistent* owner, TRPFontInfoClass itemClass);
  ~TFontInfos() override;

  // Pixels per inch that Apply uses when asked to (0: the canvas font's).
  int32_t PixelsPerInch = 0;

  TFontInfo* Add() { return static_cast<TFontInfo*>(TCollection::Add()); }
  // The style at index, or the fallback style outside 0 .. Count - 1.
  TFontInfo* GetItem(int32_t index) const;
  TFontInfo* operator[](int32_t index) const { return GetItem(index); }
  // The fallback: a copy of style 0 made on first use, white on red.
  TFontInfo* GetInvalidItem() const;
  // The index of a style equal to style in every property of mask: baseStyle first (its
  // fallback when out of range), then the others in order; -1 when none.
  int32_t FindMatchingStyle(int32_t baseStyle, const TFontInfo& style, TRPFontInfoProperties mask) const;
  // A non-Unicode style of charset equal to style baseStyle in all but charset and
  // Unicode: baseStyle itself when it is one, else the first other; -1.
  int32_t FindStyleWithCharset(int32_t baseStyle, uint8_t charset) const;

protected:
  // Among the styles with the same Jump and Unicode, else the same Jump, else the same
  // Unicode, else all.
  int32_t FindClosestStyle(const TCustomRPInfo& s) const override;

private:
  TRPFontInfoClass FItemClass;
  mutable std::unique_ptr<TFontInfo> FInvalidItem;
};

class TParaInfos : public TCustomRPInfos {
public:
  TParaInfos(TPersistent* owner, TRPParaInfoClass itemClass);
  ~TParaInfos() override;

  TParaInfo* Add() { return static_cast<TParaInfo*>(TCollection::Add()); }
  TParaInfo* GetItem(int32_t index) const;
  TParaInfo* operator[](int32_t index) const { return GetItem(index); }
  // The fallback: a copy of style 0 made on first use, with spacing and indents 1 and a
  // red single frame 2 pixels wide.
  TParaInfo* GetInvalidItem() const;
  int32_t FindMatchingStyle(int32_t baseStyle, const TParaInfo& style, TRPParaInfoProperties mask) const;

private:
  TRPParaInfoClass FItemClass;
  mutable std::unique_ptr<TParaInfo> FInvalidItem;
};

enum TRPSelectionMode : uint8_t { rpsmChar, rpsmWord, rpsmParagraph };
enum TRPSelectionStyle : uint8_t { rpssItems, rpssLines };
enum TRPPageBreakType : uint8_t { rppbSoftPageBreak, rppbPageBreak };

inline constexpr int32_t crLineSelect = 106;  // the flip-arrow cursor of line selection

// Options of TRPStyle::WriteCSS.
inline constexpr uint32_t rpcssBaseStyles = 1;          // rules against each style's BaseStyleNo style
inline constexpr uint32_t rpcssNoDefaultLeftAlign = 2;  // a paragraph rule without base omits left alignment
inline constexpr uint32_t rpcssNoDefaultElements = 4;   // no body and p rules: style 0 like the others
inline constexpr uint32_t rpcssUtf8 = 8;                // names from DefCodePage to UTF-8

class TRPStyle : public TComponent, public IRPStyleSheet {
public:
  // The collections hold styles of the classes given (a descendant passes its own).
  explicit TRPStyle(TComponent* owner, TRPFontInfoClass textStyleClass = &CreateRPStyleItem<TFontInfo>,
                    TRPParaInfoClass paraStyleClass = &CreateRPStyleItem<TParaInfo>,
                    TRPListInfoClass listStyleClass = &CreateRPStyleItem<TRPListInfo>);
  ~TRPStyle() override;

  TFontInfos& TextStyles() { return *FTextStyles; }
  const TFontInfos& TextStyles() const { return *FTextStyles; }
  TParaInfos& ParaStyles() { return *FParaStyles; }
  const TParaInfos& ParaStyles() const { return *FParaStyles; }
  TRPListInfos& ListStyles() { return *FListStyles; }
  const TRPListInfos& ListStyles() const { return *FListStyles; }

  int32_t SpacesInTab = 0;
  int32_t DefTabWidth = 48;  // screen pixels
  int32_t JumpCursor = crJump;
  int32_t LineSelectCursor = crLineSelect;
  bool FullRedraw = false;
  bool UseSound = true;
  TColor Color = clWindow;
  TColor HoverColor = clNone;
  TColor CurrentItemColor = clNone;
  TColor SelColor = clHighlight;
  TColor SelTextColor = clHighlightText;
  TColor InactiveSelColor = clHighlight;
  TColor InactiveSelTextColor = clHighlightText;
  TColor CheckpointColor = clGreen;
  TColor CheckpointEvColor = clLime;
  TColor PageBreakColor = clBtnShadow;
  TColor SoftPageBreakColor = clBtnFace;
  TColor LiveSpellingColor = clRed;
  TRPSelectionMode SelectionMode = rpsmWord;
  TRPSelectionStyle SelectionStyle = rpssItems;
  int32_t DefUnicodeStyle = -1;
  uint32_t DefCodePage = 0;  // 0: the system's ANSI code page

  // Events; each runs only when assigned, with DoDefault (or Sensitive) as a var.
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t styleNo, bool& doDefault)> OnApplyStyle;
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t styleNo, TRPTextDrawStates drawState, bool& doDefault)>
      OnApplyStyleColor;
  std::function<void(TRPStyle* sender, const AnsiString& text, TCanvas& canvas, int32_t styleNo, int32_t spaceBefore,
                     int32_t left, int32_t top, int32_t width, int32_t height, TRPTextDrawStates drawState,
                     bool& doDefault)>
      OnDrawStyleText;
  std::function<void(const TRPStyle* sender, int32_t styleNo, bool& sensitive)> OnStyleHoverSensitive;
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t styleNo, int32_t left, int32_t top, int32_t width,
                     int32_t height, TRPTextDrawStates drawState, bool& doDefault)>
      OnDrawTextBack;
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t x, int32_t y, int32_t itemNo, int32_t xShift,
                     bool raiseEvent, TObject* control, bool& doDefault)>
      OnDrawCheckpoint;
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t y, int32_t xShift, TRPPageBreakType pageBreakType,
                     TObject* control, bool& doDefault)>
      OnDrawPageBreak;
  std::function<void(TRPStyle* sender, TCanvas& canvas, int32_t paraNo, const TRect& rect, bool& doDefault)>
      OnDrawParaBack;

  // What the handlers of OnDrawStyleText, OnDrawTextBack and OnDrawCheckpoint may read:
  // the item, the 1-based position of the run in the item's text, the document.
  int32_t ItemNo = -1;
  int32_t OffsetInItem = 0;
  TCustomRPData* RPData = nullptr;

  void ApplyStyle(TCanvas& canvas, int32_t styleNo, TRPBiDiMode defBiDiMode, bool useCollectionPixelsPerInch);
  void ApplyStyleColor(TCanvas& canvas, int32_t styleNo, TRPTextDrawStates drawState, bool printing,
                       TRPColorMode colorMode);
  void DrawStyleText(const AnsiString& text, TCanvas& canvas, int32_t itemNo, int32_t offsetInItem, int32_t styleNo,
                     TCustomRPData* rpData, int32_t spaceBefore, int32_t left, int32_t top, int32_t width,
                     int32_t height, TRPTextDrawStates drawState, bool printing, bool previewCorrection,
                     TRPColorMode colorMode, TRPBiDiMode defBiDiMode);
  // Whether the style looks different under the mouse.
  bool IsHoverSensitive(int32_t styleNo) const;
  // Only through OnDrawTextBack; there is no default drawing.
  void DrawTextBack(TCanvas& canvas, int32_t itemNo, int32_t styleNo, TCustomRPData* rpData, int32_t left, int32_t top,
                    int32_t width, int32_t height, TRPTextDrawStates drawState);
  // A mark on the checkpoint's item (none when itemNo is -1) and a dotted line across.
  void DrawCheckpoint(TCanvas& canvas, int32_t x, int32_t y, int32_t left, int32_t width, TCustomRPData* rpData,
                      int32_t itemNo, int32_t xShift, bool raiseEvent, TObject* control);
  // A line across clientWidth ending in a small triangle.
  void DrawPageBreak(TCanvas& canvas, int32_t y, int32_t xShift, TRPPageBreakType pageBreakType, TObject* control,
                     int32_t clientWidth);
  void DrawParaBack(TCanvas& canvas, int32_t paraNo, const TRect& rect, bool printing, TRPColorMode colorMode);
  // The style's hover colour, or the sheet's when the style has none.
  TColor GetHoverColor(int32_t styleNo) const;
  TColor GetHoverColorByColor(TColor color) const { return color == clNone ? HoverColor : color; }
  // The next tab stop after x (device pixels) in paragraph style paraNo, between posA and
  // posB (the text area), with its leader and alignment; the default grid past the stops.
  void GetNextTab(int32_t paraNo, int32_t x, const TRPResolution& resolution, int32_t& position, AnsiString& leader,
                  TRPTabAlign& align, TRPBiDiMode defBiDiMode, int32_t posA, int32_t posB) const;

  // The standard styles again: six text styles, two paragraph styles.
  void ResetTextStyles();
  void ResetParaStyles();

  TRPStyleTemplateCollection& StyleTemplates() { return *FStyleTemplates; }
  const TRPStyleTemplateCollection& StyleTemplates() const { return *FStyleTemplates; }
  // After streaming in: every style template re-links to its parent by ParentId.
  void Loaded() override;

  // The CSS style sheet of the text and paragraph styles (options: rpcss...); list
  // styles write their CSS with their list tags.
  void WriteCSS(TStream& stream, uint32_t options) const;
  // The whole style sheet in a settings file: its own values and counts under section,
  // each style under a section of its own named section + ".Text" + its index (".Para",
  // ".List", ".Template" for the others; the keys of each style's SaveToINI with the pattern
  // "%s"). Sections left from a larger sheet saved there before are removed.
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section) const;
  // Reads what SaveToINI writes. Whole or nothing: when the file raises or holds what
  // cannot be taken (counts past the limits, a damaged long string: ERichPaneError),
  // the style sheet stays as it was. Template parents are re-linked, a loop cut. The
  // styles of a kind end before the first whose section holds no key, whatever the count
  // says. A TIniFile is read once, as a TMemIniFile of its file.
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

  TRPFontInfoClass GetTextStyleClass() const { return FTextStyleClass; }
  TRPParaInfoClass GetParaStyleClass() const { return FParaStyleClass; }
  TRPListInfoClass GetListStyleClass() const { return FListStyleClass; }

  // An image list that goes is forgotten by every list level that shows it.
  void Notification(TComponent* component, TOperation operation) override;

  // What documents ask of their style sheet.
  int32_t GetParaDefStyleNo(int32_t paraNo) const override { return ParaStyles()[paraNo]->DefStyleNo; }
  bool IsTextStyleUnicode(int32_t styleNo) const override { return TextStyles()[styleNo]->Unicode; }
  int32_t GetTextStyleCharset(int32_t styleNo) const override { return TextStyles()[styleNo]->Charset; }
  bool IsTextStyleMergeProtected(int32_t styleNo) const override;
  bool IsTextStyleJump(int32_t styleNo) const override { return TextStyles()[styleNo]->Jump; }
  bool IsTextStyleHoverSensitive(int32_t styleNo) const override { return IsHoverSensitive(styleNo); }
  TRPBiDiMode GetTextStyleBiDiMode(int32_t styleNo) const override { return TextStyles()[styleNo]->BiDiMode; }
  TRPBiDiMode GetParaStyleBiDiMode(int32_t paraNo) const override { return ParaStyles()[paraNo]->BiDiMode; }
  bool IsTextStyleHTMLWritable(int32_t styleNo) const override;
  uint32_t GetDefCodePage() const override { return DefCodePage; }
  int32_t GetSpacesInTab() const override { return SpacesInTab; }
  const TRPListInfos* GetListStyles() const override { return FListStyles.get(); }
  int32_t GetTextStylesPixelsPerInch() const override { return FTextStyles->PixelsPerInch; }
  int32_t GetTextStyleCount() const override { return TextStyles().Count(); }
  AnsiString GetTextStyleName(int32_t styleNo) const override { return TextStyles()[styleNo]->StyleName; }
  int32_t GetParaStyleCount() const override { return ParaStyles().Count(); }
  AnsiString GetParaStyleName(int32_t paraNo) const override { return ParaStyles()[paraNo]->StyleName; }
  int32_t GetJumpCursor() const override { return JumpCursor; }
  bool GetUseSound() const override { return UseSound; }

  // The picture shown for a picture that could not be read: the program's bitmap
  // resource "RP_BAD_PICTURE", loaded on first use (raises EResNotFound when the program
  // lacks it).
  const TGraphic* GetInvalidPicture() const override;
  // None frees it (the next read loads the resource again); a graphic is copied.
  void SetInvalidPicture(const TGraphic* picture);

private:
  TRPFontInfoClass FTextStyleClass;
  TRPParaInfoClass FParaStyleClass;
  TRPListInfoClass FListStyleClass;
  std::unique_ptr<TFontInfos> FTextStyles;
  std::unique_ptr<TParaInfos> FParaStyles;
  std::unique_ptr<TRPListInfos> FListStyles;
  std::unique_ptr<TRPStyleTemplateCollection> FStyleTemplates;
  mutable std::unique_ptr<TGraphic> FInvalidPicture;
};
