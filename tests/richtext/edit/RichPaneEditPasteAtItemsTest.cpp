// A native-format selection that starts at a list item's bullet, copied and pasted with
// the window's own mouse and key events where the caret stands at a picture, at a table
// and on a list marker: the list marker cannot go there and is dropped, the rest of the
// selection goes in at the caret, and one undo takes the paste back. Then native
// documents of every kind of item pasted (Ctrl+V) and dropped at random caret places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "../interchange/RPFDocumentDump.h"
#include "RPEditorWindow.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPMarker.h"
#include "richtext/table/RPTableItem.h"

namespace {

// Items of the document the cases start from.
enum TPasteAtItemsIndex : int32_t {
  BeforeListItem,  // "Before the list"
  FirstMarker,
  FirstPoint,  // "first point"
  TextBeforePicture,
  PictureItem,
  TextAfterPicture,
  TableItem,
  AfterTableItem,
  SecondMarker,
  SecondPoint,
};

struct TPasteAtItemsEditor : TEditorWindow {
  TPasteAtItemsEditor() {
    Style.ListStyles().Add()->Levels().Add();  // bullets
    Build();
    Show();
    Editor.ClearUndo();
  }

  void Build() {
    TRPEditRPData& data = Data();
    data.Clear();
    data.AddRawText("Before the list", 0, 0);
    AddListParagraph("first point");
    data.AddRawText("x ", 0, 0);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(24, 24);
    data.AddPicture("picture", std::move(bitmap), -1, rpvaBaseline);
    data.AddRawText(" y", 0, -1);
    auto table = std::make_unique<TRPTableItemInfo>(1, 2, &data);
    for (int32_t c = 0; c < 2; ++c) {
      table->GetCell(0, c)->Clear();
      table->GetCell(0, c)->AddRawText(c ? "right" : "left", 0, 0);
    }
    data.AddItem("", std::move(table));
    data.AddRawText("after the table", 0, 0);
    AddListParagraph("second point");
  }
  void AddListParagraph(const AnsiString& text) {
    Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
    Data().AddRawText(text, 0, -1);
  }
  // A point inside the draw item of itemNo, a quarter of its width from its left.
  QPoint Inside(int32_t itemNo) {
    for (int32_t i = 0; i < Data().DrawItems.Count(); ++i) {
      const TRPDrawLineInfo& d = *Data().DrawItems[i];
      if (d.ItemNo == itemNo)
        return QPoint(d.Left + d.Width / 4 - Data().GetHOffs(), d.Top + d.Height / 2 - Data().GetVOffs());
    }
    ADD_FAILURE() << "item " << itemNo << " has no draw item";
    return {};
  }
};

struct TPasteAtItemsCase {
  const char* Name;
  // Puts the caret where the paste goes, with the mouse and the keys.
  std::function<void(TPasteAtItemsEditor&)> PlaceCaret;
  int32_t CaretItem, CaretOffset;  // where the caret stands then
};

TEST(RichPaneEditPasteAtItemsTest, AListItemCopiedFromItsBulletPastesAtAPictureATableAndAMarker) {
  const TPasteAtItemsCase cases[] = {
      // The click selects the picture with the caret after it; Right moves on a character.
      {"a click on a picture, then Right",
       [](TPasteAtItemsEditor& e) {
         e.Click(e.Inside(PictureItem));
         e.Key(Qt::Key_Right);
       },
       TextAfterPicture, 2},
      {"right of a picture",
       [](TPasteAtItemsEditor& e) {
         e.Click(e.At(TextBeforePicture, 1));
         for (int32_t k = 0; k < 3; ++k) e.Key(Qt::Key_Right);
       },
       PictureItem, 1},
      {"at a table",
       [](TPasteAtItemsEditor& e) {
         e.Click(e.At(TextAfterPicture, 3));
         e.Key(Qt::Key_Right);
       },
       TableItem, 0},
      {"a click on a list marker", [](TPasteAtItemsEditor& e) { e.Click(e.Inside(SecondMarker)); }, SecondPoint, 1},
  };
  for (const TPasteAtItemsCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPasteAtItemsEditor e;
    const std::string before = Dump(e.Data());
    // Click the end of the line before the list, Shift+Down, Shift+End, Ctrl+C.
    e.Click(e.At(BeforeListItem, 16));
    e.Key(Qt::Key_Down, Qt::ShiftModifier);
    e.Key(Qt::Key_End, Qt::ShiftModifier);
    e.Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(e.Editor.HasRPFFormat());
    c.PlaceCaret(e);
    ASSERT_EQ(std::make_pair(e.Data().GetCaretItemNo(), e.Data().GetCaretOffset()),
              std::make_pair(c.CaretItem, c.CaretOffset));
    e.Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(DocumentFault(e.Data()), "");
    const std::string texts = e.Text();
    EXPECT_NE(texts.find("first point"), texts.rfind("first point")) << texts;  // the list item's text twice
    EXPECT_EQ(e.Data().UndoList->Count(), 1);
    e.Editor.Undo();
    EXPECT_EQ(Dump(e.Data()), before);
  }
}

// The characters of a document's text items, its tables' cells included.
int32_t PastedCharacterCount(TCustomRPData& data) {
  int32_t count = 0;
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    if (data.IsTextItem(i)) count += data.GetItemLength(i);
    if (auto* table = dynamic_cast<TRPTableItemInfo*>(data.GetItem(i)))
      for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r)
        for (int32_t c = 0; c < table->Rows().GetColCount(); ++c)
          if (TRPTableCellData* cell = table->GetCell(r, c)) count += PastedCharacterCount(*cell);
  }
  return count;
}

