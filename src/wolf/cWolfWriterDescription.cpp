// The description block of a Wolf file.
#include "wolf/cWolfWriter.h"

#include <utility>

#include "platform/base/TextUtils.h"

void TWolfDescription::Clear() {
  for (AnsiString& value : FValues) value.clear();
}

AnsiString TWolfDescription::GetField(int32_t index) const {
  if (index < 0 || index >= WolfDescriptionFieldCount) return AnsiString();
  return FValues[static_cast<size_t>(index)];
}

void TWolfDescription::SetField(int32_t index, AnsiStringView value) {
  if (index < 0 || index >= WolfDescriptionFieldCount) return;
  const auto field = static_cast<size_t>(index);
  // Cut first, then trim: a stored value may be shorter than the maximum.
  FValues[field] = Trim(value.substr(0, static_cast<size_t>(WolfDescriptionItems[field].MaxLength)));
}

void TWolfDescription::Assign(const TWolfDescription& source) {
  // Copy aside first, so a failed copy leaves the values as they were.
  auto values = source.FValues;
  FValues = std::move(values);
}

AnsiString TWolfDescription::DescriptionText() const {
  AnsiString text;
  for (size_t i = 0; i < FValues.size(); ++i) {
    if (FValues[i].empty() && !WolfDescriptionItems[i].Always) continue;
    text += WolfDescriptionItems[i].Tag;
    text += EscapeWolfText(FValues[i]);
    text += WolfLineBreak;
  }
  return text;
}

int32_t TWolfDescription::TextLength() const { return static_cast<int32_t>(DescriptionText().size()); }

// The five replacements run in this order over the whole string; since "&" goes first
// and no inserted entity holds another special character, one pass gives the same text.
AnsiString EscapeWolfText(AnsiStringView s) {
  AnsiString out;
  out.reserve(s.size());
  for (const char c : s) {
    switch (c) {
      case '&':
        out += "&apos;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&squot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}
