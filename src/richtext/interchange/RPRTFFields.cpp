// Field instructions: parsing, and the picture and symbol fields of the reader.
#include "richtext/interchange/RPRTFFields.h"

#include <charconv>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/base/FileContents.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFPictureLoad.h"
#include "richtext/interchange/RPRTFReader.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t SkipBlanks(AnsiStringView text, size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

// A quoted text without its quotes, else the word up to the next blank.
AnsiString ArgumentAt(AnsiStringView text, size_t at) {
  at = SkipBlanks(text, at);
  if (at >= text.size()) return AnsiString();
  if (text[at] == '"') {
    const size_t end = text.find('"', at + 1);
    return AnsiString(text.substr(at + 1, end == AnsiStringView::npos ? AnsiStringView::npos : end - at - 1));
  }
  size_t end = at;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return AnsiString(text.substr(at, end - at));
}

bool IsPathDelimiter(char c) { return c == '/' || c == '\\'; }

}  // namespace

AnsiString NormalizeRTFFieldInstruction(AnsiStringView instruction) {
  AnsiString text = Trim(instruction);
  if (!text.empty() && text[0] == '\\') text.erase(0, 1);
  return text;
}

bool RTFFieldIs(AnsiStringView instruction, AnsiStringView keyword) {
  return instruction.size() >= keyword.size() && SameText(instruction.substr(0, keyword.size()), keyword);
}

AnsiString RTFFieldArgument(AnsiStringView text) { return ReplaceAllForward(ArgumentAt(text, 0), "\\\\", "\\"); }

AnsiString RTFFieldSwitchArgument(AnsiStringView instruction, char name) {
  for (size_t at = instruction.find('\\'); at != AnsiStringView::npos; at = instruction.find('\\', at + 1)) {
    if (at + 1 < instruction.size() && instruction[at + 1] == name &&
        (at + 2 == instruction.size() || IsBlank(instruction[at + 2]) || instruction[at + 2] == '"'))
      return ArgumentAt(instruction, at + 2);
  }
  return AnsiString();
}

bool ParseRTFFieldNumber(AnsiStringView text, double& value) {
  const size_t at = SkipBlanks(text, 0);
  const char* first = text.data() + at;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
  return result.ec == std::errc() && result.ptr != first;
}

// --- The reader's fields --------------------------------------------------------------

TRPRTFErrorCode TRPRTFReader::ProcessFieldInstruction() {
  TRPRTFFieldData* field = FState->Field.get();
  if (!field) return rtf_ec_OK;
  const AnsiString instruction = NormalizeRTFFieldInstruction(field->Instruction);
  if (RTFFieldIs(instruction, "INCLUDEPICTURE")) {
    if (OnNewPicture) return ProcessFieldPicture(instruction, 14);
  } else if (RTFFieldIs(instruction, "IMPORT")) {
    if (OnNewPicture) return ProcessFieldPicture(instruction, 6);
  } else if (RTFFieldIs(instruction, "SYMBOL")) {
    return ProcessSymbolField(instruction);
  }
  return rtf_ec_OK;
}

// The picture comes from OnImportPicture, else (when allowed) from a file inside the
// base folder; the name is tried as written, then with its %-escapes decoded.
TRPRTFErrorCode TRPRTFReader::ProcessFieldPicture(const AnsiString& instruction, size_t keywordChars) {
  TRPRTFFieldData& field = *FState->Field;
  AnsiString name = RTFFieldArgument(AnsiStringView(instruction).substr(keywordChars));
  if (name.empty()) return rtf_ec_OK;
  if (!BasePath.empty() && IsPathDelimiter(BasePath.back()) && IsPathDelimiter(name[0])) name.erase(0, 1);
  if (name.find(':') == AnsiString::npos) name = BasePath + name;

  std::unique_ptr<TGraphic> graphic;
  bool invalid = false;
  AnsiString location = name;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt == 1) {
      const AnsiString decoded = DecodePercentEscapes(name);
      if (decoded == name) break;
      location = decoded;
    }
    graphic.reset();
    invalid = false;
    if (OnImportPicture) {
      const Code code = CallHandler([&] { OnImportPicture(this, location, graphic, invalid); });
      if (code != rtf_ec_OK) return code;
    }
    if (!graphic) graphic = LoadFieldPictureFile(location);
    if (graphic && !invalid) break;
    if (graphic && invalid) {
      field.RejectedPicture = std::move(graphic);
      field.RejectedPictureName = location;
    }
  }
  if (!graphic || invalid) return rtf_ec_OK;
  bool inserted = false;
  const Code code = ReportPicture(nullptr, std::move(graphic), location, inserted);
  if (inserted) field.PictureInserted = true;
  return code;
}

