#include "richtext/model/RPStyle.h"

#include "platform/base/Cursors.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/PenBrush.h"
#include "richtext/model/RPGraphicHelpers.h"

namespace {

// The cursors a style sheet names, registered with the screen: the hyperlink cursor is
// the platform's hand (the program's own "RP_JUMP_CURSOR" where the platform has none),
// the line-selection cursor the program's "RP_FLIPARROW_CURSOR". A program without the
// resources keeps the arrow for them.
void RegisterStyleCursors() {
  TScreenCursor cursor;
  if (LoadSystemCursor(IDC_HAND, cursor) || LoadCursorResource(u"RP_JUMP_CURSOR", cursor))
    SetScreenCursor(static_cast<TCursor>(crJump), cursor);
  if (LoadCursorResource(u"RP_FLIPARROW_CURSOR", cursor)) SetScreenCursor(static_cast<TCursor>(crLineSelect), cursor);
}

template <typename TClass>
TCollectionItemClass CollectionClass(TClass itemClass) {
  return [itemClass](TCollection& collection) -> TCollectionItem* {
    // The style joined the collection, which frees it from now on.
    return itemClass(&collection).release();
  };
}

// baseStyle when style equals it (its fallback when out of range), else the first other
// equal style; the comparison always runs on the wanted style.
template <typename TInfos, typename TInfo, typename TProps>
int32_t FindMatching(const TInfos& infos, int32_t baseStyle, const TInfo& style, TProps ignore) {
  if (style.IsEqual(*infos.GetItem(baseStyle), ignore)) return baseStyle;
  for (int32_t i = 0; i < infos.Count(); ++i)
    if (i != baseStyle && style.IsEqual(*infos.GetItem(i), ignore)) return i;
  return -1;
}

// The fallback style of a collection: made once, of the collection's class, as a copy of
// style 0 (when there is one), then marked.
template <typename TInfo, typename TClass, typename TMark>
TInfo* Fallback(const TCollection& infos, std::unique_ptr<TInfo>& fallback, TClass itemClass, TMark mark) {
  if (!fallback) {
    fallback = itemClass(nullptr);
    if (infos.Count() > 0) fallback->Assign(*infos.Items(0));
    mark(*fallback);
  }
  return fallback.get();
}

}  // namespace

// --- Text styles ----------------------------------------------------------------------

TFontInfos::TFontInfos(TPersistent* owner, TRPFontInfoClass itemClass)
    : TCustomRPInfos(owner, CollectionClass(itemClass)), FItemClass(itemClass) {}

TFontInfos::~TFontInfos() = default;

TFontInfo* TFontInfos::GetItem(int32_t index) const {
  return index < 0 || index >= Count() ? GetInvalidItem() : static_cast<TFontInfo*>(Items(index));
}

TFontInfo* TFontInfos::GetInvalidItem() const {
  return Fallback(*this, FInvalidItem, FItemClass, [](TFontInfo& f) {
    f.BackColor = clRed;
    f.Color = clWhite;
  });
}

int32_t TFontInfos::FindMatchingStyle(int32_t baseStyle, const TFontInfo& style, TRPFontInfoProperties mask) const {
  return FindMatching(*this, baseStyle, style, RPAllFontInfoProperties - mask);
}

int32_t TFontInfos::FindStyleWithCharset(int32_t baseStyle, uint8_t charset) const {
  const TFontInfo& base = *GetItem(baseStyle);
  if (base.Charset == charset && !base.Unicode) return baseStyle;
  for (int32_t i = 0; i < Count(); ++i) {
    const TFontInfo& item = *GetItem(i);
    if (i != baseStyle && item.Charset == charset && !item.Unicode && item.IsEqual(base, {rpfiCharset, rpfiUnicode}))
      return i;
  }
  return -1;
}

