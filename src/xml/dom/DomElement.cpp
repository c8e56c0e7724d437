#include "xml/dom/DomElement.h"

#include "platform/base/Exception.h"
#include "xml/dom/DomDocument.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

constexpr char SLiteralNotResolved[] = "Literal attribute value cannot be resolved.";
constexpr char SNormalizationFailed[] = "Attribute value normalization failed.";

void RequireName(WideStringView name) {
  if (!TextIsName(name)) throw EInvalid_Character_Err(SInvalid_Character_Err);
}

TDomNamespaceDeclarationKind DeclarationKindOf(WideStringView name) {
  if (TextIsDefaultNamespaceAttName(name)) return ndkDefault;
  if (TextIsPrefixedNamespaceAttName(name)) return ndkPrefixed;
  return ndkNone;
}

// "xmlns" as prefix or whole name belongs to the XMLNS namespace URI only.
void CheckXmlnsUse(WideStringView prefix, WideStringView qualifiedName, WideStringView namespaceUri) {
  if ((prefix == u"xmlns" || qualifiedName == u"xmlns") && namespaceUri != XmlnsNamespaceUri)
    throw ENamespace_Err(SNamespace_Err);
}

// The xml:base or xml:lang attribute of an element: by namespace on a namespace-aware
// element, by the name "xml:<local>" otherwise.
const TDomAttr* XmlAttribute(const TDomElement& element, WideStringView local) {
  if (element.IsNamespaceAware()) return element.GetAttributeNodeNS(XmlNamespaceUri, local);
  return element.GetAttributeNode(WideString(u"xml:") + WideString(local));
}

}  // namespace

void SplitCheckedQualifiedName(WideStringView qualifiedName, WideStringView namespaceUri, WideString& prefix,
                               WideString& localName) {
  if (!SplitQualifiedName(qualifiedName, prefix, localName)) {
    if (TextIsName(qualifiedName)) throw ENamespace_Err(SNamespace_Err);
    throw EInvalid_Character_Err(SInvalid_Character_Err);
  }
  if ((!prefix.empty() && namespaceUri.empty()) || (prefix == u"xml" && namespaceUri != XmlNamespaceUri))
    throw ENamespace_Err(SNamespace_Err);
}

// ---- TDomAttr ----

TDomAttr::TDomAttr(TDomDocument* ownerDocument, bool specified, WideStringView name)
    : TDomNodeWithValue(ownerDocument), FNodeName(name), FSpecified(specified) {
  RequireName(name);
  FDeclarationKind = DeclarationKindOf(name);
  SetAllowedChildTypes(0);
}

TDomAttr::TDomAttr(TDomDocumentNS* ownerDocument, bool specified, WideStringView qualifiedName,
                   WideStringView namespaceUri)
    : TDomNodeWithValue(ownerDocument),
      FNodeName(qualifiedName),
      FParts(std::make_unique<TDomNamespaceParts>()),
      FSpecified(specified) {
  FParts->NamespaceUri.assign(namespaceUri);
  SplitCheckedQualifiedName(qualifiedName, namespaceUri, FParts->Prefix, FParts->LocalName);
  CheckXmlnsUse(FParts->Prefix, qualifiedName, namespaceUri);
  FDeclarationKind = FParts->Prefix == u"xmlns" ? ndkPrefixed : qualifiedName == u"xmlns" ? ndkDefault : ndkNone;
  SetNamespaceAware(true);
  SetAllowedChildTypes(0);
}

TDomAttr::~TDomAttr() {
  TDomElement* element = GetOwnerElement();
  if (element) {
    // The element lets its attribute go even when it is read-only.
    const bool readOnly = element->GetReadOnly();
    element->SetReadOnly(false);
    try {
      element->RemoveAttributeNode(this);
    } catch (...) {
      // A handler of the removal event raised; the attribute is gone from the map all
      // the same, and a destructor lets nothing escape.
    }
    element->SetReadOnly(readOnly);
  } else if (FOwnerMap) {
    FOwnerMap->InternalRemove(this);
  }
}

TDomElement* TDomAttr::GetOwnerElement() const {
  return FOwnerMap ? dynamic_cast<TDomElement*>(FOwnerMap->OwnerNode()) : nullptr;
}

TDomNode* TDomAttr::PositionParent() const { return GetOwnerElement(); }

void TDomAttr::SetNodeValue(WideStringView value) {
  TDomNodeWithValue::SetNodeValue(value);
  DoAttrModified(AC_MODIFICATION);
}

void TDomAttr::DoAttrModified(TDomAttrChange change) {
  if (TDomElement* element = GetOwnerElement()) element->DoAttrModified(element, change, this);
}

const WideString& TDomAttr::NamespaceUriRef() const {
  static const WideString none;
  return FParts ? FParts->NamespaceUri : none;
}

