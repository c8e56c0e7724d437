// Control items: the control's size with spacing and at a percentage of the width, its
// place, its document host (parent window, control actions, the control it supplies,
// exports), its properties, its native-format record with and without the control's
// stream, its printed image, and the live-spelling bracket of the document's changes.
#include "richtext/model/RPControlItems.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "RPFTestReader.h"
#include "RPItemOutput.h"
#include "RPTestCanvas.h"
#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

// The component behind a fake control: its size and caption are published, so that it
// streams.
class TFakeControlComponent : public TComponent {
public:
  explicit TFakeControlComponent(TComponent* owner = nullptr) : TComponent(owner) {}
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t value) { FWidth = value; }
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value) { FHeight = value; }
  AnsiString Caption() const { return FCaption; }
  void SetCaption(const AnsiString& value) { FCaption = value; }
  static const TClassProps& Props() {
    static const TClassProps props(
        "TFakeControlComponent", nullptr,
        {Published::Integer<TFakeControlComponent>("Width", &TFakeControlComponent::Width,
                                                   &TFakeControlComponent::SetWidth, 0),
         Published::Integer<TFakeControlComponent>("Height", &TFakeControlComponent::Height,
                                                   &TFakeControlComponent::SetHeight, 0),
         Published::AnsiText<TFakeControlComponent>("Caption", &TFakeControlComponent::Caption,
                                                    &TFakeControlComponent::SetCaption)});
    return props;
  }
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  AnsiString FCaption;
};

// A control as a screen would make it, recording what the document does with it; it
// draws itself as a box of its colour.
class TFakeItemControl : public IRPItemControl {
public:
  explicit TFakeItemControl(std::unique_ptr<TFakeControlComponent> component = nullptr)
      : FComponent(component ? std::move(component) : std::make_unique<TFakeControlComponent>()) {
    if (FComponent->Width() == 0) FComponent->SetWidth(80);
    if (FComponent->Height() == 0) FComponent->SetHeight(24);
  }
  TFakeControlComponent& Fake() { return *FComponent; }
  TComponent& Component() override { return *FComponent; }
  int32_t Left() const override { return FLeft; }
  void SetLeft(int32_t value) override { FLeft = value; }
  int32_t Top() const override { return FTop; }
  void SetTop(int32_t value) override { FTop = value; }
  int32_t Width() const override { return FComponent->Width(); }
  void SetWidth(int32_t value) override { FComponent->SetWidth(value); }
  int32_t Height() const override { return FComponent->Height(); }
  void SetSize(int32_t width, int32_t height) override {
    FComponent->SetWidth(width);
    FComponent->SetHeight(height);
  }
  int32_t Tag() const override { return FTag; }
  void SetTag(int32_t value) override { FTag = value; }
  bool Visible() const override { return FVisible; }
  void SetVisible(bool value) override { FVisible = value; }
  IRPControlParent* Parent() const override { return FParent; }
  void SetParent(IRPControlParent* parent) override { FParent = parent; }
  bool IsWindowControl() const override { return Windowed; }
  bool CanTakeFocus() const override { return Windowed && Focusable; }
  void SetFocus() override { ++FocusCalls; }
  void Draw(TCanvas& canvas, int32_t x, int32_t y) override {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Colour);
    canvas.FillRect(TRect{x, y, x + Width(), y + Height()});
  }

  bool Windowed = true;
  bool Focusable = true;
  int32_t FocusCalls = 0;
  TColor Colour = clRed;

private:
  std::unique_ptr<TFakeControlComponent> FComponent;
  int32_t FLeft = -1, FTop = -1, FTag = -1;
  bool FVisible = true;
  IRPControlParent* FParent = nullptr;
};

class TFakeParent : public IRPControlParent {};

