// The rich view control: defaults, the style sheet's lifetime, formatting and clearing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../../model/RPTestCanvas.h"
#include "RPViewTestData.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPTextItems.h"

namespace {

TEST(RichPaneTest, ConstructorDefaults) {
  TCustomRichPane pane(nullptr);
  EXPECT_EQ(pane.Color, clNone);
  EXPECT_EQ(pane.LeftMargin + pane.RightMargin + pane.TopMargin + pane.BottomMargin, 20);
  EXPECT_EQ(pane.Width(), 100);
  EXPECT_EQ(pane.Height(), 40);
  EXPECT_EQ(pane.BorderStyle, bsSingle);
  EXPECT_EQ(pane.DocumentFlags, 0x0D03);
  EXPECT_EQ(pane.Options, rpoAllowSelection | rpoScrollToEnd | rpoShowPageBreaks | rpoAutoCopyText | rpoAutoCopyRPF |
                              rpoAutoCopyImage | rpoAutoCopyRTF | rpoFormatInvalidate | rpoDblClickSelectsWord |
                              rpoRClickDeselects | rpoFastFormatting);
  EXPECT_EQ(pane.Delimiters, AnsiString(" .;,:(){}\"/\\<>!?[]\x91\x92\x93\x94-+*=\xA0"));
  EXPECT_EQ(pane.Delimiters.size(), 27u);
  EXPECT_EQ(pane.Style(), nullptr);
  EXPECT_EQ(pane.BackgroundStyle(), bsNoBitmap);
  EXPECT_EQ(pane.WheelStep, 2);
  EXPECT_TRUE(pane.Tracking);
  EXPECT_EQ(pane.RPFOptions, rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary | rpfoSaveDocProperties |
                                 rpfoLoadDocProperties);
  EXPECT_EQ(pane.RTFOptions, rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg);
  EXPECT_EQ(pane.RPFTextStylesReadMode, rpf_sInsertMerge);
  EXPECT_EQ(pane.RPFParaStylesReadMode, rpf_sInsertMerge);
}

TEST(RichPaneTest, TheDocumentAnswersFromTheControl) {
  TCustomRichPane pane(nullptr);
  TRichPaneRPData& data = pane.RPData();
  data.SetRPFOptions(rpfoSaveBinary);
  EXPECT_EQ(pane.RPFOptions, rpfoSaveBinary);
  data.SetRTFOptions(0);
  EXPECT_EQ(pane.RTFOptions, 0u);
  data.SetRPFWarnings(rpfwInvalidPicture);
  EXPECT_EQ(pane.RPFWarnings, rpfwInvalidPicture);
  pane.RPFParaStylesReadMode = rpf_sIgnore;
  EXPECT_EQ(data.GetRPFParaStylesReadMode(), rpf_sIgnore);
  // No palette on this platform; what to do with palette copies is the control's.
  EXPECT_EQ(data.GetRPPalette(), nullptr);
  EXPECT_EQ(data.GetRPLogPalette(), nullptr);
  EXPECT_EQ(data.GetDoInPaletteMode(), rppaCreateCopies);

  // The host's answers come from the control's events.
  EXPECT_EQ(data.RPFImageListNeeded(3), nullptr);
  TCustomImageList list(nullptr, 2, 2);
  pane.OnRPFImageListNeeded = [&](TCustomRichPane* sender, int32_t tag) {
    EXPECT_EQ(sender, &pane);
    return tag == 3 ? &list : nullptr;
  };
  EXPECT_EQ(data.RPFImageListNeeded(3), &list);
  pane.OnRPFPictureNeeded = [](TCustomRichPane*, const AnsiString& name, const TRPTag&) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(static_cast<int32_t>(name.size()), 1);
    return std::unique_ptr<TGraphic>(std::move(bitmap));
  };
  EXPECT_EQ(data.RPFPictureNeeded("abc", TRPTag())->Width(), 3);
  AnsiString text;
  EXPECT_FALSE(data.SaveItemToFile({}, data, 0, rpsfHTML, false, text));
  pane.OnSaveItemToFile = [](TCustomRichPane*, const WideString&, TCustomRPData&, int32_t itemNo, TRPSaveFormat, bool,
                             AnsiString& out, bool& doDefault) {
    out = "item" + std::to_string(itemNo);
    doDefault = itemNo != 2;
  };
  EXPECT_FALSE(data.SaveItemToFile({}, data, 1, rpsfHTML, false, text));
  EXPECT_TRUE(data.SaveItemToFile({}, data, 2, rpsfHTML, false, text));
  EXPECT_EQ(text, "item2");
  pane.OnSaveComponentToFile = [](TCustomRichPane*, const WideString&, TComponent*, TRPSaveFormat format,
                                  AnsiString& out) { out = format == rpsfRTF ? "{rtf}" : ""; };
  EXPECT_EQ(data.SaveComponentToFile({}, nullptr, rpsfRTF), "{rtf}");
  // Hyperlinks are written through the control only for its own (root) document.
  pane.OnWriteHyperlink = [](TCustomRichPane*, int32_t jumpNo, TCustomRPData&, int32_t, TRPSaveFormat,
                             AnsiString& target, AnsiString& extra) {
    target = "#" + std::to_string(jumpNo);
    extra = "x";
  };
  EXPECT_EQ(data.GetURL(4), "");
  pane.OnURLNeeded = [&pane](TCustomRichPane* sender, int32_t id, AnsiString& url) {
    EXPECT_EQ(sender, &pane);
    url = "http://example.org/" + std::to_string(id);
  };
  EXPECT_EQ(data.GetURL(4), "http://example.org/4");
  AnsiString target, extra;
  data.WriteHyperlink(7, data, 0, rpsfHTML, target, extra);
  EXPECT_EQ(target, "#7");
  pane.DocumentFlags &= static_cast<TRPDocumentFlags>(~rpdfRootDocument);
  data.WriteHyperlink(7, data, 0, rpsfHTML, target, extra);
  EXPECT_EQ(target, "");
  EXPECT_EQ(extra, "");
}

