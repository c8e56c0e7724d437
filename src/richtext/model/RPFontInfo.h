// Text styles: how a run of text looks (font, size, styles, colours, hypertext, vertical
// shift, character scale and spacing, direction, protection, export options, Unicode
// storage), how two styles compare, how a style is selected into a canvas and coloured
// for a draw state and colour mode, and how a run is drawn by default.
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"
#include "richtext/model/RPColorModes.h"
#include "richtext/model/RPStyleInfo.h"
#include "richtext/model/RPStyleSets.h"

class TRPStyle;
class TStream;

enum TRPFontStyle { rpfsOverline, rpfsAllCaps };
using TRPFontStyles = TRPSet<TRPFontStyle, 0, 1>;

enum TRPProtectOption {
  rpprStyleProtect,
  rpprStyleSplitProtect,
  rpprModifyProtect,
  rpprDeleteProtect,
  rpprConcateProtect,
  rpprRPFInsertProtect,
  rpprDoNotAutoSwitch,
  rpprParaStartProtect,
  rpprSticking,
  rpprStickToTop,
  rpprStickToBottom,
};
// Stored in 16 bits.
using TRPProtectOptions = TRPSet<TRPProtectOption, rpprStyleProtect, rpprStickToBottom>;

enum TRPTextOption { rpteoHTMLCode, rpteoRTFCode };
using TRPTextOptions = TRPSet<TRPTextOption, 0, 1>;

enum TRPFontInfoProperty {
  rpfiFontName,
  rpfiSize,
  rpfiCharset,
  rpfiUnicode,
  rpfiBold,
  rpfiItalic,
  rpfiUnderline,
  rpfiStrikeout,
  rpfiOverline,
  rpfiAllCaps,
  rpfiVShift,
  rpfiColor,
  rpfiBackColor,
  rpfiJump,
  rpfiHoverBackColor,
  rpfiHoverColor,
  rpfiJumpCursor,
  rpfiNextStyleNo,
  rpfiProtection,
  rpfiCharScale,
  rpfiBaseStyleNo,
  rpfiBiDiMode,
  rpfiCharSpacing,
  rpfiHTMLCode,
  rpfiRTFCode,
  rpfiCustom,
};
// Stored in 32 bits (the members take bits 0-25).
using TRPFontInfoProperties = TRPSet<TRPFontInfoProperty, rpfiFontName, rpfiCustom>;
inline constexpr TRPFontInfoProperties RPAllFontInfoProperties = TRPFontInfoProperties::All();

// Draw states of a run (bits 0-7 of the set).
enum TRPTextDrawState {
  rptsSelected,
  rptsHover,
  rptsItemStart,
  rptsItemEnd,
  rptsDrawItemStart,
  rptsDrawItemEnd,
  rptsControlFocused,
  rptsSpecialCharacters,
};
using TRPTextDrawStates = TRPSet<TRPTextDrawState, 0, 7>;

// The special characters that are shown when a document shows special characters.
enum TRPSpecialCharacter { rpscSpace, rpscNBSP, rpscSoftHyphen, rpscParagraph, rpscTab };
using TRPSpecialCharacters = TRPSet<TRPSpecialCharacter, 0, 7>;
TRPSpecialCharacters GetRPVisibleSpecialCharacters();
void SetRPVisibleSpecialCharacters(TRPSpecialCharacters value);

// The font a text style has until it is given one.
inline constexpr char RPDefaultFontName[] = "Arial";

class TCustomRPFontInfo : public TCustomRPInfo {
public:
  explicit TCustomRPFontInfo(TCollection* collection);

  uint8_t Charset = DEFAULT_CHARSET;
  AnsiString FontName = RPDefaultFontName;
  int32_t Size = 10;  // points
  TFontStyles Style;
  int32_t VShift = 0;  // positive raises the run, negative lowers it
  TColor Color = clWindowText;
  TColor BackColor = clNone;
  TColor HoverBackColor = clNone;
  TColor HoverColor = clNone;
  TRPFontStyles StyleEx;
  bool Jump = false;
  int32_t JumpCursor = crJump;
  int32_t CharScale = 100;  // per cent of the normal character width
  int32_t CharSpacing = 0;  // pixels after each character
  TRPBiDiMode BiDiMode = rpbdUnspecified;
  TRPProtectOptions Protection;
  TRPTextOptions Options;

