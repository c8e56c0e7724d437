// URI syntax of RFC 2396 (without the IPv6 literals of later revisions), the split of a
// URI reference into its five components, reference resolution, and file URIs.
//
// Only ASCII characters are accepted, so any other character fails a check. Nothing is
// unescaped or normalized: an escape is only tested for its form ("%" and two hex
// digits).
#pragma once

#include "platform/base/Object.h"
#include "platform/base/Types.h"

bool IsUriAlphaChar(WideChar c);
bool IsUriDigitChar(WideChar c);
bool IsUriAlphanumChar(WideChar c);
bool IsUriHexDigitChar(WideChar c);
// The unreserved punctuation: - _ . ! ~ * ' ( )
bool IsUriPunctChar(WideChar c);
bool IsUriUnreservedChar(WideChar c);
// ; / ? : @ & = + $ ,
bool IsUriReservedChar(WideChar c);

// The productions of RFC 2396, each named after it. Which of them accept the empty
// string is part of their contract: IsUriPath, IsUriPathSegments, IsUriQuery,
// IsUriFragment, IsUriAuthority, IsUriServer, IsUriUserinfo and IsUriPort do.
bool IsUriAbsoluteUri(WideStringView s);
bool IsUriHierPart(WideStringView s);
bool IsUriNetPath(WideStringView s);
bool IsUriAbsPath(WideStringView s);
bool IsUriOpaquePart(WideStringView s);
bool IsUriPath(WideStringView s);
bool IsUriPathSegments(WideStringView s);
bool IsUriUrics(WideStringView s);
bool IsUriQuery(WideStringView s);
bool IsUriFragment(WideStringView s);
bool IsUriScheme(WideStringView s);
bool IsUriAuthority(WideStringView s);
bool IsUriRegName(WideStringView s);
bool IsUriServer(WideStringView s);
bool IsUriUserinfo(WideStringView s);
bool IsUriHostport(WideStringView s);
bool IsUriHost(WideStringView s);
// One trailing "." is allowed; labels may not be empty.
bool IsUriHostname(WideStringView s);
bool IsUriDomainlabel(WideStringView s);
bool IsUriToplabel(WideStringView s);
// Four runs of digits separated by "."; the numbers are not compared with 255.
bool IsUriIPv4address(WideStringView s);
bool IsUriPort(WideStringView s);

// One URI reference split into scheme, authority, path, query and fragment. The path is
// always present (possibly empty); the other four carry a presence flag, so that an
// empty query ("a?") differs from none ("a"). An absent component is empty.
class TUriWideStrAnalyzer : public TObject {
public:
  TUriWideStrAnalyzer() { ParseReference(u""); }

  // [scheme ":"] ["//" authority] path ["?" query] ["#" fragment], each bracket only when
  // its component is present.
  virtual WideString ComposeReference() const;

  // Each Assign stores the presence flag, then the text when it is present and passes
  // the component's check. Returns true when the component is stored or absent; false
  // (component emptied, flag kept) when a present text fails its check.
  virtual bool AssignAuthority(WideStringView text, bool present);
  virtual bool AssignFragment(WideStringView text, bool present);
  // Stores the path when it passes IsUriPath, else empties it; returns the check.
  virtual bool AssignPath(WideStringView text);
  virtual bool AssignQuery(WideStringView text, bool present);
  virtual bool AssignScheme(WideStringView text, bool present);
  // Splits a reference; on failure every component is cleared and the result is false.
  virtual bool ParseReference(WideStringView text);

  const WideString& UriScheme() const { return FScheme; }
  const WideString& UriAuthority() const { return FAuthority; }
  const WideString& UriPath() const { return FPath; }
  const WideString& UriQuery() const { return FQuery; }
  const WideString& UriFragment() const { return FFragment; }
  bool HasUriScheme() const { return FHasScheme; }
  bool HasUriAuthority() const { return FHasAuthority; }
  bool HasUriQuery() const { return FHasQuery; }
  bool HasUriFragment() const { return FHasFragment; }

private:
  WideString FScheme, FAuthority, FPath, FQuery, FFragment;
  bool FHasScheme = false, FHasAuthority = false, FHasQuery = false, FHasFragment = false;
};

// Resolves `reference` against `base` as section 5.2 of RFC 2396 does. Returns false
// with an empty `result` when either fails to parse, when neither has a scheme, or when
// a merged path climbs above its root ("../../y" against "x://h/a").
bool ResolveUriReference(WideStringView base, WideStringView reference, WideString& result);

// Flag bits of FileNameToFileUri.
inline constexpr int FileUriWithLocalhost = 1;  // "file://localhost" instead of "file://"
inline constexpr int FileUriKeepColons = 2;     // ":" stays instead of becoming "%3a"

// The "file://" URI of an 8-bit file name (bytes of the name as stored on disk). "/"
// separates the path's segments; letters, digits and - _ . ! ~ * ' ( ) are copied and
// every other byte is escaped as "%" and two upper-case hex digits (":" as "%3a" unless
// FileUriKeepColons is set). An empty name gives just the prefix.
WideString FileNameToFileUri(AnsiStringView fileName, int flags);
