#include "platform/gui/StdCtrls.h"

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/UnicodeCase.h"
#include "platform/gui/ActnList.h"

namespace {

WideString CaseFolded(WideStringView text) {
  WideString result(text);
  for (WideChar& c : result) c = SimpleCaseFold(c);
  return result;
}

}  // namespace

const TClassProps& TLabel::Props() {
  static const TClassProps props(
      "TLabel", &TControl::Props(),
      {TextProp("Caption"), Published::Boolean<TLabel>("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, false)});
  return props;
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

TPropInfo TCustomEdit::PasswordCharProp() {
  TPropInfo info = Published::Make<TCustomEdit, WideChar>("PasswordChar", tkWChar, &TCustomEdit::PasswordChar,
                                                          &TCustomEdit::SetPasswordChar);
  info.Default = 0;
  return info;
}

const TClassProps& TCustomEdit::Props() {
  static const TClassProps props(
      "TCustomEdit", &TWinControl::Props(),
      {TextProp("Text"), PasswordCharProp(),
       Published::Boolean<TCustomEdit>("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false),
       Published::Event("OnChange")});
  return props;
}

const TListItem& TCustomListControl::Item(int32_t index) const {
  CheckItemIndex(index);
  return FItems[static_cast<size_t>(index)];
}

void TCustomListControl::CheckItemIndex(int32_t index) const {
  if (index < 0 || index >= ItemCount()) throw EStringListError(Format(SListIndexError, {index}));
}

void TCustomListControl::InsertItem(int32_t index, const WideString& text, TObject* object) {
  if (index < 0 || index > ItemCount()) throw EStringListError(Format(SListIndexError, {index}));
  FItems.insert(FItems.begin() + index, TListItem{text, object});
  if (FItemIndex >= index) ++FItemIndex;
  if (HandleAllocated()) ShowInsertedItem(index);
}

void TCustomListControl::DeleteItem(int32_t index) {
  CheckItemIndex(index);
  FItems.erase(FItems.begin() + index);
  if (FItemIndex == index)
    FItemIndex = -1;
  else if (FItemIndex > index)
    --FItemIndex;
  if (HandleAllocated()) ShowDeletedItem(index);
}

void TCustomListControl::ClearItems() {
  FItems.clear();
  FItemIndex = -1;
  if (HandleAllocated()) ShowItems();
}

void TCustomListControl::SetItemText(int32_t index, const WideString& text) {
  CheckItemIndex(index);
  FItems[static_cast<size_t>(index)].Text = text;
  if (HandleAllocated()) ShowItemText(index);
}

void TCustomListControl::SetItemObject(int32_t index, TObject* object) {
  CheckItemIndex(index);
  FItems[static_cast<size_t>(index)].Object = object;
}

void TCustomListControl::MoveItem(int32_t from, int32_t to) {
  if (from == to) return;
  CheckItemIndex(from);
  CheckItemIndex(to);
  const TListItem item = FItems[static_cast<size_t>(from)];
  const bool wasSelected = FItemIndex == from;
  DeleteItem(from);
  InsertItem(to, item.Text, item.Object);
  if (wasSelected) SetItemIndex(to);
}

void TCustomListControl::SetItemIndex(int32_t index) {
  if (index < -1 || index >= ItemCount()) index = -1;
  if (index == FItemIndex) return;
  FItemIndex = index;
  if (HandleAllocated()) ShowItemIndex();
}

void TCustomListControl::ItemIndexChangedByUser(int32_t index) {
  FItemIndex = index;
  if (OnChange) OnChange(this);
}

void TCustomComboBox::SetItemIndex(int32_t index) {
  TCustomListControl::SetItemIndex(index);
  if (FItemIndex >= 0) TControl::SetText(FItems[static_cast<size_t>(FItemIndex)].Text);
}

void TCustomComboBox::SetText(const WideString& value) {
  TControl::SetText(value);
  // A drop-down list shows only its items: the text selects the item that has it.
  if (FStyle == csDropDownList) {
    int32_t found = -1;
    for (int32_t i = 0; i < ItemCount() && found < 0; ++i)
      if (FItems[static_cast<size_t>(i)].Text == value) found = i;
    TCustomListControl::SetItemIndex(found);
  }
}

void TCustomComboBox::ItemIndexChangedByUser(int32_t index) {
  FItemIndex = index;
  if (index >= 0) TControl::SetText(FItems[static_cast<size_t>(index)].Text);
  if (OnChange) OnChange(this);
}

int32_t TCustomListControl::IndexOfPrefix(WideStringView prefix) const {
  const WideString wanted = CaseFolded(prefix);
  for (int32_t i = 0; i < ItemCount(); ++i) {
    const WideString& text = FItems[static_cast<size_t>(i)].Text;
    if (text.size() >= wanted.size() && CaseFolded(WideStringView(text).substr(0, wanted.size())) == wanted) return i;
  }
  return -1;
}

bool TCustomComboBox::SearchKey(WideChar key, int64_t nowMs) {
  if (nowMs - FLastKeyMs > SearchPauseMs) FFilter.clear();
  FLastKeyMs = nowMs;
  if (key == 8) {
    if (!FFilter.empty()) FFilter.pop_back();
    return true;
  }
  const int32_t found = IndexOfPrefix(FFilter + key);
  if (found < 0) return false;
  FFilter += key;
  if (found != FItemIndex) ItemIndexChangedByUser(found);
  if (HandleAllocated()) ShowItemIndex();
  return true;
}

WideString TCustomComboBox::CompletionOf(const WideString& typed) const {
  if (typed.empty()) return {};
  const int32_t found = IndexOfPrefix(typed);
  return found < 0 ? WideString() : FItems[static_cast<size_t>(found)].Text.substr(typed.size());
}

std::unique_ptr<TActionLink> TButtonControl::CreateActionLink(TBasicAction& action) {
  return std::make_unique<TButtonActionLink>(*this, action);
}

const TClassProps& TButton::Props() {
  static const TClassProps props(
      "TButton", &TWinControl::Props(),
      {TextProp("Caption"), Published::Boolean<TButton>("Cancel", &TButton::Cancel, &TButton::SetCancel, false),
       Published::Boolean<TButton>("Default", &TButton::Default, &TButton::SetDefault, false),
       Published::Integer<TButton>("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0)});
  return props;
}

const TClassProps& TCheckableButton::Props() {
  static const TClassProps props(
      "TCheckableButton", &TWinControl::Props(),
      {TextProp("Caption"), Published::Boolean<TCheckableButton>("Checked", &TCheckableButton::Checked,
                                                                 &TCheckableButton::SetChecked, false)});
  return props;
}
