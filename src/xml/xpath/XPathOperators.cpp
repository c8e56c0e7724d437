// The expression levels above location paths: "or", "and", the comparisons, the
// arithmetic operators, unary minus and the primary expressions. Arithmetic follows
// IEEE 754 (division by zero gives an infinity or NaN, NaN compares false); floating-
// point exceptions are masked on this platform, so nothing traps.
#include <cmath>
#include <functional>

#include "platform/base/Format.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/XPathNumbers.h"
#include "xml/xpath/XPathEvaluation.h"
#include "xml/xpath/XPathExceptions.h"
#include "xml/xpath/XPathExpression.h"

using K = TDomXPathSyntaxNodeKind;

namespace {

[[noreturn]] void RaiseTypeError() { throw EXPath_Type_Err(SXPath_Type_Err); }

TDomXPathResultPtr Boolean(bool value) { return std::make_unique<TDomXPathBooleanResult>(value); }
TDomXPathResultPtr Number(double value) { return std::make_unique<TDomXPathNumberResult>(value); }

struct TOperands {
  TDomXPathResultPtr Left, Right;
};

TOperands EvaluateOperands(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                           int32_t contextSize) {
  TOperands operands;
  operands.Left = node.Left->Evaluate(contextNode, contextPosition, contextSize);
  operands.Right = node.Right->Evaluate(contextNode, contextPosition, contextSize);
  return operands;
}

// "or" and "and": the right operand is evaluated only when the left does not decide.
TDomXPathResultPtr EvaluateLogical(const TDomXPathSyntaxNode& node, bool decidingValue, TDomNode* contextNode,
                                   int32_t contextPosition, int32_t contextSize) {
  TDomXPathResultPtr left = XPathResultAsBoolean(node.Left->Evaluate(contextNode, contextPosition, contextSize));
  if (left->AsBoolean() == decidingValue) return left;
  return XPathResultAsBoolean(node.Right->Evaluate(contextNode, contextPosition, contextSize));
}

// The string-values of a node-set's nodes.
std::vector<WideString> StringValues(const TDomXPathCustomResult& set) {
  std::vector<WideString> values;
  values.reserve(size_t(set.Length()));
  for (int32_t i = 0; i < set.Length(); ++i) values.push_back(set.Item(i)->GetXPathStringValue());
  return values;
}

bool AnyPair(const std::vector<WideString>& left, const std::vector<WideString>& right,
             const std::function<bool(const WideString&, const WideString&)>& relation) {
  for (const WideString& a : left)
    for (const WideString& b : right)
      if (relation(a, b)) return true;
  return false;
}

// "=" and "!=". A node-set is compared by the string-values of its nodes with the other
// operand's string-values, or with its value as a string (numbers in their XPath
// format, booleans as "true" and "false"); otherwise booleans, then numbers, then
// strings decide the comparison.
bool CompareEquality(TOperands operands, bool equal) {
  if (operands.Right->ResultType() == XPATH_NODE_SET_TYPE) std::swap(operands.Left, operands.Right);
  const auto relation = [equal](const WideString& a, const WideString& b) { return (a == b) == equal; };
  if (operands.Left->ResultType() == XPATH_NODE_SET_TYPE) {
    const std::vector<WideString> left = StringValues(*operands.Left);
    if (operands.Right->ResultType() == XPATH_NODE_SET_TYPE)
      return AnyPair(left, StringValues(*operands.Right), relation);
    return AnyPair(left, {XPathResultAsString(std::move(operands.Right))->AsWideString()}, relation);
  }
  const auto either = [&](TDomXPathResultType type) {
    return operands.Left->ResultType() == type || operands.Right->ResultType() == type;
  };
  if (either(XPATH_BOOLEAN_TYPE)) return (operands.Left->AsBoolean() == operands.Right->AsBoolean()) == equal;
  if (either(XPATH_NUMBER_TYPE)) return (operands.Left->AsNumber() == operands.Right->AsNumber()) == equal;
  return (operands.Left->AsWideString() == operands.Right->AsWideString()) == equal;
}

// The four relational operators, always left related to right. Node-sets compare
// string-values by code units (a proper prefix first); otherwise numbers decide.
template <typename Relation>
bool CompareRelational(TOperands operands, Relation relation) {
  const bool leftIsSet = operands.Left->ResultType() == XPATH_NODE_SET_TYPE;
  const bool rightIsSet = operands.Right->ResultType() == XPATH_NODE_SET_TYPE;
  if (leftIsSet || rightIsSet) {
    const auto values = [](TDomXPathResultPtr& result) {
      if (result->ResultType() == XPATH_NODE_SET_TYPE) return StringValues(*result);
      return std::vector<WideString>{XPathResultAsString(std::move(result))->AsWideString()};
    };
    return AnyPair(values(operands.Left), values(operands.Right),
                   [&](const WideString& a, const WideString& b) { return relation(a.compare(b), 0); });
  }
  return relation(operands.Left->AsNumber(), operands.Right->AsNumber());
}

// "mod" is a - t × b with t = a ÷ b truncated to a 64-bit integer. With an operand
// that is not finite, or where that integer does not exist (a ÷ b NaN, infinite or out
// of range), std::fmod answers (so 5 mod infinity is 5, not NaN).
double XPathMod(double a, double b) {
  const double quotient = std::trunc(a / b);
  if (std::isfinite(a) && std::isfinite(b) && std::isfinite(quotient) && std::fabs(quotient) < 9.2e18)
    return a - double(int64_t(quotient)) * b;
  return std::fmod(a, b);
}

TDomXPathResultPtr EvaluateArithmetic(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                      int32_t contextSize) {
  const double a = XPathResultAsNumber(node.Left->Evaluate(contextNode, contextPosition, contextSize))->AsNumber();
  const double b = XPathResultAsNumber(node.Right->Evaluate(contextNode, contextPosition, contextSize))->AsNumber();
  switch (node.Kind()) {
    case K::PlusExpr:
      return Number(a + b);
    case K::MinusExpr:
      return Number(a - b);
    case K::MultiplyExpr:
      return Number(a * b);
    case K::DivExpr:
      return Number(a / b);
    default:
      return Number(XPathMod(a, b));
  }
}

TDomXPathResultPtr EvaluateVariableReference(const TDomXPathSyntaxNode& variable) {
  const WideString uri = ResolveXPathPrefix(variable, variable.Prefix);
  TDomXPathResultPtr value;
  if (TDomImplementation* host = XPathHostImplementation(variable))
    host->DoRequestXPathVariable(variable.GetSyntaxTree()->OwnerExpression(), uri, variable.LocalName, value);
  if (!value) throw EXPath_Exception(Format(SNoBindingForVariable, {variable.Value}));
  return value;
}

TDomXPathResultPtr EvaluatePrimary(const TDomXPathSyntaxNode& primary, TDomNode* contextNode, int32_t contextPosition,
                                   int32_t contextSize) {
  const TDomXPathSyntaxNode* operand = primary.Left;
  if (!operand) RaiseTypeError();
  switch (operand->Kind()) {
    case K::Literal:
      return std::make_unique<TDomXPathStringResult>(operand->Value);
    case K::Number:
      return Number(XPathStringToNumber(operand->Value));
    case K::VariableReference:
      return EvaluateVariableReference(*operand);
    case K::Expr:
    case K::FunctionCall:
      return operand->Evaluate(contextNode, contextPosition, contextSize);
    default:
      RaiseTypeError();
  }
}

}  // namespace

