// The syntax tree of an XPath expression: syntax nodes owned by the tree, the node
// stack of the shift-reduce parser, and the tree itself, which parses (Prepare) and
// evaluates (Evaluate) against the context node of its owner expression.
//
// A syntax node is one class whose kind names what it stands for; the kinds up to
// VariableReference are made from tokens, the rest by the parser's reductions. Shapes
// (what Left and Right hold) per kind:
//   Expr: Left = OrExpr.
//   OrExpr, AndExpr, the equality, relational, additive and multiplicative kinds: Left
//     and Right = the two operands, or Left alone (a level holding one operand).
//   UnaryExpr: Left = UnionExpr, or Left = the MinusOperator and Right = a UnaryExpr.
//   UnionExpr: Left = PathExpr, or Left = UnionExpr and Right = PathExpr.
//   PathExpr: Left = nil (relative path), AbsoluteLocationPath or FilterExpr; Right =
//     the first Step or nil.
//   Step: Left = an axis node, Right = the next Step or nil.
//   axis nodes: Left = NodeTest, Right = the first Predicate or nil.
//   NodeTest: Left = NameTest or a node-type node (NodeTypePI may hold a Literal).
//   Predicate: Left = Expr, Right = the next Predicate or nil.
//   FilterExpr: Left = PrimaryExpr, or Left = FilterExpr and Right = Predicate.
//   PrimaryExpr: Left = VariableReference, Expr, Literal, Number or FunctionCall.
//   FunctionCall: Arguments = the argument Exprs in call order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "xml/dom/DomNode.h"
#include "xml/xpath/XPathLimits.h"
#include "xml/xpath/XPathResults.h"
#include "xml/xpath/XPathTokenizer.h"

class TXPathExpression;
class TDomXPathSyntaxTree;
struct TDomXPathCoreFunction;

// The kinds of syntax nodes: the token kinds up to VariableReference, then those that
// the parser builds (EndOfExpression and InvalidToken make no node).
using TDomXPathSyntaxNodeKind = TDomXPathTokenKind;

namespace XPathKinds {
using K = TDomXPathSyntaxNodeKind;
constexpr bool IsAxis(K k) { return k >= K::AxisNameAncestor && k <= K::AxisNameSelf; }
constexpr bool IsNodeType(K k) { return k >= K::NodeTypeComment && k <= K::NodeTypeNode; }
constexpr bool IsEquality(K k) { return k == K::IsEqualExpr || k == K::IsNotEqualExpr; }
constexpr bool IsRelational(K k) { return k >= K::LessThanExpr && k <= K::GreaterThanOrEqualExpr; }
constexpr bool IsAdditive(K k) { return k == K::PlusExpr || k == K::MinusExpr; }
constexpr bool IsMultiplicative(K k) { return k >= K::MultiplyExpr && k <= K::ModExpr; }
}  // namespace XPathKinds

class TDomXPathSyntaxNode final : public TCustomOwnedObject {
public:
  // Create nodes with TDomXPathSyntaxTree::CreateSyntaxNode.
  TDomXPathSyntaxNode(TDomXPathSyntaxNodeKind kind, WideStringView value);

  TDomXPathSyntaxNodeKind Kind() const { return FKind; }
  TDomXPathSyntaxTree* GetSyntaxTree() const;

  // Appends a step at the end of this path's (or step's) chain of steps; false when the
  // chain ends in something that is no step.
  bool AddStep(TDomXPathSyntaxNode* step);
  // Function calls: stores the QName, splits it and binds the core function of an
  // unprefixed name (none for an unknown or prefixed one).
  void SetFunctionName(WideStringView name);
  const WideString& GetFunctionName() const { return Value; }

  // A new result owned by the caller. Raises the EXPath_Exception family, ENamespace_Err
  // or ENot_Supported_Err; every intermediate result is freed on the way out.
  TDomXPathResultPtr Evaluate(TDomNode* contextNode, int32_t contextPosition, int32_t contextSize) const;

