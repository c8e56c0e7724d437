// The Qt side of a window control that draws itself: a scroll area whose viewport shows
// the control's buffer and hands its events to the control.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "platform/base/InputLanguage.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtCursors.h"
#include "platform/gui/QtInput.h"
#include "platform/gui/QtText.h"

namespace {

// One notch of a wheel in Qt's eighths of a degree.
constexpr int WheelNotch = 120;

int32_t EffectsOf(Qt::DropActions actions) {
  int32_t effects = DROPEFFECT_NONE;
  if (actions & Qt::CopyAction) effects |= DROPEFFECT_COPY;
  if (actions & Qt::MoveAction) effects |= DROPEFFECT_MOVE;
  if (actions & Qt::LinkAction) effects |= DROPEFFECT_LINK;
  return effects;
}

Qt::DropAction ActionOf(int32_t effect) {
  if (effect == DROPEFFECT_MOVE) return Qt::MoveAction;
  if (effect == DROPEFFECT_LINK) return Qt::LinkAction;
  return Qt::CopyAction;
}

TMouseButton ButtonOf(Qt::MouseButton button) {
  if (button == Qt::RightButton) return mbRight;
  if (button == Qt::MiddleButton) return mbMiddle;
  return mbLeft;
}

}  // namespace

class TCustomControlWidget : public QAbstractScrollArea {
public:
  TCustomControlWidget(TCustomControl& control, QWidget* parent) : QAbstractScrollArea(parent), FControl(control) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(control.BorderSingle() ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Right clicks reach the control, which shows a menu on the release.
    setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    ConnectBar(*horizontalScrollBar(), sbHorizontal);
    ConnectBar(*verticalScrollBar(), sbVertical);
    // A switch of the keyboard's language goes to the window with the focus.
    QObject::connect(QGuiApplication::inputMethod(), &QInputMethod::localeChanged, this, [this] {
      if (hasFocus()) InputLocaleChanged(QGuiApplication::inputMethod()->locale());
    });
  }

  // The platform's input language becomes the locale's language; the control hears of it.
  void InputLocaleChanged(const QLocale& locale) {
    const LANGID language = FindLanguageByName(FromQString(QLocale::languageToString(locale.language())),
                                               FromQString(QLocale::territoryToString(locale.territory())));
    SetInputLanguage(language);
    Guarded([&] { FControl.InputLanguageChanged(GetInputLanguage()); });
  }

  QScrollBar& Bar(TScrollBarKind kind) { return kind == sbVertical ? *verticalScrollBar() : *horizontalScrollBar(); }
  void SetBarPolicy(TScrollBarKind kind, Qt::ScrollBarPolicy policy) {
    if (kind == sbVertical)
      setVerticalScrollBarPolicy(policy);
    else
      setHorizontalScrollBarPolicy(policy);
  }
  void MoveFocus(bool next) { focusNextPrevChild(next); }

  void StartTimer(uint32_t id, uint32_t interval) {
    QTimer*& timer = FTimers[id];
    if (!timer) {
      timer = new QTimer(this);
      QObject::connect(timer, &QTimer::timeout, this, [this, id] { Guarded([&] { FControl.Timer(id); }); });
    }
    timer->start(static_cast<int>(interval));
  }
  void StopTimer(uint32_t id) {
    const auto found = FTimers.find(id);
    if (found == FTimers.end()) return;
    delete found->second;
    FTimers.erase(found);
  }

  // The caret blinks while it is shown; a change of it starts an on phase.
  void RestartCaretBlink() {
    FCaretOn = true;
    const int period = QApplication::cursorFlashTime() / 2;
    if (!FControl.CaretShown() || period <= 0) {
      if (FCaretTimer) FCaretTimer->stop();
      return;
    }
    if (!FCaretTimer) {
      FCaretTimer = new QTimer(this);
      QObject::connect(FCaretTimer, &QTimer::timeout, this, [this] {
        FCaretOn = !FCaretOn;
        const TRect c = FControl.CaretRect();
        viewport()->update(QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top));
      });
    }
    FCaretTimer->start(period);
  }

  // The last place and buttons the mouse reported (client coordinates).
  QPoint MousePoint{0, 0};
  Qt::MouseButtons Buttons = Qt::NoButton;

