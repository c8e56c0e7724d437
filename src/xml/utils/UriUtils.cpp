#include "xml/utils/UriUtils.h"

#include <algorithm>
#include <vector>

#include "xml/utils/AbnfUtils.h"

namespace {

constexpr size_t npos = WideStringView::npos;

bool InSet(WideChar c, WideStringView set) { return set.find(c) != npos; }

// Every character passes `allowed` or starts an escape ("%" and two hex digits).
template <typename Allowed>
bool IsEscapedRun(WideStringView s, Allowed allowed) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'%') {
      if (i + 2 >= s.size() || !IsUriHexDigitChar(s[i + 1]) || !IsUriHexDigitChar(s[i + 2])) return false;
      i += 2;
    } else if (!allowed(s[i])) {
      return false;
    }
  }
  return true;
}

bool IsUricChar(WideChar c) { return IsUriReservedChar(c) || IsUriUnreservedChar(c); }

// A label: first character passes `first`, last is alphanumeric, inner ones are
// alphanumeric or "-".
template <typename First>
bool IsLabel(WideStringView s, First first) {
  if (s.empty() || !first(s.front()) || !IsUriAlphanumChar(s.back())) return false;
  return std::all_of(s.begin(), s.end(), [](WideChar c) { return IsUriAlphanumChar(c) || c == u'-'; });
}

// The two halves of `s` around the first `separator`; `found` says whether there was one.
struct TSplit {
  WideStringView Before, After;
  bool Found;
};
TSplit SplitAtFirst(WideStringView s, WideChar separator) {
  const size_t at = s.find(separator);
  if (at == npos) return {s, {}, false};
  return {s.substr(0, at), s.substr(at + 1), true};
}

// The segments of a relative path merged onto a base, with "." and "<segment>/.."
// removed. Returns false when ".." would climb above the root.
bool RemoveDotSegments(WideStringView buffer, WideString& path) {
  std::vector<WideStringView> segments;
  for (size_t start = 0;;) {
    const size_t slash = buffer.find(u'/', start);
    segments.push_back(buffer.substr(start, slash == npos ? npos : slash - start));
    if (slash == npos) break;
    start = slash + 1;
  }
  // A path ending in "." or ".." names a directory, so the result ends with "/".
  if (segments.back() == u"." || segments.back() == u"..") segments.emplace_back();
  std::erase(segments, WideStringView(u"."));
  for (;;) {
    auto climb = std::adjacent_find(segments.begin(), segments.end(), [](WideStringView before, WideStringView s) {
      return s == u".." && before != u"..";
    });
    if (climb == segments.end()) break;
    segments.erase(climb, climb + 2);
  }
  if (!segments.empty() && segments.front() == u"..") return false;
  path = u"/";
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) path += u'/';
    path += segments[i];
  }
  return true;
}

}  // namespace

