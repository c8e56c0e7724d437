// The three simple item kinds: a run of text in one text style, a horizontal line across
// the whole width (break), and a gap to the next tab stop, optionally filled with leader
// characters (tab).
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPScaling.h"

class TRPStyle;

// Draw states of non-text items, as painting passes them.
inline constexpr uint32_t rpidsSelected = 0x01;
inline constexpr uint32_t rpidsFocused = 0x40;

// The units of these kinds register their classes (text, break, tab) at start-up.
void RegisterTextItemClasses();

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
  // A double-quoted hint (doubled quotes inside stand for one) when the rest is not
  // empty.
  bool ReadRPFHeaderExtra(AnsiStringView& rest) override;
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
  // "<hr ...>" (CSS style for colour and dotted or dashed lines when useCss or option
  // 0x80); the hint in UTF-8 from codePage with the UTF-8 option.
  AnsiString SaveToHTML(uint32_t options, bool useCss, uint32_t codePage) const;
  // A bottom-bordered empty paragraph; nestingLevel of tables, twipsPerPixel.
  AnsiString SaveRTF(int32_t nestingLevel, double twipsPerPixel, const TRPColorList& colors) const;
  void FillRTFTables(TRPColorList& colors) const { colors.AddUniqueColor(Color); }
  // "Color Style LineWidth"; reading an empty rest gives none, line, 1.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  bool ReadRPFHeaderExtra(AnsiStringView& rest) override;

private:
  TColor LineColor(const TRPStyle& rpStyle) const;
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
  AnsiString SaveRTF() const { return "\\tab "; }
  // The escaped leader (or " &nbsp;") repeated to fill SpacesInTab (8 when not positive).
  AnsiString SaveToHTML(const TRPStyle& rpStyle) const;
  // TextStyleNo; an empty rest keeps it.
  void GetRPFHeaderExtra(TCustomRPData* rpData, AnsiString& s) const override;
  bool ReadRPFHeaderExtra(AnsiStringView& rest) override;
  void MarkStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberStyles(const TRPStyleUsage& usage) override;
};

// The arrow drawn for a tab when special characters are shown, pointing left for
// right-to-left text.
void DrawTabArrow(TCanvas& canvas, const TRect& rect, bool rightToLeft);
