#include "support/outer_size_fixer.h"

#include <QEvent>
#include <QWidget>

#include "support/form_rtns.h"

namespace {

QSize FrameExtra(const QWidget* form) { return form->frameGeometry().size() - form->size(); }

}  // namespace

void SetOuterSize(QWidget* form, QSize outer) {
  const QSize extra = FrameExtra(form);
  if (!extra.isNull()) {
    form->resize(outer - extra);
    return;
  }
  form->resize(outer);
  // A window that is not yet shown has no frame; fix the size once it has.
  if (!form->isVisible()) new TOuterSizeFixer(form, outer);  // owned by form
}

TOuterSizeFixer::TOuterSizeFixer(QWidget* form, QSize outer)
    : QObject(form), form_(form), outer_(outer) {
  // One fixer per window: a newer placement replaces an older one.
  for (auto* older : form->findChildren<TOuterSizeFixer*>(Qt::FindDirectChildrenOnly)) {
    if (older != this) older->deleteLater();
  }
  form->installEventFilter(this);
}

bool TOuterSizeFixer::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched != form_ || (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show &&
                           type != QEvent::WindowStateChange)) {
    return false;
  }
  const QSize extra = FrameExtra(form_);
  if (extra.isNull()) return false;
  form_->removeEventFilter(this);
  deleteLater();
  if (form_->windowState() == Qt::WindowNoState) {
    form_->resize(outer_ - extra);
    FormRtn().FitToWorkArea(form_);
  }
  return false;
}
