// Pictures and embedded objects: collecting their data and reporting them.
#include <algorithm>
#include <span>
#include <utility>

#include "platform/base/Numbers.h"
#include "richtext/interchange/RPRTFPictureLoad.h"
#include "richtext/interchange/RPRTFReader.h"
#include "richtext/model/RPGraphicHelpers.h"

namespace {

// The data of a picture read so far.
std::span<const uint8_t> PictureBytes(TRPRTFPicture& picture) {
  return {static_cast<const uint8_t*>(picture.Data.Memory()), static_cast<size_t>(picture.Data.Size())};
}

}  // namespace

TRPRTFErrorCode TRPRTFReader::StartPicture() {
  if (FState->Destination == rdsPict || FPicture) return rtf_ec_InvalidPicture;  // \pict inside a picture
  const bool shape = FState->Destination == rdsShpPict || FState->Destination == rdsShapePropValue;
  FPictureFrom = FState->Destination;
  FState->Destination = rdsPict;
  FHexHalf = false;
  FPictureHex.clear();
  FDibHeaderOffset = -1;
  FPictureAdmittedPx = 0;
  FPictureRefused = false;
  if (OnNewPicture) {
    FPicture = std::make_unique<TRPRTFPicture>();
    FPicture->ShpPict = shape;
  }
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::EndPicture() {
  Code code = FlushPictureHex();
  std::unique_ptr<TRPRTFPicture> picture = std::move(FPicture);
  if (code != rtf_ec_OK || !picture) return code;
  code = FlushOutput(0);
  if (code != rtf_ec_OK) return code;
  TRPRTFFieldData* field = FState->Field.get();
  if (field && field->PictureInserted) return rtf_ec_OK;  // the field gave its picture already
  // A picture frame whose text box holds its picture again shows it once.
  if (FPictureFrom == rdsShapeInst && RepeatsShapePicture(*picture)) return rtf_ec_OK;
  if (FPictureFrom == rdsShapePropValue) {
    FShapePictureKind = picture->PicType;
    const std::span<const uint8_t> bytes = PictureBytes(*picture);
    FShapePictureBytes.assign(bytes.begin(), bytes.end());
  }

  std::unique_ptr<TGraphic> graphic;
  try {
    graphic =
        LoadRTFPictureGraphic(*picture, FDibHeaderOffset, ExtractMetafileBitmaps, PixelsPerInch,
                              [this](int64_t declaredPx, int64_t fillablePx) { AdmitRaster(declaredPx, fillablePx); });
  } catch (...) {
    // A picture larger than the document's size allows is left out, as one of a kind
    // that gives no graphic is; data that is no picture ends the parse.
    if (!FPictureRefused) return rtf_ec_InvalidPicture;
    DropPictureGraphic(graphic);
  }
  if (picture->PicWGoal != 0 && picture->PicHGoal != 0) {
    picture->SuggestedWidth =
        static_cast<int32_t>(Round(static_cast<double>(picture->PicWGoal) * PixelsPerInch / 1440));
    picture->SuggestedHeight =
        static_cast<int32_t>(Round(static_cast<double>(picture->PicHGoal) * PixelsPerInch / 1440));
  }
  picture->Data.SetPosition(0);
  bool inserted = false;
  const bool empty = !graphic;
  code = ReportPicture(picture.get(), std::move(graphic), AnsiString(), inserted);
  if (code != rtf_ec_OK) return code;
  if (picture->ShpPict) FShpPictInserted = inserted;
  if (!inserted && field && field->RejectedPicture) return ReportRejectedFieldPicture();
  // A picture with an alternative that gave nothing is owed, should no alternative come.
  if (!inserted && empty && picture->ShpPict) FOwedPicture = std::move(picture);
  return rtf_ec_OK;
}

bool TRPRTFReader::RepeatsShapePicture(TRPRTFPicture& picture) const {
  const std::span<const uint8_t> bytes = PictureBytes(picture);
  return !FShapePictureBytes.empty() && picture.PicType == FShapePictureKind &&
         std::equal(FShapePictureBytes.begin(), FShapePictureBytes.end(), bytes.begin(), bytes.end());
}

TRPRTFErrorCode TRPRTFReader::ReportOwedPicture() {
  std::unique_ptr<TRPRTFPicture> picture = std::move(FOwedPicture);
  if (!picture) return rtf_ec_OK;
  picture->ShpPict = false;  // nothing else stands for it now
  bool inserted = false;
  return ReportPicture(picture.get(), nullptr, AnsiString(), inserted);
}

TRPRTFErrorCode TRPRTFReader::StartAlternative() {
  FOwedPicture.reset();
  FState->Destination = FShpPictInserted ? rdsSkip : rdsNorm;
  FShpPictInserted = false;
  return rtf_ec_OK;
}

void TRPRTFReader::AdmitRaster(int64_t declaredPx, int64_t fillablePx) {
  const int64_t divisor = std::max(Limits.PictureFillDivisor, 1);
  if (fillablePx < declaredPx / divisor || !FBudget.SpendPicturePixels(declaredPx)) {
    FPictureRefused = true;
    throw EInvalidGraphic(SInvalidBitmap);
  }
  FPictureAdmittedPx += declaredPx;
}

void TRPRTFReader::DropPictureGraphic(std::unique_ptr<TGraphic>& graphic) {
  graphic.reset();
  FBudget.ReturnPicturePixels(std::exchange(FPictureAdmittedPx, 0));
  FPictureRefused = false;
}

TRPRTFErrorCode TRPRTFReader::ReportPicture(TRPRTFPicture* picture, std::unique_ptr<TGraphic> graphic,
                                            const AnsiString& fileName, bool& inserted) {
  inserted = false;
  // A graphic that came without passing AdmitRaster (a field's picture, a graphic class
  // of its own) spends its pixels now.
  if (graphic) {
    const int64_t pixels = int64_t{std::max(graphic->Width(), 0)} * std::max(graphic->Height(), 0);
    if (pixels > FPictureAdmittedPx && !FBudget.SpendPicturePixels(pixels - FPictureAdmittedPx))
      DropPictureGraphic(graphic);
  }
  FPictureAdmittedPx = 0;
  if (!OnNewPicture) return rtf_ec_OK;
  Code code = UpdateTableLevel(FState->ParaProps.TableLevel(), true);
  if (code != rtf_ec_OK) return code;
  if (graphic) {
    code = CallHandler([&] { RPAfterGraphicImport(*graphic); });
    if (code != rtf_ec_OK) return code;
  }
  FState->ParaProps.Finalize();
  code = CallHandler([&] { OnNewPicture(this, picture, graphic, FPosition, fileName, inserted); });
  if (code == rtf_ec_OK && inserted) FPosition = rtf_ts_ContinuePara;
  return code;
}

TRPRTFErrorCode TRPRTFReader::ReportRejectedFieldPicture() {
  TRPRTFFieldData* field = FState->Field.get();
  if (!field || field->PictureInserted || !field->RejectedPicture) return rtf_ec_OK;
  bool inserted = false;
  const Code code = ReportPicture(nullptr, std::move(field->RejectedPicture), field->RejectedPictureName, inserted);
  if (inserted) field->PictureInserted = true;
  return code;
}

TRPRTFErrorCode TRPRTFReader::EndObjectData() {
  if (!FObject) return rtf_ec_OK;
  Code code = FlushOutput(0);
  if (code == rtf_ec_OK) code = UpdateTableLevel(FState->ParaProps.TableLevel(), true);
  if (code != rtf_ec_OK) return code;
  FState->ParaProps.Finalize();
  FObject->Data.SetPosition(0);
  bool inserted = false;
  code = CallHandler([&] { OnNewObject(this, FObject.get(), FPosition, inserted); });
  FObjectInserted = inserted;
  if (code == rtf_ec_OK && inserted) FPosition = rtf_ts_ContinuePara;
  return code;
}
