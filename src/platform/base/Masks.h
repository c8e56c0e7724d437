// File-name masks: "*" any run of characters, "?" one character, "[set]" one character
// of a set of characters and ranges ("[a-c_]"), "[!set]" one character outside it.
// Matching ignores case (simple case folding, UnicodeCase.h), as the program's users
// expect of file names. 8-bit texts are in the ANSI code page.
#pragma once

#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TMask : public TObject {
public:
  // Raises EMaskException "'%s' is an invalid mask at (%d)" (the mask and the 1-based
  // position where it goes wrong) for an empty or unterminated set or an open range.
  explicit TMask(WideStringView mask);
  explicit TMask(AnsiStringView mask);

  bool Matches(WideStringView name) const;
  bool Matches(AnsiStringView name) const;

private:
  struct TMaskToken {
    enum TKind { mkLiteral, mkAnyChar, mkAnyRun, mkSet } Kind = mkLiteral;
    bool Negated = false;
    // mkLiteral: First; mkSet: inclusive ranges [First, Last] of folded units.
    std::vector<std::pair<WideChar, WideChar>> Ranges;
    WideChar First = 0;
  };
  bool TokenMatches(const TMaskToken& token, WideChar c) const;
  std::vector<TMaskToken> FTokens;
};

bool MatchesMask(WideStringView name, WideStringView mask);
bool MatchesMask(AnsiStringView name, AnsiStringView mask);
