// The byte layout of a Wolf e-book file (".wol"): tags, the 128-byte header, the cover
// record, the page table and the 80-byte table-of-contents record.
//
// All integers are little-endian and written byte by byte with the Put helpers below;
// positions are absolute 32-bit file offsets unless a field says it is relative to the
// book start (the first byte of "<wolf>\r\n"). Tags are written as their bytes only: no
// length prefix, no terminating zero.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/base/LittleEndian.h"

// --- Tags ---------------------------------------------------------------------------

inline constexpr std::string_view WolfSignature = "WolfEbook1.11";
inline constexpr std::string_view WolfBookOpen = "<wolf>\r\n";
inline constexpr std::string_view WolfBookClose = "</wolf>";
inline constexpr std::string_view WolfCatalogOpen = "<catalog>";
inline constexpr std::string_view WolfCatalogClose = "</catalog>";
inline constexpr std::string_view WolfImageClose = "</img>";
inline constexpr std::string_view WolfItemOpen = "<item>";
inline constexpr std::string_view WolfItemClose = "</item>";
inline constexpr std::string_view WolfSubcatalogOpen = "<subcatalog>";
// The subcatalog ends with a backspace byte before its closing tag.
inline constexpr std::string_view WolfSubcatalogClose = "\x08</subcatalog>";
inline constexpr std::string_view WolfPageTableOpen = "<pagetable ver=\"001\">";
inline constexpr std::string_view WolfPageTableClose = "</pagetable>";
// Catalog name of an entry (or book) without one.
inline constexpr std::string_view WolfNoName = "NoName";

static_assert(WolfSubcatalogOpen.size() == 12 && WolfSubcatalogClose.size() == 14);
static_assert(WolfPageTableOpen.size() == 21 && WolfPageTableClose.size() == 12);

// --- Header (128 bytes at offset 0; bytes not listed are 0) -------------------------

inline constexpr size_t WolfHeaderBytes = 128;

inline constexpr size_t WolfHdrSignature = 0x00;         // "WolfEbook1.11"
inline constexpr size_t WolfHdrSignatureBytes = 15;      // the 13 letters and two zero bytes
inline constexpr size_t WolfHdrMark = 0x11;              // u16 0x0201 (bytes 01 02)
inline constexpr size_t WolfHdrDescriptionBytes = 0x17;  // u16 length of the description text
inline constexpr size_t WolfHdrCoverBytes = 0x19;        // u32 10 + encoded cover length, 0 without cover
inline constexpr size_t WolfHdrCatalogBytes = 0x1E;      // u32 "<catalog>" .. last closing tag of the section
inline constexpr size_t WolfHdrCatalogItems = 0x22;      // u16 level-1 items in the catalog list
inline constexpr size_t WolfHdrBodyBytes = 0x26;         // u32 "<wolf>\r\n" .. "</wolf>"
inline constexpr size_t WolfHdrPageTableBytes = 0x3C;    // u32 the page table section
inline constexpr size_t WolfHdrOne = 0x40;               // u16 1
inline constexpr size_t WolfHdrFirstListCount = 0x42;    // u32 entries of page list 0 (unaligned)
inline constexpr size_t WolfHdrFifthListCount = 0x4B;    // u32 entries of page list 4 (unaligned)
inline constexpr size_t WolfHdrSubEntries = 0x5F;        // u16 table-of-contents entries of levels 2 and 3
inline constexpr size_t WolfHdrSubcatalogPos = 0x61;     // u32 position of "<subcatalog>", 0 without one

inline constexpr uint16_t WolfHeaderMarkValue = 0x0201;
// Header 0x5F counts the table of contents' entries of levels 2 and 3 in 16 bits.
inline constexpr uint32_t WolfMaxSubEntries = 0xFFFF;

namespace WolfLayoutCheck {
struct Field {
  size_t Offset, Bytes;
};
// Every header field in file order; they must not overlap and must fit the header.
inline constexpr std::array<Field, 14> HeaderFields{{{WolfHdrSignature, WolfHdrSignatureBytes},
                                                     {WolfHdrMark, 2},
                                                     {WolfHdrDescriptionBytes, 2},
                                                     {WolfHdrCoverBytes, 4},
                                                     {WolfHdrCatalogBytes, 4},
                                                     {WolfHdrCatalogItems, 2},
                                                     {WolfHdrBodyBytes, 4},
                                                     {WolfHdrPageTableBytes, 4},
                                                     {WolfHdrOne, 2},
                                                     {WolfHdrFirstListCount, 4},
                                                     {WolfHdrFifthListCount, 4},
                                                     {WolfHdrSubEntries, 2},
                                                     {WolfHdrSubcatalogPos, 4},
                                                     {WolfHeaderBytes, 0}}};
constexpr bool InOrder(std::span<const Field> fields) {
  for (size_t i = 1; i < fields.size(); ++i)
    if (fields[i - 1].Offset + fields[i - 1].Bytes > fields[i].Offset) return false;
  return true;
}
}  // namespace WolfLayoutCheck
static_assert(WolfLayoutCheck::InOrder(WolfLayoutCheck::HeaderFields), "header fields overlap");
static_assert(WolfSignature.size() + 2 == WolfHdrSignatureBytes);