void TDomAttr::SetPrefix(WideStringView prefix) {
  RequireName(prefix);
  CheckNotReadOnlyNode();
  const WideString& uri = NamespaceUriRef();
  if (!TextIsPrefix(prefix) || uri.empty() || (prefix == u"xml" && uri != XmlNamespaceUri) ||
      (prefix == u"xmlns" && uri != XmlnsNamespaceUri) || FNodeName == u"xmlns")
    throw ENamespace_Err(SNamespace_Err);
  FParts->Prefix.assign(prefix);
  FNodeName = FParts->Prefix + u':' + FParts->LocalName;
  if (FOwnerMap) FOwnerMap->ItemRenamed();
}

WideString TDomAttr::GetResolvedValue() const {
  TDomCustomDocument* document = GetOwnerDocument();
  const TDomElement* element = GetOwnerElement();
  const uint8_t declType = document && element ? document->GetAttrDeclType(element->GetNodeName(), FNodeName) : 0;
  TXmlErrorKind errorType = 0;
  WideString value;
  if (document)
    document->ResolveAttributeValue(FNodeValue, declType, errorType, value);
  else
    ResolveAttributeLiteral(FNodeValue, errorType, value);
  if (!IsNonErrorKind(errorType)) throw EConvertError(SNormalizationFailed);
  return value;
}

WideString TDomAttr::GetBaseUri() const {
  const TDomElement* element = GetOwnerElement();
  if (!element) return {};
  const WideString& uri = NamespaceUriRef();
  const bool isXmlBase =
      (uri == XmlNamespaceUri && FParts->LocalName == u"base") || (uri.empty() && FNodeName == u"xml:base");
  if (!isXmlBase) return element->GetBaseUri();
  const TDomNode* parent = element->GetParentNode();
  return parent ? parent->GetBaseUri() : WideString();
}

WideString TDomAttr::GetLanguage() const { return InheritedLanguage(GetOwnerElement()); }

WideString TDomAttr::LookupNamespaceUri(WideStringView prefix) const {
  if (prefix.empty()) return {};
  if (const TDomElement* element = GetOwnerElement()) return element->LookupNamespaceUri(prefix);
  return TDomNode::LookupNamespaceUri(prefix);
}

// ---- TDomElement ----

TDomElement::TDomElement(TDomDocument* ownerDocument, WideStringView tagName)
    : TDomNode(ownerDocument), FNodeName(tagName) {
  RequireName(tagName);
  InitAttributes();
}

TDomElement::TDomElement(TDomDocumentNS* ownerDocument, WideStringView qualifiedName, WideStringView namespaceUri)
    : TDomNode(ownerDocument), FNodeName(qualifiedName), FParts(std::make_unique<TDomNamespaceParts>()) {
  FParts->NamespaceUri.assign(namespaceUri);
  SplitCheckedQualifiedName(qualifiedName, namespaceUri, FParts->Prefix, FParts->LocalName);
  SetNamespaceAware(true);
  InitAttributes();
}

void TDomElement::InitAttributes() {
  SetAllowedChildTypes(NodeTypes(
      {ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction, ntComment, ntDocumentFragment}));
}

TDomNamedNodeMap* TDomElement::GetAttributes() const {
  if (!FAttributes)
    FAttributes = std::make_unique<TDomNamedNodeMap>(const_cast<TDomElement*>(this), IsNamespaceAware(),
                                                     NodeTypes({ntAttribute}));
  return FAttributes.get();
}

TDomElement::~TDomElement() {
  SetReadOnly(false);
  RemoveAllAttributes();
}

void TDomElement::RemoveAllAttributes() {
  // From the last: each removal is then constant time.
  while (AttributeCount() > 0) {
    auto* attr = static_cast<TDomAttr*>(FAttributes->GetItem(FAttributes->GetLength() - 1));
    RemoveAttributeNode(attr);
    attr->Free();
  }
}

void TDomElement::DoBeforeClear() {
  RemoveAllAttributes();
  // No node-clearing event, but the iterators must let go of the children.
  if (TDomCustomDocument* document = GetDocument()) document->NotifyIterators(this, neClearing);
}

TDomAttr* TDomElement::GetAttributeNode(WideStringView name) const {
  if (FAttributes) return static_cast<TDomAttr*>(FAttributes->GetNamedItem(name));
  if (IsNamespaceAware()) throw ENamespace_Err(SNamespace_Err);  // as the map would
  return nullptr;
}

TDomAttr* TDomElement::GetAttributeNodeNS(WideStringView namespaceUri, WideStringView localName) const {
  if (FAttributes) return static_cast<TDomAttr*>(FAttributes->GetNamedItemNS(namespaceUri, localName));
  if (!IsNamespaceAware()) throw ENamespace_Err(SNamespace_Err);
  return nullptr;
}

