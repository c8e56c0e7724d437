#include "richtext/model/RPStyleCss.h"

#include <cstdio>
#include <cstdlib>

#include "platform/base/CodePages.h"
#include "platform/base/Format.h"
#include "platform/base/TextUtils.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

// The same writers as the native format's, under the names the CSS writers use.
void WriteStringToStream(TStream& stream, AnsiStringView s) { RPFWrite(stream, s); }

void WriteLineToStream(TStream& stream, AnsiStringView s) { RPFWriteLine(stream, s); }

void WriteStringToStreamEx(TStream& stream, AnsiStringView s, bool multiline) {
  if (multiline)
    RPFWriteLine(stream, s);
  else
    RPFWrite(stream, s);
}

AnsiString CssQuotedString(AnsiStringView s) {
  AnsiString out = "'";
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\'':
      case '"':
      case '\\':
        out += '\\';
        out += c;
        continue;
      case ';':
      case '{':
      case '}':
      case '<':
      case '>':
        break;
      default:
        if (byte >= 0x20 && byte != 0x7F) {
          out += c;
          continue;
        }
    }
    // A hexadecimal escape ends with a space, so that a following hex digit is not
    // taken into it.
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\%X ", byte == 0 ? 0xFFFD : byte);
    out += escape;
  }
  return out + "'";
}

AnsiString CssCommentText(AnsiStringView s) {
  AnsiString out;
  for (const char c : s) {
    const auto byte = static_cast<unsigned char>(c);
    const char prev = out.empty() ? '\0' : out.back();
    if ((c == '/' && (prev == '*' || prev == '<')) || (c == '!' && prev == '<')) out += ' ';
    out += byte < 0x20 || byte == 0x7F ? ' ' : c;
  }
  return out;
}

namespace {

// The style sheet's code page for a style of one of its collections; the system's ANSI
// code page for a style of no sheet.
uint32_t StyleCodePage(const TCollectionItem& style) {
  const TPersistent* owner = style.Collection() ? style.Collection()->GetOwner() : nullptr;
  const auto* sheet = dynamic_cast<const IRPStyleSheet*>(owner);
  return sheet ? sheet->GetDefCodePage() : CP_ACP;
}

const char* CssDirection(TRPBiDiMode mode) {
  switch (mode) {
    case rpbdLeftToRight:
      return "ltr";
    case rpbdRightToLeft:
      return "rtl";
    default:
      return "inherit";
  }
}

// "super", "sub" or empty.
AnsiString CssVerticalAlign(const TCustomRPFontInfo& f) { return f.VShift > 0 ? "super" : f.VShift < 0 ? "sub" : ""; }

AnsiString CssTextDecoration(const TCustomRPFontInfo& f) {
  AnsiString d;
  auto add = [&d](const char* word) { d += d.empty() ? word : AnsiString(" ") + word; };
  if (f.Style.Contains(fsUnderline)) add("underline");
  if (f.Style.Contains(fsStrikeOut)) add("line-through");
  if (f.StyleEx.Contains(rpfsOverline)) add("overline");
  return d.empty() ? "none" : d;
}

// The value of line-height for a percentage: 150 is "1.50", 105 "1.05".
AnsiString CssLineHeight(int32_t percent) {
  const int64_t magnitude = std::llabs(static_cast<int64_t>(percent));
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%02lld", percent < 0 ? "-" : "", static_cast<long long>(magnitude / 100),
                static_cast<long long>(magnitude % 100));
  return text;
}

bool HasCssBorder(const TCustomRPParaInfo& p) { return p.Border.Style != rpbNone && p.Border.Color != clNone; }

int32_t CssBorderWidth(const TRPBorder& b) {
  switch (b.Style) {
    case rpbSingle:
      return b.Width;
    case rpbDouble:
      return b.Width + b.InternalWidth;
    case rpbTriple:
      return b.Width + 2 * b.InternalWidth;
    default:
      return 3 * b.Width / 2 + b.InternalWidth;
  }
}

// The padding a rule gives its paragraphs: the border's offsets (none without a
// border), raised to the background's offsets where the background is coloured. A base
// style's padding is reckoned the same way, so that what its rule gives is what a rule
// against it compares with.
TRect CssPadding(const TCustomRPParaInfo& p) {
  TRect padding{0, 0, 0, 0};
  if (HasCssBorder(p)) p.Border.BorderOffsets.AssignToRect(padding);
  if (p.Background.Color != clNone) p.Background.BorderOffsets.AssignToRectIfGreater(padding);
  return padding;
}

}  // namespace