TEST(RichPaneTest, AnItemsExtraIntegerPropertiesAreReadThroughTheControl) {
  TCustomRichPane pane(nullptr);
  auto line = std::make_unique<TRPBreakItemInfo>(&pane.RPData());
  line->SetIntProperty(rpipUnremovable, 1);
  pane.AddItem("", std::move(line));
  pane.AddItem("", std::make_unique<TRPBreakItemInfo>(&pane.RPData()));
  ASSERT_EQ(pane.RPData().GetItemCount(), 2);
  int32_t value = -1;
  EXPECT_TRUE(pane.GetItemExtraIntProperty(0, rpipUnremovable, value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(pane.GetItemExtraIntProperty(0, rpipWidth, value));
  // Each item answers for itself.
  EXPECT_TRUE(pane.GetItemExtraIntProperty(1, rpipUnremovable, value));
  EXPECT_EQ(value, 0);
}

TEST(RichPaneTest, AFreedStyleSheetLeavesTheControlWithoutOne) {
  TCustomRichPane pane(nullptr);
  {
    TRPStyle style(nullptr);
    pane.SetStyle(&style);
    EXPECT_EQ(pane.Style(), &style);
  }
  EXPECT_EQ(pane.Style(), nullptr);
  pane.AddTextNL("one\ntwo", 0, 0, 0);
  pane.Format();  // nothing without a style sheet
  EXPECT_EQ(pane.RPData().DrawItems.Count(), 0);
}

TEST(RichPaneTest, FormatLaysOutTheDocumentAndClearEmptiesIt) {
  TTestRichPane view;
  TRecordingHost host;
  view.Pane.SetHost(&host);
  view.Pane.AddNamedCheckpoint("c", false, TRPTag());
  view.Pane.AddTextNL("one\ntwo", 0, 0, 0);
  ASSERT_EQ(view.Pane.GetItemCount(), 2);
  EXPECT_TRUE(view.Pane.IsFromNewLine(1));
  view.Pane.Format();
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 2);
  // Top margin 5, two lines, bottom margin 5.
  EXPECT_EQ(view.Pane.GetDocumentHeight(), 5 + 2 * view.Pane.RPData().DrawItems[0]->Height + 5);
  EXPECT_EQ(view.Pane.RPData().DrawItems[0]->Left, 5);
  EXPECT_GT(host.Invalidated, 0);
  view.Pane.SelectAll();
  EXPECT_TRUE(view.Pane.SelectionExists());
  view.Pane.Clear();
  EXPECT_EQ(view.Pane.GetItemCount(), 0);
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 0);
  EXPECT_EQ(view.Pane.RPData().GetCheckpointCount(), 0);
}

