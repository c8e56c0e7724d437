// The directory of one cabinet (header, folder records, file records), read through the
// reader's file callbacks from an open handle. Every count, offset and name is checked
// against the format's bounds before it is used.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/cabinet/Cabinet.h"

struct TCabFileRecord {
  TFdiFileInfo File;
  uint32_t FolderOffset = 0;
  uint16_t Folder = 0;
};

struct TCabDirectory {
  TFdiCabinetInfo Info;
  AnsiString PreviousCabinet;
  AnsiString PreviousDisk;
  AnsiString NextCabinet;
  AnsiString NextDisk;
  std::vector<uint16_t> FolderCompression;
  std::vector<TCabFileRecord> Files;
};

// The fixed header at the handle's start, and the names of the neighbouring cabinets:
// CabErrorNone, CabErrorNotACabinet (no signature, or too short for a header) or
// CabErrorCorruptCabinet. Callback exceptions pass on.
TCabErrorCode ReadCabinetHeader(const TFdiFileCallbacks& files, TCabHandle handle, TCabDirectory& directory);
// The header, then every folder and file record.
TCabErrorCode ReadCabinetDirectory(const TFdiFileCallbacks& files, TCabHandle handle, TCabDirectory& directory);
