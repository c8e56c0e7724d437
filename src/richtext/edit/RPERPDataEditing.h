// Helpers shared by the insertion and the deletion operations of the editable document
// data (RPERPDataInsert.cpp, RPERPDataDelete.cpp).
#pragma once

#include <memory>

#include "richtext/edit/RPERPData.h"

// Whether the item carries a checkpoint flagged persistent.
bool HasPersistentCheckpoint(const TCustomRPItemInfo& item);
// The item position of the caret stop (drawNo receives its draw item); -1 without one.
int32_t CaretStopItemPos(TRPEditRPData& data, int32_t& drawNo, int32_t& offset);
// The draw items to lay out again after an edit of the caret's line, widened to the
// neighbouring paragraphs; -1 without draw items.
void CaretReformatRange(TRPEditRPData& data, int32_t& firstDraw, int32_t& lastDraw);
// A copy of the list marker markerNo (its reset flag cleared, no page break).
std::unique_ptr<TCustomRPItemInfo> CopyListMarker(TRPEditRPData& data, int32_t markerNo);
// When the paragraph of itemNo starts with a list marker, a copy of it goes in at `at`
// (recorded or directly); true when one was copied.
bool CopyMarkerOfParagraph(TRPEditRPData& data, int32_t itemNo, int32_t at, bool recorded, bool& fullReformat);
// A persistent checkpoint of the item moves (recorded) to the next item of its paragraph,
// else to the previous item of its line; false when neither has room. True at once for
// an item without a persistent checkpoint.
bool MoveCheckpointOff(TRPEditRPData& data, int32_t itemNo);
// The minimal width of items first .. last on the document's canvas; 0 without one.
int32_t ItemsMinWidth(TRPEditRPData& data, int32_t first, int32_t last);
