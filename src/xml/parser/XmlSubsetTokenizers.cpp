#include "xml/parser/XmlSubsetTokenizers.h"

#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

inline constexpr char16_t SMaxEntityExpansionChars[] = u"MaxEntityExpansionChars";

TXmlTextPos StartOf(const IXmlLocation& l) {
  return {l.StartByte(), l.StartChar(), l.StartColumn(), l.StartLine(), l.StartTabs()};
}
TXmlTextPos EndOf(const IXmlLocation& l) { return {l.EndByte(), l.EndChar(), l.EndColumn(), l.EndLine(), l.EndTabs()}; }

// The parts of an attribute definition, read from the collected text at `i`.
struct TAttrDefReader {
  WideStringView Text;
  size_t I = 0;

  bool AtWhiteSpace() const { return I < Text.size() && IsMarkupWhiteSpace(Text[I]); }
  bool SkipWhiteSpace() {
    const size_t start = I;
    while (AtWhiteSpace()) ++I;
    return I > start;
  }
  // A run up to white space, "(", ")", "|" or a quote.
  WideStringView Word() {
    const size_t start = I;
    while (I < Text.size() && !IsMarkupWhiteSpace(Text[I]) && Text[I] != u'(' && Text[I] != u')' && Text[I] != u'|' &&
           Text[I] != u'"' && Text[I] != u'\'')
      ++I;
    return Text.substr(start, I - start);
  }
  // "(" tokens separated by "|" ")"; false when malformed.
  bool Enumeration(TUtilsWideStringList& values) {
    if (I >= Text.size() || Text[I] != u'(') return false;
    const size_t close = Text.find(u')', I);
    if (close == WideStringView::npos) return false;
    WideStringView inner = Text.substr(I + 1, close - I - 1);
    I = close + 1;
    for (;;) {
      const size_t bar = inner.find(u'|');
      const WideString token = TrimXmlWhiteSpace(inner.substr(0, bar));
      if (token.empty()) return false;
      values.Add(token);
      if (bar == WideStringView::npos) return true;
      inner.remove_prefix(bar + 1);
    }
  }
  bool Literal(WideString& value) {
    if (I >= Text.size() || (Text[I] != u'"' && Text[I] != u'\'')) return false;
    const size_t close = Text.find(Text[I], I + 1);
    if (close == WideStringView::npos) return false;
    value.assign(Text.substr(I + 1, close - I - 1));
    I = close + 1;
    return true;
  }
};

struct TAttrTypeKeyword {
  WideStringView Keyword;
  uint8_t Type;
};
constexpr TAttrTypeKeyword AttrTypeKeywords[] = {
    {u"CDATA", 0},  {u"NOTATION", 1}, {u"ID", 2},      {u"IDREF", 3},    {u"IDREFS", 4},
    {u"ENTITY", 5}, {u"ENTITIES", 6}, {u"NMTOKEN", 7}, {u"NMTOKENS", 8},
};
constexpr uint8_t AttrTypeNotation = 1, AttrTypeNmToken = 7;
constexpr uint8_t DefaultLiteral = 0, DefaultFixed = 1, DefaultImplied = 2, DefaultRequired = 3;

}  // namespace

TXmlCustomSubsetTokenizer::TXmlCustomSubsetTokenizer(TXmlSimpleInputSource* inputSource, TDomPERepository* repository)
    : FDetail((!inputSource || !repository) ? throw ENot_Supported_Err(SNot_Supported_Err) : inputSource, false),
      FTokenType(stStart),
      FPERepository(repository),
      FMaxEntityValueChars(DefaultXmlLimits().MaxEntityExpansionChars) {
  FDetail.OnPEReference = [this](WideStringView name, WideString& text, WideString& publicId, WideString& systemId,
                                 WideString& baseUri) {
    return ResolvePEReference(name, text, publicId, systemId, baseUri);
  };
  FDetail.SetLimits(DefaultXmlLimits());
}

TXmlCustomSubsetTokenizer::~TXmlCustomSubsetTokenizer() = default;

void TXmlCustomSubsetTokenizer::SetLimits(const TXmlLimits& limits) {
  FDetail.SetLimits(limits);
  FMaxEntityValueChars = limits.MaxEntityExpansionChars;
}

