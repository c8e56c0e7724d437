// The grid's reversible steps and the structural operations made of them: every step
// undone by its reverse leaves the grid as it was, and every operation, its notes
// played back by a miniature undo list, too.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "richtext/model/RPException.h"
#include "richtext/table/RPTableRows.h"
#include "richtext/table/RPTableTestData.h"

namespace {

// An editor's undo list in miniature: every note and every property change becomes the
// step that takes it back, kept in order with its name; UndoTo plays the steps after a
// mark back, last first. While it plays, the table finds no notes (undo records nothing).
class TUndoJournal : public IRPTableEditHost, public IRPTableGridNotes {
public:
  TRPTableItemInfo* Table = nullptr;
  TCustomRPData* HolderData = nullptr;
  std::vector<std::string> Names;
  int32_t OpenBrackets = 0;
  int32_t Operations = 0;

  size_t Mark() const { return FSteps.size(); }
  // Keeps what was done, forgetting how to undo it.
  void Forget() {
    FSteps.clear();
    Names.clear();
  }
  void UndoTo(size_t mark) {
    FReplaying = true;
    while (FSteps.size() > mark) {
      const std::function<void()> step = std::move(FSteps.back());
      FSteps.pop_back();
      Names.pop_back();
      step();
    }
    FReplaying = false;
  }

  IRPTableGridNotes* GetGridNotes(int32_t) override { return FReplaying ? nullptr : this; }
  void ModifyItemIntProperty(int32_t, TPersistent& object, const AnsiString& name, int32_t value, bool, bool,
                             int32_t row, int32_t col) override {
    const TPropInfo* prop = FindPublishedProp(object, name);
    const int64_t old = std::get<int64_t>(prop->Get(object));
    if (old == value) return;
    Record("property " + name, [this, name, old, row, col] {
      FindPublishedProp(Target(row, col), name)->Set(Target(row, col), TPropValue(old));
    });
    prop->Set(object, TPropValue(int64_t(value)));
  }
  void ModifyItemStrProperty(int32_t, TPersistent& object, const AnsiString& name, const AnsiString& value, int32_t row,
                             int32_t col) override {
    const TPropInfo* prop = FindPublishedProp(object, name);
    const AnsiString old = std::get<AnsiString>(prop->Get(object));
    if (old == value) return;
    Record("property " + name, [this, name, old, row, col] {
      FindPublishedProp(Target(row, col), name)->Set(Target(row, col), TPropValue(old));
    });
    prop->Set(object, TPropValue(value));
  }

