#include "app/encryption_label.h"

#include <QApplication>
#include <QPalette>

namespace {

const QColor kWarningColour(0xB0, 0x00, 0x20);

QString DisplayName(TEncryption encryption) {
  if (encryption == TEncryption::None) return QStringLiteral("No encryption");
  if (encryption == TEncryption::Traditional) return QStringLiteral("Traditional");
  return QString::fromLatin1(EncryptionName(encryption));  // "AES-256" and its kin
}

// The name in the middle of a sentence.
QString InSentence(TEncryption encryption) {
  return encryption == TEncryption::None ? QStringLiteral("no encryption")
                                         : DisplayName(encryption);
}

}  // namespace

QString EncryptionLabelText(std::optional<TEncryption> onDisk, TEncryption next) {
  if (!onDisk) return DisplayName(next) + QStringLiteral(" after saving");
  if (*onDisk == next) return DisplayName(next);
  return DisplayName(*onDisk) + QStringLiteral(", ") + InSentence(next) +
         QStringLiteral(" after saving");
}

bool EncryptionLabelWarns(std::optional<TEncryption> onDisk, TEncryption next) {
  return next == TEncryption::None || onDisk == TEncryption::None;
}

TEncryptionLabel::TEncryptionLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setToolTip(QStringLiteral("Encryption of the archive"));
  Update();
}

void TEncryptionLabel::ShowOnDisk(std::optional<TEncryption> onDisk, TEncryption next) {
  onDisk_ = onDisk;
  next_ = next;
  Update();
}

void TEncryptionLabel::ShowNext(TEncryption next) {
  next_ = next;
  Update();
}

void TEncryptionLabel::Update() {
  setText(EncryptionLabelText(onDisk_, next_));
  // The theme's text colour, or a dark red that reads on light and grey bars.
  QPalette colours = QApplication::palette(this);
  if (Warns()) colours.setColor(QPalette::WindowText, kWarningColour);
  setPalette(colours);
}
