// Content-model matching: the names of an element's child elements, in document order,
// against the particle tree of its declaration.
//
// State: `position` indexes the next unconsumed name; every operation either advances it
// past what it matched or leaves it where it was. Matching is greedy and never
// backtracks: a repeated particle takes as many names as it can, a sequence commits only
// when all of its sub-models matched, and a choice commits to the one alternative that
// consumed names (two such alternatives set `ambiguity`, which fails every enclosing
// match). Each particle entered costs one step of the budget and nesting deeper than
// the budget allows ends the match with EDtdMatchLimitExceeded, so nested repetitions
// cannot run for an exponential time or exhaust the stack.
#include "xml/dtd/DtdModel.h"

namespace {

class TDepthGuard {
public:
  explicit TDepthGuard(TDtdMatchBudget& budget) : FBudget(budget) {
    if (--FBudget.StepsAvail < 0) throw EDtdMatchLimitExceeded(SContentModelStepsExceeded);
    if (++FBudget.Depth > FBudget.MaxDepth) {
      --FBudget.Depth;
      throw EDtdMatchLimitExceeded(SContentModelDepthExceeded);
    }
  }
  ~TDepthGuard() { --FBudget.Depth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
  TDtdMatchBudget& FBudget;
};

int32_t CountOf(const TDtdContentModel::TNames& names) { return static_cast<int32_t>(names.size()); }

}  // namespace

bool TDtdContentModel::Match(const TNames& names, int32_t& position, bool& ambiguity) {
  TDtdMatchBudget budget;
  return Match(names, position, ambiguity, budget);
}

bool TDtdContentModel::Match(const TNames& names, int32_t& position, bool& ambiguity, TDtdMatchBudget& budget) {
  const TDepthGuard guard(budget);
  const bool repeated = FFrequency == cmfOneOrMore || FFrequency == cmfZeroOrMore;
  const bool firstOptional = FFrequency == cmfOptional || FFrequency == cmfZeroOrMore;
  const bool matched = MatchParticle(names, position, ambiguity, firstOptional, budget);
  if (matched && repeated) {
    while (!ambiguity && position < CountOf(names)) {
      int32_t next = position;
      if (!MatchParticle(names, next, ambiguity, false, budget) || next == position) break;
      position = next;
    }
  }
  return matched && !ambiguity;
}

bool TDtdContentModel::MatchParticle(const TNames& names, int32_t& position, bool& ambiguity, bool optional,
                                     TDtdMatchBudget& budget) {
  switch (FParticleType) {
    case cmtChoice:
      return MatchChoice(names, position, ambiguity, optional, budget);
    case cmtName:
      return MatchName(names, position, ambiguity, optional, budget);
    case cmtSequence:
      return MatchSequence(names, position, ambiguity, optional, budget);
  }
  return true;
}

bool TDtdContentModel::MatchName(const TNames& names, int32_t& position, bool&, bool optional, TDtdMatchBudget&) {
  if (position < CountOf(names) && names[static_cast<size_t>(position)] == FName) {
    ++position;
    return true;
  }
  return optional;
}

bool TDtdContentModel::MatchSequence(const TNames& names, int32_t& position, bool& ambiguity, bool optional,
                                     TDtdMatchBudget& budget) {
  if (SubModelCount() == 0) return optional;
  int32_t working = position;
  for (int32_t i = 0; i < SubModelCount(); ++i)
    if (!SubModel(i)->Match(names, working, ambiguity, budget)) return optional && !ambiguity;
  position = working;
  return true;
}

bool TDtdContentModel::MatchChoice(const TNames& names, int32_t& position, bool& ambiguity, bool optional,
                                   TDtdMatchBudget& budget) {
  bool matched = false;
  bool consumed = false;
  int32_t end = position;
  for (int32_t i = 0; i < SubModelCount() && !ambiguity; ++i) {
    int32_t attempt = position;
    if (!SubModel(i)->Match(names, attempt, ambiguity, budget)) continue;
    matched = true;
    if (attempt == position) continue;
    if (consumed) {
      ambiguity = true;
      break;
    }
    consumed = true;
    end = attempt;
  }
  if (ambiguity) return false;
  if (matched) {
    position = end;
    return true;
  }
  return optional;
}