  void BeginOperation() override { ++OpenBrackets; }
  void EndOperation() override {
    --OpenBrackets;
    ++Operations;
  }
  void InsertTableRows(int32_t row, int32_t count) override {
    Record("insert rows", [=, this] { Rows().DeleteRowsRaw(row, count); });
  }
  void InsertTableCell(int32_t row, int32_t col) override {
    Record("insert cell", [=, this] { Rows().DeleteCellRaw(row, col); });
  }
  void SpreadOverEmptyCells(int32_t row, int32_t col, int32_t colSpan) override {
    Record("spread", [=, this] { Rows().UnspreadOverEmptyCells(row, col, colSpan); });
  }
  void Span(int32_t row, int32_t col, bool isColSpan, int32_t oldSpan) override {
    Record("span", [=, this] { Rows().SetSpan(row, col, oldSpan, isColSpan); });
  }
  void FreeEmptyCell(int32_t row, int32_t col, int32_t colCount, int32_t rowCount) override {
    Record("free cells", [=, this] { Rows().CreateCellsInArea(row, col, colCount, rowCount); });
  }
  void InsertEmptyCell(int32_t row, int32_t col, int32_t count, int32_t rowCount) override {
    Record("insert empty", [=, this] { Rows().DeleteEntriesInArea(row, col, count, rowCount); });
  }
  void CellSplitHorz(int32_t row, int32_t col, int32_t atRow, int32_t oldBestHeight, bool) override {
    Record("split rows", [=, this] { Rows().UnsplitCellHorz(row, col, atRow, oldBestHeight); });
  }
  void CellSplitVert(int32_t row, int32_t col, int32_t atCol, int32_t oldBestWidth, bool) override {
    Record("split columns", [=, this] { Rows().UnsplitCellVert(row, col, atCol, oldBestWidth); });
  }
  TRPTableRowsHolder* DeleteRows(int32_t row, int32_t) override {
    auto* holder = Hold<TRPTableRowsHolder>();
    Record("delete rows", [=, this] { Rows().RestoreRows(row, holder->Rows); });
    return holder;
  }
  TRPTableCellsHolder* DeleteCols(int32_t col, int32_t) override {
    auto* holder = Hold<TRPTableCellsHolder>();
    Record("delete columns", [=, this] { Rows().RestoreCols(col, holder->Cells); });
    return holder;
  }
  TRPTableCellsHolder* CellsClear(const TRPIntegerList& rows, const TRPIntegerList& cols) override {
    auto* holder = Hold<TRPTableCellsHolder>();
    Record("clear", [=, this] { Rows().RestoreClearedCells(holder->Cells, rows, cols); });
    return holder;
  }
  TRPTableMergeHolder* Merge(int32_t row, int32_t col, int32_t, int32_t, int32_t oldColSpan, int32_t oldRowSpan,
                             TRPHTMLLength oldBestWidth) override {
    auto* holder = Hold<TRPTableMergeHolder>();
    Record("merge", [=, this] { Rows().UnmergeCells(row, col, oldColSpan, oldRowSpan, oldBestWidth, holder->Items); });
    return holder;
  }

private:
  TRPTableRows& Rows() { return Table->Rows(); }
  TPersistent& Target(int32_t row, int32_t col) {
    return row < 0 ? static_cast<TPersistent&>(*Table) : static_cast<TPersistent&>(*Table->GetCell(row, col));
  }
  void Record(std::string name, std::function<void()> undo) {
    EXPECT_FALSE(FReplaying) << "a note while undoing";
    Names.push_back(std::move(name));
    FSteps.push_back(std::move(undo));
  }
  template <typename H>
  H* Hold() {
    auto holder = std::make_unique<H>();
    holder->RPData = HolderData;
    H* result = holder.get();
    FHolders.push_back(std::move(holder));
    return result;
  }
  std::vector<std::function<void()>> FSteps;
  std::vector<std::unique_ptr<TRPTableCellHolder>> FHolders;
  bool FReplaying = false;
};

// A table in a document whose editor is the journal.
struct TJournaledTable {
  TJournaledTable(int32_t rowCount, int32_t colCount) {
    RPTableHooks().FindEditHost = [this](TCustomRPData&) -> IRPTableEditHost* { return &Journal; };
    Table = std::make_unique<TTableInDocument>(rowCount, colCount);
    Journal.Table = Table->Table;
    Journal.HolderData = &Table->Data;
  }
  ~TJournaledTable() {
    Table.reset();
    RPTableHooks().FindEditHost = nullptr;
  }
  TUndoJournal Journal;
  std::unique_ptr<TTableInDocument> Table;
};

int32_t Pick(std::mt19937& random, int32_t n) { return static_cast<int32_t>(random() % static_cast<uint32_t>(n)); }

// Random merges, contents (one item, two paragraphs, a paragraph of two runs) and
// attributes.
void FillRandomly(TTableInDocument& t, std::mt19937& random) {
  TRPTableRows& rows = t.Table->Rows();
  for (int merge = 0; merge < 3; ++merge)
    t.Table->MergeCells(Pick(random, rows.GetRowCount()), Pick(random, rows.GetColCount()), 1 + Pick(random, 3),
                        1 + Pick(random, 3), true);
  const TColor colors[] = {clNone, clWhite, clRed, clYellow};
  int serial = 0;
  for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
    rows.GetRow(r)->VAlign = static_cast<TRPCellVAlign>(Pick(random, 4));
    for (int32_t c = 0; c < rows.GetColCount(); ++c) {
      TRPTableCellData* cell = rows.GetCell(r, c);
      if (!cell) continue;
      const std::string text = "t" + std::to_string(serial++);
      switch (Pick(random, 4)) {
        case 1:
          t.SetText(r, c, text);
          break;
        case 2:
          t.SetText(r, c, text);
          cell->AddRawText(text + "b", 0, 0);
          break;
        case 3:
          t.SetText(r, c, text);
          cell->AddRawText(text + "c", 0, -1);
          break;
        default:
          break;
      }
      cell->SetCellColor(colors[Pick(random, 4)]);
      cell->BestWidth = Pick(random, 3) * 20 - 20;
      cell->BestHeight = Pick(random, 2) * 24;
      cell->VAlign = static_cast<TRPCellVAlign>(Pick(random, 4));
      cell->VisibleBorders.Top = Pick(random, 2) == 0;
      cell->Hint = Pick(random, 3) == 0 ? text : "";
    }
  }
}

