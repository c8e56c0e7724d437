// Playing one group of records on the document, and laying out again what it touched.
//
// State of a play: the item range [first, last] that the records touch, widened by the
// items their reverse steps add (delta, the running count of items added, negative for
// removed ones); whether any record changes the layout (needsFormat), asks for the root
// document to be laid out whole (rootFormat), or finds the document's width crossed
// (fullFormat, asked before and after each step outside the runs of a modified item
// that terminators bracket). The range becomes a range of draw items widened to whole
// paragraphs before any record plays, so that the partial layout after the play knows
// which draw items to replace.
#include <algorithm>
#include <cstdlib>
#include <limits>

#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/edit/RPUndoRecords.h"

namespace {

constexpr int32_t NoItem = std::numeric_limits<int32_t>::min();

// The draw items of items first .. last (the first's first draw item, the last's last);
// false without draw items.
bool DrawRangeOfItems(const TRPEditRPData& rpData, int32_t first, int32_t last, int32_t& firstDraw, int32_t& lastDraw) {
  const int32_t count = rpData.DrawItems.Count();
  if (count == 0) return false;
  firstDraw = rpData.GetItemFirstDrawItem(first);
  if (firstDraw < 0) firstDraw = 0;
  lastDraw = rpData.GetItemFirstDrawItem(last);
  if (lastDraw < 0) {
    lastDraw = count - 1;
  } else {
    while (lastDraw + 1 < count && rpData.DrawItems[lastDraw + 1]->ItemNo == last) ++lastDraw;
  }
  if (lastDraw < firstDraw) std::swap(firstDraw, lastDraw);
  return true;
}

}  // namespace

bool TRPUndoInfos::KeepsInplaceEditor(TRPEditRPData& rpData) const {
  if (Count() == 0) return false;
  for (int32_t i = 0; i < Count(); ++i)
    if (!Info(i)->KeepsInplaceEditor(rpData)) return false;
  return true;
}

void TRPUndoInfos::Perform(TRPEditRPData& rpData, bool reformat) {
  if (Count() == 0) return;
  if (!KeepsInplaceEditor(rpData)) rpData.Deselect(false);

  // First pass: what the records touch and ask for.
  bool needsFormat = false, rootFormat = false;
  int32_t first = rpData.GetItemCount() - 1, last = 0, delta = 0;
  for (int32_t i = Count() - 1; i >= 0; --i) {
    TRPUndoInfo& info = *Info(i);
    needsFormat = needsFormat || info.RequiresFormat();
    rootFormat = rootFormat || info.RequiresRootFormat();
    int32_t a = NoItem, b = NoItem;
    info.GetAffectedItems(a, b, rpData);
    const int32_t own = info.GetItemCountDelta();
    if (a != NoItem && b != NoItem) {
      // The record's numbers count the items after the records played before it added
      // or took away theirs; widened by that count either way, the range covers the
      // item in today's numbering too.
      if (delta != 0) b += std::abs(delta);
      if (own > 0) b += own;
      first = std::min(first, a);
      last = std::max(last, b);
    }
    delta += own;
  }
  if (last < first) std::swap(first, last);
  first = std::max(first, 0);
  last = std::max(last, first);
  if (last + delta < first) last = first - delta;
  last = std::min(last, rpData.GetItemCount() - 1);

  int32_t firstDraw = -1, lastDraw = -1;
  const bool hadDrawItems = last >= first && DrawRangeOfItems(rpData, first, last, firstDraw, lastDraw);
  if (hadDrawItems) rpData.GetReformatRange(firstDraw, lastDraw, firstDraw, lastDraw);

  // Second pass: the records played backwards.
  bool fullFormat = false;
  int32_t depth = 0, closingItem = -1;
  for (int32_t i = Count() - 1; i >= 0; --i) {
    TRPUndoInfo& info = *Info(i);
    if (depth == 0) fullFormat = needsFormat && (fullFormat || info.NeedsFullFormatBefore(rpData));
    if (auto* terminator = dynamic_cast<TRPUndoModifyItemTerminator*>(&info)) {
      if (!terminator->Opening) {
        if (depth == 0) closingItem = terminator->ItemNo;
        ++depth;
      } else if (depth > 0) {
        --depth;
        if (depth == 0) terminator->LastAffectedItemNo = closingItem;
      }
    }
    if (info.RequiresFullFormat()) {
      rpData.FormatSubDocument(false);
      needsFormat = false;
    }
    info.Undo(rpData);
    if (depth == 0) fullFormat = needsFormat && (fullFormat || info.NeedsFullFormatAfter(rpData));
  }

  // The items of the range lose their misspelling marks.
  if (rpData.GetItemCount() > 0) {
    int32_t a = rpData.ClampItemIndex(first), b = rpData.ClampItemIndex(last);
    rpData.ExpandToLines(a, b);
    for (int32_t i = a; i <= b; ++i) rpData.GetItem(i)->RemoveMisspellings();
  }

  if (reformat && needsFormat) {
    bool whole = fullFormat || !hadDrawItems || rpData.DrawItems.Count() == 0;
    if (fullFormat && hadDrawItems) {
      // A document whose minimal width stands still needs only its paragraphs.
      TCanvas* canvas = rpData.GetCanvas();
      whole = !canvas || rpData.CalculateMinDocWidth(nullptr, *canvas) != rpData.MinDocWidth;
    }
    if (whole)
      rpData.FormatDocument();
    else
      rpData.ReformatParagraphs(firstDraw, lastDraw, false, delta);
  }

  if (!rpData.Control().GetInplaceEditor() && rpData.GetItemCount() > 0) {
    rpData.SetCaretAtItemPos(rpData.ClampItemIndex(CaretItemNo), CaretOffs);
    rpData.CollapseSelectionToCaret();
    rpData.UpdateCaret(true, false, false);
  }
  rpData.InvalidateControl();
  if (rootFormat)
    if (auto* root = dynamic_cast<TCustomRPFormattedData*>(rpData.GetAbsoluteRootData())) root->FormatDocument();
}
