// Editing a table in an editor on Qt's offscreen platform, driven by mouse and key events
// as the platform delivers them: a click opens a cell's editor in place, typing goes
// into the cell, Tab and the arrows move from cell to cell and out of the table, a drag
// over cells selects a block that is then merged, dragging a column or a row border
// resizes it; each change undone by Ctrl+Z gives back the document as it was (its
// native dump and its grid). Plus the cell editor's edge cases and a screenshot under X.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyleHints>
#include <QTest>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RPTableEditorScreen.h"
#include "platform/base/ScopeExit.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtClipboard.h"
#include "richtext/edit/RPTInplace.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableTestData.h"
#include "unicode/controls/ScreenGrab.h"

namespace {

TEST_F(TTableEditorScreen, AClickOpensTheCellsEditorAndTypingGoesIntoTheCell) {
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  EXPECT_TRUE(CellEditor()->Window().Focused());
  EXPECT_EQ(Editor.EditData().InplaceEditedItem, Table);
  // The editor stands over the cell.
  const TRPTableCellData& cell = *Table->GetCell(1, 1);
  EXPECT_EQ(CellEditor()->Window().Left(), Table->GetPosition().X + cell.Left);
  EXPECT_EQ(CellEditor()->Window().Width(), cell.Width);
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::NoModifier, "x");
  Key(Qt::Key_Y, Qt::NoModifier, "y");
  EXPECT_EQ(CellText(1, 1), "r1c1xy");
  // Leaving the cell hands its steps to the document; Ctrl+Z there takes them back.
  Key(Qt::Key_Tab);
  ASSERT_TRUE(EditsCell(1, 2));
  EXPECT_EQ(CellText(1, 1), "r1c1xy");
  EXPECT_NE(State(), Start);
  Undo();
  QApplication::processEvents();
  EXPECT_EQ(CellText(1, 1), "r1c1");
  Table->DestroyInplaceEditor();
  EXPECT_EQ(State(), Start);
}

// A click into a cell opens its editor with the caret where the click was: typing goes in
// there and the cell keeps the rest of its text. The points are the caret stops of the
// cell's text as its editor lays it out, in the host's client area.
TEST_F(TTableEditorScreen, TypingAfterAClickIntoACellGoesInAtTheClick) {
  const struct {
    const char* Name;
    int32_t Offset, Second;  // the click, and a second click in the open editor (0: none)
    const char* Expected;
  } cases[] = {
      {"a click inside a word", 6, 0, "one tZwo words"},
      {"a click at the text's end", 14, 0, "one two wordsZ"},
      {"a second click in the open cell", 6, 10, "one two wZords"},
  };
  Table->GetCell(1, 1)->Clear();
  Table->GetCell(1, 1)->AddRawText("one two words", 0, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    const QPoint first = CellPointAt(c.Offset), second = CellPointAt(c.Second > 0 ? c.Second : 1);
    Table->DestroyInplaceEditor();
    QApplication::processEvents();
    QTest::mouseClick(&Host(), Qt::LeftButton, {}, first);
    QApplication::processEvents();
    ASSERT_TRUE(EditsCell(1, 1));
    if (c.Second > 0) {
      QTest::qWait(QApplication::doubleClickInterval() + 50);
      QTest::mouseClick(&CellEditorWidget(), Qt::LeftButton, {}, second - EditorAt());
      QApplication::processEvents();
    }
    Key(Qt::Key_Z, Qt::NoModifier, "Z");
    EXPECT_EQ(CellText(1, 1), c.Expected);
    Undo();
    EXPECT_EQ(CellText(1, 1), "one two words");
    Table->DestroyInplaceEditor();
    QApplication::processEvents();
  }
}

// The steps typed in a cell, handed to the document when the cell was left, are undone
// while that cell is open again, by Ctrl+Z in it and by the document's undo command: the
// open editor shows the text as it was and stays open; its own steps and the document's
// are undone and redone in the order they were made, and nothing is lost.
TEST_F(TTableEditorScreen, UndoingACellsStepsWhileItIsOpenRestoresItsEditor) {
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::NoModifier, "x");
  Key(Qt::Key_Tab);
  ASSERT_TRUE(EditsCell(1, 2));
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_End);
  Key(Qt::Key_Q, Qt::NoModifier, "q");
  ASSERT_EQ(CellText(1, 1), "r1c1xq");
  TRPTableInplaceEdit* editor = CellEditor();
  const auto redo = [this] { Key(Qt::Key_Y, Qt::ControlModifier); };
  const auto undoCommand = [this] {
    Editor.Undo();
    QApplication::processEvents();
  };
  const struct {
    const char* Step;
    std::function<void()> Act;
    const char* Expected;
  } steps[] = {
      {"Ctrl+Z: the editor's own typing", [this] { Undo(); }, "r1c1x"},
      {"Ctrl+Z: the document's record of the cell", [this] { Undo(); }, "r1c1"},
      {"Ctrl+Y: the document's record first", redo, "r1c1x"},
      {"Ctrl+Y: then the editor's typing", redo, "r1c1xq"},
      {"the undo command", undoCommand, "r1c1x"},
      {"the undo command again", undoCommand, "r1c1"},
      // The caret is where the typing was taken back: typing goes on there.
      {"typing", [this] { Key(Qt::Key_W, Qt::NoModifier, "w"); }, "r1c1w"},
      {"Ctrl+Z of that typing", [this] { Undo(); }, "r1c1"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Step);
    step.Act();
    ASSERT_TRUE(EditsCell(1, 1));
    EXPECT_EQ(CellEditor(), editor);
    EXPECT_TRUE(CellEditor()->Window().Focused());
    EXPECT_EQ(CellText(1, 1), step.Expected);
  }
  Table->DestroyInplaceEditor();
  QApplication::processEvents();
  EXPECT_EQ(State(), Start);
}

