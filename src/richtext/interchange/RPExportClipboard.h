// The selection of a formatted document copied as RTF ("Rich Text Format") and as HTML
// ("HTML Format"): the writers that fill the copy slots of the layout's clipboard hook
// (RPClipboard.h), so that copying and dragging from a view put these formats too.
#pragma once

#include "platform/graphics/Colors.h"

class TCustomRPFormattedData;
class TRPBackground;
class IRPClipboard;

// The selection as RTF, with the view's colour, into sink; false when nothing was written
// (no style sheet, or the writing failed).
bool CopyRTF(TCustomRPFormattedData& data, TColor color, IRPClipboard& sink);
// The selection as a classic HTML page in UTF-8 (the bytes that text/html carries), with
// the view's colour and background; false when nothing was written.
bool CopyHTML(TCustomRPFormattedData& data, TColor color, const TRPBackground* background, IRPClipboard& sink);

// Puts CopyRTF and CopyHTML into the copy slots (RPCopyFormatWriters). A program that
// shows rich views calls it once at start-up.
void RegisterExportCopyFormats();
