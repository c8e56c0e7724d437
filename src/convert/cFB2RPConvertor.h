// `TFB2RPConvertor`: builds the rich-text document of a book. It walks the body elements
// of a `TFictionBook2` and fills the document of a `TReportRichPane` with text runs,
// pictures and tables, styled by the 19 styles of a `TVoDaziScheme`, and records the
// targets and page references of internal links in a `TInternalLinks`.
//
// Style machinery: a stack of active scheme styles (block elements push one each), a
// stack of text styles (inline markup pushes one each), and per-style caches of the
// paragraph and text styles made for the document's style sheet. Every style is found
// or added by equality with every property, so equal looks share one style. Note links
// are queued and their notes placed as tables right after the section child that holds
// them.
//
// Text: CR, LF and TAB inside a text node become a blank that merges with the blanks
// next to it and is dropped at the start and the end of a paragraph, so a pretty-printed
// book lays out exactly like its one-line twin (deleting them outright would glue the
// words of wrapped lines together).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "convert/ConvertLimits.h"
#include "convert/cVoDaziStyle.h"
#include "platform/base/Exception.h"
#include "platform/base/Types.h"

class TCustomRPData;
class TDomElement;
class TDomNode;
class TFictionBook2;
class TFontInfo;
class TInternalLinks;
class TParaInfo;
class TRPTableCellData;
class TRPTableItemInfo;
class TReportRichPane;
class TRPStyle;
class TVoDaziScheme;
class TVoDaziStyle;

// A book the builder refuses (nested beyond its limits).
class EFB2RPConvertError : public Exception {
public:
  using Exception::Exception;
};

class TFB2RPConvertor {
public:
  using TProgressCallback = std::function<void(int32_t sectionCount)>;

  TFB2RPConvertor() = default;
  virtual ~TFB2RPConvertor() = default;
  TFB2RPConvertor(const TFB2RPConvertor&) = delete;
  TFB2RPConvertor& operator=(const TFB2RPConvertor&) = delete;

  // Empties the view (items, checkpoints, the style sheet's paragraph and text styles)
  // and the link registry, then builds every body of the book but the notes body. The
  // callback hears the number of finished sections after each section and once at the
  // end; it is removed on every exit. Exceptions of the document, the DOM and the book
  // model pass through; so does EFB2RPConvertError for a book nested beyond Limits.
  // The view must have a style sheet.
  void Convert(TFictionBook2& book, TReportRichPane& view, TProgressCallback progress, TInternalLinks& links,
               const TVoDaziScheme& scheme);

  TConvertLimits Limits;

  // The height a picture may take: what a page leaves for text once its header and its
  // footer are out (the driver sets it before Convert, from the band heights). 0 or
  // less: the page's height less its top and bottom margins.
  int32_t PageTextHeight = 0;

  // Pictures are fitted to the box they stand in when they are loaded: the page's text
  // area less the paragraph's indents, and a cell's frames less. How wide a table's
  // cell is shows only once the table is laid out: after each layout of the view, this
  // loads every picture of a cell that is wider than the cell's text area again at that
  // width. True when one changed (the view then needs another layout). Valid after a
  // Convert while its book lives, until ForgetPictures.
  bool FitPicturesToCells();
  // The view's document was emptied: FitPicturesToCells has nothing left to fit.
  void ForgetPictures() { CellPictures.clear(); }

protected:
  // Elements a handler does not know; skipped with their content.
  virtual void UnknownElement(const TDomElement& element);

private:
  // A queued note link and the notes whose expansion met it (the link's own note among
  // them would loop).
  struct TNoteLink {
    const TDomElement* Link;
    std::vector<const TDomElement*> Expanding;
  };
  struct TStyleCacheEntry {
    int32_t ParaNo = -1;
    int32_t BeforeBlockParaNo = -1;
    int32_t AfterBlockParaNo = -1;
    int32_t TextNo = -1;
  };
  enum class TRunStyle : uint8_t { Emphasis, Strong, Strikethrough, Sub, Sup, Code, Underline };
  // A picture in a table cell, as FitPicturesToCells loads it again.
  struct TCellPicture {
    TRPTableCellData* Cell;
    int32_t ItemNo;
    WideString Id;
    bool Enlarge;
    int32_t MaxHeight;
  };

  // --- Style machinery (cFB2RPConvertorStyles.cpp) -----------------------------------
  int32_t CurrentStyle() const;
  int32_t CurrentAlignOverride() const;
  const TVoDaziStyle& CurrentSchemeStyle() const;
  void PushStyle(int32_t index, int32_t alignOverride = 0);
  void PopStyle();
  int32_t CurrentPara();
  int32_t BeforeBlockPara(int32_t index);
  int32_t AfterBlockPara(int32_t index);
  int32_t CentrePara();
  int32_t BaseFont();
  void PushStyleFont();
  int32_t CurrentFont() const;
  void PopFont();
  void PushRunStyle(TRunStyle run);
  int32_t FindOrAddFont(const TFontInfo& font);
  int32_t FindOrAddPara(const TParaInfo& para);
  // A text item in Target; paragraph -1 continues the paragraph.
  void AddText(WideStringView text, int32_t textStyle, int32_t paraNo);
  void AddTextRun(const TDomNode& textNode);
  // A text run of a code block: each line break starts a new line of the paragraph;
  // breaks before its first text and after its last are dropped.
  void AddCodeRun(WideStringView value);
  // Drops the blank a line break left at the end of the paragraph's last text.
  void CloseParagraph();
  void AddNoteNumber(WideStringView text);
  void RegisterAnchor(const TDomElement& element);
  void ReportSection();

