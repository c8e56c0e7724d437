// The RTF reader on any bytes. The first byte chooses which events are wired (Unicode
// text, pictures, objects, headers and footers, tabs as runs, small limits); the rest
// is the RTF. Any input must end with one of the reader's result codes, never crash;
// table events must nest (no end, row or cell without an open table) and pictures must
// be of a sane size. The same reader then reads a small good document as it should, so
// a failed parse leaves nothing behind.
//
// The dictionary of control words (tests/fuzz/rtf_reader.dict, made by
// make_rtf_dict.py) helps libFuzzer: -dict=tests/fuzz/rtf_reader.dict
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPRTFReader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Wires the events the flags ask for, each checking what it is given.
void Wire(TRPRTFReader& reader, uint8_t flags, int32_t& openTables) {
  reader.OnNewText = [](TRPRTFReader*, const AnsiString&, TRPRTFPosition position) { Check(position <= 2); };
  if (flags & 1)
    reader.OnNewUnicodeText = [](TRPRTFReader*, const WideString& text, TRPRTFPosition position) {
      Check(position <= 2 && !text.empty());
    };
  if (flags & 2)
    reader.OnNewPicture = [flags](TRPRTFReader*, TRPRTFPicture*, std::unique_ptr<TGraphic>& graphic, TRPRTFPosition,
                                  const AnsiString&, bool& inserted) {
      if (graphic) Check(graphic->Width() >= 0 && graphic->Width() <= (1 << 20) && graphic->Height() >= 0);
      inserted = (flags & 0x40) != 0;
    };
  if (flags & 4)
    reader.OnNewObject = [flags](TRPRTFReader*, TRPRTFObject* object, TRPRTFPosition, bool& inserted) {
      Check(object != nullptr);
      inserted = (flags & 0x40) != 0;
    };
  if (flags & 8)
    reader.OnHeaderFooter = [](TRPRTFReader*, TRPRTFHeaderFooterType, bool, bool& supported) { supported = true; };
  reader.OnTable = [&openTables](TRPRTFReader* r, TRPRTFTableEventKind kind) {
    if (kind == rpf_tbl_TableStart) ++openTables;
    if (kind == rpf_tbl_TableEnd) --openTables;
    Check(openTables >= 0 && openTables == r->TableLevel());
    if (kind == rpf_tbl_CellEnd || kind == rpf_tbl_RowEnd) Check(openTables > 0);
  };
  reader.OnUpdateMarker = [](TObject*) {};
  reader.OnRequiredPageBreak = [](TObject*) {};
  reader.TabAsSeparateChar = (flags & 0x10) != 0;
  if (flags & 0x20) {
    // Under a state's size per input byte, so that the proportional bound acts.
    reader.Limits.GroupStateBytesPerInputByte = 64;
    reader.Limits.MaxGroupStateBytes = 16384;
    reader.Limits.MaxBinBytes = 64;
    reader.Limits.MaxPictureBytes = 256;
    reader.Limits.MaxFonts = 3;
    reader.Limits.MaxColors = 3;
    reader.Limits.MaxStyles = 3;
    reader.Limits.MaxCellsPerRow = 3;
    reader.Limits.MaxTabsPerParagraph = 3;
    reader.Limits.MaxLists = 2;
    reader.Limits.MaxTableNesting = 3;
    reader.Limits.MaxFieldInstructionBytes = 16;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  int32_t openTables = 0;
  TRPRTFReader reader(nullptr);
  Wire(reader, flags, openTables);
  TStringStream input(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  const TRPRTFErrorCode code = reader.ParseStream(input);
  Check((code >= rtf_ec_OK && code <= rtf_ec_EndOfFile) || code == rtf_ec_Exception || code == rtf_ec_InvalidPicture ||
        code == rtf_ec_Aborted);
  Check(code != rtf_ec_Exception && code != rtf_ec_Aborted);  // nothing here raises
  if (code == rtf_ec_OK) Check(openTables == 0);

  // The same reader reads a good document afterwards as if new.
  std::string text;
  reader.OnNewText = [&text](TRPRTFReader*, const AnsiString& run, TRPRTFPosition) { text += run; };
  reader.OnNewUnicodeText = nullptr;
  reader.OnTable = nullptr;
  reader.Limits = TRPRTFLimits();
  TStringStream good("{\\rtf1{\\fonttbl{\\f0 A;}}\\f0\\fs24 ok}");
  Check(reader.ParseStream(good) == rtf_ec_OK && text == "ok" && reader.FontTable().Count() == 1);
  return 0;
}
