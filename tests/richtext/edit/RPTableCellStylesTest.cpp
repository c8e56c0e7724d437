// Unused styles removed from the style sheet while a cell is edited in place: the cell's
// text, which its editor holds then, keeps its styles under their new numbers, and so
// does the text typed after.
#include <gtest/gtest.h>

#include <string>

#include "RPTableEditorScreen.h"
#include "richtext/model/RPStyleUsage.h"

namespace {

std::string CellStylesOf(TCustomRPData& content) {
  std::string styles;
  for (int32_t i = 0; i < content.GetItemCount(); ++i)
    styles += content.GetItemTextRaw(i) + ":" + std::to_string(content.GetItem(i)->StyleNo) + " ";
  return styles;
}

}  // namespace

// Removing an unused style gives the edited cell's style the number before it, in the
// editor while it edits (and for the text typed there) and in the cell after it closed.
TEST_F(TTableEditorScreen, RemovedStylesRenumberTheTextOfAnEditedCell) {
  // Two styles added by merging (not standard: only their use keeps them), the first
  // used by nothing, the second the cell's.
  const int32_t unused = Style.TextStyles().Count(), cellStyle = unused + 1;
  for (const bool isBold : {false, true}) {
    TFontInfo& font = *Style.TextStyles().Add();
    font.FontName = "Arial";
    font.Standard = false;
    if (isBold) font.Style = TFontStyles{fsBold};
  }
  const std::string before = ":" + std::to_string(cellStyle) + " ";
  const std::string after = ":" + std::to_string(unused) + " ";
  TRPTableCellData& cell = *Table->GetCell(1, 1);
  cell.Clear();
  cell.AddRawText("cell", cellStyle, 0);
  ASSERT_NO_FATAL_FAILURE(Show());
  Click(1, 1);
  ASSERT_TRUE(EditsCell(1, 1));
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::NoModifier, "x");
  TRPEditRPData& edited = CellEditor()->EditData();
  ASSERT_EQ(CellStylesOf(edited), "cellx" + before);

  // What a program does to remove unused text styles: mark those in use, delete the
  // others from the sheet, renumber the document's items.
  TRPStyleUsage usage;
  usage.TrackTextStyles = true;
  MarkStylesInUse(Editor.EditData(), Style, usage);
  ASSERT_EQ(usage.TextStyles[cellStyle], 1) << "the edited cell's text uses its style";
  ASSERT_EQ(usage.TextStyles[unused], 0);
  // Each kept style counts itself and the styles removed before it.
  for (int32_t i = 0, removed = 0; i < usage.TextStyles.Count(); ++i) {
    if (usage.TextStyles[i] == 0) ++removed;
    usage.TextStyles.SetItem(i, usage.TextStyles[i] == 0 ? 0 : 1 + removed);
  }
  Style.TextStyles().Delete(unused);
  Editor.EditData().RenumberItemStyles(usage);

  ASSERT_TRUE(EditsCell(1, 1));
  EXPECT_EQ(CellStylesOf(edited), "cellx" + after);
  EXPECT_EQ(edited.CurTextStyleNo, unused);
  Key(Qt::Key_Y, Qt::NoModifier, "y");
  EXPECT_EQ(CellStylesOf(edited), "cellxy" + after);
  Table->DestroyInplaceEditor();
  EXPECT_EQ(CellStylesOf(cell), "cellxy" + after);
  EXPECT_EQ(CellStylesOf(*Table->GetCell(0, 0)), "r0c0:0 ");
}
