// The node model of the DOM: node types, the base classes `TDomCustomNode` and
// `TDomNode` with navigation, element finders, text content, child editing with the
// allowed child types, document order, tree positions and user data, and the simple
// node classes (character data, text, CDATA section, comment, processing instruction,
// document type declaration, entity reference, document fragment, XPath namespace node).
//
// Every node is owned by its document (TreeUtils.h): create nodes with NewDomNode, which
// takes their memory from the document's node arena (platform/base/BlockArena.h). Node
// changes are announced to the owner document as node events.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/base/BlockArena.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomNodeLists.h"
#include "xml/dom/TreeUtils.h"

enum TDomNodeType : uint8_t {
  ntUnknown = 0,
  ntElement = 1,
  ntAttribute = 2,
  ntText = 3,
  ntCDATASection = 4,
  ntEntityReference = 5,
  ntProcessingInstruction = 6,
  ntComment = 7,
  ntDocument = 8,
  ntDocumentFragment = 9,
  ntDocumentTypeDecl = 10,
  ntXPathNamespace = 11,
};

// A set of node types, one bit per type.
using TDomNodeTypeSet = uint16_t;
constexpr TDomNodeTypeSet NodeTypes(std::initializer_list<TDomNodeType> types) {
  TDomNodeTypeSet set = 0;
  for (TDomNodeType t : types) set = TDomNodeTypeSet(set | (1u << unsigned(t)));
  return set;
}
constexpr bool InNodeTypes(TDomNodeTypeSet set, uint32_t type) {
  return type < 16 && ((unsigned(set) >> type) & 1u) != 0;
}

inline constexpr char16_t XmlNamespaceUri[] = u"http://www.w3.org/XML/1998/namespace";
inline constexpr char16_t XmlnsNamespaceUri[] = u"http://www.w3.org/2000/xmlns/";

class TDomCustomDocument;
class TDomElement;
class TDomNode;

// What a user-data handler is told about: 1 cloned, 2 deleted, 3 imported.
enum TDomUserDataOperation : uint8_t { udoCloned = 1, udoDeleted = 2, udoImported = 3 };
using TDomUserDataHandler = std::function<void(TDomUserDataOperation operation, const WideString& key, TObject* data,
                                               TDomNode* source, TDomNode* destination)>;

// The tree-position bits of CompareTreePosition, from this node's point of view.
inline constexpr uint8_t TreePositionAncestor = 0x01;
inline constexpr uint8_t TreePositionDescendant = 0x02;
inline constexpr uint8_t TreePositionDisconnected = 0x04;
inline constexpr uint8_t TreePositionEquivalent = 0x08;
inline constexpr uint8_t TreePositionPreceding = 0x10;
inline constexpr uint8_t TreePositionFollowing = 0x20;
inline constexpr uint8_t TreePositionSameNode = 0x40;

// The base of DOM nodes and of other named objects of the XML library: the owned-tree
// refusals are raised as DOM exceptions.
class TDomCustomNode : public TCustomOwnedNode {
public:
  virtual WideString GetNodeName() const = 0;
  [[noreturn]] void RaiseError(TOwnedTreeError error) const override;
};

// Nodes made with plain `new` live on the general heap, those of NewDomNode in their
// document's arena; `delete` frees either.
class TDomNode : public TDomCustomNode, public TArenaAllocated {
public:
  // The owner document (none for a document itself). Create nodes with NewDomNode.
  explicit TDomNode(TDomCustomDocument* ownerDocument);
  // Reports the deletion to every user-data handler.
  ~TDomNode() override;

