// The Reopen list: newest first, five entries at most, one entry per path
// whatever its letter case and "&" characters.

#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/reopen_list.h"
#include "tests/app/window_fixture.h"

namespace {

QStringList Paths(QMenu& menu) {
  QStringList paths;
  for (QAction* entry : menu.actions()) paths << ReopenPath(entry);
  return paths;
}

}  // namespace

class ReopenTest : public QObject {
  Q_OBJECT
 private slots:
  void samePath_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("equal") << "/a/b.zip"
                           << "/a/b.zip" << true;
    QTest::newRow("letter case") << "/A/B.ZIP"
                                 << "/a/b.zip" << true;
    QTest::newRow("ampersands") << "/a/&b&&.zip"
                                << "/a/b.zip" << true;
    QTest::newRow("different") << "/a/b.zip"
                               << "/a/c.zip" << false;
    QTest::newRow("prefix only") << "/a/b.zip"
                                 << "/a/b.zip2" << false;
  }
  void samePath() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(SameReopenPath(a, b), same);
  }

  void newestFirstAndAtMostFive() {
    QMenu menu;
    for (int i = 1; i <= 7; ++i) AddReopenEntry(&menu, QString("/f%1.zip").arg(i), nullptr);
    QCOMPARE(Paths(menu), (QStringList{"/f7.zip", "/f6.zip", "/f5.zip", "/f4.zip", "/f3.zip"}));
  }

  void sameEntryMovesToTheTopWithTheNewSpelling() {
    QMenu menu;
    for (const char* path : {"/a.zip", "/b&c.zip", "/d.zip"}) AddReopenEntry(&menu, path, nullptr);
    AddReopenEntry(&menu, "/BC.zip", nullptr);
    QCOMPARE(Paths(menu), (QStringList{"/BC.zip", "/d.zip", "/a.zip"}));
    AddReopenEntry(&menu, "/BC.zip", nullptr);
    QCOMPARE(Paths(menu), (QStringList{"/BC.zip", "/d.zip", "/a.zip"}));
  }

  void pathsShowExactly() {
    QMenu menu;
    AddReopenEntry(&menu, "/x/Tom & Jerry.zip", nullptr);
    QCOMPARE(menu.actions().first()->iconText(), QStringLiteral("/x/Tom & Jerry.zip"));
    QCOMPARE(ReopenPath(menu.actions().first()), QStringLiteral("/x/Tom & Jerry.zip"));
  }

  // An empty submenu would show an arrow that opens nothing.
  void reopenItemHasAnArrowOnlyWithEntries() {
    QMenu file;
    QMenu* reopen = AddReopenMenu(&file, "mmiReopen", "Reopen");
    const auto shownItem = [&file]() -> QAction* {
      QList<QAction*> shown;
      for (QAction* item : file.actions())
        if (item->isVisible()) shown << item;
      return shown.size() == 1 ? shown.first() : nullptr;
    };
    QVERIFY(shownItem() != nullptr);
    QCOMPARE(shownItem()->text(), QStringLiteral("Reopen"));
    QVERIFY(shownItem()->menu() == nullptr);

    AddReopenEntry(reopen, "/a.zip", nullptr);
    QVERIFY(shownItem() != nullptr);
    QCOMPARE(shownItem()->menu(), reopen);
    QCOMPARE(reopen->title(), QStringLiteral("Reopen"));

    reopen->clear();
    QVERIFY(shownItem() != nullptr);
    QVERIFY(shownItem()->menu() == nullptr);
  }

  void reopenThroughTheWindow() {
    AppTestEnv env;
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
      paths << env.Path(QString("r%1.zip").arg(i));
      WriteArchiveFile(paths.last(), "", SiteText({"S=u\tp\t\t"}));
    }
    State().SetValue("Reopen0", paths[2]);
    State().SetValue("Reopen1", paths[1]);
    State().SetValue("Reopen2", paths[0]);
    auto window = env.MakeWindow();
    QCOMPARE(ReopenPaths(*window), (QStringList{paths[2], paths[1], paths[0]}));
    auto* menu = window->findChild<QMenu*>("mmiReopen");

    // The third entry moves to the top and its archive opens.
    menu->actions().at(2)->trigger();
    QCOMPARE(window->ArchivePath(), paths[0]);
    QCOMPARE(SiteNames(*window), QStringList{"S"});
    QCOMPARE(ReopenPaths(*window), (QStringList{paths[0], paths[2], paths[1]}));

    // The first entry: same list, same order.
    menu->actions().at(0)->trigger();
    QCOMPARE(ReopenPaths(*window), (QStringList{paths[0], paths[2], paths[1]}));

    // A moved or deleted file: an empty archive named by that path.
    QFile::remove(paths[1]);
    menu->actions().at(2)->trigger();
    QCOMPARE(window->ArchivePath(), paths[1]);
    QCOMPARE(SiteNames(*window), QStringList());
    QCOMPARE(ReopenPaths(*window).first(), paths[1]);
    QVERIFY(env.errors.isEmpty());

    // Replaced entries are deleted once control is back in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto owned = menu->findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly);
    owned.removeAll(menu->menuAction());
    QCOMPARE(owned.size(), 3);
    window.reset();
    QCOMPARE(State().GetValue("Reopen0"), paths[1]);
    QCOMPARE(State().GetValue("Reopen2"), paths[2]);
    QVERIFY(State().GetValue("Reopen3").isEmpty());
  }
};

QTEST_MAIN(ReopenTest)
#include "reopen_test.moc"
