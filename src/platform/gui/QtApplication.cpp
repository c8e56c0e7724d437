// The Qt application: the event loop, the idle pass, message boxes and the
// screen.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QStyleFactory>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/Sound.h"
#include "platform/base/Threads.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtText.h"

struct TApplication::TQtApp {
  TQtApp(int& argc, char** argv) : App(argc, argv) {}
  QApplication App;
};

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr) {
  if (Application) throw EInvalidOperation("Only one application can exist");
  FQt = std::make_unique<TQtApp>(argc, argv);
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  Application = this;
  // The message beep of the layers below sounds through Qt while the application lives.
  SetMessageBeepHandler([](uint32_t) { QApplication::beep(); });
  ShowException = [this](const std::exception& e) { MessageBox(AnsiToWide(e.what()), FTitle, MB_OK | MB_ICONSTOP); };
  // The idle pass: whenever the loop is about to wait for events, the actions of the
  // visible forms are updated.
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &FQt->App,
                   [this] { Guard([this] { UpdateActions(); }); });
  // Calls that other threads hand to the main thread run in the event loop. Posting an
  // event is safe from any thread.
  QApplication* app = &FQt->App;
  SetMainThreadWakeUp([app] {
    QMetaObject::invokeMethod(
        app, [] { Guarded([] { CheckSynchronize(); }); }, Qt::QueuedConnection);
  });
}

TApplication::~TApplication() {
  SetMainThreadWakeUp({});
  // Forms owned by the application go while Qt still exists.
  DestroyComponents();
  SetMessageBeepHandler({});
  Application = nullptr;
}

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated && FMainForm && FMainForm->Visible())
    QApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void TApplication::Terminate() {
  FTerminated = true;
  QCoreApplication::postEvent(&FQt->App, new QEvent(QEvent::User));
}

void TApplication::ProcessMessages() { QApplication::processEvents(QEventLoop::AllEvents); }

int32_t TApplication::MessageBox(const WideString& text, const WideString& caption, uint32_t flags) {
  if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
  QMessageBox box(QApplication::activeWindow());
  box.setText(ToQString(text));
  box.setWindowTitle(ToQString(caption));
  if (flags & MB_TASKMODAL) box.setWindowModality(Qt::ApplicationModal);
  switch (flags & 0xF0) {
    case MB_ICONSTOP:
      box.setIcon(QMessageBox::Critical);
      break;
    case MB_ICONQUESTION:
      box.setIcon(QMessageBox::Question);
      break;
    case MB_ICONWARNING:
      box.setIcon(QMessageBox::Warning);
      break;
    case MB_ICONINFORMATION:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  switch (flags & 0xF) {
    case MB_OKCANCEL:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MB_YESNO:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Cancel:
      return mrCancel;
    case QMessageBox::Yes:
      return mrYes;
    case QMessageBox::No:
      return mrNo;
    default:
      return mrOk;
  }
}

int32_t ScreenWidth() { return QGuiApplication::primaryScreen()->geometry().width(); }
int32_t ScreenHeight() { return QGuiApplication::primaryScreen()->geometry().height(); }
void Beep() { QApplication::beep(); }

TTextSize MeasureText(const WideString& text, int32_t maxWidth) {
  const QFontMetrics metrics(QApplication::font());
  const int flags = Qt::TextExpandTabs | (maxWidth > 0 ? Qt::TextWordWrap : Qt::TextSingleLine);
  const QRect box = metrics.boundingRect(QRect(0, 0, maxWidth > 0 ? maxWidth : 0, 0), flags, ToQString(text));
  return {box.width(), box.height()};
}

int32_t FontHeight() { return QFontMetrics(QApplication::font()).height(); }

void SetDefaultFontName(const WideString& name) {
  QFont font = QApplication::font();
  font.setFamily(ToQString(name));
  QApplication::setFont(font);
}
