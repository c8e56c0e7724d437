#include "richtext/model/RPStyleTemplates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RPStyleTestSupport.h"
#include "platform/base/Random.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"

namespace {

std::vector<std::string> Names(const TRPStyleTemplateCollection& templates) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < templates.Count(); ++i) names.push_back(templates.Template(i)->Name());
  return names;
}

// --- Names, ids, parents ----------------------------------------------------------------------

TEST(RPStyleTemplatesTest, AutomaticNamesCountOnUnlessTheCollectionWasEmptied) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplateCollection& templates = sheet.StyleTemplates();
  templates.Add();
  templates.Add();
  templates.Add();
  EXPECT_EQ(Names(templates), (std::vector<std::string>{"Style 1", "Style 2", "Style 3"}));
  templates.Delete(0);
  templates.Add();  // next to surviving ones: the count goes on
  EXPECT_EQ(templates.Template(2)->Name(), "Style 4");
  templates.Clear();
  templates.Add();  // alone: the count starts again
  EXPECT_EQ(templates.Template(0)->Name(), "Style 1");
  // A name taken by hand is skipped.
  templates.Template(0)->SetName("Style 2");
  templates.Add();
  EXPECT_EQ(templates.Template(1)->Name(), "Style 3");
  templates.DefStyleName = "Template #%d";
  templates.Add();
  EXPECT_EQ(templates.Template(2)->Name(), "Template #4");
}

// A format that cannot take the number (a settings file may hold any) names templates
// as the default format does, instead of failing to make them.
TEST(RPStyleTemplatesTest, AFormatThatCannotTakeTheNumberNamesAsTheDefault) {
  TRPStyle sheet(nullptr);
  for (const char* format : {"Style %@", "%s", "%d %d"}) {
    SCOPED_TRACE(format);
    sheet.StyleTemplates().Clear();
    sheet.StyleTemplates().DefStyleName = format;
    sheet.StyleTemplates().Add();
    EXPECT_EQ(sheet.StyleTemplates().Template(0)->Name(), "Style 1");
  }
}

TEST(RPStyleTemplatesTest, AFormatWithoutANumberStillEnds) {
  TRPStyle sheet(nullptr);
  sheet.StyleTemplates().DefStyleName = "Same";
  sheet.StyleTemplates().Add();
  sheet.StyleTemplates().Add();  // every name it can make is taken: it keeps the last
  EXPECT_EQ(Names(sheet.StyleTemplates()), (std::vector<std::string>{"Same", "Same"}));
}

TEST(RPStyleTemplatesTest, NormalIsTheDefaultTemplateWhileItIsSoNamed) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplateCollection& templates = sheet.StyleTemplates();
  TRPStyleTemplate* t = templates.Add();
  EXPECT_EQ(templates.DefaultTemplate(), nullptr);
  t->SetName("Normal");
  EXPECT_EQ(templates.DefaultTemplate(), t);
  t->SetName("Body");
  EXPECT_EQ(templates.DefaultTemplate(), nullptr);
  t->SetName("Normal");
  templates.Delete(0);
  EXPECT_EQ(templates.DefaultTemplate(), nullptr);
}

TEST(RPStyleTemplatesTest, IdsAreDrawnOnceFromTheSeededGenerator) {
  auto draw = [] {
    SetRandSeed(7);
    TRPStyle sheet(nullptr);
    std::vector<TRPStyleTemplateId> ids;
    for (int i = 0; i < 3; ++i) ids.push_back(sheet.StyleTemplates().Add()->GetId());
    return ids;
  };
  const std::vector<TRPStyleTemplateId> first = draw();
  EXPECT_EQ(draw(), first);  // the same seed, the same ids
  for (TRPStyleTemplateId id : first) EXPECT_GT(id, 0);
  EXPECT_NE(first[0], first[1]);
  TRPStyle sheet(nullptr);
  TRPStyleTemplate* t = sheet.StyleTemplates().Add();
  EXPECT_LE(t->StoredId(), 0);
  const TRPStyleTemplateId id = t->GetId();
  EXPECT_EQ(t->GetId(), id);
  EXPECT_EQ(sheet.StyleTemplates().FindById(id), 0);
  EXPECT_EQ(sheet.StyleTemplates().FindById(id + 1 == 0 ? 2 : id + 1), -1);
}