std::string Describe(const char* name, const std::vector<int32_t>& args) {
  std::string out = name;
  for (int32_t a : args) out += " " + std::to_string(a);
  return out;
}

// One structural operation with random arguments, valid or not; its description.
std::string RandomOperation(TRPTableItemInfo& table, std::mt19937& random) {
  const TRPTableRows& rows = table.Rows();
  const int32_t r = rows.GetRowCount(), c = rows.GetColCount();
  switch (Pick(random, 6)) {
    case 0: {
      const int32_t index = Pick(random, r + 1), count = 1 + Pick(random, 2), copy = Pick(random, r + 1) - 1;
      table.InsertRows(index, count, copy);
      return Describe("InsertRows", {index, count, copy});
    }
    case 1: {
      const int32_t index = Pick(random, c + 1), count = 1 + Pick(random, 2), copy = Pick(random, c + 1) - 1;
      table.InsertCols(index, count, copy);
      return Describe("InsertCols", {index, count, copy});
    }
    case 2: {
      if (r < 2) return "nothing";
      const int32_t index = Pick(random, r), count = 1 + Pick(random, r - 1), divide = Pick(random, 2);
      if (index == 0 && count >= r) return "nothing";
      table.DeleteRows(index, count, divide != 0);
      return Describe("DeleteRows", {index, count, divide});
    }
    case 3: {
      if (c < 2) return "nothing";
      const int32_t index = Pick(random, c), count = 1 + Pick(random, c - 1), divide = Pick(random, 2);
      if (index == 0 && count >= c) return "nothing";
      table.DeleteCols(index, count, divide != 0);
      return Describe("DeleteCols", {index, count, divide});
    }
    case 4: {
      const int32_t top = Pick(random, r), left = Pick(random, c), cols = 1 + Pick(random, 3),
                    rowSpan = 1 + Pick(random, 3), allow = Pick(random, 2);
      table.MergeCells(top, left, cols, rowSpan, allow != 0);
      return Describe("MergeCells", {top, left, cols, rowSpan, allow});
    }
    default:
      table.DeleteEmptyRows();
      return "DeleteEmptyRows";
  }
}

TEST(RPTableGridStepsTest, EachOperationWritesItsNotesInOrderInOneBracket) {
  struct TCase {
    const char* Name;
    std::function<void(TRPTableItemInfo&)> Run;
    std::vector<std::string> Notes;
  };
  const TCase cases[] = {
      {"a row inserted inside a cell spanning rows",
       [](TRPTableItemInfo& t) { t.InsertRows(1, 1, -1); },
       {"span", "insert rows", "free cells"}},
      {"a row copied from a cell spanning columns",
       [](TRPTableItemInfo& t) { t.InsertRows(3, 1, 2); },
       {"insert rows", "property BestHeight", "spread"}},
      {"a column inserted beside a cell spanning rows",
       [](TRPTableItemInfo& t) { t.InsertCols(1, 1, 0); },
       {"insert cell", "property BestHeight", "span", "insert empty", "insert cell"}},
      {"the top row of a cell spanning rows deleted",
       [](TRPTableItemInfo& t) { t.DeleteRows(0, 1, false); },
       {"split rows", "delete rows"}},
      {"the middle row deleted, preferred sizes shared",
       [](TRPTableItemInfo& t) { t.DeleteRows(1, 1, true); },
       {"property BestHeight", "span", "delete rows"}},
      {"the last column of a cell spanning columns deleted",
       [](TRPTableItemInfo& t) { t.DeleteCols(2, 1, false); },
       {"span", "delete columns"}},
      {"the first column of a cell spanning columns deleted",
       [](TRPTableItemInfo& t) { t.DeleteCols(1, 1, false); },
       {"split columns", "delete columns"}},
      {"a merge", [](TRPTableItemInfo& t) { t.MergeCells(1, 1, 2, 1, true); }, {"merge"}},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TJournaledTable jt(4, 3);
    TTableInDocument& t = *jt.Table;
    // (0,0) spans rows 0-2; (2,1) spans columns 1-2.
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 3, true));
    ASSERT_TRUE(t.Table->MergeCells(2, 1, 2, 1, true));
    t.Cell(0, 0).BestHeight = 60;
    t.Cell(2, 1).BestHeight = 20;
    jt.Journal.Forget();  // the merges above make the grid to start from
    const int32_t operations = jt.Journal.Operations;
    const std::string before = DumpGrid(t.Table->Rows());
    k.Run(*t.Table);
    EXPECT_EQ(jt.Journal.Names, k.Notes);
    EXPECT_EQ(jt.Journal.Operations, operations + 1);
    ExpectGridInvariants(t.Table->Rows());
    jt.Journal.UndoTo(0);
    EXPECT_EQ(DumpGrid(t.Table->Rows()), before);
  }
}

