#include "unicode/UniFormatStrUtils.h"

#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

constexpr int kMaxDigits = 6;
constexpr WideStringView kFormatTypes = u"duxefgmnpsDUXEFGMNPS";

bool IsDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

WideString DecimalText(int32_t value) {
  const std::string digits = std::to_string(value);
  return WideString(digits.begin(), digits.end());
}

}  // namespace

void TBufferedWideString::AddBuffer(const WideChar* buffer, int32_t count) {
  for (int32_t i = 0; i < count && buffer[i] != 0; ++i) FBuffer += buffer[i];
}

WideString TBufferedWideString::Value() const { return FBuffer.substr(0, FBuffer.find(u'\0')); }

bool TFormatStrParser::ParseChar(WideChar c) {
  if (*FPosition != c || c == 0) return false;
  FParsedString.AddChar(c);
  ++FPosition;
  return true;
}

void TFormatStrParser::ForceChar(WideChar c) {
  if (!ParseChar(c)) RaiseInvalidFormatSpecifier();
}

bool TFormatStrParser::ParseDigit() {
  if (!IsDigit(*FPosition)) return false;
  FParsedString.AddChar(*FPosition++);
  return true;
}

bool TFormatStrParser::ParseNumber() {
  int digits = 0;
  while (ParseDigit())
    if (++digits > kMaxDigits) RaiseInvalidFormatSpecifier();
  return digits > 0;
}

void TFormatStrParser::ForceValidFormatType() {
  if (*FPosition == 0 || kFormatTypes.find(*FPosition) == WideStringView::npos) RaiseInvalidFormatSpecifier();
  FParsedString.AddChar(*FPosition++);
}

bool TFormatStrParser::GetExplicitIndex(int32_t& index) {
  const WideChar* start = FPosition;
  const TBufferedWideString parsedBefore = FParsedString;
  if (ParseNumber() && *FPosition == u':') {
    index = 0;
    for (const WideChar* p = start; p != FPosition; ++p) index = index * 10 + (*p - u'0');
    ForceChar(u':');
    return true;
  }
  FPosition = start;
  FParsedString = parsedBefore;
  return false;
}

void TFormatStrParser::RaiseInvalidFormatSpecifier() {
  const WideString text = FParsedString.Value() + WideString(FPosition);
  throw EFormatSpecError("Invalid Format Specifier: " + DefaultWideToAnsi(text));
}

void TFormatStrParser::NextImplicitIndex() {
  ++ImplicitCount;
  ++LastIndex;
}

bool TFormatStrParser::ParseFormatSpecifier() {
  ForceChar(u'%');
  if (*FPosition == 0 || *FPosition == u' ' || ParseChar(u'%')) return false;

  int32_t index;
  if (GetExplicitIndex(index)) {
    ++ExplicitCount;
    if (index > LastIndex) LastIndex = index;
  } else {
    NextImplicitIndex();
    FParsedString.AddString(DecimalText(LastIndex));
    FParsedString.AddChar(u':');
  }
  // A second index slot: "*" takes one from the arguments.
  if (ParseChar(u'*')) {
    NextImplicitIndex();
    ParseChar(u':');
  } else if (ParseNumber()) {
    ParseChar(u':');
  }
  ParseChar(u'-');
  if (ParseChar(u'*'))
    NextImplicitIndex();
  else
    ParseNumber();
  if (ParseChar(u'.')) {
    // A "*" precision takes an argument just as a "*" width does.
    if (ParseChar(u'*'))
      NextImplicitIndex();
    else
      ParseNumber();
  }
  ForceValidFormatType();
  return true;
}

TFormatType GetFormatType(WideStringView specifier) {
  switch (specifier.empty() ? WideChar{0} : specifier.back()) {
    case u'd':
    case u'u':
    case u'x':
    case u'D':
    case u'U':
    case u'X':
      return ftInteger;
    case u'e':
    case u'f':
    case u'g':
    case u'm':
    case u'n':
    case u'E':
    case u'F':
    case u'G':
    case u'M':
    case u'N':
      return ftFloat;
    case u'p':
    case u'P':
      return ftPointer;
    case u's':
    case u'S':
      return ftString;
    default:
      throw EUniInternalError("Internal Error: Unexpected format type (" + DefaultWideToAnsi(specifier) + ")");
  }
}

WideString GetCanonicalFormatStr(const WideString& format, std::span<const TVarRec> args,
                                 const TFormatSettings* settings) {
  TBufferedWideString result;
  TFormatStrParser parser(format.c_str());
  for (;;) {
    const WideChar* start = parser.Position();
    const WideChar* percent = start;
    while (*percent != 0 && *percent != u'%') ++percent;
    if (*percent == 0) break;
    result.AddBuffer(start, static_cast<int32_t>(percent - start));
    parser.SetPosition(percent);
    parser.ParsedString().Clear();
    const bool isSpecifier = parser.ParseFormatSpecifier();
    const WideString specifier = parser.ParsedString().Value();
    if (isSpecifier && GetFormatType(specifier) == ftFloat) {
      const AnsiString ansiSpecifier = DefaultWideToAnsi(specifier);
      result.AddString(DefaultAnsiToWide(settings != nullptr ? Format(ansiSpecifier, args, *settings)
                                                             : Format(ansiSpecifier, args)));
    } else {
      result.AddString(specifier);
    }
  }
  result.AddString(parser.Position());
  return result.Value();
}
