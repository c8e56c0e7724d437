// Tables in the native format: written and read whole (cells, spans, rows, properties,
// backgrounds, nested tables), printed parts and selected cells, and what a damaged or
// hostile table body does.
#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPFLimits.h"
#include "richtext/interchange/RPFTestData.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/table/RPTableLimits.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableStreaming.h"

namespace {

std::unique_ptr<TBitmap> Tile(TColor color) {
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(3, 2);
  tile->Canvas()->Brush().SetColor(color);
  tile->Canvas()->FillRect(TRect{0, 0, 3, 2});
  return tile;
}

void SetCellText(TRPTableCellData& cell, const AnsiString& text, int32_t styleNo = 0) {
  cell.Clear();
  cell.AddAnsiText(text, styleNo, TRPTag(), 0);
}

// A 3 x 3 table: a cell merged over two rows and two columns, colours, widths, a picture
// behind a cell and one behind the table, row alignments and a page break, heading rows,
// and a table nested in a cell.
std::unique_ptr<TRPTableItemInfo> MakeTable(TCustomRPData& data, int32_t depth = 2) {
  auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
  table->ParaNo = 1;
  table->SetColor(clYellow);
  table->SetBorderWidth(2);
  table->SetCellPadding(4);
  table->SetHeadingRowCount(1);
  table->SetBestWidth(-80);
  table->Options = rptoEditing | rptoHideGridLines;
  table->VisibleBorders.SetValues(true, false, true, false);
  table->TextColSeparator = "\t";
  table->BackgroundImageFileName = "back.bmp";
  table->SetBackgroundImage(Tile(clRed).get());
  table->SetBackgroundStyle(rpbsTiled);
  table->MergeCells(0, 0, 2, 2, false);
  TRPTableRows& rows = table->Rows();
  rows.GetRow(1)->VAlign = rpcBottom;
  rows.GetRow(2)->PageBreakBefore = true;
  SetCellText(*table->GetCell(0, 0), "merged");
  table->GetCell(0, 0)->SetCellColor(clGreen);
  table->GetCell(0, 0)->BestWidth = 40;
  SetCellText(*table->GetCell(0, 2), "right", 1);
  table->GetCell(1, 2)->SetBackgroundImage(Tile(clBlue).get());
  table->GetCell(1, 2)->SetBackgroundStyle(rpbsStretched);
  table->GetCell(1, 2)->Hint = "hint";
  SetCellText(*table->GetCell(2, 0), "bottom");
  table->GetCell(2, 1)->VisibleBorders.SetValues(false, true, true, true);
  if (depth > 0) {
    TRPTableCellData& host = *table->GetCell(2, 2);
    host.Clear();
    host.AddAnsiText("before", 0, TRPTag(), 0);
    host.AddItem({}, MakeTable(host, depth - 1));
    host.AddAnsiText("after", 0, TRPTag(), 0);
  }
  return table;
}

class RPFTables : public testing::TestWithParam<uint32_t> {};

TEST_P(RPFTables, ATableIsWrittenAndReadWhole) {
  TRPFPane pane(GetParam());
  TCustomRPData& data = pane.Data();
  data.AddAnsiText("intro", 0, TRPTag(), 0);
  data.AddItem({}, MakeTable(data));
  data.AddAnsiText("outro", 0, TRPTag(), 0);
  const std::string before = Dump(data);
  const AnsiString bytes = pane.Save();

  TRPFPane target(GetParam());
  ASSERT_TRUE(target.Load(bytes));
  EXPECT_EQ(Dump(target.Data()), before);
  const auto& table = dynamic_cast<TRPTableItemInfo&>(*target.Data().GetItem(1));
  EXPECT_EQ(table.GetBorderWidth(), 2);
  EXPECT_EQ(table.GetCellPadding(), 4);
  EXPECT_EQ(table.GetBestWidth(), -80);
  EXPECT_EQ(table.Options, rptoEditing | rptoHideGridLines);
  EXPECT_TRUE(table.VisibleBorders.IsEqualToValues(true, false, true, false));
  EXPECT_EQ(table.TextColSeparator, "\t");
  EXPECT_EQ(table.BackgroundImageFileName, "back.bmp");
  EXPECT_EQ(table.GetBackgroundStyle(), rpbsTiled);
  ASSERT_NE(table.GetBackgroundImage(), nullptr);
  EXPECT_EQ(table.GetBackgroundImage()->Width(), 3);
  const TRPTableCellData& pictured = *table.GetCell(1, 2);
  EXPECT_EQ(pictured.GetBackgroundStyle(), rpbsStretched);
  EXPECT_EQ(pictured.Hint, "hint");
  EXPECT_TRUE(table.GetCell(2, 1)->VisibleBorders.IsEqualToValues(false, true, true, true));
  // What was read writes the same bytes again.
  EXPECT_EQ(target.Save(), bytes);
}

INSTANTIATE_TEST_SUITE_P(Forms, RPFTables, testing::Values(0u, rpfoSaveBinary));

TEST(RPFTables, ARecordOfATableHoldsItsNameItsPropertiesTheLineOneAndItsBody) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  auto table = std::make_unique<TRPTableItemInfo>(1, 1, &data);
  table->BackgroundImageFileName = "f.bmp";
  data.AddItem("name", std::move(table));
  const AnsiString bytes = pane.Save();
  const size_t body = bytes.find("1\r\n") + 3;
  // -60 (the table), 4 lines (name, one property, "1", body), paragraph 0, options 0,
  // mode 0 (hexadecimal body), tag 0, no extra.
  EXPECT_EQ(bytes.substr(0, body), "-8 1 3\r\n-60 4 0 0 0 0 \r\nname\r\nfilename=f.bmp\r\n1\r\n");
  // The body: "TPF0", the class "TRPTableSW", no name, then properties.
  EXPECT_EQ(bytes.substr(body, 30), HexBytes(AnsiString("TPF0\x0ATRPTableSW\x00", 16)).substr(0, 30));
}