TEST_F(TTableEditorScreen, TabAndArrowsMoveFromCellToCellAndOutOfTheTable) {
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(0, 0);
  ASSERT_TRUE(EditsCell(0, 0));
  Key(Qt::Key_Tab);
  EXPECT_TRUE(EditsCell(0, 1));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(EditsCell(0, 0));
  // The caret is at the cell's end after moving back: Right leaves to the next cell.
  Key(Qt::Key_Right);
  EXPECT_TRUE(EditsCell(0, 1));
  Key(Qt::Key_Down);
  EXPECT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_Left);  // at the start: into the cell on the left, caret at its end
  EXPECT_TRUE(EditsCell(1, 0));
  Key(Qt::Key_Up);
  EXPECT_TRUE(EditsCell(0, 0));
  // Up from the first row puts the caret before the table.
  Key(Qt::Key_Up);
  EXPECT_EQ(CellEditor(), nullptr);
  EXPECT_EQ(Editor.GetCaretItemNo(), 1);
  EXPECT_EQ(Editor.GetCaretItemOffset(), 0);
  // Down from the last row puts it after the table.
  Click(2, 1);
  ASSERT_TRUE(EditsCell(2, 1));
  Key(Qt::Key_Down);
  EXPECT_EQ(CellEditor(), nullptr);
  EXPECT_EQ(Editor.GetCaretItemNo(), 1);
  EXPECT_EQ(Editor.GetCaretItemOffset(), 1);
  EXPECT_EQ(State(), Start);
}

TEST_F(TTableEditorScreen, ADragOverCellsSelectsABlockThatIsMergedAndUndone) {
  ASSERT_NO_FATAL_FAILURE(Show());
  ASSERT_NO_FATAL_FAILURE(DragFromCell(0, 0, 1, 1));
  EXPECT_TRUE(Table->HasCellSelection());
  ReleaseInCell(1, 1);
  EXPECT_EQ(CellEditor(), nullptr);  // gone after the release that selected cells
  int32_t top = -1, left = -1, rows = 0, cols = 0;
  ASSERT_TRUE(Table->GetSelectionBounds(top, left, rows, cols, false));
  EXPECT_EQ((std::vector<int32_t>{top, left, rows, cols}), (std::vector<int32_t>{0, 0, 2, 2}));
  EXPECT_TRUE(Table->GetCell(1, 1)->Selected);
  EXPECT_FALSE(Table->GetCell(2, 2)->Selected);
  Table->MergeCells(top, left, cols, rows, false);
  EXPECT_EQ(Table->GetCell(0, 0)->GetColSpan(), 2);
  EXPECT_EQ(Table->GetCell(1, 1), nullptr);
  Editor.Window().SetFocus();
  Undo();
  EXPECT_EQ(Table->GetCell(1, 1)->GetColSpan(), 1);
  Table->RemoveCellSelection();
  EXPECT_EQ(State(), Start);
}

TEST_F(TTableEditorScreen, DraggingAColumnBorderAndARowBorderResizesAndUndoes) {
  ASSERT_NO_FATAL_FAILURE(Show());
  const int32_t width0 = Table->FormattingInfo().ColWidths[0];
  const QPoint column = ColumnBorder(1);
  EXPECT_EQ(Table->GetCursorAt(column.x() - Table->GetPosition().X, column.y() - Table->GetPosition().Y), crHSplit);
  QTest::mousePress(&Host(), Qt::LeftButton, {}, column);
  EXPECT_TRUE(Table->IsResizing());
  QTest::mouseMove(&Host(), column + QPoint(30, 0));
  QTest::mouseRelease(&Host(), Qt::LeftButton, {}, column + QPoint(30, 0));
  QApplication::processEvents();
  EXPECT_FALSE(Table->IsResizing());
  EXPECT_EQ(Table->FormattingInfo().ColWidths[0], width0 + 30);
  EXPECT_EQ(Table->GetCell(2, 0)->BestWidth, width0 + 30);

  const int32_t height1 = Table->FormattingInfo().RowHeights[1];
  const QPoint row = RowBorder(2);
  EXPECT_EQ(Table->GetCursorAt(row.x() - Table->GetPosition().X, row.y() - Table->GetPosition().Y), crVSplit);
  QTest::mousePress(&Host(), Qt::LeftButton, {}, row);
  QTest::mouseMove(&Host(), row + QPoint(0, 25));
  QTest::mouseRelease(&Host(), Qt::LeftButton, {}, row + QPoint(0, 25));
  QApplication::processEvents();
  EXPECT_EQ(Table->FormattingInfo().RowHeights[1], height1 + 25);
  EXPECT_EQ(Table->GetCell(1, 2)->BestHeight, height1 + 25);

  Undo();
  EXPECT_EQ(Table->FormattingInfo().RowHeights[1], height1);
  Undo();
  EXPECT_EQ(Table->FormattingInfo().ColWidths[0], width0);
  EXPECT_EQ(State(), Start);
}

// The cell editor's edge cases: where the caret goes from a cell in a direction.
struct TMoveOutCase {
  const char* Name;
  int32_t Row, Col;
  int Key;
  Qt::KeyboardModifiers Modifiers;
  int32_t EditedRow, EditedCol;  // -1: no cell edited afterwards
  int32_t CaretOffset;           // in the host, when no cell is edited: before (0) or after (1) the table
};

