#include "archive/ArSpanStrm.h"

#include <algorithm>
#include <limits>

#include "archive/ArExcept.h"
#include "archive/ArUtils.h"
#include "archive/ArVolumes.h"
#include "platform/base/FileSystem.h"

namespace {

constexpr int64_t NoLimit = std::numeric_limits<int32_t>::max();

bool IsFile(const AnsiString& name) {
  uint32_t attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Free space, with an unknown amount taken as no limit.
int64_t KnownFreeSpace(const AnsiString& name) {
  int32_t free = FreeSpace(name);
  return free < 0 ? NoLimit : free;
}

}  // namespace

TArSpanStream::TArSpanStream(const AnsiString& fileName, int32_t threshold, TArMediaType mediaType, uint16_t mode)
    : FMediaType(mediaType), FThreshold(threshold), FFirstName(fileName), FImageName(fileName), FFileMode(mode) {
  if (PathKind(fileName) != 2) throw EArException("Full Path Required", 0);
  FSpanMode = mode == fmCreate || (mode & fmOpenWrite) ? smWriting : smReading;
  if (FSpanMode == smWriting && !CheckMedia(fileName)) throw EArException("Invalid Media", 0);
  FFile = std::make_unique<TFileStream>(fileName, mode);
}

TArSpanStream::~TArSpanStream() = default;

bool TArSpanStream::CheckMedia(const AnsiString& name) { return FreeSpace(name) != -1 || !IsFile(name); }

int32_t TArSpanStream::ImageNumber(int32_t spanNumber) const {
  return FMediaType == mtRemoveable ? spanNumber + 1 : spanNumber;
}

void TArSpanStream::SwitchVolume(const AnsiString& imageName, int32_t spanNumber) {
  if (!IsFile(imageName)) throw EArFileNotFound();
  auto file = std::make_unique<TFileStream>(imageName, FFileMode);
  FFile = std::move(file);
  FImageName = imageName;
  FSpanNumber = spanNumber;
}

bool TArSpanStream::MoveToVolume(int32_t step) {
  int32_t target = FSpanNumber + step;
  if (!OnRequestMedia || target < 0) return false;
  bool abort = false;
  AnsiString name = FImageName;
  OnRequestMedia(*this, ImageNumber(target), abort, name);
  if (abort) throw EArUserAbort();
  if (name.empty()) return false;
  SwitchVolume(name, target);
  return true;
}

int32_t TArSpanStream::Read(void* buffer, int32_t count) {
  if (FSpanMode == smWriting || count <= 0) return 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  int32_t done = 0;
  for (;;) {
    int32_t got = FFile->Read(bytes + done, count - done);
    if (got > 0) done += got;
    if (done == count || IgnoreSpanning) break;
    // The volume is exhausted (a short read of a regular file means its end).
    if (!MoveToVolume(+1)) break;
  }
  return done;
}

int64_t TArSpanStream::Size() { return FFile->Size(); }

int64_t TArSpanStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t position = FFile->Seek(0, soCurrent);
  if (FSpanMode == smWriting) return position;
  int64_t size = FFile->Size();
  int64_t target = position;
  switch (origin) {
    case soBeginning:
      target = offset;
      break;
    case soCurrent:
      target = position + offset;
      break;
    case soEnd:
      target = size + offset;
      break;
    default:
      return position;
  }
  if (IgnoreSpanning) return FFile->Seek(std::clamp<int64_t>(target, 0, size), soBeginning);
  // Each step moves one volume on or back and takes that volume's length off the
  // distance left; a missing volume leaves the position where it was.
  while (target > size || target < 0) {
    if (target > size) {
      if (!MoveToVolume(+1)) return FFile->Seek(position, soBeginning);
      target -= size;
      size = FFile->Size();
    } else {
      if (!MoveToVolume(-1)) return FFile->Seek(position, soBeginning);
      size = FFile->Size();
      target += size;
    }
  }
  return FFile->Seek(target, soBeginning);
}

void TArSpanStream::SetSize(int64_t newSize) {
  if (newSize == 0) {
    FFile->SetSize(0);
    return;
  }
  FFile->SetSize(std::min(newSize, FFile->Size() + KnownFreeSpace(FImageName)));
}

int64_t TArSpanStream::RoomLeft() {
  if (FMediaType == mtRemoveable && FThreshold <= 0) return KnownFreeSpace(FImageName);
  int64_t byThreshold = FThreshold > 0 ? FThreshold - FBytesWritten : NoLimit;
  return std::min(byThreshold, KnownFreeSpace(FImageName));
}

void TArSpanStream::StartNewVolume() {
  if (!OnRequestMedia) throw EArZipStreamFull();
  FFile.reset();
  // Local volumes after the first are numbered files beside it; removable ones keep the
  // name on a new disk.
  int32_t imageNumber = FMediaType == mtLocal ? FSpanNumber + 1 : FSpanNumber + 2;
  AnsiString proposed = FMediaType == mtLocal ? SpanVolumeName(FFirstName, FSpanNumber + 2) : FImageName;
  AnsiString refused;
  for (;;) {
    bool abort = false;
    AnsiString name = proposed;
    OnRequestMedia(*this, imageNumber, abort, name);
    if (abort) throw EArUserAbort();
    if (!name.empty() && CheckMedia(name)) {
      FImageName = name;
      break;
    }
    // The same refused answer twice would ask for ever.
    if (name == refused) throw EArException("Invalid Media", 0);
    refused = name;
  }
  ++FSpanNumber;
  FBytesWritten = 0;
  { TFileStream created(FImageName, fmCreate); }
  FFile = std::make_unique<TFileStream>(FImageName, FFileMode == fmCreate ? fmOpenReadWrite : FFileMode);
}

int32_t TArSpanStream::WriteSpanned(const uint8_t* bytes, int32_t count) {
  int32_t done = 0;
  while (done < count) {
    int64_t room = RoomLeft();
    if (room <= 0) {
      // A fresh volume without room would be followed by another for ever.
      if (FBytesWritten == 0 && FSpanNumber > 0) throw EArZipStreamFull();
      StartNewVolume();
      continue;
    }
    int32_t part = static_cast<int32_t>(std::min<int64_t>(room, count - done));
    int32_t written = FFile->Write(bytes + done, part);
    if (written <= 0) break;
    FBytesWritten += written;
    done += written;
  }
  return done;
}

int32_t TArSpanStream::Write(const void* buffer, int32_t count) {
  if (FSpanMode == smReading || count <= 0) return 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  int32_t written = FMediaType == mtLocal && FThreshold <= 0 ? FFile->Write(bytes, count) : WriteSpanned(bytes, count);
  FTotalWritten += written;
  if (OnProgress) {
    bool abort = false;
    OnProgress(Percentage(FTotalWritten, TotalBytesToWrite), abort);
    if (abort) return 0;
  }
  return written;
}
