#include "convert/cVoDaziStyle.h"

#include <array>

#include "convert/IniFields.h"

namespace {

constexpr std::array<const WideChar*, VoDaziStyleCount> StyleSections = {
    u"SectionText", u"BookTitle", u"Section",   u"SectionTitle", u"Subtitle", u"Epigraph", u"Cite",
    u"Annotation",  u"Poem",      u"PoemTitle", u"Stanza",       u"Verse",    u"Date",     u"TextAuthor",
    u"TableHead",   u"TableText", u"Footnote",  u"Header",       u"Footer"};

using S = TVoDaziStyle;
// The file's key order: the two block spacings stand after-before, unlike the fields.
const std::array<TIniField<S>, 28> StyleKeys = {{
    {u"BaseFontName", &S::BaseFontName},     {u"BaseFontSize", &S::BaseFontSize},
    {u"BaseFontBold", &S::BaseFontBold},     {u"BaseFontItalic", &S::BaseFontItalic},
    {u"Alignment", &S::Alignment},           {u"Hyphenation", &S::Hyphenation},
    {u"SpaceBefore", &S::SpaceBefore},       {u"SpaceAfter", &S::SpaceAfter},
    {u"LineSpacing", &S::LineSpacing},       {u"SpaceAftBlock", &S::SpaceAftBlock},
    {u"SpaceBefBlock", &S::SpaceBefBlock},   {u"LeftIndent", &S::LeftIndent},
    {u"RightIndent", &S::RightIndent},       {u"FirstIndent", &S::FirstIndent},
    {u"KeepLines", &S::KeepLines},           {u"KeepNext", &S::KeepNext},
    {u"PageBreak", &S::PageBreak},           {u"SubSize", &S::SubSize},
    {u"SubOffset", &S::SubOffset},           {u"SupSize", &S::SupSize},
    {u"SupOffset", &S::SupOffset},           {u"CodeFontName", &S::CodeFontName},
    {u"CodeFontSize", &S::CodeFontSize},     {u"CodeFontBold", &S::CodeFontBold},
    {u"CodeFontItalic", &S::CodeFontItalic}, {u"ApplyEmphasis", &S::ApplyEmphasis},
    {u"ApplyStrong", &S::ApplyStrong},       {u"ApplyStrike", &S::ApplyStrike},
}};

}  // namespace

const WideChar* VoDaziStyleSection(uint8_t index) { return StyleSections.at(index); }

void TVoDaziStyle::StyleReset() { *this = TVoDaziStyle(Index); }

void TVoDaziStyle::StyleLoadFromIni(TUniCustomIniFile& ini) {
  ReadIniFields<S>(ini, VoDaziStyleSection(Index), StyleKeys, *this, TVoDaziStyle(Index));
}

void TVoDaziStyle::StyleSaveToIni(TUniCustomIniFile& ini) const {
  WriteIniFields<S>(ini, VoDaziStyleSection(Index), StyleKeys, *this);
}

void TVoDaziStyle::Assign(const TPersistent& source) {
  if (const auto* style = dynamic_cast<const TVoDaziStyle*>(&source)) {
    *this = *style;
    return;
  }
  TPersistent::Assign(source);
}
