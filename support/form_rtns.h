#pragma once
// Window placement as a short text "state top left height width" (or "2"
// when maximised), applied back with a check that the window lands on the
// visible work area.

#include <QRect>
#include <QString>

#include "support/accessor.h"

class QWidget;

class TqelFormRtns : private TAccessed {
 public:
  // Throws std::runtime_error("use FormRtn accessor function") unless made by FormRtn().
  TqelFormRtns();
  ~TqelFormRtns();

  QString GetPlacement(QWidget* form) const;
  void SetPlacement(QWidget* form, const QString& text);
  void FitToWorkArea(QWidget* form);
};

TqelFormRtns& FormRtn();

// The arithmetic of FitToWorkArea on plain rectangles (outer frame bounds).
QRect FitRectToWorkArea(QRect bounds, const QRect& workArea);
