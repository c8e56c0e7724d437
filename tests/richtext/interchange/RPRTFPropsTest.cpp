// The RTF import options: their published list with the stored defaults, Assign, the
// refused negative style numbers, and the rich view control's options made on first use.
#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/model/RPException.h"

namespace {

int64_t Ordinal(const TPersistent& object, const char* name) {
  const TPropInfo* info = FindPublishedProp(object, name);
  EXPECT_NE(info, nullptr) << name;
  return info ? std::get<int64_t>(info->Get(object)) : -1;
}

// Every option of the import with its default, as the options table gives them.
const struct {
  const char* Name;
  int64_t Default;
  int64_t Other;
} kOptions[] = {
    {"UnicodeMode", rpruNoUnicode, rpruOnlyUnicode},
    {"TextStyleMode", rprsUseClosest, rprsAddIfNeeded},
    {"ParaStyleMode", rprsUseClosest, rprsUseSpecified},
    {"IgnorePictures", 0, 1},
    {"IgnoreTables", 0, 1},
    {"UseHypertextStyles", 0, 1},
    {"TextStyleNo", 0, 4},
    {"ParaStyleNo", 0, 1},
    {"SkipHiddenText", 1, 0},
    {"AutoHideTableGridLines", 0, 1},
    {"LineBreaksAsParagraphs", 0, 1},
    {"ExtractMetafileBitmaps", 1, 0},
    {"ConvertHighlight", rtfhlColorTable, rtfhlFixedColors},
    {"StoreImagesFileNames", 0, 1},
    {"BasePathLinks", 1, 0},
};

TEST(RPRTFReaderProperties, PublishesEveryOptionWithItsDefault) {
  TRPRTFReaderProperties props;
  const std::vector<const TPropInfo*> list = PublishedPropList(props);
  ASSERT_EQ(list.size(), std::size(kOptions));
  for (size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(kOptions[i].Name);
    EXPECT_EQ(list[i]->Name, kOptions[i].Name);
    ASSERT_TRUE(list[i]->Default.has_value());
    EXPECT_EQ(*list[i]->Default, kOptions[i].Default);
    EXPECT_EQ(Ordinal(props, kOptions[i].Name), kOptions[i].Default);
  }
}

TEST(RPRTFReaderProperties, AssignCopiesEveryOption) {
  TRPRTFReaderProperties source;
  for (const auto& option : kOptions) FindPublishedProp(source, option.Name)->Set(source, option.Other);
  TRPRTFReaderProperties copy;
  copy.Assign(source);
  for (const auto& option : kOptions) {
    SCOPED_TRACE(option.Name);
    EXPECT_EQ(Ordinal(copy, option.Name), option.Other);
  }
}

TEST(RPRTFReaderProperties, AssignFromAnotherClassRaises) {
  TRPRTFReaderProperties props;
  TRPStyle style(nullptr);
  EXPECT_THROW(props.Assign(style), EConvertError);
}

TEST(RPRTFReaderProperties, NegativeStyleNumbersAreRefused) {
  TRPRTFReaderProperties props;
  props.SetTextStyleNo(3);
  props.SetParaStyleNo(1);
  for (auto set : {&TRPRTFReaderProperties::SetTextStyleNo, &TRPRTFReaderProperties::SetParaStyleNo}) {
    try {
      (props.*set)(-1);
      ADD_FAILURE() << "no exception";
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Value must not be negative");
    }
  }
  EXPECT_EQ(props.GetTextStyleNo(), 3);
  EXPECT_EQ(props.GetParaStyleNo(), 1);
  props.SetTextStyleNo(0);  // 0 is allowed
  EXPECT_EQ(props.GetTextStyleNo(), 0);
}

TEST(RPRTFReaderProperties, TheRichViewControlMakesItsOptionsOnFirstUse) {
  TImportFixture f;
  TCustomRichPane& pane = f.Helper.RichPane();
  TRPRTFReaderProperties& options = RichPaneRTFReadProperties(pane);
  EXPECT_EQ(&RichPaneRTFReadProperties(pane), &options);
  EXPECT_EQ(options.TextStyleMode, rprsUseClosest);

  TRPRTFReaderProperties other;
  other.TextStyleMode = rprsAddIfNeeded;
  other.IgnoreTables = true;
  pane.SetRTFReadProperties(&other);
  EXPECT_EQ(pane.GetRTFReadProperties(), &options);  // copied into the control's own
  EXPECT_EQ(options.TextStyleMode, rprsAddIfNeeded);
  EXPECT_TRUE(options.IgnoreTables);

  pane.SetRTFReadProperties(nullptr);  // freed; the next read makes new ones
  EXPECT_EQ(RichPaneRTFReadProperties(pane).TextStyleMode, rprsUseClosest);
  EXPECT_FALSE(RichPaneRTFReadProperties(pane).IgnoreTables);
}

TEST(RPRTFReaderProperties, ADocumentWithoutStyleSheetImportsNothing) {
  TRPRTFReaderProperties props;
  TCustomRPData data;
  TMemoryStream stream;
  const std::string rtf = "{\\rtf1 text\\par}";
  stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
  stream.SetPosition(0);
  int32_t position = 0;
  EXPECT_EQ(props.ReadRTFFromStream(stream, data, position), rtf_ec_Exception);
  EXPECT_EQ(position, -1);
  EXPECT_EQ(data.GetItemCount(), 0);
}

}  // namespace
