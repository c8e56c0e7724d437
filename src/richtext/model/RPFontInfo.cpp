#include "richtext/model/RPFontInfo.h"

#include <utility>

#include "platform/base/TextUtils.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleSimilarity.h"

namespace {
TRPSpecialCharacters VisibleSpecialCharacters = TRPSpecialCharacters::All();
}  // namespace

TRPSpecialCharacters GetRPVisibleSpecialCharacters() { return VisibleSpecialCharacters; }
void SetRPVisibleSpecialCharacters(TRPSpecialCharacters value) { VisibleSpecialCharacters = value; }

TCustomRPFontInfo::TCustomRPFontInfo(TCollection* collection) : TCustomRPInfo(collection) { StyleName = "Font Style"; }

int32_t TCustomRPFontInfo::CollectionPixelsPerInch() const {
  const auto* infos = dynamic_cast<const TFontInfos*>(Collection());
  return infos ? infos->PixelsPerInch : 0;
}

void TCustomRPFontInfo::Assign(const TPersistent& source) {
  if (const auto* f = dynamic_cast<const TCustomRPFontInfo*>(&source)) {
    Charset = f->Charset;
    FontName = f->FontName;
    Size = f->Size;
    Style = f->Style;
    VShift = f->VShift;
    Color = f->Color;
    BackColor = f->BackColor;
    HoverBackColor = f->HoverBackColor;
    HoverColor = f->HoverColor;
    StyleEx = f->StyleEx;
    Jump = f->Jump;
    JumpCursor = f->JumpCursor;
    CharScale = f->CharScale;
    CharSpacing = f->CharSpacing;
    BiDiMode = f->BiDiMode;
    Protection = f->Protection;
    Options = f->Options;
    TCustomRPInfo::Assign(source);
    return;
  }
  TCustomRPInfo::Assign(source);
}

void TCustomRPFontInfo::AssignValidProperties(const TCustomRPFontInfo& s, TRPFontInfoProperties valid) {
  auto has = [valid](TRPFontInfoProperty p) { return valid.Contains(p); };
  if (has(rpfiFontName)) FontName = s.FontName;
  if (has(rpfiSize)) Size = s.Size;
  if (has(rpfiCharset)) Charset = s.Charset;
  const std::pair<TRPFontInfoProperty, TFontStyle> styles[] = {
      {rpfiBold, fsBold}, {rpfiItalic, fsItalic}, {rpfiUnderline, fsUnderline}, {rpfiStrikeout, fsStrikeOut}};
  for (const auto& [property, style] : styles)
    if (has(property)) Style = s.Style.Contains(style) ? Style + TFontStyles{style} : Style - TFontStyles{style};
  if (has(rpfiOverline)) StyleEx.Set(rpfsOverline, s.StyleEx.Contains(rpfsOverline));
  if (has(rpfiAllCaps)) StyleEx.Set(rpfsAllCaps, s.StyleEx.Contains(rpfsAllCaps));
  if (has(rpfiVShift)) VShift = s.VShift;
  if (has(rpfiColor)) Color = s.Color;
  if (has(rpfiBackColor)) BackColor = s.BackColor;
  if (has(rpfiJump)) Jump = s.Jump;
  if (has(rpfiHoverBackColor)) HoverBackColor = s.HoverBackColor;
  if (has(rpfiHoverColor)) HoverColor = s.HoverColor;
  if (has(rpfiJumpCursor)) JumpCursor = s.JumpCursor;
  if (has(rpfiProtection)) Protection = s.Protection;
  if (has(rpfiCharScale)) CharScale = s.CharScale;
  if (has(rpfiBiDiMode)) BiDiMode = s.BiDiMode;
  if (has(rpfiCharSpacing)) CharSpacing = s.CharSpacing;
  if (has(rpfiHTMLCode)) Options.Set(rpteoHTMLCode, s.Options.Contains(rpteoHTMLCode));
  if (has(rpfiRTFCode)) Options.Set(rpteoRTFCode, s.Options.Contains(rpteoRTFCode));
}

std::unique_ptr<TCustomRPInfo> TCustomRPFontInfo::CloneDetached() const {
  auto copy = std::make_unique<TCustomRPFontInfo>(nullptr);
  copy->Assign(*this);
  return copy;
}

