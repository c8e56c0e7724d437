// The live-spelling thread with a checker that knows a list of wrong words: what a word
// is, which items are never checked, the marks and their painting, the pause that the
// document's changes take, edits while the walk runs, and ending the walk.
#include "richtext/layout/view/RPThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "../../model/RPTestCanvas.h"
#include "RPThreadTestData.h"
#include "platform/base/CodePages.h"

namespace {

// A view whose checker finds the words of a list wrong and records what it was asked.
struct TListCheckedView : TSpellingView {
  explicit TListCheckedView(std::set<AnsiString> wrong) : Wrong(std::move(wrong)) {
    Pane.OnSpellingCheck = [this](TCustomRichPane* sender, const AnsiString& word, int32_t, bool& misspelled) {
      EXPECT_EQ(sender, &Pane);
      EXPECT_FALSE(TThread::IsMainThread());
      if (Delay.count() > 0) std::this_thread::sleep_for(Delay);
      const std::lock_guard lock(AskedLock);
      Asked.push_back(word);
      misspelled = Wrong.count(word) != 0;
    };
  }
  std::vector<AnsiString> TakeAsked() {
    const std::lock_guard lock(AskedLock);
    return std::exchange(Asked, {});
  }
  const std::set<AnsiString> Wrong;
  std::chrono::microseconds Delay{0};
  std::mutex AskedLock;
  std::vector<AnsiString> Asked;
};

TEST(RPThreadTest, WordsEndAtDelimitersAndKeepInnerApostrophes) {
  TListCheckedView view({"wordz", "quoted"});
  view.Data().AddTextW(u"Don't stop 'quoted' wordz, ''rock'n'roll'' (x)", PlainStyle, TRPTag(), 0);
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{"Don't", "stop", "quoted", "wordz", "rock'n'roll", "x"}));
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:13:6", "0:21:5"}));
  EXPECT_NE(view.Data().GetItem(0)->ItemState & rpisSpellChecked, 0);
}

TEST(RPThreadTest, LinksThatLookLikeAddressesAndSymbolFontsAreNeverChecked) {
  TListCheckedView view({"clik", "exampel", "qwrtz"});
  view.Data().AddTextW(u"www.exampel.com", LinkStyle, TRPTag(), 0);
  view.Data().AddTextW(u"mail@exampel.com", LinkStyle, TRPTag(), 0);
  view.Data().AddTextW(u"clik here", LinkStyle, TRPTag(), 0);
  view.Data().AddTextW(u"qwrtz", SymbolStyle, TRPTag(), 0);
  // An old mark on a text that is no longer checked goes.
  view.Data().GetItem(3)->AddMisspelling(1, 5);
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{"clik", "here"}));
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"2:1:4"}));
}

TEST(RPThreadTest, UnicodeTextIsAskedInItsStylesCodePage) {
  TListCheckedView view({WideToAnsi(u"прыгаит", 1251)});
  view.Data().AddTextW(u"лиса прыгаит", RussianStyle, TRPTag(), 0);
  ASSERT_TRUE(view.Data().GetItem(0)->IsUnicode());
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{WideToAnsi(u"лиса", 1251), WideToAnsi(u"прыгаит", 1251)}));
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:6:7"}));
}

