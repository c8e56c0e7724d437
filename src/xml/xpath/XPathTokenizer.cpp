#include "xml/xpath/XPathTokenizer.h"

#include <array>

#include "platform/base/Format.h"
#include "xml/dom/DomExceptions.h"
#include "xml/utils/XmlRulesUtils.h"
#include "xml/xpath/XPathExceptions.h"

using Kind = TDomXPathTokenKind;

namespace {

bool IsXmlWhiteSpace(WideChar c) { return c == 0x20 || c == 0x9 || c == 0xA || c == 0xD; }
bool IsNameStart(WideChar c) { return c == u'_' || CharIsLetter(c); }
bool IsDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

// After these an operand is expected, so "*" is a name test and a name is no operator
// name (XPath 1.0, section 3.7). InvalidToken is also the state at the start.
bool ExpectsOperand(Kind kind) {
  switch (kind) {
    case Kind::LeftParenthesis:
    case Kind::LeftSquareBracket:
    case Kind::CommercialAt:
    case Kind::Comma:
    case Kind::DoubleColon:
    case Kind::InvalidToken:
      return true;
    default:
      return kind >= Kind::AndOperator && kind <= Kind::GreaterThanOrEqualOperator;
  }
}

struct TNamedKind {
  const char16_t* Name;
  Kind TokenKind;
};

constexpr std::array<TNamedKind, 13> AxisNames{{
    {u"ancestor", Kind::AxisNameAncestor},
    {u"ancestor-or-self", Kind::AxisNameAncestorOrSelf},
    {u"attribute", Kind::AxisNameAttribute},
    {u"child", Kind::AxisNameChild},
    {u"descendant", Kind::AxisNameDescendant},
    {u"descendant-or-self", Kind::AxisNameDescendantOrSelf},
    {u"following", Kind::AxisNameFollowing},
    {u"following-sibling", Kind::AxisNameFollowingSibling},
    {u"namespace", Kind::AxisNameNamespace},
    {u"parent", Kind::AxisNameParent},
    {u"preceding", Kind::AxisNamePreceding},
    {u"preceding-sibling", Kind::AxisNamePrecedingSibling},
    {u"self", Kind::AxisNameSelf},
}};
static_assert(int(Kind::AxisNameSelf) - int(Kind::AxisNameAncestor) + 1 == AxisNames.size());

constexpr std::array<TNamedKind, 4> OperatorNames{{
    {u"and", Kind::AndOperator},
    {u"or", Kind::OrOperator},
    {u"mod", Kind::ModOperator},
    {u"div", Kind::DivOperator},
}};

constexpr std::array<TNamedKind, 4> NodeTypeNames{{
    {u"comment", Kind::NodeTypeComment},
    {u"text", Kind::NodeTypeText},
    {u"processing-instruction", Kind::NodeTypePI},
    {u"node", Kind::NodeTypeNode},
}};

template <size_t N>
bool FindNamedKind(const std::array<TNamedKind, N>& table, WideStringView name, Kind& kind) {
  for (const TNamedKind& entry : table)
    if (name == entry.Name) {
      kind = entry.TokenKind;
      return true;
    }
  return false;
}

// What "//" stands for after its first "/".
constexpr std::array<Kind, 6> DoubleSlashExpansion{
    Kind::AxisNameDescendantOrSelf, Kind::DoubleColon,      Kind::NodeTypeNode,
    Kind::LeftParenthesis,          Kind::RightParenthesis, Kind::SlashOperator};

}  // namespace

TDomXPathTokenizer::TDomXPathTokenizer(WideStringView expression, WideStringView xpathVersion)
    : FExpression(expression) {
  if (xpathVersion != u"1.0") throw ENot_Supported_Err(Format(SXPathVersionNotSupported, {WideString(xpathVersion)}));
}

void TDomXPathTokenizer::Reset() {
  FCacheIsActive = false;
  FLastTokenKind = Kind::InvalidToken;
  FPosition = 0;
  FDoubleSlashState = 0;
}

bool TDomXPathTokenizer::ReadChar(WideChar& ch) {
  if (!PeekChar(ch)) return false;
  ++FPosition;
  return true;
}

