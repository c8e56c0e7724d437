#include "xml/codecs/CharsetRegistry.h"

#include "platform/base/TextUtils.h"

namespace {

struct TMIBRange {
  int32_t First;
  int32_t Last;
};

constexpr TMIBRange RegistryRanges[] = {{3, 106}, {109, 112}, {1000, 1015}, {2000, 2101}, {2250, 2259}};

// Index of the preferred MIME name among a MIBenum's names, -1 for none.
int32_t PreferredMIMEIndex(int32_t mibEnum) {
  if (mibEnum == 3) return 6;
  if (mibEnum >= 4 && mibEnum <= 12) return 3;
  switch (mibEnum) {
    case 13:
    case 17:
    case 37:
    case 38:
    case 39:
    case 40:
    case 2025:
    case 2026:
    case 2084:
      return 0;
    case 18:
    case 82:
    case 84:
    case 85:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

TCSMIB::TCSMIB(TComponent* owner) : TComponent(owner) { TCSMIB::SetEnum(3); }

void TCSMIB::SetEnum(int32_t value) {
  if (!IsValidEnum(value)) {
    if (!FIgnoreInvalidEnum) throw Exception(SInvalidMIBNumber);
    return;
  }
  if (value == FEnum) return;
  bool allowChange = true;
  DoChanging(value, allowChange);
  if (!allowChange) return;
  FEnum = value;
  DoChange();
}

bool TCSMIB::IsValidEnum(int32_t value) const {
  for (const TMIBRange& range : RegistryRanges)
    if (value >= range.First && value <= range.Last) return true;
  return false;
}

const std::vector<AnsiString>& TCSMIB::CheckedNames() const {
  const std::vector<AnsiString>& names = CharsetNames(FEnum);
  if (names.empty()) throw Exception(SInvalidMIBNumber);
  return names;
}

int32_t TCSMIB::GetAliasCount() const { return static_cast<int32_t>(CheckedNames().size()); }

AnsiString TCSMIB::GetAlias(int32_t index) const {
  const std::vector<AnsiString>& names = CheckedNames();
  if (index < 0 || index >= static_cast<int32_t>(names.size())) throw Exception(SInvalidMIBNumber);
  return names[static_cast<size_t>(index)];
}

AnsiString TCSMIB::GetPreferredMIMEName() const {
  const int32_t index = PreferredMIMEIndex(FEnum);
  return index < 0 ? AnsiString() : GetAlias(index);
}

bool TCSMIB::FindName(AnsiStringView name) {
  const int32_t remembered = FEnum;
  for (const TMIBRange& range : RegistryRanges) {
    for (int32_t mibEnum = range.First; mibEnum <= range.Last; ++mibEnum) {
      SetEnum(mibEnum);
      for (int32_t i = 0, count = GetAliasCount(); i < count; ++i)
        if (SameText(GetAlias(i), name)) return true;
    }
  }
  SetEnum(remembered);
  return false;
}

void TCSMIB::DoChange() {
  if (FOnChange) FOnChange(this);
}

void TCSMIB::DoChanging(int32_t newEnum, bool& allowChange) {
  if (FOnChanging) FOnChanging(this, newEnum, allowChange);
}

const TClassProps& TCSMIB::Props() {
  static const TClassProps props(
      "TCSMIB", nullptr,
      {Published::Event("OnChange"), Published::Event("OnChanging"),
       Published::Make<TCSMIB, int32_t>("Enum", tkInteger, &TCSMIB::Enum, &TCSMIB::SetEnum),
       Published::Make<TCSMIB, bool>("IgnoreInvalidEnum", tkBoolean, &TCSMIB::IgnoreInvalidEnum,
                                     &TCSMIB::SetIgnoreInvalidEnum)});
  return props;
}