// A background picture that moves with the text cannot be shifted on screen: scrolling
// then repaints everything.
TEST(RichPaneTest, BackgroundStyleDecidesHowScrollingRepaints) {
  TTestRichPane view;
  view.Pane.Background().SetImageCopy(*WhiteTile(), rppaDoNothing, nullptr);
  view.Pane.SetBackgroundStyle(bsTiled);
  EXPECT_TRUE(view.Pane.FullRedraw);
  view.Pane.SetBackgroundStyle(bsTiledAndScrolled);
  EXPECT_FALSE(view.Pane.FullRedraw);
}

}  // namespace

namespace {

// Without a style sheet the control paints the "Style is not defined" text on its
// colour; with one, the document and then OnPaint.
TEST(RichPaneTest, PaintingWithAndWithoutAStyleSheet) {
  TCustomRichPane bare(nullptr);
  bare.SetName("Viewer");
  bare.Color = clYellow;
  auto page = WhitePage(98, 38);
  bare.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  const auto pixels = Pixels(*page);
  // Ink of the text: anything but the colour.
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](TColor c) { return c != clYellow; }), 20);
  EXPECT_NE(std::count(pixels.begin(), pixels.end(), clYellow), 0);

  TTestRichPane view;
  view.Pane.AddTextNL("text", 0, 0, 0);
  view.Pane.Format();
  int32_t painted = 0;
  TCustomRichPane other(nullptr);
  other.OnPaint = [&](TCustomRichPane* sender, TCanvas&, bool prepaint) {
    EXPECT_EQ(sender, &view.Pane);
    EXPECT_FALSE(prepaint);
    ++painted;
  };
  view.Pane.AssignEvents(other);
  view.Pane.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  EXPECT_EQ(painted, 1);
}

// A line scrolled partly above the view still shows its lower part.
TEST(RichPaneTest, ALineScrolledPartlyOutAtTheTopIsPainted) {
  TTestRichPane view;
  for (int32_t i = 0; i < 10; ++i) view.Pane.AddTextNL("Wg", 0, 0, 0);
  view.Pane.Format();
  const TRPDrawLineInfo& first = *view.Pane.RPData().DrawItems[0];
  // The view starts 3 pixels into the first line.
  view.Pane.VScrollTo(first.Top + 3, false);
  ASSERT_EQ(view.Pane.RPData().GetVOffs(), first.Top + 3);
  auto page = WhitePage(98, 38);
  view.Pane.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  int32_t ink = 0;
  for (int32_t y = 0; y < first.Height - 3; ++y)
    for (int32_t x = first.Left; x < first.Left + first.Width; ++x) ink += page->PixelColor(x, y) != clWhite;
  EXPECT_GT(ink, 10);
}

