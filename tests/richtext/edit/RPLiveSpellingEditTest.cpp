// Live spelling while the editor changes the document: typing and Backspace keep the
// word marks in step with the text, the editing steps stop the spelling walk while they
// change items, and a table built for a document being checked is never walked before
// its rows exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "RPEditTestData.h"
#include "platform/base/Threads.h"
#include "richtext/layout/view/RPThread.h"
#include "richtext/table/RPTableItem.h"

namespace {

struct RPLiveSpellingEditTest : TEditFixture {
  RPLiveSpellingEditTest() {
    Pane.OnSpellingCheck = [this](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      const std::lock_guard guard(Lock);
      Asked.push_back(word);
      misspelled = word == "wrng";
    };
  }
  ~RPLiveSpellingEditTest() override { Pane.StopLiveSpelling(); }

  std::vector<AnsiString> TakeAsked() {
    const std::lock_guard guard(Lock);
    return std::exchange(Asked, {});
  }
  void WaitForTheWalk() {
    TRPWordEnumThread* thread = Pane.LiveSpellingThread();
    ASSERT_NE(thread, nullptr);
    SynchronizeUntil([thread] { return thread->WaitsForWork(); });
  }
  // The misspelling marks of item itemNo as "start+length" pairs.
  std::vector<std::pair<int32_t, int32_t>> Marks(int32_t itemNo) {
    std::vector<std::pair<int32_t, int32_t>> out;
    const TRPWordPainterList* painters = Data().GetItem(itemNo)->WordPainters.get();
    if (!painters) return out;
    for (int32_t i = 0; i < painters->Count(); ++i)
      out.emplace_back(painters->Items(i)->StartOffs, painters->Items(i)->Length);
    return out;
  }

  std::mutex Lock;
  std::vector<AnsiString> Asked;
};

// A table made and filled while the walk runs over the document, then inserted at the
// caret: the walk reaches its cells only once they are in place.
TEST_F(RPLiveSpellingEditTest, ATableBuiltWhileTheWalkRunsIsCheckedWhole) {
  AddW(u"first wrng");
  Format();
  Pane.StartLiveSpelling();
  WaitForTheWalk();
  TakeAsked();

  auto table = std::make_unique<TRPTableItemInfo>(2, 2, &Data());
  for (int32_t r = 0; r < 2; ++r)
    for (int32_t c = 0; c < 2; ++c) {
      table->GetCell(r, c)->Clear();
      table->GetCell(r, c)->AddRawText(r == 1 && c == 1 ? "wrng" : "cell", 0, 0);
    }
  Data().SetCaretAtItemPos(0, Data().GetItemEndOffset(0));
  AnsiString text;
  ASSERT_TRUE(Data().InsertItemAtCaret(std::move(table), text, false));
  WaitForTheWalk();
  const std::vector<AnsiString> asked = TakeAsked();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "cell"), 3);
  auto* inserted = dynamic_cast<TRPTableItemInfo*>(Data().GetItem(1));
  ASSERT_NE(inserted, nullptr);
  const TCustomRPData& marked = *inserted->GetCell(1, 1);
  ASSERT_NE(marked.GetItem(0)->WordPainters, nullptr);
  EXPECT_EQ(marked.GetItem(0)->WordPainters->Count(), 1);
}

}  // namespace