// Random documents of text, pictures, tables and list paragraphs, with line breaks.
void FillPasteDocument(TCustomRPData& data, std::mt19937& rng, bool startWithList) {
  const auto rand = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
  const char* const words[] = {"alpha", "beta ", " gamma", "delta epsilon", "x"};
  for (int32_t p = 0, paragraphs = 1 + rand(4); p < paragraphs; ++p) {
    const int32_t kind = p == 0 && startWithList ? 0 : rand(4);
    if (kind == 0) {
      data.AddItem({}, TRPMarkerItemInfo::CreateEx(&data, 0, 0, 1, false));
      data.AddRawText(words[rand(5)], 0, -1);
    } else if (kind == 1) {
      auto table = std::make_unique<TRPTableItemInfo>(1, 2, &data);
      for (int32_t c = 0; c < 2; ++c) {
        table->GetCell(0, c)->Clear();
        table->GetCell(0, c)->AddRawText(words[rand(5)], 0, 0);
      }
      data.AddItem("", std::move(table));
    } else {
      data.AddRawText(words[rand(5)], 0, 0);
    }
    for (int32_t n = rand(3); n > 0 && kind != 1; --n) {
      if (rand(2) == 0) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(4 + rand(8), 4 + rand(8));
        data.AddPicture("picture", std::move(bitmap), -1, rpvaBaseline);
      } else {
        data.AddRawText(words[rand(5)], 0, -1);
        if (rand(3) == 0) data.GetItem(data.GetItemCount() - 1)->SetLineBreakBefore(true);
      }
    }
  }
}

// Every caret place of every kind of item, chosen at random in random documents: a
// native document (half of them starting with a list paragraph) pasted with Ctrl+V or
// dropped there goes in with all its text, the document keeps its rules, and one undo
// takes it back.
TEST(RichPaneEditPasteAtItemsTest, NativeDocumentsPasteAndDropAtRandomPlaces) {
  TPasteAtItemsEditor e;
  TRichPaneEdit source(nullptr);
  source.SetStyle(&e.Style);
  source.ClientResized(400, 300);
  std::mt19937 rng;
  const auto rand = [&](int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng); };
  int32_t pasted = 0, dropped = 0;
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng.seed(seed);
    e.Data().Clear();
    FillPasteDocument(e.Data(), rng, false);
    e.Editor.Format();
    e.Editor.ClearUndo();
    source.EditData().Clear();
    FillPasteDocument(source.EditData(), rng, rand(2) == 0);
    source.Format();
    source.SelectAll();
    ASSERT_TRUE(source.CopySelection());
    const int32_t contentCharacters = PastedCharacterCount(source.EditData());
    for (int32_t n = 0; n < 4; ++n) {
      const int32_t itemNo = rand(e.Data().GetItemCount());
      const int32_t offset = e.Data().GetItemStartOffset(itemNo) +
                             rand(e.Data().GetItemEndOffset(itemNo) - e.Data().GetItemStartOffset(itemNo) + 1);
      SCOPED_TRACE("at " + std::to_string(itemNo) + "," + std::to_string(offset));
      const std::string before = Dump(e.Data());
      const int32_t charactersBefore = PastedCharacterCount(e.Data());
      if (rand(2) == 0) {
        e.Data().SetCaretAtItemPos(itemNo, offset);
        e.Key(Qt::Key_V, Qt::ControlModifier);
        ++pasted;
      } else {
        const QPoint at = e.At(itemNo, offset);
        QMimeData mime;
        const QMimeData& clipboard = *QApplication::clipboard()->mimeData();
        for (const QString& format : clipboard.formats()) mime.setData(format, clipboard.data(format));
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e.Viewport(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&e.Viewport(), &drop);
        QApplication::processEvents();
        ASSERT_TRUE(drop.isAccepted());
        ++dropped;
      }
      ASSERT_EQ(DocumentFault(e.Data()), "") << "before:\n" << before << "after:\n" << Dump(e.Data());
      EXPECT_EQ(PastedCharacterCount(e.Data()), charactersBefore + contentCharacters);
      ASSERT_EQ(e.Data().UndoList->Count(), 1);
      e.Editor.Undo();
      ASSERT_EQ(Dump(e.Data()), before);
      e.Editor.ClearUndo();
    }
  }
  EXPECT_GT(pasted, 30);
  EXPECT_GT(dropped, 30);
}

}  // namespace
