// Location paths: path, filter and union expressions, steps, the 13 axes, name and
// node-type tests, and predicates.
#include <map>

#include "xml/dom/DomDocument.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/xpath/XPathEvaluation.h"
#include "xml/xpath/XPathExceptions.h"

using K = TDomXPathSyntaxNodeKind;
using TNodeSet = TDomXPathNodeSetResult;
using TNodeSetPtr = std::unique_ptr<TNodeSet>;

namespace {

[[noreturn]] void RaiseTypeError() { throw EXPath_Type_Err(SXPath_Type_Err); }

TNodeSetPtr RequireNodeSet(TDomXPathResultPtr result) {
  TNodeSetPtr set = AsNodeSet(std::move(result));
  if (!set) RaiseTypeError();
  return set;
}

// A run of adjacent text-like siblings is one text node of XPath; the sibling axes see
// only its first node.
bool IsTextLike(const TDomNode* node) {
  const TDomNodeType type = node->GetNodeType();
  return type == ntText || type == ntCDATASection || type == ntEntityReference;
}

// Nodes with siblings (and a parent node) in the XPath data model.
bool HasXPathSiblings(const TDomNode* node) {
  switch (node->GetNodeType()) {
    case ntElement:
    case ntText:
    case ntCDATASection:
    case ntEntityReference:
    case ntProcessingInstruction:
    case ntComment:
      return true;
    default:
      return false;
  }
}

// The parent in the XPath data model: an attribute's or namespace node's owner element.
TDomNode* XPathParent(const TDomNode* node) {
  if (HasXPathSiblings(node)) return node->GetParentNode();
  if (node->GetNodeType() == ntAttribute) return static_cast<const TDomAttr*>(node)->GetOwnerElement();
  if (node->GetNodeType() == ntXPathNamespace) return static_cast<const TDomXPathNamespace*>(node)->GetOwnerElement();
  return nullptr;
}

// A sibling that continues the text run of the node before it.
bool ContinuesTextRun(const TDomNode* sibling, const TDomNode* before) {
  return before && IsTextLike(sibling) && IsTextLike(before);
}

bool IsReverseAxis(K axis) {
  return axis == K::AxisNameAncestor || axis == K::AxisNameAncestorOrSelf || axis == K::AxisNamePreceding ||
         axis == K::AxisNamePrecedingSibling;
}

TDomNodeType PrincipalNodeType(K axis) {
  if (axis == K::AxisNameAttribute) return ntAttribute;
  if (axis == K::AxisNameNamespace) return ntXPathNamespace;
  return ntElement;
}

constexpr TDomNodeTypeSet DescendantNodeTypes =
    NodeTypes({ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction, ntComment});

void AddDescendants(TNodeSet& set, TDomNode* node) {
  for (TCustomOwnedNode* n = NextInSubtree(node, node); n; n = NextInSubtree(node, n)) {
    auto* domNode = static_cast<TDomNode*>(n);
    if (InNodeTypes(DescendantNodeTypes, domNode->GetNodeType())) set.Add(domNode);
  }
}

// The namespaces in scope of an element, sorted by prefix; the nearest declaration of a
// prefix wins, "xml" and "xmlns" keep their fixed URIs, and an empty default namespace
// (xmlns="") declares none.
void AddNamespaceNodes(TNodeSet& set, TDomElement* element) {
  std::map<WideString, WideString> scope{{u"xml", XmlNamespaceUri}, {u"xmlns", XmlnsNamespaceUri}};
  for (TDomNode* e = element; e && e->GetNodeType() == ntElement; e = e->GetParentNode()) {
    const TDomNamedNodeMap* attributes = e->GetAttributes();
    for (int32_t i = 0; i < attributes->GetLength(); ++i) {
      const auto* attr = static_cast<const TDomAttr*>(attributes->GetItem(i));
      if (attr->GetNamespaceDeclarationKind() == ndkDefault)
        scope.emplace(WideString(), attr->GetNodeValue());
      else if (attr->GetNamespaceDeclarationKind() == ndkPrefixed)
        scope.emplace(ExtractLocalName(attr->GetNodeName()), attr->GetNodeValue());
    }
  }
  for (const auto& [prefix, uri] : scope)
    if (!uri.empty()) set.AddXPathNamespace(element, prefix, uri);
}

TNodeSetPtr CollectAxisNodes(K axis, TDomNode* node) {
  auto set = std::make_unique<TNodeSet>();
  set->SetReverseOrder(IsReverseAxis(axis));
  if (!node) return set;
  switch (axis) {
    case K::AxisNameSelf:
      set->Add(node);
      break;
    case K::AxisNameParent:
      if (TDomNode* parent = XPathParent(node)) set->Add(parent);
      break;
    case K::AxisNameAncestorOrSelf:
      set->Add(node);
      [[fallthrough]];
    case K::AxisNameAncestor:
      for (TDomNode* p = XPathParent(node); p; p = p->GetParentNode()) set->Add(p);
      break;
    case K::AxisNameChild:
      for (TDomNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) set->Add(child);
      break;
    case K::AxisNameAttribute:
      if (node->GetNodeType() == ntElement) {
        const TDomNamedNodeMap* attributes = node->GetAttributes();
        for (int32_t i = 0; i < attributes->GetLength(); ++i) {
          TDomNode* attr = attributes->GetItem(i);
          if (static_cast<TDomAttr*>(attr)->GetNamespaceDeclarationKind() == ndkNone) set->Add(attr);
        }
      }
      break;
    case K::AxisNameDescendantOrSelf:
      set->Add(node);
      [[fallthrough]];
    case K::AxisNameDescendant:
      AddDescendants(*set, node);
      break;
    case K::AxisNameFollowingSibling:
      if (HasXPathSiblings(node))
        for (TDomNode *before = node, *s = node->GetNextSibling(); s; before = s, s = s->GetNextSibling())
          if (!ContinuesTextRun(s, before)) set->Add(s);
      break;
    case K::AxisNamePrecedingSibling:
      if (HasXPathSiblings(node))
        for (TDomNode* s = node->GetPreviousSibling(); s; s = s->GetPreviousSibling())
          if (!ContinuesTextRun(s, s->GetPreviousSibling())) set->Add(s);
      break;
    case K::AxisNameFollowing:
      for (TDomNode* n = node; n; n = XPathParent(n)) {
        if (!HasXPathSiblings(n)) continue;
        for (TDomNode *before = n, *s = n->GetNextSibling(); s; before = s, s = s->GetNextSibling())
          if (!ContinuesTextRun(s, before)) set->AddSubtree(s);
      }
      break;
    case K::AxisNamePreceding:
      for (TDomNode* n = node; n; n = XPathParent(n)) {
        if (!HasXPathSiblings(n)) continue;
        for (TDomNode* s = n->GetPreviousSibling(); s; s = s->GetPreviousSibling())
          if (!ContinuesTextRun(s, s->GetPreviousSibling())) set->AddSubtree(s);
      }
      break;
    case K::AxisNameNamespace:
      if (node->GetNodeType() == ntElement) AddNamespaceNodes(*set, static_cast<TDomElement*>(node));
      break;
    default:
      RaiseTypeError();
  }
  return set;
}

void FilterNameTest(const TDomXPathSyntaxNode& nameTest, TNodeSet& set, TDomNodeType principal) {
  const auto isPrincipal = [principal](const TDomNode* node) { return node->GetNodeType() == principal; };
  if (nameTest.Prefix.empty() && nameTest.LocalName == u"*") {
    set.KeepIf(isPrincipal);
    return;
  }
  const WideString uri = ResolveXPathPrefix(nameTest, nameTest.Prefix);
  const bool anyLocalName = nameTest.LocalName == u"*";
  set.KeepIf([&](const TDomNode* node) {
    return isPrincipal(node) && XPathNamespaceUri(*node) == uri &&
           (anyLocalName || XPathLocalName(*node) == nameTest.LocalName);
  });
}

void FilterNodeTest(const TDomXPathSyntaxNode& nodeTest, TNodeSet& set, TDomNodeType principal) {
  const TDomXPathSyntaxNode* test = nodeTest.Left;
  if (!test) RaiseTypeError();
  const auto keepTypes = [&](TDomNodeTypeSet types) {
    set.KeepIf([types](const TDomNode* node) { return InNodeTypes(types, node->GetNodeType()); });
  };
  switch (test->Kind()) {
    case K::NameTest:
      FilterNameTest(*test, set, principal);
      break;
    case K::NodeTypeComment:
      keepTypes(NodeTypes({ntComment}));
      break;
    case K::NodeTypeText:
      keepTypes(NodeTypes({ntText, ntCDATASection, ntEntityReference}));
      break;
    case K::NodeTypeNode:
      break;
    case K::NodeTypePI:
      if (!test->Left) {
        keepTypes(NodeTypes({ntProcessingInstruction}));
      } else if (test->Left->Kind() == K::Literal) {
        const WideString& target = test->Left->Value;
        set.KeepIf([&](const TDomNode* node) {
          return node->GetNodeType() == ntProcessingInstruction && node->GetNodeName() == target;
        });
      } else {
        RaiseTypeError();
      }
      break;
    default:
      RaiseTypeError();
  }
}

// Positions count in the set's order, so on a reverse axis position 1 is the nearest.
TNodeSetPtr FilterPredicates(const TDomXPathSyntaxNode* predicate, TNodeSetPtr set) {
  for (; predicate; predicate = predicate->Right) {
    if (predicate->Kind() != K::Predicate || !predicate->Left || predicate->Left->Kind() != K::Expr) RaiseTypeError();
    auto kept = std::make_unique<TNodeSet>();
    kept->SetReverseOrder(set->GetReverseOrder());
    const int32_t size = set->Length();
    for (int32_t i = 1; i <= size; ++i) {
      TDomNode* node = set->Item(i - 1);
      TDomXPathResultPtr result = predicate->Left->Evaluate(node, i, size);
      const bool keep = result->ResultType() == XPATH_NUMBER_TYPE
                            ? result->AsNumber() == i
                            : XPathResultAsBoolean(std::move(result))->AsBoolean();
      if (keep) kept->Add(node);
    }
    set = std::move(kept);
  }
  return set;
}

TNodeSetPtr EvaluateAxis(const TDomXPathSyntaxNode& axis, TNodeSetPtr input) {
  auto result = std::make_unique<TNodeSet>();
  result->SetReverseOrder(IsReverseAxis(axis.Kind()));
  TDomXPathSyntaxTree& tree = *axis.GetSyntaxTree();
  for (int32_t i = 0; i < input->Length(); ++i) {
    TNodeSetPtr collected = CollectAxisNodes(axis.Kind(), input->Item(i));
    tree.CountWork(collected->Length());
    if (!axis.Left || axis.Left->Kind() != K::NodeTest) RaiseTypeError();
    if (collected->Length() > 0) FilterNodeTest(*axis.Left, *collected, PrincipalNodeType(axis.Kind()));
    if (axis.Right && collected->Length() > 0) collected = FilterPredicates(axis.Right, std::move(collected));
    result->Merge(*collected);
  }
  return result;
}

// Each step of the chain takes the previous step's nodes as its context nodes.
TNodeSetPtr EvaluateSteps(const TDomXPathSyntaxNode* step, TNodeSetPtr set) {
  for (; step && step->Kind() == K::Step; step = step->Right) {
    if (!step->Left || !XPathKinds::IsAxis(step->Left->Kind())) RaiseTypeError();
    if (set->Length() == 0) break;
    set = EvaluateAxis(*step->Left, std::move(set));
  }
  return set;
}

TDomXPathResultPtr EvaluatePathExpr(const TDomXPathSyntaxNode& path, TDomNode* contextNode, int32_t contextPosition,
                                    int32_t contextSize) {
  const TDomXPathSyntaxNode* steps = path.Right && path.Right->Kind() == K::Step ? path.Right : nullptr;
  auto start = std::make_unique<TNodeSet>();
  if (!path.Left) {
    if (!steps || !contextNode) RaiseTypeError();
    start->Add(contextNode);
  } else if (path.Left->Kind() == K::FilterExpr) {
    TDomXPathResultPtr result = path.Left->Evaluate(contextNode, contextPosition, contextSize);
    if (!steps) return result;
    start = RequireNodeSet(std::move(result));
  } else if (path.Left->Kind() == K::AbsoluteLocationPath) {
    TDomNode* document = contextNode ? contextNode->GetOwnerDocument() : nullptr;
    if (!document) RaiseTypeError();
    start->Add(document);
  } else {
    RaiseTypeError();
  }
  return EvaluateSteps(steps, std::move(start));
}

}  // namespace

