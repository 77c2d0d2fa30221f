// The main window's controls: menus, toolbar, list box and status bar, and
// the state the window starts in.

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "app/site_list_box.h"
#include "tests/app/window_fixture.h"

class MainWindowUiTest : public TWindowFixture {
  Q_OBJECT
 private:
  QAction* Action(const QString& name) { return window_->findChild<QAction*>(name); }
  // A caption as the user reads it: the mnemonic mark is not part of it.
  static QString Plain(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == u'&' && i + 1 < text.size()) ++i;
      plain += text[i];
    }
    return plain;
  }
  // The letter Alt selects, or a null character when there is none.
  static QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != u'&') continue;
      if (text[i + 1] != u'&') return text[i + 1].toLower();
      ++i;
    }
    return {};
  }
  QToolButton* Button(const QString& name) { return window_->findChild<QToolButton*>(name); }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { EndWindow(TErrors::Allowed); }

  void windowCaptionAndSizes() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Vornix - Keyvorn"));
    QCOMPARE(window_->minimumSize(), QSize(350, 350));
    QCOMPARE(window_->objectName(), QStringLiteral("TfrmMain"));
    QCOMPARE(window_->menuBar()->objectName(), QStringLiteral("mmMain"));
    auto* toolbar = window_->findChild<QFrame*>("pnlToolbar");
    QVERIFY(toolbar);
    QCOMPARE(toolbar->height(), 31);
    QVERIFY(window_->findChild<TSiteListBox*>("lbxSiteList"));
    QCOMPARE(window_->statusBar()->objectName(), QStringLiteral("StatusBar"));
  }

  void menusInOrder() {
    QStringList menus;
    for (QAction* action : window_->menuBar()->actions())
      menus << action->menu()->objectName() + "=" + Plain(action->text());
    QCOMPARE(menus,
             (QStringList{"mmiFile=File", "mmiEdit=Edit", "mmiTools=Tools", "mmiHelp=Help",
                          "mmiView=View"}));
    QStringList file;
    // Only the items shown: an empty Reopen submenu is stood in for.
    for (QAction* action : window_->findChild<QMenu*>("mmiFile")->actions()) {
      if (action->isVisible())
        file << (action->menu() ? action->menu()->objectName() : action->objectName());
    }
    QCOMPARE(file,
             (QStringList{"mmiFileNew", "mmiFileOpen", "mmiReopen", "mmiFileSave", "mmiFileSaveAs",
                          "mmiFileClose", "mmiFileSep02", "mmiNewPW", "mmiImport", "mmiMergeArchive",
                          "mmiImportCsv",
                          "mmiExportCsv", "mmiFileSep01", "mmiExit"}));
    QVERIFY(Action("mmiFileSep01")->isSeparator());
    QCOMPARE(Plain(window_->findChild<QMenu*>("mmiReopen")->title()), QStringLiteral("Reopen"));
  }

  // Alt and a letter reach every menu and item, one letter per item in a
  // menu; the Reopen entries show their paths as stored instead.
  void mnemonicsAreUniqueWithinEachMenu() {
    QSet<QChar> titles;
    for (QAction* menuAction : window_->menuBar()->actions()) {
      const QChar title = Mnemonic(menuAction->text());
      QVERIFY2(!title.isNull() && !titles.contains(title), qPrintable(menuAction->text()));
      titles << title;
      QSet<QChar> letters;
      for (QAction* item : menuAction->menu()->actions()) {
        if (item->isSeparator() || !item->isVisible()) continue;
        const QChar letter = Mnemonic(item->text());
        QVERIFY2(!letter.isNull() && !letters.contains(letter), qPrintable(item->text()));
        letters << letter;
      }
    }
    window_->findChild<QMenu*>("mmiReopen")->clear();
    State().SetValue("Reopen0", "/home/R&D/a.zip");
    State().LoadReopenMenu(window_->findChild<QMenu*>("mmiReopen"), [](QAction*) {});
    const QAction* entry = window_->findChild<QMenu*>("mmiReopen")->actions().value(0);
    QVERIFY(entry);
    QVERIFY(Mnemonic(entry->text()).isNull());
    QCOMPARE(Plain(entry->text()), QStringLiteral("/home/R&D/a.zip"));
  }

  void ctrlQQuits() {
    QVERIFY(Action("mmiExit")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window_->isVisible());
  }

  void titleNamesTheArchive_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("marked");
    QTest::newRow("no name") << QString() << true << "Vornix - Keyvorn" << false;
    QTest::newRow("clean") << "/x/keys.zip" << false << "keys.zip[*] - Vornix - Keyvorn" << false;
    QTest::newRow("modified") << "/x/keys.zip" << true << "keys.zip[*] - Vornix - Keyvorn" << true;
    QTest::newRow("[*] in the name")
        << "/x/a[*].zip" << false << "a[*][*].zip[*] - Vornix - Keyvorn" << false;
  }
  void titleNamesTheArchive() {
    QFETCH(QString, path);
    QFETCH(bool, modified);
    QFETCH(QString, title);
    QFETCH(bool, marked);
    window_->SetArchivePath(path);
    window_->SetModified(modified);
    QCOMPARE(window_->windowTitle(), title);
    QCOMPARE(window_->isWindowModified(), marked);
    window_->SetModified(false);  // no save question at the end
  }

  void menuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("hasIcon");
    const QKeySequence none;
    QTest::newRow("New") << "mmiFileNew"
                         << "New" << QKeySequence("Ctrl+N") << true;
    QTest::newRow("Open") << "mmiFileOpen"
                          << "Open..." << QKeySequence("Ctrl+O") << true;
    QTest::newRow("Save") << "mmiFileSave"
                          << "Save" << QKeySequence("Ctrl+S") << true;
    QTest::newRow("Save As") << "mmiFileSaveAs"
                             << "Save As..." << none << true;
    QTest::newRow("Close") << "mmiFileClose"
                           << "Close" << none << true;
    QTest::newRow("New PW") << "mmiNewPW"
                            << "New archive password..." << none << false;
    QTest::newRow("Import") << "mmiImport"
                            << "Import..." << none << false;
    QTest::newRow("Exit") << "mmiExit"
                          << "Exit" << QKeySequence("Alt+F4") << false;
    QTest::newRow("Add") << "mmiAdd"
                         << "Add a site" << QKeySequence("Ctrl+A") << true;
    QTest::newRow("Modify") << "mmiModify"
                            << "Modify a site" << QKeySequence("Ctrl+M") << true;
    QTest::newRow("Delete") << "mmiDelete"
                            << "Delete a site" << QKeySequence(Qt::Key_Delete) << true;
    QTest::newRow("GenPW") << "mmiGenPW"
                           << "Generate a password..." << QKeySequence("Ctrl+G") << true;
    QTest::newRow("Shortcut") << "mmiShortcut"
                              << "Create desktop shortcut for this archive" << none << true;
    QTest::newRow("VerChk") << "mmiVerChk"
                            << "Check for new Vornix release" << none << false;
    QTest::newRow("Web") << "mmiWeb"
                         << "Visit Vornix web site" << none << false;
    QTest::newRow("Email") << "mmiEmail"
                           << "Email the developer" << none << false;
    QTest::newRow("About") << "mmiAbout"
                           << "About..." << none << false;
  }
  void menuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, hasIcon);
    QAction* action = Action(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(Plain(action->text()), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(!action->icon().isNull(), hasIcon);
  }

  void toolbarButtons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("New") << "spbFileNew" << "New archive";
    QTest::newRow("Open") << "spbFileOpen" << "Open archive...";
    QTest::newRow("Save") << "spbFileSave" << "Save archive";
    QTest::newRow("SaveAs") << "spbSaveAs" << "Save archive as...";
    QTest::newRow("Close") << "spbFileClose" << "Close archive";
    QTest::newRow("Add") << "spbAdd" << "Add a site";
    QTest::newRow("Modify") << "spbModify" << "Modify selected site";
    QTest::newRow("Delete") << "spbDelete" << "Delete selected site";
    QTest::newRow("GenPW") << "spbGenPW" << "Generate a password";
    QTest::newRow("Shortcut") << "spbShortcut" << "Create desktop shortcut for this archive";
  }
  void toolbarButtons() {
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QToolButton* button = Button(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->geometry().size(), QSize(23, 22));
    QCOMPARE(button->geometry().top(), 5);
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(button->autoRaise());
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("pnlToolbar"));
  }

  // Left to right in this order, each clear of the one before, inside the
  // toolbar; the bevels divide the groups.
  void toolbarOrderWithoutOverlap() {
    const QStringList order{"spbFileNew", "spbFileOpen", "spbFileSave", "spbSaveAs",
                            "spbFileClose", "bvlSep01", "spbAdd", "spbModify",
                            "spbDelete", "bvlSep02", "spbGenPW", "spbShortcut"};
    const int toolbarWidth = window_->findChild<QFrame*>("pnlToolbar")->width();
    int right = -1;
    for (const QString& name : order) {
      auto* control = window_->findChild<QWidget*>(name);
      QVERIFY2(control, qPrintable(name));
      const QRect bounds = control->geometry();
      QVERIFY2(bounds.left() > right, qPrintable(name));
      QVERIFY2(bounds.bottom() < 31, qPrintable(name));
      right = bounds.right();
    }
    QVERIFY(right < toolbarWidth);
    for (const char* name : {"bvlSep01", "bvlSep02"})
      QCOMPARE(window_->findChild<QFrame*>(name)->geometry().size(), QSize(3, 28));
  }

  void saveStartsDisabledAndFollowsModified() {
    QVERIFY(!window_->IsModified());
    QVERIFY(!Action("mmiFileSave")->isEnabled());
    QVERIFY(!Button("spbFileSave")->isEnabled());
    window_->SetModified(true);
    QVERIFY(Action("mmiFileSave")->isEnabled());
    QVERIFY(Button("spbFileSave")->isEnabled());
    QVERIFY(window_->IsModified());
    window_->SetModified(false);
    QVERIFY(!Button("spbFileSave")->isEnabled());
  }

  void archivePathIsTheStatusBarText() {
    window_->SetArchivePath("/tmp/a & b.zip");
    QCOMPARE(window_->statusBar()->findChild<QLabel*>()->text(), QStringLiteral("/tmp/a & b.zip"));
    QCOMPARE(window_->ArchivePath(), QStringLiteral("/tmp/a & b.zip"));
    // Hovering a menu item shows its status tip; the path must survive it.
    window_->statusBar()->showMessage("tip");
    window_->statusBar()->clearMessage();
    QCOMPARE(window_->ArchivePath(), QStringLiteral("/tmp/a & b.zip"));
  }

  void toolbarButtonRunsItsCommand() {
    // Close on a modified archive asks the save question; No closes it.
    window_->SetModified(true);
    window_->SetArchivePath("/x/y.zip");
    env_->answers.push_back(int(mrNo));
    Button("spbFileClose")->click();
    QCOMPARE(env_->requests.size(), 1);
    QCOMPARE(env_->requests[0].text,
             QStringLiteral("The current archive has been modified.  Save changes?"));
    QVERIFY(!window_->IsModified());
    QVERIFY(window_->ArchivePath().isEmpty());
  }

  void placementIsRestoredAndStored() {
    window_.reset();
    State().SetValue("TfrmMain", "0 100 120 400 500");
    State().Save();  // the window loads the store when it is created
    window_ = env_->MakeWindow();
    QCOMPARE(window_->size(), QSize(500, 400));
    window_->resize(450, 380);
    window_.reset();
    QCOMPARE(State().GetValue("TfrmMain").section(' ', 3), QStringLiteral("380 450"));
    window_ = env_->MakeWindow();
  }

  void firstShowStartsANewArchive() {
    window_->SetArchivePath("/x/y.zip");
    window_->show();
    QCoreApplication::processEvents();
    QVERIFY(window_->ArchivePath().isEmpty());
    // Showing again is not a first show.
    window_->hide();
    window_->SetArchivePath("/x/z.zip");
    window_->show();
    QCoreApplication::processEvents();
    QCOMPARE(window_->ArchivePath(), QStringLiteral("/x/z.zip"));
  }
};

QTEST_MAIN(MainWindowUiTest)
#include "main_window_ui_test.moc"