// --- Cover record (10 bytes, then the encoded image) --------------------------------

inline constexpr size_t WolfCoverOne = 0;       // u16 1
inline constexpr size_t WolfCoverWidth = 2;     // u16 width in pixels (low 16 bits)
inline constexpr size_t WolfCoverBitCount = 4;  // u16 1 or 2
inline constexpr size_t WolfCoverRowBytes = 6;  // u16 (bit count * width) shr 3, rounded down on purpose
inline constexpr size_t WolfCoverHeight = 8;    // u16 height in pixels (low 16 bits)
inline constexpr size_t WolfCoverRecordBytes = 10;
static_assert(WolfCoverWidth == WolfCoverOne + 2 && WolfCoverBitCount == WolfCoverWidth + 2 &&
              WolfCoverRowBytes == WolfCoverBitCount + 2 && WolfCoverHeight == WolfCoverRowBytes + 2 &&
              WolfCoverRecordBytes == WolfCoverHeight + 2);

// --- Page table section -------------------------------------------------------------
//
// "<pagetable ver="001">", thirteen u32 positions, "</pagetable>", then four list pairs:
// list 2k, list 2k+1 (u32 positions, no count), u32 0xFFFFFFFF.

inline constexpr size_t WolfPageListCount = 8;
inline constexpr size_t WolfPageTablePositions = 13;  // 3 per pair and the section end
inline constexpr uint32_t WolfPageListEnd = 0xFFFFFFFF;
inline constexpr size_t WolfPageTableFixedBytes =
    WolfPageTableOpen.size() + 4 * WolfPageTablePositions + WolfPageTableClose.size() + 4 * (WolfPageListCount / 2);
static_assert(WolfPageTablePositions == 3 * (WolfPageListCount / 2) + 1);
static_assert(WolfPageTableFixedBytes == 101);

// --- Subcatalog record (80 bytes, zero-filled) --------------------------------------

inline constexpr size_t WolfRecPosition = 0;      // u32 entry position - book start
inline constexpr size_t WolfRecNamePos = 4;       // u32 absolute position of the name in the names area
inline constexpr size_t WolfRecNameBytes = 8;     // u16 length of the whole name
inline constexpr size_t WolfRecChildCount = 10;   // u16 entries one level down with this parent
inline constexpr size_t WolfRecPrevSibling = 12;  // u32 record position, 0 if none
inline constexpr size_t WolfRecNextSibling = 16;  // u32 record position, 0 if none
inline constexpr size_t WolfRecFirstChild = 20;   // u32 record position, 0 if none
inline constexpr size_t WolfRecParent = 24;       // u32 record position, 0 if none
inline constexpr size_t WolfRecNumber = 28;       // u8 level-3, u8 level-2, u8 level-1 counter, u8 0
inline constexpr size_t WolfRecShortName = 32;    // the first bytes of the name, zero-padded
inline constexpr size_t WolfRecShortNameBytes = 40;
inline constexpr size_t WolfRecReserved = 72;  // 8 zero bytes
inline constexpr size_t WolfRecordBytes = 80;
static_assert(WolfRecNamePos == WolfRecPosition + 4 && WolfRecNameBytes == WolfRecNamePos + 4 &&
              WolfRecChildCount == WolfRecNameBytes + 2 && WolfRecPrevSibling == WolfRecChildCount + 2 &&
              WolfRecNextSibling == WolfRecPrevSibling + 4 && WolfRecFirstChild == WolfRecNextSibling + 4 &&
              WolfRecParent == WolfRecFirstChild + 4 && WolfRecNumber == WolfRecParent + 4 &&
              WolfRecShortName == WolfRecNumber + 4 && WolfRecReserved == WolfRecShortName + WolfRecShortNameBytes &&
              WolfRecordBytes == WolfRecReserved + 8);

using TWolfRecord = std::array<uint8_t, WolfRecordBytes>;

