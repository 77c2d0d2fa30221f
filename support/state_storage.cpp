#include "support/state_storage.h"

#include <QFileInfo>
#include <QSettings>
#include <stdexcept>

#include "support/text_convert.h"

namespace {

[[noreturn]] void Fail(const QString& message) { throw std::runtime_error(ToBytes(message)); }

// QSettings::NativeFormat is an INI file on this platform; both variants
// use the same reader so their files look alike.
struct TOpenSettings {
  QSettings settings;
  explicit TOpenSettings(const TStateStorage& storage)
      : settings(storage.path, QSettings::IniFormat) {
    if (!storage.group.isEmpty()) settings.beginGroup(storage.group);
  }
};

bool IsReopenName(const QString& key) {
  for (int i = 0; i < 5; ++i) {
    if (key.compare(QStringLiteral("Reopen%1").arg(i), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

bool CanBePlainKey(const QString& name) {
  return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\');
}

// Removes every stored key equal to name but for letter case.
void RemoveCaseVariants(QSettings& settings, QStringList& keys, const QString& name) {
  for (auto it = keys.begin(); it != keys.end();) {
    if (it->compare(name, Qt::CaseInsensitive) == 0 && *it != name) {
      settings.remove(*it);
      it = keys.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

void ReadStateStorage(const TStateStorage& storage,
                      const std::function<void(const QString&, const QString&)>& add) {
  if (!QFileInfo::exists(storage.path)) return;
  TOpenSettings open(storage);
  for (const QString& key : open.settings.childKeys()) {
    const QVariant value = open.settings.value(key);
    // Lists ("a, b" unquoted), byte arrays and variants written by other
    // tools are not the plain text a setting holds.
    if (value.typeId() != QMetaType::QString) {
      Fail(QStringLiteral("Invalid data type for '%1'").arg(key));
    }
    add(key, value.toString());
  }
}

void WriteStateStorage(const TStateStorage& storage, const TStateEntries& entries) {
  TOpenSettings open(storage);
  QSettings& settings = open.settings;
  QStringList keys = settings.childKeys();
  for (auto it = keys.begin(); it != keys.end();) {
    if (IsReopenName(*it)) {
      settings.remove(*it);
      it = keys.erase(it);
    } else {
      ++it;
    }
  }
  QString refused;
  for (const auto& [name, value] : entries) {
    if (!CanBePlainKey(name)) {
      if (refused.isEmpty()) refused = name;
      continue;
    }
    RemoveCaseVariants(settings, keys, name);
    settings.setValue(name, value);
  }
  settings.sync();
  if (settings.status() != QSettings::NoError) {
    if (storage.writeErrorText.isEmpty()) return;
    Fail(storage.writeErrorText);
  }
  if (!refused.isEmpty()) Fail(QStringLiteral("Failed to set data for '%1'").arg(refused));
}