void TCustomRPFontInfo::WriteCSS(TStream& stream, const TCustomRPFontInfo* b, bool multiline, bool utf8) const {
  auto put = [&](const AnsiString& declaration) { WriteStringToStreamEx(stream, declaration, multiline); };
  if (!b || Size != b->Size) put(Format(" font-size: %dpt;", {Size}));
  if (b ? BiDiMode != b->BiDiMode : BiDiMode != rpbdUnspecified)
    put(Format(" direction: %s;", {CssDirection(BiDiMode)}));
  if (!b || !AnsiSameText(FontName, b->FontName)) {
    AnsiString family;
    if (AnsiSameText(FontName, "Symbol"))
      family = "'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial'";
    else
      family = CssQuotedString(utf8 ? CodePageTextToUtf8(StyleCodePage(*this), FontName) : FontName);
    put(Format(" font-family: %s;", {family}));
  }
  const bool italic = Style.Contains(fsItalic), bold = Style.Contains(fsBold);
  if (!b || italic != b->Style.Contains(fsItalic)) put(Format(" font-style: %s;", {italic ? "italic" : "normal"}));
  if (!b || bold != b->Style.Contains(fsBold)) put(Format(" font-weight: %s;", {bold ? "bold" : "normal"}));
  if (!b || Color != b->Color) put(Format(" color: %s;", {ColorToHtmlColor(Color)}));
  if (b ? CharSpacing != b->CharSpacing : CharSpacing != 0) put(Format(" letter-spacing: %dpx;", {CharSpacing}));
  const bool caps = StyleEx.Contains(rpfsAllCaps), baseCaps = b && b->StyleEx.Contains(rpfsAllCaps);
  if (caps && !baseCaps)
    put(" text-transform: uppercase;");
  else if (!caps && baseCaps)
    put(" text-transform: none;");
  if (b ? BackColor != b->BackColor : BackColor != clNone || !multiline)
    put(Format(" background-color: %s;", {ColorToHtmlColorOrTransparent(BackColor)}));
  const AnsiString align = CssVerticalAlign(*this);
  if (b ? align != CssVerticalAlign(*b) : !align.empty())
    // Against a base that is shifted, an unshifted style goes back to the baseline.
    put(Format(" vertical-align: %s;", {align.empty() ? AnsiString("baseline") : align}));
  const AnsiString decoration = CssTextDecoration(*this);
  if (!b || decoration != CssTextDecoration(*b) || (Jump && decoration == "none"))
    put(Format(" text-decoration: %s;", {decoration}));
}

void TCustomRPParaInfo::WriteCSS(TStream& stream, const TCustomRPParaInfo* b, bool multiline, bool noDefaultLeftAlign,
                                 bool ignoreLeftIndents) const {
  auto put = [&](const AnsiString& declaration) { WriteStringToStreamEx(stream, declaration, multiline); };
  static const char* const alignments[] = {"left", "right", "center", "justify"};
  if (b ? Alignment != b->Alignment : !noDefaultLeftAlign || Alignment != rpaLeft)
    put(AnsiString(" text-align: ") + alignments[Alignment] + ";");
  if (b ? BiDiMode != b->BiDiMode : BiDiMode != rpbdUnspecified)
    put(Format(" direction: %s;", {CssDirection(BiDiMode)}));
  if (!ignoreLeftIndents && (!b || FirstIndent != b->FirstIndent)) put(Format(" text-indent: %dpx;", {FirstIndent}));
  const bool percent = LineSpacingType == rplsPercent;
  if (b ? percent && b->LineSpacingType == rplsPercent && LineSpacing != b->LineSpacing : percent && LineSpacing != 100)
    put(" line-height: " + CssLineHeight(LineSpacing) + ";");
  else if (b && b->LineSpacingType == rplsPercent && b->LineSpacing != 100 && !percent)
    put(" line-height: normal;");
  auto option = [&](TRPParaOption o, const char* on, const char* off) {
    if (Options.Contains(o))
      put(on);
    else if (b && b->Options.Contains(o))
      put(off);
  };
  option(rppaoNoWrap, " white-space: nowrap;", " white-space: normal;");
  option(rppaoKeepLinesTogether, " page-break-inside: avoid;", " page-break-inside: auto;");
  option(rppaoKeepWithNext, " page-break-after: avoid;", " page-break-after: auto;");
  if (HasCssBorder(*this)) {
    put(Format(" border-color: %s;", {ColorToHtmlColor(Border.Color)}));
    put(Format(" border-style: %s;", {Border.Style == rpbSingle ? "solid" : "double"}));
    put(Format(" border-width: %dpx;", {CssBorderWidth(Border)}));
    const std::pair<bool, const char*> sides[] = {{Border.VisibleBorders.Top, " border-top: none;"},
                                                  {Border.VisibleBorders.Right, " border-right: none;"},
                                                  {Border.VisibleBorders.Bottom, " border-bottom: none;"},
                                                  {Border.VisibleBorders.Left, " border-left: none;"}};
    for (const auto& [visible, none] : sides)
      if (!visible) put(none);
  } else if (b && HasCssBorder(*b)) {
    put(" border: none;");
  }
  if (b ? Background.Color != b->Background.Color : Background.Color != clNone)
    put(Format(" background: %s;", {ColorToHtmlColorOrTransparent(Background.Color)}));
  const TRect padding = CssPadding(*this);
  const TRect basePadding = b ? CssPadding(*b) : TRect{0, 0, 0, 0};
  if (!b || padding != basePadding)
    put(Format(" padding: %dpx %dpx %dpx %dpx;", {padding.Top, padding.Right, padding.Bottom, padding.Left}));
  const TRect margin{LeftIndent - padding.Left, SpaceBefore - padding.Top, RightIndent - padding.Right,
                     SpaceAfter - padding.Bottom};
  const TRect baseMargin = b ? TRect{b->LeftIndent - basePadding.Left, b->SpaceBefore - basePadding.Top,
                                     b->RightIndent - basePadding.Right, b->SpaceAfter - basePadding.Bottom}
                             : TRect{0, 0, 0, 0};
  if (b && margin == baseMargin) return;
  if (ignoreLeftIndents) {
    put(Format(" margin-top: %dpx;", {margin.Top}));
    put(Format(" margin-right: %dpx;", {margin.Right}));
    put(Format(" margin-bottom: %dpx;", {margin.Bottom}));
  } else {
    put(Format(" margin: %dpx %dpx %dpx %dpx;", {margin.Top, margin.Right, margin.Bottom, margin.Left}));
  }
}

