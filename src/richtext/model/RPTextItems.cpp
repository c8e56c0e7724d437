#include "richtext/model/RPTextItems.h"

#include <algorithm>
#include <cmath>

#include "platform/base/Numbers.h"
#include "platform/graphics/PenBrush.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/model/RPUnicode.h"

namespace {
// Whether stored UTF-16 holds a code unit that ends a raw UTF-16 line: U+2029 or U+0000.
bool HoldsUnicodeLineEnd(AnsiStringView raw) {
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    const auto unit = static_cast<uint16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
    if (unit == 0x2029 || unit == 0) return true;
  }
  return false;
}

bool RestIsEmpty(AnsiStringView rest) { return rest.empty() || rest[0] == '\0' || rest[0] == '\r' || rest[0] == '\n'; }

void MarkTextStyle(TRPStyleUsage& usage, int32_t styleNo) {
  if (styleNo >= 0 && styleNo != rpDefaultTextStyle && styleNo < usage.TextStyles.Count())
    usage.TextStyles.SetItem(styleNo, 1);
}

void RenumberTextStyle(const TRPStyleUsage& usage, int32_t& styleNo) {
  if (styleNo >= 0 && styleNo != rpDefaultTextStyle && styleNo < usage.TextStyles.Count())
    styleNo = styleNo + 1 - usage.TextStyles[styleNo];
}
}  // namespace

const TRPItemClassInfo TRPTextItemInfo::ClassInfo{"TRPTextItemInfo", &CreateRPItem<TRPTextItemInfo>};
const TRPItemClassInfo TRPBreakItemInfo::ClassInfo{"TRPBreakItemInfo", &CreateRPItem<TRPBreakItemInfo>};
const TRPItemClassInfo TRPTabItemInfo::ClassInfo{"TRPTabItemInfo", &CreateRPItem<TRPTabItemInfo>};

void RegisterTextItemClasses() {
  SetTextItemClass(&TRPTextItemInfo::ClassInfo);
  SetBuiltInItemClass(rpkindBreak, &TRPBreakItemInfo::ClassInfo);
  SetBuiltInItemClass(rpkindTab, &TRPTabItemInfo::ClassInfo);
}

// --- Text ---------------------------------------------------------------------------------

bool TRPTextItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  switch (query) {
    case rpibqxJump:
    case rpibqxFocusable:
    case rpibqxJumpCursor:
      return rpStyle && rpStyle->IsTextStyleJump(ResolveStyleNo(rpStyle));
    case rpibqxHoverRepaint: {
      if (!rpStyle) return false;
      const int32_t styleNo = ResolveStyleNo(rpStyle);
      return rpStyle->IsTextStyleJump(styleNo) && rpStyle->IsTextStyleHoverSensitive(styleNo);
    }
    default:
      return TCustomRPItemInfo::GetBoolValueEx(query, rpStyle);
  }
}

void TRPTextItemInfo::ExecuteJump(TCustomRPData* rpData) {
  if (rpData && GetBoolValueEx(rpibqxJump, rpData->GetRPStyle())) rpData->ExecuteItemJump(JumpID);
}

void TRPTextItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const {
  s.clear();
  if (Hint.empty()) return;
  s = "\"";
  for (char c : Hint) {
    if (c == '"') s += '"';
    s += c;
  }
  s += '"';
}

bool TRPTextItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming&) {
  AnsiStringView at = rest;
  RPFSkipBlanks(at);
  if (RestIsEmpty(at)) return true;
  AnsiString hint;
  if (!RPFReadQuotedString(at, hint)) return false;
  Hint = std::move(hint);
  rest = at;
  return true;
}

TRPFBodyMode RPFTextRecordMode(AnsiStringView text, bool unicode, uint32_t rpfOptions) {
  // Text that would end its own line (CR, LF or NUL bytes; U+2029 or U+0000 in raw
  // UTF-16) goes in hexadecimal digits, which the reader decodes whatever the text's form.
  const bool hex =
      (unicode && !(rpfOptions & rpfoSaveBinary)) ||
      (unicode ? HoldsUnicodeLineEnd(text) : text.find_first_of(AnsiStringView("\r\n\0", 3)) != AnsiString::npos);
  return hex ? rpfbmHexText : rpfbmHex;
}

void RPFWriteTextRecordLine(TStream& stream, AnsiStringView text, bool unicode, TRPFBodyMode mode) {
  const bool hex = mode == rpfbmHexText;
  if (hex && !unicode)
    RPFWriteLine(stream, RPFStrToHex(text));
  else
    RPFWriteTextLine(stream, text, unicode, hex);
}

void TRPTextItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo,
                              const AnsiString& name, const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  const bool unicode = IsUnicode();
  const TRPFBodyMode mode = RPFTextRecordMode(name, unicode, streaming.Options());
  const int32_t options = SetContinuesLineInOptions(ItemOptions, forceSameAsPrev) & rpioStoredMask;
  AnsiString extra;
  GetRPFHeaderExtra(nullptr, extra);
  RPFWriteLine(stream, streaming.TextStyleNoText(StyleNo) + " 1 " + streaming.ParaNoText(paraNo, forceSameAsPrev) +
                           " " + std::to_string(options) + " " + std::to_string(static_cast<int32_t>(mode)) + " " +
                           streaming.TagText(Tag) + (extra.empty() ? AnsiString() : " " + extra));
  RPFWriteTextRecordLine(stream, name, unicode, mode);
}

bool TRPTextItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming&, TRPFBodyMode readType, int32_t lineNo,
                                  int32_t lineCount, AnsiString& name, TRPFLineMode& readMode,
                                  TRPFReadState& readState) {
  readMode = rpflmText;
  AnsiString text;
  if (readType == rpfbmHexText) {
    TMemoryStream bytes;
    if (!RPFHexToStream(s, bytes)) return false;
    text.assign(static_cast<const char*>(bytes.Memory()), static_cast<size_t>(bytes.Size()));
  } else {
    text = s;
  }
  // Stored UTF-16 is two bytes per character: an odd length is no such text.
  if (IsUnicode() && text.size() % 2 != 0) return false;
  name = std::move(text);
  if (lineNo + 1 >= lineCount) readState = rpfrsItemDone;
  return true;
}

void TRPTextItemInfo::MarkStylesInUse(TRPStyleUsage& usage) const {
  TCustomRPItemInfo::MarkStylesInUse(usage);
  MarkTextStyle(usage, StyleNo);
}

void TRPTextItemInfo::RenumberStyles(const TRPStyleUsage& usage) {
  TCustomRPItemInfo::RenumberStyles(usage);
  RenumberTextStyle(usage, StyleNo);
}

// --- Break ----------------------------------------------------------------------------------

bool TRPBreakItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  return query == rpibqxPrintAsBitmap ? false : TRPFullLineItemInfo::GetBoolValueEx(query, rpStyle);
}

void TRPBreakItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (const auto* b = dynamic_cast<const TRPBreakItemInfo*>(&source)) {
    LineWidth = b->LineWidth;
    Style = b->Style;
    Color = b->Color;
  }
  TRPFullLineItemInfo::CopyPropertiesFrom(source);
}

TColor TRPBreakItemInfo::LineColor(const TRPStyle& rpStyle) const {
  return Color == clNone ? rpStyle.TextStyles()[0]->Color : Color;
}

