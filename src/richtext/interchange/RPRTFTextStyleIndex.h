// The text styles of a style sheet indexed by the properties an import matches a run's
// formatting on (rprsAddIfNeeded), so that finding an equal style costs the styles that
// share the run's key, not every style of the sheet.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

#include "platform/base/Types.h"
#include "richtext/model/RPStyle.h"

// What an imported run asks of a text style.
struct TRPRTFWantedText {
  AnsiString FontName;
  uint8_t Charset = DEFAULT_CHARSET;
  int32_t Size = 12;
  TColor Color = clWindowText;
  TColor BackColor = clNone;
  TFontStyles Style;
  bool AllCaps = false;
  int32_t CharScale = 100;
  int32_t CharSpacing = 0;  // pixels
  int32_t ShiftKind = 0;    // 0 none, -1 lowered, 1 raised
  bool Unicode = false;
  bool Jump = false;
};

// The vertical shift of a style: 0 none, -1 lowered, 1 raised.
inline int32_t RPRTFShiftKind(int32_t vShift) { return vShift < 0 ? -1 : vShift > 0 ? 1 : 0; }

class TRPRTFTextStyleIndex {
public:
  // The first style of styles that is allowed and equal to wanted (the font name
  // matched without regard to ASCII case; a style with an overline never), or -1. The
  // styles appended since the last call are indexed first; styles must not change or go
  // while the index is used (a shorter collection is indexed afresh).
  int32_t Find(const TFontInfos& styles, const TRPRTFWantedText& wanted, const std::function<bool(int32_t)>& allowed);
  // The styles compared with a run so far.
  int64_t Compared() const { return FCompared; }

private:
  std::unordered_multimap<uint64_t, int32_t> FByKey;
  int32_t FIndexed = 0;
  int64_t FCompared = 0;
};
