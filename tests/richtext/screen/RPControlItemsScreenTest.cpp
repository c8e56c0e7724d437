// Control items on screen: a Qt button and an edit placed in a document at their size and
// at a percentage of the width, moving with the text, painted into a page image of the
// report helper, written to the native format and read back; an animated strip picture
// playing on its timer; the smart popup button at the end of its item and its click.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <set>

#include "RPScreenTestData.h"
#include "platform/gui/Menus.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPFTestReader.h"
#include "richtext/screen/RPControlWidgets.h"
#include "richtext/screen/RPSmartPopupButton.h"

namespace {

std::unique_ptr<TRPControlItemInfo> ButtonItem(TCustomRPData& data, const WideString& caption, TButton** button) {
  auto control = std::make_unique<TButton>(nullptr);
  control->SetName("Button1");
  control->SetCaption(caption);
  control->SetBounds(0, 0, 90, 26);
  *button = control.get();
  return std::make_unique<TRPControlItemInfo>(&data, std::make_unique<TRPWidgetControl>(std::move(control)),
                                              rpvaBaseline);
}

std::unique_ptr<TRPControlItemInfo> EditItem(TCustomRPData& data, const WideString& text, TEdit** edit) {
  auto control = std::make_unique<TEdit>(nullptr);
  control->SetName("Edit1");
  control->SetText(text);
  control->SetBounds(0, 0, 120, 22);
  *edit = control.get();
  return std::make_unique<TRPControlItemInfo>(&data, std::make_unique<TRPWidgetControl>(std::move(control)),
                                              rpvaBaseline);
}

// The draw item of item itemNo.
const TRPDrawLineInfo& DrawItemOf(TCustomRPFormattedData& data, int32_t itemNo) {
  return *data.DrawItems[data.GetItemFirstDrawItem(itemNo)];
}

TEST(RPControlItemsScreenTest, AButtonAndAnEditStandInTheTextAndMoveWithIt) {
  TScreenView view;
  TButton* button = nullptr;
  TEdit* edit = nullptr;
  view.Data().AddAnsiText("A button:", PlainStyle, TRPTag(), 0);
  view.Pane.AddItem("button", ButtonItem(view.Data(), u"Press", &button));
  view.Data().AddAnsiText("and an edit at half the width:", PlainStyle, TRPTag(), 0);
  auto editItem = EditItem(view.Data(), u"typed", &edit);
  editItem->PercentWidth = 50;
  view.Pane.AddItem("edit", std::move(editItem));
  view.AddLines(30);
  view.Pane.Format();
  view.Show();

  // The controls stand in the window's client area, inside their items' boxes.
  ASSERT_NE(button->Widget(), nullptr);
  EXPECT_EQ(button->Widget()->parentWidget(), view.Viewport());
  EXPECT_TRUE(button->Widget()->isVisible());
  EXPECT_EQ(button->Parent(), &view.Pane.Window());
  const TRPDrawLineInfo& b = DrawItemOf(view.Data(), 1);
  EXPECT_EQ(b.Width, 92);
  EXPECT_EQ(b.Height, 28);
  EXPECT_EQ(button->Widget()->geometry(), QRect(b.Left + 1, b.Top + 1, 90, 26));
  EXPECT_EQ(qobject_cast<QPushButton*>(button->Widget())->text(), QString("Press"));

  const TRPDrawLineInfo& e = DrawItemOf(view.Data(), 3);
  const int32_t area = view.Data().TextWidth;
  EXPECT_EQ(e.Width, area * 50 / 100);
  EXPECT_EQ(edit->Width(), area * 50 / 100 - 2);
  EXPECT_EQ(edit->Widget()->geometry(), QRect(e.Left + 1, e.Top + 1, area * 50 / 100 - 2, 22));
  EXPECT_EQ(view.Data().FindControlItem(edit), 3);

  // Scrolling moves them with the text.
  view.Pane.SetVScrollPos(2);
  const int32_t shift = 2 * view.Pane.VSmallStep();
  EXPECT_EQ(button->Widget()->geometry().top(), b.Top + 1 - shift);
  EXPECT_EQ(edit->Widget()->geometry().top(), e.Top + 1 - shift);

  // A narrower window: the edit follows the width.
  view.Pane.Window().SetBounds(10, 10, 202, 202);
  QApplication::processEvents();
  EXPECT_EQ(edit->Width(), view.Data().TextWidth * 50 / 100 - 2);

  // A new size (an editor's resizing) keeps the control where the view placed it.
  const QRect placed = button->Widget()->geometry();
  static_cast<TRPControlItemInfo&>(*view.Data().GetItem(1)).Control->SetSize(100, 40);
  EXPECT_EQ(button->Width(), 100);
  EXPECT_EQ(button->Height(), 40);
  EXPECT_EQ(button->Widget()->geometry(), QRect(placed.left(), placed.top(), 100, 40));
}

TEST(RPControlItemsScreenTest, TheControlsArePaintedIntoAPageImage) {
  TRPStyle style(nullptr);
  TRPReportHelper helper(nullptr);
  helper.RichPane().SetStyle(&style);
  TCustomRPData& data = helper.RichPane().RPData();
  TButton* button = nullptr;
  TEdit* edit = nullptr;
  data.AddAnsiText("Form:", PlainStyle, TRPTag(), 0);
  helper.RichPane().AddItem("button", ButtonItem(data, u"Press", &button));
  auto editItem = EditItem(data, u"typed", &edit);
  editItem->PercentWidth = 50;
  helper.RichPane().AddItem("edit", std::move(editItem));

  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(400, 300);
  page.Canvas()->Brush().SetColor(clWhite);
  page.Canvas()->FillRect(TRect{0, 0, 400, 300});
  helper.BeginLayout(*page.Canvas(), 400);
  while (helper.LayoutNextPage(300)) {
  }
  ASSERT_EQ(helper.GetPagesCount(), 1);
  helper.PaintPage(1, *page.Canvas(), false, 300);
  // The controls have no window here: their images are drawn.
  EXPECT_EQ(button->Widget(), nullptr);
  TReportRPData& report = helper.ReportData();
  const TRPDrawLineInfo& b = DrawItemOf(report, 1);
  const TRPDrawLineInfo& e = DrawItemOf(report, 2);
  // The edit is half the page's text width wide.
  EXPECT_EQ(e.Width, report.TextWidth / 2);
  EXPECT_EQ(edit->Width(), report.TextWidth / 2 - 2);
  const auto count = [&](const TRPDrawLineInfo& d, TColor colour) {
    int32_t n = 0;
    for (int32_t y = d.Top; y < d.Top + d.Height; ++y)
      for (int32_t x = d.Left; x < d.Left + d.Width; ++x) n += page.PixelColor(x, y) == colour;
    return n;
  };
  // The button's face (button face grey), its caption in black; the edit white with its
  // text.
  EXPECT_GT(count(b, 0xC0C0C0), 90 * 26 / 2);
  EXPECT_GT(count(b, clBlack), 3);
  EXPECT_GT(count(e, clWhite), e.Width * 22 / 2);
  EXPECT_GT(count(e, clBlack), 3);

  // The print component may give the picture itself.
  TControl* asked = nullptr;
  helper.OnPrintComponent = [&](TCustomRPPrint* sender, TComponent* printMe, std::unique_ptr<TBitmap>& image) {
    EXPECT_EQ(sender, &helper);
    asked = dynamic_cast<TControl*>(printMe);
    image = std::make_unique<TBitmap>();
    image->SetPixelFormat(pf24bit);
    image->SetSize(90, 26);
    image->Canvas()->Brush().SetColor(clBlue);
    image->Canvas()->FillRect(TRect{0, 0, 90, 26});
  };
  helper.PaintPage(1, *page.Canvas(), false, 300);
  EXPECT_NE(asked, nullptr);
  EXPECT_GT(count(b, clBlue), 90 * 26 - 10);
}

TEST(RPControlItemsScreenTest, ControlsAreWrittenToTheNativeFormatAndReadBack) {
  for (const uint32_t options : {rpfoSaveControlsBody, rpfoSaveControlsBody | rpfoSaveBinary}) {
    SCOPED_TRACE(options);
    TScreenView view;
    view.Pane.RPFOptions = options;
    TButton* button = nullptr;
    TEdit* edit = nullptr;
    view.Pane.AddItem("button", ButtonItem(view.Data(), u"Press me", &button));
    auto editItem = EditItem(view.Data(), u"some text", &edit);
    editItem->PercentWidth = 40;
    editItem->ResizableFlag = true;
    view.Pane.AddItem("edit", std::move(editItem));
    int32_t actions = 0;
    view.Pane.OnControlAction = [&](TCustomRichPane*, TRPControlAction action, int32_t, TCustomRPItemInfo*) {
      actions += action == rpcaBeforeRPFSave || action == rpcaAfterRPFSave;
    };
    TRPFStreaming streaming(view.Data());
    TMemoryStream stream;
    for (int32_t i = 0; i < view.Pane.GetItemCount(); ++i)
      view.Data().GetItem(i)->SaveRPF(stream, streaming, i, 0, view.Data().GetItemTextRaw(i), nullptr, false);
    EXPECT_EQ(actions, 4);

    TScreenView other;
    TRPFStreaming reading(other.Data());
    std::vector<TRPFReadItem> items;
    TRPFTestReader reader(other.Data(), reading);
    ASSERT_TRUE(reader.ReadAll(
        std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())), items));
    ASSERT_EQ(items.size(), 2u);
    for (TRPFReadItem& read : items) other.Pane.AddItem(read.Text, std::move(read.Item));
    const auto& buttonBack = static_cast<const TRPControlItemInfo&>(*other.Pane.GetItem(0));
    const auto& editBack = static_cast<const TRPControlItemInfo&>(*other.Pane.GetItem(1));
    const auto* buttonControl = dynamic_cast<const TRPWidgetControl*>(buttonBack.Control.get());
    const auto* editControl = dynamic_cast<const TRPWidgetControl*>(editBack.Control.get());
    ASSERT_NE(buttonControl, nullptr);
    ASSERT_NE(editControl, nullptr);
    const auto* buttonRead = dynamic_cast<const TButton*>(&buttonControl->GuiControl());
    const auto* editRead = dynamic_cast<const TEdit*>(&editControl->GuiControl());
    ASSERT_NE(buttonRead, nullptr);
    ASSERT_NE(editRead, nullptr);
    EXPECT_EQ(buttonRead->Caption(), u"Press me");
    EXPECT_EQ(buttonRead->Width(), 90);
    EXPECT_EQ(editRead->Text(), u"some text");
    EXPECT_EQ(editBack.PercentWidth, 0);  // the percentage is the document's, not streamed
    EXPECT_TRUE(editBack.ResizableFlag);
    EXPECT_EQ(other.Data().GetRPFWarnings(), 0u);
    // Read into a shown view, the controls come up in its window.
    other.Pane.Format();
    other.Show();
    ASSERT_NE(buttonRead->Widget(), nullptr);
    EXPECT_EQ(buttonRead->Widget()->parentWidget(), other.Viewport());
    EXPECT_TRUE(buttonRead->Widget()->isVisible());
  }
}

