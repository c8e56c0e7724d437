// The undo oracle over tables in an editor's document: random sequences of the tables'
// operations (rows and columns inserted and deleted, cells merged, split by deletion and
// cleared, table and cell properties, borders, pictures, cell content changed through
// the hidden editor and typed into by a cell's own editor), each one undo group. Undoing every group must give back,
// group by group, the document as it was before it (written in the native format, and
// every grid dumped), redoing every group the edited one; the grids keep their
// invariants after every operation and every played group.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../interchange/RPFDocumentDump.h"
#include "RPEditTestData.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Forms.h"
#include "richtext/edit/RPTInplace.h"
#include "richtext/edit/RPTableEditHost.h"
#include "richtext/edit/RPTableUndoRecords.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPFDocumentFormat.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableTestData.h"

namespace {

class RPUndoOracleTableTest : public TEditFixture {
protected:
  int32_t Rand(int32_t n) { return n <= 1 ? 0 : std::uniform_int_distribution<int32_t>(0, n - 1)(Rng); }
  bool Chance(int32_t percent) { return Rand(100) < percent; }

  // --- The document --------------------------------------------------------------------
  std::unique_ptr<TRPTableItemInfo> NewTable(int32_t rows, int32_t cols) {
    auto table = std::make_unique<TRPTableItemInfo>(rows, cols, &Data());
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) {
        TRPTableCellData& cell = *table->GetCell(r, c);
        cell.AddRawText("cell " + std::to_string(r) + "," + std::to_string(c), 0, 0);
        if (Chance(30)) cell.AddRawText("second", 0, 1);
      }
    table->SetBorderWidth(1);
    return table;
  }
  void BuildDocument() {
    Steps.clear();
    Data().Clear();
    AddA("Before the tables");
    for (int32_t t = 0; t < 2; ++t) {
      Data().AddItem("", NewTable(2 + Rand(3), 2 + Rand(3)));
      AddA("Between " + std::to_string(t));
    }
    Format();
    Data().UndoList->Clear();
    Data().RedoList->Clear();
  }
  std::vector<TRPTableItemInfo*> Tables() {
    std::vector<TRPTableItemInfo*> tables;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (auto* table = dynamic_cast<TRPTableItemInfo*>(Data().GetItem(i))) tables.push_back(table);
    return tables;
  }

