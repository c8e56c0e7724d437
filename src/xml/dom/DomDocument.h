// Documents: the root of a DOM tree and the owner of every node made for it. A document
// copies and imports nodes, keeps its child rules (one document element, one document
// type declaration, in order), fires the node events, owns its traversal objects and
// cached element lists, and resolves attribute literals.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/BlockArena.h"
#include "xml/XmlLimits.h"
#include "xml/dom/DomElement.h"
#include "xml/dom/DomStandalone.h"
#include "xml/dom/DomTraversal.h"
#include "xml/parser/XmlErrorKinds.h"

class TDomImplementation;

using TDomNotifyNodeEvent = std::function<void(TObject* sender, TDomNode* node)>;
using TDomAttrModifiedEvent =
    std::function<void(TObject* sender, TDomNode* modifiedNode, TDomAttrChange attrChange, TDomAttr* relatedAttr)>;

// How an entity-reference node is replaced by the expansion of its entity
// (IDtdValidationAgent::ReplaceEntityReference).
struct TDtdEntityExpansion {
  // CDATA sections of replacement texts stay sections, else they join the text;
  // comments stay, else they are dropped.
  bool KeepCDATASections = true;
  bool KeepComments = true;
  // External entities are read through the DOM implementation's resource resolver;
  // false leaves their references in place, unread and without an error.
  bool ReadExternalEntities = true;
  // The element depth of the reference's parent (the document 0): the expansion may
  // nest elements below it down to the limit MaxElementDepth.
  int32_t ParentDepth = 0;
  // Nodes the expansion may still make; it counts them down.
  int64_t* NodesAvail = nullptr;
  // Hears each problem: its kind, the offending text (an entity's name), a hint (the
  // limit that was reached) and the reference node it concerns; answers whether the
  // work goes on. Without it a problem of fatal severity stops the work.
  std::function<bool(TXmlErrorKind kind, WideStringView offendingText, WideStringView hint, TDomNode* node)> Report;
  // False once a report was answered with a stop or a limit was reached.
  bool Go = true;
};

// What a document asks of the DTD it was read with: declared attribute types, element
// content, IDs, default attributes, entity replacement and attribute normalisation. The
// DTD validation agent answers; a document without one knows no declarations.
class IDtdValidationAgent {
public:
  virtual ~IDtdValidationAgent() = default;
  // The limits the agent keeps to (the expansion budget, nodes, depth) and hands to the
  // parsers it makes; the parser that makes the document sets its own.
  virtual void SetLimits(const TXmlLimits& limits) = 0;
  // Replaces the entity-reference node (whose parent must be writable) by the expansion
  // of its entity, in place: references met in replacement texts are replaced in turn,
  // text joins the text nodes beside it. A reference that cannot be replaced (an error
  // reported, an external entity left unread) stays. Answers the node that now follows
  // the expansion (or the reference, when it stayed); `replaced` says which.
  virtual TDomNode* ReplaceEntityReference(TDomEntityReference& reference, TDtdEntityExpansion& how,
                                           bool& replaced) = 0;
  // The declared type of an attribute, 0 when undeclared.
  virtual uint8_t GetAttrDeclType(WideStringView elementName, WideStringView attrName) const = 0;
  // The element's declared content is element content (children only).
  virtual bool HasElementContent(WideStringView elementName) const = 0;
  virtual TDomElement* GetElementById(WideStringView id) const = 0;
  // Adds the declared default attributes the element lacks.
  virtual void AddDefaultAttributes(TDomElement& element) = 0;
  // Fills an entity reference with the entity's replacement.
  virtual void FillEntityReference(TDomEntityReference& reference) = 0;
  virtual void ResolveAttributeValue(WideStringView literal, uint8_t declType, TXmlErrorKind& errorType,
                                     WideString& value) = 0;
  // Builds the DTD model from the document's type declaration (the external subset
  // only with checkValidity); false when the preparation was aborted.
  virtual bool PrepareModel(bool checkValidity) = 0;
  // A specified attribute as written: 39 when the document is standalone and the
  // attribute, declared externally, changes under normalization by its type; else 0.
  virtual TXmlErrorKind CheckStandaloneAttribute(WideStringView elementName, WideStringView attrName,
                                                 WideStringView literal) = 0;
};

