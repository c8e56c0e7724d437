// The expansion of general entities in content: an entity-reference node replaced in
// place by the nodes of its entity's replacement text, references met on the way in
// turn.
//
// State of a run (TExpansionRun): the references still to replace, the next one last,
// each with the element depth of its parent; and the node that follows the whole
// expansion, kept valid while text nodes at the edges of each replacement are joined.
// Every replacement text read spends its length from the document's budget, and every
// node made counts against the nodes left, so a run does work linear in the budget
// whatever the entities refer to. A replacement text that holds no markup is expanded
// as text (ExpandAsText) into the text node before the reference; one with markup is
// parsed into a fragment whose nodes move in before the reference, and the references
// among them join the run.
#include <algorithm>

#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

constexpr char16_t SMaxEntityExpansionChars[] = u"MaxEntityExpansionChars";
constexpr char16_t SMaxNodeCount[] = u"MaxNodeCount";
constexpr char16_t SMaxElementDepth[] = u"MaxElementDepth";

bool IsText(const TDomNode* node) { return node && node->GetNodeType() == ntText; }

}  // namespace

struct TDtdValidationAgent::TPendingReference {
  TDomEntityReference* Reference;
  int32_t ParentDepth;
};

class TDtdValidationAgent::TExpansionRun {
public:
  TExpansionRun(TDtdValidationAgent& agent, TDtdEntityExpansion& how, TDomNode* following)
      : Following(following), FAgent(agent), FHow(how) {}

  // Replaces one reference (or leaves it); false when the run is to stop.
  bool ReplaceOne(const TPendingReference& pending, bool& replaced);

  std::vector<TPendingReference> Pending;
  TDomNode* Following;

private:
  bool Report(TXmlErrorKind kind, WideStringView text, WideStringView hint, TDomNode* node);
  // Reports and stops the run.
  bool Halt(TXmlErrorKind kind, WideStringView text, WideStringView hint, TDomNode* node);
  bool TakeNodes(int64_t count, WideStringView name, TDomNode* node);
  // Joins `second` into `first` when both are text nodes; answers the node that now
  // stands where `second` stood.
  TDomNode* JoinTexts(TDomNode* first, TDomNode* second);
  void RemoveReference(TDomEntityReference& reference);
  bool PutText(TDomEntityReference& reference, WideStringView text, bool fromCharRef, WideStringView name);
  bool PutFragment(const TPendingReference& pending, TDomDocumentFragment& fragment, WideStringView name);

  TDtdValidationAgent& FAgent;
  TDtdEntityExpansion& FHow;
};

bool TDtdValidationAgent::TExpansionRun::Report(TXmlErrorKind kind, WideStringView text, WideStringView hint,
                                                TDomNode* node) {
  return FHow.Report ? FHow.Report(kind, text, hint, node) : ErrorSeverityOf(kind) != esFatal;
}

bool TDtdValidationAgent::TExpansionRun::Halt(TXmlErrorKind kind, WideStringView text, WideStringView hint,
                                              TDomNode* node) {
  Report(kind, text, hint, node);
  FHow.Go = false;
  return false;
}

bool TDtdValidationAgent::TExpansionRun::TakeNodes(int64_t count, WideStringView name, TDomNode* node) {
  if (FHow.NodesAvail) {
    if (*FHow.NodesAvail < count) return Halt(XmlErrors::LimitExceeded, name, SMaxNodeCount, node);
    *FHow.NodesAvail -= count;
  }
  return true;
}

TDomNode* TDtdValidationAgent::TExpansionRun::JoinTexts(TDomNode* first, TDomNode* second) {
  if (!IsText(first) || !IsText(second)) return second;
  auto* text = static_cast<TDomText*>(first);
  auto* next = static_cast<TDomText*>(second);
  text->AppendData(next->GetData());
  if (next->FromCharRef()) text->SetFromCharRef(true);
  TDomNode* parent = next->GetParentNode();
  parent->RemoveChild(next);
  next->Free();
  if (second == Following) Following = text->GetNextSibling();
  return text;
}

void TDtdValidationAgent::TExpansionRun::RemoveReference(TDomEntityReference& reference) {
  reference.GetParentNode()->RemoveChild(&reference);
  reference.Free();
}

