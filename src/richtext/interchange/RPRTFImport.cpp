// One import: text runs, items and where they go, pictures, hyperlinks, headers and
// footers, and what a failed import takes back.
#include "richtext/interchange/RPRTFImport.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFFields.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Thrown by an event handler when the document refuses the import's first item: the
// reader turns it into rtf_ec_Aborted, and the import remembers why.
class ERPRTFImportRefused : public Exception {
public:
  ERPRTFImportRefused() : Exception("The document refused the imported text") {}
};

bool IsWholeLineItem(const TCustomRPItemInfo& item) { return item.GetBoolValue(rpibqWholeLine); }

// Code page 0 stands for the system's ANSI code page.
uint32_t EffectiveCodePage(uint32_t codePage) { return codePage == 0 ? GetACP() : codePage; }

}  // namespace

TRPRTFImport::TRPRTFImport(TRPRTFReaderProperties& props, TCustomRPData& data, TRPStyle& style, TRPRTFReader& reader,
                           int32_t index)
    : FProps(props),
      FData(data),
      FStyle(style),
      FReader(reader),
      FCurrent(&data),
      FPixelsPerTwip(GetScreenPixelsPerInch() / 1440.0),
      FIndex(std::clamp(index, 0, data.GetItemCount())),
      FTextStyleCountBefore(style.TextStyles().Count()),
      FParaStyleCountBefore(style.ParaStyles().Count()),
      FListStyleCountBefore(style.ListStyles().Count()) {
  FLevelMap.fill(-1);
  if (props.FHeader) FHeaderCountBefore = props.FHeader->GetItemCount();
  if (props.FFooter) FFooterCountBefore = props.FFooter->GetItemCount();
}

TRPRTFImport::~TRPRTFImport() = default;

int32_t TRPRTFImport::TwipsToPixels(int64_t twips) const {
  const double pixels =
      std::clamp(static_cast<double>(twips) * FPixelsPerTwip, -double{RPRTFMaxPixels}, double{RPRTFMaxPixels});
  return static_cast<int32_t>(Round(pixels));
}

// --- Items ------------------------------------------------------------------------------

int32_t TRPRTFImport::PreviousParaNo() const {
  if (FCurrent == &FData) return FIndex > 0 ? FData.GetItemPara(FIndex - 1) : -1;
  const int32_t count = FCurrent->GetItemCount();
  return count > 0 ? FCurrent->GetItemPara(count - 1) : -1;
}

bool TRPRTFImport::MustStartParagraph() const {
  if (FCurrent == &FData) return FIndex == 0 || IsWholeLineItem(*FData.GetItem(FIndex - 1));
  const int32_t count = FCurrent->GetItemCount();
  return count == 0 || IsWholeLineItem(*FCurrent->GetItem(count - 1));
}

void TRPRTFImport::AddItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item, TRPRTFPosition position,
                           int32_t paraNo) {
  const bool newParagraph = position == rtf_ts_NewPara || MustStartParagraph() || IsWholeLineItem(*item);
  if (!newParagraph) paraNo = PreviousParaNo();
  if (newParagraph) {
    item->SetContinuesLine(false);
    item->SetLineBreakBefore(false);
  } else if (position == rtf_ts_NewLine) {
    item->SetLineBreakBefore(true);
  } else {
    item->SetContinuesLine(true);
  }
  if (paraNo < 0) paraNo = ChooseParaStyle();
  item->ParaNo = paraNo;
  // A numbered paragraph starts with its marker, on whose line the item goes on.
  std::unique_ptr<TRPMarkerItemInfo> marker;
  if (position == rtf_ts_NewPara && !IsWholeLineItem(*item)) marker = CreateMarker();
  TCustomRPItemInfo& first = marker ? static_cast<TCustomRPItemInfo&>(*marker) : *item;
  if (marker) {
    marker->ParaNo = paraNo;
    item->SetContinuesLine(true);
  }
  if (FPageBreakData == FCurrent && FCurrent->AcceptsPageBreaks()) {
    first.SetPageBreakBefore(true);
    FPageBreakData = nullptr;
  }
  if (marker) {
    TRPMarkerItemInfo* placed = marker.get();
    PutItem(*FCurrent, AnsiString(), std::move(marker));
    FPendingMarker = placed;
    FPendingMarkerData = FCurrent;
  }
  PutItem(*FCurrent, std::move(text), std::move(item));
}

