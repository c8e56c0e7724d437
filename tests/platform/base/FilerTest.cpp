#include "platform/base/Filer.h"

#include <gtest/gtest.h>

#include "platform/base/FilerTestSupport.h"

#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/Exception.h"

namespace {

// A small class with one property of each kind, an owned collection and a property of
// its own that only DefineProperties knows.
class TSampleItem : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  int32_t Value() const { return FValue; }
  void SetValue(int32_t v) { FValue = v; }
  static const TClassProps& Props() {
    static const TClassProps props(
        "TSampleItem", nullptr,
        {Published::Integer<TSampleItem>("Value", &TSampleItem::Value, &TSampleItem::SetValue)});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  int32_t FValue = 0;
};

class TSample : public TComponent {
public:
  explicit TSample(TComponent* owner) : TComponent(owner), FItems(this, CollectionItemClassOf<TSampleItem>()) {}

  int32_t Size() const { return FSize; }
  void SetSize(int32_t v) { FSize = v; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool v) { FFlag = v; }
  AnsiString Label() const { return FLabel; }
  void SetLabel(const AnsiString& v) { FLabel = v; }
  WideString Title() const { return FTitle; }
  void SetTitle(const WideString& v) { FTitle = v; }
  TOwnedCollection* Items() const { return &FItems; }
  std::vector<uint8_t> Blob;
  int LoadedCalls = 0;

  static const TClassProps& Props() {
    static const TClassProps props(
        "TSample", nullptr,
        {Published::Integer<TSample>("Size", &TSample::Size, &TSample::SetSize, 0),
         Published::Boolean<TSample>("Flag", &TSample::Flag, &TSample::SetFlag, false),
         Published::AnsiText<TSample>("Label", &TSample::Label, &TSample::SetLabel),
         Published::WideText<TSample>("Title", &TSample::Title, &TSample::SetTitle),
         Published::Object<TSample>("Items", &TSample::Items), Published::Event("OnChange")});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty(
        "Blob",
        [this](TStream& s) {
          Blob.resize(static_cast<size_t>(s.Size()));
          if (!Blob.empty()) s.ReadBuffer(Blob.data(), static_cast<int32_t>(Blob.size()));
        },
        [this](TStream& s) { s.WriteBuffer(Blob.data(), static_cast<int32_t>(Blob.size())); }, !Blob.empty());
  }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
  }

private:
  int32_t FSize = 0;
  bool FFlag = false;
  AnsiString FLabel;
  WideString FTitle;
  mutable TOwnedCollection FItems;
};

// A root "frm" with one owned component "child".
struct Tree {
  Tree() {
    Root.SetName("frm");
    Child = CreateOwned<TSample>(Root);
    Child->SetName("child");
  }
  TSample Root{nullptr};
  TSample* Child;
};

TEST(Filer, WritesTheFormatFieldByField) {
  Tree tree;
  tree.Root.SetSize(300);
  tree.Child->SetTitle(u"\u0416");
  // One record of the format a line.
  // clang-format off
  const std::vector<uint8_t> expected{
      'T', 'P', 'F', '0',                              // signature
      7, 'T', 'S', 'a', 'm', 'p', 'l', 'e',            // class name
      3, 'f', 'r', 'm',                                // component name
      4, 'S', 'i', 'z', 'e', vaInt16, 0x2C, 0x01,      // Size = 300 (0 is the default: Flag and the rest left out)
      vaNull,                                          // end of the root's properties
      7, 'T', 'S', 'a', 'm', 'p', 'l', 'e', 5, 'c', 'h', 'i', 'l', 'd',
      5, 'T', 'i', 't', 'l', 'e', vaWString, 1, 0, 0, 0, 0x16, 0x04,  // Title = U+0416
      vaNull,                                          // end of the child's properties
      vaNull,                                          // the child owns nothing
      vaNull,                                          // end of the root's components
  };
  // clang-format on
  EXPECT_EQ(WriteDefinition(tree.Root), expected);
}

