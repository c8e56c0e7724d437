#include "l10n/LangTranslations.h"

#include <algorithm>

#include "l10n/LangErrors.h"
#include "l10n/LangEscapes.h"
#include "l10n/LangLimits.h"
#include "platform/base/FileContents.h"
#include "platform/base/Format.h"
#include "platform/base/Resources.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

namespace {

constexpr WideStringView LangIdParam = u"LANGID";
constexpr AnsiStringView ConstantsSection = "$CONSTANTS";

// "[name]": longer than the two brackets alone.
bool IsSectionLine(const WideString& line) { return line.size() > 2 && line.front() == u'[' && line.back() == u']'; }

// Splits a line at its first "="; false for a line without one or with an empty name.
bool SplitNameValue(const WideString& line, WideString& name, WideString& value) {
  const size_t separator = line.find(u'=');
  if (separator == WideString::npos) return false;
  name = Trim(WideStringView(line).substr(0, separator));
  value = Trim(WideStringView(line).substr(separator + 1));
  return !name.empty();
}

// The LANGID of "LANGID=..." among the lines, or fallback when absent or not a number.
int32_t FindLangId(const TUniStringList& lines, int32_t fallback) {
  WideString name, value;
  for (int32_t i = 0; i < lines.Count(); ++i) {
    if (!SplitNameValue(Trim(lines.Strings(i)), name, value)) continue;
    if (SameText(name, LangIdParam)) return StrToIntDef(DefaultWideToAnsi(value), fallback);
  }
  return fallback;
}

// Reads the rest of the stream as lines, by the text's byte-order mark; a text without
// one is 8-bit in the code page of the LANGID that its own header names.
void LoadLines(TStream& stream, TUniStringList& lines) {
  const int64_t start = stream.Position();
  const int64_t bytes = start < 0 ? -1 : stream.Size() - start;
  if (bytes > LangLimits().MaxFileBytes)
    throw ELangError(Format(SLangFileTooLarge.Text, {bytes, LangLimits().MaxFileBytes}));
  // The size was a claim: the reading itself stops at the limit too.
  TStringStream text(ReadStreamRest(stream, LangLimits().MaxFileBytes));
  if (DetectStreamCharSet(text) != steAnsi) {
    text.SetPosition(0);
    lines.LoadFromStreamWithBom(text, true);
    return;
  }
  lines.SetText(DefaultAnsiToWide(text.DataString()));
  const int32_t langId = FindLangId(lines, TLang_CompTranslations::DefaultLangId);
  lines.SetText(AnsiToWideWithCodePage(text.DataString(), CodePageFromLocale(static_cast<uint32_t>(langId))));
}

}  // namespace

TLangLimits& LangLimits() {
  static TLangLimits limits;
  return limits;
}

void TLang_CompTranslation::Add(uint32_t id, WideString text) {
  auto position = std::lower_bound(FItems.begin(), FItems.end(), id,
                                   [](const TLang_PropValueTranslation& item, uint32_t key) { return item.Id < key; });
  if (position != FItems.end() && position->Id == id)
    throw ELangError(Format(SLangDuplicateTranslationId.Text, {int64_t{id}}));
  FItems.insert(position, TLang_PropValueTranslation{id, std::move(text)});
}

const WideString* TLang_CompTranslation::Find(uint32_t id) const {
  auto position = std::lower_bound(FItems.begin(), FItems.end(), id,
                                   [](const TLang_PropValueTranslation& item, uint32_t key) { return item.Id < key; });
  return position != FItems.end() && position->Id == id ? &position->Text : nullptr;
}

TLang_CompTranslations::TLang_CompTranslations()
    : FConstants([this] { return HeaderLangID(); }), FParams(std::make_unique<TUniStringList>()) {}

TLang_CompTranslations::~TLang_CompTranslations() = default;

void TLang_CompTranslations::Clear() {
  FSections.clear();
  FConstants.Clear();
  FParams->Clear();
}

void TLang_CompTranslations::LoadFromFile(const WideString& fileName, bool headerOnly) {
  TStringStream stream(WideLoadFileBytes(fileName));
  LoadTranslations(stream, headerOnly);
}

void TLang_CompTranslations::LoadFromResourceName(const WideString& name) {
  TUniResourceStream stream(HInstance, name, RT_RCDATA);
  LoadTranslations(stream, false);
}

void TLang_CompTranslations::LoadFromResourceId(int32_t id) {
  TUniResourceStream stream(HInstance, id, RT_RCDATA);
  LoadTranslations(stream, false);
}

void TLang_CompTranslations::LoadTranslations(TStream& stream, bool headerOnly) {
  // Parsed into a fresh object and swapped in: a failed load leaves this one as it was.
  TLang_CompTranslations loaded;
  loaded.Parse(stream, headerOnly);
  FSections.swap(loaded.FSections);
  FParams.swap(loaded.FParams);
  FConstants.SwapContents(loaded.FConstants);
}

void TLang_CompTranslations::Parse(TStream& stream, bool headerOnly) {
  TUniStringList lines;
  LoadLines(stream, lines);
  TLang_CompTranslation* section = nullptr;
  bool inConstants = false;
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const WideString line = Trim(lines.Strings(i));
    if (line.empty() || line[0] == u';') continue;
    if (headerOnly && IsSectionLine(line)) break;
    try {
      ParseLine(line, section, inConstants);
    } catch (const Exception& e) {
      throw ELangError(Format(SLangLoadingFailed.Text, {i + 1, e.Message()}));
    }
  }
}

void TLang_CompTranslations::ParseLine(const WideString& line, TLang_CompTranslation*& section, bool& inConstants) {
  if (IsSectionLine(line)) {
    const AnsiString name = DefaultWideToAnsi(Trim(WideStringView(line).substr(1, line.size() - 2)));
    inConstants = SameText(name, ConstantsSection);
    section = nullptr;
    if (inConstants) return;
    section = SectionNamed(name);
    if (!section) section = FSections.emplace_back(std::make_unique<TLang_CompTranslation>(name)).get();
    return;
  }
  WideString name, value;
  if (!SplitNameValue(line, name, value)) return;
  if (inConstants) {
    FConstants.AddConstant(DefaultWideToAnsi(name), UnescapeLangText(value), 0);
  } else if (section) {
    const int32_t id = StrToIntDef(DefaultWideToAnsi(name), 0);
    if (id > 0) section->Add(static_cast<uint32_t>(id), UnescapeLangText(value));
  } else {
    FParams->Add(name + u"=" + value);
  }
}

TLang_CompTranslation* TLang_CompTranslations::SectionNamed(AnsiStringView name) const {
  for (const auto& section : FSections)
    if (SameText(section->Name(), name)) return section.get();
  return nullptr;
}

const TLang_CompTranslation* TLang_CompTranslations::FindSection(AnsiStringView name) const {
  return SectionNamed(name);
}

int32_t TLang_CompTranslations::HeaderParamLangID() const {
  const int32_t langId = FindLangId(*FParams, 0);
  return langId > 0 && langId <= 0xFFFF ? langId : 0;
}

uint16_t TLang_CompTranslations::HeaderLangID() const {
  const int32_t langId = HeaderParamLangID();
  return langId ? static_cast<uint16_t>(langId) : DefaultLangId;
}
