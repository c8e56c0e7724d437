#include "platform/base/Exception.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlDocReader.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

inline constexpr char16_t SMaxElementDepth[] = u"MaxElementDepth";

[[noreturn]] void RaiseInternal() { throw EParserException(SInternalParserException); }

}  // namespace

void TXmlCustomHandler::ReportSignalError(TXmlCustomReader* reader, TXmlErrorKind kind, WideStringView offendingText,
                                          WideStringView hint, const IXmlLocation* location) {
  if (reader) return reader->NotifyError(kind, location, offendingText, hint);
  if (ErrorSeverityOf(kind) == esFatal) throw EParserException(SSignalProcessingException);
}

void TXmlWFTestHandler::SetNextHandler(TXmlCustomHandler* handler) {
  SetWatchedReference(*this, FNextHandler, handler);
}

void TXmlWFTestHandler::Notification(TComponent* component, TOperation operation) {
  TXmlCustomHandler::Notification(component, operation);
  if (operation == opRemove && component == FNextHandler) FNextHandler = nullptr;
}

void TXmlWFTestHandler::Reset() { StartOf(Idle); }

void TXmlWFTestHandler::StartOf(TMode mode) {
  FMode = mode;
  FDoctypeSeen = false;
  FRootState = NoRootYet;
  FOpenElements.clear();
}

void TXmlWFTestHandler::ProcessSignal(const TXmlSignal& signal) {
  TCheckResult result;
  switch (FMode) {
    case Idle:
      if (SignalAs<TXmlStartDocumentSignal>(signal))
        StartOf(InDocument);
      else if (SignalAs<TXmlStartDocumentFragmentSignal>(signal))
        StartOf(InFragment);
      else if (SignalAs<TXmlStartExtDtdSignal>(signal))
        FMode = InExternalDtd;
      else if (SignalAs<TXmlStartIntDtdSignal>(signal))
        FMode = InInternalDtd;
      else if (SignalAs<TXmlAbortedSignal>(signal))
        Reset();
      else
        RaiseInternal();
      break;
    case InDocument:
      CheckInDocument(signal, result);
      break;
    case InFragment:
      CheckInFragment(signal, result);
      break;
    case InExternalDtd:
    case InInternalDtd:
      if (!(signal.GetScope() & ScopeDtd)) RaiseInternal();
      if (SignalAs<TXmlCompletedSignal>(signal) || SignalAs<TXmlAbortedSignal>(signal)) FMode = Idle;
      break;
  }
  if (result.Kind == 0) signal.CheckWellformedness(result.Kind, result.OffendingText, result.Hint);
  if (result.Kind == 0 && FMode == InDocument) CheckEntityDeclared(signal, result);
  if (result.Kind != 0)
    ReportSignalError(signal.EmittingReader(), result.Kind, result.OffendingText, result.Hint, &signal);
  else if (FNextHandler)
    FNextHandler->ProcessSignal(signal);
}

bool TXmlWFTestHandler::CheckStructure(const TXmlSignal& signal, TCheckResult& result) {
  if (const auto* doctype = SignalAs<TXmlDoctypeSignal>(signal)) {
    if (FDoctypeSeen) {
      result.Kind = XmlErrors::SecondDoctype;
    } else {
      FDoctypeSeen = true;
      if (FRootState != NoRootYet) result.Kind = XmlErrors::DoctypeAfterRoot;
    }
    if (result.Kind) result.OffendingText = doctype->DeclaredRootName;
  } else if (const auto* end = SignalAs<TXmlEndElementSignal>(signal)) {
    if (FOpenElements.empty() || FOpenElements.back() != end->QualifiedName) {
      result.Kind = XmlErrors::UnmatchedEndTag;
      result.OffendingText = end->QualifiedName;
    } else {
      FOpenElements.pop_back();
      if (FOpenElements.empty()) FRootState = RootClosed;
    }
  } else if (const auto* start = SignalAs<TXmlStartElementSignal>(signal)) {
    if (FMode == InDocument && FRootState == RootClosed) {
      result.Kind = XmlErrors::SecondRootElement;
      result.OffendingText = start->QualifiedName;
    } else if (FOpenElements.size() >= size_t(FLimits.MaxElementDepth)) {
      result.Kind = XmlErrors::LimitExceeded;
      result.OffendingText = start->QualifiedName;
      result.Hint = SMaxElementDepth;
    } else {
      FRootState = InRoot;
      FOpenElements.push_back(start->QualifiedName);
    }
  } else if (SignalAs<TXmlAbortedSignal>(signal)) {
    Reset();
  } else {
    return false;
  }
  return true;
}

