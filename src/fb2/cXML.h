// `TXML`: the base of the book model. It owns a DOM implementation and an XML parser,
// loads one document from a stream through three overridable steps, and offers the three
// lookups the book's walkers use everywhere.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "xml/dom/DomImplementation.h"
#include "xml/parser/XmlToDomParser.h"

class TXML {
public:
  // The parser reads in blocks of 8192 bytes and keeps neither CDATA sections (they
  // become text), comments nor entity references (they are replaced by their text).
  // Documents get a DTD validation agent: an internal subset is checked for
  // well-formedness, and references to the general entities it declares are replaced
  // by their expansion (within the parser's limits). Nothing external is read: the
  // implementation has no resource resolver, external subsets are not read without
  // validation and references to external entities stay unexpanded.
  TXML();
  virtual ~TXML();
  TXML(const TXML&) = delete;
  TXML& operator=(const TXML&) = delete;

  // Clear.
  virtual void BeforeLoad();
  // Nothing here; descendants index the new document.
  virtual void AfterLoad();
  // Frees every parsed document.
  virtual void Clear();
  // BeforeLoad, parse the whole stream (system identifier "FB2"; the character encoding
  // from the byte-order mark or the XML declaration), AfterLoad. Exceptions of the parser
  // (EParserException "Parser error.") and of AfterLoad pass unchanged, after Clear: a
  // failed load leaves the object empty.
  virtual void LoadFromStream(TStream& stream);

  // 0 for an element, 1 for a text node, 2 for every other node (and for none).
  static int32_t GetNodeKind(const TDomNode* node);
  // The node reached from start by a "/"-separated path of child element names, compared
  // exactly; a leading "/" starts at the owner document. Start itself for an empty path;
  // nil when a step finds nothing (or start is nil). A doubled "/" makes the rest of the
  // path one name that begins with "/", which finds nothing.
  static TDomNode* FindElementByPath(const TDomNode* start, WideStringView path);
  // The value of the attribute with exactly that qualified name; empty when absent (or
  // when the node has no attributes).
  static WideString GetAttributeValue(const TDomNode* element, WideStringView name);

  TXmlToDomParser& Parser() const { return *FParser; }
  TDomImplementation& Implementation() const { return *FImplementation; }
  // The document of the last successful load; nil before one and after Clear.
  TDomDocument* Document() const { return FDocument; }

private:
  std::unique_ptr<TDomImplementation> FImplementation;  // made first, freed last
  std::unique_ptr<TXmlToDomParser> FParser;
  TDomDocument* FDocument = nullptr;  // owned by FImplementation
};
