// The three simple item kinds: a run of text in one text style, a horizontal line across
// the whole width (break), and a gap to the next tab stop, optionally filled with leader
// characters (tab).
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPScaling.h"

class TRPStyle;

// Draw states of non-text items, as painting passes them.
inline constexpr uint32_t rpidsSelected = 0x01;
inline constexpr uint32_t rpidsFocused = 0x40;

// Registers the classes of these kinds (text, break, tab); the model's start-up does it
// (RPModelStartup.h).
void RegisterTextItemClasses();

// The reading mode of a text record's line for text in its stored form: hexadecimal digits
// (rpfbmHexText) for UTF-16 text of the text form and for text that would end its line
// early, plain (rpfbmHex) otherwise, UTF-16 of the binary form raw up to U+2029.
TRPFBodyMode RPFTextRecordMode(AnsiStringView text, bool unicode, uint32_t rpfOptions);
// One line of a text record in that mode.
void RPFWriteTextRecordLine(TStream& stream, AnsiStringView text, bool unicode, TRPFBodyMode mode);

class TRPTextItemInfo : public TCustomRPItemInfo {
public:
  explicit TRPTextItemInfo(TCustomRPData* rpData) : TCustomRPItemInfo(rpData) {}
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  // Hyperlink queries answer the resolved style's Jump; hover repaint also asks the
  // style sheet whether the style looks different under the mouse.
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  // A hyperlink tells its document (the formatted document follows the link).
  void ExecuteJump(TCustomRPData* rpData) override;
  // The hint in double quotes (quotes inside doubled); empty without one.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  // A double-quoted hint (doubled quotes inside stand for one) when the rest is not
  // empty.
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // A text record of one line, name (the item's stored text): "Style 1 Para Options Mode
  // Tag" and a blank and the quoted hint when there is one; the style as a quoted name
  // with rpfoUseStyleNames. 8-bit text is a plain line (mode 0); UTF-16 text is a line of
  // hexadecimal digits (mode 3), or in the binary form (rpfoSaveBinary) the raw UTF-16
  // ended by U+2029 (mode 0, the options' Unicode bit telling the reader). Text that
  // would end its line early (CR, LF or NUL bytes; U+2029 or U+0000 raw) is written in
  // hexadecimal digits (mode 3) so that it reads back whole.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // Each line is the text of one item (hexadecimal digits in mode 3); name receives it.
  // False for a bad hexadecimal line and for UTF-16 text of an odd byte length.
  bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState) override;
  void MarkStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberStyles(const TRPStyleUsage& usage) override;
};

enum TRPBreakStyle : uint8_t { rpbrLine, rpbrRectangle, rpbr3D, rpbrDotted, rpbrDashed };

class TRPBreakItemInfo : public TRPFullLineItemInfo {
public:
  explicit TRPBreakItemInfo(TCustomRPData* rpData) : TRPFullLineItemInfo(rpData) { StyleNo = rpkindBreak; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  uint8_t LineWidth = 1;
  TRPBreakStyle Style = rpbrLine;
  TColor Color = clNone;  // none: the colour of text style 0

  // Printed directly, never through a bitmap.
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // The line between left + 5 and right - 5, 5 pixels below top; selected, framed in
  // the selection colour.
  void PaintFullWidth(int32_t left, int32_t right, int32_t top, TCanvas& canvas, uint32_t drawState,
                      const TRPStyle& rpStyle) const;
  // The same on a device: offsets and widths scaled, colours through the colour mode.
  void Print(TCanvas& canvas, int32_t left, int32_t right, int32_t top, const TRPResolution& resolution,
             TRPColorMode colorMode, const TRPStyle& rpStyle) const;
  // lineWidth (at least 1) times "-", or "=" for lines 2 or more pixels wide.
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const override;
  // "<hr ...>" (CSS style for colour and dotted or dashed lines with CSS or option 0x80);
  // the hint in UTF-8 from the document's code page with the UTF-8 option.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // A bottom-bordered empty paragraph, at the context's nesting level of tables.
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // The line's colour.
  void FillRTFTables(TRPColorList& colors, TRPIntegerList& listOverrideCounts, TCustomRPData* rpData) const override;
  // "Color Style LineWidth"; reading an empty rest gives none, line, 1.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // The header (never as a continuation: a break starts its line) with the property
  // count as its line count, then the property lines.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;

private:
  TColor LineColor(const TRPStyle& rpStyle) const;
  AnsiString HtmlText(uint32_t options, bool useCss, uint32_t codePage) const;
  void DrawLine(TCanvas& canvas, int32_t x1, int32_t x2, int32_t top, int32_t width, TColor color, int32_t framePen,
                TColor shadow, TColor face, int32_t frameLines) const;
};

// The 3D frame: n rings, top and left edges in topLeft, right and bottom in bottomRight
// (only top and bottom shrink when the rectangle is lower than n).
void DrawFrame3D(TCanvas& canvas, TRect rect, TColor topLeft, int32_t n, TColor bottomRight);

class TRPTabItemInfo : public TRPRectItemInfo {
public:
  explicit TRPTabItemInfo(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindTab; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  int32_t TextStyleNo = 0;  // MaxInt: the paragraph's default text style
  AnsiString Leader;

  // The resolved text style goes through the document's conversion; the item's number
  // changes (through the document) only when the conversion gives another style.
  void ApplyStyleConversion(TCustomRPData* rpData, int32_t itemNo, int32_t userData, int32_t mode) override;
  int32_t GetAssociatedTextStyleNo() const override { return TextStyleNo; }
  void SetAssociatedTextStyleNo(int32_t styleNo) override { TextStyleNo = styleNo; }
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // TextStyleNo, MaxInt resolved through the paragraph style (0 when it has none).
  int32_t ResolveTextStyleNo(const IRPStyleSheet* rpStyle) const;
  // Height and descent of a line holding the tab: the resolved text style's font
  // metrics. The width comes from the tab placement of the formatted document.
  void UpdateSizeForWidth(TCanvas& canvas, TRPStyle& rpStyle, int32_t& height, int32_t& descent) const;
  // The gap (x, y, width, height) in the text style's colours, its underline, the tab
  // arrow when special characters are shown (not when printing), and the leader.
  void DrawTab(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TRPStyle& rpStyle,
               TRPTextDrawStates drawState, bool printing, TRPColorMode colorMode, bool rightToLeft) const;
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const override;
  // "\tab ".
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // The escaped leader (or " &nbsp;") repeated to fill SpacesInTab (8 when not positive).
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // TextStyleNo; an empty rest keeps it.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  bool ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming& streaming) override;
  // The header alone, its line count 0: the format keeps neither Leader nor the hint of a
  // tab.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  void MarkStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberStyles(const TRPStyleUsage& usage) override;
};

// The arrow drawn for a tab when special characters are shown, pointing left for
// right-to-left text.
void DrawTabArrow(TCanvas& canvas, const TRect& rect, bool rightToLeft);
