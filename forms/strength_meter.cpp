#include "forms/strength_meter.h"

#include <algorithm>
#include <cmath>

#include "core/password_strength.h"
#include "core/secret_bytes.h"
#include "support/text_convert.h"

namespace {

// The estimator's work grows quickly with the length; past this many
// characters the estimate is far beyond the bar anyway.
constexpr qsizetype kEstimatedChars = 100;

const QColor kWeakColour(192, 0, 0);
const QColor kStrongColour(0, 128, 0);

}  // namespace

TStrengthMeter::TStrengthMeter(QWidget* parent) : QProgressBar(parent) {
  setRange(0, kFullBits);
  setTextVisible(true);
  setAlignment(Qt::AlignCenter);
  SetBits(0.0);
}

void TStrengthMeter::SetBits(double bits) {
  FBits = std::max(0.0, bits);
  const int rounded = static_cast<int>(std::lround(FBits));
  setValue(std::min(rounded, kFullBits));
  const QString text = QStringLiteral("%1 bits").arg(rounded);
  setFormat(Weak() ? text + QStringLiteral(" (weak)") : text);
  setToolTip(format());
  QPalette colours = palette();
  colours.setColor(QPalette::Highlight, Weak() ? kWeakColour : kStrongColour);
  setPalette(colours);
}

void TStrengthMeter::EstimatePassword(const QString& password) {
  const TSecretBytes bytes(ToBytes(password.left(kEstimatedChars)));
  SetBits(PasswordEntropyBits(bytes.view()));
}

bool TStrengthMeter::Weak() const { return FBits < kWeakPasswordBits; }
