#include "richtext/model/RPPictureHtml.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RPItemOutput.h"
#include "RPPictureTestData.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPHtmlHelpers.h"
#include "richtext/model/RPPictureItems.h"

namespace {

TEST(RPPictureHtmlTest, PictureAttributesFollowTheOptions) {
  struct TCase {
    const char* Name;
    uint32_t Options;
    bool Css, Stretched, NoSize;
    const char* Alt;
    int32_t Spacing;
    const char* Hint;
    TRPVAlign VAlign;
    int32_t VShift;
    const char* Want;
  };
  const TCase cases[] = {
      {"nothing", 0, false, false, false, "", 0, "", rpvaBaseline, 0, "<img alt=\"\" src=\"images/img1.bmp\">"},
      {"border and size", rphtmlImageBorder0 | rphtmlImageSize, false, false, false, "", 0, "", rpvaBaseline, 0,
       "<img border=0 width=2 height=1 alt=\"\" src=\"images/img1.bmp\">"},
      {"no size asked away", rphtmlImageSize, false, false, true, "", 0, "", rpvaBaseline, 0,
       "<img alt=\"\" src=\"images/img1.bmp\">"},
      {"a stretched picture always has its size", 0, false, true, true, "", 0, "", rpvaBaseline, 0,
       "<img width=4 height=1 alt=\"\" src=\"images/img1.bmp\">"},
      {"alt, spacing, hint, align", 0, false, false, false, "a \"b\"", 2, "tip", rpvaAbsMiddle, 0,
       "<img align=absmiddle alt=\"a &quot;b&quot;\" hspace=2 vspace=2 title=\"tip\" src=\"images/img1.bmp\">"},
      {"alt always, vertical shift", 0, true, false, false, "", 0, "", rpvaBaseline, 50,
       "<img alt=\"\" style=\"vertical-align : 1\" src=\"images/img1.bmp\">"},
      {"xhtml", rphtmlQuotedAttributes | rphtmlImageBorder0 | rphtmlUseCss, false, false, false, "", 1, "", rpvaMiddle,
       0, "<img align=\"middle\" border=\"0\" alt=\"\" style=\"margin: 1px;\" src=\"images/img1.bmp\" />"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TRPGraphicItemInfo item(nullptr, Picture({"RB"}), c.VAlign);
    item.ImageWidth = c.Stretched ? 4 : 0;
    item.NoHTMLImageSize = c.NoSize;
    item.Alt = c.Alt;
    item.Spacing = c.Spacing;
    item.Hint = c.Hint;
    item.VShift = c.VShift;
    TFakeHtmlWriter writer;
    EXPECT_EQ(HtmlOf(item, writer, c.Options, c.Css, clYellow, nullptr), c.Want);
    ASSERT_EQ(writer.SavedPixels.size(), 1u);
    EXPECT_EQ(writer.SavedBackgrounds[0], clYellow);
  }
}

TEST(RPPictureHtmlTest, PictureLocationComesFromItsFileTheHookOrTheDocument) {
  TRPGraphicItemInfo item(nullptr, Picture({"R"}), rpvaBaseline);
  item.Spacing = 0;
  item.ImageFileName = "pic.png";
  TFakeHtmlWriter writer;
  // Its own file, relative to the document, only with the option.
  EXPECT_EQ(HtmlOf(item, writer, rphtmlUseImageFileName, false, clNone, nullptr), "<img alt=\"\" src=\"rel/pic.png\">");
  EXPECT_TRUE(writer.SavedPixels.empty());
  EXPECT_EQ(HtmlOf(item, writer, 0, false, clNone, nullptr), "<img alt=\"\" src=\"images/img1.bmp\">");
  // The hook's location without the default.
  writer.HookLocation = "http://x/y.png";
  writer.HookDefault = false;
  EXPECT_EQ(HtmlOf(item, writer, 0, false, clNone, nullptr), "<img alt=\"\" src=\"http://x/y.png\">");
  // No location at all writes nothing.
  writer.HookLocation.clear();
  EXPECT_EQ(HtmlOf(item, writer, 0, false, clNone, nullptr), "");
  TRPGraphicItemInfo none(nullptr);
  writer.HookDefault = true;
  EXPECT_EQ(HtmlOf(none, writer, 0, false, clNone, nullptr), "");
  EXPECT_EQ(writer.HookCalls, 5);
}

TEST(RPPictureHtmlTest, BulletImagesAreSavedOncePerListIndexAndBackground) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(2, 1);
  strip.SetPixelColor(0, 0, clRed);
  strip.SetPixelColor(1, 0, clFuchsia);
  TCustomImageList list(nullptr, 1, 1);
  list.AddMasked(strip, clFuchsia);  // image 0 red, image 1 masked
  TFakeHtmlWriter writer;
  TRPHTMLBulletInfoList saved;
  TRPBulletItemInfo bullet(nullptr);
  bullet.ImageList = &list;
  bullet.Spacing = 0;
  EXPECT_EQ(HtmlOf(bullet, writer, 0, false, clNone, nullptr, &saved), "<img  alt=\"\" src=\"images/img1.bmp\">");
  EXPECT_EQ(HtmlOf(bullet, writer, 0, false, clNone, nullptr, &saved), "<img  alt=\"\" src=\"images/img1.bmp\">");
  bullet.ImageIndex = 1;
  EXPECT_EQ(HtmlOf(bullet, writer, 0, false, clBlue, nullptr, &saved), "<img  alt=\"\" src=\"images/img2.bmp\">");
  EXPECT_EQ(writer.SavedPixels, (std::vector<std::vector<std::string>>{{"R"}, {"B"}}));
  EXPECT_EQ(saved.size(), 2u);
  bullet.ImageIndex = 5;  // no such image: nothing saved, nothing written
  EXPECT_EQ(HtmlOf(bullet, writer, 0, false, clNone, nullptr, &saved), "");
  // A graphic (a list marker's picture) is saved the same way, once.
  auto picture = Picture({"KR"});
  EXPECT_EQ(SaveBulletImage(nullptr, 0, picture.get(), saved, 0, clNone, writer), "images/img3.bmp");
  EXPECT_EQ(SaveBulletImage(nullptr, 0, picture.get(), saved, 0, clNone, writer), "images/img3.bmp");
  EXPECT_EQ(writer.SavedPixels.back(), (std::vector<std::string>{"KR"}));
}

TEST(RPPictureHtmlTest, BulletAttributes) {
  TCustomImageList list(nullptr, 16, 12);
  TBitmap strip;
  strip.SetSize(16, 12);
  list.AddMasked(strip, clNone);
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageList = &list;
  hotspot.Alt = "dot";
  hotspot.Hint = "go";
  hotspot.Spacing = 3;
  hotspot.VShift = 50;
  TFakeHtmlWriter writer;
  TRPHTMLBulletInfoList saved;
  EXPECT_EQ(HtmlOf(hotspot, writer, rphtmlImageBorder0 | rphtmlImageSize, true, clNone, nullptr, &saved),
            "<img border=0 width=16 height=12  style=\"vertical-align : 6\" alt=\"dot\" title=\"go\" hspace=3 vspace=3 "
            "src=\"images/img1.bmp\">");
  hotspot.NoHTMLImageSize = true;
  writer.HookLocation = "b.gif";
  writer.HookDefault = false;
  EXPECT_EQ(HtmlOf(hotspot, writer, rphtmlImageSize | rphtmlQuotedAttributes, false, clNone, nullptr, &saved),
            "<img  style=\"margin: 3px;\" alt=\"dot\" title=\"go\" src=\"b.gif\" />");
}

}  // namespace
