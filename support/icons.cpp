#include "support/icons.h"

#include <QFile>
#include <QStringList>
#include <iterator>

// The bundled pictures live in this static library; its resource
// registration is not linked in unless something refers to it.
static void RegisterBundledIcons() { Q_INIT_RESOURCE(support); }

namespace {

struct TIconSource {
  const char* themeNames[2];  // freedesktop names, tried in order; unused ones null
  const char* bundled;        // our own drawing in the resources
};

// By role, in the order of IconRole; the program's own icon comes last.
constexpr TIconSource kSources[] = {
    {{"list-add"}, "add"},
    {{"document-edit", "document-properties"}, "modify"},
    {{"list-remove", "edit-delete"}, "delete"},
    {{"system-run", "view-refresh"}, "generate"},
    {{"document-new"}, "new"},
    {{"document-open"}, "open"},
    {{"document-save"}, "save"},
    {{"document-save-as"}, "save-as"},
    {{"window-close", "document-close"}, "close"},
    {{"emblem-symbolic-link", "user-desktop"}, "shortcut"},
    {{"edit-copy"}, "clipboard"},
    {{"internet-web-browser", "applications-internet"}, "launch-url"},
    {{kAppIconName}, ""},
};
static_assert(std::size(kSources) == static_cast<std::size_t>(IconRole::App) + 1);

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
  const TIconSource& source = kSources[static_cast<std::size_t>(role)];
  for (const char* themeName : source.themeNames) {
    if (themeName && QIcon::hasThemeIcon(QLatin1String(themeName)))
      return QIcon::fromTheme(QLatin1String(themeName));
  }
  return BundledIcon(QLatin1String(source.bundled));
}

QByteArray AppIconSvg() {
  EnsureBundledIcons();
  QFile file(kAppSvg);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