bool IsUriAlphaChar(WideChar c) { return IsAbnfAlpha(c); }
bool IsUriDigitChar(WideChar c) { return IsAbnfDigit(c); }
bool IsUriAlphanumChar(WideChar c) { return IsAbnfAlpha(c) || IsAbnfDigit(c); }
bool IsUriHexDigitChar(WideChar c) { return IsAbnfDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsUriPunctChar(WideChar c) { return InSet(c, u"-_.!~*'()"); }
bool IsUriUnreservedChar(WideChar c) { return IsUriAlphanumChar(c) || IsUriPunctChar(c); }
bool IsUriReservedChar(WideChar c) { return InSet(c, u";/?:@&=+$,"); }

bool IsUriAbsoluteUri(WideStringView s) {
  const TSplit split = SplitAtFirst(s, u':');
  return split.Found && IsUriScheme(split.Before) && (IsUriHierPart(split.After) || IsUriOpaquePart(split.After));
}

bool IsUriHierPart(WideStringView s) {
  const TSplit split = SplitAtFirst(s, u'?');
  return (IsUriNetPath(split.Before) || IsUriAbsPath(split.Before)) && (!split.Found || IsUriQuery(split.After));
}

bool IsUriNetPath(WideStringView s) {
  if (!s.starts_with(u"//")) return false;
  s.remove_prefix(2);
  const size_t slash = s.find(u'/');
  if (slash == npos) return IsUriAuthority(s);
  return IsUriAuthority(s.substr(0, slash)) && IsUriAbsPath(s.substr(slash));
}

bool IsUriAbsPath(WideStringView s) { return s.starts_with(u'/') && IsUriPathSegments(s.substr(1)); }

bool IsUriOpaquePart(WideStringView s) { return !s.empty() && s.front() != u'/' && IsUriUrics(s); }

bool IsUriPath(WideStringView s) { return s.empty() || IsUriAbsPath(s) || IsUriOpaquePart(s); }

bool IsUriPathSegments(WideStringView s) {
  return IsEscapedRun(s, [](WideChar c) { return IsUriUnreservedChar(c) || InSet(c, u":@&=+$,;/"); });
}

bool IsUriUrics(WideStringView s) { return !s.empty() && IsEscapedRun(s, IsUricChar); }
bool IsUriQuery(WideStringView s) { return s.empty() || IsUriUrics(s); }
bool IsUriFragment(WideStringView s) { return s.empty() || IsUriUrics(s); }

bool IsUriScheme(WideStringView s) {
  if (s.empty() || !IsAbnfAlpha(s.front())) return false;
  return std::all_of(s.begin(), s.end(), [](WideChar c) { return IsUriAlphanumChar(c) || InSet(c, u"+-."); });
}

bool IsUriAuthority(WideStringView s) { return IsUriServer(s) || IsUriRegName(s); }

bool IsUriRegName(WideStringView s) {
  return !s.empty() && IsEscapedRun(s, [](WideChar c) { return IsUriUnreservedChar(c) || InSet(c, u"$,;:@&=+"); });
}

bool IsUriServer(WideStringView s) {
  if (s.empty()) return true;
  const TSplit split = SplitAtFirst(s, u'@');
  if (!split.Found) return IsUriHostport(s);
  return IsUriUserinfo(split.Before) && IsUriHostport(split.After);
}

bool IsUriUserinfo(WideStringView s) {
  return IsEscapedRun(s, [](WideChar c) { return IsUriUnreservedChar(c) || InSet(c, u";:&=+$,"); });
}

bool IsUriHostport(WideStringView s) {
  const TSplit split = SplitAtFirst(s, u':');
  return IsUriHost(split.Before) && (!split.Found || IsUriPort(split.After));
}

bool IsUriHost(WideStringView s) { return IsUriHostname(s) || IsUriIPv4address(s); }

bool IsUriHostname(WideStringView s) {
  if (s.ends_with(u'.')) s.remove_suffix(1);
  const size_t lastDot = s.rfind(u'.');
  if (lastDot == npos) return IsUriToplabel(s);
  if (!IsUriToplabel(s.substr(lastDot + 1))) return false;
  for (WideStringView rest = s.substr(0, lastDot);;) {
    const TSplit split = SplitAtFirst(rest, u'.');
    if (!IsUriDomainlabel(split.Before)) return false;
    if (!split.Found) return true;
    rest = split.After;
  }
}

bool IsUriDomainlabel(WideStringView s) { return IsLabel(s, IsUriAlphanumChar); }
bool IsUriToplabel(WideStringView s) { return IsLabel(s, IsUriAlphaChar); }

bool IsUriIPv4address(WideStringView s) {
  int runs = 0;
  for (WideStringView rest = s;;) {
    const TSplit split = SplitAtFirst(rest, u'.');
    if (split.Before.empty() || !std::all_of(split.Before.begin(), split.Before.end(), IsUriDigitChar)) return false;
    ++runs;
    if (!split.Found) return runs == 4;
    rest = split.After;
  }
}

bool IsUriPort(WideStringView s) { return std::all_of(s.begin(), s.end(), IsUriDigitChar); }

// ---- TUriWideStrAnalyzer ----

namespace {

// Stores an optional component by the rule every Assign shares.
bool AssignComponent(WideString& field, bool& flag, WideStringView text, bool present, bool (*check)(WideStringView)) {
  flag = present;
  if (present && check(text)) {
    field.assign(text);
    return true;
  }
  field.clear();
  return !present;
}

}  // namespace

WideString TUriWideStrAnalyzer::ComposeReference() const {
  WideString result;
  if (FHasScheme) result += FScheme + u':';
  if (FHasAuthority) result += u"//" + FAuthority;
  result += FPath;
  if (FHasQuery) result += u'?' + FQuery;
  if (FHasFragment) result += u'#' + FFragment;
  return result;
}

bool TUriWideStrAnalyzer::AssignAuthority(WideStringView text, bool present) {
  return AssignComponent(FAuthority, FHasAuthority, text, present, IsUriAuthority);
}
bool TUriWideStrAnalyzer::AssignFragment(WideStringView text, bool present) {
  return AssignComponent(FFragment, FHasFragment, text, present, IsUriFragment);
}
bool TUriWideStrAnalyzer::AssignQuery(WideStringView text, bool present) {
  return AssignComponent(FQuery, FHasQuery, text, present, IsUriQuery);
}
bool TUriWideStrAnalyzer::AssignScheme(WideStringView text, bool present) {
  return AssignComponent(FScheme, FHasScheme, text, present, IsUriScheme);
}
bool TUriWideStrAnalyzer::AssignPath(WideStringView text) {
  const bool valid = IsUriPath(text);
  if (valid)
    FPath.assign(text);
  else
    FPath.clear();
  return valid;
}

bool TUriWideStrAnalyzer::ParseReference(WideStringView text) {
  const TSplit scheme = SplitAtFirst(text, u':');
  bool ok = AssignScheme(scheme.Found ? scheme.Before : WideStringView(), scheme.Found);
  WideStringView rest = scheme.Found ? scheme.After : text;

  const TSplit fragment = SplitAtFirst(rest, u'#');
  ok = AssignFragment(fragment.After, fragment.Found) && ok;
  rest = fragment.Before;

  const TSplit query = SplitAtFirst(rest, u'?');
  ok = AssignQuery(query.After, query.Found) && ok;
  rest = query.Before;

  const bool hasAuthority = rest.starts_with(u"//");
  WideStringView authority;
  if (hasAuthority) {
    rest.remove_prefix(2);
    const size_t slash = rest.find(u'/');
    authority = rest.substr(0, slash);
    rest = slash == npos ? WideStringView() : rest.substr(slash);
  }
  ok = AssignAuthority(authority, hasAuthority) && ok;
  ok = AssignPath(rest) && ok;

  if (!ok) {
    AssignScheme(u"", false);
    AssignAuthority(u"", false);
    AssignQuery(u"", false);
    AssignFragment(u"", false);
    AssignPath(u"");
  }
  return ok;
}

bool ResolveUriReference(WideStringView base, WideStringView reference, WideString& result) {
  result.clear();
  TUriWideStrAnalyzer baseUri, ref;
  if (!baseUri.ParseReference(base) || !ref.ParseReference(reference)) return false;
  if (!baseUri.HasUriScheme() && !ref.HasUriScheme()) return false;

  if (ref.UriPath().empty() && !ref.HasUriScheme() && !ref.HasUriAuthority() && !ref.HasUriQuery()) {
    // A reference to the base document itself: only the fragment changes.
    baseUri.AssignFragment(ref.UriFragment(), ref.HasUriFragment());
    result = baseUri.ComposeReference();
    return true;
  }
  if (ref.HasUriScheme()) {
    result = ref.ComposeReference();
    return true;
  }
  ref.AssignScheme(baseUri.UriScheme(), baseUri.HasUriScheme());
  if (!ref.HasUriAuthority()) {
    ref.AssignAuthority(baseUri.UriAuthority(), baseUri.HasUriAuthority());
    if (!ref.UriPath().starts_with(u'/')) {
      // The base path from its second character through its last "/", then the
      // reference's path.
      const WideString& basePath = baseUri.UriPath();
      const size_t lastSlash = basePath.rfind(u'/');
      WideString buffer = lastSlash == npos || lastSlash == 0 ? WideString() : basePath.substr(1, lastSlash);
      buffer += ref.UriPath();
      WideString merged;
      if (!RemoveDotSegments(buffer, merged)) return false;
      ref.AssignPath(merged);
    }
  }
  result = ref.ComposeReference();
  return true;
}

WideString FileNameToFileUri(AnsiStringView fileName, int flags) {
  WideString uri = (flags & FileUriWithLocalhost) ? u"file://localhost" : u"file://";
  if (fileName.empty()) return uri;
  // An absolute name brings its own leading "/".
  if (fileName.front() != '/') uri += u'/';
  constexpr char HexDigits[] = "0123456789ABCDEF";
  for (char ch : fileName) {
    const auto byte = static_cast<uint8_t>(ch);
    if (byte < 0x80 && (IsUriAlphanumChar(byte) || InSet(byte, u"-_.!~*'()/"))) {
      uri += WideChar(byte);
    } else if (byte == ':') {
      uri += (flags & FileUriKeepColons) ? u":" : u"%3a";
    } else {
      uri += u'%';
      uri += WideChar(HexDigits[byte >> 4]);
      uri += WideChar(HexDigits[byte & 0xF]);
    }
  }
  return uri;
}
