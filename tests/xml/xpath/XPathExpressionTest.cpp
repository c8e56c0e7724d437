#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "xml/XmlTestSupport.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/XPathNumbers.h"
#include "xml/xpath/XPathExceptions.h"
#include "xml/xpath/XPathExpression.h"

namespace {

// <r xmlns:p="urn:p" xml:lang="en-GB">
//   <a>x</a><a>1.0</a><b>10</b><b>9</b><?pi data?><c p:at="v" plain="w">t1<![CDATA[t2]]>t3<e/></c>
//   <f><g/></f><h/>
// </r>
struct XPathExpressionTest : ::testing::Test {
  TDomImplementation Implementation{nullptr};
  TDomDocumentNS* Document = NewDomDocument<TDomDocumentNS>(Implementation);
  TDomElement* R = Add(Document, u"r");
  TDomElement* A1 = AddText(R, u"a", u"x");
  TDomElement* A2 = AddText(R, u"a", u"1.0");
  TDomElement* B1 = AddText(R, u"b", u"10");
  TDomElement* B2 = AddText(R, u"b", u"9");
  TDomProcessingInstruction* Pi = NewDomNode<TDomProcessingInstruction>(*Document, u"pi");
  TDomElement* C = Add(R, u"c");
  TDomText* T1 = Text(u"t1");
  TDomCDATASection* T2 = NewDomNode<TDomCDATASection>(*Document);
  TDomText* T3 = Text(u"t3");
  TDomElement* E;
  TDomElement* F = Add(R, u"f");
  TDomElement* G = Add(F, u"g");
  TDomElement* H = Add(R, u"h");
  TXPathExpression Expression{nullptr};

  XPathExpressionTest() {
    R->SetAttributeNS(XmlnsNamespaceUri, u"xmlns:p", u"urn:p");
    R->SetAttributeNS(XmlNamespaceUri, u"xml:lang", u"en-GB");
    Pi->SetData(u"data");
    R->InsertBefore(Pi, C);
    C->SetAttributeNS(u"urn:p", u"p:at", u"v");
    C->SetAttributeNS(u"", u"plain", u"w");
    T2->SetData(u"t2");
    C->AppendChild(T1);
    C->AppendChild(T2);
    C->AppendChild(T3);
    E = Add(C, u"e");
    Expression.SetContextNode(R);
  }

