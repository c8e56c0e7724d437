// The door through which a document reaches the writer and the reader of its native
// format (RPF). The format lives in the interchange library, which comes after the
// model, the layout and the tables in the build order; a document and a table cell reach
// it through this interface, which that library installs once at start-up
// (richtext/interchange/RPInterchangeStartup.h, RegisterRPFDocumentFormat). Until then the
// document's native-format operations answer false, and the cell data property raises.
#pragma once

#include <cstdint>

#include "platform/base/Streams.h"
#include "platform/graphics/Colors.h"

class TCustomRPData;
class TRPLayoutInfo;
class TRPBackground;

// What a write takes: the whole document, the selection for the clipboard, or the
// selection being dragged (which also records whether its paragraphs were cut).
enum TRPFSaveMode : int32_t { rpfsmDocument = 0, rpfsmClipboard = 1, rpfsmDragDrop = 2 };

// How a read takes the stream.
struct TRPFReadRequest {
  // The editor's insertion (paste, drop): text of styles protected against it is left out.
  bool Insert = false;
  // The first item read starts a new paragraph even when the stream continues one.
  bool NewParagraph = false;
  // The stream's style collections, layout, document properties and marker state
  // replace the document's (the document-properties list is emptied first).
  bool Load = false;
  // The document is emptied first (only once the whole stream has been read).
  bool ClearFirst = false;
  // The background record is applied to it (with rpfoLoadBack); none: its picture is
  // only checked.
  TRPBackground* Background = nullptr;
  // The layout record fills it (with rpfoLoadLayout); none: the record is passed over.
  TRPLayoutInfo* Layout = nullptr;
};

class IRPFDocumentFormat {
public:
  virtual ~IRPFDocumentFormat() = default;
  // Writes data (or its selection) to stream; false when anything failed (what was
  // written stays in the stream).
  virtual bool Save(TCustomRPData& data, TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
                    const TRPBackground* background, TColor color) = 0;
  // Reads the rest of stream into data at index (moved past what was inserted); color
  // receives the background record's colour. False for a damaged stream, which changes
  // nothing.
  virtual bool Read(TCustomRPData& data, TStream& stream, int32_t& index, const TRPFReadRequest& request,
                    TColor& color) = 0;
  // A 4-byte length and the document in the native format; raises what writing raises.
  virtual void WriteDataProperty(TCustomRPData& data, TStream& stream) = 0;
  // The reverse; raises EReadError when the data is damaged (the document is left as it
  // was).
  virtual void ReadDataProperty(TCustomRPData& data, TStream& stream) = 0;
};

// The installed format (nullptr before RegisterRPFDocumentFormat); setting replaces it.
IRPFDocumentFormat* GetRPFDocumentFormat();
void SetRPFDocumentFormat(IRPFDocumentFormat* format);
