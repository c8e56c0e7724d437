#include "fb2/cXML.h"

#include "xml/dom/DomElement.h"
#include "xml/dtd/DtdValidationAgent.h"

namespace {

constexpr int32_t ParserBufferBytes = 8192;
constexpr WideChar BookSystemId[] = u"FB2";

}  // namespace

TXML::TXML()
    : FImplementation(std::make_unique<TDomImplementation>(nullptr)),
      FParser(std::make_unique<TXmlToDomParser>(nullptr)) {
  InstallDtdValidation(*FImplementation);
  FParser->SetBufferSize(ParserBufferBytes);
  FParser->SetDOMImpl(FImplementation.get());
  FParser->SetKeepCDATASections(false);
  FParser->SetKeepComments(false);
  FParser->SetKeepEntityRefs(false);
}

TXML::~TXML() = default;

void TXML::BeforeLoad() { Clear(); }

void TXML::AfterLoad() {}

void TXML::Clear() {
  FDocument = nullptr;
  FImplementation->FreeAllDocuments();
}

void TXML::LoadFromStream(TStream& stream) {
  try {
    BeforeLoad();
    FDocument = FParser->ParseStream(&stream, BookSystemId, nullptr, true);
    AfterLoad();
  } catch (...) {
    Clear();
    throw;
  }
}

int32_t TXML::GetNodeKind(const TDomNode* node) {
  if (node == nullptr) return 2;
  switch (node->GetNodeType()) {
    case ntElement:
      return 0;
    case ntText:
      return 1;
    default:
      return 2;
  }
}

TDomNode* TXML::FindElementByPath(const TDomNode* start, WideStringView path) {
  if (start == nullptr) return nullptr;
  const TDomNode* current = start;
  if (!path.empty() && path.front() == u'/') {
    current = start->GetOwnerDocument();
    path.remove_prefix(1);
  }
  while (!path.empty() && current != nullptr) {
    const size_t slash = path.find(u'/');
    WideStringView step = path;
    if (slash != WideStringView::npos && slash > 0) {
      step = path.substr(0, slash);
      path.remove_prefix(slash + 1);
    } else {
      path = {};
    }
    current = current->FindFirstChildElement(step);
  }
  return const_cast<TDomNode*>(current);
}

WideString TXML::GetAttributeValue(const TDomNode* element, WideStringView name) {
  if (element == nullptr) return {};
  // An element is asked directly, so that a lookup makes no map for an element that has
  // no attribute.
  const TDomNode* attribute = nullptr;
  if (element->GetNodeType() == ntElement) {
    attribute = static_cast<const TDomElement*>(element)->GetAttributeNode(name);
  } else if (const TDomNamedNodeMap* attributes = element->GetAttributes()) {
    attribute = attributes->GetNamedItem(name);
  }
  return attribute == nullptr ? WideString() : attribute->GetNodeValue();
}