// A document at the root of its nesting that plays its host: the parent window, the
// controls it supplies by name, what it writes for a control, the control actions and
// the live-spelling bracket it hears of.
class THostDocument : public TCustomRPData {
public:
  IRPControlParent* GetParentControl() override { return Parent; }
  void ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo*) override {
    Log.push_back("action " + std::to_string(action) + " " + std::to_string(itemNo));
  }
  std::unique_ptr<TComponent> RPFControlNeeded(const AnsiString& className, const AnsiString& name,
                                               const TRPTag& tag) override {
    Log.push_back("needed " + className + ":" + name + " " + std::to_string(tag.Number()));
    return Supplies ? std::make_unique<TFakeControlComponent>() : nullptr;
  }
  AnsiString SaveComponentToFile(const WideString&, TComponent* component, TRPSaveFormat format) override {
    Log.push_back("export " + std::to_string(format) + " " + (component ? component->Name() : AnsiString("-")));
    const auto found = Exports.find(format);
    return found == Exports.end() ? AnsiString() : found->second;
  }
  void PauseLiveSpelling() override { Log.push_back("pause"); }
  void ResumeLiveSpelling() override { Log.push_back("resume"); }
  void LiveSpellingResetFrom(TCustomRPData&, int32_t itemNo, int32_t offset) override {
    Log.push_back("from " + std::to_string(itemNo) + " " + std::to_string(offset));
  }
  void LiveSpellingCellFreed(TCustomRPData&) override { Log.push_back("cell freed"); }

  IRPControlParent* Parent = nullptr;
  bool Supplies = true;
  std::map<TRPSaveFormat, AnsiString> Exports;
  std::vector<std::string> Log;
};

std::string Text(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::unique_ptr<TRPControlItemInfo> ControlItem(TCustomRPData* data, TFakeItemControl** fake = nullptr) {
  auto control = std::make_unique<TFakeItemControl>();
  if (fake) *fake = control.get();
  return std::make_unique<TRPControlItemInfo>(data, std::move(control), rpvaBaseline);
}

// Control streams name their class: the fake class is known by name, and the screen's
// factory is stood in for by one that wraps the fake component.
class RPControlItemsTest : public ::testing::Test {
protected:
  RPControlItemsTest() {
    RegisterControlItemClass();
    RegisterComponentClass("TFakeControlComponent", [] { return std::make_unique<TFakeControlComponent>(); });
    SetRPItemControlFactory([](std::unique_ptr<TComponent> component) -> std::unique_ptr<IRPItemControl> {
      auto* fake = dynamic_cast<TFakeControlComponent*>(component.get());
      if (!fake) return nullptr;
      component.release();
      return std::make_unique<TFakeItemControl>(std::unique_ptr<TFakeControlComponent>(fake));
    });
  }
  ~RPControlItemsTest() override {
    SetRPItemControlFactory({});
    UnRegisterComponentClass("TFakeControlComponent");
  }
};

TEST_F(RPControlItemsTest, TheItemIsTheControlWithSpacingAroundIt) {
  auto item = ControlItem(nullptr);
  EXPECT_EQ(item->StyleNo, rpkindControl);
  EXPECT_TRUE(item->Visible);
  EXPECT_EQ(item->Spacing, 1);
  EXPECT_EQ(item->GetImageWidth(nullptr), 80);
  EXPECT_EQ(item->GetImageHeight(nullptr), 24);
  EXPECT_EQ(item->GetWidth(), 82);
  EXPECT_EQ(item->GetHeight(), 26);
  EXPECT_EQ(item->GetDescent(), 1);
  EXPECT_EQ(item->GetMinWidth(nullptr, nullptr, nullptr), 82);
  const TRPResolution printer{96, 96, 192, 192};
  EXPECT_EQ(item->GetMinWidth(&printer, nullptr, nullptr), 164);
  item->PercentWidth = 101;  // not a percentage, but not 0 either
  EXPECT_EQ(item->GetMinWidth(nullptr, nullptr, nullptr), 20);
  EXPECT_EQ(item->GetMinWidth(&printer, nullptr, nullptr), 40);
  TRPControlItemInfo empty(nullptr);
  EXPECT_EQ(empty.GetWidth(), 2);
}

TEST_F(RPControlItemsTest, APercentWidthSizesTheControlAndItsDrawItem) {
  struct TCase {
    int32_t Percent;
    int32_t ControlWidth, DrawWidth, DrawHeight;
  };
  // 600 pixels available, spacing 1: 50% makes the control 298 wide, its box 300.
  const TCase cases[] = {{50, 298, 300, 26}, {100, 598, 600, 26}, {1, 4, 6, 26}, {0, 80, -7, -7}, {101, 80, -7, -7}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Percent);
    TFakeItemControl* fake = nullptr;
    auto item = ControlItem(nullptr, &fake);
    item->PercentWidth = c.Percent;
    EXPECT_EQ(item->GetBoolValueEx(rpibqxSizeForWidth, nullptr), c.Percent >= 1 && c.Percent <= 100);
    int32_t width = -7, height = -7, descent = -7, offset = -7;
    item->UpdateSizeForWidth(600, false, nullptr, width, height, descent, offset);
    EXPECT_EQ(fake->Width(), c.ControlWidth);
    EXPECT_EQ(width, c.DrawWidth);
    EXPECT_EQ(height, c.DrawHeight);
    EXPECT_EQ(descent, 1);
    EXPECT_EQ(offset, 0);
  }
}

