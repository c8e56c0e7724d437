#include "richtext/model/RPListInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/base/Random.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleUsage.h"

namespace {

AnsiString Written(const std::function<void(TStream&)>& write) {
  TMemoryStream stream;
  write(stream);
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::unique_ptr<TBitmap> Square(int32_t size, TColor color) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(size, size);
  bitmap->Canvas()->Brush().SetColor(color);
  bitmap->Canvas()->FillRect(TRect{0, 0, size, size});
  return bitmap;
}

class RPListInfoTest : public testing::Test {
protected:
  void SetUp() override { SavedSeed = GetRandSeed(); }
  void TearDown() override { SetRandSeed(SavedSeed); }
  // A list style of the sheet with the given level types.
  TRPListInfo& AddList(std::initializer_list<TRPListType> types) {
    TRPListInfo& list = *Sheet.ListStyles().Add();
    for (TRPListType type : types) list.Levels().Add()->ListType = type;
    return list;
  }
  uint32_t SavedSeed = 0;
  TRPStyle Sheet{nullptr};
};

TEST_F(RPListInfoTest, NewLevelsAndListsHaveTheirDefaults) {
  TRPListInfo& list = AddList({rplstBullet});
  const TRPListLevel& level = *list.Levels()[0];
  EXPECT_EQ(level.FirstIndent, 10);
  EXPECT_EQ(level.StartFrom, 1);
  EXPECT_EQ(level.FormatString, "\xB7");
  EXPECT_TRUE(level.FormatStringW.empty());
  EXPECT_EQ(level.LeftIndent, 0);
  EXPECT_EQ(level.MarkerIndent, 0);
  EXPECT_EQ(level.MarkerAlignment, rpmaLeft);
  EXPECT_EQ(level.Options, (TRPListLevelOptions{rploContinuous, rploLevelReset}));
  EXPECT_EQ(level.GetPicture(), nullptr);
  EXPECT_EQ(level.FindFont(), nullptr);
  EXPECT_EQ(list.StyleName, "List Style");
  EXPECT_FALSE(list.OneLevelPreview);
  EXPECT_EQ(Sheet.ListStyles().Count(), 1);
}

TEST_F(RPListInfoTest, MarkerFontDefaultsAndWhatIsStored) {
  TRPMarkerFont font;
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_TRUE(font.HasDefaultLook());
  EXPECT_FALSE(font.IsNameStored());
  EXPECT_FALSE(font.IsHeightStored());
  font.SetName("arial");  // the default look ignores case, storing does not
  EXPECT_TRUE(font.HasDefaultLook());
  EXPECT_TRUE(font.IsNameStored());
  font.SetSize(9);
  EXPECT_FALSE(font.HasDefaultLook());
  EXPECT_TRUE(font.IsHeightStored());
}

TEST_F(RPListInfoTest, LevelQueriesByType) {
  struct TCase {
    TRPListType Type;
    bool TextMarker, Numbering, TextNumbering;
    const char* Name;
  };
  const TCase cases[] = {
      {rplstBullet, true, false, false, "bullet"},
      {rplstPicture, false, false, false, "pic"},
      {rplstImageList, false, false, false, "image-list"},
      {rplstDecimal, true, true, true, "1,2,3"},
      {rplstLowerAlpha, true, true, true, "a,b,c"},
      {rplstUpperAlpha, true, true, true, "A,B,C"},
      {rplstLowerRoman, true, true, true, "i,ii,iii"},
      {rplstUpperRoman, true, true, true, "I,II,III"},
      {rplstImageListCounter, false, true, false, "image-list counter"},
      {rplstUnicodeBullet, true, false, false, "unicode bullet"},
  };
  TRPListInfo& list = AddList({});
  TRPListLevel& level = *list.Levels().Add();
  level.LeftIndent = 24;
  level.MarkerIndent = 6;
  level.FirstIndent = -12;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    level.ListType = c.Type;
    EXPECT_EQ(level.HasTextMarker(), c.TextMarker);
    EXPECT_EQ(level.HasNumbering(), c.Numbering);
    EXPECT_EQ(level.HasTextNumbering(), c.TextNumbering);
    EXPECT_EQ(list.HasNumbering(), c.Numbering);
    EXPECT_EQ(list.HasTextNumbering(), c.TextNumbering);
    EXPECT_EQ(level.DisplayName(), AnsiString(c.Name) + " 24/6/-12");
  }
}

