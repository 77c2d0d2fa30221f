#pragma once
// The selected site at a glance, beside the list: its name, user, URL (a
// link), masked password with its strength, last change, current one-time
// code and notes. It keeps copies of the fields only while they are shown.

#include <QFrame>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/change_date.h"
#include "core/totp.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class TqelPwRec;

class TDetailsPane : public QFrame {
  Q_OBJECT
 public:
  explicit TDetailsPane(QWidget* parent = nullptr);

  // Shows the record's fields, or nothing for nullptr.
  void ShowSite(const TqelPwRec* rec);
  void SetChangeDates(TChangeDateFn dates);
  // Seam for tests: the Unix time the one-time code is computed for.
  void SetClock(std::function<std::int64_t()> clock);

 signals:
  void OpenUrl(const QString& url);

 private:
  void ShowCode();

  QLabel* lblDetailSite;
  QLabel* lblDetailUser;
  QLabel* lblDetailURL;
  QLineEdit* edtDetailPW;
  QAction* actDetailShowPW;
  QProgressBar* pbrDetailStrength;
  QLabel* lblDetailChanged;
  QLabel* lblDetailCode;
  QPlainTextEdit* mmoDetailNotes;
  QTimer* FCodeTimer;

  QString FUrl;
  std::optional<TTotpParams> FTotp;
  QString FTotpError;
  TChangeDateFn FDates = NoChangeDates();
  std::function<std::int64_t()> FClock = UnixNow;
};
