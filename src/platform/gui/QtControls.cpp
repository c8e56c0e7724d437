// The Qt side of every control: making its widget, mirroring the control's state into it
// and reporting the user's changes back. Every handler that Qt calls runs through
// Application->Guard, so no exception crosses Qt's event loop.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDialog>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMoveEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtInput.h"
#include "platform/gui/QtText.h"

namespace {

// Tooltips show the short hint of the control's chain; entering a control makes its long
// hint the application's hint.
class THintFilter : public QObject {
public:
  THintFilter(TControl& control, QObject* parent) : QObject(parent), FControl(control) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      const WideString text = GetShortHint(FControl.HintOfChain());
      auto* help = static_cast<QHelpEvent*>(event);
      if (FControl.ShowHint() && !text.empty())
        QToolTip::showText(help->globalPos(), ToQString(text), static_cast<QWidget*>(watched));
      else
        QToolTip::hideText();
      return true;
    }
    if (event->type() == QEvent::Enter && Application)
      Guarded([this] { Application->SetHint(GetLongHint(FControl.HintOfChain())); });
    return QObject::eventFilter(watched, event);
  }

private:
  TControl& FControl;
};

class TFormWidget : public QDialog {
public:
  TFormWidget(TCustomForm& form, QWidget* parent) : QDialog(parent), FForm(form) {}

protected:
  void keyPressEvent(QKeyEvent* event) override {
    const uint16_t key = VirtualKey(*event);
    bool handled = false;
    Guarded([&] { handled = FForm.HandleKey(key, ShiftOf(event->modifiers())); });
    if (!handled && key != VK_ESCAPE && key != VK_RETURN) QDialog::keyPressEvent(event);
  }
  // The close box (and Esc that no button took) closes the form: a modal one with
  // mrCancel unless it has a result, a modeless one by hiding it, so that the form (and
  // the application's loop over the main form) sees it go.
  void reject() override {
    Guarded([this] { FForm.Close(); });
  }
  void moveEvent(QMoveEvent* event) override {
    QDialog::moveEvent(event);
    Guarded([this] { FForm.WidgetBoundsChanged(x(), y(), width(), height(), false); });
  }
  void resizeEvent(QResizeEvent* event) override {
    QDialog::resizeEvent(event);
    if (TMainMenu* menu = FForm.Menu(); menu && menu->Widget()) menu->Widget()->resize(width(), menu->BarHeight());
    Guarded([this] { FForm.WidgetBoundsChanged(x(), y(), width(), height(), true); });
  }

private:
  TCustomForm& FForm;
};

// A TColor (0x00BBGGRR) as Qt's colour.
QColor QtColor(int32_t color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// Draws a list box's items; without the list box's selection highlight the selected item
// looks like any other.
class TListItemDelegate : public QStyledItemDelegate {
public:
  TListItemDelegate(const TCustomListBox& listBox, QObject* parent) : QStyledItemDelegate(parent), FListBox(listBox) {}

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!FListBox.HighlightSelection()) option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
  }

private:
  const TCustomListBox& FListBox;
};

// The form's keys for the controls inside it: a menu shortcut runs before the control
// sees the key, and with KeyPreview the form's OnKeyDown comes next.
class TPreviewFilter : public QObject {
public:
  TPreviewFilter(TCustomForm& form, QObject* parent) : QObject(parent), FForm(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    uint16_t code = VirtualKey(*key);
    if (code == 0) return QObject::eventFilter(watched, event);
    bool shortCut = false;
    Guarded([&] { shortCut = FForm.IsShortCut(code, ShiftOf(key->modifiers())); });
    if (shortCut) return true;
    if (FForm.KeyPreview() && FForm.OnKeyDown) {
      Guarded([&] { FForm.OnKeyDown(&FForm, code, ShiftOf(key->modifiers())); });
      if (code == 0) return true;
    }
    return QObject::eventFilter(watched, event);
  }

private:
  TCustomForm& FForm;
};