bool TDomXPathTokenizer::PeekChar(WideChar& ch) const {
  if (FPosition >= FExpression.size()) return false;
  ch = FExpression[FPosition];
  return true;
}

size_t TDomXPathTokenizer::SkipWhiteSpaceFrom(size_t index) const {
  while (index < FExpression.size() && IsXmlWhiteSpace(FExpression[index])) ++index;
  return index;
}

bool TDomXPathTokenizer::IsFollowedByDoubleColon() const {
  const size_t i = SkipWhiteSpaceFrom(FPosition);
  return i + 1 < FExpression.size() && FExpression[i] == u':' && FExpression[i + 1] == u':';
}

bool TDomXPathTokenizer::IsFollowedByLeftParenthesis() const {
  const size_t i = SkipWhiteSpaceFrom(FPosition);
  return i < FExpression.size() && FExpression[i] == u'(';
}

void TDomXPathTokenizer::ReadToken(Kind& kind, WideString& value, int32_t& position) {
  if (FCacheIsActive) {
    FCacheIsActive = false;
    kind = FCachedKind;
    value = std::move(FCachedValue);
    position = FCachedPosition;
    return;
  }
  ScanToken(kind, value, position);
}

bool TDomXPathTokenizer::NextTokenIs(Kind kind) {
  if (!FCacheIsActive) {
    ScanToken(FCachedKind, FCachedValue, FCachedPosition);
    FCacheIsActive = true;
  }
  return FCachedKind == kind;
}

WideString TDomXPathTokenizer::ReadNCName() {
  const size_t start = FPosition;
  WideChar ch;
  while (PeekChar(ch) && CharIsNCNameChar(ch)) ++FPosition;
  return FExpression.substr(start, FPosition - start);
}

void TDomXPathTokenizer::ScanToken(Kind& kind, WideString& value, int32_t& position) {
  value.clear();
  if (FDoubleSlashState > 0) {
    // The expansion of "//" reads no text; LastTokenKind stays the first "/".
    kind = DoubleSlashExpansion[FDoubleSlashState - 1];
    position = FDoubleSlashPosition;
    FDoubleSlashState = FDoubleSlashState == DoubleSlashExpansion.size() ? 0 : uint8_t(FDoubleSlashState + 1);
    return;
  }
  FPosition = SkipWhiteSpaceFrom(FPosition);
  WideChar ch, next;
  if (!ReadChar(ch)) {
    kind = Kind::EndOfExpression;
    position = -1;
    FLastTokenKind = kind;
    return;
  }
  const bool hasNext = PeekChar(next);
  const auto followedBy = [&](WideChar c) { return hasNext && next == c; };
  switch (ch) {
    case u'(':
      kind = Kind::LeftParenthesis;
      break;
    case u')':
      kind = Kind::RightParenthesis;
      break;
    case u'[':
      kind = Kind::LeftSquareBracket;
      break;
    case u']':
      kind = Kind::RightSquareBracket;
      break;
    case u'@':
      kind = Kind::CommercialAt;
      break;
    case u',':
      kind = Kind::Comma;
      break;
    case u'|':
      kind = Kind::ShefferStrokeOperator;
      break;
    case u'+':
      kind = Kind::PlusOperator;
      break;
    case u'-':
      kind = Kind::MinusOperator;
      break;
    case u'=':
      kind = Kind::IsEqualOperator;
      break;
    case u'!':
      if (followedBy(u'=')) {
        ++FPosition;
        kind = Kind::IsNotEqualOperator;
      } else {
        kind = Kind::InvalidToken;
        value = u"!";
      }
      break;
    case u'<':
    case u'>':
      if (followedBy(u'=')) {
        ++FPosition;
        kind = ch == u'<' ? Kind::LessThanOrEqualOperator : Kind::GreaterThanOrEqualOperator;
      } else {
        kind = ch == u'<' ? Kind::LessThanOperator : Kind::GreaterThanOperator;
      }
      break;
    case u':':
      if (followedBy(u':')) {
        ++FPosition;
        kind = Kind::DoubleColon;
      } else {
        kind = Kind::InvalidToken;
        value = u":";
      }
      break;
    case u'.':
      if (followedBy(u'.')) {
        ++FPosition;
        kind = Kind::DoubleDot;
      } else if (hasNext && IsDigit(next)) {
        kind = Kind::Number;
        value = u".";
        while (PeekChar(ch) && IsDigit(ch)) value += FExpression[FPosition++];
      } else {
        kind = Kind::SingleDot;
      }
      break;
    case u'\'':
    case u'"': {
      const size_t close = FExpression.find(ch, FPosition);
      if (close == WideString::npos) {
        kind = Kind::InvalidToken;
        value = FExpression.substr(FPosition);
        FPosition = FExpression.size();
      } else {
        kind = Kind::Literal;
        value = FExpression.substr(FPosition, close - FPosition);
        FPosition = close + 1;
      }
      break;
    }
    case u'$':
      ScanVariableReference(kind, value);
      break;
    case u'/':
      kind = Kind::SlashOperator;
      if (followedBy(u'/')) {
        ++FPosition;
        FDoubleSlashState = 1;
        FDoubleSlashPosition = int32_t(FPosition);
      }
      break;
    case u'*':
      kind = ExpectsOperand(FLastTokenKind) ? Kind::NameTest : Kind::MultiplyOperator;
      break;
    default:
      if (IsDigit(ch)) {
        kind = Kind::Number;
        value = ch;
        bool sawPoint = false;
        while (PeekChar(ch) && (IsDigit(ch) || (ch == u'.' && !sawPoint))) {
          sawPoint = sawPoint || ch == u'.';
          value += ch;
          ++FPosition;
        }
      } else if (IsNameStart(ch)) {
        --FPosition;
        kind = ScanNameToken(value);
      } else {
        kind = Kind::InvalidToken;
        value = ch;
      }
  }
  if (kind == Kind::NameTest && value.empty()) value = u"*";
  position = int32_t(FPosition);
  FLastTokenKind = kind;
}

