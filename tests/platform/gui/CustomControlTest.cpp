// A window control that draws itself: painting what was invalidated, shifting its
// pixels, scroll bars and the client area, the cursor, timers, Tab keys, the wheel.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/Cursors.h"
#include "platform/base/InputLanguage.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"

namespace {

// Paints each row y in the colour of (y + Offset) mod 256 gray and records its calls.
class TTestControl : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  int32_t Offset = 0;
  std::vector<TRect> Painted;
  int32_t Resized = 0, Ticks = 0;
  std::vector<std::pair<TScrollCode, int32_t>> Commands;
  std::vector<uint16_t> Keys;
  std::vector<int32_t> Wheel;
  std::vector<TFocusArrival> Arrivals;
  bool Tabs = false;

  void Paint(const TRect& clip) override {
    Painted.push_back(clip);
    for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
      const auto level = static_cast<uint8_t>((y + Offset) & 0xFF);
      Canvas().Brush().SetColor(RGB(level, level, level));
      Canvas().FillRect(TRect{clip.Left, y, clip.Right, y + 1});
    }
  }
  void Resize() override { ++Resized; }
  void Timer(uint32_t) override { ++Ticks; }
  void ScrollBarCommand(TScrollBarKind, TScrollCode code, int32_t pos) override { Commands.emplace_back(code, pos); }
  bool KeyDown(uint16_t key, TShiftState) override {
    Keys.push_back(key);
    return true;
  }
  bool MouseWheel(TShiftState, int32_t notches) override {
    Wheel.push_back(notches);
    return true;
  }
  void DoEnter(TFocusArrival arrival) override { Arrivals.push_back(arrival); }
  bool TakesTabs() const override { return Tabs; }

  // Drops: text only, copied; a move where the drag allows it and Ctrl is not held.
  std::vector<std::string> DragCalls;
  WideString Dropped;
  int32_t Answer(TShiftState shift, int32_t allowed) const {
    if ((allowed & DROPEFFECT_MOVE) != 0 && (shift & ssCtrl) == 0) return DROPEFFECT_MOVE;
    return DROPEFFECT_COPY;
  }
  int32_t DragEnter(const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowed) override {
    DragCalls.push_back("enter " + std::to_string(x) + "," + std::to_string(y));
    FTakes = data.HasFormat(CF_UNICODETEXT);
    return FTakes ? Answer(shift, allowed) : DROPEFFECT_NONE;
  }
  int32_t DragOver(TShiftState shift, int32_t x, int32_t y, int32_t allowed) override {
    DragCalls.push_back("over " + std::to_string(x) + "," + std::to_string(y));
    return FTakes ? Answer(shift, allowed) : DROPEFFECT_NONE;
  }
  void DragLeave() override { DragCalls.push_back("leave"); }
  int32_t Drop(const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowed) override {
    DragCalls.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    const std::optional<AnsiString> bytes = data.GetData(CF_UNICODETEXT);
    if (!bytes) return DROPEFFECT_NONE;
    for (size_t i = 0; i + 1 < bytes->size(); i += 2)
      Dropped.push_back(
          static_cast<WideChar>(static_cast<uint8_t>((*bytes)[i]) | (static_cast<uint8_t>((*bytes)[i + 1]) << 8)));
    return Answer(shift, allowed);
  }

  // Input methods: what was committed and composed, in order.
  std::vector<std::pair<WideString, WideString>> Composed;
  void InputMethodText(const WideString& commit, const WideString& preedit) override {
    Composed.emplace_back(commit, preedit);
  }
  std::vector<LANGID> Languages;
  void InputLanguageChanged(LANGID language) override { Languages.push_back(language); }
  bool InputMethodFont(WideString& name, int32_t& heightPx) const override {
    name = u"Liberation Serif";
    heightPx = 21;
    return true;
  }

private:
  bool FTakes = false;
};

class CustomControlTest : public testing::Test {
protected:
  CustomControlTest() {
    Form.SetBounds(0, 0, 240, 200);
    Control = CreateOwned<TTestControl>(Form);
    Control->SetParent(&Form);
    Control->SetBounds(10, 10, 202, 102);
    Control->SetBorderSingle(true);
    Other = CreateOwned<TButton>(Form);
    Other->SetParent(&Form);
    Other->SetBounds(10, 150, 60, 24);
  }
  ~CustomControlTest() override { Form.Hide(); }
  void Show() {
    Form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.Widget()));
    QApplication::processEvents();
  }
  QAbstractScrollArea& Area() { return *qobject_cast<QAbstractScrollArea*>(Control->Widget()); }
  QImage Grab() { return Area().viewport()->grab().toImage(); }

  TForm Form{nullptr};
  TTestControl* Control = nullptr;
  TButton* Other = nullptr;
};

