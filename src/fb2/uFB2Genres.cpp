#include "fb2/uFB2Genres.h"

#include <unordered_map>

#include "platform/base/CompareString.h"
#include "unicode/UniSystem.h"

namespace {

// Case-folded code -> row, made on first use; the table is fixed, so is this.
const std::unordered_map<WideString, PResStringRec>& GenresByCode() {
  static const std::unordered_map<WideString, PResStringRec> genres = [] {
    std::unordered_map<WideString, PResStringRec> byCode;
    for (PResStringRec record : FB2GenreResStrings) {
      const std::string_view code = GenreCode(*record);
      byCode.emplace(CaseFoldWide(WideString(code.begin(), code.end())), record);
    }
    return byCode;
  }();
  return genres;
}

}  // namespace

WideString GetGenreName(WideStringView code) {
  const auto& genres = GenresByCode();
  const auto found = genres.find(CaseFoldWide(code));
  return found == genres.end() ? WideString() : LoadWideResString(found->second);
}
