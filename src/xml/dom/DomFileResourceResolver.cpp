#include "xml/dom/DomFileResourceResolver.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/base/FileContents.h"
#include "platform/base/FileSystemNames.h"
#include "xml/utils/UriUtils.h"

namespace {

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

int HexValue(WideChar c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if ((c | 0x20) >= u'a' && (c | 0x20) <= u'f') return (c | 0x20) - u'a' + 10;
  return -1;
}

// The file-system name of a "file:" URI with an empty or "localhost" authority; empty
// for any other URI, one with a query or fragment, or a bad escape.
std::string FileNameOfUri(WideStringView uri) {
  constexpr WideStringView Prefixes[] = {u"file:///", u"file://localhost/"};
  size_t start = WideStringView::npos;
  for (const WideStringView prefix : Prefixes)
    if (uri.starts_with(prefix)) start = prefix.size() - 1;
  if (start == WideStringView::npos) return {};
  std::string name;
  WideString run;  // characters written as they are, up to the next escape
  const auto flush = [&] {
    std::string bytes;
    if (!WideToFileSystemName(run, bytes)) return false;
    name += bytes;
    run.clear();
    return true;
  };
  for (size_t i = start; i < uri.size(); ++i) {
    const WideChar c = uri[i];
    if (c == u'?' || c == u'#' || c == 0) return {};
    if (c != u'%') {
      run += c;
      continue;
    }
    const int high = i + 2 < uri.size() ? HexValue(uri[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(uri[i + 2]) : -1;
    if (low < 0 || (high == 0 && low == 0) || !flush()) return {};
    name += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (!flush()) return {};
  return name;
}

}  // namespace

void TDomFileResourceResolver::AllowFolder(const std::string& folder) {
  std::string real = RealPath(folder);
  if (real.empty()) return;
  if (!real.ends_with('/')) real += '/';
  FAllowedFolders.push_back(real);
}

std::unique_ptr<TStream> TDomFileResourceResolver::ResolveResource(WideStringView baseUri, WideStringView,
                                                                   WideString& systemId) {
  WideString resolved;
  if (!ResolveUriReference(baseUri, systemId, resolved)) resolved = systemId;
  const std::string name = FileNameOfUri(resolved);
  if (name.empty()) return nullptr;
  const std::string real = RealPath(name);
  if (real.empty()) return nullptr;
  const bool allowed = std::any_of(FAllowedFolders.begin(), FAllowedFolders.end(),
                                   [&](const std::string& folder) { return real.starts_with(folder); });
  std::string bytes;
  if (!allowed || !ReadRegularFile(real, bytes)) return nullptr;
  systemId = resolved;
  return std::make_unique<TStringStream>(std::move(bytes));
}
