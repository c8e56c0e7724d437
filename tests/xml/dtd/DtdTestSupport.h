// Helpers shared by the DTD tests: content models written as in a DTD, built through
// the model's API.
#pragma once

#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"
#include "xml/dtd/DtdModel.h"

// Builds the particle tree of a content model such as "(a, (b | c)*, d?)" in `decl` and
// makes it the declaration's top model. Names are ASCII letters, digits and "#PCDATA".
inline TDtdContentModel* BuildContentModel(TDtdElementDecl& decl, std::string_view text) {
  size_t at = 0;
  const auto skip = [&] {
    while (at < text.size() && text[at] == ' ') ++at;
  };
  const auto frequency = [&](TDtdContentModel* particle) {
    skip();
    if (at < text.size() && (text[at] == '?' || text[at] == '*' || text[at] == '+')) {
      particle->SetFrequency(text[at] == '?' ? cmfOptional : text[at] == '*' ? cmfZeroOrMore : cmfOneOrMore);
      ++at;
    }
    return particle;
  };
  // An explicit stack of open groups; the group type is fixed by its first separator.
  std::vector<std::pair<std::vector<TDtdContentModel*>, char>> open;
  TDtdContentModel* top = nullptr;
  while (true) {
    skip();
    if (at >= text.size()) break;
    const char c = text[at];
    if (c == '(') {
      open.push_back({{}, 0});
      ++at;
    } else if (c == '|' || c == ',') {
      open.back().second = c;
      ++at;
    } else if (c == ')') {
      ++at;
      auto [items, separator] = open.back();
      open.pop_back();
      TDtdContentModel* group = decl.CreateContentModel(u"", separator == ',' ? cmtSequence : cmtChoice);
      for (TDtdContentModel* item : items)
        if (item) group->AppendSubModel(item);
      frequency(group);
      if (open.empty())
        top = group;
      else
        open.back().first.push_back(group);
    } else {
      size_t end = at;
      while (end < text.size() && text[end] != ' ' && text[end] != '|' && text[end] != ',' && text[end] != ')' &&
             text[end] != '?' && text[end] != '*' && text[end] != '+')
        ++end;
      const std::string name(text.substr(at, end - at));
      at = end;
      // "#PCDATA" is no particle: "(#PCDATA | a)*" is a choice of the element names.
      open.back().first.push_back(
          name == "#PCDATA" ? nullptr
                            : frequency(decl.CreateContentModel(WideString(name.begin(), name.end()), cmtName)));
    }
  }
  decl.SetContentModel(top);
  return top;
}

inline std::vector<WideString> Names(std::initializer_list<const char*> names) {
  std::vector<WideString> result;
  for (const char* name : names) result.emplace_back(name, name + std::char_traits<char>::length(name));
  return result;
}

inline WideString WideNumber(int64_t n) {
  const std::string digits = std::to_string(n);
  return WideString(digits.begin(), digits.end());
}
