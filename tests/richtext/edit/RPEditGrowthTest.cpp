// Editing whose work grows with what it takes in no faster than n log n
// (RPGrowthCases.h).
#include <gtest/gtest.h>

#include "../interchange/RPGrowthCases.h"
#include "platform/base/Streams.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"

namespace {

// A list style of a numbered level 0 and a lettered level 1, the first of sheet.
void AddTwoLevelList(TRPStyle& sheet) {
  TRPListInfo& list = *sheet.ListStyles().Add();
  list.Levels().Add()->ListType = rplstDecimal;
  list.Levels().Add()->ListType = rplstLowerAlpha;
}

// count paragraphs of level 1 of that list, with no level-0 paragraph above them, pasted
// in the native format at the end of a document in the editor: the markers looked at for
// parents.
int64_t PastedListSearches(int count) {
  TRPStyle style(nullptr);
  AddTwoLevelList(style);
  TMemoryStream native;
  {
    TCustomRichPane source(nullptr);
    source.SetStyle(&style);
    for (int i = 0; i < count; ++i) {
      auto marker = TRPMarkerItemInfo::CreateEx(&source.RPData(), 0, 1, 1, false);
      marker->ParaNo = 0;
      source.RPData().AddItem({}, std::move(marker));
      source.RPData().AddRawText("item", 0, -1);
    }
    EXPECT_TRUE(source.SaveRPFToStream(native, rpfsmDocument));
  }
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  // Into the empty paragraph after a line of text.
  editor.EditData().AddRawText("before", 0, 0);
  editor.EditData().AddRawText("", 0, 0);
  editor.Format();
  editor.EditData().SetCaretAtItemPos(1, 1);
  native.SetPosition(0);
  EXPECT_TRUE(editor.InsertRPFFromStream(native));
  const auto* markers = dynamic_cast<const TRPMarkerList*>(editor.EditData().GetMarkers(false));
  EXPECT_EQ(markers ? markers->Count() : 0, count);
  return markers ? markers->ParentSearchSteps() : 0;
}

TEST(RPEditGrowth, TenTimesTheInputCostsAtMostFourteenTimesTheWork) {
  ExpectWorkAtMostLinear({
      {"a pasted list without a parent: markers looked at", 100, PastedListSearches},
  });
}

}  // namespace
