// RTF imported into a document from any bytes. The first byte chooses the import's
// options (Unicode mode, style modes, tables and pictures ignored or not, small limits,
// or the default limits with a small budget so that the budget is what stops a table or
// a picture); the rest is the RTF. Any input must end with one of the reader's result codes, never
// crash. A failed import leaves the document and its style sheet as they were; after a
// good one every table holds a whole grid (each position a cell, or covered by exactly
// one cell above-left of it). The same options then import a small good document.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableItem.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class TFuzzData : public TCustomRPData {
public:
  TFuzzData() {
    TBitmap invalid;
    invalid.SetPixelFormat(pf24bit);
    invalid.SetSize(1, 1);
    Sheet.SetInvalidPicture(&invalid);
  }
  const IRPStyleSheet* GetRPStyle() const override { return &Sheet; }
  TRPStyle Sheet{nullptr};
};

// Every position of every table of data (and of the tables in their cells) is a cell or
// covered by one whose spans reach it.
void CheckTables(const TCustomRPData& data, int depth) {
  Check(depth < 100);
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const auto* table = dynamic_cast<const TRPTableItemInfo*>(data.GetItem(i));
    if (!table) continue;
    const TRPTableRows& rows = table->Rows();
    const int32_t rowCount = rows.GetRowCount(), colCount = rows.GetColCount();
    Check(rowCount > 0 && colCount > 0);
    std::vector<int> covered(static_cast<size_t>(rowCount) * colCount, 0);
    for (int32_t r = 0; r < rowCount; ++r) {
      Check(rows.GetRow(r)->Count() == colCount);
      for (int32_t c = 0; c < colCount; ++c) {
        const TRPTableCellData* cell = rows.GetCell(r, c);
        if (!cell) continue;
        Check(cell->GetRowSpan() >= 1 && cell->GetColSpan() >= 1);
        Check(r + cell->GetRowSpan() <= rowCount && c + cell->GetColSpan() <= colCount);
        for (int32_t rr = r; rr < r + cell->GetRowSpan(); ++rr)
          for (int32_t cc = c; cc < c + cell->GetColSpan(); ++cc) ++covered[static_cast<size_t>(rr) * colCount + cc];
        Check(cell->GetItemCount() > 0);
        CheckTables(*cell, depth + 1);
      }
    }
    for (int n : covered) Check(n == 1);
  }
}

// The byte modulo 3 and 9: the Unicode mode and the style modes; 0x10 tables, 0x20
// pictures ignored; 0x40 hidden text kept; 0x80 small limits; bits 0-3 at 9 or more: the
// default limits with a small budget.
void SetOptions(TRPRTFReaderProperties& props, uint8_t flags) {
  props.UnicodeMode = static_cast<TRPReaderUnicode>(flags % 3);
  props.TextStyleMode = static_cast<TRPReaderStyleMode>((flags / 3) % 3);
  props.ParaStyleMode = props.TextStyleMode == rprsUseSpecified ? rprsAddIfNeeded : props.TextStyleMode;
  props.IgnoreTables = (flags & 0x10) != 0;
  props.IgnorePictures = (flags & 0x20) != 0;
  props.SkipHiddenText = (flags & 0x40) == 0;
  if (flags & 0x80) {
    props.Limits.GroupStateBytesPerInputByte = 64;
    props.Limits.MaxGroupStateBytes = 16384;
    props.Limits.MaxPictureBytes = 256;
    props.Limits.MaxCellsPerRow = 4;
    props.Limits.MaxTableNesting = 3;
    props.Limits.MaxTableColumns = 5;
    props.Limits.MaxTableCells = 12;
    props.Limits.MaxTableSpan = 2;
    props.Limits.MaxAddedTextStyles = 3;
  }
  if ((flags & 0x0F) >= 9) {
    props.Limits = TRPRTFLimits();
    props.Limits.TableCellAllowance = 16;
    props.Limits.PicturePixelAllowance = 256;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TFuzzData document;
  TFuzzData header, footer;
  document.AddTextW(u"kept", 0, TRPTag(), 0);
  TRPRTFReaderProperties props;
  SetOptions(props, data[0]);
  props.SetHeaderFooters(&header, &footer);
  const int32_t textStyles = document.Sheet.TextStyles().Count();
  const int32_t paraStyles = document.Sheet.ParaStyles().Count();

  TStringStream input(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  int32_t position = 1;
  const TRPRTFErrorCode code = props.ReadRTFFromStream(input, document, position);
  Check((code >= rtf_ec_OK && code <= rtf_ec_EndOfFile) || code == rtf_ec_InvalidPicture);
  if (code != rtf_ec_OK) {
    Check(position == -1 && document.GetItemCount() == 1 && header.GetItemCount() == 0 && footer.GetItemCount() == 0);
    Check(document.Sheet.TextStyles().Count() == textStyles && document.Sheet.ParaStyles().Count() == paraStyles);
  } else {
    Check(position == -1 ? document.GetItemCount() == 1 : position == 1);
    for (const TFuzzData* part : {&document, &header, &footer}) {
      if (part->GetItemCount() > 0) Check(part->StartsParagraph(0));
      CheckTables(*part, 0);
    }
  }

  // The same options read a good document afterwards.
  TFuzzData fresh;
  TStringStream good("{\\rtf1{\\fonttbl{\\f0 A;}}\\f0\\fs24 ok\\par}");
  int32_t at = 0;
  Check(props.ReadRTFFromStream(good, fresh, at) == rtf_ec_OK && at == 0 && fresh.GetItemCount() == 1);
  return 0;
}
