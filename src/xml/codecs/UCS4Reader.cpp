#include "xml/codecs/UCS4Reader.h"

#include "platform/base/Utf8.h"
#include "xml/codecs/Utf8Codec.h"

namespace {

constexpr UCS4Char CharTab = 9;
constexpr UCS4Char CharLF = 10;

// Field by field, so that each load meets the store of the same width that wrote it.
// `skippedBytes` are the bytes of characters before this one that failed to decode.
void AdvanceFrom(TUtilsCharPosition& to, const TUtilsCharPosition& from, UCS4Char ch, int32_t byteCount,
                 int64_t skippedBytes) {
  to.CharNumber = from.CharNumber + 1;
  to.Char = ch;
  to.ByteNumber = from.ByteNumber + skippedBytes + byteCount;
  to.ByteCount = byteCount;
  if (ch == CharTab) {
    to.Column = from.Column + 1;
    to.TabsInLine = from.TabsInLine + 1;
    to.Line = from.Line;
  } else if (ch == CharLF) {
    to.Line = from.Line + 1;
    to.Column = 0;
    to.TabsInLine = 0;
  } else {
    to.Column = from.Column + 1;
    to.TabsInLine = from.TabsInLine;
    to.Line = from.Line;
  }
}

}  // namespace

TUtilsUCS4Reader::TUtilsUCS4Reader(TStream* stream, TUnicodeCodecClass codecClass, int32_t bufferSize,
                                   int64_t startByteNumber, int64_t startCharNumber, int64_t startColumn,
                                   int64_t startTabsInLine, int64_t startLine) {
  FStartPos.ByteNumber = startByteNumber;
  FStartPos.CharNumber = startCharNumber;
  FStartPos.Column = startColumn;
  FStartPos.Char = UCS4StartOfInput;
  FStartPos.Line = startLine;
  FStartPos.ByteCount = 0;
  FStartPos.TabsInLine = startTabsInLine;
  FInputStream = std::make_unique<TUtilsAutodetectInputStream>(stream, codecClass, bufferSize);
  const TUnicodeCodecClass detected = FInputStream->CodecClass();
  TUtilsUCS4Reader::SetCodecClass(detected != nullptr ? detected : TUtilsUCS4Reader::GetDefaultCodecClass());
  TUtilsUCS4Reader::Reset();
}

TUnicodeCodecClass TUtilsUCS4Reader::GetCodecClass() const { return FCodec != nullptr ? FCodec->ClassType() : nullptr; }

TUnicodeCodecClass TUtilsUCS4Reader::GetDefaultCodecClass() const { return CodecClassOf<TUTF8Codec>(); }

void TUtilsUCS4Reader::SetCodecClass(TUnicodeCodecClass codecClass) {
  FCodec.reset();
  FUtf8Direct = codecClass == CodecClassOf<TUTF8Codec>();
  if (codecClass == nullptr) return;
  FCodec = codecClass->Create();
  FCodec->SetReadLineBreaks(FLineBreakMode);
  FCodec->SetByteSource(this);
}

bool TUtilsUCS4Reader::ReadCodecBytes(TCustomUnicodeCodec& sender, uint8_t* buffer, int32_t count) {
  const int32_t read = FInputStream->ReadBuffer(buffer, count);
  if (read == count) return true;
  if (read == 0) return false;
  throw EConvertError(sender.InvalidEncodingMessage());
}

void TUtilsUCS4Reader::ReadCharInto(TUtilsCharPosition& to, const TUtilsCharPosition& from) {
  // A well-formed UTF-8 sequence that lies whole in the buffer is decoded here, as
  // the codec would; CR (joined with a following LF), ill-formed or cut sequences and
  // a held character go through the codec.
  if (FUtf8Direct && !FCodec->HasHeldChar()) {
    const std::string_view bytes = FInputStream->BufferedBytes();
    // ASCII, most of any markup, needs no decoding.
    if (!bytes.empty() && static_cast<uint8_t>(bytes[0]) < 0x80 && bytes[0] != '\r') {
      FInputStream->TakeBufferedBytes(1);
      AdvanceFrom(to, from, static_cast<uint8_t>(bytes[0]), 1, FSkippedBytes);
      FSkippedBytes = 0;
      return;
    }
    uint32_t ch;
    size_t length;
    if (!bytes.empty() && bytes[0] != '\r' && DecodeUtf8Sequence(bytes, 0, ch, length)) {
      FInputStream->TakeBufferedBytes(static_cast<int32_t>(length));
      AdvanceFrom(to, from, ch, static_cast<int32_t>(length), FSkippedBytes);
      FSkippedBytes = 0;
      return;
    }
  }
  UCS4Char ch = UCS4EndOfInput;
  int32_t byteCount = 0;
  if (FCodec != nullptr) {
    const int64_t streamStart = GetStreamPosition();
    try {
      FCodec->ReadCharNormalised(ch, byteCount);
    } catch (...) {
      // The bytes of the failed character are gone; the next character counts them.
      FSkippedBytes += GetStreamPosition() - streamStart;
      throw;
    }
  }
  AdvanceFrom(to, from, ch, byteCount, FSkippedBytes);
  FSkippedBytes = 0;
}

// The character after the look-ahead is read into the previous position's slot before
// the ring turns, so a decoding error leaves the reader on the character it was on and
// the next call steps on from there.
void TUtilsUCS4Reader::Next() {
  if (CurrentPos().Char == UCS4EndOfInput) return;
  TUtilsCharPosition& following = FPositions[FCurrentSlot == 0 ? 2 : FCurrentSlot - 1];
  if (NextPos().Char == UCS4EndOfInput)
    following = NextPos();  // the end stays the next position
  else
    ReadCharInto(following, NextPos());
  FCurrentSlot = FCurrentSlot == 2 ? 0 : FCurrentSlot + 1;
}

void TUtilsUCS4Reader::Reset() {
  FInputStream->SetPosition(FStartOffset);
  if (FCodec != nullptr) FCodec->DropHeldChar();  // it was read from before the restart
  for (TUtilsCharPosition& position : FPositions) position = FStartPos;
  FCurrentSlot = 0;
  FSkippedBytes = 0;
  ReadCharInto(FPositions[1], FStartPos);
}

bool TUtilsUCS4Reader::Match(WideStringView text) {
  for (const WideChar unit : text) {
    Next();
    if (CurrentPos().Char != unit) return false;
  }
  return true;
}

int64_t TUtilsUCS4Reader::SkipChars(WideStringView set) {
  int64_t count = 0;
  for (;;) {
    Next();
    const UCS4Char ch = CurrentPos().Char;
    if (ch > 0xFFFF || set.find(static_cast<WideChar>(ch)) == WideStringView::npos) return count;
    ++count;
  }
}
