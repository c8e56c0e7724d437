// The control words the RTF reader knows: one constant row per word, so that adding a
// word means adding a row and the reader only switches on a row's action and index.
//
// The rows are stored grouped by action; the first reset of any reader sorts them once,
// in place, by keyword (ordinal, case-sensitive), and every lookup is a binary search.
#pragma once

#include <cstdint>
#include <span>

#include "platform/base/Types.h"

// What a control word does.
enum TRPRTFAction : uint8_t {
  rtf_kwd_Char = 0,      // emits the 8-bit character of the index
  rtf_kwd_WideChar = 1,  // emits the index as 8-bit text or its UTF-16 value (the default)
  rtf_kwd_Dest = 2,      // changes the destination (TRPRTFDestination)
  rtf_kwd_Prop = 3,      // sets a property (TRPRTFProperty)
  rtf_kwd_Spec = 4,      // special handling (TRPRTFSpecial)
};

// A character-group property met in normal text first flushes the text collected so far,
// so that it keeps the old formatting. The paragraph group has no effect of its own.
enum TRPRTFPropertyGroup : int32_t { rtf_grp_Other = 0, rtf_grp_Char = 1, rtf_grp_Para = 2 };

// Destination numbers. Normal text is 0; 4 collects nothing; 8 to 10 (style sheet
// entries) and 20 (section numbering) are reached through properties, not words.
enum TRPRTFDestination : int32_t {
  rdsNorm = 0,
  rdsShpPict = 1,
  rdsNonShpPict = 2,
  rdsPict = 3,
  rdsSkip = 4,
  rdsFontTable = 5,
  rdsStyleSheet = 6,
  rdsColorTable = 7,
  rdsStyleSheetParaStyle = 8,
  rdsStyleSheetCharStyle = 9,
  rdsStyleSheetSectStyle = 10,
  rdsField = 11,
  rdsFldInst = 12,
  rdsFldRslt = 13,
  rdsNestTableProps = 14,
  rdsHeader = 15,
  rdsFooter = 16,
  rdsPNTextAfter = 17,
  rdsPNTextBefore = 18,
  rdsPN = 19,
  rdsPNSecLvl = 20,
  rdsListTable = 21,
  rdsList = 22,
  rdsListName = 23,
  rdsListLevel = 24,
  rdsLevelText = 25,
  rdsLevelNumbers = 26,
  rdsLOTable = 27,
  rdsLO = 28,
  rdsLOLevel = 29,
  rdsObject = 30,
  rdsObjData = 31,
  rdsObjResult = 32,
  // Shapes: the shape group, its instructions, one property, the property's name and
  // the picture property's value, and the result a reader shows without the shape.
  rdsShape = 33,
  rdsShapeInst = 34,
  rdsShapeProp = 35,
  rdsShapePropName = 36,
  rdsShapePropValue = 37,
  rdsShapeResult = 38,
};

enum TRPRTFSpecial : int32_t { ripfBin = 0, ripfHex = 1, ripfSkipDest = 2 };