TDomXPathResultPtr EvaluateLocationPath(const TDomXPathSyntaxNode& node, TDomNode* contextNode, int32_t contextPosition,
                                        int32_t contextSize) {
  const TDomXPathSyntaxNode* left = node.Left;
  const TDomXPathSyntaxNode* right = node.Right;
  switch (node.Kind()) {
    case K::PathExpr:
      return EvaluatePathExpr(node, contextNode, contextPosition, contextSize);
    case K::FilterExpr:
      if (left && left->Kind() == K::PrimaryExpr && !right)
        return left->Evaluate(contextNode, contextPosition, contextSize);
      if (left && left->Kind() == K::FilterExpr && right && right->Kind() == K::Predicate) {
        TNodeSetPtr set = RequireNodeSet(left->Evaluate(contextNode, contextPosition, contextSize));
        set->SetReverseOrder(false);
        return FilterPredicates(right, std::move(set));
      }
      break;
    case K::UnionExpr:
      if (left && left->Kind() == K::UnionExpr && right && right->Kind() == K::PathExpr) {
        TNodeSetPtr leftSet = RequireNodeSet(left->Evaluate(contextNode, contextPosition, contextSize));
        leftSet->SetReverseOrder(false);
        TNodeSetPtr rightSet = RequireNodeSet(right->Evaluate(contextNode, contextPosition, contextSize));
        rightSet->Merge(*leftSet);
        return rightSet;
      }
      break;
    default:
      break;
  }
  RaiseTypeError();
}