  TDomText* Text(WideStringView data) {
    TDomText* text = NewDomNode<TDomText>(*Document);
    text->SetData(data);
    return text;
  }
  TDomElement* Add(TDomNode* parent, WideStringView name) {
    return static_cast<TDomElement*>(parent->AppendChild(NewDomNode<TDomElement>(*Document, name, u"")));
  }
  TDomElement* AddText(TDomNode* parent, WideStringView name, WideStringView text) {
    TDomElement* element = Add(parent, name);
    element->AppendChild(Text(text));
    return element;
  }
  // The expression's answer from the context node, or "error".
  std::string Answer(WideStringView text, TDomNode* context = nullptr) {
    Expression.SetExpression(text);
    if (context) Expression.SetContextNode(context);
    if (!Expression.Evaluate()) return "error";
    const TDomXPathCustomResult* result = Expression.XPathResult();
    if (result->ResultType() == XPATH_NODE_SET_TYPE) return "nodes:" + std::to_string(result->Length());
    if (result->ResultType() == XPATH_BOOLEAN_TYPE) return result->AsBoolean() ? "true" : "false";
    return Narrow(result->AsWideString());
  }
  // The node-set an expression gives, in document order.
  std::vector<TDomNode*> Nodes(WideStringView text, TDomNode* context) {
    Expression.SetExpression(text);
    Expression.SetContextNode(context);
    EXPECT_TRUE(Expression.Evaluate()) << Narrow(text);
    std::vector<TDomNode*> nodes;
    auto set = Expression.AcquireXPathResult(XPATH_NODE_SET_TYPE);
    set->SetReverseOrder(false);
    for (int32_t i = 0; i < set->Length(); ++i) nodes.push_back(set->Item(i));
    return nodes;
  }
  // Evaluates through the syntax tree, so that the error reaches the test.
  void EvaluateRaw(WideStringView text) {
    Expression.SetExpression(text);
    ASSERT_TRUE(Expression.Prepare()) << Narrow(text);
    Expression.SyntaxTree().Evaluate();
  }
};

TEST_F(XPathExpressionTest, AnswersTheEdgeCasesOfTheLanguage) {
  const struct {
    const char16_t* Expression;
    const char* Answer;
  } cases[] = {
      {u"1 or $undefined", "true"},
      {u"0 and $undefined", "false"},
      {u"1", "1"},
      {u"a = 'x'", "true"},
      {u"a != 'x'", "true"},
      {u"a = 1", "false"},  // "1.0" is compared as text with "1"
      {u"a = true()", "false"},
      {u"'10' < '9'", "false"},
      {u"b[1] < b[2]", "true"},  // "10" and "9" compared as text
      {u"1 div 0", "Infinity"},
      {u"-1 div 0", "-Infinity"},
      {u"0 div 0", "NaN"},
      {u"5 mod 2", "1"},
      {u"-5 mod 2", "-1"},
      {u"5.5 mod 2", "1.5"},
      {u"5 mod 0", "NaN"},
      {u"5 mod (1 div 0)", "5"},
      {u"(1 div 0) mod 5", "NaN"},
      {u"number('x') = number('x')", "false"},
      {u"number('x') != 1", "true"},
      {u"round(0.5)", "1"},
      {u"1 div round(-0.5)", "-Infinity"},
      {u"round(1 div 0)", "Infinity"},
      {u"round(2.5)", "3"},
      {u"round(-2.5)", "-2"},
      {u"floor(-0.5)", "-1"},
      {u"1 div ceiling(-0.5)", "Infinity"},
      {u"floor(10000000000.5)", "10000000000"},
      {u"substring-after('abcdef', 'xy')", ""},
      {u"substring-before('abc', '')", ""},
      {u"substring('12345', 1.5, 2.6)", "234"},
      {u"substring('12345', 0, 3)", "12"},
      {u"substring('12345', -42, 1 div 0)", "12345"},
      {u"translate('bar', 'abc', 'ABC')", "BAr"},
      {u"translate('--aaa--', 'abc-', 'ABC')", "AAA"},
      {u"not(boolean(1))", "false"},
      {u"starts-with(string(@xml:lang), 'en')", "true"},
      {u"lang('en')", "true"},
      {u"lang('en-gb')", "true"},
      {u"lang('EN-GB-x')", "false"},
      {u"local-name(processing-instruction())", "pi"},
      {u"name(processing-instruction())", "pi"},
      {u"string(processing-instruction('pi'))", "data"},
      {u"count(c/@*)", "2"},  // the namespace declarations are no attributes
      {u"count(namespace::*)", "3"},
      {u"count(c/namespace::*)", "3"},
      {u"count(c/namespace::p)", "1"},
      {u"string(c/namespace::p)", "urn:p"},
      {u"namespace-uri(c/namespace::p)", ""},
      {u"string(c)", "t1t2t3"},
      {u"count(c/text())", "3"},
      {u"string(c/text()[2])", "t2"},
      {u"count(c/node())", "4"},
      {u"count(b[1]/following-sibling::node())", "5"},
      {u"count(c/text()[1]/following-sibling::node())", "1"},  // t2 and t3 continue the run
      {u"count(c/e/preceding-sibling::node())", "1"},
      {u"count(h/preceding-sibling::*)", "6"},
      {u"count(g/following::*)", "0"},
      {u"name(f/g/following::*)", "h"},
      {u"name(f/g/preceding::*[1])", "e"},
      {u"name((f/g/preceding::*)[1])", "a"},
      {u"count(f/g/ancestor::node())", "3"},
      {u"name(f/g/ancestor::*[1])", "f"},
      {u"name(a[1]/following-sibling::*[1])", "a"},
      {u"count(//node())", "18"},
      {u"count(/descendant-or-self::node())", "19"},
      {u"count((//a | //b)[2])", "1"},
      {u"string((//a | //b)[3])", "10"},
      {u"string((//b | //a)[last()])", "9"},
      {u"sum(b)", "19"},
      {u"string-length(string(c))", "6"},
      {u"normalize-space(' a  b ')", "a b"},
      {u"concat('a', 'b', 'c')", "abc"},
      {u"p:f()", "error"},
      {u"count(1)", "error"},
      {u"", "error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Expression));
    EXPECT_EQ(Answer(c.Expression, R), c.Answer);
  }
}

TEST_F(XPathExpressionTest, SelectsTheNodesOfTheAxes) {
  EXPECT_EQ(Nodes(u"/", C->GetAttributeNodeNS(u"", u"plain")), std::vector<TDomNode*>{Document});
  EXPECT_EQ(Nodes(u"..", C->GetAttributeNodeNS(u"", u"plain")), std::vector<TDomNode*>{C});
  EXPECT_EQ(Nodes(u"a[1]", R), std::vector<TDomNode*>{A1});
  EXPECT_EQ(Nodes(u"ancestor::*[1]", G), std::vector<TDomNode*>{F});
  EXPECT_EQ(Nodes(u"preceding-sibling::*[1]", F), std::vector<TDomNode*>{C});
  EXPECT_EQ(Nodes(u"(preceding-sibling::*)[1]", F), std::vector<TDomNode*>{A1});
  EXPECT_EQ(Nodes(u"following::h", G), std::vector<TDomNode*>{H});
  EXPECT_EQ(Nodes(u"following-sibling::node()", B2), (std::vector<TDomNode*>{Pi, C, F, H}));
  EXPECT_EQ(Nodes(u"text()", C), (std::vector<TDomNode*>{T1, T2, T3}));
  EXPECT_EQ(Nodes(u"e/preceding-sibling::node()", C), std::vector<TDomNode*>{T1});
  EXPECT_EQ(Nodes(u"@*", C),
            (std::vector<TDomNode*>{C->GetAttributeNodeNS(u"urn:p", u"at"), C->GetAttributeNodeNS(u"", u"plain")}));
  EXPECT_EQ(Nodes(u"@p:at", C), std::vector<TDomNode*>{C->GetAttributeNodeNS(u"urn:p", u"at")});
  EXPECT_EQ(Nodes(u"//e | //a | //e", R), (std::vector<TDomNode*>{A1, A2, E}));
}

TEST_F(XPathExpressionTest, RaisesTheEnginesErrors) {
  using F = std::function<void()>;
  const auto raw = [this](const char16_t* text) -> F { return [this, text] { EvaluateRaw(text); }; };
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(
      raw(u"count(1)"), "Argument mismatch error in count(): Expression does not evaluate to node-set.");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"concat('a')"), "Arguments mismatch error in concat().");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"true(1)"), "Arguments mismatch error in true().");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(
      raw(u"starts-with(@lang, 'en')"),
      "Argument mismatch error in starts-with(): Expression does not evaluate to string.");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(
      raw(u"not(1)"), "Argument mismatch error in not(): Expression does not evaluate to boolean.");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(
      raw(u"floor(string(1))"), "Argument mismatch error in floor(): Expression does not evaluate to a number.");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(
      raw(u"substring('a', '1')"), "Argument mismatch error in substring(): Expression does not evaluate to number.");
  ExpectRaises<EXPath_Exception>(raw(u"unknown()"), "Unknown function name.");
  ExpectRaises<EXPath_Exception>(raw(u"p:f()"), "Unknown function name.");  // "p" is bound
  ExpectRaises<ENamespace_Err>(raw(u"q:f()"), "Namespace URI of prefix 'q' not found.");
  ExpectRaises<ENamespace_Err>(raw(u"q:x"), "Namespace URI of prefix 'q' not found.");
  ExpectRaises<ENamespace_Err>(raw(u"$q:v"), "Namespace URI of prefix 'q' not found.");
  ExpectRaises<EXPath_Exception>(raw(u"$v"), "No binding for variable $v provided.");
  ExpectRaises<EXPath_Exception>(raw(u"$p:v"), "No binding for variable $p:v provided.");
  ExpectRaises<EXPath_Type_Err>(raw(u"1 | 2"), "XPath type error.");
  ExpectRaises<EXPath_Type_Err>(raw(u"string(1)/a"), "XPath type error.");
  ExpectRaises<EXPath_Type_Err>(raw(u"(1)[1]"), "XPath type error.");
  Expression.SetContextNode(Document);
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"id('x')"),
                                                 "Context node with no owner document specified for id().");
  // A variable with the document as context finds no DOM implementation to ask.
  Implementation.OnRequestXPathVariable = [](TXPathExpression*, WideStringView, WideStringView,
                                             TDomXPathResultPtr& value) {
    value = std::make_unique<TDomXPathNumberResult>(1);
  };
  ExpectRaises<EXPath_Exception>(raw(u"$v"), "No binding for variable $v provided.");
  Expression.SetContextNode(nullptr);
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"string-length()"),
                                                 "Context node not specified for string-length().");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"normalize-space()"),
                                                 "Context node not specified for normalize-space().");
  ExpectRaises<EXPath_Invalid_Function_Call_Err>(raw(u"lang('en')"), "Context node not specified for lang().");
  ExpectRaises<EXPath_Type_Err>(raw(u"/"), "XPath type error.");
  ExpectRaises<EXPath_Type_Err>(raw(u"a"), "XPath type error.");
  EXPECT_EQ(Answer(u"string()"), "");  // no context node: the empty node-set's string
  Expression.SetExpression(u"a[");
  ExpectRaises<EXPath_Invalid_Expression_Err>([this] { Expression.SyntaxTree().Evaluate(); },
                                              "No valid XPath expression prepared.");
}

