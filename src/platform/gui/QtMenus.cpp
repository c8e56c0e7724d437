// The Qt side of menus: a QMenuBar or QMenu per menu, a QAction per item (a QMenu's own
// action for an item with sub-items), kept in step with the items.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include "platform/gui/Menus.h"
#include "platform/gui/QtText.h"

namespace {

// The item an action stands for.
TMenuItem* ItemOf(const QAction* action) {
  return action ? static_cast<TMenuItem*>(action->data().value<void*>()) : nullptr;
}

// The mouse on an item of an open menu, and the menu closing, reach the popup list.
void ReportSelection(QMenu& menu) {
  QObject::connect(&menu, &QMenu::hovered, &menu,
                   [](QAction* action) { Guarded([action] { PopupList().MenuSelect(ItemOf(action)); }); });
  QObject::connect(&menu, &QMenu::aboutToHide, &menu, [] { Guarded([] { PopupList().MenuSelect(nullptr); }); });
}

}  // namespace

void TMenu::HandleNeeded(QWidget* parent) {
  if (FWidget) return;
  FWidget = CreateWidget(parent);
  if (auto* menu = qobject_cast<QMenu*>(FWidget)) ReportSelection(*menu);
  if (auto* bar = qobject_cast<QMenuBar*>(FWidget))
    QObject::connect(bar, &QMenuBar::hovered, bar,
                     [](QAction* action) { Guarded([action] { PopupList().MenuSelect(ItemOf(action)); }); });
  AddQtItems(*FItems, *FWidget);
}

void TMenu::ForgetQtActions() {
  std::vector<TMenuItem*> open(FItems->FItems);
  while (!open.empty()) {
    TMenuItem* item = open.back();
    open.pop_back();
    item->FQtAction = nullptr;
    open.insert(open.end(), item->FItems.begin(), item->FItems.end());
  }
}

void TMenu::DestroyHandle() {
  if (!FWidget) return;
  // The actions go with the widget; the items forget them first.
  ForgetQtActions();
  QWidget* widget = FWidget;
  FWidget = nullptr;
  delete widget;
}

void TMenu::RebuildHandle() {
  if (!FWidget) return;
  for (QAction* action : FWidget->actions()) {
    FWidget->removeAction(action);
    // A sub-menu's action belongs to its menu, which goes with it.
    if (QMenu* sub = action->menu())
      delete sub;
    else
      delete action;
  }
  ForgetQtActions();
  AddQtItems(*FItems, *FWidget);
}

void TMenu::AddQtItems(TMenuItem& parent, QWidget& menu) {
  for (TMenuItem* item : parent.FItems) {
    QAction* action = nullptr;
    if (!item->FItems.empty()) {
      auto* sub = new QMenu(&menu);
      ReportSelection(*sub);
      AddQtItems(*item, *sub);
      action = sub->menuAction();
    } else {
      action = new QAction(&menu);
      action->setSeparator(item->IsLine());
      QObject::connect(action, &QAction::triggered, action, [item] { Guarded([item] { item->Click(); }); });
    }
    action->setData(QVariant::fromValue(static_cast<void*>(item)));
    item->FQtAction = action;
    menu.addAction(action);
    ShowItem(*item);
  }
}

// The item's state in its action; the text only when it differs from what the menu shows.
void TMenu::ShowItem(TMenuItem& item) {
  QAction* action = item.FQtAction;
  if (!action) return;
  const QString text = ToQString(item.MenuText());
  if (action->text() != text) action->setText(text);
  action->setCheckable(item.Checked() || item.RadioItem());
  action->setChecked(item.Checked());
  action->setEnabled(item.Enabled());
  action->setVisible(item.Visible());
  if (action->font().bold() != item.Default()) {
    QFont font = action->font();
    font.setBold(item.Default());
    action->setFont(font);
  }
}

void TMenu::ItemChanged(TMenuItem& item, bool rebuild) {
  if (!FWidget) return;
  if (rebuild)
    RebuildHandle();
  else
    ShowItem(item);
}

QWidget* TMainMenu::CreateWidget(QWidget* parent) { return new QMenuBar(parent); }

int32_t TMainMenu::BarHeight() const { return Widget() ? Widget()->sizeHint().height() : 0; }

QWidget* TPopupMenu::CreateWidget(QWidget* parent) { return new QMenu(parent); }

void TPopupMenu::Popup(int32_t x, int32_t y) {
  if (OnPopup) OnPopup(this);
  HandleNeeded(nullptr);
  // Shown modally; a chosen item's triggered signal clicks it before exec returns.
  QPointer<QWidget> menu = Widget();
  static_cast<QMenu*>(menu.data())->exec(QPoint(x, y));
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    FMenu->DestroyHandle();
    FMenu->FForm = nullptr;
  }
  FMenu = menu;
  if (menu) {
    if (menu->FForm && menu->FForm != this) menu->FForm->SetMenu(nullptr);
    menu->FForm = this;
    menu->FreeNotification(this);
    if (Widget()) ShowMenuBar();
  }
  // The controls stand below the bar, or move up where it was.
  if (Widget())
    for (int32_t i = 0; i < ControlCount(); ++i) {
      TControl* control = Controls(i);
      control->SetBounds(control->Left(), control->Top(), control->Width(), control->Height());
    }
}

void TCustomForm::ShowMenuBar() {
  if (!FMenu) return;
  FMenu->HandleNeeded(Widget());
  FMenu->Widget()->setGeometry(0, 0, Width(), FMenu->BarHeight());
  FMenu->Widget()->show();
}
