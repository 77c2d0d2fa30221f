#include "support/state.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <algorithm>

#include "support/accessor.h"
#include "support/state_storage.h"

namespace {

TAccessor<TqelState> gAccessor("State");

QString gUserStoreOverride;
QString gIniOverride;

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
  TStateEntries entries;

  TStateEntries::iterator Find(const QString& name) {
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

static TStateStorage StorageFor(bool useIni) {
  if (useIni) {
    return {TqelState::IniFilePath(), QStringLiteral("Vornix"),
            QStringLiteral("Unable to write to %1").arg(TqelState::IniFilePath())};
  }
  return {TqelState::UserStoreFilePath(), QStringLiteral("General"), QString()};
}

void TqelState::Load() {
  ReadStateStorage(StorageFor(UseIni),
                   [this](const QString& name, const QString& value) { SetValue(name, value); });
}

void TqelState::Save() { WriteStateStorage(StorageFor(UseIni), table_->entries); }

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
  if (!gIniOverride.isEmpty()) return gIniOverride;
  const QFileInfo program(QCoreApplication::applicationFilePath());
  return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

QString TqelState::UserStoreFilePath() {
  if (!gUserStoreOverride.isEmpty()) return gUserStoreOverride;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Kestrum/Vornix.conf");
}

void TqelState::SetStorageOverride(const QString& userStorePath, const QString& iniPath) {
  gUserStoreOverride = userStorePath;
  gIniOverride = iniPath;
}
