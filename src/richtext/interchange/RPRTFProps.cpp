// The import options, their published list, and one import: the reader set up for it,
// the parse, and what a failed import takes back.
#include "richtext/interchange/RPRTFProps.h"

#include <exception>

#include "richtext/interchange/RPRTFImport.h"
#include "richtext/interchange/RPRTFReader.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTablePropInfo.h"

namespace {

TRPRTFHighlightConvert ReaderHighlight(TRPRTFHighlight value) {
  switch (value) {
    case rtfhlIgnore:
      return rtf_hl_Ignore;
    case rtfhlFixedColors:
      return rtf_hl_FixedColors;
    case rtfhlColorTable:
      break;
  }
  return rtf_hl_ColorTable;
}

std::unique_ptr<TPersistent> CreateReaderProperties() { return std::make_unique<TRPRTFReaderProperties>(); }

}  // namespace

TRPRTFReaderProperties::TRPRTFReaderProperties() = default;

TRPRTFReaderProperties::~TRPRTFReaderProperties() = default;

void TRPRTFReaderProperties::SetTextStyleNo(int32_t value) {
  if (value < 0) throw ERichPaneError(errRPNegativeValue);
  FTextStyleNo = value;
}

void TRPRTFReaderProperties::SetParaStyleNo(int32_t value) {
  if (value < 0) throw ERichPaneError(errRPNegativeValue);
  FParaStyleNo = value;
}

void TRPRTFReaderProperties::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TRPRTFReaderProperties*>(&source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  UnicodeMode = other->UnicodeMode;
  TextStyleMode = other->TextStyleMode;
  ParaStyleMode = other->ParaStyleMode;
  IgnorePictures = other->IgnorePictures;
  IgnoreTables = other->IgnoreTables;
  UseHypertextStyles = other->UseHypertextStyles;
  FTextStyleNo = other->FTextStyleNo;
  FParaStyleNo = other->FParaStyleNo;
  SkipHiddenText = other->SkipHiddenText;
  AutoHideTableGridLines = other->AutoHideTableGridLines;
  LineBreaksAsParagraphs = other->LineBreaksAsParagraphs;
  ExtractMetafileBitmaps = other->ExtractMetafileBitmaps;
  ConvertHighlight = other->ConvertHighlight;
  StoreImagesFileNames = other->StoreImagesFileNames;
  BasePathLinks = other->BasePathLinks;
}

const TClassProps& TRPRTFReaderProperties::Props() {
  using T = TRPRTFReaderProperties;
  static const TClassProps props("TRPRTFReaderProperties", nullptr,
                                 {
                                     RPTableOrdProp<T, TRPReaderUnicode>(
                                         "UnicodeMode", [](const T& p) { return p.UnicodeMode; },
                                         [](T& p, TRPReaderUnicode v) { p.UnicodeMode = v; }, rpruNoUnicode),
                                     RPTableOrdProp<T, TRPReaderStyleMode>(
                                         "TextStyleMode", [](const T& p) { return p.TextStyleMode; },
                                         [](T& p, TRPReaderStyleMode v) { p.TextStyleMode = v; }, rprsUseClosest),
                                     RPTableOrdProp<T, TRPReaderStyleMode>(
                                         "ParaStyleMode", [](const T& p) { return p.ParaStyleMode; },
                                         [](T& p, TRPReaderStyleMode v) { p.ParaStyleMode = v; }, rprsUseClosest),
                                     RPTableOrdProp<T, bool>(
                                         "IgnorePictures", [](const T& p) { return p.IgnorePictures; },
                                         [](T& p, bool v) { p.IgnorePictures = v; }, false),
                                     RPTableOrdProp<T, bool>(
                                         "IgnoreTables", [](const T& p) { return p.IgnoreTables; },
                                         [](T& p, bool v) { p.IgnoreTables = v; }, false),
                                     RPTableOrdProp<T, bool>(
                                         "UseHypertextStyles", [](const T& p) { return p.UseHypertextStyles; },
                                         [](T& p, bool v) { p.UseHypertextStyles = v; }, false),
                                     RPTableOrdProp<T, int32_t>(
                                         "TextStyleNo", [](const T& p) { return p.GetTextStyleNo(); },
                                         [](T& p, int32_t v) { p.SetTextStyleNo(v); }, 0),
                                     RPTableOrdProp<T, int32_t>(
                                         "ParaStyleNo", [](const T& p) { return p.GetParaStyleNo(); },
                                         [](T& p, int32_t v) { p.SetParaStyleNo(v); }, 0),
                                     RPTableOrdProp<T, bool>(
                                         "SkipHiddenText", [](const T& p) { return p.SkipHiddenText; },
                                         [](T& p, bool v) { p.SkipHiddenText = v; }, true),
                                     RPTableOrdProp<T, bool>(
                                         "AutoHideTableGridLines", [](const T& p) { return p.AutoHideTableGridLines; },
                                         [](T& p, bool v) { p.AutoHideTableGridLines = v; }, false),
                                     RPTableOrdProp<T, bool>(
                                         "LineBreaksAsParagraphs", [](const T& p) { return p.LineBreaksAsParagraphs; },
                                         [](T& p, bool v) { p.LineBreaksAsParagraphs = v; }, false),
                                     RPTableOrdProp<T, bool>(
                                         "ExtractMetafileBitmaps", [](const T& p) { return p.ExtractMetafileBitmaps; },
                                         [](T& p, bool v) { p.ExtractMetafileBitmaps = v; }, true),
                                     RPTableOrdProp<T, TRPRTFHighlight>(
                                         "ConvertHighlight", [](const T& p) { return p.ConvertHighlight; },
                                         [](T& p, TRPRTFHighlight v) { p.ConvertHighlight = v; }, rtfhlColorTable),
                                     RPTableOrdProp<T, bool>(
                                         "StoreImagesFileNames", [](const T& p) { return p.StoreImagesFileNames; },
                                         [](T& p, bool v) { p.StoreImagesFileNames = v; }, false),
                                     RPTableOrdProp<T, bool>(
                                         "BasePathLinks", [](const T& p) { return p.BasePathLinks; },
                                         [](T& p, bool v) { p.BasePathLinks = v; }, true),
                                 });
  return props;
}

