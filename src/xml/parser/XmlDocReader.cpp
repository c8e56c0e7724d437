#include "xml/parser/XmlDocReader.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "platform/base/Surrogates.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomImplementation.h"
#include "xml/parser/XmlDoctypeDeclTokenizer.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlTokenizer.h"

namespace {

size_t SkipWhiteSpace(WideStringView text, size_t i) {
  while (i < text.size() && IsMarkupWhiteSpace(text[i])) ++i;
  return i;
}

size_t SkipToWhiteSpace(WideStringView text, size_t i) {
  while (i < text.size() && !IsMarkupWhiteSpace(text[i])) ++i;
  return i;
}

// The attribute names of one tag met so far: a scan for the handful a tag usually
// holds, a hash set once there are more, so that a tag of a hundred thousand
// attributes is checked in linear time.
class TAttributeNamesSeen {
public:
  // False when the name was there already.
  bool Add(WideStringView name) {
    if (!FSet.empty()) return FSet.insert(name).second;
    if (std::find(FList.begin(), FList.end(), name) != FList.end()) return false;
    FList.push_back(name);
    if (FList.size() == ScannedNames) FSet.insert(FList.begin(), FList.end());
    return true;
  }

private:
  static constexpr size_t ScannedNames = 16;
  std::vector<WideStringView> FList;
  std::unordered_set<WideStringView> FSet;
};

}  // namespace

// ---- TXmlCustomReader ----

void TXmlCustomReader::SetDOMImpl(TDomImplementation* impl) { SetWatchedReference(*this, FDomImpl, impl); }

void TXmlCustomReader::SetNextHandler(TXmlCustomHandler* handler) { SetWatchedReference(*this, FNextHandler, handler); }

void TXmlCustomReader::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FDomImpl) FDomImpl = nullptr;
  if (component == FNextHandler) FNextHandler = nullptr;
}

void TXmlCustomReader::ResolveResourceAsWideString(WideStringView baseUri, WideStringView publicId,
                                                   WideStringView systemId, TXmlErrorKind& errorType,
                                                   WideString& text) {
  text.clear();
  errorType = XmlErrors::ExternalPENotLoaded;
  if (FDomImpl) FDomImpl->ResolveResourceAsWideString(baseUri, publicId, systemId, errorType, text);
}

void TXmlCustomReader::NotifyError(TXmlErrorKind kind, const IXmlLocation* locator, WideStringView code,
                                   WideStringView clue) {
  const TDomError error(kind, locator, code, clue);
  if (OnError) OnError(this, error);
  const bool go = FDomImpl ? FDomImpl->HandleError(this, &error) : error.GetSeverity() != esFatal;
  if (!go) throw EParserException(SSignalProcessingException);
}

void TXmlCustomReader::Send(const TXmlSignal& signal) {
  if (FNextHandler) FNextHandler->ProcessSignal(signal);
}

// ---- TXmlStandardDocReader ----

template <typename Start>
bool TXmlStandardDocReader::Parse(TXmlSimpleInputSource& inputSource, Start start) {
  FRanOutOfMemory = false;
  TXmlDocTokenizer tokenizer(&inputSource);
  tokenizer.SetLimits(FLimits);
  try {
    start(tokenizer);
    ParseTokens(tokenizer);
    WriteCompleted(&tokenizer);
    return true;
  } catch (const std::bad_alloc&) {
    // Reporting needs memory too: the caller does it after freeing the document.
    FRanOutOfMemory = true;
  } catch (...) {  // a stop, a handler's exception or a failure of the codec alike
  }
  try {
    WriteAborted(&tokenizer);
  } catch (const std::bad_alloc&) {
    FRanOutOfMemory = true;
  }
  return false;
}

bool TXmlStandardDocReader::ParseDocument(TXmlInputSource& inputSource) {
  return Parse(inputSource, [&](TXmlDocTokenizer& tokenizer) {
    WriteStartDocument(&tokenizer, inputSource.EncodingName(), inputSource.XmlStandalone(), inputSource.XmlEncoding(),
                       inputSource.XmlVersion());
  });
}

bool TXmlStandardDocReader::ParseDocumentFragment(TXmlSimpleInputSource* inputSource) {
  if (!inputSource) return true;
  return Parse(*inputSource, [&](TXmlDocTokenizer& tokenizer) {
    WriteStartDocumentFragment(&tokenizer, inputSource->EncodingName());
  });
}

