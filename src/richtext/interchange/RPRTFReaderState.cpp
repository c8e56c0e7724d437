#include "richtext/interchange/RPRTFReaderState.h"

void TRPRTFReaderState::Assign(const TRPRTFReaderState& source) {
  if (&source == this) return;
  DefLanguage = source.DefLanguage;
  CharProps.Assign(source.CharProps);
  ParaProps = source.ParaProps;
  SectProps.Assign(source.SectProps);
  DocProps = source.DocProps;
  BorderTarget = source.BorderTarget;
  Destination = source.Destination;
  ParseMode = source.ParseMode;
  Field = source.Field;
  DefFontNumber = source.DefFontNumber;
  DefFontIndex = source.DefFontIndex;
  HFType = source.HFType;
  MarkerTextLevel = source.MarkerTextLevel;
  UnicodeSkipCount = source.UnicodeSkipCount;
  FRowProps = source.FRowProps;
}

void TRPRTFReaderState::Reset() {
  DefLanguage = 0;
  DefFontNumber = 0;
  DefFontIndex = -1;
  CharProps.Reset(0, 0);
  ParaProps.KeepNesting = false;
  ParaProps.Reset();
  SectProps.Reset();
  SectProps.HeaderY = 720;
  SectProps.FooterY = 720;
  DocProps.Reset();
  FRowProps.reset();
  BorderTarget = rtf_bt_Para;
  Destination = rdsNorm;
  ParseMode = rtf_rds_Normal;
  Field.reset();
  HFType = rtf_hf_MainText;
  MarkerTextLevel = 0;
  UnicodeSkipCount = 1;
}

int64_t TRPRTFReaderState::SavedBytes() const {
  int64_t bytes = sizeof(*this);
  if (ParaProps.GetBorder()) bytes += sizeof(TRPRTFParaBorder) + 4 * sizeof(TRPRTFBorderSide);
  if (const TRPRTFMarkerProperties* marker = ParaProps.GetMarkerProps())
    bytes += sizeof(*marker) + static_cast<int64_t>(marker->TextAfter.capacity() + marker->TextBefore.capacity());
  return bytes;
}

TRPRTFRowProperties& TRPRTFReaderState::RowProps() {
  if (!FRowProps)
    FRowProps = std::make_shared<TRPRTFRowProperties>();
  else if (FRowProps.use_count() > 1)
    FRowProps = std::make_shared<TRPRTFRowProperties>(*FRowProps);
  return *FRowProps;
}
