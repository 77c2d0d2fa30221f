#include "support/state.h"

#include "core/option_settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>

#include "core/settings_file.h"
#include "support/accessor.h"
#include "support/text_convert.h"

namespace {

TAccessor<TqelState> gAccessor("State");

constexpr int kReopenCount = 5;

QString ReopenName(int index) { return QStringLiteral("Reopen%1").arg(index); }

// Removes the mnemonic marks a menu caption may carry: "&&" is a literal
// "&", a single "&" marks the next letter.
QString StripMnemonics(const QString& text) {
  QString plain;
  plain.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

}  // namespace

struct TqelState::TTable {
  std::vector<std::pair<QString, QString>> entries;

  auto Find(const QString& name) {
    return std::find_if(entries.begin(), entries.end(), [&name](const auto& entry) {
      return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
  }
};

TqelState::TqelState() : table_(std::make_unique<TTable>()) { gAccessor.Admit(); }

TqelState::~TqelState() = default;

TqelState& State() { return gAccessor.Get(); }

QString TqelState::GetValue(const QString& name) const {
  const auto it = table_->Find(name);
  return it == table_->entries.end() ? QString() : it->second;
}

void TqelState::SetValue(const QString& name, const QString& value) {
  const auto it = table_->Find(name);
  if (value.isEmpty()) {
    if (it != table_->entries.end()) table_->entries.erase(it);
  } else if (it != table_->entries.end()) {
    *it = {name, value};
  } else {
    table_->entries.emplace_back(name, value);
  }
}

QStringList TqelState::Entries() const {
  QStringList lines;
  for (const auto& [name, value] : table_->entries) lines << name + u'=' + value;
  return lines;
}

void TqelState::Clear() { table_->entries.clear(); }

static TSettingsFile StorageFor(bool useIni) {
  return SettingsFileFor(useIni, ToFileName(QCoreApplication::applicationFilePath()));
}

TSettingsFile SettingsStorage() { return StorageFor(State().UseIni); }

// The archives' encryption memory is written straight to the file while the
// window runs, by it and by vornix-cli: the table leaves it there, so that
// the table's write at exit cannot put back an old value.
void TqelState::Load() {
  for (const auto& [name, value] : ReadSettings(StorageFor(UseIni))) {
    if (IsEncryptionMemoryName(name)) continue;
    SetValue(ToQString(name), ToQString(value));
  }
}

void TqelState::Save() {
  TSettingsEntries entries;
  for (const auto& [name, value] : table_->entries)
    entries.emplace_back(ToBytes(name), ToBytes(value));
  WriteSettings(StorageFor(UseIni), entries);
}

void TqelState::SaveValues(const QStringList& names) {
  TSettingsEntries entries;
  for (const QString& name : names) entries.emplace_back(ToBytes(name), ToBytes(GetValue(name)));
  WriteSettingsValues(StorageFor(UseIni), entries);
}

void TqelState::LoadReopenMenu(QMenu* menu, const std::function<void(QAction*)>& onClick) {
  for (int i = 0; i < kReopenCount; ++i) {
    const QString path = GetValue(ReopenName(i));
    if (path.isEmpty()) continue;
    auto* action = new QAction(menu);  // owned by the menu
    SetReopenActionPath(action, path);
    QObject::connect(action, &QAction::triggered, menu, [action, onClick] { onClick(action); });
    menu->addAction(action);
  }
}

void TqelState::StoreReopenMenu(QMenu* menu) {
  for (int i = 0; i < kReopenCount; ++i) SetValue(ReopenName(i), QString());
  int index = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    SetValue(ReopenName(index++), ReopenActionPath(action));
  }
}

void SetReopenActionPath(QAction* action, const QString& path) {
  action->setData(path);
  QString caption = path;
  action->setText(caption.replace(u'&', QStringLiteral("&&")));
}

QString ReopenActionPath(const QAction* action) {
  const QVariant data = action->data();
  if (data.typeId() == QMetaType::QString) return data.toString();
  return StripMnemonics(action->text());
}

bool TqelState::HasUseIniSwitch(const QStringList& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const QString& argument) {
    return argument.size() == 7 && (argument[0] == u'-' || argument[0] == u'/') &&
           argument.mid(1).compare(QLatin1String("useini"), Qt::CaseInsensitive) == 0;
  });
}

QString TqelState::IniFilePath() {
  return ToQString(IniSettingsFile(ToFileName(QCoreApplication::applicationFilePath())).path);
}

QString TqelState::UserStoreFilePath() { return ToQString(UserSettingsFile().path); }

void TqelState::SetStorageOverride(const QString& userStorePath, const QString& iniPath) {
  SetSettingsPathOverride(ToFileName(userStorePath), ToFileName(iniPath));
}