// The base resolution of an attribute literal (XML 1.0 section 3.3.3): character and
// predefined entity references replaced, each white-space character one blank; a
// character reference may stand for any character, "<" included. errorType 0 when it
// succeeds, else the first fatal type (60 bad character reference, 92 or 96 unterminated
// reference), 35 for another entity, or the recorded lesser one.
void ResolveAttributeLiteral(WideStringView literal, TXmlErrorKind& errorType, WideString& value);

class TDomCustomDocument : public TDomNode {
public:
  // Registers with the implementation (when given).
  explicit TDomCustomDocument(TDomImplementation* implementation);
  // Frees traversal objects, leaves the implementation, then frees every node. No node
  // event fires while the document is being destroyed.
  ~TDomCustomDocument() override;

  WideString GetNodeName() const override { return u"#document"; }
  TDomNodeType GetNodeType() const override { return ntDocument; }
  WideString GetNodeValue() const override { return {}; }
  void SetNodeValue(WideStringView) override {}
  TDomCustomDocument* GetOwnerDocument() const override { return const_cast<TDomCustomDocument*>(this); }
  int32_t GetDocumentOrderIndex() const override { return 0; }
  int32_t GetDepth() const override { return 0; }
  // The document URI when it is a URI reference, else empty.
  WideString GetBaseUri() const override;
  WideString GetXPathStringValue() const override;
  void Clear() override;

  // The document's child rules on top of the allowed child types ("Hierarchy request
  // error."; a missing node "Not supported error.").
  TDomNode* AppendChild(TDomNode* newChild) override;
  TDomNode* InsertBefore(TDomNode* newChild, TDomNode* refChild) override;
  TDomNode* ReplaceChild(TDomNode* newChild, TDomNode* oldChild) override;
  using TDomNode::AppendChild;
  using TDomNode::InsertBefore;
  using TDomNode::ReplaceChild;

  TDomElement* GetDocumentElement() const;
  TDomDocumentTypeDecl* GetDoctypeDecl() const;
  virtual uint8_t GetAttrDeclType(WideStringView elementName, WideStringView attrName) const;
  virtual TDomElement* GetElementById(WideStringView id) const = 0;

  // A new node of this document built from a node of any document (deep: with its
  // subtree). Raises "Not supported error." for none, a document, a document type
  // declaration or a namespace node.
  virtual TDomNode* CopyNode(const TDomNode* node, bool deep);
  // CopyNode, then user-data handlers of the source hear udoImported.
  TDomNode* ImportNode(const TDomNode* node, bool deep);
  // Resolves a literal attribute value: references replaced, white-space runs of one
  // token made one space. errorType 0 when it succeeds.
  virtual void ResolveAttributeValue(WideStringView literal, uint8_t declType, TXmlErrorKind& errorType,
                                     WideString& value);

  TDomNodeIterator* CreateNodeIterator(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences,
                                       TDomNodeFilter* filter);
  TDomTreeWalker* CreateTreeWalker(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences,
                                   TDomNodeFilter* filter);
  // Frees a walker of this document and clears the variable; "Wrong document error." for
  // a walker of another.
  void FreeTreeWalker(TDomTreeWalker*& walker);
  // Frees the node iterators that were detached or became invalid.
  void ClearInvalidNodeIterators();

