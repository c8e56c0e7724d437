// The lower layer of DTD reading: `TXmlDtdDetailTokenizer` cuts the text of one entity
// (an external subset, an internal subset or a parameter entity's replacement text)
// into small tokens: declaration openers, punctuation, names and keywords, quoted
// literals, white space, comments, processing instructions and conditional-section
// brackets. It resolves nothing; the parameter-entity layer above it does.
#pragma once

#include "xml/parser/XmlTokenizer.h"

enum TXmlDtdDetailTokenType : uint8_t {
  ddAttlistDeclStart,  // "<!ATTLIST" consumed
  ddComment,           // the text between "<!--" and "-->"
  ddCondSectEnd,       // "]]>" consumed
  ddOpeningBracket,    // "[" consumed
  ddCondSectStart,     // "<![" consumed
  ddDeclEnd,           // ">" consumed
  ddElementDeclStart,  // "<!ELEMENT" consumed
  ddEndOfSource,
  ddEntityDeclStart,     // "<!ENTITY" consumed
  ddIgnoredSectContent,  // the content of an ignored conditional section was skipped
  ddPercentToken,        // a token beginning with "%"
  ddNotationDeclStart,   // "<!NOTATION" consumed
  ddPunctuation,         // "(", ",", "|", or ")" with a directly following "*", "+" or "?"
  ddPEReference,         // "%", a Name, ";" (only the parameter-entity layer answers this kind)
  ddPIData,              // a processing instruction's data, up to "?>"
  ddPITarget,            // a processing instruction's target after "<?"
  ddQuotedLiteral,       // a literal with both of its quote characters
  ddStartOfSource,
  ddNameToken,  // a name, keyword, number or other run of characters
  ddWhiteSpace,
};

class TXmlDtdDetailTokenizer : public TXmlCustomTokenizer {
public:
  // The source is read, not owned. peRefInDeclSep: the source is the replacement text of
  // a parameter entity referenced between declarations.
  TXmlDtdDetailTokenizer(TXmlSimpleInputSource* inputSource, bool peRefInDeclSep);

  // Reads the next token; nothing happens once ddEndOfSource is reached.
  void NextToken() override;
  // Reads on to the "]]>" that closes the current conditional section, counting nested
  // "<![" ... "]]>" pairs: ddCondSectEnd, or ddEndOfSource at the end of the input.
  void SkipIgnoredSection();

  TXmlDtdDetailTokenType TokenType() const { return FTokenType; }
  bool PERefInDeclSep() const { return FPERefInDeclSep; }

private:
  void ReadToken();
  void ReadProcessingInstructionPart();
  void ReadMarkupOpener();
  void ReadComment();
  // The rest of a declaration keyword; a mismatch gives `error` with `hint`.
  void ReadKeyword(TXmlDtdDetailTokenType type, WideStringView rest, TXmlErrorKind error, WideStringView hint);
  void SkipSection();

  bool FPERefInDeclSep;
  bool FInProcessingInstruction = false;
  TXmlDtdDetailTokenType FTokenType;
};
