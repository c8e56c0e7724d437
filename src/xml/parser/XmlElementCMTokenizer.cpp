#include "xml/parser/XmlElementCMTokenizer.h"

#include "platform/base/Exception.h"
#include "xml/codecs/UnicodeCodec.h"
#include "xml/utils/XmlRulesUtils.h"

void TXmlElementCMTokenizer::NextToken() {
  if (FTokenType == cmEnd) return;
  FTokenBuffer.Clear();
  FErrorKind = 0;
  FErrorHint.clear();
  try {
    ReadToken();
  } catch (const EConvertError&) {
    FTokenType = cmInvalid;
    FErrorKind = XmlErrors::InvalidCharacterData;
  } catch (const EUnicodeCodecException&) {
    FTokenType = cmInvalid;
    FErrorKind = XmlErrors::InvalidCharacterData;
  }
}

// Each token leaves its last character current, so SkipChars (which advances before it
// tests) starts on the character after it.
void TXmlElementCMTokenizer::ReadToken() {
  TUtilsUCS4Reader& reader = FSource.Reader;
  reader.SkipChars(XmlWhiteSpaceText());
  const UCS4Char c = reader.CurrentPos().Char;
  if (reader.AtEnd()) {
    FTokenType = cmEnd;
    return;
  }
  switch (c) {
    case '#':
      FTokenType = cmPCDATA;
      FTokenBuffer.AddWideChar(u'#');
      for (const WideChar expected : WideStringView(u"PCDATA")) {
        reader.Next();
        if (!reader.AtEnd()) FTokenBuffer.AddUCS4Char(reader.CurrentPos().Char);
        if (reader.CurrentPos().Char != expected) {
          FErrorKind = XmlErrors::InvalidContentModelToken;
          FErrorHint = u"#PCDATA";
          return;
        }
      }
      return;
    case '(':
      FTokenType = cmOpeningBracket;
      FSawOpeningBracket = true;
      break;
    case ')':
      FTokenType = cmClosingBracket;
      break;
    case '*':
    case '+':
    case '?':
      FTokenType = cmOccurrence;
      break;
    case ',':
    case '|':
      FTokenType = cmSeparator;
      break;
    default:
      if (Ucs4IsLetter(c) || c == '_' || c == ':') {
        FTokenBuffer.AddUCS4Char(c);
        while (Ucs4IsNameChar(reader.NextPos().Char)) {
          reader.Next();
          FTokenBuffer.AddUCS4Char(reader.CurrentPos().Char);
        }
        FTokenType = cmName;
        if (!FSawOpeningBracket) {
          if (FTokenBuffer.IsEqual(u"ANY")) FTokenType = cmAny;
          if (FTokenBuffer.IsEqual(u"EMPTY")) FTokenType = cmEmpty;
        }
        return;
      }
      FTokenType = cmInvalid;
      FErrorKind = XmlErrors::InvalidContentModelToken;
      break;
  }
  FTokenBuffer.AddUCS4Char(c);
}
