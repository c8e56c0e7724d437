// Parameter-entity inclusion below the DTD subset tokenizers: a stack of detail
// tokenizers, one per entity being read, so that the replacement text of a referenced
// parameter entity is read in place of its reference, framed by blanks, as if it stood
// in the DTD. The bottom level reads the subset's own source; each resolved reference
// pushes a level over a string source, popped at the end of that text.
//
// Work is bounded: the text of all included entities together may not exceed the limit
// MaxEntityExpansionChars, so entities that reference entities many times end with
// LimitExceeded instead of running for an exponential time. Recursion is refused by
// the resolver above (the names of the entities being read are offered for that).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "xml/parser/XmlDtdDetailTokenizer.h"
#include "xml/utils/WideStringUtils.h"

enum TXmlPERefTreatment : uint8_t {
  ptResolve,                       // references are resolved wherever they stand (external subset)
  ptResolveInDeclSep,              // references inside declarations are errors (internal subset)
  ptResolveInDeclSepSkipExternal,  // as ptResolveInDeclSep; unresolvable ones are passed over
};

// Answers a parameter entity by name: the error type (0 to 5 when resolved) and its
// replacement text, public and system identifiers and base URI.
using TXmlPEReferenceEvent = std::function<TXmlErrorKind(
    WideStringView name, WideString& replacementText, WideString& publicId, WideString& systemId, WideString& baseUri)>;

class TXmlDtdDetailPETokenizer : public IXmlLocation {
public:
  // The first source is read, not owned; none raises ENot_Supported_Err "Not supported
  // error.".
  TXmlDtdDetailPETokenizer(TXmlSimpleInputSource* inputSource, bool peRefInDeclSep);
  ~TXmlDtdDetailPETokenizer() override;

  bool IsInParameterEntity() const { return FLevels.size() > 1; }
  void NextToken();
  void SkipIgnoredSection() { Top().SkipIgnoredSection(); }

  // ddPercentToken holding a complete reference ("%", a Name, ";") is answered as
  // ddPEReference.
  TXmlDtdDetailTokenType TokenType() const;
  const WideString& TokenText() const { return Top().TokenText(); }
  const WideString& ErrorHint() const { return FErrorKind ? FErrorHint : Top().ErrorHint(); }
  // The layer's own error, unless that is a success code; then the top tokenizer's.
  TXmlErrorKind ErrorKind() const;
  // Tells the levels apart: each pushed level has a number of its own.
  uint64_t CurrentLevelId() const { return FLevels.back().Id; }
  // Whether the entity of that name is being read: a reference to it would recurse.
  bool IsBeingRead(WideStringView name) const;
  // The URI of the innermost entity being read that has one: the base of relative
  // system identifiers declared here.
  WideString BaseUri() const;

  TXmlPERefTreatment PERefTreatment() const { return FPERefTreatment; }
  void SetPERefTreatment(TXmlPERefTreatment value) { FPERefTreatment = value; }
  void SetLimits(const TXmlLimits& limits);

  int64_t EndByte() const override { return Top().EndByte(); }
  int64_t EndChar() const override { return Top().EndChar(); }
  int64_t EndColumn() const override { return Top().EndColumn(); }
  int64_t EndLine() const override { return Top().EndLine(); }
  int64_t EndTabs() const override { return Top().EndTabs(); }
  TDtdObject* TargetDtdObject() const override { return nullptr; }
  TDomNode* TargetNode() const override { return nullptr; }
  int64_t StartByte() const override { return Top().StartByte(); }
  int64_t StartChar() const override { return Top().StartChar(); }
  int64_t StartColumn() const override { return Top().StartColumn(); }
  int64_t StartLine() const override { return Top().StartLine(); }
  int64_t StartTabs() const override { return Top().StartTabs(); }
  WideString EntityUri() const override { return Top().EntityUri(); }

  TXmlPEReferenceEvent OnPEReference;

private:
  struct TLevel {
    std::unique_ptr<TUtilsWideStringStream> Stream;      // none for the first level
    std::unique_ptr<TXmlSimpleInputSource> OwnedSource;  // none for the first level
    std::unique_ptr<TXmlDtdDetailTokenizer> Tokenizer;
    WideString Name;
    uint64_t Id = 0;
  };
  TXmlDtdDetailTokenizer& Top() const { return *FLevels.back().Tokenizer; }
  // Resolves the reference that is the current token; true when a level was pushed.
  bool IncludeReference(TXmlDtdDetailTokenType previousType);
  void SetError(TXmlErrorKind kind, WideStringView hint) {
    FErrorKind = kind;
    FErrorHint.assign(hint);
  }

  std::vector<TLevel> FLevels;
  TXmlPERefTreatment FPERefTreatment = ptResolve;
  bool FInsideMarkup = false;
  int32_t FBufSize;
  TXmlErrorKind FErrorKind = 0;
  WideString FErrorHint;
  uint64_t FNextLevelId = 1;
  TXmlLimits FLimits = DefaultXmlLimits();
  int64_t FIncludedCharsAvail = FLimits.MaxEntityExpansionChars;
};
