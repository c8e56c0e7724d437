#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"
#include "xml/xpath/XPathSyntaxTree.h"

namespace {

using K = TDomXPathSyntaxNodeKind;

TEST(XPathParserTest, AcceptsExactlyTheExpressionsOfTheGrammar) {
  const struct {
    const char16_t* Expression;
    bool Parses;
  } cases[] = {
      {u"", false},
      {u"   ", false},
      {u"/", true},
      {u"/ | /a", true},
      {u"count(/a)", true},
      {u"(/a)", true},
      {u"1 + /a", false},
      {u"x = /a", false},
      {u"a[/b]", false},
      {u"f(x, /a)", false},
      {u"(/)", false},
      {u"a/b/c", true},
      {u"a//b", true},
      {u"//a", true},
      {u"$v[1]/x", true},
      {u"-1 - -1", true},
      {u"processing-instruction('x')", true},
      {u"processing-instruction()", true},
      {u"f()", true},
      {u"f(1,)", false},
      {u"f(,1)", false},
      {u"f(1,2,3)", true},
      {u"f(g(1), (2))", true},
      {u"()", false},
      {u"(1", false},
      {u"1)", false},
      {u"a[1", false},
      {u"a]", false},
      {u"1 +", false},
      {u"* 2", false},
      {u"1 2", false},
      {u"a/", false},
      {u"@a", true},
      {u"@a[1][2]", true},
      {u"a[1][2][3]", true},
      {u"child::a[1]/@b", true},
      {u"ancestor::*[1]", true},
      {u"../a", true},
      {u"./a", true},
      {u"a | b | c", true},
      {u"1 or 2 and 3 = 4 != 5 < 6 <= 7 > 8 >= 9 + 10 - 11 * 12 div 13 mod 14", true},
      {u"-a | b", true},
      {u"--1", true},
      {u"'a'", true},
      {u"$p:v", true},
      {u"p:f(1)", true},
      {u"text()", true},
      {u"comment() | node()", true},
      {u"processing-instruction(1)", false},
      {u"a!b", false},
      {u"a::b", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Expression));
    TDomXPathSyntaxTree tree(nullptr);
    EXPECT_EQ(tree.Prepare(c.Expression), c.Parses);
    EXPECT_EQ(tree.IsPrepared(), c.Parses);
  }
}

// The node under the pass-through levels of a parsed expression (Expr down to the
// union of one path).
const TDomXPathSyntaxNode* PathOf(const TDomXPathSyntaxTree& tree) {
  const TDomXPathSyntaxNode* node = tree.Root();
  while (node && node->Kind() != K::PathExpr) node = node->Left;
  return node;
}

int StepCount(const TDomXPathSyntaxNode* path) {
  int count = 0;
  for (const TDomXPathSyntaxNode* step = path->Right; step; step = step->Right) {
    EXPECT_EQ(step->Kind(), K::Step);
    ++count;
  }
  return count;
}

TEST(XPathParserTest, BuildsPathsOfSteps) {
  TDomXPathSyntaxTree tree(nullptr);
  ASSERT_TRUE(tree.Prepare(u"a/b/c"));
  EXPECT_EQ(tree.Root()->Kind(), K::Expr);
  const TDomXPathSyntaxNode* path = PathOf(tree);
  ASSERT_TRUE(path);
  EXPECT_EQ(path->Left, nullptr);  // relative
  EXPECT_EQ(StepCount(path), 3);
  const TDomXPathSyntaxNode* axis = path->Right->Left;
  EXPECT_EQ(axis->Kind(), K::AxisNameChild);
  EXPECT_EQ(axis->Left->Kind(), K::NodeTest);
  EXPECT_EQ(axis->Left->Left->Value, u"a");

  ASSERT_TRUE(tree.Prepare(u"a//b"));
  path = PathOf(tree);
  EXPECT_EQ(StepCount(path), 3);  // child a, descendant-or-self node(), child b
  EXPECT_EQ(path->Right->Right->Left->Kind(), K::AxisNameDescendantOrSelf);
  EXPECT_EQ(path->Right->Right->Left->Left->Left->Kind(), K::NodeTypeNode);

  ASSERT_TRUE(tree.Prepare(u"/a"));
  EXPECT_EQ(PathOf(tree)->Left->Kind(), K::AbsoluteLocationPath);
  ASSERT_TRUE(tree.Prepare(u"@x"));
  EXPECT_EQ(PathOf(tree)->Right->Left->Kind(), K::AxisNameAttribute);
  ASSERT_TRUE(tree.Prepare(u".."));
  EXPECT_EQ(PathOf(tree)->Right->Left->Kind(), K::AxisNameParent);
}

