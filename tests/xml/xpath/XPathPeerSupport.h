// A document parsed by libxml2 and copied, node for node, into our DOM through the DOM
// API, with the map between the two trees: so both XPath engines can evaluate the same
// expression on the same nodes and their node-sets can be compared by identity.
#pragma once

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "xml/XmlTestSupport.h"
#include "xml/dom/DomImplementation.h"
#include "xml/xpath/XPathExpression.h"

inline WideString Widen(std::string_view utf8) { return AnsiToWide(utf8, CP_UTF8); }

inline WideString Widen(const xmlChar* utf8) {
  return utf8 ? Widen(reinterpret_cast<const char*>(utf8)) : WideString();
}

class TPeerDocument {
public:
  // Namespaces registered with both engines for prefixed names in expressions.
  std::vector<std::pair<std::string, std::string>> Namespaces;

  explicit TPeerDocument(const char* xml) {
    FPeer = xmlReadMemory(xml, int(strlen(xml)), "peer.xml", nullptr, XML_PARSE_NONET);
    if (!FPeer) throw std::runtime_error("libxml2 refused the document");
    FDocument = NewDomDocument<TDomDocumentNS>(FImplementation);
    FOurs[reinterpret_cast<xmlNodePtr>(FPeer)] = FDocument;
    for (xmlNodePtr child = FPeer->children; child; child = child->next) Copy(child, FDocument);
  }
  ~TPeerDocument() { xmlFreeDoc(FPeer); }
  TPeerDocument(const TPeerDocument&) = delete;
  TPeerDocument& operator=(const TPeerDocument&) = delete;

  TDomDocumentNS& Document() { return *FDocument; }
  TDomImplementation& Implementation() { return FImplementation; }
  xmlDocPtr Peer() const { return FPeer; }
  TDomNode* Ours(xmlNodePtr node) const {
    auto it = FOurs.find(node);
    return it == FOurs.end() ? nullptr : it->second;
  }
  // The one node an expression selects in libxml2 (a context for both engines).
  xmlNodePtr PeerNode(const char* expression) const {
    xmlXPathContextPtr context = xmlXPathNewContext(FPeer);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST expression, context);
    xmlNodePtr node =
        result && result->nodesetval && result->nodesetval->nodeNr == 1 ? result->nodesetval->nodeTab[0] : nullptr;
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    if (!node) throw std::runtime_error(std::string("no single node: ") + expression);
    return node;
  }

private:
  static WideString QualifiedName(const xmlChar* name, xmlNsPtr ns) {
    WideString qname = ns && ns->prefix ? Widen(ns->prefix) + u":" : WideString();
    return qname + Widen(name);
  }

  void Copy(xmlNodePtr node, TDomNode* parent) {
    TDomNode* ours = nullptr;
    switch (node->type) {
      case XML_ELEMENT_NODE: {
        auto* element = NewDomNode<TDomElement>(*FDocument, QualifiedName(node->name, node->ns),
                                                node->ns ? Widen(node->ns->href) : WideString());
        for (xmlNsPtr ns = node->nsDef; ns; ns = ns->next) {
          const WideString name = ns->prefix ? u"xmlns:" + Widen(ns->prefix) : WideString(u"xmlns");
          element->SetAttributeNS(XmlnsNamespaceUri, name, Widen(ns->href));
        }
        for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
          xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr));
          const WideString uri = attr->ns ? Widen(attr->ns->href) : WideString();
          element->SetAttributeNS(uri, QualifiedName(attr->name, attr->ns), Widen(value));
          xmlFree(value);
          FOurs[reinterpret_cast<xmlNodePtr>(attr)] = element->GetAttributeNodeNS(uri, Widen(attr->name));
        }
        ours = element;
        break;
      }
      case XML_TEXT_NODE:
        ours = NewDomNode<TDomText>(*FDocument);
        break;
      case XML_CDATA_SECTION_NODE:
        ours = NewDomNode<TDomCDATASection>(*FDocument);
        break;
      case XML_COMMENT_NODE:
        ours = NewDomNode<TDomComment>(*FDocument);
        break;
      case XML_PI_NODE:
        ours = NewDomNode<TDomProcessingInstruction>(*FDocument, Widen(node->name));
        break;
      default:
        return;  // no document type declarations in these documents
    }
    if (node->type != XML_ELEMENT_NODE) ours->SetNodeValue(Widen(node->content));
    parent->AppendChild(ours);
    FOurs[node] = ours;
    for (xmlNodePtr child = node->children; child; child = child->next) Copy(child, ours);
  }

  TDomImplementation FImplementation{nullptr};
  TDomDocumentNS* FDocument;
  xmlDocPtr FPeer;
  std::map<xmlNodePtr, TDomNode*> FOurs;
};

// A result written so that both engines' answers compare as text: "nodes:" with each
// node as its name and string-value in document order, "number:", "string:",
// "boolean:"; "error" when the engine refused the expression.
struct TPeerResult {
  std::string Text;
  bool operator==(const TPeerResult&) const = default;
};
inline void PrintTo(const TPeerResult& r, std::ostream* os) { *os << r.Text; }

