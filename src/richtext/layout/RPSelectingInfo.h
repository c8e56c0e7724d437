// What a selection by words or paragraphs with the mouse remembers while it runs.
#pragma once

#include <cstdint>

enum TRPSelectingState : uint8_t {
  InWord,       // the end has not left the word it started in
  OutsideWord,  // it left: that end snaps to word edges
  FreeMode,     // moved back into the word: characters again
  ParaMode,     // every extension covers whole paragraphs
};

struct TRPSelectingInfo {
  int32_t StartNo = -1, StartOffs = 0;  // where the press was
  int32_t EndNo = -1, EndOffs = 0;      // where the mouse is
  // The start word's and the end word's first and last caret offsets.
  int32_t StartWordStartOffs = 0, StartWordEndOffs = 0;
  int32_t EndWordStartOffs = 0, EndWordEndOffs = 0;
  TRPSelectingState StartWordState = InWord;
  TRPSelectingState EndWordState = InWord;
};