// A strip of cells in distinct colours.
std::unique_ptr<TBitmap> Strip(int32_t frames, int32_t cell) {
  auto strip = std::make_unique<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(frames * cell, cell);
  for (int32_t f = 0; f < frames; ++f) {
    strip->Canvas()->Brush().SetColor(static_cast<TColor>(RGB(0, static_cast<uint8_t>(60 * f + 30), 0)));
    strip->Canvas()->FillRect(TRect{f * cell, 0, (f + 1) * cell, cell});
  }
  return strip;
}

TEST(RPControlItemsScreenTest, AStripPicturePlaysOnTheTimerAndRestsOutOfView) {
  TScreenView view;
  auto picture = std::make_unique<TRPGraphicItemInfo>(&view.Data(), Strip(4, 20), rpvaBaseline);
  picture->ImageWidth = picture->ImageHeight = 20;
  picture->Interval = 2;  // 20 milliseconds a frame
  TRPGraphicItemInfo& item = *picture;
  view.Pane.AddItem("strip", std::move(picture));
  view.AddLines(80);
  view.Pane.SetAnimationMode(rpaniOnFormat);
  view.Pane.Format();
  view.Show();
  ASSERT_NE(item.Animator, nullptr);
  EXPECT_TRUE(view.Pane.Window().TimerRunning(RPAnimationTimerId));
  const auto& animator = static_cast<const TRPAnimator&>(*item.Animator);
  // Frames change on the timer and show in the window.
  std::set<QRgb> shown;
  for (int32_t i = 0; i < 40 && shown.size() < 3; ++i) {
    QTest::qWait(15);
    const TRPDrawLineInfo& d = DrawItemOf(view.Data(), 0);
    shown.insert(view.Grab().pixel(d.Left + 5, d.Top + 5) & 0xFFFFFF);
  }
  EXPECT_GE(shown.size(), 3u);
  // Scrolled away, the picture changes frames but is not drawn.
  view.Pane.SetVScrollPos(view.Pane.VScrollMax());
  QApplication::processEvents();
  EXPECT_FALSE(animator.IsInView());
  const QImage away = view.Grab();
  const int32_t frame = animator.Frame;
  QTest::qWait(120);
  EXPECT_NE(animator.Frame, frame);
  EXPECT_EQ(view.Grab(), away);
  // Disabling the animation stops the timer and frees the animators.
  view.Pane.SetAnimationMode(rpaniDisabled);
  EXPECT_FALSE(view.Pane.Window().TimerRunning(RPAnimationTimerId));
  EXPECT_EQ(item.Animator, nullptr);
}