  WideString GetNodeName() const override { return {}; }
  // Empty here: only character data, attributes and processing instructions hold a
  // value (TDomNodeWithValue).
  virtual WideString GetNodeValue() const { return {}; }
  // Raises ENo_Modification_Allowed_Err "No modification allowed error." on a read-only
  // node; nodes without a value ignore the call otherwise.
  virtual void SetNodeValue(WideStringView value);
  virtual TDomNodeType GetNodeType() const { return ntUnknown; }
  virtual WideString GetLocalName() const { return {}; }
  virtual WideString GetNamespaceUri() const { return {}; }
  virtual WideString GetPrefix() const { return {}; }
  virtual void SetPrefix(WideStringView prefix);
  // The name XPath's name functions use: empty here.
  virtual WideString GetXPathName() const { return {}; }
  virtual WideString GetTextContent() const;
  virtual WideString GetXPathStringValue() const { return {}; }
  virtual WideString GetBaseUri() const;
  virtual WideString GetLanguage() const { return {}; }
  // The node's place in document order (a document 0), -1 outside a document's tree.
  // Linear in the nodes before it.
  virtual int32_t GetDocumentOrderIndex() const;
  // The parent's depth plus one; -1 outside a document's tree.
  virtual int32_t GetDepth() const;
  // True for the feature "XML" in any case with version "1.0", "2.0" or empty.
  virtual bool IsSupported(WideStringView feature, WideStringView version) const;

  TDomNode* GetParent() const override { return AsDomNode(TDomCustomNode::GetParent()); }
  TDomNode* GetFirstChild() const override { return AsDomNode(TDomCustomNode::GetFirstChild()); }
  TDomNode* GetLastChild() const override { return AsDomNode(TDomCustomNode::GetLastChild()); }
  TDomNode* GetNextSibling() const override { return AsDomNode(TDomCustomNode::GetNextSibling()); }
  TDomNode* GetPreviousSibling() const override { return AsDomNode(TDomCustomNode::GetPreviousSibling()); }
  TDomNode* GetParentNode() const { return GetParent(); }
  // A view of the children, made on first use.
  TDomNodeList* GetChildNodes() const;
  bool HasChildNodes() const { return HasChildren(); }
  // The attribute map of an element; none for other nodes.
  virtual TDomNamedNodeMap* GetAttributes() const { return nullptr; }
  bool HasAttributes() const;
  TDomCustomDocument* GetDocument() const { return FOwnerDocument; }
  // The owner document; a document is its own.
  virtual TDomCustomDocument* GetOwnerDocument() const { return FOwnerDocument; }
  bool IsNamespaceAware() const { return FNamespaceAware; }

  // The nearest element along each chain, nil when there is none.
  TDomElement* GetFirstChildElement() const;
  TDomElement* GetLastChildElement() const;
  TDomElement* GetNextSiblingElement() const;
  TDomElement* GetPreviousSiblingElement() const;
  TDomElement* GetParentElement() const;
  // The nearest element along each chain whose node name (or namespace URI and local
  // name) equals the given, compared exactly; nil when none.
  TDomElement* FindFirstChildElement(WideStringView nodeName) const;
  TDomElement* FindFirstChildElementNS(WideStringView namespaceUri, WideStringView localName) const;
  TDomElement* FindLastChildElement(WideStringView nodeName) const;
  TDomElement* FindLastChildElementNS(WideStringView namespaceUri, WideStringView localName) const;
  TDomElement* FindNextSiblingElement(WideStringView nodeName) const;
  TDomElement* FindNextSiblingElementNS(WideStringView namespaceUri, WideStringView localName) const;
  TDomElement* FindPreviousSiblingElement(WideStringView nodeName) const;
  TDomElement* FindPreviousSiblingElementNS(WideStringView namespaceUri, WideStringView localName) const;
  TDomElement* FindParentElement(WideStringView nodeName) const;
  TDomElement* FindParentElementNS(WideStringView namespaceUri, WideStringView localName) const;

