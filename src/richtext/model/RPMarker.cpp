// The list-marker item: its level, measuring, drawing, plain text and item properties.
#include "richtext/model/RPMarker.h"

#include <algorithm>
#include <string>

#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::unique_ptr<IRPMarkerList> CreateMarkerList() { return std::make_unique<TRPMarkerList>(); }

// The font a level draws its text in: its own, or the defaults of a marker font.
const TFont& LevelFont(const TRPListLevel& level) {
  static const TRPMarkerFont defaults;
  const TRPMarkerFont* font = level.FindFont();
  return font ? *font : defaults;
}

// The level's font prepared on the canvas for measuring and drawing: its colour through
// the colour mode, its height from the style sheet's resolution for text styles when that
// is set, no character extra, text aligned at its top-left, no background.
void PrepareLevelFont(TCanvas& canvas, const TRPListLevel& level, TRPColorMode colorMode,
                      const IRPStyleSheet* rpStyle) {
  const TFont& font = LevelFont(level);
  canvas.Font().Assign(font);
  canvas.Font().SetColor(ApplyColorModeToTextColor(font.Color(), colorMode));
  const int32_t ppi = rpStyle ? rpStyle->GetTextStylesPixelsPerInch() : 0;
  if (ppi > 0 && font.Size() > 0) canvas.Font().SetHeight(-MulDiv(font.Size(), ppi, 72));
  canvas.Brush().SetStyle(bsClear);
  HDC dc = canvas.Handle();
  SetTextCharacterExtra(dc, 0);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
}

bool IsImageListType(TRPListType type) { return type == rplstImageList || type == rplstImageListCounter; }

}  // namespace

const TRPItemClassInfo TRPMarkerItemInfo::ClassInfo{"TRPMarkerItemInfo", &CreateRPItem<TRPMarkerItemInfo>};

void RegisterMarkerItemClasses() {
  SetBuiltInItemClass(rpkindListMarker, &TRPMarkerItemInfo::ClassInfo);
  SetMarkerListFactory(&CreateMarkerList);
}

TRPMarkerItemInfo::TRPMarkerItemInfo(TCustomRPData* rpData) : TRPRectItemInfo(rpData) {
  StyleNo = rpkindListMarker;
  SetContinuesLine(false);
}

TRPMarkerItemInfo::TRPMarkerItemInfo(TCustomRPData* rpData, int32_t listNo, int32_t level, int32_t startFrom,
                                     bool reset)
    : TRPMarkerItemInfo(rpData) {
  ListNo = listNo;
  Level = level;
  StartFrom = startFrom;
  Reset = reset;
}

std::unique_ptr<TRPMarkerItemInfo> TRPMarkerItemInfo::CreateEx(TCustomRPData* rpData, int32_t listNo, int32_t level,
                                                               int32_t startFrom, bool reset) {
  return std::make_unique<TRPMarkerItemInfo>(rpData, listNo, level, startFrom, reset);
}

// --- Level ------------------------------------------------------------------------------

const TRPListLevel* TRPMarkerItemInfo::GetLevelInfo(const IRPStyleSheet* rpStyle) const {
  return Level < 0 ? nullptr : GetLevelInfoAt(rpStyle, Level);
}

const TRPListLevel* TRPMarkerItemInfo::GetLevelInfoAt(const IRPStyleSheet* rpStyle, int32_t index) const {
  const TRPListInfos* lists = rpStyle ? rpStyle->GetListStyles() : nullptr;
  return lists ? lists->GetLevel(ListNo, index) : nullptr;
}

bool TRPMarkerItemInfo::GetLevelIndents(const IRPStyleSheet* rpStyle, int32_t& leftIndent, int32_t& firstIndent,
                                        int32_t& markerIndent) const {
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return false;
  leftIndent = level->LeftIndent;
  firstIndent = level->FirstIndent;
  markerIndent = level->MarkerIndent;
  return true;
}

int32_t TRPMarkerItemInfo::ShownImageIndex(const TRPListLevel& level) const {
  if (!level.ImageList) return -1;
  int64_t index = level.ImageIndex;
  if (level.ListType == rplstImageListCounter) index += int64_t{Counter} - 1;
  return index >= 0 && index < level.ImageList->Count() ? static_cast<int32_t>(index) : -1;
}

// --- Sizes and queries ------------------------------------------------------------------

