// The UTF-16 controls of the program's windows.
//
// The GUI layer keeps every caption, text, hint and item as UTF-16 and Qt shows it as
// such, so the Unicode controls add only what differs from the class library's: their
// item lists are UTF-16 string lists that address the control directly, and each
// publishes its texts under the names a window definition and a language file use.
// A hint "short|long" shows its short part as the tooltip and its long part as the
// application's hint.
#pragma once

#include <memory>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/Forms.h"
#include "unicode/UniComponentHelpers.h"
#include "unicode/UniWideStrings.h"
#include "unicode/controls/UniActnList.h"

// The part of a hint before the first "|" / after it (the whole hint without one).
inline WideString WideShortHint(const WideString& hint) { return GetShortHint(hint); }
inline WideString WideLongHint(const WideString& hint) { return GetLongHint(hint); }
// The first non-empty hint of the control or of its parents.
inline WideString GetWideHintOfChain(const TControl& control) { return control.HintOfChain(); }

// A class whose window definition also carries the companions of its UTF-16
// properties (DefineWideProperties).
template <typename TBase>
class TWideStreamed : public TBase {
public:
  using TBase::TBase;
  void DefineProperties(TFiler& filer) override {
    TBase::DefineProperties(filer);
    DefineWideProperties(filer, *this);
  }
};

// A UTF-16 control: streamed with its UTF-16 properties, linked to an action by the
// UTF-16 link of the kind the class library chooses for it.
template <typename TBase>
class TUniControl : public TWideStreamed<TBase> {
public:
  using TWideStreamed<TBase>::TWideStreamed;
  std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action) override {
    return UniActionLinkFor(*TBase::CreateActionLink(action), *this, action);
  }
};

class TUniLabel : public TUniControl<TLabel> {
public:
  using TUniControl::TUniControl;
};

class TUniEdit : public TUniControl<TEdit> {
public:
  using TUniControl::TUniControl;
};

class TUniButton : public TUniControl<TButton> {
public:
  using TUniControl::TUniControl;
};

class TUniRadioButton : public TUniControl<TRadioButton> {
public:
  using TUniControl::TUniControl;
};

class TUniGroupBox : public TUniControl<TGroupBox> {
public:
  using TUniControl::TUniControl;
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
};

class TUniImage : public TUniControl<TImage> {
public:
  using TUniControl::TUniControl;
};

// The items of a list box or combo box as a UTF-16 string list: every operation goes
// straight to the control, so the control's widget (when it has one) shows it at once.
class TUniListControlStrings : public TWideStrings {
public:
  explicit TUniListControlStrings(TCustomListControl& control) : FControl(control) {}

  WideString GetString(int32_t index) const override { return FControl.Item(index).Text; }
  int32_t GetCount() const override { return FControl.ItemCount(); }
  TObject* GetObject(int32_t index) const override { return FControl.Item(index).Object; }
  // Replaces the text; the object and the selected index stay.
  void SetString(int32_t index, const WideString& s) override { FControl.SetItemText(index, s); }
  void SetObject(int32_t index, TObject* object) override { FControl.SetItemObject(index, object); }
  void Clear() override { FControl.ClearItems(); }
  void Delete(int32_t index) override { FControl.DeleteItem(index); }
  void Insert(int32_t index, const WideString& s) override { FControl.InsertItem(index, s, nullptr); }
  void InsertObject(int32_t index, const WideString& s, TObject* object) override {
    FControl.InsertItem(index, s, object);
  }
  // Text and object move together.
  void Move(int32_t curIndex, int32_t newIndex) override { FControl.MoveItem(curIndex, newIndex); }

private:
  TCustomListControl& FControl;
};

class TUniListBoxStrings : public TUniListControlStrings {
public:
  using TUniListControlStrings::TUniListControlStrings;
};

class TUniComboBoxStrings : public TUniListControlStrings {
public:
  using TUniListControlStrings::TUniListControlStrings;
};

class TUniListBox : public TUniControl<TListBox> {
public:
  explicit TUniListBox(TComponent* owner) : TUniControl(owner), FItemsList(*this) {}
  TUniListBoxStrings* Items() const { return &FItemsList; }

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  mutable TUniListBoxStrings FItemsList;
};

class TUniComboBox : public TUniControl<TComboBox> {
public:
  explicit TUniComboBox(TComponent* owner) : TUniControl(owner), FItemsList(*this) {}
  TUniComboBoxStrings* Items() const { return &FItemsList; }

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  mutable TUniComboBoxStrings FItemsList;
};

// The clipboard's UTF-16 text.
class TUniClipboard {
public:
  WideString AsText() const { return GetClipboardText(); }
  void SetAsText(const WideString& text) { SetClipboardText(text); }
};
// The one clipboard object.
TUniClipboard& UniClipboard();