TEST_F(RPListInfoTest, PictureIsCopiedAndTransparentAndGoesWhenEmpty) {
  TRPListLevel& level = *AddList({rplstPicture}).Levels()[0];
  auto square = Square(4, clRed);
  level.SetPicture(square.get());
  ASSERT_NE(level.GetPicture(), nullptr);
  EXPECT_NE(level.GetPicture(), square.get());
  EXPECT_TRUE(level.GetPicture()->Transparent());
  EXPECT_TRUE(level.HasPicture());
  TBitmap empty;
  level.SetPicture(&empty);
  EXPECT_EQ(level.GetPicture(), nullptr);
  EXPECT_FALSE(level.HasPicture());
}

TEST_F(RPListInfoTest, FontIsMadeOnFirstRequestAndCopied) {
  TRPListLevel& level = *AddList({rplstBullet}).Levels()[0];
  EXPECT_EQ(level.FindFont(), nullptr);
  level.GetFont().SetName("Symbol");
  ASSERT_NE(level.FindFont(), nullptr);
  EXPECT_EQ(level.FindFont()->Name(), "Symbol");
  TFont other;
  other.SetName("Courier New");
  level.SetFont(&other);
  EXPECT_EQ(level.FindFont()->Name(), "Courier New");
  level.SetFont(nullptr);
  EXPECT_EQ(level.FindFont(), nullptr);
}

TEST_F(RPListInfoTest, IndentCss) {
  TRPListLevel& level = *AddList({rplstBullet}).Levels()[0];
  level.MarkerIndent = 10;
  level.LeftIndent = 30;
  EXPECT_EQ(level.GetIndentCSS(), "text-indent: -20px; padding-left: 20px; margin-left: 10px;");
  level.MarkerIndent = 30;
  level.LeftIndent = 10;
  EXPECT_EQ(level.GetIndentCSS(), "text-indent: 20px; margin-left: 10px;");
}

TEST_F(RPListInfoTest, HtmlListTags) {
  TRPListInfo& list = AddList({rplstBullet, rplstUpperRoman, rplstLowerAlpha, rplstDecimal});
  TRPListLevel& bullet = *list.Levels()[0];
  TRPListLevel& roman = *list.Levels()[1];
  TRPListLevel& alpha = *list.Levels()[2];
  TRPListLevel& decimal = *list.Levels()[3];
  bullet.LeftIndent = 20;
  roman.LeftIndent = 50;
  roman.MarkerIndent = 30;
  roman.FirstIndent = -20;
  alpha.LeftIndent = 60;
  alpha.MarkerIndent = 70;
  EXPECT_EQ(Written([&](TStream& s) { roman.HTMLOpenTag(s, false); }), "<ol type=I>");
  EXPECT_EQ(Written([&](TStream& s) { roman.HTMLOpenTag(s, false, rphtmlQuotedAttributes); }), "<ol type=\"I\">");
  EXPECT_EQ(Written([&](TStream& s) { roman.HTMLOpenTag(s, true); }),
            "<ol type=I style=\"text-indent: -20px; margin-left: 30px; list-style-position: outside;\">");
  EXPECT_EQ(Written([&](TStream& s) { alpha.HTMLOpenTag(s, true); }),
            "<ol type=a style=\"text-indent: 10px; margin-left: 10px; list-style-position: inside;\">");
  EXPECT_EQ(Written([&](TStream& s) { bullet.HTMLOpenTag(s, true); }),
            "<ul style=\"text-indent: 10px; margin-left: 20px; list-style-position: outside;\">");
  EXPECT_EQ(Written([&](TStream& s) { decimal.HTMLOpenTag(s, false); }), "<ol>");
  EXPECT_EQ(Written([&](TStream& s) { bullet.HTMLOpenTag(s, false); }), "<ul>");
  EXPECT_EQ(Written([&](TStream& s) { roman.HTMLCloseTag(s); }), "</ol>");
  EXPECT_EQ(Written([&](TStream& s) { bullet.HTMLCloseTag(s); }), "</ul>");
}

