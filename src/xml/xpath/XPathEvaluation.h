// How the syntax nodes evaluate, split by family; TDomXPathSyntaxNode::Evaluate
// dispatches to these. Each returns a new result owned by the caller.
#pragma once

#include "xml/xpath/XPathSyntaxTree.h"

// PathExpr, FilterExpr, UnionExpr (XPathLocationPaths.cpp).
TDomXPathResultPtr EvaluateLocationPath(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                        int32_t contextSize);
// Expr, the operator levels, PrimaryExpr and its leaves (XPathOperators.cpp).
TDomXPathResultPtr EvaluateOperator(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                    int32_t contextSize);
// FunctionCall (XPathCoreFunctions.cpp).
TDomXPathResultPtr EvaluateFunctionCall(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                        int32_t contextSize);

// The grammar level of an expression kind: 0 Expr, 1 OrExpr, 2 AndExpr, 3 equality,
// 4 relational, 5 additive, 6 multiplicative, 7 UnaryExpr, 8 UnionExpr; -1 for others.
int32_t ExpressionLevel(TDomXPathSyntaxNodeKind kind);
// Whether an operator node has one of its two shapes: Left alone of the level below, or
// Left of its own level and Right of the level below (UnaryExpr: MinusOperator and a
// UnaryExpr).
bool HasOperatorShape(const TDomXPathSyntaxNode& node);
// The namespace URI of a non-empty prefix as the expression resolves it; an empty
// answer raises ENamespace_Err "Namespace URI of prefix '%S' not found.". An empty
// prefix gives the empty URI.
WideString ResolveXPathPrefix(const TDomXPathSyntaxNode& node, WideStringView prefix);
// The DOM implementation that answers host requests: the one of the stored owner
// document of the expression's context node; nil when there is none.
class TDomImplementation;
TDomImplementation* XPathHostImplementation(const TDomXPathSyntaxNode& node);
// The local name XPath sees: a processing instruction's target; for elements and
// attributes of a document without namespace processing, the node name.
WideString XPathLocalName(const TDomNode& node);
// The namespace URI XPath sees: none for a namespace node (its expanded name has only
// the prefix as local part), the node's own for every other.
WideString XPathNamespaceUri(const TDomNode& node);
