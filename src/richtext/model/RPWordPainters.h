// Marks that live spelling (and other painters) put on words of a text item: a 1-based
// character offset and a length. How a mark is drawn belongs to painting.
#pragma once

#include <cstdint>

#include "richtext/model/RPLists.h"

class TRPWordPainter : public TObject {
public:
  TRPWordPainter(int32_t startOffs, int32_t length) : StartOffs(startOffs), Length(length) {}
  int32_t StartOffs;
  int32_t Length;
  virtual bool IsMisspelling() const { return false; }
};

class TRPWordMisspellPainter : public TRPWordPainter {
public:
  using TRPWordPainter::TRPWordPainter;
  bool IsMisspelling() const override { return true; }
};

class TRPWordPainterList : public TRPList {
public:
  TRPWordPainter* Items(int32_t index) const { return static_cast<TRPWordPainter*>(TRPList::Items(index)); }
};