TEST(RPFTables, APrintedPartWritesItsRowsAfterTheHeadingRows) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  auto table = std::make_unique<TRPTableItemInfo>(5, 2, &data);
  table->SetHeadingRowCount(1);
  for (int32_t r = 0; r < 5; ++r) SetCellText(*table->GetCell(r, 0), "row" + std::to_string(r));
  TRPTableItemInfo& source = *table;
  data.AddItem({}, std::move(table));
  TRPFStreaming streaming(data);
  TStringStream stream;
  const TRPTablePrintPart part(100, 3, 2);
  source.SaveRPF(stream, streaming, 0, 0, {}, &part, false);

  TRPFPane target;
  ASSERT_TRUE(target.Load("-8 1 3\r\n" + stream.DataString()));
  const auto& read = dynamic_cast<TRPTableItemInfo&>(*target.Data().GetItem(0));
  ASSERT_EQ(read.Rows().GetRowCount(), 3);
  EXPECT_EQ(read.GetCell(0, 0)->GetItemTextA(0), "row0");
  EXPECT_EQ(read.GetCell(1, 0)->GetItemTextA(0), "row3");
  EXPECT_EQ(read.GetCell(2, 0)->GetItemTextA(0), "row4");
}

TEST(RPFTables, SelectedCellsAreWrittenAsTheirRangeWithoutTheOthersContent) {
  TRPFPane pane;
  TCustomRPData& data = pane.Data();
  auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c) SetCellText(*table->GetCell(r, c), std::to_string(r) + std::to_string(c));
  table->GetCell(1, 1)->Selected = true;
  table->GetCell(2, 2)->Selected = true;
  TRPTableItemInfo& source = *table;
  data.AddItem({}, std::move(table));
  TRPFStreaming streaming(data);
  TStringStream stream;
  ASSERT_TRUE(source.SaveRPFInnerSelection(stream, streaming, 0, {}, false));
  TRPFPane target;
  ASSERT_TRUE(target.Load("-8 1 3\r\n" + stream.DataString()));
  const auto& read = dynamic_cast<TRPTableItemInfo&>(*target.Data().GetItem(0));
  ASSERT_EQ(read.Rows().GetRowCount(), 2);
  ASSERT_EQ(read.Rows().GetColCount(), 2);
  EXPECT_EQ(read.GetCell(0, 0)->GetItemTextA(0), "11");
  EXPECT_EQ(read.GetCell(0, 1)->GetItemTextA(0), "");  // not selected: no content
  EXPECT_EQ(read.GetCell(1, 1)->GetItemTextA(0), "22");
  // The flag that left the content out is gone.
  EXPECT_EQ(source.GetCell(1, 2)->GetState() & rpstNoDataProperty, 0u);
  source.GetCell(1, 1)->Selected = false;
  source.GetCell(2, 2)->Selected = false;
  EXPECT_FALSE(source.SaveRPFInnerSelection(stream, streaming, 0, {}, false));
}