// Property numbers; TRPRTFReader applies them (RPRTFReaderProps.cpp). 55-57, 108, 110 and
// 164 have no word.
enum TRPRTFProperty : int32_t {
  ripBold = 0,
  ripItalic = 1,
  ripUnderline = 2,
  ripStrikeOut = 3,
  ripCharScaleX = 4,
  ripCharSpacing = 5,
  ripSubSuperScript = 6,
  ripAllCaps = 7,
  ripFontSize = 8,
  ripColor = 9,
  ripBackColor = 10,
  ripHighlight = 11,
  ripLanguage = 12,
  ripDefLanguage = 13,
  ripLineSpacing = 14,
  ripLineSpacingMulti = 15,
  ripLeftIndent = 16,
  ripRightIndent = 17,
  ripFirstIndent = 18,
  ripColumns = 19,
  ripPageNumberX = 20,
  ripPageNumberY = 21,
  ripHeaderY = 22,
  ripFooterY = 23,
  ripPaperWidth = 24,
  ripPaperHeight = 25,
  ripLeftMargin = 26,
  ripRightMargin = 27,
  ripTopMargin = 28,
  ripBottomMargin = 29,
  ripPageNumberStart = 30,
  ripSectionBreak = 31,
  ripPageNumberFormat = 32,
  ripFacingPages = 33,
  ripLandscape = 34,
  ripAlignment = 35,
  ripParaDefaults = 36,
  ripCharDefaults = 37,
  ripSectDefaults = 38,
  ripFont = 39,
  ripDefFont = 40,
  ripSpaceBefore = 41,
  ripSpaceAfter = 42,
  ripBorderStyle = 43,
  ripParaBorderSide = 44,
  ripBorderWidth = 45,
  ripBorderColor = 46,
  ripBorderSpacing = 47,
  ripParaBackColor = 48,
  ripParaForeColor = 49,
  ripShading = 50,
  ripAnsiCodePage = 51,
  ripUnicodeChar = 52,
  ripUnicodeSkipCount = 53,
  ripPage = 54,
  ripHidden = 58,
  ripKeepLinesTogether = 59,
  ripKeepWithNext = 60,
  ripTabPosition = 61,
  ripTabKind = 62,
  ripTabLeader = 63,
  ripListTab = 64,
  ripRed = 65,
  ripGreen = 66,
  ripBlue = 67,
  ripFontFamily = 68,
  ripCharset = 69,
  ripParaStyle = 70,
  ripCharStyle = 71,
  ripSectStyle = 72,
  ripBasedOn = 73,
  ripNextStyle = 74,
  ripAdditive = 75,
  ripStyleHidden = 76,
  ripPicWidth = 77,
  ripPicHeight = 78,
  ripPicScaleX = 79,
  ripPicScaleY = 80,
  ripPicGoalWidth = 81,
  ripPicGoalHeight = 82,
  ripPicWidthBytes = 83,
  ripPicBitsPerPixel = 84,
  ripPicPlanes = 85,
  ripPicKind = 86,
  ripPicMetafile = 87,
  ripPicBmp = 88,
  ripObjKind = 89,
  ripObjWidth = 90,
  ripObjHeight = 91,
  ripPNLevel = 92,
  ripPNHanging = 93,
  ripPNType = 94,
  ripPNBold = 95,
  ripPNItalic = 96,
  ripPNUnderline = 97,
  ripPNStrike = 98,
  ripPNColor = 99,
  ripPNFont = 100,
  ripPNFontSize = 101,
  ripPNIndent = 102,
  ripPNSpace = 103,
  ripPNAlign = 104,
  ripPNStart = 105,
  ripPNSecLvl = 106,
  ripListId = 107,
  ripListSimple = 109,
  ripLevelStartAt = 111,
  ripLevelNumberType = 112,
  ripLevelJustify = 113,
  ripLevelOld = 114,
  ripLevelIndent = 115,
  ripLevelSpace = 116,
  ripLevelFollow = 117,
  ripLevelLegal = 118,
  ripLevelNoRestart = 119,
  ripLOCount = 120,
  ripLONumber = 121,
  ripLOStart = 122,
  ripListLevel = 123,
  ripRowEnd = 124,
  ripCellEnd = 125,
  ripInTable = 126,
  ripNestingLevel = 127,
  ripRowDefaults = 128,
  ripRowAlign = 129,
  ripRowGapH = 130,
  ripRowLeft = 131,
  ripRowHeight = 132,
  ripRowHeader = 133,
  ripRowPaddingLeft = 134,
  ripRowPaddingRight = 135,
  ripRowPaddingTop = 136,
  ripRowPaddingBottom = 137,
  ripRowPaddingUnitLeft = 138,
  ripRowPaddingUnitRight = 139,
  ripRowPaddingUnitTop = 140,
  ripRowPaddingUnitBottom = 141,
  ripRowSpacingLeft = 142,
  ripRowSpacingRight = 143,
  ripRowSpacingTop = 144,
  ripRowSpacingBottom = 145,
  ripRowSpacingUnitLeft = 146,
  ripRowSpacingUnitRight = 147,
  ripRowSpacingUnitTop = 148,
  ripRowSpacingUnitBottom = 149,
  ripRowBestWidth = 150,
  ripRowBestWidthUnit = 151,
  ripCellVMerge = 152,
  ripCellHMerge = 153,
  ripCellBestWidth = 154,
  ripCellBestWidthUnit = 155,
  ripCellColor = 156,
  ripCellForeColor = 157,
  ripCellShading = 158,
  ripCellVAlign = 159,
  ripCellX = 160,
  ripRowBorderSide = 161,
  ripCellBorderSide = 162,
  ripNoOverlap = 163,
  ripCellBestWidthPx = 165,
  ripCellBestHeightPx = 166,
  ripRowBestWidthPx = 167,
};

// One row of the table, fields in the order of the stored record.
struct TRPRTFsymbol {
  const char* Keyword;  // without the backslash; case-sensitive
  int32_t DefValue;     // without a parameter (always when ForceDefValue); UTF-16 of kwd_WideChar
  bool ForceDefValue;   // the parameter is ignored
  TRPRTFAction Action;  //
  int32_t Index;        // character, destination, property or special number
  TRPRTFPropertyGroup Group;
};

inline constexpr int32_t RPRTFSymbolCount = 361;

// Sorts the table on the first call of the process (later calls do nothing); safe to
// call from several threads.
void SortRPRTFSymbols();
// The row of the keyword (exact, case-sensitive), or nullptr. Sorts first when needed.
const TRPRTFsymbol* FindRPRTFSymbol(AnsiStringView keyword);
// The rows in their current order (stored order before the first sort).
std::span<const TRPRTFsymbol> RPRTFSymbols();
