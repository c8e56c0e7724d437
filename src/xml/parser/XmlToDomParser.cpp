#include "xml/parser/XmlToDomParser.h"

#include <new>

#include "platform/base/FileSystem.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomNode.h"
#include "xml/parser/XmlDocReader.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/WideStringUtils.h"

// ---- TXmlCustomParser ----

void TXmlCustomParser::SetDOMImpl(TDomImplementation* impl) { SetWatchedReference(*this, FDomImpl, impl); }

void TXmlCustomParser::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FDomImpl) FDomImpl = nullptr;
}

void TXmlCustomParser::SetBufferSize(int32_t value) {
  if (value < 1024) throw ENot_Supported_Err(SBufferSizeTooSmall);
  FBufferSize = value;
}

bool TXmlCustomParser::ReportParseError(TXmlErrorKind errorType, WideStringView hint) {
  const TDomError error(errorType, nullptr, u"", hint);
  if (DOMImpl()) return DOMImpl()->HandleError(this, &error);
  return error.GetSeverity() != esFatal;
}

void TXmlCustomParser::FailWith(TXmlErrorKind errorType, WideStringView hint) {
  ReportParseError(errorType, hint);
  throw EParserException(SParserError);
}

// ---- TXmlToDomParser ----

TXmlToDomParser::TXmlToDomParser(TComponent* owner) : TXmlCustomParser(owner) { BuildPipeline(); }

void TXmlToDomParser::BuildPipeline() {
  FReader = CreateOwned<TXmlStandardDocReader>(*this);
  FWFTestHandler = CreateOwned<TXmlWFTestHandler>(*this);
  FDomBuilder = CreateOwned<TXmlDomBuilder>(*this);
  FDomBuilder->DocTypeDeclTreatment = dtCheckWellformedness;
  FReader->SetDOMImpl(DOMImpl());
  FReader->SetNextHandler(FWFTestHandler);
  FWFTestHandler->SetNextHandler(FDomBuilder);
  SetLimits(FLimits);
}

void TXmlToDomParser::SetDOMImpl(TDomImplementation* impl) {
  TXmlCustomParser::SetDOMImpl(impl);
  FReader->SetDOMImpl(impl);
}

bool TXmlToDomParser::KeepCDATASections() const { return FDomBuilder->KeepCDATASections; }
bool TXmlToDomParser::KeepComments() const { return FDomBuilder->KeepComments; }
bool TXmlToDomParser::KeepEntityRefs() const { return FDomBuilder->KeepEntityRefs; }
void TXmlToDomParser::SetKeepCDATASections(bool value) { FDomBuilder->KeepCDATASections = value; }
void TXmlToDomParser::SetKeepComments(bool value) { FDomBuilder->KeepComments = value; }
void TXmlToDomParser::SetKeepEntityRefs(bool value) { FDomBuilder->KeepEntityRefs = value; }

void TXmlToDomParser::SetLimits(const TXmlLimits& limits) {
  FLimits = limits;
  FReader->SetLimits(limits);
  FWFTestHandler->SetLimits(limits);
  FDomBuilder->SetLimits(limits);
}

TDomDocument* TXmlToDomParser::ParseFile(const AnsiString& fileName) {
  if (fileName.empty()) throw EAccessViolation(SFilenameNotSpecified);
  TFileStream stream(fileName, fmOpenRead);
  return ParseStream(&stream, FileNameToFileUri(fileName, 0), nullptr, true);
}

WideString JoinSourceCodePieces(const std::vector<WideString>& pieces) {
  WideString text;
  for (const WideString& piece : pieces) text += piece;
  return text;
}

TDomDocument* TXmlToDomParser::ParseSourceCode(const std::vector<WideString>* source, WideStringView systemId) {
  if (!source) throw EAccessViolation(SSourceCodeNotSpecified);
  return ParseWideString(JoinSourceCodePieces(*source), systemId, CodecClassOf<TUTF16LECodec>(), true);
}

