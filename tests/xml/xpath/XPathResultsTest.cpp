#include <gtest/gtest.h>

#include <cmath>

#include "xml/XmlTestSupport.h"
#include "xml/dom/DomImplementation.h"
#include "xml/xpath/XPathExpression.h"
#include "xml/xpath/XPathResults.h"

namespace {

TEST(XPathResultsTest, NumbersFormatAsTheEngineWritesThem) {
  const struct {
    double Value;
    const char16_t* Text;
  } cases[] = {
      {0.5, u"0.5"},
      {3, u"3"},
      {-3, u"-3"},
      {-0.0, u"0"},
      {1.0 / 3, u"0.333333333333333"},
      {1e21, u"1E21"},
      {1e-6, u"1E-6"},
      {123456789012345, u"123456789012345"},
      {INFINITY, u"Infinity"},
      {-INFINITY, u"-Infinity"},
      {NAN, u"NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(TDomXPathNumberResult(c.Value).AsWideString(), c.Text);
  }
}

TEST(XPathResultsTest, ValuesConvertIntoOneAnother) {
  EXPECT_FALSE(TDomXPathNumberResult(-0.0).AsBoolean());
  EXPECT_FALSE(TDomXPathNumberResult(NAN).AsBoolean());
  EXPECT_TRUE(TDomXPathNumberResult(0.1).AsBoolean());
  EXPECT_EQ(TDomXPathBooleanResult(true).AsNumber(), 1);
  EXPECT_EQ(TDomXPathBooleanResult(false).AsWideString(), u"false");
  EXPECT_TRUE(std::isnan(TDomXPathStringResult(u"abc").AsNumber()));
  EXPECT_EQ(TDomXPathStringResult(u" 12.5 ").AsNumber(), 12.5);
  EXPECT_FALSE(TDomXPathStringResult(u"").AsBoolean());
  EXPECT_TRUE(TDomXPathStringResult(u"false").AsBoolean());
  TDomXPathNodeSetResult empty;
  EXPECT_FALSE(empty.AsBoolean());
  EXPECT_EQ(empty.AsWideString(), u"");
  EXPECT_TRUE(std::isnan(empty.AsNumber()));
}

TEST(XPathResultsTest, ConversionsKeepAResultOfTheWantedType) {
  auto number = std::make_unique<TDomXPathNumberResult>(2);
  const TDomXPathCustomResult* raw = number.get();
  TDomXPathResultPtr same = XPathResultAsNumber(std::move(number));
  EXPECT_EQ(same.get(), raw);
  TDomXPathResultPtr text = XPathResultAsString(std::move(same));
  EXPECT_EQ(text->ResultType(), XPATH_STRING_TYPE);
  EXPECT_EQ(text->AsWideString(), u"2");
  TDomXPathResultPtr flag = XPathResultAsBoolean(std::move(text));
  EXPECT_EQ(flag->ResultType(), XPATH_BOOLEAN_TYPE);
  EXPECT_TRUE(flag->AsBoolean());
  ExpectRaises<ENot_Supported_Err>([] { XPathResultAsBoolean(nullptr); }, "Not supported error.");
  ExpectRaises<ENot_Supported_Err>([] { XPathResultAsNumber(nullptr); }, "Not supported error.");
  ExpectRaises<ENot_Supported_Err>([] { XPathResultAsString(nullptr); }, "Not supported error.");
}

// <r><a/><b><c/></b><d/></r> with attributes x and y on b.
struct TTree {
  TDomImplementation Implementation{nullptr};
  TDomDocumentNS* Document = NewDomDocument<TDomDocumentNS>(Implementation);
  TDomElement* R = Add(Document, u"r");
  TDomElement* A = Add(R, u"a");
  TDomElement* B = Add(R, u"b");
  TDomElement* C = Add(B, u"c");
  TDomElement* D = Add(R, u"d");
  TDomAttr* X;
  TDomAttr* Y;

  TTree() {
    B->SetAttributeNS(u"", u"x", u"1");
    B->SetAttributeNS(u"", u"y", u"2");
    X = B->GetAttributeNodeNS(u"", u"x");
    Y = B->GetAttributeNodeNS(u"", u"y");
  }
  TDomElement* Add(TDomNode* parent, WideStringView name) {
    return static_cast<TDomElement*>(parent->AppendChild(NewDomNode<TDomElement>(*Document, name, u"")));
  }
};

std::vector<TDomNode*> Nodes(const TDomXPathNodeSetResult& set) {
  std::vector<TDomNode*> nodes;
  for (int32_t i = 0; i < set.Length(); ++i) nodes.push_back(set.Item(i));
  return nodes;
}

TEST(XPathResultsTest, NodeSetsKeepAnOrderFlag) {
  TTree t;
  TDomXPathNodeSetResult set;
  set.Add(t.A);
  set.Add(t.C);
  set.SetReverseOrder(true);
  set.SetReverseOrder(true);  // reverses once
  EXPECT_EQ(Nodes(set), (std::vector<TDomNode*>{t.C, t.A}));
  // The string-value of the first node in document order: the last entry.
  t.A->AppendChild(NewDomNode<TDomText>(*t.Document))->SetNodeValue(u"first");
  EXPECT_EQ(set.AsWideString(), u"first");
  EXPECT_EQ(set.Item(2), nullptr);
  EXPECT_EQ(set.Item(-1), nullptr);
}

TEST(XPathResultsTest, SortPutsNodesInTheFlaggedOrder) {
  TTree t;
  TDomXPathNodeSetResult set;
  for (TDomNode* node : {static_cast<TDomNode*>(t.D), static_cast<TDomNode*>(t.X), static_cast<TDomNode*>(t.R),
                         static_cast<TDomNode*>(t.C), static_cast<TDomNode*>(t.B)})
    set.Add(node);
  set.Sort();
  EXPECT_EQ(Nodes(set), (std::vector<TDomNode*>{t.R, t.B, t.X, t.C, t.D}));
  set.SetReverseOrder(true);
  set.Sort();
  EXPECT_EQ(Nodes(set), (std::vector<TDomNode*>{t.D, t.C, t.X, t.B, t.R}));
}

TEST(XPathResultsTest, MergeAddsWhatIsMissingInOrder) {
  TTree t;
  TDomXPathNodeSetResult mine, theirs;
  for (TDomNode* node : {static_cast<TDomNode*>(t.R), static_cast<TDomNode*>(t.B), static_cast<TDomNode*>(t.D)})
    mine.Add(node);
  theirs.SetReverseOrder(true);
  for (TDomNode* node : {static_cast<TDomNode*>(t.D), static_cast<TDomNode*>(t.Y), static_cast<TDomNode*>(t.X),
                         static_cast<TDomNode*>(t.A)})
    theirs.Add(node);
  mine.Merge(theirs);
  EXPECT_FALSE(theirs.GetReverseOrder());  // brought into this set's order first
  EXPECT_EQ(Nodes(mine), (std::vector<TDomNode*>{t.R, t.A, t.B, t.X, t.Y, t.D}));
  // Attributes that the set already holds are not added twice.
  TDomXPathNodeSetResult more;
  more.Add(t.Y);
  more.Add(t.C);
  mine.Merge(more);
  EXPECT_EQ(Nodes(mine), (std::vector<TDomNode*>{t.R, t.A, t.B, t.X, t.Y, t.C, t.D}));
}

TEST(XPathResultsTest, NamespaceNodesAreCopiedAndOwned) {
  TTree t;
  auto first = std::make_unique<TDomXPathNodeSetResult>();
  first->AddXPathNamespace(t.B, u"p", u"urn:p");
  TDomNode* original = first->Item(0);
  TDomXPathNodeSetResult second;
  second.Assign(*first);
  ASSERT_EQ(second.Length(), 1);
  TDomNode* copy = second.Item(0);
  EXPECT_NE(copy, original);
  first.reset();
  EXPECT_EQ(copy->GetPrefix(), u"p");
  EXPECT_EQ(copy->GetNamespaceUri(), u"urn:p");
  EXPECT_EQ(static_cast<TDomXPathNamespace*>(copy)->GetOwnerElement(), t.B);
  second.Delete(0);
  EXPECT_EQ(second.Length(), 0);
  EXPECT_EQ(second.OwnedObjectCount(), 0);
}

TEST(XPathResultsTest, SubtreesComeInTheSetsOrder) {
  TTree t;
  TDomXPathNodeSetResult forward, reverse;
  reverse.SetReverseOrder(true);
  forward.AddSubtree(t.R);
  reverse.AddSubtree(t.R);
  forward.AddSubtree(nullptr);
  EXPECT_EQ(Nodes(forward), (std::vector<TDomNode*>{t.R, t.A, t.B, t.C, t.D}));
  EXPECT_EQ(Nodes(reverse), (std::vector<TDomNode*>{t.D, t.C, t.B, t.A, t.R}));
}

}  // namespace