  // Child editing with the allowed child types ("Nodes of type %s are not allowed as
  // children of nodes of type %s"); a document fragment brings its children instead of
  // itself. The owned-tree checks raise DOM exceptions.
  virtual TDomNode* AppendChild(TDomNode* newChild);
  virtual TDomNode* InsertBefore(TDomNode* newChild, TDomNode* refChild);
  virtual TDomNode* ReplaceChild(TDomNode* newChild, TDomNode* oldChild);
  virtual TDomNode* RemoveChild(TDomNode* oldChild);
  TCustomOwnedNode* AppendChild(TCustomOwnedNode* newChild) override;
  TCustomOwnedNode* InsertBefore(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) override;
  TCustomOwnedNode* ReplaceChild(TCustomOwnedNode* newChild, TCustomOwnedNode* oldChild) override;
  TCustomOwnedNode* RemoveChild(TCustomOwnedNode* oldChild) override;
  void CheckChildType(const TDomNode* child) const;

  // A copy made by the owner document (deep: with the subtree); user-data handlers are
  // told with udoCloned.
  TDomNode* CloneNode(bool deep) const;
  // "xml" and "xmlns" give their fixed URIs here; elements and attributes look further.
  virtual WideString LookupNamespaceUri(WideStringView prefix) const;
  // Joins adjacent text nodes throughout the subtree; empty text nodes stay.
  void Normalize();
  // An XPath expression evaluated with this node as context (XPathExpression.h; defined
  // in xml/xpath): the boolean, number, first node or string of its result. An
  // expression that fails gives false, NaN, nil or an empty string; a namespace node of
  // the XPath data model lives only as long as the evaluation, so it gives nil too.
  bool EvaluateToBoolean(WideStringView expression);
  double EvaluateToNumber(WideStringView expression);
  TDomNode* EvaluateToNode(WideStringView expression);
  WideString EvaluateToWideString(WideStringView expression);
  // Bits of TreePosition*: where this node stands relative to `other`. Raises
  // ENot_Supported_Err "Not supported error." for none.
  uint8_t CompareTreePosition(const TDomNode* other) const;

  TObject* GetUserData(WideStringView key) const;
  // Stores data under a key (none removes the key); returns the previous data.
  TObject* SetUserData(WideStringView key, TObject* data, TDomUserDataHandler handler);
  // Tells each user-data handler about an operation on this node.
  void NotifyUserDataHandlers(TDomUserDataOperation operation, TDomNode* source, TDomNode* destination) const;

protected:
  void DoAfterAddition(TCustomOwnedNode* node) override;
  void DoBeforeRemoval(TCustomOwnedNode* node) override;
  void DoBeforeClear() override;
  void SetAllowedChildTypes(TDomNodeTypeSet types) { FAllowedChildTypes = types; }
  void SetNamespaceAware(bool value) { FNamespaceAware = value; }
  void CheckNotReadOnlyNode() const;
  // The base URI of the parent; empty without one.
  WideString ParentBaseUri() const;
  WideString ParentLanguage() const;
  // The step up for tree positions: the parent, or an attribute's or namespace node's
  // owner element.
  virtual TDomNode* PositionParent() const { return GetParent(); }
  static TDomNode* AsDomNode(TCustomOwnedNode* node) { return static_cast<TDomNode*>(node); }
  static TDomNode* RequireDomNode(TCustomOwnedNode* node);

private:
  struct TUserDataEntry {
    WideString Key;
    TObject* Data;
    TDomUserDataHandler Handler;
  };
  TDomNode* AppendFragment(TDomNode* fragment);

  mutable std::unique_ptr<TDomChildNodeList> FChildNodes;
  TDomCustomDocument* FOwnerDocument;
  std::unique_ptr<std::vector<TUserDataEntry>> FUserData;  // none until data is set
  TDomNodeTypeSet FAllowedChildTypes = 0;
  bool FNamespaceAware = false;
};

// Makes a node of class T owned by `document`, in the document's node arena; the
// arguments after the document go to T's constructor.
template <typename T, typename TDocument, typename... Args>
T* NewDomNode(TDocument& document, Args&&... args) {
  return document.AddOwnedObject(NewInArena<T>(document.NodeArena(), &document, std::forward<Args>(args)...));
}

