#include "xml/xpath/XPathResults.h"

#include <algorithm>
#include <cmath>

#include "platform/base/FloatText.h"
#include "xml/dom/XPathNumbers.h"
#include "xml/xpath/XPathExpression.h"

namespace {

// The types the node-set's subtree walk shows (no attributes, fragments or document
// type declarations).
constexpr TDomNodeTypeSet SubtreeNodeTypes =
    NodeTypes({ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction, ntComment, ntDocument});

}  // namespace

WideString XPathNumberToString(double value) {
  if (std::isnan(value)) return u"NaN";
  if (std::isinf(value)) return value > 0 ? u"Infinity" : u"-Infinity";
  const AnsiString text = FloatToStr(value);  // ASCII digits, sign, separator and "E"
  return WideString(text.begin(), text.end());
}

WideString TDomXPathNumberResult::AsWideString() const { return XPathNumberToString(FValue); }

double TDomXPathStringResult::AsNumber() const { return XPathStringToNumber(FValue); }

double TDomXPathNodeSetResult::AsNumber() const { return XPathStringToNumber(AsWideString()); }

WideString TDomXPathNodeSetResult::AsWideString() const {
  if (FNodes.empty()) return {};
  return (FReverseOrder ? FNodes.back() : FNodes.front())->GetXPathStringValue();
}

void TDomXPathNodeSetResult::SetReverseOrder(bool value) {
  if (value == FReverseOrder) return;
  FReverseOrder = value;
  std::reverse(FNodes.begin(), FNodes.end());
}

TDomNode* TDomXPathNodeSetResult::Item(int32_t index) const {
  return index < 0 || index >= Length() ? nullptr : FNodes[size_t(index)];
}

void TDomXPathNodeSetResult::Insert(int32_t index, TDomNode* node) {
  if (node && node->GetNodeType() == ntXPathNamespace) {
    const auto* ns = static_cast<const TDomXPathNamespace*>(node);
    node = CreateOwnedObject<TDomXPathNamespace>(*this, ns->GetPrefix(), ns->GetNamespaceUri(), ns->GetOwnerElement());
  }
  FNodes.insert(FNodes.begin() + index, node);
}

void TDomXPathNodeSetResult::Add(TDomNode* node) { Insert(Length(), node); }

void TDomXPathNodeSetResult::AddXPathNamespace(TDomElement* ownerElement, WideStringView prefix,
                                               WideStringView namespaceUri) {
  FNodes.push_back(CreateOwnedObject<TDomXPathNamespace>(*this, prefix, namespaceUri, ownerElement));
}

void TDomXPathNodeSetResult::AddSubtree(TDomNode* node) {
  if (!node) return;
  const size_t start = FNodes.size();
  for (TCustomOwnedNode* n = node; n; n = NextInSubtree(node, n)) {
    auto* domNode = static_cast<TDomNode*>(n);
    if (InNodeTypes(SubtreeNodeTypes, domNode->GetNodeType())) FNodes.push_back(domNode);
  }
  if (FReverseOrder) std::reverse(FNodes.begin() + std::ptrdiff_t(start), FNodes.end());
}

void TDomXPathNodeSetResult::Clear() {
  FNodes.clear();
  FreeOwnedObjects();
}

void TDomXPathNodeSetResult::Delete(int32_t index) {
  TDomNode* node = FNodes.at(size_t(index));
  FNodes.erase(FNodes.begin() + index);
  if (node->Owner() == this) node->Free();
}

void TDomXPathNodeSetResult::Sort() {
  const uint8_t firstBit = FReverseOrder ? TreePositionFollowing : TreePositionPreceding;
  std::stable_sort(FNodes.begin(), FNodes.end(), [firstBit](const TDomNode* a, const TDomNode* b) {
    return a != b && (a->CompareTreePosition(b) & firstBit) != 0;
  });
}

