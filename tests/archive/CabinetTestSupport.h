// Cabinets built byte by byte for the tests that need what the peers never write:
// partial entries, hostile names, damaged directories, LZX. One folder, of stored data
// unless a payload is given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ArchiveTestSupport.h"

struct TCabContentsFile {
  std::string Name;
  Bytes Data;
  uint16_t Folder = 0;     // 0xFFFD: continued from a previous cabinet
  uint16_t Date = 0x5B8A;  // 2025-12-10
  uint16_t Time = 0x6A2F;  // 13:17:30
  uint16_t Attributes = 0x20;
};

struct TCabContents {
  std::vector<TCabContentsFile> Files;
  // With a payload: the folder's one data block, compressed this way, holding the files'
  // data (at most 32 KB of it).
  uint16_t Compression = 0;
  Bytes Payload;
  std::string PreviousCabinet;  // with a name: the header's previous-cabinet flag and names
  uint16_t SetId = 0x1234;
  uint16_t CabinetNumber = 0;
};

inline void PutLE16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLE32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void PutName(Bytes& b, const std::string& name) {
  b.insert(b.end(), name.begin(), name.end());
  b.push_back(0);
}

// The files' data in one folder, in the order given: stored in blocks of up to 32 KB, or
// the payload; no checksums (a zero checksum is "not computed").
inline Bytes StoredCabinet(const TCabContents& contents) {
  Bytes folderData;
  std::vector<uint32_t> offsets;
  for (const TCabContentsFile& f : contents.Files) {
    offsets.push_back(static_cast<uint32_t>(folderData.size()));
    folderData.insert(folderData.end(), f.Data.begin(), f.Data.end());
  }
  bool previous = !contents.PreviousCabinet.empty();
  Bytes names;
  if (previous) {
    PutName(names, contents.PreviousCabinet);  // previous cabinet
    PutName(names, "Disk 1");                  // previous disk
  }
  uint32_t filesOffset = 36 + static_cast<uint32_t>(names.size()) + 8;
  Bytes files;
  for (size_t i = 0; i < contents.Files.size(); ++i) {
    const TCabContentsFile& f = contents.Files[i];
    PutLE32(files, static_cast<uint32_t>(f.Data.size()));  // size
    PutLE32(files, offsets[i]);                            // offset in the folder
    PutLE16(files, f.Folder);                              // folder index
    PutLE16(files, f.Date);
    PutLE16(files, f.Time);
    PutLE16(files, f.Attributes);
    PutName(files, f.Name);
  }
  uint32_t dataOffset = filesOffset + static_cast<uint32_t>(files.size());
  Bytes blocks;
  uint16_t blockCount = 0;
  if (!contents.Payload.empty()) {
    PutLE32(blocks, 0);                                               // checksum: not computed
    PutLE16(blocks, static_cast<uint16_t>(contents.Payload.size()));  // compressed bytes
    PutLE16(blocks, static_cast<uint16_t>(folderData.size()));        // uncompressed bytes
    blocks.insert(blocks.end(), contents.Payload.begin(), contents.Payload.end());
    blockCount = 1;
    folderData.clear();
  }
  for (size_t at = 0; at < folderData.size(); at += 32768, ++blockCount) {
    size_t n = std::min<size_t>(32768, folderData.size() - at);
    PutLE32(blocks, 0);                         // checksum: not computed
    PutLE16(blocks, static_cast<uint16_t>(n));  // compressed bytes
    PutLE16(blocks, static_cast<uint16_t>(n));  // uncompressed bytes
    blocks.insert(blocks.end(), folderData.begin() + static_cast<ptrdiff_t>(at),
                  folderData.begin() + static_cast<ptrdiff_t>(at + n));
  }
  Bytes cab;
  cab.insert(cab.end(), {'M', 'S', 'C', 'F'});
  PutLE32(cab, 0);                                                  // reserved
  PutLE32(cab, dataOffset + static_cast<uint32_t>(blocks.size()));  // cabinet size
  PutLE32(cab, 0);                                                  // reserved
  PutLE32(cab, filesOffset);                                        // first file record
  PutLE32(cab, 0);                                                  // reserved
  cab.push_back(3);                                                 // version minor
  cab.push_back(1);                                                 // version major
  PutLE16(cab, 1);                                                  // folders
  PutLE16(cab, static_cast<uint16_t>(contents.Files.size()));       // files
  PutLE16(cab, previous ? 0x0001 : 0);                              // flags
  PutLE16(cab, contents.SetId);
  PutLE16(cab, contents.CabinetNumber);
  cab.insert(cab.end(), names.begin(), names.end());
  PutLE32(cab, dataOffset);  // the folder's first data block
  PutLE16(cab, blockCount);  // its blocks
  PutLE16(cab, contents.Compression);
  cab.insert(cab.end(), files.begin(), files.end());
  cab.insert(cab.end(), blocks.begin(), blocks.end());
  return cab;
}
