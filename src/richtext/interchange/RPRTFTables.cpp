// The document-wide tables of the reader: fonts, style sheet, colours, lists and list
// overrides.
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFProperties.h"

// --- Fonts ----------------------------------------------------------------------------

TRPRTFFont* TRPRTFFontList::AddFont(int32_t number) {
  TRPRTFFont* font = AddNew();
  font->Number = number;
  FFirstIndexOfNumber.try_emplace(number, Count() - 1);
  return font;
}

void TRPRTFFontList::Clear() {
  TRPRTFOwningList<TRPRTFFont>::Clear();
  FFirstIndexOfNumber.clear();
}

int32_t TRPRTFFontList::IndexOfNumber(int32_t number) const {
  const auto found = FFirstIndexOfNumber.find(number);
  return found == FFirstIndexOfNumber.end() ? -1 : found->second;
}

int32_t TRPRTFFontList::GetFontIndex(int32_t number, int32_t defNumber) const {
  const int32_t index = IndexOfNumber(number);
  if (index >= 0) return index;
  if (number == defNumber) return 0;
  const int32_t defIndex = IndexOfNumber(defNumber);
  return defIndex >= 0 ? defIndex : 0;
}

void TRPRTFFontList::RemoveCharsetSuffixes() {
  static const struct {
    uint8_t Charset;
    const char* Suffix;  // with its leading space
  } suffixes[] = {{161, " greek"}, {162, " tur"}, {186, " baltic"}, {204, " cyr"}, {238, " ce"}};
  for (int32_t i = 0; i < Count(); ++i) {
    TRPRTFFont& font = *Items(i);
    for (const auto& s : suffixes) {
      const AnsiStringView suffix(s.Suffix);
      if (font.Charset != s.Charset || font.Name.size() <= suffix.size()) continue;
      if (SameText(AnsiStringView(font.Name).substr(font.Name.size() - suffix.size()), suffix))
        font.Name.resize(font.Name.size() - suffix.size());
    }
  }
}

// --- Style sheet ----------------------------------------------------------------------

TRPRTFStyleSheetEntry* TRPRTFStyleSheet::FindEntry(int32_t number) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i)->Number == number) return Items(i);
  return nullptr;
}

// --- Colours --------------------------------------------------------------------------

TColor TRPRTFColorList::ColorOr(int32_t index, TColor fallback) const {
  return index >= 0 && index < Count() ? GetItem(index) : fallback;
}

void TRPRTFColorList::MixIntoLast(int32_t value, int32_t shift) {
  if (Count() == 0) return;
  const int32_t last = Count() - 1;
  TColor color = GetItem(last);
  if (color == clWindowText) color = 0;
  color = static_cast<TColor>(static_cast<uint32_t>(color) | ((static_cast<uint32_t>(value) & 0xFFu) << shift));
  SetItem(last, color);
}

// --- Lists ----------------------------------------------------------------------------

int32_t TRPRTFListTable97::FindListId(int32_t id) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i)->Id == id) return i;
  return -1;
}

int32_t TRPRTFListOverrideTable97::FindOverrideNumber(int32_t number) const {
  for (int32_t i = 0; i < Count(); ++i)
    if (Items(i)->Number == number) return i;
  return -1;
}
