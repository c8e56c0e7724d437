// The control-word table: the rows in stored order, grouped by action, then the sort
// and the binary search.
#include "richtext/interchange/RPRTFSymbols.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <mutex>

namespace {

constexpr TRPRTFsymbol Ch(const char* keyword, int32_t code) {
  return {keyword, 0, false, rtf_kwd_Char, code, rtf_grp_Other};
}
constexpr TRPRTFsymbol Wide(const char* keyword, int32_t code, int32_t wide) {
  return {keyword, wide, false, rtf_kwd_WideChar, code, rtf_grp_Other};
}
constexpr TRPRTFsymbol Dest(const char* keyword, TRPRTFDestination destination) {
  return {keyword, 0, false, rtf_kwd_Dest, destination, rtf_grp_Other};
}
constexpr TRPRTFsymbol Spec(const char* keyword, TRPRTFSpecial special) {
  return {keyword, 0, false, rtf_kwd_Spec, special, rtf_grp_Other};
}
// A property whose parameter may replace the default.
constexpr TRPRTFsymbol Prop(const char* keyword, int32_t def, TRPRTFProperty property,
                            TRPRTFPropertyGroup group = rtf_grp_Other) {
  return {keyword, def, false, rtf_kwd_Prop, property, group};
}
// A property that always takes its default.
constexpr TRPRTFsymbol Fixed(const char* keyword, int32_t def, TRPRTFProperty property,
                             TRPRTFPropertyGroup group = rtf_grp_Other) {
  return {keyword, def, true, rtf_kwd_Prop, property, group};
}

constexpr TRPRTFPropertyGroup C = rtf_grp_Char;
constexpr TRPRTFPropertyGroup P = rtf_grp_Para;

constexpr TRPRTFsymbol StoredSymbols[] = {
    // Characters; 10 ends a paragraph, 13 a line.
    Ch("par", 10),
    Ch("\n", 10),
    Ch("\r", 10),
    Ch("line", 13),
    Ch("tab", 9),
    Ch("~", 160),
    Ch("bullet", 149),
    Ch("{", 123),
    Ch("}", 125),
    Ch("\\", 92),
    // Characters with a UTF-16 value.
    Wide("ldblquote", 147, 0x201C),
    Wide("rdblquote", 148, 0x201D),
    Wide("lquote", 145, 0x2018),
    Wide("rquote", 146, 0x2019),
    Wide("endash", 150, 0x2013),
    Wide("emdash", 151, 0x2014),
    Wide("emspace", 32, 0x2003),
    Wide("enspace", 32, 0x2002),
    Wide("qmspace", 32, 0x2005),
    Wide("-", 173, 0x00AD),
    Wide("_", 45, 0x2011),  // non-breaking hyphen; a plain one in 8-bit text
    // Zero-width joiners and direction marks: nothing in 8-bit text.
    Wide("zwj", 0, 0x200D),
    Wide("zwnj", 0, 0x200C),
    Wide("ltrmark", 0, 0x200E),
    Wide("rtlmark", 0, 0x200F),
    // Special.
    Spec("bin", ripfBin),
    Spec("'", ripfHex),
    Spec("*", ripfSkipDest),
    // Destinations.
    Dest("shppict", rdsShpPict),
    Dest("nonshppict", rdsNonShpPict),
    Dest("pict", rdsPict),
    Dest("nonesttables", rdsSkip),
    Dest("author", rdsSkip),
    Dest("buptim", rdsSkip),
    Dest("comment", rdsSkip),
    Dest("creatim", rdsSkip),
    Dest("doccomm", rdsSkip),
    Dest("footerf", rdsSkip),
    Dest("footerl", rdsSkip),
    Dest("footerr", rdsSkip),
    Dest("footnote", rdsSkip),
    Dest("ftncn", rdsSkip),
    Dest("ftnsep", rdsSkip),
    Dest("ftnsepc", rdsSkip),
    Dest("headerf", rdsSkip),
    Dest("headerl", rdsSkip),
    Dest("headerr", rdsSkip),
    Dest("info", rdsSkip),
    Dest("keywords", rdsSkip),
    Dest("operator", rdsSkip),
    Dest("printim", rdsSkip),
    Dest("private1", rdsSkip),
    Dest("revtim", rdsSkip),
    Dest("rxe", rdsSkip),
    Dest("subject", rdsSkip),
    Dest("tc", rdsSkip),
    Dest("title", rdsSkip),
    Dest("txe", rdsSkip),
    Dest("xe", rdsSkip),
    Dest("pntext", rdsSkip),
    Dest("listtext", rdsSkip),
    Dest("fonttbl", rdsFontTable),
    Dest("stylesheet", rdsStyleSheet),
    Dest("colortbl", rdsColorTable),
    Dest("field", rdsField),
    Dest("fldinst", rdsFldInst),
    Dest("fldrslt", rdsFldRslt),
    Dest("nesttableprops", rdsNestTableProps),
    Dest("header", rdsHeader),
    Dest("footer", rdsFooter),
    Dest("pntxta", rdsPNTextAfter),
    Dest("pntxtb", rdsPNTextBefore),
    Dest("pn", rdsPN),
    Dest("listtable", rdsListTable),
    Dest("list", rdsList),
    Dest("listname", rdsListName),
    Dest("listlevel", rdsListLevel),
    Dest("leveltext", rdsLevelText),
    Dest("levelnumbers", rdsLevelNumbers),
    Dest("listoverridetable", rdsLOTable),
    Dest("listoverride", rdsLO),
    Dest("lfolevel", rdsLOLevel),
    Dest("object", rdsObject),
    Dest("objdata", rdsObjData),
    Dest("result", rdsObjResult),
    Dest("shp", rdsShape),
    Dest("shpinst", rdsShapeInst),
    Dest("sp", rdsShapeProp),
    Dest("sn", rdsShapePropName),
    Dest("sv", rdsShapePropValue),
    Dest("shprslt", rdsShapeResult),
    // Character formatting.
    Prop("b", 1, ripBold, C),
    Prop("i", 1, ripItalic, C),
    Prop("ul", 1, ripUnderline, C),
    Fixed("ulnone", 0, ripUnderline, C),
    Prop("strike", 1, ripStrikeOut, C),
    Prop("charscalex", 100, ripCharScaleX, C),
    Prop("expndtw", 0, ripCharSpacing, C),
    Fixed("sub", 1, ripSubSuperScript, C),
    Fixed("super", 2, ripSubSuperScript, C),
    Fixed("nosupersub", 0, ripSubSuperScript, C),
    Prop("caps", 1, ripAllCaps, C),
    Prop("fs", 24, ripFontSize, C),
    Prop("cf", 0, ripColor, C),
    Prop("chcbpat", 0, ripBackColor, C),
    Prop("highlight", 0, ripHighlight, C),
    Prop("lang", 0, ripLanguage, C),
    Prop("deflang", 0, ripDefLanguage),
    // Paragraph spacing and indents.
    Prop("sl", 240, ripLineSpacing, P),
    Prop("slmult", 1, ripLineSpacingMulti, P),
    Prop("li", 0, ripLeftIndent, P),
    Prop("ri", 0, ripRightIndent, P),
    Prop("fi", 0, ripFirstIndent, P),
    // Section and document.
    Prop("cols", 1, ripColumns),
    Prop("pgnx", 0, ripPageNumberX),
    Prop("pgny", 0, ripPageNumberY),
    Prop("headery", 720, ripHeaderY),
    Prop("footery", 720, ripFooterY),
    Prop("paperw", 12240, ripPaperWidth),
    Prop("paperh", 15480, ripPaperHeight),
    Prop("margl", 1800, ripLeftMargin),
    Prop("margr", 1800, ripRightMargin),
    Prop("margt", 1440, ripTopMargin),
    Prop("margb", 1440, ripBottomMargin),
    Prop("pgnstart", 1, ripPageNumberStart),
    Fixed("sbknone", 0, ripSectionBreak),
    Fixed("sbkcol", 1, ripSectionBreak),
    Fixed("sbkeven", 2, ripSectionBreak),
    Fixed("sbkodd", 3, ripSectionBreak),
    Fixed("sbkpage", 4, ripSectionBreak),
    Fixed("pgndec", 0, ripPageNumberFormat),
    Fixed("pgnucrm", 1, ripPageNumberFormat),
    Fixed("pgnlcrm", 2, ripPageNumberFormat),
    Fixed("pgnucltr", 3, ripPageNumberFormat),
    Fixed("pgnlcltr", 4, ripPageNumberFormat),
    Fixed("facingp", 1, ripFacingPages),
    Fixed("landscape", 1, ripLandscape),
    // Alignment, resets, fonts, paragraph spacing.
    Fixed("ql", 0, ripAlignment, P),
    Fixed("qr", 1, ripAlignment, P),
    Fixed("qc", 2, ripAlignment, P),
    Fixed("qj", 3, ripAlignment, P),
    Prop("pard", 0, ripParaDefaults, P),
    Prop("plain", 0, ripCharDefaults, C),
    Prop("sectd", 0, ripSectDefaults),
    Prop("f", 0, ripFont, C),
    Prop("deff", 0, ripDefFont),
    Prop("sb", 0, ripSpaceBefore, P),
    Prop("sa", 0, ripSpaceAfter, P),
    // Border kinds.
    Fixed("brdrnone", 0, ripBorderStyle, P),
    Fixed("brdrs", 1, ripBorderStyle, P),
    Fixed("brdrth", 2, ripBorderStyle, P),
    Fixed("brdrsh", 3, ripBorderStyle, P),
    Fixed("brdrdb", 4, ripBorderStyle, P),
    Fixed("brdrdot", 5, ripBorderStyle, P),
    Fixed("brdrdash", 6, ripBorderStyle, P),
    Fixed("brdrhair", 7, ripBorderStyle, P),
    Fixed("brdrdashsm", 8, ripBorderStyle, P),
    Fixed("brdrdashd", 9, ripBorderStyle, P),
    Fixed("brdrdashdd", 10, ripBorderStyle, P),
    Fixed("brdrtriple", 11, ripBorderStyle, P),
    Fixed("brdrtnthsg", 12, ripBorderStyle, P),
    Fixed("brdrthtnsg", 13, ripBorderStyle, P),
    Fixed("brdrtnthtnsg", 14, ripBorderStyle, P),
    Fixed("brdrtnthmg", 15, ripBorderStyle, P),
    Fixed("brdrthtnmg", 16, ripBorderStyle, P),
    Fixed("brdrtnthtnmg", 17, ripBorderStyle, P),
    Fixed("brdrtnthlg", 18, ripBorderStyle, P),
    Fixed("brdrthtnlg", 19, ripBorderStyle, P),
    Fixed("brdrtnthtnlg", 20, ripBorderStyle, P),
    Fixed("brdrwavy", 21, ripBorderStyle, P),
    Fixed("brdrwavydb", 22, ripBorderStyle, P),
    Fixed("brdrdashdotstr", 23, ripBorderStyle, P),
    Fixed("brdremboss", 24, ripBorderStyle, P),
    Fixed("brdrengrave", 24, ripBorderStyle, P),
    Fixed("brdrinset", 26, ripBorderStyle, P),
    Fixed("brdroutset", 27, ripBorderStyle, P),
    // Borders, shading.
    Fixed("brdrl", 0, ripParaBorderSide, P),
    Fixed("brdrt", 1, ripParaBorderSide, P),
    Fixed("brdrr", 2, ripParaBorderSide, P),
    Fixed("brdrb", 3, ripParaBorderSide, P),
    Prop("brdrw", 1, ripBorderWidth, P),
    Prop("brdrcf", 0, ripBorderColor, P),
    Prop("brsp", 0, ripBorderSpacing, P),
    Prop("cbpat", 0, ripParaBackColor, P),
    Prop("cfpat", 0, ripParaForeColor, P),
    Prop("shading", 0, ripShading, P),
    // Code pages, Unicode, pages, hidden text, keeping.
    Prop("ansicpg", 0, ripAnsiCodePage),
    // The character sets of the header name code pages of their own (\ansicpg, which
    // follows them, says more).
    Fixed("mac", 10000, ripAnsiCodePage),
    Fixed("pc", 437, ripAnsiCodePage),
    Fixed("pca", 850, ripAnsiCodePage),
    Prop("u", 0, ripUnicodeChar),
    Prop("uc", 1, ripUnicodeSkipCount),
    Prop("page", 0, ripPage),
    Prop("v", 1, ripHidden, C),
    Fixed("keep", 1, ripKeepLinesTogether, P),
    Fixed("keepn", 1, ripKeepWithNext, P),
    // Tabs.
    Prop("tx", 0, ripTabPosition, P),
    Fixed("tqr", 1, ripTabKind, P),
    Fixed("tqc", 2, ripTabKind, P),
    Fixed("tqdec", 3, ripTabKind, P),
    Fixed("tldot", 1, ripTabLeader, P),
    Fixed("tlmdot", 2, ripTabLeader, P),
    Fixed("tlhyph", 3, ripTabLeader, P),
    Fixed("tlul", 4, ripTabLeader, P),
    Fixed("tlth", 4, ripTabLeader, P),
    Fixed("tleq", 5, ripTabLeader, P),
    Prop("jclisttab", 0, ripListTab, P),
    // Colour table, font table.
    Prop("red", 0, ripRed),
    Prop("green", 0, ripGreen),
    Prop("blue", 0, ripBlue),
    Fixed("fnil", 0, ripFontFamily),
    Fixed("froman", 1, ripFontFamily),
    Fixed("fswiss", 2, ripFontFamily),
    Fixed("fmodern", 3, ripFontFamily),
    Fixed("fscript", 4, ripFontFamily),
    Fixed("fdecor", 5, ripFontFamily),
    Fixed("ftech", 6, ripFontFamily),
    Fixed("fbidi", 7, ripFontFamily),
    Prop("fcharset", 0, ripCharset, C),
    // Style sheet.
    Prop("s", 0, ripParaStyle),
    Prop("cs", 0, ripCharStyle),
    Prop("ds", 0, ripSectStyle),
    Prop("sbasedon", 0, ripBasedOn),
    Prop("snext", 0, ripNextStyle),
    Prop("additive", 0, ripAdditive),
    Prop("shidden", 0, ripStyleHidden),
    // Pictures.
    Prop("picw", 0, ripPicWidth),
    Prop("pich", 0, ripPicHeight),
    Prop("picscalex", 100, ripPicScaleX),
    Prop("picscaley", 100, ripPicScaleY),
    Prop("picwgoal", 0, ripPicGoalWidth),
    Prop("pichgoal", 0, ripPicGoalHeight),
    Prop("wbmwidthbytes", 0, ripPicWidthBytes),
    Prop("wbmbitspixel", 1, ripPicBitsPerPixel),
    Prop("wbmplanes", 1, ripPicPlanes),
    Fixed("emfblip", 0, ripPicKind),
    Fixed("pngblip", 1, ripPicKind),
    Fixed("jpegblip", 2, ripPicKind),
    Fixed("macpict", 3, ripPicKind),
    Fixed("pmmetafile", 4, ripPicKind),
    Fixed("dibitmap", 6, ripPicKind),
    Fixed("wbitmap", 7, ripPicKind),
    Prop("wmetafile", 1, ripPicMetafile),
    Prop("picbmp", 1, ripPicBmp),
    // Objects.
    Fixed("objemb", 0, ripObjKind),
    Fixed("objlink", 1, ripObjKind),
    Fixed("objautlink", 2, ripObjKind),
    Fixed("objsub", 3, ripObjKind),
    Fixed("objpub", 4, ripObjKind),
    Fixed("objicemb", 5, ripObjKind),
    Fixed("objhtml", 6, ripObjKind),
    Fixed("objocx", 7, ripObjKind),
    Prop("objw", 0, ripObjWidth),
    Prop("objh", 0, ripObjHeight),
    // Old-style numbering.
    Prop("pnlvl", 1, ripPNLevel),
    Fixed("pnlvlbody", 10, ripPNLevel),
    Fixed("pnlvlblt", 11, ripPNLevel),
    Prop("pnhang", 1, ripPNHanging),
    Fixed("pndec", 1, ripPNType),
    Fixed("pnlcltr", 2, ripPNType),
    Fixed("pnucltr", 3, ripPNType),
    Fixed("pnlcrm", 4, ripPNType),
    Fixed("pnucrm", 5, ripPNType),
    Prop("pnb", 1, ripPNBold),
    Prop("pni", 1, ripPNItalic),
    Prop("pnul", 1, ripPNUnderline),
    Prop("pnuld", 1, ripPNUnderline),
    Prop("pnuldb", 1, ripPNUnderline),
    Prop("pnulw", 1, ripPNUnderline),
    Prop("pnuldash", 1, ripPNUnderline),
    Prop("pnuldashd", 1, ripPNUnderline),
    Prop("pnuldashdd", 1, ripPNUnderline),
    Prop("pnulhair", 1, ripPNUnderline),
    Prop("pnulth", 1, ripPNUnderline),
    Prop("pnulwave", 1, ripPNUnderline),
    Prop("pnuld", 1, ripPNUnderline),  // stored twice, with the same contents
    Fixed("pnulnone", 0, ripPNUnderline),
    Prop("pnstrike", 1, ripPNStrike),
    Prop("pncf", 0, ripPNColor),
    Prop("pnf", 0, ripPNFont),
    Prop("pnfs", 0, ripPNFontSize),
    Prop("pnindent", 0, ripPNIndent),
    Prop("pnsp", 0, ripPNSpace),
    Fixed("pnql", 0, ripPNAlign),
    Fixed("pnqr", 1, ripPNAlign),
    Fixed("pnqc", 2, ripPNAlign),
    Prop("pnstart", 1, ripPNStart),
    Prop("pnseclvl", 1, ripPNSecLvl),
    // List table and overrides.
    Prop("listid", 0, ripListId),
    Prop("listsimple", 1, ripListSimple),
    Prop("levelstartat", 1, ripLevelStartAt),
    Prop("levelnfc", 0, ripLevelNumberType),
    Prop("leveljc", 0, ripLevelJustify),
    Prop("levelold", 1, ripLevelOld),
    Prop("levelindent", 0, ripLevelIndent),
    Prop("levelspace", 0, ripLevelSpace),
    Prop("levelfollow", 0, ripLevelFollow),
    Prop("levellegal", 1, ripLevelLegal),
    Prop("levelnorestart", 1, ripLevelNoRestart),
    Prop("listoverridecount", 0, ripLOCount),
    Prop("ls", 1, ripLONumber, P),
    Prop("listoverridestartat", 1, ripLOStart),
    Prop("ilvl", 1, ripListLevel, P),
    // Tables.
    Fixed("row", 0, ripRowEnd),
    Fixed("nestrow", 1, ripRowEnd),
    Fixed("cell", 0, ripCellEnd),
    Fixed("nestcell", 1, ripCellEnd),
    Prop("intbl", 0, ripInTable),
    Prop("itap", 1, ripNestingLevel),
    Prop("trowd", 0, ripRowDefaults),
    Fixed("trql", 0, ripRowAlign),
    Fixed("trqr", 1, ripRowAlign),
    Fixed("trqc", 2, ripRowAlign),
    Prop("trgaph", 0, ripRowGapH),
    Prop("trleft", 0, ripRowLeft),
    Prop("trrh", 0, ripRowHeight),
    Prop("trhdr", 1, ripRowHeader),
    Prop("trpaddl", 0, ripRowPaddingLeft),
    Prop("trpaddr", 0, ripRowPaddingRight),
    Prop("trpaddt", 0, ripRowPaddingTop),
    Prop("trpaddb", 0, ripRowPaddingBottom),
    Prop("trpaddfl", 0, ripRowPaddingUnitLeft),
    Prop("trpaddfr", 0, ripRowPaddingUnitRight),
    Prop("trpaddft", 0, ripRowPaddingUnitTop),
    Prop("trpaddfb", 0, ripRowPaddingUnitBottom),
    Prop("trspdl", 0, ripRowSpacingLeft),
    Prop("trspdr", 0, ripRowSpacingRight),
    Prop("trspdt", 0, ripRowSpacingTop),
    Prop("trspdb", 0, ripRowSpacingBottom),
    Prop("trspdfl", 0, ripRowSpacingUnitLeft),
    Prop("trspdfr", 0, ripRowSpacingUnitRight),
    Prop("trspdft", 0, ripRowSpacingUnitTop),
    Prop("trspdfb", 0, ripRowSpacingUnitBottom),
    Prop("trwWidth", 0, ripRowBestWidth),
    Prop("trftsWidth", 0, ripRowBestWidthUnit),
    Fixed("clvmgf", 1, ripCellVMerge),
    Fixed("clvmrg", 2, ripCellVMerge),
    Fixed("clmgf", 1, ripCellHMerge),
    Fixed("clmrg", 2, ripCellHMerge),
    Prop("clwWidth", 0, ripCellBestWidth),
    Prop("clftsWidth", 0, ripCellBestWidthUnit),
    Prop("clcbpat", 0, ripCellColor),
    Prop("clcbpatraw", 0, ripCellColor),
    Prop("clcfpat", 0, ripCellForeColor),
    Prop("clshdng", 0, ripCellShading),
    Fixed("clvertalt", 0, ripCellVAlign),
    Fixed("clvertalb", 1, ripCellVAlign),
    Fixed("clvertalc", 2, ripCellVAlign),
    Prop("cellx", 0, ripCellX),
    Fixed("trbrdrl", 0, ripRowBorderSide, P),
    Fixed("trbrdrt", 1, ripRowBorderSide, P),
    Fixed("trbrdrr", 2, ripRowBorderSide, P),
    Fixed("trbrdrb", 3, ripRowBorderSide, P),
    Fixed("clbrdrl", 0, ripCellBorderSide, P),
    Fixed("clbrdrt", 1, ripCellBorderSide, P),
    Fixed("clbrdrr", 2, ripCellBorderSide, P),
    Fixed("clbrdrb", 3, ripCellBorderSide, P),
    Prop("absnoovrlp", 0, ripNoOverlap, P),
    // The engine's own sizes in pixels, written by its RTF export.
    Prop("richpanecbw", 0, ripCellBestWidthPx),
    Prop("richpanecbh", 0, ripCellBestHeightPx),
    Prop("richpanetbw", 0, ripRowBestWidthPx),
};
static_assert(std::size(StoredSymbols) == RPRTFSymbolCount, "the reader knows 361 control words");

// The working copy, sorted in place once.
std::array<TRPRTFsymbol, RPRTFSymbolCount> Symbols = std::to_array(StoredSymbols);

bool KeywordLess(const TRPRTFsymbol& a, const TRPRTFsymbol& b) { return std::strcmp(a.Keyword, b.Keyword) < 0; }

std::once_flag SortedOnce;

}  // namespace

void SortRPRTFSymbols() {
  // strcmp compares as unsigned bytes: the ordinal order of the keywords.
  std::call_once(SortedOnce, [] { std::sort(Symbols.begin(), Symbols.end(), KeywordLess); });
}

const TRPRTFsymbol* FindRPRTFSymbol(AnsiStringView keyword) {
  SortRPRTFSymbols();
  size_t low = 0;
  size_t high = Symbols.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const AnsiStringView candidate(Symbols[middle].Keyword);
    const int order = candidate.compare(keyword);
    if (order == 0) return &Symbols[middle];
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return nullptr;
}

std::span<const TRPRTFsymbol> RPRTFSymbols() { return Symbols; }