// A table outside an editor records nothing and changes all the same.
TEST(RPTableGridStepsTest, OutsideAnEditorNothingIsNoted) {
  TTableInDocument t(3, 3);
  EXPECT_EQ(t.Table->GetGridNotes(), nullptr);
  t.Table->InsertRows(1, 2, 0);
  EXPECT_EQ(t.Table->Rows().GetRowCount(), 5);
  EXPECT_TRUE(t.Table->IsChanged());
}

// Inserting rows (columns) and deleting the same rows (columns) again gives back the
// grid, whatever was copied.
TEST(RPTableGridStepsTest, DeletingWhatWasInsertedRestoresTheGrid) {
  std::mt19937 random(77);
  for (int round = 0; round < 60; ++round) {
    TTableInDocument t(1 + Pick(random, 5), 1 + Pick(random, 5));
    FillRandomly(t, random);
    const std::string before = DumpGrid(t.Table->Rows());
    const bool byRows = Pick(random, 2) == 0;
    const int32_t size = byRows ? t.Table->Rows().GetRowCount() : t.Table->Rows().GetColCount();
    const int32_t index = Pick(random, size + 1), count = 1 + Pick(random, 3), copy = Pick(random, size + 1) - 1;
    SCOPED_TRACE(Describe(byRows ? "rows" : "columns", {round, index, count, copy}));
    if (byRows) {
      t.Table->InsertRows(index, count, copy);
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
      t.Table->DeleteRows(index, count, false);
    } else {
      t.Table->InsertCols(index, count, copy);
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
      t.Table->DeleteCols(index, count, false);
    }
    EXPECT_EQ(DumpGrid(t.Table->Rows()), before);
  }
}

// A cell copied into new rows never spreads over a column that a cell spanning the
// place of insertion now covers (nor a copied cell down into such a row).
TEST(RPTableGridStepsTest, CopiesLeaveThePositionsOfGrownCellsAlone) {
  {
    TTableInDocument t(3, 3);
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 3, 1, true));  // row 0: one cell over 3 columns
    ASSERT_TRUE(t.Table->MergeCells(1, 1, 1, 2, true));  // (1,1) spans rows 1-2
    t.Table->InsertRows(2, 1, 0);
    ExpectGridInvariants(t.Table->Rows());
    EXPECT_EQ(t.Cell(1, 1).GetRowSpan(), 3);
    EXPECT_EQ(t.Cell(2, 0).GetColSpan(), 1);
    EXPECT_NE(t.Table->GetCell(2, 2), nullptr);
  }
  {
    TTableInDocument t(3, 3);
    ASSERT_TRUE(t.Table->MergeCells(0, 0, 1, 3, true));  // column 0: one cell over 3 rows
    ASSERT_TRUE(t.Table->MergeCells(1, 1, 2, 1, true));  // (1,1) spans columns 1-2
    t.Table->InsertCols(2, 1, 0);
    ExpectGridInvariants(t.Table->Rows());
    EXPECT_EQ(t.Cell(1, 1).GetColSpan(), 3);
    EXPECT_EQ(t.Cell(0, 2).GetRowSpan(), 1);
    EXPECT_NE(t.Table->GetCell(2, 2), nullptr);
  }
}

