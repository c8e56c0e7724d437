#include "xml/dtd/DtdValidationAgent.h"

#include "xml/dtd/DtdToDtdModelParser.h"

#include <algorithm>

#include "xml/codecs/Utf16Codecs.h"
#include "xml/dom/DomElement.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomNode.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/dtd/DtdToDtdModelParser.h"
#include "xml/parser/DomError.h"
#include "xml/parser/XmlAttrValueTokenizer.h"
#include "xml/parser/XmlInputSource.h"
#include "xml/parser/XmlToDomParser.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/WideStringUtils.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

// The blank-separated tokens of a normalized value.
std::vector<WideString> Tokens(WideStringView value) {
  std::vector<WideString> tokens;
  size_t start = 0;
  while (start <= value.size()) {
    const size_t end = std::min(value.find(u' ', start), value.size());
    if (end > start) tokens.emplace_back(value.substr(start, end - start));
    start = end + 1;
  }
  return tokens;
}

bool Contains(const std::vector<WideString>& list, WideStringView item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Lifts a node's read-only flag for a scope and restores it, also on exceptions.
class TWritableScope {
public:
  explicit TWritableScope(TDomNode& node) : FNode(node), FWasReadOnly(node.GetReadOnly()) { node.SetReadOnly(false); }
  ~TWritableScope() { FNode.SetReadOnly(FWasReadOnly); }
  TWritableScope(const TWritableScope&) = delete;
  TWritableScope& operator=(const TWritableScope&) = delete;

private:
  TDomNode& FNode;
  bool FWasReadOnly;
};

}  // namespace

TDtdValidationAgent::TDtdValidationAgent(TDomDocument* ownerDocument)
    : FOwnerDocument(ownerDocument),
      FExpansionAvail(FLimits.MaxEntityExpansionChars),
      FNodesAvail(FLimits.MaxNodeCount) {
  if (!ownerDocument) throw ENot_Supported_Err(SNot_Supported_Err);
}

void TDtdValidationAgent::SetLimits(const TXmlLimits& limits) {
  FLimits = limits;
  FExpansionAvail = limits.MaxEntityExpansionChars;
  FNodesAvail = limits.MaxNodeCount;
}

TDtdValidationAgent::~TDtdValidationAgent() = default;

void TDtdValidationAgent::Clear() {
  FParsedReplacements.clear();
  FDtdModel.Reset();
  FIdRegistry.clear();
  FIdRefRegistry.clear();
}

TDomElement* TDtdValidationAgent::GetElementById(WideStringView id) const {
  const auto found = FIdRegistry.find(WideString(id));
  return found == FIdRegistry.end() ? nullptr : found->second;
}

TDtdAttrType TDtdValidationAgent::GetAttributeType(WideStringView elementName, WideStringView attributeName) const {
  const TDtdAttributeDecl* declaration = FindAttributeDecl(elementName, attributeName);
  return declaration ? declaration->AttributeType() : atCData;
}

TDtdElementContentType TDtdValidationAgent::GetContentType(WideStringView elementName) const {
  const TDtdElementDecl* declaration = FindElementDecl(elementName);
  return declaration ? declaration->ContentType() : DTD_ANY_CONTENTTYPE;
}

bool TDtdValidationAgent::IsEntityDeclaredWfc() const {
  const TDomDocumentTypeDecl* doctype = FOwnerDocument->GetDoctypeDecl();
  if (!doctype) return true;
  const bool external = !doctype->GetPublicId().empty() || !doctype->GetSystemId().empty();
  if (external) return FOwnerDocument->XmlStandalone == sdYes;
  return !FDtdModel.InternalSubsetHasPEReferences;
}

bool TDtdValidationAgent::ReportError(TXmlErrorKind errorType, TDtdObject* dtdObject, TDomNode* node,
                                      WideStringView hint) {
  const TDomError error(errorType, TXmlTextPos{}, TXmlTextPos{}, u"", dtdObject, node, u"", hint);
  TDomImplementation* implementation = FOwnerDocument->GetDomImplementation();
  if (!implementation) return error.GetSeverity() != esFatal;
  return implementation->HandleError(this, &error);
}

void TDtdValidationAgent::Report(TXmlErrorKind errorType, TDtdObject* dtdObject, TDomNode* node, bool& valid,
                                 bool& go) {
  if (!IsNonErrorKind(errorType)) valid = false;
  go = ReportError(errorType, dtdObject, node) && go;
}

bool TDtdValidationAgent::Spend(int64_t amount) {
  FExpansionAvail -= amount;
  return FExpansionAvail >= 0;
}

