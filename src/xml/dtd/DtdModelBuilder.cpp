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

// The text inside the outer parentheses; "Parser error." unless it is non-empty.
WideString Inner(WideStringView text) {
  WideString inner;
  int32_t error = 0;
  StripParentheses(text, inner, error);
  if (error || inner.empty()) RaiseMalformed();
  return inner;
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
    if (!model.AddNotationDecl(notation->NotationName, CollapseWhiteSpace(notation->PublicLiteral),
                               OriginOf(notation->InPERef), notation->SystemLiteral, declaration))
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
                                   signal.NotationName, signal.SystemLiteral, CollapseWhiteSpace(signal.PublicLiteral),
                                   declaration))
    return ReportSignalError(signal.EmittingReader(), XmlErrors::RepeatedEntityDeclaration, signal.EntityName, u"",
                             &signal);
  if (!declaration->IsNotRecursive())
    ReportSignalError(signal.EmittingReader(), XmlErrors::RecursiveEntity, signal.EntityName, u"", &signal);
}

void TXmlDtdModelBuilder::AddElement(const TXmlElementTypeDeclarationSignal& signal) {
  const WideString contentSpec = TrimXmlWhiteSpace(signal.ContentSpec);
  TDtdElementContentType type = DTD_ELEMENT_CONTENTTYPE;
  if (contentSpec == u"EMPTY")
    type = DTD_EMPTY_CONTENTTYPE;
  else if (contentSpec == u"ANY")
    type = DTD_ANY_CONTENTTYPE;
  else if (contentSpec.find(u"#PCDATA") != WideString::npos)
    type = DTD_MIXED_CONTENTTYPE;
  TDtdElementDecl* declaration;
  if (!FTargetModel->AddElementDecl(signal.ElementName, type, OriginOf(signal.InPERef), declaration))
    return ReportSignalError(signal.EmittingReader(), XmlErrors::RepeatedElementTypeDeclaration, signal.ElementName,
                             u"", &signal);
  try {
    if (type == DTD_MIXED_CONTENTTYPE)
      BuildMixedModel(*declaration, contentSpec);
    else if (type == DTD_ELEMENT_CONTENTTYPE)
      BuildChildrenModel(*declaration, contentSpec);
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

// Two linear passes, no recursion: the first finds each group's separator (every
// separator of a group must be the same; none makes a sequence), the second builds
// the particles with a stack of open groups.
void TXmlDtdModelBuilder::BuildChildrenModel(TDtdElementDecl& declaration, WideStringView contentSpec) {
  const WideString text = TrimXmlWhiteSpace(contentSpec);
  std::vector<WideChar> separators;  // per group, in the order of their "("
  std::vector<size_t> open;
  for (const WideChar c : text) {
    if (c == u'(') {
      open.push_back(separators.size());
      separators.push_back(0);
    } else if (c == u')') {
      if (open.empty()) RaiseMalformed();
      open.pop_back();
    } else if (c == u',' || c == u'|') {
      if (open.empty()) RaiseMalformed();
      WideChar& separator = separators[open.back()];
      if (separator != 0 && separator != c) RaiseMalformed();
      separator = c;
    }
  }
  if (!open.empty() || text.empty() || text[0] != u'(') RaiseMalformed();
  // Takes the occurrence indicator at i, if any.
  const auto frequencyAt = [&](size_t& i) {
    if (i == text.size()) return cmfRequired;
    switch (text[i]) {
      case u'?':
        ++i;
        return cmfOptional;
      case u'*':
        ++i;
        return cmfZeroOrMore;
      case u'+':
        ++i;
        return cmfOneOrMore;
      default:
        return cmfRequired;
    }
  };
  std::vector<TDtdContentModel*> groups;
  size_t groupIndex = 0;
  bool expectItem = true;  // after "(" or a separator
  size_t i = 0;
  while (i < text.size()) {
    const WideChar c = text[i];
    if (IsMarkupWhiteSpace(c)) {
      ++i;
    } else if (c == u'(') {
      if (!expectItem) RaiseMalformed();
      if (int32_t(groups.size()) >= FLimits.MaxContentModelDepth) RaiseMalformed();
      TDtdContentModel* group =
          declaration.CreateContentModel(u"", separators[groupIndex++] == u'|' ? cmtChoice : cmtSequence);
      if (groups.empty())
        declaration.SetContentModel(group);
      else
        groups.back()->AppendSubModel(group);
      groups.push_back(group);
      ++i;
    } else if (c == u')') {
      if (expectItem) RaiseMalformed();
      ++i;
      groups.back()->SetFrequency(frequencyAt(i));
      groups.pop_back();
      expectItem = false;
      if (groups.empty()) break;
    } else if (c == u',' || c == u'|') {
      if (expectItem) RaiseMalformed();
      expectItem = true;
      ++i;
    } else {
      if (!expectItem) RaiseMalformed();
      const size_t nameStart = i;
      while (i < text.size() && !IsMarkupWhiteSpace(text[i]) &&
             WideStringView(u"(),|?*+").find(text[i]) == WideStringView::npos)
        ++i;
      const WideString name = text.substr(nameStart, i - nameStart);
      if (!TextIsName(name)) RaiseMalformed();
      TDtdContentModel* particle = declaration.CreateContentModel(name, cmtName);
      particle->SetFrequency(frequencyAt(i));
      groups.back()->AppendSubModel(particle);
      expectItem = false;
    }
  }
  if (i != text.size()) RaiseMalformed();  // something after the outermost group
}
