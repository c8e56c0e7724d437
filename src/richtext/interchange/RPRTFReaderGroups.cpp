// Groups and destinations: opening and closing groups with their state copies, entering
// destinations and what leaving one does.
#include <algorithm>
#include <new>

#include "richtext/interchange/RPRTFReader.h"

TRPRTFErrorCode TRPRTFReader::PushState() {
  const int64_t bytes = FState->SavedBytes();
  if (FGroupStateBytes + bytes > FGroupStateBudget) return rtf_ec_StackOverflow;
  try {
    auto saved = std::make_unique<TRPRTFReaderState>();
    saved->Assign(*FState);
    FStack.push_back(std::move(saved));
  } catch (const std::bad_alloc&) {
    return rtf_ec_StackOverflow;
  }
  FGroupStateBytes += bytes;
  FState->ParseMode = rtf_rds_Normal;
  ++FDepth;
  if (FState->Destination == rdsStyleSheet) {
    // Every group of the style sheet is an entry: a paragraph style numbered 0 until
    // its words say otherwise.
    if (FStyleSheet.Count() < Limits.MaxStyles) {
      FStyleSheet.AddNew();
      FState->Destination = rdsStyleSheetParaStyle;
    } else {
      FState->Destination = rdsSkip;
    }
  }
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::PopState() {
  if (FStack.empty()) return rtf_ec_StackUnderflow;
  TRPRTFReaderState& saved = *FStack.back();
  Code code = rtf_ec_OK;
  if (FDepth == 1) {
    code = UpdateMarker();
    if (code == rtf_ec_OK && OnEndParsing) code = CallHandler([&] { OnEndParsing(this); });
    if (code != rtf_ec_OK) return code;
  }
  const TRPRTFDestination leaving = FState->Destination;
  if (leaving == rdsNorm) code = FlushOutput(0);
  if (code == rtf_ec_OK && leaving != saved.Destination) code = EndGroupAction(leaving);
  if (code != rtf_ec_OK) return code;
  if (FState->HFType != saved.HFType && FState->HFType != rtf_hf_MainText) {
    const TRPRTFHeaderFooterType kind = FState->HFType;
    FPosition = FPositionBeforeHF;
    bool supported = true;
    if (OnHeaderFooter) code = CallHandler([&] { OnHeaderFooter(this, kind, false, supported); });
    if (code != rtf_ec_OK) return code;
  }
  FState->Assign(saved);
  if (leaving == rdsPN && saved.Destination != rdsPN && FPNMarker) {
    FState->ParaProps.SetMarkerProps(*FPNMarker);
    FPNMarker.reset();
  }
  FGroupStateBytes -= FStack.back()->SavedBytes();
  FStack.pop_back();
  --FDepth;
  return rtf_ec_OK;
}

// What leaving a destination does, before the saved state comes back.
TRPRTFErrorCode TRPRTFReader::EndGroupAction(TRPRTFDestination leaving) {
  switch (leaving) {
    case rdsFontTable:
      FFontTable.RemoveCharsetSuffixes();
      return rtf_ec_OK;
    case rdsStyleSheetParaStyle:
    case rdsStyleSheetCharStyle:
    case rdsStyleSheetSectStyle:
      if (TRPRTFStyleSheetEntry* entry = FStyleSheet.Last()) {
        entry->ParaProps = FState->ParaProps;
        entry->CharProps.Assign(FState->CharProps);
      }
      return rtf_ec_OK;
    case rdsPict:
      return EndPicture();
    case rdsObject:
      FObject.reset();
      return rtf_ec_OK;
    case rdsObjData:
      return EndObjectData();
    case rdsField:
      return ReportRejectedFieldPicture();
    case rdsFldInst:
      return ProcessFieldInstruction();
    case rdsLevelText:
    case rdsLevelNumbers:
      if (TRPRTFListLevel97* level = CurrentListLevel()) {
        // The first character counts the characters that follow; the rest (the ";") goes.
        AnsiString& text = leaving == rdsLevelText ? level->Text : level->Numbers;
        if (!text.empty()) text.resize(std::min<size_t>(text.size(), 1 + static_cast<uint8_t>(text[0])));
        if (leaving == rdsLevelText && !level->TextW.empty())
          level->TextW.resize(std::min<size_t>(level->TextW.size(), 1 + static_cast<size_t>(level->TextW[0])));
      }
      return rtf_ec_OK;
    default:
      return rtf_ec_OK;
  }
}

TRPRTFErrorCode TRPRTFReader::StartHeaderFooter(TRPRTFHeaderFooterType kind) {
  TRPRTFDestination& dest = FState->Destination;
  bool supported = false;
  if (OnHeaderFooter) {
    // Text of the main document still pending goes there, not into the header.
    Code code = FlushOutput(0);
    if (code != rtf_ec_OK) return code;
    code = CallHandler([&] { OnHeaderFooter(this, kind, true, supported); });
    if (code != rtf_ec_OK) return code;
  }
  if (!supported || FState->HFType != rtf_hf_MainText) {
    dest = rdsSkip;
    return rtf_ec_OK;
  }
  FState->HFType = kind;
  FPositionBeforeHF = FPosition;
  FPosition = rtf_ts_NewPara;
  dest = rdsNorm;
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::ChangeDest(TRPRTFDestination destination) {
  TRPRTFDestination& dest = FState->Destination;
  if (dest == rdsSkip) return rtf_ec_OK;
  switch (destination) {
    case rdsShpPict:
      dest = rdsShpPict;
      return rtf_ec_OK;
    case rdsNonShpPict:
    case rdsShapeResult:
      // One alternative per picture: the answer of the picture before it is used up.
      return StartAlternative();
    case rdsShape: {
      // A shape shows one picture: its picture property's, else its result's.
      const Code code = ReportOwedPicture();
      FShpPictInserted = false;
      FShapePictureBytes.clear();
      return code;
    }
    case rdsShapeInst:
      dest = dest == rdsNorm ? rdsShapeInst : rdsSkip;
      return rtf_ec_OK;
    case rdsShapeProp:
      FShapePropName.clear();
      dest = dest == rdsShapeInst ? rdsShapeProp : rdsSkip;
      return rtf_ec_OK;
    case rdsShapePropName:
      dest = dest == rdsShapeProp ? rdsShapePropName : rdsSkip;
      return rtf_ec_OK;
    case rdsShapePropValue:
      // Only the picture property (pib) is read; a shape's other values are no text.
      dest = dest == rdsShapeProp && FShapePropName == "pib" ? rdsShapePropValue : rdsSkip;
      return rtf_ec_OK;
    case rdsPict:
      return StartPicture();
    case rdsSkip:
      dest = rdsSkip;
      return rtf_ec_OK;
    case rdsFontTable:
      FFontTable.Clear();
      dest = rdsFontTable;
      return rtf_ec_OK;
    case rdsStyleSheet:
      FStyleSheet.Clear();
      dest = rdsStyleSheet;
      return rtf_ec_OK;
    case rdsColorTable:
      FColorTable.Clear();
      FColorTable.Add(clWindowText);
      dest = rdsColorTable;
      return rtf_ec_OK;
    case rdsField: {
      const Code code = FlushOutput(0);
      FState->Field = std::make_shared<TRPRTFFieldData>();
      dest = rdsField;
      return code;
    }
    case rdsFldInst:
      if (dest == rdsField && FState->Field) {
        FState->Field->Instruction.clear();
        FState->Field->PictureInserted = false;
        FState->Field->SymbolAdded = false;
        dest = rdsFldInst;
      }
      return rtf_ec_OK;
    case rdsFldRslt:
      dest = (FState->Field && FState->Field->SymbolAdded) ? rdsSkip : rdsNorm;
      return rtf_ec_OK;
    case rdsNestTableProps:
      dest = rdsNorm;
      return rtf_ec_OK;
    case rdsHeader:
      return StartHeaderFooter(rtf_hf_Header);
    case rdsFooter:
      return StartHeaderFooter(rtf_hf_Footer);
    case rdsPNTextAfter:
    case rdsPNTextBefore:
      if (dest == rdsPN && FPNMarker) {
        FState->MarkerTextLevel = 0;
        dest = destination;
      } else if (dest == rdsPNSecLvl) {
        FState->MarkerTextLevel = FPNSecLevel;
        dest = destination;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsPN:
      FPNMarker = std::make_unique<TRPRTFMarkerProperties>();
      dest = rdsPN;
      return rtf_ec_OK;
    case rdsListTable:
      dest = rdsListTable;
      return rtf_ec_OK;
    case rdsList:
      if (dest == rdsListTable && FListTable.Count() < Limits.MaxLists) {
        FListTable.AddNew();
        dest = rdsList;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsListName:
      if (dest == rdsList) dest = rdsListName;
      return rtf_ec_OK;
    case rdsListLevel:
      if (dest == rdsList && FListTable.Last() && FListTable.Last()->Count() < Limits.MaxListLevels) {
        FListTable.Last()->AddNew();
        dest = rdsListLevel;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsLevelText:
    case rdsLevelNumbers:
      dest = dest == rdsListLevel ? destination : rdsSkip;
      return rtf_ec_OK;
    case rdsLOTable:
      dest = rdsLOTable;
      return rtf_ec_OK;
    case rdsLO:
      if (dest == rdsLOTable && FListOverrideTable.Count() < Limits.MaxLists) {
        FListOverrideTable.AddNew();
        dest = rdsLO;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsLOLevel:
      if (dest == rdsLO && FListOverrideTable.Last() && FListOverrideTable.Last()->Count() < Limits.MaxListLevels) {
        FListOverrideTable.Last()->AddNew();
        dest = rdsLOLevel;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsObject:
      FObjectInserted = false;
      if (OnNewObject) {
        FObject = std::make_unique<TRPRTFObject>();
        dest = rdsObject;
      } else {
        dest = rdsNorm;
      }
      return rtf_ec_OK;
    case rdsObjData:
      if (dest == rdsObject && FObject) {
        FHexHalf = false;
        dest = rdsObjData;
      } else {
        dest = rdsSkip;
      }
      return rtf_ec_OK;
    case rdsObjResult:
      dest = FObjectInserted ? rdsSkip : rdsNorm;
      return rtf_ec_OK;
    default:
      return rtf_ec_BadTable;
  }
}
