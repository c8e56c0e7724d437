// Splits the contentspec of an element type declaration ("EMPTY",
// "(title, (p | image)*)") into tokens for the signal that checks the content model.
#pragma once

#include "xml/parser/WideStringCharReader.h"
#include "xml/parser/XmlErrorKinds.h"

enum TXmlElementCMTokenType : uint8_t {
  cmAny,             // "ANY"
  cmClosingBracket,  // ")"
  cmEmpty,           // "EMPTY"
  cmEnd,             // the text is exhausted
  cmOccurrence,      // "*", "+" or "?"
  cmInvalid,         // the offending first character
  cmName,            // an element name
  cmOpeningBracket,  // "("
  cmPCDATA,          // "#PCDATA"
  cmSeparator,       // "," or "|"
  cmStart,           // nothing read yet
};

class TXmlElementCMTokenizer {
public:
  explicit TXmlElementCMTokenizer(WideStringView contentSpec) : FSource(contentSpec) {}
  virtual ~TXmlElementCMTokenizer() = default;

  virtual WideString TokenValue() const { return FTokenBuffer.GetValue(); }
  // Reads the next token; nothing happens once cmEnd is reached. "ANY" and "EMPTY" are
  // keywords only before the first "("; after it they are names. A malformed
  // "#PCDATA" or a character that starts no token gives error 109; text the codec
  // cannot read gives error 59.
  virtual void NextToken();

  TXmlElementCMTokenType TokenType() const { return FTokenType; }
  TXmlErrorKind ErrorKind() const { return FErrorKind; }
  const WideString& ErrorHint() const { return FErrorHint; }

private:
  void ReadToken();

  WideString FErrorHint;
  bool FSawOpeningBracket = false;
  TXmlErrorKind FErrorKind = 0;
  TWideStringCharReader FSource;
  TXmlElementCMTokenType FTokenType = cmStart;
  TUtilsCustomWideStr FTokenBuffer;
};
