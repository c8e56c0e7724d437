// The body of an HTML export in either flavour: paragraphs, line breaks, text runs,
// hyperlinks, hints, checkpoint anchors and the items' own HTML.
#include <string>

#include "platform/base/CodePages.h"
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPHTMLWriter.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "unicode/UniSysUtils.h"

namespace {

constexpr char DefaultAnchorPrefix[] = "RichPaneCheckpoint";
constexpr char PageBreakCss[] = "page-break-before: always;";

AnsiString StreamText(TMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

AnsiString Trimmed(const AnsiString& text) {
  const size_t first = text.find_first_not_of(" \r\n");
  return first == AnsiString::npos ? AnsiString() : text.substr(first, text.find_last_not_of(" \r\n") - first + 1);
}

// Whether a value may stand unquoted in an HTML attribute.
bool IsPlainAttributeValue(const AnsiString& value) {
  if (value.empty()) return false;
  for (char c : value)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
          c == '.' || c == ':'))
      return false;
  return true;
}

const char* AlignmentName(TRPAlignment alignment) {
  switch (alignment) {
    case rpaRight:
      return "right";
    case rpaCenter:
      return "center";
    case rpaJustify:
      return "justify";
    case rpaLeft:
      break;
  }
  return "";
}

}  // namespace

// --- Shared pieces ----------------------------------------------------------------------------

bool TRPHTMLWriter::IsSymbolFont(int32_t styleNo) const {
  return AnsiSameText(FStyle.TextStyles()[styleNo]->FontName, "Symbol");
}

AnsiString TRPHTMLWriter::CheckpointAnchor(const TRPCPInfo& checkpoint, uint32_t options) {
  const int32_t number = FAnchorCount++;
  if ((options & rphtmlCheckpointNames) && !checkpoint.Name.empty())
    return "<a name=\"" + AttributeValue(checkpoint.Name) + "\"></a>";
  const AnsiString prefix = FCss && !FParams.CheckpointPrefix.empty() ? FParams.CheckpointPrefix : DefaultAnchorPrefix;
  const AnsiString name = prefix + std::to_string(number);
  // XHTML wants every value quoted; a prefix of the caller's may need it too.
  if ((options & rphtmlQuotedAttributes) || !IsPlainAttributeValue(name))
    return "<a name=\"" + AttributeValue(name) + "\"></a>";
  return "<a name=" + name + "></a>";
}

AnsiString TRPHTMLWriter::HyperlinkTag(TCustomRPData& data, int32_t i, const AnsiString& cssClass, bool hintAsTitle) {
  const TCustomRPItemInfo& item = *data.GetItem(i);
  if (!item.GetBoolValueEx(rpibqxJump, data.GetRPStyle())) return {};
  AnsiString target, extra;
  data.WriteHyperlink(item.JumpID, data, i, rpsfHTML, target, extra);
  if (target.empty() && extra.empty()) return {};
  AnsiString tag = "<a" + (cssClass.empty() ? "" : " " + cssClass);
  if (!target.empty()) tag += " href=\"" + AttributeValue(target) + "\"";
  if (!extra.empty())
    tag += " " + Out(extra);
  else if (hintAsTitle && !item.Hint.empty())
    tag += " " + Out(MakeHintAttribute(rphkHtml, item.Hint));
  return tag + ">";
}

AnsiString TRPHTMLWriter::TextToWrite(TCustomRPData& data, int32_t i, const TRPHTMLBodyState& state) {
  AnsiString raw = data.GetItemTextRaw(i);
  if (state.Selection && (i == state.StartNo || i == state.EndNo)) {
    const int32_t from = i == state.StartNo ? state.StartOffs : data.GetItemStartOffset(i);
    const int32_t to = i == state.EndNo ? state.EndOffs : data.GetItemEndOffset(i);
    raw = CopyItemText(raw, from, std::max(to - from, 0), data.GetItem(i)->ItemOptions);
  }
  return raw;
}

bool TRPHTMLWriter::WritesNothing(TCustomRPData& data, int32_t i, const TRPHTMLBodyState& state) {
  if (!TextToWrite(data, i, state).empty()) return false;
  return !data.StartsParagraph(i) || (i + 1 < data.GetItemCount() && !data.StartsParagraph(i + 1));
}

