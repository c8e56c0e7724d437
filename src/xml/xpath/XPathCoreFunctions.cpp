// The core function library. Arguments are checked strictly: a function that wants a
// string refuses a node-set (string() converts), and each refusal names the function.
// Any other function name goes to the host through the DOM implementation.
#include "xml/xpath/XPathCoreFunctions.h"

#include <array>
#include <cmath>
#include <set>

#include "platform/base/Format.h"
#include "xml/dom/DomDocument.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/dom/XPathNumbers.h"
#include "xml/utils/LangUtils.h"
#include "xml/utils/WideStringUtils.h"
#include "xml/xpath/XPathEvaluation.h"
#include "xml/xpath/XPathExceptions.h"

namespace {

using TNodeSetPtr = std::unique_ptr<TDomXPathNodeSetResult>;

TDomXPathResultPtr Boolean(bool value) { return std::make_unique<TDomXPathBooleanResult>(value); }
TDomXPathResultPtr Number(double value) { return std::make_unique<TDomXPathNumberResult>(value); }
TDomXPathResultPtr String(WideStringView value) { return std::make_unique<TDomXPathStringResult>(value); }

// Argument access with the checks and messages of the library.
class TArgs {
public:
  explicit TArgs(const TDomXPathCoreCall& call) : FCall(call) {}

  size_t Count() const { return FCall.Arguments.size(); }
  [[noreturn]] void Raise(const char* message) const {
    throw EXPath_Invalid_Function_Call_Err(Format(message, {FCall.Name}));
  }
  void RequireCount(size_t least, size_t most) const {
    if (Count() < least || Count() > most) Raise(SArgumentsMismatch);
  }
  TDomXPathResultPtr Evaluate(size_t i) const {
    return FCall.Arguments[i]->Evaluate(FCall.ContextNode, FCall.ContextPosition, FCall.ContextSize);
  }
  TDomXPathResultPtr Typed(size_t i, TDomXPathResultType type, const char* message) const {
    TDomXPathResultPtr result = Evaluate(i);
    if (result->ResultType() != type) Raise(message);
    return result;
  }
  // In document order.
  TNodeSetPtr NodeSet(size_t i) const {
    TNodeSetPtr set = AsNodeSet(Typed(i, XPATH_NODE_SET_TYPE, SArgumentNotNodeSet));
    set->SetReverseOrder(false);
    return set;
  }
  WideString String(size_t i) const { return Typed(i, XPATH_STRING_TYPE, SArgumentNotString)->AsWideString(); }
  double Number(size_t i, const char* message = SArgumentNotNumber) const {
    return Typed(i, XPATH_NUMBER_TYPE, message)->AsNumber();
  }
  TDomNode& ContextNode() const {
    if (!FCall.ContextNode) Raise(SContextNodeNotSpecified);
    return *FCall.ContextNode;
  }
  // The optional string argument, or the context node's string-value without one.
  WideString StringOrContext() const {
    RequireCount(0, 1);
    return Count() == 0 ? ContextNode().GetXPathStringValue() : String(0);
  }
  // The optional argument of any type, or a node-set of the context node without one.
  TDomXPathResultPtr AnyOrContext() const {
    RequireCount(0, 1);
    if (Count() == 1) return Evaluate(0);
    auto set = std::make_unique<TDomXPathNodeSetResult>();
    if (FCall.ContextNode) set->Add(FCall.ContextNode);
    return set;
  }
  const TDomXPathCoreCall& Call() const { return FCall; }

private:
  const TDomXPathCoreCall& FCall;
};

TDomXPathResultPtr Last(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(0, 0);
  if (call.ContextSize <= 0) throw EXPath_Invalid_Function_Call_Err(SInvalidContextSize);
  return Number(call.ContextSize);
}

TDomXPathResultPtr Position(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(0, 0);
  if (call.ContextPosition <= 0) throw EXPath_Invalid_Function_Call_Err(SInvalidContextPosition);
  return Number(call.ContextPosition);
}

TDomXPathResultPtr Count(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  return Number(args.NodeSet(0)->Length());
}

bool IsXmlWhiteSpace(WideChar c) { return c == 0x20 || c == 0x9 || c == 0xA || c == 0xD; }

void AddIdTokens(std::set<WideString>& tokens, WideStringView text) {
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsXmlWhiteSpace(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !IsXmlWhiteSpace(text[i])) ++i;
    if (i > start) tokens.emplace(text.substr(start, i - start));
  }
}

