// Screenshots on a real (virtual) X display, for the tests of the program's windows.
#pragma once

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

// Grabs the window from the screen once it shows its background (the X server maps a
// window before the program paints it) and lies whole on the screen (a window resized
// after it was placed may reach past the screen's edge: it is moved inside); up to two
// seconds. Saved as <name>.png in QF_SCREENSHOT_DIR when that is set.
inline QImage GrabScreenshot(QWidget& window, const char* name) {
  const QRgb background = window.palette().color(QPalette::Window).rgb();
  QScreen& screen = *QGuiApplication::primaryScreen();
  QImage image;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (!screen.geometry().contains(window.geometry())) window.move(screen.geometry().topLeft());
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QRect at = window.geometry();
    image = screen.grabWindow(0, at.x(), at.y(), at.width(), at.height()).toImage();
    if (!image.isNull() && image.size() == at.size() && image.pixel(1, 1) == background) break;
  }
  if (const char* dir = std::getenv("QF_SCREENSHOT_DIR")) image.save(QString(dir) + "/" + name + ".png");
  return image;
}