// A narrower client area wraps the text again.
TEST(RichPaneTest, ResizingLaysTheDocumentOutForTheNewWidth) {
  TTestRichPane view;
  view.Pane.AddTextNL("several words that wrap", 0, 0, 0);
  view.Pane.Format();
  const int32_t wide = view.Pane.RPData().DrawItems.Count();
  view.Pane.Resized(50, 40);
  EXPECT_GT(view.Pane.RPData().DrawItems.Count(), wide);
  EXPECT_EQ(view.Pane.ClientWidth(), 48);
}

// A pass over appended items keeps the view where it was, or with rpoScrollToEnd shows
// the end of the document.
TEST(RichPaneTest, ATailPassScrollsToTheEndWhenAsked) {
  for (const bool toEnd : {false, true}) {
    SCOPED_TRACE(toEnd ? "rpoScrollToEnd" : "without");
    TTestRichPane view;
    view.Pane.Options = toEnd ? view.Pane.Options | rpoScrollToEnd : view.Pane.Options & ~rpoScrollToEnd;
    view.Pane.AddTextNL("one", 0, 0, 0);
    view.Pane.Format();
    ASSERT_EQ(view.Pane.VScrollPos(), 0);
    for (int32_t i = 0; i < 20; ++i) view.Pane.AddTextNL("more", 0, 0, 0);
    TRichPaneRPData& data = view.Pane.RPData();
    data.Format(false, false, false, 0, nullptr, true, false, false);
    ASSERT_EQ(data.DrawItems.Count(), 21);
    ASSERT_GT(data.DocumentHeight, view.Pane.ClientHeight());
    if (!toEnd) {
      EXPECT_EQ(view.Pane.VScrollPos(), 0);
      continue;
    }
    // As far down as the bars go.
    const int32_t end = view.Pane.VScrollPos();
    EXPECT_GT(end, 0);
    view.Pane.ScrollTo(data.DocumentHeight);
    EXPECT_EQ(view.Pane.VScrollPos(), end);
  }
}

TEST(RichPaneTest, PlainTextOfTheDocument) {
  TTestRichPane view;
  view.Pane.AddTextNL("one\ntwo", 0, 0, 0);
  TMemoryStream stream;
  ASSERT_TRUE(view.Pane.SaveTextToStream(stream, 80));
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())), "one\r\ntwo");
}

}  // namespace

namespace {

TEST(RichPaneTest, AutoScrollStepsFollowThePointersDistanceFromTheArea) {
  struct TCase {
    int32_t Y, Expected;
  } cases[] = {{-25, -10}, {-21, -10}, {-20, -1}, {-5, -1}, {0, 0}, {37, 0}, {38, 1}, {57, 1}, {58, 10}};
  TTestRichPane view;  // client area 98 x 38
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Y);
    view.Pane.RecordAutoScroll(10, c.Y);
    EXPECT_EQ(view.Pane.AutoScrollStepY(), c.Expected);
    EXPECT_EQ(view.Pane.AutoScrollStepX(), 0);
  }
  view.Pane.UpdateScrollBars(500, 1000, true);
  view.Pane.RecordAutoScroll(130, 60);
  view.Pane.AutoScrollTick();
  view.Pane.AutoScrollTick();
  EXPECT_EQ(view.Pane.VScrollPos(), 20);
  EXPECT_EQ(view.Pane.HScrollPos(), 20);
}

}  // namespace

namespace {

// A new direction and the end of streaming both lay the document out.
TEST(RichPaneTest, DirectionChangesAndLoadingFormat) {
  TTestRichPane view;
  view.Pane.AddTextNL("text", 0, 0, 0);
  view.Pane.SetComponentState(csLoading);
  view.Pane.Loaded();
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 1);
  EXPECT_EQ(view.Pane.ComponentState() & csLoading, 0u);
  view.Pane.ClearFormatting();
  view.Pane.SetBiDiMode(rpbdRightToLeft);
  EXPECT_EQ(view.Pane.RPData().GetBiDiMode(), rpbdRightToLeft);
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 1);
}

}  // namespace
