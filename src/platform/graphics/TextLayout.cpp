#include "platform/graphics/TextLayout.h"

#include <fribidi.h>

#include <algorithm>
#include <numeric>

#include "platform/base/CodePages.h"
#include "platform/base/SymbolFontChars.h"
#include "platform/base/Utf8.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextShaping.h"

TAnsiText DecodeAnsiForFont(HDC dc, const char* text, int32_t count) {
  TAnsiText out;
  if (count <= 0 || !text) return out;
  uint32_t codePage = CharsetCodePage(dc->SelectedFont().LogFont().lfCharSet);
  out.Text = AnsiToWide(AnsiStringView(text, static_cast<size_t>(count)), codePage);
  out.ByteUnit.resize(static_cast<size_t>(count));
  if (out.Text.size() == static_cast<size_t>(count)) {
    std::iota(out.ByteUnit.begin(), out.ByteUnit.end(), 0);
    return out;
  }
  // A multi-byte code page: decode character by character to learn which bytes pair up.
  out.Text.clear();
  WideChar units[4];
  for (int32_t i = 0; i < count;) {
    int32_t length = 1;
    int32_t n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text + i, 1, units, 4);
    if (n == 0 && i + 1 < count) {
      n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text + i, 2, units, 4);
      if (n > 0) length = 2;
    }
    if (n <= 0) {
      units[0] = 0xFFFD;
      n = 1;
    }
    out.Text.append(units, static_cast<size_t>(n));
    if (length == 2) out.ByteUnit[static_cast<size_t>(i)] = -1;
    out.ByteUnit[static_cast<size_t>(i + length - 1)] = static_cast<int32_t>(out.Text.size()) - 1;
    i += length;
  }
  return out;
}

WideStringView FaceText(HDC dc, WideStringView text, WideString& storage) {
  const TFontObject& font = dc->SelectedFont();
  if (font.LogFont().lfCharSet != SYMBOL_CHARSET) return text;
  const bool ownCodes = font.Sized().Face().SymbolEncoded;
  storage.assign(text);
  for (WideChar& unit : storage) {
    const bool symbolCode = (unit >= 0x20 && unit <= 0xFF) || (unit >= 0xF020 && unit <= 0xF0FF);
    if (!symbolCode) continue;
    const auto code = static_cast<uint8_t>(unit & 0xFF);
    const WideChar shown = ownCodes ? static_cast<WideChar>(0xF000 | code) : SymbolCharToUnicode(code);
    if (shown) unit = shown;
  }
  return storage;
}

int64_t UnitAdvances(HDC dc, WideStringView text, int32_t* advances, int32_t* height) {
  WideString faceText;
  text = FaceText(dc, text, faceText);
  const int64_t plain = PlainAdvances(dc, text, advances);
  if (plain >= 0) {
    if (height) *height = dc->SelectedFont().Sized().Metrics().Height;
    return plain;
  }
  const TShapedText shaped = ShapeText(dc, text);
  std::copy(shaped.Advances.begin(), shaped.Advances.end(), advances);
  if (height) *height = shaped.Ascent + shaped.Descent;
  return shaped.Width;
}

int64_t ExtentsOfAdvances(const int32_t* advances, size_t count, int32_t maxExtent, int32_t* dx, int32_t* fit) {
  int64_t x = 0;
  int32_t fitting = 0;
  for (size_t i = 0; i < count; ++i) {
    x += advances[i];
    if (dx) dx[i] = static_cast<int32_t>(x);
    if (x <= maxExtent && fitting == static_cast<int32_t>(i)) fitting = static_cast<int32_t>(i) + 1;
  }
  if (fit) *fit = fitting;
  return x;
}

bool HasRightToLeft(WideStringView text) noexcept { return std::any_of(text.begin(), text.end(), IsRightToLeftUnit); }

void VisualOrder(WideStringView text, bool rightToLeftBase, std::vector<int32_t>& visualToLogical,
                 std::vector<uint8_t>& levels) {
  const FriBidiStrIndex n = static_cast<FriBidiStrIndex>(text.size());
  visualToLogical.resize(text.size());
  levels.assign(text.size(), rightToLeftBase ? 1 : 0);
  std::iota(visualToLogical.begin(), visualToLogical.end(), 0);
  if (n == 0) return;
  std::vector<FriBidiChar> chars(text.begin(), text.end());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  std::vector<FriBidiLevel> fribidiLevels(text.size());
  fribidi_get_bidi_types(chars.data(), n, types.data());
  fribidi_get_bracket_types(chars.data(), n, types.data(), brackets.data());
  FriBidiParType base = rightToLeftBase ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &base, fribidiLevels.data())) return;
  for (size_t i = 0; i < text.size(); ++i) levels[i] = static_cast<uint8_t>(fribidiLevels[i]);
  // Reordering permutes the levels it is given, so it gets the copy.
  std::vector<FriBidiStrIndex> map(text.size());
  std::iota(map.begin(), map.end(), 0);
  if (!fribidi_reorder_line(FRIBIDI_FLAGS_DEFAULT, types.data(), n, 0, base, fribidiLevels.data(), nullptr, map.data()))
    return;
  for (size_t i = 0; i < text.size(); ++i) visualToLogical[i] = map[i];
}
