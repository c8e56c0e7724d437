// Live spelling walks into the cells of tables and out again, and a table that goes
// away while the walk is in one of its cells sends the walk back to the start.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "platform/base/Threads.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/table/RPTableItem.h"

namespace {

struct TTableSpellingView : TTestRichPane {
  TTableSpellingView() {
    Pane.OnSpellingCheck = [this](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      if (Delay.count() > 0) std::this_thread::sleep_for(Delay);
      const std::lock_guard lock(Lock);
      Asked.push_back(word);
      misspelled = word.size() > 3 && word.substr(0, 3) == "bad";
    };
  }
  ~TTableSpellingView() { Pane.StopLiveSpelling(); }
  TRPTableItemInfo& AddTable(int32_t rows, int32_t cols, const std::vector<std::string>& texts) {
    auto item = std::make_unique<TRPTableItemInfo>(rows, cols, &Pane.RPData());
    TRPTableItemInfo& table = *item;
    Pane.RPData().AddItem("", std::move(item));
    for (size_t i = 0; i < texts.size(); ++i) {
      TRPTableCellData& cell = *table.GetCell(static_cast<int32_t>(i) / cols, static_cast<int32_t>(i) % cols);
      cell.Clear();
      cell.AddRawText(texts[i], 0, 0);
    }
    return table;
  }
  void WaitForTheWalk() {
    TRPWordEnumThread* thread = Pane.LiveSpellingThread();
    SynchronizeUntil([thread] { return thread->WaitsForWork(); });
  }
  std::vector<AnsiString> TakeAsked() {
    const std::lock_guard lock(Lock);
    return std::exchange(Asked, {});
  }
  std::chrono::microseconds Delay{0};
  std::mutex Lock;
  std::vector<AnsiString> Asked;
};

// The misspelling marks of a document's item as "start:length".
std::set<std::string> MarksOf(const TCustomRPItemInfo& item) {
  std::set<std::string> marks;
  if (item.WordPainters)
    for (int32_t i = 0; i < item.WordPainters->Count(); ++i)
      marks.insert(std::to_string(item.WordPainters->Items(i)->StartOffs) + ":" +
                   std::to_string(item.WordPainters->Items(i)->Length));
  return marks;
}

TEST(RPTableSpellingTest, TheWalkGoesThroughTheCellsInReadingOrder) {
  TTableSpellingView view;
  view.Pane.AddTextNL("before badone", 0, 0, 0);
  TRPTableItemInfo& table = view.AddTable(2, 2, {"c11", "c12 badtwo", "c21", "c22"});
  view.Pane.AddTextNL("after badthree", 0, 0, 0);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(),
            (std::vector<AnsiString>{"before", "badone", "c11", "c12", "badtwo", "c21", "c22", "after", "badthree"}));
  EXPECT_EQ(MarksOf(*view.Pane.GetItem(0)), (std::set<std::string>{"8:6"}));
  EXPECT_EQ(MarksOf(*table.GetCell(0, 1)->GetItem(0)), (std::set<std::string>{"5:6"}));
  EXPECT_EQ(MarksOf(*view.Pane.GetItem(2)), (std::set<std::string>{"7:8"}));
}

TEST(RPTableSpellingTest, ATableDeletedWhileTheWalkIsInItsCellsRestartsTheWalk) {
  TTableSpellingView view;
  view.Delay = std::chrono::microseconds(300);
  view.Pane.AddTextNL("start", 0, 0, 0);
  std::vector<std::string> texts(36, "cell text with badword inside");
  view.AddTable(6, 6, texts);
  view.Pane.AddTextNL("end badend", 0, 0, 0);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  // Wait until the walk is inside the table (running the marks it hands to this thread
  // meanwhile), then take the table out of the document.
  for (;;) {
    CheckSynchronize();
    const std::lock_guard lock(view.Lock);
    if (view.Asked.size() > 10) break;
  }
  view.Pane.RPData().DeleteItems(1, 1);
  view.Pane.Format();
  view.WaitForTheWalk();
  ASSERT_EQ(view.Pane.GetItemCount(), 2);
  EXPECT_EQ(MarksOf(*view.Pane.GetItem(1)), (std::set<std::string>{"5:6"}));
  EXPECT_NE(view.Pane.GetItem(0)->ItemState & rpisSpellChecked, 0);
}

TEST(RPTableSpellingTest, RowsAndColumnsChangedWhileTheWalkRunsAreCheckedAfterward) {
  TTableSpellingView view;
  view.Delay = std::chrono::microseconds(300);
  view.Pane.AddTextNL("start", 0, 0, 0);
  TRPTableItemInfo& table = view.AddTable(4, 4, std::vector<std::string>(16, "some cell text badword"));
  view.Pane.AddTextNL("end", 0, 0, 0);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  // The grid changes under the walk: rows go, a merge frees cells, a column comes.
  table.DeleteRows(1, 2, false);
  table.MergeCells(0, 0, 2, 1, false);
  table.InsertCols(1, 1, -1);
  TRPTableCellData& added = *table.GetCell(1, 1);
  added.Clear();
  added.AddRawText("new badtext", 0, 0);
  view.Pane.Format();
  view.WaitForTheWalk();
  // Every cell left is checked, the new one too, with exactly its misspelled word marked.
  for (int32_t row = 0; row < table.Rows().GetRowCount(); ++row)
    for (int32_t col = 0; col < table.Rows().GetColCount(); ++col)
      if (const TRPTableCellData* cell = table.GetCell(row, col))
        for (int32_t i = 0; i < cell->GetItemCount(); ++i) {
          const AnsiString text = cell->GetItemTextA(i);
          const size_t at = text.find("bad");
          ASSERT_NE(at, AnsiString::npos) << row << " " << col << " " << text;
          const size_t end = text.find(' ', at);
          const size_t length = (end == AnsiString::npos ? text.size() : end) - at;
          EXPECT_EQ(MarksOf(*cell->GetItem(i)),
                    (std::set<std::string>{std::to_string(at + 1) + ":" + std::to_string(length)}))
              << row << " " << col;
        }
}

}  // namespace