// A right click on a control shows its popup menu, when the menu pops up by itself.
class TPopupMenuFilter : public QObject {
public:
  TPopupMenuFilter(TControl& control, QObject* parent) : QObject(parent), FControl(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    TPopupMenu* menu = FControl.PopupMenu();
    if (event->type() != QEvent::ContextMenu || !menu || !menu->AutoPopup())
      return QObject::eventFilter(watched, event);
    const QPoint at = static_cast<QContextMenuEvent*>(event)->globalPos();
    Guarded([&] {
      menu->SetPopupComponent(&FControl);
      menu->Popup(at.x(), at.y());
    });
    return true;
  }

private:
  TControl& FControl;
};

TCustomForm* FormOf(TControl* control) {
  for (TControl* c = control; c; c = c->Parent())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

}  // namespace

uint16_t VirtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<uint16_t>(((event.modifiers() & Qt::KeypadModifier) ? VK_NUMPAD0 : '0') + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
  static constexpr std::pair<int, uint16_t> Keys[] = {
      {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Escape, VK_ESCAPE},
      {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},   {Qt::Key_Backspace, VK_BACK},
      {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
      {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
      {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
      {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Shift, VK_SHIFT},
      {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
  };
  for (const auto& [qtKey, virtualKey] : Keys)
    if (qtKey == key) return virtualKey;
  return 0;
}

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

void TControl::HandleNeeded() {
  if (FWidget) return;
  if (FParent) FParent->HandleNeeded();
  // The parent's handle creation may have made ours already.
  if (FWidget) return;
  FWidget = CreateWidget(FParent ? FParent->ChildrenWidget() : nullptr);
  FWidget->installEventFilter(new THintFilter(*this, FWidget));
  FWidget->installEventFilter(new TPopupMenuFilter(*this, FWidget));
  if (TCustomForm* form = FormOf(FParent)) FWidget->installEventFilter(new TPreviewFilter(*form, FWidget));
  InitWidget();
}

void TControl::PaintTo(TCanvas& canvas, int32_t x, int32_t y) {
  HandleNeeded();
  TBitmap image;
  FromQImage(FWidget->grab(QRect(0, 0, FWidth, FHeight)).toImage(), image);
  canvas.Draw(x, y, &image);
}

void TControl::DestroyHandle() {
  if (!FWidget) return;
  SaveWidgetState();
  QWidget* widget = FWidget;
  FWidget = nullptr;
  delete widget;
}

void TControl::InitWidget() {
  FWidget->setMinimumSize(FConstraints.MinWidth, FConstraints.MinHeight);
  if (FParent) FWidget->setGeometry(FLeft, FTop + FParent->ClientTop(), FWidth, FHeight);
  FWidget->setEnabled(FEnabled);
  ShowText();
  if (FParent) FWidget->setVisible(FVisible);
}

// Buttons of every kind show the text on their face, group boxes as their title.
void TControl::ShowText() {
  if (auto* button = qobject_cast<QAbstractButton*>(FWidget))
    button->setText(ToQString(GetText()));
  else if (auto* box = qobject_cast<QGroupBox*>(FWidget))
    box->setTitle(ToQString(GetText()));
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  FLeft = left;
  FTop = top;
  FWidth = std::max(width, FConstraints.MinWidth);
  FHeight = std::max(height, FConstraints.MinHeight);
  width = FWidth;
  height = FHeight;
  if (!FWidget) return;
  if (FParent) {
    FWidget->setGeometry(left, top + FParent->ClientTop(), width, height);
  } else {
    FWidget->move(left, top);
    FWidget->resize(width, height);
  }
}

void TControl::SetConstraints(const TSizeConstraints& value) {
  FConstraints = value;
  if (FWidget) FWidget->setMinimumSize(value.MinWidth, value.MinHeight);
  if (FWidth < value.MinWidth || FHeight < value.MinHeight) SetBounds(FLeft, FTop, FWidth, FHeight);
}

TTextSize TControl::FitSize() const {
  if (!FWidget) return {};
  const QSize size = FWidget->sizeHint();
  return {size.width(), size.height()};
}

void TControl::SetVisible(bool visible) {
  FVisible = visible;
  if (FWidget && FParent) FWidget->setVisible(visible);
}

void TControl::SetEnabled(bool enabled) {
  FEnabled = enabled;
  if (FWidget) FWidget->setEnabled(enabled);
}

void TWinControl::DestroyHandle() {
  for (TControl* child : FControls) child->DestroyHandle();
  TControl::DestroyHandle();
}

void TWinControl::InitWidget() {
  TControl::InitWidget();
  for (TControl* child : FControls) child->HandleNeeded();
}

void TWinControl::SetFocus() {
  if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return Widget() && Widget()->hasFocus(); }

// Label.
TLabel::TLabel(TComponent* owner) : TControl(owner) {}

QWidget* TLabel::CreateWidget(QWidget* parent) { return new QLabel(parent); }

void TLabel::InitWidget() {
  TControl::InitWidget();
  auto* label = static_cast<QLabel*>(Widget());
  label->setWordWrap(FWordWrap);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (FFocusControl && FFocusControl->Widget()) label->setBuddy(FFocusControl->Widget());
}

void TLabel::ShowText() { static_cast<QLabel*>(Widget())->setText(ToQString(Caption())); }

void TLabel::SetFocusControl(TWinControl* control) {
  FFocusControl = control;
  if (control) control->FreeNotification(this);
  if (Widget()) static_cast<QLabel*>(Widget())->setBuddy(control ? control->Widget() : nullptr);
}

void TLabel::SetWordWrap(bool value) {
  FWordWrap = value;
  if (Widget()) static_cast<QLabel*>(Widget())->setWordWrap(value);
}

// Edit.
TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {}

QWidget* TCustomEdit::CreateWidget(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& text) {
    Guarded([&] {
      TControl::SetText(FromQString(text));
      if (OnChange) OnChange(this);
    });
  });
  return edit;
}

void TCustomEdit::InitWidget() {
  TWinControl::InitWidget();
  SetPasswordChar(FPasswordChar);
  SetReadOnly(FReadOnly);
  static_cast<QLineEdit*>(Widget())->setSelection(FSelStart, FSelLength);
}

void TCustomEdit::ShowText() {
  auto* edit = static_cast<QLineEdit*>(Widget());
  const QString text = ToQString(GetText());
  if (edit->text() != text) edit->setText(text);
}

void TCustomEdit::SaveWidgetState() {
  FSelStart = SelStart();
  FSelLength = SelLength();
}

void TCustomEdit::SetPasswordChar(WideChar value) {
  FPasswordChar = value;
  if (!Widget()) return;
  auto* edit = static_cast<QLineEdit*>(Widget());
  edit->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
  edit->setStyleSheet(value ? QString("lineedit-password-character: %1").arg(int(value)) : QString());
}

void TCustomEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  if (Widget()) static_cast<QLineEdit*>(Widget())->setReadOnly(value);
}

int32_t TCustomEdit::SelStart() const {
  if (!Widget()) return FSelStart;
  auto* edit = static_cast<QLineEdit*>(Widget());
  return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int32_t TCustomEdit::SelLength() const {
  if (!Widget()) return FSelLength;
  return static_cast<int32_t>(static_cast<QLineEdit*>(Widget())->selectedText().size());
}

void TCustomEdit::SetSelStart(int32_t value) {
  FSelStart = value;
  FSelLength = 0;
  if (Widget()) static_cast<QLineEdit*>(Widget())->setCursorPosition(value);
}

void TCustomEdit::SetSelLength(int32_t value) {
  FSelStart = SelStart();
  FSelLength = value;
  if (Widget()) static_cast<QLineEdit*>(Widget())->setSelection(FSelStart, value);
}

// List box.
TCustomListBox::TCustomListBox(TComponent* owner) : TCustomListControl(owner) {}

QWidget* TCustomListBox::CreateWidget(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setItemDelegate(new TListItemDelegate(*this, list));
  QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) {
    if (row != FItemIndex) Guarded([&] { ItemIndexChangedByUser(row); });
  });
  QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this, list] {
    for (int32_t i = 0; i < ItemCount(); ++i) FItems[static_cast<size_t>(i)].Selected = list->item(i)->isSelected();
  });
  return list;
}

