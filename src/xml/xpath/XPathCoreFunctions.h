// The 27 functions of the XPath 1.0 core library, bound to function calls by name.
#pragma once

#include <vector>

#include "xml/xpath/XPathResults.h"

class TDomXPathSyntaxNode;

// What a core function is called with: the context of the call and its argument
// expressions, which the function evaluates itself with the same context.
struct TDomXPathCoreCall {
  const char* Name;
  TDomNode* ContextNode;
  int32_t ContextPosition, ContextSize;
  const std::vector<TDomXPathSyntaxNode*>& Arguments;
};

struct TDomXPathCoreFunction {
  const char* Name;
  TDomXPathResultPtr (*Call)(const TDomXPathCoreCall& call);
};

// The core function of a local name, compared exactly; nil for any other name.
const TDomXPathCoreFunction* FindCoreFunction(WideStringView localName);
