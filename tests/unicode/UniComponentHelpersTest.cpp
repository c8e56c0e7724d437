#include "unicode/UniComponentHelpers.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/FilerTestSupport.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWideStrings.h"

namespace {

// A component with a UTF-16 text, a UTF-16 character and a UTF-16 string list, whose
// window definition carries the wide companions.
class TWideSample : public TComponent {
public:
  explicit TWideSample(TComponent* owner) : TComponent(owner) {}
  WideString Title() const { return FTitle; }
  void SetTitle(const WideString& v) { FTitle = v; }
  WideChar Mark() const { return FMark; }
  void SetMark(WideChar v) { FMark = v; }
  TUniStringList* Lines() const { return &FLines; }

  static const TClassProps& Props() {
    static const TClassProps props("TWideSample", nullptr, [] {
      TPropInfo mark =
          Published::Make<TWideSample, WideChar>("Mark", tkWChar, &TWideSample::Mark, &TWideSample::SetMark);
      mark.Default = 0;
      return std::vector<TPropInfo>{
          Published::WideText<TWideSample>("Title", &TWideSample::Title, &TWideSample::SetTitle), mark,
          Published::Object<TWideSample>("Lines", &TWideSample::Lines)};
    }());
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }
  void DefineProperties(TFiler& filer) override { DefineWideProperties(filer, *this); }

private:
  WideString FTitle;
  WideChar FMark = 0;
  mutable TUniStringList FLines;
};

// A window definition of one TWideSample "s" whose properties `writeProps` writes.
void ReadWithProperties(TComponent& root, const std::function<void(TWriter&)>& writeProps) {
  TMemoryStream stream;
  stream.WriteBuffer(FilerSignature, 4);
  {
    TWriter writer(stream);
    writer.WriteStr("TWideSample");
    writer.WriteStr("s");
    writeProps(writer);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TReader reader(stream);
  reader.ReadRootComponent(root);
}

TEST(DefineWideProperties, CompanionsOfTextPropertiesAreReadAndDropped) {
  TWideSample sample(nullptr);
  sample.SetTitle(u"\u0417\u0430\u0433\u043e\u043b\u043e\u0432\u043e\u043a");
  ReadWithProperties(sample, [](TWriter& w) {
    w.WriteStr("TitleW");
    w.WriteString("\xd0\x96");  // UTF-8 of a Cyrillic letter
    w.WriteStr("Title_UTF7");
    w.WriteString("+BBY-");
  });
  EXPECT_EQ(sample.Title(), u"\u0417\u0430\u0433\u043e\u043b\u043e\u0432\u043e\u043a");
}

TEST(DefineWideProperties, TheCharacterCompanionCarriesCharactersOutsideTheCodePage) {
  TWideSample source(nullptr);
  source.SetMark(u'\u4e2d');
  const std::vector<uint8_t> bytes = WriteDefinition(source);
  // "MarkW" holds the character as a wide string: 18, length 1, the unit.
  const std::vector<uint8_t> companion{5, 'M', 'a', 'r', 'k', 'W', vaWString, 1, 0, 0, 0, 0x2D, 0x4E};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), companion.begin(), companion.end()), bytes.end());

  TWideSample target(nullptr);
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("MarkW");
    w.WriteWideString(u"\u4e2d");
  });
  EXPECT_EQ(target.Mark(), u'\u4e2d');
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("Mark_UTF7");
    w.WriteString("+BBY-");
  });
  EXPECT_EQ(target.Mark(), u'\u0416');

  const std::function<void(TWriter&)> bad[] = {
      [](TWriter& w) {
        w.WriteStr("MarkW");
        w.WriteWideString(u"ab");
      },
      [](TWriter& w) {
        w.WriteStr("MarkW");
        w.WriteInteger(65);
      },
  };
  for (const auto& props : bad) {
    try {
      ReadWithProperties(target, props);
      FAIL();
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), "Invalid property value");
    }
  }
  // At its default the companion is not written.
  TWideSample plain(nullptr);
  const std::vector<uint8_t> plainBytes = WriteDefinition(plain);
  EXPECT_EQ(std::search(plainBytes.begin(), plainBytes.end(), companion.begin(), companion.begin() + 6),
            plainBytes.end());
}

