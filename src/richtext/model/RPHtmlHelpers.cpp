#include "richtext/model/RPHtmlHelpers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/base/SymbolFontChars.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/PenBrush.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPRtfHelpers.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPStyleCss.h"
#include "richtext/model/RPUnicode.h"

AnsiString ColorToHtmlColor(TColor color, bool quoted) {
  if (color == clNone) return {};
  const COLORREF rgb = color == clWindowText ? 0 : ColorToRGB(color);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
  return quoted ? "\"" + AnsiString(text) + "\"" : AnsiString(text);
}

AnsiString ColorToHtmlColorOrTransparent(TColor color) {
  return color == clNone ? AnsiString("transparent") : ColorToHtmlColor(color);
}

int32_t PointSizeToHtmlFontSize(int32_t points) {
  if (points <= 8) return 1;
  if (points <= 10) return 2;
  if (points <= 12) return 3;
  if (points <= 14) return 4;
  if (points <= 18) return 5;
  if (points <= 24) return 6;
  return 7;
}

AnsiString FormatHtmlInt(int32_t number, uint32_t options) {
  const AnsiString text = std::to_string(number);
  return (options & rphtmlQuotedAttributes) ? "\"" + text + "\"" : text;
}

AnsiString QuoteHtmlValue(const AnsiString& value, uint32_t options) {
  if (!(options & rphtmlQuotedAttributes)) return value;
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value;
  return "\"" + value + "\"";
}

AnsiString HtmlBooleanAttribute(const AnsiString& name, uint32_t options) {
  return (options & rphtmlQuotedAttributes) ? name + "=\"" + name + "\"" : name;
}

AnsiString GetXhtmlEmptyTagEnd(uint32_t options) { return (options & rphtmlQuotedAttributes) ? " /" : ""; }

AnsiString MakeHtmlPath(const AnsiString& path, uint32_t options, uint32_t codePage) {
  AnsiString out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return (options & rphtmlUtf8) ? CodePageTextToUtf8(codePage, out) : out;
}

AnsiString MakeHintAttribute(TRPHintKind kind, const AnsiString& hint) {
  if (hint.empty()) return {};
  AnsiString safe = hint;
  for (char& c : safe)
    if (c == '"') c = '\'';
  if (kind == rphkRtf) return "\\o \"" + RtfSanitizeName(safe) + "\"";
  // "&" and "<" would start an entity or a tag inside the value.
  safe = ReplaceAllForward(safe, "&", "&amp;");
  safe = ReplaceAllForward(safe, "<", "&lt;");
  return "title=\"" + safe + "\"";
}

