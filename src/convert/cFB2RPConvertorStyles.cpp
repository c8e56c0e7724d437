// The builder's style machinery: the two stacks, find-or-add of paragraph and text
// styles with their per-style caches, spacer paragraphs, page breaks and text runs.
#include <algorithm>
#include <cassert>
#include <string>

#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "convert/uHyphenateGU.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/CodePages.h"
#include "platform/base/Numbers.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/model/RPStyle.h"
#include "xml/dom/DomElement.h"

namespace {

bool IsLineBreakChar(WideChar c) { return c == u'\r' || c == u'\n' || c == u'\t'; }

// A scratch paragraph style made plain: left aligned, no indents or spacing, 100 percent.
void MakePlainPara(TParaInfo& para) {
  para.Alignment = rpaLeft;
  para.BaseStyleNo = -1;
  para.LineSpacingType = rplsPercent;
  para.LineSpacing = 100;
}

}  // namespace

TFB2RPConvertor::TNestingGuard::TNestingGuard(TFB2RPConvertor& owner) : FOwner(owner) {
  if (FOwner.FNesting >= FOwner.Limits.MaxNesting)
    throw EFB2RPConvertError(SErrNestedTooDeep + std::to_string(FOwner.Limits.MaxNesting));
  ++FOwner.FNesting;
}

void TFB2RPConvertor::Convert(TFictionBook2& book, TReportRichPane& view, TProgressCallback progress,
                              TInternalLinks& links, const TVoDaziScheme& scheme) {
  Book = &book;
  View = &view;
  Scheme = &scheme;
  Links = &links;
  Target = &view.RPData();
  Sheet = view.Style();
  assert(Sheet != nullptr && "the view needs a style sheet");
  view.Clear();
  Sheet->ParaStyles().Clear();
  Sheet->TextStyles().Clear();
  BaseFontNo = CentreParaNo = -1;
  StyleCache.fill(TStyleCacheEntry{});
  StyleStack.clear();
  FontStack.clear();
  NoteQueue.clear();
  ExpandingNotes.clear();
  links.Clear();
  ParagraphOpen = TrailingBreakBlank = PendingPageBreak = KeepLineBreaks = false;
  PendingLineBreaks = 0;
  CellFramesWidth = CellFramesHeight = 0;
  CellPictures.clear();
  SectionCount = 0;
  FNesting = 0;
  ProgressCallback = std::move(progress);
  struct TRemoveCallback {
    TFB2RPConvertor& Owner;
    ~TRemoveCallback() { Owner.ProgressCallback = nullptr; }
  } removeCallback{*this};
  for (int32_t i = 0; i < book.GetBodyCount(); ++i) HandleBody(*book.GetBody(i));
  ReportSection();
}

void TFB2RPConvertor::UnknownElement(const TDomElement&) {}

// --- Stacks ------------------------------------------------------------------------------

int32_t TFB2RPConvertor::CurrentStyle() const {
  return StyleStack.empty() ? vsSectionText : static_cast<int32_t>(StyleStack.back() & 0xFF);
}

int32_t TFB2RPConvertor::CurrentAlignOverride() const {
  return StyleStack.empty() ? 0 : static_cast<int32_t>((StyleStack.back() >> 16) & 0xFF);
}

const TVoDaziStyle& TFB2RPConvertor::CurrentSchemeStyle() const { return Scheme->Styles(CurrentStyle()); }

void TFB2RPConvertor::PushStyle(int32_t index, int32_t alignOverride) {
  StyleStack.push_back(static_cast<uint32_t>(index & 0xFF) | (static_cast<uint32_t>(alignOverride & 0xFF) << 16));
  FontStack.clear();
  PushStyleFont();
  const TVoDaziStyle& style = Scheme->Styles(index);
  if (style.PageBreak) PendingPageBreak = true;
  if (style.SpaceBefBlock > 0) AddText(u" ", BaseFont(), BeforeBlockPara(index));
}

void TFB2RPConvertor::PopStyle() {
  if (StyleStack.empty()) return;
  const int32_t index = CurrentStyle();
  if (Scheme->Styles(index).SpaceAftBlock > 0) AddText(u" ", BaseFont(), AfterBlockPara(index));
  StyleStack.pop_back();
}

int32_t TFB2RPConvertor::CurrentFont() const { return FontStack.empty() ? -1 : FontStack.back(); }

