#include "xml/dtd/DtdModelBuilder.h"

#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/parser/XmlTokenizer.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

[[noreturn]] void RaiseInternal() { throw EParserException(SInternalParserException); }
[[noreturn]] void RaiseMalformed() { throw EParserException(SParserError); }

constexpr uint8_t StatusReading = 1, StatusExternalPassedOverStandalone = 2, StatusDeclarationsIgnored = 3,
                  StatusInternalComplete = 5;

// Takes a final "?", "*" or "+" off the text and answers its frequency.
TDtdFrequency TakeFrequency(WideString& text) {
  if (text.empty()) return cmfRequired;
  switch (text.back()) {
    case u'?': text.pop_back(); return cmfOptional;
    case u'*': text.pop_back(); return cmfZeroOrMore;
    case u'+': text.pop_back(); return cmfOneOrMore;
    default: return cmfRequired;
  }
}

// The text inside the outer parentheses; "Parser error." unless it is non-empty.
WideString Inner(WideStringView text) {
  WideString inner;
  int32_t error = 0;
  StripParentheses(text, inner, error);
  if (error || inner.empty()) RaiseMalformed();
  return inner;
}

// A public identifier as it is matched: runs of white space one blank, none at either
// end (XML 1.0 section 4.2.2).
WideString NormalizedPublicId(WideStringView literal) {
  WideString result;
  for (const WideChar c : literal) {
    if (!IsMarkupWhiteSpace(c)) result += c;
    else if (!result.empty() && result.back() != u' ') result += u' ';
  }
  if (!result.empty() && result.back() == u' ') result.pop_back();
  return result;
}

}  // namespace

void TXmlDtdModelBuilder::Reset() {
  FSubsetMode = smNone;
  FStandalone = sdUnspecified;
  FIgnoreDeclarations = false;
}

void TXmlDtdModelBuilder::ProcessSignal(const TXmlSignal& signal) {
  if (!FTargetModel) return;
  TDtdModel& model = *FTargetModel;
  TXmlCustomReader* reader = signal.EmittingReader();
  if (const auto* start = SignalAs<TXmlStartIntDtdSignal>(signal)) {
    model.SetPreparationStatus(StatusReading);
    model.InternalSubsetSystemId = start->SystemLiteral;
    FStandalone = static_cast<TDomStandalone>(start->StandaloneValue);
    FSubsetMode = smInternal;
  } else if (const auto* ext = SignalAs<TXmlStartExtDtdSignal>(signal)) {
    const uint8_t status = model.PreparationStatus();
    if (status == DtdPreparation::Unprepared || status == StatusInternalComplete ||
        status == DtdPreparation::Complete || status == DtdPreparation::NoDtd)
      model.SetPreparationStatus(StatusReading);
    model.ExternalSubsetSystemId = ext->SystemLiteral;
    FSubsetMode = smExternal;
  } else if (SignalAs<TXmlCompletedSignal>(signal)) {
    if (FSubsetMode == smNone) RaiseInternal();
    if (model.PreparationStatus() == StatusReading)
      model.SetPreparationStatus(FSubsetMode == smInternal ? StatusInternalComplete : DtdPreparation::Complete);
    FSubsetMode = smNone;
    FStandalone = sdUnspecified;
  } else if (SignalAs<TXmlPEReferenceFoundSignal>(signal)) {
    if (FSubsetMode == smInternal) model.InternalSubsetHasPEReferences = true;
  } else if (SignalAs<TXmlExternalPEReferenceSignal>(signal)) {
    if (FSubsetMode != smInternal) RaiseInternal();
    if (FStandalone == sdYes) {
      model.SetPreparationStatus(StatusExternalPassedOverStandalone);
    } else {
      FIgnoreDeclarations = true;
      model.SetPreparationStatus(StatusDeclarationsIgnored);
    }
  } else if (SignalAs<TXmlAbortedSignal>(signal)) {
    Reset();
  } else if (FIgnoreDeclarations && (signal.GetScope() & ScopeDtd)) {
    return;  // every declaration after the passed-over entity, element types too
  } else if (const auto* attr = SignalAs<TXmlAttributeDefinitionSignal>(signal)) {
    std::vector<WideString> enumeration;
    for (int32_t i = 0; i < attr->EnumValues.Count(); ++i) enumeration.push_back(attr->EnumValues.Get(i));
    TDtdAttributeDecl* declaration;
    if (!model.AddAttributeDecl(attr->ElementName, attr->AttrName, attr->DefaultText, OriginOf(attr->InPERef),
                                static_cast<TDtdDefaultKind>(attr->AttrConstraint),
                                static_cast<TDtdAttrType>(attr->AttrType), enumeration, declaration))
      ReportSignalError(reader, XmlErrors::RepeatedAttributeDeclaration, attr->AttrName, u"", &signal);
  } else if (const auto* entity = SignalAs<TXmlEntityDeclarationSignal>(signal)) {
    AddEntity(*entity);
  } else if (const auto* notation = SignalAs<TXmlNotationDeclarationSignal>(signal)) {
    TDtdNotationDecl* declaration;
    if (!model.AddNotationDecl(notation->NotationName, NormalizedPublicId(notation->PublicLiteral),
                               OriginOf(notation->InPERef),
                               notation->SystemLiteral, declaration))
      ReportSignalError(reader, XmlErrors::RepeatedNotationDeclaration, notation->NotationName, u"", &signal);
  } else if (const auto* element = SignalAs<TXmlElementTypeDeclarationSignal>(signal)) {
    AddElement(*element);
  } else if (!(signal.GetScope() & ScopeDtd)) {
    RaiseInternal();
  }
}