bool TDtdValidationAgent::TExpansionRun::PutText(TDomEntityReference& reference, WideStringView text, bool fromCharRef,
                                                 WideStringView name) {
  TDomNode* parent = reference.GetParentNode();
  TDomNode* holder = reference.GetPreviousSibling();
  if (!text.empty()) {
    if (IsText(holder)) {
      static_cast<TDomText*>(holder)->AppendData(text);
      if (fromCharRef) static_cast<TDomText*>(holder)->SetFromCharRef(true);
    } else {
      if (!TakeNodes(1, name, &reference)) return false;
      TDomText* node = NewDomNode<TDomText>(*FAgent.FOwnerDocument);
      node->SetData(text);
      node->SetFromCharRef(fromCharRef);
      parent->InsertBefore(node, &reference);
      holder = node;
    }
  }
  TDomNode* after = reference.GetNextSibling();
  RemoveReference(reference);
  JoinTexts(holder, after);
  return true;
}

bool TDtdValidationAgent::TExpansionRun::PutFragment(const TPendingReference& pending, TDomDocumentFragment& fragment,
                                                     WideStringView name) {
  TDomEntityReference& reference = *pending.Reference;
  // The fragment's nodes are counted and its references collected, in document order,
  // with the depth of each node below the fragment (its top nodes 1).
  int64_t nodes = 0;
  int32_t deepestElement = 0;
  std::vector<TPendingReference> found;
  int32_t level = 1;
  for (TDomNode* node = fragment.GetFirstChild(); node;) {
    ++nodes;
    switch (node->GetNodeType()) {
      case ntElement:
        deepestElement = std::max(deepestElement, level);
        nodes += node->HasAttributes() ? node->GetAttributes()->GetLength() : 0;
        break;
      case ntEntityReference:
        found.push_back({static_cast<TDomEntityReference*>(node), pending.ParentDepth + level - 1});
        break;
      default:
        break;
    }
    if (node->GetNodeType() != ntEntityReference && node->GetFirstChild()) {
      node = node->GetFirstChild();
      ++level;
      continue;
    }
    while (node != &fragment && !node->GetNextSibling()) {
      node = node->GetParentNode();
      --level;
    }
    node = node == &fragment ? nullptr : node->GetNextSibling();
  }
  if (pending.ParentDepth + deepestElement > FAgent.FLimits.MaxElementDepth)
    return Halt(XmlErrors::LimitExceeded, name, SMaxElementDepth, &reference);
  if (!TakeNodes(nodes, name, &reference)) return false;

  TDomNode* parent = reference.GetParentNode();
  TDomNode* before = reference.GetPreviousSibling();
  TDomNode* firstMoved = fragment.GetFirstChild();
  TDomNode* lastMoved = fragment.GetLastChild();
  while (TDomNode* moved = fragment.GetFirstChild()) parent->InsertBefore(moved, &reference);
  TDomNode* after = reference.GetNextSibling();
  RemoveReference(reference);
  // The first found is replaced next.
  Pending.insert(Pending.end(), found.rbegin(), found.rend());
  if (!firstMoved) {
    JoinTexts(before, after);
    return true;
  }
  TDomNode* head = JoinTexts(before, firstMoved);
  if (lastMoved == firstMoved) lastMoved = head;
  JoinTexts(lastMoved, after);
  return true;
}

bool TDtdValidationAgent::TExpansionRun::ReplaceOne(const TPendingReference& pending, bool& replaced) {
  replaced = false;
  TDomEntityReference& reference = *pending.Reference;
  const WideString name = reference.GetNodeName();
  // An external entity the caller does not want read stays a reference, unread.
  if (const TDtdEntityDecl* declaration = FAgent.FindEntityDecl(name); !FHow.ReadExternalEntities && declaration &&
                                                                       declaration->GetEntityKind() == ekExternal &&
                                                                       declaration->IsParsed())
    return true;
  WideString text;
  uint64_t key = 0;
  bool isExternal = false;
  const TXmlErrorKind errorType = FAgent.ResolveEntity(name, text, key, isExternal);
  if (errorType != 0 && !Report(errorType, name, u"", &reference)) {
    FHow.Go = false;
    return false;
  }
  if (!IsNonErrorKind(errorType)) return true;
  if (!FAgent.Spend(static_cast<int64_t>(text.size()) + 1))
    return Halt(XmlErrors::LimitExceeded, name, SMaxEntityExpansionChars, &reference);
  if (text.find(u'<') == WideString::npos) {
    WideString expanded;
    bool fromCharRef = false;
    switch (FAgent.ExpandAsText(text, expanded, fromCharRef)) {
      case TTextExpansion::Done:
        replaced = PutText(reference, expanded, fromCharRef, name);
        return replaced;
      case TTextExpansion::BudgetSpent:
        return Halt(XmlErrors::LimitExceeded, name, SMaxEntityExpansionChars, &reference);
      case TTextExpansion::NeedsParsing:
        break;
    }
  }
  TFragment fragment;
  try {
    fragment = FAgent.ParsedReplacementCopy(*FAgent.FindEntityDecl(name), FHow.KeepCDATASections, FHow.KeepComments);
  } catch (const EParserException&) {
    if (Report(XmlErrors::UnparsableReplacementText, name, u"", &reference)) return true;
    FHow.Go = false;
    return false;
  }
  replaced = PutFragment(pending, *fragment, name);
  return replaced;
}

