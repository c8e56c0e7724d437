// The body of an RTF export: paragraphs, bookmarks, hyperlink fields, text and the items'
// own RTF; and the entry points of the export.
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/ScopeExit.h"
#include "richtext/interchange/RPRTFWriter.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPRtfHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/table/RPTableTypes.h"
#include "unicode/UniSysUtils.h"

namespace {

constexpr char CheckpointBookmarkPrefix[] = "RichPaneCheckpoint";

}  // namespace

void TRPRTFWriter::SaveSubDocument(TStream&, TCustomRPData& document, int32_t nestingLevel) {
  WriteBody(document, nestingLevel, false, false);
}

void TRPRTFWriter::ParagraphClosed() {
  if (FStates.empty()) return;
  FStates.back()->ParagraphClosed = true;
  FStates.back()->TableClosed = true;
}

void TRPRTFWriter::WriteBookmark(const TRPCPInfo& checkpoint) {
  const AnsiString name = checkpoint.Name.empty() ? CheckpointBookmarkPrefix + std::to_string(FTables.BookmarkCount)
                                                  : MakeRtfBookmarkName(checkpoint.Name);
  ++FTables.BookmarkCount;
  Write("{\\*\\bkmkstart " + name + "}{\\*\\bkmkend " + name + "}");
}

void TRPRTFWriter::StartParagraph(TCustomRPData& data, int32_t itemNo, int32_t level, bool forced,
                                  TRPRTFBodyState& state) {
  const TCustomRPItemInfo& item = *data.GetItem(itemNo);
  Write("\r\n");
  // Rows that follow rows are one table to every reader: a table right after a table
  // gets a paragraph of its own between them, hidden (in this document's table level),
  // so that neither a paragraph nor a joined table comes back.
  if (state.TableClosed && item.StyleNo == rpsnTable)
    Write("{\\pard\\plain\\itap" + std::to_string(level) + (level == 1 ? "\\intbl" : "") + "\\v\\par}");
  state.TableClosed = false;
  if (!forced && item.GetLineBreakBefore()) {
    EndShiftedRun(state);
    Write("\\line ");
    return;
  }
  // The paragraph before ends here, unless the item before closed it (a table) or there
  // is none.
  if (state.ParagraphWritten && !state.ParagraphClosed) {
    EndShiftedRun(state);
    if (state.LastParaHasMarker) {
      // "\\plain" resets the character formatting: the next run states its own again.
      Write("\\plain");
      state.CurrentTextStyle = -1;
    }
    Write("\\par ");
  }
  state.ParagraphClosed = false;
  state.ParagraphWritten = true;
  if (data.GetPageBreakBefore(itemNo)) Write("\\page ");
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&item);
  const TRPMarkerItemInfo* lastMarker = state.LastMarker;
  state.LastParaHasMarker = marker != nullptr;
  state.LastMarker = marker;
  state.RightToLeft = data.GetParaBiDiMode(item.ParaNo) == rpbdRightToLeft;
  const int32_t lastParaNo = state.LastParaNo;
  state.LastParaNo = item.ParaNo;
  // A whole-line item (a break, a table) writes its paragraph itself.
  if (item.GetBoolValue(rpibqWholeLine)) {
    state.LastMarker = nullptr;
    state.LastParaNo = -1;
    return;
  }
  // The next item of a list in the same style and level keeps the paragraph's formatting.
  if (marker && lastMarker && lastParaNo == item.ParaNo && lastMarker->ListNo == marker->ListNo &&
      lastMarker->Level == marker->Level)
    return;
  AnsiString out = "\\pard";
  if (const int32_t sheetNo = ParaStyleSheetNo(item.ParaNo); sheetNo >= 0) out += "\\s" + std::to_string(sheetNo);
  Write(out + ParaFormatting(data, item.ParaNo, marker, level, false));
}

void TRPRTFWriter::EndShiftedRun(TRPRTFBodyState& state) const {
  if (state.CurrentTextStyle >= 0 && FStyle.TextStyles()[state.CurrentTextStyle]->VShift != 0) Write("\\nosupersub");
}

