#include "xml/dtd/DtdToDtdModelParser.h"

#include "xml/codecs/Utf16Codecs.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomNode.h"
#include "xml/parser/XmlDtdReader.h"
#include "xml/utils/UriUtils.h"

namespace {

constexpr char16_t SHintNoResourceResolver[] =
    u"The external DTD subset cannot be read: no resource resolver is assigned to the DOM implementation.";

}  // namespace

TDtdToDtdModelParser::TDtdToDtdModelParser(TComponent* owner) : TXmlCustomParser(owner) { BuildPipeline(); }

void TDtdToDtdModelParser::BuildPipeline() {
  FReader = CreateOwned<TXmlStandardDtdReader>(*this);
  FWFTestHandler = CreateOwned<TXmlWFTestHandler>(*this);
  FModelBuilder = CreateOwned<TXmlDtdModelBuilder>(*this);
  FReader->SetDOMImpl(DOMImpl());
  FReader->SetNextHandler(FWFTestHandler);
  FWFTestHandler->SetNextHandler(FModelBuilder);
  SetLimits(FLimits);
}

void TDtdToDtdModelParser::SetDOMImpl(TDomImplementation* impl) {
  TXmlCustomParser::SetDOMImpl(impl);
  FReader->SetDOMImpl(impl);
}

void TDtdToDtdModelParser::SetLimits(const TXmlLimits& limits) {
  FLimits = limits;
  FReader->SetLimits(limits);
  FWFTestHandler->SetLimits(limits);
  FModelBuilder->SetLimits(limits);
}

void TDtdToDtdModelParser::ResetTarget() {
  FReader->Reset();
  FWFTestHandler->Reset();
  FModelBuilder->Reset();
  if (FTargetModel) FTargetModel->Reset();
}

// Errors of the error class are validity errors: a parse that does not check validity
// goes on after them (XML 1.0 section 5.1), one that does fails.
void TDtdToDtdModelParser::CheckReading(bool succeeded) const {
  if (!succeeded && (FReader->FatalErrorReported() || FCheckValidity)) throw EParserException(SParserError);
}

void TDtdToDtdModelParser::ParseExtSubsetStream(TStream* stream, WideStringView publicId, bool declFlag,
                                                TUnicodeCodecClass codecClass, WideStringView systemId) {
  if (!stream) throw EAccessViolation(SStreamNotSpecified);
  FModelBuilder->SetTargetModel(FTargetModel);
  std::unique_ptr<TXmlInputSource> source;
  try {
    source = std::make_unique<TXmlInputSource>(stream, TXmlSourceStart{}, codecClass, BufferSize(), systemId, publicId,
                                               declFlag);
  } catch (const ENot_Supported_Err&) {
    FailWith(XmlErrors::EncodingNotSupported);
  } catch (const EConvertError&) {
    FailWith(XmlErrors::EncodingMismatch);
  }
  CheckReading(FReader->ParseExternalSubset(*source));
}

void TDtdToDtdModelParser::ParseExtSubsetString(const AnsiString& text, WideStringView publicId, bool declFlag,
                                                TUnicodeCodecClass codecClass, WideStringView systemId) {
  if (text.empty()) throw EAccessViolation(SEmptyString);
  TStringStream stream(text);
  ParseExtSubsetStream(&stream, publicId, declFlag, codecClass, systemId);
}

void TDtdToDtdModelParser::ParseExtSubsetWideString(WideStringView text, WideStringView publicId, bool declFlag,
                                                    WideStringView systemId) {
  if (text.empty()) throw EAccessViolation(SEmptyString);
  TUtilsWideStringStream stream(text);
  ParseExtSubsetStream(&stream, publicId, declFlag, CodecClassOf<TUTF16LECodec>(), systemId);
}

void TDtdToDtdModelParser::ParseExtSubsetSourceCode(const std::vector<WideString>* source, WideStringView publicId,
                                                    WideStringView systemId) {
  if (!source) throw EAccessViolation(SSourceCodeNotSpecified);
  ParseExtSubsetWideString(JoinSourceCodePieces(*source), publicId, true, systemId);
}

void TDtdToDtdModelParser::ParseIntSubsetStream(TStream* stream, const TXmlSourceStart& start,
                                                bool resolveExternalEntities, TDomStandalone standalone,
                                                TUnicodeCodecClass codecClass, WideStringView baseUri) {
  if (!stream) throw EAccessViolation(SStreamNotSpecified);
  FModelBuilder->SetTargetModel(FTargetModel);
  std::unique_ptr<TXmlSimpleInputSource> source;
  try {
    source = std::make_unique<TXmlSimpleInputSource>(stream, start, codecClass, BufferSize(), baseUri, u"");
  } catch (const ENot_Supported_Err&) {
    FailWith(XmlErrors::EncodingNotSupported);
  } catch (const EConvertError&) {
    FailWith(XmlErrors::EncodingMismatch);
  }
  CheckReading(FReader->ParseInternalSubset(*source, standalone, resolveExternalEntities));
}

