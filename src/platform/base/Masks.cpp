#include "platform/base/Masks.h"

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/UnicodeCase.h"

TMask::TMask(WideStringView mask) {
  auto invalid = [&](size_t at) { throw EMaskException(Format(SInvalidMask, {mask, static_cast<int32_t>(at + 1)})); };
  for (size_t i = 0; i < mask.size(); ++i) {
    TMaskToken token;
    const WideChar c = mask[i];
    if (c == u'*') {
      // Runs of "*" match what one does.
      if (!FTokens.empty() && FTokens.back().Kind == TMaskToken::mkAnyRun) continue;
      token.Kind = TMaskToken::mkAnyRun;
    } else if (c == u'?') {
      token.Kind = TMaskToken::mkAnyChar;
    } else if (c == u'[') {
      token.Kind = TMaskToken::mkSet;
      size_t j = i + 1;
      if (j < mask.size() && mask[j] == u'!') {
        token.Negated = true;
        ++j;
      }
      while (j < mask.size() && mask[j] != u']') {
        const WideChar low = SimpleCaseFold(mask[j]);
        WideChar high = low;
        if (j + 1 < mask.size() && mask[j + 1] == u'-') {
          if (j + 2 >= mask.size() || mask[j + 2] == u']') invalid(j + 2);
          high = SimpleCaseFold(mask[j + 2]);
          j += 2;
        }
        token.Ranges.emplace_back(low, high);
        ++j;
      }
      if (j >= mask.size() || token.Ranges.empty()) invalid(j);
      i = j;
    } else {
      token.First = SimpleCaseFold(c);
    }
    FTokens.push_back(std::move(token));
  }
}

TMask::TMask(AnsiStringView mask) : TMask(WideStringView(AnsiToWide(mask))) {}

bool TMask::TokenMatches(const TMaskToken& token, WideChar c) const {
  switch (token.Kind) {
    case TMaskToken::mkAnyChar:
      return true;
    case TMaskToken::mkLiteral:
      return SimpleCaseFold(c) == token.First;
    case TMaskToken::mkSet: {
      const WideChar folded = SimpleCaseFold(c);
      bool inSet = false;
      for (const auto& [low, high] : token.Ranges) inSet = inSet || (folded >= low && folded <= high);
      return inSet != token.Negated;
    }
    case TMaskToken::mkAnyRun:
      break;
  }
  return false;
}

bool TMask::Matches(WideStringView name) const {
  // Every token but "*" takes one character, so greedy matching that falls back to the
  // last "*" seen finds a match whenever there is one.
  size_t n = 0, t = 0;
  size_t starToken = SIZE_MAX, starName = 0;
  while (n < name.size()) {
    if (t < FTokens.size() && FTokens[t].Kind == TMaskToken::mkAnyRun) {
      starToken = t++;
      starName = n;
    } else if (t < FTokens.size() && TokenMatches(FTokens[t], name[n])) {
      ++t;
      ++n;
    } else if (starToken != SIZE_MAX) {
      t = starToken + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (t < FTokens.size() && FTokens[t].Kind == TMaskToken::mkAnyRun) ++t;
  return t == FTokens.size();
}

bool TMask::Matches(AnsiStringView name) const { return Matches(WideStringView(AnsiToWide(name))); }

bool MatchesMask(WideStringView name, WideStringView mask) { return TMask(mask).Matches(name); }
bool MatchesMask(AnsiStringView name, AnsiStringView mask) { return TMask(mask).Matches(name); }
