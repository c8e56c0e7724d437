// The part of a document that needs its DTD: the model, general-entity resolution and
// expansion, attribute normalization by declared type, default attributes, the ID and
// IDREF registries, and validation of the DTD and of the tree. Every problem is
// reported as a TDomError through the document's DOM implementation, whose answer
// decides whether the work goes on; nothing found in the document is raised.
//
// Two flags travel through every check: valid (nothing outside error types 0..5 was
// found) and go (the last report was answered with "continue").
//
// Entity expansion runs on a budget per document (the limit MaxEntityExpansionChars):
// every replacement text read for an entity, in content or in an attribute value,
// spends its length, so work and text grow at most linearly in the budget, however the
// entities refer to each other ("billion laughs" ends in LimitExceeded). Replacement
// texts without markup are expanded as text, without nodes or parsers.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <tuple>

#include "xml/dom/DomDocument.h"
#include "xml/dtd/DtdModel.h"

class TDomAttr;
class TDomDocumentFragment;

inline constexpr char SInternalParserError[] = "Internal Parser error.";
inline constexpr char SStrictMixedNotSupported[] = "DTD_STRICT_MIXED_CONTENTTYPE not supported in TDtdValidationAgent.";

// How entity-reference nodes fare: replaced by the nodes of their replacement text, or
// kept with their children refilled.
enum TDtdEntityTreatment : uint8_t { etExpand = 0, etKeep = 1 };

class TDtdValidationAgent final : public TObject, public IDtdValidationAgent {
public:
  // ENot_Supported_Err "Not supported error." without a document.
  explicit TDtdValidationAgent(TDomDocument* ownerDocument);
  ~TDtdValidationAgent() override;

  bool SetDefaultAttributes(TDomElement& element);
  void CheckAttributeDefaults(TDomElement& element, bool& valid, bool& go);
  // Model reset, registries emptied.
  void Clear();
  TXmlErrorKind ExpandEntityReference(TDomEntityReference& reference);
  TDtdAttributeDecl* FindAttributeDecl(WideStringView elementName, WideStringView attributeName) const {
    return FDtdModel.FindAttributeDecl(elementName, attributeName);
  }
  TDtdElementDecl* FindElementDecl(WideStringView name) const { return FDtdModel.FindElementDecl(name); }
  TDtdEntityDecl* FindEntityDecl(WideStringView name) const { return FDtdModel.FindEntityDecl(name); }
  TDtdNotationDecl* FindNotationDecl(WideStringView name) const { return FDtdModel.FindNotationDecl(name); }
  TXmlErrorKind ResolveEntity(WideStringView name, WideString& replacementText, uint64_t& key, bool& isExternal);
  // atCData for an undeclared attribute.
  TDtdAttrType GetAttributeType(WideStringView elementName, WideStringView attributeName) const;
  // DTD_ANY_CONTENTTYPE for an undeclared element type.
  TDtdElementContentType GetContentType(WideStringView elementName) const;
  void NormalizeAttributeValue(WideStringView value, TDtdAttrType attributeType, WideString& normalized,
                               TXmlErrorKind& errorType);
  void NormalizeDefaultValue(const TDtdAttributeDecl& declaration, WideString& normalized, TXmlErrorKind& errorType);
  // Loads an external entity's text through the DOM implementation's resource resolver;
  // 148 without an implementation or a resolver.
  TXmlErrorKind ResolveExternalEntity(TDtdDeclOrigin origin, WideStringView baseUri, WideStringView systemId,
                                      WideStringView publicId, WideString& text);
  // True when the work goes on.
  bool ReportError(TXmlErrorKind errorType, TDtdObject* dtdObject, TDomNode* node, WideStringView hint = {});
  void ValidateAttribute(TDomAttr& attribute, TDtdEntityTreatment treatment, bool& go, bool& valid);
  void ValidateDtd(bool& valid, bool& go);
  void ValidateElementContent(TDomElement& element, TDtdEntityTreatment treatment, bool& go, bool& valid);
  void ValidateEntityReference(TDomEntityReference& reference, bool& valid, bool& go);
  // Walks the subtree without recursion.
  void ValidateNode(TDomNode& node, TDtdEntityTreatment treatment, bool& go, bool& valid);
  void PrepareDtdModel(bool checkValidity);
  bool ValidateDocument(TDtdEntityTreatment treatment);
  // Whether the well-formedness form of the entity rules applies.
  bool IsEntityDeclaredWfc() const;

  TDtdModel& DtdModel() { return FDtdModel; }
  TDomDocument& OwnerDocument() const { return *FOwnerDocument; }
  // The IDREF tokens met, in order, each with its attribute.
  const std::vector<std::pair<WideString, TDomAttr*>>& IdRefs() const { return FIdRefRegistry; }