int32_t TFontInfos::FindClosestStyle(const TCustomRPInfo& s) const {
  using TTest = bool (*)(const TCustomRPInfo&, const TCustomRPInfo&);
  const TTest groups[] = {
      [](const TCustomRPInfo& a, const TCustomRPInfo& b) {
        const auto &fa = static_cast<const TFontInfo&>(a), &fb = static_cast<const TFontInfo&>(b);
        return fa.Jump == fb.Jump && fa.Unicode == fb.Unicode;
      },
      [](const TCustomRPInfo& a, const TCustomRPInfo& b) {
        return static_cast<const TFontInfo&>(a).Jump == static_cast<const TFontInfo&>(b).Jump;
      },
      [](const TCustomRPInfo& a, const TCustomRPInfo& b) {
        return static_cast<const TFontInfo&>(a).Unicode == static_cast<const TFontInfo&>(b).Unicode;
      },
  };
  for (TTest group : groups)
    if (const int32_t best = BestScored(s, group); best >= 0) return best;
  return BestScored(s, nullptr);
}

// --- Paragraph styles -----------------------------------------------------------------

TParaInfos::TParaInfos(TPersistent* owner, TRPParaInfoClass itemClass)
    : TCustomRPInfos(owner, CollectionClass(itemClass)), FItemClass(itemClass) {}

TParaInfos::~TParaInfos() = default;

TParaInfo* TParaInfos::GetItem(int32_t index) const {
  return index < 0 || index >= Count() ? GetInvalidItem() : static_cast<TParaInfo*>(Items(index));
}

TParaInfo* TParaInfos::GetInvalidItem() const {
  return Fallback(*this, FInvalidItem, FItemClass, [](TParaInfo& p) {
    p.SpaceBefore = p.SpaceAfter = p.LeftIndent = p.RightIndent = 1;
    p.Border.Style = rpbSingle;
    p.Border.Color = clRed;
    p.Border.Width = 2;
    p.Border.BorderOffsets.SetAll(1);
  });
}

int32_t TParaInfos::FindMatchingStyle(int32_t baseStyle, const TParaInfo& style, TRPParaInfoProperties mask) const {
  return FindMatching(*this, baseStyle, style, RPAllParaInfoProperties - mask);
}

// --- Style sheet ----------------------------------------------------------------------

TRPStyle::TRPStyle(TComponent* owner, TRPFontInfoClass textStyleClass, TRPParaInfoClass paraStyleClass,
                   TRPListInfoClass listStyleClass)
    : TComponent(owner),
      FTextStyleClass(textStyleClass),
      FParaStyleClass(paraStyleClass),
      FListStyleClass(listStyleClass) {
  RegisterStyleCursors();
  FTextStyles = std::make_unique<TFontInfos>(this, textStyleClass);
  FParaStyles = std::make_unique<TParaInfos>(this, paraStyleClass);
  FListStyles = std::make_unique<TRPListInfos>(this, listStyleClass);
  FStyleTemplates = std::make_unique<TRPStyleTemplateCollection>(this);
  ResetParaStyles();
  ResetTextStyles();
}

TRPStyle::~TRPStyle() = default;

void TRPStyle::Loaded() {
  TComponent::Loaded();
  StyleTemplates().UpdateParentReferences();
}

const TGraphic* TRPStyle::GetInvalidPicture() const {
  if (!FInvalidPicture) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(u"RP_BAD_PICTURE");
    FInvalidPicture = std::move(bitmap);
  }
  return FInvalidPicture.get();
}

void TRPStyle::SetInvalidPicture(const TGraphic* picture) {
  if (!picture) {
    FInvalidPicture.reset();
    return;
  }
  std::unique_ptr<TGraphic> copy = RPCreateGraphic(picture->ClassType());
  copy->Assign(picture);
  FInvalidPicture = std::move(copy);
}

void TRPStyle::ResetParaStyles() {
  ParaStyles().Clear();
  ParaStyles().Add();
  TParaInfo& centered = *ParaStyles().Add();
  centered.StyleName = "Centered";
  centered.Alignment = rpaCenter;
}

void TRPStyle::ResetTextStyles() {
  TextStyles().Clear();
  const struct {
    const char* Name;
    TFontStyles Style;
    TColor Color;
    bool Jump;
  } standard[] = {
      {"Normal text", {}, clWindowText, false}, {"Heading", {fsBold}, clBlue, false},
      {"Subheading", {fsBold}, clNavy, false},  {"Keywords", {fsItalic}, clMaroon, false},
      {"Jump 1", {fsUnderline}, clGreen, true}, {"Jump 2", {fsUnderline}, clGreen, true},
  };
  for (const auto& s : standard) {
    TFontInfo& style = *TextStyles().Add();
    style.StyleName = s.Name;
    style.Style = s.Style;
    style.Color = s.Color;
    if (s.Jump) {
      style.Jump = true;
      style.JumpCursor = JumpCursor;
    }
  }
}

