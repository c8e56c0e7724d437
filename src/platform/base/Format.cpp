#include "platform/base/Format.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/TextUtils.h"

namespace {

// Texts of either width meet through the ANSI code page.
AnsiString ToAnsi(AnsiStringView s) { return AnsiString(s); }
AnsiString ToAnsi(WideStringView s) { return WideToAnsi(s); }
template <typename Char>
std::basic_string<Char> FromAnsi(AnsiStringView s) {
  if constexpr (std::is_same_v<Char, char>)
    return AnsiString(s);
  else
    return AnsiToWide(s);
}
template <typename Char>
std::basic_string<Char> FromWide(WideStringView s) {
  if constexpr (std::is_same_v<Char, char>)
    return WideToAnsi(s);
  else
    return WideString(s);
}

template <typename Char>
size_t ZeroTerminatedLength(const Char* s) {
  return std::char_traits<Char>::length(s);
}

template <typename Char>
class TFormatter {
public:
  using String = std::basic_string<Char>;
  using View = std::basic_string_view<Char>;

  TFormatter(View format, std::span<const TVarRec> args, const TFormatSettings& settings)
      : FFormat(format), FArgs(args), FSettings(settings) {}

  String Run() {
    String result;
    while (FPos < FFormat.size()) {
      const size_t percent = FFormat.find(Char('%'), FPos);
      result.append(FFormat.substr(FPos, std::min(percent, FFormat.size()) - FPos));
      if (percent == View::npos) break;
      FPos = percent + 1;
      if (FPos < FFormat.size() && FFormat[FPos] == Char('%')) {
        result += Char('%');
        ++FPos;
        continue;
      }
      result += Specifier();
    }
    return result;
  }

private:
  [[noreturn]] void Invalid() const { throw EConvertError(Format(SInvalidFormat, {ToAnsi(FFormat)})); }

  Char Peek() const { return FPos < FFormat.size() ? FFormat[FPos] : Char(0); }

  const TVarRec& NextArg() {
    if (FArgIndex < 0 || static_cast<size_t>(FArgIndex) >= FArgs.size())
      throw EConvertError(Format(SArgumentMissing, {ToAnsi(FFormat)}));
    return FArgs[static_cast<size_t>(FArgIndex++)];
  }

  // A decimal number or "*" (the next argument, an Integer); -1 when neither is there.
  int32_t Number() {
    if (Peek() == Char('*')) {
      ++FPos;
      const TVarRec& arg = NextArg();
      if (arg.VType != TVarRec::vtInteger) Invalid();
      return arg.VInteger;
    }
    if (Peek() < Char('0') || Peek() > Char('9')) return -1;
    int64_t value = 0;
    while (Peek() >= Char('0') && Peek() <= Char('9')) {
      value = std::min<int64_t>(value * 10 + (Peek() - Char('0')), INT32_MAX);
      ++FPos;
    }
    return static_cast<int32_t>(value);
  }

