// The smart popup: a small button that a rich view can show at the end of an item's last
// drawn line (the view places it and raises OnSmartPopupClick when it is clicked), and
// the settings of that button, streamed with the view's properties.
//
// The button itself is a window of the screen (richtext/screen/RPSmartPopupButton.h);
// the view asks its window host to make one and knows it through IRPSmartPopupButton.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/ImageList.h"

class TCustomRichPane;
class TPopupMenu;

enum TRPSmartPopupType : uint8_t { rpsptDropDown, rpsptShowDialog, rpsptSimple };

// A keyboard shortcut as the class library encodes it: the virtual key with 0x2000 for
// Shift, 0x4000 for Ctrl and 0x8000 for Alt.
using TRPShortCut = uint16_t;
inline constexpr TRPShortCut rpscShift = 0x2000, rpscCtrl = 0x4000, rpscAlt = 0x8000;
TRPShortCut RPShortCutOf(uint16_t key, TShiftState shift);

class IRPSmartPopupButton {
public:
  virtual ~IRPSmartPopupButton() = default;
  // Where the button stands in the view's client area, and its size.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  virtual int32_t Left() const = 0;
  virtual int32_t Top() const = 0;
  // Paints itself again with the settings as they are now.
  virtual void Repaint() = 0;
  virtual void SetHint(const AnsiString& hint) = 0;
  // As a click with the mouse: the view's OnSmartPopupClick, then, for a drop-down
  // button with a menu, the menu below the button.
  virtual void Click() = 0;
};

class TRPSmartPopupProperties : public TPersistent {
public:
  // The defaults: image 0 of no list, colours clWindow, clInfoBk, clHighlight and
  // clInfoText, no menu, no hint, Ctrl+Shift+Down, a drop-down button.
  explicit TRPSmartPopupProperties(TCustomRichPane* richPane = nullptr);

  // The view the settings belong to (not owned), and the button it shows now (not owned;
  // nullptr when none is shown).
  TCustomRichPane* RichPane() const { return FRichPane; }
  IRPSmartPopupButton* Button() const { return FButton; }
  void SetButton(IRPSmartPopupButton* button) { FButton = button; }

  int32_t ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int32_t value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor HoverColor() const { return FHoverColor; }
  void SetHoverColor(TColor value);
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor value);
  TColor HoverLineColor() const { return FHoverLineColor; }
  void SetHoverLineColor(TColor value);
  TPopupMenu* Menu() const { return FMenu; }
  void SetMenu(TPopupMenu* value) { FMenu = value; }
  AnsiString Hint() const { return FHint; }
  // Also the shown button's hint.
  void SetHint(const AnsiString& value);
  TRPShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TRPShortCut value) { FShortCut = value; }
  TRPSmartPopupType ButtonType() const { return FButtonType; }
  void SetButtonType(TRPSmartPopupType value) { FButtonType = value; }

  // The button's size for these settings: the image list's images with a 2-pixel border
  // (12 x 12 pixels without a list), and 8 pixels more width for the arrow of a drop-down
  // button or the dots of a dialog button.
  int32_t ButtonWidth() const;
  int32_t ButtonHeight() const;

  // From another set of settings: all ten properties; otherwise the inherited Assign.
  void Assign(const TPersistent& source) override;

  // Streamed: ImageIndex, the four colours, Hint (only when not empty), ShortCut and
  // ButtonType. ImageList and Menu refer to other components, which the filers of this
  // platform do not resolve; the owner sets them in code.
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  void RepaintButton();
  TCustomRichPane* FRichPane;
  IRPSmartPopupButton* FButton = nullptr;
  int32_t FImageIndex = 0;
  TCustomImageList* FImageList = nullptr;
  TColor FColor = clWindow;
  TColor FHoverColor = clInfoBk;
  TColor FLineColor = clHighlight;
  TColor FHoverLineColor = clInfoText;
  TPopupMenu* FMenu = nullptr;
  AnsiString FHint;
  TRPShortCut FShortCut = rpscCtrl | rpscShift | VK_DOWN;
  TRPSmartPopupType FButtonType = rpsptDropDown;
};
static_assert(rpscCtrl + rpscShift + VK_DOWN == 24616);
