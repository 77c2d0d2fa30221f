#pragma once
// Driving modal dialogs from GUI tests. A test queues a callback before it
// starts a dialog's exec(); the callback runs once the modal window with the
// expected object name is showing, and finds its controls by object name.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace modal {

// The first child of root with the given object name and type, or nullptr.
template <class T>
T* Child(QWidget* root, const QString& name) {
  return root ? root->findChild<T*>(name) : nullptr;
}

// Runs action on the active modal window once its object name is
// windowName (any modal window when windowName is empty). Polls the event
// queue, not the clock: it gives up after a bounded number of turns, which
// only happens when no dialog ever opens, so no exec() is left waiting.
inline void WhenModal(const QString& windowName, std::function<void(QWidget*)> action,
                      int turnsLeft = 2000) {
  QTimer::singleShot(0, qApp, [windowName, action = std::move(action), turnsLeft]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    const bool ready =
        modal && modal->isVisible() && (windowName.isEmpty() || modal->objectName() == windowName);
    if (ready) {
      action(modal);
    } else if (turnsLeft > 0) {
      WhenModal(windowName, std::move(action), turnsLeft - 1);
    }
  });
}

// Clicks the named button of root; false when there is no such button.
inline bool Click(QWidget* root, const QString& name) {
  auto* button = Child<QAbstractButton>(root, name);
  if (!button) return false;
  button->click();
  return true;
}

// Replaces the text of a named line edit or plain text edit as typing would
// (the change signals fire).
inline bool SetText(QWidget* root, const QString& name, const QString& text) {
  if (auto* edit = Child<QLineEdit>(root, name)) {
    edit->selectAll();
    edit->insert(text);
    return true;
  }
  if (auto* memo = Child<QPlainTextEdit>(root, name)) {
    memo->setPlainText(text);
    return true;
  }
  return false;
}

inline QString Text(QWidget* root, const QString& name) {
  if (auto* edit = Child<QLineEdit>(root, name)) return edit->text();
  if (auto* memo = Child<QPlainTextEdit>(root, name)) return memo->toPlainText();
  return {};
}

// Sends a key press to the window as the keyboard would.
inline void Key(QWidget* window, Qt::Key key) { QTest::keyClick(window, key); }

// The three ways of leaving a dialog without its OK: the Cancel button,
// Escape and the close box, as the rows of a data-driven test's "way" column.
inline void AddCancelWayRows() {
  QTest::addColumn<int>("way");
  QTest::newRow("Cancel button") << 0;
  QTest::newRow("Escape") << 1;
  QTest::newRow("close box") << 2;
}

// Leaves dlg by one of the ways AddCancelWayRows lists.
inline void CancelBy(QWidget* dlg, int way) {
  if (way == 0) Click(dlg, "btnCancel");
  if (way == 1) Key(dlg, Qt::Key_Escape);
  if (way == 2) dlg->close();
}

// Processes the deferred deletions that dialogs' runners ask for, so a
// dialog's destructor (which saves its settings) has run when this returns.
inline void FlushDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace modal
