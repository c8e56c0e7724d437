#include "l10n/LangController.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/Exception.h"
#include "platform/base/Filer.h"
#include "platform/base/FilerTestSupport.h"
#include "unicode/UniWideStrings.h"

namespace {

// A stand-in for the controls of a window: a UTF-16 caption, an 8-bit hint that the
// window definition stores only while `StoreHint` is set, a string list and a collection.
class TColumn : public TCollectionItem {
public:
  using TCollectionItem::TCollectionItem;
  WideString Title() const { return FTitle; }
  void SetTitle(const WideString& v) { FTitle = v; }
  static const TClassProps& Props() {
    static const TClassProps props("TColumn", nullptr,
                                   {Published::WideText<TColumn>("Title", &TColumn::Title, &TColumn::SetTitle)});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  WideString FTitle;
};

class TTextComponent : public TComponent {
public:
  explicit TTextComponent(TComponent* owner, const char* name = nullptr)
      : TComponent(owner), FColumns(this, CollectionItemClassOf<TColumn>()) {
    if (name) SetName(name);
  }
  WideString Caption() const { return FCaption; }
  void SetCaption(const WideString& v) { FCaption = v; }
  AnsiString HintText() const { return FHint; }
  void SetHintText(const AnsiString& v) { FHint = v; }
  TUniStringList* Lines() const { return &FLines; }
  TOwnedCollection* Columns() const { return &FColumns; }
  bool StoreHint = true;

