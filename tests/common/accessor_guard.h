#pragma once
// The program's single services (settings store, message dialogs, form
// routines) come only from their accessor functions: one instance, and a
// second constructed directly throws with the accessor's name.

#include <QString>
#include <QTest>
#include <stdexcept>

template <class T>
void CheckAccessorGuard(T& (*accessor)(), const char* message) {
  QCOMPARE(&accessor(), &accessor());
  try {
    T direct;
    QFAIL("direct construction succeeded");
  } catch (const std::runtime_error& error) {
    QCOMPARE(QString(error.what()), QString(message));
  }
}