TEST_F(RPControlItemsTest, APercentWidthOnADeviceScalesHeightAndKeepsTheControlInScreenPixels) {
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(nullptr, &fake);
  item->PercentWidth = 50;
  item->Spacing = 2;
  const TRPResolution printer{96, 96, 192, 192};
  int32_t width = 0, height = 0, descent = 0, offset = 0;
  item->UpdateSizeForWidth(1200, false, &printer, width, height, descent, offset);
  EXPECT_EQ(width, 600);
  EXPECT_EQ(height, 56);
  EXPECT_EQ(descent, 4);
  EXPECT_EQ(fake->Width(), 296);  // 300 screen pixels less the spacing
  fake->SetWidth(10);
  item->UpdateSizeForWidth(1200, true, &printer, width, height, descent, offset);
  EXPECT_EQ(fake->Width(), 10);
}

TEST_F(RPControlItemsTest, BooleanQueries) {
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(nullptr, &fake);
  EXPECT_TRUE(item->GetBoolValue(rpibqHasContent));
  EXPECT_TRUE(item->GetBoolValue(rpibqSelectAsObject));
  EXPECT_TRUE(item->GetBoolValue(rpibqControl));
  EXPECT_TRUE(item->GetBoolValue(rpibqLive));
  EXPECT_FALSE(item->GetBoolValue(rpibqWholeLine));
  EXPECT_FALSE(item->GetBoolValue(rpibqResizable));
  item->ResizableFlag = true;
  EXPECT_TRUE(item->GetBoolValue(rpibqResizable));
  item->PercentWidth = 30;  // the width follows the document: no resizing by hand
  EXPECT_FALSE(item->GetBoolValue(rpibqResizable));
  EXPECT_TRUE(item->GetBoolValueEx(rpibqxFocusable, nullptr));
  fake->Focusable = false;
  EXPECT_FALSE(item->GetBoolValueEx(rpibqxFocusable, nullptr));
  EXPECT_FALSE(item->GetBoolValueEx(rpibqxHoverRepaint, nullptr));
  EXPECT_TRUE(item->GetBoolValueEx(rpibqxPrintAsBitmap, nullptr));
  item->FocusItem();
  EXPECT_EQ(fake->FocusCalls, 1);
  fake->Windowed = false;
  item->FocusItem();
  EXPECT_EQ(fake->FocusCalls, 1);
  TRPControlItemInfo empty(nullptr);
  EXPECT_FALSE(empty.GetBoolValue(rpibqHasContent));
}

TEST_F(RPControlItemsTest, PlacingMovesLeftAndCarriesTheTopInTheTag) {
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(nullptr, &fake);
  fake->SetTop(3);
  fake->SetVisible(false);
  item->AdjustControlPlacement(10, 20, false);
  EXPECT_EQ(fake->Left(), 11);
  EXPECT_EQ(fake->Tag(), 21);
  EXPECT_EQ(fake->Top(), 3);
  EXPECT_TRUE(fake->Visible());
  item->Visible = false;
  item->AdjustControlPlacement(5, 6, true);
  EXPECT_EQ(fake->Top(), 7);
  EXPECT_FALSE(fake->Visible());
}

