// Character and name rules of XML 1.0 and Namespaces in XML: the one place where the
// parser, the DOM, the DTD model and the XPath tokenizer ask whether a character or a
// string matches a production. Every routine is a pure predicate.
//
// The name character classes are the tables of Appendix B of XML 1.0 up to its fourth
// edition (not the simplified ranges of the fifth): all of them lie inside the Basic
// Multilingual Plane, so a name can never hold a character beyond U+FFFF.
//
// Each class exists for a code point (Ucs4Is...) and for a UTF-16 unit (CharIs...), which
// widens the unit and asks the code-point test.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

bool Ucs4IsSpace(uint32_t c);
bool Ucs4IsSpaceOrNull(uint32_t c);
bool Ucs4IsLetter(uint32_t c);
bool Ucs4IsBaseChar(uint32_t c);
bool Ucs4IsIdeographic(uint32_t c);
bool Ucs4IsCombiningChar(uint32_t c);
bool Ucs4IsDigit(uint32_t c);
bool Ucs4IsExtender(uint32_t c);
bool Ucs4IsNameChar(uint32_t c);
bool Ucs4IsHexDigit(uint32_t c);
bool Ucs4IsAsciiDigit(uint32_t c);
bool Ucs4IsAsciiLetter(uint32_t c);
bool Ucs4IsVersionNumChar(uint32_t c);
// The characters of EncName after the first (no ":").
bool Ucs4IsEncNameChar(uint32_t c);

// #x9, #xA, #xD and #x20..#xFFFD; a surrogate unit on its own counts here.
bool CharIsXmlChar(WideChar c);
bool CharIsSpace(WideChar c);
bool CharIsSpaceOrNull(WideChar c);
bool CharIsLetter(WideChar c);
bool CharIsBaseChar(WideChar c);
bool CharIsIdeographic(WideChar c);
bool CharIsCombiningChar(WideChar c);
bool CharIsDigit(WideChar c);
bool CharIsExtender(WideChar c);
bool CharIsNameChar(WideChar c);
// NameChar without ":" (Namespaces in XML).
bool CharIsNCNameChar(WideChar c);
bool CharIsVersionNumChar(WideChar c);
// PubidChar; no tab.
bool CharIsPubidChar(WideChar c);

// How many units the Char at s[pos] takes: 1, 2 for a high-low surrogate pair, 0 when
// no Char starts there.
size_t XmlCharLengthAt(WideStringView s, size_t pos);
// Char*: surrogates only as high-low pairs. Empty: true.
bool TextIsChars(WideStringView s);
bool TextIsS(WideStringView s);
bool TextIsName(WideStringView s);
// Names separated by exactly one blank; leading, trailing or doubled blanks fail.
bool TextIsNames(WideStringView s);
bool TextIsNmtoken(WideStringView s);
bool TextIsNmtokens(WideStringView s);
bool TextIsNCName(WideStringView s);
bool TextIsLocalPart(WideStringView s);
bool TextIsPrefix(WideStringView s);
bool TextIsDefaultNamespaceAttName(WideStringView s);
bool TextIsPrefixedNamespaceAttName(WideStringView s);
// "&#x" hex ";" or "&#" decimal ";"; the value is not compared with the Char range.
bool TextIsCharRef(WideStringView s);
bool TextIsEntityRef(WideStringView s);
bool TextIsPEReference(WideStringView s);
bool TextIsReference(WideStringView s);
// The value of an internal entity declaration, quotes excluded. Empty: true.
bool TextIsEntityValue(WideStringView s);
// A system identifier, quotes excluded. Empty: true.
bool TextIsSystemLiteral(WideStringView s);
bool TextIsPubidLiteral(WideStringView s);
bool TextIsPredefinedEntityName(WideStringView s);
// The text of a CDATA section: no "]]>", every character a Char. Empty: true.
bool TextIsCDataContent(WideStringView s);
// A Name other than "xml" in any mix of letter case.
bool TextIsPITarget(WideStringView s);
bool TextIsVersionNum(WideStringView s);
bool TextIsEncName(WideStringView s);

// The four white-space characters: blank, carriage return, line feed, tab.
WideString XmlWhiteSpaceText();
