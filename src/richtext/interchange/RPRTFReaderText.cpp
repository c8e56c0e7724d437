// Characters by destination, the pending text and its flushing, \u, and the code-page
// conversions.
//
// Pending output: 8-bit text (FText) and UTF-16 text (FTextW) are never both pending;
// adding to one flushes the other. FPosition is where the next reported run stands.
#include <algorithm>

#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFReader.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Picture hex is decoded into a buffer of this size, written to the data when full.
constexpr size_t kPictureHexBufferBytes = 64 * 1024;
// Shape property names are short words; longer text names none the reader wants.
constexpr size_t kShapePropNameBytes = 32;

bool IsMarkerTextDest(TRPRTFDestination d) { return d == rdsPNTextAfter || d == rdsPNTextBefore; }

}  // namespace

// --- Conversions ----------------------------------------------------------------------

WideString TRPRTFReader::CodePageToWide(AnsiStringView text) const {
  return RawUnicodeToWide(AnsiToRawUnicode(FCodePage, text));
}

AnsiString TRPRTFReader::WideToCodePage(WideStringView text) const {
  return RawUnicodeToAnsi(FCodePage, WideToRawUnicode(text));
}

// --- Characters by destination --------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::ParseChar(uint8_t ch) {
  Code code = rtf_ec_OK;
  TRPRTFReaderState& state = *FState;
  const char c = static_cast<char>(ch);
  switch (state.Destination) {
    case rdsNorm:
      code = ParseCharNormal(ch);
      break;
    case rdsFontTable:
      if (ch != ';')
        if (TRPRTFFont* font = FFontTable.Last()) font->Name.push_back(c);
      break;
    case rdsStyleSheetParaStyle:
    case rdsStyleSheetCharStyle:
    case rdsStyleSheetSectStyle:
      if (ch != ';')
        if (TRPRTFStyleSheetEntry* entry = FStyleSheet.Last()) entry->Name.push_back(c);
      break;
    case rdsColorTable:
      if (ch == ';' && FColorTable.Count() < Limits.MaxColors) FColorTable.Add(clWindowText);
      break;
    case rdsListName:
      if (ch != ';')
        if (TRPRTFList97* list = FListTable.Last()) list->Name.push_back(c);
      break;
    case rdsFldInst:
      code = AppendFieldInstruction(ch);
      break;
    case rdsPNTextAfter:
    case rdsPNTextBefore:
      if (TRPRTFMarkerProperties* marker = MarkerOfText()) {
        AnsiString& text = state.Destination == rdsPNTextAfter ? marker->TextAfter : marker->TextBefore;
        text.push_back(c);
      }
      break;
    case rdsLevelNumbers:
      if (TRPRTFListLevel97* level = CurrentListLevel()) level->Numbers.push_back(c);
      break;
    case rdsLevelText:
      code = AppendLevelText(ch);
      break;
    case rdsPict:
      if (state.ParseMode == rtf_rds_Binary)
        code = AppendPictureByte(ch);
      else
        code = AppendPictureHex(ch);
      break;
    case rdsObjData:
      code = AppendObjectByte(ch);
      break;
    case rdsShapePropName:
      if (FShapePropName.size() < kShapePropNameBytes) FShapePropName.push_back(c);
      break;
    default:
      break;
  }
  if (state.ParseMode == rtf_rds_Binary && --FBinBytesLeft <= 0) {
    FBinBytesLeft = 0;
    state.ParseMode = rtf_rds_Normal;
  }
  return code;
}

TRPRTFErrorCode TRPRTFReader::ParseCharNormal(uint8_t ch) {
  const bool lineEnd = ch == 10 || ch == 13;
  Code code = rtf_ec_OK;
  if (lineEnd) code = UpdateMarker();
  if (code == rtf_ec_OK) code = AddTextChar(ch);
  if (code == rtf_ec_OK && lineEnd) code = UpdateMarker();
  return code;
}

