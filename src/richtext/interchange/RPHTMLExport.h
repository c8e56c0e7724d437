// HTML export of a document in two flavours that share one frame: classic HTML, which
// formats text with font tags and attributes (SaveHTMLToStream), and HTML with a CSS
// style sheet, which formats text and paragraphs with the classes "rpts" and "rpps"
// followed by the style number, or with inline style attributes (SaveHTMLCSSToStream).
// Each writes a head, a body and an end, any of which can be written alone. Non-text
// items write their own HTML (SaveToHTML); a table writes each cell's document through the
// body writer of the same flavour.
//
// What the writer takes from names and the host's hooks and puts into markup is escaped
// for the place it stands in: the title as text, hyperlink targets, hints and anchor
// names as attribute values. The host's extra texts (OnSaveHTMLExtra, the paragraph hook)
// and the extra attributes of its hyperlinks are HTML code and are written as they are.
#pragma once

#include <cstdint>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPPictureHtml.h"

class TRPBackground;

// HTML save options (with those of RPHtmlHelpers.h and RPPictureHtml.h: 0x0020 image
// borders, 0x0040 image sizes, 0x0080 page breaks and table styles in the classic
// flavour, 0x1000 pictures' own files, 0x2000 XHTML, 0x4000 UTF-8).
inline constexpr uint32_t rphtmlOverrideImages = 0x0001;     // picture files may replace existing ones
inline constexpr uint32_t rphtmlOnlyHead = 0x0002;           // the head only
inline constexpr uint32_t rphtmlOnlyBody = 0x0004;           // the body only
inline constexpr uint32_t rphtmlOnlyEnd = 0x0008;            // the end only
inline constexpr uint32_t rphtmlNoBodyFontTags = 0x0010;     // classic: no font tags of style 0 around the body
inline constexpr uint32_t rphtmlCheckpointNames = 0x0100;    // anchors named by their checkpoints' names
inline constexpr uint32_t rphtmlInlineCss = 0x0400;          // CSS: style attributes, no style sheet
inline constexpr uint32_t rphtmlDefaultCssClasses = 0x0800;  // CSS: style 0 gets classes too

// Whether the classic flavour writes paragraphs as "div" elements instead of "p".
extern bool RPHTMLClassicParagraphsAsDiv;

// What an HTML export writes besides the document.
struct TRPHTMLExportParams {
  WideString Path;          // the file being written; pictures are saved beside it
  AnsiString Title;         // in the document's default code page
  WideString ImagesPrefix;  // picture file names start with it (relative to Path's folder)
  uint32_t Options = 0;     // rphtml...
  TColor Color = clNone;    // the page colour; clNone: none
  const TRPBackground* Background = nullptr;
  int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;  // pixels
  // The bullets and list pictures saved so far, so that each is saved once (nullptr: the
  // export keeps its own list).
  TRPHTMLBulletInfoList* Bullets = nullptr;
  // CSS flavour: an external style sheet linked instead of the one written (empty:
  // none), CSS text added to the style element, and the prefix of numbered checkpoint
  // anchors ("RichPaneCheckpoint" when empty).
  AnsiString CssFileName;
  AnsiString ExtraCss;
  AnsiString CheckpointPrefix;
  // Only the selection of the document (a formatted one): the items of its range, the
  // selected characters of the first and the last, and the marker of a list paragraph
  // that the selection starts in.
  bool SelectionOnly = false;
};

// The document as classic HTML; false when it has no style sheet or an exception ended
// the writing (what was written stays in the stream).
bool SaveHTMLToStream(TCustomRPData& data, TStream& stream, const TRPHTMLExportParams& params);
// The document as HTML with CSS; false as above.
bool SaveHTMLCSSToStream(TCustomRPData& data, TStream& stream, const TRPHTMLExportParams& params);
