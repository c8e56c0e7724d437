// A document that reads its styles from a given style sheet, and the values of an integer
// list, for the style sheet and style usage tests.
#pragma once

#include <vector>

#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"

class TStyledData : public TCustomRPData {
public:
  const IRPStyleSheet* GetRPStyle() const override { return Sheet; }
  const TRPStyle* Sheet = nullptr;
};

inline std::vector<int32_t> Values(const TRPIntegerList& list) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}
