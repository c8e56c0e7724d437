#include "archive/ArLogger.h"

#include "archive/ArDfBase.h"

#include <algorithm>
#include <cstring>

TArLogger::TArLogger(const AnsiString& fileName) : FFile(std::make_unique<TFileStream>(fileName, fmCreate)) {}

TArLogger::~TArLogger() {
  try {
    Flush();
  } catch (...) {
    // A log is never worth an exception out of a destructor.
  }
}

bool TArLogger::Flush() {
  if (FUsed == 0) return true;
  int32_t written = FFile->Write(FBuffer.data(), static_cast<int32_t>(FUsed));
  size_t taken = written > 0 ? static_cast<size_t>(written) : 0;
  std::memmove(FBuffer.data(), FBuffer.data() + taken, FUsed - taken);
  FUsed -= taken;
  return FUsed == 0;
}

int32_t TArLogger::Write(const void* buffer, int32_t count) {
  if (FUsed == FBuffer.size() && !Flush()) return 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  int32_t taken = 0;
  while (taken < count) {
    size_t n = std::min<size_t>(static_cast<size_t>(count - taken), FBuffer.size() - FUsed);
    std::memcpy(FBuffer.data() + FUsed, bytes + taken, n);
    FUsed += n;
    taken += static_cast<int32_t>(n);
    if (FUsed == FBuffer.size() && !Flush()) break;
  }
  return taken;
}

int64_t TArLogger::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset != 0 || origin == soBeginning) return 0;
  return FFile->Position() + static_cast<int64_t>(FUsed);
}

void TArLogger::WriteLine(const AnsiString& text) {
  Write(text.data(), static_cast<int32_t>(text.size()));
  if (LineDelimiter == 0)
    Write("\r\n", 2);
  else if (LineDelimiter == 1)
    Write("\n", 1);
}

std::unique_ptr<TArLogger> OpenEngineLog(const TArDeflateHelper& options, const AnsiString& title) {
  if (options.LogFile.empty()) return nullptr;
  auto log = std::make_unique<TArLogger>(options.LogFile);
  log->WriteLine(title);
  log->WriteLine("Need to recompile the app with UseLogging turned on");
  return log;
}