protected:
  // Tab and Shift+Tab go to the control when it takes them, before focus navigation.
  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress && FControl.TakesTabs()) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        keyPressEvent(key);
        return true;
      }
    }
    return QAbstractScrollArea::event(event);
  }

  bool viewportEvent(QEvent* event) override {
    if (event->type() == QEvent::ToolTip && !FControl.ActiveHint().empty()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), ToQString(FControl.ActiveHint()), viewport());
      return true;
    }
    if (event->type() == QEvent::Leave) Guarded([this] { FControl.MouseLeave(); });
    return QAbstractScrollArea::viewportEvent(event);
  }

  void paintEvent(QPaintEvent* event) override {
    const QRect r = event->rect();
    Guarded([&] { FControl.PaintInvalid(TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}); });
    const TBitmap& buffer = *FControl.FBuffer;
    const QRect area = r.intersected(QRect(0, 0, buffer.Width(), buffer.Height()));
    if (area.isEmpty()) return;
    QImage image(area.size(), QImage::Format_BGR888);
    for (int y = 0; y < area.height(); ++y)
      std::memcpy(image.scanLine(y), buffer.ScanLine(area.top() + y) + 3 * area.left(),
                  static_cast<size_t>(3 * area.width()));
    QPainter painter(viewport());
    painter.drawImage(area.topLeft(), image);
    // The caret over the buffer's pixels, inverting them, in its blink's on phase.
    if (FControl.CaretShown() && FCaretOn) {
      const TRect c = FControl.CaretRect();
      const QRect caret = QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top).intersected(area);
      if (!caret.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(caret, Qt::white);
      }
    }
  }

  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    ClientSizeChanged();
  }

  void mousePressEvent(QMouseEvent* event) override {
    Track(*event);
    const QPoint p = event->position().toPoint();
    Guarded([&] { FControl.MouseDown(ButtonOf(event->button()), Shift(*event), p.x(), p.y()); });
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    Track(*event);
    const QPoint p = event->position().toPoint();
    Guarded([&] {
      if (event->button() == Qt::LeftButton) FControl.DblClick();
      FControl.MouseDown(ButtonOf(event->button()), Shift(*event) | ssDouble, p.x(), p.y());
    });
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    Track(*event);
    const QPoint p = event->position().toPoint();
    Guarded([&] { FControl.MouseMove(Shift(*event), p.x(), p.y()); });
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Track(*event);
    const QPoint p = event->position().toPoint();
    Guarded([&] {
      FControl.MouseUp(ButtonOf(event->button()), Shift(*event), p.x(), p.y());
      if (event->button() == Qt::RightButton && !FControl.ContextPopup(TPoint{p.x(), p.y()})) PopupMenuAt(p);
    });
  }
  void wheelEvent(QWheelEvent* event) override {
    FWheel += event->angleDelta().y();
    const int notches = -(FWheel / WheelNotch);
    FWheel %= WheelNotch;
    bool used = true;
    if (notches != 0) Guarded([&] { used = FControl.MouseWheel(ShiftOf(event->modifiers()), notches); });
    event->setAccepted(used);
  }
  void keyPressEvent(QKeyEvent* event) override {
    // The menu key: the control's menu at the client area's top-left corner.
    if (event->key() == Qt::Key_Menu) {
      Guarded([&] {
        if (!FControl.ContextPopup(TPoint{-1, -1})) PopupMenuAt(QPoint(0, 0));
      });
      return;
    }
    const uint16_t key = VirtualKey(*event);
    bool used = false;
    const TShiftState shift = ShiftOf(event->modifiers());
    if (key != 0) Guarded([&] { used = FControl.KeyDown(key, shift); });
    const QString text = event->text();
    if (!used && !text.isEmpty()) Guarded([&] { used = FControl.KeyText(FromQString(text), shift); });
    event->setAccepted(used);
  }
  void keyReleaseEvent(QKeyEvent* event) override {
    const uint16_t key = VirtualKey(*event);
    if (key != 0 && !event->isAutoRepeat()) Guarded([&] { FControl.KeyUp(key, ShiftOf(event->modifiers())); });
    event->ignore();
  }
  void focusInEvent(QFocusEvent* event) override {
    QAbstractScrollArea::focusInEvent(event);
    TFocusArrival arrival = faOther;
    if (event->reason() == Qt::TabFocusReason) arrival = faTab;
    if (event->reason() == Qt::BacktabFocusReason) arrival = faBacktab;
    if (event->reason() == Qt::MouseFocusReason) arrival = faMouse;
    Guarded([&] { FControl.DoEnter(arrival); });
  }
  void focusOutEvent(QFocusEvent* event) override {
    QAbstractScrollArea::focusOutEvent(event);
    Guarded([&] { FControl.DoExit(); });
  }
  // The control moves its pixels itself when it scrolls.
  void scrollContentsBy(int, int) override {}

  // Drags over the viewport, in client coordinates; an effect of none refuses.
  void dragEnterEvent(QDragEnterEvent* event) override {
    HandleDrag(*event, [this](const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowed) {
      return FControl.DragEnter(data, shift, x, y, allowed);
    });
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    HandleDrag(*event, [this](const IDataObject&, TShiftState shift, int32_t x, int32_t y, int32_t allowed) {
      return FControl.DragOver(shift, x, y, allowed);
    });
  }
  void dragLeaveEvent(QDragLeaveEvent* event) override {
    Guarded([&] { FControl.DragLeave(); });
    event->accept();
  }
  void dropEvent(QDropEvent* event) override {
    HandleDrag(*event, [this](const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowed) {
      return FControl.Drop(data, shift, x, y, allowed);
    });
  }

  // Input methods: the composed text goes to the control, the queries are answered from
  // it (its client coordinates moved onto this widget, whose viewport they are).
  void inputMethodEvent(QInputMethodEvent* event) override {
    const WideString commit = FromQString(event->commitString());
    const WideString preedit = FromQString(event->preeditString());
    Guarded([&] { FControl.InputMethodText(commit, preedit); });
    event->accept();
  }
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
    switch (query) {
      case Qt::ImEnabled:
        return FControl.InputMethodEnabled();
      case Qt::ImCursorRectangle:
        return ToWidget(FControl.InputMethodCursor());
      case Qt::ImInputItemClipRectangle:
        return ToWidget(FControl.InputMethodArea());
      case Qt::ImFont: {
        WideString name;
        int32_t heightPx = 0;
        if (!FControl.InputMethodFont(name, heightPx)) break;
        QFont font(ToQString(name));
        if (heightPx > 0) font.setPixelSize(heightPx);
        return font;
      }
      default:
        break;
    }
    return QAbstractScrollArea::inputMethodQuery(query);
  }

