#pragma once
// Asks for a new archive password twice, and how the archive is to be
// encrypted with it.

#include "archive/crypto/zip_encryption.h"
#include "forms/password_prompt.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class TSavePwStrength;

class TfrmSavePW : public TPasswordPrompt {
  Q_OBJECT

 public:
  explicit TfrmSavePW(QWidget* parent = nullptr);

  // The encryption choice: AES-256 (hardened or not) or the traditional
  // scheme.
  bool Aes256() const;
  void SetAes256(bool aes256);
  // What the choice encrypts with: Traditional, Aes256 or Aes256Hardened.
  TEncryption ChosenEncryption() const;
  void SetEncryption(TEncryption encryption);

 protected:
  // The confirmation must match the password too.
  bool PasswordAcceptable() override;

 private:
  void BuildEncryptionChoice();
  void UpdateStrength();
  void TakePassphrase(const QString& passphrase);

  QLabel* lblConfirm = nullptr;
  QLineEdit* edtConfirm = nullptr;
  QGroupBox* gbxEncryption = nullptr;
  QRadioButton* rbtTraditional = nullptr;
  QRadioButton* rbtAes256 = nullptr;
  QRadioButton* rbtHardened = nullptr;
  TSavePwStrength* pnlStrength = nullptr;
};