TEST_F(XPathExpressionTest, FailuresLeaveNoResult) {
  EXPECT_EQ(Answer(u"1"), "1");
  Expression.SetExpression(u"1 +");
  EXPECT_FALSE(Expression.Evaluate());
  EXPECT_EQ(Expression.ResultLength(), 0);
  EXPECT_TRUE(std::isnan(Expression.ResultAsNumber()));
  EXPECT_FALSE(Expression.ResultAsBoolean());
  EXPECT_EQ(Expression.ResultAsWideString(), u"");
  EXPECT_EQ(Expression.ResultNode(0), nullptr);
  EXPECT_FALSE(Expression.ResultIsReverse());
  EXPECT_FALSE(Expression.HasNodeSetResult());
  // A CDATA section is no XPath context node.
  Expression.SetExpression(u"1");
  Expression.SetContextNode(T2);
  EXPECT_FALSE(Expression.Evaluate());
  ExpectRaises<ENot_Supported_Err>([this] { Expression.SyntaxTree().Evaluate(); }, "Not supported error.");
}

TEST_F(XPathExpressionTest, PreparesOnceForOneText) {
  Expression.SetExpression(u"count(a)");
  ASSERT_TRUE(Expression.Evaluate());
  const TDomXPathSyntaxNode* root = Expression.SyntaxTree().Root();
  ASSERT_TRUE(Expression.Evaluate());
  EXPECT_EQ(Expression.SyntaxTree().Root(), root);
  Expression.SetExpression(u"count(a)");
  EXPECT_EQ(Expression.SyntaxTree().Root(), root);
  Expression.SetExpression(u"count(b)");
  EXPECT_FALSE(Expression.SyntaxTree().IsPrepared());
  // A failed text is remembered as failed.
  Expression.SetExpression(u"(");
  EXPECT_FALSE(Expression.Prepare());
  EXPECT_FALSE(Expression.Prepare());
  // Changing the context keeps the tree and the result.
  Expression.SetExpression(u"a");
  ASSERT_TRUE(Expression.Evaluate());
  root = Expression.SyntaxTree().Root();
  Expression.SetContextNode(C);
  EXPECT_EQ(Expression.SyntaxTree().Root(), root);
  EXPECT_EQ(Expression.ResultLength(), 2);
}

