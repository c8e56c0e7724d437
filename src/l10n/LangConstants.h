// The named, translatable constants of the program: each has a current value and the
// built-in default it returns to.
//
// Kept sorted by name with CompareText (case-insensitive) and searched by bisection.
// A name is an identifier: letters, digits and "_", not starting with a digit.
//
// The binary form (the program's embedded constants, little-endian):
//   u8 version;
//   version 0 or 1: auto-save flag = (version != 0); u32 count; count × {u16 length +
//     8-bit name; u16 length + 8-bit value in the code page of the callback's LANGID}
//   version 2: u8 auto-save flag; u32 count; count × {u16 length + 8-bit name;
//     u16 length in characters + UTF-16LE value}
//   a later version is refused.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"

class TUniStrings;

struct TLang_Constant {
  AnsiString Name;
  WideString Value;
  WideString DefaultValue;
  uint8_t Flags = 0;
};

class TLang_Constants {
public:
  static constexpr uint8_t StreamVersion = 2;

  // The callback yields the LANGID whose code page decodes 8-bit values of old streams.
  explicit TLang_Constants(std::function<uint16_t()> langIdCallback);

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  const TLang_Constant& Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)); }
  bool AutoSaveLangSource() const { return FAutoSaveLangSource; }

  // Raises ELangError for an invalid or duplicate name.
  void AddConstant(const AnsiString& name, const WideString& value, uint8_t flags);
  // Raises ELangError "Constant \"%s\" not found" when absent.
  const TLang_Constant& ConstantByName(AnsiStringView name) const;
  // The index of the name, or -1.
  int32_t IndexOf(AnsiStringView name) const;
  void Clear();

  // False when the module has no RCDATA resource of that name.
  bool LoadFromResource(const WideString& name);
  // Replaces the list with the stream's constants; a failure leaves the list as it was.
  void LoadFromStream(TStream& stream);
  // Exchanges the constants and the auto-save flag; each keeps its callback.
  void SwapContents(TLang_Constants& other) noexcept;
  // Writes the list in the current version, values as they are now.
  void SaveToStream(TStream& stream) const;

  // Each constant found by name in the other list takes that one's value; every other
  // one (all of them without another list) returns to its default.
  void TranslateFrom(const TLang_Constants* other);
  // One line name=escaped value for each constant whose flags share no bit with excludedFlags.
  void SaveToStrings(TUniStrings& strings, uint8_t excludedFlags) const;

private:
  // Bisection: true and the index when found, else false and the insertion index.
  bool Find(AnsiStringView name, size_t& index) const;

  std::vector<TLang_Constant> FItems;
  std::function<uint16_t()> FLangIdCallback;
  bool FAutoSaveLangSource = true;
};

bool IsValidLangIdent(AnsiStringView name);