void TRPRTFImport::PutItem(TCustomRPData& rpData, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  if (&rpData != &FData) {
    rpData.AddItemAsIs(std::move(text), std::move(item));
    return;
  }
  if (!FFirstTime) {
    FData.InsertItem(FIndex, std::move(text), std::move(item));
    ++FIndex;
    return;
  }
  bool joined = false;
  const int32_t before = FData.GetItemCount();
  if (!FData.InsertFirstImportedItem(FIndex, std::move(text), std::move(item), joined)) {
    FAborted = true;
    throw ERPRTFImportRefused();
  }
  if (!joined && FData.GetItemCount() > before) {
    FFirstTime = false;
    FFirstInserted = FIndex - 1;
  }
}

// --- Text runs ---------------------------------------------------------------------------

void TRPRTFImport::NewText(const AnsiString& text, TRPRTFPosition position) { AddTextRun(text, false, position); }

void TRPRTFImport::NewUnicodeText(const WideString& text, TRPRTFPosition position) {
  AddTextRun(WideToRawUnicode(text), true, position);
}

void TRPRTFImport::AddTextRun(AnsiString text, bool textIsUnicode, TRPRTFPosition position) {
  const TRPRTFCharProperties& ch = FReader.RTFState().CharProps;
  if (FProps.SkipHiddenText && ch.Hidden) return;
  if (FProps.LineBreaksAsParagraphs && position == rtf_ts_NewLine) position = rtf_ts_NewPara;
  // An empty run only makes an empty paragraph or line (a hidden run reported when \v
  // starts continues its line).
  if (text.empty() && position == rtf_ts_ContinuePara) return;

  AnsiString target, hint;
  const bool jump = CurrentHyperlink(target, hint);
  const bool wantUnicode = textIsUnicode ? FProps.UnicodeMode != rpruNoUnicode : FProps.UnicodeMode == rpruOnlyUnicode;
  int32_t styleNo = ChooseTextStyle(wantUnicode, jump);
  TRPTag tag;
  if (jump) {
    if (FData.TagsArePChars()) tag = TRPTag::FromText(target);
    AnsiString itemName;
    FCurrent->ReadHyperlink(target, AnsiString(), rplfRTF, styleNo, tag, itemName);
    if (styleNo < 0) styleNo = ChooseTextStyle(wantUnicode, jump);
  }

  const bool tabRun = FStyle.SpacesInTab <= 0 && (textIsUnicode ? text == AnsiString("\t\0", 2) : text == "\t");
  if (tabRun) {
    auto tab = std::make_unique<TRPTabItemInfo>(FCurrent);
    tab->SetAssociatedTextStyleNo(styleNo);
    tab->Tag = std::move(tag);
    tab->Hint = hint;
    AddItem(AnsiString(), std::move(tab), position);
    return;
  }

  // The text in the form its style keeps.
  const bool styleUnicode = FStyle.TextStyles()[styleNo]->Unicode;
  if (styleUnicode && !textIsUnicode) {
    text = AnsiToRawUnicode(RunCodePage(), text);
  } else if (!styleUnicode) {
    // 8-bit text is kept in the code page of its style's charset: the RTF's own code page
    // may be another (a symbol font's bytes are no characters of any code page).
    const uint32_t styleCodePage = EffectiveCodePage(FCurrent->GetStyleCodePage(styleNo));
    if (textIsUnicode)
      text = RawUnicodeToAnsi(styleCodePage, text);
    else if (FStyle.TextStyles()[styleNo]->Charset != SYMBOL_CHARSET &&
             EffectiveCodePage(RunCodePage()) != styleCodePage)
      text = RawUnicodeToAnsi(styleCodePage, AnsiToRawUnicode(RunCodePage(), text));
  }
  if (FStyle.SpacesInTab > 0)
    text = styleUnicode ? ReplaceTabsWithSpacesW(text, FStyle.SpacesInTab)
                        : ReplaceTabsWithSpaces(text, FStyle.SpacesInTab);

  std::unique_ptr<TCustomRPItemInfo> item = CreateItemByStyleNo(styleNo, FCurrent);
  if (styleUnicode) item->ItemOptions |= rpioUnicode;
  item->Tag = std::move(tag);
  item->Hint = hint;
  AddItem(std::move(text), std::move(item), position);
}