TEST_F(CustomControlTest, TheClientAreaLiesInsideTheBorderAndTheBars) {
  EXPECT_EQ(Control->ClientWidth(), 200);
  EXPECT_EQ(Control->ClientHeight(), 100);
  Show();
  EXPECT_EQ(Control->ClientWidth(), 200);
  EXPECT_EQ(Control->ClientHeight(), 100);
  EXPECT_GE(Control->Resized, 1);
  const int32_t resized = Control->Resized;
  // A bar with something to scroll shows and takes its room at once.
  Control->SetScrollBar(sbVertical, 0, 499, 100, 0, true);
  EXPECT_TRUE(Control->ScrollBarShown(sbVertical));
  EXPECT_LT(Control->ClientWidth(), 200);
  EXPECT_EQ(Control->Resized, resized + 1);
  EXPECT_EQ(Area().verticalScrollBar()->maximum(), 400);
  EXPECT_EQ(Area().verticalScrollBar()->pageStep(), 100);
  // Nothing to scroll: hidden, unless kept disabled.
  Control->SetScrollBar(sbVertical, 0, 49, 100, 0, true);
  EXPECT_FALSE(Control->ScrollBarShown(sbVertical));
  EXPECT_EQ(Control->ClientWidth(), 200);
  Control->SetScrollBar(sbVertical, 0, 49, 100, 0, true, true);
  EXPECT_TRUE(Control->ScrollBarShown(sbVertical));
  EXPECT_FALSE(Area().verticalScrollBar()->isEnabled());
  Control->SetScrollBar(sbVertical, 0, 499, 100, 0, false);
  EXPECT_FALSE(Control->ScrollBarShown(sbVertical));
}

// Painting fills only what was invalidated; scrolling moves the pixels and paints the
// part uncovered.
TEST_F(CustomControlTest, PaintingAndScrollingThePixels) {
  Show();
  ASSERT_FALSE(Control->Painted.empty());
  EXPECT_EQ(Control->Painted.back(), (TRect{0, 0, 200, 100}));
  Control->Painted.clear();
  Control->InvalidateRect(TRect{10, 20, 30, 40});
  Control->Update();
  ASSERT_EQ(Control->Painted.size(), 1u);
  EXPECT_EQ(Control->Painted[0], (TRect{10, 20, 30, 40}));
  Control->Painted.clear();
  // Content moves up 30 pixels: the bottom 30 rows are painted anew.
  Control->Offset = 30;
  Control->ScrollWindow(0, -30);
  Control->Update();
  ASSERT_EQ(Control->Painted.size(), 1u);
  EXPECT_EQ(Control->Painted[0], (TRect{0, 70, 200, 100}));
  const QImage image = Grab();
  for (int32_t y = 0; y < 100; y += 7) EXPECT_EQ(qGray(image.pixel(100, y)), (y + 30) & 0xFF) << y;
  // Drawing on the canvas outside painting shows without painting.
  Control->Painted.clear();
  Control->Canvas().Brush().SetColor(clRed);
  Control->Canvas().FillRect(TRect{0, 0, 5, 5});
  QApplication::processEvents();
  EXPECT_TRUE(Control->Painted.empty());
  EXPECT_EQ(Grab().pixel(2, 2) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(CustomControlTest, ScrollBarActionsComeAsCommands) {
  Show();
  Control->SetScrollBar(sbVertical, 0, 499, 100, 10, true);
  QScrollBar& bar = *Area().verticalScrollBar();
  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar.triggerAction(QAbstractSlider::SliderPageStepSub);
  bar.triggerAction(QAbstractSlider::SliderToMaximum);
  const std::vector<std::pair<TScrollCode, int32_t>> expected{{scLineDown, 11}, {scPageUp, 0}, {scBottom, 400}};
  EXPECT_EQ(Control->Commands, expected);
  // The bar stays where the control says until it moves it.
  EXPECT_EQ(bar.value(), 10);
}

TEST_F(CustomControlTest, CursorsTimersWheelAndTabs) {
  Show();
  Control->SetCursor(crIBeam);
  EXPECT_EQ(Area().viewport()->cursor().shape(), Qt::IBeamCursor);
  SetScreenCursor(4242, TScreenCursor{crHandPoint, nullptr});
  Control->SetCursor(4242);
  EXPECT_EQ(Area().viewport()->cursor().shape(), Qt::PointingHandCursor);
  Control->SetCursor(4243);  // not registered: the arrow
  EXPECT_EQ(Area().viewport()->cursor().shape(), Qt::ArrowCursor);

  Control->SetTimer(7, 5);
  EXPECT_TRUE(Control->TimerRunning(7));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Control->Ticks >= 2; }, 2000));
  Control->KillTimer(7);
  EXPECT_FALSE(Control->TimerRunning(7));

  QWheelEvent wheel(QPointF(5, 5), Area().viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 60), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(Area().viewport(), &wheel);
  QApplication::sendEvent(Area().viewport(), &wheel);  // two halves make one notch up
  EXPECT_EQ(Control->Wheel, std::vector<int32_t>{-1});

  Control->SetFocus();
  QTest::keyClick(&Area(), Qt::Key_Tab);
  EXPECT_TRUE(Other->Focused());  // not taken: the focus moves on
  Control->Tabs = true;
  QTest::keyClick(Other->Widget(), Qt::Key_Backtab);
  ASSERT_TRUE(Control->Focused());
  EXPECT_EQ(Control->Arrivals.back(), faBacktab);
  QTest::keyClick(&Area(), Qt::Key_Tab);
  EXPECT_TRUE(Control->Focused());
  EXPECT_EQ(Control->Keys.back(), VK_TAB);
  Control->FocusNextControl(false);
  EXPECT_TRUE(Other->Focused());
}

}  // namespace

