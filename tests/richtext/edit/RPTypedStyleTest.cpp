// Text typed after the caret moved takes the style of the text the caret stands in, in
// the cells of a table and out of them, whichever key, click or drop moved it: a heading
// before the table, a paragraph of body text after it and cells of three other styles;
// each case starts with the caret in one of the two paragraphs, moves it through the
// editor's window and types "Z".
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "RPTableEditorScreen.h"

namespace {

// One step that moves the caret: a click into cell (A, B), a key (A) with modifiers, a
// click at the end of the body text, or text dropped there (and TypedEnd, as the dropped text
// is selected: the caret goes after it).
struct TTypedStep {
  enum TKind : uint8_t { CellClick, KeyPress, BodyClick, BodyDrop } Kind;
  int32_t A = 0, B = 0;
  Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
};
TTypedStep TypedClickCell(int32_t row, int32_t col) { return {TTypedStep::CellClick, row, col}; }
TTypedStep TypedPress(int32_t key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return {TTypedStep::KeyPress, key, 0, modifiers};
}

// The styles of the document: the heading, the body text and the cells of columns 0, 1
// and 2 (indexes into TTypedStyleScreen::Styles).
enum TTypedStyleIndex : int32_t { TypedHeading, TypedBody, TypedColumn0, TypedColumn1, TypedColumn2 };

struct TTypedStyleCase {
  const char* Name;
  int32_t StartItem;  // the paragraph clicked first: 0 the heading, 2 the body text
  std::vector<TTypedStep> Steps;
  const char* Text;             // the item that holds the typed "Z"
  TTypedStyleIndex StyleIndex;  // its style
};

void PrintTo(const TTypedStyleCase& c, std::ostream* out) { *out << c.Name; }

struct TTypedStyleScreen : TTableEditorScreen, testing::WithParamInterface<TTypedStyleCase> {
  TTypedStyleScreen() {
    const auto add = [this](int32_t size, TColor color, bool bold) {
      TFontInfo& font = *Style.TextStyles().Add();
      font.FontName = "Arial";
      font.Size = size;
      font.Color = color;
      if (bold) font.Style = TFontStyles{fsBold};
      return Style.TextStyles().Count() - 1;
    };
    Styles[TypedHeading] = add(16, clBlue, true);
    Styles[TypedBody] = add(10, clBlack, false);
    Styles[TypedColumn0] = add(11, clRed, false);
    Styles[TypedColumn1] = add(12, clGreen, false);
    Styles[TypedColumn2] = add(9, clMaroon, true);
    TRPEditRPData& data = Editor.EditData();
    data.GetItem(0)->StyleNo = Styles[TypedHeading];
    data.GetItem(2)->StyleNo = Styles[TypedBody];
    for (int32_t r = 0; r < 3; ++r)
      for (int32_t c = 0; c < 3; ++c) Table->GetCell(r, c)->GetItem(0)->StyleNo = Styles[TypedColumn0 + c];
  }

  // The point in the host's client area of the caret stop before offset of item itemNo of
  // the document (one pixel to its right, half way down its line).
  QPoint HostPointAt(int32_t itemNo, int32_t offset) {
    TRPEditRPData& data = Editor.EditData();
    data.SetSelectionBounds(itemNo, offset, itemNo, offset);
    data.AfterSelectionChange(false);
    const TRPDrawLineInfo& d = *data.DrawItems[data.CaretDrawItemNo];
    return QPoint(data.CaretPos().X - data.GetHOffs() + 1, d.Top + d.Height / 2 - data.GetVOffs());
  }
  void ClickAt(const QPoint& point) {
    QTest::mouseClick(&Host(), Qt::LeftButton, {}, point);
    QApplication::processEvents();
  }
  void Do(const TTypedStep& step) {
    switch (step.Kind) {
      case TTypedStep::CellClick:
        Click(step.A, step.B);
        break;
      case TTypedStep::KeyPress:
        Key(step.A, step.Modifiers);
        break;
      case TTypedStep::BodyClick:
        ClickAt(BodyEnd);
        break;
      case TTypedStep::BodyDrop: {
        QMimeData text;
        text.setText("+d");
        EXPECT_EQ(DropOnHost(Host(), BodyEnd, text), Qt::CopyAction);
        Key(Qt::Key_End);
        break;
      }
    }
  }
  // The text and the style of the item that holds ch, in the document or in a cell.
  std::pair<std::string, int32_t> ItemWith(char ch) {
    TRPEditRPData& data = Editor.EditData();
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      const std::string text = data.GetItemTextRaw(i);
      if (text.find(ch) != std::string::npos) return {text, data.GetItemStyle(i)};
    }
    for (int32_t r = 0; r < 3; ++r)
      for (int32_t c = 0; c < 3; ++c) {
        TCustomRPData& content = *Table->GetCell(r, c)->GetRPData();
        for (int32_t i = 0; i < content.GetItemCount(); ++i) {
          const std::string text = content.GetItemTextRaw(i);
          if (text.find(ch) != std::string::npos) return {text, content.GetItemStyle(i)};
        }
      }
    return {std::string(), -1};
  }