uint32_t TRPRTFImport::RunCodePage() const {
  const TRPRTFCharProperties& ch = FReader.RTFState().CharProps;
  if (ch.FontNameOverride.empty() && ch.FontIndex >= 0 && ch.FontIndex < FReader.FontTable().Count()) {
    const uint8_t charset = FReader.FontTable().Items(ch.FontIndex)->Charset;
    if (charset != DEFAULT_CHARSET && charset != SYMBOL_CHARSET) return CharsetToCodePage(charset);
  }
  return FReader.CodePage();
}

// --- Hyperlinks ------------------------------------------------------------------------

bool TRPRTFImport::CurrentHyperlink(AnsiString& target, AnsiString& hint) const {
  const AnsiString instruction = NormalizeRTFFieldInstruction(FReader.FieldInstruction());
  constexpr AnsiStringView keyword = "HYPERLINK";
  if (!RTFFieldIs(instruction, keyword)) return false;
  const AnsiStringView rest = AnsiStringView(instruction).substr(keyword.size());
  target = RTFFieldArgument(rest);
  // A link into the document itself: HYPERLINK \l "bookmark".
  if (target == "\\l") target = "#" + RTFFieldSwitchArgument(rest, 'l');
  target = DecodePercentEscapes(target);
  if (FProps.BasePathLinks && !FProps.BasePath.empty() && !target.empty() && target[0] != '#' &&
      target.find(':') == AnsiString::npos)
    target = FProps.BasePath + target;
  hint = RTFFieldSwitchArgument(rest, 'o');
  return true;
}

// --- Pictures ----------------------------------------------------------------------------

void TRPRTFImport::ImportPicture(const AnsiString& location, std::unique_ptr<TGraphic>& graphic, bool& invalid) {
  graphic = FCurrent->ImportPicture(location);
  invalid = false;
}

void TRPRTFImport::NewPicture(TRPRTFPicture* rtfPicture, std::unique_ptr<TGraphic>& graphic, TRPRTFPosition position,
                              const AnsiString& fileName, bool& inserted) {
  inserted = false;
  if (!graphic) {
    // A shape picture without a graphic leaves the place to its \nonshppict alternative.
    if (rtfPicture && rtfPicture->ShpPict) return;
    if (const TGraphic* invalid = FStyle.GetInvalidPicture()) graphic = CopyRPGraphic(*invalid);
    if (!graphic) return;
  }
  AnsiString target, hint;
  const bool jump = CurrentHyperlink(target, hint);

  std::unique_ptr<TCustomRPItemInfo> item;
  if (FProps.OnCustomImageItem) {
    FProps.OnCustomImageItem(*FCurrent, graphic, position, rtfPicture, jump, item);
    if (!item && !graphic) {
      inserted = true;  // the owner took the picture
      return;
    }
  }
  AnsiString name;
  if (!item && jump) {
    int32_t styleNo = rpkindPicture;
    TRPTag tag;
    if (FData.TagsArePChars()) tag = TRPTag::FromText(target);
    FCurrent->ReadHyperlink(target, AnsiString(), rplfRTF, styleNo, tag, name);
    item = CreateItemByStyleNo(styleNo, FCurrent);
    if (auto* picture = dynamic_cast<TRPGraphicItemInfo*>(item.get())) {
      picture->Image = std::move(graphic);
      item->Tag = std::move(tag);
    } else {
      item.reset();  // a kind that holds no picture: the picture stays a picture
    }
  }
  if (!item) item = std::make_unique<TRPGraphicItemInfo>(FCurrent, std::move(graphic), rpvaBaseline);
  item->Hint = hint;

  if (auto* picture = dynamic_cast<TRPGraphicItemInfo*>(item.get()); picture && picture->Image) {
    // Metafiles and scaled pictures are shown at the size the document gives them.
    if (rtfPicture &&
        (rtfPicture->PicType == rtf_pict_WMF || rtfPicture->PicType == rtf_pict_EMF || rtfPicture->PicScaleX != 100)) {
      const int32_t width = rtfPicture->SuggestedWidth > 0 ? rtfPicture->SuggestedWidth : picture->Image->Width();
      const int32_t height = rtfPicture->SuggestedHeight > 0 ? rtfPicture->SuggestedHeight : picture->Image->Height();
      auto scaled = [](int32_t size, int32_t percent) {
        return static_cast<int32_t>(Round(std::clamp(size / 100.0 * percent, 0.0, double{RPRTFMaxPixels})));
      };
      picture->ImageWidth = scaled(width, rtfPicture->PicScaleX);
      picture->ImageHeight = scaled(height, rtfPicture->PicScaleY);
    }
    if (FProps.StoreImagesFileNames) picture->ImageFileName = fileName;
  }
  AddItem(std::move(name), std::move(item), position);
  inserted = true;
}