  // --- What is compared ----------------------------------------------------------------
  std::string State() {
    std::ostringstream out;
    TStringStream stream;
    EXPECT_TRUE(Data().SaveRPFToStream(stream, rpfsmDocument, nullptr, nullptr, clNone));
    out << stream.DataString() << "\n";
    for (TRPTableItemInfo* table : Tables()) {
      const TRPBooleanRect& v = table->VisibleBorders;
      out << "table border " << table->GetBorderWidth() << " padding " << table->GetCellPadding() << " color "
          << table->GetColor() << " sides " << v.Left << v.Top << v.Right << v.Bottom
          << (table->GetBackgroundImage() ? " picture" : "") << "\n"
          << DumpGrid(table->Rows());
    }
    return out.str();
  }
  // The draw items and every table's layout: after a played group the partial layout
  // must be what a whole new pass makes.
  std::string Layout() {
    std::ostringstream out;
    out << DumpDrawItems(Data()) << "\n";
    for (TRPTableItemInfo* table : Tables()) out << DumpLayout(*table, table->FormattingInfo()) << "\n";
    return out.str();
  }
  void ExpectLayoutOfAWholePass(const char* when) {
    const std::string partial = Layout();
    Format();
    EXPECT_EQ(partial, Layout()) << when << "\n" << Steps;
  }
  void ExpectInvariants() {
    for (TRPTableItemInfo* table : Tables()) ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(table->Rows()));
  }

  // --- The operations --------------------------------------------------------------------
  // A position holding a cell of its own.
  bool PickCell(TRPTableItemInfo& table, int32_t& row, int32_t& col) {
    std::vector<std::pair<int32_t, int32_t>> cells;
    for (int32_t r = 0; r < table.Rows().GetRowCount(); ++r)
      for (int32_t c = 0; c < table.Rows().GetColCount(); ++c)
        if (table.GetCell(r, c)) cells.emplace_back(r, c);
    if (cells.empty()) return false;
    std::tie(row, col) = cells[static_cast<size_t>(Rand(static_cast<int32_t>(cells.size())))];
    return true;
  }
  void SelectRandomCells(TRPTableItemInfo& table) {
    for (int32_t r = 0; r < table.Rows().GetRowCount(); ++r)
      for (int32_t c = 0; c < table.Rows().GetColCount(); ++c)
        if (TRPTableCellData* cell = table.GetCell(r, c)) cell->Selected = Chance(40);
  }
  static void Deselect(TRPTableItemInfo& table) {
    for (int32_t r = 0; r < table.Rows().GetRowCount(); ++r)
      for (int32_t c = 0; c < table.Rows().GetColCount(); ++c)
        if (TRPTableCellData* cell = table.GetCell(r, c)) cell->Selected = false;
  }

  // One operation on a random table through the table's own operations, which open
  // their undo groups themselves.
  void RandomOperation() {
    std::vector<TRPTableItemInfo*> tables = Tables();
    TRPTableItemInfo& table = *tables[static_cast<size_t>(Rand(static_cast<int32_t>(tables.size())))];
    const std::string which = "table " + std::to_string(table.GetItemNo()) + ": ";
    TRPTableRows& rows = table.Rows();
    const int32_t rowCount = rows.GetRowCount(), colCount = rows.GetColCount();
    int32_t row = 0, col = 0;
    switch (Rand(14)) {
      case 0: {
        const int32_t at = Rand(rowCount + 1), count = 1 + Rand(2), copy = Rand(rowCount + 1) - 1;
        Note(which + "insert rows", {at, count, copy});
        table.InsertRows(at, count, copy);
        break;
      }
      case 1: {
        const int32_t at = Rand(colCount + 1), count = 1 + Rand(2), copy = Rand(colCount + 1) - 1;
        Note(which + "insert columns", {at, count, copy});
        table.InsertCols(at, count, copy);
        break;
      }
      case 2: {
        if (rowCount < 2) return;
        const int32_t at = Rand(rowCount), count = 1 + Rand(std::min(2, rowCount - 1));
        Note(which + "delete rows", {at, count});
        table.DeleteRows(at, std::min(count, rowCount - 1), Chance(50));
        break;
      }
      case 3: {
        if (colCount < 2) return;
        const int32_t at = Rand(colCount), count = 1 + Rand(std::min(2, colCount - 1));
        Note(which + "delete columns", {at, count});
        table.DeleteCols(at, std::min(count, colCount - 1), Chance(50));
        break;
      }
      case 4:
      case 5: {
        const int32_t top = Rand(rowCount), left = Rand(colCount);
        const int32_t spanCols = 1 + Rand(3), spanRows = 1 + Rand(3);
        Note(which + "merge", {top, left, spanCols, spanRows});
        if (spanCols == 1 && spanRows == 1) return;
        table.MergeCells(top, left, spanCols, spanRows, Chance(50));
        break;
      }
      case 6:
        SelectRandomCells(table);
        Note(which + "clear selected cells", {});
        table.ClearSelectedCells();
        Deselect(table);
        break;
      case 7: {
        const int32_t value = Rand(4);
        Note(which + "table property", {value});
        if (Chance(50))
          table.SetBorderWidth(value);
        else
          table.SetCellPadding(value);
        break;
      }
      case 8: {
        if (!PickCell(table, row, col)) return;
        const int32_t value = Rand(3) * 20;
        Note(which + "cell property", {row, col, value});
        switch (Rand(4)) {
          case 0:
            table.SetCellBestWidth(value, row, col);
            break;
          case 1:
            table.SetCellBestHeightEx(-1, value, row, col);
            break;
          case 2:
            table.SetCellHintEx(-1, "hint " + std::to_string(value), row, col);
            break;
          default:
            table.SetCellIntPropertyByName(-1, "Color", value == 0 ? clRed : clNone, row, col, false, false);
        }
        break;
      }
      case 9: {
        if (!PickCell(table, row, col)) return;
        const bool l = Chance(50), t = Chance(50), r = Chance(50), b = Chance(50);
        Note(which + "cell borders", {row, col, l, t, r, b});
        table.SetCellVisibleBorders(l, t, r, b, row, col);
        break;
      }
      case 10: {
        const std::unique_ptr<TBitmap> tile = ColorTile(Chance(50) ? clRed : clBlue, 2 + Rand(3));
        if (Chance(50) && PickCell(table, row, col)) {
          Note(which + "cell picture", {row, col});
          table.SetCellBackgroundImage(Chance(25) ? nullptr : tile.get(), row, col);
        } else {
          Note(which + "table picture", {});
          table.SetBackgroundImage(Chance(25) ? nullptr : tile.get());
        }
        break;
      }
      case 12:
        if (!PickCell(table, row, col)) return;
        Note(which + "typed into a cell", {row, col});
        TypeIntoCell(table, row, col);
        break;
      default: {
        // Styles and style conversions applied to cells through the hidden editor.
        const int32_t command = Rand(4), parameter = command % 2 == 0 ? Rand(3) : Rand(BoldStyle + 1);
        const bool selectedOnly = Chance(70);
        if (selectedOnly) SelectRandomCells(table);
        Note(which + "apply to cells", {command, parameter, selectedOnly});
        Pane.ParaConversion = [](int32_t paraNo, int32_t userData) { return (paraNo + userData) % 3; };
        Pane.TextConversion = [](int32_t styleNo, int32_t userData) { return styleNo == 0 ? userData : 0; };
        table.ApplyToCells(command, parameter, selectedOnly);
        Pane.ParaConversion = nullptr;
        Pane.TextConversion = nullptr;
        Deselect(table);
      }
    }
  }

  // The cell's content in an editor of its own, typed into, Enter and Backspace pressed
  // at random places; what that editor recorded goes to the document as one step.
  void TypeIntoCell(TRPTableItemInfo& table, int32_t row, int32_t col) {
    TTestEditPane cellPane;
    cellPane.SetStyle(&Style);
    cellPane.ClientResized(200, 100);
    TRPEditRPData& cellData = cellPane.Edit();
    TRPTableCellData& cell = *table.GetCell(row, col);
    // The editor's first pass gave it an empty item.
    cellData.Clear();
    cellData.AppendItemsFrom(&cell);
    cellPane.Format();
    for (int32_t n = 1 + Rand(4); n > 0; --n) {
      const int32_t itemNo = Rand(cellData.GetItemCount());
      cellData.SetCaretAtItemPos(itemNo, 1 + Rand(cellData.GetItemLength(itemNo) + 1));
      switch (Rand(3)) {
        case 0:
          cellData.TypeText(AnsiString(1 + Rand(3), static_cast<char>('a' + Rand(26))), 0);
          break;
        case 1:
          cellData.InsertParagraphBreak(false, false);
          break;
        default:
          cellData.DeleteCharBackward(false, false, false);
      }
    }
    HandOverCellUndo(Data(), table.GetItemNo(), row, col, cellData);
    cell.Clear();
    cell.AppendItemsFrom(&cellData);
    table.Changed();
  }

  void PlayGroup(TRPUndoList& list) {
    const int32_t groups = list.Count();
    if (&list == Data().UndoList.get())
      list.Undo(Data());
    else
      list.Redo(Data());
    ASSERT_LT(list.Count(), groups);
  }

  void Note(const std::string& step, std::initializer_list<int32_t> arguments) {
    Steps += step;
    for (const int32_t argument : arguments) Steps += " " + std::to_string(argument);
    Steps += "\n";
  }

  std::mt19937 Rng;
  std::string Steps;
};

