#include "archive/ArCabFiles.h"

#include "archive/ArExcept.h"
#include "platform/base/FileReplace.h"
#include "platform/base/FileSystemNames.h"

namespace {

// Counts what is written and keeps nothing.
class TArSinkStream : public TStream {
public:
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void*, int32_t count) override {
    FPosition += count;
    if (FPosition > FSize) FSize = FPosition;
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
    if (base + offset < 0) return -1;
    FPosition = base + offset;
    return FPosition;
  }

private:
  int64_t FPosition = 0;
  int64_t FSize = 0;
};

}  // namespace

struct TArCabFiles::TEntry {
  std::unique_ptr<TStream> Owned;
  TStream* Stream = nullptr;
  TFileReplaceStream* Replacing = nullptr;  // Owned, when a new version
};

TArCabFiles::TArCabFiles() = default;
TArCabFiles::~TArCabFiles() = default;

TCabHandle TArCabFiles::Add(std::unique_ptr<TEntry> entry) {
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (!FEntries[i]) {
      FEntries[i] = std::move(entry);
      return static_cast<TCabHandle>(i + 1);
    }
  FEntries.push_back(std::move(entry));
  return static_cast<TCabHandle>(FEntries.size());
}

TArCabFiles::TEntry* TArCabFiles::Find(TCabHandle handle) const {
  if (handle <= 0 || static_cast<size_t>(handle) > FEntries.size()) return nullptr;
  return FEntries[static_cast<size_t>(handle - 1)].get();
}

TCabHandle TArCabFiles::OpenRead(const AnsiString& fileName) {
  auto entry = std::make_unique<TEntry>();
  try {
    entry->Owned = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyNone);
  } catch (const EFOpenError&) {
    return 0;
  }
  entry->Stream = entry->Owned.get();
  return Add(std::move(entry));
}

TCabHandle TArCabFiles::CreateReplacing(const AnsiString& fileName) {
  std::string fileSystemName;
  if (!AnsiToFileSystemName(fileName, fileSystemName)) throw EArFileNotFound();
  auto entry = std::make_unique<TEntry>();
  auto replacing = std::make_unique<TFileReplaceStream>(fileSystemName);
  entry->Replacing = replacing.get();
  entry->Stream = replacing.get();
  entry->Owned = std::move(replacing);
  return Add(std::move(entry));
}

TCabHandle TArCabFiles::Borrow(TStream& stream) {
  auto entry = std::make_unique<TEntry>();
  entry->Stream = &stream;
  return Add(std::move(entry));
}

TCabHandle TArCabFiles::OpenSink() {
  auto entry = std::make_unique<TEntry>();
  entry->Owned = std::make_unique<TArSinkStream>();
  entry->Stream = entry->Owned.get();
  return Add(std::move(entry));
}

TStream* TArCabFiles::Stream(TCabHandle handle) const {
  TEntry* entry = Find(handle);
  return entry ? entry->Stream : nullptr;
}

int32_t TArCabFiles::Read(TCabHandle handle, void* buffer, int32_t count) {
  TStream* stream = Stream(handle);
  return stream ? stream->Read(buffer, count) : -1;
}

int32_t TArCabFiles::Write(TCabHandle handle, const void* buffer, int32_t count) {
  TStream* stream = Stream(handle);
  return stream ? stream->Write(buffer, count) : -1;
}

int64_t TArCabFiles::Seek(TCabHandle handle, int64_t offset, int32_t origin) {
  TStream* stream = Stream(handle);
  if (!stream || origin < 0 || origin > 2) return -1;
  return stream->Seek(offset, static_cast<TSeekOrigin>(origin));
}

bool TArCabFiles::Complete(TCabHandle handle) {
  TEntry* entry = Find(handle);
  if (!entry) return false;
  bool completed = !entry->Replacing || entry->Replacing->Commit();
  Close(handle);
  return completed;
}

bool TArCabFiles::Close(TCabHandle handle) {
  if (!Find(handle)) return false;
  FEntries[static_cast<size_t>(handle - 1)].reset();
  return true;
}