private:
  void ConnectBar(QScrollBar& bar, TScrollBarKind kind) {
    QObject::connect(&bar, &QAbstractSlider::actionTriggered, this, [this, &bar, kind](int action) {
      static constexpr std::pair<int, TScrollCode> Codes[] = {
          {QAbstractSlider::SliderSingleStepAdd, scLineDown},
          {QAbstractSlider::SliderSingleStepSub, scLineUp},
          {QAbstractSlider::SliderPageStepAdd, scPageDown},
          {QAbstractSlider::SliderPageStepSub, scPageUp},
          {QAbstractSlider::SliderToMinimum, scTop},
          {QAbstractSlider::SliderToMaximum, scBottom},
          {QAbstractSlider::SliderMove, scTrack},
      };
      const auto found =
          std::find_if(std::begin(Codes), std::end(Codes), [action](const auto& c) { return c.first == action; });
      if (found == std::end(Codes)) return;
      const TScrollCode code = found->second;
      const int32_t position = bar.sliderPosition();
      Guarded([&] { FControl.ScrollBarCommand(kind, code, position); });
      // The bar shows where the control went.
      bar.setSliderPosition(FControl.FBars[kind].Pos);
    });
    QObject::connect(&bar, &QAbstractSlider::sliderReleased, this, [this, &bar, kind] {
      const int32_t position = bar.sliderPosition();
      Guarded([&] { FControl.ScrollBarCommand(kind, scPosition, position); });
      bar.setSliderPosition(FControl.FBars[kind].Pos);
    });
  }

  void Track(const QMouseEvent& event) {
    MousePoint = event.position().toPoint();
    Buttons = event.buttons();
  }
  TShiftState Shift(const QMouseEvent& event) const { return ShiftOf(event.modifiers(), event.buttons()); }

  // Hands a drag event to the control and answers it with the effect the control gives.
  template <typename TCall>
  void HandleDrag(QDropEvent& event, TCall call) {
    const QPoint p = event.position().toPoint();
    const TMimeDataObject data(*event.mimeData());
    const TShiftState shift = ShiftOf(event.modifiers(), event.buttons());
    const int32_t allowed = EffectsOf(event.possibleActions());
    int32_t effect = DROPEFFECT_NONE;
    Guarded([&] { effect = call(data, shift, p.x(), p.y(), allowed); });
    AnswerDrag(event, effect);
  }
  void AnswerDrag(QDropEvent& event, int32_t effect) {
    if (effect == DROPEFFECT_NONE) {
      event.ignore();
      return;
    }
    event.setDropAction(ActionOf(effect));
    event.accept();
  }
  QRect ToWidget(const TRect& r) const {
    return QRect(viewport()->mapTo(this, QPoint(r.Left, r.Top)), QSize(r.Right - r.Left, r.Bottom - r.Top));
  }

  // The popup menu of the control or of the nearest parent that has one, when it pops up
  // by itself.
  void PopupMenuAt(const QPoint& point) {
    for (TControl* c = &FControl; c; c = c->Parent()) {
      TPopupMenu* menu = c->PopupMenu();
      if (!menu) continue;
      if (!menu->AutoPopup()) return;
      const QPoint at = viewport()->mapToGlobal(point);
      menu->SetPopupComponent(&FControl);
      menu->Popup(at.x(), at.y());
      return;
    }
  }

