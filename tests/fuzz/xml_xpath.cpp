// Any expression text goes through the XPath tokenizer, parser and evaluator on one
// small fixed document. Evaluation may only answer or raise the DOM's exception family
// (syntax, type, function-call, namespace, variable, nesting and work-budget errors);
// it must never crash, overflow the stack or hang. Input bytes are UTF-8.
#include <cstdint>

#include "platform/base/CodePages.h"
#include "xml/dom/DomImplementation.h"
#include "xml/xpath/XPathExpression.h"

namespace {

// <r xmlns:p="urn:p" xml:lang="en"><a id="1">x<![CDATA[y]]>z</a><!--c--><?pi d?>
//   <p:b p:at="2"><a/></p:b></r>
struct TFixedDocument {
  TDomImplementation Implementation{nullptr};
  TDomDocumentNS* Document = NewDomDocument<TDomDocumentNS>(Implementation);
  TDomElement* Root = Element(Document, u"r", u"");

  TFixedDocument() {
    Root->SetAttributeNS(XmlnsNamespaceUri, u"xmlns:p", u"urn:p");
    Root->SetAttributeNS(XmlNamespaceUri, u"xml:lang", u"en");
    TDomElement* a = Element(Root, u"a", u"");
    a->SetAttributeNS(u"", u"id", u"1");
    Document->IdList().AddObject(u"1", a);
    a->AppendChild(NewDomNode<TDomText>(*Document))->SetNodeValue(u"x");
    a->AppendChild(NewDomNode<TDomCDATASection>(*Document))->SetNodeValue(u"y");
    a->AppendChild(NewDomNode<TDomText>(*Document))->SetNodeValue(u"z");
    Root->AppendChild(NewDomNode<TDomComment>(*Document))->SetNodeValue(u"c");
    Root->AppendChild(NewDomNode<TDomProcessingInstruction>(*Document, u"pi"))->SetNodeValue(u"d");
    TDomElement* b = Element(Root, u"p:b", u"urn:p");
    b->SetAttributeNS(u"urn:p", u"p:at", u"2");
    Element(b, u"a", u"");
    Implementation.OnRequestXPathVariable = [this](TXPathExpression*, WideStringView, WideStringView name,
                                                   TDomXPathResultPtr& value) {
      auto set = std::make_unique<TDomXPathNodeSetResult>();
      if (name == u"v") set->AddSubtree(Root);
      value = std::move(set);
    };
  }
  TDomElement* Element(TDomNode* parent, WideStringView name, WideStringView uri) {
    return static_cast<TDomElement*>(parent->AppendChild(NewDomNode<TDomElement>(*Document, name, uri)));
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFixedDocument fixed;
  const WideString text = AnsiToWide(AnsiStringView(reinterpret_cast<const char*>(data), size), CP_UTF8);

  TDomXPathTokenizer tokenizer(text, u"1.0");
  for (;;) {
    TDomXPathTokenKind kind;
    WideString value;
    int32_t position;
    tokenizer.ReadToken(kind, value, position);
    if (kind == TDomXPathTokenKind::EndOfExpression || kind == TDomXPathTokenKind::InvalidToken) break;
  }

  TXPathExpression expression(nullptr);
  expression.SyntaxTree().Limits.MaxEvaluationSteps = 200'000;
  expression.SetExpression(text);
  TDomNode* contexts[] = {fixed.Root, fixed.Document, fixed.Root->GetAttributeNodeNS(XmlNamespaceUri, u"lang"),
                          nullptr};
  for (TDomNode* context : contexts) {
    expression.SetContextNode(context);
    if (expression.Evaluate()) {
      // Every way of reading the result.
      expression.ResultAsBoolean();
      expression.ResultAsNumber();
      expression.ResultAsWideString();
      for (int32_t i = 0; i < expression.ResultLength(); ++i) expression.ResultNode(i)->GetNodeName();
      expression.AcquireXPathResult(XPATH_NODE_SET_TYPE);
    }
    try {
      expression.SyntaxTree().Evaluate();
    } catch (const EDomException&) {
      // The engine's refusals; nothing else may leave it.
    }
  }
  return 0;
}
