// Free routines of the DOM over UTF-16 text: white space, qualified names and
// character references. "XML white space" is tab, line feed, carriage return and space.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// Leading and trailing XML white space dropped, every inner run made one space. Stops at
// the first U+0000.
WideString CollapseWhiteSpace(WideStringView text);
// As CollapseWhiteSpace, with only the space (U+0020) counted as white space.
WideString CollapseBlanks(WideStringView text);
WideString TrimXmlWhiteSpace(WideStringView text);
// "( a )" gives "a" and error 0; anything that is not a parenthesised text of more than
// one character after trimming gives an empty result and error 1.
void StripParentheses(WideStringView text, WideString& result, int32_t& error);
// Double quotes become "&#34;", single quotes "&#39;".
WideString EscapeQuotes(WideStringView text);

// Splits "prefix:local" at the first colon (no colon: empty prefix). True when the
// prefix (if any) is a Prefix and the local part a LocalPart; on false both are empty.
bool SplitQualifiedName(WideStringView name, WideString& prefix, WideString& localPart);
// The local part / prefix of a qualified name; a malformed name raises
// EInvalid_Character_Err "Invalid character error.".
WideString ExtractLocalName(WideStringView name);
WideString QNamePrefix(WideStringView name);

// The code point of "&#" decimal ";" or "&#x" hex ";". Raises EConvertError
// "%S is not a valid XmlCharRef value." for a malformed reference or a value that is no
// XML character.
uint32_t CharRefValue(WideStringView reference);
// The referenced character as UTF-16 (a surrogate pair above U+FFFF).
WideString CharRefToText(WideStringView reference);
// Checks a text as XML character data and replaces its character references; entity
// references stay as they are. Raises EConvertError naming the fault.
WideString ResolveCharRefs(WideStringView text);