TSize TRPMarkerItemInfo::GetImageSize(const IRPStyleSheet* rpStyle) const {
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return {};
  if (level->ListType == rplstPicture && level->HasPicture())
    return TSize{level->GetPicture()->Width(), level->GetPicture()->Height()};
  if (IsImageListType(level->ListType) && level->ImageList)
    return TSize{level->ImageList->Width(), level->ImageList->Height()};
  return {};
}

int32_t TRPMarkerItemInfo::GetImageWidth(const IRPStyleSheet* rpStyle) const { return GetImageSize(rpStyle).cx; }

int32_t TRPMarkerItemInfo::GetImageHeight(const IRPStyleSheet* rpStyle) const { return GetImageSize(rpStyle).cy; }

bool TRPMarkerItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  if (query == rpibqResetsFontCache || query == rpibqOwnCodePage) return true;
  return TRPRectItemInfo::GetBoolValue(query);
}

bool TRPMarkerItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  switch (query) {
    case rpibqxPrintAsBitmap: {
      // Pictures of this platform are never metafiles.
      const TRPListLevel* level = GetLevelInfo(rpStyle);
      return level && (IsImageListType(level->ListType) || (level->ListType == rplstPicture && level->HasPicture()));
    }
    case rpibqxSizeForWidth:
      return true;
    default:
      return TRPRectItemInfo::GetBoolValueEx(query, rpStyle);
  }
}

/* Measuring. The marker's own size W comes first (a picture, an image, or its text in
   the level's font). W is split at MarkerIndent by the alignment: a left-aligned marker
   lies after it (before 0, after W), a right-aligned one before it (before W, after 0), a
   centred one across it (after W div 2, before the rest). The text after the marker
   starts at LeftIndent + FirstIndent unless the marker reaches further, so the part after
   MarkerIndent is at least span = LeftIndent + FirstIndent - MarkerIndent. The box is
   before + after wide; in a left-to-right paragraph it begins `before` to the left of
   MarkerIndent (Overhang = -before), in a right-to-left one the marker hangs `before` over
   the far side (Overhang = before) and is drawn at the box's end (before + after - W). */
TRPMarkerItemInfo::TMeasure TRPMarkerItemInfo::CalcSize(TCanvas* canvas, TCustomRPData& rpData,
                                                        const TRPResolution* resolution, bool minWidth) const {
  TMeasure m;
  const IRPStyleSheet* rpStyle = rpData.GetRPStyle();
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return m;
  int32_t w = 0;
  switch (level->ListType) {
    case rplstPicture:
    case rplstImageList:
    case rplstImageListCounter: {
      const TSize size = GetImageSize(rpStyle);
      w = size.cx;
      m.Height = size.cy;
      if (resolution) {
        w = ScreenToDeviceX(w, *resolution);
        m.Height = ScreenToDeviceY(m.Height, *resolution);
      }
      break;
    }
    default: {
      if (!canvas) break;
      PrepareLevelFont(*canvas, *level, rpcmColor, rpStyle);
      TSize size{};
      if (level->ListType == rplstUnicodeBullet)
        GetTextExtentPoint32W(canvas->Handle(), level->FormatStringW.data(),
                              static_cast<int32_t>(level->FormatStringW.size()), &size);
      else
        GetTextExtentPoint32A(canvas->Handle(), DisplayString.data(), static_cast<int32_t>(DisplayString.size()),
                              &size);
      TEXTMETRICA metrics{};
      GetTextMetricsA(canvas->Handle(), &metrics);
      w = size.cx;
      m.Height = size.cy;
      m.Descent = metrics.tmDescent;
      break;
    }
  }
  int32_t before = 0, after = 0;
  switch (level->MarkerAlignment) {
    case rpmaLeft:
      after = w;
      break;
    case rpmaRight:
      before = w;
      break;
    case rpmaCenter:
      after = w / 2;
      before = w - after;
      break;
  }
  int32_t span = level->LeftIndent + level->FirstIndent - level->MarkerIndent;
  if (resolution) span = ScreenToDeviceX(span, *resolution);
  m.MinWidth = std::max(after, span);
  if (minWidth) return m;
  after = std::max(after, span);
  m.Width = before + after;
  if (rpData.GetParaBiDiMode(ParaNo) == rpbdRightToLeft) {
    m.Overhang = before;
    m.PaintOffset = before + after - w;
  } else {
    m.Overhang = -before;
    m.HorzOffset = -before;
  }
  return m;
}

