// Tokenizers of XML text. `TXmlCustomTokenizer` holds what every tokenizer shares: the
// token's characters, its start and end positions (offered as an IXmlLocation, so
// signals and error records take their place from it) and the lexical error found
// while reading it. `TXmlDocTokenizer` cuts a document into its coarse tokens: text,
// tags, references, comments, processing instructions, CDATA sections and the whole
// document type declaration. It analyses no tag and resolves no reference.
//
// Lexical errors never raise: the token keeps its kind and the characters read so
// far, ErrorKind and ErrorHint say what was expected, and the next call goes on at the
// character where the error was found. A token longer than the limit MaxTokenChars
// ends with error LimitExceeded and the limit's name as hint.
#pragma once

#include "xml/XmlLimits.h"
#include "xml/parser/XmlErrorKinds.h"
#include "xml/parser/XmlInputSource.h"
#include "xml/parser/XmlLocation.h"

inline constexpr char16_t SMaxTokenChars[] = u"MaxTokenChars";

// White space between the parts of markup: blank, tab, CR and LF.
constexpr bool IsMarkupWhiteSpace(uint32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class TXmlCustomTokenizer : public IXmlLocation {
public:
  // The source is read, not owned; it may be none for a tokenizer that starts at the end.
  explicit TXmlCustomTokenizer(TXmlSimpleInputSource* inputSource);

  virtual WideString TokenValue() const { return FTokenBuffer; }
  const WideString& TokenText() const { return FTokenBuffer; }

  int64_t EndByte() const override { return FEndPosition.ByteNumber; }
  int64_t EndChar() const override { return FEndPosition.CharNumber; }
  int64_t EndColumn() const override { return FEndPosition.Column; }
  int64_t EndLine() const override { return FEndPosition.Line; }
  int64_t EndTabs() const override { return FEndPosition.TabsInLine; }
  TDtdObject* TargetDtdObject() const override { return nullptr; }
  TDomNode* TargetNode() const override { return nullptr; }
  // The offset of the first byte of the token's first character.
  int64_t StartByte() const override { return FStartPosition.ByteNumber - FStartPosition.ByteCount; }
  int64_t StartChar() const override { return FStartPosition.CharNumber; }
  int64_t StartColumn() const override { return FStartPosition.Column; }
  int64_t StartLine() const override { return FStartPosition.Line; }
  int64_t StartTabs() const override { return FStartPosition.TabsInLine; }
  WideString EntityUri() const override { return FInputSource ? FInputSource->SystemId() : WideString(); }

  virtual void NextToken() = 0;

  TXmlErrorKind ErrorKind() const { return FErrorKind; }
  const WideString& ErrorHint() const { return FErrorHint; }
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) {
    FLimits = limits;
    FMaxTokenUnits = size_t(limits.MaxTokenChars);
  }

protected:
  // Starts a token: empty value, no error.
  void ResetToken();
  void SetError(TXmlErrorKind kind, WideStringView hint) {
    FErrorKind = kind;
    FErrorHint.assign(hint);
  }
  // Adds a character of the input to the value: a pair of surrogates above U+FFFF.
  // A surrogate code point or one beyond U+10FFFF raises EConvertError; a value that
  // would outgrow MaxTokenChars raises ETokenLimit.
  void Collect(UCS4Char c) {
    if (c < 0xD800 && FTokenBuffer.size() < FMaxTokenUnits) {
      FTokenBuffer.push_back(static_cast<WideChar>(c));
      return;
    }
    CollectSlow(c);
  }
  // Consumes the characters of `text` while they follow; false at the first other one.
  bool MatchNext(WideStringView text);
  void SkipWhiteSpace();
  // A conversion error of the codec (or an unacceptable code point) ends the token
  // with error 59 at the current position; the limit ends it with LimitExceeded.
  template <typename ReadToken>
  void ReadGuarded(ReadToken read);

  TXmlSimpleInputSource* FInputSource;
  TUtilsCharPosition FEndPosition;
  TUtilsCharPosition FStartPosition;
  WideString FTokenBuffer;

private:
  struct ETokenLimit {};
  void CollectSlow(UCS4Char c);

  WideString FErrorHint;
  TXmlErrorKind FErrorKind = 0;
  TXmlLimits FLimits = DefaultXmlLimits();
  size_t FMaxTokenUnits = size_t(FLimits.MaxTokenChars);
};

enum TXmlDocTokenType : uint8_t {
  tkCDATASection,
  tkDecimalCharRef,
  tkHexCharRef,
  tkComment,
  tkDoctypeDecl,
  tkEmptyElementTag,
  tkEndOfSource,
  tkEndTag,
  tkEntityRef,
  tkText,
  tkProcessingInstruction,
  tkStartOfSource,
  tkStartTag,
};

class TXmlDocTokenizer : public TXmlCustomTokenizer {
public:
  // tkStartOfSource with a source, tkEndOfSource without one.
  explicit TXmlDocTokenizer(TXmlSimpleInputSource* inputSource);

  // Reads the next token; nothing happens once tkEndOfSource is reached.
  void NextToken() override;

  TXmlDocTokenType TokenType() const { return FTokenType; }

private:
  void ReadToken();
  void ReadReference();
  void ReadMarkup();
  void ReadComment();
  void ReadCDATASection();
  void ReadDoctypeDecl();
  void ReadEndTag();
  void ReadProcessingInstruction();
  void ReadStartTag();
  void ReadText();
  // Collects characters up to the pair first-second, which is consumed and not kept; the
  // end of input gives the error `unterminated` with hint.
  bool CollectUntil(UCS4Char first, UCS4Char second, TXmlErrorKind unterminated, WideStringView hint);
  // The rest of "<![CDATA[" or "<!DOCTYPE" after its first character, which is current.
  bool ReadKeyword(TXmlDocTokenType type, WideStringView rest, TXmlErrorKind error, WideStringView hint);

  TXmlDocTokenType FTokenType;
};

template <typename ReadToken>
void TXmlCustomTokenizer::ReadGuarded(ReadToken read) {
  try {
    read();
  } catch (const EConvertError&) {
    SetError(XmlErrors::InvalidCharacterData, u"");
    FEndPosition = FInputSource->CurrentPos();
  } catch (const ETokenLimit&) {
    SetError(XmlErrors::LimitExceeded, SMaxTokenChars);
    FEndPosition = FInputSource->CurrentPos();
  }
}
