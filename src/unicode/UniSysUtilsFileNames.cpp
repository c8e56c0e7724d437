// File-name and string utilities of UniSysUtils. Positions count from 1.
#include <algorithm>

#include "platform/base/CompareString.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWindows.h"

namespace {

constexpr WideChar kPathDelimiter = u'/';
constexpr WideStringView kPathDelimiters = u"/";
constexpr WideStringView kExtDelimiters = u"./";

}  // namespace

int32_t WideLastDelimiter(WideStringView delimiters, WideStringView text) {
  for (size_t i = text.size(); i > 0; --i) {
    const WideChar c = text[i - 1];
    if (c != 0 && delimiters.find(c) != WideStringView::npos) return static_cast<int32_t>(i);
  }
  return 0;
}

bool WideIsDelimiter(WideStringView delimiters, WideStringView text, int32_t position) {
  if (position < 1 || static_cast<size_t>(position) > text.size()) return false;
  const WideChar c = text[static_cast<size_t>(position) - 1];
  return c != 0 && delimiters.find(c) != WideStringView::npos;
}

bool WideIsPathDelimiter(WideStringView text, int32_t position) {
  return WideIsDelimiter(kPathDelimiters, text, position);
}

WideString WideIncludeTrailingBackslash(WideStringView path) {
  WideString result(path);
  if (WideLastChar(path) != kPathDelimiter) result += kPathDelimiter;
  return result;
}

WideString WideExcludeTrailingBackslash(WideStringView path) {
  if (WideLastChar(path) == kPathDelimiter) path.remove_suffix(1);
  return WideString(path);
}

WideString WideChangeFileExt(WideStringView fileName, WideStringView extension) {
  const int32_t p = WideLastDelimiter(kExtDelimiters, fileName);
  WideString result(fileName);
  if (p != 0 && fileName[static_cast<size_t>(p) - 1] == u'.') result.resize(static_cast<size_t>(p) - 1);
  return result += extension;
}

WideString WideExtractFilePath(WideStringView fileName) {
  return WideString(fileName.substr(0, static_cast<size_t>(WideLastDelimiter(kPathDelimiters, fileName))));
}

WideString WideExtractFileName(WideStringView fileName) {
  return WideString(fileName.substr(static_cast<size_t>(WideLastDelimiter(kPathDelimiters, fileName))));
}

WideString WideExtractFileDir(WideStringView fileName) {
  const int32_t p = WideLastDelimiter(kPathDelimiters, fileName);
  // A "/" that is the first character or follows another "/" belongs to the root.
  const bool keepDelimiter = p == 1 || (p > 1 && fileName[static_cast<size_t>(p) - 2] == kPathDelimiter);
  return WideString(fileName.substr(0, static_cast<size_t>(keepDelimiter ? p : std::max(p - 1, 0))));
}

WideString WideExtractFileExt(WideStringView fileName) {
  const int32_t p = WideLastDelimiter(kExtDelimiters, fileName);
  if (p == 0 || fileName[static_cast<size_t>(p) - 1] != u'.') return WideString();
  return WideString(fileName.substr(static_cast<size_t>(p) - 1));
}

WideString WideExpandFileName(const WideString& fileName) {
  // The buffer starts at MAX_PATH characters and grows to what the call asks for, so
  // no path is cut.
  WideString buffer(MAX_PATH, u'\0');
  for (;;) {
    WideChar* filePart = nullptr;
    const uint32_t length =
        WideGetFullPathName(fileName.c_str(), static_cast<uint32_t>(buffer.size()), buffer.data(), &filePart);
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(length, u'\0');
  }
}

WideChar WideLastChar(WideStringView text) { return text.empty() ? WideChar{0} : text.back(); }

// ---- Strings ---------------------------------------------------------------------------

WideString WideCharUpperCase(WideStringView text) {
  WideString result(text);
  WideCharUpperBuff(result.data(), static_cast<uint32_t>(result.size()));
  return result;
}

int32_t WideTextPos(WideStringView pattern, WideStringView text) {
  if (pattern.empty()) return 0;
  const size_t found = WideCharUpperCase(text).find(WideCharUpperCase(pattern));
  return found == WideString::npos ? 0 : static_cast<int32_t>(found) + 1;
}

bool WideSameText(WideStringView a, WideStringView b) { return CompareWideStrings(a, b, true) == 0; }

bool WideSameStr(WideStringView a, WideStringView b) { return a == b; }

namespace {

bool IsWordBoundary(WideChar c) { return c == 0 || IsWideCharSpace(c) || IsWideCharPunct(c); }

}  // namespace

WideString WideStringReplace(WideStringView text, WideStringView oldPattern, WideStringView newPattern, uint32_t flags,
                             bool wholeWord) {
  const bool ignoreCase = (flags & wrfIgnoreCase) != 0;
  // `search` mirrors `remaining` (upper-cased when ignoring case), so positions agree.
  WideString search = ignoreCase ? WideCharUpperCase(text) : WideString(text);
  const WideString pattern = ignoreCase ? WideCharUpperCase(oldPattern) : WideString(oldPattern);
  WideStringView remaining = text;
  WideStringView searchView = search;
  WideString result;
  while (!searchView.empty()) {
    const size_t at = pattern.empty() ? WideStringView::npos : searchView.find(pattern);
    if (at == WideStringView::npos) break;
    const size_t matchEnd = at + pattern.size();
    if (wholeWord) {
      const WideChar before = at == 0 ? WideLastChar(result) : remaining[at - 1];
      const WideChar after = matchEnd < remaining.size() ? remaining[matchEnd] : WideChar{0};
      if (!IsWordBoundary(before) || !IsWordBoundary(after)) {
        result += remaining.substr(0, matchEnd);
        remaining.remove_prefix(matchEnd);
        searchView.remove_prefix(matchEnd);
        continue;
      }
    }
    result += remaining.substr(0, at);
    result += newPattern;
    remaining.remove_prefix(matchEnd);
    if ((flags & wrfReplaceAll) == 0) break;
    searchView.remove_prefix(matchEnd);
  }
  return result += remaining;
}

WideString NextWideToken(const WideChar*& cursor, WideChar delimiter) {
  const WideChar* start = cursor;
  while (*cursor != 0 && *cursor != delimiter) ++cursor;
  WideString token(start, static_cast<size_t>(cursor - start));
  if (*cursor != 0) ++cursor;
  return token;
}

std::vector<WideString> SplitWideTokens(const WideString& text, WideChar delimiter) {
  std::vector<WideString> tokens;
  const WideChar* cursor = text.c_str();
  for (WideString token; !(token = NextWideToken(cursor, delimiter)).empty();) tokens.push_back(std::move(token));
  return tokens;
}