TEST_F(TTableEditorScreen, LeavingACellGoesToItsNeighbourOrOutOfTheTable) {
  const TMoveOutCase cases[] = {
      {"Shift+Tab in the first cell: before the table", 0, 0, Qt::Key_Backtab, Qt::ShiftModifier, -1, -1, 0},
      {"Tab in the last cell: stays", 2, 2, Qt::Key_Tab, Qt::NoModifier, 2, 2, 0},
      {"Tab at a row's end: the next row's first cell", 0, 2, Qt::Key_Tab, Qt::NoModifier, 1, 0, 0},
      {"Left in the first cell: before the table", 0, 0, Qt::Key_Left, Qt::NoModifier, -1, -1, 0},
      {"Down in the last row: after the table", 2, 0, Qt::Key_Down, Qt::NoModifier, -1, -1, 1},
      {"Up in a middle row: the cell above", 1, 2, Qt::Key_Up, Qt::NoModifier, 0, 2, 0},
  };
  ASSERT_NO_FATAL_FAILURE(Show());
  for (const TMoveOutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(c.Row, c.Col);
    ASSERT_TRUE(EditsCell(c.Row, c.Col));
    // The caret at the cell's edge without a key: Home or End there would leave the cell
    // for the document's start or end.
    TRPEditRPData& cell = CellEditor()->EditData();
    if (c.Key == Qt::Key_Left) cell.SetCaretAtItemPos(0, cell.GetItemStartOffset(0));
    if (c.Key == Qt::Key_Right) {
      const int32_t last = cell.GetItemCount() - 1;
      cell.SetCaretAtItemPos(last, cell.GetItemEndOffset(last));
    }
    Key(c.Key, c.Modifiers);
    if (c.EditedRow >= 0) {
      EXPECT_TRUE(EditsCell(c.EditedRow, c.EditedCol));
    } else {
      EXPECT_EQ(CellEditor(), nullptr);
      EXPECT_EQ(Editor.GetCaretItemNo(), 1);
      EXPECT_EQ(Editor.GetCaretItemOffset(), c.CaretOffset);
    }
    Table->DestroyInplaceEditor();
  }
  // Home where the caret cannot go further leaves for the document's start, End for its end.
  for (const bool home : {true, false}) {
    SCOPED_TRACE(home ? "Home at a cell's start" : "End at a cell's end");
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    Key(home ? Qt::Key_Home : Qt::Key_End);
    Key(home ? Qt::Key_Home : Qt::Key_End);
    EXPECT_EQ(CellEditor(), nullptr);
    TRPEditRPData& host = Editor.EditData();
    const int32_t last = host.GetItemCount() - 1;
    EXPECT_EQ(Editor.GetCaretItemNo(), home ? 0 : last);
    EXPECT_EQ(Editor.GetCaretItemOffset(), home ? host.GetItemStartOffset(0) : host.GetItemEndOffset(last));
    Table->DestroyInplaceEditor();
  }
  EXPECT_EQ(State(), Start);
}

TEST_F(TTableEditorScreen, TheCellEditorSharesTheHostsReadOnlyStateAndUndo) {
  ASSERT_NO_FATAL_FAILURE(Show());
  // A step of the document first, then a freshly opened cell editor.
  Editor.EditData().SetCaretAtItemPos(2, 6);
  Key(Qt::Key_Exclam, Qt::NoModifier, "!");
  const std::string changed = State();
  ASSERT_NE(changed, Start);
  Click(0, 1);
  ASSERT_TRUE(EditsCell(0, 1));
  EXPECT_FALSE(CellEditor()->CanUndo() && CellEditor()->EditData().UndoList->Count() > 0);
  // Undo in the cell editor with nothing of its own undoes the document's last step.
  Undo();
  QApplication::processEvents();
  Table->DestroyInplaceEditor();
  EXPECT_EQ(State(), Start);

  Click(0, 1);
  ASSERT_TRUE(EditsCell(0, 1));
  CellEditor()->SetReadOnly(true);
  EXPECT_TRUE(Editor.ReadOnly());
  EXPECT_TRUE(CellEditor()->ReadOnly());
  Key(Qt::Key_Q, Qt::NoModifier, "q");
  EXPECT_EQ(CellText(0, 1), "r0c1");  // refused
  Editor.SetReadOnly(false);
  EXPECT_FALSE(CellEditor()->ReadOnly());
}

TEST_F(TTableEditorScreen, AQuickSecondClickOnACellSelectsTheWord) {
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 0);
  ASSERT_TRUE(EditsCell(1, 0));
  // The second click reaches the editor now over the cell.
  const QPoint at = InCell(1, 0) - EditorAt();
  QTest::mouseClick(&CellEditorWidget(), Qt::LeftButton, {}, at);
  QApplication::processEvents();
  ASSERT_TRUE(EditsCell(1, 0));
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  CellEditor()->EditData().GetSelectionBounds(startItem, endItem, startOffs, endOffs, true);
  EXPECT_EQ((std::vector<int32_t>{startItem, startOffs, endItem, endOffs}), (std::vector<int32_t>{0, 1, 0, 5}));
  // A later single click only places the caret.
  QTest::qWait(600);
  QTest::mouseClick(&CellEditorWidget(), Qt::LeftButton, {}, at);
  EXPECT_FALSE(CellEditor()->EditData().SelectionExists(false));
}

// The second click's pause is measured against the user's double-click time, as the
// platform's style hints give it.
TEST_F(TTableEditorScreen, TheDoubleClickTimeIsThePlatforms) {
  const struct {
    int Interval, Pause;
    bool WordSelected;
  } cases[] = {{1500, 700, true}, {150, 400, false}};
  ASSERT_NO_FATAL_FAILURE(Show());
  QStyleHints& hints = *QGuiApplication::styleHints();
  const int saved = hints.mouseDoubleClickInterval();
  for (const auto& c : cases) {
    SCOPED_TRACE("interval " + std::to_string(c.Interval));
    hints.setMouseDoubleClickInterval(c.Interval);
    Click(1, 0);
    ASSERT_TRUE(EditsCell(1, 0));
    QTest::qWait(c.Pause);
    QTest::mouseClick(&CellEditorWidget(), Qt::LeftButton, {}, InCell(1, 0) - EditorAt());
    QApplication::processEvents();
    EXPECT_EQ(CellEditor()->EditData().SelectionExists(false), c.WordSelected);
    Table->DestroyInplaceEditor();
    QApplication::processEvents();
  }
  hints.setMouseDoubleClickInterval(saved);
}

