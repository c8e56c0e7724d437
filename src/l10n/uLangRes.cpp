#include "l10n/uLangRes.h"

#include <map>
#include <unordered_map>

#include "l10n/LangErrors.h"
#include "l10n/Localizer.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniSystem.h"

namespace {

struct TCaseInsensitiveLess {
  bool operator()(const AnsiString& a, const AnsiString& b) const { return CompareText(a, b) < 0; }
};

// Names in case-insensitive order, and the name of each registered record by identity.
struct TRegistry {
  std::map<AnsiString, PResStringRec, TCaseInsensitiveLess> ByName;
  std::unordered_map<PResStringRec, AnsiString> NameOf;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

void RegisterResStrings(std::span<const PResStringRec> records) {
  TRegistry& registry = Registry();
  for (PResStringRec record : records) {
    auto [it, inserted] = registry.ByName.try_emplace(record->Name, record);
    if (!inserted) {
      registry.NameOf.erase(it->second);
      it->second = record;
    }
    registry.NameOf[record] = it->first;
  }
}

bool TranslateResString(PResStringRec record, WideString& text) {
  TLanguageManager& manager = LangManager();
  if (manager.GetLanguageID() == manager.GetDefaultLanguageID()) return false;
  const TRegistry& registry = Registry();
  const auto found = registry.NameOf.find(record);
  if (found == registry.NameOf.end()) return false;
  try {
    text = manager.GetConstantValue(found->second);
  } catch (const ELangError&) {
    return false;  // a name the constants lack keeps its built-in text
  }
  return !text.empty();
}

void InstallResStringTranslation() { ResStringLoadHook = TranslateResString; }

void UninstallResStringTranslation() { ResStringLoadHook = nullptr; }
