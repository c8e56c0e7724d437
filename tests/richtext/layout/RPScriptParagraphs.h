// Long paragraphs in several scripts for the tests of line breaking: words of one
// script, or of several in turn, repeated to a length.
#pragma once

#include <string>
#include <vector>

// Words written without spaces between them (Chinese and Japanese, with their commas and
// full stops), so that a line may break between any two of their characters.
inline const std::vector<std::u16string>& CjkPhrases() {
  static const std::vector<std::u16string> phrases = {u"日本語の本と中文の書物を読む、", u"春眠不覺曉處處聞啼鳥。",
                                                      u"夜來風雨聲花落知多少「静夜思」。"};
  return phrases;
}

// Words of the scripts that shaping joins or reorders, and Hebrew with and without points.
inline const std::vector<std::u16string>& MixedScriptWords() {
  static const std::vector<std::u16string> words = {u"مرحبا", u"بالعالم", u"नमस्ते",  u"दुनिया",  u"สวัสดีชาวโลก",
                                                    u"שָׁלוֹם",  u"עולם",    u"किताब", u"الكتاب", u"ภาษาไทย"};
  return words;
}

inline const std::vector<std::u16string>& LatinWords() {
  static const std::vector<std::u16string> words = {u"lorem", u"ipsum",       u"dolor",      u"sit",
                                                    u"amet,", u"consectetur", u"adipiscing", u"elit."};
  return words;
}

// The pieces in turn, each followed by separator, up to at least `units` UTF-16 units.
inline std::u16string RepeatedText(const std::vector<std::u16string>& pieces, const std::u16string& separator,
                                   size_t units) {
  std::u16string text;
  for (size_t i = 0; text.size() < units; ++i) text += pieces[i % pieces.size()] + separator;
  return text;
}
