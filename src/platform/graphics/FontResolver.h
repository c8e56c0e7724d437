// Resolves a logical face name and style to a font file through fontconfig.
//
// "Times New Roman", "Arial" and "Courier New" (and the usual short forms) resolve to
// their metric-compatible Liberation faces, "Symbol" to Liberation Serif, whose letters
// are of its kind (text in it shows its symbols, TextLayout.h). Any other name must be an installed family
// (compared without regard to case); a name that is not installed falls back to the
// default face, Liberation Sans, and when even that is missing to fontconfig's best
// sans-serif face. So no name fails and the choice does not depend on the machine's
// fontconfig defaults once the project's fonts are installed.
//
// Within the family the face nearest to the wanted weight and slant is taken, normal
// width first. Emboldening or slanting is synthesised only when the family has no bold
// or no italic face. Results are cached per (name, bold, italic); use from one thread.
#pragma once

#include <optional>
#include <string>

#include "platform/base/Types.h"

struct TResolvedFontFace {
  std::string FileName;    // UTF-8 path of the font file
  int32_t FaceIndex = 0;   // face within a collection file
  std::string FamilyName;  // fontconfig's family name of the face taken
  bool SyntheticBold = false;
  bool SyntheticItalic = false;
};

// The face that draws `faceName` (at most 31 characters count, as a logical font keeps
// them). Raises Exception "No font is installed" only when fontconfig knows no font at all.
const TResolvedFontFace& ResolveFontFace(WideStringView faceName, bool bold, bool italic);

// The family taken when a face name is not installed.
inline constexpr char DefaultFontFamily[] = "Liberation Sans";

// The face fontconfig ranks best for a character that the family `family` lacks: of the
// installed scalable faces that map it, the nearest to the family's class (serif,
// sans-serif or monospace), to the wanted weight and to the slant. Nullopt when no
// installed face maps the character. Not cached: the sized faces keep what they find.
std::optional<TResolvedFontFace> FindFallbackFace(const std::string& family, bool bold, bool italic, char32_t c);
