// Takes the text of a document type declaration (everything between "<!DOCTYPE" and
// its closing ">") apart into the root element name, the public and system literals
// and the internal subset. It reads the text through its own input source whose start
// counters give the first character the position it has in the document, so errors
// carry document positions.
#pragma once

#include <memory>

#include "xml/parser/XmlTokenizer.h"
#include "xml/utils/WideStringUtils.h"

// The kind doubles as the state that says what comes next.
enum TXmlDoctypeDeclTokenType : uint8_t {
  dtkEnd,             // the declaration is exhausted
  dtkInternalSubset,  // the text between "[" and the matching "]"
  dtkName,            // the root element name
  dtkPublicId,        // the public literal without its quotes
  dtkStart,           // initial state, never delivered
  dtkSystemId,        // the system literal without its quotes
};

class TXmlDoctypeDeclTokenizer : public TXmlCustomTokenizer {
public:
  // The start counters describe the position before the text's first character; a
  // negative column puts that position at the end of the previous line.
  TXmlDoctypeDeclTokenizer(WideStringView declaration, int64_t startLine, int64_t startTabs, int64_t startColumn,
                           int64_t startChar, int64_t startByte, WideStringView systemId);

  // Reads the next part; nothing happens once dtkEnd is reached.
  void NextToken() override;

  TXmlDoctypeDeclTokenType TokenType() const { return FTokenType; }

private:
  void ReadPart();
  void ReadLiteral();
  void ReadInternalSubset();

  TUtilsWideStringStream FStringStream;
  std::unique_ptr<TXmlSimpleInputSource> FOwnedSource;
  TXmlDoctypeDeclTokenType FTokenType = dtkStart;
};
