// Checks of the linear view of a control's document, for documents of any kind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "richtext/layout/view/RichPane.h"

// A place of the document as the check names it.
inline std::string DescribePlace(const TCustomRPData* data, int32_t itemNo, int32_t offset) {
  return "document " + std::to_string(reinterpret_cast<uintptr_t>(data) % 100000) + " item " + std::to_string(itemNo) +
         " offset " + std::to_string(offset);
}

// Every caret position of the control's document and of its sub-documents, in document
// order, goes to a linear position and back to the same place (or, for the start of an
// item that continues a line, to the end of the item before it, the same place on the
// screen); linear positions grow in document order; a character of a text item is the
// character of the linear text at its position; the text is as long as the control says.
inline void ExpectLinearPositionsRoundTrip(TCustomRichPane& pane) {
  TCustomRPData& root = pane.RPData();
  const WideString text = pane.GetLinearText(0, -1);
  ASSERT_EQ(static_cast<int32_t>(text.size()), pane.GetLinearTextLength());
  int32_t previous = -1;
  std::function<void(TCustomRPData&)> visit = [&](TCustomRPData& data) {
    auto check = [&](int32_t itemNo, int32_t offset) {
      SCOPED_TRACE(DescribePlace(&data, itemNo, offset));
      int32_t pos = 0;
      ASSERT_TRUE(TCustomRichPane::GetLinearPosition(root, &data, pos, offset, itemNo));
      const int32_t linear = pos - RPLinearLineBreakLength;
      int32_t left = linear, foundOffset = -1, foundItem = -1;
      TCustomRPData* found = nullptr;
      ASSERT_TRUE(TCustomRichPane::LinearToCaret(root, left, foundOffset, foundItem, found));
      const bool same = found == &data && foundItem == itemNo && foundOffset == offset;
      const bool lineGoesOn = itemNo > 0 && data.GetItem(itemNo)->GetContinuesLine() &&
                              offset == data.GetItemStartOffset(itemNo) && found == &data && foundItem == itemNo - 1 &&
                              foundOffset == data.GetItemEndOffset(itemNo - 1);
      EXPECT_TRUE(same || lineGoesOn) << "back at " << DescribePlace(found, foundItem, foundOffset);
      EXPECT_TRUE(linear > previous || (linear == previous && lineGoesOn)) << linear << " after " << previous;
      previous = linear;
      if (data.IsTextItem(itemNo) && offset < data.GetItemEndOffset(itemNo) && linear >= 0) {
        ASSERT_LT(linear, static_cast<int32_t>(text.size()));
        EXPECT_EQ(text[static_cast<size_t>(linear)], data.GetItemTextW(itemNo)[static_cast<size_t>(offset - 1)]);
      }
    };
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      TCustomRPItemInfo& item = *data.GetItem(i);
      std::unique_ptr<TRPStoreSubRPData> location;
      TCustomRPData* sub = item.GetSubRPData(location, rpsdFirst);
      if (!sub) {
        for (int32_t offset = data.GetItemStartOffset(i); offset <= data.GetItemEndOffset(i); ++offset)
          check(i, offset);
        continue;
      }
      check(i, 0);
      for (; sub; sub = item.GetSubRPData(location, rpsdNext)) visit(*sub);
      check(i, 1);
    }
  };
  visit(root);
  // One past the end lies outside the document.
  int32_t beyond = static_cast<int32_t>(text.size()) + 1, offset = 0, itemNo = 0;
  TCustomRPData* found = nullptr;
  EXPECT_FALSE(TCustomRichPane::LinearToCaret(root, beyond, offset, itemNo, found));
}

// The control's selection as linear positions is (start, length).
inline void ExpectLinearSelection(TCustomRichPane& pane, int32_t start, int32_t length) {
  int32_t actualStart = -1, actualLength = -1;
  pane.GetLinearSelection(actualStart, actualLength);
  EXPECT_EQ(actualStart, start);
  EXPECT_EQ(actualLength, length);
}
