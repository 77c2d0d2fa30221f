#pragma once
// Asks for a new archive password twice, and how the archive is to be
// encrypted with it.

#include <QDialog>
#include <QString>

#include "archive/crypto/zip_encryption.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TSavePwStrength;

class TfrmSavePW : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmSavePW(QWidget* parent = nullptr);

  // The accepted password, exactly as typed; empty unless closed with OK.
  QString Password() const { return FPassword; }
  // The encryption choice: AES-256 (hardened or not) or the traditional
  // scheme.
  bool Aes256() const;
  void SetAes256(bool aes256);
  // What the choice encrypts with: Traditional, Aes256 or Aes256Hardened.
  TEncryption ChosenEncryption() const;
  void SetEncryption(TEncryption encryption);

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void btnOKClick();
  void btnCancelClick();
  void BuildEncryptionChoice();
  void UpdateStrength();
  void TakePassphrase(const QString& passphrase);

  QString FPassword;
  QLabel* lblPW = nullptr;
  QLineEdit* edtPW = nullptr;
  QLabel* lblConfirm = nullptr;
  QLineEdit* edtConfirm = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QGroupBox* gbxEncryption = nullptr;
  QRadioButton* rbtTraditional = nullptr;
  QRadioButton* rbtAes256 = nullptr;
  QRadioButton* rbtHardened = nullptr;
  TSavePwStrength* pnlStrength = nullptr;
};