TDomXPathResultPtr EvaluateOperator(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                    int32_t contextSize) {
  if (node.Kind() == K::PrimaryExpr) return EvaluatePrimary(node, contextNode, contextPosition, contextSize);
  if (!HasOperatorShape(node)) RaiseTypeError();
  if (!node.Right) return node.Left->Evaluate(contextNode, contextPosition, contextSize);
  const auto operands = [&] { return EvaluateOperands(node, contextNode, contextPosition, contextSize); };
  switch (node.Kind()) {
    case K::OrExpr:
      return EvaluateLogical(node, true, contextNode, contextPosition, contextSize);
    case K::AndExpr:
      return EvaluateLogical(node, false, contextNode, contextPosition, contextSize);
    case K::IsEqualExpr:
      return Boolean(CompareEquality(operands(), true));
    case K::IsNotEqualExpr:
      return Boolean(CompareEquality(operands(), false));
    case K::LessThanExpr:
      return Boolean(CompareRelational(operands(), std::less<>()));
    case K::LessThanOrEqualExpr:
      return Boolean(CompareRelational(operands(), std::less_equal<>()));
    case K::GreaterThanExpr:
      return Boolean(CompareRelational(operands(), std::greater<>()));
    case K::GreaterThanOrEqualExpr:
      return Boolean(CompareRelational(operands(), std::greater_equal<>()));
    case K::UnaryExpr:
      return Number(-XPathResultAsNumber(node.Right->Evaluate(contextNode, contextPosition, contextSize))->AsNumber());
    default:
      return EvaluateArithmetic(node, contextNode, contextPosition, contextSize);
  }
}