TEST(RPTableGridStepsTest, TableOperationsCheckTheirIndexes) {
  TTableInDocument t(2, 3);
  const struct {
    const char* Name;
    std::function<void(TRPTableItemInfo&)> Run;
  } bad[] = {
      {"insert rows past the end", [](TRPTableItemInfo& x) { x.InsertRows(3, 1, -1); }},
      {"insert columns before the start", [](TRPTableItemInfo& x) { x.InsertCols(-1, 1, -1); }},
      {"copy a row past the end", [](TRPTableItemInfo& x) { x.InsertRows(0, 1, 2); }},
      {"copy index below -1", [](TRPTableItemInfo& x) { x.InsertCols(0, 1, -2); }},
      {"delete more rows than there are", [](TRPTableItemInfo& x) { x.DeleteRows(0, 3, false); }},
      {"delete no column", [](TRPTableItemInfo& x) { x.DeleteCols(1, 0, false); }},
      {"delete a row past the end", [](TRPTableItemInfo& x) { x.DeleteRows(2, 1, false); }},
  };
  const std::string before = DumpGrid(t.Table->Rows());
  for (const auto& k : bad) {
    SCOPED_TRACE(k.Name);
    try {
      k.Run(*t.Table);
      ADD_FAILURE() << "no error";
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Invalid row or column index");
    }
    EXPECT_EQ(DumpGrid(t.Table->Rows()), before);
  }
  t.Table->InsertRows(2, 1, -1);  // at RowCount: one empty row appended
  EXPECT_EQ(t.Table->Rows().GetRowCount(), 3);
  t.Table->DeleteCols(1, 9, false);  // cut to the columns left
  EXPECT_EQ(t.Table->Rows().GetColCount(), 1);
  TTableInDocument empty(0, 0);
  empty.Table->DeleteRows(0, 1, false);  // nothing on an empty grid
  empty.Table->DeleteCols(5, -1, false);
  EXPECT_EQ(empty.Table->Rows().GetRowCount(), 0);
}

TEST(RPTableGridStepsTest, DeleteEmptyRowsRemovesRowsMadeOfCoveredPositions) {
  TTableInDocument t(5, 2);
  ASSERT_TRUE(t.Table->MergeCells(1, 0, 2, 3, true));  // rows 2 and 3 keep no cell of their own
  t.SetText(1, 0, "kept");
  t.Table->DeleteEmptyRows();
  EXPECT_EQ(t.Table->Rows().GetRowCount(), 3);
  EXPECT_EQ(t.Cell(1, 0).GetRowSpan(), 1);
  EXPECT_EQ(t.Cell(1, 0).GetItemTextRaw(0), "kept");
  ExpectGridInvariants(t.Table->Rows());
}

// --- The steps, each with its reverse -------------------------------------------------------

struct TStepPair {
  const char* Name;
  // Does the step and its reverse on the grid (false when the grid offers no place for
  // them); checks what lies between on the way.
  std::function<bool(TTableInDocument&, std::mt19937&)> Run;
};

// A cell spanning more than one row (column) and its position; false when none.
bool FindSpanning(const TRPTableRows& rows, bool byRows, int32_t& row, int32_t& col) {
  for (row = 0; row < rows.GetRowCount(); ++row)
    for (col = 0; col < rows.GetColCount(); ++col)
      if (const TRPTableCellData* cell = rows.GetCell(row, col);
          cell && (byRows ? cell->GetRowSpan() : cell->GetColSpan()) > 1)
        return true;
  return false;
}

void ExpectHeld(const TRPTableCellData* cell, const TRPTableCellHolder& holder) {
  if (!cell) return;
  EXPECT_EQ(cell->GetUndoHolder(), &holder);
  EXPECT_EQ(cell->GetTable(), nullptr);
  EXPECT_EQ(cell->GetRow(), nullptr);
}