TEST_F(TTableEditorScreen, DoubleClicksAndHyperlinksInACellAreTheHosts) {
  ASSERT_NO_FATAL_FAILURE(Show());
  std::u16string word;
  int32_t jump = -1;
  Editor.OnRPDblClick = [&](TCustomRichPane* sender, const WideString& w, int32_t) {
    EXPECT_EQ(sender, &Editor);
    word = w;
  };
  Editor.OnJump = [&](TCustomRichPane* sender, int32_t id) {
    EXPECT_EQ(sender, &Editor);
    jump = id;
  };
  Click(1, 2);
  ASSERT_TRUE(EditsCell(1, 2));
  TRPTableInplaceRPData& data = CellEditor()->InplaceData();
  EXPECT_TRUE(data.IsRPDblClickAssigned());
  data.DoRPDblClick(u"r1c2", 0);
  data.FirstJumpNo = 3;
  data.ExecuteItemJump(1);
  EXPECT_EQ(word, u"");  // queued: after the event being handled
  QApplication::processEvents();
  EXPECT_EQ(word, u"r1c2");
  EXPECT_EQ(jump, 4);
}

// OnCellEndEdit follows each end of a cell's editing, once the cell has its content back.
TEST_F(TTableEditorScreen, OnCellEndEditFollowsTheEndOfEachCellsEditing) {
  std::vector<std::string> ended;
  Table->OnCellEndEdit = [&](TRPTableItemInfo& table, int32_t row, int32_t col, bool clearing) {
    EXPECT_EQ(&table, Table);
    EXPECT_EQ(Table->GetCell(row, col)->GetRPData(), Table->GetCell(row, col)) << "the content is back in the cell";
    ended.push_back(CellText(row, col) + (clearing ? " clearing" : ""));
  };
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::NoModifier, "x");
  EXPECT_TRUE(ended.empty());
  Key(Qt::Key_Tab);
  ASSERT_TRUE(EditsCell(1, 2));
  Table->DeleteRows(0, 1, false);
  ASSERT_TRUE(EditsCell(0, 2));
  Table->DestroyInplaceEditor(true);
  EXPECT_EQ(ended, (std::vector<std::string>{"r1c1x", "r1c2", "r1c2 clearing"}));
}

// Rows and columns deleted or inserted while a cell is edited: where the editing goes.
struct TStructuralCase {
  const char* Name;
  int32_t Row, Col;  // the cell edited first
  std::function<void(TRPTableItemInfo&)> Change;
  int32_t EditedRow, EditedCol;  // -1: no cell edited afterwards
  bool RowsSelected;             // the inserted rows 1 and 2 form the selection
};

TEST_F(TTableEditorScreen, StructuralChangesEndOrMoveTheEditingOfACell) {
  const TStructuralCase cases[] = {
      {"a row before the edited one deleted: the editing moves up with it", 2, 1,
       [](TRPTableItemInfo& t) { t.DeleteRows(0, 1, false); }, 1, 1, false},
      {"the edited row deleted: the row taking its place", 1, 2, [](TRPTableItemInfo& t) { t.DeleteRows(1, 1, false); },
       1, 2, false},
      {"the last rows deleted with the edited one: the new last row", 2, 0,
       [](TRPTableItemInfo& t) { t.DeleteRows(1, 2, false); }, 0, 0, false},
      {"a column before the edited one deleted", 0, 2, [](TRPTableItemInfo& t) { t.DeleteCols(1, 1, false); }, 0, 1,
       false},
      {"a column after the edited one deleted: it stays", 1, 0, [](TRPTableItemInfo& t) { t.DeleteCols(2, 1, false); },
       1, 0, false},
      {"rows inserted: the editing ends", 1, 1, [](TRPTableItemInfo& t) { t.InsertRows(1, 2, -1); }, -1, -1, false},
      {"columns inserted: the editing ends", 1, 1, [](TRPTableItemInfo& t) { t.InsertCols(0, 1, -1); }, -1, -1, false},
      {"rows inserted and selected", 0, 0, [](TRPTableItemInfo& t) { t.InsertRows(1, 2, -1, true); }, -1, -1, true},
  };
  ASSERT_NO_FATAL_FAILURE(Show());
  for (const TStructuralCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Click(c.Row, c.Col);
    ASSERT_TRUE(EditsCell(c.Row, c.Col));
    Key(Qt::Key_End);
    Key(Qt::Key_X, Qt::NoModifier, "x");
    const std::string typed = "r" + std::to_string(c.Row) + "c" + std::to_string(c.Col) + "x";
    c.Change(*Table);
    QApplication::processEvents();
    if (c.EditedRow >= 0) {
      EXPECT_TRUE(EditsCell(c.EditedRow, c.EditedCol));
      EXPECT_TRUE(CellEditor()->Window().Focused());
    } else {
      EXPECT_EQ(CellEditor(), nullptr);
    }
    if (c.RowsSelected) {
      int32_t top = -1, left = -1, rows = 0, cols = 0;
      ASSERT_TRUE(Table->GetSelectionBounds(top, left, rows, cols, false));
      EXPECT_EQ((std::vector<int32_t>{top, left, rows, cols}), (std::vector<int32_t>{1, 0, 2, 3}));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(Table->Rows()));
    // The typing and the change are two steps of the document, undone in turn.
    Table->DestroyInplaceEditor();
    Table->RemoveCellSelection();
    Editor.Window().SetFocus();
    Undo();
    ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(Table->Rows()));
    EXPECT_EQ(Table->Rows().GetRowCount(), 3);
    EXPECT_EQ(Table->Rows().GetColCount(), 3);
    EXPECT_EQ(CellText(c.Row, c.Col), typed);
    Undo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    EXPECT_EQ(State(), Start);
  }
}