TEST_F(RPUndoOracleTableTest, UndoingEveryTableOperationGivesTheOriginalAndRedoingTheEdited) {
  size_t groupsPlayed = 0;
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Rng.seed(seed);
    BuildDocument();
    std::vector<std::string> states{State()};
    const int32_t operations = 6 + Rand(10);
    for (int32_t n = 0; n < operations; ++n) {
      ASSERT_NO_FATAL_FAILURE(RandomOperation()) << Steps;
      Data().UndoList->RemoveEmptyLastGroup();
      Format();
      ASSERT_NO_FATAL_FAILURE(ExpectInvariants()) << Steps;
      const auto groups = static_cast<size_t>(Data().UndoList->Count());
      ASSERT_LE(groups, states.size()) << Steps;
      if (groups == states.size()) states.push_back(State());
      ASSERT_EQ(states.back(), State()) << "an operation changed the tables without an undo group\n" << Steps;
    }
    const std::string edited = State();
    groupsPlayed += states.size() - 1;
    for (size_t k = states.size() - 1; k > 0; --k) {
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().UndoList));
      ASSERT_NO_FATAL_FAILURE(ExpectInvariants()) << Steps;
      ASSERT_EQ(State(), states[k - 1]) << "undone to group " << k - 1 << "\n" << Steps;
      ExpectLayoutOfAWholePass("after undoing");
    }
    for (size_t k = 1; k < states.size(); ++k) {
      ASSERT_NO_FATAL_FAILURE(PlayGroup(*Data().RedoList));
      ASSERT_NO_FATAL_FAILURE(ExpectInvariants()) << Steps;
      ASSERT_EQ(State(), states[k]) << "redone to group " << k << "\n" << Steps;
      ExpectLayoutOfAWholePass("after redoing");
    }
    EXPECT_EQ(State(), edited);
  }
  EXPECT_GT(groupsPlayed, 200u);
}