TEST(RPStyleTemplatesTest, ALoopOfParentsIsRefusedAtTheLinkThatClosesIt) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplate& a = *sheet.StyleTemplates().Add();
  TRPStyleTemplate& b = *sheet.StyleTemplates().Add();
  b.SetParentId(a.GetId());
  EXPECT_EQ(b.Parent(), &a);
  EXPECT_EQ(a.Children(), std::vector<TRPStyleTemplate*>{&b});
  ExpectRichPaneError([&] { a.SetParentId(b.GetId()); }, "Circular references are not allowed");
  EXPECT_EQ(a.ParentId(), -1);
  EXPECT_EQ(a.Parent(), nullptr);
  ExpectRichPaneError([&] { a.SetParentId(a.GetId()); }, "Circular references are not allowed");
  // Moving b to no parent unlinks it.
  b.SetParentId(-1);
  EXPECT_TRUE(a.Children().empty());
  // An id that names no template is kept and resolves to nothing.
  b.SetParentId(12345);
  EXPECT_EQ(b.ParentId(), 12345);
  EXPECT_EQ(b.Parent(), nullptr);
}

TEST(RPStyleTemplatesTest, DeletingAParentLeavesItsChildrenWithout) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplate& a = *sheet.StyleTemplates().Add();
  TRPStyleTemplate& b = *sheet.StyleTemplates().Add();
  TRPStyleTemplate& c = *sheet.StyleTemplates().Add();
  b.SetParentId(a.GetId());
  c.SetParentId(a.GetId());
  sheet.StyleTemplates().Delete(0);
  EXPECT_EQ(b.ParentId(), -1);
  EXPECT_EQ(c.Parent(), nullptr);
  // A child that goes leaves its parent's children.
  c.SetParentId(b.GetId());
  sheet.StyleTemplates().Delete(1);
  EXPECT_TRUE(b.Children().empty());
}

TEST(RPStyleTemplatesTest, OnlyASheetThatIsNotLoadingResolvesParents) {
  TRPStyleTemplateCollection loose(nullptr);
  TRPStyleTemplate& a = *loose.Add();
  TRPStyleTemplate& b = *loose.Add();
  b.SetParentId(a.GetId());
  EXPECT_EQ(b.ParentId(), a.GetId());
  EXPECT_EQ(b.Parent(), nullptr);
  a.SetParentId(b.GetId());  // a loop, but nothing is linked here
  EXPECT_EQ(a.ParentId(), b.GetId());

  TRPStyle sheet(nullptr);
  sheet.SetComponentState(sheet.ComponentState() | csLoading);
  TRPStyleTemplate& c = *sheet.StyleTemplates().Add();
  EXPECT_EQ(c.Name(), "");  // no automatic name while loading
  TRPStyleTemplate& d = *sheet.StyleTemplates().Add();
  d.SetId(10);
  c.SetId(20);
  c.SetParentId(10);
  d.SetParentId(20);
  EXPECT_EQ(c.Parent(), nullptr);
  sheet.Loaded();  // re-links: c under d; d's link would close the loop and is cut
  EXPECT_EQ(c.Parent(), &d);
  EXPECT_EQ(d.Parent(), nullptr);
  EXPECT_EQ(d.ParentId(), -1);
  EXPECT_EQ(d.Children(), std::vector<TRPStyleTemplate*>{&c});
  sheet.StyleTemplates().UpdateParentReferences();  // again: children are not doubled
  EXPECT_EQ(d.Children(), std::vector<TRPStyleTemplate*>{&c});
}

TEST(RPStyleTemplatesTest, TheTemplatesOwnStylesRefuseTheBaseFields) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplate& t = *sheet.StyleTemplates().Add();
  EXPECT_EQ(t.TextStyle().GetOwner(), &t);
  EXPECT_EQ(t.ParaStyle().StyleTemplate(), &t);
  for (TCustomRPInfo* info : {static_cast<TCustomRPInfo*>(&t.TextStyle()), static_cast<TCustomRPInfo*>(&t.ParaStyle()),
                              static_cast<TCustomRPInfo*>(&t.ListStyle())}) {
    ExpectRichPaneError([&] { info->SetStyleName("x"); }, "This property is not valid here");
    ExpectRichPaneError([&] { info->SetBaseStyleNo(1); }, "This property is not valid here");
    ExpectRichPaneError([&] { info->SetStandard(false); }, "This property is not valid here");
    ExpectRichPaneError([&] { info->SetStyleTemplateId(3); }, "This property is not valid here");
  }
  // Copying a style into a template's description takes its look, not its name.
  TFontInfo named(nullptr);
  named.StyleName = "Heading";
  named.Size = 20;
  t.SetTextStyle(named);
  EXPECT_EQ(t.TextStyle().Size, 20);
  EXPECT_EQ(t.TextStyle().StyleName, "Font Style");
}