WideString TDomElement::GetAttributeValue(WideStringView name) const {
  const TDomAttr* attr = GetAttributeNode(name);
  return attr ? attr->GetNodeValue() : WideString();
}

WideString TDomElement::GetAttributeValueNS(WideStringView namespaceUri, WideStringView localName) const {
  const TDomAttr* attr = GetAttributeNodeNS(namespaceUri, localName);
  return attr ? attr->GetNodeValue() : WideString();
}

namespace {

WideString ResolvedValueOf(const std::function<const TDomAttr*()>& find) {
  try {
    const TDomAttr* attr = find();
    return attr ? attr->GetResolvedValue() : WideString();
  } catch (const std::exception&) {
    throw EConvertError(SLiteralNotResolved);
  }
}

}  // namespace

WideString TDomElement::GetAttributeResolvedValue(WideStringView name) const {
  return ResolvedValueOf([&] { return GetAttributeNode(name); });
}

WideString TDomElement::GetAttributeResolvedValueNS(WideStringView namespaceUri, WideStringView localName) const {
  return ResolvedValueOf([&] { return GetAttributeNodeNS(namespaceUri, localName); });
}

TDomAttr* TDomElement::AddNewAttribute(TDomAttr* attr, WideStringView value) {
  attr->TDomNodeWithValue::SetNodeValue(value);  // no event before it belongs to the element
  GetAttributes()->InternalAdd(attr);
  DoAttrModified(this, AC_ADDITION, attr);
  return attr;
}

TDomAttr* TDomElement::SetAttribute(WideStringView name, WideStringView value) {
  CheckNotReadOnlyNode();
  if (TDomAttr* attr = GetAttributeNode(name)) {
    attr->SetNodeValue(value);
    return nullptr;
  }
  auto* document = dynamic_cast<TDomDocument*>(GetDocument());
  if (!document) throw EInvalidCast(SInvalidCast);
  return AddNewAttribute(NewDomNode<TDomAttr>(*document, true, name), value);
}

TDomAttr* TDomElement::SetAttributeNS(WideStringView namespaceUri, WideStringView qualifiedName, WideStringView value) {
  CheckNotReadOnlyNode();
  WideString prefix, localName;
  SplitCheckedQualifiedName(qualifiedName, namespaceUri, prefix, localName);
  CheckXmlnsUse(prefix, qualifiedName, namespaceUri);
  if (TDomAttr* attr = GetAttributeNodeNS(namespaceUri, localName)) {
    attr->SetPrefix(prefix);
    attr->SetNodeValue(value);
    return nullptr;
  }
  auto* document = dynamic_cast<TDomDocumentNS*>(GetDocument());
  if (!document) throw EInvalidCast(SInvalidCast);
  return AddNewAttribute(NewDomNode<TDomAttr>(*document, true, qualifiedName, namespaceUri), value);
}

TDomAttr* TDomElement::SetAttributeNode(TDomAttr* attr) {
  const bool hadElement = attr && attr->GetOwnerElement();
  auto* replaced = static_cast<TDomAttr*>(GetAttributes()->SetNamedItem(attr));
  if (!hadElement) DoAttrModified(this, AC_ADDITION, attr);
  return replaced;
}

TDomAttr* TDomElement::SetAttributeNodeNS(TDomAttr* attr) {
  const bool hadElement = attr && attr->GetOwnerElement();
  auto* replaced = static_cast<TDomAttr*>(GetAttributes()->SetNamedItemNS(attr));
  if (!hadElement) DoAttrModified(this, AC_ADDITION, attr);
  return replaced;
}

TDomAttr* TDomElement::RemoveAttributeNode(TDomAttr* attr) {
  GetAttributes()->RemoveItem(attr);
  DoAttrModified(this, AC_REMOVAL, attr);
  return attr;
}

TDomAttr* TDomElement::RemoveAttribute(WideStringView name) {
  TDomAttr* attr = GetAttributeNode(name);
  if (!attr) throw ENot_Found_Err(SNot_Found_Err);
  return RemoveAttributeNode(attr);
}

TDomAttr* TDomElement::RemoveAttributeNS(WideStringView namespaceUri, WideStringView localName) {
  TDomAttr* attr = GetAttributeNodeNS(namespaceUri, localName);
  if (!attr) throw ENot_Found_Err(SNot_Found_Err);
  return RemoveAttributeNode(attr);
}

void TDomElement::DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr) {
  if (TDomCustomDocument* document = GetDocument()) document->DoAttrModified(modifiedNode, change, relatedAttr);
}

