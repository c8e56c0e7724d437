// `TFB2WolConvertor`: carries one book at a time from its ".fb2", ".fbz" or ".zip" file to a
// ".wol" file. It owns every object of the conversion and reuses them for all books:
//
//   LoadBook(name)   parse the book (from a zip archive: its first ".fb2" entry)
//   ConvertBook()    build the rich-text document, lay it out in pages until the page
//                    numbers of internal links stand still, prepare the cover
//   SaveWolf(name)   render every page with header and footer and write the Wolf file
//
// Every stage reports through OnProgress (stage text, percent, cancel); a cancel answer
// raises WideException "User break!" inside the stage; a stage that fails keeps the
// percent it reached. Failures are user-facing WideExceptions with the conversion's
// messages (a damaged, empty or foreign ".zip" says which), except an archive that is
// missing, whose archive exception passes on.
//
// The Wolf file is written under a temporary name beside its target and moved over it
// only when complete, so a break or an error leaves no file behind and an older ".wol"
// as it was.
//
// Precondition: the rich-text item classes are registered (RegisterTextItemClasses,
// RegisterPictureItemClasses, RegisterBulletItemClasses; the program does it at the start
// of main). Text goes into the document through that registry: without the text item
// class every book fails with ERichPaneError; items made by their kind need the others.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "fb2/cBookDescription.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPStyle.h"

class TCanvas;
class TStream;
class TWolfWriter;

// Called with the stage text, the percent and a cancel flag that comes in false.
using TConvertProgressEvent = std::function<void(const WideString& message, int32_t percent, bool& cancel)>;

class TFB2WolConvertor {
public:
  TFB2WolConvertor();
  ~TFB2WolConvertor();
  TFB2WolConvertor(const TFB2WolConvertor&) = delete;
  TFB2WolConvertor& operator=(const TFB2WolConvertor&) = delete;

  // ResetLayout, then the scheme file of that name (a missing file gives the defaults).
  void SelectScheme(const WideString& name);

  // Loads an FB2 file, or the first ".fb2" entry of a zip archive (".zip", ".fbz"). What
  // the file is goes by its bytes, whatever its extension: a zip starts with "PK", and
  // anything else is read as XML, except that a ".zip" (any case) whose bytes are no XML
  // either, or that does not exist, goes to the archive reader for its error. Reports 0 %
  // under "Loading..." and 100 % once loaded; a failed load reports no more. Raises
  // WideException SErrFB2ReadError when the data is no FB2 book, SErrZipBadCRC or
  // SErrZipBadEntry (with the entry's name) when the entry does not extract whole,
  // SErrZipEmpty, SErrNotZip, SErrZipCutShort or SErrZipBadDirectory when the archive
  // reader refuses the file, SErrNoFB2InZIP when the archive holds no ".fb2" entry, "User
  // break!" on cancel; the file stream's and the archive's exceptions for a file or an
  // archive that cannot be opened. A failed load leaves the driver empty.
  void LoadBook(const WideString& fileName);
  // Loads the book from a stream positioned at its start (FileName is left alone).
  void LoadBookFromStream(TStream& stream);
  // The book has at least one body that is not the notes body.
  bool HasBook() const;

  // When the book has a body: builds the document (BuildDocument), lays it out
  // (FormatPages) and prepares the cover (PrepareCover). On any exception the layout is
  // reset and the exception passed on.
  void ConvertBook();
  // The building stage: the builder fills the report's rich view from the book,
  // reporting finished sections against the book's section count. Pictures fit the
  // height a page leaves for text between its margins, header and footer.
  void BuildDocument();
  // Lays the document of the report's rich view out in pages (the pagination stage):
  // band heights, the page passes and the link fix-point. On any exception the layout is
  // reset and the exception passed on.
  void FormatPages();
  // The cover page from the book's cover image, when the scheme asks for one. A cover
  // image that does not decode leaves the book without a cover, like one that has none.
  void PrepareCover();

  // Writes the book to fileName (empty: FileName with the extension ".wol"). The file
  // appears only when complete; on a break or an error no file is left and an existing
  // file is untouched. Raises WideException SErrWolfIsBook, before anything is written,
  // when the file would replace the one the book was loaded from (a book or an archive
  // named ".wol", written into its own folder).
  void SaveWolf(const WideString& fileName);
  // Writes the book into `stream`, an empty stream (the writer places the file's parts
  // at the stream's own positions), with the stages and progress of SaveWolf: the bytes
  // SaveWolf puts in the file. Raises as SaveWolf does; after a break or an error the
  // stream holds a part of the book.
  void SaveWolfToStream(TStream& stream);
  // Draws page n (1-based) with header and footer into PageBitmap, converted to gray when
  // the scheme asks for it.
  void RenderPage(int32_t n);