// ---- entities ----

TXmlErrorKind TDtdValidationAgent::ResolveExternalEntity(TDtdDeclOrigin origin, WideStringView baseUri,
                                                         WideStringView systemId, WideStringView publicId,
                                                         WideString& text) {
  TDomImplementation* implementation = FOwnerDocument->GetDomImplementation();
  // External text is read only through the resolver the caller assigned; with none,
  // nothing is read and the entity stays unloaded (the implementation would raise).
  if (!implementation || !implementation->ResourceResolver()) return XmlErrors::ExternalPENotLoaded;
  WideString resolved;
  if (!ResolveUriReference(baseUri, systemId, resolved)) resolved = systemId;
  const WideString& referencing =
      origin == doExternalSubset ? FDtdModel.ExternalSubsetSystemId : FDtdModel.InternalSubsetSystemId;
  TXmlErrorKind errorType = 0;
  implementation->ResolveResourceAsWideString(referencing, publicId, resolved, errorType, text);
  return errorType;
}

TXmlErrorKind TDtdValidationAgent::ResolveEntity(WideStringView name, WideString& replacementText, uint64_t& key,
                                                 bool& isExternal) {
  replacementText.clear();
  const bool wfc = IsEntityDeclaredWfc();
  TDtdEntityDecl* declaration = FindEntityDecl(name);
  if (!declaration) return wfc ? XmlErrors::UndeclaredEntity : XmlErrors::UndeclaredEntityValidity;
  isExternal = declaration->GetEntityKind() == ekExternal;
  key = declaration->Key();
  const TXmlErrorKind resolved = declaration->Resolve(
      [this](TDtdDeclOrigin origin, WideStringView baseUri, WideStringView systemId, WideStringView publicId,
             WideString& text) { return ResolveExternalEntity(origin, baseUri, systemId, publicId, text); });
  if (!IsNonErrorKind(resolved)) return resolved;
  if (!declaration->IsNotRecursive()) return XmlErrors::RecursiveEntity;
  replacementText = declaration->ReplacementText();
  return declaration->Origin() == doExternalSubset && wfc ? XmlErrors::StandaloneExternalEntity : 0;
}

void TDtdValidationAgent::ExpandValue(WideStringView value, uint64_t keyLimit, WideString& text,
                                      TXmlErrorKind& errorType) {
  text.clear();
  // Most values hold neither a reference nor white space other than blanks.
  if (value.find_first_of(u"&\t\n\r") == WideStringView::npos) {
    text.assign(value);
    return;
  }
  // The value and the replacement texts it refers to are read with a stack of
  // positions instead of recursion; the recursion check of ResolveEntity keeps the
  // stack finite, and every replacement text entered spends its length from the
  // document's expansion budget. The texts are the declarations' own, which outlive
  // the walk.
  struct TFrame {
    WideStringView Text;
    size_t Pos;
  };
  std::vector<TFrame> stack{{value, 0}};
  const auto fail = [&](TXmlErrorKind kind) {
    errorType = kind;
    text.clear();
  };
  while (!stack.empty()) {
    TFrame& frame = stack.back();
    if (frame.Pos == frame.Text.size()) {
      stack.pop_back();
      continue;
    }
    const WideChar c = frame.Text[frame.Pos];
    if (c != u'&') {
      // White space, a carriage return from a character reference included, is a blank.
      text += c == u'\t' || c == u'\n' || c == u'\r' ? u' ' : c;
      ++frame.Pos;
      continue;
    }
    const bool charRef = frame.Pos + 1 < frame.Text.size() && frame.Text[frame.Pos + 1] == u'#';
    const size_t semicolon = frame.Text.find(u';', frame.Pos);
    if (semicolon == WideStringView::npos)
      return fail(charRef ? XmlErrors::UnterminatedCharRef : XmlErrors::UnterminatedEntityRef);
    const WideStringView reference = frame.Text.substr(frame.Pos, semicolon + 1 - frame.Pos);
    frame.Pos = semicolon + 1;
    if (charRef) {
      try {
        text += CharRefToText(reference);
      } catch (const EConvertError&) {
        return fail(XmlErrors::InvalidCharRef);
      }
      continue;
    }
    const WideStringView name = reference.substr(1, reference.size() - 2);
    // An external entity is refused before anything is loaded for it.
    const TDtdEntityDecl* declaration = FindEntityDecl(name);
    if (keyLimit == 0 && declaration && declaration->GetEntityKind() == ekExternal)
      return fail(XmlErrors::ExternalEntityInAttribute);
    WideString replacement;
    uint64_t key = 0;
    bool isExternal = false;
    const TXmlErrorKind resolved = ResolveEntity(name, replacement, key, isExternal);
    if (!IsNonErrorKind(resolved)) return fail(resolved);
    if (replacement.find(u'<') != WideString::npos) return fail(XmlErrors::LessThanInAttributeValue);
    if (keyLimit != 0 && key > keyLimit)
      return fail(IsEntityDeclaredWfc() ? XmlErrors::EntityDeclaredAfterAttributeWfc
                                        : XmlErrors::EntityDeclaredAfterAttribute);
    if (!Spend(static_cast<int64_t>(replacement.size()) + 1)) return fail(XmlErrors::LimitExceeded);
    stack.push_back({declaration->ReplacementText(), 0});
    if (static_cast<int64_t>(text.size()) > FLimits.MaxEntityExpansionChars) return fail(XmlErrors::LimitExceeded);
  }
}

