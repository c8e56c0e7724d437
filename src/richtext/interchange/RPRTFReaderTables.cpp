// Table structure and numbering updates: the open table level follows the paragraph's
// nesting level, cells and rows end, and the marker of a numbered paragraph follows the
// text's formatting.
#include <algorithm>

#include "richtext/interchange/RPRTFReader.h"

TRPRTFErrorCode TRPRTFReader::UpdateMarker() {
  if (!OnUpdateMarker) return rtf_ec_OK;
  TRPRTFParaProperties& para = FState->ParaProps;
  if (para.GetMarkerProps()) para.MarkerProps().UpdateFrom(FState->CharProps);
  return CallHandler([&] { OnUpdateMarker(this); });
}

TRPRTFErrorCode TRPRTFReader::FireTable(TRPRTFTableEventKind kind) {
  Code code = UpdateMarker();
  if (code == rtf_ec_OK && OnTable) code = CallHandler([&] { OnTable(this, kind); });
  return code;
}

// Opens a table for every level the paragraph is deeper than the open ones; closes the
// extra ones when the paragraph is shallower, the caller allows it and the paragraph is
// not marked \absnoovrlp. Levels past the nesting limit count as the limit. Text
// collected before a change is reported first, at the level it was collected in.
TRPRTFErrorCode TRPRTFReader::UpdateTableLevel(int32_t wanted, bool allowClose) {
  wanted = std::clamp(wanted, 0, std::max(Limits.MaxTableNesting, 1));
  const bool closing = allowClose && !FState->ParaProps.NoOverlap && FTableLevel > wanted;
  if (FTableLevel == wanted || (FTableLevel > wanted && !closing)) return rtf_ec_OK;
  Code code = FlushOutput(0);
  while (code == rtf_ec_OK && FTableLevel < wanted) {
    ++FTableLevel;
    code = FireTable(rpf_tbl_TableStart);
    FTableAlignDefined = false;
  }
  if (!allowClose || FState->ParaProps.NoOverlap) return code;
  while (code == rtf_ec_OK && FTableLevel > wanted) {
    --FTableLevel;
    code = FireTable(rpf_tbl_TableEnd);
  }
  return code;
}

// \cell and \row always stand in a table: outside one they open it, so that a cell or
// row event never comes without the table start before it.
TRPRTFErrorCode TRPRTFReader::CellEnd() {
  Code code = UpdateTableLevel(std::max(FState->ParaProps.TableLevel(), 1), true);
  if (code == rtf_ec_OK) code = FlushOutput(0);
  FPosition = rtf_ts_NewPara;
  if (code == rtf_ec_OK) code = FireTable(rpf_tbl_CellEnd);
  return code;
}

TRPRTFErrorCode TRPRTFReader::RowEnd() {
  FState->RowProps().Finish();
  Code code = UpdateTableLevel(std::max(FState->ParaProps.TableLevel(), 1), false);
  if (code == rtf_ec_OK) code = FireTable(rpf_tbl_RowEnd);
  return code;
}
