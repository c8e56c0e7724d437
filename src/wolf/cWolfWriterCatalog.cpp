// The table of contents of a Wolf file and its catalog section.
#include <algorithm>

#include "platform/base/Lists.h"
#include "wolf/cWolfWriter.h"

namespace {

int32_t LevelOfCounters(uint8_t level2, uint8_t level3) {
  if (level3 != 0) return 3;
  return level2 != 0 ? 2 : 1;
}

// The sort order of the list: level, then number.
uint64_t SortKey(int32_t level, uint32_t number) { return uint64_t{static_cast<uint32_t>(level)} << 32 | number; }
uint64_t SortKey(const TWolfTOCItem& item) { return SortKey(item.Level(), item.Number()); }

}  // namespace

// --- TWolfTOCItem ------------------------------------------------------------------------

TWolfTOCItem::TWolfTOCItem(uint8_t level1, uint8_t level2, uint8_t level3, int32_t pageKey, uint32_t position,
                           AnsiStringView name)
    : FNumber(uint32_t{level1} << 16 | uint32_t{level2} << 8 | level3),
      FLevel(LevelOfCounters(level2, level3)),
      FName(name.substr(0, MaxNameBytes)),
      FPosition(position),
      FPageKey(pageKey) {}

uint8_t TWolfTOCItem::GetLevelCounter(int32_t k) const {
  if (k < 1 || k > 3) return 0;
  return static_cast<uint8_t>(FNumber >> (8 * (3 - k)));
}

uint32_t TWolfTOCItem::WithCounter(int32_t k, uint8_t value) const {
  const int32_t shift = 8 * (3 - k);
  return (FNumber & ~(uint32_t{0xFF} << shift)) | uint32_t{value} << shift;
}

uint32_t TWolfTOCItem::ParentNumber() const { return FLevel == 1 ? 0 : WithCounter(FLevel, 0); }

uint32_t TWolfTOCItem::PrevSiblingNumber() const {
  const uint8_t own = GetLevelCounter(FLevel);
  return own <= 1 ? 0 : WithCounter(FLevel, static_cast<uint8_t>(own - 1));
}

uint32_t TWolfTOCItem::NextSiblingNumber() const {
  const uint8_t own = GetLevelCounter(FLevel);
  return own == 255 ? 0 : WithCounter(FLevel, static_cast<uint8_t>(own + 1));
}

uint32_t TWolfTOCItem::FirstChildNumber() const { return FLevel == 3 ? 0 : WithCounter(FLevel + 1, 1); }

bool TWolfTOCItem::IsParentOf(const TWolfTOCItem& other) const {
  return other.FLevel == FLevel + 1 && other.ParentNumber() == FNumber;
}

// --- TWolfTOCList ------------------------------------------------------------------------

TWolfTOCItem& TWolfTOCList::GetItem(int32_t index) {
  CheckListIndex(index, Count());
  return *FItems[static_cast<size_t>(index)];
}

const TWolfTOCItem& TWolfTOCList::GetItem(int32_t index) const {
  CheckListIndex(index, Count());
  return *FItems[static_cast<size_t>(index)];
}

TWolfTOCItem& TWolfTOCList::AddItem(uint8_t level1, uint8_t level2, uint8_t level3, int32_t pageKey, uint32_t position,
                                    AnsiStringView name) {
  FItems.push_back(std::make_unique<TWolfTOCItem>(level1, level2, level3, pageKey, position, name));
  FSorted = FItems.size() == 1;
  return *FItems.back();
}

void TWolfTOCList::SortItems() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return SortKey(*a) < SortKey(*b); });
  FSorted = true;
}

void TWolfTOCList::SetPagePosition(int32_t pageKey, uint32_t position) {
  for (const auto& item : FItems)
    if (item->PageKey() == pageKey) item->SetPosition(position);
}

int32_t TWolfTOCList::IndexOfNumber(uint32_t number) const {
  if (number == 0) return -1;
  auto found = FItems.end();
  if (FSorted) {
    // The level follows from the number, so a sorted list is ordered by number within it.
    const uint64_t key =
        SortKey(LevelOfCounters(static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)), number);
    found = std::lower_bound(FItems.begin(), FItems.end(), key,
                             [](const auto& item, uint64_t k) { return SortKey(*item) < k; });
    if (found != FItems.end() && (*found)->Number() != number) found = FItems.end();
  } else {
    found = std::find_if(FItems.begin(), FItems.end(), [&](const auto& item) { return item->Number() == number; });
  }
  return found == FItems.end() ? -1 : static_cast<int32_t>(found - FItems.begin());
}

uint32_t TWolfTOCList::RecordPosition(uint32_t number, uint32_t recordsStart) const {
  const int32_t index = IndexOfNumber(number);
  return index < 0 ? 0 : recordsStart + static_cast<uint32_t>(WolfRecordBytes) * static_cast<uint32_t>(index);
}