void TDtdValidationAgent::NormalizeValue(WideStringView value, TDtdAttrType attributeType, uint64_t keyLimit,
                                         WideString& text, TXmlErrorKind& errorType) {
  errorType = 0;
  ExpandValue(value, keyLimit, text, errorType);
  if (attributeType != atCData) text = CollapseBlanks(text);
}

void TDtdValidationAgent::NormalizeAttributeValue(WideStringView value, TDtdAttrType attributeType,
                                                  WideString& normalized, TXmlErrorKind& errorType) {
  NormalizeValue(value, attributeType, 0, normalized, errorType);
}

void TDtdValidationAgent::NormalizeDefaultValue(const TDtdAttributeDecl& declaration, WideString& normalized,
                                                TXmlErrorKind& errorType) {
  NormalizeValue(declaration.DefaultValue(), declaration.AttributeType(), declaration.Key(), normalized, errorType);
}

TDtdValidationAgent::TFragment TDtdValidationAgent::ParseReplacementText(WideStringView text, bool keepCDATASections,
                                                                         bool keepComments) {
  TFragment fragment(NewDomNode<TDomDocumentFragment>(*FOwnerDocument));
  TXmlToDomParser parser(nullptr);
  parser.SetLimits(FLimits);
  parser.SetDOMImpl(FOwnerDocument->GetDomImplementation());
  parser.SetKeepCDATASections(keepCDATASections);
  parser.SetKeepComments(keepComments);
  // A carriage return in a replacement text came from a character reference; the
  // reader would make it a line feed, so it goes in as a reference again.
  WideString escaped;
  for (const WideChar c : text) {
    if (c == u'\r')
      escaped += u"&#13;";
    else
      escaped += c;
  }
  TUtilsWideStringStream stream(escaped);
  TXmlSimpleInputSource source(&stream, TXmlSourceStart{}, CodecClassOf<TUTF16LECodec>(), parser.BufferSize(), u"",
                               u"");
  parser.ParseIntoFragment(&source, fragment.get());
  return fragment;
}

TXmlErrorKind TDtdValidationAgent::ExpandEntityReference(TDomEntityReference& reference) {
  reference.SetReadOnly(false);
  struct TRestore {
    TDomEntityReference& Node;
    ~TRestore() {
      MakeChildrenReadOnly(&Node);
      Node.SetReadOnly(true);
    }
  } restore{reference};
  reference.Clear();
  WideString text;
  uint64_t key = 0;
  bool isExternal = false;
  TXmlErrorKind errorType = ResolveEntity(reference.GetNodeName(), text, key, isExternal);
  if (!IsNonErrorKind(errorType)) return errorType;
  if (!Spend(static_cast<int64_t>(text.size()) + 1)) return XmlErrors::LimitExceeded;
  try {
    TFragment fragment = ParseReplacementText(text);
    while (TDomNode* child = fragment->GetFirstChild()) reference.AppendChild(child);
  } catch (const EParserException&) {
    return XmlErrors::UnparsableReplacementText;
  }
  return errorType;
}

// ---- attributes ----

void TDtdValidationAgent::AddDefaultAttribute(TDomElement& element, const TDtdAttributeDecl& declaration,
                                              WideStringView value) {
  const TWritableScope writable(element);
  auto* attribute = NewDomNode<TDomAttr>(*FOwnerDocument, false, declaration.GetName());
  attribute->SetNodeValue(value);
  element.SetAttributeNode(attribute);
}

