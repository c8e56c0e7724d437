// Limits of the XPath engine on what an untrusted expression may make it do. Each
// expression takes its own copy (TXPathExpression::Limits), so a test can lower one for
// a single expression.
#pragma once

#include <cstdint>

struct TXPathLimits {
  // Nested evaluations (operands, predicates, function arguments, path steps) on the
  // stack at once. Parentheses and one-operand levels are passed through without
  // nesting, so only real nesting counts; no hand-written expression comes near it,
  // and it keeps the machine stack far from its end (EXPath_Exception
  // "XPath expression nested too deeply.").
  int32_t MaxNestingDepth = 400;
  // Syntax-node evaluations plus nodes collected by the axes in one evaluation. Nested
  // predicates multiply their work; this ends such an expression with
  // EXPath_Exception "XPath evaluation exceeded its work budget." instead of a hang.
  int64_t MaxEvaluationSteps = 20'000'000;
};
