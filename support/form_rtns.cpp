#include "support/form_rtns.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "support/accessor.h"
#include "support/outer_size_fixer.h"

namespace {

TAccessor<TqelFormRtns> gAccessor("FormRtn");

constexpr int kMissing = -999;
constexpr int kNormal = 0;
constexpr int kMinimized = 1;
constexpr int kMaximized = 2;

int WordAsInt(const QStringList& words, qsizetype index, int fallback) {
  if (index >= words.size()) return fallback;
  bool ok = false;
  const int value = words[index].toInt(&ok, 10);
  return ok ? value : fallback;
}

int CurrentState(const QWidget* form) {
  if (form->isMaximized()) return kMaximized;
  return form->isMinimized() ? kMinimized : kNormal;
}

// A window whose size the user cannot change: a dialog with a fixed size,
// or one flagged as such.
bool IsResizable(const QWidget* form) {
  if (form->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint)) return false;
  return form->minimumSize() != form->maximumSize();
}

// The screen the window lies on: the one under its top-left corner, else
// under its centre, else the primary screen.
QScreen* ScreenOf(const QWidget* form) {
  const QRect frame = form->frameGeometry();
  if (QScreen* screen = QGuiApplication::screenAt(frame.topLeft())) return screen;
  if (QScreen* screen = QGuiApplication::screenAt(frame.center())) return screen;
  return QGuiApplication::primaryScreen();
}

void ApplyState(QWidget* form, int state) {
  // Qt keeps the bounds set before as the restored bounds, and a hidden
  // window takes the state when it is shown.
  Qt::WindowStates states = form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == kMinimized) states |= Qt::WindowMinimized;
  if (state == kMaximized) states |= Qt::WindowMaximized;
  form->setWindowState(states);
}

}  // namespace

TqelFormRtns::TqelFormRtns() { gAccessor.Admit(); }

TqelFormRtns::~TqelFormRtns() = default;

TqelFormRtns& FormRtn() { return gAccessor.Get(); }

QString TqelFormRtns::GetPlacement(QWidget* form) const {
  const int state = CurrentState(form);
  if (state == kMaximized) return QStringLiteral("2");
  const QRect frame = form->frameGeometry();
  return QStringLiteral("%1 %2 %3 %4 %5")
      .arg(state)
      .arg(frame.top())
      .arg(frame.left())
      .arg(frame.height())
      .arg(frame.width());
}

void TqelFormRtns::SetPlacement(QWidget* form, const QString& text) {
  const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
  int state = WordAsInt(words, 0, CurrentState(form)) & 0xFF;
  // Only the three window states exist; anything else opens normally.
  if (state > kMaximized) state = kNormal;
  const int top = WordAsInt(words, 1, kMissing);
  const int left = WordAsInt(words, 2, kMissing);
  const int height = WordAsInt(words, 3, kMissing);
  const int width = WordAsInt(words, 4, kMissing);
  if (top != kMissing || left != kMissing || height != kMissing || width != kMissing) {
    ApplyState(form, kNormal);
    form->move(left, top);
    if (IsResizable(form)) SetOuterSize(form, QSize(width, height));
  }
  FitToWorkArea(form);
  ApplyState(form, state);
}

void TqelFormRtns::FitToWorkArea(QWidget* form) {
  const QScreen* screen = ScreenOf(form);
  if (!screen) return;
  const QRect frame = form->frameGeometry();
  const QRect fitted = FitRectToWorkArea(frame, screen->availableGeometry());
  if (fitted.topLeft() != frame.topLeft()) form->move(fitted.topLeft());
}

QRect FitRectToWorkArea(QRect bounds, const QRect& workArea) {
  // Right and bottom are exclusive edges here, unlike QRect::right().
  const int areaRight = workArea.x() + workArea.width();
  const int areaBottom = workArea.y() + workArea.height();
  const auto inside = [&](int x, int y) {
    return workArea.x() <= x && x < areaRight && workArea.y() <= y && y < areaBottom;
  };
  int left = bounds.x();
  int top = bounds.y();
  if (!inside(left, top)) {
    if (left < workArea.x()) left = workArea.x();
    if (top < workArea.y()) top = workArea.y();
  }
  if (!inside(left + bounds.width(), top + bounds.height())) {
    if (left + bounds.width() > areaRight) left = areaRight - bounds.width();
    if (top + bounds.height() > areaBottom) top = areaBottom - bounds.height();
  }
  bounds.moveTo(left, top);
  return bounds;
}