void TRPStyle::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  // The component is partly destroyed by now: it is found by its address.
  if (operation == opRemove) ListStyles().RemoveImageList(component);
}

bool TRPStyle::IsTextStyleMergeProtected(int32_t styleNo) const {
  const TRPProtectOptions protection = TextStyles()[styleNo]->Protection;
  return protection.Contains(rpprModifyProtect) || protection.Contains(rpprConcateProtect);
}

bool TRPStyle::IsTextStyleHTMLWritable(int32_t styleNo) const {
  const TRPTextOptions options = TextStyles()[styleNo]->Options;
  return !(options.Contains(rpteoRTFCode) && !options.Contains(rpteoHTMLCode));
}

void TRPStyle::ApplyStyle(TCanvas& canvas, int32_t styleNo, TRPBiDiMode defBiDiMode, bool useCollectionPixelsPerInch) {
  bool doDefault = true;
  if (OnApplyStyle) OnApplyStyle(this, canvas, styleNo, doDefault);
  if (doDefault) TextStyles()[styleNo]->Apply(canvas, defBiDiMode, useCollectionPixelsPerInch);
}

void TRPStyle::ApplyStyleColor(TCanvas& canvas, int32_t styleNo, TRPTextDrawStates drawState, bool printing,
                               TRPColorMode colorMode) {
  bool doDefault = true;
  if (OnApplyStyleColor) OnApplyStyleColor(this, canvas, styleNo, drawState, doDefault);
  if (doDefault) TextStyles()[styleNo]->ApplyColor(canvas, *this, drawState, printing, colorMode);
}

void TRPStyle::DrawStyleText(const AnsiString& text, TCanvas& canvas, int32_t itemNo, int32_t offsetInItem,
                             int32_t styleNo, TCustomRPData* rpData, int32_t spaceBefore, int32_t left, int32_t top,
                             int32_t width, int32_t height, TRPTextDrawStates drawState, bool printing,
                             bool previewCorrection, TRPColorMode colorMode, TRPBiDiMode defBiDiMode) {
  bool doDefault = true;
  if (OnDrawStyleText) {
    ItemNo = itemNo;
    OffsetInItem = offsetInItem;
    RPData = rpData;
    OnDrawStyleText(this, text, canvas, styleNo, spaceBefore, left, top, width, height, drawState, doDefault);
  }
  if (!doDefault) return;
  const TFontInfo& style = *TextStyles()[styleNo];
  style.DrawStyleText(text, style.Unicode, canvas, styleNo, spaceBefore, left, top, width, height, *this, drawState,
                      printing, previewCorrection, colorMode, defBiDiMode);
}

TColor TRPStyle::GetHoverColor(int32_t styleNo) const {
  return GetHoverColorByColor(TextStyles()[styleNo]->HoverColor);
}

bool TRPStyle::IsHoverSensitive(int32_t styleNo) const {
  const TFontInfo& style = *TextStyles()[styleNo];
  bool sensitive = !(GetHoverColor(styleNo) == clNone && style.HoverBackColor == style.BackColor);
  if (OnStyleHoverSensitive) OnStyleHoverSensitive(this, styleNo, sensitive);
  return sensitive;
}

void TRPStyle::DrawTextBack(TCanvas& canvas, int32_t itemNo, int32_t styleNo, TCustomRPData* rpData, int32_t left,
                            int32_t top, int32_t width, int32_t height, TRPTextDrawStates drawState) {
  if (!OnDrawTextBack) return;
  ItemNo = itemNo;
  RPData = rpData;
  bool doDefault = true;
  OnDrawTextBack(this, canvas, styleNo, left, top, width, height, drawState, doDefault);
}

