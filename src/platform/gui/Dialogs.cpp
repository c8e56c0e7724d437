#include "platform/gui/Dialogs.h"

#include <algorithm>

namespace {

std::vector<WideString> SplitAt(const WideString& text, WideChar separator) {
  std::vector<WideString> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == WideString::npos ? WideString::npos : end - start));
    if (end == WideString::npos) return parts;
    start = end + 1;
  }
}

bool EndsWith(const WideString& text, const WideString& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::vector<WideString> ConvertFilter(const WideString& filter) {
  std::vector<WideString> result;
  if (filter.empty()) return result;
  const std::vector<WideString> parts = SplitAt(filter, u'|');
  for (size_t i = 0; i < parts.size(); i += 2) {
    WideString description = parts[i];
    if (i + 1 >= parts.size()) {
      result.push_back(description);
      break;
    }
    const WideString& masks = parts[i + 1];
    // A description that shows its masks ("Books (*.fb2;*.zip)") shows them only once.
    const WideString shown = u" (" + masks + u")";
    if (EndsWith(description, shown)) description.resize(description.size() - shown.size());
    WideString blankSeparated = masks;
    std::replace(blankSeparated.begin(), blankSeparated.end(), u';', u' ');
    result.push_back(description + u" (" + blankSeparated + u")");
  }
  return result;
}

void TOpenDialog::SetInitialDir(const WideString& value) {
  FInitialDir = value;
  if (FInitialDir.size() > 1 && FInitialDir.back() == u'/') FInitialDir.pop_back();
}

const TClassProps& TOpenDialog::Props() {
  static const TClassProps props(
      "TOpenDialog", nullptr,
      {
          Published::WideText<TOpenDialog>("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt),
          Published::WideText<TOpenDialog>("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName),
          Published::WideText<TOpenDialog>("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter),
          Published::Integer<TOpenDialog>("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1),
          Published::WideText<TOpenDialog>("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir),
          Published::WideText<TOpenDialog>("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle),
      });
  return props;
}
