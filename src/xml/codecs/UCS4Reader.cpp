#include "xml/codecs/UCS4Reader.h"

#include "xml/codecs/Utf8Codec.h"

namespace {

constexpr UCS4Char CharTab = 9;
constexpr UCS4Char CharLF = 10;

// Moves `position` past a character that took `byteCount` bytes after `skippedBytes`
// bytes that failed to decode.
void Advance(TUtilsCharPosition& position, UCS4Char ch, int32_t byteCount, int64_t skippedBytes) {
  ++position.CharNumber;
  position.Char = ch;
  position.ByteNumber += skippedBytes + byteCount;
  position.ByteCount = byteCount;
  if (ch == CharTab) {
    ++position.Column;
    ++position.TabsInLine;
  } else if (ch == CharLF) {
    ++position.Line;
    position.Column = 0;
    position.TabsInLine = 0;
  } else {
    ++position.Column;
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

TUtilsCharPosition TUtilsUCS4Reader::ReadCharAfter(const TUtilsCharPosition& position) {
  UCS4Char ch = UCS4EndOfInput;
  int32_t byteCount = 0;
  const int64_t streamStart = GetStreamPosition();
  try {
    if (FCodec != nullptr) FCodec->ReadCharNormalised(ch, byteCount);
  } catch (...) {
    // The bytes of the failed character are gone; the next character counts them.
    FSkippedBytes += GetStreamPosition() - streamStart;
    throw;
  }
  TUtilsCharPosition next = position;
  Advance(next, ch, byteCount, FSkippedBytes);
  FSkippedBytes = 0;
  return next;
}

void TUtilsUCS4Reader::ReadNextChar() { FNextPos = ReadCharAfter(FNextPos); }

// The look-ahead is read before any position moves, so a decoding error leaves the
// reader on the character it was on and the next call steps on from there.
void TUtilsUCS4Reader::Next() {
  if (FCurrentPos.Char == UCS4EndOfInput) return;
  const TUtilsCharPosition following = FNextPos.Char != UCS4EndOfInput ? ReadCharAfter(FNextPos) : FNextPos;
  FPreviousPos = FCurrentPos;
  FCurrentPos = FNextPos;
  FNextPos = following;
}

void TUtilsUCS4Reader::Reset() {
  FInputStream->SetPosition(FStartOffset);
  if (FCodec != nullptr) FCodec->DropHeldChar();  // it was read from before the restart
  FPreviousPos = FStartPos;
  FCurrentPos = FStartPos;
  FNextPos = FStartPos;
  FSkippedBytes = 0;
  ReadNextChar();
}

bool TUtilsUCS4Reader::Match(WideStringView text) {
  for (const WideChar unit : text) {
    Next();
    if (FCurrentPos.Char != unit) return false;
  }
  return true;
}

int64_t TUtilsUCS4Reader::SkipChars(WideStringView set) {
  int64_t count = 0;
  for (;;) {
    Next();
    const UCS4Char ch = FCurrentPos.Char;
    if (ch > 0xFFFF || set.find(static_cast<WideChar>(ch)) == WideStringView::npos) return count;
    ++count;
  }
}