void TFB2RPConvertor::PopFont() {
  if (!FontStack.empty()) FontStack.pop_back();
}

// --- Find-or-add ---------------------------------------------------------------------------

namespace {

// The index of a style of infos equal to info in every property; a new one, a copy of
// info, when none is.
template <typename TInfos, typename TInfo, typename TProps>
int32_t FindOrAdd(TInfos& infos, const TInfo& info, TProps all) {
  // An empty collection would compare with its fallback style, which is no style.
  if (infos.Count() > 0) {
    const int32_t found = infos.FindMatchingStyle(0, info, all);
    if (found >= 0) return found;
  }
  infos.Add()->Assign(info);
  return infos.Count() - 1;
}

}  // namespace

int32_t TFB2RPConvertor::FindOrAddFont(const TFontInfo& font) {
  return FindOrAdd(Sheet->TextStyles(), font, RPAllFontInfoProperties);
}

int32_t TFB2RPConvertor::FindOrAddPara(const TParaInfo& para) {
  return FindOrAdd(Sheet->ParaStyles(), para, RPAllParaInfoProperties);
}

// --- Paragraph styles ----------------------------------------------------------------------

int32_t TFB2RPConvertor::CurrentPara() {
  const int32_t index = CurrentStyle();
  const int32_t alignOverride = CurrentAlignOverride();
  TStyleCacheEntry& cache = StyleCache[static_cast<size_t>(index)];
  if (cache.ParaNo >= 0 && alignOverride == 0) return cache.ParaNo;
  const TVoDaziStyle& style = Scheme->Styles(index);
  TParaInfo para(nullptr);
  MakePlainPara(para);
  para.Alignment =
      static_cast<TRPAlignment>(alignOverride > 0 ? alignOverride - 1 : static_cast<int32_t>(style.Alignment));
  for (uint32_t entry : StyleStack) {
    const TVoDaziStyle& active = Scheme->Styles(static_cast<int32_t>(entry & 0xFF));
    para.LeftIndent += active.LeftIndent;
    para.RightIndent += active.RightIndent;
  }
  para.FirstIndent = style.FirstIndent;
  para.LineSpacing = style.LineSpacing;
  para.SpaceBefore = style.SpaceBefore;
  para.SpaceAfter = style.SpaceAfter;
  if (style.KeepLines) para.Options.Include(rppaoKeepLinesTogether);
  if (style.KeepNext) para.Options.Include(rppaoKeepWithNext);
  const int32_t paraNo = FindOrAddPara(para);
  // Kept on purpose: the first paragraph of a style fixes its indents for the whole book,
  // whatever the nesting of later paragraphs of that style.
  if (alignOverride == 0) cache.ParaNo = paraNo;
  return paraNo;
}

int32_t TFB2RPConvertor::BeforeBlockPara(int32_t index) {
  TStyleCacheEntry& cache = StyleCache[static_cast<size_t>(index)];
  if (cache.BeforeBlockParaNo < 0) {
    const int32_t space = Scheme->Styles(index).SpaceBefBlock;
    TParaInfo para(nullptr);
    MakePlainPara(para);
    para.Options.Include(rppaoKeepWithNext);
    para.SpaceBefore = space >= 3 ? space - 2 : 0;
    cache.BeforeBlockParaNo = FindOrAddPara(para);
  }
  return cache.BeforeBlockParaNo;
}

int32_t TFB2RPConvertor::AfterBlockPara(int32_t index) {
  TStyleCacheEntry& cache = StyleCache[static_cast<size_t>(index)];
  if (cache.AfterBlockParaNo < 0) {
    const TVoDaziStyle& style = Scheme->Styles(index);
    TParaInfo para(nullptr);
    MakePlainPara(para);
    if (style.KeepNext) para.Options.Include(rppaoKeepWithNext);
    para.SpaceAfter = style.SpaceAftBlock >= 3 ? style.SpaceAftBlock - 2 : 0;
    cache.AfterBlockParaNo = FindOrAddPara(para);
  }
  return cache.AfterBlockParaNo;
}

int32_t TFB2RPConvertor::CentrePara() {
  if (CentreParaNo < 0) {
    TParaInfo para(nullptr);
    MakePlainPara(para);
    para.Alignment = rpaCenter;
    CentreParaNo = FindOrAddPara(para);
  }
  return CentreParaNo;
}

