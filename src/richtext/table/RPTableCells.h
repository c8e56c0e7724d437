// A cell's location inside its table, as the document's enumeration of sub-documents
// keeps it.
#pragma once

#include <cstdint>

#include "richtext/model/RPItemInfo.h"

class TRPTableStoreSubRPData : public TRPStoreSubRPData {
public:
  TRPTableStoreSubRPData(int32_t row, int32_t col) : Row(row), Col(col) {}
  int32_t Row;
  int32_t Col;
  // By row first, then by column.
  int32_t Compare(const TRPStoreSubRPData& other) const override;
};
