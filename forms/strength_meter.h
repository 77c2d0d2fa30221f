#pragma once
// A bar that shows a password's strength in bits: in the warning colour
// below the weak threshold (core/password_strength.h), else in green.

#include <QProgressBar>
#include <QString>

class TStrengthMeter : public QProgressBar {
  Q_OBJECT

 public:
  // The bar is full from this many bits on.
  static constexpr int kFullBits = 128;

  explicit TStrengthMeter(QWidget* parent = nullptr);

  // Shows an exact figure (a generated password's entropy).
  void SetBits(double bits);
  // Shows the estimate for a typed password.
  void EstimatePassword(const QString& password);

  double Bits() const { return FBits; }
  bool Weak() const;

 private:
  double FBits = 0.0;
};