TEST_F(RPControlItemsTest, TheDocumentParentsItsControlsAndHearsOfTheirMoves) {
  THostDocument document;
  TFakeParent window;
  document.Parent = &window;
  TFakeItemControl* fake = nullptr;
  document.AddTextW(u"before", 0, TRPTag(), 0);
  document.AddItem("button", ControlItem(&document, &fake));
  EXPECT_EQ(fake->Parent(), &window);
  EXPECT_FALSE(fake->Visible());  // until the document places it
  EXPECT_EQ(document.FindControlItem(&fake->Component()), 1);
  TFakeControlComponent stranger;
  EXPECT_EQ(document.FindControlItem(&stranger), -1);

  auto& item = static_cast<TRPControlItemInfo&>(*document.GetItem(1));
  document.Log.clear();
  item.MovingToUndoList(1, &document);
  EXPECT_EQ(fake->Parent(), nullptr);
  item.MovingFromUndoList(1, &document);
  EXPECT_EQ(fake->Parent(), &window);
  EXPECT_EQ(document.Log, (std::vector<std::string>{"action 1 1", "action 2 1"}));

  // A safe insertion (into a hidden place) leaves the control without a window.
  AnsiString text;
  item.Inserting(&document, text, true);
  EXPECT_EQ(fake->Parent(), nullptr);

  document.Log.clear();
  document.NotifyControlAction(rpcaBeforeRPFSave, 0, document.GetItem(0));  // a text item: nothing
  document.NotifyControlAction(rpcaBeforeRPFSave, 1, document.GetItem(1));
  document.DeleteItems(1, 1);
  EXPECT_EQ(document.Log, (std::vector<std::string>{"action 3 1", "pause", "pause", "action 0 1", "from 1 0", "resume",
                                                    "from 1 0", "resume"}));
}

TEST_F(RPControlItemsTest, PropertiesByCode) {
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(nullptr, &fake);
  int32_t value = -1;
  EXPECT_TRUE(item->SetIntProperty(rpipMinHeightOnPage, 30));
  EXPECT_TRUE(item->GetIntProperty(rpipMinHeightOnPage, value));
  EXPECT_EQ(value, 30);
  EXPECT_TRUE(item->SetIntProperty(rpipResizable, 1));
  EXPECT_TRUE(item->ResizableFlag);
  // A hidden item hides a control that stands in a window; one without a window keeps
  // its state.
  EXPECT_TRUE(item->SetIntProperty(rpipVisible, 0));
  EXPECT_FALSE(item->Visible);
  EXPECT_TRUE(fake->Visible());
  TFakeParent window;
  fake->SetParent(&window);
  EXPECT_TRUE(item->SetIntProperty(rpipVisible, 0));
  EXPECT_FALSE(fake->Visible());
  EXPECT_TRUE(item->GetIntProperty(rpipVisible, value));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(item->SetIntProperty(rpipSpacing, 4));
  EXPECT_EQ(item->Spacing, 4);
  EXPECT_FALSE(item->SetIntProperty(rpipWidth, 5));

  auto copy = CreateItemCopy(*item, nullptr, false);
  auto& copied = static_cast<TRPControlItemInfo&>(*copy);
  EXPECT_EQ(copied.Control, nullptr);  // the control stays with its item
  EXPECT_TRUE(copied.ResizableFlag);
  EXPECT_FALSE(copied.Visible);
  EXPECT_EQ(copied.Spacing, 4);
}

