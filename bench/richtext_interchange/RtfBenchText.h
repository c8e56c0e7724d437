// The formatted text both RTF benchmarks read: about 1 MiB in the shape word processors
// write (a group per run, control words between them, \u characters with fallbacks, tabs).
#pragma once

#include <string>

inline std::string RtfBenchFormattedText() {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}"
      "{\\colortbl;\\red255\\green0\\blue0;}\n";
  while (rtf.size() < (1u << 20)) {
    rtf +=
        "\\pard\\plain\\ql\\li0\\fi284\\sa120\\f0\\fs24 {\\loch The quick brown fox jumps over the lazy dog.}"
        "{\\b\\cf1\\f1 Bold red words} {\\i\\u1055\\'3f\\u1088\\'3f\\u1080\\'3f\\u1074\\'3f\\u1077\\'3f"
        "\\u1090\\'3f} and more plain text with a\\tab tab.\\par\n";
  }
  return rtf + "}";
}
