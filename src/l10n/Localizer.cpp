#include "l10n/Localizer.h"

#include "l10n/LangErrors.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

constexpr WideChar LangConstsResourceName[] = u"LANG_CONSTS";
constexpr uint32_t AllFileAttributes = 0x3F;
constexpr uint32_t SystemAttribute = 0x04;
constexpr uint32_t DirectoryAttribute = 0x10;
constexpr uint32_t LocaleLanguageName = 0x00000002;

}  // namespace

TLanguageManager::TLanguageManager() : FConstants([this] { return GetLanguageID(); }) {
  UpdateCodePage();
  FConstants.LoadFromResource(LangConstsResourceName);
  ApplyTranslations(nullptr);
}

void TLanguageManager::AddLangController(ILangController* controller) {
  std::lock_guard lock(FLock);
  FControllers.push_back(controller);
}

void TLanguageManager::RemoveLangController(ILangController* controller) {
  std::lock_guard lock(FLock);
  std::erase(FControllers, controller);
}

bool TLanguageManager::RegisterLangFile(const WideString& fileName) {
  std::lock_guard lock(FLock);
  if (!WideFileExists(fileName)) return false;
  TLang_CompTranslations header;
  header.LoadFromFile(fileName, true);
  const int32_t langID = header.HeaderParamLangID();
  if (langID <= 0 || langID > 0xFFFF) return false;
  if (langID != FDefaultLangID) {
    const TLang_LangResource resource{TLang_LangResource::lrkFile, fileName, 0, static_cast<uint16_t>(langID)};
    const int32_t existing = ResourceIndex(static_cast<uint16_t>(langID));
    if (existing >= 0)
      FResources[static_cast<size_t>(existing)] = resource;
    else
      FResources.push_back(resource);
  }
  return true;
}

int32_t TLanguageManager::ScanForLangFiles(const WideString& directory, const WideString& mask, bool recurse) {
  const WideString folder = WideIncludeTrailingBackslash(directory);
  int32_t count = 0;
  TWideSearchRec search;
  if (WideFindFirst(folder + mask, AllFileAttributes, search) != 0) return 0;
  const struct TSearchCloser {
    TWideSearchRec& Search;
    ~TSearchCloser() { WideFindClose(Search); }
  } closer{search};
  do {
    const WideString path = folder + search.Name;
    if ((search.Attr & DirectoryAttribute) != 0) {
      if (recurse && !search.Name.starts_with(u".")) count += ScanForLangFiles(path, mask, recurse);
    } else if ((search.Attr & SystemAttribute) == 0) {
      // FIFOs, devices and sockets come as system files: they are never opened. A file
      // that cannot be read or parsed is passed over, so one broken file costs only its
      // own language.
      try {
        if (RegisterLangFile(path)) ++count;
      } catch (const Exception&) {
      }
    }
  } while (WideFindNext(search) == 0);
  return count;
}

int32_t TLanguageManager::GetLanguageCount() {
  std::lock_guard lock(FLock);
  return static_cast<int32_t>(FResources.size()) + 1;
}

uint16_t TLanguageManager::GetLanguageIDAt(int32_t index) {
  std::lock_guard lock(FLock);
  if (index == 0) return FDefaultLangID;
  return FResources.at(static_cast<size_t>(index - 1)).LangID;
}

int32_t TLanguageManager::IndexOfLanguageID(uint16_t langID) {
  std::lock_guard lock(FLock);
  return ResourceIndex(langID) + 1;
}

WideString TLanguageManager::GetLanguageNameAt(int32_t index) {
  const uint16_t langID = GetLanguageIDAt(index);
  WideString name = WideGetLocaleStr(langID, LocaleLanguageName, u"");
  if (name.empty()) name = AnsiToWideWithCodePage(IntToStr(langID), 0);
  return name;
}

uint16_t TLanguageManager::GetDefaultLanguageID() {
  std::lock_guard lock(FLock);
  return FDefaultLangID;
}

uint16_t TLanguageManager::GetLanguageID() {
  std::lock_guard lock(FLock);
  return FLangID;
}

uint32_t TLanguageManager::CodePage() {
  std::lock_guard lock(FLock);
  return FCodePage;
}

WideString TLanguageManager::GetConstantValue(AnsiStringView name) {
  std::lock_guard lock(FLock);
  return FConstants.ConstantByName(name).Value;
}

int32_t TLanguageManager::ResourceIndex(uint16_t langID) const {
  for (size_t i = 0; i < FResources.size(); ++i)
    if (FResources[i].LangID == langID) return static_cast<int32_t>(i);
  return -1;
}

std::unique_ptr<TLang_CompTranslations> TLanguageManager::GetTranslationsForLang(uint16_t langID) {
  std::lock_guard lock(FLock);
  if (langID == FDefaultLangID) return nullptr;
  const int32_t index = ResourceIndex(langID);
  if (index < 0) return nullptr;
  const TLang_LangResource* resource = &FResources[static_cast<size_t>(index)];
  auto translations = std::make_unique<TLang_CompTranslations>();
  switch (resource->Kind) {
    case TLang_LangResource::lrkFile:
      translations->LoadFromFile(resource->Name, false);
      break;
    case TLang_LangResource::lrkResourceName:
      translations->LoadFromResourceName(resource->Name);
      break;
    case TLang_LangResource::lrkResourceId:
      translations->LoadFromResourceId(resource->ResourceId);
      break;
  }
  return translations;
}

void TLanguageManager::SetLanguageID(uint16_t langID) {
  std::unique_ptr<TLang_CompTranslations> translations;
  bool changed = false;
  {
    std::lock_guard lock(FLock);
    translations = GetTranslationsForLang(langID);
    if (!translations) langID = FDefaultLangID;
    if (langID != FLangID) {
      FLangID = langID;
      UpdateCodePage();
      changed = true;
    }
  }
  if (changed) ApplyTranslations(translations.get());
}

void TLanguageManager::ApplyTranslations(const TLang_CompTranslations* translations) {
  std::lock_guard lock(FLock);
  FConstants.TranslateFrom(translations ? &translations->Constants() : nullptr);
  // A controller's handler may add or remove controllers: walk a snapshot.
  const std::vector<ILangController*> controllers = FControllers;
  for (ILangController* controller : controllers) TranslateController(translations, *controller);
}

void TLanguageManager::TranslateController(const TLang_CompTranslations* translations, ILangController& controller) {
  controller.LanguageChanging();
  try {
    const TLang_CompTranslation* section =
        translations ? translations->FindSection(DefaultWideToAnsi(controller.ActualSectionName())) : nullptr;
    controller.ApplyTranslation(section, CodePage());
  } catch (...) {
    controller.LanguageChanged();
    throw;
  }
  controller.LanguageChanged();
}

void TLanguageManager::TranslateToCurrent(ILangController& controller) {
  std::lock_guard lock(FLock);
  if (FLangID == FDefaultLangID) return;
  const auto translations = GetTranslationsForLang(FLangID);
  TranslateController(translations.get(), controller);
}

void TLanguageManager::UpdateCodePage() { FCodePage = CodePageFromLocale(FLangID); }

TLanguageManager& LangManager() {
  static TLanguageManager manager;
  return manager;
}

WideString LangConstant(AnsiStringView name) { return LangManager().GetConstantValue(name); }
