#include "app/error_display.h"

#include <QMessageBox>

#include "support/text_convert.h"

namespace {

std::function<void(const QString&)>& ErrorSink() {
  static std::function<void(const QString&)> sink;
  return sink;
}

}  // namespace

void SetErrorSink(std::function<void(const QString&)> sink) { ErrorSink() = std::move(sink); }

void ShowErrorText(const QString& text) {
  if (ErrorSink()) {
    ErrorSink()(text);
    return;
  }
  // No parent: the box must show even while the main window is being built
  // or torn down.
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
  box.setObjectName("ErrorBox");
  box.exec();
}

void ShowException(const std::exception& error) { ShowErrorText(ToQString(error.what())); }

TVornixApplication::TVornixApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TVornixApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
    return false;
  }
}
