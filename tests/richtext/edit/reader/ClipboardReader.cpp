// A second process that reads the system clipboard through Qt, as any other program
// would: it prints the clipboard's text/plain as UTF-8, a line "---", then its text/rtf.
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return 1;
  const QByteArray text = data->text().toUtf8();
  const QByteArray rtf = data->data("text/rtf");
  std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
  std::fputs("\n---\n", stdout);
  std::fwrite(rtf.constData(), 1, static_cast<size_t>(rtf.size()), stdout);
  return 0;
}
