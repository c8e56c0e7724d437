// Painting beyond text: the rpssLines selection band, paragraph marks, soft page breaks,
// the checkpoint after the last item, the hover state of text backgrounds, the background
// under an item, and repaint requests.
#include <gtest/gtest.h>

#include "../model/RPTestCanvas.h"
#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "platform/graphics/TextDraw.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPDocumentView.h"

namespace {

// The selection band of a line reaches one pixel past its text on both sides and covers
// the paragraph's SpaceBefore and SpaceAfter.
TEST(RPPaintMarksTest, LineSelectionFillsTheLinesBand) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aa"});
  TTestFormattedData data;
  data.Width = 40;
  data.LeftMargin = 5;
  data.Para(0).SpaceBefore = 3;
  data.Para(0).SpaceAfter = 2;
  data.Style.SelectionStyle = rpssLines;
  data.Style.InactiveSelColor = clLime;
  data.AddAnsiText("aa", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems[0]->Top, 3);
  data.SelectAll();
  auto page = WhitePage(40, 24);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 40, 24});
  const auto art = Art(*page, clLime);
  const int right = 5 + peer.Extents[0];  // one past the text
  for (int32_t y = 0; y < 24; ++y) {
    SCOPED_TRACE(y);
    const bool inBand = y < 3 + 15 + 2;
    EXPECT_EQ(art[static_cast<size_t>(y)][3], '.');
    EXPECT_EQ(art[static_cast<size_t>(y)][4], inBand ? '#' : '.');
    // The text's cell (rows 3..17) may carry a glyph's edge in that column.
    const char atRight = art[static_cast<size_t>(y)][static_cast<size_t>(right)];
    if (y < 3 || y >= 18)
      EXPECT_EQ(atRight, inBand ? '#' : '.');
    else
      EXPECT_NE(atRight, '.');
    EXPECT_EQ(art[static_cast<size_t>(y)][static_cast<size_t>(right + 1)], '.');
  }
}

// A selected non-text item gets the band under its own box, without the text's extra
// pixel on either side.
TEST(RPPaintMarksTest, LineSelectionFillsTheBandUnderASelectedPicture) {
  class TPictureFake : public TRPRectItemInfo {
  public:
    explicit TPictureFake(TCustomRPData* data) : TRPRectItemInfo(data) { StyleNo = rpkindPicture; }
    static const TRPItemClassInfo* Info() {
      static const TRPItemClassInfo info{"TPictureFake", nullptr};
      return &info;
    }
    TRPItemClass ItemClass() const override { return Info(); }
    int32_t GetWidth() const override { return 10; }
    int32_t GetHeight() const override { return 8; }
  };
  TTestFormattedData data;
  data.Width = 30;
  data.LeftMargin = 4;
  data.Style.SelectionStyle = rpssLines;
  data.Style.InactiveSelColor = clLime;
  data.AddItem("", std::make_unique<TPictureFake>(&data));
  data.FormatAll();
  data.SelectAll();
  auto page = WhitePage(30, 12);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 30, 12});
  const auto art = Art(*page, clLime);
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  for (int32_t y = 0; y < 12; ++y) {
    SCOPED_TRACE(y);
    const bool inBand = y >= d.Top && y < d.Top + d.Height;
    EXPECT_EQ(art[static_cast<size_t>(y)],
              inBand ? std::string(4, '.') + std::string(10, '#') + std::string(16, '.') : std::string(30, '.'));
  }
}

// A line break inside a paragraph shows the return arrow, the end of the document the
// pilcrow, each right after its line's last draw item and bottom-aligned with it.
TEST(RPPaintMarksTest, ParagraphMarksDifferAtLineBreaksAndParagraphEnds) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"ab", u"cd"});
  TTestFormattedData data;
  data.Width = 60;
  data.Options = rpoShowSpecialCharacters;
  data.AddAnsiText("ab", 0, TRPTag(), 0);
  data.AddAnsiText("cd", 0, TRPTag(), 0);
  data.GetItem(1)->SetLineBreakBefore(true);
  data.FormatAll();
  auto page = WhitePage(60, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 60, 30});

  auto expected = WhitePage(60, 30);
  TCanvas& c = *expected->Canvas();
  data.Style.ApplyStyle(c, 0, rpbdUnspecified, false);
  data.Style.ApplyStyleColor(c, 0, TRPTextDrawStates{}, false, rpcmColor);
  const auto draw = [&](int x, int y, const std::u16string& text) {
    ExtTextOutW(c.Handle(), x, y, 0, nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  };
  draw(0, 0, u"ab");
  draw(0, 15, u"cd");
  draw(peer.Extents[1], 15, u"\u00B6");  // Arial's pilcrow is as high as the line
  c.Font().SetName("DejaVu Sans");
  TSize arrow{};
  const WideChar mark = 0x21B5;
  GetTextExtentPoint32W(c.Handle(), &mark, 1, &arrow);
  draw(peer.Extents[0], 15 - arrow.cy, u"\u21B5");
  EXPECT_EQ(Pixels(*page), Pixels(*expected));
}

