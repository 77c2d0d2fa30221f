// The default error display: an exception leaving a command or an event
// handler is shown with its text, and the program goes on.

#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <stdexcept>

#include "app/error_display.h"
#include "tests/common/modal_helpers.h"

namespace {

// An object whose event handler fails.
class FailingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw std::runtime_error("Cannot open file /x/y.zip");
    return QObject::event(event);
  }
};

}  // namespace

class ErrorDisplayTest : public QObject {
  Q_OBJECT
 private:
  QStringList shown_;

 private slots:
  void init() {
    shown_.clear();
    SetErrorSink([this](const QString& text) { shown_ << text; });
  }
  void cleanup() { SetErrorSink(nullptr); }

  void guardedCommandShowsTheText() {
    bool after = false;
    RunGuarded([] { throw std::runtime_error("Failed CRC Check"); });
    RunGuarded([&after] { after = true; });
    QCOMPARE(shown_, QStringList{"Failed CRC Check"});
    QVERIFY(after);
  }

  void nonUtf8MessageShowsAsWindows1252() {
    RunGuarded([] { throw std::runtime_error("Cannot open file /x/caf\xe9.zip"); });
    QCOMPARE(shown_, QStringList{QStringLiteral("Cannot open file /x/caf\u00e9.zip")});
  }

  void exceptionLeavingAnEventHandlerIsShown() {
    FailingObject object;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&object, &event);
    QCOMPARE(shown_, QStringList{"Cannot open file /x/y.zip"});
    // The program goes on: the next event is delivered normally.
    QEvent other(QEvent::User);
    QCoreApplication::sendEvent(&object, &other);
    QCOMPARE(shown_.size(), 2);
  }

  void boxIsTitledWithTheApplicationName() {
    SetErrorSink(nullptr);
    QString title, text;
    modal::WhenModal("ErrorBox", [&title, &text](QWidget* box) {
      title = box->windowTitle();
      text = qobject_cast<QMessageBox*>(box)->text();
      qobject_cast<QMessageBox*>(box)->accept();
    });
    ShowErrorText("Unhandled Archive Type");
    QCOMPARE(title, QStringLiteral("Vornix"));
    QCOMPARE(text, QStringLiteral("Unhandled Archive Type"));
  }
};

int main(int argc, char** argv) {
  TVornixApplication app(argc, argv);
  QApplication::setApplicationName("Vornix");
  ErrorDisplayTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "error_display_test.moc"