// Both lists in one order. Nodes of `other` that are equivalent in position to this
// set's current node (attributes or namespace nodes of one element, which have no
// mutual order) wait in `pending` until a node that clearly comes later shows where
// they go.
void TDomXPathNodeSetResult::Merge(TDomXPathNodeSetResult& other) {
  other.SetReverseOrder(FReverseOrder);
  // "After" in this set's order: later in document order, or earlier for a reverse set.
  const uint8_t afterBit = FReverseOrder ? TreePositionFollowing : TreePositionPreceding;
  std::vector<TDomNode*> pending;
  const auto insertPending = [&](size_t& j) {
    for (TDomNode* node : pending) Insert(int32_t(j++), node);
    pending.clear();
  };
  const auto dropPendingSameAs = [&](size_t j) {
    if (j < FNodes.size()) std::erase(pending, FNodes[j]);
  };
  size_t i = 0, j = 0;
  while (i < other.FNodes.size() && j < FNodes.size()) {
    TDomNode* theirs = other.FNodes[i];
    TDomNode* mine = FNodes[j];
    if (theirs == mine) {
      ++i;
      continue;
    }
    const uint8_t position = mine->CompareTreePosition(theirs);
    if (position & TreePositionEquivalent) {
      pending.push_back(theirs);
      ++i;
    } else if (position & afterBit) {
      ++j;
      dropPendingSameAs(j);
    } else if (position & TreePositionDisconnected) {
      insertPending(j);
      ++j;
    } else {
      insertPending(j);
      Insert(int32_t(j++), theirs);
      ++i;
    }
  }
  ++j;
  while (!pending.empty() && j < FNodes.size()) {
    if (!(FNodes[j]->CompareTreePosition(pending.front()) & TreePositionEquivalent)) {
      insertPending(j);
      break;
    }
    dropPendingSameAs(j);
    ++j;
  }
  for (TDomNode* node : pending) Add(node);
  for (; i < other.FNodes.size(); ++i) Add(other.FNodes[i]);
}

void TDomXPathNodeSetResult::Assign(const TDomXPathNodeSetResult& source) {
  if (&source == this) return;
  Clear();
  FReverseOrder = source.FReverseOrder;
  for (TDomNode* node : source.FNodes) Add(node);
}

void TDomXPathNodeSetResult::Assign(const TXPathExpression& source) {
  if (source.XPathResult() == this) return;
  Clear();
  FReverseOrder = source.ResultIsReverse();
  for (int32_t i = 0; i < source.ResultLength(); ++i) Add(source.ResultNode(i));
}

namespace {

template <typename TResult, typename Value>
TDomXPathResultPtr ConvertResult(TDomXPathResultPtr result, TDomXPathResultType type,
                                 Value (TDomXPathCustomResult::*read)() const) {
  if (!result) throw ENot_Supported_Err(SNot_Supported_Err);
  if (result->ResultType() == type) return result;
  return std::make_unique<TResult>(((*result).*read)());
}

}  // namespace

TDomXPathResultPtr XPathResultAsBoolean(TDomXPathResultPtr result) {
  return ConvertResult<TDomXPathBooleanResult>(std::move(result), XPATH_BOOLEAN_TYPE,
                                               &TDomXPathCustomResult::AsBoolean);
}

TDomXPathResultPtr XPathResultAsNumber(TDomXPathResultPtr result) {
  return ConvertResult<TDomXPathNumberResult>(std::move(result), XPATH_NUMBER_TYPE, &TDomXPathCustomResult::AsNumber);
}

TDomXPathResultPtr XPathResultAsString(TDomXPathResultPtr result) {
  return ConvertResult<TDomXPathStringResult>(std::move(result), XPATH_STRING_TYPE,
                                              &TDomXPathCustomResult::AsWideString);
}

std::unique_ptr<TDomXPathNodeSetResult> AsNodeSet(TDomXPathResultPtr result) {
  if (!result || result->ResultType() != XPATH_NODE_SET_TYPE) return nullptr;
  return std::unique_ptr<TDomXPathNodeSetResult>(static_cast<TDomXPathNodeSetResult*>(result.release()));
}