TRPRTFMarkerProperties* TRPRTFReader::MarkerOfText() const {
  if (FState->MarkerTextLevel > 0) return FState->SectProps.MarkerDefaults().Level(FState->MarkerTextLevel);
  return FPNMarker.get();
}

TRPRTFListLevel97* TRPRTFReader::CurrentListLevel() const {
  TRPRTFList97* list = FListTable.Last();
  return list ? list->Last() : nullptr;
}

// --- Text -----------------------------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::AddTextChar(uint8_t ch) {
  Code code = UpdateTableLevel(FState->ParaProps.TableLevel(), true);
  if (code != rtf_ec_OK) return code;
  if (ch == 9 && TabAsSeparateChar) {
    code = FlushOutput(0);
    if (code != rtf_ec_OK) return code;
    FText.assign(1, '\t');
    return FlushOutput(0);
  }
  switch (ch) {
    case 0:
    case 10:
    case 13:
      return FlushOutput(ch);
    default:
      break;
  }
  if (!FTextW.empty()) {
    code = FlushOutput(0);
    if (code != rtf_ec_OK) return code;
  }
  FText.push_back(static_cast<char>(ch));
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::AddUnicodeChar(WideChar ch) {
  Code code = UpdateTableLevel(FState->ParaProps.TableLevel(), true);
  if (code == rtf_ec_OK && !FText.empty()) code = FlushOutput(0);
  if (code == rtf_ec_OK) FTextW.push_back(ch);
  return code;
}

TRPRTFErrorCode TRPRTFReader::FlushOutput(uint8_t breakChar) {
  Code code = ReportOwedPicture();
  if (code != rtf_ec_OK) return code;
  bool reported = false;
  const bool nothingPending = FText.empty() && FTextW.empty();
  if (!(nothingPending && !FForceFlush && (FPosition == rtf_ts_ContinuePara || breakChar == 0))) {
    // An empty run here tells of an empty paragraph or line.
    FState->ParaProps.Finalize();
    code = ReportText(FPosition);
    reported = true;
  }
  FText.clear();
  FTextW.clear();
  FForceFlush = false;
  if (breakChar == 13)
    FPosition = rtf_ts_NewLine;
  else if (breakChar == 10)
    FPosition = rtf_ts_NewPara;
  else if (reported)
    FPosition = rtf_ts_ContinuePara;
  return code;
}

TRPRTFErrorCode TRPRTFReader::ReportText(TRPRTFPosition position) {
  if (OnNewUnicodeText && !FTextW.empty()) return CallHandler([&] { OnNewUnicodeText(this, FTextW, position); });
  if (OnNewText) return CallHandler([&] { OnNewText(this, FText, position); });
  return rtf_ec_OK;
}

// \u: the fallback characters that follow are dropped wherever the character lands.
TRPRTFErrorCode TRPRTFReader::ParseUnicode(int32_t value) {
  const auto unit = static_cast<WideChar>(static_cast<uint16_t>(value));
  const TRPRTFDestination dest = FState->Destination;
  if (dest == rdsSkip) return rtf_ec_OK;
  if (dest == rdsNorm) {
    if (!OnNewUnicodeText) return rtf_ec_OK;
    FSkipLeft = FState->UnicodeSkipCount;
    return unit == 0 ? rtf_ec_OK : AddUnicodeChar(unit);
  }
  FSkipLeft = FState->UnicodeSkipCount;
  if (dest == rdsLevelText) {
    TRPRTFListLevel97* level = CurrentListLevel();
    if (!level) return rtf_ec_OK;
    if (level->TextW.empty()) level->TextW = CodePageToWide(level->Text);
    level->TextW.push_back(unit);
    level->Text += WideToCodePage(WideStringView(&unit, 1));
    return rtf_ec_OK;
  }
  if (IsMarkerTextDest(dest) && (unit & 0xFF00) == 0xF000) {
    // A Symbol-font character is stored as the font's own 8-bit code.
    if (TRPRTFMarkerProperties* marker = MarkerOfText()) {
      const int32_t font = marker->FontIndex;
      if (font >= 0 && font < FFontTable.Count() && SameText(FFontTable.Items(font)->Name, "Symbol"))
        return ParseChar(static_cast<uint8_t>(unit & 0xFF));
    }
  }
  const AnsiString bytes = WideToCodePage(WideStringView(&unit, 1));
  Code code = rtf_ec_OK;
  for (size_t i = 0; code == rtf_ec_OK && i < bytes.size(); ++i) code = ParseChar(static_cast<uint8_t>(bytes[i]));
  return code;
}