  // "%A" authors, "%T" title, "%P" page, "%C" page count, "%%" one percent sign; any other
  // pair and a "%" at the end are kept.
  WideString ExpandPageTemplate(WideStringView text, int32_t page) const;
  // "%P" the page and "%%" only.
  static WideString ExpandLinkTemplate(WideStringView text, int32_t page);
  WideString AuthorOrMissing() const;
  WideString TitleOrMissing() const;

  // The style's face, size, bold and italic on the canvas font; font quality too when
  // BookColors is 2.
  void ApplyStyleFont(const TVoDaziStyle& style, TCanvas& canvas) const;
  // Antialiased (or ClearType when UseClearType) quality for the canvas font. The
  // platform draws monochrome glyphs on 1-bit canvases whatever the quality.
  void ApplyFontQuality(TCanvas& canvas) const;

  // Band heights of page n (1-based); 0 when the band is absent on it.
  int32_t HeaderHeight(int32_t n) const;
  int32_t FooterHeight(int32_t n) const;

  // Empty: no book, no layout.
  void Reset();
  // The document emptied (and the builder's pictures of it forgotten), no pages, no cover,
  // band heights 0.
  void ResetLayout();

  WideString FileName;
  TFictionBook2 Book;
  TVoDaziScheme Scheme;
  TBookDescription Description;
  TInternalLinks Links;
  TFB2RPConvertor Builder;
  int32_t HeaderHeightOdd = 0;
  int32_t HeaderHeightEven = 0;
  int32_t FooterHeightOdd = 0;
  int32_t FooterHeightEven = 0;
  TRPStyle Style{nullptr};
  TRPReportHelper Report{nullptr};
  TBitmap PageBitmap;
  std::unique_ptr<TBitmap> CoverBitmap;
  int32_t PageCount = 0;
  TConvertProgressEvent OnProgress;
  WideString StageText;
  int64_t ProgressTotal = 100;

  // Pagination passes before the link fix-point gives up and keeps the last layout
  // (page references that push their targets back and forth never settle).
  int32_t MaxLinkPasses = 50;
  // Threads that encode finished pages while later pages are rendered; 0 encodes on the
  // calling thread. The file is the same byte for byte either way.
  int32_t EncoderThreads = 0;

  // Layouts that fit the pictures of table cells to their cells' widths, at most, per
  // pagination pass (narrower pictures narrow the cells of a shrunk table in turn).
  int32_t MaxPictureFitPasses = 8;

  // Pagination passes of the last FormatPages.
  int32_t LinkPasses() const { return FLinkPasses; }

private:
  void SetStage(const WideString& message);
  void Progress(int64_t position);
  void LoadBookFromFile(const WideString& fileName);
  void LoadBookFromZip(const WideString& fileName);
  // The file is a zip archive, as LoadBook decides it.
  static bool IsZipArchive(const WideString& fileName);
  void FillDescription();
  // The page bitmap at the page's size and depth, and the band heights measured on it.
  void PreparePage();
  void MeasureBands();
  // The height every page leaves for text: the page less its margins, its tallest
  // header and its tallest footer.
  int32_t PageTextHeight() const;
  // Lays out every page once; returns the page count.
  int32_t LayoutPages();
  // Gives every link target its page; true when a target moved to another page (the
  // page references are then rewritten).
  bool UpdateLinkPages(int32_t pageCount);
  // The last draw item of page j (1-based) of pageCount pages.
  int32_t LastDrawItemOfPage(int32_t j, int32_t pageCount) const;
  void DrawBand(int32_t n, bool header, int32_t height);
  // RenderPage without the gray conversion.
  void PaintPage(int32_t n);
  bool GraysPages() const { return Scheme.BookColors == 2 && Scheme.UseClearType; }
  void CollectTOC(TWolfWriter& writer) const;
  // The saving stage begins: SErrNoPages without pages, else the stage is reported.
  void BeginSave();
  void WriteWolf(TStream& stream);

  int32_t FLinkPasses = 0;
  // The file LoadBook read the book from (the archive of a zipped book); empty for a book
  // from a stream.
  WideString FSourceFile;
};