void TXmlDtdModelBuilder::AddEntity(const TXmlEntityDeclarationSignal& signal) {
  WideString value;
  try {
    value = ResolveCharRefs(signal.EntityValue);
  } catch (const EConvertError&) {
    return ReportSignalError(signal.EmittingReader(), XmlErrors::InvalidCharRef, signal.EntityValue, u"", &signal);
  }
  TDtdEntityDecl* declaration;
  if (!FTargetModel->AddEntityDecl(signal.EntityName, value, OriginOf(signal.InPERef), signal.BaseUri,
                                   signal.NotationName, signal.SystemLiteral, NormalizedPublicId(signal.PublicLiteral),
                                   declaration))
    return ReportSignalError(signal.EmittingReader(), XmlErrors::RepeatedEntityDeclaration, signal.EntityName, u"",
                             &signal);
  if (!declaration->IsNotRecursive())
    ReportSignalError(signal.EmittingReader(), XmlErrors::RecursiveEntity, signal.EntityName, u"", &signal);
}

void TXmlDtdModelBuilder::AddElement(const TXmlElementTypeDeclarationSignal& signal) {
  const WideString contentSpec = TrimXmlWhiteSpace(signal.ContentSpec);
  TDtdElementContentType type = DTD_ELEMENT_CONTENTTYPE;
  if (contentSpec == u"EMPTY") type = DTD_EMPTY_CONTENTTYPE;
  else if (contentSpec == u"ANY") type = DTD_ANY_CONTENTTYPE;
  else if (contentSpec.find(u"#PCDATA") != WideString::npos) type = DTD_MIXED_CONTENTTYPE;
  TDtdElementDecl* declaration;
  if (!FTargetModel->AddElementDecl(signal.ElementName, type, OriginOf(signal.InPERef), declaration))
    return ReportSignalError(signal.EmittingReader(), XmlErrors::RepeatedElementTypeDeclaration, signal.ElementName,
                             u"", &signal);
  try {
    if (type == DTD_MIXED_CONTENTTYPE) BuildMixedModel(*declaration, contentSpec);
    else if (type == DTD_ELEMENT_CONTENTTYPE) BuildChildrenModel(*declaration, contentSpec);
  } catch (const Exception&) {
    ReportSignalError(signal.EmittingReader(), XmlErrors::ContentModelNotBuilt, u"", u"", &signal);
  }
}

void TXmlDtdModelBuilder::BuildMixedModel(TDtdElementDecl& declaration, WideStringView contentSpec) {
  WideString text = TrimXmlWhiteSpace(contentSpec);
  const bool star = !text.empty() && text.back() == u'*';
  if (star) text.pop_back();
  if (text.empty() || text.back() != u')') RaiseMalformed();
  const WideString inner = Inner(text);
  TDtdContentModel* choice = declaration.CreateContentModel(u"", cmtChoice);
  choice->SetFrequency(star ? cmfZeroOrMore : cmfRequired);
  declaration.SetContentModel(choice);
  if (inner == u"#PCDATA") return;
  const size_t bar = inner.find(u'|');
  if (!star || bar == WideString::npos) RaiseMalformed();
  for (WideStringView rest = WideStringView(inner).substr(bar + 1);;) {
    const size_t next = rest.find(u'|');
    const WideString name = TrimXmlWhiteSpace(rest.substr(0, next));
    if (name.empty() || !TextIsName(name)) RaiseMalformed();
    choice->AppendSubModel(declaration.CreateContentModel(name, cmtName));
    if (next == WideStringView::npos) return;
    rest.remove_prefix(next + 1);
  }
}

void TXmlDtdModelBuilder::BuildChildrenModel(TDtdElementDecl& declaration, WideStringView contentSpec) {
  BuildGroup(declaration, nullptr, contentSpec, 0);
}

void TXmlDtdModelBuilder::BuildGroup(TDtdElementDecl& declaration, TDtdContentModel* parent, WideStringView text,
                                     int32_t depth) {
  if (depth >= FLimits.MaxContentModelDepth) RaiseMalformed();
  WideString group = TrimXmlWhiteSpace(text);
  const TDtdFrequency frequency = TakeFrequency(group);
  if (group.empty() || group.back() != u')') RaiseMalformed();
  const WideString inner = Inner(group);
  // The separator is the first "," or "|" outside inner groups; none counts as ",".
  WideChar separator = u',';
  int32_t nesting = 0;
  for (const WideChar c : inner) {
    if (c == u'(') ++nesting;
    else if (c == u')' && --nesting < 0) RaiseMalformed();
    else if (nesting == 0 && (c == u',' || c == u'|')) {
      separator = c;
      break;
    }
  }
  TDtdContentModel* particle = declaration.CreateContentModel(u"", separator == u',' ? cmtSequence : cmtChoice);
  particle->SetFrequency(frequency);
  if (parent) parent->AppendSubModel(particle);
  else declaration.SetContentModel(particle);
  size_t partStart = 0;
  nesting = 0;
  for (size_t i = 0; i <= inner.size(); ++i) {
    if (i < inner.size()) {
      if (inner[i] == u'(') ++nesting;
      else if (inner[i] == u')') --nesting;
      if (nesting < 0) RaiseMalformed();
      if (nesting > 0 || inner[i] != separator) continue;
    } else if (nesting != 0) {
      RaiseMalformed();
    }
    WideString part = TrimXmlWhiteSpace(WideStringView(inner).substr(partStart, i - partStart));
    partStart = i + 1;
    if (part.starts_with(u'(')) {
      BuildGroup(declaration, particle, part, depth + 1);
      continue;
    }
    const TDtdFrequency partFrequency = TakeFrequency(part);
    if (!TextIsName(part)) RaiseMalformed();
    TDtdContentModel* name = declaration.CreateContentModel(part, cmtName);
    name->SetFrequency(partFrequency);
    particle->AppendSubModel(name);
  }
}
