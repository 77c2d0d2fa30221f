#include "support/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<bool(const QString&)>& Opener() {
  static std::function<bool(const QString&)> opener;
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

bool ShellOpen(const QString& address) {
  if (address.isEmpty()) return false;
  if (Opener()) return Opener()(address);
  return QDesktopServices::openUrl(ToUrl(address));
}

void SetShellOpener(std::function<void(const QString&)> opener) {
  if (!opener) return SetCheckedShellOpener(nullptr);
  SetCheckedShellOpener([opener = std::move(opener)](const QString& address) {
    opener(address);
    return true;
  });
}

void SetCheckedShellOpener(std::function<bool(const QString&)> opener) {
  Opener() = std::move(opener);
}
