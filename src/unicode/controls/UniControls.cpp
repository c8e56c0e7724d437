#include "unicode/controls/UniControls.h"

const TClassProps& TUniGroupBox::Props() {
  static const TClassProps props("TUniGroupBox", &TWinControl::Props(), {TextProp("Caption")});
  return props;
}

const TClassProps& TUniListBox::Props() {
  static const TClassProps props(
      "TUniListBox", &TWinControl::Props(),
      {Published::Object<TUniListBox>("Items", &TUniListBox::Items), Published::Event("OnChange")});
  return props;
}

const TClassProps& TUniComboBox::Props() {
  static const TClassProps props(
      "TUniComboBox", &TWinControl::Props(),
      {Published::Object<TUniComboBox>("Items", &TUniComboBox::Items), TextProp("Text"), Published::Event("OnChange")});
  return props;
}

TUniClipboard& UniClipboard() {
  static TUniClipboard clipboard;
  return clipboard;
}