// Soft page breaks after the first painted item are drawn one pixel above their lines;
// one at the first painted item is not.
TEST(RPPaintMarksTest, SoftPageBreaksAreDrawnAboveTheirLines) {
  TTestFormattedData data;
  data.Width = 30;
  data.Options = rpoShowPageBreaks;
  data.Style.SoftPageBreakColor = clLime;
  for (int i = 0; i < 3; ++i) data.AddAnsiText("a", 0, TRPTag(), 0);
  data.FormatAll();
  auto breaks = std::make_unique<TRPSoftPageBreakList>();
  breaks->push_back({0, 1, -1});
  breaks->push_back({2, 1, -1});
  data.SetSoftPageBreaks(std::move(breaks));
  auto page = WhitePage(30, 45);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 30, 45});
  const auto art = Art(*page, clLime);
  EXPECT_EQ(art[29], std::string(22, '#') + "#.......");  // the line and the triangle's first column
  for (int32_t y = 0; y < 29; ++y) EXPECT_EQ(art[static_cast<size_t>(y)].find('#'), std::string::npos) << y;
  data.ClearSoftPageBreaks();
  EXPECT_EQ(data.GetSoftPageBreaks(), nullptr);
}

// A checkpoint added after the last item shows as a dotted line at the document height.
TEST(RPPaintMarksTest, TheCheckpointAfterTheLastItemIsDrawnAtTheDocumentHeight) {
  TTestFormattedData data;
  data.Width = 30;
  data.Options = rpoShowCheckpoints;
  data.Style.CheckpointColor = clLime;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddCheckpoint("end", false, TRPTag());
  data.FormatAll();
  ASSERT_EQ(data.DocumentHeight, 15);
  auto page = WhitePage(30, 20);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 30, 20});
  const auto art = Art(*page, clLime);
  EXPECT_NE(art[15].find('#'), std::string::npos);
  EXPECT_NE(art[15].find('.'), std::string::npos);  // dotted
  for (int32_t y = 0; y < 15; ++y) EXPECT_EQ(art[static_cast<size_t>(y)].find('#'), std::string::npos) << y;
}

TEST(RPPaintMarksTest, TextBackgroundsKnowTheHoveredHyperlink) {
  TTestFormattedData data;
  data.Flags |= rpdfUseJumps;
  const int32_t link = data.AddTextStyle();
  data.Font(link).Jump = true;
  data.AddAnsiText("aa", 0, TRPTag(), 0);
  data.AddAnsiText("link", link, TRPTag(), -1);
  data.AddAnsiText("more", link, TRPTag(), 0);
  data.FormatAll();
  std::vector<std::pair<int32_t, bool>> seen;  // item, hover
  data.Style.OnDrawTextBack = [&](TRPStyle* sender, TCanvas&, int32_t, int32_t, int32_t, int32_t, int32_t,
                                  TRPTextDrawStates state,
                                  bool&) { seen.emplace_back(sender->ItemNo, state.Contains(rptsHover)); };
  data.SetHoverJumpNo(data.GetItem(1)->JumpID);
  auto page = WhitePage(200, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 200, 30});
  const std::vector<std::pair<int32_t, bool>> expected = {{0, false}, {1, true}, {2, false}};
  EXPECT_EQ(seen, expected);
}

TEST(RPPaintMarksTest, TheBackgroundUnderAnItem) {
  TTestFormattedData data;
  data.Width = 20;
  data.Height = 20;
  const int32_t coloured = data.AddParaStyle();
  data.Para(coloured).Background.Color = clYellow;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("b", 0, TRPTag(), coloured);
  data.Color = clLime;
  data.FormatAll();
  TColor color = clNone;
  std::unique_ptr<TBitmap> bitmap;
  bool useBitmap = true;
  data.GetItemBackground(1, TRect{}, true, color, bitmap, useBitmap);
  EXPECT_EQ(color, clYellow);
  EXPECT_FALSE(useBitmap);
  data.GetItemBackground(0, TRect{}, true, color, bitmap, useBitmap);
  EXPECT_EQ(color, clLime);
  EXPECT_FALSE(useBitmap);  // no background picture

  // A tiled picture: the bitmap holds what the document's background shows at the
  // item's box.
  TRPBackground background(false);
  background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
  background.Style = bsTiled;
  data.Background = &background;
  data.GetItemBackground(1, TRect{}, true, color, bitmap, useBitmap);  // coloured: no picture
  EXPECT_FALSE(useBitmap);
  data.GetItemBackground(0, TRect{}, true, color, bitmap, useBitmap);
  ASSERT_TRUE(useBitmap);
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  ASSERT_EQ(bitmap->Width(), d.Width);
  ASSERT_EQ(bitmap->Height(), d.Height);
  for (int32_t y = 0; y < d.Height; ++y)
    for (int32_t x = 0; x < d.Width; ++x) {
      const TColor want = (d.Left + x) % 4 == 0 && (d.Top + y) % 4 == 0 ? clRed : clBlue;
      EXPECT_EQ(bitmap->PixelColor(x, y), want) << x << "," << y;
    }
}

