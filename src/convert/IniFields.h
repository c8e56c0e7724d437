// Reading and writing an object's fields as the keys of one ini section, from a table
// that names each key and the field it holds, in the order the keys are written.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <variant>

#include "platform/base/Types.h"
#include "unicode/ini/UniIniFiles.h"

template <class TObj>
struct TIniField {
  const char16_t* Key;
  // Bytes are read as integers and keep their low 8 bits.
  std::variant<int32_t TObj::*, uint8_t TObj::*, bool TObj::*, WideString TObj::*> Member;
};

// Every key of the table into `target`; a missing or unreadable value takes the field
// of `defaults`.
template <class TObj>
void ReadIniFields(TUniCustomIniFile& ini, const WideString& section, std::span<const TIniField<TObj>> fields,
                   TObj& target, const TObj& defaults) {
  for (const TIniField<TObj>& field : fields) {
    const WideString key = field.Key;
    std::visit(
        [&](auto member) {
          using TValue = std::remove_reference_t<decltype(target.*member)>;
          if constexpr (std::is_same_v<TValue, bool>)
            target.*member = ini.ReadBool(section, key, defaults.*member);
          else if constexpr (std::is_same_v<TValue, WideString>)
            target.*member = ini.ReadString(section, key, defaults.*member);
          else
            target.*member = static_cast<TValue>(ini.ReadInteger(section, key, defaults.*member));
        },
        field.Member);
  }
}

// Every key of the table, in table order: integers in decimal, booleans as "1"/"0".
template <class TObj>
void WriteIniFields(TUniCustomIniFile& ini, const WideString& section, std::span<const TIniField<TObj>> fields,
                    const TObj& source) {
  for (const TIniField<TObj>& field : fields) {
    const WideString key = field.Key;
    std::visit(
        [&](auto member) {
          using TValue = std::remove_cvref_t<decltype(source.*member)>;
          if constexpr (std::is_same_v<TValue, bool>)
            ini.WriteBool(section, key, source.*member);
          else if constexpr (std::is_same_v<TValue, WideString>)
            ini.WriteString(section, key, source.*member);
          else
            ini.WriteInteger(section, key, source.*member);
        },
        field.Member);
  }
}
