#include "app/uGlobals.h"

#include <type_traits>
#include <variant>

#include "platform/base/Module.h"
#include "unicode/UniSysUtils.h"
#include "unicode/ini/UniIniFiles.h"

TSettings Settings;

namespace {

// The keys in the order they are written, each with the field it holds.
using TSettingField = std::variant<int32_t TSettings::*, bool TSettings::*, WideString TSettings::*>;
struct TSettingKey {
  const char16_t* Name;
  TSettingField Field;
};
const TSettingKey SettingKeys[] = {
    {u"FormXPos", &TSettings::FormXPos},
    {u"FormYPos", &TSettings::FormYPos},
    {u"FormXLen", &TSettings::FormXLen},
    {u"FormYLen", &TSettings::FormYLen},
    {u"LastSourceDir", &TSettings::LastSourceDir},
    {u"UseSourceDir", &TSettings::UseSourceDir},
    {u"DestinationDir", &TSettings::DestinationDir},
    {u"SchemeName", &TSettings::SchemeName},
    {u"OverrideMode", &TSettings::OverrideMode},
    {u"LanguageId", &TSettings::LanguageId},
};

WideString& ProgramDirOverride() {
  static WideString dir;
  return dir;
}

}  // namespace

TSettings DefaultSettings() {
  TSettings settings;
  settings.DestinationDir = ProgramDir();
  return settings;
}

const WideString& ProgramDir() {
  static const WideString programFolder = ProgramDirectory();
  const WideString& chosen = ProgramDirOverride();
  return chosen.empty() ? programFolder : chosen;
}

void SetProgramDir(const WideString& dir) {
  ProgramDirOverride() = dir.empty() ? dir : WideIncludeTrailingBackslash(dir);
}

WideString SettingsFileName() {
  return ProgramDir() + WideChangeFileExt(WideExtractFileName(WideGetModuleFileName(HInstance)), u".ini");
}

void LoadSettings() {
  const TSettings defaults = DefaultSettings();
  TSettings loaded = defaults;
  TUniIniFile ini(SettingsFileName());
  for (const TSettingKey& key : SettingKeys) {
    std::visit(
        [&](auto field) {
          using TValue = std::remove_reference_t<decltype(loaded.*field)>;
          if constexpr (std::is_same_v<TValue, int32_t>)
            loaded.*field = ini.ReadInteger(SettingsSection, key.Name, defaults.*field);
          else if constexpr (std::is_same_v<TValue, bool>)
            loaded.*field = ini.ReadBool(SettingsSection, key.Name, defaults.*field);
          else
            loaded.*field = ini.ReadString(SettingsSection, key.Name, defaults.*field);
        },
        key.Field);
  }
  Settings = std::move(loaded);
}

void SaveSettings() {
  TUniIniFile ini(SettingsFileName());
  for (const TSettingKey& key : SettingKeys) {
    std::visit(
        [&](auto field) {
          using TValue = std::remove_reference_t<decltype(Settings.*field)>;
          if constexpr (std::is_same_v<TValue, int32_t>)
            ini.WriteInteger(SettingsSection, key.Name, Settings.*field);
          else if constexpr (std::is_same_v<TValue, bool>)
            ini.WriteBool(SettingsSection, key.Name, Settings.*field);
          else
            ini.WriteString(SettingsSection, key.Name, Settings.*field);
        },
        key.Field);
  }
  ini.UpdateFile();
}
