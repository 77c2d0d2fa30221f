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

struct TSection {
  QList<QByteArray> lines;
  QStringList written;  // names of the lines
  QString refused;      // the first name no line can hold
};

TSection EntryLines(const TStateEntries& entries) {
  TSection section;
  for (const auto& [name, value] : entries) {
    const std::optional<QByteArray> line = SettingsEntryLine(name, SettingsValueToText(value));
    if (line) {
      section.lines.append(*line);
      section.written.append(name);
    } else if (section.refused.isEmpty()) {
      section.refused = name;
    }
  }
  return section;
}

// Whether a stored line stays beside the store's entries. A name emptied
// during the run keeps its stored value and comes back at the next start, as
// it always has; lines that are no entries stay too. The Reopen entries are
// the store's alone.
bool IsKept(const QByteArray& line, const QStringList& written) {
  const auto entry = ParseSettingsEntry(line);
  return !entry ||
         (!IsReopenName(entry->first) && !written.contains(entry->first, Qt::CaseInsensitive));
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
  TSection section = EntryLines(entries);
  for (const QByteArray& line : text.SectionLines(storage.section)) {
    if (IsKept(line, section.written)) section.lines.append(line);
  }
  text.SetSectionLines(storage.section, section.lines);
  if (!WritePrivateFile(storage.path, text.Bytes())) return FailWrite(storage);
  if (!section.refused.isEmpty()) {
    Fail(QStringLiteral("Failed to set data for '%1'").arg(section.refused));
  }
}
