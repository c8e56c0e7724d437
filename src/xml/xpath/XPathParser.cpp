// The shift-reduce parser behind TDomXPathSyntaxTree::Prepare.
//
// State: the node stack and one token of look-ahead. Each token becomes a syntax node,
// the current node; Reduce looks at its kind, the top entries of the stack and the
// look-ahead, and either replaces it by a bigger node (which is reduced in turn) or
// pushes it. Punctuation that a reduction consumes is freed at once. The text is one
// expression when, at its end, the stack holds exactly one Expr.
//
// Precedence, lowest first: "or", "and", "=" "!=", the relational operators, "+" "-",
// "*" "div" "mod", unary minus, "|", path expressions; two-operand operators are
// left-associative. An operator level with a single operand wraps it in the level's
// first kind (Left only).
#include <initializer_list>

#include "xml/xpath/XPathSyntaxTree.h"
#include "xml/xpath/XPathTokenizer.h"

using K = TDomXPathSyntaxNodeKind;
using T = TDomXPathTokenKind;
using namespace XPathKinds;

namespace {

constexpr std::initializer_list<T> MultiplicativeLookAhead{T::ShefferStrokeOperator, T::MultiplyOperator,
                                                           T::DivOperator, T::ModOperator};
constexpr std::initializer_list<T> AdditiveLookAhead{T::ShefferStrokeOperator, T::MultiplyOperator, T::DivOperator,
                                                     T::ModOperator,           T::PlusOperator,     T::MinusOperator};
constexpr std::initializer_list<T> RelationalLookAhead{T::ShefferStrokeOperator, T::MultiplyOperator,
                                                       T::DivOperator,           T::ModOperator,
                                                       T::PlusOperator,          T::MinusOperator,
                                                       T::LessThanOperator,      T::LessThanOrEqualOperator,
                                                       T::GreaterThanOperator,   T::GreaterThanOrEqualOperator};
constexpr std::initializer_list<T> EqualityLookAhead{T::ShefferStrokeOperator, T::MultiplyOperator,
                                                     T::DivOperator,           T::ModOperator,
                                                     T::PlusOperator,          T::MinusOperator,
                                                     T::LessThanOperator,      T::LessThanOrEqualOperator,
                                                     T::GreaterThanOperator,   T::GreaterThanOrEqualOperator,
                                                     T::IsEqualOperator,       T::IsNotEqualOperator};
constexpr std::initializer_list<T> AndLookAhead{T::ShefferStrokeOperator,
                                                T::MultiplyOperator,
                                                T::DivOperator,
                                                T::ModOperator,
                                                T::PlusOperator,
                                                T::MinusOperator,
                                                T::LessThanOperator,
                                                T::LessThanOrEqualOperator,
                                                T::GreaterThanOperator,
                                                T::GreaterThanOrEqualOperator,
                                                T::IsEqualOperator,
                                                T::IsNotEqualOperator,
                                                T::AndOperator};
constexpr std::initializer_list<T> OrLookAhead{T::ShefferStrokeOperator, T::MultiplyOperator,
                                               T::DivOperator,           T::ModOperator,
                                               T::PlusOperator,          T::MinusOperator,
                                               T::LessThanOperator,      T::LessThanOrEqualOperator,
                                               T::GreaterThanOperator,   T::GreaterThanOrEqualOperator,
                                               T::IsEqualOperator,       T::IsNotEqualOperator,
                                               T::AndOperator,           T::OrOperator};

class TParser {
public:
  TParser(TDomXPathSyntaxTree& tree, TDomXPathTokenizer& tokenizer) : FTree(tree), FTokenizer(tokenizer) {}

  // The root Expr, or nil when the text is no single expression.
  TDomXPathSyntaxNode* Run() {
    T kind;
    WideString value;
    int32_t position;
    for (;;) {
      FTokenizer.ReadToken(kind, value, position);
      if (kind == T::EndOfExpression || kind == T::InvalidToken) break;
      for (TDomXPathSyntaxNode* current = FTree.CreateSyntaxNode(kind, value); current;) current = Reduce(current);
    }
    if (kind != T::EndOfExpression || FStack.Count() != 1 || !FStack.PeekIs(0, K::Expr)) return nullptr;
    return FStack.Pop();
  }

private:
  bool LookAheadIs(T kind) { return FTokenizer.NextTokenIs(kind); }
  bool LookAheadIn(std::initializer_list<T> kinds) {
    for (T kind : kinds)
      if (FTokenizer.NextTokenIs(kind)) return true;
    return false;
  }
  bool TopIs(int32_t depth, K kind) const { return FStack.PeekIs(depth, kind); }
  bool TopMatches(int32_t depth, bool (*test)(K)) const {
    const TDomXPathSyntaxNode* node = FStack.Peek(depth);
    return node && test(node->Kind());
  }
  void PopAndFree() { FStack.Pop()->Free(); }
  TDomXPathSyntaxNode* Push(TDomXPathSyntaxNode* node) {
    FStack.Push(node);
    return nullptr;
  }
  TDomXPathSyntaxNode* Make(K kind, TDomXPathSyntaxNode* left = nullptr, TDomXPathSyntaxNode* right = nullptr) {
    return FTree.CreateSyntaxNode(kind, left, right);
  }
  TDomXPathSyntaxNode* MakeStep(K axisKind, TDomXPathSyntaxNode* nodeTest, TDomXPathSyntaxNode* predicate = nullptr) {
    return Make(K::Step, Make(axisKind, nodeTest, predicate));
  }
  // Pops the operator on top and the operand below it: Kind(operand, current).
  TDomXPathSyntaxNode* CombineWithTop(K kind, TDomXPathSyntaxNode* current) {
    PopAndFree();
    return Make(kind, FStack.Pop(), current);
  }