// --- Page breaks, headers and footers, progress ----------------------------------------

void TRPRTFImport::RequiredPageBreak() { FPageBreakData = FCurrent; }

void TRPRTFImport::HeaderFooter(TRPRTFHeaderFooterType kind, bool starting, bool& supported) {
  TCustomRPData* document = kind == rtf_hf_Header ? FProps.FHeader : kind == rtf_hf_Footer ? FProps.FFooter : nullptr;
  if (!starting) {
    if (kind == FCurrentHF) {
      FCurrentHF = rtf_hf_MainText;
      TRPTableCellData* cell = CurrentBufferCell();
      FCurrent = cell ? static_cast<TCustomRPData*>(cell) : &FData;
    }
    return;
  }
  supported = document != nullptr && FCurrentHF == rtf_hf_MainText;
  if (!supported) return;
  FCurrentHF = kind;
  FCurrent = document;
  // Millimetres from twips: twips * 127 / 7200.
  const TRPRTFSectionProperties& section = FReader.RTFState().SectProps;
  const int32_t twips = kind == rtf_hf_Header ? section.HeaderY : section.FooterY;
  const int32_t mm = static_cast<int32_t>(Round(twips * 127.0 / 7200.0));
  (kind == rtf_hf_Header ? FProps.FHeaderY : FProps.FFooterY) = mm;
}

void TRPRTFImport::Progress(TRPRTFProgressStage stage, uint8_t percentDone) {
  const TRPProgressStage documentStage = stage == rpprtfprStarting  ? rpprStarting
                                         : stage == rpprtfprRunning ? rpprRunning
                                                                    : rpprEnding;
  FData.ReportProgress(rploReadRTF, documentStage, percentDone);
}

// --- The end ---------------------------------------------------------------------------

int32_t TRPRTFImport::Finish(bool failed) {
  // Open numbering ends: a marker still waiting takes its list style.
  if (!failed) UpdateMarker();
  FPendingMarker = nullptr;
  // Tables the reader left open (only after a failed parse) hold nothing of the document;
  // the markers of their cells leave the marker list before the cells go.
  for (auto it = FTables.rbegin(); it != FTables.rend(); ++it) ForgetTableMarkers(**it);
  FTables.clear();
  FCurrent = &FData;
  if (failed) {
    Rollback();
    return -1;
  }
  return FFirstInserted;
}

void TRPRTFImport::Rollback() {
  if (FFirstInserted >= 0 && FIndex > FFirstInserted) FData.DeleteItems(FFirstInserted, FIndex - FFirstInserted);
  FFirstInserted = -1;
  auto trim = [](TCustomRPData* document, int32_t countBefore) {
    if (document && document->GetItemCount() > countBefore)
      document->DeleteItems(countBefore, document->GetItemCount() - countBefore);
  };
  trim(FProps.FHeader, FHeaderCountBefore);
  trim(FProps.FFooter, FFooterCountBefore);
  while (FStyle.TextStyles().Count() > FTextStyleCountBefore)
    FStyle.TextStyles().Delete(FStyle.TextStyles().Count() - 1);
  while (FStyle.ParaStyles().Count() > FParaStyleCountBefore)
    FStyle.ParaStyles().Delete(FStyle.ParaStyles().Count() - 1);
  while (FStyle.ListStyles().Count() > FListStyleCountBefore)
    FStyle.ListStyles().Delete(FStyle.ListStyles().Count() - 1);
}