// A node that holds a value of its own (character data, attributes, processing
// instructions); the others keep no storage for one.
class TDomNodeWithValue : public TDomNode {
public:
  using TDomNode::TDomNode;
  WideString GetNodeValue() const override { return FNodeValue; }
  // Raises ENo_Modification_Allowed_Err on a read-only node.
  void SetNodeValue(WideStringView value) override;

protected:
  WideString FNodeValue;
};

// Text, CDATA sections and comments. Offsets and counts are UTF-16 units from 0.
class TDomCharacterData : public TDomNodeWithValue {
public:
  explicit TDomCharacterData(TDomCustomDocument* ownerDocument);

  WideString GetData() const { return GetNodeValue(); }
  void SetData(WideStringView value);
  int32_t GetLength() const { return static_cast<int32_t>(FNodeValue.size()); }
  void SetNodeValue(WideStringView value) override;
  WideString GetTextContent() const override { return FNodeValue; }
  // Raises EIndex_Size_Err "Index size error." for an offset outside 0..length or a
  // negative count; returns up to count units.
  WideString SubstringData(int32_t offset, int32_t count) const;
  void AppendData(WideStringView text);
  void InsertData(int32_t offset, WideStringView text) { ReplaceData(offset, 0, text); }
  void DeleteData(int32_t offset, int32_t count) { ReplaceData(offset, count, u""); }
  void ReplaceData(int32_t offset, int32_t count, WideStringView text);

protected:
  void DoCharacterDataModified();
  // Index checks of SubstringData and ReplaceData.
  void CheckRange(int32_t offset, int32_t count) const;
};

class TDomText : public TDomCharacterData {
public:
  TDomText(TDomCustomDocument* ownerDocument) : TDomCharacterData(ownerDocument) {}

  WideString GetNodeName() const override { return u"#text"; }
  TDomNodeType GetNodeType() const override { return ntText; }
  WideString GetXPathStringValue() const override { return FNodeValue; }
  WideString GetBaseUri() const override { return ParentBaseUri(); }
  WideString GetLanguage() const override { return ParentLanguage(); }
  // True when the text came from a character reference.
  bool FromCharRef() const { return FFromCharRef; }
  void SetFromCharRef(bool value) { FFromCharRef = value; }
  // White space that only separates elements of element content (asked of a document
  // with a DTD); false elsewhere.
  bool IsWhitespaceInElementContent() const;
  // Moves the data from offset on into a new text node placed after this one.
  TDomText* SplitText(int32_t offset);

private:
  bool FFromCharRef = false;
};

class TDomCDATASection final : public TDomText {
public:
  using TDomText::TDomText;
  WideString GetNodeName() const override { return u"#cdata-section"; }
  TDomNodeType GetNodeType() const override { return ntCDATASection; }
};

class TDomComment final : public TDomCharacterData {
public:
  TDomComment(TDomCustomDocument* ownerDocument) : TDomCharacterData(ownerDocument) {}
  WideString GetNodeName() const override { return u"#comment"; }
  TDomNodeType GetNodeType() const override { return ntComment; }
  WideString GetXPathStringValue() const override { return FNodeValue; }
  WideString GetBaseUri() const override { return ParentBaseUri(); }
  WideString GetLanguage() const override { return ParentLanguage(); }
};

class TDomProcessingInstruction final : public TDomNodeWithValue {
public:
  // Raises EInvalid_Character_Err "Invalid character error." unless the target is a
  // PITarget.
  TDomProcessingInstruction(TDomCustomDocument* ownerDocument, WideStringView target);

  WideString GetNodeName() const override { return FTarget; }
  TDomNodeType GetNodeType() const override { return ntProcessingInstruction; }
  WideString GetXPathName() const override { return FTarget; }
  WideString GetTextContent() const override { return FNodeValue; }
  WideString GetXPathStringValue() const override { return FNodeValue; }
  WideString GetBaseUri() const override { return ParentBaseUri(); }
  WideString GetLanguage() const override { return ParentLanguage(); }
  void SetNodeValue(WideStringView value) override;
  WideString GetData() const { return FNodeValue; }
  void SetData(WideStringView value) { SetNodeValue(value); }
  const WideString& GetTarget() const { return FTarget; }

private:
  WideString FTarget;
};

