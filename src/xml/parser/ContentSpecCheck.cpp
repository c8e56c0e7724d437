// The contentspec check of element type declarations.
#include <vector>

#include "xml/parser/XmlElementCMTokenizer.h"
#include "xml/parser/XmlSignals.h"

namespace {

// An open group: its separator once one is seen (all must agree), whether it is the
// mixed group "(#PCDATA ...", and how many names a mixed group lists.
struct TGroup {
  WideChar Separator = 0;
  bool Mixed = false;
  int32_t MixedNames = 0;
};

// What the automaton expects next.
enum TExpect {
  exStart,       // nothing read
  exGroupStart,  // just after "(": a cp, or #PCDATA in the outermost group
  exCp,          // after a separator: a name or a group
  exAfterCp,     // after a name or a closed inner group: an occurrence, a separator or ")"
  exAfterOccurrence,
  exAfterMixed,     // the mixed group closed: "*" (required when it lists names) or the end
  exAfterChildren,  // the outermost group closed: an occurrence or the end
  exDone,           // a complete content model: only the end
};

}  // namespace

// A stack automaton over the tokens for contentspec, Mixed and children (choice, seq,
// cp) of XML 1.0. `groups` holds the open groups, innermost last.
TXmlErrorKind CheckContentSpec(WideStringView contentSpec, WideString& offendingText, WideString& hint) {
  TXmlElementCMTokenizer tokenizer(contentSpec);
  std::vector<TGroup> groups;
  TExpect expect = exStart;
  bool mixedNeedsStar = false;
  for (;;) {
    tokenizer.NextToken();
    const TXmlElementCMTokenType token = tokenizer.TokenType();
    const auto fail = [&](TXmlErrorKind kind) {
      offendingText = tokenizer.TokenValue();
      return kind;
    };
    if (tokenizer.ErrorKind() != 0) {
      // A fatal tokenizer error is passed on; a lesser one (a malformed "#PCDATA", a
      // character that starts no token) still leaves the content model malformed.
      if (ErrorSeverityOf(tokenizer.ErrorKind()) != esFatal) return fail(XmlErrors::MalformedContentModel);
      hint = tokenizer.ErrorHint();
      return fail(tokenizer.ErrorKind());
    }
    if (token == cmAny || token == cmEmpty) {
      if (expect != exStart) return fail(token == cmAny ? XmlErrors::MisplacedAny : XmlErrors::MisplacedEmpty);
      expect = exDone;
      continue;
    }
    if (token == cmPCDATA) {
      if (expect != exGroupStart || groups.size() != 1) return fail(XmlErrors::MisplacedPCData);
      groups.back().Mixed = true;
      expect = exAfterCp;
      continue;
    }
    switch (expect) {
      case exStart:
      case exGroupStart:
      case exCp:
        if (token == cmOpeningBracket && !(expect == exCp && groups.back().Mixed)) {
          groups.emplace_back();
          expect = exGroupStart;
          continue;
        }
        if (token == cmName && expect != exStart) {
          if (groups.back().Mixed) ++groups.back().MixedNames;
          expect = exAfterCp;
          continue;
        }
        return fail(XmlErrors::MalformedContentModel);
      case exAfterCp:
      case exAfterOccurrence:
        if (token == cmOccurrence && expect == exAfterCp && !groups.back().Mixed) {
          expect = exAfterOccurrence;
          continue;
        }
        if (token == cmSeparator) {
          TGroup& group = groups.back();
          const WideChar separator = tokenizer.TokenValue()[0];
          if ((group.Separator != 0 && group.Separator != separator) || (group.Mixed && separator != u'|'))
            return fail(XmlErrors::MalformedContentModel);
          group.Separator = separator;
          expect = exCp;
          continue;
        }
        if (token == cmClosingBracket) {
          const TGroup closed = groups.back();
          groups.pop_back();
          if (closed.Mixed) {
            mixedNeedsStar = closed.MixedNames > 0;
            expect = exAfterMixed;
          } else {
            expect = groups.empty() ? exAfterChildren : exAfterCp;
          }
          continue;
        }
        return fail(XmlErrors::MalformedContentModel);
      case exAfterMixed:
        if (token == cmOccurrence && tokenizer.TokenValue() == u"*") {
          expect = exDone;
          continue;
        }
        if (token == cmEnd && !mixedNeedsStar) return 0;
        return fail(XmlErrors::MalformedContentModel);
      case exAfterChildren:
        if (token == cmOccurrence) {
          expect = exDone;
          continue;
        }
        [[fallthrough]];
      case exDone:
        if (token == cmEnd) return 0;
        return fail(XmlErrors::MalformedContentModel);
    }
  }
}