void TRPHTMLWriter::WriteText(TCustomRPData& data, int32_t i, uint32_t options, const TRPHTMLBodyState& state) {
  AnsiString hostText;
  if (data.SaveItemToFile(FParams.Path, data, i, rpsfHTML, false, hostText)) {
    Write(hostText);
    return;
  }
  const AnsiString raw = TextToWrite(data, i, state);
  if (raw.empty()) {
    if (!WritesNothing(data, i, state)) Write("<br" + GetXhtmlEmptyTagEnd(options) + ">");
    return;
  }
  const int32_t styleNo = data.GetItemStyle(i);
  const bool htmlCode = FStyle.TextStyles()[styleNo]->Options.Contains(rpteoHTMLCode);
  const bool utf8 = (options & rphtmlUtf8) != 0;
  const bool unicode = data.GetItem(i)->IsUnicode();
  if (FCss && !htmlCode && IsSymbolFont(styleNo)) {
    Write(unicode ? SymbolTextToHtmlW(raw) : SymbolTextToHtml(raw));
  } else if (unicode) {
    Write(utf8 ? RawUnicodeToHtmlUtf8(raw, htmlCode) : RawUnicodeToHtmlEntities(raw, htmlCode));
  } else {
    const AnsiString text = EscapeHtmlText(raw, htmlCode);
    Write(utf8 ? CodePageTextToUtf8(data.GetStyleCodePage(styleNo), text) : text);
  }
}

TRPHTMLSaveContext TRPHTMLWriter::MakeItemContext(TCustomRPData& data, uint32_t options, TColor background) {
  TRPHTMLSaveContext context(*this, *FBullets);
  context.RPData = &data;
  context.RPStyle = data.GetRPStyle();
  context.Path = WideToAnsi(WideExtractFilePath(FParams.Path), FCodePage);
  context.Options = options;
  context.UseCss = FCss;
  context.Background = background;
  context.Writer = this;
  return context;
}

const TRPMarkerItemInfo* TRPHTMLWriter::ListItemMarker(TCustomRPData& data, int32_t i, uint32_t options) const {
  const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(data.GetItem(i));
  if (!marker || (options & rphtmlListMarkersInline) || !marker->GetLevelInfo(&FStyle)) return nullptr;
  return marker;
}

void TRPHTMLWriter::CloseList(TRPHTMLBodyState& state) {
  std::vector<bool>& open = state.ItemOpen;
  const TRPListLevelCollection* levels = state.ListNo >= 0 && state.ListNo < FStyle.ListStyles().Count()
                                             ? &FStyle.ListStyles()[state.ListNo]->Levels()
                                             : nullptr;
  while (!open.empty()) {
    if (open.back()) Write("</li>\r\n");
    if (levels && levels->Count() > 0)
      (*levels)[std::min(static_cast<int32_t>(open.size()) - 1, levels->Count() - 1)]->HTMLCloseTag(FStream);
    Write("\r\n");
    open.pop_back();
  }
  state.ListNo = -1;
}

void TRPHTMLWriter::MoveToListItem(TRPHTMLBodyState& state, const TRPMarkerItemInfo& marker, bool useCss,
                                   uint32_t options) {
  if (state.ListNo != marker.ListNo) CloseList(state);
  state.ListNo = marker.ListNo;
  const TRPListLevelCollection& levels = FStyle.ListStyles()[marker.ListNo]->Levels();
  const auto target = static_cast<size_t>(std::min(marker.Level, levels.Count() - 1)) + 1;
  std::vector<bool>& open = state.ItemOpen;
  while (open.size() > target) {
    if (open.back()) Write("</li>\r\n");
    levels[static_cast<int32_t>(open.size()) - 1]->HTMLCloseTag(FStream);
    Write("\r\n");
    open.pop_back();
  }
  if (open.size() == target && open.back()) {
    Write("</li>\r\n");
    open.back() = false;
  }
  while (open.size() < target) {
    if (!open.empty() && !open.back()) {
      Write("<li style=\"list-style-type: none\">");
      open.back() = true;
    }
    levels[static_cast<int32_t>(open.size())]->HTMLOpenTag(FStream, useCss, options);
    Write("\r\n");
    open.push_back(false);
  }
  open.back() = true;
}