void TCustomListBox::InitWidget() {
  TWinControl::InitWidget();
  ShowItems();
  SetTopIndex(FTopIndex);
}

void TCustomListBox::SaveWidgetState() { FTopIndex = TopIndex(); }

QListWidgetItem* TCustomListBox::MakeWidgetItem(int32_t index) const {
  auto* item = new QListWidgetItem(ToQString(FItems[static_cast<size_t>(index)].Text));
  if (OnItemColor) item->setForeground(QtColor(OnItemColor(index)));
  return item;
}

void TCustomListBox::ShowItems() {
  auto* list = static_cast<QListWidget*>(Widget());
  const QSignalBlocker blocker(list);
  list->clear();
  for (int32_t i = 0; i < ItemCount(); ++i) list->addItem(MakeWidgetItem(i));
  list->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  list->setCurrentRow(FItemIndex);
  ShowSelection();
}

// One line changed: the others stay in the widget, and so does how far the user has
// scrolled it (sideways too).
void TCustomListBox::ShowInsertedItem(int32_t index) {
  auto* list = static_cast<QListWidget*>(Widget());
  const QSignalBlocker blocker(list);
  list->insertItem(index, MakeWidgetItem(index));
  ShowItemIndex();
}

void TCustomListBox::ShowDeletedItem(int32_t index) {
  auto* list = static_cast<QListWidget*>(Widget());
  const QSignalBlocker blocker(list);
  delete list->takeItem(index);
  ShowItemIndex();
}

