#include "platform/base/CompareString.h"

#include <algorithm>

#include "platform/base/LastError.h"
#include "platform/base/UnicodeCase.h"

int32_t CompareWideStrings(WideStringView a, WideStringView b, bool ignoreCase) noexcept {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    WideChar ca = a[i];
    WideChar cb = b[i];
    if (ca != cb && ignoreCase) {
      ca = SimpleCaseFold(ca);
      cb = SimpleCaseFold(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

WideString CaseFoldWide(WideStringView s) {
  WideString folded(s);
  for (WideChar& c : folded) c = SimpleCaseFold(c);
  return folded;
}

int32_t CompareStringW(LCID, uint32_t cmpFlags, const WideChar* string1, int32_t count1, const WideChar* string2,
                       int32_t count2) {
  if ((cmpFlags & ~NORM_IGNORECASE) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (string1 == nullptr || string2 == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WideStringView a = count1 < 0 ? WideStringView(string1) : WideStringView(string1, static_cast<size_t>(count1));
  const WideStringView b = count2 < 0 ? WideStringView(string2) : WideStringView(string2, static_cast<size_t>(count2));
  return CSTR_EQUAL + CompareWideStrings(a, b, (cmpFlags & NORM_IGNORECASE) != 0);
}