void TRPHTMLWriter::WriteItemHtml(TCustomRPData& data, int32_t i, uint32_t options, TColor background) {
  AnsiString hostText;
  if (data.SaveItemToFile(FParams.Path, data, i, rpsfHTML, false, hostText)) {
    Write(hostText);
    return;
  }
  TRPHTMLSaveContext context = MakeItemContext(data, options, background);
  TCustomRPData* const savedData = FCurrentData;
  const TColor savedBackground = FCurrentBackground;
  FCurrentData = &data;
  FCurrentBackground = background;
  data.GetItem(i)->SaveToHTML(FStream, context, data.GetItemTextRaw(i), i);
  FCurrentData = savedData;
  FCurrentBackground = savedBackground;
}

void TRPHTMLWriter::CloseBlock(TCustomRPData& data, TRPHTMLBodyState& state, bool lineEnd) {
  const AnsiString end = lineEnd ? "\r\n" : "";
  Write(state.BlockEnd);
  state.BlockEnd.clear();
  switch (state.Open) {
    case rphbNone:
      return;
    case rphbParagraph:
      Write((!FCss && RPHTMLClassicParagraphsAsDiv ? "</div>" : "</p>") + end);
      break;
    case rphbDiv:
      Write("</div>" + end);
      break;
    case rphbDivWithAlign:
      Write("</div></div>" + end);
      break;
    case rphbListItem:
      // The item itself closes with the list's next step (MoveToListItem, CloseList).
      Write(end);
      break;
  }
  Write(data.SaveParaToHTML(data, state.OpenItemNo, false, FCss));
  state.Open = rphbNone;
}

void TRPHTMLWriter::SaveSubDocumentBody(TStream&, TCustomRPData& document, uint32_t options, TColor backColor) {
  WriteBody(document, options, backColor);
}

void TRPHTMLWriter::WriteBody(TCustomRPData& data, uint32_t options, TColor backColor, bool selectionOnly) {
  TRPHTMLBodyState state;
  state.Background = backColor;
  if (!selectionOnly) {
    for (int32_t i = 0; i < data.GetItemCount(); ++i) state.Order.push_back(i);
  } else if (data.UseSelectionOnly(true, state.StartNo, state.StartOffs, state.EndNo, state.EndOffs)) {
    state.Selection = true;
    // A selection that starts inside a list paragraph begins with the paragraph's marker;
    // text items whose selected part is empty at the ends are left out.
    const int32_t paraStart = data.GetParaStartItem(state.StartNo);
    if (paraStart < state.StartNo && data.GetItem(paraStart)->StyleNo == rpkindListMarker)
      state.Order.push_back(paraStart);
    for (int32_t i = state.StartNo; i <= state.EndNo; ++i) {
      const bool emptyEdge = data.IsTextItem(i) && !data.GetItemTextRaw(i).empty() &&
                             ((i == state.StartNo && state.StartOffs >= data.GetItemEndOffset(i)) ||
                              (i == state.EndNo && state.EndOffs <= data.GetItemStartOffset(i)));
      if (!emptyEdge) state.Order.push_back(i);
    }
    state.ReachesEnd = state.EndNo == data.GetItemCount() - 1 && state.EndOffs >= data.GetItemEndOffset(state.EndNo);
  } else {
    state.ReachesEnd = false;
  }
  TCustomRPData* const savedData = FCurrentData;
  FCurrentData = &data;
  if (FCss)
    WriteCssBody(data, options, state);
  else
    WriteClassicBody(data, options, state);
  FCurrentData = savedData;
}

// --- Classic flavour ---------------------------------------------------------------------------