void TCustomListBox::ShowItemText(int32_t index) {
  QListWidgetItem* item = static_cast<QListWidget*>(Widget())->item(index);
  item->setText(ToQString(FItems[static_cast<size_t>(index)].Text));
  if (OnItemColor) item->setForeground(QtColor(OnItemColor(index)));
}

void TCustomListBox::ShowSelection() {
  if (!FMultiSelect) return;
  auto* list = static_cast<QListWidget*>(Widget());
  const QSignalBlocker blocker(list);
  for (int32_t i = 0; i < ItemCount(); ++i) list->item(i)->setSelected(FItems[static_cast<size_t>(i)].Selected);
}

void TCustomListBox::SetMultiSelect(bool value) {
  FMultiSelect = value;
  if (HandleAllocated()) ShowItems();
}

bool TCustomListBox::Selected(int32_t index) const {
  CheckItemIndex(index);
  return FMultiSelect ? Item(index).Selected : index == FItemIndex;
}

void TCustomListBox::SetSelected(int32_t index, bool value) {
  CheckItemIndex(index);
  if (!FMultiSelect) {
    if (value)
      SetItemIndex(index);
    else if (index == FItemIndex)
      SetItemIndex(-1);
    return;
  }
  FItems[static_cast<size_t>(index)].Selected = value;
  if (HandleAllocated()) ShowSelection();
}

int32_t TCustomListBox::SelCount() const {
  int32_t count = 0;
  for (int32_t i = 0; i < ItemCount(); ++i) count += Selected(i) ? 1 : 0;
  return count;
}

void TCustomListBox::SetHighlightSelection(bool value) {
  FHighlightSelection = value;
  if (Widget()) Widget()->update();
}

void TCustomListBox::ShowItemIndex() {
  auto* list = static_cast<QListWidget*>(Widget());
  const QSignalBlocker blocker(list);
  list->setCurrentRow(FItemIndex);
  ShowSelection();
}

int32_t TCustomListBox::TopIndex() const {
  if (!Widget()) return FTopIndex;
  auto* list = static_cast<QListWidget*>(Widget());
  const QModelIndex top = list->indexAt(QPoint(1, 1));
  return top.isValid() ? top.row() : 0;
}

