#include "support/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<void(const QString&)>& Opener() {
  static std::function<void(const QString&)> opener;
  return opener;
}

QUrl ToUrl(const QString& address) {
  // Addresses with a scheme ("http:", "mailto:") are taken as written; a
  // bare host or path is completed the way a browser's address bar would.
  const QUrl url(address, QUrl::TolerantMode);
  if (url.isValid() && !url.scheme().isEmpty()) return url;
  return QUrl::fromUserInput(address);
}

}  // namespace

void ShellOpen(const QString& address) {
  if (address.isEmpty()) return;
  if (Opener()) {
    Opener()(address);
    return;
  }
  // Whether a browser or mail program took the address is not reported.
  QDesktopServices::openUrl(ToUrl(address));
}

void SetShellOpener(std::function<void(const QString&)> opener) { Opener() = std::move(opener); }
