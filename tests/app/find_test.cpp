// Finding sites by typing: what the find box shows, which site is selected,
// which keys go to the box and which to the list, and that hiding sites
// never changes what is saved.

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/site_list_box.h"
#include "core/pw_rec.h"
#include "support/shell_open.h"
#include "tests/app/window_fixture.h"

class FindTest : public TWindowFixture {
  Q_OBJECT
 private:
  TSiteListBox* list_ = nullptr;
  QLineEdit* find_ = nullptr;

  QString Selected() const {
    const int index = list_->ItemIndex();
    return index < 0 ? QString() : list_->Text(index);
  }
  void OpenSample() {
    const QString path = env_->Path("sites.zip");
    WriteArchiveFile(
        path, "pw",
        SiteText({"Bank=ana\tp1\thttps://bank.example\t", "Café Mü=bob\tp2\t\tcoffee\\nsecond line",
                  "Mail=carol\tp3\thttps://mail.example\tmünchen office"}));
    env_->answers.push_back(path);
    env_->passwords.push_back(QStringLiteral("pw"));
    Trigger("mmiFileOpen");
    QCOMPARE(list_->Count(), 3);
  }
  void ShowActive() {
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

 private slots:
  void init() {
    StartWindow();
    list_ = window_->findChild<TSiteListBox*>("lbxSiteList");
    find_ = window_->findChild<QLineEdit*>("edtFind");
    QVERIFY(find_);
    QCOMPARE(find_->placeholderText(), QStringLiteral("Find (Ctrl+F)"));
  }
  void cleanup() { EndWindow(); }

  void savingWhileFilteredKeepsHiddenSites() {
    OpenSample();
    find_->setText(QStringLiteral("MUNCHEN"));  // only in Mail's notes
    QCOMPARE(list_->ShownCount(), 1);
    QCOMPARE(Selected(), QStringLiteral("Mail"));
    QVERIFY(!window_->IsModified());
    AddSiteThroughEditor(*window_, QStringLiteral("Zoo"));  // hidden by the filter
    QCOMPARE(list_->ShownCount(), 1);
    env_->answers.push_back(int(mrYes));
    Trigger("mmiDelete");  // the shown Mail, not a hidden site
    QCOMPARE(list_->ShownCount(), 0);
    Trigger("mmiFileSave");
    const std::optional<std::string> saved = ReadDataMember(env_->Path("sites.zip"), "pw");
    QVERIFY(saved);
    QCOMPARE(QString::fromStdString(*saved).split("\r\n", Qt::SkipEmptyParts),
             (QStringList{"Bank=ana\tp1\thttps://bank.example\t",
                          "Café Mü=bob\tp2\t\tcoffee\\nsecond line", "Zoo=\t\t\t"}));
    QVERIFY(!window_->IsModified());
  }

  void hiddenSelectionMovesToFirstShownAndNoneWhenNothingFound() {
    OpenSample();
    list_->SetItemIndex(2);  // Mail
    find_->setText(QStringLiteral("e"));
    QCOMPARE(Selected(), QStringLiteral("Mail"));  // still shown: kept
    find_->setText(QStringLiteral("cafe mu"));
    QCOMPARE(Selected(), QStringLiteral("Café Mü"));
    find_->setText(QStringLiteral("SECOND"));  // decoded notes are searched
    QCOMPARE(Selected(), QStringLiteral("Café Mü"));
    find_->setText(QStringLiteral("p1"));  // passwords are not
    QCOMPARE(list_->ItemIndex(), -1);
    // Nothing found: the site commands do nothing and ask nothing.
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    for (const char* command :
         {"mmiModify", "mmiDelete", "mmiCopyUser", "mmiCopyPW", "mmiCopyTotp", "mmiOpenURL"}) {
      Trigger(command);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(list_->Count(), 3);
    QVERIFY(!window_->IsModified());
    find_->clear();
    QCOMPARE(list_->ShownCount(), 3);
    QCOMPARE(Selected(), QStringLiteral("Bank"));
  }

  void keysActOnTheBoxOrTheListByFocus() {
    ShowActive();  // the first show starts a new archive
    OpenSample();
    QTest::keyClick(window_.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(find_->hasFocus());
    QTest::keyClicks(find_, QStringLiteral("bank"));
    QTest::keyClick(find_, Qt::Key_A, Qt::ControlModifier);  // selects the text, adds no site
    QCOMPARE(find_->selectedText(), QStringLiteral("bank"));
    QTest::keyClick(find_, Qt::Key_C, Qt::ControlModifier);  // copies the text
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("bank"));
    QTest::keyClick(find_, Qt::Key_Delete);  // deletes the text, not the site
    QCOMPARE(find_->text(), QString());
    QCOMPARE(list_->Count(), 3);
    QTest::keyClicks(find_, QStringLiteral("mail"));
    QTest::keyClick(find_, Qt::Key_Down);
    QVERIFY(list_->hasFocus());
    QTest::keyClick(list_, Qt::Key_C, Qt::ControlModifier);  // Copy password
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("p3"));
    QTest::keyClick(list_, Qt::Key_B, Qt::ControlModifier);  // Copy user name
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("carol"));
    // Enter on the single site found opens it in the editor.
    find_->setFocus();
    QString shown;
    AnswerSiteEditor(std::nullopt, &shown);
    QTest::keyClick(find_, Qt::Key_Return);
    QCOMPARE(shown, QStringLiteral("Mail"));
    QApplication::setActiveWindow(window_.get());  // back from the editor
    find_->setFocus();
    QTest::keyClick(find_, Qt::Key_Escape);
    QCOMPARE(find_->text(), QString());
    QVERIFY(list_->hasFocus());
    QCOMPARE(list_->ShownCount(), 3);
    QVERIFY(!window_->IsModified());
  }

  void siteMenuAndOpenURLActOnTheSelectedSite() {
    QStringList items;
    for (QAction* action : window_->findChild<QMenu*>("pmnSiteList")->actions())
      items << (action->isSeparator() ? QStringLiteral("-") : QString(action->text()).remove(u'&'));
    QCOMPARE(items, (QStringList{"Copy user name", "Copy password", "Copy one-time code", "Open URL", "-",
                                 "Modify a site", "Delete a site"}));
    OpenSample();
    QStringList opened;
    SetShellOpener([&opened](const QString& address) { opened << address; });
    find_->setText(QStringLiteral("mail"));
    Trigger("mmiOpenURL");
    find_->setText(QStringLiteral("cafe"));  // a site without a URL opens nothing
    Trigger("mmiOpenURL");
    SetShellOpener(nullptr);
    QCOMPARE(opened, QStringList{"https://mail.example"});
  }
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
