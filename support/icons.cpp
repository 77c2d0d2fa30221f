#include "support/icons.h"

#include <QFile>
#include <QStringList>

// The bundled pictures live in this static library; its resource
// registration is not linked in unless something refers to it.
static void RegisterBundledIcons() { Q_INIT_RESOURCE(support); }

namespace {

struct TIconSource {
  QStringList themeNames;  // freedesktop names, tried in order
  QString bundled;         // our own drawing in the resources
};

TIconSource SourceOf(IconRole role) {
  switch (role) {
    case IconRole::Add:
      return {{"list-add"}, "add"};
    case IconRole::Modify:
      return {{"document-edit", "document-properties"}, "modify"};
    case IconRole::Delete:
      return {{"list-remove", "edit-delete"}, "delete"};
    case IconRole::Generate:
      return {{"system-run", "view-refresh"}, "generate"};
    case IconRole::New:
      return {{"document-new"}, "new"};
    case IconRole::Open:
      return {{"document-open"}, "open"};
    case IconRole::Save:
      return {{"document-save"}, "save"};
    case IconRole::SaveAs:
      return {{"document-save-as"}, "save-as"};
    case IconRole::Close:
      return {{"window-close", "document-close"}, "close"};
    case IconRole::Shortcut:
      return {{"emblem-symbolic-link", "user-desktop"}, "shortcut"};
    case IconRole::Clipboard:
      return {{"edit-copy"}, "clipboard"};
    case IconRole::LaunchUrl:
      return {{"internet-web-browser", "applications-internet"}, "launch-url"};
    case IconRole::App:
      break;
  }
  return {{kAppIconName}, {}};
}

const QString kAppSvg = QStringLiteral(":/vornix/vornix.svg");

void EnsureBundledIcons() {
  static const bool registered = (RegisterBundledIcons(), true);
  Q_UNUSED(registered);
}

QIcon BundledIcon(const QString& name) {
  EnsureBundledIcons();
  if (name.isEmpty()) {
    QIcon app(kAppSvg);
    // The PNG keeps the About box's 32x32 logo where SVG support is missing.
    app.addFile(QStringLiteral(":/vornix/vornix-32.png"), QSize(32, 32));
    return app;
  }
  return QIcon(QStringLiteral(":/vornix/icons/%1.svg").arg(name));
}

}  // namespace

QIcon VornixIcon(IconRole role) {
  const TIconSource source = SourceOf(role);
  for (const QString& themeName : source.themeNames) {
    if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
  }
  return BundledIcon(source.bundled);
}

QByteArray AppIconSvg() {
  EnsureBundledIcons();
  QFile file(kAppSvg);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