  String Specifier() {
    int32_t width = Number();
    if (Peek() == Char(':')) {
      ++FPos;
      FArgIndex = width;
      width = -1;
    }
    bool leftAlign = false;
    if (Peek() == Char('-')) {
      leftAlign = true;
      ++FPos;
    }
    if (width < 0) width = Number();
    int32_t precision = -1;
    if (Peek() == Char('.')) {
      ++FPos;
      precision = std::max(Number(), 0);
    }
    const auto type = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Char>>(Peek()));
    if (type == 0 || type > 0x7F) Invalid();
    ++FPos;
    String text = Convert(static_cast<char>(type | 0x20), precision);
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
      const String pad(static_cast<size_t>(width) - text.size(), Char(' '));
      text = leftAlign ? text + pad : pad + text;
    }
    return text;
  }

  // type is the specifier's letter in lower case.
  String Convert(char type, int32_t precision) {
    switch (type) {
      case 'd':
      case 'u':
      case 'x':
        return FromAnsi<Char>(IntegerText(type, NextArg(), precision));
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm':
        return FromAnsi<Char>(FloatText(type, NextArg(), precision));
      case 'p':
        return FromAnsi<Char>(PointerText(NextArg()));
      case 's':
        return StringText(NextArg(), precision);
      default:
        Invalid();
    }
  }

  AnsiString IntegerText(char type, const TVarRec& arg, int32_t precision) const {
    uint64_t magnitude;
    bool negative = false;
    if (arg.VType == TVarRec::vtInteger) {
      negative = type == 'd' && arg.VInteger < 0;
      magnitude =
          type == 'd' ? static_cast<uint64_t>(std::abs(int64_t{arg.VInteger})) : static_cast<uint32_t>(arg.VInteger);
    } else if (arg.VType == TVarRec::vtInt64) {
      negative = type == 'd' && arg.VInt64 < 0;
      magnitude = negative ? 0 - static_cast<uint64_t>(arg.VInt64) : static_cast<uint64_t>(arg.VInt64);
    } else {
      Invalid();
    }
    AnsiString digits = type == 'x' ? IntToHex(static_cast<int64_t>(magnitude), 1) : std::to_string(magnitude);
    if (precision > static_cast<int32_t>(digits.size()))
      digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return negative ? "-" + digits : digits;
  }

  AnsiString FloatText(char type, const TVarRec& arg, int32_t precision) const {
    if (arg.VType != TVarRec::vtExtended) Invalid();
    const double value = arg.VExtended;
    switch (type) {
      case 'e':
        return FloatToStrF(value, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
      case 'g':
        return FloatToStrF(value, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
      case 'f':
        return FloatToStrF(value, ffFixed, 18, precision < 0 ? 2 : precision, FSettings);
      case 'n':
        return FloatToStrF(value, ffNumber, 18, precision < 0 ? 2 : precision, FSettings);
      default:
        return FloatToStrF(value, ffCurrency, 18, precision < 0 ? FSettings.CurrencyDecimals : precision, FSettings);
    }
  }

  AnsiString PointerText(const TVarRec& arg) const {
    switch (arg.VType) {
      case TVarRec::vtPointer:
      case TVarRec::vtPChar:
      case TVarRec::vtPWideChar:
        return IntToHex(static_cast<int64_t>(reinterpret_cast<uintptr_t>(arg.VPointer)), 8);
      default:
        Invalid();
    }
  }

  String StringText(const TVarRec& arg, int32_t precision) const {
    String text;
    switch (arg.VType) {
      case TVarRec::vtChar:
        text = FromAnsi<Char>(AnsiStringView(&arg.VChar, 1));
        break;
      case TVarRec::vtWideChar:
        text = FromWide<Char>(WideStringView(&arg.VWideChar, 1));
        break;
      case TVarRec::vtPChar:
        if (arg.VPChar) text = FromAnsi<Char>(AnsiStringView(arg.VPChar, ZeroTerminatedLength(arg.VPChar)));
        break;
      case TVarRec::vtPWideChar:
        if (arg.VPWideChar) text = FromWide<Char>(WideStringView(arg.VPWideChar, ZeroTerminatedLength(arg.VPWideChar)));
        break;
      case TVarRec::vtAnsiString:
        text = FromAnsi<Char>(AnsiStringView(arg.VAnsi.Data, arg.VAnsi.Length));
        break;
      case TVarRec::vtWideString:
        text = FromWide<Char>(WideStringView(arg.VWide.Data, arg.VWide.Length));
        break;
      default:
        Invalid();
    }
    if (precision >= 0 && text.size() > static_cast<size_t>(precision)) text.resize(static_cast<size_t>(precision));
    return text;
  }

  View FFormat;
  std::span<const TVarRec> FArgs;
  const TFormatSettings& FSettings;
  size_t FPos = 0;
  int32_t FArgIndex = 0;
};

}  // namespace

AnsiString Format(AnsiStringView format, std::span<const TVarRec> args, const TFormatSettings& settings) {
  return TFormatter<char>(format, args, settings).Run();
}

WideString Format(WideStringView format, std::span<const TVarRec> args, const TFormatSettings& settings) {
  return TFormatter<char16_t>(format, args, settings).Run();
}
