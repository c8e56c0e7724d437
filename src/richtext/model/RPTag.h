// The tag of an item or a checkpoint: a plain integer, or, when the document's options
// hold rpoTagsArePChars, an 8-bit string that the item owns (empty for none). Copying a
// tag copies its string, so every item keeps its own.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

class TRPTag {
public:
  TRPTag() = default;
  static TRPTag FromNumber(int32_t number) {
    TRPTag tag;
    tag.FNumber = number;
    return tag;
  }
  static TRPTag FromText(AnsiString text) {
    TRPTag tag;
    tag.FIsText = true;
    tag.FText = std::move(text);
    return tag;
  }

  bool IsText() const noexcept { return FIsText; }
  int32_t Number() const noexcept { return FNumber; }
  const AnsiString& Text() const noexcept { return FText; }

  // The tags are alike: two strings of equal text, or two equal numbers.
  friend bool operator==(const TRPTag& a, const TRPTag& b) noexcept {
    return a.FIsText == b.FIsText && (a.FIsText ? a.FText == b.FText : a.FNumber == b.FNumber);
  }

private:
  bool FIsText = false;
  int32_t FNumber = 0;
  AnsiString FText;
};
