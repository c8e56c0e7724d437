// One paragraph style of a conversion scheme: the font, alignment, spacing, indents and
// run options of one role of book text, stored as one section of a scheme file.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
// The Alignment field holds the document's paragraph alignments (rpaLeft ... rpaJustify).
#include "richtext/model/RPParaInfo.h"

class TUniCustomIniFile;

// The style indexes of the 19 roles; each names its ini section (VoDaziStyleSection).
enum TVoDaziStyleIndex : uint8_t {
  vsSectionText,
  vsBookTitle,
  vsSection,
  vsSectionTitle,
  vsSubtitle,
  vsEpigraph,
  vsCite,
  vsAnnotation,
  vsPoem,
  vsPoemTitle,
  vsStanza,
  vsVerse,
  vsDate,
  vsTextAuthor,
  vsTableHead,
  vsTableText,
  vsFootnote,
  vsHeader,
  vsFooter
};
inline constexpr int32_t VoDaziStyleCount = 19;

// The ini section of a style index 0..18.
const WideChar* VoDaziStyleSection(uint8_t index);

class TVoDaziStyle : public TPersistent {
public:
  // Sets the index (0..18); every other field takes its default.
  explicit TVoDaziStyle(uint8_t index = 0) : Index(index) {}

  // Every field but Index to its default.
  void StyleReset();
  // Every key of the style's section; a missing key takes its default, never the
  // current value.
  void StyleLoadFromIni(TUniCustomIniFile& ini);
  // Every key, in the file's key order.
  void StyleSaveToIni(TUniCustomIniFile& ini) const;
  // From another style: every field, Index included; any other source raises
  // EConvertError "Cannot assign a ... to a ...".
  void Assign(const TPersistent& source) override;

  uint8_t Index;
  WideString BaseFontName = u"Arial";
  int32_t BaseFontSize = 18;
  bool BaseFontBold = false;
  bool BaseFontItalic = false;
  uint8_t Alignment = rpaLeft;
  bool Hyphenation = false;
  int32_t SpaceBefore = 0;    // pixels above each paragraph
  int32_t SpaceAfter = 0;     // pixels below each paragraph
  int32_t LineSpacing = 100;  // percent
  int32_t SpaceBefBlock = 0;  // pixels above a whole block of the style
  int32_t SpaceAftBlock = 0;  // pixels below a whole block
  int32_t LeftIndent = 0;     // pixels, summed over the active styles
  int32_t RightIndent = 0;
  int32_t FirstIndent = 0;
  bool KeepLines = false;
  bool KeepNext = false;
  bool PageBreak = false;
  int32_t SubSize = 80;    // percent of the surrounding font
  int32_t SubOffset = 20;  // percent, downwards
  int32_t SupSize = 80;
  int32_t SupOffset = 20;  // percent, upwards
  WideString CodeFontName = u"Courier New";
  int32_t CodeFontSize = 18;
  bool CodeFontBold = false;
  bool CodeFontItalic = false;
  bool ApplyEmphasis = true;
  bool ApplyStrong = true;
  bool ApplyStrike = true;
};