TEST_F(XPathExpressionTest, ReportsNodeSetResults) {
  EXPECT_EQ(Answer(u"true()"), "true");
  EXPECT_FALSE(Expression.HasNodeSetResult());
  EXPECT_EQ(Answer(u"nothing"), "nodes:0");
  EXPECT_FALSE(Expression.HasNodeSetResult());
  EXPECT_EQ(Answer(u"ancestor-or-self::*", G), "nodes:3");
  EXPECT_TRUE(Expression.HasNodeSetResult());
  // A reverse axis collects nearest first; the path's result comes in document order.
  EXPECT_EQ(Expression.ResultNode(0), R);
  EXPECT_EQ(Expression.ResultNode(2), G);
  EXPECT_FALSE(Expression.ResultIsReverse());
  EXPECT_EQ(Expression.ResultNode(3), nullptr);
  auto set = Expression.AcquireXPathResult(XPATH_NODE_SET_TYPE);
  EXPECT_EQ(set->Length(), 3);
  EXPECT_EQ(Expression.AcquireXPathResult(XPATH_STRING_TYPE)->AsWideString(), u"x1.0109t1t2t3");
  EXPECT_TRUE(Expression.AcquireXPathResult(XPATH_BOOLEAN_TYPE)->AsBoolean());
  EXPECT_TRUE(std::isnan(Expression.AcquireXPathResult(XPATH_NUMBER_TYPE)->AsNumber()));
  EXPECT_EQ(Answer(u"count(a)", R), "2");
  EXPECT_EQ(Expression.AcquireXPathResult(XPATH_NODE_SET_TYPE)->Length(), 0);
}

