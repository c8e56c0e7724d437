// Applying property words: by destination, to the group's formatting, the row being
// defined, the picture, the object, numbering, lists and the style sheet.
#include <algorithm>
#include <cstdlib>

#include "platform/base/Numbers.h"
#include "richtext/interchange/RPRTFReader.h"

namespace {

// Font sizes come in half points; halves round to even (\fs25 is 12, \fs27 is 14).
int32_t HalfPointsToPoints(int32_t halfPoints) { return static_cast<int32_t>(Round(halfPoints / 2.0)); }

// \highlight with the sixteen fixed colours.
TColor FixedHighlightColor(int32_t index) {
  static constexpr TColor colors[] = {
      clNone,   0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF, 0x00FFFF, 0xFFFFFF,
      0x800000, 0x808000, 0x008000, 0x800080, 0x000080, 0x008080, 0x808080, 0xC0C0C0,
  };
  return index >= 1 && index <= 16 ? colors[index] : clNone;
}

// \trwWidth and \clwWidth: a width, negated while its unit is a percentage.
void SetBestWidth(int32_t& width, bool percent, int32_t value) { width = percent ? -value : value; }
// \trftsWidth and \clftsWidth: 2 makes the width a percentage (negated), 3 keeps twips,
// anything else means no width.
void SetBestWidthUnit(int32_t& width, bool& percent, int32_t unit) {
  if (unit == 2) {
    percent = true;
    width = -width;
  } else if (unit != 3) {
    width = 0;
  }
}

void SetStyle(TFontStyles& styles, TFontStyle style, bool on) {
  styles = on ? styles + TFontStyles{style} : styles - TFontStyles{style};
}

// Word properties that only apply to text being read, not to a style-sheet entry.
bool IsTextEvent(TRPRTFProperty property) {
  return property == ripPage || property == ripRowEnd || property == ripCellEnd;
}

// \levelnfc to the marker types.
uint8_t ListTypeOfNumberType(int32_t nfc) {
  switch (nfc) {
    case 1:
      return 5;  // upper roman
    case 2:
      return 4;  // lower roman
    case 3:
      return 3;  // upper letters
    case 4:
      return 2;  // lower letters
    case 23:
      return 6;  // bullet
    default:
      return 1;  // decimal
  }
}

}  // namespace

int32_t TRPRTFReader::ResolveDefFontIndex() {
  TRPRTFReaderState& state = *FState;
  if (state.DefFontIndex >= 0) return state.DefFontIndex;
  const int32_t index = FFontTable.GetFontIndex(state.DefFontNumber, state.DefFontNumber);
  // Remembered only once there are fonts to find it among.
  if (FFontTable.Count() > 0) state.DefFontIndex = index;
  return index;
}

