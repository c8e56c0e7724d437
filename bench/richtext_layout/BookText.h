// The text of the synthetic 100,000-word book (mkbook.py) as paragraphs, for the layout
// benchmarks.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Types.h"

class TCustomRPData;
class TRPStyle;

struct TBookParagraph {
  WideString Text;
  bool Title = false;
};

// The paragraphs of the generated book: the text of each <p>, tags dropped, entities of
// the generator (&amp; &lt; &gt;) decoded; those inside <title> are titles. Empty when the
// generator did not run.
std::vector<TBookParagraph> BookParagraphs();

// The book's styles: body text in 10-point Arial (justified, first-line indent 20,
// SpaceAfter 2), titles in 14-point bold in a text style of their own, both UTF-16.
void SetUpBookStyle(TRPStyle& style);
// Adds the paragraphs as text items (titles in the title style and paragraph style 1);
// the number of characters added.
int64_t AddBookParagraphs(TCustomRPData& data, const std::vector<TBookParagraph>& paragraphs, const TRPStyle& style);
