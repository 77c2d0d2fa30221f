#pragma once
// Window bounds that include the frame, as placements are stored and as
// dialogs are centred. The frame is known only once the window manager has
// framed the window. Until then the frame of another framed window of the
// program stands in for it (no frame when there is none), and the bounds
// are set again when the real frame first becomes known, so that a stored
// size does not grow by the frame on every run and a centred dialog is
// centred with its title bar.

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Gives form the outer size outer (frame included).
void SetOuterSize(QWidget* form, QSize outer);
// Centres form, frame included, on the work area of its screen.
void CentreOuterOnScreen(QWidget* form);

// The arithmetic of both, on plain values:
// the inner size of a window whose outer size is outer;
QSize InnerSizeFor(QSize outer, const QMargins& frame);
// the outer top-left corner that centres a window with this inner size and
// frame on area (what a window's move() takes).
QPoint CentredOuterTopLeft(QSize inner, const QMargins& frame, const QRect& area);

// Applies an outer size or a centring again once the window's real frame is
// known, then goes. One fixer per window and job: a newer one replaces an
// older one.
class TOuterSizeFixer : public QObject {
  Q_OBJECT
 public:
  enum class Job { Size, Centre };
  TOuterSizeFixer(QWidget* form, Job job, QSize outer = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* form_;
  Job job_;
  QSize outer_;
};