TRPRTFErrorCode TRPRTFReader::ApplyProperty(const TRPRTFsymbol& symbol, int32_t value) {
  const auto property = static_cast<TRPRTFProperty>(symbol.Index);
  TRPRTFReaderState& state = *FState;
  const TRPRTFDestination dest = state.Destination;
  if (dest == rdsSkip) return rtf_ec_OK;
  // Reader-wide words apply in every destination that is read.
  switch (property) {
    case ripUnicodeChar:
      return ParseUnicode(value);
    case ripUnicodeSkipCount:
      FState->UnicodeSkipCount = std::max(value, 0);
      return rtf_ec_OK;
    case ripAnsiCodePage:
      FCodePage = static_cast<uint32_t>(std::max(value, 0));
      return rtf_ec_OK;
    default:
      break;
  }
  switch (dest) {
    case rdsNorm:
      return ApplyNormalProperty(property, value, true);
    case rdsFontTable:
      if (property == ripFont) {
        if (FFontTable.Count() < Limits.MaxFonts)
          FFontTable.AddFont(value);
        else
          state.Destination = rdsSkip;  // the name of a font past the limit is not read
      } else if (property == ripFontFamily) {
        if (TRPRTFFont* font = FFontTable.Last()) font->Family = static_cast<uint8_t>(value);
      } else if (property == ripCharset) {
        if (TRPRTFFont* font = FFontTable.Last()) font->Charset = static_cast<uint8_t>(value >= 256 ? 77 : value);
      }
      return rtf_ec_OK;
    case rdsColorTable:
      if (property == ripRed)
        FColorTable.MixIntoLast(value, 0);
      else if (property == ripGreen)
        FColorTable.MixIntoLast(value, 8);
      else if (property == ripBlue)
        FColorTable.MixIntoLast(value, 16);
      return rtf_ec_OK;
    case rdsStyleSheetParaStyle:
    case rdsStyleSheetCharStyle:
    case rdsStyleSheetSectStyle:
      if (property >= ripParaStyle && property <= ripStyleHidden) {
        ApplyStyleSheetProperty(property, value);
        return rtf_ec_OK;
      }
      // The entry's formatting is the group's, taken when the entry closes.
      if (symbol.Group == rtf_grp_Other || IsTextEvent(property)) return rtf_ec_OK;
      return ApplyNormalProperty(property, value, false);
    case rdsPict:
      if (FPicture) return ApplyPictureProperty(property, value);
      return rtf_ec_OK;
    case rdsObject:
      if (FObject) {
        if (property == ripObjKind)
          FObject->ObjType = static_cast<uint8_t>(value);
        else if (property == ripObjWidth)
          FObject->Width = value;
        else if (property == ripObjHeight)
          FObject->Height = value;
      }
      return rtf_ec_OK;
    case rdsPN:
      if (FPNMarker) ApplyMarkerProperty(*FPNMarker, property, value);
      return rtf_ec_OK;
    case rdsPNSecLvl:
      if (TRPRTFMarkerProperties* marker = state.SectProps.MarkerDefaults().Level(FPNSecLevel))
        ApplyMarkerProperty(*marker, property, value);
      return rtf_ec_OK;
    case rdsList:
      if (TRPRTFList97* list = FListTable.Last()) {
        if (property == ripListId)
          list->Id = value;
        else if (property == ripListSimple)
          list->Simple = value != 0;
      }
      return rtf_ec_OK;
    case rdsListLevel:
      ApplyListLevelProperty(property, value);
      return rtf_ec_OK;
    case rdsLO:
      if (TRPRTFListOverride97* lo = FListOverrideTable.Last()) {
        if (property == ripListId)
          lo->ListIndex = FListTable.FindListId(value);
        else if (property == ripLOCount)
          lo->OverrideCount = value;
        else if (property == ripLONumber)
          lo->Number = value;
      }
      return rtf_ec_OK;
    case rdsLOLevel:
      if (TRPRTFListOverride97* lo = FListOverrideTable.Last())
        if (TRPRTFListOverrideLevel97* level = lo->Last()) {
          if (property == ripLevelStartAt)
            level->Start = value;
          else if (property == ripLOStart)
            level->UseStart = value != 0;
        }
      return rtf_ec_OK;
    case rdsField:
    case rdsFldInst:
    case rdsShpPict:
      // Formatting inside a field or a shape group belongs to its group; nothing here
      // reports text.
      if (IsTextEvent(property)) return rtf_ec_OK;
      return ApplyNormalProperty(property, value, false);
    default:
      return rtf_ec_OK;
  }
}