TXmlErrorKind TXmlCustomSubsetTokenizer::ResolvePEReference(WideStringView name, WideString& replacementText,
                                                            WideString& publicId, WideString& systemId,
                                                            WideString& baseUri) {
  if (OnPEReferenceFound) OnPEReferenceFound(FDetail);
  baseUri.clear();
  if (FDetail.IsBeingRead(name)) return XmlErrors::RecursiveEntity;
  return FPERepository->GetReplacementInfo(name, LoadsExternalPEs(), replacementText, publicId, systemId);
}

template <typename TSignal>
TSignal& TXmlCustomSubsetTokenizer::NewSignal() {
  auto signal = std::make_unique<TSignal>(nullptr, FDeclStart, EndOf(FDetail), FDetail.EntityUri(), nullptr, nullptr);
  TSignal& result = *signal;
  FCurrentSignal = std::move(signal);
  return result;
}

bool TXmlCustomSubsetTokenizer::Advance() {
  FDetail.NextToken();
  if (const TXmlErrorKind kind = FDetail.ErrorKind()) {
    FErrorKind = kind;
    FErrorHint = FDetail.ErrorHint();
    return false;
  }
  return true;
}

bool TXmlCustomSubsetTokenizer::SkipWhiteSpace(bool& seen) {
  seen = false;
  for (;;) {
    if (!Advance()) return false;
    if (FDetail.TokenType() != ddWhiteSpace) return true;
    seen = true;
  }
}

bool TXmlCustomSubsetTokenizer::RequireWhiteSpace() {
  bool seen;
  if (!SkipWhiteSpace(seen)) return false;
  return seen || Fail(u" ");
}

bool TXmlCustomSubsetTokenizer::Fail(WideStringView hint) {
  FErrorKind = FDefaultError;
  FErrorHint.assign(hint);
  return false;
}

// The ">" that is current ends the declaration; it must lie in the entity the
// declaration began in.
bool TXmlCustomSubsetTokenizer::ExpectDeclEnd() {
  if (FDetail.TokenType() != ddDeclEnd) return Fail(u">");
  FErrorKind = FDetail.CurrentLevelId() == FDeclLevel ? 0 : XmlErrors::DeclarationPENesting;
  FErrorHint.clear();
  return true;
}

void TXmlCustomSubsetTokenizer::NextToken() {
  FCurrentSignal.reset();
  if (FTokenType == stEnd) return;
  FErrorKind = 0;
  FErrorHint.clear();
  if (!FCollectedAttrDefs.empty()) return DeliverAttributeDefinition();
  ReadDeclaration();
  if (ErrorSeverityOf(FErrorKind) == esFatal) FCurrentSignal.reset();
}

void TXmlCustomSubsetTokenizer::ReadDeclaration() {
  for (;;) {
    FDetail.NextToken();
    FDeclStart = StartOf(FDetail);
    FDeclLevel = FDetail.CurrentLevelId();
    const TXmlDtdDetailTokenType type = FDetail.TokenType();
    if (const TXmlErrorKind kind = FDetail.ErrorKind()) {
      FErrorKind = kind;
      FErrorHint = FDetail.ErrorHint();
      if (type == ddPEReference) {
        FTokenType = stUnresolvedPEReference;
        const WideString& token = FDetail.TokenText();
        NewSignal<TXmlExternalPEReferenceSignal>().PEName = token.substr(1, token.size() - 2);
      } else {
        FTokenType = type == ddEndOfSource ? stEnd : stInvalid;
      }
      return;
    }
    switch (type) {
      case ddAttlistDeclStart:
        ReadAttListDecl();
        if (!FCurrentSignal && !FErrorKind) continue;  // a list without definitions
        return;
      case ddComment:
        FTokenType = stComment;
        NewSignal<TXmlCommentSignal>().Text = FDetail.TokenText();
        return;
      case ddCondSectStart:
        ReadCondSectStart();
        if (FTokenType != stStart) return;
        continue;
      case ddCondSectEnd:
        if (CloseCondSect()) continue;
        return;
      case ddElementDeclStart:
        return ReadElementDecl();
      case ddEntityDeclStart:
        return ReadEntityDecl();
      case ddNotationDeclStart:
        return ReadNotationDecl();
      case ddPEReference: {
        // Passed over by the layer below: the entity is external and not loaded.
        FTokenType = stUnresolvedPEReference;
        const WideString& token = FDetail.TokenText();
        NewSignal<TXmlExternalPEReferenceSignal>().PEName = token.substr(1, token.size() - 2);
        return;
      }
      case ddPITarget:
        return ReadProcessingInstruction();
      case ddWhiteSpace:
        FTokenType = stWhiteSpace;
        return;
      case ddEndOfSource:
        FTokenType = stEnd;
        if (!FCondSectStartLevels.empty()) {
          FErrorKind = XmlErrors::UnclosedCondSect;
          FErrorHint = u"]]>";
        }
        return;
      default:
        FTokenType = stInvalid;
        FErrorKind = XmlErrors::DeclarationExpected;
        FErrorHint = FDetail.TokenText();
        return;
    }
  }
}