// Only a regular file whose real path lies inside the real base folder is read.
std::unique_ptr<TGraphic> TRPRTFReader::LoadFieldPictureFile(const AnsiString& location) const {
  if (!AllowFieldPictureFiles || BasePath.empty()) return nullptr;
  try {
    auto toPath = [this](const AnsiString& name) {
      AnsiString slashed = name;
      for (char& c : slashed)
        if (c == '\\') c = '/';
      std::string bytes;
      if (!WideToFileSystemName(CodePageToWide(slashed), bytes)) return std::filesystem::path();
      return std::filesystem::path(bytes);
    };
    std::error_code error;
    const std::filesystem::path base = std::filesystem::canonical(toPath(BasePath), error);
    if (error || !std::filesystem::is_directory(base, error)) return nullptr;
    const std::filesystem::path file = std::filesystem::canonical(toPath(location), error);
    if (error) return nullptr;
    const std::string baseText = base.string() + (base.string().ends_with('/') ? "" : "/");
    if (!file.string().starts_with(baseText)) return nullptr;
    std::string bytes;
    if (!ReadRegularFile(file.string(), bytes, Limits.MaxPictureBytes)) return nullptr;
    return LoadPictureFileGraphic({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  } catch (...) {
    return nullptr;  // a file that does not load leaves the field without its picture
  }
}

// SYMBOL code \f "font" \s size: the character as a run of its own in that font and size.
TRPRTFErrorCode TRPRTFReader::ProcessSymbolField(const AnsiString& instruction) {
  const AnsiStringView rest = AnsiStringView(instruction).substr(6);
  if (rest.empty() || rest[0] != ' ') return rtf_ec_OK;
  size_t end = 1;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  int32_t charCode = 0;
  if (!TryStrToInt(rest.substr(1, end - 1), charCode) || charCode <= 0 || charCode > 0xFFFF) return rtf_ec_OK;
  const size_t fontAt = instruction.find("\\f");
  const size_t sizeAt = instruction.find("\\s");
  if (fontAt == AnsiString::npos || sizeAt == AnsiString::npos) return rtf_ec_OK;
  const size_t quote = SkipBlanks(instruction, fontAt + 2);
  if (quote >= instruction.size() || instruction[quote] != '"') return rtf_ec_OK;
  const AnsiString fontName = ArgumentAt(instruction, quote);
  double points = 0;
  if (!ParseRTFFieldNumber(AnsiStringView(instruction).substr(sizeAt + 2), points) || points <= 0 || points > 4000)
    return rtf_ec_OK;

  Code code = FlushOutput(0);
  if (code != rtf_ec_OK) return code;
  TRPRTFCharProperties& ch = FState->CharProps;
  const int32_t savedSize = ch.Size;
  const AnsiString savedOverride = ch.FontNameOverride;
  ch.FontNameOverride = fontName;
  ch.Size = static_cast<int32_t>(Round(points));
  if (charCode < 256) {
    code = charCode == 9 || charCode == 10 || charCode == 13 ? rtf_ec_OK : AddTextChar(static_cast<uint8_t>(charCode));
  } else if (OnNewUnicodeText) {
    code = AddUnicodeChar(static_cast<WideChar>(charCode));
  } else {
    const WideChar unit = static_cast<WideChar>(charCode);
    const AnsiString bytes = WideToCodePage(WideStringView(&unit, 1));
    for (size_t i = 0; code == rtf_ec_OK && i < bytes.size(); ++i) code = AddTextChar(static_cast<uint8_t>(bytes[i]));
  }
  if (code == rtf_ec_OK) code = FlushOutput(0);
  ch.Size = savedSize;
  ch.FontNameOverride = savedOverride;
  FState->Field->SymbolAdded = true;
  return code;
}
