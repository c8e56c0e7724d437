// The stored bit layouts of the style property sets, byte for byte.
#include <gtest/gtest.h>

#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPParaInfo.h"

namespace {

template <size_t N>
std::vector<int> Bytes(const std::array<uint8_t, N>& bytes) {
  return std::vector<int>(bytes.begin(), bytes.end());
}

TEST(RPStyleSetsTest, TextStylePropertiesTakeBits0To25OfFourBytes) {
  EXPECT_EQ(Bytes(RPAllFontInfoProperties.ToStored()), (std::vector<int>{0xFF, 0xFF, 0xFF, 0x03}));
  EXPECT_EQ(Bytes(TRPFontInfoProperties{rpfiFontName}.ToStored()), (std::vector<int>{0x01, 0, 0, 0}));
  // rpfiUnicode is ordinal 3, rpfiNextStyleNo 17, rpfiCustom 25.
  EXPECT_EQ(Bytes(TRPFontInfoProperties{rpfiUnicode, rpfiNextStyleNo, rpfiCustom}.ToStored()),
            (std::vector<int>{0x08, 0x00, 0x02, 0x02}));
  const std::array<uint8_t, 4> stored{0x30, 0x00, 0x01, 0x00};  // bits 4, 5 and 16
  const TRPFontInfoProperties read = TRPFontInfoProperties::FromStored(stored);
  EXPECT_TRUE(read.Contains(rpfiBold));
  EXPECT_TRUE(read.Contains(rpfiItalic));
  EXPECT_TRUE(read.Contains(rpfiJumpCursor));  // ordinal 16
  EXPECT_EQ(read.Ordinals(), 0x10030u);
}

TEST(RPStyleSetsTest, ParagraphPropertiesAndTheirTwoModifiedHalves) {
  EXPECT_EQ(Bytes(RPAllParaInfoProperties.ToStored()), (std::vector<int>{0xFF, 0xFF, 0xFF, 0xFF, 0x0F}));
  EXPECT_EQ(Bytes(TRPParaInfoProperties{rppiCustom, rppiBorder_Vis_Bottom}.ToStored()),
            (std::vector<int>{0, 0, 0, 0x04, 0x08}));
  // The first half: ordinals 0-26 in 4 bytes.
  EXPECT_EQ(Bytes(TRPParaInfoProperties1::All().ToStored()), (std::vector<int>{0xFF, 0xFF, 0xFF, 0x07}));
  // The second half is stored from ordinal 24: rppiNoWrap (27) is bit 3, rppiCustom (35)
  // bit 11.
  EXPECT_EQ(Bytes(TRPParaInfoProperties2{rppiNoWrap}.ToStored()), (std::vector<int>{0x08, 0x00}));
  EXPECT_EQ(Bytes(TRPParaInfoProperties2{rppiCustom}.ToStored()), (std::vector<int>{0x00, 0x08}));
  EXPECT_EQ(Bytes(TRPParaInfoProperties2::All().ToStored()), (std::vector<int>{0xF8, 0x0F}));
  const TRPParaInfoProperties2 read = TRPParaInfoProperties2::FromStored({0x10, 0x04});
  EXPECT_TRUE(read.Contains(rppiReadOnly));  // 28 -> bit 4
  EXPECT_TRUE(read.Contains(rppiBiDiMode));  // 34 -> bit 10
  EXPECT_EQ(read.Ordinals(), (uint64_t{1} << 28) | (uint64_t{1} << 34));
  // Bits below the first member are not members.
  EXPECT_TRUE(TRPParaInfoProperties2::FromStored({0x07, 0x00}).Empty());
}

TEST(RPStyleSetsTest, OptionSets) {
  EXPECT_EQ(Bytes(TRPProtectOptions::All().ToStored()), (std::vector<int>{0xFF, 0x07}));
  EXPECT_EQ(Bytes(TRPProtectOptions{rpprConcateProtect, rpprStickToBottom}.ToStored()), (std::vector<int>{0x10, 0x04}));
  EXPECT_EQ(Bytes(TRPParaOptions::All().ToStored()), (std::vector<int>{0x3F}));
  EXPECT_EQ(Bytes(TRPParaOptions{rppaoKeepWithNext}.ToStored()), (std::vector<int>{0x20}));
  EXPECT_EQ(Bytes(TRPTextOptions{rpteoRTFCode}.ToStored()), (std::vector<int>{0x02}));
  EXPECT_EQ(Bytes(TRPFontStyles{rpfsAllCaps}.ToStored()), (std::vector<int>{0x02}));
  EXPECT_EQ(Bytes(TRPTextDrawStates{rptsSelected, rptsSpecialCharacters}.ToStored()), (std::vector<int>{0x81}));
}

}  // namespace
