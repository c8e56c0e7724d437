// The reader's life cycle and its scanner: the buffered input, the parse loop, control
// words and the special words (\bin, \', \*).
//
// Scanner state: bytes come from FBuffer (one 4096-byte block of the stream at a time,
// refilled when used up) or from the one pushed-back byte. The current group state says
// how the next byte is read: normal (characters, "\", "{", "}"), hex (the two digits
// after \') or binary (\bin: FBinBytesLeft raw bytes for the destination).
#include "richtext/interchange/RPRTFReader.h"

#include <algorithm>
#include <new>

#include "richtext/model/RPScaling.h"

namespace {

constexpr size_t kReadBlockBytes = 4096;
// Progress is only worth reporting for streams above this size.
constexpr int64_t kProgressMinBytes = 20480;

bool IsAsciiLetter(uint8_t ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsDigit(uint8_t ch) { return ch >= '0' && ch <= '9'; }

// The bytes the saved group states of an input of inputBytes may take; -1 for an input
// whose size is unknown, which has the ceiling.
int64_t GroupStateBudget(const TRPRTFLimits& limits, int64_t inputBytes) {
  const int64_t perByte = limits.GroupStateBytesPerInputByte;
  if (inputBytes < 0 || perByte <= 0 || inputBytes > limits.MaxGroupStateBytes / perByte)
    return limits.MaxGroupStateBytes;
  return inputBytes * perByte;
}

}  // namespace

TRPRTFReader::TRPRTFReader(TComponent* owner) : TComponent(owner), FState(std::make_unique<TRPRTFReaderState>()) {}

TRPRTFReader::~TRPRTFReader() = default;

void TRPRTFReader::Reset() {
  SortRPRTFSymbols();
  FFontTable.Clear();
  FStyleSheet.Clear();
  FColorTable.Clear();
  FListTable.Clear();
  FListOverrideTable.Clear();
  FStack.clear();
  FState->Reset();
  FText.clear();
  FTextW.clear();
  FForceFlush = false;
  FPosition = rtf_ts_NewPara;
  FPositionBeforeHF = rtf_ts_NewPara;
  FPicture.reset();
  FObject.reset();
  FPNMarker.reset();
  FPNSecLevel = 1;
  FCodePage = DefCodePage;
  FSkipLeft = 0;
  FDepth = 0;
  FGroupStateBytes = 0;
  FTableLevel = 0;
  if (PixelsPerInch == 0) PixelsPerInch = GetScreenPixelsPerInch();
  FShpPictInserted = false;
  FOwedPicture.reset();
  FShapePropName.clear();
  FShapePictureBytes.clear();
  FObjectInserted = false;
  FHexHalf = false;
  FHexNibble = 0;
  FEscapeValue = 0;
  FEscapeDigits = 0;
  FBinBytesLeft = 0;
  FSkipDestIfUnknown = false;
  FTableAlign = 0;
  FTableAlignDefined = false;
  FPendingCode = rtf_ec_OK;
  FPictureHex.clear();
  FHasPushedBack = false;
}

TRPRTFErrorCode TRPRTFReader::ParseStream(TStream& stream) {
  Code code = rtf_ec_OK;
  FStream = &stream;
  try {
    Reset();
    const int64_t start = stream.Position();
    const int64_t size = stream.Size();
    FStreamStart = start < 0 ? 0 : start;
    FStreamSize = size;
    FBudget.Start(Limits, size < 0 ? -1 : size - FStreamStart);
    FBytesRead = 0;
    FGroupStateBudget = GroupStateBudget(Limits, size < 0 ? -1 : std::max<int64_t>(size - FStreamStart, 0));
    FBuffer.assign(kReadBlockBytes, 0);
    FBufferFill = 0;
    FBufferPos = 0;
    FStreamEnded = false;
    FProgress = OnProgress && size - FStreamStart > kProgressMinBytes;
    if (FProgress) code = CallHandler([&] { OnProgress(this, rpprtfprStarting, 0); });
    if (code == rtf_ec_OK) code = ParseLoop();
  } catch (...) {
    code = rtf_ec_Exception;
  }
  FBuffer.clear();
  FBuffer.shrink_to_fit();
  if (FProgress) {
    const Code ending = CallHandler([&] { OnProgress(this, rpprtfprEnding, 0); });
    if (code == rtf_ec_OK) code = ending;
  }
  FStream = nullptr;
  return code;
}

AnsiString TRPRTFReader::FieldInstruction() const { return FState->Field ? FState->Field->Instruction : AnsiString(); }

AnsiString TRPRTFReader::FontNameOf(const TRPRTFCharProperties& charProps) const {
  if (!charProps.FontNameOverride.empty()) return charProps.FontNameOverride;
  if (charProps.FontIndex >= 0 && charProps.FontIndex < FFontTable.Count())
    return FFontTable.Items(charProps.FontIndex)->Name;
  return AnsiString();
}

// --- Input ----------------------------------------------------------------------------

bool TRPRTFReader::GetChar(uint8_t& ch) {
  if (FHasPushedBack) {
    FHasPushedBack = false;
    ch = FPushedBack;
    return true;
  }
  if (FBufferPos >= FBufferFill) {
    if (FStreamEnded || FPendingCode != rtf_ec_OK) return false;
    const int32_t got = FStream->Read(FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
    if (got <= 0) {
      FStreamEnded = true;
      return false;
    }
    FBufferFill = static_cast<size_t>(got);
    FBufferPos = 0;
    FBytesRead += got;
    if (FProgress) {
      const int64_t total = FStreamSize - FStreamStart;
      const auto percent =
          static_cast<uint8_t>(std::clamp<int64_t>(total > 0 ? FBytesRead * 100 / total : 100, 0, 100));
      const Code code = CallHandler([&] { OnProgress(this, rpprtfprRunning, percent); });
      if (code != rtf_ec_OK) {
        FPendingCode = code;
        return false;
      }
    }
  }
  ch = FBuffer[FBufferPos++];
  return true;
}

void TRPRTFReader::UnGetChar(uint8_t ch) {
  FPushedBack = ch;
  FHasPushedBack = true;
}

int64_t TRPRTFReader::BytesLeft() const {
  if (FStreamSize < 0) return -1;
  const int64_t unread = FStreamSize - FStreamStart - FBytesRead;
  return std::max<int64_t>(unread, 0) + static_cast<int64_t>(FBufferFill - FBufferPos) + (FHasPushedBack ? 1 : 0);
}

// --- Parse loop -----------------------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::ParseLoop() {
  uint8_t ch = 0;
  while (GetChar(ch)) {
    if (FDepth < 0) return rtf_ec_StackUnderflow;
    Code code = rtf_ec_OK;
    if (FState->ParseMode == rtf_rds_Binary) {
      code = ParseChar(ch);
      if (code != rtf_ec_OK) return code;
      continue;
    }
    switch (ch) {
      case '\r':
      case '\n':
        break;
      case '\\':
        code = ParseKeyword();
        break;
      case '{':
        FSkipLeft = 0;
        code = PushState();
        break;
      case '}':
        FSkipLeft = 0;
        code = PopState();
        if (code == rtf_ec_OK && FDepth == 0) return FinishParse();
        break;
      default:
        if (FState->ParseMode == rtf_rds_Normal) {
          if (FSkipLeft > 0)
            --FSkipLeft;
          else
            code = ParseChar(ch);
        } else if (FState->ParseMode == rtf_rds_Hex) {
          code = ParseHexDigit(ch);
        } else {
          code = rtf_ec_Assertion;
        }
    }
    if (code != rtf_ec_OK) return code;
  }
  if (FPendingCode != rtf_ec_OK) return FPendingCode;
  return FinishParse();
}

TRPRTFErrorCode TRPRTFReader::FinishParse() {
  if (FPendingCode != rtf_ec_OK) return FPendingCode;
  Code code = UpdateMarker();
  while (code == rtf_ec_OK && FTableLevel > 0) {
    --FTableLevel;
    code = FireTable(rpf_tbl_TableEnd);
  }
  if (code != rtf_ec_OK) return code;
  // The automatic entry after the last ";" names no colour.
  if (FColorTable.Count() > 0) FColorTable.Delete(FColorTable.Count() - 1);
  if (FDepth < 0) return rtf_ec_StackUnderflow;
  if (FDepth > 0) return rtf_ec_UnmatchedBrace;
  if (!FText.empty() || !FTextW.empty()) return FlushOutput(0);
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::ParseHexDigit(uint8_t ch) {
  uint8_t value = 0;
  if (!HexDigitValue(ch, value)) return rtf_ec_InvalidHex;
  FEscapeValue = static_cast<uint8_t>((FEscapeValue << 4) | value);
  if (++FEscapeDigits < 2) return rtf_ec_OK;
  const uint8_t byte = FEscapeValue;
  FEscapeValue = 0;
  FEscapeDigits = 0;
  FState->ParseMode = rtf_rds_Normal;
  if (FSkipLeft > 0) {
    --FSkipLeft;
    return rtf_ec_OK;
  }
  return ParseChar(byte);
}

bool TRPRTFReader::HexDigitValue(uint8_t ch, uint8_t& value) {
  if (ch >= '0' && ch <= '9')
    value = static_cast<uint8_t>(ch - '0');
  else if (ch >= 'a' && ch <= 'f')
    value = static_cast<uint8_t>(ch - 'a' + 10);
  else if (ch >= 'A' && ch <= 'F')
    value = static_cast<uint8_t>(ch - 'A' + 10);
  else
    return false;
  return true;
}

// --- Control words --------------------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::ParseKeyword() {
  uint8_t ch = 0;
  if (!GetChar(ch)) return FPendingCode != rtf_ec_OK ? FPendingCode : rtf_ec_EndOfFile;
  AnsiString keyword;
  int32_t param = 0;
  bool fParam = false;
  if (!IsAsciiLetter(ch)) {
    keyword.assign(1, static_cast<char>(ch));
  } else {
    bool more = true;
    while (more && IsAsciiLetter(ch)) {
      keyword.push_back(static_cast<char>(ch));
      more = GetChar(ch);
    }
    bool negative = false;
    if (more && ch == '-') {
      negative = true;
      more = GetChar(ch);
    }
    // Digits beyond the 32-bit range saturate, so \binN stays a checked size.
    int64_t value = 0;
    while (more && IsDigit(ch)) {
      fParam = true;
      value = std::min<int64_t>(value * 10 + (ch - '0'), int64_t{1} << 32);
      more = GetChar(ch);
    }
    if (negative) value = -value;
    param = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    if (more && ch != ' ') UnGetChar(ch);
    if (FPendingCode != rtf_ec_OK) return FPendingCode;
  }

  if (OnTranslateKeyword) {
    bool doDefault = true;
    const Code code = TranslateKeyword(keyword, param, fParam, doDefault);
    if (code != rtf_ec_OK || !doDefault) return code;
  }

  const bool skipIfUnknown = FSkipDestIfUnknown;
  FSkipDestIfUnknown = false;
  const TRPRTFsymbol* symbol = FindRPRTFSymbol(keyword);
  if (!symbol) {
    if (skipIfUnknown) return ChangeDest(rdsSkip);
    return rtf_ec_OK;
  }
  switch (symbol->Action) {
    case rtf_kwd_Char:
      if (FSkipLeft > 0) {
        --FSkipLeft;
        return rtf_ec_OK;
      }
      return ParseChar(static_cast<uint8_t>(symbol->Index));
    case rtf_kwd_WideChar:
      if (FSkipLeft > 0) {
        --FSkipLeft;
        return rtf_ec_OK;
      }
      if (FState->Destination == rdsNorm && OnNewUnicodeText)
        return AddUnicodeChar(static_cast<WideChar>(symbol->DefValue));
      if (symbol->Index == 0) return rtf_ec_OK;  // no 8-bit form
      return ParseChar(static_cast<uint8_t>(symbol->Index));
    case rtf_kwd_Dest:
      return ChangeDest(static_cast<TRPRTFDestination>(symbol->Index));
    case rtf_kwd_Prop: {
      const int32_t value = (symbol->ForceDefValue || !fParam) ? symbol->DefValue : param;
      if (symbol->Group == rtf_grp_Char && FState->Destination == rdsNorm) {
        const Code code = FlushOutput(0);
        if (code != rtf_ec_OK) return code;
      }
      return ApplyProperty(*symbol, value);
    }
    case rtf_kwd_Spec:
      return ParseSpecial(static_cast<TRPRTFSpecial>(symbol->Index), param, fParam);
  }
  return rtf_ec_BadTable;
}

TRPRTFErrorCode TRPRTFReader::TranslateKeyword(const AnsiString& keyword, int32_t param, bool fParam, bool& doDefault) {
  AnsiString text;
  Code code = CallHandler([&] { OnTranslateKeyword(this, keyword, param, fParam, text, doDefault); });
  for (size_t i = 0; code == rtf_ec_OK && i < text.size(); ++i) code = ParseChar(static_cast<uint8_t>(text[i]));
  return code;
}

TRPRTFErrorCode TRPRTFReader::ParseSpecial(TRPRTFSpecial special, int32_t param, bool fParam) {
  switch (special) {
    case ripfBin: {
      const int64_t count = fParam ? param : 0;
      // A count that is negative, beyond the limit or beyond the data is refused before a
      // byte is read as binary.
      const int64_t left = BytesLeft();
      if (count < 0 || count > Limits.MaxBinBytes || (left >= 0 && count > left)) return rtf_ec_InvalidPicture;
      if (count > 0) {
        FState->ParseMode = rtf_rds_Binary;
        FBinBytesLeft = count;
      }
      return rtf_ec_OK;
    }
    case ripfHex:
      if (FState->Destination == rdsSkip) return rtf_ec_OK;
      FState->ParseMode = rtf_rds_Hex;
      FEscapeValue = 0;
      FEscapeDigits = 0;
      return rtf_ec_OK;
    case ripfSkipDest:
      if (FState->Destination != rdsSkip) FSkipDestIfUnknown = true;
      return rtf_ec_OK;
  }
  return rtf_ec_BadTable;
}