TEST_F(RPControlItemsTest, WithoutBodyTheNameAndPropertiesAreWrittenAndTheHostSuppliesTheControl) {
  THostDocument document;
  document.SetRPFOptions(0);
  TRPFStreaming streaming(document);
  auto item = ControlItem(&document);
  item->Tag = TRPTag::FromNumber(9);
  item->ResizableFlag = true;
  item->Visible = false;
  item->MinHeightOnPage = 12;
  TMemoryStream stream;
  item->SaveRPF(stream, streaming, 0, 2, "edit1", nullptr, false);
  EXPECT_EQ(Text(stream), "-5 4 2 0 1 9 0\r\nedit1\r\nminheightonpage=12\r\nresizable=1\r\nvisible=0\r\n");

  TFakeParent window;
  document.Parent = &window;
  std::vector<TRPFReadItem> items;
  TRPFTestReader reader(document, streaming);
  ASSERT_TRUE(reader.ReadAll(Text(stream), items));
  ASSERT_EQ(items.size(), 1u);
  const auto& back = static_cast<const TRPControlItemInfo&>(*items[0].Item);
  EXPECT_EQ(items[0].Text, "edit1");
  ASSERT_NE(back.Control, nullptr);
  EXPECT_EQ(back.Control->Parent(), &window);
  EXPECT_FALSE(back.Control->Visible());
  EXPECT_EQ(back.MinHeightOnPage, 12);
  EXPECT_TRUE(back.ResizableFlag);
  EXPECT_FALSE(back.Visible);
  EXPECT_EQ(document.Log.back(), "needed :edit1 9");
}

TEST_F(RPControlItemsTest, TheControlsBodyRoundTripsAsHexAndAsABlock) {
  for (const uint32_t options : {rpfoSaveControlsBody, rpfoSaveControlsBody | rpfoSaveBinary}) {
    SCOPED_TRACE(options);
    THostDocument document;
    document.SetRPFOptions(options);
    TRPFStreaming streaming(document);
    TFakeItemControl* fake = nullptr;
    auto item = ControlItem(&document, &fake);
    fake->Fake().SetName("Button1");
    fake->Fake().SetCaption("Press");
    fake->SetWidth(71);
    TMemoryStream stream;
    item->SaveRPF(stream, streaming, 4, 0, "b", nullptr, false);
    // The host may prepare the control around its stream.
    EXPECT_EQ(document.Log, (std::vector<std::string>{"action 3 4", "action 4 4"}));
    const std::string bytes = Text(stream);
    const bool binary = (options & rpfoSaveBinary) != 0;
    EXPECT_EQ(bytes.substr(0, 19), binary ? "-5 3 0 0 2 0 0\r\nb\r\n" : "-5 3 0 0 0 0 0\r\nb\r\n");
    EXPECT_EQ(bytes.substr(19, 23), "TFakeControlComponent\r\n");

    std::vector<TRPFReadItem> items;
    TRPFTestReader reader(document, streaming);
    ASSERT_TRUE(reader.ReadAll(bytes, items));
    ASSERT_EQ(items.size(), 1u);
    const auto& back = static_cast<const TRPControlItemInfo&>(*items[0].Item);
    ASSERT_NE(back.Control, nullptr);
    auto& component = static_cast<TFakeControlComponent&>(back.Control->Component());
    EXPECT_EQ(component.Caption(), "Press");
    EXPECT_EQ(component.Width(), 71);
    EXPECT_FALSE(back.Control->Visible());
    EXPECT_EQ(document.GetRPFWarnings(), 0u);
  }
}

TEST_F(RPControlItemsTest, AnUnknownControlClassIsSkippedWhenTheOptionsAllow) {
  THostDocument document;
  document.SetRPFOptions(rpfoSaveControlsBody);
  TRPFStreaming streaming(document);
  auto item = ControlItem(&document);
  TMemoryStream stream;
  item->SaveRPF(stream, streaming, 0, 0, "b", nullptr, false);
  document.AddTextW(u"after", 0, TRPTag(), 0);
  TMemoryStream text;
  document.GetItem(0)->SaveRPF(text, streaming, 0, 0, document.GetItemTextRaw(0), nullptr, false);
  const std::string bytes = Text(stream) + Text(text);
  UnRegisterComponentClass("TFakeControlComponent");

  std::vector<TRPFReadItem> items;
  TRPFTestReader refusing(document, streaming);
  EXPECT_FALSE(refusing.ReadAll(bytes, items));
  EXPECT_EQ(document.GetRPFWarnings(), rpfwUnknownCtrls);

  document.SetRPFOptions(rpfoIgnoreUnknownCtrls);
  document.SetRPFWarnings(0);
  items.clear();
  TRPFTestReader reader(document, streaming);
  ASSERT_TRUE(reader.ReadAll(bytes, items));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(static_cast<const TRPControlItemInfo&>(*items[0].Item).Control, nullptr);
  EXPECT_EQ(items[1].Text, "after");
  EXPECT_EQ(document.GetRPFWarnings(), rpfwUnknownCtrls);
}