TDomXPathResultPtr Id(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  const TDomCustomDocument* document = args.ContextNode().GetDocument();
  if (!document) args.Raise(SContextNodeWithoutDocument);
  std::set<WideString> tokens;  // sorted, duplicates once
  TDomXPathResultPtr argument = args.Evaluate(0);
  if (argument->ResultType() == XPATH_NODE_SET_TYPE) {
    for (int32_t i = 0; i < argument->Length(); ++i) AddIdTokens(tokens, argument->Item(i)->GetXPathStringValue());
  } else {
    AddIdTokens(tokens, argument->AsWideString());
  }
  auto result = std::make_unique<TDomXPathNodeSetResult>();
  for (const WideString& token : tokens)
    if (TDomElement* element = document->GetElementById(token)) result->Add(element);
  result->Sort();
  return result;
}

// A text of the first node of the optional node-set argument, or of the context node
// without one; empty for an empty set or no context. The set lives while the node is
// read (it owns its namespace nodes).
template <typename Read>
TDomXPathResultPtr StringOfFirstNode(const TDomXPathCoreCall& call, Read read) {
  TArgs args(call);
  args.RequireCount(0, 1);
  TNodeSetPtr set;
  const TDomNode* node = call.ContextNode;
  if (args.Count() == 1) {
    set = args.NodeSet(0);
    node = set->Item(0);
  }
  return String(node ? read(*node) : WideString());
}

TDomXPathResultPtr LocalName(const TDomXPathCoreCall& call) {
  return StringOfFirstNode(call, [](const TDomNode& node) { return XPathLocalName(node); });
}

TDomXPathResultPtr NamespaceUri(const TDomXPathCoreCall& call) {
  return StringOfFirstNode(call, [](const TDomNode& node) { return XPathNamespaceUri(node); });
}

TDomXPathResultPtr Name(const TDomXPathCoreCall& call) {
  return StringOfFirstNode(call, [](const TDomNode& node) { return node.GetXPathName(); });
}

TDomXPathResultPtr StringFunction(const TDomXPathCoreCall& call) {
  return XPathResultAsString(TArgs(call).AnyOrContext());
}

TDomXPathResultPtr NumberFunction(const TDomXPathCoreCall& call) {
  return XPathResultAsNumber(TArgs(call).AnyOrContext());
}

TDomXPathResultPtr BooleanFunction(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  return XPathResultAsBoolean(args.Evaluate(0));
}

TDomXPathResultPtr Not(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  return Boolean(!args.Typed(0, XPATH_BOOLEAN_TYPE, SArgumentNotBoolean)->AsBoolean());
}

TDomXPathResultPtr True(const TDomXPathCoreCall& call) {
  TArgs(call).RequireCount(0, 0);
  return Boolean(true);
}

TDomXPathResultPtr False(const TDomXPathCoreCall& call) {
  TArgs(call).RequireCount(0, 0);
  return Boolean(false);
}

TDomXPathResultPtr Concat(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(2, SIZE_MAX);
  WideString text;
  for (size_t i = 0; i < args.Count(); ++i) text += args.String(i);
  return String(text);
}

// Two string arguments.
template <typename Body>
TDomXPathResultPtr WithTwoStrings(const TDomXPathCoreCall& call, Body body) {
  TArgs args(call);
  args.RequireCount(2, 2);
  const WideString s1 = args.String(0);
  const WideString s2 = args.String(1);
  return body(s1, s2);
}

TDomXPathResultPtr StartsWith(const TDomXPathCoreCall& call) {
  return WithTwoStrings(call, [](const WideString& s1, const WideString& s2) { return Boolean(s1.starts_with(s2)); });
}

TDomXPathResultPtr Contains(const TDomXPathCoreCall& call) {
  return WithTwoStrings(
      call, [](const WideString& s1, const WideString& s2) { return Boolean(s1.find(s2) != WideString::npos); });
}

TDomXPathResultPtr SubstringBefore(const TDomXPathCoreCall& call) {
  return WithTwoStrings(call, [](const WideString& s1, const WideString& s2) {
    const size_t at = s2.empty() ? WideString::npos : s1.find(s2);
    return String(at == WideString::npos ? WideString() : s1.substr(0, at));
  });
}

TDomXPathResultPtr SubstringAfter(const TDomXPathCoreCall& call) {
  return WithTwoStrings(call, [](const WideString& s1, const WideString& s2) {
    const size_t at = s1.find(s2);
    return String(at == WideString::npos ? WideString() : s1.substr(at + s2.size()));
  });
}

// The code units of s from 1-based position `first` (at least 1) up to, not including,
// `end`; either bound may be any finite double.
WideString SubstringBetween(const WideString& s, double first, double end) {
  first = std::max(first, 1.0);
  end = std::min(end, double(s.size()) + 1);
  if (!(end > first)) return {};
  return s.substr(size_t(first) - 1, size_t(end - first));
}

