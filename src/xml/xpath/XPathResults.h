// The values of XPath evaluation: node-sets, booleans, numbers and strings, each a
// result object owned by whoever asked for it, and the conversions between them.
//
// A node-set holds DOM nodes without owning them, except the namespace nodes of the
// XPath data model, which it creates itself (Add copies any namespace node it is
// given) and frees with itself. Its order flag says whether the list is in document
// order or in reverse document order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "xml/dom/DomElement.h"
#include "xml/dom/TreeUtils.h"

class TXPathExpression;

enum TDomXPathResultType : uint8_t {
  XPATH_BOOLEAN_TYPE = 0,
  XPATH_NODE_SET_TYPE = 1,
  XPATH_NUMBER_TYPE = 2,
  XPATH_STRING_TYPE = 3,
};

class TDomXPathCustomResult : public TCustomOwnedObject {
public:
  virtual bool GetReverseOrder() const { return false; }
  virtual void SetReverseOrder(bool /*value*/) {}
  virtual bool AsBoolean() const = 0;
  virtual double AsNumber() const = 0;
  virtual WideString AsWideString() const = 0;
  // The node at a position; nil outside 0..Length-1 and for results that are no
  // node-set.
  virtual TDomNode* Item(int32_t /*index*/) const { return nullptr; }
  virtual int32_t Length() const { return 0; }
  virtual TDomXPathResultType ResultType() const = 0;
};

class TDomXPathBooleanResult final : public TDomXPathCustomResult {
public:
  explicit TDomXPathBooleanResult(bool value) : FValue(value) {}
  bool AsBoolean() const override { return FValue; }
  double AsNumber() const override { return FValue ? 1 : 0; }
  WideString AsWideString() const override { return FValue ? u"true" : u"false"; }
  TDomXPathResultType ResultType() const override { return XPATH_BOOLEAN_TYPE; }

private:
  bool FValue;
};

class TDomXPathNumberResult final : public TDomXPathCustomResult {
public:
  explicit TDomXPathNumberResult(double value) : FValue(value) {}
  // False for both zeros and NaN.
  bool AsBoolean() const override { return FValue != 0 && FValue == FValue; }
  double AsNumber() const override { return FValue; }
  WideString AsWideString() const override;
  TDomXPathResultType ResultType() const override { return XPATH_NUMBER_TYPE; }

private:
  double FValue;
};

class TDomXPathStringResult final : public TDomXPathCustomResult {
public:
  explicit TDomXPathStringResult(WideStringView value) : FValue(value) {}
  bool AsBoolean() const override { return !FValue.empty(); }
  double AsNumber() const override;
  WideString AsWideString() const override { return FValue; }
  TDomXPathResultType ResultType() const override { return XPATH_STRING_TYPE; }

private:
  WideString FValue;
};

class TDomXPathNodeSetResult final : public TDomXPathCustomResult {
public:
  TDomXPathNodeSetResult() = default;

  bool GetReverseOrder() const override { return FReverseOrder; }
  // Reverses the list when the flag changes.
  void SetReverseOrder(bool value) override;
  bool AsBoolean() const override { return !FNodes.empty(); }
  double AsNumber() const override;
  // The string-value of the first node in document order; empty for an empty set.
  WideString AsWideString() const override;
  TDomNode* Item(int32_t index) const override;
  int32_t Length() const override { return static_cast<int32_t>(FNodes.size()); }
  TDomXPathResultType ResultType() const override { return XPATH_NODE_SET_TYPE; }

  // Appends a node; a namespace node is replaced by a copy owned by this set.
  // Duplicates are allowed.
  void Add(TDomNode* node);
  void Insert(int32_t index, TDomNode* node);
  void AddXPathNamespace(TDomElement* ownerElement, WideStringView prefix, WideStringView namespaceUri);
  // The node and its descendants (elements, texts, CDATA sections, entity references,
  // processing instructions, comments, documents) in document order, or the whole run
  // reversed for a set in reverse order. Nil does nothing.
  void AddSubtree(TDomNode* node);
  // Empties the set and frees its namespace nodes.
  void Clear() override;
  void Delete(int32_t index);
  // Keeps the nodes that pass the test, in their order (dropped namespace nodes are
  // freed).
  template <typename Test>
  void KeepIf(Test test) {
    std::vector<TDomNode*> kept;
    for (TDomNode* node : FNodes) {
      if (test(node))
        kept.push_back(node);
      else if (node && node->Owner() == this)
        node->Free();
    }
    FNodes = std::move(kept);
  }
  // Adds the nodes of `other` that this set lacks, keeping this set's order; `other` is
  // first brought into this set's order.
  void Merge(TDomXPathNodeSetResult& other);
  // Sorts into the order the flag names (by CompareTreePosition).
  void Sort();
  using TCustomOwnedObject::Assign;
  void Assign(const TDomXPathNodeSetResult& source);
  void Assign(const TXPathExpression& source);

private:
  std::vector<TDomNode*> FNodes;
  bool FReverseOrder = false;
};

using TDomXPathResultPtr = std::unique_ptr<TDomXPathCustomResult>;

// Each takes the result over and answers one of the wanted type: the result itself when
// it already has that type, else a new one made from its value. None raises
// ENot_Supported_Err "Not supported error.".
TDomXPathResultPtr XPathResultAsBoolean(TDomXPathResultPtr result);
TDomXPathResultPtr XPathResultAsNumber(TDomXPathResultPtr result);
TDomXPathResultPtr XPathResultAsString(TDomXPathResultPtr result);

// A number as XPath results write it: "NaN", "Infinity", "-Infinity", else the general
// format with up to 15 significant digits ("3", "0.5", "1E20").
WideString XPathNumberToString(double value);
// The result as a node-set, or nullptr when it is none (ownership passes either way:
// a result that is no node-set is freed).
std::unique_ptr<TDomXPathNodeSetResult> AsNodeSet(TDomXPathResultPtr result);
