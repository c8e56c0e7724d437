// What an export asks of its host while a cell is edited in place: the host control's
// events answer for the cell's content, sent by the host, as they do once the cell's
// editor has closed (the editor's own events are never set by a program).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "RPTableEditorScreen.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPPictureItems.h"

namespace {

std::string CellExportBytes(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// An export event of the host, set to answer with Mark; the output it reaches.
struct TCellExportEvent {
  const char* Name;
  const char* Mark;
  // Sets the host's event: it counts its calls, and those sent by another control.
  std::function<void(TRichPaneEdit& host, int& calls, int& foreign)> Install;
  std::function<std::string(TRichPaneEdit& host)> Write;
};

std::string CellExportRtf(TRichPaneEdit& host) {
  TMemoryStream stream;
  EXPECT_TRUE(host.SaveRTFToStream(stream, false));
  return CellExportBytes(stream);
}

std::string CellExportHtml(TRichPaneEdit& host) {
  TMemoryStream stream;
  EXPECT_TRUE(host.SaveHTMLToStream(stream, TRPHTMLExportParams{}));
  return CellExportBytes(stream);
}

const TCellExportEvent CellExportEvents[] = {
    {"OnSaveRTFExtra of the text styles", "\\hostextra",
     [](TRichPaneEdit& host, int& calls, int& foreign) {
       host.OnSaveRTFExtra = [&host, &calls, &foreign](TCustomRichPane* sender, TRPRTFSaveArea area, TObject*, int32_t,
                                                       int32_t, bool inStyleSheet, AnsiString& code) {
         if (area != rp_rtfs_TextStyle || inStyleSheet) return;
         ++calls;
         if (sender != &host) ++foreign;
         code = "\\hostextra";
       };
     },
     CellExportRtf},
    {"OnSaveImage2 of the cell's picture", "host-saved.png",
     [](TRichPaneEdit& host, int& calls, int& foreign) {
       host.OnSaveImage2 = [&host, &calls, &foreign](TCustomRichPane* sender, const TGraphic&, TRPSaveFormat,
                                                     const WideString&, TColor, WideString& fileName, bool& doDefault) {
         ++calls;
         if (sender != &host) ++foreign;
         fileName = u"host-saved.png";
         doDefault = false;
       };
     },
     CellExportHtml},
    {"OnHTMLSaveImage of the cell's picture", "host-location.png",
     [](TRichPaneEdit& host, int& calls, int& foreign) {
       host.OnHTMLSaveImage = [&host, &calls, &foreign](TCustomRichPane* sender, TCustomRPData&, int32_t,
                                                        const WideString&, TColor, AnsiString& location,
                                                        bool& doDefault) {
         ++calls;
         if (sender != &host) ++foreign;
         location = "host-location.png";
         doDefault = false;
       };
     },
     CellExportHtml},
};

size_t CellExportCount(const std::string& text, const std::string& mark) {
  size_t count = 0;
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) ++count;
  return count;
}

}  // namespace

// The cell (1, 1) holds text and a picture and is opened by a click; each export event
// of the host is heard for it while it is edited, as after its editor closed.
TEST_F(TTableEditorScreen, ExportEventsOfAnEditedCellAreTheHosts) {
  for (const TCellExportEvent& event : CellExportEvents) {
    SCOPED_TRACE(event.Name);
    Editor.OnSaveRTFExtra = nullptr;
    Editor.OnSaveImage2 = nullptr;
    Editor.OnHTMLSaveImage = nullptr;
    int calls = 0, foreign = 0;
    event.Install(Editor, calls, foreign);
    TRPTableCellData& cell = *Table->GetCell(1, 1);
    if (CellEditor()) Table->DestroyInplaceEditor();
    if (cell.GetItemCount() == 1) {
      auto bitmap = std::make_unique<TBitmap>();
      bitmap->SetPixelFormat(pf24bit);
      bitmap->SetSize(8, 6);
      auto picture = std::make_unique<TRPGraphicItemInfo>(&cell, std::move(bitmap), rpvaBaseline);
      picture->SetContinuesLine(true);
      cell.AddItem("picture", std::move(picture));
      ASSERT_NO_FATAL_FAILURE(Show());
    }
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    const std::string whileEdited = event.Write(Editor);
    const int callsWhileEdited = calls;
    EXPECT_EQ(foreign, 0);
    ASSERT_TRUE(EditsCell(1, 1)) << "writing leaves the cell's editor open";
    Table->DestroyInplaceEditor();
    calls = 0;
    const std::string closed = event.Write(Editor);
    EXPECT_EQ(whileEdited, closed);
    EXPECT_EQ(callsWhileEdited, calls);
    EXPECT_GT(CellExportCount(closed, event.Mark), 0u);
    EXPECT_EQ(foreign, 0);
  }
}
