// Paragraph styles: indents, spacing, alignment, line spacing, border, background, tab
// stops, direction and keeping options; how two styles compare; how a border and a
// background are drawn around a paragraph's rectangle.
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyleInfo.h"
#include "richtext/model/RPStyleSets.h"

class TStream;

// Four offsets in screen pixels.
class TRPRect : public TPersistent {
public:
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  void SetAll(int32_t value) { Left = Top = Right = Bottom = value; }
  // rect grown by the offsets (left and top subtracted, right and bottom added); on a
  // device with the offsets scaled from screen pixels.
  void InflateRect(TRect& rect) const;
  void InflateRectOnDevice(TRect& rect, const TRPResolution& resolution) const;
  void AssignToRect(TRect& rect) const { rect = TRect{Left, Top, Right, Bottom}; }
  // Raises each side of rect to the offset when smaller.
  void AssignToRectIfGreater(TRect& rect) const;
  bool IsEqual(const TRPRect& value) const { return IsEqualEx(value, false, false, false, false); }
  bool IsEqualEx(const TRPRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight, bool ignoreBottom) const;
  void AssignValidProperties(const TRPRect& source, bool validLeft, bool validTop, bool validRight, bool validBottom);
  int32_t SimilarityValue(const TRPRect& value, int32_t weight) const;

  void Assign(const TPersistent& source) override;
  // "Left", "Right", "Top", "Bottom" under pattern, each only when not 0.
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
};

// Four flags, one per side.
class TRPBooleanRect : public TPersistent {
public:
  explicit TRPBooleanRect(bool value = false) { SetAll(value); }
  bool Left, Top, Right, Bottom;

  void SetAll(bool value) { Left = Top = Right = Bottom = value; }
  void SetValues(bool left, bool top, bool right, bool bottom);
  bool IsEqual(const TRPBooleanRect& value) const {
    return IsEqualToValues(value.Left, value.Top, value.Right, value.Bottom);
  }
  bool IsEqualToValues(bool left, bool top, bool right, bool bottom) const;
  bool IsAllEqual(bool value) const { return IsEqualToValues(value, value, value, value); }
  bool IsEqualEx(const TRPBooleanRect& value, bool ignoreLeft, bool ignoreTop, bool ignoreRight,
                 bool ignoreBottom) const;
  void AssignValidProperties(const TRPBooleanRect& source, bool validLeft, bool validTop, bool validRight,
                             bool validBottom);

  void Assign(const TPersistent& source) override;
  // "Left", "Right", "Top", "Bottom" under pattern, each only when false (the flags
  // of visible sides default to true).
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
};

enum TRPBorderStyle : uint8_t { rpbNone, rpbSingle, rpbDouble, rpbTriple, rpbThickInside, rpbThickOutside };

class TRPBorder : public TPersistent {
public:
  int32_t Width = 1;
  int32_t InternalWidth = 1;  // between the lines
  TColor Color = clWindowText;
  TRPBorderStyle Style = rpbNone;
  TRPBooleanRect VisibleBorders{true};
  TRPRect BorderOffsets;  // how far the border lies outside the text rectangle

  // The border around a screen rectangle.
  void Draw(TRect rect, TCanvas& canvas) const;
  // The border around a device rectangle, offsets and widths scaled to the device.
  void DrawOnDevice(TRect rect, TCanvas& canvas, const TRPResolution& resolution, TRPColorMode colorMode) const;
  // Thickness of the drawn border.
  int32_t GetTotalWidth() const;
  bool operator==(const TRPBorder& o) const;

  void Assign(const TPersistent& source) override;
  // "Width", "Style", "Color", "InternalWidth", the offsets under Format(pattern,
  // ["Offsets%s"]) and the visible sides under Format(pattern, ["Visible%s"]).
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  void DrawLines(TRect rect, TCanvas& canvas, int32_t lineWidth, int32_t gap, int32_t unit,
                 TRPColorMode colorMode) const;
};

class TRPBackgroundRect : public TPersistent {
public:
  TColor Color = clNone;  // none: no background
  TRPRect BorderOffsets;

