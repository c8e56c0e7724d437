#include "xml/xpath/XPathExpression.h"

#include <limits>

TXPathExpression::TXPathExpression(TComponent* owner)
    : TComponent(owner), FSyntaxTree(std::make_unique<TDomXPathSyntaxTree>(this)) {}

TXPathExpression::~TXPathExpression() {
  FXPathResult.reset();
  FSyntaxTree.reset();
}

void TXPathExpression::SetExpression(WideStringView text) {
  if (text == FExpression) return;
  FExpression = text;
  FSyntaxTree->Clear();
  FPreparedState = psNotPrepared;
}

void TXPathExpression::SetContextNode(TDomNode* node) {
  if (node && !node->GetOwnerDocument()) throw ENot_Supported_Err(SNot_Supported_Err);
  FContextNode = node;
}

bool TXPathExpression::Prepare() {
  if (FPreparedState == psNotPrepared) FPreparedState = FSyntaxTree->Prepare(FExpression) ? psPrepared : psFailed;
  return FPreparedState == psPrepared;
}

bool TXPathExpression::Evaluate() {
  FXPathResult.reset();
  try {
    const bool prepared = Prepare();
    if (prepared) FXPathResult = FSyntaxTree->Evaluate();
    return prepared;
  } catch (const std::exception&) {
    // Syntax, type, function-call, namespace and variable errors alike: no result.
    FXPathResult.reset();
    return false;
  }
}

bool TXPathExpression::ResultAsBoolean() const { return FXPathResult && FXPathResult->AsBoolean(); }

double TXPathExpression::ResultAsNumber() const {
  return FXPathResult ? FXPathResult->AsNumber() : std::numeric_limits<double>::quiet_NaN();
}

WideString TXPathExpression::ResultAsWideString() const {
  return FXPathResult ? FXPathResult->AsWideString() : WideString();
}

TDomNode* TXPathExpression::ResultNode(int32_t index) const {
  return FXPathResult ? FXPathResult->Item(index) : nullptr;
}

int32_t TXPathExpression::ResultLength() const { return FXPathResult ? FXPathResult->Length() : 0; }

bool TXPathExpression::ResultIsReverse() const { return FXPathResult && FXPathResult->GetReverseOrder(); }

TDomXPathResultPtr TXPathExpression::AcquireXPathResult(TDomXPathResultType resultType) const {
  switch (resultType) {
    case XPATH_NODE_SET_TYPE: {
      auto set = std::make_unique<TDomXPathNodeSetResult>();
      set->Assign(*this);
      return set;
    }
    case XPATH_BOOLEAN_TYPE:
      return std::make_unique<TDomXPathBooleanResult>(ResultAsBoolean());
    case XPATH_NUMBER_TYPE:
      return std::make_unique<TDomXPathNumberResult>(ResultAsNumber());
    case XPATH_STRING_TYPE:
      return std::make_unique<TDomXPathStringResult>(ResultAsWideString());
  }
  throw ENot_Supported_Err(SNot_Supported_Err);
}

WideString TXPathExpression::LookupNamespaceURI(WideStringView prefix) {
  WideString uri = FContextNode ? FContextNode->LookupNamespaceUri(prefix) : WideString();
  if (OnLookupNamespaceURI) OnLookupNamespaceURI(this, prefix, uri);
  return uri;
}