void TCustomListBox::SetTopIndex(int32_t index) {
  FTopIndex = index;
  if (!Widget() || index < 0 || index >= ItemCount()) return;
  auto* list = static_cast<QListWidget*>(Widget());
  list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
}

// Combo box.
TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomListControl(owner) {}

namespace {

// A combo box that measures its widest item when asked: Qt's own size hint is taken once,
// when the box is first shown, and misses items added or translated later.
class TComboWidget : public QComboBox {
public:
  using QComboBox::QComboBox;

  QSize FitSize() const {
    const QFontMetrics metrics = fontMetrics();
    int width = count() == 0 ? 7 * metrics.horizontalAdvance(u'x') : 0;
    for (int i = 0; i < count(); ++i) width = std::max(width, metrics.horizontalAdvance(itemText(i)));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(width, std::max(metrics.height(), 14) + 2),
                                     this);
  }
};

// Typing into a drop-down list searches its items by prefix.
class TComboSearchFilter : public QObject {
public:
  TComboSearchFilter(TCustomComboBox& combo, QObject* parent) : QObject(parent), FCombo(combo) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && FCombo.Style() == csDropDownList && FCombo.AutoComplete()) {
      auto* key = static_cast<QKeyEvent*>(event);
      const QString text = key->text();
      if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(8))) {
        bool consumed = false;
        Guarded([&] { consumed = FCombo.SearchKey(text[0].unicode(), QDateTime::currentMSecsSinceEpoch()); });
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

private:
  TCustomComboBox& FCombo;
};

// Typing at the end of a drop-down's text completes it: the text before the selection
// plus the typed character, followed by the rest of the first item it begins, the rest
// selected. Other keys (Backspace among them) reach the edit unchanged.
class TComboCompletionFilter : public QObject {
public:
  TComboCompletionFilter(TCustomComboBox& combo, QLineEdit& edit) : QObject(&edit), FCombo(combo), FEdit(edit) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !FCombo.AutoComplete()) return QObject::eventFilter(watched, event);
    const QString key = static_cast<QKeyEvent*>(event)->text();
    const int start = FEdit.hasSelectedText() ? FEdit.selectionStart() : FEdit.cursorPosition();
    const int end = FEdit.hasSelectedText() ? start + static_cast<int>(FEdit.selectedText().size()) : start;
    if (key.size() != 1 || !key[0].isPrint() || end != FEdit.text().size()) return QObject::eventFilter(watched, event);
    const WideString typed = FromQString(FEdit.text().left(start) + key);
    WideString rest;
    Guarded([&] { rest = FCombo.CompletionOf(typed); });
    if (rest.empty()) return QObject::eventFilter(watched, event);
    FEdit.setText(ToQString(typed + rest));
    FEdit.setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
    return true;
  }

private:
  TCustomComboBox& FCombo;
  QLineEdit& FEdit;
};

}  // namespace

QWidget* TCustomComboBox::CreateWidget(QWidget* parent) {
  auto* combo = new TComboWidget(parent);
  combo->setEditable(FStyle == csDropDown);
  combo->installEventFilter(new TComboSearchFilter(*this, combo));
  QObject::connect(combo, &QComboBox::activated, combo,
                   [this](int index) { Guarded([&] { ItemIndexChangedByUser(index); }); });
  QObject::connect(combo, &QComboBox::editTextChanged, combo,
                   [this](const QString& text) { Guarded([&] { TControl::SetText(FromQString(text)); }); });
  if (QLineEdit* edit = combo->lineEdit()) {
    combo->setCompleter(nullptr);  // ours below
    edit->installEventFilter(new TComboCompletionFilter(*this, *edit));
  }
  return combo;
}

TTextSize TCustomComboBox::FitSize() const {
  if (!Widget()) return {};
  const QSize size = static_cast<const TComboWidget*>(Widget())->FitSize();
  return {size.width(), size.height()};
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  FStyle = style;
  RecreateWnd();
}

void TCustomComboBox::InitWidget() {
  TWinControl::InitWidget();
  ShowItems();
}

