// The builder's element handlers: bodies, sections, titles, block containers, paragraph
// content with its inline markup, and links.
#include <algorithm>
#include <array>
#include <string_view>

#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "convert/uUniWin1251.h"
#include "fb2/FB2TagNames.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/ScopeExit.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "xml/dom/DomElement.h"

namespace {

using TNames = std::initializer_list<std::u16string_view>;

bool Among(const WideString& name, TNames names) {
  return std::find(names.begin(), names.end(), std::u16string_view(name)) != names.end();
}

// A block container: the style it pushes, the children it handles, and the style of its
// title child.
struct TContainerRule {
  std::u16string_view Name;
  int32_t Style;
  TNames Children;
  int32_t TitleStyle;
};

const TNames BodyChildren{TagImage, TagTitle, TagEpigraph, TagSection};
// A section's text children that many books put straight in a body.
const TNames BodyTextChildren{TagAnnotation, TagP, TagPoem,       TagSubtitle, TagCite, TagEmptyLine,
                              TagTable,      TagV, TagTextAuthor, TagDate,     TagCode};
// The body children that end a run of such text.
const TNames BodyRunEnds{TagTitle, TagEpigraph, TagSection};
// Besides the schema's children: verses, dates, authors and block code that real books
// put straight in a section (dropping them would lose their text).
const TNames SectionChildren{TagImage, TagTitle, TagEpigraph, TagAnnotation, TagSection,
                             TagP,     TagPoem,  TagSubtitle, TagCite,       TagEmptyLine,
                             TagTable, TagV,     TagDate,     TagTextAuthor, TagCode};
const TNames TitleChildren{TagP, TagEmptyLine};
const std::array<TContainerRule, 5> ContainerRules{{
    {TagEpigraph, vsEpigraph, {TagP, TagPoem, TagCite, TagEmptyLine, TagTextAuthor}, -1},
    {TagAnnotation, vsAnnotation, {TagP, TagPoem, TagCite, TagSubtitle, TagTable, TagEmptyLine}, -1},
    {TagCite, vsCite, {TagP, TagPoem, TagEmptyLine, TagSubtitle, TagTable, TagTextAuthor}, -1},
    {TagPoem, vsPoem, {TagTitle, TagEpigraph, TagSubtitle, TagStanza, TagTextAuthor, TagDate}, vsPoemTitle},
    {TagStanza, vsStanza, {TagTitle, TagSubtitle, TagV}, vsPoemTitle},
}};
// Elements whose content is paragraph content in a style of their own.
const std::array<std::pair<std::u16string_view, int32_t>, 4> StyledParagraphs{
    {{TagSubtitle, vsSubtitle}, {TagTextAuthor, vsTextAuthor}, {TagDate, vsDate}, {TagV, vsVerse}}};

}  // namespace

void TFB2RPConvertor::WithStyle(int32_t index, int32_t alignOverride, const std::function<void()>& body) {
  PushStyle(index, alignOverride);
  try {
    body();
  } catch (...) {
    // The document is abandoned: the entry goes, without the spacer a normal end adds.
    StyleStack.pop_back();
    throw;
  }
  PopStyle();
}

void TFB2RPConvertor::HandleBody(const TDomElement& body) {
  const TDomElement* child = body.GetFirstChildElement();
  while (child) {
    if (!Among(child->GetNodeName(), BodyTextChildren)) {
      if (Among(child->GetNodeName(), BodyChildren))
        HandleElement(*child, vsBookTitle);
      else
        UnknownElement(*child);
      child = child->GetNextSiblingElement();
      continue;
    }
    // Text straight in the body is laid out as a section's text, in its place among the
    // sections: the run up to the next title, epigraph or section in the SectionText
    // style, the notes after each child.
    WithStyle(vsSectionText, 0, [&] {
      for (; child && !Among(child->GetNodeName(), BodyRunEnds); child = child->GetNextSiblingElement()) {
        if (Among(child->GetNodeName(), SectionChildren))
          HandleElement(*child, -1);
        else
          UnknownElement(*child);
        NotesPass();
      }
    });
  }
}

void TFB2RPConvertor::HandleChildren(const TDomElement& parent, TNames names, int32_t titleStyle, bool notesPass) {
  for (const TDomElement* child = parent.GetFirstChildElement(); child; child = child->GetNextSiblingElement()) {
    if (Among(child->GetNodeName(), names))
      HandleElement(*child, titleStyle);
    else
      UnknownElement(*child);
    if (notesPass) NotesPass();
  }
}

void TFB2RPConvertor::HandleElement(const TDomElement& element, int32_t titleStyle) {
  TNestingGuard guard(*this);
  const WideString name = element.GetNodeName();
  if (name == TagP) return HandleParagraphContent(element);
  if (name == TagEmptyLine) return HandleEmptyLine();
  if (name == TagImage) return HandleImage(element);
  if (name == TagSection) return HandleSection(element);
  if (name == TagTable) return HandleTable(element);
  if (name == TagCode) return HandleCodeBlock(element);
  if (name == TagTitle) {
    if (titleStyle == vsSectionTitle) return HandleSectionTitle(element);
    return WithStyle(titleStyle, 0, [&] { HandleChildren(element, TitleChildren, -1, false); });
  }
  for (const auto& [styledName, style] : StyledParagraphs)
    if (name == styledName) return WithStyle(style, 0, [&] { HandleParagraphContent(element); });
  for (const TContainerRule& rule : ContainerRules)
    if (name == rule.Name)
      return WithStyle(rule.Style, 0, [&] { HandleChildren(element, rule.Children, rule.TitleStyle, false); });
  UnknownElement(element);
}