// The same oracle over an editor on screen whose table has a cell edited in place:
// text typed into the cell's editor, then a table operation made while the editor is
// still open (it ends, moves or stays), then more typing. Undoing every group of the
// document gives back its native dump and grid as they were, redoing every group the
// edited ones.
struct TInplaceOperation {
  const char* Name;
  std::function<void(TRPTableItemInfo&, int32_t row, int32_t col)> Run;
};

class RPUndoOracleInplaceTest : public testing::Test {
protected:
  RPUndoOracleInplaceTest() {
    Style.TextStyles()[0]->FontName = "Arial";
    TRPStyleTemplate& boxed = *Style.StyleTemplates().Add();
    boxed.TextStyle().Size = 14;
    boxed.ValidTextProperties.Include(rpfiSize);
    boxed.ParaStyle().Alignment = rpaRight;
    boxed.ValidParaProperties1.Include(rppiAlignment);
    Editor.SetStyle(&Style);
    Form.SetBounds(0, 0, 500, 400);
    Editor.Window().SetParent(&Form);
    Editor.Window().SetBounds(0, 0, 480, 380);
    Form.Show();
  }
  ~RPUndoOracleInplaceTest() override { Form.Hide(); }

  int32_t Rand(int32_t n) { return n <= 1 ? 0 : std::uniform_int_distribution<int32_t>(0, n - 1)(Rng); }

  TRPTableItemInfo& BuildDocument() {
    TRPEditRPData& data = Editor.EditData();
    data.Clear();
    data.AddRawText("before", 0, 0);
    const int32_t rows = 2 + Rand(3), cols = 2 + Rand(3);
    auto table = std::make_unique<TRPTableItemInfo>(rows, cols, &data);
    TRPTableItemInfo& result = *table;
    for (int32_t r = 0; r < rows; ++r)
      for (int32_t c = 0; c < cols; ++c) {
        TRPTableCellData& cell = *table->GetCell(r, c);
        cell.Clear();
        cell.AddRawText("c" + std::to_string(r) + std::to_string(c), 0, 0);
      }
    data.AddItem("", std::move(table));
    data.AddRawText("after", 0, 0);
    Editor.Format();
    data.UndoList->Clear();
    data.RedoList->Clear();
    return result;
  }
  std::string State(TRPTableItemInfo& table) { return DumpDrawLines(Editor.EditData()) + DumpGrid(table.Rows()); }

  // A few characters, Enter or Backspace at random places of the cell being edited.
  void TypeInCell(TRPTableItemInfo& table) {
    auto* editor = dynamic_cast<TRPTableInplaceEdit*>(Editor.GetInplaceEditor());
    if (!editor || editor->Table() != &table) return;
    TRPEditRPData& cell = editor->EditData();
    for (int32_t n = 1 + Rand(3); n > 0; --n) {
      const int32_t itemNo = Rand(cell.GetItemCount());
      cell.SetCaretAtItemPos(itemNo, 1 + Rand(cell.GetItemLength(itemNo) + 1));
      switch (Rand(4)) {
        case 0:
          cell.InsertParagraphBreak(false, false);
          break;
        case 1:
          cell.DeleteCharBackward(false, false, false);
          break;
        default:
          cell.TypeText(AnsiString(1 + Rand(3), static_cast<char>('a' + Rand(26))), 0);
      }
    }
  }

