// Writing a file so that no failure leaves it cut short.
//
// A TFileReplaceStream writes into a new temporary file beside the target (in the folder
// of the file a link points to) and moves it over the target in Commit(), which keeps an
// existing target's permissions and gives a new one the usual 0666 less the umask. Until
// Commit() succeeds the target is untouched; a stream destroyed uncommitted removes its
// temporary file. Names are file-system bytes (see FileSystemNames.h).
#pragma once

#include <string>

#include "platform/base/Streams.h"

class TFileReplaceStream : public THandleStream {
public:
  // Raises EFCreateError when the temporary file cannot be made (the last error says why).
  explicit TFileReplaceStream(std::string fileSystemName);
  ~TFileReplaceStream() override;
  TFileReplaceStream(const TFileReplaceStream&) = delete;
  TFileReplaceStream& operator=(const TFileReplaceStream&) = delete;

  // Moves the finished file over the target; false with the last error set on failure
  // (the temporary file is then removed and the target kept as it was).
  bool Commit();

private:
  void Discard() noexcept;

  std::string FTarget;
  std::string FTemporary;
};

// The whole of `bytes` as the new content of the file: false with the last error set when
// the file cannot be replaced, which leaves it as it was. An existing target that is not a
// regular file, or is read-only, gives ERROR_ACCESS_DENIED.
bool ReplaceFileContents(const std::string& fileSystemName, std::string_view bytes);
