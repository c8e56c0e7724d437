// The style sheet in component streams: its published properties, the styles' and the
// templates' own properties beside them ("SingleSymbols", "IDProp"), and the re-linking
// of templates once a stream has been read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RPStyleTestSupport.h"
#include "platform/base/Exception.h"
#include "platform/base/FilerTestSupport.h"
#include "richtext/model/RPStyle.h"

namespace {

bool HasBytes(const std::vector<uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// A definition of a style sheet written value by value: the header, then what write
// puts as the sheet's properties, then the ends of the property and component lists.
template <typename TBody>
std::vector<uint8_t> SheetDefinition(TBody write) {
  TMemoryStream stream;
  stream.WriteBuffer(FilerSignature, 4);
  TWriter writer(stream);
  writer.WriteStr("TRPStyle");
  writer.WriteStr("");
  write(writer);
  writer.WriteListEnd();
  writer.WriteListEnd();
  return StreamBytes(stream);
}

TEST(RPStylePropsTest, ASheetStreamedOutAndInIsTheSameAndStreamsToTheSameBytes) {
  TRPStyle sheet(nullptr);
  FillSheet(sheet);
  const std::vector<uint8_t> first = WriteDefinition(sheet);
  EXPECT_TRUE(HasBytes(first, "IDProp"));
  EXPECT_FALSE(HasBytes(first, "SingleSymbols"));  // read, never written
  for (const char* name :
       {"LstID", "Picture.Data", "FormatStringCode", "FormatStringWCode", "Font.Name", "Font.Height"})
    EXPECT_TRUE(HasBytes(first, name)) << name;
  // The texts go as hexadecimal only; without an image-list context there is no tag.
  for (const char* name : {"\x0CFormatString\x06", "FormatStringW\x12", "ILTag"})
    EXPECT_FALSE(HasBytes(first, name)) << name;
  TRPStyle loaded(nullptr);
  ReadDefinition(loaded, first);
  ExpectSameSheet(loaded, sheet, false);
  // Loaded re-linked the parents by their ids.
  const TRPStyleTemplateCollection& templates = loaded.StyleTemplates();
  EXPECT_EQ(templates.Template(1)->Parent(), templates.Template(0));
  EXPECT_EQ(templates.Template(2)->Parent(), templates.Template(1));
  EXPECT_EQ(templates.Template(0)->Children().size(), 1u);
  EXPECT_EQ(WriteDefinition(loaded), first);
}

TEST(RPStylePropsTest, DefaultsAreNotWritten) {
  TRPStyle sheet(nullptr);
  const std::vector<uint8_t> bytes = WriteDefinition(sheet);
  for (const char* absent : {"DefTabWidth", "UseSound", "JumpCursor", "Charset", "Size", "VisibleBorders",
                             "StyleTemplates", "BaseStyleNo", "StyleTemplateId"})
    EXPECT_FALSE(HasBytes(bytes, absent)) << absent;
  for (const char* present : {"TextStyles", "ParaStyles", "StyleName", "FontName", "Alignment"})
    EXPECT_TRUE(HasBytes(bytes, present)) << present;
}

TEST(RPStylePropsTest, TheFormatOfTemplateNamesIsStoredWhenItIsNotTheDefault) {
  TRPStyle sheet(nullptr);
  sheet.StyleTemplates().DefStyleName = "Custom %d";
  const std::vector<uint8_t> bytes = WriteDefinition(sheet);
  EXPECT_TRUE(HasBytes(bytes, "StyleTemplates.DefStyleName"));
  TRPStyle loaded(nullptr);
  ReadDefinition(loaded, bytes);
  EXPECT_EQ(loaded.StyleTemplates().DefStyleName, "Custom %d");
  EXPECT_EQ(loaded.StyleTemplates().Add()->Name(), "Custom 1");
  // Back at the default, and with templates of its own, the format is left out again.
  loaded.StyleTemplates().DefStyleName = DefaultStyleNameFormat;
  EXPECT_FALSE(HasBytes(WriteDefinition(loaded), "DefStyleName"));
}

TEST(RPStylePropsTest, ALoopOfParentsInAStreamIsCutWhenLoaded) {
  TRPStyle sheet(nullptr);
  TRPStyleTemplate& x = *sheet.StyleTemplates().Add();
  TRPStyleTemplate& y = *sheet.StyleTemplates().Add();
  x.SetId(11);
  y.SetId(22);
  // While loading nothing links, so the loop can be made for the test.
  sheet.SetComponentState(sheet.ComponentState() | csLoading);
  x.SetParentId(22);
  y.SetParentId(11);
  sheet.SetComponentState(sheet.ComponentState() & ~csLoading);
  TRPStyle loaded(nullptr);
  ReadDefinition(loaded, WriteDefinition(sheet));
  const TRPStyleTemplateCollection& templates = loaded.StyleTemplates();
  EXPECT_EQ(templates.Template(0)->GetId(), 11);
  EXPECT_EQ(templates.Template(0)->Parent(), templates.Template(1));
  EXPECT_EQ(templates.Template(1)->ParentId(), -1);
  EXPECT_EQ(templates.Template(1)->Parent(), nullptr);
  EXPECT_EQ(templates.Template(0)->Name(), "Style 1");  // names as written, none made while loading
}

// Image lists found by their tags.
class TTaggedImageLists : public IRPImageListContext {
public:
  std::vector<TCustomImageList*> Lists;
  TCustomImageList* FindImageListByTag(int32_t tag) const override {
    for (TCustomImageList* list : Lists)
      if (list->Tag() == tag) return list;
    return nullptr;
  }
};

TEST(RPStylePropsTest, ImageListsGoByTheirTagsThroughTheDocumentsContext) {
  TCustomImageList images(nullptr, 16, 16);
  images.SetTag(7);
  TTaggedImageLists context;
  context.Lists.push_back(&images);
  TRPStyle sheet(nullptr);
  TRPListLevel& level = *sheet.ListStyles().Add()->Levels().Add();
  level.ListType = rplstImageList;
  level.ImageList = &images;
  EXPECT_FALSE(HasBytes(WriteDefinition(sheet), "ILTag"));  // no context: not written
  sheet.ListStyles().ImageLists = &context;
  const std::vector<uint8_t> bytes = WriteDefinition(sheet);
  EXPECT_TRUE(HasBytes(bytes, "ILTag"));

  TRPStyle withContext(nullptr);
  withContext.ListStyles().ImageLists = &context;
  ReadDefinition(withContext, bytes);
  EXPECT_EQ(withContext.ListStyles()[0]->Levels()[0]->ImageList, &images);
  TRPStyle without(nullptr);
  ReadDefinition(without, bytes);  // read, and no image list found
  EXPECT_EQ(without.ListStyles()[0]->Levels()[0]->ImageList, nullptr);
  EXPECT_EQ(without.ListStyles()[0]->Levels()[0]->ListType, rplstImageList);
}

TEST(RPStylePropsTest, SingleSymbolsFromOlderStreamsProtectTheStyle) {
  TRPStyle sheet(nullptr);
  ReadDefinition(sheet, SheetDefinition([](TWriter& w) {
                   w.WriteStr("TextStyles");
                   w.WriteValue(vaCollection);
                   w.WriteListBegin();
                   w.WriteStr("FontName");
                   w.WriteString("Symbol");
                   w.WriteStr("SingleSymbols");
                   w.WriteBoolean(true);
                   w.WriteListEnd();
                   w.WriteListBegin();
                   w.WriteStr("SingleSymbols");
                   w.WriteBoolean(false);
                   w.WriteListEnd();
                   w.WriteListEnd();
                 }));
  ASSERT_EQ(sheet.TextStyles().Count(), 2);
  EXPECT_EQ(sheet.TextStyles()[0]->FontName, "Symbol");
  EXPECT_EQ(sheet.TextStyles()[0]->Protection, (TRPProtectOptions{rpprStyleProtect, rpprDoNotAutoSwitch}));
  EXPECT_TRUE(sheet.TextStyles()[1]->Protection.Empty());
}

TEST(RPStylePropsTest, WhatAStreamCannotSet) {
  // A template's own text style has no name.
  TRPStyle sheet(nullptr);
  ExpectRichPaneError(
      [&] {
        ReadDefinition(sheet, SheetDefinition([](TWriter& w) {
                         w.WriteStr("StyleTemplates");
                         w.WriteValue(vaCollection);
                         w.WriteListBegin();
                         w.WriteStr("TextStyle.StyleName");
                         w.WriteString("x");
                         w.WriteListEnd();
                         w.WriteListEnd();
                       }));
      },
      "This property is not valid here");
  // An ordinal past its enumeration.
  try {
    ReadDefinition(sheet, SheetDefinition([](TWriter& w) {
                     w.WriteStr("ParaStyles");
                     w.WriteValue(vaCollection);
                     w.WriteListBegin();
                     w.WriteStr("Alignment");
                     w.WriteInteger(4);
                     w.WriteListEnd();
                     w.WriteListEnd();
                   }));
    ADD_FAILURE() << "no EReadError";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Invalid property value");
  }
  // The template id is its own property, read before the parent is linked.
  TRPStyle read(nullptr);
  ReadDefinition(read, SheetDefinition([](TWriter& w) {
                   w.WriteStr("StyleTemplates");
                   w.WriteValue(vaCollection);
                   w.WriteListBegin();
                   w.WriteStr("Name");
                   w.WriteString("Normal");
                   w.WriteStr("IDProp");
                   w.WriteInteger(500);
                   w.WriteListEnd();
                   w.WriteListBegin();
                   w.WriteStr("ParentId");
                   w.WriteInteger(500);
                   w.WriteStr("IDProp");
                   w.WriteInteger(600);
                   w.WriteListEnd();
                   w.WriteListEnd();
                 }));
  const TRPStyleTemplateCollection& templates = read.StyleTemplates();
  ASSERT_EQ(templates.Count(), 2);
  EXPECT_EQ(templates.DefaultTemplate(), templates.Template(0));
  EXPECT_EQ(templates.Template(1)->GetId(), 600);
  EXPECT_EQ(templates.Template(1)->Parent(), templates.Template(0));
  EXPECT_EQ(templates.Template(1)->Name(), "");
}

}  // namespace