TEST_F(RPListInfoTest, ListIdentifiersComeFromTheSeededGenerator) {
  SetRandSeed(0);
  TRPListInfo& a = AddList({rplstDecimal});
  TRPListInfo& b = AddList({rplstDecimal});
  // From seed 0 the first number drawn is 0, which is drawn again (see RandomTest).
  EXPECT_EQ(a.GetListID(), 67387906);
  EXPECT_EQ(a.GetListID(), 67387906);  // kept
  EXPECT_EQ(b.GetListID(), 1849087502);
  EXPECT_FALSE(a.IsSimpleEqual(b, false, false));
  EXPECT_TRUE(a.IsSimpleEqual(b, false, true));
  EXPECT_FALSE(a.IsSimpleEqualEx(b, TRPIntegerList()));
  b.SetListID(a.GetListID());
  EXPECT_TRUE(a.IsSimpleEqual(b, false, false));
  b.StyleName = "another name";  // names are not compared
  EXPECT_TRUE(a.IsSimpleEqual(b, false, false));
}

TEST_F(RPListInfoTest, LevelEqualityProperty) {
  TRPListInfo& a = AddList({rplstDecimal});
  TRPListInfo& b = AddList({rplstDecimal});
  b.SetListID(a.GetListID());
  const std::function<void(TRPListLevel&)> changes[] = {
      [](TRPListLevel& l) { l.ListType = rplstLowerRoman; },
      [](TRPListLevel& l) { l.StartFrom = 3; },
      [](TRPListLevel& l) { l.ImageIndex = 2; },
      [](TRPListLevel& l) { l.FormatString = "%0:s)"; },
      [](TRPListLevel& l) { l.FormatStringW = u"\u25BA"; },
      [](TRPListLevel& l) { l.LeftIndent = 5; },
      [](TRPListLevel& l) { l.FirstIndent = 5; },
      [](TRPListLevel& l) { l.MarkerIndent = 5; },
      [](TRPListLevel& l) { l.MarkerAlignment = rpmaRight; },
      [](TRPListLevel& l) { l.Options.Exclude(rploContinuous); },
      [](TRPListLevel& l) { l.GetFont().SetColor(clRed); },
      [](TRPListLevel& l) {
        auto square = Square(3, clBlue);
        l.SetPicture(square.get());
      },
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    SCOPED_TRACE(i);
    a.Levels()[0]->Assign(*b.Levels()[0]);
    EXPECT_TRUE(a.IsSimpleEqual(b, false, false));
    changes[i](*a.Levels()[0]);
    EXPECT_FALSE(a.IsSimpleEqual(b, false, false));
  }
  a.Levels()[0]->Assign(*b.Levels()[0]);
  a.OneLevelPreview = true;
  EXPECT_FALSE(a.IsSimpleEqual(b, false, false));
  a.OneLevelPreview = false;
  a.Levels().Add();
  EXPECT_FALSE(a.IsSimpleEqual(b, false, false));
}