  TDomXPathSyntaxNode* Left = nullptr;  // owned by the tree, like every node
  TDomXPathSyntaxNode* Right = nullptr;
  WideString Value;  // the token's text; the QName of names
  // Name tests, variable references and function calls: the parts of the QName (a name
  // test "p:*" or "*" has the local name "*").
  WideString Prefix, LocalName;
  std::vector<TDomXPathSyntaxNode*> Arguments;  // function calls
  const TDomXPathCoreFunction* XPathFunction = nullptr;

private:
  void SplitName();

  TDomXPathSyntaxNodeKind FKind;
};

class TDomXPathSyntaxNodeStack {
public:
  int32_t Count() const { return static_cast<int32_t>(FNodes.size()); }
  // The node at a depth from the top (0 = top); nil when there is none.
  TDomXPathSyntaxNode* Peek(int32_t depth) const;
  // Kind of the node at a depth, or no value.
  bool PeekIs(int32_t depth, TDomXPathSyntaxNodeKind kind) const;
  TDomXPathSyntaxNode* Pop();
  void Push(TDomXPathSyntaxNode* node) { FNodes.push_back(node); }

private:
  std::vector<TDomXPathSyntaxNode*> FNodes;  // the tree owns them
};

class TDomXPathSyntaxTree : public TCustomOwnedObject {
public:
  // The owner expression supplies the context node and the namespace lookups; none is
  // allowed (then there is no context node and no prefix resolves).
  explicit TDomXPathSyntaxTree(TXPathExpression* ownerExpression) : FOwnerExpression(ownerExpression) {}

  // Frees every syntax node; nothing is prepared afterwards.
  void Clear() override;
  // A node of the token's kind owned by this tree; nil for EndOfExpression and
  // InvalidToken.
  TDomXPathSyntaxNode* CreateSyntaxNode(TDomXPathTokenKind kind, WideStringView value);
  TDomXPathSyntaxNode* CreateSyntaxNode(TDomXPathSyntaxNodeKind kind, TDomXPathSyntaxNode* left = nullptr,
                                        TDomXPathSyntaxNode* right = nullptr);
  TDomNode* GetContextNode() const;
  bool IsPrepared() const { return FRoot != nullptr; }
  TDomXPathSyntaxNode* Root() const { return FRoot; }
  TXPathExpression* OwnerExpression() const { return FOwnerExpression; }
  // The namespace URI of a prefix as the owner expression answers it; empty without
  // owner.
  WideString LookupNamespaceURI(WideStringView prefix) const;

  // Parses the text into a new tree; true when it is one complete expression. Syntax
  // errors raise nothing: the answer is false and nothing is prepared.
  bool Prepare(WideStringView text);
  // Evaluates the prepared tree with the context node, position 1 and size 1. Raises
  // ENot_Supported_Err "Not supported error." for a context node of a type XPath does
  // not know (CDATA section, entity reference, fragment, document type declaration),
  // EXPath_Invalid_Expression_Err "No valid XPath expression prepared." without a tree,
  // and whatever the evaluation raises.
  TDomXPathResultPtr Evaluate();

  // One more evaluation on the stack, counted as one unit of work too; beyond
  // Limits.MaxNestingDepth it raises EXPath_Exception "XPath expression nested too
  // deeply.". LeaveNested undoes it.
  void EnterNested();
  void LeaveNested() { --FNestingDepth; }
  // Units of work (nodes collected by the axes); beyond Limits.MaxEvaluationSteps in one
  // evaluation it raises EXPath_Exception "XPath evaluation exceeded its work budget.".
  void CountWork(int64_t units);

  TXPathLimits Limits;

private:
  TXPathExpression* FOwnerExpression;
  TDomXPathSyntaxNode* FRoot = nullptr;
  int32_t FNestingDepth = 0;
  int64_t FEvaluationSteps = 0;
};