TEST(WideStringsStreaming, ListsRoundTripAndLegacyPropertiesAreRead) {
  TWideSample source(nullptr);
  source.Lines()->SetText(u"\u041f\u0435\u0440\u0432\u0430\u044f\r\n\U0001F4D6\r\n");
  TWideSample target(nullptr);
  {
    const std::vector<uint8_t> bytes = WriteDefinition(source);
    ReadDefinition(target, bytes);
    EXPECT_EQ(WriteDefinition(target), bytes);
  }
  EXPECT_EQ(target.Lines()->Text(), source.Lines()->Text());

  // One string is the whole text.
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("Lines.Strings");
    w.WriteWideString(u"a\r\nb");
  });
  EXPECT_EQ(target.Lines()->Count(), 2);
  // "WideStrings" reads as "Strings"; items may be 8-bit.
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("Lines.WideStrings");
    w.WriteListBegin();
    w.WriteString("\xc6");  // 8-bit, ANSI code page 1251
    w.WriteWideString(u"\u4e2d");
    w.WriteListEnd();
  });
  EXPECT_EQ(target.Lines()->Text(), u"\u0416\r\n\u4e2d\r\n");
  // "WideStringsW" is UTF-8 and taken only by an empty list; "WideStrings_UTF7" is dropped.
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("Lines.WideStringsW");
    w.WriteListBegin();
    w.WriteString("\xd0\x96");
    w.WriteListEnd();
    w.WriteStr("Lines.WideStrings_UTF7");
    w.WriteListBegin();
    w.WriteString("+BBY-");
    w.WriteListEnd();
  });
  EXPECT_EQ(target.Lines()->Text(), u"\u0416\r\n\u4e2d\r\n");
  target.Lines()->Clear();
  ReadWithProperties(target, [](TWriter& w) {
    w.WriteStr("Lines.WideStringsW");
    w.WriteListBegin();
    w.WriteString("\xd0\x96");
    w.WriteListEnd();
  });
  EXPECT_EQ(target.Lines()->Text(), u"\u0416\r\n");
}

TEST(WideComponentHelper, HelpersAreFoundByTheirComponentAndGoWithIt) {
  TWideComponentHelperList list;
  std::vector<std::unique_ptr<TComponent>> components;
  for (int i = 0; i < 5; ++i) components.push_back(std::make_unique<TComponent>(nullptr));
  for (int i : {3, 0, 4, 1}) std::make_unique<TWideComponentHelper>(*components[i], list).release();
  ASSERT_EQ(list.Count(), 4);
  for (int32_t i = 1; i < list.Count(); ++i)
    EXPECT_TRUE(std::less<const TComponent*>()(list.Items(i - 1)->Component(), list.Items(i)->Component()));
  for (int i : {0, 1, 3, 4})
    EXPECT_EQ(FindComponentHelper(list, components[i].get())->Component(), components[i].get());
  EXPECT_EQ(FindComponentHelper(list, components[2].get()), nullptr);

  components[3].reset();  // frees its helper
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(FindComponentHelper(list, components[0].get())->Component(), components[0].get());

  try {
    TWideComponentHelper helper(nullptr);
    FAIL();
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Unicode Internal Error: TWideComponentHelper.Create should never be encountered.");
  }
}

TEST(TextPairing, ReconcileFollowsAChangeOfTheEightBitText) {
  WideString stored = u"\u0416\u0443\u043a";
  EXPECT_EQ(ReconcileWideWithAnsi(stored, "\xc6\xf3\xea"), u"\u0416\u0443\u043a");  // in step
  stored = u"\u4e2d";
  EXPECT_EQ(ReconcileWideWithAnsi(stored, "?"), u"\u4e2d");  // its lossy form is in step too
  EXPECT_EQ(ReconcileWideWithAnsi(stored, "abc"), u"abc");
  EXPECT_EQ(stored, u"abc");
}

TEST(TextPairing, AssignReachesTheControlEvenWithTheSameEightBitForm) {
  AnsiString ansi = "?";
  WideString stored = u"\u4e2d";
  std::vector<AnsiString> calls;
  auto setAnsi = [&](const AnsiString& text) {
    calls.push_back(text);
    ansi = text;
  };
  AssignWideWithAnsi(u"\u4e2d", stored, ansi, setAnsi);
  EXPECT_TRUE(calls.empty());
  // U+4E01 is "?" in code page 1251 as well: the control first sees an empty text.
  AssignWideWithAnsi(u"\u4e01", stored, ansi, setAnsi);
  EXPECT_EQ(calls, (std::vector<AnsiString>{"", "?"}));
  EXPECT_EQ(stored, u"\u4e01");
  calls.clear();
  AssignWideWithAnsi(u"\u0416", stored, ansi, setAnsi);
  EXPECT_EQ(calls, (std::vector<AnsiString>{"\xc6"}));
}

}  // namespace
