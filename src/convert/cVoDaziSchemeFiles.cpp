// Scheme files on disk: loading one by name, listing them, migrating old ".ini" schemes.
#include <functional>

#include "convert/cVoDaziScheme.h"
#include "unicode/ProgramDir.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWideStrings.h"
#include "unicode/ini/UniIniFiles.h"

namespace {

const WideString SchemeExt = u".gws";

// Calls `visit` with the full name of every file (not folder) of ProgramDir that
// matches the mask, in the folder search's order.
void ForEachProgramDirFile(const WideString& mask, const std::function<void(const WideString&)>& visit) {
  struct TSearch {
    TWideSearchRec Rec;
    ~TSearch() { WideFindClose(Rec); }
  } search;
  const WideString dir = ProgramDir();
  for (int32_t result = WideFindFirst(dir + mask, faAnyFile, search.Rec); result == 0;
       result = WideFindNext(search.Rec))
    if ((search.Rec.Attr & faDirectory) == 0) visit(dir + search.Rec.Name);
}

// The scheme's file: name + ".gws" as written when it exists, else the first file of
// the listing whose name differs from it only in case (the listing matches "*.gws"
// without regard to case, so "Big.GWS" is listed as "Big"); else the name as written.
WideString SchemeFileName(const WideString& name) {
  const WideString wanted = ProgramDir() + name + SchemeExt;
  if (WideFileExists(wanted)) return wanted;
  WideString found;
  ForEachProgramDirFile(u"*" + SchemeExt, [&](const WideString& fileName) {
    if (found.empty() && WideSameText(WideExtractFileName(fileName), WideExtractFileName(wanted))) found = fileName;
  });
  return found.empty() ? wanted : found;
}

}  // namespace

void TVoDaziScheme::LoadSchemeFile(const WideString& name) {
  // The extension is appended, not replaced, so the scheme listed as "a.b" loads
  // "a.b.gws".
  TUniMemIniFile ini(SchemeFileName(name));
  TVoDaziScheme loaded;
  loaded.Name = name;
  loaded.SchemeLoadFromIni(ini, false);
  *this = std::move(loaded);
}

void ListSchemes(TUniStrings& list) {
  list.Clear();
  ForEachProgramDirFile(u"*" + SchemeExt, [&](const WideString& fileName) {
    TUniIniFile ini(fileName);
    if (ini.SectionExists(u"VoDaziScheme")) list.Add(WideChangeFileExt(WideExtractFileName(fileName), u""));
  });
}

void MigrateOldSchemes() {
  TVoDaziScheme scheme;
  ForEachProgramDirFile(u"*.ini", [&](const WideString& fileName) {
    std::unique_ptr<TUniMemIniFile> ini;
    try {
      ini = std::make_unique<TUniMemIniFile>(fileName);
    } catch (const EWideFOpenError&) {
      return;  // unreadable: not ours to convert, and no reason to stop the start-up
    }
    if (!ini->SectionExists(u"BookParams")) return;
    scheme.SchemeLoadFromIni(*ini, true);
    ini->Rename(WideChangeFileExt(fileName, SchemeExt), false);
    ini->Clear();
    scheme.SchemeSaveToIni(*ini);
    ini->UpdateFile();
    WideRenameFile(fileName, WideChangeFileExt(fileName, u".ini.bak"));
  });
}