void TRPStyle::DrawCheckpoint(TCanvas& canvas, int32_t x, int32_t y, int32_t left, int32_t width, TCustomRPData* rpData,
                              int32_t itemNo, int32_t xShift, bool raiseEvent, TObject* control) {
  bool doDefault = true;
  if (OnDrawCheckpoint) {
    ItemNo = itemNo;
    RPData = rpData;
    OnDrawCheckpoint(this, canvas, x, y, itemNo, xShift, raiseEvent, control, doDefault);
  }
  if (doDefault) {
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(raiseEvent ? CheckpointEvColor : CheckpointColor);
    canvas.Brush().SetStyle(bsClear);
    if (itemNo != -1) {
      canvas.Pen().SetStyle(psSolid);
      canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
    }
    canvas.Pen().SetStyle(psDot);
    canvas.MoveTo(left - xShift, y);
    canvas.LineTo(left + width - xShift, y);
  }
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
}

void TRPStyle::DrawPageBreak(TCanvas& canvas, int32_t y, int32_t xShift, TRPPageBreakType pageBreakType,
                             TObject* control, int32_t clientWidth) {
  bool doDefault = true;
  if (OnDrawPageBreak) OnDrawPageBreak(this, canvas, y, xShift, pageBreakType, control, doDefault);
  if (doDefault) {
    canvas.Pen().SetColor(pageBreakType == rppbPageBreak ? PageBreakColor : SoftPageBreakColor);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(psSolid);
    const int32_t w = clientWidth;
    canvas.Brush().SetColor(clWindow);
    canvas.Brush().SetStyle(bsSolid);
    canvas.MoveTo(-xShift, y);
    canvas.LineTo(w - xShift - 8, y);
    const TPoint triangle[] = {{w - xShift - 8, y}, {w - xShift, y + 8}, {w - xShift - 8, y + 8}};
    canvas.Polygon(triangle);
  }
  canvas.Pen().SetStyle(psSolid);
  canvas.Brush().SetStyle(bsClear);
}

void TRPStyle::DrawParaBack(TCanvas& canvas, int32_t paraNo, const TRect& rect, bool printing, TRPColorMode colorMode) {
  bool doDefault = true;
  if (OnDrawParaBack) OnDrawParaBack(this, canvas, paraNo, rect, doDefault);
  if (doDefault) ParaStyles()[paraNo]->Background.Draw(rect, canvas, printing, colorMode);
}

void TRPStyle::GetNextTab(int32_t paraNo, int32_t x, const TRPResolution& resolution, int32_t& position,
                          AnsiString& leader, TRPTabAlign& align, TRPBiDiMode defBiDiMode, int32_t posA,
                          int32_t posB) const {
  const TParaInfo& para = *ParaStyles()[paraNo];
  const TRPBiDiMode biDi = defBiDiMode == rpbdUnspecified ? para.BiDiMode : defBiDiMode;
  const bool rightToLeft = biDi == rpbdRightToLeft;
  const int32_t margin = resolution.LeftMargin;
  x -= margin;
  int32_t limit = posA;
  if (rightToLeft) {
    x += posB - posA;
    limit = posB;
  }
  auto stopAt = [&](int32_t at, TRPTabAlign tabAlign, const AnsiString& tabLeader) {
    position = at + margin;
    align = tabAlign;
    leader = tabLeader;
    if (rightToLeft) position = posA + position - posB;
  };
  int32_t lastTab = 0;
  for (int32_t i = 0; i < para.Tabs.Count(); ++i) {
    const TRPTabInfo& tab = *para.Tabs.Tab(i);
    const int32_t t = ScreenToDeviceX(tab.Position(), resolution);
    lastTab = t;
    if (x < limit && limit < t) return stopAt(limit, rptaLeft, {});
    if (x < t) return stopAt(t, tab.Align, tab.Leader);
  }
  if (x < limit && (para.Tabs.Count() == 0 || lastTab < limit)) return stopAt(limit, rptaLeft, {});
  const int32_t w = ScreenToDeviceX(DefTabWidth <= 0 ? 1 : DefTabWidth, resolution);
  position = w * ((x + w) / w) + margin;
  align = rptaLeft;
  leader.clear();
  if (rightToLeft) position = posA + position - posB;
}