void TRPHTMLWriter::WriteClassicBody(TCustomRPData& data, uint32_t options, TRPHTMLBodyState& state) {
  const TFontInfo& style0 = *FStyle.TextStyles()[0];
  const AnsiString emptyEnd = GetXhtmlEmptyTagEnd(options);
  const bool bodyFont = !(options & rphtmlNoBodyFontTags);
  for (size_t k = 0; k < state.Order.size(); ++k) {
    const int32_t i = state.Order[k];
    const TCustomRPItemInfo& item = *data.GetItem(i);
    // The first item written opens its paragraph even when it continues a line.
    if (k == 0 || !item.GetContinuesLine()) {
      if (k > 0 && item.GetLineBreakBefore()) {
        Write("<br" + emptyEnd + ">");
      } else {
        CloseBlock(data, state, true);
        const AnsiString pageBreak = (options & rphtmlUseCss) && data.GetPageBreakBefore(i)
                                         ? AnsiString(" style=\"") + PageBreakCss + "\""
                                         : AnsiString();
        if (const TRPMarkerItemInfo* marker = ListItemMarker(data, i, options)) {
          MoveToListItem(state, *marker, (options & rphtmlUseCss) != 0, options);
          Write(data.SaveParaToHTML(data, i, true, false));
          const bool counts = marker->GetLevelInfo(&FStyle)->HasNumbering();
          Write((counts ? "<li value=" + FormatHtmlInt(marker->Counter, options) : AnsiString("<li")) + pageBreak +
                ">");
          state.Open = rphbListItem;
          state.OpenItemNo = i;
          if (bodyFont) {
            Write(Out(GetHtmlOpenFontTags(style0, nullptr, options)));
            state.BlockEnd = GetHtmlCloseFontTags(style0, nullptr);
          }
        } else if (item.StyleNo != rpkindBreak) {
          CloseList(state);
          const TParaInfo& para = *FStyle.ParaStyles()[item.ParaNo];
          Write(data.SaveParaToHTML(data, i, true, false));
          // A block item (a table) cannot stand in a paragraph.
          const bool block = item.GetBoolValue(rpibqWholeLine);
          AnsiString tag = block || RPHTMLClassicParagraphsAsDiv ? "<div" : "<p";
          if (const char* align = AlignmentName(para.Alignment); *align)
            tag += AnsiString(" align=") + QuoteHtmlValue(align, options);
          if (para.BiDiMode == rpbdLeftToRight) tag += " dir=" + QuoteHtmlValue("LTR", options);
          if (para.BiDiMode == rpbdRightToLeft) tag += " dir=" + QuoteHtmlValue("RTL", options);
          Write(tag + pageBreak + ">");
          state.Open = block ? rphbDiv : rphbParagraph;
          state.OpenItemNo = i;
          if (bodyFont && !block) {
            Write(Out(GetHtmlOpenFontTags(style0, nullptr, options)));
            state.BlockEnd = GetHtmlCloseFontTags(style0, nullptr);
          }
        }
      }
    }
    if (item.Checkpoint) Write("\r\n" + CheckpointAnchor(*item.Checkpoint, options));
    const AnsiString link = HyperlinkTag(data, i, "", true);
    const bool hint = link.empty() && !item.Hint.empty();
    if (!link.empty()) Write(link);
    if (hint) Write("<span " + Out(MakeHintAttribute(rphkHtml, item.Hint)) + ">");
    const bool isText = data.IsTextItem(i);
    int32_t styleNo = isText ? data.GetItemStyle(i) : item.GetAssociatedTextStyleNo();
    if (!isText && styleNo >= 0) styleNo = data.ResolveStyleNo(styleNo, item.ParaNo);
    if (styleNo < 0) {
      WriteItemHtml(data, i, options, state.Background);
      if (item.StyleNo == rpkindBreak) Write("\r\n");
    } else if (data.IsStyleHTMLWritable(styleNo)) {
      // An empty run gets no font tags: they would be an empty element.
      const bool tags = !(isText && WritesNothing(data, i, state));
      const TFontInfo& style = *FStyle.TextStyles()[styleNo];
      if (tags) Write(Out(GetHtmlOpenFontTags(style, &style0, options)));
      if (isText)
        WriteText(data, i, options, state);
      else
        WriteItemHtml(data, i, options, state.Background);
      if (tags) Write(GetHtmlCloseFontTags(style, &style0));
    }
    if (hint) Write("</span>");
    if (!link.empty()) Write("</a>");
  }
  CloseBlock(data, state, true);
  CloseList(state);
  if (const TRPCPInfo* trailing = data.GetPendingCheckpoint(); trailing && state.ReachesEnd)
    Write("\r\n" + CheckpointAnchor(*trailing, options));
}

