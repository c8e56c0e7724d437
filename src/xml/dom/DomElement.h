// Element and attribute nodes. An element keeps its attributes in a named node map
// (attributes are no children); the attribute value is the attribute's node value, the
// literal text. Each class has a plain constructor (documents without namespace
// processing) and a namespace-aware one, which decides how its attributes are reached.
#pragma once

#include "xml/dom/DomNode.h"

enum TDomAttrChange : uint8_t { AC_ADDITION = 0, AC_MODIFICATION = 1, AC_REMOVAL = 2 };

// 0: the default namespace declaration "xmlns"; 1: "xmlns:" + NCName; 2: any other.
enum TDomNamespaceDeclarationKind : uint8_t { ndkDefault = 0, ndkPrefixed = 1, ndkNone = 2 };

class TDomDocument;
class TDomDocumentNS;

// The namespace parts of a namespace-aware element or attribute; a plain node has none
// (its local name, namespace URI and prefix are empty), so it does not carry them.
struct TDomNamespaceParts {
  WideString LocalName, NamespaceUri, Prefix;
};

class TDomAttr final : public TDomNodeWithValue {
public:
  // Plain: the name must be a Name (EInvalid_Character_Err "Invalid character error.").
  TDomAttr(TDomDocument* ownerDocument, bool specified, WideStringView name);
  // Namespace-aware: a qualified name and a namespace URI, checked as Namespaces in XML
  // requires (ENamespace_Err "Namespace error." or EInvalid_Character_Err).
  TDomAttr(TDomDocumentNS* ownerDocument, bool specified, WideStringView qualifiedName, WideStringView namespaceUri);
  // Leaves its element first, so that no map holds a freed attribute.
  ~TDomAttr() override;

  WideString GetNodeName() const override { return FNodeName; }
  TDomNodeType GetNodeType() const override { return ntAttribute; }
  WideString GetLocalName() const override { return FParts ? FParts->LocalName : WideString(); }
  WideString GetNamespaceUri() const override { return FParts ? FParts->NamespaceUri : WideString(); }
  WideString GetPrefix() const override { return FParts ? FParts->Prefix : WideString(); }
  void SetPrefix(WideStringView prefix) override;
  WideString GetXPathName() const override { return FNodeName; }
  WideString GetTextContent() const override { return FNodeValue; }
  WideString GetXPathStringValue() const override { return FNodeValue; }
  WideString GetBaseUri() const override;
  WideString GetLanguage() const override;
  WideString LookupNamespaceUri(WideStringView prefix) const override;
  TDomNode* GetNextSibling() const override { return nullptr; }
  TDomNode* GetPreviousSibling() const override { return nullptr; }
  // Stores the literal and announces AC_MODIFICATION.
  void SetNodeValue(WideStringView value) override;

  WideString GetName() const { return FNodeName; }
  // The name without a copy, for lookups.
  const WideString& NodeNameRef() const { return FNodeName; }
  TDomElement* GetOwnerElement() const;
  bool GetSpecified() const { return FSpecified; }
  TDomNamespaceDeclarationKind GetNamespaceDeclarationKind() const { return FDeclarationKind; }
  // The value resolved by the owner document for the attribute's declared type; raises
  // EConvertError "Attribute value normalization failed." when that fails.
  WideString GetResolvedValue() const;
  void DoAttrModified(TDomAttrChange change);

  TDomNamedNodeMap* OwnerMap() const { return FOwnerMap; }
  void SetOwnerMap(TDomNamedNodeMap* map) { FOwnerMap = map; }

protected:
  TDomNode* PositionParent() const override;

private:
  const WideString& NamespaceUriRef() const;

  WideString FNodeName;
  std::unique_ptr<TDomNamespaceParts> FParts;
  TDomNamedNodeMap* FOwnerMap = nullptr;
  TDomNamespaceDeclarationKind FDeclarationKind = ndkNone;
  bool FSpecified;
};

class TDomElement final : public TDomNode {
public:
  // Plain: the tag name must be a Name.
  TDomElement(TDomDocument* ownerDocument, WideStringView tagName);
  // Namespace-aware: checked as for attributes.
  TDomElement(TDomDocumentNS* ownerDocument, WideStringView qualifiedName, WideStringView namespaceUri);
  // Removes and frees its attributes first.
  ~TDomElement() override;

