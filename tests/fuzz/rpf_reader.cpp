// Whole native-format streams (text and binary forms, any records: styles, layout,
// background, properties, checkpoints, items, tables with their cells' streams) read
// into a document that holds text and a table, loaded or inserted at its start, middle
// or end. Any bytes must be read or refused, never crash. A refused stream leaves the
// document (and its style sheet) as it was; one that is read leaves a document that keeps
// the rules of documents and writes a stream that reads back as itself. Either way a good
// stream loads next into the same document.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "../richtext/interchange/RPFDocumentDump.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPLayoutInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

struct TFuzzPane {
  explicit TFuzzPane(uint32_t options) {
    Pane.SetStyle(&Style);
    Pane.RPFOptions = options;
    Style.TextStyles()[3]->Unicode = true;
    TCustomRPData& data = Pane.RPData();
    data.AddCheckpoint("top", false, TRPTag::FromNumber(1));
    data.AddAnsiText("first", 0, TRPTag(), 0);
    data.AddTextW(u"second \u0416", 3, TRPTag(), 1);
    auto table = std::make_unique<TRPTableItemInfo>(2, 2, &data);
    table->GetCell(1, 1)->Clear();
    table->GetCell(1, 1)->AddAnsiText("cell", 1, TRPTag(), 0);
    data.AddItem({}, std::move(table));
    data.AddAnsiText("last", 2, TRPTag(), 0);
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};
};

std::string Sheet(const TRPStyle& style) {
  return std::to_string(style.TextStyles().Count()) + "/" + std::to_string(style.ParaStyles().Count());
}

AnsiString Write(TCustomRPData& data) {
  TStringStream stream;
  if (!data.SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone)) Fail("a document read does not write");
  return stream.DataString();
}

}  // namespace

// The first byte picks the read: bit 0 loads (else inserts), bits 1-2 the insertion point
// (start, middle, end), bit 3 the binary form of the rewrite, bits 4-5 the style read
// mode, bit 6 rpfoConvUnknownStylesToZero, bit 7 the load options (background, layout,
// properties). The rest is the stream.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  uint32_t options = rpfoSaveTextStyles | rpfoSaveParaStyles | rpfoSaveDocProperties;
  if (pick & 0x08) options |= rpfoSaveBinary;
  if (pick & 0x40) options |= rpfoConvUnknownStylesToZero;
  if (pick & 0x80) options |= rpfoLoadBack | rpfoLoadLayout | rpfoLoadDocProperties;
  TFuzzPane fuzz(options);
  const auto mode = static_cast<TRPFReaderStyleMode>(((pick >> 4) & 3) % 3);
  fuzz.Pane.RPFTextStylesReadMode = mode;
  fuzz.Pane.RPFParaStylesReadMode = mode;
  TCustomRPData& document = fuzz.Pane.RPData();
  const std::string before = Dump(document);
  const std::string sheetBefore = Sheet(fuzz.Style);
  TStringStream input(AnsiString(reinterpret_cast<const char*>(data) + 1, size - 1));
  TRPLayoutInfo layout;
  TColor color = clNone;
  bool read = false;
  try {
    if (pick & 0x01) {
      read = document.LoadRPFFromStream(input, &fuzz.Pane.Background(), color, &layout);
    } else {
      const int32_t index = std::array<int32_t, 4>{0, 1, 2, 4}[(pick >> 1) & 3];
      read = document.InsertRPFFromStream(input, index, false, nullptr, color, nullptr);
    }
  } catch (const ERichPaneError& e) {
    // A layout block shorter than its format: refused by raising.
    if (std::string(e.what()) != errRPInvalidRPFFormat) Fail(std::string("raised: ") + e.what());
  }
  if (!read) {
    if (Dump(document) != before) Fail("a refused stream changed the document:\n" + before + "---\n" + Dump(document));
    if (Sheet(fuzz.Style) != sheetBefore) Fail("a refused stream changed the style sheet");
  } else {
    if (const std::string fault = DocumentFault(document); !fault.empty()) Fail("read: " + fault);
    // What was read writes a stream that reads back as itself; a document without items
    // writes nothing (a checkpoint after no item goes with it).
    const AnsiString written = Write(document);
    if (document.GetItemCount() == 0) {
      if (!written.empty()) Fail("a document without items wrote something");
    } else {
      TFuzzPane again(options);
      TStringStream rewritten(written);
      if (!again.Pane.RPData().LoadRPFFromStream(rewritten, nullptr, color, nullptr)) Fail("a rewrite does not read");
      if (Dump(again.Pane.RPData()) != Dump(document))
        Fail("a rewrite reads as another document:\n" + Dump(document) + "---\n" + Dump(again.Pane.RPData()));
    }
  }
  // A good stream loads next.
  TFuzzPane good(options);
  const AnsiString goodBytes = Write(good.Pane.RPData());
  TStringStream goodStream(goodBytes);
  if (!document.LoadRPFFromStream(goodStream, nullptr, color, nullptr)) Fail("a good stream does not load");
  if (const std::string fault = DocumentFault(document); !fault.empty()) Fail("a good stream loads badly: " + fault);
  return 0;
}
