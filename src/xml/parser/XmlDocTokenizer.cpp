// The document tokenizer's reading loop: one pass over the characters with one
// character of look-ahead. `s.CurrentPos()` is the last character consumed and
// `s.NextPos()` the look-ahead; every token starts at the look-ahead and leaves the
// reader on its last character, so the next token starts right after it.
#include "xml/parser/XmlTokenizer.h"

#include "xml/utils/XmlRulesUtils.h"

TXmlDocTokenizer::TXmlDocTokenizer(TXmlSimpleInputSource* inputSource)
    : TXmlCustomTokenizer(inputSource), FTokenType(inputSource ? tkStartOfSource : tkEndOfSource) {}

void TXmlDocTokenizer::NextToken() {
  if (FTokenType == tkEndOfSource) return;
  ResetToken();
  FTokenType = tkText;
  ReadGuarded([this] { ReadToken(); });
}

bool TXmlDocTokenizer::ReadKeyword(TXmlDocTokenType type, WideStringView rest, TXmlErrorKind error,
                                   WideStringView hint) {
  FTokenType = type;
  FInputSource->Next();
  if (MatchNext(rest)) return true;
  FEndPosition = FInputSource->CurrentPos();
  SetError(error, hint);
  return false;
}

void TXmlDocTokenizer::ReadToken() {
  TXmlSimpleInputSource& s = *FInputSource;
  FStartPosition = s.NextPos();
  s.Next();
  const UCS4Char c = s.CurrentPos().Char;
  if (c == '&') {
    ReadReference();
  } else if (c == UCS4EndOfInput) {
    FTokenType = tkEndOfSource;
    FEndPosition = s.CurrentPos();
  } else if (c == '<') {
    ReadMarkup();
  } else {
    Collect(c);
    ReadText();
  }
}

void TXmlDocTokenizer::ReadText() {
  TXmlSimpleInputSource& s = *FInputSource;
  FTokenType = tkText;
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == '<' || next == '&' || next == UCS4EndOfInput) break;
    s.Next();
    Collect(next);
  }
  FEndPosition = s.CurrentPos();
}

void TXmlDocTokenizer::ReadReference() {
  TXmlSimpleInputSource& s = *FInputSource;
  if (s.NextPos().Char == '#') {
    s.Next();
    bool (*isDigit)(uint32_t) = Ucs4IsAsciiDigit;
    FTokenType = tkDecimalCharRef;
    if (s.NextPos().Char == 'x') {  // an upper-case X does not mark a hexadecimal reference
      s.Next();
      isDigit = Ucs4IsHexDigit;
      FTokenType = tkHexCharRef;
    }
    FStartPosition = s.NextPos();
    while (isDigit(s.NextPos().Char)) {
      s.Next();
      Collect(s.CurrentPos().Char);
    }
    FEndPosition = s.CurrentPos();
    if (s.NextPos().Char == ';')
      s.Next();
    else
      SetError(XmlErrors::UnterminatedCharRef, u";");
    return;
  }
  FTokenType = tkEntityRef;
  const UCS4Char first = s.NextPos().Char;
  FEndPosition = s.CurrentPos();
  if (!Ucs4IsLetter(first) && first != '_' && first != ':') {
    SetError(XmlErrors::EntityRefNameExpected, u"");
    return;
  }
  while (Ucs4IsNameChar(s.NextPos().Char)) {
    s.Next();
    Collect(s.CurrentPos().Char);
  }
  FEndPosition = s.CurrentPos();
  if (s.NextPos().Char == ';')
    s.Next();
  else
    SetError(XmlErrors::UnterminatedEntityRef, u";");
}

void TXmlDocTokenizer::ReadMarkup() {
  TXmlSimpleInputSource& s = *FInputSource;
  const UCS4Char next = s.NextPos().Char;
  FEndPosition = s.CurrentPos();
  switch (next) {
    case '!':
      s.Next();
      FEndPosition = s.CurrentPos();
      switch (s.NextPos().Char) {
        case '-':
          FTokenType = tkComment;
          s.Next();
          FEndPosition = s.CurrentPos();
          if (!MatchNext(u"-")) return SetError(XmlErrors::CommentStartExpected, u"<!--");
          return ReadComment();
        case '[':
          if (ReadKeyword(tkCDATASection, u"CDATA[", XmlErrors::CDataSectionStartExpected, u"<![CDATA["))
            ReadCDATASection();
          return;
        case 'D':
          if (ReadKeyword(tkDoctypeDecl, u"OCTYPE", XmlErrors::DoctypeStartExpected, u"<!DOCTYPE")) ReadDoctypeDecl();
          return;
        case 'C':
        case 'c':
        case ']':
          FTokenType = tkCDATASection;
          return SetError(XmlErrors::CDataSectionStartExpected, u"<![CDATA[");
        case 'O':
        case 'd':
        case 'o':
          FTokenType = tkDoctypeDecl;
          return SetError(XmlErrors::DoctypeStartExpected, u"<!DOCTYPE");
        default:
          FTokenType = tkComment;
          return SetError(XmlErrors::CommentStartExpected, u"<!--");
      }
    case '/':
      return ReadEndTag();
    case '?':
      return ReadProcessingInstruction();
    case '>':
      FTokenType = tkStartTag;
      s.Next();
      return SetError(XmlErrors::TagNameExpected, u"");
    case UCS4EndOfInput:
      FTokenType = tkStartTag;
      return SetError(XmlErrors::TagNameExpected, u"");
    default:
      return ReadStartTag();
  }
}

