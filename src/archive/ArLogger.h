// The engines' log: a write-only stream that buffers 4 KB before writing to its file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/base/Streams.h"

class TArLogger : public TStream {
public:
  // Creates the file anew (emptied when it exists); lines end with CR LF.
  explicit TArLogger(const AnsiString& fileName);
  // Flushes what is buffered and closes the file; a failing write loses the rest.
  ~TArLogger() override;
  TArLogger(const TArLogger&) = delete;
  TArLogger& operator=(const TArLogger&) = delete;

  int32_t Read(void*, int32_t) override { return 0; }
  // Returns the bytes taken: 0 when a full buffer cannot be flushed first.
  int32_t Write(const void* buffer, int32_t count) override;
  // Only the position: offset 0 from the current position or the end gives the file's
  // position plus what is buffered; anything else answers 0 and moves nothing.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void WriteLine(const AnsiString& text);

  // 0 CR LF, 1 LF, anything else no delimiter.
  uint8_t LineDelimiter = 0;

private:
  // Writes the buffer; when the file takes only part, the rest moves to the front and
  // the answer is false.
  bool Flush();

  std::array<uint8_t, 4096> FBuffer;
  size_t FUsed = 0;
  std::unique_ptr<TFileStream> FFile;
};

class TArDeflateHelper;
// The engines' log for one run when options name a log file (else null), with its first
// lines: title, then the line the engines have always written in place of their trace.
std::unique_ptr<TArLogger> OpenEngineLog(const TArDeflateHelper& options, const AnsiString& title);
