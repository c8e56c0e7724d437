// Collection values on their own, property lists of nested components, and readers that
// pass over properties they do not know.
#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/Exception.h"
#include "platform/base/Filer.h"
#include "platform/base/FilerTestSupport.h"

namespace {

class TPoint3 : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  int32_t X = 0;
  AnsiString Label;
  static const TClassProps& Props() {
    static const TClassProps props("TPoint3", nullptr,
                                   {Published::Integer<TPoint3>("X", &TPoint3::GetX, &TPoint3::SetX, 0),
                                    Published::AnsiText<TPoint3>("Label", &TPoint3::GetLabel, &TPoint3::SetLabel)});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }
  int32_t GetX() const { return X; }
  void SetX(int32_t v) { X = v; }
  AnsiString GetLabel() const { return Label; }
  void SetLabel(const AnsiString& v) { Label = v; }
};

std::vector<uint8_t> CollectionBytes(TCollection& collection) {
  TMemoryStream stream;
  TWriter(stream).WriteCollection(collection);
  return StreamBytes(stream);
}

TEST(FilerCollections, ACollectionValueIsWrittenAndReadOnItsOwn) {
  TCollection source(CollectionItemClassOf<TPoint3>());
  static_cast<TPoint3*>(source.Add())->X = 5;
  auto* second = static_cast<TPoint3*>(source.Add());
  second->X = 300;
  second->Label = "b";
  // clang-format off
  const std::vector<uint8_t> expected{
      vaCollection,
      vaList, 1, 'X', vaInt8, 5, vaNull,                                      // item 0: X = 5
      vaList, 1, 'X', vaInt16, 0x2C, 0x01, 5, 'L', 'a', 'b', 'e', 'l',
      vaString, 1, 'b', vaNull,                                               // item 1: X = 300, Label = "b"
      vaNull,                                                                 // end of the items
  };
  // clang-format on
  ASSERT_EQ(CollectionBytes(source), expected);

  TCollection target(CollectionItemClassOf<TPoint3>());
  target.Add();  // emptied first
  TMemoryStream stream;
  FillStream(stream, expected);
  TReader(stream).ReadCollection(target);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(static_cast<TPoint3*>(target.Items(0))->X, 5);
  EXPECT_EQ(static_cast<TPoint3*>(target.Items(1))->X, 300);
  EXPECT_EQ(static_cast<TPoint3*>(target.Items(1))->Label, "b");
  EXPECT_EQ(stream.Position(), stream.Size());
}

// An item with one unknown property named "Q" whose value is the given bytes.
std::vector<uint8_t> ItemWithUnknown(const std::vector<uint8_t>& value) {
  std::vector<uint8_t> bytes{vaCollection, vaList, 1, 'Q'};
  bytes.insert(bytes.end(), value.begin(), value.end());
  const std::vector<uint8_t> tail{1, 'X', vaInt8, 7, vaNull, vaNull};
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

TEST(FilerCollections, AnUnknownPropertyOfEveryValueKindIsPassedOverWhenTheHandlerSaysSo) {
  struct Case {
    const char* Trace;
    std::vector<uint8_t> Value;
  };
  const Case cases[] = {
      {"integer", {vaInt32, 1, 2, 3, 4}},
      {"string", {vaString, 2, 'h', 'i'}},
      {"long string", {vaLString, 1, 0, 0, 0, 'z'}},
      {"wide string", {vaWString, 1, 0, 0, 0, 0x16, 0x04}},
      {"binary", {vaBinary, 3, 0, 0, 0, 1, 2, 3}},
      {"set", {vaSet, 1, 'a', 2, 'b', 'c', 0}},
      {"ident", {vaIdent, 3, 'a', 'b', 'c'}},
      {"extended", {vaExtended, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"int64", {vaInt64, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"single", {vaSingle, 0, 0, 0, 0}},
      {"nested lists", {vaList, vaList, vaInt8, 1, vaNull, vaTrue, vaNull}},
      {"collection", {vaCollection, vaList, 1, 'a', vaInt8, 1, vaNull, vaList, vaNull, vaNull}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Trace);
    TMemoryStream stream;
    FillStream(stream, ItemWithUnknown(c.Value));
    TReader reader(stream);
    std::vector<AnsiString> messages;
    reader.OnError = [&](const AnsiString& message, bool& handled) {
      messages.push_back(message);
      handled = true;
    };
    TCollection target(CollectionItemClassOf<TPoint3>());
    reader.ReadCollection(target);
    ASSERT_EQ(target.Count(), 1);
    EXPECT_EQ(static_cast<TPoint3*>(target.Items(0))->X, 7);  // read after the unknown one
    EXPECT_EQ(messages, (std::vector<AnsiString>{"Error reading .Q: Property Q does not exist"}));
  }
}

TEST(FilerCollections, WithoutAHandlerAnUnknownPropertyRaises) {
  TMemoryStream stream;
  FillStream(stream, ItemWithUnknown({vaInt8, 1}));
  TReader reader(stream);
  TCollection target(CollectionItemClassOf<TPoint3>());
  try {
    reader.ReadCollection(target);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading .Q: Property Q does not exist");
  }
}

TEST(FilerCollections, PassingOverRefusesLengthsBeyondTheStreamAndSurvivesDeepNesting) {
  TCollection target(CollectionItemClassOf<TPoint3>());
  const auto skipAll = [](const AnsiString&, bool& handled) { handled = true; };
  {
    // A binary value announcing 2^31 bytes in a stream of a few.
    TMemoryStream stream;
    FillStream(stream, ItemWithUnknown({vaBinary, 0, 0, 0, 0x80, 1}));
    TReader reader(stream);
    reader.OnError = skipAll;
    EXPECT_THROW(reader.ReadCollection(target), EReadError);
  }
  {
    // A hundred thousand nested lists: passed over without recursion.
    std::vector<uint8_t> value(100000, vaList);
    value.insert(value.end(), 100000, vaNull);
    TMemoryStream stream;
    FillStream(stream, ItemWithUnknown(value));
    TReader reader(stream);
    reader.OnError = skipAll;
    reader.ReadCollection(target);
    ASSERT_EQ(target.Count(), 1);
    EXPECT_EQ(static_cast<TPoint3*>(target.Items(0))->X, 7);
  }
}

TEST(FilerCollections, PropertiesOfAnObjectReadUpToTheirListEnd) {
  TCollection holder(CollectionItemClassOf<TPoint3>());
  auto& source = *static_cast<TPoint3*>(holder.Add());
  source.X = -2;
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteProperties(source);
  writer.WriteListEnd();
  writer.WriteInteger(99);  // what follows stays unread
  stream.SetPosition(0);
  auto& target = *static_cast<TPoint3*>(holder.Add());
  TReader reader(stream);
  reader.ReadProperties(target);
  EXPECT_EQ(target.X, -2);
  EXPECT_EQ(reader.ReadInteger(), 99);
}

}  // namespace