  // IDtdValidationAgent
  uint8_t GetAttrDeclType(WideStringView elementName, WideStringView attrName) const override {
    return GetAttributeType(elementName, attrName);
  }
  bool HasElementContent(WideStringView elementName) const override {
    return GetContentType(elementName) == DTD_ELEMENT_CONTENTTYPE;
  }
  TDomElement* GetElementById(WideStringView id) const override;
  void AddDefaultAttributes(TDomElement& element) override { SetDefaultAttributes(element); }
  // Each fill is one expansion with a budget of its own.
  void FillEntityReference(TDomEntityReference& reference) override {
    FExpansionAvail = FLimits.MaxEntityExpansionChars;
    ExpandEntityReference(reference);
  }
  void SetLimits(const TXmlLimits& limits) override;
  const TXmlLimits& Limits() const { return FLimits; }
  TDomNode* ReplaceEntityReference(TDomEntityReference& reference, TDtdEntityExpansion& how, bool& replaced) override;
  void ResolveAttributeValue(WideStringView literal, uint8_t declType, TXmlErrorKind& errorType,
                             WideString& value) override {
    NormalizeAttributeValue(literal, static_cast<TDtdAttrType>(declType), value, errorType);
  }
  TXmlErrorKind CheckStandaloneAttribute(WideStringView elementName, WideStringView attrName,
                                         WideStringView literal) override;
  bool PrepareModel(bool checkValidity) override {
    PrepareDtdModel(checkValidity);
    return FDtdModel.PreparationStatus() != DtdPreparation::Aborted;
  }

private:
  void NormalizeValue(WideStringView value, TDtdAttrType attributeType, uint64_t keyLimit, WideString& text,
                      TXmlErrorKind& errorType);
  void ExpandValue(WideStringView value, uint64_t keyLimit, WideString& text, TXmlErrorKind& errorType);
  void AddDefaultAttribute(TDomElement& element, const TDtdAttributeDecl& declaration, WideStringView value);
  // A fragment of the document (which owns it), freed when the handle goes.
  struct TFragmentFree {
    void operator()(TDomDocumentFragment* fragment) const;
  };
  using TFragment = std::unique_ptr<TDomDocumentFragment, TFragmentFree>;
  // The replacement text parsed into a fragment, entity references kept as nodes; the
  // parser's exceptions pass on.
  TFragment ParseReplacementText(WideStringView text, bool keepCDATASections = true, bool keepComments = true);
  // A copy of the entity's replacement text parsed into a fragment: each text is parsed
  // once per agent (while the model's entities stay as they are) and copied for every
  // further reference. Raises EParserException when the text does not parse.
  TFragment ParsedReplacementCopy(const TDtdEntityDecl& declaration, bool keepCDATASections, bool keepComments);
  // One reference of an expansion (DtdEntityExpansion.cpp).
  struct TPendingReference;
  class TExpansionRun;
  enum class TTextExpansion : uint8_t { Done, NeedsParsing, BudgetSpent };
  // The replacement text as text, the entities it refers to expanded in turn, while
  // every text met holds no markup; NeedsParsing as soon as one does (or holds anything
  // the parser should judge).
  TTextExpansion ExpandAsText(WideStringView text, WideString& expanded, bool& fromCharRef);
  // Replaces or refills the entity-reference children of a node.
  void ProcessEntityReferences(TDomNode& parent, TDtdEntityTreatment treatment, bool& valid, bool& go);
  void CheckTypedValue(TDomAttr& attribute, TDtdAttributeDecl& declaration, WideStringView value, bool& valid,
                       bool& go);
  void ValidateAttributeDecl(TDtdAttributeDecl& declaration, bool& valid, bool& go);
  void Report(TXmlErrorKind errorType, TDtdObject* dtdObject, TDomNode* node, bool& valid, bool& go);
  // Counts expansion work against the document's budget; false once it is spent.
  bool Spend(int64_t amount);

  TDomDocument* FOwnerDocument;
  std::map<WideString, TDomElement*> FIdRegistry;
  std::vector<std::pair<WideString, TDomAttr*>> FIdRefRegistry;
  TDtdModel FDtdModel;
  // Replacement texts parsed so far, by entity and the two keep flags; a null fragment
  // remembers a text that does not parse.
  struct TParsedReplacement {
    uint64_t Generation = 0;
    TFragment Fragment;
  };
  std::map<std::tuple<const TDtdEntityDecl*, bool, bool>, TParsedReplacement> FParsedReplacements;
  TXmlLimits FLimits = DefaultXmlLimits();
  int64_t FExpansionAvail;
  // Nodes the validation's own expansion may still make.
  int64_t FNodesAvail;
};

// Gives every document made for the implementation from now on a validation agent, so
// that parsing a document type declaration builds its DTD model.
void InstallDtdValidation(TDomImplementation& implementation);