void TFB2RPConvertor::HandleSection(const TDomElement& section) {
  RegisterAnchor(section);
  WithStyle(vsSection, 0, [&] {
    WithStyle(vsSectionText, 0, [&] { HandleChildren(section, SectionChildren, vsSectionTitle, true); });
  });
  // Progress counts the sections of the book's own bodies, as the book counted them: a
  // section inside a note is built once for every link to it and would count past 100 %.
  if (!ExpandingNotes.empty()) return;
  ++SectionCount;
  ReportSection();
}

void TFB2RPConvertor::HandleNoteSection(const TDomElement& note) {
  for (const TDomElement* child = note.GetFirstChildElement(); child; child = child->GetNextSiblingElement()) {
    const WideString name = child->GetNodeName();
    if (name == TagTitle) continue;
    if (Among(name, SectionChildren))
      HandleElement(*child, vsSectionTitle);
    else
      UnknownElement(*child);
  }
}

void TFB2RPConvertor::HandleSectionTitle(const TDomElement& title) {
  const int32_t level = TFictionBook2::GetSectionLevel(&title);
  const AnsiString text = WideToWin1251(TFictionBook2::GetParagraphsText(&title));
  WithStyle(vsSectionTitle, 0, [&] {
    if (Scheme->TOCLevels >= level && !text.empty()) View->AddNamedCheckpoint(text, true, TRPTag::FromNumber(level));
    HandleChildren(title, TitleChildren, -1, false);
  });
}

// --- Paragraph content -------------------------------------------------------------------

void TFB2RPConvertor::HandleParagraphContent(const TDomElement& element) {
  ParagraphOpen = false;
  TrailingBreakBlank = false;
  FontStack.clear();
  RegisterAnchor(element);
  PushStyleFont();
  // A block of code is in the code font throughout.
  if (KeepLineBreaks) PushRunStyle(TRunStyle::Code);
  HandleInlineChildren(element);
  CloseParagraph();
  if (KeepLineBreaks) PopFont();
  PopFont();
}

void TFB2RPConvertor::HandleCodeBlock(const TDomElement& code) {
  KeepLineBreaks = true;
  PendingLineBreaks = 0;
  const TScopeExit restore([&] { KeepLineBreaks = false; });
  HandleParagraphContent(code);
}

void TFB2RPConvertor::HandleEmptyLine() {
  PushStyleFont();
  AddText(u" ", CurrentFont(), CurrentPara());
  PopFont();
}

void TFB2RPConvertor::HandleInlineChildren(const TDomNode& parent) {
  for (const TDomNode* node = parent.GetFirstChild(); node; node = node->GetNextSibling()) {
    if (node->GetNodeType() == ntText || node->GetNodeType() == ntCDATASection)
      AddTextRun(*node);
    else if (node->GetNodeType() == ntElement)
      HandleInline(static_cast<const TDomElement&>(*node));
  }
}

void TFB2RPConvertor::HandleInline(const TDomElement& element) {
  TNestingGuard guard(*this);
  const WideString name = element.GetNodeName();
  const std::pair<std::u16string_view, TRunStyle> runs[] = {
      {TagEmphasis, TRunStyle::Emphasis}, {TagStrong, TRunStyle::Strong}, {TagStrikethrough, TRunStyle::Strikethrough},
      {TagSub, TRunStyle::Sub},           {TagSup, TRunStyle::Sup},       {TagCode, TRunStyle::Code}};
  for (const auto& [runName, run] : runs)
    if (name == runName) return WithRunStyle(run, [&] { HandleInlineChildren(element); });
  if (name == TagStyle) return HandleInlineChildren(element);
  if (name == TagA) return HandleLink(element);
  if (name == TagImage) return HandleImage(element);
  UnknownElement(element);
}

void TFB2RPConvertor::WithRunStyle(TRunStyle run, const std::function<void()>& body) {
  PushRunStyle(run);
  body();
  PopFont();
}

int32_t TFB2RPConvertor::ContinueParagraph() {
  if (ParagraphOpen) return -1;
  ParagraphOpen = true;
  return CurrentPara();
}

// --- Links ----------------------------------------------------------------------

void TFB2RPConvertor::HandleLink(const TDomElement& link) {
  if (const TDomElement* note = Book->FindNoteElement(&link)) {
    // A note whose table is being built is not queued again: notes that link to each
    // other would never end.
    if (std::find(ExpandingNotes.begin(), ExpandingNotes.end(), note) == ExpandingNotes.end())
      NoteQueue.push_back(TNoteLink{&link, ExpandingNotes});
    return WithRunStyle(TRunStyle::Sup, [&] { HandleInlineChildren(link); });
  }
  const WideString href = Book->GetLocalHref(&link);
  if (!href.empty() && Scheme->InternalLinksMode > 0) {
    if (Scheme->InternalLinksMode == 2) HandleInlineChildren(link);
    AddText(u" ", CurrentFont(), ContinueParagraph());
    TCustomRPData* main = &View->RPData();
    Links->AddSource(href, Target->GetItemCount() - 1, Target == main ? nullptr : Target);
    return;
  }
  WithRunStyle(TRunStyle::Underline, [&] { HandleInlineChildren(link); });
}

void TFB2RPConvertor::ItemAdded() {
  TrailingBreakBlank = false;
  if (PendingPageBreak) {
    Target->SetPageBreakBefore(Target->GetItemCount() - 1, true);
    PendingPageBreak = false;
  }
}