TRPRTFErrorCode TRPRTFReader::ApplyNormalProperty(TRPRTFProperty property, int32_t value, bool inText) {
  TRPRTFReaderState& state = *FState;
  TRPRTFCharProperties& ch = state.CharProps;
  TRPRTFParaProperties& para = state.ParaProps;
  switch (property) {
    // Character formatting.
    case ripBold:
      SetStyle(ch.Style, fsBold, value != 0);
      break;
    case ripItalic:
      SetStyle(ch.Style, fsItalic, value != 0);
      break;
    case ripUnderline:
      SetStyle(ch.Style, fsUnderline, value != 0);
      break;
    case ripStrikeOut:
      SetStyle(ch.Style, fsStrikeOut, value != 0);
      break;
    case ripCharScaleX:
      ch.CharScaleX = value;
      break;
    case ripCharSpacing:
      ch.CharSpacing = value;
      break;
    case ripSubSuperScript:
      ch.SubSuperScript = static_cast<uint8_t>(value);
      break;
    case ripAllCaps:
      ch.AllCaps = value != 0;
      break;
    case ripFontSize:
      ch.Size = HalfPointsToPoints(value);
      break;
    case ripColor:
      ch.Color = ColorOf(value, ch.Color);
      break;
    case ripBackColor:
      ch.BackColor = ColorOf(value, ch.BackColor);
      break;
    case ripHighlight:
      if (ConvertHighlight == rtf_hl_FixedColors)
        ch.BackColor = FixedHighlightColor(value);
      else if (ConvertHighlight == rtf_hl_ColorTable)
        ch.BackColor = ColorOf(value, ch.BackColor);
      break;
    case ripLanguage:
      ch.Language = value;
      break;
    case ripDefLanguage:
      state.DefLanguage = value;
      break;
    case ripHidden:
      return ApplyHidden(value != 0, inText);
    case ripFont:
      ch.FontIndex = FFontTable.GetFontIndex(value, state.DefFontNumber);
      break;
    case ripDefFont:
      if (inText) {
        state.DefFontNumber = value;
        state.DefFontIndex = -1;
      }
      break;
    case ripCharDefaults:
      ch.Reset(state.DefLanguage, ResolveDefFontIndex());
      break;

    // Paragraph formatting.
    case ripLineSpacing:
      para.LineSpacing = value;
      break;
    case ripLineSpacingMulti:
      para.LineSpacingMulti = value != 0;
      break;
    case ripLeftIndent:
      para.LeftIndent = value;
      break;
    case ripRightIndent:
      para.RightIndent = value;
      break;
    case ripFirstIndent:
      para.FirstIndent = value;
      break;
    case ripSpaceBefore:
      para.SpaceBefore = value;
      break;
    case ripSpaceAfter:
      para.SpaceAfter = value;
      break;
    case ripAlignment:
      para.Alignment = static_cast<uint8_t>(value);
      break;
    case ripKeepLinesTogether:
      para.KeepLinesTogether = value != 0;
      break;
    case ripKeepWithNext:
      para.KeepWithNext = value != 0;
      break;
    case ripInTable:
      para.InTable = true;
      break;
    case ripNestingLevel:
      para.NestingLevel = value;
      if (value > 0) para.InTable = true;
      break;
    case ripNoOverlap:
      para.NoOverlap = value != 0;
      break;
    case ripLONumber:
      para.ListOverrideIndex = FListOverrideTable.FindOverrideNumber(value);
      break;
    case ripListLevel:
      para.ListLevel = value;
      break;
    case ripParaDefaults:
      para.Reset();
      break;
    case ripParaBackColor:
      para.Color = ColorOf(value, para.Color);
      break;
    case ripParaForeColor:
      para.ForeColor = ColorOf(value, para.ForeColor);
      break;
    case ripShading:
      para.Shading = value;
      break;
    case ripTabPosition:
    case ripTabKind:
    case ripTabLeader:
    case ripListTab: {
      if (para.Tabs().size() >= static_cast<size_t>(std::max(Limits.MaxTabsPerParagraph, 1))) break;
      TRPRTFTabList& tabs = para.MutableTabs();
      if (tabs.empty()) tabs.emplace_back();  // the spare that the words fill
      TRPRTFTab& spare = tabs.back();
      if (property == ripTabPosition) {
        spare.Position = value;
        tabs.emplace_back();
      } else if (property == ripTabKind) {
        spare.Kind = static_cast<uint8_t>(value);
      } else if (property == ripTabLeader) {
        spare.Leader = static_cast<uint8_t>(value);
      } else {
        spare.IsListTab = true;
      }
      break;
    }

    // Borders.
    case ripBorderStyle:
    case ripBorderWidth:
    case ripBorderColor:
    case ripBorderSpacing:
      ApplyBorderProperty(property, value);
      break;
    case ripParaBorderSide:
      state.BorderTarget = rtf_bt_Para;
      para.CurBorderSide = static_cast<uint8_t>(value & 3);
      break;

    // Section and document.
    case ripColumns:
      state.SectProps.ColumnCount = value;
      break;
    case ripPageNumberX:
      state.SectProps.PageNumberX = value;
      break;
    case ripPageNumberY:
      state.SectProps.PageNumberY = value;
      break;
    case ripHeaderY:
      state.SectProps.HeaderY = value;
      break;
    case ripFooterY:
      state.SectProps.FooterY = value;
      break;
    case ripSectionBreak:
      state.SectProps.SectionBreak = static_cast<uint8_t>(value);
      break;
    case ripPageNumberFormat:
      state.SectProps.PageNumberFormat = static_cast<uint8_t>(value);
      break;
    case ripSectDefaults:
      state.SectProps.Reset();
      break;
    case ripPaperWidth:
      state.DocProps.PaperWidth = value;
      break;
    case ripPaperHeight:
      state.DocProps.PaperHeight = value;
      break;
    case ripLeftMargin:
      state.DocProps.LeftMargin = value;
      break;
    case ripRightMargin:
      state.DocProps.RightMargin = value;
      break;
    case ripTopMargin:
      state.DocProps.TopMargin = value;
      break;
    case ripBottomMargin:
      state.DocProps.BottomMargin = value;
      break;
    case ripPageNumberStart:
      state.DocProps.PageNumberStart = value;
      break;
    case ripFacingPages:
      state.DocProps.FacingPages = value != 0;
      break;
    case ripLandscape:
      state.DocProps.Landscape = value != 0;
      break;

    // Text events.
    case ripPage:
      if (inText && OnRequiredPageBreak) {
        const Code code = FlushOutput(0);
        if (code != rtf_ec_OK) return code;
        return CallHandler([&] { OnRequiredPageBreak(this); });
      }
      break;
    case ripRowEnd:
      return inText ? RowEnd() : rtf_ec_OK;
    case ripCellEnd:
      return inText ? CellEnd() : rtf_ec_OK;

    // Old-style numbering of a section level.
    case ripPNSecLvl:
      if (value >= 1 && value <= 11) {
        FPNSecLevel = value;
        state.SectProps.MarkerDefaults().Used = true;
        state.Destination = rdsPNSecLvl;
      } else {
        state.Destination = rdsSkip;
      }
      break;

    // Words of other destinations.
    case ripRed:
    case ripGreen:
    case ripBlue:
    case ripFontFamily:
    case ripCharset:
    case ripParaStyle:
    case ripCharStyle:
    case ripSectStyle:
    case ripBasedOn:
    case ripNextStyle:
    case ripAdditive:
    case ripStyleHidden:
    case ripPicWidth:
    case ripPicHeight:
    case ripPicScaleX:
    case ripPicScaleY:
    case ripPicGoalWidth:
    case ripPicGoalHeight:
    case ripPicWidthBytes:
    case ripPicBitsPerPixel:
    case ripPicPlanes:
    case ripPicKind:
    case ripPicMetafile:
    case ripPicBmp:
    case ripObjKind:
    case ripObjWidth:
    case ripObjHeight:
    case ripPNLevel:
    case ripPNHanging:
    case ripPNType:
    case ripPNBold:
    case ripPNItalic:
    case ripPNUnderline:
    case ripPNStrike:
    case ripPNColor:
    case ripPNFont:
    case ripPNFontSize:
    case ripPNIndent:
    case ripPNSpace:
    case ripPNAlign:
    case ripPNStart:
    case ripListId:
    case ripListSimple:
    case ripLevelStartAt:
    case ripLevelNumberType:
    case ripLevelJustify:
    case ripLevelOld:
    case ripLevelIndent:
    case ripLevelSpace:
    case ripLevelFollow:
    case ripLevelLegal:
    case ripLevelNoRestart:
    case ripLOCount:
    case ripLOStart:
    case ripUnicodeChar:
    case ripUnicodeSkipCount:
    case ripAnsiCodePage:
      break;

    default:
      return ApplyTableProperty(property, value);
  }
  return rtf_ec_OK;
}

