#include "xml/dom/DomDocument.h"
#include "xml/dom/DomElement.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/parser/XmlHandlers.h"

namespace {

constexpr char16_t SMaxNodeCount[] = u"MaxNodeCount";

// The declared type of ID attributes.
constexpr uint8_t AttrTypeId = 2;

WideStringView PredefinedEntityText(WideStringView name) {
  if (name == u"lt") return u"<";
  if (name == u"gt") return u">";
  if (name == u"amp") return u"&";
  if (name == u"apos") return u"'";
  if (name == u"quot") return u"\"";
  return {};
}

}  // namespace

void TXmlDomBuilder::Reset() { FPrefixMap.Clear(); }

void TXmlDomBuilder::SetReferenceNode(TDomNode* node) {
  FReferenceNode = node;
  TDomCustomDocument* document = node ? node->GetOwnerDocument() : nullptr;
  FDocumentNS = dynamic_cast<TDomDocumentNS*>(document);
  FDocumentWithDtd = dynamic_cast<TDomDocument*>(document);
}

void TXmlDomBuilder::StartOfInput() {
  FPrefixMap.Clear();
  FNodesAvail = FLimits.MaxNodeCount;
  FDepth = 0;
  FDoctypeExpands = false;
}

void TXmlDomBuilder::TakeNode(TXmlCustomReader* reader, const IXmlLocation* location) {
  if (FNodesAvail > 0) {
    --FNodesAvail;
    return;
  }
  // A limit ends the parse whatever the error handling answers: no tree is left half
  // built.
  ReportSignalError(reader, XmlErrors::LimitExceeded, u"", SMaxNodeCount, location);
  throw EParserException(SSignalProcessingException);
}

void TXmlDomBuilder::AppendNew(TDomNode* node) {
  try {
    FReferenceNode->AppendChild(node);
  } catch (...) {
    node->Free();
    throw;
  }
}

void TXmlDomBuilder::AppendText(TXmlCustomReader* reader, const IXmlLocation* location, WideStringView text,
                                bool fromCharRef) {
  if (TDomNode* lastChild = FReferenceNode->GetLastChild(); lastChild && lastChild->GetNodeType() == ntText) {
    auto* last = static_cast<TDomText*>(lastChild);
    last->AppendData(text);
    if (fromCharRef) last->SetFromCharRef(true);
    return;
  }
  TakeNode(reader, location);
  TDomText* node = NewDomNode<TDomText>(*FReferenceNode->GetOwnerDocument());
  node->SetData(text);
  node->SetFromCharRef(fromCharRef);
  AppendNew(node);
}

WideString TXmlDomBuilder::NamespaceOfPrefix(WideStringView prefix) const {
  const int32_t index = FPrefixMap.IndexOfName(prefix);
  return index < 0 ? WideString() : FPrefixMap.GetValue(index);
}

