#include "xml/parser/XmlDoctypeDeclTokenizer.h"

#include "xml/codecs/Utf16Codecs.h"

namespace {

constexpr int32_t DeclarationBufferBytes = 4096;

std::unique_ptr<TXmlSimpleInputSource> MakeSource(TStream* stream, int64_t line, int64_t tabs, int64_t column,
                                                  int64_t charNumber, int64_t byteNumber, WideStringView systemId) {
  const TXmlSourceStart start{column < 0 ? line - 1 : line, tabs, column, charNumber, byteNumber};
  return std::make_unique<TXmlSimpleInputSource>(stream, start, CodecClassOf<TUTF16LECodec>(), DeclarationBufferBytes,
                                                 systemId, u"");
}

}  // namespace

TXmlDoctypeDeclTokenizer::TXmlDoctypeDeclTokenizer(WideStringView declaration, int64_t startLine, int64_t startTabs,
                                                   int64_t startColumn, int64_t startChar, int64_t startByte,
                                                   WideStringView systemId)
    : TXmlCustomTokenizer(nullptr), FStringStream(declaration) {
  FOwnedSource = MakeSource(&FStringStream, startLine, startTabs, startColumn, startChar, startByte, systemId);
  FInputSource = FOwnedSource.get();
  FStartPosition = FInputSource->CurrentPos();
  FEndPosition = FInputSource->PreviousPos();
}

void TXmlDoctypeDeclTokenizer::NextToken() {
  if (FTokenType == dtkEnd) return;
  ResetToken();
  ReadGuarded([this] { ReadPart(); });
}

void TXmlDoctypeDeclTokenizer::ReadPart() {
  TXmlSimpleInputSource& s = *FInputSource;
  FStartPosition = s.NextPos();
  FEndPosition = s.CurrentPos();
  switch (FTokenType) {
    case dtkStart:
      FTokenType = dtkName;
      s.Next();
      FEndPosition = s.CurrentPos();
      if (!IsMarkupWhiteSpace(s.CurrentPos().Char)) return SetError(XmlErrors::WhiteSpaceExpected, u" ");
      SkipWhiteSpace();
      FStartPosition = s.NextPos();
      for (UCS4Char next = s.NextPos().Char;
           !IsMarkupWhiteSpace(next) && next != '[' && next != '>' && next != UCS4EndOfInput; next = s.NextPos().Char) {
        s.Next();
        Collect(next);
      }
      FEndPosition = s.CurrentPos();
      return;
    case dtkName:
      SkipWhiteSpace();
      FStartPosition = s.NextPos();
      FEndPosition = s.CurrentPos();
      switch (s.NextPos().Char) {
        case 'P':
          s.Next();
          if (!MatchNext(u"UBLIC")) return SetError(XmlErrors::PublicKeywordExpected, u"PUBLIC");
          FTokenType = dtkPublicId;
          return ReadLiteral();
        case 'S':
          s.Next();
          if (!MatchNext(u"YSTEM")) return SetError(XmlErrors::SystemKeywordExpected, u"SYSTEM");
          FTokenType = dtkSystemId;
          return ReadLiteral();
        case '[':
          FTokenType = dtkInternalSubset;
          return ReadInternalSubset();
        case UCS4EndOfInput:
          FTokenType = dtkEnd;
          return;
        default:
          return SetError(XmlErrors::SystemKeywordExpected, u"SYSTEM");
      }
    case dtkPublicId:  // a public identifier always requires a system literal
      FTokenType = dtkSystemId;
      return ReadLiteral();
    case dtkSystemId:
      SkipWhiteSpace();
      FStartPosition = s.NextPos();
      FEndPosition = s.CurrentPos();
      if (s.NextPos().Char == '[') {
        FTokenType = dtkInternalSubset;
        return ReadInternalSubset();
      }
      if (s.NextPos().Char == UCS4EndOfInput) {
        FTokenType = dtkEnd;
        return;
      }
      return SetError(XmlErrors::SubsetStartExpected, u"[");
    case dtkInternalSubset:
      SkipWhiteSpace();
      FStartPosition = s.NextPos();
      FEndPosition = s.CurrentPos();
      if (s.NextPos().Char == UCS4EndOfInput) {
        FTokenType = dtkEnd;
        return;
      }
      return SetError(XmlErrors::UnterminatedDoctypeDecl, u"");
    case dtkEnd:
      return;
  }
}

void TXmlDoctypeDeclTokenizer::ReadLiteral() {
  TXmlSimpleInputSource& s = *FInputSource;
  FEndPosition = s.CurrentPos();
  if (!IsMarkupWhiteSpace(s.NextPos().Char)) return SetError(XmlErrors::WhiteSpaceExpected, u" ");
  SkipWhiteSpace();
  const UCS4Char quote = s.NextPos().Char;
  FEndPosition = s.CurrentPos();
  if (quote != '"' && quote != '\'') return SetError(XmlErrors::LiteralQuoteExpected, u"\"");
  s.Next();
  FStartPosition = s.NextPos();
  for (UCS4Char next = s.NextPos().Char; next != quote && next != UCS4EndOfInput; next = s.NextPos().Char) {
    s.Next();
    Collect(next);
  }
  FEndPosition = s.CurrentPos();
  if (s.NextPos().Char != quote) {
    const WideChar hint[1] = {static_cast<WideChar>(quote)};
    return SetError(XmlErrors::LiteralQuoteExpected, WideStringView(hint, 1));
  }
  s.Next();
}

void TXmlDoctypeDeclTokenizer::ReadInternalSubset() {
  TXmlSimpleInputSource& s = *FInputSource;
  s.Next();  // the "["
  FStartPosition = s.NextPos();
  enum { Markup, InComment, InProcessingInstruction } context = Markup;
  enum { NoPrefix, LessThan, LessThanBang, LessThanBangDash } prefix = NoPrefix;
  bool commentEndPending = false;  // "--" read inside a comment: ">" must follow
  UCS4Char quote = 0;
  for (;;) {
    const UCS4Char next = s.NextPos().Char;
    if (next == UCS4EndOfInput) {
      FEndPosition = s.CurrentPos();
      return SetError(XmlErrors::UnterminatedSubset, u"]");
    }
    s.Next();
    if (commentEndPending) {
      if (next != '>') {
        FEndPosition = s.CurrentPos();
        return SetError(XmlErrors::UnterminatedComment, u"-->");
      }
      commentEndPending = false;
      context = Markup;
      Collect(next);
      continue;
    }
    if (next == ']' && context == Markup && quote == 0) {
      FEndPosition = s.PreviousPos();
      return;
    }
    Collect(next);
    if (context == InComment) {
      if (next == '-' && s.NextPos().Char == '-') {
        s.Next();
        Collect('-');
        commentEndPending = true;
      }
    } else if (context == InProcessingInstruction) {
      if (next == '?' && s.NextPos().Char == '>') {
        s.Next();
        Collect('>');
        context = Markup;
      }
    } else if (quote != 0) {
      if (next == quote) quote = 0;
    } else if (next == '!' && prefix == LessThan) {
      prefix = LessThanBang;
    } else if (next == '?' && prefix == LessThan) {
      prefix = NoPrefix;
      context = InProcessingInstruction;
    } else if (next == '-' && prefix == LessThanBang) {
      prefix = LessThanBangDash;
    } else if (next == '-' && prefix == LessThanBangDash) {
      prefix = NoPrefix;
      context = InComment;
    } else {
      prefix = next == '<' ? LessThan : NoPrefix;
      if (next == '"' || next == '\'') quote = next;
    }
  }
}