// With only the 8-bit question, a Unicode word goes through its style's code page: one
// that code page cannot hold (Greek in the Cyrillic code page, a letter of another
// alphabet inside a word) is not asked and not marked; in a Greek style the Greek words
// are asked in code page 1253. The checker finds every word it is asked wrong.
TEST(RPThreadTest, UnicodeWordsTheirCodePageCannotHoldAreNotAskedInEightBits) {
  const struct {
    const char* Name;
    uint8_t Charset;
    std::vector<AnsiString> Asked;
    std::set<std::string> Marks;
  } cases[] = {
      {"a Cyrillic style", 204, {"cat", WideToAnsi(u"лиса", 1251)}, {"0:1:3", "0:22:4"}},
      {"a Greek style",
       161,
       {"cat", WideToAnsi(u"γάτα", 1253), WideToAnsi(u"σπίτι", 1253)},
       {"0:1:3", "0:5:4", "0:10:5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TSpellingView view;
    std::vector<AnsiString> asked;
    std::mutex lock;
    view.Pane.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      const std::lock_guard guard(lock);
      asked.push_back(word);
      misspelled = true;
    };
    view.Style.TextStyles()[RussianStyle]->Charset = c.Charset;
    view.Data().AddTextW(u"cat γάτα σπίτι naïve лиса", RussianStyle, TRPTag(), 0);
    view.Pane.StartLiveSpelling();
    view.WaitForTheWalk();
    const std::lock_guard guard(lock);
    EXPECT_EQ(asked, c.Asked);
    EXPECT_EQ(view.Marks(), c.Marks);
  }
}

TEST(RPThreadTest, ADocumentWithoutTextEndsTheWalkAtOnce) {
  TListCheckedView view({});
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_TRUE(view.TakeAsked().empty());
  EXPECT_EQ(view.Pane.LiveSpellingThread()->State.load(), TRPWordEnumThread::rpwsRunning);
}

TEST(RPThreadTest, MarksArePaintedUnderTheWordInTheStylesColour) {
  TListCheckedView view({"wrnog"});
  view.Style.LiveSpellingColor = clLime;
  view.Data().AddTextW(u"ok wrnog", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  ASSERT_EQ(view.Marks(), (std::set<std::string>{"0:4:5"}));
  auto page = WhitePage(98, 38);
  view.Pane.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  const TRPDrawLineInfo& line = *view.Data().DrawItems[0];
  const std::vector<int32_t> xs = view.Data().GetCaretXs(0);
  // Caret places are the document's; the page shows the document from its margin on.
  const int32_t dx = view.Data().GetLeftMargin();
  int32_t under = 0, elsewhere = 0;
  for (int32_t y = 0; y < page->Height(); ++y)
    for (int32_t x = 0; x < page->Width(); ++x)
      if (page->PixelColor(x, y) == clLime) {
        const bool inWord =
            x >= xs[3] + dx && x <= xs[8] + dx && y >= line.Top + line.Height - 3 && y <= line.Top + line.Height;
        ++(inWord ? under : elsewhere);
      }
  EXPECT_GT(under, 10);
  EXPECT_EQ(elsewhere, 0);
}

TEST(RPThreadTest, TheDocumentsChangesPauseTheWalkAndAreCheckedAfterward) {
  TListCheckedView view({"wrnog", "bda", "mispeled"});
  view.Delay = std::chrono::microseconds(200);
  std::set<std::string> expected;
  for (int32_t i = 0; i < 60; ++i)
    view.Data().AddTextW(i % 7 == 3 ? u"one wrnog word" : u"all good words here", PlainStyle, TRPTag(), 0);
  view.Pane.StartLiveSpelling();
  // Edits while the walk runs, through the document's own operations.
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  view.Data().AddTextW(u"bda at the end", PlainStyle, TRPTag(), 0);
  view.Data().SetItemTextW(3, u"now fine");
  view.Data().DeleteItems(10, 5);
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  view.Data().InsertItem(0, WideToAnsi(u"a mispeled start"), std::make_unique<TRPTextItemInfo>(&view.Data()));
  view.Data().SetItemTextW(20, u"bda");
  view.WaitForTheWalk();
  for (int32_t i = 0; i < view.Data().GetItemCount(); ++i) {
    const WideString text = view.Data().GetItemTextW(i);
    for (const std::u16string word : {u"wrnog", u"bda", u"mispeled"})
      if (const size_t at = text.find(word); at != WideString::npos)
        expected.insert(std::to_string(i) + ":" + std::to_string(at + 1) + ":" + std::to_string(word.size()));
  }
  EXPECT_EQ(view.Marks(), expected);
  // Every text item is flagged as checked.
  for (int32_t i = 0; i < view.Data().GetItemCount(); ++i)
    EXPECT_NE(view.Data().GetItem(i)->ItemState & rpisSpellChecked, 0) << i;
}

TEST(RPThreadTest, TypingIntoAMarkedWordBehindTheWalkChecksItAgain) {
  TListCheckedView view({"wrnog", "bda", "bdax"});
  view.Data().AddTextW(u"a wrnog bda", PlainStyle, TRPTag(), 0);
  view.Data().AddTextW(u"tail", PlainStyle, TRPTag(), 0);
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  ASSERT_EQ(view.Marks(), (std::set<std::string>{"0:3:5", "0:9:3"}));
  TRPWordEnumThread& thread = *view.Pane.LiveSpellingThread();
  view.Pane.PauseLiveSpelling();
  EXPECT_TRUE(thread.HasPassed(&view.Data(), 0));
  view.Pane.ResumeLiveSpelling();
  view.WaitForTheWalk();
  view.TakeAsked();
  // A character typed inside a marked word drops its mark; the walk goes back over the
  // item, skipping the words still marked.
  view.Pane.AdjustSpellingOnInsert(view.Data(), 0, 10, u'd');
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:3:5"}));
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{"a", "bda"}));
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:3:5", "0:9:3"}));
  // The text itself changed: the item loses its marks and is checked whole.
  view.Data().SetItemTextRaw(0, "a wrnog bdax");
  view.WaitForTheWalk();
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{"a", "wrnog", "bdax"}));
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:3:5", "0:9:4"}));
  // A character typed into an unmarked word is left for RecheckModifiedWord.
  view.Pane.AdjustSpellingOnInsert(view.Data(), 1, 5, u's');
  view.WaitForTheWalk();
  EXPECT_TRUE(thread.WordModified);
  EXPECT_TRUE(view.TakeAsked().empty());
  view.Pane.RecheckModifiedWord(view.Data(), 1);
  view.WaitForTheWalk();
  EXPECT_FALSE(thread.WordModified);
  EXPECT_EQ(view.TakeAsked(), (std::vector<AnsiString>{"tail"}));
}