namespace {

// The caret inverts the pixels under it over what the control painted, never in the
// buffer: it hides and shows in nested calls and moves without a repaint of the rest.
TEST_F(CustomControlTest, TheCaretInvertsThePixelsUnderItAndNests) {
  Control->CreateCaret(2, 10);  // before the widget: kept
  Control->SetCaretPos(20, 30);
  EXPECT_FALSE(Control->CaretShown());  // a new caret is hidden
  Control->ShowCaret();
  EXPECT_TRUE(Control->CaretShown());
  EXPECT_EQ(Control->CaretRect().Left, 20);
  EXPECT_EQ(Control->CaretRect().Bottom, 40);
  Show();
  QImage image = Grab();
  // Row 35 is painted gray 35; under the caret it is inverted, beside it not.
  EXPECT_EQ(qRed(image.pixel(21, 35)), 255 - 35);
  EXPECT_EQ(qRed(image.pixel(19, 35)), 35);
  EXPECT_EQ(qRed(image.pixel(22, 35)), 35);
  EXPECT_EQ(qRed(image.pixel(21, 29)), 29);

  Control->HideCaret();
  Control->HideCaret();
  Control->ShowCaret();
  EXPECT_FALSE(Control->CaretShown());
  EXPECT_EQ(qRed(Grab().pixel(21, 35)), 35);
  Control->ShowCaret();
  Control->SetCaretPos(50, 30);
  image = Grab();
  EXPECT_EQ(qRed(image.pixel(21, 35)), 35);
  EXPECT_EQ(qRed(image.pixel(51, 35)), 255 - 35);
  Control->DestroyCaret();
  EXPECT_FALSE(Control->CaretShown());
  EXPECT_EQ(Control->CaretRect().Right, 0);
  EXPECT_EQ(qRed(Grab().pixel(51, 35)), 35);
  Control->ShowCaret();  // nothing to show
  EXPECT_FALSE(Control->CaretShown());
}

}  // namespace

