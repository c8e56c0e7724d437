#include "xml/utils/LangUtils.h"

#include <algorithm>

namespace {

WideChar AsciiLower(WideChar c) { return c >= u'A' && c <= u'Z' ? WideChar(c + (u'a' - u'A')) : c; }

bool SameIgnoringAsciiCase(WideStringView a, WideStringView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](WideChar x, WideChar y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

bool IsLanguageRangeMatch(WideStringView tag, WideStringView range) {
  if (tag.size() == range.size()) return SameIgnoringAsciiCase(tag, range);
  if (range.size() >= tag.size()) return false;
  return tag[range.size()] == u'-' && SameIgnoringAsciiCase(tag.substr(0, range.size()), range);
}