TEST_F(RPControlItemsTest, AStreamThatDoesNotReadRefusesTheItem) {
  THostDocument document;
  TRPFStreaming streaming(document);
  TRPControlItemInfo item(&document);
  AnsiString name;
  TRPFLineMode mode = rpflmText;
  TRPFReadState state = rpfrsReading;
  ASSERT_TRUE(item.ReadRPFLine("b", streaming, rpfbmHex, 0, 3, name, mode, state));
  ASSERT_TRUE(item.ReadRPFLine("TFakeControlComponent", streaming, rpfbmHex, 1, 3, name, mode, state));
  EXPECT_FALSE(item.ReadRPFLine("54504630FF", streaming, rpfbmHex, 2, 3, name, mode, state));
  EXPECT_EQ(item.Control, nullptr);
  EXPECT_EQ(state, rpfrsItemDone);
}

TEST_F(RPControlItemsTest, ExportsWriteWhatTheHostGivesForTheControl) {
  THostDocument document;
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(&document, &fake);
  fake->Fake().SetName("Edit1");
  document.Exports[rpsfHTML] = "<input>";
  document.Exports[rpsfRTF] = "{\\field edit}";
  document.Exports[rpsfText] = "[edit]";

  TRPHTMLBulletInfoList bullets;
  TFakeHtmlWriter images;
  TRPHTMLSaveContext html(images, bullets);
  html.RPData = &document;
  TMemoryStream htmlStream;
  item->SaveToHTML(htmlStream, html, "", 0);
  EXPECT_EQ(Text(htmlStream), "<input>");

  TRPColorList colors;
  TRPRTFSaveContext rtf(colors);
  rtf.RPData = &document;
  TMemoryStream rtfStream;
  item->SaveRTF(rtfStream, rtf, "", 0);
  EXPECT_EQ(Text(rtfStream), "{\\field edit}");

  bool unicode = true;
  EXPECT_EQ(item->AsPlainText(80, &document, unicode), "[edit]");
  EXPECT_FALSE(unicode);
  EXPECT_EQ(document.Log, (std::vector<std::string>{"export 1 Edit1", "export 2 Edit1", "export 0 Edit1"}));

  document.Exports.clear();
  TMemoryStream nothing;
  item->SaveToHTML(nothing, html, "", 0);
  EXPECT_EQ(nothing.Size(), 0);
}

TEST_F(RPControlItemsTest, AControlImageIsTheControlDrawnAtItsSize) {
  TFakeItemControl control;
  control.SetWidth(5);
  const std::unique_ptr<TBitmap> image = CreateControlImage(control);
  EXPECT_EQ(image->Width(), 5);
  EXPECT_EQ(image->Height(), 24);
  EXPECT_EQ(image->PixelColor(4, 23), clRed);
}

TEST_F(RPControlItemsTest, PrintingCentresTheImageOrDrawsThePartOfASplitItem) {
  auto item = ControlItem(nullptr);
  auto image = WhitePage(2, 2);
  image->Canvas()->Brush().SetStyle(bsSolid);
  image->Canvas()->Brush().SetColor(clBlack);
  image->Canvas()->FillRect(TRect{0, 0, 2, 1});  // the top row black

  auto page = WhitePage(4, 4);
  ASSERT_TRUE(item->PrintToBitmap(*page, image.get(), -1, 0));
  EXPECT_EQ(Art(*page, clBlack), (std::vector<std::string>{"....", ".##.", "....", "...."}));
  // A bitmap smaller than the image grows to hold it.
  auto small = WhitePage(1, 1);
  ASSERT_TRUE(item->PrintToBitmap(*small, image.get(), -1, 0));
  EXPECT_EQ(small->Width(), 2);
  EXPECT_EQ(small->Height(), 2);
  // A split item draws its part: the image shifted up by the part's first row.
  item->MinHeightOnPage = 1;
  auto part = WhitePage(2, 2);
  ASSERT_TRUE(item->PrintToBitmap(*part, image.get(), 1, 1));
  EXPECT_EQ(Art(*part, clBlack), (std::vector<std::string>{"..", ".."}));
  auto first = WhitePage(2, 2);
  ASSERT_TRUE(item->PrintToBitmap(*first, image.get(), 0, 0));
  EXPECT_EQ(Art(*first, clBlack), (std::vector<std::string>{"##", ".."}));
  EXPECT_FALSE(item->PrintToBitmap(*first, nullptr, -1, 0));
  item->Visible = false;
  EXPECT_FALSE(item->PrintToBitmap(*first, image.get(), -1, 0));
}

