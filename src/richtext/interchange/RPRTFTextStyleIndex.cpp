#include "richtext/interchange/RPRTFTextStyleIndex.h"

#include <functional>

#include "platform/base/TextUtils.h"

namespace {

void Mix(uint64_t& key, uint64_t value) { key = (key ^ value) * 0x100000001B3ull + (key >> 29); }

// The key of the properties matched; equal properties give equal keys.
uint64_t KeyOf(const TRPRTFWantedText& w) {
  uint64_t key = std::hash<AnsiString>()(UpperCase(w.FontName));
  for (const int64_t value : {int64_t{w.Charset}, int64_t{w.Size}, int64_t{w.Color}, int64_t{w.BackColor},
                              int64_t{w.Style.Bits()}, int64_t{w.AllCaps}, int64_t{w.CharScale}, int64_t{w.CharSpacing},
                              int64_t{w.ShiftKind}, int64_t{w.Unicode}, int64_t{w.Jump}})
    Mix(key, static_cast<uint64_t>(value));
  return key;
}

TRPRTFWantedText WantedOf(const TFontInfo& s) {
  return {.FontName = s.FontName,
          .Charset = s.Charset,
          .Size = s.Size,
          .Color = s.Color,
          .BackColor = s.BackColor,
          .Style = s.Style,
          .AllCaps = s.StyleEx.Contains(rpfsAllCaps),
          .CharScale = s.CharScale,
          .CharSpacing = s.CharSpacing,
          .ShiftKind = RPRTFShiftKind(s.VShift),
          .Unicode = s.Unicode,
          .Jump = s.Jump};
}

bool Matches(const TFontInfo& s, const TRPRTFWantedText& w) {
  return SameText(s.FontName, w.FontName) && s.Size == w.Size && s.Color == w.Color && s.BackColor == w.BackColor &&
         s.Style == w.Style && s.Charset == w.Charset && s.CharScale == w.CharScale &&
         s.StyleEx.Contains(rpfsAllCaps) == w.AllCaps && !s.StyleEx.Contains(rpfsOverline) &&
         RPRTFShiftKind(s.VShift) == w.ShiftKind && s.Unicode == w.Unicode && s.Jump == w.Jump &&
         s.CharSpacing == w.CharSpacing;
}

}  // namespace

int32_t TRPRTFTextStyleIndex::Find(const TFontInfos& styles, const TRPRTFWantedText& wanted,
                                   const std::function<bool(int32_t)>& allowed) {
  if (styles.Count() < FIndexed) {
    FByKey.clear();
    FIndexed = 0;
  }
  for (; FIndexed < styles.Count(); ++FIndexed)
    if (!styles[FIndexed]->StyleEx.Contains(rpfsOverline)) FByKey.emplace(KeyOf(WantedOf(*styles[FIndexed])), FIndexed);
  int32_t found = -1;
  const auto [first, last] = FByKey.equal_range(KeyOf(wanted));
  for (auto it = first; it != last; ++it) {
    const int32_t i = it->second;
    ++FCompared;
    if ((found < 0 || i < found) && Matches(*styles[i], wanted) && allowed(i)) found = i;
  }
  return found;
}