void TDomElement::SetPrefix(WideStringView prefix) {
  RequireName(prefix);
  CheckNotReadOnlyNode();
  if (!TextIsPrefix(prefix) || !FParts || FParts->NamespaceUri.empty() ||
      (prefix == u"xml" && FParts->NamespaceUri != XmlNamespaceUri))
    throw ENamespace_Err(SNamespace_Err);
  FParts->Prefix.assign(prefix);
  FNodeName = FParts->Prefix + u':' + FParts->LocalName;
}

WideString TDomElement::LookupNamespaceUri(WideStringView prefix) const {
  // This element's declarations, then those of the elements above it; at the first other
  // node, the fixed rule.
  for (const TDomNode* node = this; node; node = node->GetParentNode()) {
    if (node->GetNodeType() != ntElement) break;
    const auto* element = static_cast<const TDomElement*>(node);
    if (element->AttributeCount() == 0) continue;
    const TDomNamedNodeMap& attributes = *element->FAttributes;
    for (int32_t i = 0; i < attributes.GetLength(); ++i) {
      const auto* attr = static_cast<const TDomAttr*>(attributes.GetItem(i));
      const TDomNamespaceDeclarationKind kind = attr->GetNamespaceDeclarationKind();
      if (prefix.empty() ? kind == ndkDefault : (kind == ndkPrefixed && attr->GetLocalName() == prefix))
        return attr->GetNodeValue();
    }
  }
  return TDomNode::LookupNamespaceUri(prefix);
}

WideString TDomElement::GetBaseUri() const { return InheritedBaseUri(this); }
WideString TDomElement::GetLanguage() const { return InheritedLanguage(this); }

WideString InheritedBaseUri(const TDomNode* node) {
  // Up to the nearest xml:base or the document; no recursion through the ancestors.
  for (; node; node = node->GetParentNode()) {
    switch (node->GetNodeType()) {
      case ntElement:
        if (const TDomAttr* base = XmlAttribute(*static_cast<const TDomElement*>(node), u"base")) {
          // An absolute value stands; a relative one is resolved against the attribute's
          // own base.
          const WideString value = base->GetResolvedValue();
          TUriWideStrAnalyzer uri;
          if (uri.ParseReference(value) && uri.HasUriScheme()) return value;
          WideString resolved;
          ResolveUriReference(base->GetBaseUri(), value, resolved);
          return resolved;
        }
        break;
      case ntText:
      case ntCDATASection:
      case ntEntityReference:
      case ntProcessingInstruction:
      case ntComment:
      case ntDocumentTypeDecl:
        break;
      default:
        return node->GetBaseUri();
    }
  }
  return {};
}

WideString InheritedLanguage(const TDomNode* node) {
  for (; node; node = node->GetParentNode()) {
    switch (node->GetNodeType()) {
      case ntElement:
        if (const TDomAttr* lang = XmlAttribute(*static_cast<const TDomElement*>(node), u"lang"))
          return lang->GetResolvedValue();
        break;
      case ntText:
      case ntCDATASection:
      case ntEntityReference:
      case ntProcessingInstruction:
      case ntComment:
        break;
      default:
        return node->GetLanguage();
    }
  }
  return {};
}

void TDomElement::MergeAdjacentTexts() {
  // Front to back: the first text node of each run takes in the ones after it, each
  // appended in place, so a run costs what its texts cost.
  TDomCustomDocument* document = GetDocument();
  for (TDomNode* child = GetFirstChild(); child; child = child->GetNextSibling()) {
    if (child->GetNodeType() != ntText) continue;
    auto* text = static_cast<TDomText*>(child);
    while (TDomNode* following = text->GetNextSibling()) {
      if (following->GetNodeType() != ntText) break;
      auto* next = static_cast<TDomText*>(following);
      text->AppendData(next->GetData());
      if (next->FromCharRef()) text->SetFromCharRef(true);
      if (document) document->NotifyIterators(next, neRemoving);
      UnlinkChild(next);
      next->Free();
    }
  }
}

TDomElement::TElementLists& TDomElement::ElementLists() {
  if (!FElementLists) FElementLists = std::make_unique<TElementLists>();
  return *FElementLists;
}

TDomElementsNodeList* TDomElement::GetElementsByTagName(WideStringView name) {
  auto& lists = ElementLists().ByName;
  for (const auto& list : lists)
    if (list->QueryName() == name) return list.get();
  return lists.emplace_back(std::make_unique<TDomElementsNodeList>(name, this)).get();
}

TDomElementsNodeListNS* TDomElement::GetElementsByTagNameNS(WideStringView namespaceUri, WideStringView localName) {
  auto& lists = ElementLists().ByNamespace;
  for (const auto& list : lists)
    if (list->QueryNamespaceUri() == namespaceUri && list->QueryLocalName() == localName) return list.get();
  return lists.emplace_back(std::make_unique<TDomElementsNodeListNS>(namespaceUri, this, localName)).get();
}
