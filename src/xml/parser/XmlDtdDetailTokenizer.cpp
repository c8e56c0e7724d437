#include "xml/parser/XmlDtdDetailTokenizer.h"

namespace {

// Characters that end a name token.
bool IsStopChar(UCS4Char c) {
  switch (c) {
    case '"':
    case '%':
    case '\'':
    case '(':
    case ')':
    case ',':
    case '<':
    case '>':
    case '[':
    case ']':
    case '|':
    case UCS4EndOfInput:
      return true;
    default:
      return false;
  }
}

}  // namespace

TXmlDtdDetailTokenizer::TXmlDtdDetailTokenizer(TXmlSimpleInputSource* inputSource, bool peRefInDeclSep)
    : TXmlCustomTokenizer(inputSource),
      FPERefInDeclSep(peRefInDeclSep),
      FTokenType(inputSource ? ddStartOfSource : ddEndOfSource) {}

void TXmlDtdDetailTokenizer::NextToken() {
  if (FTokenType == ddEndOfSource) return;
  ResetToken();
  ReadGuarded([this] { ReadToken(); });
}

void TXmlDtdDetailTokenizer::SkipIgnoredSection() {
  if (FTokenType == ddEndOfSource) return;
  ResetToken();
  ReadGuarded([this] { SkipSection(); });
}

void TXmlDtdDetailTokenizer::SkipSection() {
  TXmlSimpleInputSource& s = *FInputSource;
  FStartPosition = s.NextPos();
  for (int64_t depth = 1; depth > 0;) {
    s.Next();
    const UCS4Char c = s.CurrentPos().Char;
    FEndPosition = s.CurrentPos();
    if (c == UCS4EndOfInput) {
      FTokenType = ddEndOfSource;
      return;
    }
    if (c == '<' && s.NextPos().Char == '!') {
      s.Next();
      if (s.NextPos().Char == '[') {
        s.Next();
        ++depth;
      }
    } else if (c == ']' && s.NextPos().Char == ']') {
      while (s.NextPos().Char == ']') s.Next();  // a run of "]" before ">" closes once
      if (s.NextPos().Char == '>') {
        s.Next();
        --depth;
      }
    }
  }
  FEndPosition = s.CurrentPos();
  FTokenType = ddCondSectEnd;
}

void TXmlDtdDetailTokenizer::ReadToken() {
  TXmlSimpleInputSource& s = *FInputSource;
  FStartPosition = s.NextPos();
  if (FInProcessingInstruction) return ReadProcessingInstructionPart();
  s.Next();
  const UCS4Char c = s.CurrentPos().Char;
  FEndPosition = s.CurrentPos();
  switch (c) {
    case UCS4EndOfInput:
      FTokenType = ddEndOfSource;
      return;
    case '"':
    case '\'':
      FTokenType = ddQuotedLiteral;
      Collect(c);
      for (UCS4Char next = s.NextPos().Char; next != c; next = s.NextPos().Char) {
        if (next == UCS4EndOfInput) {
          FEndPosition = s.CurrentPos();
          const WideChar hint[1] = {static_cast<WideChar>(c)};
          return SetError(XmlErrors::LiteralQuoteExpected, WideStringView(hint, 1));
        }
        s.Next();
        Collect(next);
      }
      s.Next();
      Collect(c);
      break;
    case '(':
    case ',':
    case '|':
      FTokenType = ddPunctuation;
      Collect(c);
      break;
    case ')':
      FTokenType = ddPunctuation;
      Collect(c);
      if (const UCS4Char next = s.NextPos().Char; next == '*' || next == '+' || next == '?') {
        s.Next();
        Collect(next);
      }
      break;
    case '<':
      return ReadMarkupOpener();
    case '>':
      FTokenType = ddDeclEnd;
      break;
    case '[':
      FTokenType = ddOpeningBracket;
      break;
    case ']':
      FTokenType = ddCondSectEnd;
      if (!MatchNext(u"]>")) {
        FEndPosition = s.CurrentPos();
        return SetError(XmlErrors::InvalidCharacterData, u"]]>");
      }
      break;
    default:
      if (IsMarkupWhiteSpace(c)) {
        FTokenType = ddWhiteSpace;
        Collect(c);
        while (IsMarkupWhiteSpace(s.NextPos().Char)) {
          s.Next();
          Collect(s.CurrentPos().Char);
        }
        break;
      }
      FTokenType = c == '%' ? ddPercentToken : ddNameToken;
      Collect(c);
      for (UCS4Char last = c; last != ';';) {
        const UCS4Char next = s.NextPos().Char;
        if (IsMarkupWhiteSpace(next) || IsStopChar(next)) break;
        s.Next();
        Collect(next);
        last = next;
      }
      break;
  }
  FEndPosition = s.CurrentPos();
}