  // Node events: set the modified flag, call the document's handler, then the
  // implementation's (also when the handler raised); clearing and removing also reach
  // the node iterators.
  virtual void DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr);
  virtual void DoCharacterDataModified(TDomNode* node);
  virtual void DoNodeClearing(TDomNode* node);
  virtual void DoNodeInserted(TDomNode* node);
  virtual void DoNodeRemoving(TDomNode* node);

  // Tells the node iterators that a node's children are going or a node is going; for
  // changes that fire no node event (an element's Clear, Normalize).
  void NotifyIterators(TDomNode* node, TDomNodeEvent kind);

  TDomImplementation* GetDomImplementation() const { return FDomImplementation; }
  // Called by the implementation when it frees the document itself.
  void DetachFromImplementation() { FDomImplementation = nullptr; }
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }
  // Where NewDomNode takes the memory of this document's nodes.
  TBlockArena& NodeArena() { return FNodeArena; }

  WideString DocumentUri, InputEncoding, SystemId, XmlEncoding, XmlVersion;
  TDomStandalone XmlStandalone = sdUnspecified;
  TDomAttrModifiedEvent OnAttrModified;
  TDomNotifyNodeEvent OnCharacterDataModified, OnNodeClearing, OnNodeInserted, OnNodeRemoving;

protected:
  // Clearing a document announces nothing for the document itself.
  void DoBeforeClear() override {}
  // Frees the traversal objects (the document's part of Clear and destruction).
  virtual void FreeTraversals();
  bool Destroying() const { return FDestroying; }

private:
  template <typename Handler, typename... Args>
  void FireEvent(const Handler& handler, void (TDomImplementation::*forward)(Args...), Args... args);
  bool MayHoldElement(int32_t position, const TDomNode* replaced) const;
  bool MayHoldDoctype(int32_t position, const TDomNode* replaced) const;
  void CheckDocumentChild(const TDomNode* newChild, int32_t position, const TDomNode* replaced) const;

  // Declared first, so that it goes last: the nodes are freed before it.
  TBlockArena FNodeArena;
  std::vector<std::unique_ptr<TDomNodeIterator>> FNodeIterators;
  std::vector<std::unique_ptr<TDomTreeWalker>> FTreeWalkers;
  TDomImplementation* FDomImplementation;
  bool FModified = false;
  bool FDestroying = false;
};

// The document the parser builds, without namespace processing. It holds the DTD
// validation agent (none until a DTD model provides one).
class TDomDocument final : public TDomCustomDocument {
public:
  explicit TDomDocument(TDomImplementation* implementation);
  ~TDomDocument() override;

  uint8_t GetAttrDeclType(WideStringView elementName, WideStringView attrName) const override;
  TDomElement* GetElementById(WideStringView id) const override;
  TDomNode* CopyNode(const TDomNode* node, bool deep) override;
  void ResolveAttributeValue(WideStringView literal, uint8_t declType, TXmlErrorKind& errorType,
                             WideString& value) override;
  void Clear() override;

  bool IsWhitespaceInElementContent(const TDomText& text) const;
  // Unspecified attributes are freed and the declared defaults added again, through the
  // subtree. True when no element of it is namespace-aware.
  bool RestoreDefaultAttributes(TDomNode* node);
  bool RestoreAllDefaultAttributes();
  TDomElementsNodeList* GetElementsByTagName(WideStringView name);

  IDtdValidationAgent* ValidationAgent() const { return FValidationAgent.get(); }
  void SetValidationAgent(std::unique_ptr<IDtdValidationAgent> agent) { FValidationAgent = std::move(agent); }

private:
  std::vector<std::unique_ptr<TDomElementsNodeList>> FElementLists;
  std::unique_ptr<IDtdValidationAgent> FValidationAgent;
};

// The namespace-aware document, with its own ID list.
class TDomDocumentNS final : public TDomCustomDocument {
public:
  using TDomCustomDocument::TDomCustomDocument;
  ~TDomDocumentNS() override;

  TDomElement* GetElementById(WideStringView id) const override;
  TDomElementsNodeListNS* GetElementsByTagNameNS(WideStringView namespaceUri, WideStringView localName);
  void Clear() override;
  // id -> element (the element as the item's object).
  TUtilsWideStringList& IdList() { return FIdList; }

private:
  std::vector<std::unique_ptr<TDomElementsNodeListNS>> FElementListsNS;
  TUtilsWideStringList FIdList;
};
