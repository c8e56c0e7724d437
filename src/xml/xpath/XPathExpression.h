// TXPathExpression: the public face of the XPath engine. The caller sets the expression
// text and a context node, calls Evaluate, and reads the result as a node-set,
// boolean, number or string. Errors never leave Evaluate: a failed expression answers
// false and leaves no result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Components.h"
#include "xml/xpath/XPathResults.h"
#include "xml/xpath/XPathSyntaxTree.h"

class TXPathExpression;

using TDomXPathLookupNamespaceURIEvent =
    std::function<void(TXPathExpression* sender, WideStringView prefix, WideString& namespaceUri)>;

class TXPathExpression : public TComponent {
public:
  explicit TXPathExpression(TComponent* owner);
  // Frees the result, then the syntax tree.
  ~TXPathExpression() override;

  const WideString& Expression() const { return FExpression; }
  // A different text (compared exactly) discards the prepared tree; the same text keeps
  // it.
  void SetExpression(WideStringView text);
  TDomNode* ContextNode() const { return FContextNode; }
  // None is accepted. A node that belongs to no document raises ENot_Supported_Err
  // "Not supported error." and leaves the context as it was.
  void SetContextNode(TDomNode* node);

  // Parses the expression once; later calls give the remembered answer until the text
  // changes.
  bool Prepare();
  // Frees the previous result, prepares and evaluates. False when the expression does
  // not parse or its evaluation raised (the message is dropped); there is no result then.
  bool Evaluate();

  // True only for a non-empty node-set result.
  bool HasNodeSetResult() const { return ResultLength() > 0; }
  // Answers from the last result; without one: false, NaN, empty, nil, 0, false.
  bool ResultAsBoolean() const;
  double ResultAsNumber() const;
  WideString ResultAsWideString() const;
  TDomNode* ResultNode(int32_t index) const;
  int32_t ResultLength() const;
  bool ResultIsReverse() const;
  // A new result of the type, owned by the caller, made from the current result: a
  // node-set holds the same nodes in the same order (namespace nodes copied).
  TDomXPathResultPtr AcquireXPathResult(TDomXPathResultType resultType) const;
  const TDomXPathCustomResult* XPathResult() const { return FXPathResult.get(); }

  // The context node's answer (empty without one), then OnLookupNamespaceURI's, which
  // is final.
  WideString LookupNamespaceURI(WideStringView prefix);

  TDomXPathSyntaxTree& SyntaxTree() { return *FSyntaxTree; }
  TDomXPathLookupNamespaceURIEvent OnLookupNamespaceURI;

private:
  enum TPreparedState : uint8_t { psNotPrepared = 0, psPrepared = 1, psFailed = 2 };

  TDomNode* FContextNode = nullptr;
  TPreparedState FPreparedState = psNotPrepared;
  WideString FExpression;
  std::unique_ptr<TDomXPathSyntaxTree> FSyntaxTree;
  TDomXPathResultPtr FXPathResult;
};
