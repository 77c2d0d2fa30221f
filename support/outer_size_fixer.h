#pragma once
// Sizing a window by its outer bounds (frame included), as placements are
// stored. The frame is known only once the window manager has framed the
// window; until then the size is applied as the inner size and corrected
// when the frame first becomes known, so a stored size does not grow by the
// frame on every run.

#include <QObject>
#include <QSize>

class QWidget;

void SetOuterSize(QWidget* form, QSize outer);

class TOuterSizeFixer : public QObject {
  Q_OBJECT
 public:
  TOuterSizeFixer(QWidget* form, QSize outer);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* form_;
  QSize outer_;
};