void TRPRTFReaderProperties::SetHeaderFooters(TCustomRPData* header, TCustomRPData* footer) {
  FHeader = header;
  FFooter = footer;
}

void TRPRTFReaderProperties::TranslateKeyword(TRPRTFReader&, const AnsiString&, int32_t, bool, AnsiString&, bool&) {}

void TRPRTFReaderProperties::SetUpReader(TRPRTFReader& reader, TRPRTFImport& import, TCustomRPData& data) {
  reader.PixelsPerInch = GetScreenPixelsPerInch();
  reader.ConvertHighlight = ReaderHighlight(ConvertHighlight);
  reader.BasePath = BasePath;
  reader.AllowFieldPictureFiles = AllowFieldPictureFiles;
  reader.ExtractMetafileBitmaps = ExtractMetafileBitmaps;
  reader.Limits = Limits;
  reader.DefCodePage = data.GetDefaultCodePage();
  reader.TabAsSeparateChar = import.Style().SpacesInTab <= 0;
  reader.OnNewText = [&import](TRPRTFReader*, const AnsiString& text, TRPRTFPosition position) {
    import.NewText(text, position);
  };
  reader.OnRequiredPageBreak = [&import](TObject*) { import.RequiredPageBreak(); };
  reader.OnUpdateMarker = [&import](TObject*) { import.UpdateMarker(); };
  if (UnicodeMode != rpruNoUnicode)
    reader.OnNewUnicodeText = [&import](TRPRTFReader*, const WideString& text, TRPRTFPosition position) {
      import.NewUnicodeText(text, position);
    };
  if (!IgnorePictures) {
    reader.OnNewPicture = [&import](TRPRTFReader*, TRPRTFPicture* picture, std::unique_ptr<TGraphic>& graphic,
                                    TRPRTFPosition position, const AnsiString& fileName, bool& inserted) {
      import.NewPicture(picture, graphic, position, fileName, inserted);
    };
    reader.OnImportPicture = [&import](TRPRTFReader*, const AnsiString& location, std::unique_ptr<TGraphic>& graphic,
                                       bool& invalid) { import.ImportPicture(location, graphic, invalid); };
  }
  if (data.HasProgressHandler())
    reader.OnProgress = [&import](TRPRTFReader*, TRPRTFProgressStage stage, uint8_t percentDone) {
      import.Progress(stage, percentDone);
    };
  reader.OnTranslateKeyword = [this](TRPRTFReader* sender, const AnsiString& keyword, int32_t param, bool fParam,
                                     AnsiString& text, bool& doDefault) {
    TranslateKeyword(*sender, keyword, param, fParam, text, doDefault);
  };
  if (!IgnoreTables)
    reader.OnTable = [&import](TRPRTFReader*, TRPRTFTableEventKind whatHappens) { import.Table(whatHappens); };
  if (FHeader || FFooter)
    reader.OnHeaderFooter = [&import](TRPRTFReader*, TRPRTFHeaderFooterType kind, bool starting, bool& supported) {
      import.HeaderFooter(kind, starting, supported);
    };
}

TRPRTFErrorCode TRPRTFReaderProperties::ReadRTFFromStream(TStream& stream, TCustomRPData& data, int32_t& position) {
  FErrorCode = rtf_ec_OK;
  FAborted = false;
  // The style sheet the import chooses from and adds to.
  auto* style = const_cast<TRPStyle*>(dynamic_cast<const TRPStyle*>(data.GetRPStyle()));
  if (!style) {
    position = -1;
    FErrorCode = rtf_ec_Exception;
    return FErrorCode;
  }
  try {
    TRPRTFReader reader(nullptr);
    TRPRTFImport import(*this, data, *style, reader, position);
    SetUpReader(reader, import, data);
    FErrorCode = reader.ParseStream(stream);
    FAborted = import.Aborted();
    if (FAborted) FErrorCode = rtf_ec_Aborted;
    if (import.OverBudget()) FErrorCode = rtf_ec_BadTable;
    position = import.Finish(FErrorCode != rtf_ec_OK);
    FTextStylesCompared = import.TextStylesCompared();
  } catch (const std::exception&) {
    // Only building the import's own objects can get here; nothing was added yet.
    position = -1;
    FErrorCode = rtf_ec_Exception;
  }
  return FErrorCode;
}

TRPRTFReaderProperties& RichPaneRTFReadProperties(TCustomRichPane& pane) {
  SetRTFReadPropertiesFactory(&CreateReaderProperties);
  return dynamic_cast<TRPRTFReaderProperties&>(*pane.GetRTFReadProperties());
}