void TXmlCustomSubsetTokenizer::ReadCondSectStart() {
  FTokenType = stConditionalSectionMark;
  if (!FDetail.IsInParameterEntity() && !ConditionalSectionsAllowed) {
    FErrorKind = XmlErrors::CondSectNotAllowed;
    return;
  }
  FDefaultError = XmlErrors::MalformedCondSect;
  const uint64_t startLevel = FDetail.CurrentLevelId();
  bool seen;
  if (!SkipWhiteSpace(seen)) return;
  const WideString keyword = FDetail.TokenText();
  if (FDetail.TokenType() != ddNameToken || (keyword != u"INCLUDE" && keyword != u"IGNORE")) return (void)Fail();
  if (!SkipWhiteSpace(seen)) return;
  if (FDetail.TokenType() != ddOpeningBracket) return (void)Fail(u"[");
  FCondSectStartLevels.push_back(startLevel);
  FCondSectBracketLevels.push_back(FDetail.CurrentLevelId());
  if (keyword == u"IGNORE") {
    FDetail.SkipIgnoredSection();
    if (FDetail.ErrorKind()) {
      FErrorKind = FDetail.ErrorKind();
      return;
    }
    if (FDetail.TokenType() != ddCondSectEnd) {
      FTokenType = stEnd;
      FErrorKind = XmlErrors::UnclosedCondSect;
      FErrorHint = u"]]>";
      return;
    }
    if (!CloseCondSect()) return;
  }
  FTokenType = stStart;  // read on
}

bool TXmlCustomSubsetTokenizer::CloseCondSect() {
  FTokenType = stConditionalSectionMark;
  if (FCondSectStartLevels.empty()) {
    FErrorKind = XmlErrors::MalformedCondSect;
    FErrorHint = u"]]>";
    return false;
  }
  const uint64_t level = FDetail.CurrentLevelId();
  const bool startElsewhere = FCondSectStartLevels.back() != level;
  const bool bracketElsewhere = FCondSectBracketLevels.back() != level;
  FCondSectStartLevels.pop_back();
  FCondSectBracketLevels.pop_back();
  if (startElsewhere || bracketElsewhere) {
    FErrorKind = XmlErrors::CondSectPENesting;
    FErrorHint = startElsewhere ? u"[" : u"]]>";
    return false;
  }
  return true;
}

bool TXmlCustomSubsetTokenizer::TakeLiteral(WideString& value) {
  if (FDetail.TokenType() != ddQuotedLiteral) return Fail(u"\"");
  const WideString& token = FDetail.TokenText();
  value = token.substr(1, token.size() - 2);
  return true;
}

void TXmlCustomSubsetTokenizer::ReadElementDecl() {
  FTokenType = stElementTypeDecl;
  FDefaultError = XmlErrors::ContentModelNotBuilt;
  if (!RequireWhiteSpace()) return;
  if (FDetail.TokenType() != ddNameToken) return (void)Fail();
  const WideString name = FDetail.TokenText();
  if (!RequireWhiteSpace()) return;
  WideString contentSpec;
  FOpeningBracketLevels.clear();
  TXmlErrorKind nesting = 0;
  while (FDetail.TokenType() != ddDeclEnd) {
    const TXmlDtdDetailTokenType type = FDetail.TokenType();
    if (type == ddEndOfSource) return (void)Fail(u">");
    const WideString& text = FDetail.TokenText();
    if (type == ddPunctuation && text == u"(") {
      FOpeningBracketLevels.push_back(FDetail.CurrentLevelId());
    } else if (type == ddPunctuation && text.starts_with(u')') && !FOpeningBracketLevels.empty()) {
      if (FOpeningBracketLevels.back() != FDetail.CurrentLevelId()) nesting = XmlErrors::GroupPENesting;
      FOpeningBracketLevels.pop_back();
    }
    contentSpec += text;
    if (!Advance()) return;
  }
  ExpectDeclEnd();
  if (!FErrorKind) FErrorKind = nesting;
  auto& signal = NewSignal<TXmlElementTypeDeclarationSignal>();
  signal.ElementName = name;
  signal.ContentSpec = contentSpec;
  signal.InPERef = FDetail.IsInParameterEntity();
}