public:
  void ClientSizeChanged() {
    const QSize size = viewport()->size();
    const TBitmap& buffer = *FControl.FBuffer;
    if (size.width() == buffer.Width() && size.height() == buffer.Height()) return;
    FControl.ResizeBuffer(size.width(), size.height());
    Guarded([this] { FControl.Resize(); });
  }

private:
  TCustomControl& FControl;
  std::map<uint32_t, QTimer*> FTimers;
  int FWheel = 0;
  QTimer* FCaretTimer = nullptr;
  bool FCaretOn = true;
};

namespace {

TCustomControlWidget* WidgetOf(const TCustomControl& control) {
  return static_cast<TCustomControlWidget*>(control.Widget());
}

}  // namespace

QWidget* TCustomControl::CreateWidget(QWidget* parent) { return new TCustomControlWidget(*this, parent); }

QWidget* TCustomControl::ChildrenWidget() const { return Widget() ? WidgetOf(*this)->viewport() : nullptr; }

void TCustomControl::InitWidget() {
  TWinControl::InitWidget();
  TCustomControlWidget& widget = *WidgetOf(*this);
  ShowScrollBar(sbHorizontal);
  ShowScrollBar(sbVertical);
  ShowCursor();
  widget.setAcceptDrops(FAcceptDrops);
  widget.viewport()->setAcceptDrops(FAcceptDrops);
  widget.setAttribute(Qt::WA_InputMethodEnabled, FInputMethodEnabled);
  for (const auto& [id, interval] : FTimers) widget.StartTimer(id, interval);
  widget.RestartCaretBlink();
  FCanvas->OnChange = [this] {
    if (!FPainting) ShowBuffer();
  };
  widget.ClientSizeChanged();
}

