// The rich view control's answers to the text-control messages, in the linear positions
// of its document.
#include <algorithm>

#include "richtext/layout/view/RichPane.h"

namespace {

bool Answers(const TCustomRichPane& pane) {
  return (pane.DocumentFlags & rpdfTextMessages) != 0 && (pane.ComponentState() & csDestroying) == 0;
}

}  // namespace

bool TCustomRichPane::GetSel(int32_t& start, int32_t& end) {
  start = end = 0;
  if (!Answers(*this)) return false;
  int32_t from = 0, length = 0;
  GetLinearSelection(from, length);
  start = std::min(from, from + length);
  end = std::max(from, from + length);
  return true;
}

bool TCustomRichPane::SetSel(int32_t start, int32_t end) {
  if (!Answers(*this)) return false;
  if (end < 0) end = GetLinearTextLength();
  SetLinearSelection(start, end - start);
  Repaint();
  return true;
}

int32_t TCustomRichPane::GetTextRange(int32_t start, int32_t end, WideString& text) {
  text.clear();
  if (!Answers(*this)) return 0;
  text = GetLinearText(start, end < 0 ? -1 : std::max(end - start, 0));
  return static_cast<int32_t>(text.size());
}

int32_t TCustomRichPane::GetTextBuf(WideChar* buffer, int32_t size) {
  if (!Answers(*this) || size < 1 || !buffer) return 0;
  const WideString text = GetLinearText(0, size - 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<int32_t>(text.size());
}

int32_t TCustomRichPane::GetTextLen() { return Answers(*this) ? GetLinearTextLength() : 0; }

bool TCustomRichPane::SetTextBuf(AnsiStringView text) {
  if (!Answers(*this)) return false;
  Clear();
  AddTextNL(text, 0, 0, 0);
  Format();
  return true;
}
