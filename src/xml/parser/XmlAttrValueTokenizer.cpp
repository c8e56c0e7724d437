#include "xml/parser/XmlAttrValueTokenizer.h"

void TXmlAttrValueTokenizer::NextToken() {
  if (FTokenType == avEnd) return;
  FTokenBuffer.Clear();
  FErrorKind = 0;
  TUtilsUCS4Reader& reader = FSource.Reader;
  reader.Next();
  if (reader.AtEnd()) {
    FTokenType = avEnd;
    return;
  }
  const UCS4Char c = reader.CurrentPos().Char;
  if (c != '&') {
    FTokenType = avChar;
    FTokenBuffer.AddUCS4Char(c);
    return;
  }
  if (reader.NextPos().Char == '#') {
    reader.Next();
    FTokenType = avCharRef;
    FErrorKind = XmlErrors::UnterminatedCharRef;
  } else {
    FTokenType = avEntityRef;
    FErrorKind = XmlErrors::UnterminatedEntityRef;
  }
  // The reference runs to ";", which clears the pending error; the end leaves it.
  for (reader.Next(); !reader.AtEnd(); reader.Next()) {
    if (reader.CurrentPos().Char == ';') {
      FErrorKind = 0;
      return;
    }
    FTokenBuffer.AddUCS4Char(reader.CurrentPos().Char);
  }
}
