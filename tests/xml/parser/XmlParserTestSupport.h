// A parser wired to a DOM implementation that records every error it hears, and the
// views of a parsed document that the parser tests compare.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Surrogates.h"
#include "platform/base/Utf8.h"
#include "xml/XmlTestSupport.h"
#include "xml/dom/DomElement.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomNodeLists.h"
#include "xml/parser/XmlToDomParser.h"

// UTF-8 of UTF-16 text (pairs joined; a lone surrogate as its own code point).
inline std::string ToUtf8(WideStringView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = SurrogatePairToUCS4(text[i], text[i + 1]);
      ++i;
    }
    AppendUtf8(out, c);
  }
  return out;
}

struct TParserFixture {
  TDomImplementation Implementation{nullptr};
  TXmlToDomParser Parser{nullptr};
  std::vector<std::unique_ptr<TDomError>> Errors;

  TParserFixture() {
    Parser.SetDOMImpl(&Implementation);
    Implementation.OnError = [this](TObject*, const TDomError& error, bool&) { Errors.push_back(error.Clone()); };
  }

  // The document of the bytes, or none when the parse failed ("Parser error.").
  TDomDocument* Parse(const std::string& bytes) {
    Errors.clear();
    try {
      TStringStream stream(bytes);
      return Parser.ParseStream(&stream, u"test.xml", nullptr, true);
    } catch (const EParserException& e) {
      EXPECT_STREQ(e.what(), SParserError);
      return nullptr;
    }
  }
  // The kind of the first error heard, 0 for none.
  int FirstErrorKind() const { return Errors.empty() ? 0 : Errors.front()->Kind(); }
};

// The canonical form of the conformance suite: no comments and no document type
// declaration; attributes sorted by name; &, <, >, " and TAB, LF, CR escaped; text of
// CDATA sections and entity references as text. Recursive: tests parse small documents.
inline void AppendCanonical(std::string& out, const TDomNode& node) {
  const auto escape = [&out](WideStringView text) {
    for (const char c : ToUtf8(text)) {
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        case '\t':
          out += "&#9;";
          break;
        case '\n':
          out += "&#10;";
          break;
        case '\r':
          out += "&#13;";
          break;
        default:
          out += c;
      }
    }
  };
  switch (node.GetNodeType()) {
    case ntElement: {
      const auto& element = static_cast<const TDomElement&>(node);
      out += "<" + ToUtf8(element.GetTagName());
      std::vector<std::pair<WideString, WideString>> attributes;
      TDomNamedNodeMap* map = element.GetAttributes();
      for (int32_t i = 0; i < map->GetLength(); ++i)
        attributes.emplace_back(map->GetItem(i)->GetNodeName(), map->GetItem(i)->GetNodeValue());
      std::sort(attributes.begin(), attributes.end());
      for (const auto& [name, value] : attributes) {
        out += " " + ToUtf8(name) + "=\"";
        escape(value);
        out += "\"";
      }
      out += ">";
      for (TDomNode* child = node.GetFirstChild(); child; child = child->GetNextSibling()) AppendCanonical(out, *child);
      out += "</" + ToUtf8(element.GetTagName()) + ">";
      break;
    }
    case ntText:
    case ntCDATASection:
      escape(node.GetNodeValue());
      break;
    case ntProcessingInstruction: {
      const auto& pi = static_cast<const TDomProcessingInstruction&>(node);
      out += "<?" + ToUtf8(pi.GetTarget()) + " " + ToUtf8(pi.GetData()) + "?>";
      break;
    }
    case ntDocument:
    case ntDocumentFragment:
    case ntEntityReference:
      for (TDomNode* child = node.GetFirstChild(); child; child = child->GetNextSibling()) AppendCanonical(out, *child);
      break;
    default:
      break;
  }
}

inline std::string Canonical(const TDomNode& node) {
  std::string out;
  AppendCanonical(out, node);
  return out;
}
