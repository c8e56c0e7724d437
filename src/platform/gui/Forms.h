// Forms, the application and the screen.
//
// A form is a top-level window (a Qt dialog once shown). `TApplication` owns the Qt
// application object, runs the event loop, updates the actions of the visible forms
// whenever the loop goes idle, and sends every exception that escapes an event handler
// to HandleException instead of letting it cross Qt's event loop.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/UserInput.h"
#include "platform/gui/StdCtrls.h"

using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;

class TMainMenu;

enum TFormBorderStyle { bsSizeable, bsDialog };
enum TPosition { poDesigned, poScreenCenter };

class TCustomForm : public TWinControl {
public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value) { FBorderStyle = value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  // Client size: the form's size without its frame (the widget's size here) and without
  // its menu bar.
  int32_t ClientWidth() const { return Width(); }
  int32_t ClientHeight() const { return Height() - ClientTop(); }
  void SetClientWidth(int32_t value) { SetWidth(value); }
  void SetClientHeight(int32_t value) { SetHeight(value + ClientTop()); }
  // The menu bar across the top of the form, or nullptr; its height is taken from the
  // client area, so the controls stand below it.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  int32_t ClientTop() const override;
  // Clicks the menu item of the key's shortcut: of the form's menu, or of the popup menu
  // of the focused control or a control around it. True when one ran.
  bool IsShortCut(uint16_t key, TShiftState shift);
  // With KeyPreview the form's OnKeyDown sees keys before its controls.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool value) { FKeyPreview = value; }
  TKeyEvent OnKeyDown;

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);

  void Show();
  void Hide();
  // A modal form ends with mrCancel (unless it has a result); a modeless one asks
  // OnCloseQuery and hides when allowed.
  void Close();
  // Asked before a modeless form closes; canClose comes in true.
  std::function<void(TObject* sender, bool& canClose)> OnCloseQuery;
  // Runs after the form's window changed its size, by the program or by the user.
  TNotifyEvent OnResize;
  // The window system moved or resized (resized) the form's window to these bounds: the
  // form takes them, then runs OnResize when resized.
  void WidgetBoundsChanged(int32_t left, int32_t top, int32_t width, int32_t height, bool resized);
  // Shows the form modally and returns its modal result once a button or Close set one
  // (Close and Esc without a cancel button give mrCancel).
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value);
  bool Modal() const { return FModal; }

  void DestroyHandle() override;
  // Updates the actions of the form's controls (the idle pass).
  void UpdateActions();
  // The button marked Default (Cancel) among the form's controls, or nullptr.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;
  // Key handling of the form: a menu shortcut, KeyPreview's OnKeyDown, then Enter and
  // Esc. True when used.
  bool HandleKey(uint16_t key, TShiftState shift);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;
  void ShowText() override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  // Puts the menu's bar across the top of the form's widget.
  void ShowMenuBar();
  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  bool FModal = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
public:
  using TCustomForm::TCustomForm;
};

class TApplication : public TComponent {
public:
  // Creates the Qt application over the process's arguments; one per process.
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  WideString Title() const { return FTitle; }
  virtual void SetTitle(const WideString& value) { FTitle = value; }
  // The long hint of what the mouse is over; OnHint runs on every change.
  WideString Hint() const { return FHint; }
  virtual void SetHint(const WideString& value);
  TNotifyEvent OnHint;

  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  // Runs the event loop until the main form closes or Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles pending events and returns.
  void ProcessMessages();
  // The idle pass: the actions of every visible form are updated.
  void UpdateActions();

  // Runs f; an exception goes to HandleException. Every handler that Qt calls goes
  // through here.
  void Guard(const std::function<void()>& f) noexcept;
  // OnException when set, else ShowException. Raises nothing.
  void HandleException(const std::exception& e) noexcept;
  std::function<void(const std::exception& e)> OnException;
  // Shows the exception's message in a box with the stop icon, captioned with the
  // title; the Unicode layer sets its own display.
  std::function<void(const std::exception& e)> ShowException;

  // A message box over the active window; returns the button's modal result.
  int32_t MessageBox(const WideString& text, const WideString& caption, uint32_t flags);
  // Shown boxes answer at once with this result while set (tests).
  std::function<int32_t(const WideString& text, const WideString& caption, uint32_t flags)> MessageBoxHook;

  // The forms that exist, in creation order.
  const std::vector<TCustomForm*>& Forms() const { return FForms; }

private:
  friend class TCustomForm;
  struct TQtApp;
  std::unique_ptr<TQtApp> FQt;
  WideString FTitle;
  WideString FHint;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::vector<TCustomForm*> FForms;
};

// MessageBox flags.
inline constexpr uint32_t MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
                          MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40;
// The box blocks every window of the program, not only the active one.
inline constexpr uint32_t MB_TASKMODAL = 0x2000;

// The application; nullptr until one is created.
extern TApplication* Application;

// Runs f through the application's Guard (f itself while there is no application): what
// Qt calls back goes through here, so that no exception crosses Qt's event loop.
void Guarded(const std::function<void()>& f);

// Text measured in the application's font: one line, or broken into words within maxWidth
// (> 0), with tabs expanded.
TTextSize MeasureText(const WideString& text, int32_t maxWidth = 0);
// The height of the application's font (ascent + descent).
int32_t FontHeight();
// Makes the named family, at its usual dialog size, the font of every new window.
void SetDefaultFontName(const WideString& name);

// The primary screen's size in pixels.
int32_t ScreenWidth();
int32_t ScreenHeight();
// The system's alert sound.
void Beep();