void TCustomRPFontInfo::AssignFont(const TFont& font) {
  FontName = font.Name();
  Size = font.Size();
  Color = font.Color();
  Style = font.Style();
  Charset = font.Charset();
}

void TCustomRPFontInfo::AssignToFont(TFont& font) const {
  font.SetName(FontName);
  font.SetSize(Size);
  font.SetColor(Color);
  font.SetStyle(Style);
  font.SetCharset(Charset);
}

bool TCustomRPFontInfo::IsEqual(const TCustomRPFontInfo& v, TRPFontInfoProperties ignore) const {
  auto differs = [&](TRPFontInfoProperty p, bool different) { return different && !ignore.Contains(p); };
  auto styleDiffers = [&](TRPFontInfoProperty p, TFontStyle s) {
    return differs(p, Style.Contains(s) != v.Style.Contains(s));
  };
  if (differs(rpfiSize, Size != v.Size) || differs(rpfiCharset, Charset != v.Charset) ||
      styleDiffers(rpfiBold, fsBold) || styleDiffers(rpfiItalic, fsItalic) ||
      styleDiffers(rpfiUnderline, fsUnderline) || styleDiffers(rpfiStrikeout, fsStrikeOut) ||
      differs(rpfiOverline, StyleEx.Contains(rpfsOverline) != v.StyleEx.Contains(rpfsOverline)) ||
      differs(rpfiAllCaps, StyleEx.Contains(rpfsAllCaps) != v.StyleEx.Contains(rpfsAllCaps)) ||
      differs(rpfiFontName, !AnsiSameText(FontName, v.FontName)) || differs(rpfiVShift, VShift != v.VShift) ||
      differs(rpfiColor, Color != v.Color) || differs(rpfiBackColor, BackColor != v.BackColor) ||
      differs(rpfiJump, Jump != v.Jump))
    return false;
  if (Jump && (differs(rpfiHoverColor, HoverColor != v.HoverColor) ||
               differs(rpfiHoverBackColor, HoverBackColor != v.HoverBackColor) ||
               differs(rpfiJumpCursor, JumpCursor != v.JumpCursor)))
    return false;
  return !(differs(rpfiProtection, Protection != v.Protection) ||
           differs(rpfiRTFCode, Options.Contains(rpteoRTFCode) != v.Options.Contains(rpteoRTFCode)) ||
           differs(rpfiHTMLCode, Options.Contains(rpteoHTMLCode) != v.Options.Contains(rpteoHTMLCode)) ||
           differs(rpfiCharScale, CharScale != v.CharScale) || differs(rpfiCharSpacing, CharSpacing != v.CharSpacing) ||
           differs(rpfiBiDiMode, BiDiMode != v.BiDiMode) || differs(rpfiBaseStyleNo, BaseStyleNo != v.BaseStyleNo));
}

bool TCustomRPFontInfo::IsSimpleEqual(const TCustomRPInfo& value, bool, bool) const {
  const auto* v = dynamic_cast<const TCustomRPFontInfo*>(&value);
  if (!v) return false;
  if (Size != v->Size || Charset != v->Charset || Style != v->Style || StyleEx != v->StyleEx ||
      !AnsiSameText(FontName, v->FontName) || VShift != v->VShift || Color != v->Color || BackColor != v->BackColor ||
      Jump != v->Jump)
    return false;
  if (Jump && (HoverColor != v->HoverColor || HoverBackColor != v->HoverBackColor || JumpCursor != v->JumpCursor))
    return false;
  return Protection == v->Protection && Options == v->Options && CharScale == v->CharScale &&
         CharSpacing == v->CharSpacing && BiDiMode == v->BiDiMode;
}

bool TCustomRPFontInfo::IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList&) const {
  return IsSimpleEqual(value, true, false);
}