  // One step of the reduction table; the node that replaces `current`, or nil when it
  // was pushed.
  TDomXPathSyntaxNode* Reduce(TDomXPathSyntaxNode* current);
  TDomXPathSyntaxNode* ReduceNodeTest(TDomXPathSyntaxNode* current);
  TDomXPathSyntaxNode* ReducePredicate(TDomXPathSyntaxNode* current);
  TDomXPathSyntaxNode* ReduceRightParenthesis(TDomXPathSyntaxNode* current);
  TDomXPathSyntaxNode* ReduceFunctionCall(TDomXPathSyntaxNode* rightParenthesis);
  TDomXPathSyntaxNode* ReduceStep(TDomXPathSyntaxNode* current);
  TDomXPathSyntaxNode* ReduceUnary(TDomXPathSyntaxNode* current);

  TDomXPathSyntaxTree& FTree;
  TDomXPathTokenizer& FTokenizer;
  TDomXPathSyntaxNodeStack FStack;
};

K OperatorExprKind(K operatorKind) {
  switch (operatorKind) {
    case K::MultiplyOperator:
      return K::MultiplyExpr;
    case K::DivOperator:
      return K::DivExpr;
    case K::ModOperator:
      return K::ModExpr;
    case K::PlusOperator:
      return K::PlusExpr;
    case K::MinusOperator:
      return K::MinusExpr;
    case K::LessThanOperator:
      return K::LessThanExpr;
    case K::LessThanOrEqualOperator:
      return K::LessThanOrEqualExpr;
    case K::GreaterThanOperator:
      return K::GreaterThanExpr;
    case K::GreaterThanOrEqualOperator:
      return K::GreaterThanOrEqualExpr;
    case K::IsEqualOperator:
      return K::IsEqualExpr;
    case K::IsNotEqualOperator:
      return K::IsNotEqualExpr;
    case K::AndOperator:
      return K::AndExpr;
    default:
      return K::OrExpr;
  }
}

bool IsMultiplicativeOperator(K k) { return k == K::MultiplyOperator || k == K::DivOperator || k == K::ModOperator; }
bool IsAdditiveOperator(K k) { return k == K::PlusOperator || k == K::MinusOperator; }
bool IsRelationalOperator(K k) { return k >= K::LessThanOperator && k <= K::GreaterThanOrEqualOperator; }
bool IsEqualityOperator(K k) { return k == K::IsEqualOperator || k == K::IsNotEqualOperator; }
bool IsNotUnaryOperand(K k) { return IsAdditive(k) || IsMultiplicative(k) || k == K::UnaryExpr || k == K::UnionExpr; }

TDomXPathSyntaxNode* TParser::Reduce(TDomXPathSyntaxNode* current) {
  const K kind = current->Kind();
  switch (kind) {
    case K::SingleDot:
    case K::DoubleDot: {
      current->Free();
      const K axis = kind == K::SingleDot ? K::AxisNameSelf : K::AxisNameParent;
      return MakeStep(axis, Make(K::NodeTest, Make(K::NodeTypeNode)));
    }
    case K::NameTest:
      return Make(K::NodeTest, current);
    case K::NodeTest:
      return ReduceNodeTest(current);
    case K::Predicate:
      return ReducePredicate(current);
    case K::RightParenthesis:
      return ReduceRightParenthesis(current);
    case K::RightSquareBracket:
      if (TopIs(0, K::Expr) && TopIs(1, K::LeftSquareBracket)) {
        current->Free();
        TDomXPathSyntaxNode* expr = FStack.Pop();
        PopAndFree();
        return Make(K::Predicate, expr);
      }
      return Push(current);
    case K::Literal:
      if (TopIs(0, K::LeftParenthesis) && TopIs(1, K::NodeTypePI) && LookAheadIs(T::RightParenthesis))
        return Push(current);
      return Make(K::PrimaryExpr, current);
    case K::Number:
    case K::VariableReference:
      return Make(K::PrimaryExpr, current);
    case K::PrimaryExpr:
      return Make(K::FilterExpr, current);
    case K::FilterExpr:
      if (!LookAheadIs(T::SlashOperator) && !LookAheadIs(T::LeftSquareBracket)) return Make(K::PathExpr, current);
      return Push(current);
    case K::SlashOperator:
      if (FStack.Count() > 0 && !TopIs(0, K::ShefferStrokeOperator)) return Push(current);
      if (LookAheadIs(T::EndOfExpression) || LookAheadIs(T::ShefferStrokeOperator)) {
        current->Free();
        return Make(K::PathExpr, Make(K::AbsoluteLocationPath));
      }
      return Push(current);
    case K::Step:
      return ReduceStep(current);
    case K::PathExpr:
      if (LookAheadIs(T::SlashOperator)) return Push(current);
      if (TopIs(0, K::ShefferStrokeOperator) && TopIs(1, K::UnionExpr)) return CombineWithTop(K::UnionExpr, current);
      return Make(K::UnionExpr, current);
    case K::ShefferStrokeOperator:
      if (TopIs(0, K::PathExpr)) {
        FStack.Push(Make(K::UnionExpr, FStack.Pop()));
        return Push(current);
      }
      return Push(current);
    case K::UnionExpr:
      if (LookAheadIs(T::ShefferStrokeOperator)) return Push(current);
      return Make(K::UnaryExpr, current);
    case K::UnaryExpr:
      return ReduceUnary(current);
    case K::MultiplyExpr:
    case K::DivExpr:
    case K::ModExpr:
      if (LookAheadIn(MultiplicativeLookAhead)) return Push(current);
      if (TopMatches(0, IsAdditiveOperator) && TopMatches(1, IsAdditive))
        return CombineWithTop(OperatorExprKind(FStack.Peek(0)->Kind()), current);
      return Make(K::PlusExpr, current);
    case K::PlusExpr:
    case K::MinusExpr:
      if (LookAheadIn(AdditiveLookAhead)) return Push(current);
      if (TopMatches(0, IsRelationalOperator) && TopMatches(1, IsRelational))
        return CombineWithTop(OperatorExprKind(FStack.Peek(0)->Kind()), current);
      return Make(K::LessThanExpr, current);
    case K::LessThanExpr:
    case K::LessThanOrEqualExpr:
    case K::GreaterThanExpr:
    case K::GreaterThanOrEqualExpr:
      if (LookAheadIn(RelationalLookAhead)) return Push(current);
      if (TopMatches(0, IsEqualityOperator) && TopMatches(1, IsEquality))
        return CombineWithTop(OperatorExprKind(FStack.Peek(0)->Kind()), current);
      return Make(K::IsEqualExpr, current);
    case K::IsEqualExpr:
    case K::IsNotEqualExpr:
      if (LookAheadIn(EqualityLookAhead)) return Push(current);
      if (TopIs(0, K::AndOperator) && TopIs(1, K::AndExpr)) return CombineWithTop(K::AndExpr, current);
      return Make(K::AndExpr, current);
    case K::AndExpr:
      if (LookAheadIn(AndLookAhead)) return Push(current);
      if (TopIs(0, K::OrOperator) && TopIs(1, K::OrExpr)) return CombineWithTop(K::OrExpr, current);
      return Make(K::OrExpr, current);
    case K::OrExpr:
      if (LookAheadIn(OrLookAhead)) return Push(current);
      return Make(K::Expr, current);
    default:
      return Push(current);
  }
}

TDomXPathSyntaxNode* TParser::ReduceNodeTest(TDomXPathSyntaxNode* current) {
  if (LookAheadIs(T::LeftSquareBracket)) return Push(current);
  if (!TopIs(0, K::DoubleColon)) {
    if (TopIs(0, K::CommercialAt)) {
      PopAndFree();
      return MakeStep(K::AxisNameAttribute, current);
    }
    return MakeStep(K::AxisNameChild, current);
  }
  if (TopMatches(1, IsAxis)) {
    PopAndFree();
    TDomXPathSyntaxNode* axis = FStack.Pop();
    axis->Left = current;
    return Make(K::Step, axis);
  }
  return Push(current);
}

TDomXPathSyntaxNode* TParser::ReducePredicate(TDomXPathSyntaxNode* current) {
  if (TopIs(0, K::FilterExpr)) return Make(K::FilterExpr, FStack.Pop(), current);
  if (LookAheadIs(T::LeftSquareBracket)) return Push(current);
  if (TopIs(0, K::Predicate)) {
    TDomXPathSyntaxNode* previous = FStack.Pop();
    previous->Right = current;
    return previous;
  }
  if (TopIs(0, K::NodeTest) && !TopIs(1, K::DoubleColon)) {
    TDomXPathSyntaxNode* nodeTest = FStack.Pop();
    if (TopIs(0, K::CommercialAt)) {
      PopAndFree();
      return MakeStep(K::AxisNameAttribute, nodeTest, current);
    }
    return MakeStep(K::AxisNameChild, nodeTest, current);
  }
  if (TopIs(0, K::NodeTest) && TopMatches(2, IsAxis)) {
    TDomXPathSyntaxNode* nodeTest = FStack.Pop();
    PopAndFree();
    TDomXPathSyntaxNode* axis = FStack.Pop();
    axis->Left = nodeTest;
    axis->Right = current;
    return Make(K::Step, axis);
  }
  return Push(current);
}

TDomXPathSyntaxNode* TParser::ReduceRightParenthesis(TDomXPathSyntaxNode* current) {
  if (TopIs(0, K::LeftParenthesis) && TopMatches(1, IsNodeType)) {
    current->Free();
    PopAndFree();
    return Make(K::NodeTest, FStack.Pop());
  }
  if (TopIs(0, K::Literal) && TopIs(1, K::LeftParenthesis) && TopIs(2, K::NodeTypePI)) {
    current->Free();
    TDomXPathSyntaxNode* literal = FStack.Pop();
    PopAndFree();
    TDomXPathSyntaxNode* pi = FStack.Pop();
    pi->Left = literal;
    return Make(K::NodeTest, pi);
  }
  if (TopIs(0, K::Expr) && TopIs(1, K::LeftParenthesis) && !TopIs(2, K::FunctionName)) {
    current->Free();
    TDomXPathSyntaxNode* expr = FStack.Pop();
    PopAndFree();
    return Make(K::PrimaryExpr, expr);
  }
  return ReduceFunctionCall(current);
}

// Collects "( Expr , Expr ... )" after a function name. Each comma must stand between
// two arguments, so "f(1,)" and "f(,1)" stay unreduced and fail.
TDomXPathSyntaxNode* TParser::ReduceFunctionCall(TDomXPathSyntaxNode* rightParenthesis) {
  TDomXPathSyntaxNode* call = Make(K::FunctionCall);
  bool wellFormed = true;
  while (TopIs(0, K::Expr)) {
    call->Arguments.insert(call->Arguments.begin(), FStack.Pop());
    if (!TopIs(0, K::Comma)) break;
    PopAndFree();
    if (!TopIs(0, K::Expr)) {
      wellFormed = false;
      break;
    }
  }
  if (wellFormed && TopIs(0, K::LeftParenthesis) && TopIs(1, K::FunctionName)) {
    rightParenthesis->Free();
    PopAndFree();
    TDomXPathSyntaxNode* name = FStack.Pop();
    call->SetFunctionName(name->Value);
    name->Free();
    return Make(K::PrimaryExpr, call);
  }
  FStack.Push(call);
  return Push(rightParenthesis);
}

TDomXPathSyntaxNode* TParser::ReduceStep(TDomXPathSyntaxNode* current) {
  if (!TopIs(0, K::SlashOperator)) return Make(K::PathExpr, nullptr, current);
  if (TopIs(1, K::FilterExpr)) {
    PopAndFree();
    return Make(K::PathExpr, FStack.Pop(), current);
  }
  if (TopIs(1, K::PathExpr)) {
    PopAndFree();
    if (FStack.Peek(0)->AddStep(current)) return FStack.Pop();
    return Push(current);
  }
  if (FStack.Count() == 1 || TopIs(1, K::ShefferStrokeOperator) || TopIs(1, K::LeftParenthesis)) {
    PopAndFree();
    return Make(K::PathExpr, Make(K::AbsoluteLocationPath), current);
  }
  return Push(current);
}

TDomXPathSyntaxNode* TParser::ReduceUnary(TDomXPathSyntaxNode* current) {
  if (LookAheadIs(T::ShefferStrokeOperator)) return Push(current);
  if (TopIs(0, K::MinusOperator) && !TopMatches(1, IsNotUnaryOperand)) return Make(K::UnaryExpr, FStack.Pop(), current);
  if (TopMatches(0, IsMultiplicativeOperator) && TopMatches(1, IsMultiplicative))
    return CombineWithTop(OperatorExprKind(FStack.Peek(0)->Kind()), current);
  return Make(K::MultiplyExpr, current);
}

}  // namespace

bool TDomXPathSyntaxTree::Prepare(WideStringView text) {
  Clear();
  TDomXPathTokenizer tokenizer(text, u"1.0");
  FRoot = TParser(*this, tokenizer).Run();
  if (!FRoot) Clear();
  return FRoot != nullptr;
}
