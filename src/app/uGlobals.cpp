#include "app/uGlobals.h"

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

// One key of the settings section by the type of its field.
int32_t ReadKey(TUniIniFile& ini, const char16_t* name, int32_t defaultValue) {
  return ini.ReadInteger(SettingsSection, name, defaultValue);
}
bool ReadKey(TUniIniFile& ini, const char16_t* name, bool defaultValue) {
  return ini.ReadBool(SettingsSection, name, defaultValue);
}
WideString ReadKey(TUniIniFile& ini, const char16_t* name, const WideString& defaultValue) {
  return ini.ReadString(SettingsSection, name, defaultValue);
}
void WriteKey(TUniIniFile& ini, const char16_t* name, int32_t value) { ini.WriteInteger(SettingsSection, name, value); }
void WriteKey(TUniIniFile& ini, const char16_t* name, bool value) { ini.WriteBool(SettingsSection, name, value); }
void WriteKey(TUniIniFile& ini, const char16_t* name, const WideString& value) {
  ini.WriteString(SettingsSection, name, value);
}

}  // namespace

TSettings DefaultSettings() {
  TSettings settings;
  settings.DestinationDir = ProgramDir();
  return settings;
}

WideString SettingsFileName() {
  return ProgramDir() + WideChangeFileExt(WideExtractFileName(WideGetModuleFileName(HInstance)), u".ini");
}

void LoadSettings() {
  const TSettings defaults = DefaultSettings();
  TSettings loaded = defaults;
  TUniIniFile ini(SettingsFileName());
  for (const TSettingKey& key : SettingKeys)
    std::visit([&](auto field) { loaded.*field = ReadKey(ini, key.Name, defaults.*field); }, key.Field);
  Settings = std::move(loaded);
}

void SaveSettings() {
  TUniIniFile ini(SettingsFileName());
  for (const TSettingKey& key : SettingKeys)
    std::visit([&](auto field) { WriteKey(ini, key.Name, Settings.*field); }, key.Field);
  ini.UpdateFile();
}