// --- Inheritance -------------------------------------------------------------------------------

// Three generations: Grand defines size and colour, Parent size and bold, Child bold and
// underline; each with values of its own.
class RPTemplateChainTest : public ::testing::Test {
protected:
  void SetUp() override {
    Grand = sheet.StyleTemplates().Add();
    Parent = sheet.StyleTemplates().Add();
    Child = sheet.StyleTemplates().Add();
    Parent->SetParentId(Grand->GetId());
    Child->SetParentId(Parent->GetId());
    Grand->ValidTextProperties = {rpfiSize, rpfiColor};
    Grand->TextStyle().Size = 30;
    Grand->TextStyle().Color = clRed;
    Parent->ValidTextProperties = {rpfiSize, rpfiBold};
    Parent->TextStyle().Size = 20;
    Parent->TextStyle().Style = {fsBold};
    Child->ValidTextProperties = {rpfiBold, rpfiUnderline};
    Child->TextStyle().Style = {fsUnderline};  // bold defined as off
  }

  TRPStyle sheet{nullptr};
  TRPStyleTemplate* Grand = nullptr;
  TRPStyleTemplate* Parent = nullptr;
  TRPStyleTemplate* Child = nullptr;
};

TEST_F(RPTemplateChainTest, TheNearestTemplateThatDefinesAPropertyWins) {
  const struct {
    const char* Case;
    TRPFontInfoProperties Allowed;
    int32_t Size;
    TColor Color;
    TFontStyles Style;
    TRPFontInfoProperties Applied;
  } rows[] = {
      // size from Parent (nearer than Grand), colour from Grand, bold (off) and underline
      // from Child; italic is defined nowhere and stays
      {"all",
       RPAllFontInfoProperties,
       20,
       clRed,
       {fsItalic, fsUnderline},
       {rpfiSize, rpfiColor, rpfiBold, rpfiUnderline}},
      {"size only", {rpfiSize}, 20, clBlack, {fsBold, fsItalic}, {rpfiSize}},
      {"colour only", {rpfiColor}, 10, clRed, {fsBold, fsItalic}, {rpfiColor}},
      {"bold only", {rpfiBold}, 10, clBlack, {fsItalic}, {rpfiBold}},
      {"nothing defined", {rpfiFontName, rpfiItalic}, 10, clBlack, {fsBold, fsItalic}, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Case);
    TFontInfo style(nullptr);
    style.Color = clBlack;
    style.Style = {fsBold, fsItalic};
    EXPECT_EQ(Child->ApplyValidTextProperties(style, row.Allowed), row.Applied);
    EXPECT_EQ(style.Size, row.Size);
    EXPECT_EQ(style.Color, row.Color);
    EXPECT_EQ(style.Style, row.Style);
  }
}

TEST_F(RPTemplateChainTest, ApplyingKeepsModifiedPropertiesUnlessOverriding) {
  TFontInfo& style = *sheet.TextStyles()[3];  // "Keywords": italic, maroon
  style.ModifiedProperties = {rpfiSize, rpfiFontName};
  style.Size = 14;
  style.FontName = "Courier New";
  Child->ApplyToTextStyle(style, nullptr, false);
  EXPECT_EQ(style.Size, 14);  // modified: kept
  EXPECT_EQ(style.Color, clRed);
  EXPECT_EQ(style.Style, TFontStyles{fsUnderline});  // italic is not defined: it comes from style 0
  EXPECT_EQ(style.FontName, "Courier New");
  EXPECT_EQ(style.StyleTemplateId, -1);  // not overriding: the style keeps its template
  EXPECT_EQ(style.ModifiedProperties, (TRPFontInfoProperties{rpfiSize, rpfiFontName}));

  Child->ApplyToTextStyle(style, nullptr, true);
  EXPECT_EQ(style.Size, 20);
  EXPECT_EQ(style.FontName, "Courier New");  // defined by no template, still marked
  EXPECT_EQ(style.ModifiedProperties, TRPFontInfoProperties{rpfiFontName});
  EXPECT_EQ(style.StyleTemplateId, Child->GetId());
}

