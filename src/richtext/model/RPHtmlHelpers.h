// The fragments from which items and styles write themselves as HTML and CSS: colours,
// sizes, attribute values in plain or XHTML form, escaped text, hint attributes, the
// font tags of a text style, and text in the Symbol font as entities.
#pragma once

#include <cstdint>
#include <span>

#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Graphic.h"

class TCustomRPFontInfo;

// HTML save options read here.
inline constexpr uint32_t rphtmlQuotedAttributes = 0x2000;  // quoted values, " /" empty-element ends (XHTML)
inline constexpr uint32_t rphtmlUtf8 = 0x4000;              // text in UTF-8

// "#rrggbb" (lower case) of the colour resolved to RGB (clWindowText black); empty for
// clNone; quoted when asked.
AnsiString ColorToHtmlColor(TColor color, bool quoted = false);
// "transparent" for clNone, else the unquoted colour.
AnsiString ColorToHtmlColorOrTransparent(TColor color);
// Points to the HTML font size 1 .. 7.
int32_t PointSizeToHtmlFontSize(int32_t points);
AnsiString FormatHtmlInt(int32_t number, uint32_t options);
// The value, in double quotes with the XHTML option unless it is quoted already.
AnsiString QuoteHtmlValue(const AnsiString& value, uint32_t options);
// name, or name="name" with the XHTML option.
AnsiString HtmlBooleanAttribute(const AnsiString& name, uint32_t options);
AnsiString GetXhtmlEmptyTagEnd(uint32_t options);
// Backslashes become slashes; with the UTF-8 option the path goes from the code page to
// UTF-8.
AnsiString MakeHtmlPath(const AnsiString& path, uint32_t options, uint32_t codePage);

enum TRPHintKind : int32_t { rphkHtml = 1, rphkRtf = 2 };
// title="hint" (HTML, "&" and "<" as entities) or the field switch \o "hint" (RTF, made
// safe for RTF); double quotes in the hint become apostrophes; empty for an empty hint.
AnsiString MakeHintAttribute(TRPHintKind kind, const AnsiString& hint);
// Text as the value of a double-quoted attribute: "&", "<", ">" and the double quote as
// entities, so that it cannot end the value or start markup.
AnsiString HtmlAttributeText(AnsiStringView text);
// Unless raw: "&" "<" ">" as entities, and every two spaces "&nbsp; ".
AnsiString EscapeHtmlText(const AnsiString& text, bool raw);
// The HTML charset name of a font charset; empty when it has none.
AnsiString CharsetToHtmlCharset(uint8_t charset);

// The opening and closing font tags of a text style, on its own or relative to a base
// style (only what differs).
AnsiString GetHtmlOpenFontTags(const TCustomRPFontInfo& style, const TCustomRPFontInfo* base, uint32_t options);
AnsiString GetHtmlCloseFontTags(const TCustomRPFontInfo& style, const TCustomRPFontInfo* base);

// The same tags for a list marker's font written inside text of a base style: the base's
// sub- or superscript closed before and reopened after, the font tag with what differs
// from the base (everything without one; the face only when compareFace, so a symbol
// font whose characters are written as entities names no face), the style tags that
// change.
AnsiString GetMarkerFontOpenTags(const TFont& font, const TCustomRPFontInfo* base, bool compareFace, uint32_t options);
AnsiString GetMarkerFontCloseTags(const TFont& font, const TCustomRPFontInfo* base, bool compareFace);

// CSS declarations of a list marker's font, joined by spaces: weight, style, size (px
// for a size below 1 point, else pt), with family the family (Symbol and Wingdings as a
// list of Unicode fonts; any other name as an escaped CSS string, fit for an attribute
// value), decoration, colour.
AnsiString GetMarkerFontCss(const TFont& font, bool withFamily);

// The bytes as base64 text (RFC 4648's alphabet, padded with "=").
AnsiString Base64Text(std::span<const uint8_t> bytes);
// A "data:" URI that holds a picture file's bytes, its media type named after the file's
// extension ("jpg" image/jpeg, "png" image/png, "bmp" image/bmp, "ico" image/x-icon,
// any other "image/" and the extension).
AnsiString PictureDataUri(AnsiStringView extension, std::span<const uint8_t> bytes);

// The graphic classes that HTML export saves in their own format (the rich-text model's
// start-up keeps the PNG class; a host may keep more, and forget them again).
void KeepGraphicClassForHTML(TGraphicClass graphicClass);
void ForgetGraphicClassKeptForHTML(TGraphicClass graphicClass);
bool IsGraphicClassKeptForHTML(const TGraphic& graphic);

// Text in the Symbol font as HTML: bytes 32 .. 254 through the font's entity table,
// others dropped. The UTF-16 form folds U+F000.. to U+0000..; an odd byte length raises
// ERichPaneError "Can't perform Unicode operation".
AnsiString SymbolTextToHtml(AnsiStringView text);
AnsiString SymbolTextToHtmlW(AnsiStringView raw);