TEST_F(XPathExpressionTest, ContextNodesMustBelongToADocument) {
  TDomXPathNodeSetResult set;
  set.AddXPathNamespace(nullptr, u"p", u"urn:p");
  ExpectRaises<ENot_Supported_Err>([&] { Expression.SetContextNode(set.Item(0)); }, "Not supported error.");
  EXPECT_EQ(Expression.ContextNode(), R);
  Expression.SetContextNode(nullptr);
  EXPECT_EQ(Expression.ContextNode(), nullptr);
}

TEST_F(XPathExpressionTest, NamespacePrefixesResolveThroughTheContextAndTheHandler) {
  EXPECT_EQ(Expression.LookupNamespaceURI(u"p"), u"urn:p");
  EXPECT_EQ(Answer(u"count(c/@p:*)"), "1");
  Expression.OnLookupNamespaceURI = [](TXPathExpression*, WideStringView prefix, WideString& uri) {
    if (prefix == u"p") uri = u"urn:other";
    if (prefix == u"z") uri = u"urn:p";
  };
  EXPECT_EQ(Answer(u"count(c/@p:*)"), "0");
  EXPECT_EQ(Answer(u"count(c/@z:at)"), "1");
  Expression.SetContextNode(nullptr);
  EXPECT_EQ(Expression.LookupNamespaceURI(u"z"), u"urn:p");
}

TEST_F(XPathExpressionTest, TheHostAnswersVariablesAndFunctions) {
  WideString askedUri, askedName;
  Implementation.OnRequestXPathVariable = [&](TXPathExpression* sender, WideStringView uri, WideStringView name,
                                              TDomXPathResultPtr& value) {
    EXPECT_EQ(sender, &Expression);
    askedUri = uri;
    askedName = name;
    if (name == u"n") value = std::make_unique<TDomXPathNumberResult>(2);
  };
  EXPECT_EQ(Answer(u"$n * 3"), "6");
  EXPECT_EQ(Answer(u"$p:n + $n"), "4");
  EXPECT_EQ(askedUri, u"");
  EXPECT_EQ(Answer(u"$p:other"), "error");
  EXPECT_EQ(askedUri, u"urn:p");
  EXPECT_EQ(askedName, u"other");
  Implementation.OnRequestXPathFunctionResult =
      [&](WideStringView uri, WideStringView name, TDomNode* context, int32_t position, int32_t size,
          const std::vector<TDomXPathSyntaxNode*>& arguments, TDomXPathResultPtr& value) {
        if (uri != u"urn:p" || name != u"twice") return;
        EXPECT_EQ(arguments.size(), 1u);
        const double argument = arguments[0]->Evaluate(context, position, size)->AsNumber();
        value = std::make_unique<TDomXPathNumberResult>(2 * argument + position * 100);
      };
  EXPECT_EQ(Answer(u"p:twice(count(a))"), "104");
  // In a predicate the host sees the position of each a: 2 * 2 + 200 for the second.
  EXPECT_EQ(Answer(u"sum(a[p:twice(position()) = 204])"), "1");
  EXPECT_EQ(Answer(u"twice(1)"), "error");
}

TEST_F(XPathExpressionTest, IdFindsElementsOfTheDocument) {
  Document->IdList().AddObject(u"k2", F);
  Document->IdList().AddObject(u"k1", H);
  EXPECT_EQ(Nodes(u"id('k1 k2  k1 none')", R), (std::vector<TDomNode*>{F, H}));
  EXPECT_EQ(Nodes(u"id(a)", R), std::vector<TDomNode*>{});
}

