#pragma once
// The status bar's encryption display: what the archive file on disk has,
// and what the next save will write where that differs, in a warning colour
// while either is unencrypted.

#include <QLabel>
#include <QString>
#include <optional>

#include "archive/crypto/zip_encryption.h"

// "AES-256" when both agree; "No encryption, AES-256 after saving" when
// they differ; "AES-256 after saving" while there is no file (nullopt).
QString EncryptionLabelText(std::optional<TEncryption> onDisk, TEncryption next);
// Whether that state deserves the warning colour.
bool EncryptionLabelWarns(std::optional<TEncryption> onDisk, TEncryption next);

class TEncryptionLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TEncryptionLabel(QWidget* parent = nullptr);

  // The file now has onDisk (nullopt: there is no file yet).
  void ShowOnDisk(std::optional<TEncryption> onDisk, TEncryption next);
  // Only what the next save writes changed (a new password).
  void ShowNext(TEncryption next);
  bool Warns() const { return EncryptionLabelWarns(onDisk_, next_); }

 private:
  void Update();

  std::optional<TEncryption> onDisk_;
  TEncryption next_ = TEncryption::None;
};