TEST_F(RPControlItemsTest, PaintingFramesTheCurrentAndTheSelectedItem) {
  TRPStyle style(nullptr);
  style.CurrentItemColor = clBlue;
  style.SelColor = clRed;
  style.InactiveSelColor = clGreen;
  TFakeItemControl* fake = nullptr;
  auto item = ControlItem(nullptr, &fake);
  fake->SetWidth(2);
  static_cast<TFakeControlComponent&>(fake->Component()).SetHeight(1);
  auto page = WhitePage(7, 6);
  item->Paint(1, 1, *page->Canvas(), rpidsSelected | rpidsFocused, style);
  EXPECT_EQ(Art(*page, clRed),
            (std::vector<std::string>{".......", ".####..", ".#..#..", ".####..", ".......", "......."}));
  auto current = WhitePage(7, 6);
  item->Paint(1, 1, *current->Canvas(), rpidsCurrent | rpidsSelected, style);
  EXPECT_EQ(Art(*current, clBlue, clGreen),
            (std::vector<std::string>{"######.", "#oooo#.", "#o..o#.", "#oooo#.", "######.", "......."}));
  item->Visible = false;
  auto hidden = WhitePage(7, 6);
  item->Paint(1, 1, *hidden->Canvas(), rpidsSelected, style);
  EXPECT_EQ(Pixels(*hidden), Pixels(*WhitePage(7, 6)));
}

TEST_F(RPControlItemsTest, TheDocumentsOwnChangesBracketLiveSpelling) {
  THostDocument document;
  document.AddTextW(u"one", 0, TRPTag(), 0);
  document.AddTextW(u"two", 0, TRPTag(), 0);
  document.GetItem(1)->AddMisspelling(1, 3);
  document.GetItem(1)->ItemState |= rpisSpellChecked;
  document.Log.clear();
  document.SetItemTextW(1, u"too");
  // The new text loses its marks and is checked again.
  EXPECT_EQ(document.GetItem(1)->WordPainters, nullptr);
  EXPECT_EQ(document.GetItem(1)->ItemState & rpisSpellChecked, 0);
  document.InsertItem(0, "", std::make_unique<TRPTextItemInfo>(&document));
  document.Clear();
  EXPECT_EQ(document.Log, (std::vector<std::string>{"pause", "from 1 0", "resume", "pause", "from 0 0", "resume",
                                                    "pause", "pause", "from 0 0", "resume", "pause", "from 1 0",
                                                    "resume", "pause", "from 2 0", "resume", "from 0 0", "resume"}));
}

TEST_F(RPControlItemsTest, ARootWithoutLiveSpellingStillFollowsTypedMarks) {
  TCustomRPData document;
  document.AddTextW(u"abc def", 0, TRPTag(), 0);
  document.GetItem(0)->AddMisspelling(5, 3);
  // A character typed before the word moves its mark; deleting it moves it back.
  document.AdjustSpellingOnInsert(document, 0, 1, u'x');
  EXPECT_EQ(document.GetItem(0)->WordPainters->Items(0)->StartOffs, 6);
  document.AdjustSpellingOnDelete(document, 0, 1, 1);
  EXPECT_EQ(document.GetItem(0)->WordPainters->Items(0)->StartOffs, 5);
}

}  // namespace