TEST(RPThreadTest, TypingKeepsTheWalkWaitingUntilAQuietDelayAfterTheLastEdit) {
  using TClock = std::chrono::steady_clock;
  TSpellingView view;
  std::mutex lock;
  std::vector<std::pair<TClock::time_point, AnsiString>> asked;
  view.Pane.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool&) {
    const std::lock_guard guard(lock);
    asked.emplace_back(TClock::now(), word);
  };
  view.Data().AddTextW(u"word", PlainStyle, TRPTag(), 0);
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  std::vector<TClock::time_point> edits;
  for (int32_t i = 0; i < 8; ++i) {
    view.Data().SetItemTextRaw(0, "word" + std::to_string(i));
    edits.push_back(TClock::now());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  view.WaitForTheWalk();
  const std::lock_guard guard(lock);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back().second, "word7");
  // Every word asked after an edit waited the quiet delay after the latest edit before it.
  for (const auto& [at, word] : asked) {
    const auto before = std::find_if(edits.rbegin(), edits.rend(), [&](TClock::time_point edit) { return edit <= at; });
    if (before != edits.rend()) {
      EXPECT_GE(at - *before, std::chrono::milliseconds(TRPWordEnumThread::QuietDelayMs)) << word;
    }
  }
}

TEST(RPThreadTest, StopAndStartAgain) {
  TListCheckedView view({"bda"});
  view.Data().AddTextW(u"bda", PlainStyle, TRPTag(), 0);
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  view.Pane.StopLiveSpelling();
  EXPECT_EQ(view.Pane.LiveSpellingThread(), nullptr);
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:1:3"}));
  // Without the thread the document's changes go on as before.
  view.Data().AddTextW(u"bda", PlainStyle, TRPTag(), 0);
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:1:3"}));
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), (std::set<std::string>{"0:1:3", "1:1:3"}));
  // Clearing the document ends live spelling.
  view.Pane.Clear();
  EXPECT_EQ(view.Pane.LiveSpellingThread(), nullptr);
}

TEST(RPThreadTest, DestroyingTheControlEndsAndJoinsAWalkInTheMiddleOfAWord) {
  std::atomic<int32_t> asked{0};
  std::atomic<bool> inChecker{false};
  {
    TSpellingView view;
    for (int32_t i = 0; i < 200; ++i) view.Data().AddTextW(u"some words to check", PlainStyle, TRPTag(), 0);
    view.Pane.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString&, int32_t, bool& misspelled) {
      inChecker = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      ++asked;
      misspelled = true;  // every word: the walk keeps handing marks to this thread
    };
    view.Pane.StartLiveSpelling();
    while (!inChecker.load()) std::this_thread::yield();
  }
  // The view and its document are gone; the thread went before them.
  EXPECT_GT(asked.load(), 0);
  EXPECT_LT(asked.load(), 800);
}

TEST(RPThreadTest, PendingPositionsKeepTheEarliest) {
  TCustomRPData data, other;
  TRPWordEnumThread thread;
  thread.RequestRecheckFrom(&data, 5, 3);
  thread.RequestRecheckFrom(&data, 6, 1);
  EXPECT_EQ(std::make_pair(thread.PendingItem, thread.PendingOffset), std::make_pair(5, 3));
  thread.RequestRecheckFrom(&data, 5, 2);
  EXPECT_EQ(std::make_pair(thread.PendingItem, thread.PendingOffset), std::make_pair(5, 2));
  thread.RequestRecheckFrom(&other, 9, 9);  // another document replaces it
  EXPECT_EQ(thread.PendingData, &other);
  // A freed sub-document takes its pending position with it.
  thread.NotifyCellDeleted(&other);
  EXPECT_EQ(thread.PendingItem, -1);
  thread.CurrentData = &data;
  thread.NotifyCellDeleted(&data);
  EXPECT_TRUE(thread.RestartPending);
  EXPECT_FALSE(thread.HasPassed(&data, 0));
}

}  // namespace