void TXmlCustomSubsetTokenizer::ReadAttListDecl() {
  FTokenType = stAttributeDefinition;
  FDefaultError = XmlErrors::MalformedAttListDecl;
  FCollectedAttrDefs.clear();
  if (!RequireWhiteSpace()) return;
  if (FDetail.TokenType() != ddNameToken) return (void)Fail();
  FCurrentAttListElement = FDetail.TokenText();
  if (!TextIsName(FCurrentAttListElement)) {
    FErrorKind = XmlErrors::InvalidAttListName;
    FErrorHint = FCurrentAttListElement;
    return;
  }
  WideString defs;
  for (Advance(); !FErrorKind && FDetail.TokenType() != ddDeclEnd; Advance()) {
    if (FDetail.TokenType() == ddEndOfSource) return (void)Fail(u">");
    defs += FDetail.TokenText();
  }
  if (FErrorKind) return;
  FAttListInPE = FDetail.IsInParameterEntity();
  if (!ExpectDeclEnd()) return;
  if (OnAttListDeclared) OnAttListDeclared(FCurrentAttListElement, FDetail);
  FCollectedAttrDefs = TrimXmlWhiteSpace(defs);
  if (!FCollectedAttrDefs.empty()) DeliverAttributeDefinition();
}

// Takes the first definition off the collected text; a syntax fault drops the rest.
void TXmlCustomSubsetTokenizer::DeliverAttributeDefinition() {
  FTokenType = stAttributeDefinition;
  TAttrDefReader reader{FCollectedAttrDefs};
  const auto fault = [this] {
    FErrorKind = XmlErrors::MalformedAttListDecl;
    FErrorHint = FCollectedAttrDefs;
    FCollectedAttrDefs.clear();
  };
  auto signal = std::make_unique<TXmlAttributeDefinitionSignal>(nullptr, FDeclStart, EndOf(FDetail),
                                                                FDetail.EntityUri(), nullptr, nullptr);
  signal->ElementName = FCurrentAttListElement;
  signal->InPERef = FAttListInPE;
  signal->AttrName.assign(reader.Word());
  if (signal->AttrName.empty() || !reader.SkipWhiteSpace()) return fault();
  if (reader.I < reader.Text.size() && reader.Text[reader.I] == u'(') {
    signal->AttrType = AttrTypeNmToken;
    if (!reader.Enumeration(signal->EnumValues)) return fault();
  } else {
    const WideStringView keyword = reader.Word();
    const auto* known = std::find_if(std::begin(AttrTypeKeywords), std::end(AttrTypeKeywords),
                                     [&](const TAttrTypeKeyword& k) { return k.Keyword == keyword; });
    if (known == std::end(AttrTypeKeywords)) return fault();
    signal->AttrType = known->Type;
    if (known->Type == AttrTypeNotation && (!reader.SkipWhiteSpace() || !reader.Enumeration(signal->EnumValues)))
      return fault();
  }
  if (!reader.SkipWhiteSpace()) return fault();
  const WideStringView keyword =
      reader.I < reader.Text.size() && reader.Text[reader.I] == u'#' ? reader.Word() : WideStringView();
  if (keyword == u"#REQUIRED") {
    signal->AttrConstraint = DefaultRequired;
  } else if (keyword == u"#IMPLIED") {
    signal->AttrConstraint = DefaultImplied;
  } else {
    if (keyword == u"#FIXED") {
      signal->AttrConstraint = DefaultFixed;
      if (!reader.SkipWhiteSpace()) return fault();
    } else if (!keyword.empty()) {
      return fault();
    }
    if (!reader.Literal(signal->DefaultText)) return fault();
  }
  const bool separated = reader.SkipWhiteSpace();
  if (reader.I < reader.Text.size() && !separated) return fault();
  FCollectedAttrDefs.erase(0, reader.I);
  FCurrentSignal = std::move(signal);
}