const TStepPair StepPairs[] = {
    {"rows inserted and deleted",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       const int32_t index = Pick(random, rows.GetRowCount() + 1), count = 1 + Pick(random, 3);
       rows.InsertRowsRaw(index, count);
       EXPECT_EQ(rows.GetRow(index)->Count(), rows.GetColCount());
       rows.DeleteRowsRaw(index, count);
       return true;
     }},
    {"a cell inserted and deleted",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       const int32_t row = Pick(random, rows.GetRowCount()), col = Pick(random, rows.GetColCount() + 1);
       rows.InsertCellRaw(row, col);
       EXPECT_NE(rows.GetCell(row, col), nullptr);
       rows.DeleteCellRaw(row, col);
       return true;
     }},
    {"a span taken back and spread again",
     [](TTableInDocument& t, std::mt19937&) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t row = 0, col = 0;
       if (!FindSpanning(rows, false, row, col)) return false;
       const int32_t span = rows.GetCell(row, col)->GetColSpan();
       rows.UnspreadOverEmptyCells(row, col, span);
       EXPECT_NE(rows.GetCell(row, col + span - 1), nullptr);
       rows.SpreadOverEmptyCells(row, col, span);
       return true;
     }},
    {"a span set and set back",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t row = 0, col = 0;
       if (!FindSpanning(rows, random() % 2 == 0, row, col)) return false;
       const int32_t old = rows.GetCell(row, col)->GetRowSpan();
       rows.SetSpan(row, col, old + 2, false);
       EXPECT_EQ(rows.GetCell(row, col)->GetRowSpan(), old + 2);
       rows.SetSpan(row, col, old, false);
       return true;
     }},
    {"cells created under a merged cell and freed",
     [](TTableInDocument& t, std::mt19937&) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t row = 0, col = 0;
       if (!FindSpanning(rows, true, row, col)) return false;
       const TRPTableCellData& cell = *rows.GetCell(row, col);
       const int32_t cols = cell.GetColSpan(), rowCount = cell.GetRowSpan() - 1;
       rows.CreateCellsInArea(row + 1, col, cols, rowCount);
       EXPECT_NE(rows.GetCell(row + rowCount, col + cols - 1), nullptr);
       rows.FreeCellsInArea(row + 1, col, cols, rowCount);
       return true;
     }},
    {"empty positions inserted and deleted",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       const int32_t row = Pick(random, rows.GetRowCount());
       const int32_t rowCount = 1 + Pick(random, rows.GetRowCount() - row);
       const int32_t col = Pick(random, rows.GetColCount() + 1), count = 1 + Pick(random, 2);
       rows.InsertEmptyInArea(row, col, count, rowCount);
       EXPECT_EQ(rows.GetCell(row, col), nullptr);
       rows.DeleteEntriesInArea(row, col, count, rowCount);
       return true;
     }},
    {"a cell split across rows and joined",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t row = 0, col = 0;
       if (!FindSpanning(rows, true, row, col)) return false;
       const int32_t oldBestHeight = rows.GetCell(row, col)->BestHeight;
       const int32_t at = row + 1 + Pick(random, rows.GetCell(row, col)->GetRowSpan() - 1);
       rows.SplitCellHorz(row, col, at, random() % 2 == 0);
       ExpectGridInvariants(rows);
       rows.UnsplitCellHorz(row, col, at, oldBestHeight);
       return true;
     }},
    {"a cell split across columns and joined",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t row = 0, col = 0;
       if (!FindSpanning(rows, false, row, col)) return false;
       const int32_t oldBestWidth = rows.GetCell(row, col)->BestWidth;
       const int32_t at = col + 1 + Pick(random, rows.GetCell(row, col)->GetColSpan() - 1);
       rows.SplitCellVert(row, col, at, random() % 2 == 0);
       ExpectGridInvariants(rows);
       rows.UnsplitCellVert(row, col, at, oldBestWidth);
       return true;
     }},
    {"rows removed to a holder and restored",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       const int32_t index = Pick(random, rows.GetRowCount());
       const int32_t count = 1 + Pick(random, rows.GetRowCount() - index);
       TRPTableRowsHolder holder;
       const TRPTableCellData* first = rows.GetCell(index, 0);
       rows.RemoveRows(index, count, &holder);
       EXPECT_EQ(holder.Rows.size(), static_cast<size_t>(count));
       ExpectHeld(first, holder);
       rows.RestoreRows(index, holder.Rows);
       EXPECT_TRUE(holder.Rows.empty());
       EXPECT_EQ(rows.GetCell(index, 0), first);
       return true;
     }},
    {"columns removed to a holder and restored",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       const int32_t index = Pick(random, rows.GetColCount());
       const int32_t count = 1 + Pick(random, rows.GetColCount() - index);
       TRPTableCellsHolder holder;
       const TRPTableCellData* first = rows.GetCell(0, index);
       rows.RemoveCols(index, count, &holder);
       EXPECT_EQ(holder.Cells.size(), static_cast<size_t>(count * rows.GetRowCount()));
       ExpectHeld(first, holder);
       rows.RestoreCols(index, holder.Cells);
       EXPECT_EQ(rows.GetCell(0, index), first);
       return true;
     }},
    {"cells cleared into a holder and restored",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       TRPIntegerList rowList, colList;
       for (int32_t r = 0; r < rows.GetRowCount(); ++r)
         for (int32_t c = 0; c < rows.GetColCount(); ++c)
           if (rows.GetCell(r, c) && random() % 2 == 0) {
             rowList.Add(r);
             colList.Add(c);
           }
       TRPTableCellsHolder holder;
       rows.ClearCells(&holder, rowList, colList);
       ExpectGridInvariants(rows);
       for (int32_t i = 0; i < rowList.Count(); ++i) {
         EXPECT_FALSE(rows.GetCell(rowList[i], colList[i])->HasContent(true));
         ExpectHeld(holder.Cells[static_cast<size_t>(i)].get(), holder);
       }
       rows.RestoreClearedCells(holder.Cells, rowList, colList);
       return true;
     }},
    {"cells detached and attached",
     [](TTableInDocument& t, std::mt19937&) {
       TRPTableRows& rows = t.Table->Rows();
       TRPTableRowsHolder holder;
       rows.DetachCells(0, 0, rows.GetColCount(), rows.GetRowCount(), holder);
       ExpectHeld(rows.GetCell(0, 0), holder);
       rows.AttachCells(0, 0, rows.GetColCount(), rows.GetRowCount());
       return true;
     }},
    {"a merge into a holder and unmerged",
     [](TTableInDocument& t, std::mt19937& random) {
       TRPTableRows& rows = t.Table->Rows();
       int32_t top = Pick(random, rows.GetRowCount()), left = Pick(random, rows.GetColCount());
       int32_t cols = 1 + Pick(random, 3), rowCount = 1 + Pick(random, 3);
       if (!rows.ClampMergeArea(top, left, cols, rowCount) || !rows.CanMergeCells(top, left, cols, rowCount, true))
         return false;
       const TRPTableCellData& target = *rows.GetCell(top, left);
       const int32_t oldCols = target.GetColSpan(), oldRows = target.GetRowSpan(), oldWidth = target.BestWidth;
       TRPTableMergeHolder holder;
       rows.DoMergeCells(top, left, cols, rowCount, true, &holder);
       ExpectGridInvariants(rows);
       for (const TRPTableMergeItem& item : holder.Items) ExpectHeld(item.Cell.get(), holder);
       rows.UnmergeCells(top, left, oldCols, oldRows, oldWidth, holder.Items);
       return true;
     }},
};