void TDomXPathTokenizer::ScanVariableReference(Kind& kind, WideString& value) {
  kind = Kind::InvalidToken;
  WideChar ch;
  if (!PeekChar(ch)) return;
  if (!IsNameStart(ch)) {
    value = ch;  // not consumed
    return;
  }
  value = ReadNCName();
  if (PeekChar(ch) && ch == u':') {
    ++FPosition;
    if (!PeekChar(ch)) {
      value += u':';
      return;
    }
    if (ch == u':') {
      --FPosition;  // "$p::" ends the name before the "::"
    } else if (IsNameStart(ch)) {
      value += u':';
      value += ReadNCName();
    } else {
      ++FPosition;
      value += u':';
      value += ch;
      return;
    }
  }
  kind = Kind::VariableReference;
}

TDomXPathTokenKind TDomXPathTokenizer::ScanNameToken(WideString& value) {
  value = ReadNCName();
  Kind kind;
  if (!ExpectsOperand(FLastTokenKind)) {
    // An operand has just ended: only an operator name may follow.
    if (!FindNamedKind(OperatorNames, value, kind)) return Kind::InvalidToken;
    value.clear();
    return kind;
  }
  if (IsFollowedByDoubleColon()) {
    if (!FindNamedKind(AxisNames, value, kind)) return Kind::InvalidToken;
    value.clear();
    return kind;
  }
  WideChar ch;
  bool prefixed = false;
  if (PeekChar(ch) && ch == u':') {
    ++FPosition;
    if (!PeekChar(ch)) {
      value += u':';
      return Kind::InvalidToken;
    }
    if (ch == u':') {
      --FPosition;  // the ":" belongs to a "::"; the name stands alone
    } else if (ch == u'*') {
      ++FPosition;
      value += u":*";
      return Kind::NameTest;
    } else if (IsNameStart(ch)) {
      value += u':';
      value += ReadNCName();
      prefixed = true;
    } else {
      ++FPosition;
      value += u':';
      value += ch;
      return Kind::InvalidToken;
    }
  }
  if (IsFollowedByLeftParenthesis()) {
    if (!prefixed && FindNamedKind(NodeTypeNames, value, kind)) {
      value.clear();
      return kind;
    }
    return Kind::FunctionName;
  }
  return Kind::NameTest;
}
