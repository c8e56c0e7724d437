// One language file in memory: its header parameters, its translated constants and one
// section of translations per window.
//
// A language file is text. A file with the mark FF FE is UTF-16LE, one with EF BB BF is
// UTF-8; any other file is 8-bit text in the ANSI code page of the file's own LANGID
// (found by a first reading). Lines are trimmed; empty lines and lines starting with ";"
// are skipped. Lines name=value before the first section are header parameters ("LANGID"
// in decimal). "[name]" opens a section; "$CONSTANTS" holds constants, any other section
// the translations of the window of that name (ID=value with a decimal ID > 0). A line is
// split at its first "="; a line without one, or with an empty name, is ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "l10n/LangConstants.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

class TUniStringList;

struct TLang_PropValueTranslation {
  uint32_t Id;
  WideString Text;
};

// One window's section: translations sorted by identifier.
class TLang_CompTranslation {
public:
  explicit TLang_CompTranslation(AnsiString name) : FName(std::move(name)) {}

  const AnsiString& Name() const { return FName; }
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Raises ELangError "Duplicate property value translation ID (%d)" for a repeated id.
  void Add(uint32_t id, WideString text);
  // The text of the id, or nullptr when the section lacks it.
  const WideString* Find(uint32_t id) const;

private:
  AnsiString FName;
  std::vector<TLang_PropValueTranslation> FItems;
};

class TLang_CompTranslations {
public:
  static constexpr uint16_t DefaultLangId = 1033;

  TLang_CompTranslations();
  ~TLang_CompTranslations();

  // Loading replaces everything, and only once the whole text parsed: a failure leaves
  // the object as it was. With headerOnly parsing stops at the first section. A file is
  // read whole first (WideLoadFileBytes: a folder, FIFO or device is refused). Raises
  // ELangError "Loading translations failed.\r\nLine %d: %s" (0-based line) for an
  // error within a line, and the stream's or file's own error otherwise.
  void LoadFromFile(const WideString& fileName, bool headerOnly);
  void LoadFromResourceName(const WideString& name);
  void LoadFromResourceId(int32_t id);
  void LoadTranslations(TStream& stream, bool headerOnly);
  void Clear();

  // The section of that name (case-insensitive), or nullptr.
  const TLang_CompTranslation* FindSection(AnsiStringView name) const;
  int32_t SectionCount() const { return static_cast<int32_t>(FSections.size()); }
  const TLang_Constants& Constants() const { return FConstants; }
  const TUniStringList& Params() const { return *FParams; }
  // "LANGID" of the header as an integer; DefaultLangId when missing or not a number.
  uint16_t HeaderLangID() const;
  // The same, but 0 when missing or not a number (such a file cannot be registered).
  int32_t HeaderParamLangID() const;

private:
  // Parses the rest of the stream into this (empty) object.
  void Parse(TStream& stream, bool headerOnly);
  void ParseLine(const WideString& line, TLang_CompTranslation*& section, bool& inConstants);
  TLang_CompTranslation* SectionNamed(AnsiStringView name) const;

  std::vector<std::unique_ptr<TLang_CompTranslation>> FSections;
  TLang_Constants FConstants;
  std::unique_ptr<TUniStringList> FParams;
};
