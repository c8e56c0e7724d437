// DrawText: lines, word breaks, prefixes, tabs, ellipsis and alignment in a rectangle.
#include <algorithm>
#include <vector>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/TextMetrics.h"

namespace {

// One line to draw: its characters and the x of each one's origin from the line start.
struct TLine {
  WideString Text;
  std::vector<int32_t> Advances;
  int32_t Width = 0;
  int32_t Underline = -1;  // index of the character a prefix underlines
};

struct TFormatter {
  HDC Dc;
  uint32_t Format;
  int32_t TabWidth;
  int32_t Avail;

  // Lays text out from x pixels into its line, each unit's advance into advances (tabs
  // jump to the next stop from the line start); returns the x after it.
  int32_t Lay(WideStringView text, int32_t x, int32_t* advances) const {
    UnitAdvances(Dc, text, advances);
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\t' && (Format & DT_EXPANDTABS) && TabWidth > 0) advances[i] = (x / TabWidth + 1) * TabWidth - x;
      x += advances[i];
    }
    return x;
  }

  // Measures a line as drawn.
  void Measure(TLine& line) const {
    line.Advances.assign(line.Text.size(), 0);
    line.Width = Lay(line.Text, 0, line.Advances.data());
  }

  TLine Make(WideStringView text, int32_t underline) const {
    TLine line;
    line.Text = WideString(text);
    line.Underline = underline >= 0 && underline < static_cast<int32_t>(text.size()) ? underline : -1;
    Measure(line);
    return line;
  }

  // Splits one paragraph at spaces so that each line fits Avail where words allow. Each
  // word and its spaces are laid out once, after the words before them on the line.
  void Wrap(const WideString& text, int32_t underline, std::vector<TLine>& lines) const {
    const WideStringView view(text);
    std::vector<int32_t> advances(text.size());
    size_t start = 0;
    while (true) {
      size_t end = start;   // end of the words that fit, trailing spaces excluded
      size_t next = start;  // where the next line starts
      size_t i = start;
      int32_t x = 0;  // width of text[start, i)
      while (i < text.size()) {
        size_t wordEnd = i;
        while (wordEnd < text.size() && text[wordEnd] != u' ') ++wordEnd;
        const int32_t wordRight = Lay(view.substr(i, wordEnd - i), x, advances.data() + i);
        if (end > start && wordRight > Avail) break;
        end = wordEnd;
        while (wordEnd < text.size() && text[wordEnd] == u' ') ++wordEnd;
        x = Lay(view.substr(end, wordEnd - end), wordRight, advances.data() + end);
        next = i = wordEnd;
      }
      if (end == start && next == start) next = end = text.size();
      int32_t mark = underline >= static_cast<int32_t>(start) ? underline - static_cast<int32_t>(start) : -1;
      lines.push_back(Make(WideStringView(text).substr(start, end - start), mark));
      if (next >= text.size()) return;
      start = next;
    }
  }

  // Cuts a line that is too wide to the longest prefix that fits with "...".
  void Ellipsis(TLine& line) const {
    if (line.Width <= Avail) return;
    TLine dots = Make(u"...", -1);
    size_t keep = 0;
    int32_t x = 0;
    while (keep < line.Text.size() && x + line.Advances[keep] + dots.Width <= Avail) x += line.Advances[keep++];
    line.Text = line.Text.substr(0, keep) + u"...";
    if (line.Underline >= static_cast<int32_t>(keep)) line.Underline = -1;
    Measure(line);
  }
};

// Removes prefix marks: "&&" is "&", "&x" underlines x; returns the underlined index.
int32_t StripPrefixes(WideString& text) {
  WideString out;
  int32_t underline = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&') underline = static_cast<int32_t>(out.size());
    } else if (text[i] == u'&') {
      continue;
    }
    out += text[i];
  }
  text = std::move(out);
  return underline;
}

}  // namespace