void TXmlDtdDetailTokenizer::ReadProcessingInstructionPart() {
  TXmlSimpleInputSource& s = *FInputSource;
  const UCS4Char first = s.NextPos().Char;
  FEndPosition = s.CurrentPos();
  if (first == UCS4EndOfInput) {
    FTokenType = ddEndOfSource;
    return SetError(XmlErrors::UnterminatedProcessingInstruction, u"");
  }
  if (IsMarkupWhiteSpace(first)) {
    FTokenType = ddWhiteSpace;
    while (IsMarkupWhiteSpace(s.NextPos().Char)) {
      s.Next();
      Collect(s.CurrentPos().Char);
    }
    FEndPosition = s.CurrentPos();
    return;
  }
  FTokenType = ddPIData;
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FInProcessingInstruction = false;
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::UnterminatedProcessingInstruction, u"?");
    }
    s.Next();
    if (next == '?' && s.NextPos().Char == '>') {
      s.Next();
      FInProcessingInstruction = false;
      FEndPosition = s.CurrentPos();
      return;
    }
    Collect(next);
  }
}

void TXmlDtdDetailTokenizer::ReadMarkupOpener() {
  TXmlSimpleInputSource& s = *FInputSource;
  if (s.NextPos().Char == '?') {
    s.Next();
    FTokenType = ddPITarget;
    for (UCS4Char next = s.NextPos().Char; !IsMarkupWhiteSpace(next) && !IsStopChar(next) && next != '?';
         next = s.NextPos().Char) {
      s.Next();
      Collect(next);
    }
    FInProcessingInstruction = true;
    FEndPosition = s.CurrentPos();
    return;
  }
  FTokenType = ddNameToken;
  if (s.NextPos().Char != '!') return SetError(XmlErrors::DeclarationExpected, u"<!");
  s.Next();
  const UCS4Char c = s.NextPos().Char;
  switch (c) {
    case '-':
      return ReadComment();
    case 'A':
      return ReadKeyword(ddAttlistDeclStart, u"ATTLIST", XmlErrors::AttlistStartExpected, u"<!ATTLIST");
    case 'N':
      return ReadKeyword(ddNotationDeclStart, u"NOTATION", XmlErrors::NotationStartExpected, u"<!NOTATION");
    case 'E':
      s.Next();
      if (s.NextPos().Char == 'L')
        return ReadKeyword(ddElementDeclStart, u"LEMENT", XmlErrors::ElementStartExpected, u"<!ELEMENT");
      if (s.NextPos().Char == 'N')
        return ReadKeyword(ddEntityDeclStart, u"NTITY", XmlErrors::EntityStartExpected, u"<!ENTITY");
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::DeclarationExpected, u"<!");
    case '[':
      s.Next();
      FTokenType = ddCondSectStart;
      FEndPosition = s.CurrentPos();
      return;
    default:
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::DeclarationExpected, u"<!");
  }
}

void TXmlDtdDetailTokenizer::ReadKeyword(TXmlDtdDetailTokenType type, WideStringView rest, TXmlErrorKind error,
                                         WideStringView hint) {
  FTokenType = type;
  const bool matched = MatchNext(rest);
  FEndPosition = FInputSource->CurrentPos();
  if (!matched) SetError(error, hint);
}

void TXmlDtdDetailTokenizer::ReadComment() {
  TXmlSimpleInputSource& s = *FInputSource;
  FTokenType = ddComment;
  s.Next();  // the first "-"
  if (s.NextPos().Char != '-') {
    FEndPosition = s.CurrentPos();
    return SetError(XmlErrors::CommentStartExpected, u"<!--");
  }
  s.Next();
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::UnterminatedComment, u"-->");
    }
    s.Next();
    if (next == '-' && s.NextPos().Char == '-') {
      s.Next();
      FEndPosition = s.CurrentPos();
      if (s.NextPos().Char != '>') return SetError(XmlErrors::DoubleHyphenInComment, u">");
      s.Next();
      FEndPosition = s.CurrentPos();
      return;
    }
    Collect(next);
  }
}
