// The rich view on screen: a rich view control (the layout's TCustomRichPane) with the
// window that shows it. The window is the control to place on a form; its popup menu is
// the view's. Creating one registers the controls of control items
// (RPControlWidgets.h).
#pragma once

#include <memory>

#include "richtext/layout/view/RichPane.h"
#include "richtext/screen/RPWindow.h"

class TPopupMenu;

class TRichPane : public TCustomRichPane {
public:
  explicit TRichPane(TComponent* owner);
  ~TRichPane() override;

  // The window to place on a form (SetParent, SetBounds).
  TRPWindow& Window() const { return *FWindow; }
  // The menu a right click shows when nothing else takes the click.
  TPopupMenu* PopupMenu() const { return FWindow->PopupMenu(); }
  void SetPopupMenu(TPopupMenu* menu) { FWindow->SetPopupMenu(menu); }

private:
  // Goes before the control, whose host it is.
  std::unique_ptr<TRPWindow> FWindow;
};
