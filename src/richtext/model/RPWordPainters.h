// Marks that live spelling (and other painters) put on words of a text item: a 1-based
// character offset and a length, and how a misspelling is marked.
#pragma once

#include <cstdint>

#include "platform/graphics/Canvas.h"
#include "richtext/model/RPLists.h"

class TRPStyle;

class TRPWordPainter : public TObject {
public:
  TRPWordPainter(int32_t startOffs, int32_t length) : StartOffs(startOffs), Length(length) {}
  int32_t StartOffs;
  int32_t Length;
  virtual bool IsMisspelling() const { return false; }
  // Marks the word standing in rect; other painters mark nothing of their own here.
  virtual void Draw(TCanvas&, const TRect&, const TRPStyle&) const {}
};

class TRPWordMisspellPainter : public TRPWordPainter {
public:
  using TRPWordPainter::TRPWordPainter;
  bool IsMisspelling() const override { return true; }
  // A zigzag under the word (points every 2 pixels, at most 1024, alternating between
  // bottom - 2 and bottom, the last at the right edge) in the sheet's LiveSpellingColor;
  // nothing for fewer than 2 points. The canvas pen keeps its colour and width.
  void Draw(TCanvas& canvas, const TRect& rect, const TRPStyle& rpStyle) const override;
};

class TRPWordPainterList : public TRPList {
public:
  TRPWordPainter* Items(int32_t index) const { return static_cast<TRPWordPainter*>(TRPList::Items(index)); }
};
