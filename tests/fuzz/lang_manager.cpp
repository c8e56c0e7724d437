// Language files reach the manager from the program's folder, where anyone may drop one.
// The input is up to three files (split at form feeds): one in the scanned folder, one
// in a subfolder, one in a folder whose name starts with "." (which a scan skips). Any
// bytes must register, scan and switch languages, or raise the library's own exception,
// never crash. A switch that fails keeps the current language; one that succeeds
// selects the language asked for; the default language gives every constant its
// built-in value again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzScratchFolder.h"
#include "l10n/Localizer.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSystemNames.h"

namespace {

// A window that reads its three texts from the section the manager hands it.
class TFuzzWindow : public ILangController {
public:
  WideString ActualSectionName() const override { return u"MainWindow"; }
  void LanguageChanging() override {}
  void ApplyTranslation(const TLang_CompTranslation* section, uint32_t) override {
    if (!section) return;
    for (uint32_t id = 1; id <= 3; ++id)
      if (const WideString* text = section->Find(id)) Texts += *text;
  }
  void LanguageChanged() override {}

  WideString Texts;
};

const char* const FileNames[] = {"one.lng", "sub/two.lng", ".hidden/three.lng"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  const TFuzzScratchFolder folder;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (const char* name : FileNames) {
    const size_t end = rest.find('\f');
    folder.Write(name, rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }

  TLanguageManager manager;
  manager.Constants().AddConstant("SCaption", u"Caption", 0);
  manager.Constants().AddConstant("SMessage", u"Message", 0);
  TFuzzWindow window;
  manager.AddLangController(&window);
  try {
    manager.RegisterLangFile(FileSystemNameToWide(folder.Path() + "/.hidden/three.lng"));
    manager.ScanForLangFiles(FileSystemNameToWide(folder.Path()), u"*.lng", true);
  } catch (const Exception&) {
    return 0;
  }

  for (int32_t index = 0; index < manager.GetLanguageCount(); ++index) {
    const uint16_t langID = manager.GetLanguageIDAt(index);
    manager.GetLanguageNameAt(index);
    const uint16_t before = manager.GetLanguageID();
    try {
      manager.SetLanguageID(langID);
    } catch (const Exception&) {
      if (manager.GetLanguageID() != before) std::abort();
      continue;
    }
    if (manager.GetLanguageID() != langID) std::abort();
    manager.GetConstantValue("SCaption");
    manager.TranslateToCurrent(window);
  }

  manager.SetLanguageID(manager.GetDefaultLanguageID());
  const TLang_Constants& constants = manager.Constants();
  for (int32_t i = 0; i < constants.Count(); ++i)
    if (constants.Items(i).Value != constants.Items(i).DefaultValue) std::abort();
  return 0;
}