void TCustomComboBox::ShowItems() {
  auto* combo = static_cast<QComboBox*>(Widget());
  const QSignalBlocker blocker(combo);
  combo->clear();
  for (const TListItem& item : FItems) combo->addItem(ToQString(item.Text));
  combo->setCurrentIndex(FItemIndex);
  if (combo->isEditable()) combo->setEditText(ToQString(GetText()));
}

void TCustomComboBox::ShowInsertedItem(int32_t index) {
  auto* combo = static_cast<QComboBox*>(Widget());
  const QSignalBlocker blocker(combo);
  combo->insertItem(index, ToQString(FItems[static_cast<size_t>(index)].Text));
  ShowItemIndex();
}

void TCustomComboBox::ShowDeletedItem(int32_t index) {
  auto* combo = static_cast<QComboBox*>(Widget());
  const QSignalBlocker blocker(combo);
  combo->removeItem(index);
  ShowItemIndex();
}

void TCustomComboBox::ShowItemText(int32_t index) {
  auto* combo = static_cast<QComboBox*>(Widget());
  const QSignalBlocker blocker(combo);
  combo->setItemText(index, ToQString(FItems[static_cast<size_t>(index)].Text));
}

void TCustomComboBox::ShowItemIndex() {
  auto* combo = static_cast<QComboBox*>(Widget());
  const QSignalBlocker blocker(combo);
  combo->setCurrentIndex(FItemIndex);
}

void TCustomComboBox::ShowText() {
  auto* combo = static_cast<QComboBox*>(Widget());
  if (!combo->isEditable()) return;
  const QSignalBlocker blocker(combo);
  combo->setEditText(ToQString(GetText()));
}

// Buttons.
TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

QWidget* TButton::CreateWidget(QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [this] { Guarded([this] { Click(); }); });
  return button;
}

void TButton::InitWidget() {
  TWinControl::InitWidget();
  static_cast<QPushButton*>(Widget())->setDefault(FDefault);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (Widget()) static_cast<QPushButton*>(Widget())->setDefault(value);
}

void TButton::Click() {
  TControl::Click();
  if (FModalResult != mrNone)
    if (TCustomForm* form = FormOf(this)) form->SetModalResult(FModalResult);
}

void TCheckableButton::SetChecked(bool value) {
  FChecked = value;
  if (Widget()) static_cast<QAbstractButton*>(Widget())->setChecked(value);
}

void TCheckableButton::InitWidget() {
  TWinControl::InitWidget();
  auto* button = static_cast<QAbstractButton*>(Widget());
  button->setChecked(FChecked);
  QObject::connect(button, &QAbstractButton::toggled, button, [this](bool on) { FChecked = on; });
  QObject::connect(button, &QAbstractButton::clicked, button, [this] { Guarded([this] { Click(); }); });
}

TRadioButton::TRadioButton(TComponent* owner) : TCheckableButton(owner) {}
QWidget* TRadioButton::CreateWidget(QWidget* parent) { return new QRadioButton(parent); }
TCheckBox::TCheckBox(TComponent* owner) : TCheckableButton(owner) {}
QWidget* TCheckBox::CreateWidget(QWidget* parent) { return new QCheckBox(parent); }

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {}
QWidget* TCustomGroupBox::CreateWidget(QWidget* parent) { return new QGroupBox(parent); }

// A group box's size hint is that of its contents; its smallest size is its title's.
TTextSize TCustomGroupBox::FitSize() const {
  if (!Widget()) return {};
  const QSize size = Widget()->minimumSizeHint();
  return {size.width(), size.height()};
}

// Image.
TImage::TImage(TComponent* owner) : TControl(owner) {}
QWidget* TImage::CreateWidget(QWidget* parent) { return new QLabel(parent); }

void TImage::InitWidget() {
  TControl::InitWidget();
  SetIcon(FIcon);
}

