#pragma once
// Watches the window's archive file and tells when something may have
// changed it: a sync tool, a second window, vornix-cli. Whether it really
// changed is the archive session's to say (TArchiveSession::ChangedOnDisk).

#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QTimer;

class TArchiveWatch : public QObject {
  Q_OBJECT
 public:
  explicit TArchiveWatch(QObject* parent = nullptr);

  // The file at path is the one the window holds.
  void Watch(const QString& path);
  void Forget();

  // Sends Touched again after the settling time.
  void CheckLater();

 signals:
  // The remembered file may have changed; sent once a burst of file system
  // events has settled. The receiver checks ChangedOnDisk.
  void Touched();

 private:
  void WatchAgain();
  void OnEvent();

  QString path_;
  QFileSystemWatcher* watcher_;
  QTimer* settle_;
};