bool TDtdValidationAgent::SetDefaultAttributes(TDomElement& element) {
  const TDtdAttDeclCollection* collection = FDtdModel.FindAttDeclCollection(element.GetNodeName());
  if (!collection) return true;
  bool result = true;
  for (int32_t i = 0; i < collection->GetLength(); ++i) {
    const TDtdAttributeDecl& declaration = *collection->GetItem(i);
    if (declaration.DefaultKind() != dcDefault && declaration.DefaultKind() != dcFixed) continue;
    if (element.HasAttribute(declaration.GetName())) continue;
    WideString value;
    TXmlErrorKind errorType = 0;
    NormalizeDefaultValue(declaration, value, errorType);
    if (IsNonErrorKind(errorType))
      AddDefaultAttribute(element, declaration, value);
    else
      result = false;
  }
  return result;
}

void TDtdValidationAgent::CheckAttributeDefaults(TDomElement& element, bool& valid, bool& go) {
  TDtdAttDeclCollection* collection = FDtdModel.FindAttDeclCollection(element.GetNodeName());
  if (!collection) return;
  for (int32_t i = 0; i < collection->GetLength() && go; ++i) {
    TDtdAttributeDecl& declaration = *collection->GetItem(i);
    TDomAttr* present = element.GetAttributeNode(declaration.GetName());
    WideString value;
    TXmlErrorKind errorType = 0;
    switch (declaration.DefaultKind()) {
      case dcDefault:
        if (present) break;
        NormalizeDefaultValue(declaration, value, errorType);
        if (IsNonErrorKind(errorType))
          AddDefaultAttribute(element, declaration, value);
        else
          Report(errorType, &declaration, &element, valid, go);
        break;
      case dcFixed: {
        NormalizeDefaultValue(declaration, value, errorType);
        if (!IsNonErrorKind(errorType)) {
          Report(errorType, &declaration, &element, valid, go);
        } else if (present) {
          WideString actual;
          TXmlErrorKind actualError = 0;
          NormalizeAttributeValue(present->GetNodeValue(), declaration.AttributeType(), actual, actualError);
          if (actual != value) Report(XmlErrors::FixedAttributeMismatch, &declaration, present, valid, go);
        } else {
          AddDefaultAttribute(element, declaration, value);
        }
        break;
      }
      case dcRequired:
        if (!present) Report(XmlErrors::RequiredAttributeMissing, &declaration, &element, valid, go);
        break;
      case dcImplied:
        break;
    }
  }
}

void TDtdValidationAgent::CheckTypedValue(TDomAttr& attribute, TDtdAttributeDecl& declaration, WideStringView value,
                                          bool& valid, bool& go) {
  const auto mismatch = [&] { Report(XmlErrors::AttributeValueTypeMismatch, &declaration, &attribute, valid, go); };
  const auto isUnparsedEntity = [&](WideStringView name) {
    const TDtdEntityDecl* entity = FindEntityDecl(name);
    return entity && !entity->IsParsed();
  };
  const std::vector<WideString>& enumeration = declaration.Enumeration();
  switch (declaration.AttributeType()) {
    case atCData:
      if (!TextIsChars(value)) mismatch();
      break;
    case atNotation:
      if (!enumeration.empty() && !Contains(enumeration, value)) mismatch();
      break;
    case atId:
      if (!TextIsName(value)) return mismatch();
      if (!FIdRegistry.emplace(WideString(value), attribute.GetOwnerElement()).second)
        Report(XmlErrors::RepeatedIdValue, &declaration, &attribute, valid, go);
      break;
    case atIdRef:
      if (!TextIsName(value)) return mismatch();
      FIdRefRegistry.emplace_back(WideString(value), &attribute);
      break;
    case atIdRefs:
      if (!TextIsNames(value)) return mismatch();
      for (WideString& token : Tokens(value)) FIdRefRegistry.emplace_back(std::move(token), &attribute);
      break;
    case atEntity:
      if (!TextIsName(value)) return mismatch();
      if (!isUnparsedEntity(value)) Report(XmlErrors::NotAnUnparsedEntity, &declaration, &attribute, valid, go);
      break;
    case atEntities:
      if (!TextIsNames(value)) return mismatch();
      for (const WideString& token : Tokens(value))
        if (!isUnparsedEntity(token)) Report(XmlErrors::NotAnUnparsedEntity, &declaration, &attribute, valid, go);
      break;
    case atNmToken:
      if (!TextIsNmtoken(value) || (!enumeration.empty() && !Contains(enumeration, value))) mismatch();
      break;
    case atNmTokens:
      if (!TextIsNmtokens(value)) mismatch();
      break;
  }
}