namespace {

// Sends a drag event of the given type to the viewport at a client point.
bool SendDrag(QWidget& viewport, QEvent::Type type, const QPoint& at, const QMimeData& data, Qt::DropActions actions,
              Qt::KeyboardModifiers modifiers, Qt::DropAction* answered) {
  bool accepted = false;
  if (type == QEvent::DragEnter) {
    QDragEnterEvent event(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&viewport, &event);
    accepted = event.isAccepted();
    *answered = event.dropAction();
  } else if (type == QEvent::DragMove) {
    QDragMoveEvent event(at, actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&viewport, &event);
    accepted = event.isAccepted();
    *answered = event.dropAction();
  } else {
    QDropEvent event(QPointF(at), actions, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(&viewport, &event);
    accepted = event.isAccepted();
    *answered = event.dropAction();
  }
  return accepted;
}

}  // namespace

// Drags reach the control only once it takes drops; its answer is the drag's action.
TEST_F(CustomControlTest, DragsComeAsCallsAndTheEffectAnswersThem) {
  Show();
  QWidget& viewport = *Area().viewport();
  EXPECT_FALSE(viewport.acceptDrops());
  Control->SetAcceptDrops(true);
  EXPECT_TRUE(viewport.acceptDrops());

  QMimeData text;
  text.setText(QStringLiteral("dropped \u041a"));
  Qt::DropAction action = Qt::IgnoreAction;
  EXPECT_TRUE(SendDrag(viewport, QEvent::DragEnter, QPoint(5, 6), text, Qt::CopyAction | Qt::MoveAction, Qt::NoModifier,
                       &action));
  EXPECT_EQ(action, Qt::MoveAction);
  EXPECT_TRUE(SendDrag(viewport, QEvent::DragMove, QPoint(7, 8), text, Qt::CopyAction | Qt::MoveAction,
                       Qt::ControlModifier, &action));
  EXPECT_EQ(action, Qt::CopyAction);
  EXPECT_TRUE(SendDrag(viewport, QEvent::Drop, QPoint(9, 10), text, Qt::CopyAction, Qt::NoModifier, &action));
  EXPECT_EQ(action, Qt::CopyAction);
  EXPECT_EQ(Control->Dropped, u"dropped \u041a");

  // Data the control does not take is refused.
  QMimeData picture;
  picture.setData(QStringLiteral("image/png"), QByteArray("x"));
  EXPECT_FALSE(SendDrag(viewport, QEvent::DragEnter, QPoint(1, 2), picture, Qt::CopyAction, Qt::NoModifier, &action));
  // A drag that was taken and leaves.
  EXPECT_TRUE(SendDrag(viewport, QEvent::DragEnter, QPoint(3, 4), text, Qt::CopyAction, Qt::NoModifier, &action));
  QDragLeaveEvent leave;
  QApplication::sendEvent(&viewport, &leave);
  EXPECT_EQ(Control->DragCalls,
            (std::vector<std::string>{"enter 5,6", "over 7,8", "drop 9,10", "enter 1,2", "enter 3,4", "leave"}));
}

// Composed text comes to the control; the input method learns where the caret is and
// which font the text shows in.
TEST_F(CustomControlTest, InputMethodTextAndQueries) {
  Show();
  Control->SetInputMethodEnabled(true);
  EXPECT_TRUE(Area().testAttribute(Qt::WA_InputMethodEnabled));
  Control->CreateCaret(2, 17);
  Control->SetCaretPos(30, 40);
  const QRect cursor = Area().inputMethodQuery(Qt::ImCursorRectangle).toRect();
  // The border moves the client area one pixel into the widget.
  EXPECT_EQ(cursor, QRect(31, 41, 2, 17));
  EXPECT_EQ(Area().inputMethodQuery(Qt::ImInputItemClipRectangle).toRect(),
            QRect(1, 1, Control->ClientWidth(), Control->ClientHeight()));
  const QFont font = qvariant_cast<QFont>(Area().inputMethodQuery(Qt::ImFont));
  EXPECT_EQ(font.family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(font.pixelSize(), 21);
  EXPECT_TRUE(Area().inputMethodQuery(Qt::ImEnabled).toBool());

  QInputMethodEvent preedit(QStringLiteral("\u304b"), {});
  QApplication::sendEvent(&Area(), &preedit);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u6f22"));
  QApplication::sendEvent(&Area(), &commit);
  EXPECT_EQ(Control->Composed, (std::vector<std::pair<WideString, WideString>>{{u"", u"\u304b"}, {u"\u6f22", u""}}));

  // A switch of the keyboard's language reaches the window with the focus, with the
  // platform's input language set from it.
  Control->SetFocus();
  QApplication::processEvents();
  emit QGuiApplication::inputMethod()->localeChanged();
  ASSERT_EQ(Control->Languages.size(), 1u);
  EXPECT_EQ(Control->Languages[0], GetInputLanguage());
  SetInputLanguage(0);
}
