// Line metrics and text extents read from the font's own tables by fontTools
// (text_extent_peer.py): the expectations of the layout tests come from them, never from
// the code under test.
#pragma once

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/FontResolver.h"

struct TPeerText {
  int Ascent = 0, Descent = 0, Height = 0;
  std::vector<int> Extents;  // one per sample
};

// The font file's face at sizePt points on a 96-pixel-per-inch canvas.
inline TPeerText PeerFontFileText(const std::string& file, int sizePt, const std::vector<std::u16string>& samples) {
  std::string command = "/usr/bin/python3 " QF_TEST_SOURCE_DIR "/richtext/layout/text_extent_peer.py '" + file + "' " +
                        std::to_string(MulDiv(sizePt, 96, 72));
  for (const auto& s : samples) command += " '" + WideToAnsi(s, CP_UTF8) + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  TPeerText out;
  if (!pipe) return out;
  char line[256];
  if (fgets(line, sizeof line, pipe.get())) std::istringstream(line) >> out.Ascent >> out.Descent >> out.Height;
  while (fgets(line, sizeof line, pipe.get())) out.Extents.push_back(std::stoi(line));
  return out;
}

// The face that draws faceName at sizePt points on a 96-pixel-per-inch canvas.
inline TPeerText PeerText(const std::u16string& faceName, int sizePt, const std::vector<std::u16string>& samples) {
  return PeerFontFileText(ResolveFontFace(faceName, false, false).FileName, sizePt, samples);
}

// The face that fallback takes for c where faceName's face lacks it (scripts/setup.sh
// installs fonts-droid-fallback and fonts-noto-core for them); Height 0 when no
// installed face maps c.
inline TPeerText PeerFallbackText(const std::u16string& faceName, int sizePt, char32_t c) {
  const auto face = FindFallbackFace(ResolveFontFace(faceName, false, false).FamilyName, false, false, c);
  return face ? PeerFontFileText(face->FileName, sizePt, {}) : TPeerText{};
}
