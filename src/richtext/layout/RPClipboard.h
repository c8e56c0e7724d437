// Where a document's copied or dragged data goes. The window that shows a document
// supplies the sink (IRPWindowHost): the system clipboard while it is open, or the data
// of a drag. The document writes plain text and its picture itself; the formats of the
// interchange library (the native format, RTF, HTML) come through the writer slots
// below, which that library fills, and reach the same sink.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"

class TGraphic;
class TCustomRPFormattedData;
class TRPBackground;

class IRPClipboard {
public:
  virtual ~IRPClipboard() = default;
  // The clipboard is opened (and emptied) before the formats are put, and closed after;
  // a drag's data needs neither.
  virtual void Open() {}
  virtual void Close() {}
  // 8-bit text in the ANSI code page.
  virtual void SetText(const AnsiString& text) = 0;
  virtual void SetUnicodeText(const WideString& text) = 0;
  // A picture, in the clipboard format it saves itself in.
  virtual void SetGraphic(const TGraphic& graphic) = 0;
  // The bytes of a registered named format (RegisterClipboardFormatA).
  virtual void SetData(uint32_t format, const AnsiString& bytes) = 0;
};

// A format written from the selection of a document, with the colour and background of
// the view that copies, into a sink; false when the format was not written.
using TRPCopyFormatWriter = std::function<bool(TCustomRPFormattedData& data, TColor color,
                                               const TRPBackground* background, IRPClipboard& sink)>;

// The writers of the formats beside the text, empty until a library sets them.
struct TRPCopyFormatWriters {
  TRPCopyFormatWriter NativeFormat;
  TRPCopyFormatWriter RTF;
  TRPCopyFormatWriter HTML;
};

// The writers copying and dragging use (process-wide, set once at start-up).
TRPCopyFormatWriters& RPCopyFormatWriters();