void TImage::SetIcon(TSystemIcon icon) {
  FIcon = icon;
  if (!Widget()) return;
  static constexpr QStyle::StandardPixmap Pixmaps[] = {QStyle::SP_CustomBase, QStyle::SP_MessageBoxWarning,
                                                       QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation,
                                                       QStyle::SP_MessageBoxQuestion};
  auto* label = static_cast<QLabel*>(Widget());
  if (icon == siNone)
    label->clear();
  else
    label->setPixmap(label->style()->standardIcon(Pixmaps[icon]).pixmap(Width(), Height()));
}

// Forms.
QWidget* TCustomForm::CreateWidget(QWidget* parent) { return new TFormWidget(*this, parent); }

void TCustomForm::InitWidget() {
  auto* dialog = static_cast<QDialog*>(Widget());
  dialog->setSizeGripEnabled(FBorderStyle == bsSizeable);
  // A fixed dialog's frame has its title and close box only: nothing to minimize or
  // maximize, and no help button. A sizeable form is an ordinary window (not announced as
  // a dialog, which window managers give no minimize or maximize) with both boxes. The
  // hints are spelled out, or the window manager picks its own.
  constexpr Qt::WindowFlags frame =
      Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (FBorderStyle == bsDialog)
    dialog->setWindowFlags(Qt::Dialog | frame);
  else
    dialog->setWindowFlags(Qt::Window | frame | Qt::WindowMinMaxButtonsHint);
  // The bar first: the controls stand below it.
  ShowMenuBar();
  TWinControl::InitWidget();
  dialog->resize(Width(), Height());
  if (FPosition == poScreenCenter) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    SetBounds((screen.width() - Width()) / 2, (screen.height() - Height()) / 2, Width(), Height());
  }
  dialog->move(Left(), Top());
  if (FBorderStyle == bsDialog) dialog->setFixedSize(Width(), Height());
}

void TCustomForm::ShowText() { Widget()->setWindowTitle(ToQString(Caption())); }

void TCustomForm::DestroyHandle() {
  // The menu bar is a child of the form's widget: the menu lets go of it first.
  if (FMenu) FMenu->DestroyHandle();
  TWinControl::DestroyHandle();
}

void TCustomForm::Show() {
  SetVisible(true);
  HandleNeeded();
  // A window placed before it is shown may land beside its place once the window system
  // adds its frame; it is put back, so that Left and Top stay where the form was placed.
  const int32_t left = Left(), top = Top();
  Widget()->show();
  if (Widget()->x() != left || Widget()->y() != top) Widget()->move(left, top);
  if (FActiveControl) FActiveControl->SetFocus();
}

void TCustomForm::Hide() {
  SetVisible(false);
  if (Widget()) Widget()->hide();
}

void TCustomForm::Close() {
  if (FModal) {
    if (FModalResult == mrNone) SetModalResult(mrCancel);
    return;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (canClose) Hide();
}

void TCustomForm::WidgetBoundsChanged(int32_t left, int32_t top, int32_t width, int32_t height, bool resized) {
  if (left != Left() || top != Top() || width != Width() || height != Height())
    TControl::SetBounds(left, top, width, height);
  if (resized && OnResize) OnResize(this);
}

TModalResult TCustomForm::ShowModal() {
  HandleNeeded();
  auto* dialog = static_cast<QDialog*>(Widget());
  FModal = true;
  FModalResult = mrNone;
  dialog->setWindowModality(Qt::ApplicationModal);
  SetVisible(true);
  dialog->show();
  if (FActiveControl) FActiveControl->SetFocus();
  while (FModalResult == mrNone && dialog->isVisible()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    if (Application) Application->UpdateActions();
  }
  if (FModalResult == mrNone) FModalResult = mrCancel;
  FModal = false;
  Hide();
  return FModalResult;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  FActiveControl = control;
  if (control) {
    control->FreeNotification(this);
    if (Widget() && Widget()->isVisible()) control->SetFocus();
  }
}

uint32_t GetDoubleClickTime() {
  return static_cast<uint32_t>(std::max(QGuiApplication::styleHints()->mouseDoubleClickInterval(), 0));
}
