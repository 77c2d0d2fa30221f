#pragma once
// The program's version record, compiled in from the build settings.

#include <QString>

class TqelVersionInfo {
 public:
  // The program's own executable by default.
  QString FileName;

  QString ProductName() const;
  QString LegalCopyright() const;
  QString FileVersion() const;
};

// The maker's web host and e-mail address (build settings).
QString MakerWebHost();
QString MakerEmail();

// "http://<host>/vnxVerChk.php?mj=..&mn=..&rl=..&bd=.." from the words of
// fileVersion split at runs of ".".
QString VersionCheckAddress(const QString& host, const QString& fileVersion);
