#include "xml/xpath/XPathSyntaxTree.h"

#include "xml/dom/DomTextRoutines.h"
#include "xml/xpath/XPathCoreFunctions.h"
#include "xml/xpath/XPathExceptions.h"
#include "xml/xpath/XPathExpression.h"

using K = TDomXPathSyntaxNodeKind;

TDomXPathSyntaxNode::TDomXPathSyntaxNode(TDomXPathSyntaxNodeKind kind, WideStringView value)
    : Value(value), FKind(kind) {
  if (kind == K::NameTest || kind == K::VariableReference) SplitName();
}

TDomXPathSyntaxTree* TDomXPathSyntaxNode::GetSyntaxTree() const { return static_cast<TDomXPathSyntaxTree*>(Owner()); }

void TDomXPathSyntaxNode::SplitName() {
  if (Value == u"*") {
    Prefix.clear();
    LocalName = u"*";
  } else if (Value.size() > 2 && Value.ends_with(u":*")) {
    Prefix = Value.substr(0, Value.size() - 2);
    LocalName = u"*";
  } else {
    SplitQualifiedName(Value, Prefix, LocalName);
  }
}

bool TDomXPathSyntaxNode::AddStep(TDomXPathSyntaxNode* step) {
  // Walks the chain instead of recursing along it.
  TDomXPathSyntaxNode* node = this;
  while (node->Right && node->Right->Kind() == K::Step) node = node->Right;
  if (node->Right) return false;
  node->Right = step;
  return true;
}

void TDomXPathSyntaxNode::SetFunctionName(WideStringView name) {
  if (name == Value && !Value.empty()) return;
  Value = name;
  SplitName();
  XPathFunction = Prefix.empty() ? FindCoreFunction(LocalName) : nullptr;
}

TDomXPathSyntaxNode* TDomXPathSyntaxNodeStack::Peek(int32_t depth) const {
  return depth < 0 || depth >= Count() ? nullptr : FNodes[FNodes.size() - 1 - size_t(depth)];
}

bool TDomXPathSyntaxNodeStack::PeekIs(int32_t depth, TDomXPathSyntaxNodeKind kind) const {
  const TDomXPathSyntaxNode* node = Peek(depth);
  return node && node->Kind() == kind;
}

TDomXPathSyntaxNode* TDomXPathSyntaxNodeStack::Pop() {
  if (FNodes.empty()) return nullptr;
  TDomXPathSyntaxNode* node = FNodes.back();
  FNodes.pop_back();
  return node;
}

void TDomXPathSyntaxTree::Clear() {
  TCustomOwnedObject::Clear();
  FRoot = nullptr;
}

TDomXPathSyntaxNode* TDomXPathSyntaxTree::CreateSyntaxNode(TDomXPathTokenKind kind, WideStringView value) {
  if (kind == TDomXPathTokenKind::EndOfExpression || kind == TDomXPathTokenKind::InvalidToken) return nullptr;
  return CreateOwnedObject<TDomXPathSyntaxNode>(*this, kind, value);
}

TDomXPathSyntaxNode* TDomXPathSyntaxTree::CreateSyntaxNode(TDomXPathSyntaxNodeKind kind, TDomXPathSyntaxNode* left,
                                                           TDomXPathSyntaxNode* right) {
  TDomXPathSyntaxNode* node = CreateOwnedObject<TDomXPathSyntaxNode>(*this, kind, u"");
  node->Left = left;
  node->Right = right;
  return node;
}

TDomNode* TDomXPathSyntaxTree::GetContextNode() const {
  return FOwnerExpression ? FOwnerExpression->ContextNode() : nullptr;
}

WideString TDomXPathSyntaxTree::LookupNamespaceURI(WideStringView prefix) const {
  return FOwnerExpression ? FOwnerExpression->LookupNamespaceURI(prefix) : WideString();
}

TDomXPathResultPtr TDomXPathSyntaxTree::Evaluate() {
  TDomNode* contextNode = GetContextNode();
  if (contextNode) {
    switch (contextNode->GetNodeType()) {
      case ntElement:
      case ntAttribute:
      case ntText:
      case ntProcessingInstruction:
      case ntComment:
      case ntDocument:
      case ntXPathNamespace:
        break;
      default:
        throw ENot_Supported_Err(SNot_Supported_Err);
    }
  }
  if (!FRoot) throw EXPath_Invalid_Expression_Err(SNoValidXPathExpression);
  FNestingDepth = 0;
  FEvaluationSteps = 0;
  return FRoot->Evaluate(contextNode, 1, 1);
}

void TDomXPathSyntaxTree::EnterNested() {
  CountWork(1);
  if (FNestingDepth >= Limits.MaxNestingDepth) throw EXPath_Exception(SXPathNestedTooDeeply);
  ++FNestingDepth;
}

void TDomXPathSyntaxTree::CountWork(int64_t units) {
  FEvaluationSteps += units;
  if (FEvaluationSteps > Limits.MaxEvaluationSteps) throw EXPath_Exception(SXPathWorkBudgetExceeded);
}
