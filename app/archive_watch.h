#pragma once
// Remembers what the window last read from or wrote to its archive file and
// tells when another program has changed that file since: a sync tool, a
// second window, vornix-cli.

#include <QObject>
#include <QString>

#include "archive/storage/file_snapshot.h"

class QFileSystemWatcher;
class QTimer;

class TArchiveWatch : public QObject {
  Q_OBJECT
 public:
  explicit TArchiveWatch(QObject* parent = nullptr);

  // The file at path is now what the window holds; snapshot was taken
  // before it was read (or after it was written).
  void Remember(const QString& path, const TFileSnapshot& snapshot);
  void Forget();

  // Whether the file at path differs from what was remembered for it. A
  // path never remembered (a new name from Save As) and a file that has
  // gone away hold nothing that could be lost: both count as unchanged.
  bool ChangedOnDisk(const QString& path) const;
  // Sends Touched again after the settling time.
  void CheckLater();

 signals:
  // The remembered file may have changed; sent once a burst of file system
  // events has settled. The receiver checks ChangedOnDisk.
  void Touched();

 private:
  void Watch();
  void OnEvent();

  QString path_;
  TFileSnapshot snapshot_;
  QFileSystemWatcher* watcher_;
  QTimer* settle_;
};