void TWolfTOCList::SubcatalogRecord(int32_t index, uint32_t recordsStart, TWolfRecord& record) const {
  const TWolfTOCItem& item = GetItem(index);
  record.fill(0);
  // In a sorted list the children of an entry stand together, numbered from its first
  // child to its last possible one.
  auto first = FItems.begin(), last = FItems.end();
  if (item.Level() == 3) {
    first = last;  // no level below
  } else if (FSorted) {
    const int32_t childLevel = item.Level() + 1;
    const uint32_t lastChild = item.FirstChildNumber() | (childLevel == 2 ? 0xFF00u : 0xFFu);
    const auto below = [](const auto& other, uint64_t key) { return SortKey(*other) < key; };
    first = std::lower_bound(FItems.begin(), FItems.end(), SortKey(childLevel, item.FirstChildNumber()), below);
    last = std::lower_bound(first, FItems.end(), SortKey(childLevel, lastChild) + 1, below);
  }
  const auto children = std::count_if(first, last, [&](const auto& other) { return item.IsParentOf(*other); });
  PutWolfU16(record, WolfRecNameBytes, static_cast<uint16_t>(item.Name().size()));
  PutWolfU16(record, WolfRecChildCount, static_cast<uint16_t>(children));
  PutWolfU32(record, WolfRecPrevSibling, RecordPosition(item.PrevSiblingNumber(), recordsStart));
  PutWolfU32(record, WolfRecNextSibling, RecordPosition(item.NextSiblingNumber(), recordsStart));
  PutWolfU32(record, WolfRecFirstChild, RecordPosition(item.FirstChildNumber(), recordsStart));
  PutWolfU32(record, WolfRecParent, RecordPosition(item.ParentNumber(), recordsStart));
  PutWolfU32(record, WolfRecNumber, item.Number());
  std::copy_n(item.Name().begin(), std::min(item.Name().size(), WolfRecShortNameBytes),
              record.begin() + WolfRecShortName);
}

// --- TWolfWriter: table of contents ------------------------------------------------------

void TWolfWriter::AddTOCItem(int32_t level, AnsiStringView name, int32_t pageKey) {
  if (level < 1 || level > 3) return;
  // The counters are bytes: a 256th entry under one parent would repeat a number and
  // tangle the tree, so it is left out together with the entries below it.
  if (FSkippedLevel != 0 && level > FSkippedLevel) return;
  if (level > 1 && FSubEntries == WolfMaxSubEntries) return;
  uint8_t& counter = FLevelCounters[static_cast<size_t>(level - 1)];
  if (counter == 255) {
    FSkippedLevel = level;
    return;
  }
  FSkippedLevel = 0;
  ++counter;
  for (size_t k = static_cast<size_t>(level); k < FLevelCounters.size(); ++k) FLevelCounters[k] = 0;
  if (level > 1) ++FSubEntries;
  AddTOCEntry(name, pageKey);
}

void TWolfWriter::AddTOCEntry(AnsiStringView name, int32_t pageKey) {
  const uint32_t position = FPageState == psNone ? FilePosition() : static_cast<uint32_t>(FPageTable->LastPosition());
  FTOC->AddItem(FLevelCounters[0], FLevelCounters[1], FLevelCounters[2], pageKey, position, name);
}

void TWolfWriter::SetTOCPage(int32_t pageKey) {
  if (FPageTable->LastPosition() < 0) return;  // no page yet: the entries stay unbound
  FTOC->SetPagePosition(pageKey, static_cast<uint32_t>(FPageTable->LastPosition()));
}

// Section: "<catalog>", an "<item>" name "</item>" u32 per level-1 entry (or one for the
// whole book when the table of contents is empty), "</catalog>"; then, with entries,
// "<subcatalog>", one 80-byte record per entry, all names, "\x08</subcatalog>".
void TWolfWriter::WriteCatalog() {
  const uint32_t start = FilePosition();
  FTOC->SortItems();
  const auto writeItem = [this](AnsiStringView name, uint32_t position) {
    WriteText(WolfItemOpen);
    WriteText(name.empty() ? WolfNoName : name);
    WriteText(WolfItemClose);
    WriteU32(position - FBookStart);
  };
  const int32_t count = FTOC->Count();
  uint32_t level1Count = 0;
  uint32_t otherCount = 0;
  WriteText(WolfCatalogOpen);
  if (count == 0) {
    writeItem(FDescription->GetField(0), FPageTable->GetGroup(0).GetPosition(0));
    level1Count = 1;
  } else {
    for (int32_t j = 0; j < count; ++j) {
      const TWolfTOCItem& item = FTOC->GetItem(j);
      if (item.Level() == 1) {
        writeItem(item.Name(), item.Position());
        ++level1Count;
      } else {
        ++otherCount;
      }
    }
  }
  WriteText(WolfCatalogClose);

  if (count == 0) {
    PutWolfU32(FHeader, WolfHdrSubcatalogPos, 0);
  } else {
    PutWolfU32(FHeader, WolfHdrSubcatalogPos, FilePosition());
    WriteText(WolfSubcatalogOpen);
    const uint32_t recordsStart = FilePosition();
    uint32_t namePosition = recordsStart + static_cast<uint32_t>(WolfRecordBytes) * static_cast<uint32_t>(count);
    TWolfRecord record;
    for (int32_t j = 0; j < count; ++j) {
      const TWolfTOCItem& item = FTOC->GetItem(j);
      FTOC->SubcatalogRecord(j, recordsStart, record);
      PutWolfU32(record, WolfRecPosition, item.Position() - FBookStart);
      PutWolfU32(record, WolfRecNamePos, namePosition);
      namePosition += static_cast<uint32_t>(item.Name().size());
      WriteBytes(record.data(), record.size());
    }
    for (int32_t j = 0; j < count; ++j) WriteText(FTOC->GetItem(j).Name());
    WriteText(WolfSubcatalogClose);
  }
  PutWolfU32(FHeader, WolfHdrCatalogBytes, FilePosition() - start);
  PutWolfU16(FHeader, WolfHdrCatalogItems, static_cast<uint16_t>(level1Count));
  PutWolfU16(FHeader, WolfHdrSubEntries, static_cast<uint16_t>(otherCount));
}