// --- CSS flavour ---------------------------------------------------------------------------------

AnsiString TRPHTMLWriter::TextStyleAttribute(int32_t styleNo, uint32_t options) const {
  if (!(options & rphtmlInlineCss)) return "class=" + QuoteHtmlValue("rpts" + std::to_string(styleNo), options);
  TMemoryStream css;
  FStyle.TextStyles()[styleNo]->WriteCSS(css, nullptr, false, false);
  return "style=\"" + AttributeValue(Trimmed(StreamText(css))) + "\"";
}

AnsiString TRPHTMLWriter::ParaStyleAttribute(int32_t paraNo, const AnsiString& extraCss, uint32_t options) const {
  if (options & rphtmlInlineCss) {
    TMemoryStream css;
    FStyle.ParaStyles()[paraNo]->WriteCSS(css, nullptr, false, false, false);
    const AnsiString declarations = AppendWithSpace(Trimmed(StreamText(css)), extraCss);
    return declarations.empty() ? AnsiString() : " style=\"" + AttributeValue(declarations) + "\"";
  }
  AnsiString out;
  if (paraNo != 0 || (options & rphtmlDefaultCssClasses))
    out = " class=" + QuoteHtmlValue("rpps" + std::to_string(paraNo), options);
  if (!extraCss.empty()) out += " style=\"" + extraCss + "\"";
  return out;
}