void TXmlStandardDocReader::ParseTokens(TXmlDocTokenizer& tokenizer) {
  for (;;) {
    tokenizer.NextToken();
    const WideString& value = tokenizer.TokenText();
    if (const TXmlErrorKind kind = tokenizer.ErrorKind()) NotifyError(kind, &tokenizer, value, tokenizer.ErrorHint());
    switch (tokenizer.TokenType()) {
      case tkCDATASection:
        WriteCDATA(&tokenizer, value);
        break;
      case tkDecimalCharRef:
        WriteDecimalCharRef(&tokenizer, value);
        break;
      case tkHexCharRef:
        WriteHexCharRef(&tokenizer, value);
        break;
      case tkComment:
        WriteComment(&tokenizer, value);
        break;
      case tkDoctypeDecl:
        WriteDoctypeDecl(&tokenizer, value);
        break;
      case tkEmptyElementTag:
        WriteEmptyElementTag(&tokenizer, value);
        break;
      case tkEndTag:
        WriteEndElement(&tokenizer, value);
        break;
      case tkEntityRef:
        WriteEntityRef(&tokenizer, value);
        break;
      case tkText:
        WritePCDATA(&tokenizer, value);
        break;
      case tkProcessingInstruction:
        WriteProcessingInstruction(&tokenizer, value);
        break;
      case tkStartTag:
        WriteStartTag(&tokenizer, value);
        break;
      case tkStartOfSource:
        break;
      case tkEndOfSource:
        return;
    }
  }
}

void TXmlStandardDocReader::WriteAborted(const IXmlLocation* locator) {
  if (NextHandler()) Send(TXmlAbortedSignal(this, locator));
}

void TXmlStandardDocReader::WriteCompleted(const IXmlLocation* locator) {
  if (NextHandler()) Send(TXmlCompletedSignal(this, locator));
}

void TXmlStandardDocReader::WriteAttribute(const IXmlLocation* locator, WideStringView name, WideStringView value) {
  if (!NextHandler()) return;
  TXmlAttributeSignal signal(this, locator);
  signal.AttrName.assign(name);
  signal.AttrValue.assign(value);
  Send(signal);
}

void TXmlStandardDocReader::WriteCDATA(const IXmlLocation* locator, WideStringView data) {
  if (!NextHandler()) return;
  TXmlCDATASignal signal(this, locator);
  signal.Text.assign(data);
  Send(signal);
}

void TXmlStandardDocReader::WriteDecimalCharRef(const IXmlLocation* locator, WideStringView digits) {
  WriteCharRef(locator, digits, false);
}

void TXmlStandardDocReader::WriteHexCharRef(const IXmlLocation* locator, WideStringView digits) {
  WriteCharRef(locator, digits, true);
}

void TXmlStandardDocReader::WriteCharRef(const IXmlLocation* locator, WideStringView digits, bool hex) {
  // Beyond U+10FFFF there is no character: the value stops growing there, so no digit
  // string can overflow.
  uint32_t value = 0;
  for (const WideChar c : digits) {
    const uint32_t digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) break;
  }
  if (digits.empty() || value > 0x10FFFF || IsSurrogate(value)) {
    const WideString clue = (hex ? u"&x" : u"&") + WideString(digits) + u";";
    return NotifyError(XmlErrors::InvalidCharRef, locator, u"", clue);
  }
  if (!NextHandler()) return;
  TXmlPCDATASignal signal(this, locator);
  signal.FromCharRef = true;
  if (value > 0xFFFF)
    signal.Text = {HighSurrogateOf(value), LowSurrogateOf(value)};
  else
    signal.Text.assign(1, static_cast<WideChar>(value));
  Send(signal);
}

void TXmlStandardDocReader::WriteComment(const IXmlLocation* locator, WideStringView data) {
  if (!NextHandler()) return;
  TXmlCommentSignal signal(this, locator);
  signal.Text.assign(data);
  Send(signal);
}

void TXmlStandardDocReader::WritePCDATA(const IXmlLocation* locator, WideStringView data) {
  if (!NextHandler()) return;
  TXmlPCDATASignal signal(this, locator);
  signal.Text.assign(data);
  Send(signal);
}

void TXmlStandardDocReader::WriteProcessingInstruction(const IXmlLocation* locator, WideStringView content) {
  if (!NextHandler()) return;
  TXmlProcessingInstructionSignal signal(this, locator);
  const size_t targetEnd = SkipToWhiteSpace(content, 0);
  signal.PITarget.assign(content.substr(0, targetEnd));
  signal.Text.assign(content.substr(SkipWhiteSpace(content, targetEnd)));
  Send(signal);
}

void TXmlStandardDocReader::WriteStartDocument(const IXmlLocation* locator, WideStringView inputEncoding,
                                               TDomStandalone standalone, WideStringView declaredEncoding,
                                               WideStringView version) {
  if (!NextHandler()) return;
  TXmlStartDocumentSignal signal(this, locator);
  signal.ActualEncoding.assign(inputEncoding);
  signal.DeclEncoding.assign(declaredEncoding);
  signal.DeclVersion.assign(version);
  signal.StandaloneValue = static_cast<uint8_t>(standalone);
  Send(signal);
}

void TXmlStandardDocReader::WriteStartDocumentFragment(const IXmlLocation* locator, WideStringView inputEncoding) {
  if (!NextHandler()) return;
  TXmlStartDocumentFragmentSignal signal(this, locator);
  signal.DeclEncoding.assign(inputEncoding);
  Send(signal);
}

void TXmlStandardDocReader::WriteStartElement(const IXmlLocation* locator, WideStringView tagName) {
  if (!NextHandler()) return;
  TXmlStartElementSignal signal(this, locator);
  signal.QualifiedName.assign(tagName);
  Send(signal);
}

