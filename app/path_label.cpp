#include "app/path_label.h"

#include <QFontMetrics>

TPathLabel::TPathLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TPathLabel::ShowPath(const QString& path) {
  shownPath_ = path;
  setToolTip(path);
  Elide();
}

QSize TPathLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void TPathLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void TPathLabel::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  Elide();
}

void TPathLabel::Elide() {
  // Before the label is laid out its width means nothing: show it whole.
  if (!isVisible()) {
    setText(shownPath_);
    return;
  }
  setText(fontMetrics().elidedText(shownPath_, Qt::ElideMiddle, contentsRect().width()));
}
