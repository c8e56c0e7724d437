// Limits of the XML library on what untrusted input (and the sizes callers pass) may
// make it allocate or loop over. Each reader keeps its own copy, taken from
// DefaultXmlLimits() when it is made; each default is generous enough that no real
// book is refused. Tests narrow them for one scope with TXmlLimitsOverride.
#pragma once

#include <cstdint>

struct TXmlLimits {
  // Largest read-ahead block of a character reader; larger requests are cut to it,
  // so a caller's buffer size cannot make the reader allocate without bound.
  int32_t MaxInputBufferBytes = 16 * 1024 * 1024;
  // Longest token (text run, tag, comment, CDATA section, declaration) in UTF-16
  // units: the largest binary of a book is a few megabytes of base64 text.
  int64_t MaxTokenChars = 64 * 1024 * 1024;
  // Deepest element nesting; real books stay below a hundred levels.
  int32_t MaxElementDepth = 10000;
  // Most nodes (elements, attributes, texts and the rest) one parse may build: a node
  // costs a hundred bytes and more, so a document of nothing but tiny elements, or of
  // entities that expand into them, ends in an error instead of taking all memory. A
  // book of 100 MB holds a few million nodes.
  int64_t MaxNodeCount = 8 * 1024 * 1024;
  // Particle matches one content-model match may make; greedy matching of stars inside
  // stars can otherwise take time exponential in the model's nesting.
  int64_t MaxContentModelSteps = 16 * 1024 * 1024;
  // Deepest particle nesting a match descends into; real DTDs nest a handful of groups.
  int32_t MaxContentModelDepth = 500;
  // Longest text one entity expansion may produce in UTF-16 units, so that entities
  // referencing entities many times ("billion laughs") end in an error, not in memory.
  int64_t MaxEntityExpansionChars = 64 * 1024 * 1024;
};

namespace XmlLimitsDetail {
inline const TXmlLimits* CurrentDefault = nullptr;
}

// The limits that readers made now start with.
inline const TXmlLimits& DefaultXmlLimits() {
  static const TXmlLimits builtIn;
  return XmlLimitsDetail::CurrentDefault ? *XmlLimitsDetail::CurrentDefault : builtIn;
}

// For tests: readers made while it lives start with `limits`; the previous defaults
// come back when it goes. Overrides nest.
class TXmlLimitsOverride {
public:
  explicit TXmlLimitsOverride(const TXmlLimits& limits) : FLimits(limits), FPrevious(XmlLimitsDetail::CurrentDefault) {
    XmlLimitsDetail::CurrentDefault = &FLimits;
  }
  ~TXmlLimitsOverride() { XmlLimitsDetail::CurrentDefault = FPrevious; }
  TXmlLimitsOverride(const TXmlLimitsOverride&) = delete;
  TXmlLimitsOverride& operator=(const TXmlLimitsOverride&) = delete;

private:
  TXmlLimits FLimits;
  const TXmlLimits* FPrevious;
};