void TXmlStandardDocReader::WriteEndElement(const IXmlLocation* locator, WideStringView tagName) {
  if (!NextHandler()) return;
  TXmlEndElementSignal signal(this, locator);
  signal.QualifiedName.assign(tagName);
  Send(signal);
}

WideString TXmlStandardDocReader::WriteStartTag(const IXmlLocation* locator, WideStringView tagContent) {
  size_t i = SkipToWhiteSpace(tagContent, 0);
  WideString name(tagContent.substr(0, i));
  WriteStartElement(locator, name);
  TAttributeNamesSeen seen;
  for (i = SkipWhiteSpace(tagContent, i); i < tagContent.size();) {
    const size_t nameStart = i;
    while (i < tagContent.size() && !IsMarkupWhiteSpace(tagContent[i]) && tagContent[i] != u'=') ++i;
    const WideStringView attrName = tagContent.substr(nameStart, i - nameStart);
    i = SkipWhiteSpace(tagContent, i);
    if (i == tagContent.size() || tagContent[i] != u'=') {
      NotifyError(XmlErrors::EqualsExpected, locator, u"", u"=");
      break;
    }
    i = SkipWhiteSpace(tagContent, i + 1);
    if (i == tagContent.size() || (tagContent[i] != u'"' && tagContent[i] != u'\'')) {
      NotifyError(XmlErrors::AttributeQuoteExpected, locator, u"", u"\"");
      break;
    }
    const WideChar quote = tagContent[i];
    const size_t valueEnd = tagContent.find(quote, i + 1);
    if (valueEnd == WideStringView::npos) {
      NotifyError(XmlErrors::AttributeQuoteExpected, locator, u"", WideStringView(&quote, 1));
      break;
    }
    const WideStringView value = tagContent.substr(i + 1, valueEnd - i - 1);
    if (!seen.Add(attrName)) {
      NotifyError(XmlErrors::DuplicateAttribute, locator, u"", attrName);
      break;
    }
    WriteAttribute(locator, attrName, value);
    i = valueEnd + 1;
    if (i < tagContent.size() && !IsMarkupWhiteSpace(tagContent[i])) {
      NotifyError(XmlErrors::WhiteSpaceExpected, locator, u"", u" ");
      break;
    }
    i = SkipWhiteSpace(tagContent, i);
  }
  return name;
}

void TXmlStandardDocReader::WriteEmptyElementTag(const IXmlLocation* locator, WideStringView tagContent) {
  WriteEndElement(locator, WriteStartTag(locator, tagContent));
}

void TXmlStandardDocReader::WriteEntityRef(const IXmlLocation* locator, WideStringView name) {
  if (!NextHandler()) return;
  TXmlEntityRefSignal signal(this, locator);
  signal.RefName.assign(name);
  Send(signal);
}

void TXmlStandardDocReader::WriteDoctypeDecl(const IXmlLocation* locator, WideStringView declaration) {
  TXmlDoctypeDeclTokenizer tokenizer(declaration, locator->StartLine(), 0, locator->StartColumn() - 1,
                                     locator->StartChar() - 1, locator->StartByte(), locator->EntityUri());
  WideString name, publicId, systemId, subset;
  int64_t subsetByte = 0, subsetChar = 0, subsetColumn = 0, subsetLine = 0;
  for (tokenizer.NextToken(); tokenizer.TokenType() != dtkEnd; tokenizer.NextToken()) {
    if (const TXmlErrorKind kind = tokenizer.ErrorKind())
      return NotifyError(kind, &tokenizer, tokenizer.TokenText(), tokenizer.ErrorHint());
    switch (tokenizer.TokenType()) {
      case dtkName:
        name = tokenizer.TokenText();
        break;
      case dtkPublicId:
        publicId = tokenizer.TokenText();
        break;
      case dtkSystemId:
        systemId = tokenizer.TokenText();
        break;
      case dtkInternalSubset:
        subset = tokenizer.TokenText();
        // The position just before the subset, from which a reader of it starts.
        subsetByte = tokenizer.StartByte();
        subsetChar = tokenizer.StartChar() - 1;
        subsetColumn = tokenizer.StartColumn() - 1;
        subsetLine = subsetColumn == -1 ? tokenizer.StartLine() - 1 : tokenizer.StartLine();
        break;
      default:
        break;
    }
  }
  if (tokenizer.ErrorKind())
    return NotifyError(tokenizer.ErrorKind(), &tokenizer, tokenizer.TokenText(), tokenizer.ErrorHint());
  if (!NextHandler()) return;
  TXmlDoctypeSignal signal(this, locator);
  signal.DeclaredRootName = std::move(name);
  signal.PublicLiteral = std::move(publicId);
  signal.SystemLiteral = std::move(systemId);
  signal.SubsetText = std::move(subset);
  signal.SubsetByteNumber = subsetByte;
  signal.SubsetCharNumber = subsetChar;
  signal.SubsetColumn = subsetColumn;
  signal.SubsetLine = subsetLine;
  Send(signal);
}
