// The native-format reader's cursor over the bytes of a stream, read whole into one
// buffer. It hands out the stream's lines in three forms:
//
// - text lines, which end at NUL, CR or LF (or the end of the buffer); the line end is
//   left where it is until the next read, which passes a CR and then an LF after it (or
//   one NUL);
// - binary blocks: a 4-byte little-endian length and that many bytes;
// - Unicode lines: UTF-16 code units up to U+2029 (or U+0000, or the end of the buffer);
//   the ending unit is passed.
//
// A binary block or a Unicode line that follows a text line needs that line to have ended
// with exactly CR LF (the transitional modes of the format): anything else there refuses
// the block or line. Binary blocks and Unicode lines need no line end after them.
//
// Nothing announced by the bytes is trusted: a block whose length passes the end of the
// buffer is refused before anything is copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/base/Types.h"

class TRPFLineCursor {
public:
  explicit TRPFLineCursor(AnsiString buffer) : FBuffer(std::move(buffer)) {}

  // True when nothing but the end of the last text line is left.
  bool AtEnd();
  // Bytes left after the cursor (a pending line end counted).
  size_t Remaining() const { return FBuffer.size() - FAt; }
  // False when nothing is left to read (the buffer ends where the line would start).
  bool ReadTextLine(AnsiString& line);
  // False without CR LF after a text line, or for a length passing the end.
  bool ReadBlock(AnsiString& bytes);
  // The line's UTF-16 code units as stored bytes; false without CR LF after a text line
  // or when nothing is left.
  bool ReadUnicodeLine(AnsiString& line);

private:
  // Passes the end of the text line read last, if any.
  void PassLineEnd();
  // Before a block or a Unicode line: the CR LF after a text line read last.
  bool PassTransition();

  AnsiString FBuffer;
  size_t FAt = 0;
  // The last read was a text line whose end is still before the cursor.
  bool FLineEndPending = false;
};