void TXmlWFTestHandler::CheckInDocument(const TXmlSignal& signal, TCheckResult& result) {
  if (CheckStructure(signal, result)) return;
  const bool outsideRoot = FRootState != InRoot;
  if (const auto* text = SignalAs<TXmlPCDATASignal>(signal)) {
    if (!outsideRoot) return;
    if (text->FromCharRef) {
      result.Kind = XmlErrors::DataOutsideRoot;
      result.OffendingText = u"&#";
    } else if (text->Text.empty() || !TextIsS(text->Text)) {
      result.Kind = XmlErrors::DataOutsideRoot;
      result.OffendingText = text->Text;
    }
  } else if (const auto* cdata = SignalAs<TXmlCDATASignal>(signal)) {
    if (!outsideRoot) return;
    result.Kind = XmlErrors::DataOutsideRoot;
    result.OffendingText = cdata->Text;
  } else if (const auto* reference = SignalAs<TXmlEntityRefSignal>(signal)) {
    if (!outsideRoot) return;
    result.Kind = XmlErrors::DataOutsideRoot;
    result.OffendingText = u"&" + reference->RefName + u";";
  } else if (SignalAs<TXmlCompletedSignal>(signal)) {
    if (FRootState == NoRootYet) {
      result.Kind = XmlErrors::MissingRootElement;
    } else if (FRootState == InRoot) {
      result.Kind = XmlErrors::UnclosedElements;
      result.Hint = FOpenElements.back();
    }
    StartOf(Idle);
  } else if (!(signal.GetScope() & ScopeDocument)) {
    RaiseInternal();
  }
}

void TXmlWFTestHandler::CheckInFragment(const TXmlSignal& signal, TCheckResult& result) {
  if (CheckStructure(signal, result)) return;
  if (SignalAs<TXmlCompletedSignal>(signal)) {
    if (FRootState == InRoot) {
      result.Kind = XmlErrors::UnclosedElements;
      result.Hint = FOpenElements.back();
    }
    StartOf(Idle);
  } else if (!(signal.GetScope() & ScopeDocument)) {
    RaiseInternal();
  }
}

// A document without a document type declaration declares no entity: a reference to
// any but the five predefined ones breaks the rule "Entity Declared", in text and in
// attribute values alike. With a declaration, the DTD's agent answers for them.
void TXmlWFTestHandler::CheckEntityDeclared(const TXmlSignal& signal, TCheckResult& result) const {
  if (FDoctypeSeen) return;
  const auto undeclared = [&](WideStringView name) {
    if (TextIsPredefinedEntityName(name)) return false;
    result.Kind = XmlErrors::UndeclaredEntity;
    result.OffendingText = u"&" + WideString(name) + u";";
    return true;
  };
  if (const auto* reference = SignalAs<TXmlEntityRefSignal>(signal)) {
    undeclared(reference->RefName);
  } else if (const auto* attribute = SignalAs<TXmlAttributeSignal>(signal)) {
    // The value passed its own check: every "&" starts a complete reference.
    const WideString& value = attribute->AttrValue;
    for (size_t amp = value.find(u'&'); amp != WideString::npos; amp = value.find(u'&', amp + 1)) {
      const size_t end = value.find(u';', amp);
      if (value[amp + 1] != u'#' && undeclared(WideStringView(value).substr(amp + 1, end - amp - 1))) return;
    }
  }
}
