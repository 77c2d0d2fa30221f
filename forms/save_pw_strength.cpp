#include "forms/save_pw_strength.h"

#include <QLabel>
#include <QPushButton>

#include "archive/crypto/guess_rates.h"
#include "forms/form_style.h"
#include "forms/strength_meter.h"
#include "generator/generator_entropy.h"
#include "support/text_convert.h"

using form_style::Place;

namespace {

const QString kShortTimeWarning =
    QStringLiteral("Less than a century: a passphrase of random words is stronger.");
const QString kNoPasswordNeededWarning =
    QStringLiteral("The traditional encryption does not depend on the password: choose AES-256.");
const QColor kWarningColour(192, 0, 0);

QLabel* Line(QWidget* parent, const char* name, QRect bounds) {
  auto* label =
      Place<QLabel>(parent, name, bounds.left(), bounds.top(), bounds.width(), bounds.height());
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

TSavePwStrength::TSavePwStrength(QWidget* parent, int width) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlStrength"));
  const int inner = width - 32;
  pgbStrength = Place<TStrengthMeter>(this, "pgbStrength", 16, 0, inner, 16);
  lblGuessTime = Line(this, "lblGuessTime", {16, 20, inner, 16});
  lblStrengthWarning = Line(this, "lblStrengthWarning", {16, 40, inner - 110, 30});
  QPalette colours = lblStrengthWarning->palette();
  colours.setColor(QPalette::WindowText, kWarningColour);
  lblStrengthWarning->setPalette(colours);
  btnPassphrase = Place<QPushButton>(this, "btnPassphrase", 16 + inner - 100, 40, 100, 25);
  btnPassphrase->setText(QStringLiteral("&Passphrase"));
  btnPassphrase->setToolTip(QStringLiteral("Make a passphrase of six random words"));
  lblPassphrase = Line(this, "lblPassphrase", {16, 74, inner, 16});
  lblPassphrase->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblPassphrase->hide();
  connect(btnPassphrase, &QPushButton::clicked, this, &TSavePwStrength::btnPassphraseClick);
  Update(QString(), TEncryption::None);
}

void TSavePwStrength::Update(const QString& password, TEncryption encryption) {
  // A passphrase made here has a known entropy; the estimator would guess.
  const bool madeHere = !FPassphrase.isEmpty() && password == FPassphrase;
  if (madeHere)
    pgbStrength->SetBits(PassphraseEntropyBits(TPassphraseOptions{}));
  else
    pgbStrength->EstimatePassword(password);
  const double bits = pgbStrength->Bits();
  const bool empty = password.isEmpty();
  lblGuessTime->setText(empty ? QString()
                              : QStringLiteral("Time to guess: ") +
                                    ToQString(GuessTimeText(bits, encryption)));
  // The passphrase helps where guessing is the attack; an encryption broken
  // without the password needs another choice instead.
  const bool guessable = ExpectedGuessSeconds(bits, encryption).has_value();
  const bool warn = !empty && GuessTimeIsShort(bits, encryption);
  lblStrengthWarning->setText(!warn       ? QString()
                              : guessable ? kShortTimeWarning
                                          : kNoPasswordNeededWarning);
  btnPassphrase->setVisible(warn && guessable);
  // A passphrase stays on show only while it is the password.
  lblPassphrase->setVisible(madeHere);
}

void TSavePwStrength::btnPassphraseClick() {
  FPassphrase = ToQString(GeneratePassphrase(TPassphraseOptions{}));
  lblPassphrase->setText(QStringLiteral("Passphrase: ") + FPassphrase);
  emit PassphraseMade(FPassphrase);
}