  // From a TCustomRPFontInfo: every field, then the base fields.
  void Assign(const TPersistent& source) override;
  // Copies from source only the properties in valid, each font style bit by itself;
  // never Unicode, NextStyleNo, BaseStyleNo or the custom member.
  void AssignValidProperties(const TCustomRPFontInfo& source, TRPFontInfoProperties valid);
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
  // Name, size, colour, style and charset from or to a platform font.
  void AssignFont(const TFont& font);
  void AssignToFont(TFont& font) const;

  // After the base keys: "Name", "Jump" (always), "Size", "Color", "BackColor",
  // "HoverBackColor", "HoverColor", "JumpCursor", "Charset", "CharScale",
  // "CharSpacing", "BiDiMode", "Bold", "Underline", "StrikeOut", "Italic", "Overline",
  // "Caps", "Protection", "RTFCode", "HTMLCode", "VShift"; numbers and flags only when
  // they differ from their defaults. Reading also takes "SingleSymbols".
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const override;
  // The CSS declarations of the style, or of what differs from baseStyle, each followed
  // by CR LF when multiline; utf8: the font name goes from the style sheet's code page
  // to UTF-8. The font name is written as a CSS string, escaped.
  void WriteCSS(TStream& stream, const TCustomRPFontInfo* baseStyle, bool multiline, bool utf8) const;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // "SingleSymbols", which older streams hold: true adds rpprStyleProtect and
  // rpprDoNotAutoSwitch to Protection. Never written.
  void DefineProperties(TFiler& filer) override;

  // Exact comparison of this (wanted) style with value (stored), properties of ignore
  // left out. StyleName and Standard are never compared.
  virtual bool IsEqual(const TCustomRPFontInfo& value, TRPFontInfoProperties ignore) const;
  bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const override;
  bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const override;
  int32_t SimilarityValue(const TCustomRPInfo& value) const override;

  // The platform font description: height -MulDiv(Size, ppi, 72) with ppi the owning
  // collection's PixelsPerInch when asked and set, else the canvas font's.
  void GetLogFont(LOGFONTA& logFont, TCanvas& canvas, bool useCollectionPixelsPerInch) const;
  // Selects the style's font into the canvas (writing only what differs when CharScale
  // is 100), then its direction.
  void Apply(TCanvas& canvas, TRPBiDiMode defBiDiMode, bool useCollectionPixelsPerInch) const;
  void ApplyBiDiMode(TCanvas& canvas, TRPBiDiMode defBiDiMode) const;
  // Font and brush colours for the draw state; when printing, by the colour mode.
  void ApplyColor(TCanvas& canvas, const TRPStyle& rpStyle, TRPTextDrawStates drawState, bool printing,
                  TRPColorMode colorMode) const;
  // Default drawing of a run: text (two bytes per character when unicode) at
  // (left + spaceBefore, top) in the box (left, top, width, height).
  void DrawStyleText(const AnsiString& text, bool unicode, TCanvas& canvas, int32_t styleNo, int32_t spaceBefore,
                     int32_t left, int32_t top, int32_t width, int32_t height, TRPStyle& rpStyle,
                     TRPTextDrawStates drawState, bool printing, bool previewCorrection, TRPColorMode colorMode,
                     TRPBiDiMode defBiDiMode) const;

protected:
  // The collection's PixelsPerInch (0 outside a text style collection).
  int32_t CollectionPixelsPerInch() const;
  AnsiString DefaultStyleName() const override { return "Font Style"; }
  void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults) override;
};

class TFontInfo : public TCustomRPFontInfo {
public:
  explicit TFontInfo(TCollection* collection) : TCustomRPFontInfo(collection) {}

  int32_t NextStyleNo = -1;
  bool Unicode = false;  // runs keep UTF-16 text
  TRPFontInfoProperties ModifiedProperties;

  void Assign(const TPersistent& source) override;
  std::unique_ptr<TCustomRPInfo> CloneDetached() const override;
  bool IsEqual(const TCustomRPFontInfo& value, TRPFontInfoProperties ignore) const override;
  bool IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const override;
  bool IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const override;
  void MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList* textStyleMap) override;

  // Adds "NextStyleNo", "Unicode" and "ModifiedProperties".
  void SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                   const TRPIniDefaults& defaults) override;
};

static_assert(TRPFontInfoProperties::StoredBytes == 4 && TRPProtectOptions::StoredBytes == 2);
