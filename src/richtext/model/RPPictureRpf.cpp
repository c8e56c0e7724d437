// A picture written to and read from the native format.
#include "platform/base/Exception.h"
#include "platform/graphics/Metafile.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPPictureItems.h"

void TRPGraphicItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo,
                                 const AnsiString& name, const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  const uint32_t options = streaming.Options();
  const bool body = (options & rpfoSavePicturesBody) && Image;
  const TRPFBodyMode mode = !body ? rpfbmNone : (options & rpfoSaveBinary) ? rpfbmBinary : rpfbmHex;
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount() + (body ? 3 : 1), paraNo, forceSameAsPrev, mode, streaming);
  RPFWriteLine(stream, name);
  if (body) RPFWriteLine(stream, Image->ClassName());
  SaveRPFProperties(stream);
  if (mode == rpfbmBinary)
    streaming.SavePictureBinary(stream, *Image);
  else if (mode == rpfbmHex)
    RPFWriteLine(stream, streaming.PictureToHex(*Image));
}

bool TRPGraphicItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode mode, int32_t lineNo,
                                     int32_t lineCount, AnsiString& name, TRPFLineMode& lineMode,
                                     TRPFReadState& readState) {
  lineMode = rpflmText;
  if (lineNo + 1 >= lineCount) readState = rpfrsItemDone;
  if (lineNo == 0) {
    name = s;
    if (mode == rpfbmNone) Image = streaming.RequestPicture(name, Tag);
  } else if (mode == rpfbmNone) {
    const AnsiString fileName = ImageFileName;
    ReadRPFPropertyLine(s);
    if (ImageFileName != fileName && !ImageFileName.empty() && !Image)
      Image = streaming.RequestPicture(ImageFileName, Tag);
  } else if (lineNo == 1) {
    if (TGraphicClass graphicClass = FindGraphicClass(s)) {
      Image = RPCreateGraphic(graphicClass);
    } else {
      Image.reset();
      streaming.AddWarning(rpfwUnknownPicFmt);
      if (!(streaming.Options() & rpfoIgnoreUnknownPicFmt)) return false;
    }
  } else if (lineNo + 1 == lineCount) {
    if (!Image) return true;  // an unknown class, ignored with its data
    try {
      if (mode == rpfbmBinary)
        streaming.LoadPictureFromBinary(s, *Image);
      else if (!streaming.LoadPictureFromHex(s, *Image))
        return false;
      // A Windows metafile that gives no resolution is taken as drawn in twips.
      if (auto* metafile = dynamic_cast<TMetafile*>(Image.get());
          metafile && !metafile->Enhanced() && metafile->Inch() == 0)
        metafile->SetInch(1440);
    } catch (const Exception&) {
      const TGraphic* invalid = streaming.InvalidPicture();
      Image = invalid ? CopyRPGraphic(*invalid) : nullptr;
      streaming.AddWarning(rpfwInvalidPicture);
    }
  } else {
    ReadRPFPropertyLine(s);
  }
  if (mode == rpfbmBinary && lineNo + 2 == lineCount) lineMode = rpflmBinaryBlock;
  return true;
}