// --- Text of other destinations -------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::AppendFieldInstruction(uint8_t ch) {
  TRPRTFFieldData* field = FState->Field.get();
  if (field && field->Instruction.size() < static_cast<size_t>(std::max(Limits.MaxFieldInstructionBytes, 0)))
    field->Instruction.push_back(static_cast<char>(ch));
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::AppendLevelText(uint8_t ch) {
  TRPRTFListLevel97* level = CurrentListLevel();
  if (!level) return rtf_ec_OK;
  const char c = static_cast<char>(ch);
  level->Text.push_back(c);
  if (!level->TextW.empty()) level->TextW += CodePageToWide(AnsiStringView(&c, 1));
  return rtf_ec_OK;
}

// --- Picture and object data ----------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::FlushPictureHex() {
  if (FPictureHex.empty()) return rtf_ec_OK;
  Code code = rtf_ec_OK;
  if (FPicture) {
    if (FPicture->Data.Size() + static_cast<int64_t>(FPictureHex.size()) > Limits.MaxPictureBytes)
      code = rtf_ec_InvalidPicture;
    else
      FPicture->Data.WriteBuffer(FPictureHex.data(), static_cast<int32_t>(FPictureHex.size()));
  }
  FPictureHex.clear();
  return code;
}

TRPRTFErrorCode TRPRTFReader::AppendPictureByte(uint8_t byte) {
  if (!FPicture) return rtf_ec_OK;
  FPictureHex.push_back(byte);
  return FPictureHex.size() >= kPictureHexBufferBytes ? FlushPictureHex() : rtf_ec_OK;
}

// Reads the run of hex digits that starts with first straight from the input, pairing
// them into bytes; the first character that is no hex digit (CR and LF are skipped) is
// pushed back for the parse loop. A stray non-hex character alone is dropped.
TRPRTFErrorCode TRPRTFReader::AppendPictureHex(uint8_t first) {
  uint8_t value = 0;
  if (!HexDigitValue(first, value)) return rtf_ec_OK;
  uint8_t ch = first;
  while (true) {
    if (FHexHalf) {
      FHexHalf = false;
      const Code code = AppendPictureByte(static_cast<uint8_t>((FHexNibble << 4) | value));
      if (code != rtf_ec_OK) return code;
    } else {
      FHexNibble = value;
      FHexHalf = true;
    }
    do {
      if (!GetChar(ch)) return FPendingCode;
    } while (ch == '\r' || ch == '\n');
    if (!HexDigitValue(ch, value)) {
      UnGetChar(ch);
      return rtf_ec_OK;
    }
  }
}

TRPRTFErrorCode TRPRTFReader::AppendObjectByte(uint8_t ch) {
  uint8_t byte = ch;
  if (FState->ParseMode != rtf_rds_Binary) {
    uint8_t value = 0;
    if (!HexDigitValue(ch, value)) return rtf_ec_InvalidPicture;
    if (!FHexHalf) {
      FHexNibble = value;
      FHexHalf = true;
      return rtf_ec_OK;
    }
    FHexHalf = false;
    byte = static_cast<uint8_t>((FHexNibble << 4) | value);
  }
  if (!FObject) return rtf_ec_OK;
  if (FObject->Data.Size() >= Limits.MaxObjectBytes) return rtf_ec_InvalidPicture;
  FObject->Data.WriteBuffer(&byte, 1);
  return rtf_ec_OK;
}
