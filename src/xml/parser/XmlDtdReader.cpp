#include "xml/parser/XmlDtdReader.h"

#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlSubsetTokenizers.h"

TXmlStandardDtdReader::TXmlStandardDtdReader(TComponent* owner) : TXmlCustomReader(owner), FPERepository(this) {}

void TXmlStandardDtdReader::Reset() {
  FAttListElementTypes.clear();
  FPERepository.Clear();
  FErrorReported = false;
  FFatalErrorReported = false;
}

void TXmlStandardDtdReader::NotifyError(TXmlErrorKind kind, const IXmlLocation* locator, WideStringView code,
                                        WideStringView clue) {
  const TXmlErrorSeverity severity = ErrorSeverityOf(kind);
  if (severity == esFatal)
    FFatalErrorReported = true;
  else if (severity == esError)
    FErrorReported = true;
  TXmlCustomReader::NotifyError(kind, locator, code, clue);
}

void TXmlStandardDtdReader::LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral,
                                           WideStringView systemLiteral, TXmlErrorKind& loadError,
                                           WideString& replacementText) {
  try {
    ResolveResourceAsWideString(baseUri, publicLiteral, systemLiteral, loadError, replacementText);
  } catch (const Exception&) {  // no resolver, or the resolver failed
    replacementText.clear();
    loadError = XmlErrors::ExternalPENotLoaded;
  }
}

void TXmlStandardDtdReader::WritePEReferenceFound(const IXmlLocation* locator) {
  if (NextHandler()) Send(TXmlPEReferenceFoundSignal(this, locator));
}

void TXmlStandardDtdReader::AttListDeclared(const IXmlLocation* locator, WideStringView elementTypeName) {
  if (!FAttListElementTypes.emplace(elementTypeName).second)
    NotifyError(XmlErrors::RepeatedAttListDeclaration, locator, elementTypeName, u"");
}

void TXmlStandardDtdReader::WriteAborted(const IXmlLocation* locator) {
  if (NextHandler()) Send(TXmlAbortedSignal(this, locator));
}

void TXmlStandardDtdReader::WriteCompleted(const IXmlLocation* locator) {
  if (NextHandler()) Send(TXmlCompletedSignal(this, locator));
}

void TXmlStandardDtdReader::WriteStartExtDtd(const IXmlLocation* locator, WideStringView inputEncoding,
                                             WideStringView declaredEncoding, WideStringView version,
                                             WideStringView systemId, WideStringView publicId) {
  if (!NextHandler()) return;
  TXmlStartExtDtdSignal signal(this, locator);
  signal.ActualEncoding.assign(inputEncoding);
  signal.DeclEncoding.assign(declaredEncoding);
  signal.DeclVersion.assign(version);
  signal.SystemLiteral.assign(systemId);
  signal.PublicLiteral.assign(publicId);
  Send(signal);
}

void TXmlStandardDtdReader::WriteStartIntDtd(const IXmlLocation* locator, WideStringView systemId,
                                             TDomStandalone standalone) {
  if (!NextHandler()) return;
  TXmlStartIntDtdSignal signal(this, locator);
  signal.SystemLiteral.assign(systemId);
  signal.StandaloneValue = static_cast<uint8_t>(standalone);
  Send(signal);
}

void TXmlStandardDtdReader::WriteDeclarationSignal(const TXmlSignal* signal) {
  if (signal && NextHandler()) Send(*signal->Clone(this));
}

template <typename Start>
bool TXmlStandardDtdReader::Parse(TXmlCustomSubsetTokenizer& tokenizer, Start start) {
  tokenizer.SetLimits(FLimits);
  tokenizer.OnPEReferenceFound = [this](const IXmlLocation& locator) { WritePEReferenceFound(&locator); };
  tokenizer.OnAttListDeclared = [this](WideStringView name, const IXmlLocation& locator) {
    AttListDeclared(&locator, name);
  };
  try {
    start();
    if (tokenizer.TokenType() == stEnd && tokenizer.ErrorKind())
      NotifyError(tokenizer.ErrorKind(), &tokenizer, u"", tokenizer.ErrorHint());
    else
      ParseTokens(tokenizer);
    WriteCompleted(&tokenizer);
  } catch (...) {  // a stop, a handler's exception or a failure of the codec alike
    try {
      WriteAborted(&tokenizer);
    } catch (...) {  // the chain is failing already; the answer says so
    }
    FFatalErrorReported = true;
  }
  return !FErrorReported && !FFatalErrorReported;
}

bool TXmlStandardDtdReader::ParseExternalSubset(TXmlInputSource& inputSource) {
  TXmlExtSubsetTokenizer tokenizer(&inputSource, &FPERepository);
  return Parse(tokenizer, [&] {
    WriteStartExtDtd(&tokenizer, inputSource.EncodingName(), inputSource.XmlEncoding(), inputSource.XmlVersion(),
                     inputSource.SystemId(), inputSource.PublicId());
  });
}

bool TXmlStandardDtdReader::ParseInternalSubset(TXmlSimpleInputSource& inputSource, TDomStandalone standalone,
                                                bool resolveExternalEntities) {
  TXmlIntSubsetTokenizer tokenizer(&inputSource, &FPERepository);
  tokenizer.SetResolveExternalPEs(resolveExternalEntities);
  return Parse(tokenizer, [&] { WriteStartIntDtd(&tokenizer, inputSource.SystemId(), standalone); });
}

void TXmlStandardDtdReader::ParseTokens(TXmlCustomSubsetTokenizer& tokenizer) {
  while (tokenizer.TokenType() != stEnd) {
    tokenizer.NextToken();
    if (const TXmlErrorKind kind = tokenizer.ErrorKind()) NotifyError(kind, &tokenizer, u"", tokenizer.ErrorHint());
    switch (tokenizer.TokenType()) {
      case stAttributeDefinition:
      case stComment:
      case stElementTypeDecl:
      case stEntityDecl:
      case stUnresolvedPEReference:
      case stNotationDecl:
      case stParameterEntityDecl:
      case stProcessingInstruction:
        WriteDeclarationSignal(tokenizer.CurrentSignal());
        break;
      default:
        break;
    }
  }
}
