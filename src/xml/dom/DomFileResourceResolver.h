// A resource resolver that reads local files, and only those below the folders the
// caller allows: an external entity or DTD of a document can then not reach the
// network, devices or any file the caller did not mean to expose.
#pragma once

#include <string>
#include <vector>

#include "xml/dom/DomImplementation.h"

class TDomFileResourceResolver : public TCustomResourceResolver {
public:
  using TCustomResourceResolver::TCustomResourceResolver;

  // Files below the folder (its real path, symbolic links resolved) may be read.
  void AllowFolder(const std::string& folder);
  // The system identifier is resolved against the base URI and must be a "file:" URI
  // naming a regular file below an allowed folder (after symbolic links and ".."
  // are resolved); it becomes the resolved URI. None for anything else.
  std::unique_ptr<TStream> ResolveResource(WideStringView baseUri, WideStringView publicId,
                                           WideString& systemId) override;

private:
  std::vector<std::string> FAllowedFolders;  // real paths, each ending in "/"
};
