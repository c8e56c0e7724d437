#include "xml/parser/XmlSignals.h"

#include "platform/base/Exception.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

// The first failing test wins: each returns its type with the text set, or 0.
TXmlErrorKind Require(bool ok, TXmlErrorKind kind, WideString& offendingText, WideStringView text) {
  if (ok) return 0;
  offendingText.assign(text);
  return kind;
}

// An external identifier's literals: system 68, public 67.
TXmlErrorKind CheckLiterals(WideStringView systemLiteral, WideStringView publicLiteral, WideString& offendingText) {
  if (auto kind =
          Require(TextIsSystemLiteral(systemLiteral), XmlErrors::InvalidSystemLiteral, offendingText, systemLiteral))
    return kind;
  return Require(TextIsPubidLiteral(publicLiteral), XmlErrors::InvalidPubidLiteral, offendingText, publicLiteral);
}

TXmlErrorKind CheckEncodingAndVersion(WideStringView encoding, WideStringView version) {
  if (!encoding.empty() && !TextIsEncName(encoding)) return XmlErrors::InvalidEncName;
  if (!version.empty() && !TextIsVersionNum(version)) return XmlErrors::InvalidVersionNum;
  return 0;
}

}  // namespace

void TXmlSignal::CheckWellformedness(TXmlErrorKind& kind, WideString& offendingText, WideString& hint) const {
  offendingText.clear();
  hint.clear();
  kind = Check(offendingText, hint);
}

TXmlErrorKind CheckAttributeValue(WideStringView value, WideString& offendingText) {
  bool inReference = false;
  WideString name;
  for (size_t i = 0; i < value.size(); ++i) {
    const WideChar c = value[i];
    if (!inReference) {
      if (c == u'&') {
        inReference = true;
        name.clear();
      } else if (c == u'<') {
        offendingText = u"<";
        return XmlErrors::LessThanInAttributeValue;
      } else {
        const size_t length = XmlCharLengthAt(value, i);
        if (length == 0) {
          offendingText.assign(1, c);
          return XmlErrors::InvalidAttributeValueChar;
        }
        i += length - 1;
      }
    } else if (c == u';') {
      inReference = false;
      if (name.starts_with(u'#')) {
        const WideString reference = u"&" + name + u";";
        try {
          CharRefToText(reference);
        } catch (const EConvertError&) {
          offendingText = reference;
          return XmlErrors::InvalidCharRef;
        }
      } else if (!TextIsName(name)) {
        offendingText = name;
        return XmlErrors::InvalidEntityRefName;
      }
    } else {
      name += c;
    }
  }
  if (!inReference) return 0;
  offendingText.assign(value);
  return name.starts_with(u'#') ? XmlErrors::UnterminatedCharRef : XmlErrors::UnterminatedEntityRef;
}

TXmlErrorKind TXmlAttributeSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(AttrName), XmlErrors::InvalidAttributeName, offendingText, AttrName)) return kind;
  return CheckAttributeValue(AttrValue, offendingText);
}

TXmlErrorKind TXmlCDATASignal::Check(WideString&, WideString&) const {
  return TextIsCDataContent(Text) ? 0 : XmlErrors::InvalidCDataContent;
}

TXmlErrorKind TXmlDoctypeSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(DeclaredRootName), XmlErrors::InvalidRootName, offendingText, DeclaredRootName))
    return kind;
  if (auto kind =
          Require(TextIsPubidLiteral(PublicLiteral), XmlErrors::InvalidPubidLiteral, offendingText, PublicLiteral))
    return kind;
  return Require(TextIsSystemLiteral(SystemLiteral), XmlErrors::InvalidSystemLiteral, offendingText, SystemLiteral);
}

TXmlErrorKind TXmlEndElementSignal::Check(WideString& offendingText, WideString&) const {
  return Require(TextIsName(QualifiedName), XmlErrors::InvalidTagName, offendingText, QualifiedName);
}

TXmlErrorKind TXmlStartElementSignal::Check(WideString& offendingText, WideString&) const {
  return Require(TextIsName(QualifiedName), XmlErrors::InvalidTagName, offendingText, QualifiedName);
}

TXmlErrorKind TXmlEntityRefSignal::Check(WideString& offendingText, WideString&) const {
  return Require(TextIsName(RefName), XmlErrors::InvalidEntityRefName, offendingText, RefName);
}

TXmlErrorKind TXmlPCDATASignal::Check(WideString& offendingText, WideString&) const {
  return Require(TextIsCDataContent(Text), XmlErrors::InvalidCharacterData, offendingText, Text);
}