void TRPStyle::WriteCSS(TStream& stream, uint32_t options) const {
  const bool useBases = options & rpcssBaseStyles, noDefaults = options & rpcssNoDefaultElements,
             utf8 = options & rpcssUtf8;
  auto comment = [&](const TCustomRPInfo& style) -> AnsiString {
    if (!style.Standard) return {};
    const AnsiString name = utf8 ? CodePageTextToUtf8(DefCodePage, style.StyleName) : style.StyleName;
    return Format(" /* %s */", {CssCommentText(name)});
  };
  WriteLineToStream(stream, "/* ========== Text Styles ========== */");
  const TFontInfo& first = *TextStyles()[0];
  WriteLineToStream(stream, "hr { color: " + ColorToHtmlColor(first.Color) + "}");
  // Style 0 stands for the body unless it is a link or has a background of its own.
  const bool bodyStyle = !first.Jump && first.BackColor == clNone && !noDefaults;
  for (int32_t i = 0; i < TextStyles().Count(); ++i) {
    const TFontInfo& style = *TextStyles()[i];
    const AnsiString c = comment(style);
    if (i == 0 && bodyStyle)
      WriteLineToStream(stream, "body, table" + c);
    else if (style.Jump)
      WriteLineToStream(stream, Format("a.rpts%d, span.rpts%d%s", {i, i, c}));
    else
      WriteLineToStream(stream, Format("span.rpts%d%s", {i, c}));
    const TFontInfo* base = nullptr;
    if (useBases && style.BaseStyleNo >= 0 && style.BaseStyleNo < TextStyles().Count())
      base = TextStyles()[style.BaseStyleNo];
    else if (i > 0 && bodyStyle)
      base = &first;
    WriteLineToStream(stream, "{");
    style.WriteCSS(stream, base, true, utf8);
    WriteLineToStream(stream, "}");
    const TColor hover = GetHoverColor(i);
    if (style.Jump && (hover != clNone || style.HoverBackColor != clNone)) {
      const bool baseJump = base && base->Jump;
      const TColor baseHover = base ? GetHoverColorByColor(base->HoverColor) : clNone;
      WriteStringToStream(stream, Format("a.rpts%d:hover {", {i}));
      // Without a hover colour there is nothing to name, whatever the base has.
      if (hover != clNone && (!baseJump || (base && baseHover != hover)))
        WriteStringToStream(stream, Format(" color: %s;", {ColorToHtmlColor(hover)}));
      if ((!baseJump && style.HoverBackColor != clNone) || (base && base->HoverBackColor != style.HoverBackColor))
        WriteStringToStream(stream,
                            Format(" background-color: %s;", {ColorToHtmlColorOrTransparent(style.HoverBackColor)}));
      WriteLineToStream(stream, " }");
    }
  }
  WriteLineToStream(stream, "/* ========== Para Styles ========== */");
  for (int32_t i = 0; i < ParaStyles().Count(); ++i) {
    const TParaInfo& style = *ParaStyles()[i];
    const AnsiString c = comment(style);
    if (i == 0 && !noDefaults)
      WriteLineToStream(stream, "p,ul,ol" + c);
    else
      WriteLineToStream(stream, Format(".rpps%d%s", {i, c}));
    const TParaInfo* base = nullptr;
    if (useBases && style.BaseStyleNo >= 0 && style.BaseStyleNo < ParaStyles().Count())
      base = ParaStyles()[style.BaseStyleNo];
    else if (i > 0 && !noDefaults)
      base = ParaStyles()[0];
    WriteLineToStream(stream, "{");
    style.WriteCSS(stream, base, true, options & rpcssNoDefaultLeftAlign, false);
    WriteLineToStream(stream, "}");
  }
}