TRPRTFErrorCode TRPRTFReader::ApplyTableProperty(TRPRTFProperty property, int32_t value) {
  TRPRTFReaderState& state = *FState;
  switch (property) {
    case ripRowDefaults:
      state.RowProps().Reset();
      return rtf_ec_OK;
    case ripRowAlign:
      FTableAlign = static_cast<uint8_t>(value);
      FTableAlignDefined = true;
      return rtf_ec_OK;
    case ripRowGapH:
      state.RowProps().GapH = value;
      return rtf_ec_OK;
    case ripRowLeft:
      state.RowProps().Left = value;
      return rtf_ec_OK;
    case ripRowHeight:
      state.RowProps().Height = value == INT32_MIN ? INT32_MAX : std::abs(value);
      return rtf_ec_OK;
    case ripRowHeader:
      state.RowProps().Heading = value != 0;
      return rtf_ec_OK;
    case ripRowPaddingLeft:
    case ripRowPaddingRight:
    case ripRowPaddingTop:
    case ripRowPaddingBottom:
    case ripRowPaddingUnitLeft:
    case ripRowPaddingUnitRight:
    case ripRowPaddingUnitTop:
    case ripRowPaddingUnitBottom:
    case ripRowSpacingLeft:
    case ripRowSpacingRight:
    case ripRowSpacingTop:
    case ripRowSpacingBottom:
    case ripRowSpacingUnitLeft:
    case ripRowSpacingUnitRight:
    case ripRowSpacingUnitTop:
    case ripRowSpacingUnitBottom: {
      // Each group of four words runs left, right, top, bottom.
      static constexpr uint8_t sides[4] = {rtf_side_Left, rtf_side_Right, rtf_side_Top, rtf_side_Bottom};
      const int32_t offset = property - ripRowPaddingLeft;
      const uint8_t side = sides[offset % 4];
      TRPRTFRowProperties& row = state.RowProps();
      switch (offset / 4) {
        case 0:
          row.Padding[side] = value;
          break;
        case 1:
          row.PaddingInTwips[side] = value == 3;
          break;
        case 2:
          row.Spacing[side] = value;
          break;
        default:
          row.SpacingInTwips[side] = value == 3;
          break;
      }
      return rtf_ec_OK;
    }
    case ripRowBestWidth: {
      TRPRTFRowProperties& row = state.RowProps();
      SetBestWidth(row.BestWidth, row.PercentWidth, value);
      return rtf_ec_OK;
    }
    case ripRowBestWidthUnit: {
      TRPRTFRowProperties& row = state.RowProps();
      SetBestWidthUnit(row.BestWidth, row.PercentWidth, value);
      return rtf_ec_OK;
    }
    case ripRowBestWidthPx:
      state.RowProps().BestWidth = value;
      state.RowProps().SizesInPixels = true;
      return rtf_ec_OK;
    case ripCellBestWidthPx:
    case ripCellBestHeightPx: {
      TRPRTFRowProperties& row = state.RowProps();
      row.SizesInPixels = true;
      if (property == ripCellBestWidthPx)
        row.CurrentCell().BestWidth = value;
      else
        row.CurrentCell().BestHeight = value;
      return rtf_ec_OK;
    }
    case ripCellVMerge:
    case ripCellHMerge: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      uint8_t& merge = property == ripCellVMerge ? cell.VMerge : cell.HMerge;
      if (merge != 1) merge = static_cast<uint8_t>(value);
      return rtf_ec_OK;
    }
    case ripCellBestWidth: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      SetBestWidth(cell.BestWidth, cell.PercentWidth, value);
      return rtf_ec_OK;
    }
    case ripCellBestWidthUnit: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      SetBestWidthUnit(cell.BestWidth, cell.PercentWidth, value);
      return rtf_ec_OK;
    }
    case ripCellColor: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      cell.Color = ColorOf(value, cell.Color);
      if (cell.Color == clWindowText) cell.Color = clNone;
      return rtf_ec_OK;
    }
    case ripCellForeColor: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      cell.ForeColor = ColorOf(value, cell.ForeColor);
      return rtf_ec_OK;
    }
    case ripCellShading:
      state.RowProps().CurrentCell().Shading = value;
      return rtf_ec_OK;
    case ripCellVAlign:
      state.RowProps().CurrentCell().VAlign = static_cast<uint8_t>(value);
      return rtf_ec_OK;
    case ripCellX:
      state.RowProps().AddCellBoundary(value, std::max(Limits.MaxCellsPerRow, 1));
      return rtf_ec_OK;
    case ripRowBorderSide:
      state.BorderTarget = rtf_bt_Row;
      state.RowProps().CurBorderSide = static_cast<uint8_t>(value & 3);
      return rtf_ec_OK;
    case ripCellBorderSide:
      state.BorderTarget = rtf_bt_Cell;
      state.RowProps().CurrentCell().CurBorderSide = static_cast<uint8_t>(value & 3);
      return rtf_ec_OK;
    default:
      return rtf_ec_BadTable;
  }
}

