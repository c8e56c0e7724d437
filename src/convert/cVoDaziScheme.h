// A conversion scheme: page geometry, rotation, cover, colour depth, table of contents,
// internal-link numbering, header and footer, and the 19 paragraph styles. Schemes are
// ".gws" files in ProgramDir, named by the file name without its extension; older
// ".ini" schemes are migrated to them once.
//
// The ".gws" file is an ini file in UTF-16LE with a byte-order mark: section
// "VoDaziScheme" with the scheme keys, then one section per style in index order.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "convert/cVoDaziStyle.h"
#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TUniCustomIniFile;
class TUniStrings;

class TVoDaziScheme : public TPersistent {
public:
  // The 19 styles with indexes 0..18; every field at its default.
  TVoDaziScheme();

  // The style of an index 0..18.
  TVoDaziStyle& Styles(int32_t index) { return FStyles.at(static_cast<size_t>(index)); }
  const TVoDaziStyle& Styles(int32_t index) const { return FStyles.at(static_cast<size_t>(index)); }

  // Name "(unnamed)", every field and every style to its default.
  void SchemeReset();
  // The scheme keys from "BookParams" (old format) or "VoDaziScheme", each with its
  // default when missing, then every style's section.
  void SchemeLoadFromIni(TUniCustomIniFile& ini, bool oldFormat);
  // The scheme keys to "VoDaziScheme", then every style, in the file's key order.
  void SchemeSaveToIni(TUniCustomIniFile& ini) const;
  // From another scheme: every field and every style; any other source raises
  // EConvertError "Cannot assign a ... to a ...".
  void Assign(const TPersistent& source) override;
  // Loads ProgramDir + name + ".gws" (found whatever the case of its name); a missing
  // file gives the defaults. Name becomes `name` as given. The file is never written.
  // Failure-atomic: a file that cannot be read (a folder of that name, no permission)
  // raises the ini file's exception and leaves the scheme as it was.
  void LoadSchemeFile(const WideString& name);

  WideString Name = u"(unnamed)";  // not stored in the file
  int32_t PageWidth = 600;         // pixels
  int32_t PageHeight = 800;
  uint8_t PageRotate = 0;  // 0 as laid out, 1 clockwise, other counter-clockwise
  bool RotateCover = true;
  int32_t MarginLeft = 0;
  int32_t MarginRight = 0;
  int32_t MarginTop = 0;
  int32_t MarginBottom = 0;
  uint8_t CoverPage = 2;  // 0 none, 1 or 2 bits per pixel
  bool EnlargeCover = true;
  int32_t CoverLeft = 0;
  int32_t CoverRight = 0;
  int32_t CoverTop = 0;
  int32_t CoverBottom = 0;
  int32_t BookColors = 2;  // bits per pixel of pages and images
  bool UseClearType = true;
  int32_t TOCLevels = 3;
  int32_t InternalLinksMode = 2;  // 0 underlined, 1 page reference only, 2 text and reference
  WideString InternalLinksText = u" (стр.%P)";
  bool CopyHRefLink = true;
  bool EnlargeImages = true;
  bool ShowHeader = true;
  bool HeaderDiffEvenPages = true;
  WideString HeaderLeftOddText = u"%T";
  WideString HeaderLeftEvenText = u"%A";
  WideString HeaderRightOddText = u"%P/%C";
  WideString HeaderRightEvenText = u"%P/%C";
  int32_t HeaderLineSize = 1;
  bool HeaderOnFirstPage = false;
  bool ShowFooter = false;
  bool FooterDiffEvenPages = false;
  WideString FooterLeftOddText;
  WideString FooterLeftEvenText;
  WideString FooterRightOddText = u"%P/%C";
  WideString FooterRightEvenText;
  int32_t FooterLineSize = 0;
  bool FooterOnFirstPage = false;

private:
  template <size_t... I>
  static std::array<TVoDaziStyle, sizeof...(I)> MakeStyles(std::index_sequence<I...>) {
    return {TVoDaziStyle(static_cast<uint8_t>(I))...};
  }

  std::array<TVoDaziStyle, VoDaziStyleCount> FStyles = MakeStyles(std::make_index_sequence<VoDaziStyleCount>());
};

// Empties `list`, then adds, for every "*.gws" file of ProgramDir (any case; folders
// skipped) whose section "VoDaziScheme" holds a key, its name without the last
// extension ("a.b.gws" gives "a.b"), in the order the folder search returns them.
void ListSchemes(TUniStrings& list);
// Converts every "*.ini" file of ProgramDir with a "BookParams" section into a ".gws"
// scheme of the same name (created or replaced, written through a complete copy), then
// renames the ".ini" file to ".ini.bak"; a failed rename is ignored, so the file is
// converted again next time. Files without that section, and files that cannot be
// read, are left alone. Errors writing a ".gws" file propagate.
void MigrateOldSchemes();