  WideString GetNodeName() const override { return FNodeName; }
  TDomNodeType GetNodeType() const override { return ntElement; }
  WideString GetNodeValue() const override { return {}; }
  void SetNodeValue(WideStringView) override {}
  WideString GetLocalName() const override { return FParts ? FParts->LocalName : WideString(); }
  WideString GetNamespaceUri() const override { return FParts ? FParts->NamespaceUri : WideString(); }
  WideString GetPrefix() const override { return FParts ? FParts->Prefix : WideString(); }
  void SetPrefix(WideStringView prefix) override;
  WideString GetXPathName() const override { return FNodeName; }
  WideString GetXPathStringValue() const override { return GetTextContent(); }
  WideString GetBaseUri() const override;
  WideString GetLanguage() const override;
  WideString LookupNamespaceUri(WideStringView prefix) const override;
  // Made on first use: most elements of a book have no attribute. The lookups below and
  // AttributeCount do not make it.
  TDomNamedNodeMap* GetAttributes() const override;
  int32_t AttributeCount() const { return FAttributes ? FAttributes->GetLength() : 0; }
  // Joins each run of adjacent text children into its first node (Normalize does this
  // for every element of a subtree).
  void MergeAdjacentTexts();

  WideString GetTagName() const { return FNodeName; }
  // The name without a copy, for lookups.
  const WideString& NodeNameRef() const { return FNodeName; }
  // Lookups; absent gives nil or empty. The name forms need a plain element, the NS
  // forms a namespace-aware one (else "Namespace error.").
  TDomAttr* GetAttributeNode(WideStringView name) const;
  TDomAttr* GetAttributeNodeNS(WideStringView namespaceUri, WideStringView localName) const;
  WideString GetAttributeValue(WideStringView name) const;
  WideString GetAttributeValueNS(WideStringView namespaceUri, WideStringView localName) const;
  // The resolved value; a failure raises EConvertError "Literal attribute value cannot be
  // resolved.".
  WideString GetAttributeResolvedValue(WideStringView name) const;
  WideString GetAttributeResolvedValueNS(WideStringView namespaceUri, WideStringView localName) const;
  bool HasAttribute(WideStringView name) const { return GetAttributeNode(name) != nullptr; }
  bool HasAttributeNS(WideStringView namespaceUri, WideStringView localName) const {
    return GetAttributeNodeNS(namespaceUri, localName) != nullptr;
  }
  // Changes an existing attribute (nil returned) or adds a new one (returned).
  TDomAttr* SetAttribute(WideStringView name, WideStringView value);
  TDomAttr* SetAttributeNS(WideStringView namespaceUri, WideStringView qualifiedName, WideStringView value);
  // The map's SetNamedItem(NS) with its checks; returns the replaced attribute.
  TDomAttr* SetAttributeNode(TDomAttr* attr);
  TDomAttr* SetAttributeNodeNS(TDomAttr* attr);
  // Detaches the attribute (still owned by the document) and announces AC_REMOVAL.
  TDomAttr* RemoveAttributeNode(TDomAttr* attr);
  TDomAttr* RemoveAttribute(WideStringView name);
  TDomAttr* RemoveAttributeNS(WideStringView namespaceUri, WideStringView localName);
  // The cached live lists of descendant elements, owned by this element.
  TDomElementsNodeList* GetElementsByTagName(WideStringView name);
  TDomElementsNodeListNS* GetElementsByTagNameNS(WideStringView namespaceUri, WideStringView localName);
  void DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr);

protected:
  // Removes the attributes (announcing each) instead of a node-clearing event.
  void DoBeforeClear() override;

private:
  // The cached element lists, made with the first query.
  struct TElementLists {
    std::vector<std::unique_ptr<TDomElementsNodeListNS>> ByNamespace;
    std::vector<std::unique_ptr<TDomElementsNodeList>> ByName;
  };
  void InitAttributes();
  TDomAttr* AddNewAttribute(TDomAttr* attr, WideStringView value);
  void RemoveAllAttributes();
  TElementLists& ElementLists();

  WideString FNodeName;
  std::unique_ptr<TDomNamespaceParts> FParts;
  mutable std::unique_ptr<TDomNamedNodeMap> FAttributes;
  std::unique_ptr<TElementLists> FElementLists;
};

// The base URI and language a node inherits: the nearest xml:base (resolved) or
// xml:lang on the way up, else the document's base URI or nothing.
WideString InheritedBaseUri(const TDomNode* node);
WideString InheritedLanguage(const TDomNode* node);

// The namespace checks shared by elements, attributes and SetAttributeNS: splits the
// qualified name (ENamespace_Err when it still is a Name, else EInvalid_Character_Err)
// and refuses a prefix with an empty URI and "xml" with another than the XML URI.
void SplitCheckedQualifiedName(WideStringView qualifiedName, WideStringView namespaceUri, WideString& prefix,
                               WideString& localName);
