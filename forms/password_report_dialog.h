#pragma once
// The password report in a window: one row per problem a site has (empty,
// weak, reused with its group, unchanged for over a year) with the date of
// its last change. Passwords are never shown. Opening a row (double-click,
// Enter or "Open site") closes the report and names that site.

#include <QDialog>
#include <vector>

#include "core/password_report.h"

class QPushButton;
class QTreeWidget;

class TfrmPasswordReport : public QDialog {
  Q_OBJECT
 public:
  TfrmPasswordReport(const std::vector<const TqelPwRec*>& sites, const TChangeDateFn& dates,
                     TChangeTime now, QWidget* parent = nullptr);
  // The index into `sites` of the row opened; -1 while none was.
  int Chosen() const { return FChosen; }

 private:
  void OpenCurrent();

  QTreeWidget* tvwReport;
  QPushButton* btnOpenSite;
  int FChosen = -1;
};

// Shows the report; returns the index of the site to open, or -1.
int ExecutePasswordReport(const std::vector<const TqelPwRec*>& sites, const TChangeDateFn& dates);