TXmlErrorKind TXmlStartDocumentSignal::Check(WideString&, WideString&) const {
  return CheckEncodingAndVersion(DeclEncoding, DeclVersion);
}

TXmlErrorKind TXmlStartExtDtdSignal::Check(WideString&, WideString&) const {
  return CheckEncodingAndVersion(DeclEncoding, DeclVersion);
}

TXmlErrorKind TXmlStartDocumentFragmentSignal::Check(WideString&, WideString&) const {
  return CheckEncodingAndVersion(DeclEncoding, u"");
}

TXmlErrorKind TXmlCommentSignal::Check(WideString& offendingText, WideString& hint) const {
  if (Text.empty()) return 0;
  if (Text.find(u"--") != WideString::npos) {
    offendingText = u"--";
    hint = u"-";
    return XmlErrors::DoubleHyphenInComment;
  }
  if (auto kind = Require(Text.back() != u'-', XmlErrors::CommentEndsWithHyphen, offendingText, u"-")) return kind;
  return Require(TextIsChars(Text), XmlErrors::InvalidCharacterData, offendingText, Text);
}

TXmlErrorKind TXmlProcessingInstructionSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsPITarget(PITarget), XmlErrors::InvalidProcessingInstruction, offendingText, PITarget))
    return kind;
  if (auto kind =
          Require(Text.find(u"?>") == WideString::npos, XmlErrors::InvalidProcessingInstruction, offendingText, u"?>"))
    return kind;
  return Require(TextIsChars(Text), XmlErrors::InvalidCharacterData, offendingText, Text);
}

TXmlErrorKind TXmlAttributeDefinitionSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(AttrName), XmlErrors::InvalidAttDefName, offendingText, AttrName)) return kind;
  if (auto kind = Require(TextIsName(ElementName), XmlErrors::InvalidAttListElementName, offendingText, ElementName))
    return kind;
  const bool notationType = AttrType == 1;
  for (int32_t i = 0; i < EnumValues.Count(); ++i) {
    const WideString& value = EnumValues.Get(i);
    if (notationType) {
      if (auto kind = Require(TextIsName(value), XmlErrors::InvalidNotationValue, offendingText, value)) return kind;
    } else if (auto kind = Require(TextIsNmtoken(value), XmlErrors::InvalidEnumerationValue, offendingText, value)) {
      return kind;
    }
  }
  return CheckAttributeValue(DefaultText, offendingText);
}

TXmlErrorKind TXmlElementTypeDeclarationSignal::Check(WideString& offendingText, WideString& hint) const {
  if (auto kind = Require(TextIsName(ElementName), XmlErrors::InvalidElementDeclName, offendingText, ElementName))
    return kind;
  return CheckContentSpec(ContentSpec, offendingText, hint);
}

TXmlErrorKind TXmlEntityDeclarationSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(EntityName), XmlErrors::InvalidEntityName, offendingText, EntityName)) return kind;
  if (!EntityValue.empty()) {
    if (auto kind = Require(TextIsEntityValue(EntityValue), XmlErrors::InvalidEntityValue, offendingText, EntityValue))
      return kind;
    if (!PublicLiteral.empty() || !SystemLiteral.empty() || !NotationName.empty())
      return XmlErrors::EntityValueAndExternalId;
  }
  if (auto kind = CheckLiterals(SystemLiteral, PublicLiteral, offendingText)) return kind;
  return Require(NotationName.empty() || TextIsName(NotationName), XmlErrors::InvalidNotationNameInEntity,
                 offendingText, NotationName);
}

TXmlErrorKind TXmlParameterEntityDeclarationSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(EntityName), XmlErrors::InvalidPEName, offendingText, EntityName)) return kind;
  if (!EntityValue.empty()) {
    if (auto kind = Require(TextIsEntityValue(EntityValue), XmlErrors::InvalidPEValue, offendingText, EntityValue))
      return kind;
    if (!PublicLiteral.empty() || !SystemLiteral.empty()) return XmlErrors::PEValueAndExternalId;
  }
  return CheckLiterals(SystemLiteral, PublicLiteral, offendingText);
}

TXmlErrorKind TXmlExternalPEReferenceSignal::Check(WideString& offendingText, WideString&) const {
  return Require(TextIsName(PEName), XmlErrors::InvalidPERefName, offendingText, PEName);
}

TXmlErrorKind TXmlNotationDeclarationSignal::Check(WideString& offendingText, WideString&) const {
  if (auto kind = Require(TextIsName(NotationName), XmlErrors::InvalidNotationName, offendingText, NotationName))
    return kind;
  return CheckLiterals(SystemLiteral, PublicLiteral, offendingText);
}