class TDomDocumentTypeDecl final : public TDomNode {
public:
  TDomDocumentTypeDecl(TDomCustomDocument* ownerDocument, WideStringView internalSubset, WideStringView systemId,
                       WideStringView publicId, WideStringView name);

  WideString GetNodeName() const override { return FName; }
  TDomNodeType GetNodeType() const override { return ntDocumentTypeDecl; }
  void SetNodeValue(WideStringView) override {}
  WideString GetBaseUri() const override { return ParentBaseUri(); }
  const WideString& GetInternalSubset() const { return FInternalSubset; }
  const WideString& GetName() const { return FName; }
  const WideString& GetPublicId() const { return FPublicId; }
  const WideString& GetSystemId() const { return FSystemId; }

  // Where the internal subset starts in the source.
  int64_t IntSubsetStartByteNumber = 0, IntSubsetStartCharNumber = 0, IntSubsetStartColumn = 0, IntSubsetStartLine = 1;

private:
  WideString FInternalSubset, FName, FPublicId, FSystemId;
};

class TDomEntityReference final : public TDomNode {
public:
  // Created read-only. Raises EInvalid_Character_Err unless the name is a Name.
  TDomEntityReference(TDomCustomDocument* ownerDocument, WideStringView name);

  WideString GetNodeName() const override { return FName; }
  TDomNodeType GetNodeType() const override { return ntEntityReference; }
  void SetNodeValue(WideStringView) override {}
  WideString GetBaseUri() const override { return ParentBaseUri(); }
  WideString GetLanguage() const override { return ParentLanguage(); }

private:
  WideString FName;
};

class TDomDocumentFragment final : public TDomNode {
public:
  explicit TDomDocumentFragment(TDomCustomDocument* ownerDocument);

  WideString GetNodeName() const override { return u"#document-fragment"; }
  TDomNodeType GetNodeType() const override { return ntDocumentFragment; }
  void SetNodeValue(WideStringView) override {}
  int32_t GetDocumentOrderIndex() const override { return -1; }
  int32_t GetDepth() const override { return -1; }
};

// A namespace node of the XPath data model, made read-only by the XPath engine.
class TDomXPathNamespace final : public TDomNode {
public:
  // The prefix must be empty or a Prefix (EInvalid_Character_Err); "xmlns" with another
  // URI than the XMLNS one, a prefix with an empty URI, or "xml" with another URI than the
  // XML one raise ENamespace_Err "Namespace error.".
  // Its document is the owner element's; create it with CreateOwnedObject under the
  // object that keeps it (an XPath result).
  TDomXPathNamespace(WideStringView prefix, WideStringView namespaceUri, TDomElement* ownerElement);

  WideString GetNodeName() const override { return u"#namespace"; }
  TDomNodeType GetNodeType() const override { return ntXPathNamespace; }
  WideString GetNodeValue() const override { return FNamespaceUri; }
  WideString GetNamespaceUri() const override { return FNamespaceUri; }
  WideString GetLocalName() const override { return FPrefix; }
  WideString GetPrefix() const override { return FPrefix; }
  WideString GetXPathName() const override { return FPrefix; }
  WideString GetXPathStringValue() const override { return FNamespaceUri; }
  WideString GetLanguage() const override;
  TDomCustomDocument* GetOwnerDocument() const override;
  WideString LookupNamespaceUri(WideStringView prefix) const override;
  TDomElement* GetOwnerElement() const { return FOwnerElement; }

protected:
  TDomNode* PositionParent() const override;

private:
  WideString FNamespaceUri;
  TDomElement* FOwnerElement;
  WideString FPrefix;
};

// Sets the read-only flag on every descendant of node (not on node itself).
void MakeChildrenReadOnly(TDomNode* node);