TXmlErrorKind TDtdValidationAgent::CheckStandaloneAttribute(WideStringView elementName, WideStringView attrName,
                                                            WideStringView literal) {
  const TDtdAttributeDecl* declaration = FindAttributeDecl(elementName, attrName);
  if (!declaration || declaration->Origin() != doExternalSubset || declaration->AttributeType() == atCData ||
      !IsEntityDeclaredWfc())
    return 0;
  WideString expanded, normalized;
  TXmlErrorKind expandError = 0, normalizeError = 0;
  ExpandValue(literal, 0, expanded, expandError);
  NormalizeAttributeValue(literal, declaration->AttributeType(), normalized, normalizeError);
  return expandError == 0 && normalizeError == 0 && expanded != normalized ? XmlErrors::StandaloneAttributeNormalized
                                                                           : 0;
}

void TDtdValidationAgent::ValidateAttribute(TDomAttr& attribute, TDtdEntityTreatment treatment, bool& go, bool& valid) {
  TDomElement* owner = attribute.GetOwnerElement();
  const WideString ownerName = owner ? owner->GetNodeName() : WideString();
  // The node holds the value with its references resolved (the parser resolved them),
  // so it is normalized as text: reading it as a literal again would resolve a "&"
  // that came from "&amp;" a second time.
  const TDtdAttrType type = GetAttributeType(ownerName, attribute.GetNodeName());
  const WideString value = attribute.GetNodeValue();
  const WideString normalized = type == atCData ? value : CollapseBlanks(value);
  TDtdAttributeDecl* declaration = FindAttributeDecl(ownerName, attribute.GetNodeName());
  if (!declaration) return Report(XmlErrors::UndeclaredAttribute, nullptr, &attribute, valid, go);
  if (declaration->Origin() == doExternalSubset && IsEntityDeclaredWfc()) {
    if (!attribute.GetSpecified()) Report(XmlErrors::StandaloneDefaultAttribute, declaration, &attribute, valid, go);
    if (go && value != normalized) Report(XmlErrors::StandaloneAttributeNormalized, declaration, &attribute, valid, go);
    if (!go) return;
  }
  if (treatment == etExpand && value != normalized) {
    const TWritableScope writable(attribute);
    attribute.SetNodeValue(normalized);
  }
  CheckTypedValue(attribute, *declaration, normalized, valid, go);
}

// ---- element content ----

void TDtdValidationAgent::ProcessEntityReferences(TDomNode& parent, TDtdEntityTreatment treatment, bool& valid,
                                                  bool& go) {
  if (treatment == etKeep) {
    for (TDomNode* child = parent.GetFirstChild(); child && go; child = child->GetNextSibling())
      if (child->GetNodeType() == ntEntityReference) {
        const TXmlErrorKind errorType = ExpandEntityReference(*static_cast<TDomEntityReference*>(child));
        if (errorType != 0) Report(errorType, nullptr, child, valid, go);
      }
    return;
  }
  // Each reference is replaced in place, references its replacement brings in turn,
  // within the recursion check and the expansion budget; text joins its neighbours.
  bool replaced = false;
  const TWritableScope writable(parent);
  TDtdEntityExpansion how;
  how.ParentDepth = std::max(parent.GetDepth(), 0);
  how.NodesAvail = &FNodesAvail;
  how.Report = [&](TXmlErrorKind kind, WideStringView, WideStringView hint, TDomNode* node) {
    if (!IsNonErrorKind(kind)) valid = false;
    go = ReportError(kind, nullptr, node, hint) && go;
    return go;
  };
  for (TDomNode* child = parent.GetFirstChild(); child && go;) {
    if (child->GetNodeType() != ntEntityReference) {
      child = child->GetNextSibling();
      continue;
    }
    bool replacedThis = false;
    child = ReplaceEntityReference(*static_cast<TDomEntityReference*>(child), how, replacedThis);
    replaced = replaced || replacedThis;
    if (!how.Go) go = false;
  }
  if (replaced && parent.GetNodeType() == ntElement) static_cast<TDomElement&>(parent).MergeAdjacentTexts();
}