void TDtdToDtdModelParser::ParseIntSubsetString(const AnsiString& text, const TXmlSourceStart& start,
                                                bool resolveExternalEntities, TDomStandalone standalone,
                                                TUnicodeCodecClass codecClass, WideStringView baseUri) {
  if (text.empty()) throw EAccessViolation(SEmptyString);
  TStringStream stream(text);
  ParseIntSubsetStream(&stream, start, resolveExternalEntities, standalone, codecClass, baseUri);
}

void TDtdToDtdModelParser::ParseIntSubsetWideString(WideStringView text, const TXmlSourceStart& start,
                                                    bool resolveExternalEntities, TDomStandalone standalone,
                                                    WideStringView baseUri) {
  if (text.empty()) throw EAccessViolation(SEmptyString);
  TUtilsWideStringStream stream(text);
  ParseIntSubsetStream(&stream, start, resolveExternalEntities, standalone, CodecClassOf<TUTF16LECodec>(), baseUri);
}

void TDtdToDtdModelParser::ParseIntSubsetSourceCode(const std::vector<WideString>* source, const TXmlSourceStart& start,
                                                    bool resolveExternalEntities, TDomStandalone standalone,
                                                    WideStringView baseUri) {
  if (!source) throw EAccessViolation(SSourceCodeNotSpecified);
  ParseIntSubsetWideString(JoinSourceCodePieces(*source), start, resolveExternalEntities, standalone, baseUri);
}

void TDtdToDtdModelParser::ParseDoctypeDecl(const TDomDocumentTypeDecl* doctypeDecl, bool checkValidity) {
  if (!doctypeDecl) throw EAccessViolation(SDoctypeDeclNotSpecified);
  if (!DOMImpl()) throw EAccessViolation(SDomImplNotSpecified);
  if (!FTargetModel) throw EAccessViolation(STargetDtdModelNotSpecified);
  const auto* document = dynamic_cast<const TDomDocument*>(doctypeDecl->GetOwnerDocument());
  if (!document || document->GetDomImplementation() != DOMImpl())
    throw EWrong_DOM_Implementation_Err(SWrong_DOM_Implementation_Err);
  const WideString baseUri = document->DocumentUri;
  ResetTarget();
  const TDomStandalone standalone = document->XmlStandalone;
  FCheckValidity = checkValidity;
  try {
    const WideString& subset = doctypeDecl->GetInternalSubset();
    if (subset.empty()) {
      FTargetModel->SetPreparationStatus(DtdPreparation::NoDtd);
    } else {
      const TXmlSourceStart start{doctypeDecl->IntSubsetStartLine, 0, doctypeDecl->IntSubsetStartColumn,
                                  doctypeDecl->IntSubsetStartCharNumber, doctypeDecl->IntSubsetStartByteNumber};
      ParseIntSubsetWideString(subset, start, checkValidity, standalone, baseUri);
    }
    const uint8_t status = FTargetModel->PreparationStatus();
    constexpr uint8_t InternalComplete = 5, ExternalNotRead = 2;
    if (status == InternalComplete || status == DtdPreparation::NoDtd) {
      if (doctypeDecl->GetPublicId().empty() && doctypeDecl->GetSystemId().empty()) {
        if (status == InternalComplete) FTargetModel->SetPreparationStatus(DtdPreparation::Complete);
      } else if (checkValidity && !DOMImpl()->ResourceResolver()) {
        ReportParseError(XmlErrors::ExternalDtdUnresolved, SHintNoResourceResolver);
        FTargetModel->SetPreparationStatus(DtdPreparation::Aborted);
      } else if (checkValidity) {
        WideString systemId = doctypeDecl->GetSystemId();
        const std::unique_ptr<TStream> stream =
            DOMImpl()->ResolveResourceAsStream(baseUri, doctypeDecl->GetPublicId(), systemId);
        if (stream) {
          WideString resolved;
          if (!ResolveUriReference(baseUri, systemId, resolved)) resolved = systemId;
          ParseExtSubsetStream(stream.get(), doctypeDecl->GetPublicId(), false, nullptr, resolved);
        } else {
          ReportParseError(XmlErrors::ExternalDtdUnresolved);
          FTargetModel->SetPreparationStatus(DtdPreparation::Aborted);
        }
      } else if (status == InternalComplete) {
        FTargetModel->SetPreparationStatus(ExternalNotRead);
      }
    }
  } catch (...) {  // every failure ends as an aborted preparation
    FTargetModel->SetPreparationStatus(DtdPreparation::Aborted);
  }
  FCheckValidity = true;
}
