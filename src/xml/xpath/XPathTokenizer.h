// The XPath 1.0 tokenizer: splits an expression into tokens for the syntax-tree parser.
// The lexical ambiguities of XPath 1.0 ("*" as name test or multiplication, "div" as
// name or operator) are decided by the kind of the preceding token; "//" is expanded
// into "/descendant-or-self::node()/" here, so the parser never sees it. One token of
// look-ahead (NextTokenIs).
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// The order matters: ranges of it are tested in the tokenizer and the parser. Each
// kind before EndOfExpression makes the syntax node of the same kind; the kinds after
// InvalidToken are never tokens but the syntax nodes that the parser builds
// (XPathSyntaxTree.h names the enumeration for them).
enum class TDomXPathTokenKind : uint8_t {
  LeftParenthesis,
  RightParenthesis,
  LeftSquareBracket,
  RightSquareBracket,
  SingleDot,
  DoubleDot,
  CommercialAt,
  Comma,
  DoubleColon,
  NameTest,
  NodeTypeComment,
  NodeTypeText,
  NodeTypePI,
  NodeTypeNode,
  AndOperator,
  OrOperator,
  ModOperator,
  DivOperator,
  MultiplyOperator,
  SlashOperator,
  ShefferStrokeOperator,
  PlusOperator,
  MinusOperator,
  IsEqualOperator,
  IsNotEqualOperator,
  LessThanOperator,
  LessThanOrEqualOperator,
  GreaterThanOperator,
  GreaterThanOrEqualOperator,
  FunctionName,
  AxisNameAncestor,
  AxisNameAncestorOrSelf,
  AxisNameAttribute,
  AxisNameChild,
  AxisNameDescendant,
  AxisNameDescendantOrSelf,
  AxisNameFollowing,
  AxisNameFollowingSibling,
  AxisNameNamespace,
  AxisNameParent,
  AxisNamePreceding,
  AxisNamePrecedingSibling,
  AxisNameSelf,
  Literal,
  Number,
  VariableReference,
  EndOfExpression,
  InvalidToken,
  // Made by the parser.
  AbsoluteLocationPath,
  Step,
  NodeTest,
  Predicate,
  Expr,
  PrimaryExpr,
  FunctionCall,
  UnionExpr,
  PathExpr,
  FilterExpr,
  OrExpr,
  AndExpr,
  IsEqualExpr,
  IsNotEqualExpr,
  LessThanExpr,
  LessThanOrEqualExpr,
  GreaterThanExpr,
  GreaterThanOrEqualExpr,
  PlusExpr,
  MinusExpr,
  MultiplyExpr,
  DivExpr,
  ModExpr,
  UnaryExpr,
};

class TDomXPathTokenizer {
public:
  // Raises ENot_Supported_Err 'XPath version "%S" not supproted.' unless the version is
  // exactly "1.0".
  TDomXPathTokenizer(WideStringView expression, WideStringView xpathVersion);

  // Back to the start of the text.
  void Reset();
  // The next character (consumed / not consumed); false at the end of the text.
  bool ReadChar(WideChar& ch);
  bool PeekChar(WideChar& ch) const;
  // Whether, after white space, "::" / "(" comes next. Nothing is consumed.
  bool IsFollowedByDoubleColon() const;
  bool IsFollowedByLeftParenthesis() const;
  // The next token: its kind, its value (empty for punctuation and operators) and the
  // number of characters consumed after it (-1 for the end). Never raises: a lexical
  // error is an InvalidToken carrying the offending text.
  void ReadToken(TDomXPathTokenKind& kind, WideString& value, int32_t& position);
  // Whether the next token (read ahead once, then kept) is of the kind.
  bool NextTokenIs(TDomXPathTokenKind kind);

private:
  void ScanToken(TDomXPathTokenKind& kind, WideString& value, int32_t& position);
  TDomXPathTokenKind ScanNameToken(WideString& value);
  void ScanVariableReference(TDomXPathTokenKind& kind, WideString& value);
  WideString ReadNCName();
  size_t SkipWhiteSpaceFrom(size_t index) const;

  WideString FExpression;
  TDomXPathTokenKind FLastTokenKind = TDomXPathTokenKind::InvalidToken;
  size_t FPosition = 0;           // characters consumed
  uint8_t FDoubleSlashState = 0;  // progress through the expansion of "//"
  int32_t FDoubleSlashPosition = 0;
  TDomXPathTokenKind FCachedKind = TDomXPathTokenKind::InvalidToken;
  WideString FCachedValue;
  int32_t FCachedPosition = 0;
  bool FCacheIsActive = false;
};