void TRPRTFWriter::SwitchTextStyle(TCustomRPData& data, int32_t styleNo, TRPRTFBodyState& state) const {
  if (state.CurrentTextStyle == styleNo) return;
  EndShiftedRun(state);
  AnsiString out = "\\plain ";
  if (const int32_t sheetNo = TextStyleSheetNo(styleNo); sheetNo >= 0) out += "\\cs" + std::to_string(sheetNo);
  Write(out + TextFormatting(data, styleNo, false));
  state.CurrentTextStyle = styleNo;
}

void TRPRTFWriter::WriteText(TCustomRPData& data, int32_t itemNo, int32_t from, int32_t to,
                             TRPRTFBodyState& state) const {
  const int32_t styleNo = data.GetItemStyle(itemNo);
  if (IsHtmlCodeOnly(styleNo)) return;
  SwitchTextStyle(data, styleNo, state);
  AnsiString hostText;
  if (data.SaveItemToFile(FPath, data, itemNo, rpsfRTF, false, hostText)) {
    Write(hostText);
    return;
  }
  const TCustomRPItemInfo& item = *data.GetItem(itemNo);
  const AnsiString text = CopyItemText(data.GetItemTextRaw(itemNo), from, std::max(to - from, 0), item.ItemOptions);
  const bool rtfCode = FStyle.TextStyles()[styleNo]->Options.Contains(rpteoRTFCode);
  if (item.IsUnicode())
    WriteRtfUnicodeText(FStream, text, data.GetStyleCodePage(styleNo), rtfCode,
                        (FOptions & rprtfDuplicateUnicode) != 0);
  else
    Write(RtfEscapeText(text, rtfCode, true));
}

void TRPRTFWriter::WriteNonText(TCustomRPData& data, int32_t itemNo, int32_t level, TRPRTFBodyState& state) {
  TCustomRPItemInfo& item = *data.GetItem(itemNo);
  int32_t textStyle = item.GetAssociatedTextStyleNo();
  if (textStyle >= 0) textStyle = data.ResolveStyleNo(textStyle, item.ParaNo);
  const bool withTextStyle = textStyle >= 0 && !IsHtmlCodeOnly(textStyle);
  if (withTextStyle) SwitchTextStyle(data, textStyle, state);
  if (!withTextStyle) EndShiftedRun(state);
  const bool leftToRightInside = !withTextStyle && state.RightToLeft;
  if (leftToRightInside) Write("\\ltrpar");
  AnsiString hostText;
  if (data.SaveItemToFile(FPath, data, itemNo, rpsfRTF, false, hostText)) {
    Write(hostText);
  } else {
    TRPRTFSaveContext context(FTables.Colors);
    context.RPData = &data;
    context.Path = WideToAnsi(WideExtractFilePath(FPath), data.GetDefaultCodePage());
    context.Options = FOptions;
    context.TwipsPerPixel = FTwips;
    context.NestingLevel = level;
    context.ListOverrideBases = &FTables.ListOverrideNumbers;
    context.ListOverrideCounters = &FTables.ListOverrideCounters;
    context.FontTable = &FTables.FontTable;
    context.Writer = this;
    item.SaveRTF(FStream, context, data.GetItemTextRaw(itemNo), itemNo);
  }
  if (leftToRightInside) Write("\\rtlpar");
  if (!withTextStyle) state.CurrentTextStyle = -1;
  // A break ends its paragraph itself, and a table tells so.
  if (item.GetBoolValue(rpibqWholeLine) && item.StyleNo == rpkindBreak) state.ParagraphClosed = true;
}

