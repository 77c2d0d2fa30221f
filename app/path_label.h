#pragma once
// The status bar's path display: a long path is cut in the middle, where
// the folders that matter least are, and the whole path is in the tooltip.
// It only displays; the window holds the path itself.

#include <QLabel>
#include <QString>

class TPathLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TPathLabel(QWidget* parent = nullptr);

  void ShowPath(const QString& path);

  // Never wider than what the bar gives it, so the size grip stays put.
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Elide();

  QString shownPath_;
};
