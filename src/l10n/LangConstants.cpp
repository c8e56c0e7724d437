#include "l10n/LangConstants.h"

#include "l10n/LangErrors.h"
#include "l10n/LangEscapes.h"
#include "platform/base/Format.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/Resources.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

namespace {

uint8_t ReadU8(TStream& stream) {
  uint8_t value = 0;
  stream.ReadBuffer(&value, 1);
  return value;
}

uint16_t ReadU16(TStream& stream) {
  uint8_t bytes[2];
  stream.ReadBuffer(bytes, 2);
  return LoadLE16(bytes);
}

uint32_t ReadU32(TStream& stream) {
  uint8_t bytes[4];
  stream.ReadBuffer(bytes, 4);
  return LoadLE32(bytes);
}

AnsiString ReadShortAnsi(TStream& stream) {
  AnsiString text(ReadU16(stream), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  return text;
}

WideString ReadShortWide(TStream& stream) {
  const uint16_t length = ReadU16(stream);
  WideString text;
  text.reserve(length);
  for (uint16_t i = 0; i < length; ++i) text += static_cast<WideChar>(ReadU16(stream));
  return text;
}

void WriteU8(TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

void WriteU16(TStream& stream, uint16_t value) {
  uint8_t bytes[2];
  StoreLE16(bytes, value);
  stream.WriteBuffer(bytes, 2);
}

void WriteU32(TStream& stream, uint32_t value) {
  uint8_t bytes[4];
  StoreLE32(bytes, value);
  stream.WriteBuffer(bytes, 4);
}

// Texts of the binary form carry a 16-bit length; a longer text cannot be stored.
uint16_t ShortLength(size_t length) {
  if (length > 0xFFFF) throw EWriteError(SWriteError);
  return static_cast<uint16_t>(length);
}

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

}  // namespace

bool IsValidLangIdent(AnsiStringView name) {
  if (name.empty() || !IsIdentStart(name[0])) return false;
  for (char c : name)
    if (!IsIdentStart(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

TLang_Constants::TLang_Constants(std::function<uint16_t()> langIdCallback)
    : FLangIdCallback(std::move(langIdCallback)) {}

bool TLang_Constants::Find(AnsiStringView name, size_t& index) const {
  size_t low = 0, high = FItems.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const int32_t order = CompareText(FItems[middle].Name, name);
    if (order == 0) {
      index = middle;
      return true;
    }
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  index = low;
  return false;
}

int32_t TLang_Constants::IndexOf(AnsiStringView name) const {
  size_t index = 0;
  return Find(name, index) ? static_cast<int32_t>(index) : -1;
}

void TLang_Constants::AddConstant(const AnsiString& name, const WideString& value, uint8_t flags) {
  if (!IsValidLangIdent(name)) throw ELangError(Format(SLangInvalidConstantName.Text, {name}));
  size_t index = 0;
  if (Find(name, index)) throw ELangError(Format(SLangDuplicateConstantName.Text, {name}));
  FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(index), TLang_Constant{name, value, value, flags});
}

const TLang_Constant& TLang_Constants::ConstantByName(AnsiStringView name) const {
  size_t index = 0;
  if (!Find(name, index)) throw ELangError(Format(SLangConstantNotFound.Text, {name}));
  return FItems[index];
}

void TLang_Constants::Clear() { FItems.clear(); }

bool TLang_Constants::LoadFromResource(const WideString& name) {
  if (!FindResourceW(HInstance, WideStringView(name), RT_RCDATA)) return false;
  TUniResourceStream stream(HInstance, name, RT_RCDATA);
  LoadFromStream(stream);
  return true;
}

void TLang_Constants::LoadFromStream(TStream& stream) {
  // Read into a fresh list and swapped in: a failed load leaves this one as it was.
  TLang_Constants loaded(FLangIdCallback);
  const uint8_t version = ReadU8(stream);
  if (version > StreamVersion)
    throw ELangError(Format(SLangStreamVersion.Text, {int32_t{version}, int32_t{StreamVersion}}));
  loaded.FAutoSaveLangSource = version < 2 ? version != 0 : ReadU8(stream) != 0;
  const uint32_t count = ReadU32(stream);
  const uint32_t codePage = version < 2 ? CodePageFromLocale(FLangIdCallback()) : 0;
  for (uint32_t i = 0; i < count; ++i) {
    AnsiString name = ReadShortAnsi(stream);
    WideString value = version < 2 ? AnsiToWideWithCodePage(ReadShortAnsi(stream), codePage) : ReadShortWide(stream);
    loaded.AddConstant(name, value, 0);
  }
  SwapContents(loaded);
}

void TLang_Constants::SwapContents(TLang_Constants& other) noexcept {
  FItems.swap(other.FItems);
  std::swap(FAutoSaveLangSource, other.FAutoSaveLangSource);
}

void TLang_Constants::SaveToStream(TStream& stream) const {
  WriteU8(stream, StreamVersion);
  WriteU8(stream, FAutoSaveLangSource ? 1 : 0);
  WriteU32(stream, static_cast<uint32_t>(FItems.size()));
  for (const TLang_Constant& constant : FItems) {
    WriteU16(stream, ShortLength(constant.Name.size()));
    stream.WriteBuffer(constant.Name.data(), static_cast<int32_t>(constant.Name.size()));
    WriteU16(stream, ShortLength(constant.Value.size()));
    for (WideChar c : constant.Value) WriteU16(stream, c);
  }
}

void TLang_Constants::TranslateFrom(const TLang_Constants* other) {
  for (TLang_Constant& constant : FItems) {
    // A constant the other list lacks returns to its default rather than keeping the
    // previous language's text.
    const int32_t index = other ? other->IndexOf(constant.Name) : -1;
    constant.Value = index >= 0 ? other->Items(index).Value : constant.DefaultValue;
  }
}

void TLang_Constants::SaveToStrings(TUniStrings& strings, uint8_t excludedFlags) const {
  for (const TLang_Constant& constant : FItems) {
    if (constant.Flags & excludedFlags) continue;
    strings.Add(AnsiToWideWithCodePage(constant.Name, 0) + u"=" + EscapeLangText(constant.Value));
  }
}
