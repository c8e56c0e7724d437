#include "xml/dom/DomTextRoutines.h"

#include "platform/base/Format.h"
#include "platform/base/Surrogates.h"
#include "xml/dom/DomExceptions.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

constexpr char SInvalidCharRef[] = "%S is not a valid XmlCharRef value.";
constexpr char SLowSurrogateFirst[] = "WideString must not start with a UTF-16 low surrogate.";
constexpr char SHighSurrogateLast[] = "WideString must not end with a UTF-16 high surrogate.";
constexpr char SHighSurrogateAlone[] =
    "WideString contains an UTF-16 high surrogate without its corresponding low surrogate.";
constexpr char SInvalidCharacter[] = "WideString contains an invalid character.";
constexpr char SAmpersandWithoutSemicolon[] = "WideString contains an '&' without a ';'.";
constexpr char SInvalidReference[] = "WideString contains an invalid reference %S.";

bool IsXmlWhiteSpace(WideChar c) { return c == 0x9 || c == 0xA || c == 0xD || c == 0x20; }
bool IsBlank(WideChar c) { return c == 0x20; }

// Drops white space at both ends and makes every inner run one space, up to the first
// U+0000.
WideString Collapse(WideStringView text, bool (*isWhiteSpace)(WideChar)) {
  text = text.substr(0, text.find(u'\0'));
  WideString result;
  result.reserve(text.size());
  bool pendingSpace = false;
  for (WideChar c : text) {
    if (isWhiteSpace(c)) {
      pendingSpace = !result.empty();
      continue;
    }
    if (pendingSpace) result += u' ';
    pendingSpace = false;
    result += c;
  }
  return result;
}

// The split of a qualified name, raising on a malformed name.
void SplitOrRaise(WideStringView name, WideString& prefix, WideString& localPart) {
  if (!SplitQualifiedName(name, prefix, localPart)) throw EInvalid_Character_Err(SInvalid_Character_Err);
}

}  // namespace

WideString CollapseWhiteSpace(WideStringView text) { return Collapse(text, IsXmlWhiteSpace); }
WideString CollapseBlanks(WideStringView text) { return Collapse(text, IsBlank); }

WideString TrimXmlWhiteSpace(WideStringView text) {
  size_t first = 0, last = text.size();
  while (first < last && IsXmlWhiteSpace(text[first])) ++first;
  while (last > first && IsXmlWhiteSpace(text[last - 1])) --last;
  return WideString(text.substr(first, last - first));
}

void StripParentheses(WideStringView text, WideString& result, int32_t& error) {
  const WideString trimmed = TrimXmlWhiteSpace(text);
  if (trimmed.size() > 1 && trimmed.front() == u'(' && trimmed.back() == u')') {
    result = TrimXmlWhiteSpace(WideStringView(trimmed).substr(1, trimmed.size() - 2));
    error = 0;
  } else {
    result.clear();
    error = 1;
  }
}

WideString EscapeQuotes(WideStringView text) {
  WideString result;
  result.reserve(text.size());
  for (WideChar c : text) {
    if (c == u'"')
      result += u"&#34;";
    else if (c == u'\'')
      result += u"&#39;";
    else
      result += c;
  }
  return result;
}

bool SplitQualifiedName(WideStringView name, WideString& prefix, WideString& localPart) {
  const size_t colon = name.find(u':');
  const WideStringView p = colon == WideStringView::npos ? WideStringView() : name.substr(0, colon);
  const WideStringView l = colon == WideStringView::npos ? name : name.substr(colon + 1);
  if ((colon != WideStringView::npos && !TextIsPrefix(p)) || !TextIsLocalPart(l)) {
    prefix.clear();
    localPart.clear();
    return false;
  }
  prefix.assign(p);
  localPart.assign(l);
  return true;
}

WideString ExtractLocalName(WideStringView name) {
  WideString prefix, localPart;
  SplitOrRaise(name, prefix, localPart);
  return localPart;
}

WideString QNamePrefix(WideStringView name) {
  WideString prefix, localPart;
  SplitOrRaise(name, prefix, localPart);
  return prefix;
}

uint32_t CharRefValue(WideStringView reference) {
  const auto invalid = [&] { return EConvertError(Format(SInvalidCharRef, {WideString(reference)})); };
  if (!TextIsCharRef(reference)) throw invalid();
  const bool hex = reference.starts_with(u"&#x");
  const WideStringView digits = reference.substr(hex ? 3 : 2, reference.size() - (hex ? 4 : 3));
  uint32_t value = 0;
  for (WideChar c : digits) {
    const uint32_t digit = c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) throw invalid();  // also keeps long digit strings from overflowing
  }
  if (value < 0x10000 && (!CharIsXmlChar(WideChar(value)) || IsSurrogate(value))) throw invalid();
  return value;
}

WideString CharRefToText(WideStringView reference) {
  const uint32_t value = CharRefValue(reference);
  if (value <= 0xFFFF) return WideString(1, WideChar(value));
  return WideString{HighSurrogateOf(value), LowSurrogateOf(value)};
}

WideString ResolveCharRefs(WideStringView text) {
  WideString result;
  result.reserve(text.size());
  size_t i = 0;
  if (!text.empty() && text[0] == 0xFEFF) {
    result += text[0];
    i = 1;
  }
  for (; i < text.size(); ++i) {
    const WideChar c = text[i];
    if (IsLowSurrogate(c)) throw EConvertError(SLowSurrogateFirst);
    if (IsHighSurrogate(c)) {
      if (i + 1 == text.size()) throw EConvertError(SHighSurrogateLast);
      if (!IsLowSurrogate(text[i + 1])) throw EConvertError(SHighSurrogateAlone);
      result += text.substr(i, 2);
      ++i;
      continue;
    }
    if (!CharIsXmlChar(c)) throw EConvertError(SInvalidCharacter);
    if (c != u'&') {
      result += c;
      continue;
    }
    const size_t semicolon = text.find(u';', i);
    if (semicolon == WideStringView::npos) throw EConvertError(SAmpersandWithoutSemicolon);
    const WideStringView reference = text.substr(i, semicolon - i + 1);
    if (TextIsEntityRef(reference))
      result += reference;
    else if (TextIsCharRef(reference))
      result += CharRefToText(reference);
    else
      throw EConvertError(Format(SInvalidReference, {WideString(reference)}));
    i = semicolon;
  }
  return result;
}
