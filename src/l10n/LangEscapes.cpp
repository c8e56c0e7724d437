#include "l10n/LangEscapes.h"

namespace {

bool IsDecimalDigit(WideChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

WideString UnescapeLangText(WideStringView text) {
  WideString result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const WideChar c = text[i];
    const size_t rest = text.size() - i - 1;
    if (c != u'\\' || rest == 0) {
      result += c;
      continue;
    }
    const WideChar next = text[i + 1];
    if (next == u'\\') {
      result += u'\\';
      ++i;
    } else if (next == u'n') {
      result += u"\r\n";
      ++i;
    } else if (next == u't') {
      result += u'\t';
      ++i;
    } else if (rest >= 2 && IsDecimalDigit(next) && IsDecimalDigit(text[i + 2])) {
      result += static_cast<WideChar>((next - u'0') * 10 + (text[i + 2] - u'0'));
      i += 2;
    } else {
      result += c;
    }
  }
  return result;
}

WideString EscapeLangText(WideStringView text) {
  WideString result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const WideChar c = text[i];
    if (c == u'\r' || c == u'\n') {
      // A CR LF or LF CR pair is one line break.
      const WideChar partner = c == u'\r' ? u'\n' : u'\r';
      if (i + 1 < text.size() && text[i + 1] == partner) ++i;
      result += u"\\n";
    } else if (c == u'\t') {
      result += u"\\t";
    } else if (c == u'\\') {
      result += u"\\\\";
    } else if (c < 32) {
      result += u'\\';
      result += static_cast<WideChar>(u'0' + c / 10);
      result += static_cast<WideChar>(u'0' + c % 10);
    } else {
      result += c;
    }
  }
  return result;
}
