#include "convert/cVoDaziScheme.h"

#include "convert/IniFields.h"

namespace {

const WideString SchemeSection = u"VoDaziScheme";
const WideString OldSchemeSection = u"BookParams";

using S = TVoDaziScheme;
const std::array<TIniField<S>, 37> SchemeKeys = {{
    {u"PageWidth", &S::PageWidth},
    {u"PageHeight", &S::PageHeight},
    {u"PageRotate", &S::PageRotate},
    {u"RotateCover", &S::RotateCover},
    {u"MarginLeft", &S::MarginLeft},
    {u"MarginRight", &S::MarginRight},
    {u"MarginTop", &S::MarginTop},
    {u"MarginBottom", &S::MarginBottom},
    {u"CoverPage", &S::CoverPage},
    {u"EnlargeCover", &S::EnlargeCover},
    {u"CoverLeft", &S::CoverLeft},
    {u"CoverRight", &S::CoverRight},
    {u"CoverTop", &S::CoverTop},
    {u"CoverBottom", &S::CoverBottom},
    {u"BookColors", &S::BookColors},
    {u"UseClearType", &S::UseClearType},
    {u"TOCLevels", &S::TOCLevels},
    {u"InternalLinksMode", &S::InternalLinksMode},
    {u"InternalLinksText", &S::InternalLinksText},
    {u"CopyHRefLink", &S::CopyHRefLink},
    {u"EnlargeImages", &S::EnlargeImages},
    {u"ShowHeader", &S::ShowHeader},
    {u"HeaderDiffEvenPages", &S::HeaderDiffEvenPages},
    {u"HeaderLeftOddText", &S::HeaderLeftOddText},
    {u"HeaderLeftEvenText", &S::HeaderLeftEvenText},
    {u"HeaderRightOddText", &S::HeaderRightOddText},
    {u"HeaderRightEvenText", &S::HeaderRightEvenText},
    {u"HeaderLineSize", &S::HeaderLineSize},
    {u"HeaderOnFirstPage", &S::HeaderOnFirstPage},
    {u"ShowFooter", &S::ShowFooter},
    {u"FooterDiffEvenPages", &S::FooterDiffEvenPages},
    {u"FooterLeftOddText", &S::FooterLeftOddText},
    {u"FooterLeftEvenText", &S::FooterLeftEvenText},
    {u"FooterRightOddText", &S::FooterRightOddText},
    {u"FooterRightEvenText", &S::FooterRightEvenText},
    {u"FooterLineSize", &S::FooterLineSize},
    {u"FooterOnFirstPage", &S::FooterOnFirstPage},
}};

}  // namespace

TVoDaziScheme::TVoDaziScheme() = default;

void TVoDaziScheme::SchemeReset() { *this = TVoDaziScheme(); }

void TVoDaziScheme::SchemeLoadFromIni(TUniCustomIniFile& ini, bool oldFormat) {
  ReadIniFields<S>(ini, oldFormat ? OldSchemeSection : SchemeSection, SchemeKeys, *this, TVoDaziScheme());
  for (TVoDaziStyle& style : FStyles) style.StyleLoadFromIni(ini);
}

void TVoDaziScheme::SchemeSaveToIni(TUniCustomIniFile& ini) const {
  WriteIniFields<S>(ini, SchemeSection, SchemeKeys, *this);
  for (const TVoDaziStyle& style : FStyles) style.StyleSaveToIni(ini);
}

void TVoDaziScheme::Assign(const TPersistent& source) {
  if (const auto* scheme = dynamic_cast<const TVoDaziScheme*>(&source)) {
    *this = *scheme;
    return;
  }
  TPersistent::Assign(source);
}