  TRPStyle Style{nullptr};
  TRichPaneEdit Editor{nullptr};
  TForm Form{nullptr};
  std::mt19937 Rng;
};

TEST_F(RPUndoOracleInplaceTest, OperationsMadeWhileACellIsEditedInPlaceAreUndoneAndRedone) {
  const std::unique_ptr<TBitmap> tile = ColorTile(clGreen);
  const TInplaceOperation operations[] = {
      {"insert a row", [](TRPTableItemInfo& t, int32_t row, int32_t) { t.InsertRows(row, 1, row); }},
      {"insert columns, selected",
       [](TRPTableItemInfo& t, int32_t, int32_t col) {
         t.InsertCols(col + 1, 2, -1, true);
         t.RemoveCellSelection();
       }},
      {"delete the edited row",
       [](TRPTableItemInfo& t, int32_t row, int32_t) {
         if (t.Rows().GetRowCount() > 1) t.DeleteRows(row, 1, false);
       }},
      {"delete the first column",
       [](TRPTableItemInfo& t, int32_t, int32_t) {
         if (t.Rows().GetColCount() > 1) t.DeleteCols(0, 1, true);
       }},
      {"merge with the cell on the right",
       [](TRPTableItemInfo& t, int32_t row, int32_t col) {
         if (col + 1 < t.Rows().GetColCount()) t.MergeCells(row, col, 2, 1, true);
       }},
      {"table property", [](TRPTableItemInfo& t, int32_t row, int32_t) { t.SetCellPadding(2 + row); }},
      {"edited cell's property",
       [](TRPTableItemInfo& t, int32_t row, int32_t col) { t.SetCellHintEx(-1, "hint", row, col); }},
      {"edited cell's picture",
       [&](TRPTableItemInfo& t, int32_t row, int32_t col) { t.SetCellBackgroundImage(tile.get(), row, col); }},
      {"table picture", [&](TRPTableItemInfo& t, int32_t, int32_t) { t.SetBackgroundImage(tile.get()); }},
      {"paragraph template on every cell", [](TRPTableItemInfo& t, int32_t, int32_t) { t.ApplyToCells(4, 0, false); }},
      {"text template on every cell", [](TRPTableItemInfo& t, int32_t, int32_t) { t.ApplyToCells(5, 0, false); }},
  };
  TRPEditRPData& data = Editor.EditData();
  size_t played = 0;
  for (const TInplaceOperation& operation : operations)
    for (uint32_t seed = 1; seed <= 4; ++seed) {
      SCOPED_TRACE(std::string(operation.Name) + ", seed " + std::to_string(seed));
      Rng.seed(seed);
      TRPTableItemInfo& table = BuildDocument();
      const std::string original = State(table);
      int32_t row = Rand(table.Rows().GetRowCount()), col = Rand(table.Rows().GetColCount());
      ASSERT_TRUE(table.CreateInplaceEditor(-1, row, col, false, true, false, true));
      TypeInCell(table);
      operation.Run(table, row, col);
      QApplication::processEvents();
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(table.Rows()));
      TypeInCell(table);
      table.DestroyInplaceEditor();
      data.UndoList->RemoveEmptyLastGroup();
      Editor.Format();
      const std::string edited = State(table);
      const int32_t groups = data.UndoList->Count();
      ASSERT_GE(groups, 1);
      while (data.UndoList->Count() > 0) {
        data.UndoList->Undo(data);
        ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(table.Rows()));
      }
      EXPECT_EQ(State(table), original);
      while (data.RedoList->Count() > 0) {
        data.RedoList->Redo(data);
        ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(table.Rows()));
      }
      const std::string redone = State(table);
      Editor.Format();
      EXPECT_EQ(redone, State(table)) << "the layout after redoing is a whole pass's";
      EXPECT_EQ(State(table), edited);
      played += static_cast<size_t>(groups);
    }
  EXPECT_GT(played, 60u);
}

}  // namespace
