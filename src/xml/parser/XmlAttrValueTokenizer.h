// Splits an attribute or entity value into single characters and references. The
// syntax of a reference is not checked here: its users check names and numbers.
#pragma once

#include "xml/parser/WideStringCharReader.h"
#include "xml/parser/XmlErrorKinds.h"

enum TXmlAttrValueTokenType : uint8_t {
  avCharRef,  // the text after "&#" up to ";": "65" or "x41"
  avEnd,
  avEntityRef,  // the text after "&" up to ";"
  avStart,
  avChar,  // one character, white space and line ends unchanged
};

class TXmlAttrValueTokenizer {
public:
  explicit TXmlAttrValueTokenizer(WideStringView value) : FSource(value) {}
  virtual ~TXmlAttrValueTokenizer() = default;

  virtual WideString TokenValue() const { return FTokenBuffer.GetValue(); }
  // Reads the next token; nothing happens once avEnd is reached. A reference that the
  // text ends before its ";" carries error 92 (character reference) or 96 (entity
  // reference).
  virtual void NextToken();

  TXmlAttrValueTokenType TokenType() const { return FTokenType; }
  TXmlErrorKind ErrorKind() const { return FErrorKind; }

private:
  TXmlErrorKind FErrorKind = 0;
  TWideStringCharReader FSource;
  TXmlAttrValueTokenType FTokenType = avStart;
  TUtilsCustomWideStr FTokenBuffer;
};
