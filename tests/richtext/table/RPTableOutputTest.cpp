// The table's plain text, its colours for the RTF writer, and the controls of its cells.
#include <gtest/gtest.h>

#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/table/RPTableTestData.h"

namespace {

TEST(RPTableOutputTest, PlainTextRowByRow) {
  // 2 x 3 with (0,1) spanning two columns: the covered position still gets its separator.
  TTableInDocument t(2, 3);
  ASSERT_TRUE(t.Table->MergeCells(0, 1, 2, 1, true));
  t.SetText(0, 0, "a");
  t.SetText(0, 1, "bc");
  t.SetText(1, 0, "d");
  t.Cell(1, 1).Clear();
  t.Cell(1, 1).AddTextW(u"\u0416", 0, TRPTag(), 0);
  t.SetText(1, 2, "f");
  t.Table->TextColSeparator = "|";
  t.Table->TextRowSeparator = ";\r\n";
  bool unicode = false;
  const AnsiString text = t.Table->AsPlainText(80, &t.Data, unicode);
  EXPECT_TRUE(unicode);  // UTF-16, so that no cell's text is lost
  EXPECT_EQ(text, WideToRawUnicode(u"a|bc|;\r\nd|\u0416|f;\r\n"));
  // As part of the document's plain text.
  TMemoryStream stream;
  ASSERT_TRUE(t.Data.SaveTextToStream({}, stream, 80, false, false, false, false));
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())),
            "a|bc|;\r\nd|\xC6|f;\r\n");
}

TEST(RPTableOutputTest, ColoursForTheRtfTables) {
  TTableInDocument t(1, 2);
  t.Table->SetColor(clYellow);
  t.Table->SetBorderStyle(rptbRaisedColor);
  t.Table->SetBorderColor(clRed);
  t.Table->SetBorderLightColor(clLime);
  t.Table->SetCellBorderStyle(rptbLowered);
  t.Table->SetVRuleWidth(1);
  t.Table->SetVRuleColor(clNavy);
  t.Table->SetHRuleColor(clMaroon);  // no horizontal rules: not needed
  t.Cell(0, 1).SetCellColor(clGreen);
  t.Cell(0, 1).BorderColor = clRed;  // already there
  auto line = std::make_unique<TRPBreakItemInfo>(&t.Cell(0, 0));
  line->Color = clBlue;
  t.Cell(0, 0).AddItem("", std::move(line));
  TRPColorList colors;
  TRPIntegerList overrides;
  t.Table->FillRTFTables(colors, overrides, &t.Data);
  std::vector<TColor> got;
  for (int32_t i = 0; i < colors.Count(); ++i) got.push_back(colors[i]);
  EXPECT_EQ(got, (std::vector<TColor>{clYellow, clRed, clLime, clBtnHighlight, clBtnShadow, clBtnFace, clNavy, clBlue,
                                      clGreen}));
}

// An item that holds a control (identified by its address only).
class TControlHolder : public TRPRectItemInfo {
public:
  TControlHolder(TCustomRPData* rpData, const TComponent* held) : TRPRectItemInfo(rpData), FHeld(held) {
    StyleNo = rpkindControl;
  }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  bool OwnsControl(const TComponent* control) const override { return control == FHeld; }

private:
  const TComponent* FHeld;
};
inline const TRPItemClassInfo TControlHolder::ClassInfo{"TControlHolder", nullptr};

TEST(RPTableOutputTest, ATableOwnsTheControlsOfItsCells) {
  TTableInDocument t(2, 2);
  int held = 0, other = 0;
  const auto* control = reinterpret_cast<const TComponent*>(&held);
  t.Cell(1, 1).AddItem("", std::make_unique<TControlHolder>(&t.Cell(1, 1), control));
  EXPECT_TRUE(t.Table->OwnsControl(control));
  EXPECT_FALSE(t.Table->OwnsControl(reinterpret_cast<const TComponent*>(&other)));
  EXPECT_FALSE(t.Table->OwnsInplaceEditor(control));  // no in-place editor is open
}

}  // namespace