TEST_F(RPTemplateChainTest, TheRestComesFromNormalOrElseFromStyleZero) {
  sheet.TextStyles()[0]->CharScale = 90;
  sheet.TextStyles()[0]->FontName = "Tahoma";
  TFontInfo style(nullptr);
  style.CharScale = 150;
  style.FontName = "Verdana";
  style.ModifiedProperties = {rpfiFontName};
  Child->ApplyToTextStyle(style, nullptr, false);
  EXPECT_EQ(style.CharScale, 90);        // from text style 0
  EXPECT_EQ(style.FontName, "Verdana");  // modified, so left alone

  TRPStyleTemplate& normal = *sheet.StyleTemplates().Add();
  normal.SetName("Normal");
  normal.ValidTextProperties = {rpfiCharScale};
  normal.TextStyle().CharScale = 110;
  Child->ApplyToTextStyle(style, nullptr, false);
  EXPECT_EQ(style.CharScale, 110);
}

TEST_F(RPTemplateChainTest, AParagraphsTemplateLendsTextPropertiesNotDefinedByTheTextTemplate) {
  TRPStyleTemplate& paraTemplate = *sheet.StyleTemplates().Add();
  paraTemplate.ValidTextProperties = {rpfiSize, rpfiItalic, rpfiFontName};
  paraTemplate.TextStyle().Size = 40;
  paraTemplate.TextStyle().Style = {fsItalic};
  paraTemplate.TextStyle().FontName = "Georgia";
  TParaInfo para(nullptr);
  para.StyleTemplateId = paraTemplate.GetId();
  TFontInfo style(nullptr);
  style.FontName = "Verdana";
  style.ModifiedProperties = {rpfiFontName};
  Child->ApplyToTextStyle(style, &para, false);
  EXPECT_EQ(style.Size, 20);  // the text template's chain wins
  EXPECT_TRUE(style.Style.Contains(fsItalic));
  EXPECT_EQ(style.FontName, "Verdana");  // modified against another template: kept
  style.StyleTemplateId = paraTemplate.GetId();
  Child->ApplyToTextStyle(style, &para, false);
  EXPECT_EQ(style.FontName, "Georgia");  // the style's own template may overwrite its marks
}

TEST_F(RPTemplateChainTest, ParagraphTemplatesUnmarkAllButTheCustomMember) {
  Parent->ValidParaProperties1 = {rppiLeftIndent, rppiBorder_Style};
  Parent->ParaStyle().LeftIndent = 24;
  Parent->ParaStyle().Border.Style = rpbDouble;
  Child->ValidParaProperties2 = {rppiNoWrap, rppiTabs};
  Child->ParaStyle().Options = {rppaoNoWrap};
  Child->ParaStyle().Tabs.AddTab(50);
  TParaInfo& para = *sheet.ParaStyles()[1];  // centred
  para.ModifiedProperties1 = {rppiLeftIndent};
  para.ModifiedProperties2 = {rppiTabs, rppiCustom};
  para.LeftIndent = 5;
  Child->ApplyToParaStyle(para, false);
  EXPECT_EQ(para.LeftIndent, 5);
  EXPECT_EQ(para.Border.Style, rpbDouble);
  EXPECT_TRUE(para.Options.Contains(rppaoNoWrap));
  EXPECT_EQ(para.Tabs.Count(), 0);
  EXPECT_EQ(para.Alignment, rpaLeft);  // the rest from paragraph style 0

  Child->ApplyToParaStyle(para, true);
  EXPECT_EQ(para.LeftIndent, 24);
  EXPECT_EQ(para.Tabs.Count(), 1);
  EXPECT_TRUE(para.ModifiedProperties1.Empty());
  EXPECT_EQ(para.ModifiedProperties2, TRPParaInfoProperties2{rppiCustom});
  EXPECT_EQ(para.StyleTemplateId, Child->GetId());
}