int32_t TCustomRPFontInfo::SimilarityValue(const TCustomRPInfo& value) const {
  const auto* v = dynamic_cast<const TCustomRPFontInfo*>(&value);
  if (!v) return 0;
  int32_t score =
      RateIntSimilarity(v->Size, Size, 10000) + RateIntSimilarity(v->VShift, VShift, 1000) +
      RateIntSimilarity(v->CharScale, CharScale, 300) + RateIntSimilarity(v->CharSpacing, CharSpacing, 1000) +
      RateColorSimilarity(v->Color, Color, 3333, 3000) + RateColorSimilarity(v->BackColor, BackColor, 10000, 50000);
  if (BiDiMode == v->BiDiMode) score += 10000;
  if (AnsiSameText(FontName, v->FontName)) score += 10000;
  for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
    if (Style.Contains(s) == v->Style.Contains(s)) score += 50000;
  for (TRPFontStyle s : {rpfsOverline, rpfsAllCaps})
    if (StyleEx.Contains(s) == v->StyleEx.Contains(s)) score += 50000;
  const bool plain = Style.Empty() && StyleEx.Empty(), otherPlain = v->Style.Empty() && v->StyleEx.Empty();
  if (plain == otherPlain) score += 50000;
  if (Jump && v->Jump) {
    if (JumpCursor == v->JumpCursor) score += 5000;
    score += RateColorSimilarity(v->HoverColor, HoverColor, 3333, 3000) / 2 +
             RateColorSimilarity(v->HoverBackColor, HoverBackColor, 10000, 50000) / 2;
  }
  if (Protection != v->Protection) score -= 100000;
  if (Options.Contains(rpteoHTMLCode) == v->Options.Contains(rpteoHTMLCode)) score += 50000;
  if (Options.Contains(rpteoRTFCode) == v->Options.Contains(rpteoRTFCode)) score += 50000;
  if (Charset == v->Charset)
    score += 50000;
  else if (Charset == DEFAULT_CHARSET || v->Charset == DEFAULT_CHARSET)
    score += 12500;
  return score;
}

void TFontInfo::Assign(const TPersistent& source) {
  TCustomRPFontInfo::Assign(source);
  if (const auto* f = dynamic_cast<const TFontInfo*>(&source)) {
    NextStyleNo = f->NextStyleNo;
    Unicode = f->Unicode;
    ModifiedProperties = f->ModifiedProperties;
  }
}

std::unique_ptr<TCustomRPInfo> TFontInfo::CloneDetached() const {
  auto copy = std::make_unique<TFontInfo>(nullptr);
  copy->Assign(*this);
  return copy;
}

bool TFontInfo::IsEqual(const TCustomRPFontInfo& value, TRPFontInfoProperties ignore) const {
  if (!TCustomRPFontInfo::IsEqual(value, ignore)) return false;
  const auto* v = dynamic_cast<const TFontInfo*>(&value);
  if (!v) return true;
  return !(Unicode != v->Unicode && !ignore.Contains(rpfiUnicode)) &&
         !(NextStyleNo != v->NextStyleNo && !ignore.Contains(rpfiNextStyleNo)) &&
         StyleTemplateId == v->StyleTemplateId && ModifiedProperties == v->ModifiedProperties;
}

bool TFontInfo::IsSimpleEqual(const TCustomRPInfo& value, bool ignoreReferences, bool ignoreId) const {
  if (!TCustomRPFontInfo::IsSimpleEqual(value, ignoreReferences, ignoreId)) return false;
  const auto* v = dynamic_cast<const TFontInfo*>(&value);
  if (!v) return true;
  return Unicode == v->Unicode && ModifiedProperties == v->ModifiedProperties &&
         StyleTemplateId == v->StyleTemplateId && (ignoreReferences || NextStyleNo == v->NextStyleNo);
}

bool TFontInfo::IsSimpleEqualEx(TCustomRPInfo& value, const TRPIntegerList& map) const {
  if (!IsSimpleEqual(value, true, false)) return false;
  auto* v = dynamic_cast<TFontInfo*>(&value);
  return !v || MappedReferenceMatches(v->NextStyleNo, NextStyleNo, map);
}

void TFontInfo::MapMergedReferences(const TRPIntegerList& map, const TRPIntegerList* textStyleMap) {
  TCustomRPFontInfo::MapMergedReferences(map, textStyleMap);
  MapReference(NextStyleNo, &map);
}