TDtdValidationAgent::TFragment TDtdValidationAgent::ParsedReplacementCopy(const TDtdEntityDecl& declaration,
                                                                          bool keepCDATASections, bool keepComments) {
  const uint64_t generation = FDtdModel.EntityGeneration();
  TParsedReplacement& parsed = FParsedReplacements[{&declaration, keepCDATASections, keepComments}];
  if (parsed.Generation != generation) {
    parsed.Generation = generation;
    parsed.Fragment.reset();
    try {
      parsed.Fragment = ParseReplacementText(declaration.ReplacementText(), keepCDATASections, keepComments);
    } catch (const EParserException&) {
    }
  }
  if (!parsed.Fragment) throw EParserException(SParserError);
  return TFragment(static_cast<TDomDocumentFragment*>(FOwnerDocument->CopyNode(parsed.Fragment.get(), true)));
}

TDomNode* TDtdValidationAgent::ReplaceEntityReference(TDomEntityReference& reference, TDtdEntityExpansion& how,
                                                      bool& replaced) {
  replaced = false;
  TExpansionRun run(*this, how, reference.GetNextSibling());
  run.Pending.push_back({&reference, how.ParentDepth});
  bool first = true;
  while (!run.Pending.empty() && how.Go) {
    const TPendingReference next = run.Pending.back();
    run.Pending.pop_back();
    bool replacedOne = false;
    const bool goOn = run.ReplaceOne(next, replacedOne);
    if (first) replaced = replacedOne;
    first = false;
    if (!goOn) break;
  }
  // A reference that stayed is still there to ask.
  return replaced ? run.Following : reference.GetNextSibling();
}

TDtdValidationAgent::TTextExpansion TDtdValidationAgent::ExpandAsText(WideStringView text, WideString& expanded,
                                                                      bool& fromCharRef) {
  // The texts met so far, each with its position, the innermost last; they are the
  // declarations' own texts, which outlive the walk.
  struct TFrame {
    WideStringView Text;
    size_t Pos;
  };
  std::vector<TFrame> stack{{text, 0}};
  while (!stack.empty()) {
    TFrame& frame = stack.back();
    const WideStringView rest = frame.Text.substr(frame.Pos);
    const size_t special = rest.find_first_of(u"&<]\r");
    if (special == WideStringView::npos) {
      expanded += rest;
      stack.pop_back();
      continue;
    }
    expanded += rest.substr(0, special);
    frame.Pos += special;
    switch (rest[special]) {
      case u'<':
        return TTextExpansion::NeedsParsing;
      case u']':
        if (rest.substr(special).starts_with(u"]]>")) return TTextExpansion::NeedsParsing;
        expanded += u']';
        ++frame.Pos;
        continue;
      case u'\r':
        // A carriage return in a replacement text came from a character reference.
        expanded += u'\r';
        fromCharRef = true;
        ++frame.Pos;
        continue;
      default:
        break;
    }
    const size_t semicolon = rest.find(u';', special);
    if (semicolon == WideStringView::npos) return TTextExpansion::NeedsParsing;
    const WideStringView reference = rest.substr(special, semicolon + 1 - special);
    frame.Pos += reference.size();
    if (reference.size() > 2 && reference[1] == u'#') {
      try {
        expanded += CharRefToText(reference);
      } catch (const EConvertError&) {
        return TTextExpansion::NeedsParsing;
      }
      fromCharRef = true;
      continue;
    }
    // Only entities that certainly expand without an error are followed here; the
    // parser and ReplaceOne judge the others.
    const WideStringView name = reference.substr(1, reference.size() - 2);
    const TDtdEntityDecl* declaration = TextIsName(name) ? FindEntityDecl(name) : nullptr;
    if (!declaration || declaration->GetEntityKind() == ekExternal || !declaration->IsNotRecursive() ||
        (declaration->Origin() == doExternalSubset && IsEntityDeclaredWfc()))
      return TTextExpansion::NeedsParsing;
    const WideString& replacement = declaration->ReplacementText();
    if (!Spend(static_cast<int64_t>(replacement.size()) + 1)) return TTextExpansion::BudgetSpent;
    stack.push_back({replacement, 0});
  }
  return TTextExpansion::Done;
}