// A change of the table made while a cell is edited comes after what was typed there:
// undone first, the typing next.
TEST_F(TTableEditorScreen, ATableChangeDuringCellEditingIsUndoneBeforeTheTyping) {
  const std::unique_ptr<TBitmap> tile = ColorTile(clBlue);
  const std::pair<const char*, std::function<void(TRPTableItemInfo&)>> changes[] = {
      {"the table's colour", [](TRPTableItemInfo& t) { t.SetColor(clYellow); }},
      {"a cell's colour",
       [](TRPTableItemInfo& t) { t.SetCellIntPropertyByName(-1, "Color", clRed, 0, 0, false, false); }},
      {"a cell's hint", [](TRPTableItemInfo& t) { t.SetCellHintEx(-1, "hint", 1, 1); }},
      {"the table's picture", [&](TRPTableItemInfo& t) { t.SetBackgroundImage(tile.get()); }},
      {"the edited cell's picture", [&](TRPTableItemInfo& t) { t.SetCellBackgroundImage(tile.get(), 1, 1); }},
  };
  ASSERT_NO_FATAL_FAILURE(Show());
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    Key(Qt::Key_End);
    Key(Qt::Key_X, Qt::NoModifier, "x");
    change(*Table);
    EXPECT_TRUE(EditsCell(1, 1));
    EXPECT_EQ(CellEditor()->EditData().UndoList->Count(), 0) << "the typing went to the document";
    Table->DestroyInplaceEditor();
    const std::string changed = State();
    // Ctrl+Z in the cell's editor, which has no steps of its own.
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    Undo();
    QApplication::processEvents();
    EXPECT_EQ(CellText(1, 1), "r1c1x") << "the change is undone first";
    Table->DestroyInplaceEditor();
    Editor.Window().SetFocus();
    Undo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    EXPECT_EQ(State(), Start);
    Editor.Window().SetFocus();
    Editor.Redo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    Editor.Redo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    EXPECT_EQ(State(), changed);
    Editor.Undo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    Editor.Undo();
    QApplication::processEvents();
    Table->DestroyInplaceEditor();
    EXPECT_EQ(State(), Start);
  }
}

// The style templates of the editor applied to selected cells: one step, undone and redone.
TEST_F(TTableEditorScreen, StyleTemplatesApplyToSelectedCells) {
  // A template of a centred paragraph with a 20-point font.
  TRPStyleTemplate& heading = *Style.StyleTemplates().Add();
  heading.ParaStyle().Alignment = rpaCenter;
  heading.ValidParaProperties1.Include(rppiAlignment);
  ASSERT_NO_FATAL_FAILURE(Show());
  heading.TextStyle().Size = 20;
  heading.ValidTextProperties.Include(rpfiSize);
  for (const int32_t command : {4, 5}) {
    SCOPED_TRACE(command == 4 ? "paragraph template" : "text template");
    Table->Select(0, 1, 0, 1);
    ASSERT_TRUE(Table->GetCell(1, 1)->Selected);
    Table->ApplyToCells(command, 0, true);
    const std::string applied = State();
    for (int32_t r = 0; r < 3; ++r) {
      const TRPTableCellData& cell = *Table->GetCell(r, 1);
      const bool selected = r < 2;
      if (command == 4) {
        EXPECT_EQ(Style.ParaStyles()[cell.GetItemPara(0)]->Alignment == rpaCenter, selected) << r;
        EXPECT_EQ(Style.ParaStyles()[cell.GetItemPara(0)]->StyleTemplateId == heading.GetId(), selected) << r;
      } else {
        EXPECT_EQ(Style.TextStyles()[cell.GetItemStyle(0)]->Size == 20, selected) << r;
      }
    }
    EXPECT_EQ(Style.TextStyles()[Table->GetCell(0, 0)->GetItemStyle(0)]->Size, Style.TextStyles()[0]->Size);
    Table->RemoveCellSelection();
    Editor.Undo();
    EXPECT_EQ(State(), Start);
    Editor.Redo();
    EXPECT_EQ(State(), applied);
    Editor.Undo();
    EXPECT_EQ(State(), Start);
  }
}

struct TScrollCase {
  const char* Name;
  bool HostBackground;  // a transparent cell: the host paints under it
  bool Shifted;         // the content is shifted, not painted again
};

TEST_F(TTableEditorScreen, ATallCellScrollsItsTextOrRepaintsOverTheHostsBackground) {
  const TScrollCase cases[] = {
      {"a cell of its own colour", false, true},
      {"a transparent cell", true, false},
  };
  for (const TScrollCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPTableInplaceEdit editor(nullptr);
    editor.SetStyle(&Style);
    TRecordingHost host;
    editor.SetHost(&host);
    TRPEditRPData& data = editor.EditData();
    data.Clear();
    for (int32_t i = 0; i < 20; ++i) data.AddRawText("line " + std::to_string(i), 0, 0);
    editor.SetBounds(120, 40);
    editor.Format();
    editor.VScrollAllowed = true;
    editor.ShowHostBackground = c.HostBackground;
    host.Invalidated = 0;
    editor.VScrollTo(3, true);
    EXPECT_EQ(editor.VScrollPos(), 3);
    EXPECT_EQ(host.ScrolledY != 0, c.Shifted);
    EXPECT_EQ(host.Invalidated > 0, !c.Shifted);
    EXPECT_FALSE(editor.FullRedraw);
    editor.SetHost(nullptr);
  }
}

struct TGrowCase {
  const char* Name;
  int32_t WideLetters;  // inserted before the line break: a word that widens the table
  bool WholeHost;       // the table's width crosses the document's: all laid out again
};

