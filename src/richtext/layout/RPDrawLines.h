// Draw items: one piece of one item on one visual line of a formatted document. A line
// is the run of draw items from one with FromNewLine set up to the next such one; no
// line object exists. Painting, hit testing and page breaking read only this list.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TCustomRPData;

class TRPDrawLineInfo : public TObject {
public:
  TRPDrawLineInfo() = default;
  TRPDrawLineInfo(int32_t left, int32_t top, int32_t width, int32_t height, int32_t itemNo, bool fromNewLine);

  int32_t JustifyExtra = 0;  // pixels justification added to Width
  // Text: pixels by which a taller face that fallback draws some of it with reaches above
  // the style font's ascent. The box (Top, Height) holds every face; the style font's
  // top, where the text is drawn from, is Top + FallbackAscent.
  int32_t FallbackAscent = 0;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t ItemNo = 0;
  int32_t Offs = 0;              // 1-based first character in the item's text; 0 for non-text items
  int32_t Length = 0;            // characters shown; 0 for non-text items
  int32_t LineSpacingExtra = 0;  // extra space below the line (same in each of its draw items)
  uint8_t FromNewLine = 0;       // 255: begins a visual line; tested as not 0

  bool StartsLine() const { return FromNewLine != 0; }
  virtual void SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine);
  virtual void SetSize(int32_t width, int32_t height);

  // The split protocol of page breaking (RPMultiDrawItemInfo.h); a plain draw item
  // is never split. room: device pixels left for the item's next part.
  virtual bool StartParts() { return false; }
  virtual bool CanStartOnPage(int32_t /*room*/) { return false; }
  virtual bool SplitLastPart(int32_t /*room*/) { return false; }
};

// The draw items of a document, owned, with a pending deletion range: reformatting
// frees a range of draw items into it, refills the freed slots first, and closes what is
// left in one move (RemovePendingRange), so the tail of the list moves at most once.
class TRPDrawLines {
public:
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Raises EListError "List index out of bounds (N)" outside 0 .. Count - 1.
  TRPDrawLineInfo* GetItem(int32_t index) const;
  TRPDrawLineInfo* operator[](int32_t index) const { return FItems[static_cast<size_t>(index)].get(); }
  void Add(std::unique_ptr<TRPDrawLineInfo> item) { FItems.push_back(std::move(item)); }
  void Clear();

  void DeleteRange(int32_t first, int32_t last);
  void InsertItem(int32_t index, std::unique_ptr<TRPDrawLineInfo> item);
  void DeleteItem(int32_t index);
  void RemovePendingRange();
  int32_t PendingFirst() const { return FPendingFirst; }
  int32_t PendingCount() const { return FPendingCount; }

  // The stored characters a text draw item shows (a Unicode item's text is cut in
  // UTF-16 units); empty for a non-text draw item.
  void GetSubString(int32_t drawNo, const TCustomRPData& data, AnsiString& s) const;
  // count characters from the draw item's from-th (1-based), cut at its end.
  void GetSubStringRange(int32_t drawNo, const TCustomRPData& data, int32_t from, int32_t count, AnsiString& s) const;

private:
  std::vector<std::unique_ptr<TRPDrawLineInfo>> FItems;
  int32_t FPendingFirst = -1;
  int32_t FPendingCount = 0;
};