TEST(RPStyleTemplatesTest, ResetsTakeNormalOrStyleZero) {
  TRPStyle sheet(nullptr);
  TFontInfo text(nullptr);
  text.StyleName = "Mine";
  text.Size = 30;
  text.StyleTemplateId = 5;
  text.ModifiedProperties = {rpfiSize};
  sheet.StyleTemplates().ResetTextStyle(text, nullptr);
  EXPECT_EQ(text.Size, 10);
  EXPECT_EQ(text.StyleName, "Normal text");  // a copy of style 0, name and all
  EXPECT_EQ(text.StyleTemplateId, -1);
  EXPECT_TRUE(text.ModifiedProperties.Empty());

  TParaInfo para(nullptr);
  para.Alignment = rpaRight;
  para.StyleTemplateId = 9;
  para.ModifiedProperties2 = {rppiCustom};
  sheet.StyleTemplates().ResetParaStyle(para);
  EXPECT_EQ(para.Alignment, rpaLeft);
  EXPECT_EQ(para.StyleTemplateId, -1);
  EXPECT_TRUE(para.ModifiedProperties2.Empty());

  TRPStyleTemplate& normal = *sheet.StyleTemplates().Add();
  normal.SetName("Normal");
  normal.ValidTextProperties = {rpfiSize};
  normal.TextStyle().Size = 16;
  normal.ValidParaProperties1 = {rppiAlignment};
  normal.ParaStyle().Alignment = rpaJustify;
  text.ModifiedProperties = {rpfiSize};
  sheet.StyleTemplates().ResetTextStyle(text, nullptr);
  EXPECT_EQ(text.Size, 16);  // applied with override
  EXPECT_EQ(text.StyleTemplateId, normal.GetId());
  sheet.StyleTemplates().ResetParaStyle(para);
  EXPECT_EQ(para.Alignment, rpaJustify);
}

// --- Copies ----------------------------------------------------------------------------------

TEST(RPStyleTemplatesTest, CopiesRelinkTheirParents) {
  TRPStyle source(nullptr);
  TRPStyleTemplate& a = *source.StyleTemplates().Add();
  TRPStyleTemplate& b = *source.StyleTemplates().Add();
  a.SetName("Normal");
  b.SetParentId(a.GetId());
  b.ValidTextProperties = {rpfiColor};
  b.TextStyle().Color = clBlue;

  TRPStyle byPosition(nullptr);
  byPosition.StyleTemplates().Assign(source.StyleTemplates());
  const TRPStyleTemplateCollection& copies = byPosition.StyleTemplates();
  ASSERT_EQ(copies.Count(), 2);
  EXPECT_EQ(copies.Template(1)->Parent(), copies.Template(0));
  EXPECT_NE(copies.Template(0)->StoredId(), a.GetId());  // new ids
  EXPECT_EQ(copies.DefaultTemplate(), copies.Template(0));
  EXPECT_EQ(copies.Template(1)->TextStyle().Color, clBlue);
  EXPECT_EQ(copies.Template(1)->ValidTextProperties, TRPFontInfoProperties{rpfiColor});

  TRPStyle withIds(nullptr);
  withIds.StyleTemplates().AssignStyleTemplates(source.StyleTemplates(), true);
  EXPECT_EQ(withIds.StyleTemplates().Template(0)->GetId(), a.GetId());
  EXPECT_EQ(withIds.StyleTemplates().Template(1)->ParentId(), a.GetId());
  EXPECT_EQ(withIds.StyleTemplates().Template(1)->Parent(), withIds.StyleTemplates().Template(0));

  // A loop held by a collection that links nothing is cut in the copy.
  TRPStyleTemplateCollection loose(nullptr);
  TRPStyleTemplate& x = *loose.Add();
  TRPStyleTemplate& y = *loose.Add();
  x.SetId(100);
  y.SetId(200);
  x.SetParentId(200);
  y.SetParentId(100);
  TRPStyle cut(nullptr);
  cut.StyleTemplates().AssignStyleTemplates(loose, true);
  EXPECT_EQ(cut.StyleTemplates().Template(0)->Parent(), cut.StyleTemplates().Template(1));
  EXPECT_EQ(cut.StyleTemplates().Template(1)->ParentId(), -1);
}

}  // namespace
