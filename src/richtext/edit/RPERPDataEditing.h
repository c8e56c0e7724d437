// Helpers shared by the editing operations of the editable document data.
#pragma once

#include <memory>

#include "richtext/edit/RPERPData.h"

// Live spelling stands still while the editor changes items itself (the model's own
// operations stop it themselves); pauses nest.
class TEditSpellingPause {
public:
  explicit TEditSpellingPause(TCustomRPData& data) : FData(data) { FData.PauseLiveSpelling(); }
  ~TEditSpellingPause() { FData.ResumeLiveSpelling(); }
  TEditSpellingPause(const TEditSpellingPause&) = delete;
  TEditSpellingPause& operator=(const TEditSpellingPause&) = delete;

private:
  TCustomRPData& FData;
};

// Whether the item carries a checkpoint flagged persistent.
bool HasPersistentCheckpoint(const TCustomRPItemInfo& item);
// The item position of the caret stop (drawNo receives its draw item); -1 without one.
int32_t CaretStopItemPos(TRPEditRPData& data, int32_t& drawNo, int32_t& offset);
// The draw items to lay out again after an edit of the caret's line, widened to the
// neighbouring paragraphs; -1 without draw items.
void CaretReformatRange(TRPEditRPData& data, int32_t& firstDraw, int32_t& lastDraw);
// A copy of the list marker markerNo (its reset flag cleared, no page break).
std::unique_ptr<TCustomRPItemInfo> CopyListMarker(TRPEditRPData& data, int32_t markerNo);
// The minimal width of items first .. last on the document's canvas; 0 without one.
int32_t ItemsMinWidth(TRPEditRPData& data, int32_t first, int32_t last);
