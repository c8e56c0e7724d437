// The class library's `Format` for 8-bit and UTF-16 format strings.
//
// A specifier is "%" [index ":"] ["-"] [width] ["." precision] type, where index, width
// and precision are decimal numbers or "*" (taken from the next argument, which must be
// an integer); "%%" is a percent sign. An explicit index moves the implicit argument
// counter, so "%1:s %s" uses arguments 1 and 2. Width pads with spaces (on the right
// after "-"). Types, in either case:
//   d  decimal integer; the precision is the minimum number of digits
//   u  unsigned: the 32-bit value of an Integer, the 64-bit value of an Int64
//   x  upper-case hexadecimal of the same values; precision as for d
//   e  scientific, precision = significant digits (15), exponent "E+ddd"
//   f  fixed, precision = decimals (2)
//   g  general, precision = significant digits (15)
//   n  fixed with thousand separators, precision = decimals (2)
//   m  currency, precision = decimals (CurrencyDecimals)
//   p  pointer: upper-case hexadecimal, at least 8 digits
//   s  string or character; the precision is the maximum number of characters
// A wrong type letter or an argument of the wrong kind raises EConvertError "Format '%s'
// invalid or incompatible with argument"; a missing argument raises EConvertError "No
// argument for format '%s'". 8-bit texts meet UTF-16 ones through the ANSI code page.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <type_traits>

#include "platform/base/FloatText.h"
#include "platform/base/FormatSettings.h"
#include "platform/base/Types.h"

// One argument of Format: a typed value, borrowed (texts are not copied, so the
// arguments must outlive the call, as temporaries in the call's braces do).
struct TVarRec {
  template <typename Char>
  struct TTextRef {
    const Char* Data;
    size_t Length;
  };

  enum TVarType : uint8_t {
    vtInteger,
    vtBoolean,
    vtChar,
    vtExtended,
    vtPointer,
    vtPChar,
    vtWideChar,
    vtPWideChar,
    vtAnsiString,
    vtWideString,
    vtInt64
  };

  TVarRec(bool value) : VType(vtBoolean), VBoolean(value) {}
  TVarRec(char value) : VType(vtChar), VChar(value) {}
  TVarRec(char16_t value) : VType(vtWideChar), VWideChar(value) {}
  // Signed integers of up to 32 bits are Integers; wider or unsigned ones Int64s.
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char16_t> &&
           !std::same_as<T, char8_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>) TVarRec(T value) {
    if constexpr (std::is_signed_v<T> && sizeof(T) <= 4) {
      VType = vtInteger;
      VInteger = value;
    } else {
      VType = vtInt64;
      VInt64 = static_cast<int64_t>(value);
    }
  }
  TVarRec(double value) : VType(vtExtended), VExtended(value) {}
  TVarRec(const void* value) : VType(vtPointer), VPointer(value) {}
  TVarRec(std::nullptr_t) : VType(vtPointer), VPointer(nullptr) {}
  TVarRec(const char* value) : VType(vtPChar), VPChar(value) {}
  TVarRec(const char16_t* value) : VType(vtPWideChar), VPWideChar(value) {}
  TVarRec(const AnsiString& value) : TVarRec(AnsiStringView(value)) {}
  TVarRec(AnsiStringView value) : VType(vtAnsiString), VAnsi{value.data(), value.size()} {}
  TVarRec(const WideString& value) : TVarRec(WideStringView(value)) {}
  TVarRec(WideStringView value) : VType(vtWideString), VWide{value.data(), value.size()} {}

  TVarType VType;
  union {
    int32_t VInteger;
    bool VBoolean;
    char VChar;
    char16_t VWideChar;
    double VExtended;
    const void* VPointer;
    const char* VPChar;
    const char16_t* VPWideChar;
    TTextRef<char> VAnsi;
    TTextRef<char16_t> VWide;
    int64_t VInt64;
  };
};

AnsiString Format(AnsiStringView format, std::span<const TVarRec> args,
                  const TFormatSettings& settings = DefaultFormatSettings());
WideString Format(WideStringView format, std::span<const TVarRec> args,
                  const TFormatSettings& settings = DefaultFormatSettings());

inline AnsiString Format(AnsiStringView format, std::initializer_list<TVarRec> args,
                         const TFormatSettings& settings = DefaultFormatSettings()) {
  return Format(format, std::span<const TVarRec>(args.begin(), args.size()), settings);
}
inline WideString Format(WideStringView format, std::initializer_list<TVarRec> args,
                         const TFormatSettings& settings = DefaultFormatSettings()) {
  return Format(format, std::span<const TVarRec>(args.begin(), args.size()), settings);
}