TEST_F(TTableEditorScreen, ACellGrowingLaysOutTheTableInItsParagraphOrTheWholeDocument) {
  const TGrowCase cases[] = {
      {"a new line", 0, false},
      {"a word wider than the document, then a new line", 90, true},
  };
  // A table narrower than the document, so that a wide word can make it cross.
  Table->SetBestWidth(240);
  for (const TGrowCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPEditRPData& host = Editor.EditData();
    ASSERT_NO_FATAL_FAILURE(Show());
    Click(0, 0);
    ASSERT_TRUE(EditsCell(0, 0));
    // A mark on the first line's draw item, which only a whole layout makes anew.
    const int32_t hostWidth = host.DocumentWidth;
    ASSERT_LT(Table->GetWidth(), hostWidth);
    host.DrawItems[0]->Left += 1000;
    const int32_t height = Table->GetCell(0, 0)->Height;
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    // The word goes in as one insertion at the end of the cell's text (one line still),
    // then a new line is typed.
    CellEditor()->EditData().SetCaretAtItemPos(0, 5);
    if (c.WideLetters > 0) CellEditor()->InsertText(AnsiString(static_cast<size_t>(c.WideLetters), 'w'));
    ASSERT_EQ(Table->GetCell(0, 0)->Height, height);
    Key(Qt::Key_Return, Qt::NoModifier, "\r");
    ASSERT_TRUE(EditsCell(0, 0));
    EXPECT_EQ(CellText(0, 0), "r0c0" + std::string(static_cast<size_t>(c.WideLetters), 'w'));
    const TRPTableCellData& cell = *Table->GetCell(0, 0);
    EXPECT_GT(cell.Height, height);
    EXPECT_EQ(CellEditor()->Window().Height(), cell.Height);
    EXPECT_EQ(host.DrawItems[0]->Left >= 1000, !c.WholeHost);
    if (c.WholeHost) {
      EXPECT_GT(Table->GetWidth(), hostWidth);
      EXPECT_GE(host.DocumentWidth, Table->GetWidth());
    } else {
      EXPECT_EQ(host.DocumentWidth, hostWidth);
    }
    // The item after the table follows its new bottom.
    const int32_t afterDraw = host.GetItemFirstDrawItem(2);
    const int32_t tableDraw = host.GetItemFirstDrawItem(1);
    EXPECT_GE(host.DrawItems[afterDraw]->Top, host.DrawItems[tableDraw]->Top + Table->GetHeight());
    // The cell as it was for the next case.
    Table->DestroyInplaceEditor();
    TRPTableCellData& content = *Table->GetCell(0, 0);
    content.Clear();
    content.AddRawText("r0c0", 0, 0);
    Table->Changed();
    Editor.Format();
  }
}

