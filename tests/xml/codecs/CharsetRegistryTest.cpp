#include <gtest/gtest.h>

#include <set>

#include "platform/base/Filer.h"
#include "platform/base/TextUtils.h"
#include "xml/codecs/CharsetRegistry.h"

namespace {

TEST(CharsetRegistryTest, StartsAtUsAscii) {
  TCSMIB registry(nullptr);
  EXPECT_EQ(registry.Enum(), 3);
  EXPECT_EQ(registry.GetAliasCount(), 11);
  EXPECT_EQ(registry.GetAlias(0), "ANSI_X3.4-1968");
  EXPECT_EQ(registry.GetAlias(10), "csASCII");
  EXPECT_EQ(registry.GetPreferredMIMEName(), "US-ASCII");
}

TEST(CharsetRegistryTest, KnowsExactly236NumbersEachWithNames) {
  std::set<AnsiString> seen;
  int32_t known = 0;
  TCSMIB registry(nullptr);
  for (int32_t mib = -5; mib < 3000; ++mib) {
    ASSERT_EQ(registry.IsValidEnum(mib), !CharsetNames(mib).empty()) << mib;
    if (!registry.IsValidEnum(mib)) continue;
    ++known;
    for (const AnsiString& name : CharsetNames(mib))
      EXPECT_TRUE(seen.insert(UpperCase(name)).second) << name << " twice";
  }
  EXPECT_EQ(known, 236);
}

TEST(CharsetRegistryTest, HoldsTheRegistrysNamesInItsOrder) {
  const std::pair<int32_t, std::vector<AnsiString>> rows[] = {
      {4,
       {"ISO_8859-1:1987", "iso-ir-100", "ISO_8859-1", "ISO-8859-1", "latin1", "l1", "IBM819", "CP819", "csISOLatin1"}},
      {106, {"UTF-8"}},
      {1015, {"UTF-16"}},
      {2027, {"macintosh", "mac", "csMacintosh"}},
      {2084, {"KOI8-R", "csKOI8R"}},
      {2251, {"windows-1251"}},
      {2259, {"TIS-620"}},
  };
  for (const auto& [mib, names] : rows) EXPECT_EQ(CharsetNames(mib), names) << mib;
  for (int32_t mib = 2250; mib <= 2258; ++mib)
    EXPECT_EQ(CharsetNames(mib), std::vector<AnsiString>{"windows-" + std::to_string(mib - 1000)});
}

TEST(CharsetRegistryTest, AnswersThePreferredMimeName) {
  const std::pair<int32_t, const char*> cases[] = {
      {4, "ISO-8859-1"}, {12, "ISO-8859-9"}, {13, "ISO-8859-10"},  {17, "Shift_JIS"},
      {18, "EUC-JP"},    {38, "EUC-KR"},     {82, "ISO-8859-6-I"}, {85, "ISO-8859-8-I"},
      {2025, "GB2312"},  {2026, "Big5"},     {2084, "KOI8-R"},     {106, ""},
      {2251, ""}};
  TCSMIB registry(nullptr);
  for (const auto& [mib, name] : cases) {
    registry.SetEnum(mib);
    EXPECT_EQ(registry.GetPreferredMIMEName(), name) << mib;
  }
}

TEST(CharsetRegistryTest, RefusesNumbersOutsideTheRegistry) {
  TCSMIB registry(nullptr);
  try {
    registry.SetEnum(107);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid MIB number");
  }
  registry.SetIgnoreInvalidEnum(true);
  registry.SetEnum(107);
  EXPECT_EQ(registry.Enum(), 3);
  EXPECT_THROW(registry.GetAlias(11), Exception);
  EXPECT_THROW(registry.GetAlias(-1), Exception);
}

TEST(CharsetRegistryTest, AChangingHandlerCanRefuseAChange) {
  TCSMIB registry(nullptr);
  int32_t changes = 0;
  registry.SetOnChange([&](TObject* sender) {
    EXPECT_EQ(sender, &registry);
    ++changes;
  });
  registry.SetOnChanging([](TObject*, int32_t newEnum, bool& allowChange) { allowChange = newEnum != 2084; });
  registry.SetEnum(2084);
  EXPECT_EQ(registry.Enum(), 3);
  EXPECT_EQ(changes, 0);
  registry.SetEnum(4);
  EXPECT_EQ(registry.Enum(), 4);
  EXPECT_EQ(changes, 1);
  registry.SetEnum(4);
  EXPECT_EQ(changes, 1);
}

TEST(CharsetRegistryTest, FindNameStepsThroughTheRegistry) {
  TCSMIB registry(nullptr);
  int32_t changes = 0;
  registry.SetOnChange([&](TObject*) { ++changes; });
  EXPECT_TRUE(registry.FindName("CSISOLATIN2"));
  EXPECT_EQ(registry.Enum(), 5);
  EXPECT_EQ(changes, 2);  // 3 to 4 to 5
  EXPECT_FALSE(registry.FindName("no-such-charset"));
  EXPECT_EQ(registry.Enum(), 5);
}

}  // namespace

TEST(CharsetRegistryComponent, PublishesItsFourPropertiesAndStreamsThem) {
  TCSMIB registry(nullptr);
  std::vector<AnsiString> names;
  for (const TPropInfo* info : PublishedPropList(registry)) names.push_back(info->Name);
  EXPECT_EQ(names, (std::vector<AnsiString>{"OnChange", "OnChanging", "Enum", "IgnoreInvalidEnum"}));

  // Enum is written through SetEnum: the change events run when a window definition is read.
  registry.SetEnum(2084);
  registry.SetName("csKoi");
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(registry);
  TCSMIB target(nullptr);
  int changes = 0;
  target.SetOnChange([&](TObject*) { ++changes; });
  stream.SetPosition(0);
  TReader(stream).ReadRootComponent(target);
  EXPECT_EQ(target.Enum(), 2084);
  EXPECT_EQ(target.GetPreferredMIMEName(), "KOI8-R");
  EXPECT_EQ(changes, 1);
  // No default is declared, so even IgnoreInvalidEnum = false is in the definition.
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_NE(bytes.find(std::string("\x11IgnoreInvalidEnum\x08", 19)), std::string::npos);

  // A value outside the registry is refused as SetEnum refuses it.
  TMemoryStream bad;
  TWriter writer(bad);
  bad.WriteBuffer(FilerSignature, 4);
  writer.WriteStr("TCSMIB");
  writer.WriteStr("");
  writer.WriteStr("Enum");
  writer.WriteInteger(107);
  writer.WriteListEnd();
  writer.WriteListEnd();
  bad.SetPosition(0);
  try {
    TReader(bad).ReadRootComponent(target);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid MIB number");
  }
}
