#include <gtest/gtest.h>

#include "xml/dtd/DtdTestSupport.h"

namespace {

struct TMatchCase {
  const char* Model;
  std::vector<WideString> Children;
  bool Matched;
  int32_t Position;  // after the match
  bool Ambiguity;
};

class DtdContentMatchingTest : public ::testing::Test {
protected:
  TDtdElementDecl& Decl() {
    TDtdElementDecl* decl;
    Model.AddElementDecl(u"e" + WideNumber(Count++), DTD_ELEMENT_CONTENTTYPE, doInternalSubset, decl);
    return *decl;
  }
  TDtdModel Model;
  int Count = 0;
};

TEST_F(DtdContentMatchingTest, EachOperatorAndTheGreedyRules) {
  const TMatchCase cases[] = {
      // one name, each frequency
      {"(a)", Names({"a"}), true, 1, false},
      {"(a)", Names({"b"}), false, 0, false},
      {"(a)", Names({}), false, 0, false},
      {"(a?)", Names({}), true, 0, false},
      {"(a?)", Names({"b"}), true, 0, false},
      {"(a+)", Names({"a", "a", "a"}), true, 3, false},
      {"(a+)", Names({}), false, 0, false},
      {"(a*)", Names({}), true, 0, false},
      {"(a*)", Names({"a", "a", "b"}), true, 2, false},  // the caller sees "b" left over
      // sequences
      {"(a, b)", Names({"a", "b"}), true, 2, false},
      {"(a, b)", Names({"a"}), false, 0, false},
      {"(a, b)", Names({"b", "a"}), false, 0, false},
      {"(a, b?)", Names({"a"}), true, 1, false},
      {"(a, b?)", Names({"a", "b", "b"}), true, 2, false},
      {"(a, b)*", Names({"a", "b", "a", "b"}), true, 4, false},
      {"(a, b)*", Names({"a", "b", "a"}), true, 2, false},  // the incomplete pair stays
      // choices
      {"(a | b)", Names({"b"}), true, 1, false},
      {"(a | b)", Names({"c"}), false, 0, false},
      {"(a | b)*", Names({"b", "a", "b"}), true, 3, false},
      {"(a | b)+", Names({}), false, 0, false},
      {"(a | a)", Names({"a"}), false, 1, true},
      {"((a, b?) | (a, c?))", Names({"a"}), false, 0, true},
      {"((a, b) | (a, c))", Names({"a", "c"}), true, 2, false},
      {"(a? | b)", Names({"b"}), true, 1, false},  // a? matches without consuming: not ambiguous
      // greedy: no backtracking
      {"(a*, a)", Names({"a"}), false, 0, false},
      {"(a, (b | c)*, d?)", Names({"a", "c", "b", "d"}), true, 4, false},
      // mixed content as a repeated choice of names
      {"(#PCDATA | a | b)*", Names({"b", "b", "a"}), true, 3, false},
  };
  for (const TMatchCase& c : cases) {
    SCOPED_TRACE(std::string(c.Model) + " against " + std::to_string(c.Children.size()) + " names");
    TDtdContentModel* top = BuildContentModel(Decl(), c.Model);
    int32_t position = 0;
    bool ambiguity = false;
    EXPECT_EQ(top->Match(c.Children, position, ambiguity), c.Matched);
    if (!c.Ambiguity) {
      EXPECT_EQ(position, c.Position);
    }
    EXPECT_EQ(ambiguity, c.Ambiguity);
  }
}

TEST_F(DtdContentMatchingTest, AnEmptySequenceFailsUnlessOptional) {
  TDtdElementDecl& decl = Decl();
  TDtdContentModel* sequence = decl.CreateContentModel(u"", cmtSequence);
  int32_t position = 0;
  bool ambiguity = false;
  EXPECT_FALSE(sequence->Match(Names({"a"}), position, ambiguity));
  sequence->SetFrequency(cmfOptional);
  EXPECT_TRUE(sequence->Match(Names({"a"}), position, ambiguity));
  EXPECT_EQ(position, 0);
}

// Stars nested in stars make the greedy matcher retry every inner level at every
// leftover name: 2^depth attempts without a budget.
TEST_F(DtdContentMatchingTest, NestedRepetitionsEndAtTheStepLimit) {
  std::string model = "a";
  for (int i = 0; i < 40; ++i) model = "(" + model + ")*";
  TDtdContentModel* top = BuildContentModel(Decl(), model);
  std::vector<WideString> children = Names({"a", "a", "b"});
  TXmlLimits limits;
  limits.MaxContentModelSteps = 100000;
  TDtdMatchBudget budget(limits);
  int32_t position = 0;
  bool ambiguity = false;
  ExpectRaises<EDtdMatchLimitExceeded>([&] { top->Match(children, position, ambiguity, budget); },
                                       "Content-model matching exceeded MaxContentModelSteps.");
  // A shallow nesting of the same shape stays well inside the same budget.
  std::string shallow = "a";
  for (int i = 0; i < 5; ++i) shallow = "(" + shallow + ")*";
  TDtdMatchBudget enough(limits);
  position = 0;
  EXPECT_TRUE(BuildContentModel(Decl(), shallow)->Match(children, position, ambiguity, enough));
  EXPECT_EQ(position, 2);
}

TEST_F(DtdContentMatchingTest, DeepNestingEndsAtTheDepthLimit) {
  std::string model = "a";
  for (int i = 0; i < 2000; ++i) model = "(" + model + ")";
  TDtdElementDecl& decl = Decl();
  TDtdContentModel* top = BuildContentModel(decl, model);
  int32_t position = 0;
  bool ambiguity = false;
  ExpectRaises<EDtdMatchLimitExceeded>([&] { top->Match(Names({"a"}), position, ambiguity); },
                                       "Content-model matching exceeded MaxContentModelDepth.");
  // Freeing the deep tree walks it without recursion.
  decl.SetContentModel(nullptr);
  decl.FreeContentModel(top);
  EXPECT_EQ(top, nullptr);
  EXPECT_EQ(decl.CreatedContentModelCount(), 0);
}

// A wide choice of many sequences does work proportional to its size per child.
TEST_F(DtdContentMatchingTest, AWideChoiceMatchesWithinALinearBudget) {
  TDtdElementDecl& decl = Decl();
  TDtdContentModel* choice = decl.CreateContentModel(u"", cmtChoice);
  choice->SetFrequency(cmfZeroOrMore);
  for (int i = 0; i < 200; ++i) {
    const char16_t letters[] = {u'n', static_cast<char16_t>(u'A' + i % 26), static_cast<char16_t>(u'A' + i / 26), 0};
    choice->AppendSubModel(decl.CreateContentModel(letters, cmtName));
  }
  decl.SetContentModel(choice);
  const std::vector<WideString> children(1000, u"nAA");
  TXmlLimits limits;
  limits.MaxContentModelSteps = 1000 * 205;  // children × (alternatives + a few)
  TDtdMatchBudget budget(limits);
  int32_t position = 0;
  bool ambiguity = false;
  EXPECT_TRUE(choice->Match(children, position, ambiguity, budget));
  EXPECT_EQ(position, 1000);
}

}  // namespace