TEST_F(TTableEditorScreen, HyperlinkModeIsOneForTheHostAndTheCell) {
  TFontInfo& link = *Style.TextStyles().Add();
  link.FontName = "Arial";
  link.Jump = true;
  const int32_t linkStyle = Style.TextStyles().Count() - 1;
  TRPTableCellData& cell = *Table->GetCell(1, 1);
  cell.Clear();
  cell.AddRawText("cell link", linkStyle, 0);
  Editor.EditData().AddRawText("host link", linkStyle, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  TRPTableInplaceRPData& inCell = CellEditor()->InplaceData();
  TRPEditRPData& host = Editor.EditData();
  const auto inJumpMode = [](const TCustomRPFormattedData& data) {
    return (data.GetDocumentFlags() & rpdfUseJumps) != 0;
  };
  // Ctrl held in the cell's editor: the host builds the hyperlinks, the cell's numbered
  // among them in the document's order (the table comes before the host's link).
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
  QApplication::sendEvent(QApplication::focusWidget(), &press);
  EXPECT_TRUE(inJumpMode(host));
  EXPECT_TRUE(inJumpMode(inCell));
  ASSERT_EQ(host.Jumps.size(), 1u);
  ASSERT_EQ(inCell.Jumps.size(), 1u);
  EXPECT_EQ(inCell.FirstJumpNo, 0);
  EXPECT_EQ(host.Jumps[0]->JumpNo, 1);
  // Releasing it leaves the mode in both.
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
  QApplication::sendEvent(QApplication::focusWidget(), &release);
  EXPECT_FALSE(inJumpMode(host));
  EXPECT_FALSE(inJumpMode(inCell));
  EXPECT_TRUE(host.Jumps.empty());
  EXPECT_TRUE(inCell.Jumps.empty());
  // The cell's document answers -100 (the host did the building); the table's own call
  // builds the cell's list itself.
  EXPECT_EQ(inCell.BuildJumps(true), -100);
  EXPECT_TRUE(inJumpMode(host));
  inCell.ClearJumps();
  EXPECT_EQ(TRPTableInplaceEdit::RebuildEditorJumps(inCell), 1);
  EXPECT_FALSE(inJumpMode(host));
}

// A hyperlink in a table cell takes its hover look under the mouse: in a cell of a
// read-only document, and in the cell being edited while Ctrl holds the hyperlink mode.
// The look is the style's hover background, counted in the window that shows the cell.
TEST_F(TTableEditorScreen, AHyperlinkInACellIsDrawnHoveredUnderTheMouse) {
  TFontInfo& link = *Style.TextStyles().Add();
  link.FontName = "Arial";
  link.Jump = true;
  link.HoverBackColor = clLime;
  TRPTableCellData& cell = *Table->GetCell(2, 2);
  cell.Clear();
  cell.AddRawText("link", Style.TextStyles().Count() - 1, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  const auto limePixels = [](QWidget& widget) {
    const QImage image = widget.grab().toImage();
    int32_t count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == 0x00FF00u;
    return count;
  };
  const struct {
    const char* Where;
    bool Editing;
  } cases[] = {{"a cell of a read-only document", false}, {"the cell being edited", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Where);
    QWidget* window = &Host();
    QPoint over = InCell(2, 2, 8, 8), away = InCell(0, 0);
    if (c.Editing) {
      Click(2, 2);
      ASSERT_TRUE(EditsCell(2, 2));
      window = &CellEditorWidget();
      over -= EditorAt();
      away = QPoint(window->width() - 2, window->height() - 2);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
      QApplication::sendEvent(QApplication::focusWidget(), &press);
    } else {
      Editor.SetReadOnly(true);
    }
    QTest::mouseMove(window, away);
    QApplication::processEvents();
    EXPECT_EQ(limePixels(*window), 0);
    QTest::mouseMove(window, over);
    QApplication::processEvents();
    EXPECT_GT(limePixels(*window), 0);
    QTest::mouseMove(window, away);
    QApplication::processEvents();
    EXPECT_EQ(limePixels(*window), 0);
    if (c.Editing) {
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
      QApplication::sendEvent(QApplication::focusWidget(), &release);
      Table->DestroyInplaceEditor();
    } else {
      Editor.SetReadOnly(false);
    }
    QApplication::processEvents();
  }
}

// What happens in a cell being edited reaches the host's handlers, each once, with the
// host as the sender: the click that opens the cell, clicks, presses and releases in the
// open cell (the host window's click with them), a right click, an item's hint, and the
// hyperlink and the picture that pasted RTF asks the program for.
TEST_F(TTableEditorScreen, TheHostHearsEachEventInAnEditedCellOnce) {
  std::map<std::string, int> heard;
  const auto count = [&](TObject* sender, const char* name) {
    EXPECT_EQ(sender, &Editor) << name;
    ++heard[name];
  };
  Editor.OnRPMouseDown = [&](TCustomRichPane* s, TMouseButton, TShiftState, int32_t, int32_t, int32_t) {
    count(s, "mouse down");
  };
  Editor.OnRPMouseUp = [&](TCustomRichPane* s, TMouseButton, TShiftState, int32_t, int32_t, int32_t) {
    count(s, "mouse up");
  };
  Editor.Window().OnClick = [&](TObject* s) { count(s == &Editor.Window() ? &Editor : s, "click"); };
  Editor.OnRPRightClick = [&](TCustomRichPane* s, const WideString&, int32_t, int32_t, int32_t) {
    count(s, "right click");
  };
  Editor.OnItemHint = [&](TCustomRichPane* s, TCustomRPFormattedData&, int32_t, WideString&) { count(s, "hint"); };
  Editor.OnReadHyperlink = [&](TCustomRichPane* s, const AnsiString& target, const AnsiString&, TRPLoadFormat, int32_t&,
                               TRPTag&, AnsiString&) {
    EXPECT_EQ(target, "http://example.org/");
    count(s, "hyperlink read");
  };
  Editor.OnImportPicture = [&](TCustomRichPane* s, const AnsiString& location, std::unique_ptr<TGraphic>&) {
    EXPECT_EQ(location, "pic.png");
    count(s, "picture request");
  };
  Editor.Options |= rpoShowItemHints;
  Table->GetCell(1, 1)->GetItem(0)->Hint = "a hint";
  ASSERT_NO_FATAL_FAILURE(Show());
  const auto inCell = [this] { return InCell(1, 1) - EditorAt(); };
  const auto paste = [this](const AnsiString& rtf) {
    Clipboard().SetBuffer(RPClipboardFormats().RTF, rtf);
    Key(Qt::Key_V, Qt::ControlModifier);
  };
  const std::map<std::string, int> click{{"mouse down", 1}, {"mouse up", 1}, {"click", 1}};
  const struct {
    const char* Action;
    std::function<void()> Act;
    std::map<std::string, int> Heard;
  } cases[] = {
      {"a click that opens the cell", [&] { QTest::mouseClick(&Host(), Qt::LeftButton, {}, InCell(1, 1)); }, click},
      {"a click in the open cell", [&] { QTest::mouseClick(&CellEditorWidget(), Qt::LeftButton, {}, inCell()); },
       click},
      {"a press",
       [&] { QTest::mousePress(&CellEditorWidget(), Qt::LeftButton, {}, inCell()); },
       {{"mouse down", 1}, {"mouse up", 0}, {"click", 0}}},
      {"its release",
       [&] { QTest::mouseRelease(&CellEditorWidget(), Qt::LeftButton, {}, inCell()); },
       {{"mouse down", 0}, {"mouse up", 1}, {"click", 1}}},
      {"a right click",
       [&] { QTest::mouseClick(&CellEditorWidget(), Qt::RightButton, {}, inCell()); },
       {{"right click", 1}, {"click", 0}}},
      {"a hint", [&] { QTest::mouseMove(&CellEditorWidget(), InCell(1, 1, 8, 7) - EditorAt()); }, {{"hint", 1}}},
      {"a pasted hyperlink",
       [&] { paste("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://example.org/\"}{\\fldrslt link}}}"); },
       {{"hyperlink read", 1}}},
      {"a pasted picture field",
       [&] { paste("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURE \"pic.png\"}{\\fldrslt }}}"); },
       {{"picture request", 1}}},
  };
  // No click is the second of a double click: a short double-click time, waited out. The
  // handlers count into this test's locals: they go with it.
  QStyleHints& hints = *QGuiApplication::styleHints();
  const TScopeExit restore([this, &hints, interval = hints.mouseDoubleClickInterval()] {
    hints.setMouseDoubleClickInterval(interval);
    Editor.OnRPMouseDown = Editor.OnRPMouseUp = nullptr;
    Editor.Window().OnClick = nullptr;
    Editor.OnRPRightClick = nullptr;
    Editor.OnItemHint = nullptr;
    Editor.OnReadHyperlink = nullptr;
    Editor.OnImportPicture = nullptr;
  });
  hints.setMouseDoubleClickInterval(100);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Action);
    QTest::qWait(150);
    heard.clear();
    c.Act();
    QApplication::processEvents();
    ASSERT_TRUE(EditsCell(1, 1));
    for (const auto& [event, times] : c.Heard) EXPECT_EQ(heard[event], times) << event;
  }
}