TEST_F(RPListInfoTest, FontsOfTheDefaultLookMatchNoFont) {
  TRPListLevel& a = *AddList({rplstBullet}).Levels()[0];
  TRPListLevel& b = *AddList({rplstBullet}).Levels()[0];
  a.GetFont();  // read, so made, never changed
  EXPECT_TRUE(a.IsSimpleEqual(b));
  a.GetFont().SetName("ARIAL");
  EXPECT_TRUE(a.IsSimpleEqual(b));
  a.GetFont().SetStyle(TFontStyles{fsBold});
  EXPECT_FALSE(a.IsSimpleEqual(b));
  b.GetFont().SetStyle(TFontStyles{fsBold});
  b.GetFont().SetName("arial");
  EXPECT_TRUE(a.IsSimpleEqual(b));  // both present and alike, the name in any case
}

TEST_F(RPListInfoTest, PicturesCompareByClassSizeAndBytes) {
  TRPListLevel& a = *AddList({rplstPicture}).Levels()[0];
  TRPListLevel& b = *AddList({rplstPicture}).Levels()[0];
  auto red = Square(4, clRed);
  a.SetPicture(red.get());
  EXPECT_FALSE(a.IsSimpleEqual(b));
  b.SetPicture(red.get());
  EXPECT_TRUE(a.IsSimpleEqual(b));
  auto blue = Square(4, clBlue);
  b.SetPicture(blue.get());
  EXPECT_FALSE(a.IsSimpleEqual(b));
  auto bigger = Square(5, clRed);
  b.SetPicture(bigger.get());
  EXPECT_FALSE(a.IsSimpleEqual(b));
}

TEST_F(RPListInfoTest, SimilarityValues) {
  TRPListInfo& a = AddList({rplstDecimal, rplstBullet});
  TRPListInfo& b = AddList({rplstDecimal, rplstLowerAlpha, rplstBullet});
  // Level 0 alike in everything: 5000 + 200 + 11 x 100; level 1 differs in its type
  // only: 200 + 1100; one level more in b: -100; identifiers differ: 0; previews equal:
  // 100.
  EXPECT_EQ(a.SimilarityValue(b), 6300 + 1300 - 100 + 100);
  b.SetListID(a.GetListID());
  EXPECT_EQ(a.SimilarityValue(b), 7600 + 50);
  b.Levels()[0]->FirstIndent = 3;
  b.Levels()[0]->StartFrom = 2;
  EXPECT_EQ(a.SimilarityValue(b), 7650 - 200 - 100);
}

TEST_F(RPListInfoTest, AssignCopiesLevelsButNotTheIdentifier) {
  TRPListInfo& a = AddList({rplstDecimal, rplstUpperRoman});
  a.OneLevelPreview = true;
  a.StyleName = "Legal";
  a.Levels()[1]->GetFont().SetName("Times New Roman");
  TRPListInfo& b = AddList({});
  b.Assign(a);
  EXPECT_EQ(b.StyleName, "Legal");
  EXPECT_TRUE(b.OneLevelPreview);
  ASSERT_EQ(b.Levels().Count(), 2);
  EXPECT_EQ(b.Levels()[1]->ListType, rplstUpperRoman);
  EXPECT_EQ(b.Levels()[1]->FindFont()->Name(), "Times New Roman");
  EXPECT_NE(b.Levels()[1]->FindFont(), a.Levels()[1]->FindFont());
  EXPECT_TRUE(a.IsSimpleEqual(b, false, true));
  EXPECT_NE(a.GetListID(), b.GetListID());
}

