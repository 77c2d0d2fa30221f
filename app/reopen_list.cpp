#include "app/reopen_list.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPointer>

#include "support/state.h"

namespace {

QString WithoutAmpersands(QString text) { return text.remove(QLatin1Char('&')); }

void RemoveEntry(QMenu* menu, QAction* entry) {
  menu->removeAction(entry);
  entry->deleteLater();
}

// Shows the submenu's own item while it has entries and the plain stand-in
// while it has none. Both are watched through pointers that clear
// themselves: entries still come and go while the window is torn down.
class TReopenItemSwitch : public QObject {
 public:
  TReopenItemSwitch(QMenu* submenu, QAction* standIn)
      : QObject(submenu), submenuItem_(submenu->menuAction()), standIn_(standIn) {
    submenu->installEventFilter(this);
    Update(submenu);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved) {
      Update(static_cast<QMenu*>(watched));
    }
    return false;
  }

 private:
  void Update(const QMenu* submenu) {
    if (!submenuItem_ || !standIn_) return;
    const bool hasEntries = !submenu->actions().isEmpty();
    submenuItem_->setVisible(hasEntries);
    standIn_->setVisible(!hasEntries);
  }

  QPointer<QAction> submenuItem_;
  QPointer<QAction> standIn_;
};

}  // namespace

QMenu* AddReopenMenu(QMenu* fileMenu, const QString& name, const QString& caption) {
  // The stand-in belongs to the File menu: the submenu's own children are
  // its entries.
  auto* standIn = fileMenu->addAction(caption);
  // While it stands in, it carries the Reopen item's object name.
  standIn->setObjectName(name);
  auto* submenu = fileMenu->addMenu(caption);
  submenu->setObjectName(name);
  new TReopenItemSwitch(submenu, standIn);  // owned by the submenu
  return submenu;
}

QString ReopenPath(const QAction* entry) { return ReopenActionPath(entry); }

bool SameReopenPath(const QString& a, const QString& b) {
  return WithoutAmpersands(a).compare(WithoutAmpersands(b), Qt::CaseInsensitive) == 0;
}

void AddReopenEntry(QMenu* menu, const QString& path,
                    const std::function<void(QAction*)>& onClick) {
  QAction* existing = nullptr;
  for (QAction* entry : menu->actions()) {
    if (SameReopenPath(ReopenPath(entry), path)) {
      existing = entry;
      break;
    }
  }
  if (existing != nullptr) {
    RemoveEntry(menu, existing);
  } else if (menu->actions().size() >= kMaxReopenEntries) {
    RemoveEntry(menu, menu->actions().last());
  }
  auto* entry = new QAction(menu);
  SetReopenActionPath(entry, path);
  QObject::connect(entry, &QAction::triggered, menu, [entry, onClick] { onClick(entry); });
  const QList<QAction*> entries = menu->actions();
  menu->insertAction(entries.isEmpty() ? nullptr : entries.first(), entry);
}