int32_t TCustomControl::ClientWidth() const {
  if (Widget()) return WidgetOf(*this)->viewport()->width();
  return std::max(Width() - (FBorderSingle ? 2 : 0), 0);
}

int32_t TCustomControl::ClientHeight() const {
  if (Widget()) return WidgetOf(*this)->viewport()->height();
  return std::max(Height() - (FBorderSingle ? 2 : 0), 0);
}

void TCustomControl::Invalidate() { InvalidateRect(TRect{0, 0, FBuffer->Width(), FBuffer->Height()}); }

void TCustomControl::ShowBuffer() {
  if (Widget()) WidgetOf(*this)->viewport()->update();
}

void TCustomControl::Update() {
  if (!Widget() || IsRectEmpty(FInvalid)) return;
  WidgetOf(*this)->viewport()->repaint(
      QRect(FInvalid.Left, FInvalid.Top, FInvalid.Right - FInvalid.Left, FInvalid.Bottom - FInvalid.Top));
}

void TCustomControl::Refresh() {
  InvalidateRect(TRect{0, 0, FBuffer->Width(), FBuffer->Height()});
  Update();
}

void TCustomControl::ShowScrollBar(TScrollBarKind kind) {
  if (!Widget()) return;
  TCustomControlWidget& widget = *WidgetOf(*this);
  const TScrollBarState& state = FBars[kind];
  QScrollBar& bar = widget.Bar(kind);
  const bool scrolls = state.Max - state.Min + 1 > state.Page && state.Page >= 0;
  const QSignalBlocker blocker(bar);
  bar.setRange(state.Min, std::max(state.Min, state.Max - std::max(state.Page, 1) + 1));
  bar.setPageStep(std::max(state.Page, 1));
  bar.setValue(state.Pos);
  bar.setEnabled(scrolls);
  const bool shown = state.Visible && (scrolls || state.DisableNoScroll);
  widget.SetBarPolicy(kind, shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  // A bar that came or went changed the client area now, not when Qt gets to it.
  widget.ClientSizeChanged();
}

bool TCustomControl::ScrollBarShown(TScrollBarKind kind) const {
  if (!Widget()) return false;
  const TCustomControlWidget& widget = *WidgetOf(*this);
  return (kind == sbVertical ? widget.verticalScrollBarPolicy() : widget.horizontalScrollBarPolicy()) ==
         Qt::ScrollBarAlwaysOn;
}

void TCustomControl::CreateCaret(int32_t width, int32_t height) {
  const TRect before = CaretRect();
  FCaret = TCaretState{true, 1, FCaret.X, FCaret.Y, std::max(width, 0), std::max(height, 0)};
  ShowCaretChange(before);
}

void TCustomControl::DestroyCaret() {
  const TRect before = CaretRect();
  FCaret.Exists = false;
  FCaret.HideCount = 0;
  ShowCaretChange(before);
}

void TCustomControl::SetCaretPos(int32_t x, int32_t y) {
  const TRect before = CaretRect();
  FCaret.X = x;
  FCaret.Y = y;
  ShowCaretChange(before);
  // Composition follows the caret.
  if (FInputMethodEnabled) InputMethodUpdate();
}

void TCustomControl::ShowCaret() {
  if (!FCaret.Exists || FCaret.HideCount == 0) return;
  --FCaret.HideCount;
  ShowCaretChange(CaretRect());
}

void TCustomControl::HideCaret() {
  if (!FCaret.Exists) return;
  ++FCaret.HideCount;
  ShowCaretChange(CaretRect());
}

TRect TCustomControl::CaretRect() const {
  if (!FCaret.Exists) return TRect{0, 0, 0, 0};
  return TRect{FCaret.X, FCaret.Y, FCaret.X + FCaret.Width, FCaret.Y + FCaret.Height};
}

void TCustomControl::ShowCaretChange(const TRect& before) {
  if (!Widget()) return;
  TCustomControlWidget& widget = *WidgetOf(*this);
  const TRect now = CaretRect();
  widget.viewport()->update(QRect(before.Left, before.Top, before.Right - before.Left, before.Bottom - before.Top));
  widget.viewport()->update(QRect(now.Left, now.Top, now.Right - now.Left, now.Bottom - now.Top));
  widget.RestartCaretBlink();
}

void TCustomControl::ShowCursor() {
  if (Widget()) WidgetOf(*this)->viewport()->setCursor(ScreenCursorToQt(FCursor));
}

void TCustomControl::SetTimer(uint32_t id, uint32_t interval) {
  FTimers[id] = interval;
  if (Widget()) WidgetOf(*this)->StartTimer(id, interval);
}

void TCustomControl::KillTimer(uint32_t id) {
  FTimers.erase(id);
  if (Widget()) WidgetOf(*this)->StopTimer(id);
}

void TCustomControl::ActivateHint(const WideString& text) {
  FActiveHint = text;
  if (!Widget()) return;
  if (text.empty())
    QToolTip::hideText();
  else
    QToolTip::showText(QCursor::pos(), ToQString(text), WidgetOf(*this)->viewport());
}

TPoint TCustomControl::ClientToScreen(const TPoint& point) const {
  if (!Widget()) return point;
  const QPoint p = WidgetOf(*this)->viewport()->mapToGlobal(QPoint(point.X, point.Y));
  return TPoint{p.x(), p.y()};
}

TPoint TCustomControl::ScreenToClient(const TPoint& point) const {
  if (!Widget()) return point;
  const QPoint p = WidgetOf(*this)->viewport()->mapFromGlobal(QPoint(point.X, point.Y));
  return TPoint{p.x(), p.y()};
}

TPoint TCustomControl::MousePos() const {
  if (!Widget()) return TPoint{0, 0};
  const QPoint p = WidgetOf(*this)->MousePoint;
  return TPoint{p.x(), p.y()};
}

void TCustomControl::PostCall(std::function<void()> call) {
  if (!QCoreApplication::instance()) {
    call();
    return;
  }
  QTimer::singleShot(0, QCoreApplication::instance(), [call = std::move(call)] { Guarded(call); });
}

void TCustomControl::FocusNextControl(bool backward) {
  if (Widget()) WidgetOf(*this)->MoveFocus(!backward);
}

TShiftState TCustomControl::ShiftState() const {
  const Qt::MouseButtons buttons = Widget() ? WidgetOf(*this)->Buttons : Qt::NoButton;
  return ShiftOf(QGuiApplication::queryKeyboardModifiers(), buttons);
}

int32_t TCustomControl::WheelScrollLines() { return QApplication::wheelScrollLines(); }

void TCustomControl::SetAcceptDrops(bool value) {
  FAcceptDrops = value;
  if (!Widget()) return;
  WidgetOf(*this)->setAcceptDrops(value);
  WidgetOf(*this)->viewport()->setAcceptDrops(value);
}

void TCustomControl::SetInputMethodEnabled(bool value) {
  FInputMethodEnabled = value;
  if (!Widget()) return;
  WidgetOf(*this)->setAttribute(Qt::WA_InputMethodEnabled, value);
  if (WidgetOf(*this)->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void TCustomControl::InputMethodUpdate() {
  if (Widget() && WidgetOf(*this)->hasFocus())
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImInputItemClipRectangle | Qt::ImFont);
}

int32_t TCustomControl::DoDragDrop(const TDataObject& data, int32_t allowedEffects) {
  if (!Widget()) return DROPEFFECT_NONE;
  // Qt's drag manager frees the drag once it has ended (deleteLater, or the platform's
  // drag code when that keeps it for a late drop answer): it is not deleted here.
  auto* drag = new QDrag(WidgetOf(*this));
  drag->setMimeData(ToMimeData(data));
  Qt::DropActions actions;
  if (allowedEffects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
  if (allowedEffects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
  if (allowedEffects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
  const Qt::DropAction done = drag->exec(actions, Qt::CopyAction);
  if (done == Qt::MoveAction) return DROPEFFECT_MOVE;
  if (done == Qt::LinkAction) return DROPEFFECT_LINK;
  return done == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}
