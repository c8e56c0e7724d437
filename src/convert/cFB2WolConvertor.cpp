// The driver object, progress reports and loading a book from a file or a stream.
#include "convert/cFB2WolConvertor.h"

#include "convert/ConvertResStrings.h"
#include "platform/base/FileSystem.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

TFB2WolConvertor::TFB2WolConvertor() {
  // All book text is drawn at the scheme's font quality.
  Style.OnDrawStyleText = [this](TRPStyle*, const AnsiString&, TCanvas& canvas, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, TRPTextDrawStates, bool&) { ApplyFontQuality(canvas); };
  Report.PreviewCorrection = false;
  Report.SetColorMode(rpcmBlackOnWhite);
  TReportRichPane& pane = Report.RichPane();
  pane.SetBackgroundStyle(bsNoBitmap);
  pane.Options = rpoScrollToEnd | rpoFastFormatting;
  pane.LeftMargin = 0;
  pane.RightMargin = 0;
  pane.SetStyle(&Style);
}

TFB2WolConvertor::~TFB2WolConvertor() = default;

void TFB2WolConvertor::SetStage(const WideString& message) {
  StageText = message;
  if (!OnProgress) return;
  bool cancel = false;
  OnProgress(StageText, 0, cancel);
  if (cancel) throw WideException(&SErrUserBreak);
}

void TFB2WolConvertor::Progress(int64_t position) {
  if (!OnProgress) return;
  // A stage with nothing to count reports 0 %.
  const int64_t percent = ProgressTotal == 0 ? 0 : 100 * position / ProgressTotal;
  bool cancel = false;
  OnProgress(StageText, static_cast<int32_t>(percent), cancel);
  if (cancel) throw WideException(&SErrUserBreak);
}

void TFB2WolConvertor::SelectScheme(const WideString& name) {
  ResetLayout();
  Scheme.LoadSchemeFile(name);
}

void TFB2WolConvertor::Reset() {
  FileName.clear();
  FSourceFile.clear();
  Book.Clear();
  Description.Clear();
  Links.Clear();
  ResetLayout();
}

void TFB2WolConvertor::ResetLayout() {
  Report.Clear();
  Builder.ForgetPictures();
  PageCount = 0;
  PageBitmap.SetSize(0, 0);
  CoverBitmap.reset();
  HeaderHeightOdd = HeaderHeightEven = FooterHeightOdd = FooterHeightEven = 0;
  FLinkPasses = 0;
}

bool TFB2WolConvertor::HasBook() const { return Book.GetBodyCount() > 0; }

void TFB2WolConvertor::ConvertBook() {
  if (!HasBook()) return;
  try {
    ResetLayout();
    BuildDocument();
    FormatPages();
    PrepareCover();
  } catch (...) {
    ResetLayout();
    throw;
  }
}

void TFB2WolConvertor::BuildDocument() {
  ProgressTotal = Book.SectionCount();
  SetStage(LoadWideResString(&SMsgConverting));
  // Pictures fit the height the pages leave for text.
  PreparePage();
  Builder.PageTextHeight = PageTextHeight();
  Builder.Convert(
      Book, Report.RichPane(), [this](int32_t sections) { Progress(sections); }, Links, Scheme);
}

void TFB2WolConvertor::LoadBook(const WideString& fileName) {
  ProgressTotal = 100;
  SetStage(LoadWideResString(&SMsgLoading));
  try {
    if (IsZipArchive(fileName))
      LoadBookFromZip(fileName);
    else
      LoadBookFromFile(fileName);
    FillDescription();
  } catch (...) {
    // Whatever failed (a file or an archive that cannot be opened too), no earlier book
    // stays behind. The stage keeps the progress it reached: a failed load never reads
    // as complete.
    Reset();
    throw;
  }
  Progress(100);
}

void TFB2WolConvertor::LoadBookFromStream(TStream& stream) {
  Reset();
  try {
    Book.LoadFromStream(stream);
  } catch (const std::exception&) {
    Reset();
    throw WideException(&SErrFB2ReadError);
  }
}

void TFB2WolConvertor::LoadBookFromFile(const WideString& fileName) {
  TUniFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadBookFromStream(stream);
  FileName = fileName;
  FSourceFile = fileName;
}

void TFB2WolConvertor::FillDescription() {
  Description.Title = Book.GetBookTitle();
  Description.Authors = Book.GetAuthors();
  Description.Translators = Book.GetTranslators();
  Description.Genres = Book.GetGenres();
  Description.Adapter.clear();
  Description.Publisher = Book.GetPublisher();
  Description.Year = Book.GetYear();
  Description.ISBN = Book.GetISBN();
  Description.Annotation = Book.GetAnnotation();
}