void TRPRTFReader::ApplyBorderProperty(TRPRTFProperty property, int32_t value) {
  TRPRTFReaderState& state = *FState;
  if (property == ripBorderSpacing) {
    TRPRTFParaProperties& para = state.ParaProps;
    para.Border().Side(para.CurBorderSide).Spacing = value;
    return;
  }
  TRPRTFBorderSide* side = nullptr;
  switch (state.BorderTarget) {
    case rtf_bt_Para:
      side = &state.ParaProps.Border().Side(state.ParaProps.CurBorderSide);
      break;
    case rtf_bt_Row: {
      TRPRTFRowProperties& row = state.RowProps();
      side = &row.Border.Side(row.CurBorderSide);
      break;
    }
    case rtf_bt_Cell: {
      TRPRTFCellProperties& cell = state.RowProps().CurrentCell();
      side = &cell.Border.Side(cell.CurBorderSide);
      break;
    }
  }
  if (property == ripBorderStyle) {
    if (side->BorderType == 0) side->BorderType = static_cast<uint8_t>(value);
  } else if (property == ripBorderWidth) {
    side->Width = value;
  } else {
    side->Color = ColorOf(value, side->Color);
  }
}

TRPRTFErrorCode TRPRTFReader::ApplyHidden(bool hidden, bool inText) {
  TRPRTFCharProperties& ch = FState->CharProps;
  if (ch.Hidden == hidden) return rtf_ec_OK;
  // Text collected so far was flushed under the old state (a character word).
  ch.Hidden = hidden;
  if (!hidden || !inText) return rtf_ec_OK;
  // The start of hidden text is reported, as an empty run that is already hidden.
  FForceFlush = true;
  return FlushOutput(0);
}

