// Documents for the tests of the native format: a rich view control with its own style
// sheet, writing and reading it (RPFDocumentDump.h compares documents).
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/base/Streams.h"
#include "richtext/interchange/RPFDocumentDump.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

// The options that write the text and paragraph style collections with the document.
inline constexpr uint32_t SaveStyles = rpfoSaveTextStyles | rpfoSaveParaStyles;

struct TRPFPane {
  explicit TRPFPane(uint32_t options = 0) {
    Pane.SetStyle(&Style);
    Pane.RPFOptions = options;
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};

  TCustomRPData& Data() { return Pane.RPData(); }

  // The whole document in the native format.
  AnsiString Save(TRPFSaveMode mode = rpfsmDocument) {
    TStringStream stream;
    EXPECT_TRUE(Data().SaveRPFToStream(stream, mode, nullptr, nullptr, clNone));
    return stream.DataString();
  }
  bool Load(const AnsiString& bytes) {
    TStringStream stream(bytes);
    TColor color = clNone;
    return Data().LoadRPFFromStream(stream, nullptr, color, nullptr);
  }
  bool Insert(const AnsiString& bytes, int32_t index, bool load = false) {
    TStringStream stream(bytes);
    TColor color = clNone;
    return Data().InsertRPFFromStream(stream, index, load, nullptr, color, nullptr);
  }
};
