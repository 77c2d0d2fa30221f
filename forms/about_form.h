#pragma once
// The About box: product name, version, copyright line, and the date and
// size of the program file. Opens in the middle of the screen.

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  // The file whose date and size are shown; the running program by default.
  void SetProgramFile(const QString& path) { FProgramFile = path; }

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void FormShow();
  void btnCloseClick();

  QString FProgramFile;
  bool FShown = false;

  QLabel* imgLogo = nullptr;
  QLabel* lblAppName = nullptr;
  QLabel* lblBuild = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblDate = nullptr;
  QLabel* lblSize = nullptr;
  QLabel* lblCredits = nullptr;
  QPushButton* btnClose = nullptr;
};