int32_t TRPMarkerItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const {
  if (!rpData) return 0;
  return CalcSize(canvas, *rpData, resolution, true).MinWidth;
}

void TRPMarkerItemInfo::UpdateSizeForWidth(TCanvas& canvas, TCustomRPData& rpData, const TRPResolution* resolution,
                                           int32_t& width, int32_t& height, int32_t& descent, int32_t& horzOffset,
                                           bool store) {
  const TMeasure m = CalcSize(&canvas, rpData, resolution, false);
  width = m.Width;
  height = m.Height;
  descent = m.Descent;
  horzOffset = m.HorzOffset;
  if (!store) return;
  Width = m.Width;
  Height = m.Height;
  Descent = m.Descent;
  Overhang = m.Overhang;
  FPaintOffset = m.PaintOffset;
}

// --- Drawing ----------------------------------------------------------------------------

void TRPMarkerItemInfo::DrawMarker(TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode,
                                   const IRPStyleSheet* rpStyle) const {
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return;
  switch (level->ListType) {
    case rplstPicture:
      if (level->HasPicture()) canvas.Draw(x, y, level->GetPicture());
      return;
    case rplstImageList:
    case rplstImageListCounter:
      if (const int32_t index = ShownImageIndex(*level); index >= 0) level->ImageList->Draw(canvas, x, y, index);
      return;
    case rplstUnicodeBullet:
      PrepareLevelFont(canvas, *level, colorMode, rpStyle);
      TextOutW(canvas.Handle(), x, y, level->FormatStringW.data(), static_cast<int32_t>(level->FormatStringW.size()));
      return;
    default:
      PrepareLevelFont(canvas, *level, colorMode, rpStyle);
      TextOutA(canvas.Handle(), x, y, DisplayString.data(), static_cast<int32_t>(DisplayString.size()));
      return;
  }
}

void TRPMarkerItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, const IRPStyleSheet* rpStyle) const {
  DrawMarker(canvas, x + FPaintOffset, y, rpcmColor, rpStyle);
}

void TRPMarkerItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, TRPColorMode colorMode,
                              const IRPStyleSheet* rpStyle) const {
  DrawMarker(canvas, x + FPaintOffset, y, colorMode, rpStyle);
}

bool TRPMarkerItemInfo::PrintToBitmap(TBitmap& bitmap, TRPColorMode colorMode, const IRPStyleSheet* rpStyle) const {
  DrawMarker(*bitmap.Canvas(), 0, 0, colorMode, rpStyle);
  return true;
}

// --- HTML list structure -----------------------------------------------------------------

void TRPMarkerItemInfo::WriteHtmlLevelChange(TStream& stream, int32_t fromLevel, bool useCss,
                                             const IRPStyleSheet* rpStyle, int32_t toLevel) const {
  const TRPListInfos* lists = rpStyle ? rpStyle->GetListStyles() : nullptr;
  if (!lists || ListNo < 0 || ListNo >= lists->Count()) return;
  const TRPListLevelCollection& levels = lists->Items(ListNo)->Levels();
  const int32_t last = levels.Count() - 1;
  fromLevel = std::clamp(fromLevel, -1, last);
  toLevel = std::clamp(toLevel, -1, last);
  for (int32_t i = fromLevel; i > toLevel; --i) levels[i]->HTMLCloseTag(stream);
  for (int32_t i = fromLevel + 1; i <= toLevel; ++i) levels[i]->HTMLOpenTag(stream, useCss);
  if (fromLevel != toLevel) stream.WriteBuffer("\r\n", 2);
}

void TRPMarkerItemInfo::WriteHtmlListTransition(TStream& stream, const TRPMarkerItemInfo* previous, bool useCss,
                                                const IRPStyleSheet* rpStyle) const {
  if (previous && previous->ListNo == ListNo) {
    WriteHtmlLevelChange(stream, previous->Level, useCss, rpStyle, Level);
    return;
  }
  if (previous) previous->WriteHtmlLevelChange(stream, previous->Level, useCss, rpStyle, -1);
  WriteHtmlLevelChange(stream, -1, useCss, rpStyle, Level);
}