void TDtdValidationAgent::ValidateElementContent(TDomElement& element, TDtdEntityTreatment treatment, bool& go,
                                                 bool& valid) {
  TDtdElementDecl* declaration = FindElementDecl(element.GetNodeName());
  if (!declaration) {
    Report(XmlErrors::UndeclaredElementType, nullptr, &element, valid, go);
    if (go) ProcessEntityReferences(element, treatment, valid, go);
    return;
  }
  const TDtdElementContentType contentType = declaration->ContentType();
  if (contentType == DTD_STRICT_MIXED_CONTENTTYPE) throw EParserException(SStrictMixedNotSupported);
  if (contentType == DTD_EMPTY_CONTENTTYPE) {
    for (TDomNode* child = element.GetFirstChild(); child && go; child = child->GetNextSibling())
      if (child->GetNodeType() != ntText || !child->GetNodeValue().empty())
        Report(XmlErrors::ContentInEmptyElement, declaration, child, valid, go);
  }
  if (go) ProcessEntityReferences(element, treatment, valid, go);
  if (!go || (contentType != DTD_ELEMENT_CONTENTTYPE && contentType != DTD_MIXED_CONTENTTYPE)) return;

  // The child elements' names in order, looking through entity references.
  const bool elementContent = contentType == DTD_ELEMENT_CONTENTTYPE;
  TDtdContentModel::TNames names;
  std::vector<TDomNode*> pending;
  for (TDomNode* child = element.GetLastChild(); child; child = child->GetPreviousSibling()) pending.push_back(child);
  while (!pending.empty()) {
    TDomNode* node = pending.back();
    pending.pop_back();
    switch (node->GetNodeType()) {
      case ntElement:
        names.push_back(node->GetNodeName());
        break;
      case ntEntityReference:
        for (TDomNode* child = node->GetLastChild(); child; child = child->GetPreviousSibling())
          pending.push_back(child);
        break;
      case ntText:
        if (!elementContent) break;
        if (!FOwnerDocument->IsWhitespaceInElementContent(*static_cast<TDomText*>(node)))
          return Report(XmlErrors::TextInElementContent, declaration, node, valid, go);
        if (declaration->Origin() == doExternalSubset && IsEntityDeclaredWfc())
          return Report(XmlErrors::StandaloneElementContentWhiteSpace, declaration, node, valid, go);
        break;
      case ntCDATASection:
        if (elementContent) return Report(XmlErrors::CDataSectionInElementContent, declaration, node, valid, go);
        break;
      default:
        break;
    }
  }
  TDtdContentModel* model = declaration->ContentModel();
  if (!model) throw EParserException(SInternalParserError);
  if (!elementContent && model->ParticleType() == cmtChoice && model->SubModelCount() == 0) {
    if (!names.empty()) Report(XmlErrors::ElementInPCDataContent, declaration, &element, valid, go);
    return;
  }
  int32_t position = 0;
  bool ambiguity = false;
  bool matched = false;
  try {
    TDtdMatchBudget budget(FLimits);
    matched = model->Match(names, position, ambiguity, budget);
  } catch (const EDtdMatchLimitExceeded&) {
    Report(XmlErrors::LimitExceeded, declaration, &element, valid, go);
    return;
  }
  if (ambiguity)
    Report(XmlErrors::AmbiguousContentModel, declaration, &element, valid, go);
  else if (!matched || position != static_cast<int32_t>(names.size()))
    Report(XmlErrors::ContentModelMismatch, declaration, &element, valid, go);
}

void TDtdValidationAgent::ValidateEntityReference(TDomEntityReference& reference, bool& valid, bool& go) {
  TDtdEntityDecl* declaration = FindEntityDecl(reference.GetNodeName());
  const bool wfc = IsEntityDeclaredWfc();
  if (!declaration)
    return Report(wfc ? XmlErrors::UndeclaredEntity : XmlErrors::UndeclaredEntityValidity, nullptr, &reference, valid,
                  go);
  const TXmlErrorKind resolved = declaration->Resolve(
      [this](TDtdDeclOrigin origin, WideStringView baseUri, WideStringView systemId, WideStringView publicId,
             WideString& text) { return ResolveExternalEntity(origin, baseUri, systemId, publicId, text); });
  if (resolved != 0) Report(resolved, declaration, &reference, valid, go);
  if (!go) return;
  if (!declaration->IsNotRecursive()) Report(XmlErrors::RecursiveEntity, declaration, &reference, valid, go);
  if (go && declaration->Origin() == doExternalSubset && wfc)
    Report(XmlErrors::StandaloneExternalEntity, declaration, &reference, valid, go);
}