void PrintTo(const TStepPair& pair, std::ostream* os) { *os << pair.Name; }

class RPTableStepPairTest : public testing::TestWithParam<TStepPair> {};

TEST_P(RPTableStepPairTest, TheReverseStepGivesBackTheGrid) {
  std::mt19937 random(2024);
  int ran = 0;
  for (int round = 0; round < 60; ++round) {
    TTableInDocument t(1 + Pick(random, 5), 1 + Pick(random, 5));
    FillRandomly(t, random);
    const std::string before = DumpGrid(t.Table->Rows());
    SCOPED_TRACE(round);
    if (!GetParam().Run(t, random)) continue;
    ++ran;
    ASSERT_EQ(DumpGrid(t.Table->Rows()), before);
    ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
  }
  EXPECT_GT(ran, 10);
}

INSTANTIATE_TEST_SUITE_P(Steps, RPTableStepPairTest, testing::ValuesIn(StepPairs),
                         [](const testing::TestParamInfo<TStepPair>& param) {
                           std::string name;
                           for (const char* p = param.param.Name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

// Merging, undoing the merge and merging again: the same grid, the absorbed cells' items
// back in their cells in their order.
TEST(RPTableGridStepsTest, AMergeUndoneAndRedoneGivesTheSameGrid) {
  TTableInDocument t(2, 2);
  t.SetText(0, 0, "a");
  t.SetText(0, 1, "b");
  t.Cell(0, 1).AddRawText("b2", 0, -1);
  t.SetText(1, 1, "d");
  TRPTableRows& rows = t.Table->Rows();
  const std::string before = DumpGrid(rows);
  TRPTableMergeHolder holder;
  rows.DoMergeCells(0, 0, 2, 2, true, &holder);
  const std::string merged = DumpGrid(rows);
  ASSERT_EQ(t.Cell(0, 0).GetItemCount(), 4);
  ASSERT_EQ(holder.Items.size(), 3u);
  EXPECT_EQ(holder.Items[0].ItemCount, 2);
  EXPECT_EQ(holder.Items[1].ItemCount, 0);  // (1,0) had no content
  rows.UnmergeCells(0, 0, 1, 1, 0, holder.Items);
  EXPECT_EQ(DumpGrid(rows), before);
  EXPECT_EQ(t.Cell(0, 1).GetItemTextRaw(1), "b2");
  EXPECT_TRUE(t.Cell(0, 1).GetItem(1)->GetContinuesLine());
  rows.DoMergeCells(0, 0, 2, 2, true, &holder);
  EXPECT_EQ(DumpGrid(rows), merged);
}

// Clearing without a holder empties the cells where they stand.
TEST(RPTableGridStepsTest, ClearingInPlaceLeavesOneEmptyItem) {
  TTableInDocument t(1, 2);
  t.SetText(0, 1, "x");
  t.Cell(0, 1).SetCellColor(clRed);
  TRPTableCellData* cell = &t.Cell(0, 1);
  TRPIntegerList rows, cols;
  rows.Add(0);
  cols.Add(1);
  t.Table->Rows().ClearCells(nullptr, rows, cols);
  EXPECT_EQ(t.Table->GetCell(0, 1), cell);
  ASSERT_EQ(cell->GetItemCount(), 1);
  EXPECT_FALSE(cell->HasContent(true));
  EXPECT_EQ(cell->GetCellColor(), clRed);
}

// Long random sequences of operations through an editor that records undo, each followed
// by a random step and its reverse: after every operation the grid keeps its invariants,
// undoing the operation gives back the grid as it was (cells, contents and attributes),
// every step undone by its reverse too, and undoing everything gives the first grid.
TEST(RPTableGridStepsTest, EveryOperationIsUndoneByItsNotes) {
  std::mt19937 random(3141);
  for (int round = 0; round < 40; ++round) {
    TJournaledTable jt(1 + Pick(random, 5), 1 + Pick(random, 5));
    TTableInDocument& t = *jt.Table;
    FillRandomly(t, random);
    const size_t start = jt.Journal.Mark();
    const std::string first = DumpGrid(t.Table->Rows());
    for (int step = 0; step < 25; ++step) {
      const std::string before = DumpGrid(t.Table->Rows());
      const size_t mark = jt.Journal.Mark();
      std::mt19937 replay = random;
      const std::string operation = RandomOperation(*t.Table, random);
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step) + ": " + operation);
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
      ASSERT_EQ(jt.Journal.OpenBrackets, 0);
      const std::string after = DumpGrid(t.Table->Rows());
      jt.Journal.UndoTo(mark);
      ASSERT_EQ(DumpGrid(t.Table->Rows()), before);
      ASSERT_NO_FATAL_FAILURE(ExpectGridInvariants(t.Table->Rows()));
      // The same operation again, to go on from its result.
      RandomOperation(*t.Table, replay);
      ASSERT_EQ(DumpGrid(t.Table->Rows()), after);
      if (t.Table->Rows().IsEmpty()) continue;
      const TStepPair& pair = StepPairs[Pick(random, static_cast<int32_t>(std::size(StepPairs)))];
      SCOPED_TRACE(pair.Name);
      pair.Run(t, random);
      ASSERT_EQ(DumpGrid(t.Table->Rows()), after);
    }
    jt.Journal.UndoTo(start);
    EXPECT_EQ(DumpGrid(t.Table->Rows()), first) << "round " << round;
  }
}

}  // namespace
