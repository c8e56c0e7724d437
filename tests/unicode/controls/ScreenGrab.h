// Screenshots on a real (virtual) X display, for the tests of the program's windows.
#pragma once

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

// Grabs the window from the screen once it shows its background (the X server maps a
// window before the program paints it); up to two seconds. Saved as <name>.png in
// QF_SCREENSHOT_DIR when that is set.
inline QImage GrabScreenshot(QWidget& window, const char* name) {
  const QRgb background = window.palette().color(QPalette::Window).rgb();
  QImage image;
  for (int attempt = 0; attempt < 100; ++attempt) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    image = QGuiApplication::primaryScreen()
                ->grabWindow(0, window.geometry().x(), window.geometry().y(), window.width(), window.height())
                .toImage();
    if (!image.isNull() && image.pixel(1, 1) == background) break;
  }
  if (const char* dir = std::getenv("QF_SCREENSHOT_DIR")) image.save(QString(dir) + "/" + name + ".png");
  return image;
}
