#include "forms/form_style.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace form_style {

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                          screen->availableGeometry()));
}

}  // namespace form_style