TEST_F(RPListInfoTest, MergingKeepsNumberedListsApart) {
  TRPStyle source(nullptr);
  TRPListInfo& numbered1 = *source.ListStyles().Add();
  numbered1.Levels().Add()->ListType = rplstDecimal;
  TRPListInfo& numbered2 = *source.ListStyles().Add();
  numbered2.Assign(numbered1);
  numbered2.SetListID(numbered1.GetListID());
  TRPListInfo& bullet1 = *source.ListStyles().Add();
  bullet1.Levels().Add();
  TRPListInfo& bullet2 = *source.ListStyles().Add();
  bullet2.Assign(bullet1);
  bullet2.SetListID(bullet1.GetListID());
  TRPIntegerList map;
  Sheet.ListStyles().MergeStyles(source.ListStyles(), rpmmMerge, map);
  // The second numbered list may not join the first one's copy; the second bullet list
  // joins the first one's.
  ASSERT_EQ(map.Count(), 4);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[1], 1);
  EXPECT_EQ(map[2], 2);
  EXPECT_EQ(map[3], 2);
  ASSERT_EQ(Sheet.ListStyles().Count(), 3);
  EXPECT_EQ(Sheet.ListStyles()[0]->GetListID(), numbered1.GetListID());  // copied by merging
  EXPECT_FALSE(Sheet.ListStyles()[0]->Standard);
  // Merging again finds the copies: the numbered lists each their own.
  Sheet.ListStyles().MergeStyles(source.ListStyles(), rpmmMerge, map);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[1], 1);
  EXPECT_EQ(map[3], 2);
  EXPECT_EQ(Sheet.ListStyles().Count(), 3);
}

TEST_F(RPListInfoTest, RemovedImageListsAreForgotten) {
  TComponent owner(nullptr);
  TRPStyle* style = CreateOwned<TRPStyle>(owner);
  auto images = std::make_unique<TCustomImageList>(&owner, 8, 8);
  TCustomImageList* kept = CreateOwned<TCustomImageList>(owner, 8, 8);
  TRPListInfo& list = *style->ListStyles().Add();
  list.Levels().Add()->ImageList = images.get();
  list.Levels().Add()->ImageList = kept;
  TRPListInfo& other = *style->ListStyles().Add();
  other.Levels().Add()->ImageList = images.get();
  images.reset();  // its owner hears it, and tells the style sheet
  EXPECT_EQ(list.Levels()[0]->ImageList, nullptr);
  EXPECT_EQ(list.Levels()[1]->ImageList, kept);
  EXPECT_EQ(other.Levels()[0]->ImageList, nullptr);
}

TEST_F(RPListInfoTest, LevelLookupIsRangeChecked) {
  TRPListInfo& list = AddList({rplstDecimal, rplstLowerAlpha, rplstLowerRoman});
  AddList({});
  const TRPListInfos& lists = Sheet.ListStyles();
  EXPECT_EQ(lists.GetLevel(0, 1), list.Levels()[1]);
  EXPECT_EQ(lists.GetLevel(0, 5), list.Levels()[2]);  // past the last: the last
  EXPECT_EQ(lists.GetLevel(0, -1), nullptr);
  EXPECT_EQ(lists.GetLevel(1, 0), nullptr);  // no levels
  EXPECT_EQ(lists.GetLevel(2, 0), nullptr);  // past the list styles
  EXPECT_EQ(lists.GetLevel(-1, 0), nullptr);
  EXPECT_THROW(lists.Items(2), EListError);
}

TEST_F(RPListInfoTest, UnusedListStylesAreFound) {
  TRPListInfo& base = AddList({rplstDecimal});
  base.Standard = false;
  TRPListInfo& derived = AddList({rplstDecimal});
  derived.Standard = false;
  derived.BaseStyleNo = 0;
  AddList({rplstBullet}).Standard = false;
  AddList({rplstBullet});  // standard: always kept
  TRPStyleUsage usage;
  usage.TrackListStyles = true;
  InitStyleUsage(usage, Sheet);
  usage.ListStyles.SetItem(1, 1);  // as a marker of list 1 marks it
  TCustomRPData data;
  MarkStylesInUse(data, Sheet, usage);
  EXPECT_EQ(usage.ListStyles[0], 1);  // the base of a used style
  EXPECT_EQ(usage.ListStyles[1], 1);
  EXPECT_EQ(usage.ListStyles[2], 0);
  EXPECT_EQ(usage.ListStyles[3], 1);
}

}  // namespace