TEST_F(XPathExpressionTest, NodesEvaluateExpressions) {
  EXPECT_TRUE(R->EvaluateToBoolean(u"count(a) = 2"));
  EXPECT_FALSE(R->EvaluateToBoolean(u"count("));
  EXPECT_EQ(R->EvaluateToNumber(u"count(*)"), 7);
  EXPECT_TRUE(std::isnan(R->EvaluateToNumber(u"$v")));
  EXPECT_EQ(R->EvaluateToNode(u"f/g"), G);
  EXPECT_EQ(R->EvaluateToNode(u"nothing"), nullptr);
  EXPECT_EQ(R->EvaluateToNode(u"namespace::p"), nullptr);  // lives only as long as the evaluation
  EXPECT_EQ(G->EvaluateToWideString(u"name(..)"), u"f");
  EXPECT_EQ(G->EvaluateToWideString(u"name(.."), u"");
}

TEST_F(XPathExpressionTest, NameTestsMatchDocumentsWithoutNamespaces) {
  TDomDocument* plain = NewDomDocument<TDomDocument>(Implementation);
  TDomElement* root = static_cast<TDomElement*>(plain->AppendChild(NewDomNode<TDomElement>(*plain, u"root")));
  TDomElement* child = static_cast<TDomElement*>(root->AppendChild(NewDomNode<TDomElement>(*plain, u"x-y")));
  child->SetAttribute(u"at", u"1");
  EXPECT_EQ(Nodes(u"/root/x-y", plain), std::vector<TDomNode*>{child});
  EXPECT_EQ(Nodes(u"//@at", plain), std::vector<TDomNode*>{child->GetAttributeNode(u"at")});
  EXPECT_EQ(Answer(u"local-name(*)", root), "x-y");
  EXPECT_EQ(Answer(u"name(*/@at)", root), "at");
}

TEST_F(XPathExpressionTest, DeepNestingEndsWithANamedError) {
  // Parentheses and single-operand levels do not nest evaluation.
  EXPECT_EQ(Answer(WideString(20000, u'(') + u"7" + WideString(20000, u')')), "7");
  const auto repeated = [](const char16_t* part, int count) {
    WideString text;
    for (int i = 0; i < count; ++i) text += part;
    return text;
  };
  const auto nested = [](int depth) {
    WideString text;
    for (int i = 0; i < depth; ++i) text += u"not(";
    text += u"true()";
    for (int i = 0; i < depth; ++i) text += u")";
    return text;
  };
  EXPECT_EQ(Answer(nested(61)), "false");
  EXPECT_EQ(Answer(u"count(*[*[*[*[1]]]])"), "0");
  EXPECT_EQ(Answer(repeated(u"(.)[", 100) + u"1" + WideString(100, u']')), "nodes:1");
  EXPECT_EQ(Answer(u"count(*[*[1]])"), "2");
  const std::vector<WideString> tooDeep{nested(5000),
                                        WideString(20000, u'-') + u"1",
                                        u"1" + repeated(u"+1", 20000),
                                        u"." + repeated(u"|.", 20000),
                                        repeated(u"(.)[", 5000) + u"1" + WideString(5000, u']'),
                                        u"count(" + WideString(3000, u'(') + u"a" + WideString(3000, u')') + u")"};
  for (const WideString& text : tooDeep) {
    SCOPED_TRACE(text.size());
    Expression.SetExpression(text);
    ASSERT_TRUE(Expression.Prepare());
    if (text.starts_with(u"count(")) {
      EXPECT_EQ(Answer(text), "2");  // a parenthesised path is no nesting either
      continue;
    }
    ExpectRaises<EXPath_Exception>([&] { Expression.SyntaxTree().Evaluate(); }, "XPath expression nested too deeply.");
    EXPECT_FALSE(Expression.Evaluate());
  }
  Expression.SyntaxTree().Limits.MaxNestingDepth = 5;
  EXPECT_EQ(Answer(u"1 + 1"), "2");
  EXPECT_EQ(Answer(nested(5)), "error");
}

TEST_F(XPathExpressionTest, EndlessWorkEndsWithANamedError) {
  Expression.SyntaxTree().Limits.MaxEvaluationSteps = 1000;
  EXPECT_EQ(Answer(u"count(//node())"), "18");
  // Each of the 19 nodes asks for the whole document, each node of which asks again.
  const char16_t* everyNodeAsksForAll =
      u"count(//node()[count(ancestor-or-self::node()/descendant::node()"
      u"[count(ancestor-or-self::node()/descendant::node()) > 0]) > 0])";
  ExpectRaises<EXPath_Exception>([&] { EvaluateRaw(everyNodeAsksForAll); },
                                 "XPath evaluation exceeded its work budget.");
}

}  // namespace