void TDtdValidationAgent::ValidateNode(TDomNode& node, TDtdEntityTreatment treatment, bool& go, bool& valid) {
  // Pre-order walk over links: an element's attributes and content are checked before
  // its children are entered (checking may replace them).
  TDomNode* current = &node;
  while (current && go) {
    bool descend = false;
    switch (current->GetNodeType()) {
      case ntElement: {
        auto& element = *static_cast<TDomElement*>(current);
        CheckAttributeDefaults(element, valid, go);
        if (go) ValidateElementContent(element, treatment, go, valid);
        TDomNamedNodeMap* attributes = element.GetAttributes();
        for (int32_t i = 0; go && i < attributes->GetLength(); ++i)
          ValidateAttribute(*static_cast<TDomAttr*>(attributes->GetItem(i)), treatment, go, valid);
        descend = true;
        break;
      }
      case ntAttribute:
        ValidateAttribute(*static_cast<TDomAttr*>(current), treatment, go, valid);
        break;
      case ntEntityReference:
        ValidateEntityReference(*static_cast<TDomEntityReference*>(current), valid, go);
        descend = true;
        break;
      default:
        break;
    }
    if (!go) break;
    if (descend && current->GetFirstChild()) {
      current = current->GetFirstChild();
      continue;
    }
    while (current != &node && !current->GetNextSibling()) current = current->GetParent();
    current = current == &node ? nullptr : current->GetNextSibling();
  }
}

// ---- the DTD and the document ----

void TDtdValidationAgent::ValidateAttributeDecl(TDtdAttributeDecl& declaration, bool& valid, bool& go) {
  TDtdAttributeDecl* target = &declaration;
  // The default's type is judged on its normalized form, as a document would carry it.
  const bool hasDefault = declaration.DefaultKind() == dcDefault || declaration.DefaultKind() == dcFixed;
  WideString value;
  if (hasDefault) {
    TXmlErrorKind errorType = 0;
    NormalizeDefaultValue(declaration, value, errorType);
    if (errorType != 0) Report(errorType, target, nullptr, valid, go);
  }
  if (!go) return;
  const std::vector<WideString>& enumeration = declaration.Enumeration();
  const auto bad = [&](bool failed) {
    if (failed) Report(XmlErrors::DefaultValueTypeMismatch, target, nullptr, valid, go);
  };
  switch (declaration.AttributeType()) {
    case atNotation:
      for (size_t i = 0; i < enumeration.size() && go; ++i) {
        if (!FindNotationDecl(enumeration[i])) Report(XmlErrors::UndeclaredNotation, target, nullptr, valid, go);
        if (go && std::find(enumeration.begin(), enumeration.begin() + static_cast<ptrdiff_t>(i), enumeration[i]) !=
                      enumeration.begin() + static_cast<ptrdiff_t>(i))
          Report(XmlErrors::RepeatedNotationName, target, nullptr, valid, go);
      }
      // A default must be one of the notations listed, as a value must (XML 1.0 errata E6).
      if (go) bad(hasDefault && !enumeration.empty() && !Contains(enumeration, value));
      break;
    case atIdRef:
    case atEntity:
      bad(hasDefault && !TextIsName(value));
      break;
    case atIdRefs:
    case atEntities:
      bad(hasDefault && !TextIsNames(value));
      break;
    case atNmTokens:
      bad(hasDefault && !TextIsNmtokens(value));
      break;
    case atNmToken:
      for (size_t i = 0; i < enumeration.size() && go; ++i)
        if (std::find(enumeration.begin(), enumeration.begin() + static_cast<ptrdiff_t>(i), enumeration[i]) !=
            enumeration.begin() + static_cast<ptrdiff_t>(i))
          Report(XmlErrors::RepeatedEnumerationToken, target, nullptr, valid, go);
      if (go) bad(hasDefault && (!TextIsNmtoken(value) || (!enumeration.empty() && !Contains(enumeration, value))));
      break;
    default:
      break;
  }
}

