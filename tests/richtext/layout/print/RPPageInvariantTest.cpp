// Page breaking over many generated documents: text paragraphs with random spacing and
// keep options, page breaks before, tall blocks and blocks that split, on pages of
// random sizes. Whatever the document, the pages must cover every draw item once (a
// split item over consecutive pages), break only at line starts or split items, never be
// empty, honour page breaks before, the keep rules and the SpaceAfter rule.
#include <gtest/gtest.h>

#include <random>

#include "RPPrintTestData.h"

namespace {

struct TGenerated {
  int32_t PageWidth = 200;
  int32_t PageHeight = 100;
};

TGenerated Generate(TReportFixture& f, std::mt19937& random) {
  auto pick = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
  static const char* const Words[] = {"a",   "page", "breaks",  "here",      "when", "the",     "line",  "does",
                                      "not", "fit",  "anymore", "paragraph", "of",   "several", "words", "x"};
  TGenerated g;
  g.PageHeight = pick(40, 220);
  // Paragraph styles 1 .. 6 with spacing and keep options.
  for (int32_t s = 0; s < 6; ++s) {
    TParaInfo& para = f.Para(f.AddParaStyle());
    para.SpaceBefore = pick(0, 3) == 0 ? pick(1, 15) : 0;
    para.SpaceAfter = pick(0, 2) == 0 ? pick(1, 25) : 0;
    if (pick(0, 2) == 0) para.Options.Include(rppaoKeepLinesTogether);
    if (pick(0, 2) == 0) para.Options.Include(rppaoKeepWithNext);
  }
  const int32_t paragraphs = pick(1, 25);
  for (int32_t p = 0; p < paragraphs; ++p) {
    const int32_t paraNo = pick(0, 6);
    const int32_t first = f.Data().GetItemCount();
    const int32_t kind = pick(0, 9);
    if (kind == 0) {
      f.AddBlocks(paraNo, {pick(5, 150)});
    } else if (kind == 1) {
      f.AddSplitBlock(paraNo, pick(30, 400), pick(5, 40));
    } else {
      std::string text;
      for (int32_t w = pick(1, 60); w > 0; --w) text += std::string(Words[pick(0, 15)]) + (w > 1 ? " " : "");
      f.Data().AddAnsiText(text, 0, TRPTag(), paraNo);
    }
    if (first > 0 && pick(0, 7) == 0) f.Data().GetItem(first)->SetPageBreakBefore(true);
  }
  return g;
}

class RPPageInvariantTest : public testing::Test {
protected:
  TReportRPData* Data = nullptr;
  int32_t Count = 0;

