// Saving the Wolf file: description, table of contents, cover and pages.
#include "convert/ConvertResStrings.h"
#include "convert/cFB2WolConvertor.h"
#include "convert/uPageEncoderPool.h"
#include "convert/uUniWin1251.h"
#include "imaging/uGrayBitmap.h"
#include "imaging/uRotateBitmap.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"
#include "wolf/cWolfWriter.h"

void TFB2WolConvertor::CollectTOC(TWolfWriter& writer) const {
  const TReportRPData& data = Report.ReportData();
  const TCustomRPData& document = Report.RichPane().RPData();
  int32_t last = -1;
  for (int32_t i = 1; i <= PageCount; ++i) {
    const int32_t lastDraw = LastDrawItemOfPage(i, PageCount);
    for (int32_t d = data.Pages.GetItem(i - 1).FirstDrawItem; d <= lastDraw && d < data.DrawItems.Count(); ++d) {
      const int32_t item = data.DrawItems[d]->ItemNo;
      const TRPCPInfo* checkpoint = document.GetItemCheckpoint(item);
      // An item that runs over several pages is entered once, for its first page.
      if (checkpoint && item != last) writer.AddTOCItem(checkpoint->Tag.Number(), checkpoint->Name, i);
      last = item;
    }
  }
}

void TFB2WolConvertor::WriteWolf(TStream& stream) {
  TWolfWriter writer(stream);
  TWolfDescription& fields = writer.Description();
  fields.SetField(WolfFieldTitle, WideToWin1251(TitleOrMissing()));
  fields.SetField(WolfFieldAuthor, WideToWin1251(AuthorOrMissing()));
  fields.SetField(WolfFieldSubject, WideToWin1251(Description.Genres));
  fields.SetField(WolfFieldAdapter, WideToWin1251(Description.Adapter));
  fields.SetField(WolfFieldTranslator, WideToWin1251(Description.Translators));
  fields.SetField(WolfFieldPublisher, WideToWin1251(Description.Publisher));
  fields.SetField(WolfFieldTimePublish, WideToWin1251(Description.Year));
  fields.SetField(WolfFieldIntroduction, WideToWin1251(Description.Annotation));
  fields.SetField(WolfFieldISBN, WideToWin1251(Description.ISBN));
  writer.WriteDescription();
  if (Scheme.TOCLevels > 0) CollectTOC(writer);

  const bool turned = Scheme.PageRotate != 0;
  const bool clockwise = Scheme.PageRotate == 1;
  if (CoverBitmap) {
    if (!turned || Scheme.RotateCover) {
      writer.WriteCover(*CoverBitmap, Scheme.CoverPage);
    } else {
      TBitmap work;
      RotateBitmap(*CoverBitmap, work, clockwise);
      writer.WriteCover(work, Scheme.CoverPage);
    }
  }

  // Pages are painted here in turn. Gray conversion, turning and encoding belong to each
  // page alone: with encoder threads they run on the pool while later pages are painted,
  // and each page is written as soon as it and every page before it are encoded.
  const bool gray = GraysPages();
  auto finish = [gray, turned, clockwise](std::unique_ptr<TBitmap>& page) {
    if (gray) GrayscaleBitmap(*page);
    if (!turned) return;
    auto work = std::make_unique<TBitmap>();
    RotateBitmap(*page, *work, clockwise);
    page = std::move(work);
  };
  std::unique_ptr<TPageEncoderPool> pool;
  if (EncoderThreads > 0) pool = std::make_unique<TPageEncoderPool>(EncoderThreads, finish);
  const int32_t window = 2 * EncoderThreads;
  int32_t written = 0;
  auto pageWritten = [&] {
    ++written;
    writer.SetTOCPage(written);
    Progress(written);
  };
  auto writeOldest = [&] {
    const TEncodedPage encoded = pool->TakeOldest();
    writer.AddEncodedPageImage(encoded.Width, encoded.Height, encoded.BitCount, encoded.Bytes);
    pageWritten();
  };

  writer.BeginBook();
  writer.BeginPage();
  for (int32_t i = 1; i <= PageCount; ++i) {
    PaintPage(i);
    // Pages stay 24 bits at BookColors 2: the encoder takes gray levels from 24-bit pixels.
    auto page = std::make_unique<TBitmap>();
    page->Assign(PageBitmap);
    if (pool) {
      pool->Submit(std::move(page), Scheme.BookColors);
      if (pool->Pending() >= window) writeOldest();
    } else {
      finish(page);
      writer.AddPageImage(*page, Scheme.BookColors);
      pageWritten();
    }
  }
  while (pool && written < PageCount) writeOldest();
  writer.EndPage();
  writer.EndBook();
  writer.Finish();
}

void TFB2WolConvertor::BeginSave() {
  if (PageCount == 0) throw WideException(&SErrNoPages);
  ProgressTotal = PageCount;
  SetStage(LoadWideResString(&SMsgSaveWolf));
}

void TFB2WolConvertor::SaveWolf(const WideString& fileName) {
  const WideString name = fileName.empty() ? WideChangeFileExt(FileName, u".wol") : fileName;
  // The book was read whole, but its file is the user's: it is never written over.
  if (!FSourceFile.empty() && WideReplacesFile(name, FSourceFile))
    throw WideException(LoadWideResString(&SErrWolfIsBook), {name});
  BeginSave();
  // Written beside the target and moved over it only when complete; destroyed
  // uncommitted (a break, an error), it removes its temporary file.
  TUniFileReplaceStream stream(name);
  WriteWolf(stream);
  stream.Commit();
  Progress(PageCount);
}

void TFB2WolConvertor::SaveWolfToStream(TStream& stream) {
  BeginSave();
  WriteWolf(stream);
  Progress(PageCount);
}