void TDtdValidationAgent::ValidateDtd(bool& valid, bool& go) {
  const TDtdNamedObjectMap& elements = FDtdModel.ElementDecls();
  for (int32_t i = 0; i < elements.GetLength() && go; ++i) {
    auto* element = static_cast<TDtdElementDecl*>(elements.GetItem(i));
    if (element->ContentType() != DTD_MIXED_CONTENTTYPE) continue;
    const TDtdContentModel* model = element->ContentModel();
    bool namesOnly = model && model->ParticleType() == cmtChoice;
    std::vector<WideString> seen;
    bool repeated = false;
    for (int32_t k = 0; namesOnly && k < model->SubModelCount(); ++k) {
      const TDtdContentModel* sub = model->SubModel(k);
      if (sub->ParticleType() != cmtName)
        namesOnly = false;
      else if (Contains(seen, sub->GetName()))
        repeated = true;
      else
        seen.push_back(sub->GetName());
    }
    if (!namesOnly)
      Report(XmlErrors::ContentModelNotBuilt, element, nullptr, valid, go);
    else if (repeated)
      Report(XmlErrors::RepeatedMixedContentName, element, nullptr, valid, go);
  }
  const TDtdNamedObjectMap& entities = FDtdModel.EntityDecls();
  for (int32_t i = 0; i < entities.GetLength() && go; ++i) {
    auto* entity = static_cast<TDtdEntityDecl*>(entities.GetItem(i));
    if (!entity->IsParsed() && !FindNotationDecl(entity->NotationName()))
      Report(XmlErrors::UndeclaredNotation, entity, nullptr, valid, go);
  }
  const TDtdNamedObjectMap& lists = FDtdModel.AttributeListCollections();
  for (int32_t i = 0; i < lists.GetLength() && go; ++i) {
    auto* collection = static_cast<TDtdAttDeclCollection*>(lists.GetItem(i));
    const TDtdElementDecl* element = FindElementDecl(collection->GetName());
    int ids = 0, notations = 0;
    for (int32_t k = 0; k < collection->GetLength() && go; ++k) {
      TDtdAttributeDecl* declaration = collection->GetItem(k);
      ValidateAttributeDecl(*declaration, valid, go);
      if (!go) break;
      if (declaration->AttributeType() == atNotation) {
        if (++notations > 1) Report(XmlErrors::SecondNotationAttribute, declaration, nullptr, valid, go);
        if (go && element && element->ContentType() == DTD_EMPTY_CONTENTTYPE)
          Report(XmlErrors::NotationAttributeOnEmptyElement, declaration, nullptr, valid, go);
      } else if (declaration->AttributeType() == atId) {
        if (++ids > 1) Report(XmlErrors::SecondIdAttribute, declaration, nullptr, valid, go);
        if (go && declaration->DefaultKind() != dcImplied && declaration->DefaultKind() != dcRequired)
          Report(XmlErrors::IdAttributeDefault, declaration, nullptr, valid, go);
      }
    }
  }
}

void TDtdValidationAgent::PrepareDtdModel(bool checkValidity) {
  Clear();
  if (!FOwnerDocument->GetDoctypeDecl()) {
    FDtdModel.SetPreparationStatus(DtdPreparation::NoDtd);
    return;
  }
  TDtdToDtdModelParser parser(nullptr);
  parser.SetLimits(FLimits);
  parser.SetDOMImpl(FOwnerDocument->GetDomImplementation());
  parser.SetTargetModel(&FDtdModel);
  try {
    parser.ParseDoctypeDecl(FOwnerDocument->GetDoctypeDecl(), checkValidity);
  } catch (const Exception&) {  // no DOM implementation: nothing can be read
    FDtdModel.SetPreparationStatus(DtdPreparation::Aborted);
  }
}

bool TDtdValidationAgent::ValidateDocument(TDtdEntityTreatment treatment) {
  FIdRegistry.clear();
  FIdRefRegistry.clear();
  FExpansionAvail = FLimits.MaxEntityExpansionChars;
  FNodesAvail = FLimits.MaxNodeCount;
  bool valid = true;
  bool go = true;
  if (FDtdModel.PreparationStatus() != DtdPreparation::Complete) {
    PrepareDtdModel(true);
    valid = FDtdModel.PreparationStatus() != DtdPreparation::Aborted;
  }
  if (FDtdModel.PreparationStatus() != DtdPreparation::NoDtd)
    ValidateDtd(valid, go);
  else
    Report(XmlErrors::ValidatingWithoutDtd, nullptr, FOwnerDocument, valid, go);
  TDomElement* root = FOwnerDocument->GetDocumentElement();
  if (go && root) {
    const TDomDocumentTypeDecl* doctype = FOwnerDocument->GetDoctypeDecl();
    if (doctype && doctype->GetNodeName() != root->GetNodeName())
      Report(XmlErrors::RootNameMismatch, nullptr, root, valid, go);
    if (go) ValidateNode(*root, treatment, go, valid);
    for (size_t i = 0; go && i < FIdRefRegistry.size(); ++i)
      if (!FIdRegistry.count(FIdRefRegistry[i].first))
        Report(XmlErrors::UnknownIdRef, nullptr, FIdRefRegistry[i].second, valid, go);
  } else if (go) {
    Report(XmlErrors::MissingRootElement, nullptr, FOwnerDocument, valid, go);
  }
  if (!valid) {
    FIdRegistry.clear();
    FIdRefRegistry.clear();
  }
  return valid;
}

void TDtdValidationAgent::TFragmentFree::operator()(TDomDocumentFragment* fragment) const { fragment->Free(); }

void InstallDtdValidation(TDomImplementation& implementation) {
  implementation.SetValidationAgentFactory(
      [](TDomDocument& document) { return std::make_unique<TDtdValidationAgent>(&document); });
}