  void PrepareRect(TRect& rect) const { BorderOffsets.InflateRect(rect); }
  void PrepareRectOnDevice(TRect& rect, const TRPResolution& resolution) const {
    BorderOffsets.InflateRectOnDevice(rect, resolution);
  }
  // Fills rect (one pixel more to the right and bottom); nothing for clNone or in the
  // black-and-white modes.
  void Draw(const TRect& rect, TCanvas& canvas, bool printing, TRPColorMode colorMode) const;

  void Assign(const TPersistent& source) override;
  // "Color" and the offsets under Format(pattern, ["Offsets%s"]).
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
};

enum TRPTabAlign : uint8_t { rptaLeft, rptaRight, rptaCenter };

class TRPTabInfos;

class TRPTabInfo : public TCollectionItem {
public:
  explicit TRPTabInfo(TCollection* collection) : TCollectionItem(collection) {}
  TRPTabAlign Align = rptaLeft;
  AnsiString Leader;  // repeated to fill the tab

  int32_t Position() const { return FPosition; }
  // Moves the tab to its place among the collection's tabs sorted by position; tabs of
  // equal position keep their order.
  void SetPosition(int32_t value);
  // "left at 10", with " (" + the leader six times + ")" when there is one.
  AnsiString DisplayName() const override;
  void Assign(const TPersistent& source) override;
  bool operator==(const TRPTabInfo& o) const {
    return Align == o.Align && FPosition == o.FPosition && Leader == o.Leader;
  }
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  int32_t FPosition = 0;  // screen pixels from the left of the text area
};

class TRPTabInfos : public TCollection {
public:
  TRPTabInfos() : TCollection(CollectionItemClassOf<TRPTabInfo>()) {}
  TRPTabInfo* Tab(int32_t index) const { return static_cast<TRPTabInfo*>(Items(index)); }
  TRPTabInfo* AddTab(int32_t position, TRPTabAlign align = rptaLeft, const AnsiString& leader = {});
  // Orders the tabs by position, equal positions in their present order.
  void SortTabs();
  bool operator==(const TRPTabInfos& o) const;

  // Under the tab pattern Q: the count under Format(Q, ["TabCount"]), and per tab i
  // "Pos", "Align" and "Leader" (only when not empty) under Format(Q, [""]) + "Tab%s" + i.
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const;
  // Replaces the tabs; a count past the limits raises ERichPaneError.
  void LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern);
};

enum TRPAlignment : uint8_t { rpaLeft, rpaRight, rpaCenter, rpaJustify };
enum TRPLineSpacingType : uint8_t { rplsPercent, rplsSpaceBetween };

enum TRPParaOption {
  rppaoNoWrap,
  rppaoReadOnly,
  rppaoStyleProtect,
  rppaoDoNotWantReturns,
  rppaoKeepLinesTogether,
  rppaoKeepWithNext
};
using TRPParaOptions = TRPSet<TRPParaOption, 0, 5>;

enum TRPParaInfoProperty {
  rppiFirstIndent,
  rppiLeftIndent,
  rppiRightIndent,
  rppiSpaceBefore,
  rppiSpaceAfter,
  rppiAlignment,
  rppiNextParaNo,
  rppiDefStyleNo,
  rppiLineSpacing,
  rppiLineSpacingType,
  rppiBackground_Color,
  rppiBackground_BO_Left,
  rppiBackground_BO_Top,
  rppiBackground_BO_Right,
  rppiBackground_BO_Bottom,
  rppiBorder_Color,
  rppiBorder_Style,
  rppiBorder_Width,
  rppiBorder_InternalWidth,
  rppiBorder_BO_Left,
  rppiBorder_BO_Top,
  rppiBorder_BO_Right,
  rppiBorder_BO_Bottom,
  rppiBorder_Vis_Left,
  rppiBorder_Vis_Top,
  rppiBorder_Vis_Right,
  rppiBorder_Vis_Bottom,
  rppiNoWrap,
  rppiReadOnly,
  rppiStyleProtect,
  rppiDoNotWantReturns,
  rppiKeepLinesTogether,
  rppiKeepWithNext,
  rppiTabs,
  rppiBiDiMode,
  rppiCustom,
};
// 5 bytes; the two halves that a paragraph style keeps as its modified properties: 4
// bytes for ordinals 0-26, 2 bytes for ordinals 27-35 (stored from ordinal 24).
using TRPParaInfoProperties = TRPSet<TRPParaInfoProperty, rppiFirstIndent, rppiCustom>;
using TRPParaInfoProperties1 = TRPSet<TRPParaInfoProperty, rppiFirstIndent, rppiBorder_Vis_Bottom>;
using TRPParaInfoProperties2 = TRPSet<TRPParaInfoProperty, rppiNoWrap, rppiCustom>;
inline constexpr TRPParaInfoProperties RPAllParaInfoProperties = TRPParaInfoProperties::All();
static_assert(TRPParaInfoProperties::StoredBytes == 5 && TRPParaInfoProperties1::StoredBytes == 4 &&
              TRPParaInfoProperties2::StoredBytes == 2 && TRPParaInfoProperties2::StoredBase == 24);

