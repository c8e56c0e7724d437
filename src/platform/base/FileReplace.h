// Writing a file so that no failure leaves it cut short.
//
// A TFileReplaceStream writes into a new temporary file beside the target (in the folder
// of the file a link points to; its name is short, whatever the target's length) and
// moves it over the target in Commit(), after flushing it to the disk. The new file takes
// an existing target's permissions and, where the system lets us, its owner and group; a
// new target gets the usual 0666 less the umask. Other hard links to the old file keep
// the old contents: the name gets a new file, the old one is never written to. Until
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

  // Flushes the finished file to the disk and moves it over the target; false with the
  // last error set on failure (the temporary file is then removed and the target kept as
  // it was).
  bool Commit();

private:
  void Discard() noexcept;

  std::string FTarget;
  std::string FTemporary;
};

// Whether replacing the file `target` (as a TFileReplaceStream does) would replace the file
// `other`: both exist and, links followed, are the same name in the same folder (however
// the names spell it). Another hard link to the file is another name, which keeps the old
// contents.
bool ReplacesFile(const std::string& target, const std::string& other);

// The whole of `bytes` as the new content of the file: false with the last error set when
// the file cannot be replaced, which leaves it as it was. An existing target that is not a
// regular file, or is read-only, gives ERROR_ACCESS_DENIED.
bool ReplaceFileContents(const std::string& fileSystemName, std::string_view bytes);