// --- Plain text -------------------------------------------------------------------------

AnsiString TRPMarkerItemInfo::GetPlainText(const IRPStyleSheet* rpStyle, bool unicode, bool& textIsUnicode) const {
  textIsUnicode = false;
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  if (!level) return {};
  switch (level->ListType) {
    case rplstPicture:
    case rplstImageList:
    case rplstImageListCounter:
      textIsUnicode = unicode;
      return unicode ? WideToRawUnicode(u"* ") : AnsiString("* ");
    case rplstUnicodeBullet: {
      const AnsiString raw = WideToRawUnicode(level->FormatStringW + u" ");
      if (unicode) {
        textIsUnicode = true;
        return raw;
      }
      // Characters the code page lacks become "*", not "?".
      AnsiString text = RawUnicodeToAnsi(0, raw);
      const WideString wide = level->FormatStringW + u" ";
      if (text.size() == wide.size())
        for (size_t i = 0; i < text.size(); ++i)
          if (text[i] == '?' && wide[i] != u'?') text[i] = '*';
      return text;
    }
    default: {
      AnsiString text = DisplayString;
      if (SameText(LevelFont(*level).Name(), "Symbol")) text = SymbolTextToPlain(text);
      text += ' ';
      if (!unicode) return text;
      textIsUnicode = true;
      return AnsiToRawUnicode(0, text);
    }
  }
}

AnsiString TRPMarkerItemInfo::AsPlainText(int32_t, TCustomRPData* rpData, bool& textIsUnicode) const {
  const IRPStyleSheet* rpStyle = rpData ? rpData->GetRPStyle() : nullptr;
  const TRPListLevel* level = GetLevelInfo(rpStyle);
  return GetPlainText(rpStyle, level && level->ListType == rplstUnicodeBullet, textIsUnicode);
}

// --- Item properties --------------------------------------------------------------------

void TRPMarkerItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(&source)) {
    ListNo = marker->ListNo;
    Level = marker->Level;
    StartFrom = marker->StartFrom;
    Reset = marker->Reset;
    NoHTMLImageSize = marker->NoHTMLImageSize;
  }
  TRPRectItemInfo::CopyPropertiesFrom(source);
}

void TRPMarkerItemInfo::MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) {
  TRPRectItemInfo::MovingToUndoList(itemNo, rpData);
  if (rpData) rpData->RemoveMarkerFromList(*this);
}

void TRPMarkerItemInfo::MovingFromUndoList(int32_t itemNo, TCustomRPData* rpData) {
  if (rpData) rpData->AddMarkerToList(itemNo);
}

void TRPMarkerItemInfo::MarkStylesInUse(TRPStyleUsage& usage) const {
  TRPRectItemInfo::MarkStylesInUse(usage);
  if (ListNo >= 0 && ListNo < usage.ListStyles.Count()) usage.ListStyles.SetItem(ListNo, 1);
}

void TRPMarkerItemInfo::RenumberStyles(const TRPStyleUsage& usage) {
  TRPRectItemInfo::RenumberStyles(usage);
  if (ListNo >= 0 && ListNo < usage.ListStyles.Count()) ListNo = ListNo + 1 - usage.ListStyles[ListNo];
}

bool TRPMarkerItemInfo::SetIntProperty(int32_t code, int32_t value) {
  if (code != rpipNoHTMLImageSize) return TRPRectItemInfo::SetIntProperty(code, value);
  NoHTMLImageSize = value != 0;
  return true;
}

bool TRPMarkerItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  if (code != rpipNoHTMLImageSize) return TRPRectItemInfo::GetIntProperty(code, value);
  value = NoHTMLImageSize ? 1 : 0;
  return true;
}

int32_t TRPMarkerItemInfo::GetRPFPropertyCount() const {
  return TRPRectItemInfo::GetRPFPropertyCount() + (NoHTMLImageSize ? 1 : 0);
}

void TRPMarkerItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPRectItemInfo::SaveRPFProperties(stream);
  if (NoHTMLImageSize) WriteRPFIntPropertyLine(stream, rpipNoHTMLImageSize, 1);
}

void TRPMarkerItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const {
  s = std::to_string(ListNo) + " " + std::to_string(Level) + " " + std::to_string(StartFrom) + " " +
      (Reset ? "1" : "0");
}