  TRPDrawLineInfo& D(int32_t i) const { return *Data->DrawItems[i]; }
  const TParaInfo& Para(int32_t i) const { return Data->GetParaStyle(D(i).ItemNo); }
  bool IsMulti(int32_t i) const { return dynamic_cast<const TRPMultiDrawItemInfo*>(&D(i)) != nullptr; }
  int32_t LineStart(int32_t i) const {
    while (i > 0 && !D(i).StartsLine()) --i;
    return i;
  }
  int32_t ParaStart(int32_t i) const {
    while (i > 0 && !Data->IsParaStartDrawItem(i)) --i;
    return i;
  }
  int32_t SpaceAfter(int32_t i) const { return Para(i).SpaceAfter; }
};

TEST_F(RPPageInvariantTest, PagesOfGeneratedDocumentsKeepTheRules) {
  std::mt19937 random(20261210);
  int32_t pagesSeen = 0, splitPages = 0, keepBreaks = 0;
  for (int32_t doc = 0; doc < 300; ++doc) {
    SCOPED_TRACE(doc);
    TReportFixture f(std::uniform_int_distribution<int32_t>(120, 300)(random));
    const TGenerated g = Generate(f, random);
    f.Paginate({g.PageHeight});
    Data = &f.Data();
    Count = Data->DrawItems.Count();
    const int32_t pages = f.Helper.GetPagesCount();
    ASSERT_EQ(pages == 0, Count == 0);
    pagesSeen += pages;
    int32_t previousLast = -1;
    for (int32_t p = 1; p <= pages; ++p) {
      SCOPED_TRACE(p);
      const TRPPageInfo& page = Data->Pages.GetItem(p - 1);
      int32_t first = 0, part = 0, last = 0;
      Data->GetPageDrawItems(p, first, part, last);
      // Never empty; consecutive; a draw item shared by two pages is a split item.
      ASSERT_LE(first, last);
      if (p == 1) {
        ASSERT_EQ(first, 0);
      }
      if (first == previousLast) {
        ASSERT_TRUE(IsMulti(first));
        ASSERT_GT(page.FirstPart, 1);
        ++splitPages;
      } else {
        ASSERT_EQ(first, previousLast + 1);
      }
      previousLast = last;
      // Breaks only at line starts or split items.
      ASSERT_TRUE(D(first).StartsLine() || (IsMulti(first) && page.FirstPart >= 1));
      if (p == 1 || page.FirstPart != 0) continue;
      const int32_t previousFirst = Data->Pages.GetItem(p - 2).FirstDrawItem;
      // A paragraph kept together is broken inside only when it began on the page before
      // or earlier (it does not fit a page).
      if (!Data->IsParaStartDrawItem(first) && Para(first).Options.Contains(rppaoKeepLinesTogether)) {
        ASSERT_LE(ParaStart(first), previousFirst);
        ++keepBreaks;
      }
      // A page that starts right after a keep-with-next paragraph does so only when
      // moving the break before that paragraph (and the chain before it) would have
      // emptied the page before.
      for (int32_t x = first;
           Data->IsParaStartDrawItem(x) && x > 0 && Para(x - 1).Options.Contains(rppaoKeepWithNext);) {
        const int32_t candidate =
            Para(x - 1).Options.Contains(rppaoKeepLinesTogether) ? ParaStart(x - 1) : LineStart(x - 1);
        if (candidate <= previousFirst) break;
        ASSERT_TRUE(Data->IsParaStartDrawItem(candidate) && candidate > 0 &&
                    Para(candidate - 1).Options.Contains(rppaoKeepWithNext))
            << "the page should have begun at " << candidate;
        x = candidate;
        ++keepBreaks;
      }
    }
    ASSERT_EQ(previousLast, Count - 1);
    // Page breaks before: each such item begins a page.
    for (int32_t i = 1; i < Count; ++i)
      if (D(i).ItemNo != D(i - 1).ItemNo && Data->GetPageBreakBefore(D(i).ItemNo)) {
        bool begins = false;
        for (int32_t p = 0; p < pages; ++p) begins |= Data->Pages.GetItem(p).FirstDrawItem == i;
        ASSERT_TRUE(begins) << "draw item " << i;
      }
    // SpaceAfter: every whole draw item below a page's first line ends SpaceAfter above
    // the page's bottom.
    for (int32_t p = 1; p <= pages; ++p) {
      const TRPPageInfo& page = Data->Pages.GetItem(p - 1);
      int32_t first = 0, part = 0, last = 0;
      Data->GetPageDrawItems(p, first, part, last);
      const int32_t top = page.FirstPart > 0 ? page.ContinuedTopY : page.TopY;
      int32_t firstLineEnd = first + 1;
      while (firstLineEnd < Count && !D(firstLineEnd).StartsLine()) ++firstLineEnd;
      for (int32_t i = page.FirstPart > 0 ? first + 1 : firstLineEnd; i <= last; ++i) {
        if (IsMulti(i)) continue;
        ASSERT_LE(D(i).Top + D(i).Height + SpaceAfter(i), top + g.PageHeight) << "page " << p << ", draw item " << i;
      }
    }
  }
  // The generator reaches the cases it is meant to.
  EXPECT_GT(pagesSeen, 1000);
  EXPECT_GT(splitPages, 20);
  EXPECT_GT(keepBreaks, 5);
}

}  // namespace