void TXmlDomBuilder::ProcessSignal(const TXmlSignal& signal) {
  if (const auto* start = SignalAs<TXmlStartDocumentSignal>(signal)) return StartDocument(*start);
  if (SignalAs<TXmlStartDocumentFragmentSignal>(signal)) return StartOfInput();
  if (SignalAs<TXmlAbortedSignal>(signal)) return Reset();
  if (!FReferenceNode) return;
  TDomCustomDocument& document = *FReferenceNode->GetOwnerDocument();
  if (const auto* text = SignalAs<TXmlPCDATASignal>(signal)) {
    // Character data outside the top element (white space by now) is not kept.
    if (FReferenceNode->GetNodeType() != ntDocument)
      AppendText(signal.EmittingReader(), &signal, text->Text, text->FromCharRef);
  } else if (const auto* element = SignalAs<TXmlStartElementSignal>(signal)) {
    AddElement(*element);
  } else if (SignalAs<TXmlEndElementSignal>(signal)) {
    FReferenceNode = FReferenceNode->GetParentNode();
    --FDepth;
  } else if (const auto* attribute = SignalAs<TXmlAttributeSignal>(signal)) {
    AddAttribute(*attribute);
  } else if (const auto* reference = SignalAs<TXmlEntityRefSignal>(signal)) {
    AddEntityReference(*reference);
  } else if (const auto* cdata = SignalAs<TXmlCDATASignal>(signal)) {
    if (KeepCDATASections) {
      TakeNode(signal.EmittingReader(), &signal);
      TDomCDATASection* node = NewDomNode<TDomCDATASection>(document);
      node->SetData(cdata->Text);
      AppendNew(node);
    } else {
      AppendText(signal.EmittingReader(), &signal, cdata->Text, false);
    }
  } else if (const auto* comment = SignalAs<TXmlCommentSignal>(signal)) {
    if (!KeepComments) return;
    TakeNode(signal.EmittingReader(), &signal);
    TDomComment* node = NewDomNode<TDomComment>(document);
    node->SetData(comment->Text);
    AppendNew(node);
  } else if (const auto* pi = SignalAs<TXmlProcessingInstructionSignal>(signal)) {
    TakeNode(signal.EmittingReader(), &signal);
    TDomProcessingInstruction* node = NewDomNode<TDomProcessingInstruction>(document, pi->PITarget);
    node->SetData(pi->Text);
    AppendNew(node);
  } else if (const auto* doctype = SignalAs<TXmlDoctypeSignal>(signal)) {
    if (DocTypeDeclTreatment != dtIgnore) AddDoctype(*doctype);
  } else if (!(signal.GetScope() & ScopeDocument)) {
    throw EParserException(SInternalParserException);
  }
}

void TXmlDomBuilder::StartDocument(const TXmlStartDocumentSignal& signal) {
  StartOfInput();
  if (!FReferenceNode || FReferenceNode->GetNodeType() != ntDocument) return;
  auto& document = static_cast<TDomCustomDocument&>(*FReferenceNode);
  document.InputEncoding = signal.ActualEncoding;
  document.XmlEncoding = signal.DeclEncoding;
  document.XmlStandalone = static_cast<TDomStandalone>(signal.StandaloneValue);
  document.XmlVersion = signal.DeclVersion;
  document.DocumentUri = signal.EntityUri();
  if (FDocumentNS) FDocumentNS->IdList().Clear();
}

void TXmlDomBuilder::AddElement(const TXmlStartElementSignal& signal) {
  TakeNode(signal.EmittingReader(), &signal);
  TDomCustomDocument& document = *FReferenceNode->GetOwnerDocument();
  TDomElement* element;
  if (FDocumentNS) {
    WideString prefix, localPart;
    SplitQualifiedName(signal.QualifiedName, prefix, localPart);
    element = NewDomNode<TDomElement>(*FDocumentNS, signal.QualifiedName, NamespaceOfPrefix(prefix));
  } else {
    element = NewDomNode<TDomElement>(static_cast<TDomDocument&>(document), signal.QualifiedName);
  }
  AppendNew(element);
  FReferenceNode = element;
  ++FDepth;
}