bool TXmlDocTokenizer::CollectUntil(UCS4Char first, UCS4Char second, TXmlErrorKind unterminated, WideStringView hint) {
  TXmlSimpleInputSource& s = *FInputSource;
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FEndPosition = s.CurrentPos();
      SetError(unterminated, hint);
      return false;
    }
    s.Next();
    if (next == first && s.NextPos().Char == second) {
      FEndPosition = s.PreviousPos();
      s.Next();
      return true;
    }
    Collect(next);
  }
}

void TXmlDocTokenizer::ReadComment() {
  FTokenType = tkComment;
  if (!CollectUntil('-', '-', XmlErrors::UnterminatedComment, u"-->")) return;
  // "--" ends the comment and must be followed by ">".
  if (FInputSource->NextPos().Char != '>') return SetError(XmlErrors::DoubleHyphenInComment, u">");
  FInputSource->Next();
}

void TXmlDocTokenizer::ReadCDATASection() {
  TXmlSimpleInputSource& s = *FInputSource;
  // The positions of the last three characters consumed; the section ends at the
  // ">" of "]]>", and its value at the character before the two "]".
  TUtilsCharPosition before[2] = {s.CurrentPos(), s.CurrentPos()};
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::UnterminatedCDataSection, u"]]>");
    }
    if (next == '>' && FTokenBuffer.ends_with(u"]]")) {
      FTokenBuffer.resize(FTokenBuffer.size() - 2);
      FEndPosition = before[0];
      s.Next();
      return;
    }
    before[0] = before[1];
    before[1] = s.CurrentPos();
    s.Next();
    Collect(next);
  }
}

void TXmlDocTokenizer::ReadDoctypeDecl() {
  TXmlSimpleInputSource& s = *FInputSource;
  enum { NoPrefix, LessThan, LessThanBang, LessThanBangDash } prefix = NoPrefix;
  bool singleQuoted = false, doubleQuoted = false, inSubset = false;
  WideStringView pendingEnd;  // "-->" or "?>" inside the subset
  FStartPosition = s.NextPos();
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::UnterminatedDoctypeDecl, u"]>");
    }
    if (next == '>' && !singleQuoted && !doubleQuoted && !inSubset && pendingEnd.empty()) {
      FEndPosition = s.CurrentPos();
      s.Next();
      return;
    }
    s.Next();
    Collect(next);
    if (!pendingEnd.empty()) {
      if (FTokenBuffer.ends_with(pendingEnd)) pendingEnd = {};
      continue;
    }
    if (next == '\'' && !doubleQuoted) singleQuoted = !singleQuoted;
    if (next == '"' && !singleQuoted) doubleQuoted = !doubleQuoted;
    const bool quoted = singleQuoted || doubleQuoted;
    if (inSubset && !quoted) {
      if (next == '<') {
        prefix = LessThan;
      } else if (next == '!' && prefix == LessThan) {
        prefix = LessThanBang;
      } else if (next == '?' && prefix == LessThan) {
        prefix = NoPrefix;
        pendingEnd = u"?>";
      } else if (next == '-' && prefix == LessThanBang) {
        prefix = LessThanBangDash;
      } else if (next == '-' && prefix == LessThanBangDash) {
        prefix = NoPrefix;
        pendingEnd = u"-->";
      } else {
        prefix = NoPrefix;
      }
      if (next == ']') inSubset = false;
    } else if (!inSubset && !quoted && next == '[') {
      inSubset = true;
    }
  }
}

void TXmlDocTokenizer::ReadEndTag() {
  TXmlSimpleInputSource& s = *FInputSource;
  FTokenType = tkEndTag;
  s.Next();
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (IsMarkupWhiteSpace(next) || next == '>' || next == UCS4EndOfInput) break;
    s.Next();
    Collect(next);
  }
  FEndPosition = s.CurrentPos();
  SkipWhiteSpace();
  if (s.NextPos().Char == '>')
    s.Next();
  else
    SetError(XmlErrors::UnterminatedTag, u">");
}

void TXmlDocTokenizer::ReadProcessingInstruction() {
  FTokenType = tkProcessingInstruction;
  FInputSource->Next();
  FEndPosition = FInputSource->CurrentPos();
  CollectUntil('?', '>', XmlErrors::UnterminatedProcessingInstruction, u"?");
}

void TXmlDocTokenizer::ReadStartTag() {
  TXmlSimpleInputSource& s = *FInputSource;
  FTokenType = tkStartTag;
  FStartPosition = s.NextPos();
  UCS4Char quote = 0;
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput || (quote == 0 && (next == '/' || next == '>'))) break;
    s.Next();
    Collect(next);
    if (quote != 0) {
      if (next == quote) quote = 0;
    } else if (next == '"' || next == '\'') {
      quote = next;
    }
  }
  FEndPosition = s.CurrentPos();
  switch (s.NextPos().Char) {
    case '/':
      FTokenType = tkEmptyElementTag;
      s.Next();
      if (s.NextPos().Char == '>')
        s.Next();
      else
        SetError(XmlErrors::UnterminatedTag, u">");
      return;
    case '>':
      s.Next();
      return;
    default:
      SetError(XmlErrors::UnterminatedTag, quote == '\'' ? u"'>" : quote == '"' ? u"\">" : u">");
  }
}