TDomDocument* TXmlToDomParser::ParseStream(TStream* stream, WideStringView systemId, TUnicodeCodecClass codecClass,
                                           bool declFlag) {
  if (!stream) throw EAccessViolation(SStreamNotSpecified);
  std::unique_ptr<TXmlInputSource> source;
  try {
    source =
        std::make_unique<TXmlInputSource>(stream, TXmlSourceStart{}, codecClass, BufferSize(), systemId, u"", declFlag);
  } catch (const ENot_Supported_Err&) {
    FailWith(XmlErrors::EncodingNotSupported);
  } catch (const EConvertError&) {
    FailWith(XmlErrors::EncodingMismatch);
  }
  return ParseInputSource(source.get());
}

TDomDocument* TXmlToDomParser::ParseString(const AnsiString& source, WideStringView systemId,
                                           TUnicodeCodecClass codecClass, bool declFlag) {
  if (source.empty()) throw EAccessViolation(SEmptyString);
  TStringStream stream(source);
  return ParseStream(&stream, systemId, codecClass, declFlag);
}

TDomDocument* TXmlToDomParser::ParseWideString(WideStringView source, WideStringView systemId,
                                               TUnicodeCodecClass codecClass, bool declFlag) {
  if (source.empty()) throw EAccessViolation(SEmptyString);
  TUtilsWideStringStream stream(source);
  return ParseStream(&stream, systemId, codecClass, declFlag);
}

TDomDocument* TXmlToDomParser::ParseSystemId(WideStringView systemId, TUnicodeCodecClass codecClass, bool declFlag) {
  if (!DOMImpl()) throw EAccessViolation(SDomImplNotSpecified);
  WideString resolvedId(systemId);
  const std::unique_ptr<TStream> stream = DOMImpl()->ResolveResourceAsStream(u"", u"", resolvedId);
  if (!stream) return nullptr;
  return ParseStream(stream.get(), resolvedId, codecClass, declFlag);
}

TDomDocument* TXmlToDomParser::ParseInputSource(TXmlInputSource* inputSource) {
  if (!inputSource) throw EAccessViolation(SInputSourceNotSpecified);
  if (!DOMImpl()) throw EAccessViolation(SDomImplNotSpecified);
  if (inputSource->HasUndetectedEncoding()) FailWith(XmlErrors::UndetectedEncoding, SHintUndetectedEncoding);
  if (inputSource->HasMalformedDeclaration() || inputSource->DeclarationKind() == dkTextDeclaration)
    FailWith(XmlErrors::MalformedDeclaration);
  if (inputSource->XmlVersion() != u"1.0") FailWith(XmlErrors::UnsupportedXmlVersion);
  TDomImplementation& impl = *DOMImpl();
  TDomDocument* document = nullptr;
  const auto discard = [&] {
    FDomBuilder->SetReferenceNode(nullptr);
    if (document) impl.RemoveDocument(document);
  };
  bool outOfMemory = false;
  try {
    document = NewDomDocument<TDomDocument>(impl);
    document->DocumentUri = inputSource->SystemId();
    if (IDtdValidationAgent* agent = document->ValidationAgent()) agent->SetLimits(FLimits);
    FDomBuilder->SetReferenceNode(document);
    if (FReader->ParseDocument(*inputSource)) return document;
    outOfMemory = FReader->RanOutOfMemory();
    if (!outOfMemory) throw EParserException(SParserError);
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  } catch (...) {
    discard();
    throw;
  }
  // Reported once the partly built document is gone and memory is free again.
  discard();
  FailWith(XmlErrors::OutOfMemory, SHintOutOfMemory);
}

bool TXmlToDomParser::ParseIntoFragment(TXmlSimpleInputSource* inputSource, TDomDocumentFragment* fragment) {
  if (!fragment) throw EAccessViolation(SFragmentNotSpecified);
  if (!DOMImpl()) throw EAccessViolation(SDomImplNotSpecified);
  FDomBuilder->SetReferenceNode(fragment);
  if (!FReader->ParseDocumentFragment(inputSource)) throw EParserException(SParserError);
  return true;
}