// A table nested depth levels deep, in the binary form.
AnsiString NestedTables(int32_t depth) {
  TRPFPane pane(rpfoSaveBinary);
  TCustomRPData& data = pane.Data();
  TCustomRPData* host = &data;
  for (int32_t level = 0; level < depth; ++level) {
    auto table = std::make_unique<TRPTableItemInfo>(1, 1, host);
    TRPTableCellData* cell = table->GetCell(0, 0);
    host->AddItem({}, std::move(table));
    cell->Clear();
    host = cell;
  }
  host->AddAnsiText("deep", 0, TRPTag(), 0);
  return pane.Save();
}

// Text of a nested cell in a Unicode style that the stream brings: every character comes
// back, in both forms.
TEST_P(RPFTables, NestedCellsKeepEveryCharacter) {
  const WideString text = u"Ελληνικά 中文字 geschätztes";
  TRPFPane pane(GetParam() | rpfoSaveTextStyles | rpfoSaveParaStyles);
  pane.Style.TextStyles()[0]->Unicode = true;
  auto outer = std::make_unique<TRPTableItemInfo>(1, 1, &pane.Data());
  TRPTableCellData& host = *outer->GetCell(0, 0);
  host.Clear();
  auto inner = std::make_unique<TRPTableItemInfo>(1, 1, &host);
  TRPTableCellData& cell = *inner->GetCell(0, 0);
  cell.Clear();
  cell.AddTextW(text, 0, TRPTag(), 0);
  host.AddItem({}, std::move(inner));
  pane.Data().AddItem({}, std::move(outer));
  const std::string before = Dump(pane.Data());

  TRPFPane target(GetParam() | rpfoSaveTextStyles | rpfoSaveParaStyles);
  ASSERT_TRUE(target.Load(pane.Save()));
  EXPECT_EQ(Dump(target.Data()), before);
  const auto& loadedOuter = dynamic_cast<const TRPTableItemInfo&>(*target.Data().GetItem(0));
  const auto& loadedInner = dynamic_cast<const TRPTableItemInfo&>(*loadedOuter.GetCell(0, 0)->GetItem(0));
  EXPECT_EQ(loadedInner.GetCell(0, 0)->GetItemTextW(0), text);
}

TEST(RPFTables, NestingIsBoundedByTheLimit) {
  TRPFLimits limits;
  limits.MaxTableNesting = 4;
  const TRPFLimitsOverride narrow(limits);
  TRPFPane target(rpfoSaveBinary);
  EXPECT_TRUE(target.Load(NestedTables(4)));
  target.Data().Clear();
  target.Data().AddAnsiText("kept", 0, TRPTag(), 0);
  EXPECT_FALSE(target.Load(NestedTables(5)));
  EXPECT_EQ(Dump(target.Data()), "0 style 0 para 0 options 0 tag 0 text 6B657074\n");
}

TEST(RPFTables, AGridLargerThanTheLimitIsRefusedBeforeItIsBuilt) {
  TRPFPane pane;
  pane.Data().AddItem({}, std::make_unique<TRPTableItemInfo>(4, 5, &pane.Data()));
  const AnsiString bytes = pane.Save();
  TRPTableLimits limits;
  limits.MaxCellPositions = 19;
  const TRPTableLimitsOverride narrow(limits);
  TRPFPane target;
  EXPECT_FALSE(target.Load(bytes));
  limits.MaxCellPositions = 20;
  const TRPTableLimitsOverride enough(limits);
  EXPECT_TRUE(target.Load(bytes));
}

TEST(RPFTables, ACellListShorterOrLongerThanItsHeaderIsAReadError) {
  TRPTableItemInfo table(1, 1, nullptr);
  const auto body = [](const std::vector<uint8_t>& cells) {
    // The wrapper's stream: signature, class, no name, the property "C" and its list.
    std::vector<uint8_t> bytes{'T', 'P', 'F', '0', 10, 'T', 'R', 'P', 'T', 'a', 'b', 'l', 'e', 'S', 'W', 0, 1, 'C'};
    bytes.insert(bytes.end(), cells.begin(), cells.end());
    const std::vector<uint8_t> tail{vaNull, vaNull};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return AnsiString(bytes.begin(), bytes.end());
  };
  // 1 row of 2 columns, a list with one cell (spans 1, 1, no properties), then the end.
  const std::vector<uint8_t> shorter{vaInt8, 1, vaInt8, 2, vaList, vaInt8, 1, vaInt8, 1, vaNull, vaNull};
  const std::vector<uint8_t> longer{vaInt8, 1,      vaInt8, 1, vaList, vaInt8, 1,      vaInt8,
                                    1,      vaNull, vaInt8, 1, vaInt8, 1,      vaNull, vaNull};
  for (const auto& cells : {shorter, longer}) {
    TStringStream stream(body(cells));
    try {
      ReadRPFTableBody(table, stream);
      FAIL();
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Wrong end of cells list");
    }
  }
  TStringStream good(body({vaInt8, 1, vaInt8, 2, vaList, vaInt8, 2, vaInt8, 1, vaNull, vaNull}));
  ReadRPFTableBody(table, good);
  EXPECT_EQ(table.GetCell(0, 0)->GetColSpan(), 2);
}