  static const TClassProps& Props() {
    static const TClassProps props("TTextComponent", nullptr, [] {
      std::vector<TPropInfo> list{
          Published::WideText<TTextComponent>("Caption", &TTextComponent::Caption, &TTextComponent::SetCaption),
          Published::AnsiText<TTextComponent>("Hint", &TTextComponent::HintText, &TTextComponent::SetHintText),
          Published::Object<TTextComponent>("Lines", &TTextComponent::Lines),
          Published::Object<TTextComponent>("Columns", &TTextComponent::Columns)};
      list[1].Stored = [](const TPersistent& o) { return static_cast<const TTextComponent&>(o).StoreHint; };
      return list;
    }());
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  WideString FCaption;
  AnsiString FHint;
  mutable TUniStringList FLines;
  mutable TOwnedCollection FColumns;
};

// The language dialog: a caption and four components, one without texts.
struct TLanguageWindow {
  TLanguageWindow() {
    Window.SetCaption(u"Select language");
    Label->SetCaption(u"Language:");
    Ok->SetCaption(u"OK");
    Cancel->SetCaption(u"Cancel");
  }
  TTextComponent Window{nullptr, "frmSelectLanguage"};
  TTextComponent* Label = CreateOwned<TTextComponent>(Window, "lblLanguage");
  TTextComponent* Combo = CreateOwned<TTextComponent>(Window, "cmbLanguage");
  TTextComponent* Ok = CreateOwned<TTextComponent>(Window, "btnOK");
  TTextComponent* Cancel = CreateOwned<TTextComponent>(Window, "btnCancel");
  TLanguageController* Controller = CreateOwned<TLanguageController>(Window);
};

std::vector<uint8_t> SaveLangData(TLanguageController& controller) {
  TMemoryStream stream;
  controller.Root().SaveToStream(stream);
  return StreamBytes(stream);
}

void LoadLangData(TLanguageController& controller, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  FillStream(stream, bytes);
  controller.Root().LoadFromStream(stream);
}

TEST(LanguageController, LangDataOfTheLanguageDialogIs145Bytes) {
  TLanguageWindow w;
  w.Controller->UpdateComponents(true);
  const std::vector<uint8_t> bytes = SaveLangData(*w.Controller);
  ASSERT_EQ(bytes.size(), 145u);
  const std::vector<uint8_t> head{
      17, 0, 'f', 'r', 'm', 'S', 'e', 'l', 'e', 'c', 't', 'L', 'a', 'n', 'g', 'u', 'a', 'g', 'e',  // name
      1,  1, 0,   0,   0,                                                                          // properties: one
      1,  0, 0,   0,   7,   0,   'C', 'a', 'p', 't', 'i', 'o', 'n',                                // 1 "Caption"
      1,  4, 0,   0,   0,                                                                          // children: four
      11, 0, 'l', 'b', 'l', 'L', 'a', 'n', 'g', 'u', 'a', 'g', 'e', 1,   1,   0,   0,   0,   2,
      0,  0, 0,   7,   0,   'C', 'a', 'p', 't', 'i', 'o', 'n', 0,            // 2 "Caption", no children
      11, 0, 'c', 'm', 'b', 'L', 'a', 'n', 'g', 'u', 'a', 'g', 'e', 0,   0,  // no properties
  };
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

  TLanguageWindow copy;
  LoadLangData(*copy.Controller, bytes);
  copy.Controller->Loaded();
  EXPECT_EQ(SaveLangData(*copy.Controller), bytes);
}

TEST(LanguageController, ASectionTranslatesAndTheDefaultLanguageRestores) {
  TLanguageWindow w;
  w.Ok->StoreHint = false;
  w.Ok->SetHintText("Confirm");
  w.Label->SetHintText("Pick one");
  w.Label->Lines()->SetText(u"one\r\ntwo\r\n");
  static_cast<TColumn*>(w.Label->Columns()->Add())->SetTitle(u"Name");
  w.Controller->UpdateComponents(true);
  TLang_CompEntry& label = *w.Controller->Root().Children[0];
  std::vector<AnsiString> paths;
  for (const TLang_PropEntry& p : *label.PropEntries) paths.push_back(p.Path);
  EXPECT_EQ(paths, (std::vector<AnsiString>{"Caption", "Columns[0].Title", "Hint", "Lines"}));
  EXPECT_EQ(w.Controller->Root().Children[2]->PropEntries->size(), 1u);  // btnOK's hint is not stored

  TLang_CompTranslation section("frmSelectLanguage");
  for (const TLang_PropEntry& p : *label.PropEntries) {
    if (p.Path == "Caption") section.Add(p.Id, u"\u042f\u0437\u044b\u043a:");
    if (p.Path == "Hint") section.Add(p.Id, u"\u0412\u044b\u0431\u0435\u0440\u0438\u0442\u0435");
    if (p.Path == "Lines") section.Add(p.Id, u"\u043e\u0434\u0438\u043d\r\n\u0434\u0432\u0430");
    if (p.Path == "Columns[0].Title") section.Add(p.Id, u"\U0001F4D6");
  }
  w.Controller->ApplyTranslation(&section, 1251);
  EXPECT_EQ(w.Label->Caption(), u"\u042f\u0437\u044b\u043a:");
  EXPECT_EQ(w.Label->HintText(), "\xc2\xfb\xe1\xe5\xf0\xe8\xf2\xe5");  // 8-bit, code page 1251
  EXPECT_EQ(w.Label->Lines()->Count(), 2);
  EXPECT_EQ(static_cast<TColumn*>(w.Label->Columns()->Items(0))->Title(), u"\U0001F4D6");
  EXPECT_EQ(w.Window.Caption(), u"Select language");  // the section lacks its identifier

  w.Controller->ApplyTranslation(nullptr, 1252);
  EXPECT_EQ(w.Label->Caption(), u"Language:");
  EXPECT_EQ(w.Label->HintText(), "Pick one");
  EXPECT_EQ(w.Label->Lines()->Text(), u"one\r\ntwo\r\n");
}

TEST(LanguageController, MasksAndOptionsDecideWhatIsCollected) {
  TLanguageWindow w;
  w.Controller->IgnoreList().Add(".Caption");
  w.Controller->IgnoreList().Add("btnOK.*");
  w.Ok->StoreHint = false;
  w.Cancel->StoreHint = false;
  w.Cancel->SetHintText("Esc");
  w.Controller->StoreList().Add("btnCancel.Hint");
  w.Label->SetCaption(u"...");
  w.Combo->SetCaption(u"50%");
  w.Ok->SetCaption(u"\u0414\u0430");
  w.Controller->UpdateComponents(true);
  const TLang_CompEntry& root = w.Controller->Root();
  EXPECT_FALSE(root.PropEntries.has_value());               // ".Caption" ignored
  EXPECT_FALSE(root.Children[0]->PropEntries.has_value());  // only dots
  EXPECT_FALSE(root.Children[1]->PropEntries.has_value());  // digits and a percent sign
  EXPECT_FALSE(root.Children[2]->PropEntries.has_value());  // masked away, Cyrillic or not
  ASSERT_TRUE(root.Children[3]->PropEntries.has_value());
  EXPECT_EQ(root.Children[3]->PropEntries->size(), 2u);  // Caption, and Hint by the store list

  // Without lcoIgnoreNonAlphaProps, only empty values are skipped.
  w.Controller->SetOptions(lcoIgnoreEmptyProps);
  w.Controller->UpdateComponents(true);
  EXPECT_TRUE(w.Controller->Root().Children[0]->PropEntries.has_value());
}

TEST(LanguageController, ComponentsMissingFromTheWindowAreDroppedWhenBinding) {
  TLanguageWindow full;
  full.Controller->UpdateComponents(true);
  const std::vector<uint8_t> bytes = SaveLangData(*full.Controller);

  TLanguageWindow partial;
  delete partial.Cancel;  // NOLINT: the window no longer has this component
  partial.Cancel = nullptr;
  LoadLangData(*partial.Controller, bytes);
  EXPECT_EQ(partial.Controller->Root().Children.size(), 4u);
  partial.Controller->Loaded();
  EXPECT_EQ(partial.Controller->Root().Children.size(), 3u);

  // A component freed later leaves the tree too.
  delete partial.Ok;  // NOLINT
  EXPECT_EQ(partial.Controller->Root().Children.size(), 2u);
}

TEST(LanguageController, LangDataCutShortLeavesTheTreeAsItWas) {
  TLanguageWindow w;
  w.Controller->UpdateComponents(true);
  std::vector<uint8_t> bytes = SaveLangData(*w.Controller);
  const std::vector<uint8_t> before = bytes;
  // As stored with the window: a vaBinary value of the controller's "LangData".
  TMemoryStream stream;
  stream.WriteBuffer(FilerSignature, 4);
  {
    TWriter writer(stream);
    writer.WriteStr("TLanguageController");
    writer.WriteStr("");
    writer.WriteStr("LangData");
    writer.WriteValue(vaBinary);
    const uint32_t size = 40;  // fewer bytes than the tree needs
    const uint8_t sizeBytes[4] = {size, 0, 0, 0};
    stream.WriteBuffer(sizeBytes, 4);
    stream.WriteBuffer(bytes.data(), 40);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TReader reader(stream);
  try {
    reader.ReadRootComponent(*w.Controller);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  EXPECT_EQ(SaveLangData(*w.Controller), before);
}

TEST(LanguageController, SectionNameDefaultsToTheOwnersName) {
  TLanguageWindow w;
  EXPECT_EQ(w.Controller->ActualSectionName(), u"frmSelectLanguage");
  w.Controller->SetSectionName(u"SelectLanguage");
  EXPECT_EQ(w.Controller->ActualSectionName(), u"SelectLanguage");
}

}  // namespace

namespace {

TEST(LanguageController, TheLanguageSourceListsEveryTextWithItsIdentifier) {
  TLanguageWindow w;
  w.Controller->SetSectionName(u"SelectLanguage");
  w.Label->SetCaption(u"\u042f\u0437\u044b\u043a:\ttab\r\nline");
  w.Controller->UpdateComponents(true);
  TUniStringList lines;
  w.Controller->GetLangSource(lines);
  EXPECT_EQ(lines.Text(),
            u"[SelectLanguage]\r\n"
            u"Caption=00000001,Select language\r\n"
            u"lblLanguage.Caption=00000002,\u042f\u0437\u044b\u043a:\\ttab\\nline\r\n"
            u"btnOK.Caption=00000003,OK\r\n"
            u"btnCancel.Caption=00000004,Cancel\r\n");
}

}  // namespace
