#include "xml/parser/XmlTokenizer.h"

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "xml/utils/WideStringUtils.h"

TXmlCustomTokenizer::TXmlCustomTokenizer(TXmlSimpleInputSource* inputSource) : FInputSource(inputSource) {
  if (!inputSource) return;
  FStartPosition = inputSource->CurrentPos();
  FEndPosition = inputSource->PreviousPos();
}

void TXmlCustomTokenizer::ResetToken() {
  FTokenBuffer.clear();
  FErrorKind = 0;
  FErrorHint.clear();
}

bool TXmlCustomTokenizer::MatchNext(WideStringView text) {
  for (const WideChar unit : text) {
    if (FInputSource->NextPos().Char != unit) return false;
    FInputSource->Next();
  }
  return true;
}

void TXmlCustomTokenizer::SkipWhiteSpace() {
  while (IsMarkupWhiteSpace(FInputSource->NextPos().Char)) FInputSource->Next();
}

void TXmlCustomTokenizer::CollectSlow(UCS4Char c) {
  if (IsSurrogate(c) || c > 0x10FFFF) throw EConvertError(Format(SUtilsInvalidUCS4, {int64_t(c)}));
  const size_t units = c > 0xFFFF ? 2 : 1;
  if (FTokenBuffer.size() + units > FMaxTokenUnits) throw ETokenLimit{};
  if (units == 1) {
    FTokenBuffer.push_back(static_cast<WideChar>(c));
  } else {
    FTokenBuffer.push_back(HighSurrogateOf(c));
    FTokenBuffer.push_back(LowSurrogateOf(c));
  }
}
