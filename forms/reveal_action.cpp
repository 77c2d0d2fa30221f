#include "forms/reveal_action.h"

#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace {

// An eye, open when the password is shown, struck through when masked.
QIcon EyeIcon(bool open) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1.4));
  painter.drawEllipse(QRectF(1.5, 4.5, 13, 7));
  painter.setBrush(QColor(60, 60, 60));
  painter.drawEllipse(QRectF(6, 6, 4, 4));
  if (!open) painter.drawLine(QPointF(2, 14), QPointF(14, 2));
  return QIcon(pixmap);
}

void Apply(QLineEdit* box, QAction* action, bool shown) {
  box->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
  action->setIcon(EyeIcon(shown));
  action->setToolTip(shown ? QStringLiteral("Hide password (Ctrl+H)")
                           : QStringLiteral("Show password (Ctrl+H)"));
}

}  // namespace

QAction* AddRevealAction(QLineEdit* box, const char* name, bool shown) {
  auto* action = new QAction(box);
  action->setObjectName(name);
  action->setCheckable(true);
  action->setChecked(shown);
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  action->setShortcutContext(Qt::WindowShortcut);
  box->addAction(action, QLineEdit::TrailingPosition);
  Apply(box, action, shown);
  QObject::connect(action, &QAction::toggled, box,
                   [box, action](bool checked) { Apply(box, action, checked); });
  return action;
}
