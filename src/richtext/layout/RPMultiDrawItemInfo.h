// Draw items that page breaking may divide into parts on consecutive pages (tall
// pictures, tables). The parts list grows only at its end: StartParts makes the first
// part (the whole item), each successful SplitLastPart cuts the last part to the room of
// its page and appends the rest. Page breaking empties the parts when it starts over.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPLists.h"

class TRPMultiDrawItemPart : public TObject {
public:
  int32_t Height = 0;  // device pixels the part takes on its page
  // The part's first source row (image parts: their top); -1 in this class.
  virtual int32_t GetImageTop() const { return -1; }
};

class TRPMultiDrawItemPartsList : public TRPList {
public:
  TRPMultiDrawItemPart* Part(int32_t index) const { return static_cast<TRPMultiDrawItemPart*>(Items(index)); }
  void AddPart(std::unique_ptr<TRPMultiDrawItemPart> part) { Add(std::move(part)); }
};

// Answers false to the whole split protocol, as a plain draw item does; items that can
// be split derive from it.
class TRPMultiDrawItemInfo : public TRPDrawLineInfo {
public:
  TRPMultiDrawItemPartsList PartsList;
};
