// The standard controls: label, edit, combo box, list box, buttons, group box, image.
//
// Every value (text, items with their objects, selection) lives in the control, so it
// exists before the widget and survives its re-creation; the widget mirrors it and
// reports the user's changes back.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gui/Controls.h"

class QListWidgetItem;

class TLabel : public TControl {
public:
  explicit TLabel(TComponent* owner);
  // The control that Alt plus the caption's accelerator focuses.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void ShowText() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TWinControl* FFocusControl = nullptr;
  bool FWordWrap = false;
};

class TCustomEdit : public TWinControl {
public:
  explicit TCustomEdit(TComponent* owner);
  // 0: the text is shown.
  WideChar PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(WideChar value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // Selection in UTF-16 characters, from 0.
  int32_t SelStart() const;
  int32_t SelLength() const;
  void SetSelStart(int32_t value);
  void SetSelLength(int32_t value);
  TNotifyEvent OnChange;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void ShowText() override;
  void SaveWidgetState() override;

private:
  static TPropInfo PasswordCharProp();
  WideChar FPasswordChar = 0;
  bool FReadOnly = false;
  int32_t FSelStart = 0;
  int32_t FSelLength = 0;
};

class TEdit : public TCustomEdit {
public:
  using TCustomEdit::TCustomEdit;
};

// One item of a list box or combo box: its text and the object stored with it (not owned).
struct TListItem {
  WideString Text;
  TObject* Object = nullptr;
  // Selected in a list box with MultiSelect.
  bool Selected = false;
};

// What list boxes and combo boxes share: the item list and the selected index.
class TCustomListControl : public TWinControl {
public:
  explicit TCustomListControl(TComponent* owner) : TWinControl(owner) {}

  int32_t ItemCount() const { return static_cast<int32_t>(FItems.size()); }
  // Indexes outside the list raise EStringListError "List index out of bounds (%d)".
  const TListItem& Item(int32_t index) const;
  void InsertItem(int32_t index, const WideString& text, TObject* object);
  void DeleteItem(int32_t index);
  void ClearItems();
  // Replaces the text; the object and the selection stay.
  void SetItemText(int32_t index, const WideString& text);
  void SetItemObject(int32_t index, TObject* object);
  void MoveItem(int32_t from, int32_t to);
  // -1: nothing selected.
  int32_t ItemIndex() const { return FItemIndex; }
  virtual void SetItemIndex(int32_t index);
  TNotifyEvent OnChange;

protected:
  // Mirror a change of the item list into the widget: the whole list, or the one item
  // inserted, deleted or given a new text (the item index is already adjusted).
  virtual void ShowItems() = 0;
  virtual void ShowInsertedItem(int32_t /*index*/) { ShowItems(); }
  virtual void ShowDeletedItem(int32_t /*index*/) { ShowItems(); }
  virtual void ShowItemText(int32_t /*index*/) { ShowItems(); }
  virtual void ShowItemIndex() = 0;
  // The user selected another item.
  virtual void ItemIndexChangedByUser(int32_t index);
  void CheckItemIndex(int32_t index) const;
  // The first item that starts with prefix (case ignored), or -1.
  int32_t IndexOfPrefix(WideStringView prefix) const;

  std::vector<TListItem> FItems;
  int32_t FItemIndex = -1;
};

class TCustomListBox : public TCustomListControl {
public:
  explicit TCustomListBox(TComponent* owner);
  int32_t TopIndex() const;
  void SetTopIndex(int32_t index);
  // The colour of an item's text as a TColor (0x00BBGGRR); unset: the widget's own.
  // Asked whenever the items are shown again.
  std::function<int32_t(int32_t index)> OnItemColor;
  // With MultiSelect the user selects any number of items (Ctrl and Shift extend the
  // selection); without it the selected item is the one at ItemIndex.
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool value);
  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool value);
  int32_t SelCount() const;
  // False: the selected item is drawn as any other (no highlight).
  bool HighlightSelection() const { return FHighlightSelection; }
  void SetHighlightSelection(bool value);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void SaveWidgetState() override;
  void ShowItems() override;
  void ShowInsertedItem(int32_t index) override;
  void ShowDeletedItem(int32_t index) override;
  void ShowItemText(int32_t index) override;
  void ShowItemIndex() override;

private:
  void ShowSelection();
  QListWidgetItem* MakeWidgetItem(int32_t index) const;
  int32_t FTopIndex = 0;
  bool FMultiSelect = false;
  bool FHighlightSelection = true;
};

class TListBox : public TCustomListBox {
public:
  using TCustomListBox::TCustomListBox;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TCustomComboBox : public TCustomListControl {
public:
  // Typed characters more than this apart start a new search in a drop-down list.
  static constexpr int64_t SearchPauseMs = 1250;

  explicit TCustomComboBox(TComponent* owner);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle style);
  void SetItemIndex(int32_t index) override;
  void SetText(const WideString& value) override;
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool value) { FAutoComplete = value; }
  // The size that shows its widest item.
  TTextSize FitSize() const override;
  // A character typed into a drop-down list at time nowMs: selects the first item that
  // starts (case ignored) with the search text plus the character and returns true
  // (consumed), or false when none does. Backspace (8) shortens the search text.
  bool SearchKey(WideChar key, int64_t nowMs);
  // What completes a typed text to the first item it begins (case ignored): the rest of
  // that item, or empty when none does.
  WideString CompletionOf(const WideString& typed) const;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void ShowItems() override;
  void ShowInsertedItem(int32_t index) override;
  void ShowDeletedItem(int32_t index) override;
  void ShowItemText(int32_t index) override;
  void ShowItemIndex() override;
  void ShowText() override;
  void ItemIndexChangedByUser(int32_t index) override;

private:
  TComboBoxStyle FStyle = csDropDown;
  bool FAutoComplete = true;
  WideString FFilter;
  int64_t FLastKeyMs = 0;
};

class TComboBox : public TCustomComboBox {
public:
  using TCustomComboBox::TCustomComboBox;
};

// Modal results of buttons and forms.
using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                              mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

class TButtonControl : public TWinControl {
public:
  using TWinControl::TWinControl;
  std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action) override;
};

class TButton : public TButtonControl {
public:
  explicit TButton(TComponent* owner);
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  // Enter clicks the default button of a form, Esc its cancel button.
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  // Runs the click, then hands the modal result to the form.
  void Click() override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;

private:
  TModalResult FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

// Radio buttons and check boxes.
class TCheckableButton : public TButtonControl {
public:
  using TButtonControl::TButtonControl;
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void InitWidget() override;

private:
  bool FChecked = false;
};

class TRadioButton : public TCheckableButton {
public:
  explicit TRadioButton(TComponent* owner);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
};

class TCheckBox : public TCheckableButton {
public:
  explicit TCheckBox(TComponent* owner);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
};

class TCustomGroupBox : public TWinControl {
public:
  explicit TCustomGroupBox(TComponent* owner);
  // The size of its title.
  TTextSize FitSize() const override;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
};

class TGroupBox : public TCustomGroupBox {
public:
  using TCustomGroupBox::TCustomGroupBox;
};

// The system icons an image can show.
enum TSystemIcon { siNone, siWarning, siError, siInformation, siQuestion };

class TImage : public TControl {
public:
  explicit TImage(TComponent* owner);
  TSystemIcon Icon() const { return FIcon; }
  void SetIcon(TSystemIcon icon);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;

private:
  TSystemIcon FIcon = siNone;
};
