// The page table of a Wolf file.
#include "platform/base/Lists.h"
#include "wolf/cWolfWriter.h"

uint32_t TWolfPageTableGroup::GetPosition(int32_t index) const {
  CheckListIndex(index, Count());
  return FPositions[static_cast<size_t>(index)];
}

TWolfPageTable::TWolfPageTable(int32_t groupCount) {
  for (int32_t i = 0; i < groupCount; ++i) FGroups.push_back(std::make_unique<TWolfPageTableGroup>());
}

TWolfPageTableGroup& TWolfPageTable::GetGroup(int32_t index) {
  return *FGroups[static_cast<size_t>(index) % FGroups.size()];
}

const TWolfPageTableGroup& TWolfPageTable::GetGroup(int32_t index) const {
  return *FGroups[static_cast<size_t>(index) % FGroups.size()];
}

void TWolfPageTable::AddPosition(uint32_t position) {
  if (position == FLastPosition) return;
  FLastPosition = position;
  for (const auto& group : FGroups) group->Add(position);
}

// Section: "<pagetable ver="001">", thirteen u32 (per pair: start of list 2k, start of
// list 2k+1, its terminator; then the section end), "</pagetable>", then the four list
// pairs, each ended by 0xFFFFFFFF.
void TWolfWriter::WritePageTable() {
  const uint32_t start = FilePosition();
  WriteText(WolfPageTableOpen);
  std::array<uint32_t, WolfPageTablePositions> positions{};
  uint32_t listStart =
      start + static_cast<uint32_t>(WolfPageTableOpen.size() + 4 * WolfPageTablePositions + WolfPageTableClose.size());
  for (int32_t k = 0; k < 4; ++k) {
    const auto pair = static_cast<size_t>(3 * k);
    positions[pair] = listStart;
    positions[pair + 1] = listStart + static_cast<uint32_t>(FPageTable->GetGroup(2 * k).ByteSize());
    positions[pair + 2] = positions[pair + 1] + static_cast<uint32_t>(FPageTable->GetGroup(2 * k + 1).ByteSize());
    listStart = positions[pair + 2] + 4;
  }
  positions[WolfPageTablePositions - 1] = listStart;
  for (const uint32_t position : positions) WriteU32(position);
  WriteText(WolfPageTableClose);
  for (int32_t list = 0; list < static_cast<int32_t>(WolfPageListCount); ++list) {
    const TWolfPageTableGroup& group = FPageTable->GetGroup(list);
    for (int32_t i = 0; i < group.Count(); ++i) WriteU32(group.GetPosition(i));
    if (list % 2 == 1) WriteU32(WolfPageListEnd);
  }
  PutWolfU32(FHeader, WolfHdrPageTableBytes, FilePosition() - start);
  PutWolfU32(FHeader, WolfHdrFirstListCount, static_cast<uint32_t>(FPageTable->GetGroup(0).Count()));
  PutWolfU32(FHeader, WolfHdrFifthListCount, static_cast<uint32_t>(FPageTable->GetGroup(4).Count()));
}
