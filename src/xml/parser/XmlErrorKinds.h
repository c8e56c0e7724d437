// Error-type codes of the XML library and their severities. A code names a problem; it
// has no message of its own; whoever handles the error decides how to present it. Every
// code the library reports is named here once, and used by its name.
#pragma once

#include <cstdint>

// 0 to 151 in use. 0 to 5 are not errors (0 also means "no error" wherever a check
// returns a type; 3 to 5 report repeated declarations as warnings).
using TXmlErrorKind = uint8_t;

enum TXmlErrorSeverity : uint8_t { esWarning = 0, esError = 1, esFatal = 2 };

// 6 to 43: error; 44 to 151 except 88 and 109: fatal; everything else: warning.
constexpr TXmlErrorSeverity ErrorSeverityOf(uint32_t kind) {
  if (kind >= 6 && kind <= 43) return esError;
  if (kind >= 44 && kind <= 151 && kind != 88 && kind != 109) return esFatal;
  return esWarning;
}

// The codes 0 to 5, which lookups and validation steps treat as success.
constexpr bool IsNonErrorKind(uint32_t kind) { return kind <= 5; }

namespace XmlErrors {
// Validation of a document that has no DTD.
inline constexpr TXmlErrorKind ValidatingWithoutDtd = 1;
inline constexpr TXmlErrorKind RepeatedAttListDeclaration = 2;
inline constexpr TXmlErrorKind RepeatedAttributeDeclaration = 3;
inline constexpr TXmlErrorKind RepeatedEntityDeclaration = 4;
inline constexpr TXmlErrorKind RepeatedPEDeclaration = 5;
// Validity errors (6 to 43).
inline constexpr TXmlErrorKind DefaultValueTypeMismatch = 6;
inline constexpr TXmlErrorKind AttributeValueTypeMismatch = 7;
inline constexpr TXmlErrorKind RepeatedElementTypeDeclaration = 8;
inline constexpr TXmlErrorKind RepeatedEnumerationToken = 9;
inline constexpr TXmlErrorKind SecondIdAttribute = 10;
inline constexpr TXmlErrorKind RepeatedIdValue = 11;
inline constexpr TXmlErrorKind RepeatedMixedContentName = 12;
inline constexpr TXmlErrorKind RepeatedNotationDeclaration = 13;
inline constexpr TXmlErrorKind SecondNotationAttribute = 14;
inline constexpr TXmlErrorKind RepeatedNotationName = 15;
inline constexpr TXmlErrorKind CDataSectionInElementContent = 17;
inline constexpr TXmlErrorKind ContentModelMismatch = 18;
inline constexpr TXmlErrorKind ElementInPCDataContent = 19;
inline constexpr TXmlErrorKind TextInElementContent = 20;
inline constexpr TXmlErrorKind ContentInEmptyElement = 21;
inline constexpr TXmlErrorKind EntityDeclaredAfterAttribute = 22;
inline constexpr TXmlErrorKind FixedAttributeMismatch = 23;
inline constexpr TXmlErrorKind IdAttributeDefault = 24;
inline constexpr TXmlErrorKind AmbiguousContentModel = 25;
inline constexpr TXmlErrorKind NotationAttributeOnEmptyElement = 26;
inline constexpr TXmlErrorKind CondSectPENesting = 27;
inline constexpr TXmlErrorKind DeclarationPENesting = 28;
inline constexpr TXmlErrorKind GroupPENesting = 29;
inline constexpr TXmlErrorKind RequiredAttributeMissing = 31;
inline constexpr TXmlErrorKind UnknownIdRef = 32;
inline constexpr TXmlErrorKind UndeclaredAttribute = 33;
inline constexpr TXmlErrorKind UndeclaredElementType = 34;
// A reference to an undeclared entity where only the validity rule applies; 98 where
// the well-formedness rule does.
inline constexpr TXmlErrorKind UndeclaredEntityValidity = 35;
inline constexpr TXmlErrorKind UndeclaredNotation = 36;
inline constexpr TXmlErrorKind UndeclaredParameterEntity = 37;
inline constexpr TXmlErrorKind NotAnUnparsedEntity = 38;
inline constexpr TXmlErrorKind StandaloneAttributeNormalized = 39;
inline constexpr TXmlErrorKind ExternalDtdUnresolved = 40;
inline constexpr TXmlErrorKind StandaloneDefaultAttribute = 41;
inline constexpr TXmlErrorKind StandaloneElementContentWhiteSpace = 42;
inline constexpr TXmlErrorKind RootNameMismatch = 43;
// Fatal errors (44 to 151 but 88 and 109).
inline constexpr TXmlErrorKind ExternalEntityInAttribute = 44;
inline constexpr TXmlErrorKind EncodingMismatch = 45;
inline constexpr TXmlErrorKind CDataSectionStartExpected = 46;
inline constexpr TXmlErrorKind CommentStartExpected = 47;
inline constexpr TXmlErrorKind DoctypeStartExpected = 48;
inline constexpr TXmlErrorKind DuplicateAttribute = 49;
inline constexpr TXmlErrorKind DoubleHyphenInComment = 51;
inline constexpr TXmlErrorKind SecondRootElement = 52;
inline constexpr TXmlErrorKind EntityDeclaredAfterAttributeWfc = 53;
inline constexpr TXmlErrorKind StandaloneExternalEntity = 54;
inline constexpr TXmlErrorKind CommentEndsWithHyphen = 55;
inline constexpr TXmlErrorKind InvalidAttributeName = 56;
inline constexpr TXmlErrorKind InvalidAttributeValueChar = 57;
inline constexpr TXmlErrorKind InvalidCDataContent = 58;
inline constexpr TXmlErrorKind InvalidCharacterData = 59;
inline constexpr TXmlErrorKind InvalidCharRef = 60;
inline constexpr TXmlErrorKind InvalidTagName = 62;
inline constexpr TXmlErrorKind InvalidEncName = 63;
inline constexpr TXmlErrorKind InvalidEntityRefName = 64;
inline constexpr TXmlErrorKind InvalidPERefName = 65;
inline constexpr TXmlErrorKind InvalidProcessingInstruction = 66;
inline constexpr TXmlErrorKind InvalidPubidLiteral = 67;
inline constexpr TXmlErrorKind InvalidSystemLiteral = 68;
inline constexpr TXmlErrorKind TextDeclarationExpected = 69;
inline constexpr TXmlErrorKind InvalidVersionNum = 70;
inline constexpr TXmlErrorKind MalformedDeclaration = 71;
inline constexpr TXmlErrorKind SubsetStartExpected = 72;
inline constexpr TXmlErrorKind LessThanInAttributeValue = 73;
inline constexpr TXmlErrorKind TagNameExpected = 74;
inline constexpr TXmlErrorKind UnclosedElements = 75;
inline constexpr TXmlErrorKind EntityRefNameExpected = 76;
inline constexpr TXmlErrorKind EqualsExpected = 77;
inline constexpr TXmlErrorKind AttributeQuoteExpected = 78;
inline constexpr TXmlErrorKind UnmatchedEndTag = 79;
inline constexpr TXmlErrorKind WhiteSpaceExpected = 80;
inline constexpr TXmlErrorKind DataOutsideRoot = 81;
inline constexpr TXmlErrorKind UnparsableReplacementText = 82;
inline constexpr TXmlErrorKind PEEndsInsideDeclaration = 83;
inline constexpr TXmlErrorKind PublicKeywordExpected = 84;
inline constexpr TXmlErrorKind LiteralQuoteExpected = 85;
inline constexpr TXmlErrorKind RecursiveEntity = 86;
inline constexpr TXmlErrorKind UnparsedEntityReference = 87;
inline constexpr TXmlErrorKind UnterminatedSubset = 88;
inline constexpr TXmlErrorKind MissingRootElement = 89;
inline constexpr TXmlErrorKind SystemKeywordExpected = 90;
inline constexpr TXmlErrorKind UnterminatedCDataSection = 91;
inline constexpr TXmlErrorKind UnterminatedCharRef = 92;
inline constexpr TXmlErrorKind UnterminatedComment = 93;
inline constexpr TXmlErrorKind UnterminatedDoctypeDecl = 94;
inline constexpr TXmlErrorKind UnterminatedTag = 95;
inline constexpr TXmlErrorKind UnterminatedEntityRef = 96;
inline constexpr TXmlErrorKind UnterminatedProcessingInstruction = 97;
inline constexpr TXmlErrorKind UndeclaredEntity = 98;
inline constexpr TXmlErrorKind DoctypeAfterRoot = 99;
inline constexpr TXmlErrorKind AttlistStartExpected = 100;
inline constexpr TXmlErrorKind CondSectNotAllowed = 101;
inline constexpr TXmlErrorKind SecondDoctype = 102;
inline constexpr TXmlErrorKind ElementStartExpected = 103;
inline constexpr TXmlErrorKind EntityStartExpected = 104;
inline constexpr TXmlErrorKind InvalidAttListName = 105;
inline constexpr TXmlErrorKind MalformedAttListDecl = 106;
inline constexpr TXmlErrorKind InvalidAttDefName = 107;
inline constexpr TXmlErrorKind MalformedCondSect = 108;
inline constexpr TXmlErrorKind InvalidContentModelToken = 109;
inline constexpr TXmlErrorKind ContentModelNotBuilt = 110;
inline constexpr TXmlErrorKind InvalidAttListElementName = 111;
inline constexpr TXmlErrorKind InvalidElementDeclName = 112;
inline constexpr TXmlErrorKind MalformedEntityDecl = 113;
inline constexpr TXmlErrorKind InvalidEntityName = 114;
inline constexpr TXmlErrorKind InvalidPEName = 115;
inline constexpr TXmlErrorKind InvalidEntityValue = 116;
inline constexpr TXmlErrorKind InvalidPEValue = 117;
inline constexpr TXmlErrorKind InvalidEnumerationValue = 118;
inline constexpr TXmlErrorKind DeclarationExpected = 119;
inline constexpr TXmlErrorKind MalformedNotationDecl = 120;
inline constexpr TXmlErrorKind InvalidNotationNameInEntity = 121;
inline constexpr TXmlErrorKind InvalidNotationName = 122;
inline constexpr TXmlErrorKind InvalidNotationValue = 123;
inline constexpr TXmlErrorKind MalformedPEDecl = 124;
inline constexpr TXmlErrorKind InvalidRootName = 125;
inline constexpr TXmlErrorKind MisplacedAny = 126;
inline constexpr TXmlErrorKind MisplacedEmpty = 127;
inline constexpr TXmlErrorKind MisplacedPCData = 128;
inline constexpr TXmlErrorKind MalformedContentModel = 129;
inline constexpr TXmlErrorKind EntityValueAndExternalId = 130;
inline constexpr TXmlErrorKind PEValueAndExternalId = 131;
inline constexpr TXmlErrorKind NotationStartExpected = 132;
inline constexpr TXmlErrorKind PEReferenceInMarkup = 133;
inline constexpr TXmlErrorKind UnclosedCondSect = 135;
// Not an XML rule: the input starts as UTF-16 or UCS-4 text (a zero byte among its first
// two) without a byte-order mark, and nothing else names its encoding.
inline constexpr TXmlErrorKind UndetectedEncoding = 144;
// Not an XML rule: memory ran out while the document was read; the part built so far
// is freed before the error is reported.
inline constexpr TXmlErrorKind OutOfMemory = 145;
// Not an XML rule: input went beyond one of the XML library's limits (XmlLimits.h);
// the error's hint names the limit.
inline constexpr TXmlErrorKind LimitExceeded = 146;
inline constexpr TXmlErrorKind EncodingNotSupported = 147;
// An external entity (parameter or general) that was needed but not loaded.
inline constexpr TXmlErrorKind ExternalPENotLoaded = 148;
inline constexpr TXmlErrorKind PEInclusionFailed = 149;
inline constexpr TXmlErrorKind EntityUnreadable = 150;
inline constexpr TXmlErrorKind UnsupportedXmlVersion = 151;
// Two codes beyond the table that a parameter-entity lookup may answer and that count
// as success like 0 to 5; nothing in this library produces them.
inline constexpr TXmlErrorKind PELookupSuccess156 = 156;
inline constexpr TXmlErrorKind PELookupSuccess159 = 159;
}  // namespace XmlErrors

static_assert(ErrorSeverityOf(6) == esError && ErrorSeverityOf(43) == esError);
static_assert(ErrorSeverityOf(44) == esFatal && ErrorSeverityOf(151) == esFatal);
static_assert(ErrorSeverityOf(88) == esWarning && ErrorSeverityOf(109) == esWarning);
static_assert(ErrorSeverityOf(5) == esWarning && ErrorSeverityOf(200) == esWarning);