void DrawFrame3D(TCanvas& canvas, TRect rect, TColor topLeft, int32_t n, TColor bottomRight) {
  n = std::max(n, 1);
  for (int32_t i = 0; i < n; ++i) {
    canvas.Pen().SetColor(topLeft);
    const TPoint upper[] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
    canvas.Polyline(upper);
    if (rect.Bottom - rect.Top >= n) {
      canvas.Pen().SetColor(bottomRight);
      const TPoint lower[] = {{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
      canvas.Polyline(lower);
      rect = TRect{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    } else {
      rect.Top += 1;
      rect.Bottom -= 1;
    }
  }
}

// One line of the break's style between x1 and x2 with its top at top and width w;
// framePen is the rectangle's pen width and frameLines the 3D frame's ring count.
void TRPBreakItemInfo::DrawLine(TCanvas& canvas, int32_t x1, int32_t x2, int32_t top, int32_t w, TColor color,
                                int32_t framePen, TColor shadow, TColor face, int32_t frameLines) const {
  TPen& pen = canvas.Pen();
  TBrush& brush = canvas.Brush();
  pen.SetColor(color);
  pen.SetStyle(psInsideFrame);
  switch (Style) {
    case rpbrLine:
      pen.SetWidth(w);
      canvas.MoveTo(x1, top + w / 2);
      canvas.LineTo(x2, top + w / 2);
      break;
    case rpbrRectangle:
      pen.SetWidth(framePen);
      canvas.Rectangle(x1, top, x2, top + w);
      break;
    case rpbr3D:
      pen.SetWidth(1);
      DrawFrame3D(canvas, TRect{x1, top, x2 - 1, top + w - 1}, shadow, frameLines, face);
      break;
    case rpbrDotted:
      brush.SetColor(color);
      brush.SetStyle(bsSolid);
      pen.SetStyle(psClear);
      for (int32_t x = x1; x + w < x2; x += 2 * w) {
        if (w > 2)
          canvas.Ellipse(x, top, x + w + 1, top + w + 1);
        else
          canvas.FillRect(TRect{x, top, x + w, top + w});
      }
      break;
    case rpbrDashed:
      brush.SetColor(color);
      brush.SetStyle(bsSolid);
      pen.SetStyle(psClear);
      for (int32_t x = x1; x < x2; x += 3 * w) canvas.FillRect(TRect{x, top, std::min(x + 2 * w, x2), top + w});
      break;
  }
  pen.SetStyle(psSolid);
  pen.SetWidth(1);
  brush.SetStyle(bsClear);
}

void TRPBreakItemInfo::PaintFullWidth(int32_t left, int32_t right, int32_t top, TCanvas& canvas, uint32_t drawState,
                                      const TRPStyle& rpStyle) const {
  const int32_t x1 = left + 5, x2 = right - 5, y = top + 5, w = LineWidth;
  const int32_t lineTop = y - w / 2;
  DrawLine(canvas, x1, x2, lineTop, w, LineColor(rpStyle), 1, clBtnShadow, clBtnFace, 1);
  if (drawState & rpidsSelected) {
    const TColor frame = (drawState & rpidsFocused) ? rpStyle.SelColor : rpStyle.InactiveSelColor;
    if (frame != clNone) {
      canvas.Pen().SetColor(frame);
      canvas.Rectangle(x1, lineTop - 1, x2, lineTop + w + 1);
    }
  }
}

void TRPBreakItemInfo::Print(TCanvas& canvas, int32_t left, int32_t right, int32_t top, const TRPResolution& resolution,
                             TRPColorMode colorMode, const TRPStyle& rpStyle) const {
  const int32_t x1 = left + ScreenToDeviceX(5, resolution), x2 = right - ScreenToDeviceX(5, resolution);
  const int32_t y = top + ScreenToDeviceY(5, resolution), w = ScreenToDeviceY(LineWidth, resolution);
  const auto unitLines =
      static_cast<int32_t>(Round(static_cast<double>(resolution.DevicePpiY) / resolution.ScreenPpiY));
  DrawLine(canvas, x1, x2, y - w / 2, w, ApplyColorModeToTextColor(LineColor(rpStyle), colorMode), unitLines,
           ApplyColorModeToTextColor(clBtnShadow, colorMode), ApplyColorModeToTextColor(clBtnFace, colorMode),
           unitLines);
}

AnsiString TRPBreakItemInfo::AsPlainText(int32_t lineWidth, TCustomRPData*, bool& textIsUnicode) const {
  textIsUnicode = false;
  return AnsiString(static_cast<size_t>(std::max(lineWidth, 1)), LineWidth < 2 ? '-' : '=');
}

void TRPBreakItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString&, int32_t) const {
  RPFWrite(stream, HtmlText(context.Options, context.UseCss, context.Images.CodePage()));
}

AnsiString TRPBreakItemInfo::HtmlText(uint32_t options, bool useCss, uint32_t codePage) const {
  AnsiString hint = MakeHintAttribute(rphkHtml, Hint);
  if (options & rphtmlUtf8) hint = CodePageTextToUtf8(codePage, hint);
  if (!hint.empty()) hint += " ";
  const AnsiString noshade = HtmlBooleanAttribute("noshade", options);
  const AnsiString size = FormatHtmlInt(LineWidth, options);
  const AnsiString end = GetXhtmlEmptyTagEnd(options);
  if (useCss || (options & 0x80)) {
    AnsiString css;
    if (Color != clNone) css = "color : " + ColorToHtmlColor(Color);
    if (Style == rpbrDotted) css = AppendWithSeparator(css, "border-style: dotted", "; ");
    if (Style == rpbrDashed) css = AppendWithSeparator(css, "border-style: dashed", "; ");
    if (!css.empty()) return "<hr " + noshade + " size=" + size + " " + hint + "style=\"" + css + "\"" + end + ">";
  }
  if (Color == clNone) return "<hr " + noshade + " " + hint + "size=" + size + end + ">";
  return "<hr " + noshade + " size=" + size + " " + hint +
         "color=" + ColorToHtmlColor(Color, options & rphtmlQuotedAttributes) + end + ">";
}

void TRPBreakItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  const int32_t nestingLevel = context.NestingLevel;
  AnsiString prefix;
  if (nestingLevel == 1)
    prefix = "\\intbl\\itap1";
  else if (nestingLevel > 1)
    prefix = "\\itap" + std::to_string(nestingLevel);
  const int32_t colorIndex = Color == clNone ? 0 : std::max(context.Colors.IndexOf(Color), 0);
  RPFWrite(stream, "\\pard" + prefix + "\\plain\\fs6\\brdrb\\brdrs\\brdrw" +
                       std::to_string(Round(LineWidth * context.TwipsPerPixel)) + "\\brdrcf" +
                       std::to_string(colorIndex) + "\\par\\pard" + prefix);
}

void TRPBreakItemInfo::FillRTFTables(TRPColorList& colors, TRPIntegerList&, TCustomRPData*) const {
  colors.AddUniqueColor(Color);
}

void TRPBreakItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const {
  s = std::to_string(Color) + " " + std::to_string(Style) + " " + std::to_string(LineWidth);
}

bool TRPBreakItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming&) {
  AnsiStringView blankless = rest;
  RPFSkipBlanks(blankless);
  if (RestIsEmpty(blankless)) {
    Color = clNone;
    Style = rpbrLine;
    LineWidth = 1;
    return true;
  }
  int32_t color = 0, style = 0, width = 0;
  AnsiStringView at = rest;
  const auto number = [&at](int32_t& n) {
    RPFSkipBlanks(at);
    return RPFReadInteger(at, n);
  };
  if (!number(color) || !number(style) || !number(width)) return false;
  rest = at;
  Color = static_cast<TColor>(color);
  Style = static_cast<TRPBreakStyle>(static_cast<uint8_t>(style));
  LineWidth = static_cast<uint8_t>(width);
  return true;
}

void TRPBreakItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo, const AnsiString&,
                               const TRPMultiDrawItemPart*, bool) const {
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount(), paraNo, false, rpfbmHex, streaming);
  SaveRPFProperties(stream);
}

// --- Tab ------------------------------------------------------------------------------------

bool TRPTabItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  return query == rpibqResetsFontCache || query == rpibqTab || query >= rpibqSwitchesTextStyle ||
         TRPRectItemInfo::GetBoolValue(query);
}

bool TRPTabItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  if (query == rpibqxPrintAsBitmap) return false;
  if (query == rpibqxSizeForWidth) return true;
  return TRPRectItemInfo::GetBoolValueEx(query, rpStyle);
}

void TRPTabItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (const auto* t = dynamic_cast<const TRPTabItemInfo*>(&source)) {
    TextStyleNo = t->TextStyleNo;
    Leader = t->Leader;
  }
  TRPRectItemInfo::CopyPropertiesFrom(source);
}

int32_t TRPTabItemInfo::ResolveTextStyleNo(const IRPStyleSheet* rpStyle) const {
  return ::ResolveTextStyleNo(TextStyleNo, ParaNo, rpStyle);
}

void TRPTabItemInfo::UpdateSizeForWidth(TCanvas& canvas, TRPStyle& rpStyle, int32_t& height, int32_t& descent) const {
  rpStyle.ApplyStyle(canvas, ResolveTextStyleNo(&rpStyle), rpbdUnspecified, false);
  TEXTMETRICA metrics;
  GetTextMetricsA(canvas.Handle(), &metrics);
  height = metrics.tmHeight;
  descent = metrics.tmDescent;
}

void DrawTabArrow(TCanvas& canvas, const TRect& rect, bool rightToLeft) {
  const int32_t a = std::clamp(rect.Right - rect.Left, 5, 10);
  canvas.Pen().SetColor(canvas.Font().Color());
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  const int32_t cx = (rect.Left + rect.Right + a) / 2, cy = (rect.Top + rect.Bottom) / 2;
  auto stroke = [&canvas](int32_t x, int32_t y1, int32_t y2) {
    canvas.MoveTo(x, y1);
    canvas.LineTo(x, y2);
  };
  canvas.MoveTo(cx, cy);
  canvas.LineTo(cx - a - 1, cy);
  if (rightToLeft) {
    stroke(cx - a + 1, cy - 1, cy + 2);
    stroke(cx - a + 2, cy - 2, cy + 3);
    stroke(cx - a + 3, cy - 2, cy + 3);
  } else {
    stroke(cx - 1, cy - 1, cy + 2);
    stroke(cx - 2, cy - 2, cy + 3);
    stroke(cx - 3, cy - 2, cy + 3);
  }
}

