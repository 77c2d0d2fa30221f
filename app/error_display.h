#pragma once
// The program's default error display: an exception that leaves a command or
// an event handler is shown in a message box titled with the application's
// name, and the program goes on.

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

// Shows text in a critical message box titled "Vornix" (or hands it to the
// test sink when one is set).
void ShowErrorText(const QString& text);
// Shows the message of an exception (byte text, shown as UTF-8 or
// Windows-1252 like every byte string of the program).
void ShowException(const std::exception& error);

// Test seam: when set, every error text goes to the function instead of a box.
void SetErrorSink(std::function<void(const QString&)> sink);

// Runs a command and shows any exception it throws, so the error never has
// to travel through the toolkit's signal and event code.
template <class Command>
void RunGuarded(Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

// The application object: its notify() is the last line of defence for an
// exception thrown out of an event handler.
class TVornixApplication : public QApplication {
 public:
  TVornixApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