TRPRTFErrorCode TRPRTFReader::ApplyPictureProperty(TRPRTFProperty property, int32_t value) {
  TRPRTFPicture& picture = *FPicture;
  switch (property) {
    case ripPicWidth:
      picture.PicW = value;
      break;
    case ripPicHeight:
      picture.PicH = value;
      break;
    case ripPicScaleX:
      picture.PicScaleX = value;
      break;
    case ripPicScaleY:
      picture.PicScaleY = value;
      break;
    case ripPicGoalWidth:
      picture.PicWGoal = value;
      break;
    case ripPicGoalHeight:
      picture.PicHGoal = value;
      break;
    case ripPicWidthBytes:
      picture.WBMWidthBytes = value;
      break;
    case ripPicBitsPerPixel:
      picture.WBMBitsPixel = value;
      break;
    case ripPicPlanes:
      picture.WBMPlanes = value;
      break;
    case ripPicKind:
      picture.PicType = static_cast<TRPRTFPictureKind>(value);
      if (value == rtf_pict_DIB && FDibHeaderOffset < 0) {
        // Room for the bitmap file header, filled when the picture ends.
        const Code code = FlushPictureHex();
        if (code != rtf_ec_OK) return code;
        FDibHeaderOffset = picture.Data.Size();
        const uint8_t zeros[RTFBitmapFileHeaderBytes] = {};
        picture.Data.SetPosition(FDibHeaderOffset);
        picture.Data.WriteBuffer(zeros, RTFBitmapFileHeaderBytes);
      }
      break;
    case ripPicMetafile:
      picture.PicType = rtf_pict_WMF;
      picture.MetafileMapMode = value;
      break;
    case ripPicBmp:
      picture.MetafileWithBitmap = value != 0;
      break;
    default:
      break;
  }
  return rtf_ec_OK;
}

