#pragma once
// The strength part of the new archive password dialog: a meter, the
// expected time for one GPU to guess the password against the chosen
// encryption, and, below about a century, a warning with an offer of a
// passphrase. It never refuses a password.

#include <QString>
#include <QWidget>

#include "archive/crypto/zip_encryption.h"

class QLabel;
class QPushButton;
class TStrengthMeter;

class TSavePwStrength : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 96;

  TSavePwStrength(QWidget* parent, int width);

  void Update(const QString& password, TEncryption encryption);

 signals:
  // A passphrase was made on request; it is shown in the panel too, so that
  // the user can write it down.
  void PassphraseMade(const QString& passphrase);

 private:
  void btnPassphraseClick();

  TStrengthMeter* pgbStrength = nullptr;
  QLabel* lblGuessTime = nullptr;
  QLabel* lblStrengthWarning = nullptr;
  QPushButton* btnPassphrase = nullptr;
  QLabel* lblPassphrase = nullptr;
  QString FPassphrase;
};