AnsiString HtmlAttributeText(AnsiStringView text) {
  AnsiString out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

AnsiString EscapeHtmlText(const AnsiString& text, bool raw) {
  if (raw) return text;
  AnsiString out = ReplaceAllForward(text, "&", "&amp;");
  out = ReplaceAllRepeated(out, ">", "&gt;");
  out = ReplaceAllRepeated(out, "<", "&lt;");
  return ReplaceAllRepeated(out, "  ", "&nbsp; ");
}

AnsiString CharsetToHtmlCharset(uint8_t charset) {
  switch (charset) {
    case 128:
      return "shift_jis";
    case 129:
      return "EUC-KR";
    case 130:
      return "CP1361";
    case 134:
      return "gb2312";
    case 136:
      return "big5";
    case 161:
      return "Windows-1253";
    case 162:
      return "Windows-1254";
    case 163:
      return "Windows-1258";
    case 177:
      return "Windows-1255";
    case 178:
      return "Windows-1256";
    case 186:
      return "Windows-1257";
    case 204:
      return "Windows-1251";
    case 222:
      return "Windows-874";
    case 238:
      return "Windows-1250";
    case 255:
      return "ascii";
    default:
      return {};
  }
}

// --- Font tags of a text style ----------------------------------------------------------------

namespace {

struct TStyleTag {
  TFontStyle Style;
  const char* Open;
  const char* Close;
};
constexpr TStyleTag StyleTags[] = {
    {fsBold, "<b>", "</b>"}, {fsItalic, "<i>", "</i>"}, {fsUnderline, "<u>", "</u>"}, {fsStrikeOut, "<s>", "</s>"}};

// Closing tags in reverse order (strike-out first) of the styles in `styles`.
AnsiString CloseStyles(TFontStyles styles) {
  AnsiString out;
  for (auto it = std::rbegin(StyleTags); it != std::rend(StyleTags); ++it)
    if (styles.Contains(it->Style)) out += it->Close;
  return out;
}

AnsiString OpenStyles(TFontStyles styles) {
  AnsiString out;
  for (const TStyleTag& tag : StyleTags)
    if (styles.Contains(tag.Style)) out += tag.Open;
  return out;
}

bool FontTagNeeded(const TCustomRPFontInfo& style, const TCustomRPFontInfo* base) {
  return !base || PointSizeToHtmlFontSize(style.Size) != PointSizeToHtmlFontSize(base->Size) ||
         style.Color != base->Color || !AnsiSameText(style.FontName, base->FontName);
}

}  // namespace

AnsiString GetHtmlOpenFontTags(const TCustomRPFontInfo& style, const TCustomRPFontInfo* base, uint32_t options) {
  AnsiString out;
  if (FontTagNeeded(style, base)) {
    out = "<font";
    const int32_t size = PointSizeToHtmlFontSize(style.Size);
    if (!base || size != PointSizeToHtmlFontSize(base->Size)) out += " size=" + FormatHtmlInt(size, options);
    if (!base || style.Color != base->Color) out += " color=" + ColorToHtmlColor(style.Color, true);
    if (!base || !AnsiSameText(style.FontName, base->FontName))
      out += " face=\"" + HtmlAttributeText(style.FontName) + "\"";
    out += ">";
  }
  if (base) {
    out += CloseStyles(base->Style - style.Style);
    out += OpenStyles(style.Style - base->Style);
  } else {
    out += OpenStyles(style.Style);
  }
  if (style.VShift < 0)
    out += "<sub>";
  else if (style.VShift > 0)
    out += "<sup>";
  return out;
}

AnsiString GetHtmlCloseFontTags(const TCustomRPFontInfo& style, const TCustomRPFontInfo* base) {
  AnsiString out;
  if (style.VShift < 0)
    out += "</sub>";
  else if (style.VShift > 0)
    out += "</sup>";
  if (base) {
    out += CloseStyles(style.Style - base->Style);
    out += OpenStyles(base->Style - style.Style);
  } else {
    out += CloseStyles(style.Style);
  }
  if (FontTagNeeded(style, base)) out += "</font>";
  return out;
}

namespace {

// What the font tag of a marker font writes against base (nullptr: everything).
struct TMarkerFontTag {
  bool Size = false, Color = false, Face = false;
  TMarkerFontTag(const TFont& font, const TCustomRPFontInfo* base, bool compareFace)
      : Size(!base || PointSizeToHtmlFontSize(font.Size()) != PointSizeToHtmlFontSize(base->Size)),
        Color(!base || font.Color() != base->Color),
        Face(compareFace && (!base || !AnsiSameText(font.Name(), base->FontName))) {}
  bool Needed() const { return Size || Color || Face; }
};

}  // namespace

AnsiString GetMarkerFontOpenTags(const TFont& font, const TCustomRPFontInfo* base, bool compareFace, uint32_t options) {
  AnsiString out;
  if (base && base->VShift < 0) out += "</sub>";
  if (base && base->VShift > 0) out += "</sup>";
  const TMarkerFontTag tag(font, base, compareFace);
  if (tag.Needed()) {
    out += "<font";
    if (tag.Size) out += " size=" + FormatHtmlInt(PointSizeToHtmlFontSize(font.Size()), options);
    if (tag.Color) out += " color=" + ColorToHtmlColor(font.Color(), true);
    if (tag.Face) out += " face=\"" + HtmlAttributeText(font.Name()) + "\"";
    out += ">";
  }
  if (base) {
    out += CloseStyles(base->Style - font.Style());
    out += OpenStyles(font.Style() - base->Style);
  } else {
    out += OpenStyles(font.Style());
  }
  return out;
}

AnsiString GetMarkerFontCloseTags(const TFont& font, const TCustomRPFontInfo* base, bool compareFace) {
  AnsiString out;
  if (base) {
    out += CloseStyles(font.Style() - base->Style);
    out += OpenStyles(base->Style - font.Style());
  } else {
    out += CloseStyles(font.Style());
  }
  if (TMarkerFontTag(font, base, compareFace).Needed()) out += "</font>";
  if (base && base->VShift < 0) out += "<sub>";
  if (base && base->VShift > 0) out += "<sup>";
  return out;
}

AnsiString GetMarkerFontCss(const TFont& font, bool withFamily) {
  AnsiString css;
  if (font.Style().Contains(fsBold)) css = AppendWithSpace(css, "font-weight: bold;");
  if (font.Style().Contains(fsItalic)) css = AppendWithSpace(css, "font-style: italic;");
  css = AppendWithSpace(css, font.Size() < 1 ? "font-size: " + std::to_string(font.Height()) + "px;"
                                             : "font-size: " + std::to_string(font.Size()) + "pt;");
  if (withFamily) {
    const bool symbolic = SameText(font.Name(), "Symbol") || SameText(font.Name(), "Wingdings");
    css = AppendWithSpace(css, "font-family: " +
                                   (symbolic ? AnsiString("'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial'")
                                             : HtmlAttributeText(CssQuotedString(font.Name()))) +
                                   ";");
  }
  AnsiString decoration;
  if (font.Style().Contains(fsUnderline)) decoration = "underline";
  if (font.Style().Contains(fsStrikeOut)) decoration = AppendWithSpace(decoration, "line-through");
  if (!decoration.empty()) css = AppendWithSpace(css, "text-decoration: " + decoration + ";");
  return AppendWithSpace(css, "color: " + ColorToHtmlColor(font.Color()) + ";");
}

AnsiString Base64Text(std::span<const uint8_t> bytes) {
  static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  AnsiString text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t at = 0; at < bytes.size(); at += 3) {
    // Three bytes make 24 bits, four digits of six; a short last group is padded.
    const size_t count = std::min<size_t>(3, bytes.size() - at);
    uint32_t group = uint32_t{bytes[at]} << 16;
    if (count > 1) group |= uint32_t{bytes[at + 1]} << 8;
    if (count > 2) group |= bytes[at + 2];
    for (size_t digit = 0; digit < 4; ++digit)
      text += digit <= count ? Digits[(group >> (18 - 6 * digit)) & 0x3F] : '=';
  }
  return text;
}