class TCustomRPParaInfo : public TCustomRPInfo {
public:
  explicit TCustomRPParaInfo(TCollection* collection);

  int32_t FirstIndent = 0;  // added to LeftIndent for the first line
  int32_t LeftIndent = 0;
  int32_t RightIndent = 0;
  int32_t SpaceBefore = 0;
  int32_t SpaceAfter = 0;
  TRPAlignment Alignment = rpaLeft;
  TRPBorder Border;
  TRPBackgroundRect Background;
  int32_t LineSpacing = 100;
  TRPLineSpacingType LineSpacingType = rplsPercent;
  TRPParaOptions Options;
  TRPBiDiMode BiDiMode = rpbdUnspecified;
  TRPTabInfos Tabs;

  void Assign(const TPersistent& source) override;
  // Copies from source only the properties in valid (never NextParaNo, DefStyleNo or
  // the custom member).
  void AssignValidProperties(const TCustomRPParaInfo& source, TRPParaInfoProperties valid);
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
  // Spacing other than single: a percentage other than 100, or space between above 0.
  bool ExtraLineSpacing() const;

  // Exact comparison of this (wanted) style with value (stored), properties of ignore
  // left out. StyleName, Standard and BaseStyleNo are never compared.
  virtual bool IsEqual(const TCustomRPParaInfo& value, TRPParaInfoProperties ignore) const;
  bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const override;
  bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const override;
  int32_t SimilarityValue(const TCustomRPInfo& value) const override;

  // After the base keys: "SpaceBefore", "SpaceAfter", "LeftIndent", "RightIndent",
  // "FirstIndent", "LineSpacing", "LSType", "Alignment", "BiDiMode", the six option
  // flags, the border under Format(pattern, ["Border%s"]), the background under
  // Format(pattern, ["Background%s"]) and the tabs under Format(pattern, ["Tab%s"]).
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const override;
  // The CSS declarations of the style, or of what differs from baseStyle;
  // noDefaultLeftAlign: without a base, left alignment is not written; with
  // ignoreLeftIndents neither the first-line indent nor the left margin is.
  void WriteCSS(TStream& stream, const TCustomRPParaInfo* baseStyle, bool multiline, bool noDefaultLeftAlign,
                bool ignoreLeftIndents) const;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  AnsiString DefaultStyleName() const override { return "Paragraph Style"; }
  void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults) override;
};

class TParaInfo : public TCustomRPParaInfo {
public:
  explicit TParaInfo(TCollection* collection) : TCustomRPParaInfo(collection) {}

  int32_t NextParaNo = -1;
  int32_t DefStyleNo = -1;  // the paragraph's default text style
  TRPParaInfoProperties1 ModifiedProperties1;
  TRPParaInfoProperties2 ModifiedProperties2;

  void Assign(const TPersistent& source) override;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
  bool IsEqual(const TCustomRPParaInfo& value, TRPParaInfoProperties ignore) const override;
  bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const override;
  bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const override;
  void MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList* textStyleMap) override;

  // Adds "NextParaNo", "DefStyleNo", "ModifiedProperties1" and "ModifiedProperties2".
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults) override;
};
