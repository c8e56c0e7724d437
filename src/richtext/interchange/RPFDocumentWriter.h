// The writer of the native document format: a whole document, or the selection of a
// formatted one for the clipboard or a drag, in the text form (hexadecimal data lines) or
// the binary form (length-prefixed blocks, raw UTF-16 text lines), as rpfoSaveBinary
// says.
//
// Records in this order: the version; the background (rpfoSaveBack, not for the
// clipboard); the style collections through the component stream (rpfoSaveTextStyles,
// rpfoSaveParaStyles; the root document only, when it allows saving styles or for the
// clipboard); the document properties (rpfoSaveDocProperties, the root document, not for
// a drag); the
// markers before a dragged selection; the layout (rpfoSaveLayout, the root document, not
// for the clipboard); the items; the trailing checkpoint when the end was written.
#pragma once

#include "richtext/model/RPData.h"
#include "richtext/model/RPFDocumentFormat.h"

class TRPBackground;

// Whether a selection that lies inside one item (selected table cells) is written as that
// item's selection (true) or as the whole item.
extern bool RPFWriteInnerSelections;

// The items written are those data holds now (GetRPData: an edited table cell's are in
// its editor's document). Raises what writing raises; writes nothing for an empty
// document or selection.
void WriteRPFDocument(TCustomRPData& data, TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
                      const TRPBackground* background, TColor color);