// A press and a release in a cell being edited reach the host's handlers with the point
// in the host's document, as a press on the host there would give it: the host scrolled
// or not. They come once the cell's event is done.
TEST_F(TTableEditorScreen, TheHostHearsPressesInAnEditedCellAtTheirPointInTheHost) {
  for (int32_t i = 0; i < 30; ++i) Editor.EditData().AddRawText("more", 0, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  std::vector<std::string> heard;
  const auto record = [&heard](const char* event) {
    return [&heard, event](TCustomRichPane*, TMouseButton, TShiftState, int32_t, int32_t x, int32_t y) {
      heard.push_back(std::string(event) + " " + std::to_string(x) + "," + std::to_string(y));
    };
  };
  Editor.OnRPMouseDown = record("down");
  Editor.OnRPMouseUp = record("up");
  const TScopeExit restore([this] { Editor.OnRPMouseDown = Editor.OnRPMouseUp = nullptr; });
  TRPEditRPData& host = Editor.EditData();
  for (const int32_t scrolled : {0, 1}) {
    SCOPED_TRACE(scrolled ? "the host scrolled" : "the host at its top");
    Editor.VScrollTo(scrolled, true);
    QApplication::processEvents();
    Click(1, 1);
    ASSERT_TRUE(EditsCell(1, 1));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    heard.clear();
    const QPoint at = InCell(1, 1, 10, 7);
    QTest::mousePress(&CellEditorWidget(), Qt::LeftButton, {}, at - EditorAt());
    QTest::mouseRelease(&CellEditorWidget(), Qt::LeftButton, {}, at - EditorAt());
    QApplication::processEvents();
    const std::string point = std::to_string(at.x() + host.GetHOffs()) + "," + std::to_string(at.y() + host.GetVOffs());
    EXPECT_EQ(heard, (std::vector<std::string>{"down " + point, "up " + point}));
    Table->DestroyInplaceEditor();
    QApplication::processEvents();
  }
  EXPECT_GT(host.GetVOffs(), 0);
}

TEST_F(TTableEditorScreen, ControlActionsInACellAreTheHosts) {
  std::vector<std::pair<TCustomRichPane*, TRPControlAction>> heard;
  Editor.OnControlAction = [&](TCustomRichPane* sender, TRPControlAction action, int32_t, TCustomRPItemInfo*) {
    heard.emplace_back(sender, action);
  };
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(2, 0);
  ASSERT_TRUE(EditsCell(2, 0));
  CellEditor()->InplaceData().ControlAction(rpcaBeforeRPFSave, 0, nullptr);
  CellEditor()->InplaceData().ControlAction(rpcaAfterRPFSave, 0, nullptr);
  using THeard = std::vector<std::pair<TCustomRichPane*, TRPControlAction>>;
  EXPECT_EQ(heard, (THeard{{&Editor, rpcaBeforeRPFSave}, {&Editor, rpcaAfterRPFSave}}));
}

// (A move of the document's selection into a cell: RPTableCellDropTest.cpp.)
TEST_F(TTableEditorScreen, ADropOntoACellGoesInThroughTheCellsEditor) {
  ASSERT_NO_FATAL_FAILURE(ShowAndDropIntoCell(1, 1, "+dropped"));
  EXPECT_EQ(CellText(1, 1), "r1c1+dropped");
  Table->DestroyInplaceEditor();
  EXPECT_EQ(CellText(1, 1), "r1c1+dropped");
  Key(Qt::Key_Z, Qt::ControlModifier);
  QApplication::processEvents();
  Table->DestroyInplaceEditor();
  EXPECT_EQ(State(), Start);
}

// Text dragged over the cell being edited drops where the mouse is in that cell, the
// editor staying open; the drop is one step of the cell.
TEST_F(TTableEditorScreen, ADropOntoTheEditedCellLandsAtTheDropPoint) {
  ASSERT_NO_FATAL_FAILURE(ShowAndOpenCellWith(1, 1, "one two words"));
  const QPoint at = CellPointAt(5);
  CellEditor()->EditData().MoveCaretHome(true);
  QMimeData text;
  text.setText("Z");
  EXPECT_EQ(DropOnHost(CellEditorWidget(), at - EditorAt(), text), Qt::CopyAction);
  ASSERT_TRUE(EditsCell(1, 1));
  EXPECT_EQ(CellText(1, 1), "one Ztwo words");
  Undo();
  EXPECT_EQ(CellText(1, 1), "one two words");
}

// A drag of the document's selection over a table it contains drops nothing there.
TEST_F(TTableEditorScreen, TheDraggedSelectionDropsNothingIntoATableItHolds) {
  ASSERT_NO_FATAL_FAILURE(Show());
  EXPECT_EQ(DragSelectionTo(0, 2, 2, 3, InCell(1, 0, 70)), Qt::IgnoreAction);
  EXPECT_EQ(State(), Start);
}

// On a real X display: a table with a block of cells being selected by a drag that
// began in a cell, whose editor in place is still open, saved as table-editing.png.
TEST_F(TTableEditorScreen, Screenshot) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  Table->SetBorderWidth(1);
  Table->SetCellBorderWidth(1);
  Table->SetBorderStyle(rptbColor);
  Table->SetCellBorderStyle(rptbColor);
  ASSERT_NO_FATAL_FAILURE(Show());
  ASSERT_NO_FATAL_FAILURE(DragFromCell(0, 0, 1, 1));
  ASSERT_TRUE(Table->HasCellSelection());
  const QImage image = GrabScreenshot(*Form.Widget(), "table-editing");
  ReleaseInCell(1, 1);
  ASSERT_FALSE(image.isNull());
  const QPoint origin = Host().mapTo(Form.Widget(), QPoint(0, 0));
  // The selected block in the selection colour, the cell under the editor too; the cell
  // outside the block on the window colour.
  const QRgb selection = qRgb(0, 0, 128);
  EXPECT_EQ(image.pixel(origin + InCell(1, 1, 2, 2)), selection);
  EXPECT_EQ(image.pixel(origin + InCell(0, 0, 2, Table->GetCell(0, 0)->Height - 3)), selection);
  EXPECT_EQ(image.pixel(origin + InCell(2, 2, 2, 2)) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
