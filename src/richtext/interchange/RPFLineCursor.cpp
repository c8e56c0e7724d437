#include "richtext/interchange/RPFLineCursor.h"

#include "platform/base/LittleEndian.h"

namespace {

constexpr uint16_t ParagraphSeparator = 0x2029;

}  // namespace

void TRPFLineCursor::PassLineEnd() {
  if (!FLineEndPending) return;
  FLineEndPending = false;
  if (FAt < FBuffer.size() && FBuffer[FAt] == '\0') {
    ++FAt;
    return;
  }
  if (FAt < FBuffer.size() && FBuffer[FAt] == '\r') ++FAt;
  if (FAt < FBuffer.size() && FBuffer[FAt] == '\n') ++FAt;
}

bool TRPFLineCursor::PassTransition() {
  if (!FLineEndPending) return true;
  FLineEndPending = false;
  if (FBuffer.compare(FAt, 2, "\r\n") != 0) return false;
  FAt += 2;
  return true;
}

bool TRPFLineCursor::AtEnd() {
  PassLineEnd();
  return FAt >= FBuffer.size();
}

bool TRPFLineCursor::ReadTextLine(AnsiString& line) {
  PassLineEnd();
  if (FAt >= FBuffer.size()) return false;
  size_t end = FAt;
  while (end < FBuffer.size() && FBuffer[end] != '\0' && FBuffer[end] != '\r' && FBuffer[end] != '\n') ++end;
  line.assign(FBuffer, FAt, end - FAt);
  FAt = end;
  FLineEndPending = true;
  return true;
}

bool TRPFLineCursor::ReadBlock(AnsiString& bytes) {
  if (!PassTransition() || Remaining() < 4) return false;
  const uint32_t length = LoadLE32(reinterpret_cast<const uint8_t*>(FBuffer.data() + FAt));
  if (length > Remaining() - 4) return false;
  bytes.assign(FBuffer, FAt + 4, length);
  FAt += 4 + size_t{length};
  return true;
}

bool TRPFLineCursor::ReadUnicodeLine(AnsiString& line) {
  if (!PassTransition() || FAt >= FBuffer.size()) return false;
  size_t end = FAt;
  while (end + 1 < FBuffer.size()) {
    const uint16_t unit = LoadLE16(reinterpret_cast<const uint8_t*>(FBuffer.data() + end));
    if (unit == ParagraphSeparator || unit == 0) break;
    end += 2;
  }
  if (end + 1 >= FBuffer.size()) {
    // No ending unit: the line runs to the end of the buffer (an odd last byte with it).
    line.assign(FBuffer, FAt, FBuffer.size() - FAt);
    FAt = FBuffer.size();
    return true;
  }
  line.assign(FBuffer, FAt, end - FAt);
  FAt = end + 2;
  return true;
}