void TRPHTMLWriter::WriteCssBody(TCustomRPData& data, uint32_t options, TRPHTMLBodyState& state) {
  const AnsiString emptyEnd = GetXhtmlEmptyTagEnd(options);
  const bool xhtml = (options & rphtmlQuotedAttributes) != 0;
  const IRPStyleSheet* sheet = data.GetRPStyle();
  const auto closeSpan = [&] {
    if (state.SpanStyle < 0) return;
    Write("</span>");
    state.SpanStyle = -1;
  };
  for (size_t k = 0; k < state.Order.size(); ++k) {
    const int32_t i = state.Order[k];
    const TCustomRPItemInfo& item = *data.GetItem(i);
    if (k == 0 || !item.GetContinuesLine()) {
      closeSpan();
      if (k > 0 && item.GetLineBreakBefore()) {
        Write("\r\n<br" + emptyEnd + ">");
      } else {
        const bool followsBlock = state.Open != rphbNone;
        CloseBlock(data, state, true);
        const TParaInfo& para = *FStyle.ParaStyles()[item.ParaNo];
        state.Background = para.Background.Color != clNone ? para.Background.Color : FParams.Color;
        const bool pageBreak = data.GetPageBreakBefore(i);
        const auto* inlineMarker = dynamic_cast<const TRPMarkerItemInfo*>(&item);
        const TRPListLevel* inlineLevel = inlineMarker ? inlineMarker->GetLevelInfo(&FStyle) : nullptr;
        if (const TRPMarkerItemInfo* marker = ListItemMarker(data, i, options)) {
          if (!followsBlock) Write("\r\n");
          MoveToListItem(state, *marker, true, options);
          Write(data.SaveParaToHTML(data, i, true, true));
          TRPHTMLSaveContext context = MakeItemContext(data, options, state.Background);
          AnsiString liStyle = marker->GetHtmlLiStyle(context);
          AnsiString attributes;
          if (options & rphtmlInlineCss) {
            // One style attribute: the paragraph's declarations and the item's.
            AnsiString itemCss = liStyle;
            if (!itemCss.empty()) itemCss = itemCss.substr(10, itemCss.size() - 13) + ";";  // inside ' style="{ ... }"'
            attributes =
                ParaStyleAttribute(item.ParaNo, AppendWithSpace(itemCss, pageBreak ? PageBreakCss : ""), options);
            liStyle.clear();
          } else {
            attributes = ParaStyleAttribute(item.ParaNo, pageBreak && liStyle.empty() ? PageBreakCss : "", options);
            if (pageBreak && !liStyle.empty()) liStyle.insert(liStyle.find("{ ") + 2, AnsiString(PageBreakCss) + " ");
          }
          const bool counts = marker->GetLevelInfo(&FStyle)->HasNumbering();
          Write((counts ? "<li value=" + FormatHtmlInt(marker->Counter, options) : AnsiString("<li")) + attributes +
                liStyle + ">");
          state.Open = rphbListItem;
          state.OpenItemNo = i;
        } else if (item.StyleNo != rpkindBreak) {
          if (!followsBlock) Write("\r\n");
          CloseList(state);
          Write(data.SaveParaToHTML(data, i, true, true));
          // An inline marker's paragraph takes the level's indents.
          const AnsiString attributes = ParaStyleAttribute(
              item.ParaNo,
              AppendWithSpace(inlineLevel ? inlineLevel->GetIndentCSS() : "", pageBreak ? PageBreakCss : ""), options);
          if (item.GetBoolValue(rpibqWholeLine)) {
            // A block item (a table) stands in a "div" of the paragraph's style.
            Write("<div" + attributes + ">");
            state.Open = rphbDiv;
            if (!xhtml && (para.Alignment == rpaRight || para.Alignment == rpaCenter)) {
              Write(AnsiString("<div align=") + QuoteHtmlValue(AlignmentName(para.Alignment), options) + ">");
              state.Open = rphbDivWithAlign;
            }
          } else {
            Write("<p" + attributes + ">");
            state.Open = rphbParagraph;
          }
          state.OpenItemNo = i;
        }
      }
    }
    if (item.Checkpoint) {
      closeSpan();
      Write(CheckpointAnchor(*item.Checkpoint, options));
    }
    const bool isText = data.IsTextItem(i);
    const int32_t styleNo = isText ? data.GetItemStyle(i) : -1;
    if (isText && !data.IsStyleHTMLWritable(styleNo)) continue;
    const AnsiString link = HyperlinkTag(data, i, isText ? TextStyleAttribute(styleNo, options) : "", false);
    const bool hint = !item.Hint.empty();
    if (!link.empty() || hint) closeSpan();
    if (!link.empty()) Write(link);
    if (hint) Write("<span " + Out(MakeHintAttribute(rphkHtml, item.Hint)) + ">");
    if (isText) {
      const TFontInfo& style = *FStyle.TextStyles()[styleNo];
      // Style 0 stands on the body's rule, which inline styles do not write.
      const bool needsSpan = link.empty() && (styleNo != 0 || style.Jump || style.BackColor != clNone ||
                                              (options & (rphtmlDefaultCssClasses | rphtmlInlineCss)));
      if (!needsSpan) closeSpan();
      if (needsSpan && state.SpanStyle != styleNo) {
        closeSpan();
        Write("<span " + TextStyleAttribute(styleNo, options) + ">");
        state.SpanStyle = styleNo;
      }
      WriteText(data, i, options, state);
      // The span goes on over the next item of the same plain style in the same line.
      const bool goesOn = state.SpanStyle >= 0 && link.empty() && !hint && !style.Jump && k + 1 < state.Order.size() &&
                          state.Order[k + 1] == i + 1 && data.GetItem(i + 1)->GetContinuesLine() &&
                          data.IsTextItem(i + 1) && data.GetItemStyle(i + 1) == styleNo &&
                          data.GetItem(i + 1)->Hint.empty() && !data.GetItem(i + 1)->Checkpoint &&
                          !data.GetItem(i + 1)->GetBoolValueEx(rpibqxJump, sheet);
      if (!goesOn) closeSpan();
    } else {
      closeSpan();
      WriteItemHtml(data, i, options, state.Background);
    }
    if (hint) Write("</span>");
    if (!link.empty()) Write("</a>");
  }
  closeSpan();
  CloseBlock(data, state, true);
  CloseList(state);
  if (const TRPCPInfo* trailing = data.GetPendingCheckpoint(); trailing && state.ReachesEnd)
    Write(CheckpointAnchor(*trailing, options));
}