// --- Text styles ---------------------------------------------------------------------------

namespace {

// The look of spacer runs; scheme styles start from it too. Size -1 maps to a font
// 1 pixel high (a positive height is the cell height), so a spacer line stays thin.
void MakeBaseFont(TFontInfo& font) {
  font.BackColor = clWhite;
  font.Color = clBlack;
  font.BaseStyleNo = -1;
  font.CharScale = 100;
  font.CharSpacing = 0;
  font.FontName = "Arial";
  font.Size = -1;
  font.Charset = DEFAULT_CHARSET;
  font.Style = TFontStyles{};
  font.Standard = true;
  font.Jump = false;
  font.Unicode = true;
  font.VShift = 0;
}

}  // namespace

int32_t TFB2RPConvertor::BaseFont() {
  if (BaseFontNo < 0) {
    TFontInfo font(nullptr);
    MakeBaseFont(font);
    BaseFontNo = FindOrAddFont(font);
  }
  return BaseFontNo;
}

void TFB2RPConvertor::PushStyleFont() {
  const int32_t index = CurrentStyle();
  TStyleCacheEntry& cache = StyleCache[static_cast<size_t>(index)];
  if (cache.TextNo < 0) {
    const TVoDaziStyle& style = Scheme->Styles(index);
    TFontInfo font(nullptr);
    MakeBaseFont(font);
    font.FontName = WideToAnsi(style.BaseFontName);
    font.Size = style.BaseFontSize;
    if (style.BaseFontBold) font.Style = font.Style + TFontStyles{fsBold};
    if (style.BaseFontItalic) font.Style = font.Style + TFontStyles{fsItalic};
    cache.TextNo = FindOrAddFont(font);
  }
  FontStack.push_back(cache.TextNo);
}

void TFB2RPConvertor::PushRunStyle(TRunStyle run) {
  const TVoDaziStyle& style = CurrentSchemeStyle();
  const int32_t current = CurrentFont();
  bool apply = true;
  switch (run) {
    case TRunStyle::Emphasis:
      apply = style.ApplyEmphasis;
      break;
    case TRunStyle::Strong:
      apply = style.ApplyStrong;
      break;
    case TRunStyle::Strikethrough:
      apply = style.ApplyStrike;
      break;
    case TRunStyle::Sub:
      apply = style.SubSize != 100 || style.SubOffset != 0;
      break;
    case TRunStyle::Sup:
      apply = style.SupSize != 100 || style.SupOffset != 0;
      break;
    case TRunStyle::Code:
    case TRunStyle::Underline:
      break;
  }
  if (!apply) {
    FontStack.push_back(current);
    return;
  }
  TFontInfo font(nullptr);
  font.Assign(*Sheet->TextStyles()[current]);
  switch (run) {
    case TRunStyle::Emphasis:
      font.Style = font.Style + TFontStyles{fsItalic};
      break;
    case TRunStyle::Strong:
      font.Style = font.Style + TFontStyles{fsBold};
      break;
    case TRunStyle::Strikethrough:
      font.Style = font.Style + TFontStyles{fsStrikeOut};
      break;
    case TRunStyle::Underline:
      font.Style = font.Style + TFontStyles{fsUnderline};
      break;
    case TRunStyle::Sub:
      font.Size = static_cast<int32_t>(Round(font.Size * style.SubSize / 100.0));
      font.VShift = -style.SubOffset;
      break;
    case TRunStyle::Sup:
      font.Size = static_cast<int32_t>(Round(font.Size * style.SupSize / 100.0));
      font.VShift = style.SupOffset;
      break;
    case TRunStyle::Code:
      font.FontName = WideToAnsi(style.CodeFontName);
      if (font.Size == style.BaseFontSize && font.VShift == 0) font.Size = style.CodeFontSize;
      font.Charset = DEFAULT_CHARSET;
      if (style.CodeFontBold) font.Style = font.Style + TFontStyles{fsBold};
      if (style.CodeFontItalic) font.Style = font.Style + TFontStyles{fsItalic};
      break;
  }
  FontStack.push_back(FindOrAddFont(font));
}

// --- Adding items --------------------------------------------------------------------------

