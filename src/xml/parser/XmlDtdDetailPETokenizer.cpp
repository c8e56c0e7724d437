#include "xml/parser/XmlDtdDetailPETokenizer.h"

#include "xml/codecs/Utf16Codecs.h"
#include "xml/dom/DomExceptions.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

inline constexpr char16_t SMaxEntityExpansionChars[] = u"MaxEntityExpansionChars";

bool IsDeclarationOpener(TXmlDtdDetailTokenType type) {
  return type == ddAttlistDeclStart || type == ddElementDeclStart || type == ddEntityDeclStart ||
         type == ddNotationDeclStart;
}

// The success codes of a lookup, which leave the error to the top tokenizer.
bool IsSuccessKind(TXmlErrorKind kind) {
  return IsNonErrorKind(kind) || kind == XmlErrors::PELookupSuccess156 || kind == XmlErrors::PELookupSuccess159;
}

}  // namespace

TXmlDtdDetailPETokenizer::TXmlDtdDetailPETokenizer(TXmlSimpleInputSource* inputSource, bool peRefInDeclSep) {
  if (!inputSource) throw ENot_Supported_Err(SNot_Supported_Err);
  FBufSize = inputSource->GetBufferSize();
  TLevel first;
  first.Tokenizer = std::make_unique<TXmlDtdDetailTokenizer>(inputSource, peRefInDeclSep);
  FLevels.push_back(std::move(first));
}

// The levels go from the top down: a tokenizer before its source, a source before its
// stream.
TXmlDtdDetailPETokenizer::~TXmlDtdDetailPETokenizer() {
  while (!FLevels.empty()) FLevels.pop_back();
}

void TXmlDtdDetailPETokenizer::SetLimits(const TXmlLimits& limits) {
  FLimits = limits;
  FIncludedCharsAvail = limits.MaxEntityExpansionChars;
  for (TLevel& level : FLevels) level.Tokenizer->SetLimits(limits);
}

TXmlDtdDetailTokenType TXmlDtdDetailPETokenizer::TokenType() const {
  const TXmlDtdDetailTokenType type = Top().TokenType();
  if (type == ddPercentToken && Top().ErrorKind() == 0 && TextIsPEReference(Top().TokenText())) return ddPEReference;
  return type;
}

TXmlErrorKind TXmlDtdDetailPETokenizer::ErrorKind() const {
  return IsSuccessKind(FErrorKind) ? Top().ErrorKind() : FErrorKind;
}

bool TXmlDtdDetailPETokenizer::IsBeingRead(WideStringView name) const {
  for (const TLevel& level : FLevels)
    if (level.Name == name) return true;
  return false;
}

WideString TXmlDtdDetailPETokenizer::BaseUri() const {
  for (auto level = FLevels.rbegin(); level != FLevels.rend(); ++level)
    if (WideString uri = level->Tokenizer->EntityUri(); !uri.empty()) return uri;
  return {};
}

void TXmlDtdDetailPETokenizer::NextToken() {
  for (;;) {
    const TXmlDtdDetailTokenType previous = Top().TokenType();
    Top().NextToken();
    FErrorKind = 0;
    FErrorHint.clear();
    const TXmlDtdDetailTokenType type = TokenType();
    if (IsDeclarationOpener(type))
      FInsideMarkup = true;
    else if (type == ddDeclEnd)
      FInsideMarkup = false;
    if (type == ddEndOfSource && FLevels.size() > 1) {
      const bool unbalanced = Top().PERefInDeclSep() && FInsideMarkup;
      FLevels.pop_back();
      if (unbalanced) return SetError(XmlErrors::PEEndsInsideDeclaration, FLevels.back().Name);
      continue;
    }
    if (type != ddPEReference || !IncludeReference(previous)) return;
    if (!IsSuccessKind(FErrorKind)) return;
  }
}

bool TXmlDtdDetailPETokenizer::IncludeReference(TXmlDtdDetailTokenType previousType) {
  if (FInsideMarkup && FPERefTreatment != ptResolve) {
    SetError(XmlErrors::PEReferenceInMarkup, Top().TokenText());
    return false;
  }
  const WideString& token = Top().TokenText();
  const WideString name = token.substr(1, token.size() - 2);
  WideString text, publicId, systemId, baseUri;
  const TXmlErrorKind answer =
      OnPEReference ? OnPEReference(name, text, publicId, systemId, baseUri) : XmlErrors::UndeclaredParameterEntity;
  if ((answer == XmlErrors::UndeclaredParameterEntity || answer == XmlErrors::ExternalPENotLoaded) &&
      FPERefTreatment == ptResolveInDeclSepSkipExternal)
    return false;  // passed over: the reference itself is delivered
  if (!IsSuccessKind(answer)) {
    SetError(answer, name);
    return false;
  }
  // A reference is a percent token to the level below (which never answers ddPEReference).
  const bool blankBefore = previousType != ddWhiteSpace && previousType != ddPercentToken;
  WideString framed = blankBefore ? u" " + text + u" " : text + u" ";
  if (int64_t(framed.size()) > FIncludedCharsAvail) {
    SetError(XmlErrors::LimitExceeded, SMaxEntityExpansionChars);
    return false;
  }
  FIncludedCharsAvail -= int64_t(framed.size());
  WideString resolvedId;
  if (!systemId.empty() && !ResolveUriReference(baseUri, systemId, resolvedId)) resolvedId = systemId;
  try {
    TLevel level;
    level.Stream = std::make_unique<TUtilsWideStringStream>(framed);
    level.OwnedSource = std::make_unique<TXmlSimpleInputSource>(
        level.Stream.get(), TXmlSourceStart{}, CodecClassOf<TUTF16LECodec>(), FBufSize, resolvedId, publicId);
    level.Tokenizer = std::make_unique<TXmlDtdDetailTokenizer>(level.OwnedSource.get(), !FInsideMarkup);
    level.Tokenizer->SetLimits(FLimits);
    level.Name = name;
    level.Id = FNextLevelId++;
    FLevels.push_back(std::move(level));
  } catch (const Exception&) {
    SetError(XmlErrors::PEInclusionFailed, name);
    return false;
  }
  return true;
}