TEST(RPControlItemsScreenTest, TheSmartPopupButtonStandsAtTheEndOfItsItemAndIsClicked) {
  TScreenView view;
  view.Data().AddAnsiText("a word with a popup", PlainStyle, TRPTag(), 0);
  view.Data().AddAnsiText("another line", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  TRPSmartPopupProperties& settings = view.Pane.SmartPopupProperties();
  settings.SetHint("Options");
  view.Pane.ShowSmartPopup(view.Data(), 0);
  auto* button = dynamic_cast<TRPSmartPopupButton*>(view.Data().SmartPopupButton());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(settings.Button(), button);
  // At the right end of the item's draw item, its bottom on the item's bottom.
  const TRPDrawLineInfo& d = *view.Data().DrawItems[0];
  EXPECT_EQ(button->Left(), d.Left + d.Width);
  EXPECT_EQ(button->Top(), d.Top + d.Height - settings.ButtonHeight());
  EXPECT_EQ(button->Width(), settings.ButtonWidth());
  ASSERT_NE(button->Widget(), nullptr);
  EXPECT_EQ(button->Widget()->parentWidget(), view.Viewport());
  EXPECT_EQ(button->Hint(), u"Options");

  // A click, and the shortcut, raise OnSmartPopupClick.
  std::vector<IRPSmartPopupButton*> clicks;
  view.Pane.OnSmartPopupClick = [&](TCustomRichPane* sender, IRPSmartPopupButton* clicked) {
    EXPECT_EQ(sender, &view.Pane);
    clicks.push_back(clicked);
  };
  settings.SetButtonType(rpsptSimple);
  QApplication::processEvents();
  QTest::mouseClick(qobject_cast<QAbstractScrollArea*>(button->Widget())->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], button);
  view.Pane.Window().SetFocus();
  QTest::keyClick(&view.Area(), Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(clicks.size(), 2u);
  EXPECT_EQ(view.Pane.VScrollPos(), 0);  // the shortcut did not scroll

  // A drop-down button shows its menu below itself after the event.
  TPopupMenu menu(nullptr);
  settings.SetMenu(&menu);
  settings.SetButtonType(rpsptDropDown);
  bool popped = false;
  menu.OnPopup = [&](TObject*) {
    popped = true;
    QTimer::singleShot(0, [] {
      if (QWidget* shown = QApplication::activePopupWidget()) shown->close();
    });
  };
  button->Click();
  EXPECT_TRUE(popped);
  EXPECT_EQ(clicks.size(), 3u);

  // A new colour repaints the shown button at once.
  settings.SetColor(clRed);
  QApplication::processEvents();
  const QImage image = view.Grab();
  EXPECT_EQ(image.pixel(button->Left() + 1, button->Top() + 1) & 0xFFFFFF, 0xFF0000u);

  view.Pane.HideSmartPopup();
  EXPECT_EQ(view.Data().SmartPopupButton(), nullptr);
  EXPECT_EQ(settings.Button(), nullptr);
  // The button goes with its item.
  view.Pane.ShowSmartPopup(view.Data(), 1);
  ASSERT_NE(view.Data().SmartPopupButton(), nullptr);
  view.Data().DeleteItems(1, 1);
  view.Pane.Format();
  EXPECT_EQ(view.Data().SmartPopupButton(), nullptr);
}

TEST(RPControlItemsScreenTest, SmartPopupSettingsStreamWithoutAnEmptyHint) {
  TRPSmartPopupProperties settings;
  EXPECT_EQ(settings.ShortCut(), 24616);
  EXPECT_EQ(settings.ButtonType(), rpsptDropDown);
  EXPECT_EQ(settings.Color(), clWindow);
  EXPECT_EQ(settings.HoverColor(), clInfoBk);
  EXPECT_EQ(settings.LineColor(), clHighlight);
  EXPECT_EQ(settings.HoverLineColor(), clInfoText);
  std::vector<AnsiString> names;
  for (const TPropInfo* info : PublishedPropList(settings))
    if (info->IsStored(settings)) names.push_back(info->Name);
  EXPECT_EQ(names, (std::vector<AnsiString>{"ImageIndex", "Color", "HoverColor", "LineColor", "HoverLineColor",
                                            "ShortCut", "ButtonType"}));
  settings.SetHint("Choose");
  TPopupMenu menu(nullptr);
  settings.SetMenu(&menu);
  settings.SetButtonType(rpsptShowDialog);
  TRPSmartPopupProperties copy;
  copy.Assign(settings);
  EXPECT_EQ(copy.Hint(), "Choose");
  EXPECT_EQ(copy.Menu(), &menu);
  EXPECT_EQ(copy.ButtonType(), rpsptShowDialog);
  EXPECT_EQ(copy.ButtonWidth(), 20);
  EXPECT_TRUE(FindPublishedProp(copy, "Hint")->IsStored(copy));
}

}  // namespace
