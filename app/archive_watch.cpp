#include "app/archive_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {

// A program that rewrites a file in place sends many events; reading it
// half-written would only report a damaged archive.
constexpr int kSettleMs = 250;

}  // namespace

TArchiveWatch::TArchiveWatch(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)) {
  settle_->setSingleShot(true);
  settle_->setInterval(kSettleMs);
  connect(settle_, &QTimer::timeout, this, &TArchiveWatch::Touched);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TArchiveWatch::OnEvent);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &TArchiveWatch::OnEvent);
}

void TArchiveWatch::Watch(const QString& path) {
  if (path != path_) Forget();
  path_ = path;
  WatchAgain();
}

void TArchiveWatch::Forget() {
  settle_->stop();
  const QStringList watched = watcher_->files() + watcher_->directories();
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  path_.clear();
}

void TArchiveWatch::CheckLater() { settle_->start(); }

// Saves replace the file by renaming another over it, and the watcher then
// loses the file: the folder is watched too, and the file is watched again
// whenever it is back.
void TArchiveWatch::WatchAgain() {
  if (path_.isEmpty()) return;
  const QString folder = QFileInfo(path_).absolutePath();
  if (!watcher_->directories().contains(folder)) watcher_->addPath(folder);
  if (!watcher_->files().contains(path_) && QFileInfo::exists(path_)) watcher_->addPath(path_);
}

void TArchiveWatch::OnEvent() {
  WatchAgain();
  CheckLater();
}
