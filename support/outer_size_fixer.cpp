#include "support/outer_size_fixer.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include "support/form_rtns.h"

namespace {

// The frame the window manager has put around form; none before it has.
QMargins KnownFrame(const QWidget* form) {
  const QRect outer = form->frameGeometry();
  const QRect inner = form->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

// Until form is framed: the frame of another framed window of the program,
// which the same window manager decorates alike.
QMargins FrameOrEstimate(const QWidget* form) {
  const QMargins known = KnownFrame(form);
  if (!known.isNull()) return known;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == form || !other->isVisible()) continue;
    const QMargins frame = KnownFrame(other);
    if (!frame.isNull()) return frame;
  }
  return {};
}

const QScreen* ScreenOf(const QWidget* form) {
  return form->screen() ? form->screen() : QGuiApplication::primaryScreen();
}

void ApplySize(QWidget* form, QSize outer, const QMargins& frame) {
  form->resize(InnerSizeFor(outer, frame));
}

// What move() must be given to put the frame's corner at outerTopLeft. Qt
// takes it as the frame's position once it knows the frame, and while the
// window is not yet created (the window manager then puts the frame
// there); a created window that has not been framed yet is placed by its
// inside.
QPoint MoveTarget(const QWidget* form, QPoint outerTopLeft, const QMargins& frame) {
  const bool placedByInside =
      form->testAttribute(Qt::WA_WState_Created) && KnownFrame(form).isNull();
  return placedByInside ? outerTopLeft + QPoint(frame.left(), frame.top()) : outerTopLeft;
}

void ApplyCentre(QWidget* form, const QMargins& frame) {
  const QScreen* screen = ScreenOf(form);
  if (!screen) return;
  const QPoint outerTopLeft = CentredOuterTopLeft(form->size(), frame, screen->availableGeometry());
  form->move(MoveTarget(form, outerTopLeft, frame));
}

// Events after which the frame may have become known: a framed window is
// usually moved by its frame, but one placed by its inside keeps its
// position, and the first sign of it is its first paint or activation.
bool MayFollowFraming(QEvent::Type type) {
  switch (type) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
    case QEvent::Paint:
    case QEvent::WindowActivate:
      return true;
    default:
      return false;
  }
}

}  // namespace

QSize InnerSizeFor(QSize outer, const QMargins& frame) { return outer.shrunkBy(frame); }

QPoint CentredOuterTopLeft(QSize inner, const QMargins& frame, const QRect& area) {
  const QSize outer = inner.grownBy(frame);
  return {area.x() + (area.width() - outer.width()) / 2,
          area.y() + (area.height() - outer.height()) / 2};
}

void SetOuterSize(QWidget* form, QSize outer) {
  ApplySize(form, outer, FrameOrEstimate(form));
  if (KnownFrame(form).isNull()) new TOuterSizeFixer(form, TOuterSizeFixer::Job::Size, outer);
}

void CentreOuterOnScreen(QWidget* form) {
  ApplyCentre(form, FrameOrEstimate(form));
  if (KnownFrame(form).isNull()) new TOuterSizeFixer(form, TOuterSizeFixer::Job::Centre);
}

TOuterSizeFixer::TOuterSizeFixer(QWidget* form, Job job, QSize outer)
    : QObject(form), form_(form), job_(job), outer_(outer) {
  for (auto* older : form->findChildren<TOuterSizeFixer*>(Qt::FindDirectChildrenOnly)) {
    if (older == this || older->job_ != job) continue;
    // Unhooked at once: the older one must not act before it is deleted.
    form->removeEventFilter(older);
    older->deleteLater();
  }
  form->installEventFilter(this);
}

bool TOuterSizeFixer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != form_ || !MayFollowFraming(event->type())) return false;
  const QMargins frame = KnownFrame(form_);
  if (frame.isNull()) return false;
  form_->removeEventFilter(this);
  deleteLater();
  // A window the user has already maximised or minimised keeps its state;
  // its restored bounds are not ours to change any more.
  if (form_->windowState() != Qt::WindowNoState) return false;
  if (job_ == Job::Size) {
    ApplySize(form_, outer_, frame);
    FormRtn().FitToWorkArea(form_);
  } else {
    ApplyCentre(form_, frame);
  }
  return false;
}
