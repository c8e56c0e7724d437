// The files that the cabinet library reaches through a cabinet archive's callbacks. Each
// open file is a stream in a table and its handle is its place there (from 1): files the
// table opens by name, new files written under a temporary name until completed, the
// caller's own stream, or a sink that counts and drops what it is given.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/cabinet/Cabinet.h"

class TFileReplaceStream;

class TArCabFiles {
public:
  TArCabFiles();
  ~TArCabFiles();
  TArCabFiles(const TArCabFiles&) = delete;
  TArCabFiles& operator=(const TArCabFiles&) = delete;

  // An existing file opened for reading (sharing allowed); 0 when it cannot be opened.
  TCabHandle OpenRead(const AnsiString& fileName);
  // A new version of the file, written under a temporary name beside it until Complete;
  // raises as TFileReplaceStream does (EFCreateError), or EArFileNotFound for a name the
  // file system cannot hold.
  TCabHandle CreateReplacing(const AnsiString& fileName);
  // The caller's stream, not owned; it must outlive the handle.
  TCabHandle Borrow(TStream& stream);
  // A sink: writes succeed and are counted (Stream(handle).Size()).
  TCabHandle OpenSink();

  // The stream of an open handle, nullptr for any other value.
  TStream* Stream(TCabHandle handle) const;
  // Bytes moved, -1 for a handle that is not open.
  int32_t Read(TCabHandle handle, void* buffer, int32_t count);
  int32_t Write(TCabHandle handle, const void* buffer, int32_t count);
  // The new position (origin 0 start, 1 current, 2 end), -1 on failure.
  int64_t Seek(TCabHandle handle, int64_t offset, int32_t origin);
  // Moves a new version over its file (nothing for the other kinds) and closes the
  // handle; false (the file left as it was) when the move fails.
  bool Complete(TCabHandle handle);
  // Closes the handle; a new version not completed is given up. False for a handle that
  // is not open.
  bool Close(TCabHandle handle);

private:
  struct TEntry;
  TCabHandle Add(std::unique_ptr<TEntry> entry);
  TEntry* Find(TCabHandle handle) const;
  std::vector<std::unique_ptr<TEntry>> FEntries;
};