TEST(XPathParserTest, BuildsFiltersPredicatesAndNodeTypeTests) {
  TDomXPathSyntaxTree tree(nullptr);
  ASSERT_TRUE(tree.Prepare(u"$v[1]/x"));
  const TDomXPathSyntaxNode* path = PathOf(tree);
  const TDomXPathSyntaxNode* filter = path->Left;
  ASSERT_EQ(filter->Kind(), K::FilterExpr);
  EXPECT_EQ(filter->Left->Kind(), K::FilterExpr);
  EXPECT_EQ(filter->Left->Left->Kind(), K::PrimaryExpr);
  EXPECT_EQ(filter->Left->Left->Left->Kind(), K::VariableReference);
  EXPECT_EQ(filter->Right->Kind(), K::Predicate);
  EXPECT_EQ(StepCount(path), 1);

  ASSERT_TRUE(tree.Prepare(u"a[1][2]"));
  const TDomXPathSyntaxNode* predicate = PathOf(tree)->Right->Left->Right;
  ASSERT_EQ(predicate->Kind(), K::Predicate);
  ASSERT_TRUE(predicate->Right);
  EXPECT_EQ(predicate->Right->Kind(), K::Predicate);
  EXPECT_EQ(predicate->Right->Right, nullptr);

  ASSERT_TRUE(tree.Prepare(u"processing-instruction('x')"));
  const TDomXPathSyntaxNode* test = PathOf(tree)->Right->Left->Left;
  EXPECT_EQ(test->Left->Kind(), K::NodeTypePI);
  EXPECT_EQ(test->Left->Left->Kind(), K::Literal);
  EXPECT_EQ(test->Left->Left->Value, u"x");
}

// Walks down Left links to the first node of a kind.
const TDomXPathSyntaxNode* Find(const TDomXPathSyntaxNode* node, K kind) {
  while (node && node->Kind() != kind) node = node->Left;
  return node;
}

TEST(XPathParserTest, GivesOperatorsTheirPrecedenceAndAssociativity) {
  TDomXPathSyntaxTree tree(nullptr);
  // -1 - -1: a MinusExpr whose operands are unary minus expressions.
  ASSERT_TRUE(tree.Prepare(u"-1 - -1"));
  const TDomXPathSyntaxNode* minus = Find(tree.Root(), K::MinusExpr);
  ASSERT_TRUE(minus);
  EXPECT_EQ(Find(minus->Left, K::UnaryExpr)->Left->Kind(), K::MinusOperator);
  EXPECT_EQ(Find(minus->Right, K::UnaryExpr)->Left->Kind(), K::MinusOperator);
  // 1 - 2 - 3 is (1 - 2) - 3.
  ASSERT_TRUE(tree.Prepare(u"1 - 2 - 3"));
  minus = Find(tree.Root(), K::MinusExpr);
  EXPECT_EQ(minus->Left->Kind(), K::MinusExpr);
  // 1 + 2 * 3: the product is the right operand of the sum.
  ASSERT_TRUE(tree.Prepare(u"1 + 2 * 3"));
  const TDomXPathSyntaxNode* plus = Find(tree.Root(), K::PlusExpr);
  ASSERT_TRUE(plus->Right);
  EXPECT_EQ(plus->Right->Kind(), K::MultiplyExpr);
  EXPECT_TRUE(plus->Right->Right);
  // a or b and c: "and" binds tighter.
  ASSERT_TRUE(tree.Prepare(u"a or b and c"));
  const TDomXPathSyntaxNode* orExpr = Find(tree.Root(), K::OrExpr);
  EXPECT_EQ(orExpr->Right->Kind(), K::AndExpr);
  EXPECT_TRUE(orExpr->Right->Right);
}

TEST(XPathParserTest, CollectsFunctionArgumentsInOrder) {
  TDomXPathSyntaxTree tree(nullptr);
  ASSERT_TRUE(tree.Prepare(u"concat('a', 'b', 'c')"));
  const TDomXPathSyntaxNode* call = Find(tree.Root(), K::PrimaryExpr)->Left;
  ASSERT_EQ(call->Kind(), K::FunctionCall);
  EXPECT_EQ(call->GetFunctionName(), u"concat");
  ASSERT_EQ(call->Arguments.size(), 3u);
  EXPECT_EQ(Find(call->Arguments[2], K::PrimaryExpr)->Left->Value, u"c");
  EXPECT_TRUE(call->XPathFunction);
  ASSERT_TRUE(tree.Prepare(u"f()"));
  call = Find(tree.Root(), K::PrimaryExpr)->Left;
  EXPECT_TRUE(call->Arguments.empty());
  EXPECT_FALSE(call->XPathFunction);
  ASSERT_TRUE(tree.Prepare(u"p:count(.)"));
  call = Find(tree.Root(), K::PrimaryExpr)->Left;
  EXPECT_EQ(call->Prefix, u"p");
  EXPECT_EQ(call->LocalName, u"count");
  EXPECT_FALSE(call->XPathFunction);  // a prefixed name is never a core function
}

TEST(XPathParserTest, AFailedPrepareLeavesNothing) {
  TDomXPathSyntaxTree tree(nullptr);
  ASSERT_TRUE(tree.Prepare(u"a"));
  EXPECT_FALSE(tree.Prepare(u"a["));
  EXPECT_FALSE(tree.IsPrepared());
  EXPECT_EQ(tree.OwnedObjectCount(), 0);
}

TEST(XPathParserTest, DeepNestingParsesWithoutRecursion) {
  TDomXPathSyntaxTree tree(nullptr);
  WideString text(20000, u'(');
  text += u"1";
  text += WideString(20000, u')');
  EXPECT_TRUE(tree.Prepare(text));
  EXPECT_TRUE(tree.Prepare(WideString(20000, u'-') + u"1"));
  EXPECT_FALSE(tree.Prepare(WideString(20000, u'[')));
}

}  // namespace
