// A rich view whose live spelling the tests run: text styles for hyperlinks, a symbol
// font and Unicode Russian text, the marks the walk left, and a wait for the walk's end.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "RPViewTestData.h"
#include "platform/base/Threads.h"

// Text styles of the view: 0 plain, 2 a symbol font, 3 Unicode text in the Cyrillic
// character set, 4 hyperlinks (as a new style sheet has them).
inline constexpr int32_t PlainStyle = 0, SymbolStyle = 2, RussianStyle = 3, LinkStyle = 4;

struct TSpellingView : TTestRichPane {
  TSpellingView() {
    Style.TextStyles()[SymbolStyle]->Charset = 2;
    Style.TextStyles()[RussianStyle]->Unicode = true;
    Style.TextStyles()[RussianStyle]->Charset = 204;  // RUSSIAN_CHARSET: code page 1251
    EXPECT_TRUE(Style.TextStyles()[LinkStyle]->Jump);
  }
  ~TSpellingView() { Pane.StopLiveSpelling(); }

  TRichPaneRPData& Data() { return Pane.RPData(); }
  // Returns once the walk has reached the end of the document and waits for work,
  // running the calls it hands to this thread meanwhile.
  void WaitForTheWalk() {
    TRPWordEnumThread* thread = Pane.LiveSpellingThread();
    ASSERT_NE(thread, nullptr);
    SynchronizeUntil([thread] { return thread->WaitsForWork(); });
  }
  // The marks of every item of the main document as "item:start:length".
  std::set<std::string> Marks() {
    std::set<std::string> marks;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      if (!item.WordPainters) continue;
      for (int32_t p = 0; p < item.WordPainters->Count(); ++p) {
        const TRPWordPainter& painter = *item.WordPainters->Items(p);
        if (painter.IsMisspelling())
          marks.insert(std::to_string(i) + ":" + std::to_string(painter.StartOffs) + ":" +
                       std::to_string(painter.Length));
      }
    }
    return marks;
  }
};

// Texts with their misspelled words starred ("a *wrng* word"): the text without stars,
// and the marks "item:start:length" those words get when the text is item itemNo.
struct TStarredText {
  WideString Text;
  std::vector<std::pair<int32_t, int32_t>> Words;  // 1-based start, length
};

inline TStarredText Unstar(const std::u16string& starred) {
  TStarredText result;
  int32_t start = -1;
  for (char16_t ch : starred) {
    if (ch == u'*') {
      if (start < 0) {
        start = static_cast<int32_t>(result.Text.size()) + 1;
      } else {
        result.Words.emplace_back(start, static_cast<int32_t>(result.Text.size()) + 1 - start);
        start = -1;
      }
      continue;
    }
    result.Text += ch;
  }
  return result;
}

inline void AddMarks(std::set<std::string>& marks, int32_t itemNo, const TStarredText& text) {
  for (const auto& [start, length] : text.Words)
    marks.insert(std::to_string(itemNo) + ":" + std::to_string(start) + ":" + std::to_string(length));
}
