// The upper layer of DTD reading: the subset tokenizers pull the small tokens of the
// parameter-entity layer (references already read in place) and assemble whole markup
// declarations, each delivered as a ready declaration signal. They check that
// declarations, groups and conditional sections begin and end in the same parameter
// entity, register parameter entities in the repository and expand parameter-entity
// references inside entity values. `TXmlExtSubsetTokenizer` reads an external subset,
// `TXmlIntSubsetTokenizer` an internal one (no conditional sections; references only
// between declarations).
//
// Errors never raise: each token carries its error type and clue, and the next call
// goes on after it. A declaration with an error of the fatal class has no signal.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "xml/parser/DomPERepository.h"
#include "xml/parser/XmlDtdDetailPETokenizer.h"
#include "xml/parser/XmlSignals.h"

enum TXmlSubsetTokenType : uint8_t {
  stAttributeDefinition,  // one attribute of an attribute-list declaration
  stComment,
  stConditionalSectionMark,  // a misplaced or malformed conditional-section bracket
  stElementTypeDecl,
  stEnd,
  stEntityDecl,
  stUnresolvedPEReference,  // a reference between declarations that was not read in
  stWhiteSpace,
  stInvalid,
  stNotationDecl,
  stParameterEntityDecl,
  stProcessingInstruction,
  stStart,
};

class TXmlCustomSubsetTokenizer : public IXmlLocation {
public:
  // Neither is owned; either missing raises ENot_Supported_Err "Not supported error.".
  TXmlCustomSubsetTokenizer(TXmlSimpleInputSource* inputSource, TDomPERepository* repository);
  ~TXmlCustomSubsetTokenizer() override;

  void NextToken();

  TXmlSubsetTokenType TokenType() const { return FTokenType; }
  TXmlErrorKind ErrorKind() const { return FErrorKind; }
  const WideString& ErrorHint() const { return FErrorHint; }
  // The signal of the current token; none for the kinds without one or after a fatal
  // error. Owned here until the next call.
  const TXmlSignal* CurrentSignal() const { return FCurrentSignal.get(); }
  bool IsInParameterEntity() const { return FDetail.IsInParameterEntity(); }
  bool ResolvesPEsInMarkup() const { return FDetail.PERefTreatment() == ptResolve; }
  void SetLimits(const TXmlLimits& limits);

  int64_t EndByte() const override { return FDetail.EndByte(); }
  int64_t EndChar() const override { return FDetail.EndChar(); }
  int64_t EndColumn() const override { return FDetail.EndColumn(); }
  int64_t EndLine() const override { return FDetail.EndLine(); }
  int64_t EndTabs() const override { return FDetail.EndTabs(); }
  TDtdObject* TargetDtdObject() const override { return nullptr; }
  TDomNode* TargetNode() const override { return nullptr; }
  int64_t StartByte() const override { return FDetail.StartByte(); }
  int64_t StartChar() const override { return FDetail.StartChar(); }
  int64_t StartColumn() const override { return FDetail.StartColumn(); }
  int64_t StartLine() const override { return FDetail.StartLine(); }
  int64_t StartTabs() const override { return FDetail.StartTabs(); }
  WideString EntityUri() const override { return FDetail.EntityUri(); }

  // A parameter-entity reference was met (fired before it is looked up).
  std::function<void(const IXmlLocation& locator)> OnPEReferenceFound;
  // An attribute-list declaration for the element type was read.
  std::function<void(WideStringView elementName, const IXmlLocation& locator)> OnAttListDeclared;

protected:
  // Whether external parameter entities are loaded when referenced.
  virtual bool LoadsExternalPEs() const { return true; }
  void Finish(TXmlErrorKind errorKind) {
    FTokenType = stEnd;
    FErrorKind = errorKind;
  }

  bool ConditionalSectionsAllowed = true;
  TXmlDtdDetailPETokenizer FDetail;

private:
  // One step of a declaration: false when the declaration failed (the error is set).
  using TStep = bool;
  TXmlErrorKind ResolvePEReference(WideStringView name, WideString& replacementText, WideString& publicId,
                                   WideString& systemId, WideString& baseUri);
  // Reads the next small token; false (with the lower layer's error) on an error.
  TStep Advance();
  // Advances past white space; `seen` says whether there was any.
  TStep SkipWhiteSpace(bool& seen);
  // White space, then a token (which becomes current).
  TStep RequireWhiteSpace();
  TStep Fail(WideStringView hint = {});
  TStep ExpectDeclEnd();
  // Reads declarations until one gives a token.
  void ReadDeclaration();
  void ReadAttListDecl();
  void ReadElementDecl();
  void ReadEntityDecl();
  void ReadNotationDecl();
  void ReadProcessingInstruction();
  void ReadCondSectStart();
  // Closes the innermost conditional section at a "]]>"; false when the token is done.
  bool CloseCondSect();
  // A quoted literal's characters; false when the current token is none.
  TStep TakeLiteral(WideString& value);
  // "SYSTEM" literal or "PUBLIC" literal literal (the system literal optional when
  // allowed), with the white space before each literal.
  TStep ReadExternalId(WideString& publicLiteral, WideString& systemLiteral, bool systemOptional, bool& endSeen);
  TStep ExpandEntityValue(WideStringView literal, WideString& value);
  void DeliverAttributeDefinition();
  template <typename TSignal>
  TSignal& NewSignal();

  TXmlSubsetTokenType FTokenType;
  TXmlErrorKind FErrorKind = 0;
  WideString FErrorHint;
  TXmlErrorKind FDefaultError = 0;
  std::unique_ptr<TXmlSignal> FCurrentSignal;
  TXmlTextPos FDeclStart;
  uint64_t FDeclLevel = 0;  // the entity level a declaration began in
  WideString FCurrentAttListElement;
  WideString FCollectedAttrDefs;
  bool FAttListInPE = false;
  std::vector<uint64_t> FCondSectStartLevels, FCondSectBracketLevels, FOpeningBracketLevels;
  TDomPERepository* FPERepository;
  int64_t FMaxEntityValueChars;
};

class TXmlExtSubsetTokenizer : public TXmlCustomSubsetTokenizer {
public:
  // A malformed text declaration, or an XML declaration, ends the subset at once with
  // error 69; a version other than "1.0" with error 151.
  TXmlExtSubsetTokenizer(TXmlInputSource* inputSource, TDomPERepository* repository);
};

class TXmlIntSubsetTokenizer : public TXmlCustomSubsetTokenizer {
public:
  TXmlIntSubsetTokenizer(TXmlSimpleInputSource* inputSource, TDomPERepository* repository);

  bool ResolvesExternalPEs() const { return FDetail.PERefTreatment() != ptResolveInDeclSepSkipExternal; }
  // False: external parameter entities are not loaded, and their references between
  // declarations are passed over as unresolved.
  void SetResolveExternalPEs(bool value) {
    FDetail.SetPERefTreatment(value ? ptResolveInDeclSep : ptResolveInDeclSepSkipExternal);
  }

protected:
  bool LoadsExternalPEs() const override { return ResolvesExternalPEs(); }
};
