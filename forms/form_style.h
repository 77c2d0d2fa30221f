#pragma once
// What the dialogs share: one look (small fixed font, a title bar with only
// a close box), controls placed at fixed pixel bounds, and release through
// the event queue.

#include <QDialog>
#include <QFont>
#include <QObject>
#include <QString>
#include <QToolButton>

#include "support/icons.h"

namespace form_style {

// The dialogs were laid out for an 8 point Verdana; where it is missing the
// font system substitutes a metric-alike sans (DejaVu Sans), so the fixed
// sizes still fit the texts.
inline QFont DialogFont() { return QFont(QStringLiteral("Verdana"), 8); }

// Caption, font and a title bar whose only button is the close box.
inline void ApplyDialogLook(QDialog* dialog, const QString& objectName, const QString& caption) {
  dialog->setObjectName(objectName);
  dialog->setWindowTitle(caption);
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
  dialog->setFont(DialogFont());
}

// A child control with its object name at the given bounds; the parent
// owns it.
template <class T>
T* Place(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, top, width, height);
  return control;
}

// The same for a control that shows a text (a label, button, box or group
// title), given as Qt's widgets take it on construction.
template <class T>
T* Place(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
         int height) {
  auto* control = new T(text, parent);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(left, top, width, height);
  return control;
}

// A flat icon button that shows its hint and never takes the focus.
inline QToolButton* SpeedButton(QWidget* parent, const char* name, IconRole icon,
                                const QString& hint, int left, int top) {
  auto* button = Place<QToolButton>(parent, name, left, top, 23, 22);
  button->setAutoRaise(true);
  button->setIcon(VornixIcon(icon));
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// Deleter for a dialog owned by its runner: the dialog is destroyed when
// the caller's event loop next runs, and saves its placement then.
struct DeleteLater {
  void operator()(QObject* object) const { object->deleteLater(); }
};

// Puts the dialog, title bar and border included, in the middle of the
// screen it would open on.
void CentreOnScreen(QWidget* window);

}  // namespace form_style