void TRPRTFWriter::WriteBody(TCustomRPData& data, int32_t level, bool selectionOnly, bool topLevel) {
  TRPRTFBodyState state;
  FStates.push_back(&state);
  TScopeExit pop([this] { FStates.pop_back(); });
  int32_t startNo = -1, startOffs = 0, endNo = -1, endOffs = 0;
  const bool hasRange = data.UseSelectionOnly(selectionOnly, startNo, startOffs, endNo, endOffs);
  if (hasRange) {
    // A selection that starts inside a list paragraph begins with the paragraph's marker.
    std::vector<int32_t> order;
    const int32_t paraStart = data.GetParaStartItem(startNo);
    if (selectionOnly && paraStart < startNo && data.GetItem(paraStart)->StyleNo == rpkindListMarker)
      order.push_back(paraStart);
    for (int32_t i = startNo; i <= endNo; ++i) order.push_back(i);
    bool first = true;
    const IRPStyleSheet* sheet = data.GetRPStyle();
    for (const int32_t i : order) {
      const bool isText = data.IsTextItem(i);
      if (isText && !data.GetItemTextRaw(i).empty() &&
          ((i == startNo && startOffs >= data.GetItemEndOffset(i)) ||
           (i == endNo && endOffs <= data.GetItemStartOffset(i))))
        continue;
      TCustomRPItemInfo& item = *data.GetItem(i);
      // The first item written opens its paragraph even when it continues a line.
      if (first || !item.GetContinuesLine()) StartParagraph(data, i, level, first, state);
      first = false;
      if (item.Checkpoint) WriteBookmark(*item.Checkpoint);
      bool field = false;
      if (item.GetBoolValueEx(rpibqxJump, sheet)) {
        AnsiString target, extra;
        data.WriteHyperlink(item.JumpID, data, i, rpsfRTF, target, extra);
        if (!target.empty() || !extra.empty()) {
          if (extra.empty()) extra = MakeHintAttribute(rphkRtf, item.Hint);
          Write("{\\field{\\*\\fldinst HYPERLINK \"" + RtfEscapeFieldArgument(target) + "\"" +
                (extra.empty() ? "" : " " + extra) + "}{\\fldrslt ");
          field = true;
        }
      }
      if (isText) {
        const int32_t from = i == startNo ? startOffs : data.GetItemStartOffset(i);
        const int32_t to = i == endNo ? endOffs : data.GetItemEndOffset(i);
        WriteText(data, i, from, to, state);
      } else {
        WriteNonText(data, i, level, state);
      }
      if (field) {
        // The formatting inside the field's result ends with its group.
        Write("}}");
        state.CurrentTextStyle = -1;
      }
    }
  }
  EndShiftedRun(state);
  const bool reachesEnd =
      !selectionOnly || (hasRange && endNo == data.GetItemCount() - 1 && endOffs >= data.GetItemEndOffset(endNo));
  if (reachesEnd)
    if (const TRPCPInfo* trailing = data.GetPendingCheckpoint()) WriteBookmark(*trailing);
  if (topLevel && hasRange && endNo > startNo && data.IsTextItem(endNo) && data.GetItemTextRaw(endNo).empty() &&
      data.StartsParagraph(endNo))
    Write("\\par");
}

bool SaveRTFToStream(TCustomRPData& data, TStream& stream, const WideString& path, double twipsFactor,
                     TRPRTFTables* tables, TColor color, int32_t level, bool selectionOnly) {
  const auto* style = dynamic_cast<const TRPStyle*>(data.GetRPStyle());
  if (!style || (level > 0 && !tables)) return false;
  try {
    // Selected table cells are copied by the table, not by the document around it.
    if (const auto* formatted = dynamic_cast<const TCustomRPFormattedData*>(&data);
        selectionOnly && formatted && formatted->GetInnerSelectionItem())
      return true;
    std::unique_ptr<TRPRTFTables> ownTables;
    if (level == 0) {
      ownTables = std::make_unique<TRPRTFTables>();
      tables = ownTables.get();
    }
    TRPRTFWriter writer(stream, *style, *tables, path, twipsFactor, data.GetRTFOptions());
    if (level == 0) {
      writer.BuildTables(data, color);
      writer.WriteHeader(data);
    }
    writer.WriteBody(data, level, selectionOnly, level == 0);
    if (level == 0) RPFWrite(stream, "}");
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool SaveRTFToStream(TCustomRichPane& pane, TStream& stream, bool selectionOnly) {
  return SaveRTFToStream(pane.RPData(), stream, WideString(), GetRTFTwipsFactor(), nullptr, pane.EffectiveColor(), 0,
                         selectionOnly);
}