// The value is normalised as XML requires: references replaced, white space made
// blanks (more for declared types, as the document's DTD says).
void TXmlDomBuilder::AddAttribute(const TXmlAttributeSignal& signal) {
  if (FReferenceNode->GetNodeType() != ntElement) return;
  auto* element = static_cast<TDomElement*>(FReferenceNode);
  TakeNode(signal.EmittingReader(), &signal);
  TDomCustomDocument& document = *element->GetOwnerDocument();
  TXmlErrorKind errorType = 0;
  WideString value;
  document.ResolveAttributeValue(signal.AttrValue, document.GetAttrDeclType(element->GetNodeName(), signal.AttrName),
                                 errorType, value);
  if (!IsNonErrorKind(errorType)) ReportSignalError(signal.EmittingReader(), errorType, signal.AttrValue, u"", &signal);
  // Only the literal shows whether normalization changed the value.
  if (FDocumentWithDtd && FDocumentWithDtd->ValidationAgent() && DocTypeDeclTreatment == dtCheckValidity) {
    if (const TXmlErrorKind standalone = FDocumentWithDtd->ValidationAgent()->CheckStandaloneAttribute(
            element->GetNodeName(), signal.AttrName, signal.AttrValue))
      ReportSignalError(signal.EmittingReader(), standalone, signal.AttrName, u"", &signal);
  }
  TDomDocumentNS* documentNS = FDocumentNS;
  if (!documentNS) {
    element->SetAttribute(signal.AttrName, value);
    return;
  }
  if (signal.AttrName == u"xmlns") {
    element->SetAttributeNS(XmlnsNamespaceUri, u"xmlns", value);
  } else {
    WideString prefix, localPart;
    SplitQualifiedName(signal.AttrName, prefix, localPart);
    const WideString uri = prefix.empty()       ? WideString()
                           : prefix == u"xml"   ? WideString(XmlNamespaceUri)
                           : prefix == u"xmlns" ? WideString(XmlnsNamespaceUri)
                                                : NamespaceOfPrefix(prefix);
    element->SetAttributeNS(uri, signal.AttrName, value);
  }
  if (BuildIDList && signal.AttrDataType == AttrTypeId) documentNS->IdList().AddObject(value, element);
}

void TXmlDomBuilder::AddDoctype(const TXmlDoctypeSignal& signal) {
  TakeNode(signal.EmittingReader(), &signal);
  TDomCustomDocument& document = *FReferenceNode->GetOwnerDocument();
  auto* doctype = NewDomNode<TDomDocumentTypeDecl>(document, signal.SubsetText, signal.SystemLiteral,
                                                   signal.PublicLiteral, signal.DeclaredRootName);
  doctype->IntSubsetStartByteNumber = signal.SubsetByteNumber;
  doctype->IntSubsetStartCharNumber = signal.SubsetCharNumber;
  doctype->IntSubsetStartColumn = signal.SubsetColumn;
  doctype->IntSubsetStartLine = signal.SubsetLine;
  AppendNew(doctype);
  auto* owner = dynamic_cast<TDomDocument*>(FReferenceNode);
  IDtdValidationAgent* agent = owner ? owner->ValidationAgent() : nullptr;
  if (!agent) return;
  const bool checkValidity = DocTypeDeclTreatment == dtCheckValidity;
  try {
    if (!agent->PrepareModel(checkValidity))
      throw EParserException(checkValidity ? SNonWellformedOrInvalidDtd : SNonWellformedDtd);
  } catch (...) {
    FReferenceNode->RemoveChild(doctype);
    doctype->Free();
    throw;
  }
  // Validation expands references itself, after it has seen them.
  FDoctypeExpands = !KeepEntityRefs && !checkValidity;
}

void TXmlDomBuilder::AddEntityReference(const TXmlEntityRefSignal& signal) {
  const WideStringView predefined = PredefinedEntityText(signal.RefName);
  if (!KeepEntityRefs && !predefined.empty()) return AppendText(signal.EmittingReader(), &signal, predefined, false);
  TakeNode(signal.EmittingReader(), &signal);
  TDomCustomDocument& document = *FReferenceNode->GetOwnerDocument();
  auto* reference = NewDomNode<TDomEntityReference>(document, signal.RefName);
  AppendNew(reference);
  IDtdValidationAgent* agent = FDocumentWithDtd ? FDocumentWithDtd->ValidationAgent() : nullptr;
  if (!FDoctypeExpands || !agent) return;
  TDtdEntityExpansion how;
  how.KeepCDATASections = KeepCDATASections;
  how.KeepComments = KeepComments;
  how.ReadExternalEntities = false;
  how.ParentDepth = FDepth;
  how.NodesAvail = &FNodesAvail;
  // A stop raises out of the report and ends the parse.
  how.Report = [&](TXmlErrorKind kind, WideStringView offendingText, WideStringView hint, TDomNode*) {
    ReportSignalError(signal.EmittingReader(), kind, offendingText, hint, &signal);
    return true;
  };
  bool replaced = false;
  agent->ReplaceEntityReference(*reference, how, replaced);
}