void TFB2RPConvertor::AddText(WideStringView text, int32_t textStyle, int32_t paraNo) {
  Target->AddTextW(text, textStyle, TRPTag(), paraNo);
  ItemAdded();
}

void TFB2RPConvertor::AddTextRun(const TDomNode& textNode) {
  const WideString value = textNode.GetNodeValue();
  if (KeepLineBreaks) return AddCodeRun(value);
  // A run of blanks holding a line break or a tab becomes one blank.
  WideString text;
  text.reserve(value.size());
  bool breakBlankAtEnd = false;
  for (size_t i = 0; i < value.size();) {
    if (value[i] != u' ' && !IsLineBreakChar(value[i])) {
      text += value[i++];
      continue;
    }
    size_t end = i;
    bool hasBreak = false;
    while (end < value.size() && (value[end] == u' ' || IsLineBreakChar(value[end])))
      hasBreak |= IsLineBreakChar(value[end++]);
    if (hasBreak) {
      // Merges with a blank the previous run ended with.
      const bool afterBlank = i == 0 && ParagraphOpen && Target->GetItemCount() > 0 &&
                              Target->IsTextItem(Target->GetItemCount() - 1) &&
                              Target->GetItemTextW(Target->GetItemCount() - 1).ends_with(u' ');
      if (!afterBlank) text += u' ';
      breakBlankAtEnd = end == value.size() && !afterBlank;
    } else {
      text.append(value, i, end - i);
      breakBlankAtEnd = false;
    }
    i = end;
  }
  if (!ParagraphOpen) {
    size_t start = 0;
    while (start < text.size() && text[start] < 33) ++start;
    text.erase(0, start);
  }
  if (text.empty()) return;
  const int32_t paraNo = ContinueParagraph();
  if (CurrentSchemeStyle().Hyphenation) text = Hyphenate(text);
  AddText(text, CurrentFont(), paraNo);
  TrailingBreakBlank = breakBlankAtEnd;
}

void TFB2RPConvertor::AddCodeRun(WideStringView value) {
  const auto addLine = [&](WideStringView line) {
    WideString text(line);
    std::replace(text.begin(), text.end(), u'\t', u' ');
    if (!ParagraphOpen && std::all_of(text.begin(), text.end(), [](WideChar c) { return c == u' '; })) return;
    const int32_t paraNo = ContinueParagraph();
    const bool newLine = paraNo == -1 && PendingLineBreaks > 0;
    // Every line of the block after its first starts a new line of the paragraph; an
    // empty line holds one blank.
    for (; PendingLineBreaks > 1; --PendingLineBreaks) {
      AddText(u" ", CurrentFont(), -1);
      Target->GetItem(Target->GetItemCount() - 1)->SetLineBreakBefore(true);
    }
    PendingLineBreaks = 0;
    AddText(text, CurrentFont(), paraNo);
    if (newLine) Target->GetItem(Target->GetItemCount() - 1)->SetLineBreakBefore(true);
  };
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i < value.size() && value[i] != u'\r' && value[i] != u'\n') continue;
    if (i > start) addLine(value.substr(start, i - start));
    if (i < value.size()) {
      if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') ++i;  // CR LF is one break
      if (ParagraphOpen) ++PendingLineBreaks;
    }
    start = i + 1;
  }
}

void TFB2RPConvertor::CloseParagraph() {
  if (!TrailingBreakBlank) return;
  TrailingBreakBlank = false;
  const int32_t last = Target->GetItemCount() - 1;
  WideString text = Target->GetItemTextW(last);
  text.pop_back();
  if (text.empty())
    Target->DeleteItems(last, 1);
  else
    Target->SetItemTextW(last, text);
}

void TFB2RPConvertor::AddNoteNumber(WideStringView text) {
  TParaInfo para(nullptr);
  para.Assign(*Sheet->ParaStyles()[CurrentPara()]);
  para.Options.Include(rppaoNoWrap);
  AddText(text, CurrentFont(), FindOrAddPara(para));
}

void TFB2RPConvertor::RegisterAnchor(const TDomElement& element) {
  const WideString id = element.GetAttributeValue(u"id");
  if (!id.empty()) Links->SetTarget(id, View->RPData().GetItemCount());
}

void TFB2RPConvertor::ReportSection() {
  if (ProgressCallback) ProgressCallback(SectionCount);
}