bool TXmlCustomSubsetTokenizer::ReadExternalId(WideString& publicLiteral, WideString& systemLiteral,
                                               bool systemOptional, bool& endSeen) {
  endSeen = false;
  const WideString keyword = FDetail.TokenText();
  if (FDetail.TokenType() != ddNameToken || (keyword != u"SYSTEM" && keyword != u"PUBLIC")) return Fail();
  if (keyword == u"PUBLIC") {
    if (!RequireWhiteSpace() || !TakeLiteral(publicLiteral)) return false;
    if (!TextIsPubidLiteral(publicLiteral)) return Fail();
  }
  bool seen;
  if (!SkipWhiteSpace(seen)) return false;
  if (systemOptional && keyword == u"PUBLIC" && FDetail.TokenType() == ddDeclEnd) {
    endSeen = true;
    return true;
  }
  if (!seen) return Fail(u" ");
  if (!TakeLiteral(systemLiteral)) return false;
  return TextIsSystemLiteral(systemLiteral) || Fail();
}

// Internal parameter entities hold expanded values already; the loaded text of an
// external one is read in place, so references in it are expanded in turn. The texts
// being read form a stack (no recursion); an entity already on it answers 86.
bool TXmlCustomSubsetTokenizer::ExpandEntityValue(WideStringView literal, WideString& value) {
  value.clear();
  const bool allowed = ResolvesPEsInMarkup() || FDetail.IsInParameterEntity();
  struct TText {
    WideString Text, Name;
    size_t Pos = 0;
  };
  std::vector<TText> texts{{WideString(literal), {}}};
  while (!texts.empty()) {
    if (texts.back().Pos >= texts.back().Text.size()) {
      texts.pop_back();
      continue;
    }
    TText& top = texts.back();
    const WideStringView text = top.Text;
    const size_t i = top.Pos;
    const size_t end = text[i] == u'%' ? text.find(u';', i) : WideStringView::npos;
    const WideStringView name = end == WideStringView::npos ? WideStringView() : text.substr(i + 1, end - i - 1);
    if (name.empty() || !TextIsName(name)) {
      value += text[i];
      ++top.Pos;
    } else if (!allowed) {
      FErrorKind = XmlErrors::PEReferenceInMarkup;
      FErrorHint.assign(text.substr(i, end - i + 1));
      return false;
    } else {
      top.Pos = end + 1;
      WideString replacement, publicId, systemId, baseUri;
      TXmlErrorKind kind = ResolvePEReference(name, replacement, publicId, systemId, baseUri);
      const bool external = !publicId.empty() || !systemId.empty();
      if (external && std::any_of(texts.begin(), texts.end(), [&](const TText& t) { return t.Name == name; }))
        kind = XmlErrors::RecursiveEntity;
      if (!IsNonErrorKind(kind)) {
        FErrorKind = kind;
        FErrorHint.assign(name);
        value += text.substr(i, end - i + 1);
      } else if (external) {
        texts.push_back({std::move(replacement), WideString(name)});
      } else {
        value += replacement;
      }
    }
    if (int64_t(value.size()) > FMaxEntityValueChars) {
      FErrorKind = XmlErrors::LimitExceeded;
      FErrorHint = SMaxEntityExpansionChars;
      return false;
    }
  }
  return true;
}

void TXmlCustomSubsetTokenizer::ReadEntityDecl() {
  FTokenType = stEntityDecl;
  FDefaultError = XmlErrors::MalformedEntityDecl;
  if (!RequireWhiteSpace()) return;
  const bool parameter = FDetail.TokenType() == ddPercentToken && FDetail.TokenText() == u"%";
  if (parameter) {
    FTokenType = stParameterEntityDecl;
    FDefaultError = XmlErrors::MalformedPEDecl;
    if (!RequireWhiteSpace()) return;
  }
  if (FDetail.TokenType() != ddNameToken) return (void)Fail();
  const WideString name = FDetail.TokenText();
  const WideString baseUri = FDetail.BaseUri();
  if (!RequireWhiteSpace()) return;
  WideString value, publicLiteral, systemLiteral, notation;
  bool internal = FDetail.TokenType() == ddQuotedLiteral;
  if (internal) {
    WideString literal;
    TakeLiteral(literal);
    if (!ExpandEntityValue(literal, value) && ErrorSeverityOf(FErrorKind) == esFatal) return;
    const TXmlErrorKind expansionError = FErrorKind;
    bool seen;
    if (!SkipWhiteSpace(seen)) return;
    FErrorKind = expansionError;
  } else {
    bool endSeen;
    if (!ReadExternalId(publicLiteral, systemLiteral, false, endSeen)) return;
    bool seen;
    if (!SkipWhiteSpace(seen)) return;
    if (!parameter && FDetail.TokenType() == ddNameToken && FDetail.TokenText() == u"NDATA") {
      if (!seen) return (void)Fail(u" ");
      if (!RequireWhiteSpace()) return;
      if (FDetail.TokenType() != ddNameToken || !TextIsName(FDetail.TokenText())) return (void)Fail();
      notation = FDetail.TokenText();
      if (!SkipWhiteSpace(seen)) return;
    }
  }
  const TXmlErrorKind pending = FErrorKind;
  if (!ExpectDeclEnd()) return;
  if (!FErrorKind) FErrorKind = pending;
  if (parameter) {
    try {
      const bool added = internal ? FPERepository->AddInternalPE(name, value)
                                  : FPERepository->AddExternalPE(name, baseUri, publicLiteral, systemLiteral);
      if (!added && !FErrorKind) FErrorKind = XmlErrors::RepeatedPEDeclaration;
    } catch (const Exception&) {
      FErrorKind = XmlErrors::MalformedPEDecl;
      FErrorHint = name;
      return;
    }
  }
  const auto fill = [&](auto& signal) -> auto& {
    signal.EntityName = name;
    signal.EntityValue = EscapeQuotes(value);
    signal.BaseUri = baseUri;
    signal.PublicLiteral = publicLiteral;
    signal.SystemLiteral = systemLiteral;
    return signal;
  };
  if (parameter) {
    fill(NewSignal<TXmlParameterEntityDeclarationSignal>());
    return;
  }
  auto& signal = fill(NewSignal<TXmlEntityDeclarationSignal>());
  signal.NotationName = notation;
  signal.InPERef = FDetail.IsInParameterEntity();
}

