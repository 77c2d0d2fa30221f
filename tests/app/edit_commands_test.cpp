// The edit commands: Add, Modify, Delete, the list box's Enter and
// double-click, Generate, and the modified state they leave.

#include <QDialog>
#include <QTest>

#include "app/site_list_box.h"
#include "core/pw_rec.h"
#include "tests/common/flag_rows.h"
#include "tests/app/window_fixture.h"

class EditCommandsTest : public TWindowFixture {
  Q_OBJECT
 private:
  TSiteListBox* list_ = nullptr;

  QStringList Names() const {
    QStringList names;
    for (int i = 0; i < list_->Count(); ++i) names << list_->Text(i);
    return names;
  }
  void ShowActive() {
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QCoreApplication::processEvents();  // the first show starts a new archive
  }
  void AddSite(const QString& name) {
    AnswerSiteEditor(name);
    Trigger("mmiAdd");
  }

 private slots:
  void init() {
    StartWindow();
    list_ = window_->findChild<TSiteListBox*>("lbxSiteList");
  }
  void cleanup() { EndWindow(); }

  void addPlacesAndSelectsTheNewSite() {
    AddSite("Mail");
    AddSite("bank");
    AddSite("Zoo");
    AddSite("bank");  // a second entry with the same name
    QCOMPARE(Names(), (QStringList{"bank", "bank", "Mail", "Zoo"}));
    QCOMPARE(list_->ItemIndex(), 1);
    QVERIFY(window_->IsModified());
  }

  void cancelledAddChangesNothing() {
    AnswerSiteEditor(std::nullopt);
    Trigger("mmiAdd");
    QCOMPARE(list_->Count(), 0);
    QVERIFY(!window_->IsModified());
  }

  void modifyMovesTheSameRecordToItsNewPlace() {
    AddSite("alpha");
    AddSite("beta");
    AddSite("gamma");
    window_->SetModified(false);
    list_->SetItemIndex(0);
    TqelPwRec* record = &list_->Record(0);
    QString shown;
    AnswerSiteEditor(QStringLiteral("omega"), &shown);
    Trigger("mmiModify");
    QCOMPARE(shown, QStringLiteral("alpha"));
    QCOMPARE(Names(), (QStringList{"beta", "gamma", "omega"}));
    QCOMPARE(list_->ItemIndex(), 2);
    QCOMPARE(&list_->Record(2), record);
    QVERIFY(window_->IsModified());
  }

  void cancelledModifyChangesNothing() {
    AddSite("alpha");
    window_->SetModified(false);
    list_->SetItemIndex(0);
    AnswerSiteEditor(std::nullopt);
    Trigger("mmiModify");
    QCOMPARE(Names(), QStringList{"alpha"});
    QVERIFY(!window_->IsModified());
  }

  void enterAndDoubleClickModify_data() {
    AddFlagRows("byEnter", "Enter", true, "double-click");
  }
  void enterAndDoubleClickModify() {
    QFETCH(bool, byEnter);
    AddSite("alpha");
    window_->SetModified(false);
    list_->SetItemIndex(0);
    AnswerSiteEditor(QStringLiteral("renamed"));
    if (byEnter) {
      QTest::keyClick(list_, Qt::Key_Return);
    } else {
      list_->resize(200, 200);
      QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    }
    QCOMPARE(Names(), QStringList{"renamed"});
    QVERIFY(window_->IsModified());
  }

  void commandsWithoutSelectionDoNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("Modify") << "mmiModify";
    QTest::newRow("Delete") << "mmiDelete";
  }
  void commandsWithoutSelectionDoNothing() {
    QFETCH(QString, command);
    Trigger(command.toLatin1().constData());  // empty list
    AddSite("alpha");
    window_->SetModified(false);
    list_->SetItemIndex(-1);
    Trigger(command.toLatin1().constData());
    QCOMPARE(list_->Count(), 1);
    QVERIFY(!window_->IsModified());
    QVERIFY(env_->requests.isEmpty());
  }

  void deleteAsksAndActsOnTheAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("Yes deletes") << int(mrYes) << QStringList{"a", "c"};
    QTest::newRow("No keeps") << int(mrNo) << QStringList{"a", "b", "c"};
    // Closing the question without a button answers No: the site is kept.
    QTest::newRow("dismissed keeps") << int(mrNone) << QStringList{"a", "b", "c"};
  }
  void deleteAsksAndActsOnTheAnswer() {
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    for (const char* name : {"a", "b", "c"}) AddSite(name);
    window_->SetModified(false);
    list_->SetItemIndex(1);
    env_->answers.push_back(answer);
    Trigger("mmiDelete");
    QCOMPARE(env_->requests.size(), 1);
    QCOMPARE(env_->requests[0].kind, TMsgRequest::Question);
    QCOMPARE(env_->requests[0].text, QStringLiteral("Delete selected site?"));
    QCOMPARE(Names(), left);
    const bool deleted = left.size() == 2;
    QCOMPARE(window_->IsModified(), deleted);
    QCOMPARE(list_->ItemIndex(), deleted ? 0 : 1);
  }

  void deletingTheLastEntryLeavesAnEmptyList() {
    AddSite("only");
    list_->SetItemIndex(0);
    env_->answers.push_back(int(mrYes));
    Trigger("mmiDelete");
    QCOMPARE(list_->Count(), 0);
    QCOMPARE(list_->ItemIndex(), -1);
  }

  void keyboardShortcutsReachTheCommandsFromTheList_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Ctrl+A adds") << int(Qt::Key_A) << QStringList{"added", "first"};
    QTest::newRow("Ctrl+M modifies") << int(Qt::Key_M) << QStringList{"added"};
  }
  void keyboardShortcutsReachTheCommandsFromTheList() {
    QFETCH(int, key);
    QFETCH(QStringList, expected);
    ShowActive();
    AddSite("first");
    QApplication::setActiveWindow(window_.get());  // back from the site editor
    list_->SetItemIndex(0);
    list_->setFocus();
    AnswerSiteEditor(QStringLiteral("added"));
    QTest::keyClick(list_, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(Names(), expected);
  }

  void deleteKeyAsksFromTheList() {
    ShowActive();
    AddSite("first");
    QApplication::setActiveWindow(window_.get());  // back from the site editor
    list_->SetItemIndex(0);
    list_->setFocus();
    env_->answers.push_back(int(mrYes));
    QTest::keyClick(list_, Qt::Key_Delete);
    QCOMPARE(Names(), QStringList());
  }

  void generateRunsTheGeneratorAndChangesNothing() {
    bool shown = false;
    modal::WhenModal("TfrmGenPW", [&shown](QWidget* dialog) {
      shown = true;
      qobject_cast<QDialog*>(dialog)->reject();
    });
    Trigger("mmiGenPW");
    QVERIFY(shown);
    QVERIFY(!window_->IsModified());
    QCOMPARE(list_->Count(), 0);
  }
};

QTEST_MAIN(EditCommandsTest)
#include "edit_commands_test.moc"