// --- Description block --------------------------------------------------------------
//
// Up to 18 lines "tag value\r\n" in Windows-1251; a line is written when its value is not
// empty or its row says Always. Tags are opening tags only; "<adpter>" is spelled so.

struct TWolfDescriptionItem {
  std::string_view Tag;
  int32_t MaxLength;  // bytes kept of a value (before escaping)
  bool Always;
};

inline constexpr int32_t WolfDescriptionFieldCount = 18;

inline constexpr std::array<TWolfDescriptionItem, WolfDescriptionFieldCount> WolfDescriptionItems{{
    {"<title>", 128, true},
    {"<subject>", 128, true},
    {"<author>", 128, true},
    {"<adpter>", 128, true},
    {"<translator>", 128, true},
    {"<time_write>", 16, false},
    {"<publisher>", 128, true},
    {"<time_publish>", 16, true},
    {"<rights>", 128, false},
    {"<charset>", 128, false},
    {"<patent>", 128, false},
    {"<introduction>", 1024, true},
    {"<ISBN>", 128, true},
    {"<publishing_corporation>", 128, false},
    {"<wolf_id>", 16, false},
    {"<softversion>", 16, false},
    {"<time_produce>", 16, false},
    {"<allinfo>", 128, false},
}};

// The fields by name: indexes of their rows above (TWolfDescription::SetField).
inline constexpr int32_t WolfFieldTitle = 0;
inline constexpr int32_t WolfFieldSubject = 1;
inline constexpr int32_t WolfFieldAuthor = 2;
inline constexpr int32_t WolfFieldAdapter = 3;
inline constexpr int32_t WolfFieldTranslator = 4;
inline constexpr int32_t WolfFieldTimeWrite = 5;
inline constexpr int32_t WolfFieldPublisher = 6;
inline constexpr int32_t WolfFieldTimePublish = 7;
inline constexpr int32_t WolfFieldRights = 8;
inline constexpr int32_t WolfFieldCharset = 9;
inline constexpr int32_t WolfFieldPatent = 10;
inline constexpr int32_t WolfFieldIntroduction = 11;
inline constexpr int32_t WolfFieldISBN = 12;
inline constexpr int32_t WolfFieldPublishingCorporation = 13;
inline constexpr int32_t WolfFieldWolfId = 14;
inline constexpr int32_t WolfFieldSoftVersion = 15;
inline constexpr int32_t WolfFieldTimeProduce = 16;
inline constexpr int32_t WolfFieldAllInfo = 17;
static_assert(WolfDescriptionItems[WolfFieldTitle].Tag == "<title>" &&
              WolfDescriptionItems[WolfFieldSubject].Tag == "<subject>" &&
              WolfDescriptionItems[WolfFieldAuthor].Tag == "<author>" &&
              WolfDescriptionItems[WolfFieldAdapter].Tag == "<adpter>" &&
              WolfDescriptionItems[WolfFieldTranslator].Tag == "<translator>" &&
              WolfDescriptionItems[WolfFieldTimeWrite].Tag == "<time_write>" &&
              WolfDescriptionItems[WolfFieldPublisher].Tag == "<publisher>" &&
              WolfDescriptionItems[WolfFieldTimePublish].Tag == "<time_publish>" &&
              WolfDescriptionItems[WolfFieldRights].Tag == "<rights>" &&
              WolfDescriptionItems[WolfFieldCharset].Tag == "<charset>" &&
              WolfDescriptionItems[WolfFieldPatent].Tag == "<patent>" &&
              WolfDescriptionItems[WolfFieldIntroduction].Tag == "<introduction>" &&
              WolfDescriptionItems[WolfFieldISBN].Tag == "<ISBN>" &&
              WolfDescriptionItems[WolfFieldPublishingCorporation].Tag == "<publishing_corporation>" &&
              WolfDescriptionItems[WolfFieldWolfId].Tag == "<wolf_id>" &&
              WolfDescriptionItems[WolfFieldSoftVersion].Tag == "<softversion>" &&
              WolfDescriptionItems[WolfFieldTimeProduce].Tag == "<time_produce>" &&
              WolfDescriptionItems[WolfFieldAllInfo].Tag == "<allinfo>");

inline constexpr std::string_view WolfLineBreak = "\r\n";

// --- Little-endian stores -----------------------------------------------------------

inline void PutWolfU16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
  StoreLE16(bytes.subspan(offset, 2).data(), value);
}

inline void PutWolfU32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
  StoreLE32(bytes.subspan(offset, 4).data(), value);
}