TDomXPathResultPtr Substring(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(2, 3);
  const WideString s = args.String(0);
  const double start = args.Number(1);
  if (args.Count() == 2) {
    if (std::isnan(start) || start == INFINITY) return String(u"");
    if (start == -INFINITY) return String(s);
    return String(SubstringBetween(s, XPathRound(start), INFINITY));
  }
  const double length = args.Number(2);
  if (!std::isfinite(start) || std::isnan(length) || length == -INFINITY) return String(u"");
  const double first = XPathRound(start);
  if (length == INFINITY) return String(SubstringBetween(s, first, INFINITY));
  return String(SubstringBetween(s, first, first + XPathRound(length)));
}

TDomXPathResultPtr StringLength(const TDomXPathCoreCall& call) {
  return Number(double(TArgs(call).StringOrContext().size()));
}

TDomXPathResultPtr NormalizeSpace(const TDomXPathCoreCall& call) {
  return String(CollapseWhiteSpace(TArgs(call).StringOrContext()));
}

TDomXPathResultPtr Translate(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(3, 3);
  const WideString s = args.String(0);
  const WideString from = args.String(1);
  const WideString to = args.String(2);
  return String(TranslateWideStr(s, from, to));
}

TDomXPathResultPtr Lang(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  const WideString range = args.String(0);
  return Boolean(IsLanguageRangeMatch(args.ContextNode().GetLanguage(), range));
}

TDomXPathResultPtr Sum(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  const TNodeSetPtr set = args.NodeSet(0);
  double sum = 0;
  for (int32_t i = 0; i < set->Length(); ++i) sum += XPathStringToNumber(set->Item(i)->GetXPathStringValue());
  return Number(sum);
}

// floor() and ceiling() go through a 32-bit integer where the value fits one, so a
// result of zero is +0 (ceiling(-0.5) is 0); larger values keep their own floor or
// ceiling.
template <double (*Rounding)(double)>
TDomXPathResultPtr RoundingFunction(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  const double value = args.Number(0, SArgumentNotANumber);
  if (!std::isfinite(value)) return Number(value);
  const double rounded = Rounding(value);
  return Number(std::fabs(rounded) < 2147483648.0 ? double(int32_t(rounded)) : rounded);
}

double FloorOf(double value) { return std::floor(value); }
double CeilingOf(double value) { return std::ceil(value); }

TDomXPathResultPtr Round(const TDomXPathCoreCall& call) {
  TArgs args(call);
  args.RequireCount(1, 1);
  return Number(XPathRound(args.Number(0, SArgumentNotANumber)));
}

// Sorted by name.
constexpr std::array<TDomXPathCoreFunction, 27> CoreFunctions{{
    {"boolean", BooleanFunction},
    {"ceiling", RoundingFunction<CeilingOf>},
    {"concat", Concat},
    {"contains", Contains},
    {"count", Count},
    {"false", False},
    {"floor", RoundingFunction<FloorOf>},
    {"id", Id},
    {"lang", Lang},
    {"last", Last},
    {"local-name", LocalName},
    {"name", Name},
    {"namespace-uri", NamespaceUri},
    {"normalize-space", NormalizeSpace},
    {"not", Not},
    {"number", NumberFunction},
    {"position", Position},
    {"round", Round},
    {"starts-with", StartsWith},
    {"string", StringFunction},
    {"string-length", StringLength},
    {"substring", Substring},
    {"substring-after", SubstringAfter},
    {"substring-before", SubstringBefore},
    {"sum", Sum},
    {"translate", Translate},
    {"true", True},
}};

bool NameIs(const char* name, WideStringView text) {
  size_t i = 0;
  for (; name[i]; ++i)
    if (i >= text.size() || text[i] != WideChar(name[i])) return false;
  return i == text.size();
}

}  // namespace

const TDomXPathCoreFunction* FindCoreFunction(WideStringView localName) {
  for (const TDomXPathCoreFunction& function : CoreFunctions)
    if (NameIs(function.Name, localName)) return &function;
  return nullptr;
}

TDomXPathResultPtr EvaluateFunctionCall(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                        int32_t contextSize) {
  if (node.XPathFunction)
    return node.XPathFunction->Call(
        {node.XPathFunction->Name, contextNode, contextPosition, contextSize, node.Arguments});
  const WideString uri = ResolveXPathPrefix(node, node.Prefix);
  TDomXPathResultPtr value;
  if (TDomImplementation* host = XPathHostImplementation(node))
    host->DoRequestXPathFunctionResult(uri, node.LocalName, contextNode, contextPosition, contextSize, node.Arguments,
                                       value);
  if (!value) throw EXPath_Exception(SUnknownFunctionName);
  return value;
}
