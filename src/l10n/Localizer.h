// The language manager: the default language built into the program, the languages
// registered from language files, the current language, the translatable constants
// and the windows' language controllers.
//
// Locking: the manager's state is guarded by one recursive mutex. The program uses the
// manager from its GUI thread only; the lock keeps it safe if another thread asks, and
// being recursive it allows what a shared lock would deadlock on: a controller's event
// handler querying the manager while a language is being applied.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "l10n/LangConstants.h"
#include "l10n/LangTranslations.h"
#include "platform/base/Types.h"

// What the manager needs of a window's language controller.
class ILangController {
public:
  virtual ~ILangController() = default;
  // The language-file section of the window.
  virtual WideString ActualSectionName() const = 0;
  virtual void LanguageChanging() = 0;
  // Applies the section's texts (nullptr: the window's own defaults) in the code page.
  virtual void ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage) = 0;
  virtual void LanguageChanged() = 0;
};

struct TLang_LangResource {
  enum TKind : uint8_t { lrkResourceName, lrkResourceId, lrkFile };
  TKind Kind;
  WideString Name;  // resource name or file name
  int32_t ResourceId;
  uint16_t LangID;
};

class TLanguageManager {
public:
  static constexpr uint16_t DefaultLangID = 1033;

  // Loads the default texts of every constant from the embedded "LANG_CONSTS" when the
  // program has it.
  TLanguageManager();

  void AddLangController(ILangController* controller);
  void RemoveLangController(ILangController* controller);

  // True for a file whose header names a non-zero LANGID; a LANGID other than the
  // default is recorded (a later file replaces an earlier one of the same LANGID).
  bool RegisterLangFile(const WideString& fileName);
  // Registers every regular file matching directory + mask (a FIFO, device or socket is
  // passed over unopened); with recurse, also in subfolders whose names do not start
  // with ".". Returns the number registered; a file that cannot be read or parsed is
  // passed over and the scan goes on.
  int32_t ScanForLangFiles(const WideString& directory, const WideString& mask, bool recurse);

  int32_t GetLanguageCount();
  uint16_t GetLanguageIDAt(int32_t index);
  int32_t IndexOfLanguageID(uint16_t langID);
  WideString GetLanguageNameAt(int32_t index);
  uint16_t GetDefaultLanguageID();
  uint16_t GetLanguageID();
  uint32_t CodePage();

  // Raises ELangError "Constant \"%s\" not found" for an unknown name.
  WideString GetConstantValue(AnsiStringView name);
  TLang_Constants& Constants() { return FConstants; }

  // Switches to a registered language; an unregistered one selects the default. Loading
  // errors pass to the caller and leave the current language as it was.
  void SetLanguageID(uint16_t langID);
  // The translations of a registered language; nullptr for the default or an unknown one.
  std::unique_ptr<TLang_CompTranslations> GetTranslationsForLang(uint16_t langID);
  void ApplyTranslations(const TLang_CompTranslations* translations);
  void TranslateController(const TLang_CompTranslations* translations, ILangController& controller);
  // Translates one controller into the current language (a window that finished loading).
  void TranslateToCurrent(ILangController& controller);

private:
  void UpdateCodePage();
  // The position of the language among the registered ones, or -1.
  int32_t ResourceIndex(uint16_t langID) const;

  std::recursive_mutex FLock;
  TLang_Constants FConstants;
  std::vector<ILangController*> FControllers;
  std::vector<TLang_LangResource> FResources;
  uint32_t FCodePage = 0;
  uint16_t FDefaultLangID = DefaultLangID;
  uint16_t FLangID = DefaultLangID;
};

// The single manager, created on first use.
TLanguageManager& LangManager();
WideString LangConstant(AnsiStringView name);