AnsiString PictureDataUri(AnsiStringView extension, std::span<const uint8_t> bytes) {
  static constexpr std::pair<const char*, const char*> MediaTypes[] = {{"jpg", "image/jpeg"}, {"jpeg", "image/jpeg"},
                                                                       {"png", "image/png"},  {"bmp", "image/bmp"},
                                                                       {"gif", "image/gif"},  {"ico", "image/x-icon"}};
  AnsiString mediaType = "image/" + AnsiString(extension);
  for (const auto& [ext, type] : MediaTypes)
    if (SameText(extension, ext)) mediaType = type;
  return "data:" + mediaType + ";base64," + Base64Text(bytes);
}

namespace {
std::vector<TGraphicClass>& KeptGraphicClasses() {
  static std::vector<TGraphicClass> kept;
  return kept;
}
}  // namespace

void KeepGraphicClassForHTML(TGraphicClass graphicClass) {
  auto& kept = KeptGraphicClasses();
  if (std::find(kept.begin(), kept.end(), graphicClass) == kept.end()) kept.push_back(graphicClass);
}

void ForgetGraphicClassKeptForHTML(TGraphicClass graphicClass) { std::erase(KeptGraphicClasses(), graphicClass); }

bool IsGraphicClassKeptForHTML(const TGraphic& graphic) {
  const auto& kept = KeptGraphicClasses();
  return std::find(kept.begin(), kept.end(), graphic.ClassType()) != kept.end();
}

// --- Symbol font --------------------------------------------------------------------------------

namespace {

void AppendSymbol(AnsiString& out, uint32_t code) {
  if (code > 0xFF) return;
  const AnsiStringView name = SymbolCharHtmlName(static_cast<uint8_t>(code));  // empty for 127 .. 160
  if (name.size() > 1)
    out.append("&").append(name).append(";");
  else
    out += name;
}

}  // namespace

AnsiString SymbolTextToHtml(AnsiStringView text) {
  AnsiString out;
  for (char c : text) AppendSymbol(out, static_cast<uint8_t>(c));
  return out;
}

AnsiString SymbolTextToHtmlW(AnsiStringView raw) {
  AnsiString out;
  for (WideChar unit : RawUnicodeToWide(raw)) AppendSymbol(out, unit >= 0xF000 ? unit - 0xF000u : unit);
  return out;
}
