// A reader of Wolf e-book files for the tests, written from the format's tables alone.
//
// It shares no code or constants with the writer on purpose: it parses a whole file,
// checks the structure a device relies on and throws std::runtime_error naming the first
// thing that is wrong. Checks: signature and fixed header bytes; the header's section
// lengths add up to the file size; the sections lie where the lengths put them; the file
// ends in FF FF FF FF; every image block is well formed and its length field matches; every
// page-table entry points at "<catalog>" or "<img"; the page table's positions and list
// counts match the header; catalog items and subcatalog records point at page-table
// entries, their tree links at records, their names into the names area.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct TReadWolfImage {
  uint32_t Offset = 0;  // of "<img"
  int BitCount = 0;
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Encoded;  // the length=L bytes
};

struct TReadWolfCover {
  int Width = 0;
  int BitCount = 0;
  int RowBytesField = 0;
  int Height = 0;
  std::vector<uint8_t> Encoded;
};

struct TReadCatalogItem {
  std::string Name;
  uint32_t RelativePosition = 0;
};

struct TReadSubcatalogRecord {
  uint32_t Offset = 0;  // absolute position of the record
  uint32_t RelativePosition = 0;
  uint32_t NamePosition = 0;
  uint16_t NameBytes = 0;
  uint16_t ChildCount = 0;
  uint32_t PrevSibling = 0, NextSibling = 0, FirstChild = 0, Parent = 0;
  uint8_t Level1 = 0, Level2 = 0, Level3 = 0;
  std::string ShortName;  // the 40-byte field up to its first zero byte
  std::string Name;       // from the names area
};

struct TReadWolfBook {
  std::vector<uint8_t> Header;  // 128 bytes
  std::string Description;
  bool HasCover = false;
  TReadWolfCover Cover;
  uint32_t BookStart = 0;
  std::vector<TReadWolfImage> Images;  // in file order
  uint32_t CatalogStart = 0;
  std::vector<TReadCatalogItem> CatalogItems;
  uint32_t SubcatalogStart = 0;  // 0 without subcatalog
  std::vector<TReadSubcatalogRecord> Records;
  uint32_t PageTableStart = 0;
  std::vector<uint32_t> PageTablePositions;      // the thirteen
  std::vector<std::vector<uint32_t>> PageLists;  // eight

  uint16_t Header16(size_t offset) const;
  uint32_t Header32(size_t offset) const;
  // The image that shows page `index` (0-based) of page list 0: the block at the entry,
  // or the first block after a "<catalog>" entry.
  const TReadWolfImage& PageImage(size_t index) const;
};

// Parses and checks a whole file; throws std::runtime_error on the first violation.
TReadWolfBook ReadWolfBook(std::span<const uint8_t> file);

// Decodes the LZSS stream into exactly outBytes bytes, with the 4096-byte ring filled
// with ringFill and the first write at 4078. Stops as soon as outBytes are produced, so
// the stream's trailing bytes may be missing; throws when the stream ends early.
std::vector<uint8_t> DecodeWolfLZSS(std::span<const uint8_t> encoded, size_t outBytes, uint8_t ringFill);

// Pixel values (1 bit: 1 = black stored bit; 2 bits: 0 darkest .. 3 lightest), row by
// row, from an image's packed rows.
std::vector<uint8_t> UnpackWolfRows(std::span<const uint8_t> rows, int width, int height, int bitCount);

// Decodes and unpacks an image (cover or page); checks the stream ends with one 0x00 byte
// after what the rows need, decodes with each ring fill (0x00, 0x20, 'a') and with the
// trailing byte withheld, and throws unless all give the same rows.
std::vector<uint8_t> DecodeWolfImagePixels(std::span<const uint8_t> encoded, int width, int height, int bitCount);