void TXmlCustomSubsetTokenizer::ReadNotationDecl() {
  FTokenType = stNotationDecl;
  FDefaultError = XmlErrors::MalformedNotationDecl;
  if (!RequireWhiteSpace()) return;
  if (FDetail.TokenType() != ddNameToken) return (void)Fail();
  const WideString name = FDetail.TokenText();
  if (!RequireWhiteSpace()) return;
  WideString publicLiteral, systemLiteral;
  bool endSeen;
  if (!ReadExternalId(publicLiteral, systemLiteral, true, endSeen)) return;
  if (!endSeen) {
    bool seen;
    if (!SkipWhiteSpace(seen)) return;
  }
  if (!ExpectDeclEnd()) return;
  auto& signal = NewSignal<TXmlNotationDeclarationSignal>();
  signal.NotationName = name;
  signal.PublicLiteral = publicLiteral;
  signal.SystemLiteral = systemLiteral;
  signal.InPERef = FDetail.IsInParameterEntity();
}

void TXmlCustomSubsetTokenizer::ReadProcessingInstruction() {
  FTokenType = stProcessingInstruction;
  const WideString target = FDetail.TokenText();
  if (!Advance()) return;
  WideString data;
  if (FDetail.TokenType() == ddWhiteSpace) {
    if (!Advance()) return;
  } else if (FDetail.TokenType() == ddPIData && !FDetail.TokenText().empty()) {
    FErrorKind = XmlErrors::WhiteSpaceExpected;
    FErrorHint = u" ";
    return;
  }
  if (FDetail.TokenType() != ddPIData) {
    FErrorKind = XmlErrors::UnterminatedProcessingInstruction;
    FErrorHint = u"?>";
    return;
  }
  auto& signal = NewSignal<TXmlProcessingInstructionSignal>();
  signal.PITarget = target;
  signal.Text = FDetail.TokenText();
}

// ---- the two subsets ----

namespace {

TXmlErrorKind DeclarationError(const TXmlInputSource* source) {
  if (!source) return 0;
  if (source->HasMalformedDeclaration() || source->DeclarationKind() == dkXmlDeclaration)
    return XmlErrors::TextDeclarationExpected;
  return source->XmlVersion() == u"1.0" ? 0 : XmlErrors::UnsupportedXmlVersion;
}

}  // namespace

TXmlExtSubsetTokenizer::TXmlExtSubsetTokenizer(TXmlInputSource* inputSource, TDomPERepository* repository)
    : TXmlCustomSubsetTokenizer(inputSource, repository) {
  FDetail.SetPERefTreatment(ptResolve);
  if (const TXmlErrorKind kind = DeclarationError(inputSource)) Finish(kind);
}

TXmlIntSubsetTokenizer::TXmlIntSubsetTokenizer(TXmlSimpleInputSource* inputSource, TDomPERepository* repository)
    : TXmlCustomSubsetTokenizer(inputSource, repository) {
  ConditionalSectionsAllowed = false;
  FDetail.SetPERefTreatment(ptResolveInDeclSep);
}
