#include "support/state_storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <stdexcept>

#include "support/settings_text.h"
#include "support/settings_value.h"
#include "support/text_convert.h"

namespace {

[[noreturn]] void Fail(const QString& message) { throw std::runtime_error(ToBytes(message)); }

// The per-user store skips a failed write silently, as with a registry key
// that cannot be created.
void FailWrite(const TStateStorage& storage) {
  if (!storage.writeErrorText.isEmpty()) Fail(storage.writeErrorText);
}

bool IsReopenName(const QString& name) {
  for (int i = 0; i < 5; ++i) {
    if (name.compare(QStringLiteral("Reopen%1").arg(i), Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

// The file's bytes, empty when there is no file, nullopt when it exists but
// cannot be read.
std::optional<QByteArray> ReadExisting(const QString& path) {
  QFile file(path);
  if (!file.exists()) return QByteArray();
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return bytes;
}

// The settings name the archives in use, so only their owner may read them,
// whatever mode an older file had. QSaveFile removes its temporary file when
// it is not committed.
bool WritePrivateFile(const QString& path, const QByteArray& bytes) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
         file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

void ReadStateStorage(const TStateStorage& storage,
                      const std::function<void(const QString&, const QString&)>& add) {
  const std::optional<QByteArray> bytes = ReadExisting(storage.path);
  if (!bytes) return;
  for (const QByteArray& line : TSettingsText(*bytes).SectionLines(storage.section)) {
    if (const auto entry = ParseSettingsEntry(line)) {
      add(entry->first, SettingsValueFromText(entry->second));
    }
  }
}

void WriteStateStorage(const TStateStorage& storage, const TStateEntries& entries) {
  const std::optional<QByteArray> old = ReadExisting(storage.path);
  if (!old) return FailWrite(storage);  // replacing it would lose what it holds
  TSettingsText text(*old);
  QList<QByteArray> lines;
  QStringList written;
  QString refused;
  for (const auto& [name, value] : entries) {
    const std::optional<QByteArray> line = SettingsEntryLine(name, SettingsValueToText(value));
    if (!line) {
      if (refused.isEmpty()) refused = name;
      continue;
    }
    lines.append(*line);
    written.append(name);
  }
  // A name emptied during the run keeps its stored value and comes back at
  // the next start, as it always has; lines that are no entries stay too.
  for (const QByteArray& line : text.SectionLines(storage.section)) {
    const auto entry = ParseSettingsEntry(line);
    if (!entry ||
        (!IsReopenName(entry->first) && !written.contains(entry->first, Qt::CaseInsensitive))) {
      lines.append(line);
    }
  }
  text.SetSectionLines(storage.section, lines);
  if (!WritePrivateFile(storage.path, text.Bytes())) return FailWrite(storage);
  if (!refused.isEmpty()) Fail(QStringLiteral("Failed to set data for '%1'").arg(refused));
}