// A window that records what it is asked.
class TRecordingView : public IRPDocumentView {
public:
  std::vector<TRect> Rects;
  int Invalidated = 0, Refreshed = 0, Updated = 0;
  void InvalidateRect(const TRect& rect) override { Rects.push_back(rect); }
  void Invalidate() override { ++Invalidated; }
  void Refresh() override { ++Refreshed; }
  void Update() override { ++Updated; }
};

class TViewedData : public TTestFormattedData {
public:
  TRecordingView* View = nullptr;
  IRPDocumentView* GetDocumentView() const override { return View; }
};

TEST(RPPaintMarksTest, RepaintRequestsGoToTheWindow) {
  TViewedData data;
  data.AddAnsiText("a", 0, TRPTag(), 0);
  data.AddAnsiText("b", 0, TRPTag(), 0);
  data.FormatAll();
  data.InvalidateDrawItem(1, 2);
  data.InvalidateControl();  // no window: nothing happens
  TRecordingView view;
  data.View = &view;
  data.VOffs = 10;
  data.InvalidateDrawItem(1, 2);
  data.InvalidateControl();
  data.RefreshControl();
  data.UpdateControl();
  const TRPDrawLineInfo& d = *data.DrawItems[1];
  ASSERT_EQ(view.Rects.size(), 1u);
  EXPECT_EQ(view.Rects[0].Left, d.Left - 2);
  EXPECT_EQ(view.Rects[0].Top, d.Top - 10 - 2);
  EXPECT_EQ(view.Rects[0].Right, d.Left + d.Width + 2);
  EXPECT_EQ(view.Rects[0].Bottom, d.Top + d.Height - 10 + 2);
  EXPECT_EQ(std::make_tuple(view.Invalidated, view.Refreshed, view.Updated), std::make_tuple(1, 1, 1));
}

TEST(RPPaintMarksTest, JumpAreasAreRepaintedWithAMargin) {
  TViewedData data;
  data.Flags |= rpdfUseJumps;
  data.Font(0).Jump = true;
  data.AddAnsiText("link", 0, TRPTag(), 0);
  data.FormatAll();
  TRecordingView view;
  data.View = &view;
  data.HOffs = 3;
  data.InvalidateJumpRect(0);
  data.InvalidateJumpRect(1);  // no such jump
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  ASSERT_EQ(view.Rects.size(), 1u);
  EXPECT_EQ(view.Rects[0].Left, d.Left - 3 - 5);
  EXPECT_EQ(view.Rects[0].Top, d.Top - 5);
  EXPECT_EQ(view.Rects[0].Right, d.Left + d.Width - 3 + 5);
  EXPECT_EQ(view.Rects[0].Bottom, d.Top + d.Height + 5);
  data.Style.FullRedraw = true;
  data.InvalidateJumpRect(0);
  EXPECT_EQ(view.Rects.size(), 1u);
  EXPECT_EQ(view.Invalidated, 1);
}

// A handler of the style text is told where each run stands in its draw item and item,
// and sees the space dropped at a wrap as a trailing space when special characters are
// shown.
TEST(RPPaintMarksTest, StyleTextHandlersSeeRunEdgesAndWrapSpaces) {
  const TPeerText peer = PeerText(u"Arial", 10, {u"aaa bbb"});
  TTestFormattedData data;
  data.Width = peer.Extents[0] + 2;
  data.Options = rpoShowSpecialCharacters;
  data.AddAnsiText("aaa bbb ccc", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  data.SetSelectionBounds(0, 2, 0, 4);  // "aa" inside the first draw item
  std::vector<std::pair<AnsiString, uint32_t>> runs;
  data.Style.OnDrawStyleText = [&](TRPStyle*, const AnsiString& text, TCanvas&, int32_t, int32_t, int32_t, int32_t,
                                   int32_t, int32_t, TRPTextDrawStates state, bool&) {
    uint32_t bits = 0;
    for (const TRPTextDrawState s : {rptsSelected, rptsItemStart, rptsItemEnd, rptsDrawItemStart, rptsDrawItemEnd})
      if (state.Contains(s)) bits |= 1u << s;
    runs.emplace_back(text, bits);
  };
  auto page = WhitePage(data.Width, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, data.Width, 30});
  constexpr uint32_t selected = 1u << rptsSelected, itemStart = 1u << rptsItemStart, itemEnd = 1u << rptsItemEnd,
                     drawStart = 1u << rptsDrawItemStart, drawEnd = 1u << rptsDrawItemEnd;
  const std::vector<std::pair<AnsiString, uint32_t>> expected = {
      {"aaa bbb ", drawStart | itemStart | drawEnd},  // plain, with the dropped space
      {"aa", selected},                               // the selected part touches no edge
      {"ccc", drawStart | drawEnd | itemEnd},
  };
  EXPECT_EQ(runs, expected);
}

}  // namespace
