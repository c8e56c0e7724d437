// The DTD reader: drives a subset tokenizer over an external or an internal subset and
// passes the declaration signals to the next handler, framed by a start signal and a
// completed (or aborted) signal. It owns the repository of the parameter entities
// declared so far and loads external ones for it through the DOM implementation.
#pragma once

#include <set>

#include "xml/parser/DomPERepository.h"
#include "xml/parser/XmlDocReader.h"

class TXmlCustomSubsetTokenizer;

class TXmlStandardDtdReader : public TXmlCustomReader, public IDomExternalPELoader {
public:
  explicit TXmlStandardDtdReader(TComponent* owner);

  virtual void WritePEReferenceFound(const IXmlLocation* locator);
  // The first attribute-list declaration of an element type is noted; a further one is
  // reported as warning 2 with the name.
  virtual void AttListDeclared(const IXmlLocation* locator, WideStringView elementTypeName);
  virtual void WriteAborted(const IXmlLocation* locator);
  virtual void WriteCompleted(const IXmlLocation* locator);
  virtual void WriteStartExtDtd(const IXmlLocation* locator, WideStringView inputEncoding,
                                WideStringView declaredEncoding, WideStringView version, WideStringView systemId,
                                WideStringView publicId);
  virtual void WriteStartIntDtd(const IXmlLocation* locator, WideStringView systemId, TDomStandalone standalone);
  // Sends a copy of the signal made for this reader; nothing without one.
  virtual void WriteDeclarationSignal(const TXmlSignal* signal);
  // True unless an error or a fatal error was reported since the last Reset; no
  // exception leaves these.
  virtual bool ParseExternalSubset(TXmlInputSource& inputSource);
  // resolveExternalEntities false: external parameter entities are not loaded, and
  // their references between declarations are passed over.
  virtual bool ParseInternalSubset(TXmlSimpleInputSource& inputSource, TDomStandalone standalone,
                                   bool resolveExternalEntities);
  // Forgets the attribute lists, the parameter entities and the error flags.
  virtual void Reset();

  void NotifyError(TXmlErrorKind kind, const IXmlLocation* locator, WideStringView code, WideStringView clue) override;
  // IDomExternalPELoader: the entity's text through the DOM implementation.
  void LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral, WideStringView systemLiteral,
                      TXmlErrorKind& loadError, WideString& replacementText) override;

  bool ErrorReported() const { return FErrorReported; }
  bool FatalErrorReported() const { return FFatalErrorReported; }
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) { FLimits = limits; }

private:
  // Binds the events, sends the start, runs the token loop and the completion; any
  // exception sends the aborted signal instead.
  template <typename Start>
  bool Parse(TXmlCustomSubsetTokenizer& tokenizer, Start start);
  void ParseTokens(TXmlCustomSubsetTokenizer& tokenizer);

  std::set<WideString> FAttListElementTypes;
  TDomPERepository FPERepository;
  bool FErrorReported = false;
  bool FFatalErrorReported = false;
  TXmlLimits FLimits = DefaultXmlLimits();
};