  int32_t Styles[5] = {};
  // The end of the body text in the host's client area.
  QPoint BodyEnd;
};

TEST_P(TTypedStyleScreen, TypedTextTakesTheStyleWhereTheCaretStands) {
  const TTypedStyleCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Show());
  // (Finding a point puts the caret there: done before the caret goes to its start.)
  BodyEnd = HostPointAt(2, 6);
  ClickAt(HostPointAt(c.StartItem, 3));
  ASSERT_EQ(CellEditor(), nullptr);
  for (const TTypedStep& step : c.Steps) Do(step);
  Key(Qt::Key_Z, Qt::NoModifier, "Z");
  const auto [text, style] = ItemWith('Z');
  EXPECT_EQ(text, c.Text);
  EXPECT_EQ(style, Styles[c.StyleIndex]);
}

const TTypedStep TypedEnd = TypedPress(Qt::Key_End), TypedLeft = TypedPress(Qt::Key_Left);
const TTypedStyleCase TypedStyleCases[] = {
    {"EndAtACellsEndLeavesForTheDocumentsEnd", 0, {TypedClickCell(1, 1), TypedEnd, TypedEnd}, "afterZ", TypedBody},
    {"HomeAtACellsStartLeavesForTheDocumentsStart",
     2,
     {TypedClickCell(1, 1), TypedPress(Qt::Key_Home), TypedPress(Qt::Key_Home)},
     "Zbefore",
     TypedHeading},
    {"TabGoesToTheNextCell", 0, {TypedClickCell(1, 1), TypedPress(Qt::Key_Tab)}, "Zr1c2", TypedColumn2},
    {"RightAtACellsEndGoesToTheNextCell",
     2,
     {TypedClickCell(0, 0), TypedEnd, TypedPress(Qt::Key_Right)},
     "Zr0c1",
     TypedColumn1},
    // (Home at a line's start would leave for the document's start.)
    {"LeftAtACellsStartGoesToThePreviousCellsEnd",
     0,
     {TypedClickCell(2, 2), TypedEnd, TypedLeft, TypedLeft, TypedLeft, TypedLeft, TypedLeft},
     "r2c1Z",
     TypedColumn1},
    {"AClickIntoACellAndEnd", 0, {TypedClickCell(2, 2), TypedEnd}, "r2c2Z", TypedColumn2},
    {"AClickIntoTheBodyAfterACell", 0, {TypedClickCell(1, 0), {TTypedStep::BodyClick}}, "afterZ", TypedBody},
    {"CtrlEndGoesToTheDocumentsEnd", 0, {TypedPress(Qt::Key_End, Qt::ControlModifier)}, "afterZ", TypedBody},
    {"ADropOfTextOnTheBody", 0, {{TTypedStep::BodyDrop}}, "after+dZ", TypedBody},
};

INSTANTIATE_TEST_SUITE_P(CaretMoves, TTypedStyleScreen, testing::ValuesIn(TypedStyleCases),
                         [](const testing::TestParamInfo<TTypedStyleCase>& param) { return param.param.Name; });

}  // namespace