TEST(Filer, EveryKindRoundTripsByteForByte) {
  Tree source;
  source.Root.SetSize(-5);
  source.Root.SetFlag(true);
  source.Root.SetLabel(std::string(300, 'x'));  // a long 8-bit string
  source.Root.SetTitle(u"\u041a\u043d\u0438\u0433\u0430 \U0001F4D6");
  source.Root.Blob = {0, 1, 2, 255};
  static_cast<TSampleItem*>(source.Root.Items()->Add())->SetValue(70000);
  static_cast<TSampleItem*>(source.Root.Items()->Add())->SetValue(-1);
  source.Child->SetSize(127);
  const std::vector<uint8_t> bytes = WriteDefinition(source.Root);

  Tree target;
  ReadDefinition(target.Root, bytes);
  EXPECT_EQ(target.Root.Size(), -5);
  EXPECT_TRUE(target.Root.Flag());
  EXPECT_EQ(target.Root.Label(), std::string(300, 'x'));
  EXPECT_EQ(target.Root.Title(), u"\u041a\u043d\u0438\u0433\u0430 \U0001F4D6");
  EXPECT_EQ(target.Root.Blob, (std::vector<uint8_t>{0, 1, 2, 255}));
  ASSERT_EQ(target.Root.Items()->Count(), 2);
  EXPECT_EQ(static_cast<TSampleItem*>(target.Root.Items()->Items(0))->Value(), 70000);
  EXPECT_EQ(static_cast<TSampleItem*>(target.Root.Items()->Items(1))->Value(), -1);
  EXPECT_EQ(target.Child->Size(), 127);
  EXPECT_EQ(target.Root.LoadedCalls, 1);
  EXPECT_EQ(target.Child->LoadedCalls, 1);
  EXPECT_EQ(target.Root.ComponentState() & (csLoading | csReading), 0u);
  EXPECT_EQ(WriteDefinition(target.Root), bytes);
}

TEST(Filer, AnAncestorsValuesAreNotWritten) {
  Tree ancestor, tree;
  ancestor.Root.SetSize(9);
  tree.Root.SetSize(9);
  tree.Root.SetTitle(u"t");
  TMemoryStream stream;
  TWriter writer(stream);
  writer.SetAncestor(&ancestor.Root);
  EXPECT_TRUE(writer.IsDefaultPropValue(tree.Root, *FindPublishedProp(tree.Root, "Size")));
  EXPECT_FALSE(writer.IsDefaultPropValue(tree.Root, *FindPublishedProp(tree.Root, "Title")));
}

TEST(Filer, ReadingFailuresNameWhatIsWrong) {
  Tree source;
  source.Root.SetSize(1);
  const std::vector<uint8_t> good = WriteDefinition(source.Root);
  struct Case {
    const char* Trace;
    std::vector<uint8_t> Bytes;
    const char* Message;
  };
  std::vector<uint8_t> badSignature = good;
  badSignature[3] = '1';
  std::vector<uint8_t> unknownProperty = good;
  unknownProperty[18] = 'X';  // "Size" -> "SXze"
  std::vector<uint8_t> wrongType = good;
  wrongType[21] = vaString;  // Size given as a string
  std::vector<uint8_t> missingChild = good;
  missingChild[37] = 'X';  // "child" -> "chilX"
  const Case cases[] = {
      {"signature", badSignature, "Invalid stream format"},
      {"property", unknownProperty, "Error reading frm.SXze: Property SXze does not exist"},
      {"type", wrongType, "Invalid property value"},
      {"component", missingChild, "Component chilX not found"},
      {"cut short", std::vector<uint8_t>(good.begin(), good.begin() + 20), "Stream read error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Trace);
    Tree target;
    try {
      ReadDefinition(target.Root, c.Bytes);
      FAIL();
    } catch (const EReadError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    // A failed read leaves no component in the loading state.
    EXPECT_EQ(target.Root.ComponentState() & (csLoading | csReading), 0u);
  }
}

TEST(Filer, StreamsCreateTheRootOfTheClassTheyName) {
  Tree source;
  source.Root.SetSize(12);
  source.Root.SetLabel("made");
  TMemoryStream stream;
  WriteComponent(stream, source.Root);
  // Unknown until registered.
  stream.SetPosition(0);
  std::unique_ptr<TComponent> created;
  try {
    ReadComponent(stream, created);
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TSample not found");
  }
  EXPECT_EQ(created, nullptr);
  RegisterComponentClass("TSample", [] {
    auto sample = std::make_unique<TSample>(nullptr);
    // The owned child the stream names, as the class's constructor would make it.
    CreateOwned<TSample>(*sample)->SetName("child");
    return std::unique_ptr<TComponent>(std::move(sample));
  });
  EXPECT_TRUE(static_cast<bool>(FindComponentClass("tsample")));  // names ignore case
  stream.SetPosition(0);
  ReadComponent(stream, created);
  auto* sample = dynamic_cast<TSample*>(created.get());
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->Size(), 12);
  EXPECT_EQ(sample->Label(), "made");
  EXPECT_EQ(sample->LoadedCalls, 1);
  // An existing component is read into.
  Tree target;
  std::unique_ptr<TComponent> existing = std::make_unique<TSample>(nullptr);
  CreateOwned<TSample>(*existing)->SetName("child");
  TComponent* same = existing.get();
  stream.SetPosition(0);
  ReadComponent(stream, existing);
  EXPECT_EQ(existing.get(), same);
  EXPECT_EQ(static_cast<TSample&>(*existing).Size(), 12);
  UnRegisterComponentClass("TSample");
  EXPECT_FALSE(static_cast<bool>(FindComponentClass("TSample")));
}

}  // namespace