int32_t DrawTextExW(HDC dc, const WideChar* text, int32_t count, TRect* rect, uint32_t format, DRAWTEXTPARAMS* params) {
  if (!dc || !rect || (count != 0 && !text)) return 0;
  WideString source = count < 0 ? WideString(text) : WideString(text, static_cast<size_t>(count));
  int32_t tabChars = params && params->iTabLength > 0 ? params->iTabLength : 8;
  if (format & DT_TABSTOP) {
    tabChars = static_cast<int32_t>((format >> 8) & 0xFF);
    format &= ~uint32_t{0xFF00};
  }
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  const int32_t leftMargin = params ? params->iLeftMargin : 0;
  const int32_t rightMargin = params ? params->iRightMargin : 0;
  TFormatter formatter{dc, format, tabChars * tm.tmAveCharWidth, rect->Width() - leftMargin - rightMargin};

  int32_t underline = (format & DT_NOPREFIX) ? -1 : StripPrefixes(source);
  std::vector<TLine> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(formatter.Make(source, underline));
  } else {
    size_t start = 0;
    while (true) {
      size_t end = source.find_first_of(u"\r\n", start);
      size_t stop = end == WideString::npos ? source.size() : end;
      WideString paragraph = source.substr(start, stop - start);
      int32_t mark = underline >= static_cast<int32_t>(start) ? underline - static_cast<int32_t>(start) : -1;
      if (format & DT_WORDBREAK)
        formatter.Wrap(paragraph, mark, lines);
      else
        lines.push_back(formatter.Make(paragraph, mark));
      if (end == WideString::npos) break;
      start = end + ((source[end] == u'\r' && end + 1 < source.size() && source[end + 1] == u'\n') ? 2 : 1);
      if (start >= source.size()) break;
    }
  }
  if (format & DT_END_ELLIPSIS)
    for (TLine& line : lines) formatter.Ellipsis(line);

  const int32_t lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const int32_t textHeight = lineHeight * static_cast<int32_t>(lines.size());
  int32_t top = rect->Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_BOTTOM)
      top = rect->Bottom - lineHeight;
    else if (format & DT_VCENTER)
      top = (rect->Top + rect->Bottom - lineHeight) / 2;
  }
  if (params) params->uiLengthDrawn = static_cast<uint32_t>(source.size());
  if (format & DT_CALCRECT) {
    int32_t widest = 0;
    for (const TLine& line : lines) widest = std::max(widest, line.Width);
    rect->Right = rect->Left + leftMargin + widest + rightMargin;
    rect->Bottom = rect->Top + textHeight;
    return textHeight;
  }

  TDeviceState& state = dc->State;
  const uint32_t savedAlign = state.TextAlign;
  state.TextAlign = TA_LEFT | TA_TOP;
  const uint32_t options = ((format & DT_NOCLIP) ? 0 : ETO_CLIPPED) | ((format & DT_RTLREADING) ? ETO_RTLREADING : 0);
  int32_t y = top;
  const int32_t left = rect->Left + leftMargin, right = rect->Right - rightMargin;
  for (const TLine& line : lines) {
    int32_t x = (format & DT_RIGHT)    ? right - line.Width
                : (format & DT_CENTER) ? (left + right - line.Width) / 2
                                       : left;
    ExtTextOutW(dc, x, y, options, rect, line.Text.data(), static_cast<uint32_t>(line.Text.size()),
                line.Advances.data());
    if (line.Underline >= 0 && dc->Bitmap()) {
      int32_t from = x;
      for (int32_t i = 0; i < line.Underline; ++i) from += line.Advances[static_cast<size_t>(i)];
      const TFontMetrics& m = dc->SelectedFont().Sized().Metrics();
      TPoint a = dc->ToDevice(from, y + m.Ascent - m.UnderscorePosition);
      const TRect clip = dc->ToDevice(*rect);
      TRasterTarget(*dc, (format & DT_NOCLIP) ? nullptr : &clip)
          .Fill(TRect{a.X, a.Y, a.X + line.Advances[static_cast<size_t>(line.Underline)], a.Y + m.UnderscoreSize},
                state.TextColor);
    }
    y += lineHeight;
  }
  state.TextAlign = savedAlign;
  return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect->Top + lineHeight : textHeight;
}

int32_t DrawTextW(HDC dc, const WideChar* text, int32_t count, TRect* rect, uint32_t format) {
  return DrawTextExW(dc, text, count, rect, format, nullptr);
}

int32_t DrawTextA(HDC dc, const char* text, int32_t count, TRect* rect, uint32_t format) {
  if (!dc || (count != 0 && !text)) return 0;
  int32_t bytes = count < 0 ? static_cast<int32_t>(std::char_traits<char>::length(text)) : count;
  TAnsiText wide = DecodeAnsiForFont(dc, text, bytes);
  return DrawTextExW(dc, wide.Text.data(), static_cast<int32_t>(wide.Text.size()), rect, format, nullptr);
}
