#include "xml/xpath/XPathEvaluation.h"

#include "platform/base/Format.h"
#include "xml/dom/DomImplementation.h"
#include "xml/xpath/XPathExceptions.h"

using K = TDomXPathSyntaxNodeKind;

int32_t ExpressionLevel(TDomXPathSyntaxNodeKind kind) {
  using namespace XPathKinds;
  if (kind == K::Expr) return 0;
  if (kind == K::OrExpr) return 1;
  if (kind == K::AndExpr) return 2;
  if (IsEquality(kind)) return 3;
  if (IsRelational(kind)) return 4;
  if (IsAdditive(kind)) return 5;
  if (IsMultiplicative(kind)) return 6;
  if (kind == K::UnaryExpr) return 7;
  if (kind == K::UnionExpr) return 8;
  return -1;
}

bool HasOperatorShape(const TDomXPathSyntaxNode& node) {
  const int32_t level = ExpressionLevel(node.Kind());
  if (!node.Left || level < 0 || level > 7) return false;
  const int32_t left = ExpressionLevel(node.Left->Kind());
  if (!node.Right) return left == level + 1;
  const int32_t right = ExpressionLevel(node.Right->Kind());
  if (node.Kind() == K::UnaryExpr) return node.Left->Kind() == K::MinusOperator && right == 7;
  return level > 0 && left == level && right == level + 1;
}

WideString ResolveXPathPrefix(const TDomXPathSyntaxNode& node, WideStringView prefix) {
  if (prefix.empty()) return {};
  WideString uri = node.GetSyntaxTree()->LookupNamespaceURI(prefix);
  if (uri.empty()) throw ENamespace_Err(Format(SNamespaceUriOfPrefixNotFound, {WideString(prefix)}));
  return uri;
}

TDomImplementation* XPathHostImplementation(const TDomXPathSyntaxNode& node) {
  const TDomNode* contextNode = node.GetSyntaxTree()->GetContextNode();
  const TDomCustomDocument* document = contextNode ? contextNode->GetDocument() : nullptr;
  return document ? document->GetDomImplementation() : nullptr;
}

WideString XPathLocalName(const TDomNode& node) {
  switch (node.GetNodeType()) {
    case ntProcessingInstruction:
      return node.GetNodeName();
    case ntElement:
    case ntAttribute:
      return node.IsNamespaceAware() ? node.GetLocalName() : node.GetNodeName();
    default:
      return node.GetLocalName();
  }
}

WideString XPathNamespaceUri(const TDomNode& node) {
  return node.GetNodeType() == ntXPathNamespace ? WideString() : node.GetNamespaceUri();
}

namespace {

// Nodes that hand their Left's evaluation on unchanged: a level holding a single
// operand, a union of one path, a path of a filter alone, a filter of a primary alone,
// a primary around a parenthesised expression. Skipping them in a loop keeps deep
// parentheses and the many one-operand levels off the machine stack.
bool PassesThrough(const TDomXPathSyntaxNode& node) {
  if (!node.Left) return false;
  switch (node.Kind()) {
    case K::UnionExpr:
      return !node.Right && node.Left->Kind() == K::PathExpr;
    case K::PathExpr:
      return !node.Right && node.Left->Kind() == K::FilterExpr;
    case K::FilterExpr:
      return !node.Right && node.Left->Kind() == K::PrimaryExpr;
    case K::PrimaryExpr:
      return node.Left->Kind() == K::Expr;
    default:
      return !node.Right && ExpressionLevel(node.Kind()) >= 0 && HasOperatorShape(node);
  }
}

class TNestingScope {
public:
  explicit TNestingScope(TDomXPathSyntaxTree& tree) : FTree(tree) { FTree.EnterNested(); }
  ~TNestingScope() { FTree.LeaveNested(); }
  TNestingScope(const TNestingScope&) = delete;
  TNestingScope& operator=(const TNestingScope&) = delete;

private:
  TDomXPathSyntaxTree& FTree;
};

}  // namespace

TDomXPathResultPtr TDomXPathSyntaxNode::Evaluate(TDomNode* contextNode, int32_t contextPosition,
                                                 int32_t contextSize) const {
  const TDomXPathSyntaxNode* node = this;
  bool toDocumentOrder = false;  // a union of one path puts a node-set in document order
  while (PassesThrough(*node)) {
    toDocumentOrder = toDocumentOrder || node->Kind() == K::UnionExpr;
    node = node->Left;
  }
  TNestingScope scope(*GetSyntaxTree());
  TDomXPathResultPtr result;
  switch (node->Kind()) {
    case K::PathExpr:
    case K::FilterExpr:
    case K::UnionExpr:
      result = EvaluateLocationPath(*node, contextNode, contextPosition, contextSize);
      break;
    case K::FunctionCall:
      result = EvaluateFunctionCall(*node, contextNode, contextPosition, contextSize);
      break;
    default:
      result = EvaluateOperator(*node, contextNode, contextPosition, contextSize);
  }
  if (toDocumentOrder) result->SetReverseOrder(false);
  return result;
}