// libxml2 reports refused expressions on stderr; the comparison only wants the answer.
inline void IgnorePeerMessage(void*, const char*, ...) {}

inline std::string FormatNumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char text[64];
  snprintf(text, sizeof text, "%.17g", value == 0 ? 0.0 : value);
  return text;
}

// Node identity is kept by naming each node through the map of the peer document:
// "#<index in document order of the peer's copy>"; namespace nodes by prefix and URI.
class TPeerComparison {
public:
  explicit TPeerComparison(TPeerDocument& document) : FDocument(document) {
    std::vector<TDomNode*> order;
    for (TCustomOwnedNode* n = &document.Document(); n; n = NextInSubtree(&document.Document(), n)) {
      auto* node = static_cast<TDomNode*>(n);
      FIndex[node] = int(FIndex.size());
      if (const TDomNamedNodeMap* attributes = node->GetAttributes())
        for (int32_t i = 0; i < attributes->GetLength(); ++i) FIndex[attributes->GetItem(i)] = int(FIndex.size());
    }
  }

  std::string NodeName(const TDomNode* node) const {
    if (node->GetNodeType() == ntXPathNamespace)
      return "ns(" + Narrow(node->GetPrefix()) + "=" + Narrow(node->GetNamespaceUri()) + ")";
    auto it = FIndex.find(node);
    return it == FIndex.end() ? "?" : "#" + std::to_string(it->second);
  }

  TPeerResult Ours(const char* expression, xmlNodePtr context) const {
    TXPathExpression xpath(nullptr);
    xpath.SetExpression(Widen(expression));
    xpath.SetContextNode(FDocument.Ours(context));
    xpath.OnLookupNamespaceURI = [this](TXPathExpression*, WideStringView prefix, WideString& uri) {
      for (const auto& [p, u] : FDocument.Namespaces)
        if (Widen(p) == prefix) uri = Widen(u);
    };
    if (!xpath.Evaluate()) return {"error"};
    const TDomXPathCustomResult& result = *xpath.XPathResult();
    switch (result.ResultType()) {
      case XPATH_NODE_SET_TYPE: {
        auto set = xpath.AcquireXPathResult(XPATH_NODE_SET_TYPE);
        set->SetReverseOrder(false);
        std::string text = "nodes:";
        for (int32_t i = 0; i < set->Length(); ++i) text += " " + NodeName(set->Item(i));
        return {text};
      }
      case XPATH_NUMBER_TYPE:
        return {"number:" + FormatNumber(result.AsNumber())};
      case XPATH_STRING_TYPE:
        return {"string:" + Narrow(result.AsWideString())};
      case XPATH_BOOLEAN_TYPE:
        return {std::string("boolean:") + (result.AsBoolean() ? "true" : "false")};
    }
    return {"?"};
  }

  TPeerResult Peer(const char* expression, xmlNodePtr context) const {
    xmlXPathContextPtr xpath = xmlXPathNewContext(FDocument.Peer());
    for (const auto& [p, u] : FDocument.Namespaces) xmlXPathRegisterNs(xpath, BAD_CAST p.c_str(), BAD_CAST u.c_str());
    xpath->node = context;
    xpath->contextSize = 1;
    xpath->proximityPosition = 1;
    xmlSetGenericErrorFunc(nullptr, IgnorePeerMessage);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(BAD_CAST expression, xpath);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    TPeerResult answer{"error"};
    if (result) {
      switch (result->type) {
        case XPATH_NODESET: {
          answer.Text = "nodes:";
          xmlNodeSetPtr set = result->nodesetval;
          for (int i = 0; set && i < set->nodeNr; ++i) {
            xmlNodePtr node = set->nodeTab[i];
            if (node->type == XML_NAMESPACE_DECL) {
              auto* ns = reinterpret_cast<xmlNsPtr>(node);
              answer.Text +=
                  " ns(" + std::string(ns->prefix ? (const char*)ns->prefix : "") + "=" + (const char*)ns->href + ")";
            } else {
              TDomNode* ours = FDocument.Ours(node);
              answer.Text += " " + (ours ? NodeName(ours) : std::string("?"));
            }
          }
          break;
        }
        case XPATH_NUMBER:
          answer.Text = "number:" + FormatNumber(result->floatval);
          break;
        case XPATH_STRING:
          answer.Text = "string:" + Narrow(Widen(result->stringval));
          break;
        case XPATH_BOOLEAN:
          answer.Text = std::string("boolean:") + (result->boolval ? "true" : "false");
          break;
        default:
          answer.Text = "?";
          break;
      }
      xmlXPathFreeObject(result);
    }
    xmlXPathFreeContext(xpath);
    return answer;
  }

private:
  TPeerDocument& FDocument;
  std::map<const TDomNode*, int> FIndex;
};