void TRPRTFReader::ApplyMarkerProperty(TRPRTFMarkerProperties& marker, TRPRTFProperty property, int32_t value) {
  switch (property) {
    case ripPNLevel:
      // A level starts from the section's default of that level, when the section has some.
      if (&marker == FPNMarker.get()) {
        const TRPRTFMarkerDefaults& defaults = FState->SectProps.MarkerDefaults();
        if (defaults.Used)
          if (const TRPRTFMarkerProperties* def = defaults.Level(value)) marker = *def;
      }
      marker.Level = value;
      break;
    case ripPNHanging:
      marker.Hanging = value != 0;
      break;
    case ripPNType:
      marker.ListType = static_cast<uint8_t>(value);
      break;
    case ripPNBold:
      SetStyle(marker.FontStyle, fsBold, value != 0);
      marker.FixedProperties |= rtf_mf_Bold;
      break;
    case ripPNItalic:
      SetStyle(marker.FontStyle, fsItalic, value != 0);
      marker.FixedProperties |= rtf_mf_Italic;
      break;
    case ripPNUnderline:
      SetStyle(marker.FontStyle, fsUnderline, value != 0);
      marker.FixedProperties |= rtf_mf_Underline;
      break;
    case ripPNStrike:
      SetStyle(marker.FontStyle, fsStrikeOut, value != 0);
      marker.FixedProperties |= rtf_mf_StrikeOut;
      break;
    case ripPNColor:
      marker.Color = ColorOf(value, marker.Color);
      marker.FixedProperties |= rtf_mf_Color;
      break;
    case ripPNFont:
      marker.FontIndex = FFontTable.GetFontIndex(value, FState->DefFontNumber);
      marker.FixedProperties |= rtf_mf_Font;
      break;
    case ripPNFontSize:
      marker.FontSize = HalfPointsToPoints(value);
      marker.FixedProperties |= rtf_mf_Size;
      break;
    case ripPNIndent:
      marker.Indent = value;
      break;
    case ripPNSpace:
      marker.Space = value;
      break;
    case ripPNAlign:
      marker.Alignment = static_cast<uint8_t>(value);
      break;
    case ripPNStart:
      marker.Start = value;
      break;
    default:
      break;
  }
}

void TRPRTFReader::ApplyListLevelProperty(TRPRTFProperty property, int32_t value) {
  TRPRTFListLevel97* level = CurrentListLevel();
  if (!level) return;
  switch (property) {
    case ripLevelNumberType:
      level->ListType = ListTypeOfNumberType(value);
      break;
    case ripLevelJustify:
      level->Alignment = static_cast<uint8_t>(value == 1 ? 2 : value == 2 ? 1 : 0);
      break;
    case ripLevelStartAt:
      level->Start = value;
      break;
    case ripLevelIndent:
      level->Indent = value;
      break;
    case ripLevelSpace:
      level->Space = value;
      break;
    case ripLevelFollow:
      level->Follow = static_cast<uint8_t>(value);
      break;
    case ripLevelOld:
      level->OldStyle = value != 0;
      break;
    case ripLevelLegal:
      level->Legal = value != 0;
      break;
    case ripLevelNoRestart:
      level->NoRestart = value != 0;
      break;
    case ripBold:
      SetStyle(level->FontStyle, fsBold, value != 0);
      break;
    case ripItalic:
      SetStyle(level->FontStyle, fsItalic, value != 0);
      break;
    case ripUnderline:
      SetStyle(level->FontStyle, fsUnderline, value != 0);
      break;
    case ripStrikeOut:
      SetStyle(level->FontStyle, fsStrikeOut, value != 0);
      break;
    case ripFontSize:
      level->FontSize = HalfPointsToPoints(value);
      level->FontSizeDefined = true;
      break;
    case ripColor:
      level->Color = ColorOf(value, level->Color);
      break;
    case ripFont:
      level->FontIndex = FFontTable.GetFontIndex(value, FState->DefFontNumber);
      break;
    case ripLeftIndent:
      level->LeftIndent = value;
      break;
    case ripFirstIndent:
      level->FirstIndent = value;
      break;
    case ripTabPosition:
      level->TabPosition = value;
      break;
    default:
      break;
  }
}

void TRPRTFReader::ApplyStyleSheetProperty(TRPRTFProperty property, int32_t value) {
  TRPRTFStyleSheetEntry* entry = FStyleSheet.Last();
  if (!entry) return;
  switch (property) {
    case ripParaStyle:
    case ripCharStyle:
    case ripSectStyle: {
      static constexpr struct {
        uint8_t Kind;
        TRPRTFDestination Dest;
      } kinds[] = {{1, rdsStyleSheetParaStyle}, {0, rdsStyleSheetCharStyle}, {2, rdsStyleSheetSectStyle}};
      const auto& kind = kinds[property - ripParaStyle];
      entry->StyleSheetType = kind.Kind;
      entry->Number = value;
      FState->Destination = kind.Dest;
      break;
    }
    case ripBasedOn:
      entry->BasedOn = FStyleSheet.FindEntry(value);
      break;
    case ripNextStyle: {
      TRPRTFStyleSheetEntry* next = FStyleSheet.FindEntry(value);
      entry->Next = next ? next : entry;
      break;
    }
    case ripAdditive:
      entry->Additive = true;
      break;
    case ripStyleHidden:
      entry->Hidden = true;
      break;
    default:
      break;
  }
}