  // --- Element handlers (cFB2RPConvertorElements.cpp) ---------------------------------
  // Pushes a scheme style around body and pops it again (on failure without the
  // after-block spacer).
  void WithStyle(int32_t index, int32_t alignOverride, const std::function<void()>& body);
  void WithRunStyle(TRunStyle run, const std::function<void()>& body);
  // Image, title (the book title), epigraph and sections; the text elements of a section
  // that a book puts straight in the body are handled as a section's, in their place.
  void HandleBody(const TDomElement& body);
  // The child elements of parent named in names, the others as unknown; titleStyle is
  // the style of a "title" child (vsSectionTitle: a section title with its checkpoint).
  // With notesPass the queued notes follow every child.
  void HandleChildren(const TDomElement& parent, std::initializer_list<std::u16string_view> names, int32_t titleStyle,
                      bool notesPass);
  void HandleElement(const TDomElement& element, int32_t titleStyle);
  void HandleSection(const TDomElement& section);
  void HandleSectionTitle(const TDomElement& title);
  void HandleParagraphContent(const TDomElement& element);
  // A block of code: paragraph content in the code font whose line breaks stay line
  // breaks.
  void HandleCodeBlock(const TDomElement& code);
  void HandleEmptyLine();
  void HandleInlineChildren(const TDomNode& parent);
  void HandleInline(const TDomElement& element);
  void HandleLink(const TDomElement& link);
  // The paragraph for an item that continues the paragraph content: -1 once it is open;
  // the first item opens it with CurrentPara (so a picture or a page reference at the
  // start of a paragraph does not join the previous one).
  int32_t ContinueParagraph();
  // After an item was added to Target: a pending page break goes to it.
  void ItemAdded();

  // --- Tables and notes (cFB2RPConvertorTables.cpp) -----------------------------------
  void HandleTable(const TDomElement& table);
  void FillTableRow(TRPTableItemInfo& table, const TDomElement& row, int32_t r, int32_t colCount);
  void NotesPass();
  void BuildNoteTable(const TNoteLink& queued);
  // The section-like children of a note (its title skipped, no notes pass inside).
  void HandleNoteSection(const TDomElement& note);
  // Appends the table to home (the main document, or a note's cell for a table in a
  // note), which becomes Target again.
  void AddTable(TCustomRPData& home, std::unique_ptr<TRPTableItemInfo> table);

  // --- Pictures (cFB2RPConvertorPictures.cpp) -------------------------------------------
  void HandleImage(const TDomElement& image);
  // Target lies in the cells of the table for the scope's lifetime: the room of
  // Target's pictures lacks the cells' frames.
  class TCellFrameScope {
  public:
    TCellFrameScope(TFB2RPConvertor& owner, const TRPTableItemInfo& table);
    ~TCellFrameScope();
    TCellFrameScope(const TCellFrameScope&) = delete;
    TCellFrameScope& operator=(const TCellFrameScope&) = delete;

  private:
    TFB2RPConvertor& FOwner;
    int32_t FWidth;
    int32_t FHeight;
  };

  // One level deeper for the lifetime of the guard; raises beyond Limits.MaxNesting.
  class TNestingGuard {
  public:
    explicit TNestingGuard(TFB2RPConvertor& owner);
    ~TNestingGuard() { --FOwner.FNesting; }
    TNestingGuard(const TNestingGuard&) = delete;
    TNestingGuard& operator=(const TNestingGuard&) = delete;

  private:
    TFB2RPConvertor& FOwner;
  };

  TFictionBook2* Book = nullptr;
  TReportRichPane* View = nullptr;
  TCustomRPData* Target = nullptr;
  const TVoDaziScheme* Scheme = nullptr;
  TInternalLinks* Links = nullptr;
  TRPStyle* Sheet = nullptr;
  // Bits 0..7 the scheme style, bits 16..23 the alignment override (0 none, 1 left,
  // 2 right, 3 centre).
  std::vector<uint32_t> StyleStack;
  std::vector<int32_t> FontStack;
  std::vector<TNoteLink> NoteQueue;
  // The notes whose tables are being built, innermost last.
  std::vector<const TDomElement*> ExpandingNotes;
  int32_t BaseFontNo = -1;
  int32_t CentreParaNo = -1;
  std::array<TStyleCacheEntry, 19> StyleCache{};
  bool ParagraphOpen = false;
  // The last text added ends with the blank of a line break.
  bool TrailingBreakBlank = false;
  // Inside a block of code: text runs keep their line breaks and blanks.
  bool KeepLineBreaks = false;
  // Line breaks of a code block met since its last text; the next text starts that many
  // lines down.
  int32_t PendingLineBreaks = 0;
  bool PendingPageBreak = false;
  // The frames of the table cells that Target lies in, both sides of each together.
  int32_t CellFramesWidth = 0;
  int32_t CellFramesHeight = 0;
  std::vector<TCellPicture> CellPictures;
  int32_t SectionCount = 0;
  TProgressCallback ProgressCallback;
  int32_t FNesting = 0;
};