TEST(RPFTables, RowAlignmentsAndPageBreaksAreWrittenOnlyWhenARowHasOne) {
  TRPTableItemInfo table(2, 1, nullptr);
  const TRPTableStreamSaveInfo whole(table);
  TStringStream plain;
  WriteRPFTableBody(table, whole, plain);
  EXPECT_EQ(plain.DataString().find("RowVAlign"), AnsiString::npos);
  EXPECT_EQ(plain.DataString().find("RowPageBreakBefore"), AnsiString::npos);
  table.Rows().GetRow(1)->PageBreakBefore = true;
  TStringStream withBreak;
  WriteRPFTableBody(table, whole, withBreak);
  EXPECT_EQ(withBreak.DataString().find("RowVAlign"), AnsiString::npos);
  EXPECT_NE(withBreak.DataString().find("RowPageBreakBefore"), AnsiString::npos);
}

}  // namespace

namespace {

TEST(RPFTables, TheCellsOfAnInsertedTableTakeTheStreamsStyleMaps) {
  TRPFPane source(rpfoSaveTextStyles);
  TFontInfo& red = *source.Style.TextStyles().Add();  // 6 in the stream
  red.StyleName = "Red";
  red.Color = clRed;
  auto table = std::make_unique<TRPTableItemInfo>(1, 1, &source.Data());
  SetCellText(*table->GetCell(0, 0), "in a cell", 6);
  source.Data().AddItem({}, std::move(table));
  TRPFPane target;
  target.Style.TextStyles().Delete(5);  // the merged Red becomes 5 here
  ASSERT_TRUE(target.Insert(source.Save(), 0));
  const auto& read = dynamic_cast<TRPTableItemInfo&>(*target.Data().GetItem(0));
  EXPECT_EQ(read.GetCell(0, 0)->GetItem(0)->StyleNo, 5);
  EXPECT_EQ(target.Style.TextStyles()[5]->StyleName, "Red");
}

TEST(RPFTables, TheDataPropertyIsALengthAndTheCellsStream) {
  TRPFPane pane;
  TRPTableItemInfo table(1, 1, &pane.Data());
  TRPTableCellData& cell = *table.GetCell(0, 0);
  SetCellText(cell, "abc");
  pane.Pane.RPFOptions = rpfoSaveBack;
  TStringStream stream;
  cell.WriteRPFDataProperty(stream);
  const AnsiString rpf = "-8 1 3\r\n0 1 0 0 0 0\r\nabc\r\n";                // no background record
  EXPECT_EQ(stream.DataString(), AnsiString("\x1A\x00\x00\x00", 4) + rpf);  // 26 bytes follow
  EXPECT_EQ(pane.Pane.RPFOptions, rpfoSaveBack);                            // restored

  TRPTableCellData& other = *table.GetCell(0, 0);
  stream.SetPosition(0);
  other.ReadRPFDataProperty(stream);
  EXPECT_EQ(other.GetItemTextA(0), "abc");
  // A length past the end, and a damaged stream, leave the cell as it was.
  TStringStream longer(AnsiString("\xFF\x00\x00\x00", 4) + rpf);
  EXPECT_THROW(other.ReadRPFDataProperty(longer), EReadError);
  TStringStream damaged(AnsiString("\x05\x00\x00\x00", 4) + "0 9 x");
  EXPECT_THROW(other.ReadRPFDataProperty(damaged), EReadError);
  EXPECT_EQ(Dump(other), "0 style 0 para 0 options 0 tag 0 text 616263\n");
}

}  // namespace

namespace {

TEST(RPFTables, AnEmptyCellsTextTakesTheFormOfTheStylesTheStreamBrings) {
  TRPFPane source(rpfoSaveTextStyles);
  source.Style.TextStyles()[0]->Unicode = true;
  source.Data().AddItem({}, std::make_unique<TRPTableItemInfo>(1, 1, &source.Data()));
  TRPFPane target(rpfoSaveTextStyles);
  ASSERT_TRUE(target.Load(source.Save()));
  EXPECT_EQ(DocumentFault(target.Data()), "");
  const auto& table = dynamic_cast<TRPTableItemInfo&>(*target.Data().GetItem(0));
  EXPECT_TRUE(table.GetCell(0, 0)->GetItem(0)->IsUnicode());
}

}  // namespace
