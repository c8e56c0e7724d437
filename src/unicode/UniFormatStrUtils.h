// The format-string canonicaliser. Before a UTF-16 format string reaches the platform's
// UTF-16 formatter, every specifier gets an explicit argument index and every
// floating-point specifier is formatted at once by the 8-bit formatter, so the UTF-16
// formatter sees only integer, pointer and string specifiers with explicit indexes, and
// a malformed specifier is reported with a clear message.
//
// Specifier syntax: "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision are "*" or up to 6 digits and type is one of d u x e f g m n p s
// in either case. "%%", "% " and a "%" at the end are copied unchanged.
#pragma once

#include <cstdint>
#include <span>

#include "platform/base/Format.h"
#include "platform/base/Types.h"

// A growing UTF-16 text whose value ends at its first zero character.
class TBufferedWideString {
public:
  void Clear() { FBuffer.clear(); }
  void AddChar(WideChar c) { FBuffer += c; }
  void AddString(WideStringView text) { FBuffer += text; }
  // Adds up to `count` characters of `buffer`, stopping at a zero character.
  void AddBuffer(const WideChar* buffer, int32_t count);
  WideString Value() const;
  const WideChar* BuffPtr() const { return FBuffer.c_str(); }
  // The number of characters added.
  int32_t LastIndex() const { return static_cast<int32_t>(FBuffer.size()); }

private:
  WideString FBuffer;
};

enum TFormatType { ftInteger, ftFloat, ftPointer, ftString };

// Reads one specifier at a time from a zero-terminated format and rewrites it into
// `ParsedString` with an explicit index.
class TFormatStrParser {
public:
  explicit TFormatStrParser(const WideChar* format) : FPosition(format) {}

  // Parses the specifier at the current "%". False when it is no specifier ("%%", "% ",
  // "%" at the end): the characters read are then in ParsedString unchanged. Raises
  // EFormatSpecError "Invalid Format Specifier: %s" for a missing or invalid type
  // letter or a number of 7 or more digits.
  bool ParseFormatSpecifier();

  // Consumes `c` and appends it when it is next; returns whether it was.
  bool ParseChar(WideChar c);
  // As ParseChar, raising the specifier error when `c` is not next.
  void ForceChar(WideChar c);
  bool ParseDigit();
  // Up to 6 digits; true when there was at least one.
  bool ParseNumber();
  void ForceValidFormatType();
  // Up to 6 digits followed by ":"; digits without ":" are given back.
  bool GetExplicitIndex(int32_t& index);
  [[noreturn]] void RaiseInvalidFormatSpecifier();

  TBufferedWideString& ParsedString() { return FParsedString; }
  const WideChar* Position() const { return FPosition; }
  void SetPosition(const WideChar* position) { FPosition = position; }

  int32_t ExplicitCount = 0;
  int32_t ImplicitCount = 0;
  int32_t LastIndex = -1;

private:
  void NextImplicitIndex();

  TBufferedWideString FParsedString;
  const WideChar* FPosition;
};

// The type of a parsed specifier by its last character; raises EUniInternalError
// "Internal Error: Unexpected format type (%s)" for any other character.
TFormatType GetFormatType(WideStringView specifier);

// `format` with explicit indexes and its float specifiers already formatted (8-bit
// Format over `args`, with `settings` when given, widened by the default conversion).
WideString GetCanonicalFormatStr(const WideString& format, std::span<const TVarRec> args,
                                 const TFormatSettings* settings = nullptr);
