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
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPWordPainters.h"
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

// Typing and Backspace move the marks of the words after the caret with the text, and a
// misspelled word typed into loses its mark and is asked again.
struct TMarksCase {
  const char* Name;
  int32_t CaretOffset;
  bool Typing;
  const char16_t* Text;
  int32_t Shift;
  // Whether the marks stand moved at once (Backspace sends the walk back to the start of
  // the paragraph, which takes the item's marks off until it has checked it again).
  bool MovedAtOnce;
};

TEST_F(RPLiveSpellingEditTest, TypingAndBackspaceKeepTheWordMarksInStep) {
  const TMarksCase cases[] = {
      {"typing before the word", 1, true, u"xone wrng", 1, true},
      {"Backspace before the word", 4, false, u"on wrng", -1, false},
  };
  for (const TMarksCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Pane.StopLiveSpelling();
    Data().Clear();
    AddW(u"one wrng");
    Format();
    Pane.StartLiveSpelling();
    WaitForTheWalk();
    const std::vector<std::pair<int32_t, int32_t>> marked = Marks(0);
    ASSERT_EQ(marked.size(), 1u);
    const std::vector<std::pair<int32_t, int32_t>> shifted{{marked[0].first + c.Shift, marked[0].second}};

    Pane.SetCurTextStyleNo(UnicodeStyle);
    Data().SetCaretAtItemPos(0, c.CaretOffset);
    if (c.Typing)
      Data().TypeText(WideToRawUnicode(u"x"), 0);
    else
      Data().DeleteCharBackward(false, false, false);
    EXPECT_EQ(TextOf(0), c.Text);
    if (c.MovedAtOnce) {
      EXPECT_EQ(Marks(0), shifted);
    }
    WaitForTheWalk();
    EXPECT_EQ(Marks(0), shifted);
  }
}

// Typing into one word leaves the walk where it was: the item's other words are not
// asked again, so their marks never go while the walk would come back for them.
TEST_F(RPLiveSpellingEditTest, TypingLeavesTheOtherWordsMarksStanding) {
  AddW(u"one wrng two");
  Format();
  Pane.StartLiveSpelling();
  WaitForTheWalk();
  ASSERT_EQ(Marks(0), (std::vector<std::pair<int32_t, int32_t>>{{5, 4}}));
  TakeAsked();
  Pane.SetCurTextStyleNo(UnicodeStyle);
  for (int32_t offset : {13, 1}) {
    Data().SetCaretAtItemPos(0, offset);
    Data().TypeText(WideToRawUnicode(u"x"), 0);
  }
  EXPECT_EQ(TextOf(0), u"xone wrng twox");
  EXPECT_EQ(Marks(0), (std::vector<std::pair<int32_t, int32_t>>{{6, 4}}));
  WaitForTheWalk();
  const std::vector<AnsiString> asked = TakeAsked();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "wrng"), 0);
  EXPECT_EQ(Marks(0), (std::vector<std::pair<int32_t, int32_t>>{{6, 4}}));
}

TEST_F(RPLiveSpellingEditTest, AMisspelledWordTypedIntoIsAskedAgain) {
  AddW(u"one wrng");
  Format();
  Pane.StartLiveSpelling();
  WaitForTheWalk();
  ASSERT_EQ(Marks(0).size(), 1u);
  TakeAsked();
  Pane.SetCurTextStyleNo(UnicodeStyle);
  Data().SetCaretAtItemPos(0, 7);
  Data().TypeText(WideToRawUnicode(u"o"), 0);
  EXPECT_EQ(TextOf(0), u"one wrong");
  EXPECT_TRUE(Marks(0).empty());
  WaitForTheWalk();
  const std::vector<AnsiString> asked = TakeAsked();
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "wrong"), 1);
  EXPECT_TRUE(Marks(0).empty());
}

// After an edit the walk goes back to the start of the caret's paragraph, not only to
// the changed item; a style change of an item sends it back to that item.
TEST_F(RPLiveSpellingEditTest, EditsSendTheWalkBack) {
  AddW(u"alpha");
  AddW(u"beta ");
  AddW(u"gamma", SerifStyle, -1);
  AddW(u"delta");
  Format();
  Pane.StartLiveSpelling();
  WaitForTheWalk();
  TRPWordEnumThread* thread = Pane.LiveSpellingThread();

  Pane.PauseLiveSpelling();
  Pane.SetCurTextStyleNo(SerifStyle);
  Data().SetCaretAtItemPos(2, 6);
  Data().DeleteCharBackward(false, false, false);
  ASSERT_EQ(TextOf(2), u"gamm");
  EXPECT_EQ(thread->PendingData, &Data());
  EXPECT_EQ(thread->PendingItem, 1);
  Pane.ResumeLiveSpelling();
  WaitForTheWalk();

  Pane.PauseLiveSpelling();
  Data().ChangeStyleNoUndoable(3, BoldStyle);
  EXPECT_EQ(thread->PendingData, &Data());
  EXPECT_EQ(thread->PendingItem, 3);
  Pane.ResumeLiveSpelling();
  WaitForTheWalk();
}

}  // namespace