void TRPTabItemInfo::DrawTab(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TRPStyle& rpStyle,
                             TRPTextDrawStates drawState, bool printing, TRPColorMode colorMode,
                             bool rightToLeft) const {
  const int32_t styleNo = ResolveTextStyleNo(&rpStyle);
  rpStyle.ApplyStyleColor(canvas, styleNo, drawState, printing, colorMode);
  rpStyle.ApplyStyle(canvas, styleNo, rpbdUnspecified, false);
  if (canvas.Brush().Style() != bsClear) canvas.FillRect(TRect{x, y, x + width, y + height});
  OUTLINETEXTMETRICA outline;
  if (canvas.Font().Style().Contains(fsUnderline) &&
      GetOutlineTextMetricsA(canvas.Handle(), sizeof outline, &outline) != 0) {
    canvas.Pen().SetColor(canvas.Font().Color());
    canvas.Pen().SetWidth(outline.otmsUnderscoreSize);
    canvas.Pen().SetStyle(psInsideFrame);
    const int32_t lineY =
        y + outline.otmTextMetrics.tmAscent + outline.otmsUnderscoreSize / 2 - outline.otmsUnderscorePosition;
    canvas.MoveTo(x - 1, lineY);
    canvas.LineTo(x + width + 1, lineY);
    canvas.Pen().SetStyle(psSolid);
  }
  if (drawState.Contains(rptsSpecialCharacters) && !printing)
    DrawTabArrow(canvas, TRect{x, y, x + width, y + height}, rightToLeft);
  if (Leader.empty()) return;
  const int32_t w = canvas.TextWidth(Leader);
  if (w == 0) return;
  canvas.Brush().SetStyle(bsClear);
  const int32_t limit = x + width - w;
  for (int32_t at = x + w; at + w <= limit; at += w) canvas.TextOut(at, y, Leader);
}

AnsiString TRPTabItemInfo::AsPlainText(int32_t, TCustomRPData*, bool& textIsUnicode) const {
  textIsUnicode = false;
  return "\t";
}

void TRPTabItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext&, const AnsiString&, int32_t) const {
  RPFWrite(stream, "\\tab ");
}

void TRPTabItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString&, int32_t) const {
  const int32_t spaces = context.RPStyle ? context.RPStyle->GetSpacesInTab() : 0;
  const int32_t n = spaces > 0 ? spaces : 8;
  const AnsiString piece = Leader.empty() ? AnsiString(" &nbsp;") : EscapeHtmlText(Leader, false);
  const auto length = static_cast<int32_t>(Leader.empty() ? 2 : piece.size());
  AnsiString out;
  for (int32_t i = 0; i < (n + length - 1) / length; ++i) out += piece;
  RPFWrite(stream, out);
}

void TRPTabItemInfo::GetRPFHeaderExtra(TCustomRPData*, AnsiString& s) const { s = std::to_string(TextStyleNo); }

bool TRPTabItemInfo::ReadRPFHeaderExtra(AnsiStringView& rest, IRPFStreaming&) {
  AnsiStringView at = rest;
  RPFSkipBlanks(at);
  if (RestIsEmpty(at)) return true;
  if (!RPFReadInteger(at, TextStyleNo)) return false;
  rest = at;
  return true;
}

void TRPTabItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo, const AnsiString&,
                             const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  WriteRPFItemHeader(stream, *this, 0, paraNo, forceSameAsPrev, rpfbmHex, streaming);
}

void TRPTabItemInfo::ApplyStyleConversion(TCustomRPData* rpData, int32_t itemNo, int32_t userData, int32_t) {
  if (!rpData) return;
  int32_t styleNo = ResolveTextStyleNo(rpData->GetRPStyle());
  rpData->ConvertAssociatedStyle(styleNo, true, userData, ParaNo, itemNo);
}

void TRPTabItemInfo::MarkStylesInUse(TRPStyleUsage& usage) const {
  TRPRectItemInfo::MarkStylesInUse(usage);
  MarkTextStyle(usage, TextStyleNo);
}

void TRPTabItemInfo::RenumberStyles(const TRPStyleUsage& usage) {
  TRPRectItemInfo::RenumberStyles(usage);
  RenumberTextStyle(usage, TextStyleNo);
}
