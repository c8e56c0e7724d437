// The DOM nodes' XPath operations: each evaluates with a fresh expression whose context
// is the node.
#include "xml/dom/DomNode.h"
#include "xml/xpath/XPathExpression.h"

namespace {

template <typename Read>
auto EvaluateWith(TDomNode* node, WideStringView text, Read read) {
  TXPathExpression expression(nullptr);
  expression.SetExpression(text);
  expression.SetContextNode(node);
  expression.Evaluate();
  return read(expression);
}

}  // namespace

bool TDomNode::EvaluateToBoolean(WideStringView expression) {
  return EvaluateWith(this, expression, [](const TXPathExpression& e) { return e.ResultAsBoolean(); });
}

double TDomNode::EvaluateToNumber(WideStringView expression) {
  return EvaluateWith(this, expression, [](const TXPathExpression& e) { return e.ResultAsNumber(); });
}

TDomNode* TDomNode::EvaluateToNode(WideStringView expression) {
  return EvaluateWith(this, expression, [](const TXPathExpression& e) {
    TDomNode* node = e.ResultNode(0);
    return node && node->GetNodeType() == ntXPathNamespace ? nullptr : node;
  });
}

WideString TDomNode::EvaluateToWideString(WideStringView expression) {
  return EvaluateWith(this, expression, [](const TXPathExpression& e) { return e.ResultAsWideString(); });
}
