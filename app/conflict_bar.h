#pragma once
// The bar above the site list that offers to merge a conflict copy of the
// open archive, one copy at a time; it never blocks the window.

#include <QFrame>
#include <QString>

class QLabel;

class TConflictBar : public QFrame {
  Q_OBJECT
 public:
  explicit TConflictBar(QWidget* parent = nullptr);

  // Shows the offer for the copy `name` (a file name beside the archive).
  void Offer(const QString& name);
  const QString& Copy() const { return copy_; }

 signals:
  void MergeAsked(const QString& name);

 private:
  QLabel* text_;
  QString copy_;
};
