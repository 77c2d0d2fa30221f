#pragma once
// The export dialog: a format list, the clear-text warning, OK and Cancel.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

class TfrmExport : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmExport(const QStringList& formats, QWidget* parent = nullptr);

  int Chosen() const;
  void SetChosen(int index);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* lblFormat = nullptr;
  QComboBox* cbxExportFormat = nullptr;
  QLabel* lblClearText = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
};
