// The message-dialog service: the test seam, the real boxes (found as the
// active modal window and answered), and the file dialog filters.

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "support/file_dialogs.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "tests/common/accessor_guard.h"

namespace {

// Runs action on the modal window once it shows; polls the event queue only.
void WhenModal(std::function<void(QWidget*)> action, int turnsLeft = 2000) {
  QTimer::singleShot(0, qApp, [action = std::move(action), turnsLeft]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      action(modal);
    } else if (turnsLeft > 0) {
      WhenModal(std::move(action), turnsLeft - 1);
    }
  });
}

}  // namespace

class MsgDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { TqelMsgDlg::SetAnswerer(nullptr); }

  void accessorGuard() { CheckAccessorGuard(&MsgDlg, "use MsgDlg accessor function"); }

  void questionThroughSeam_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("isYes");
    QTest::addColumn<bool>("isNo");
    QTest::newRow("yes") << int(mrYes) << true << false;
    QTest::newRow("no") << int(mrNo) << false << true;
    QTest::newRow("dismissed") << int(mrNone) << false << true;
  }
  void questionThroughSeam() {
    QFETCH(int, answer);
    QFETCH(bool, isYes);
    QFETCH(bool, isNo);
    QList<TMsgRequest> seen;
    TqelMsgDlg::SetAnswerer([&](const TMsgRequest& r) {
      seen << r;
      return QVariant(answer);
    });
    QCOMPARE(MsgDlg().IsYes("Save changes?"), isYes);
    QCOMPARE(MsgDlg().IsNo("Delete selected site?"), isNo);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].kind, TMsgRequest::Question);
    QCOMPARE(seen[1].text, QString("Delete selected site?"));
  }

  void fileDialogsThroughSeam() {
    QList<TMsgRequest> seen;
    QVariant answer = QString("/tmp/a.zip");
    TqelMsgDlg::SetAnswerer([&](const TMsgRequest& r) {
      seen << r;
      return answer;
    });
    QCOMPARE(MsgDlg().OpenFileDlg("Open Vornix file", "Vornix files (*.zip)|*.zip"),
             QString("/tmp/a.zip"));
    QCOMPARE(seen[0].kind, TMsgRequest::OpenFile);
    QCOMPARE(seen[0].initialDir, TqelMsgDlg::DefaultFolder());
    answer = QVariant();
    QCOMPARE(MsgDlg().SaveFileDlg("Save", "x|*.zip", "zip", true, "/srv"), QString());
    QCOMPARE(seen[1].kind, TMsgRequest::SaveFile);
    QCOMPARE(seen[1].defaultExt, QString("zip"));
    QCOMPARE(seen[1].initialDir, QString("/srv"));
  }

  void inputThroughSeam() {
    QVariant answer = QString("Bank");
    TqelMsgDlg::SetAnswerer([&](const TMsgRequest&) { return answer; });
    QString value = "before";
    QVERIFY(MsgDlg().InputQuery("Enter a name for the shortcut", "Shortcut name", value));
    QCOMPARE(value, QString("Bank"));
    answer = QVariant();
    QVERIFY(!MsgDlg().InputQuery("c", "p", value));
    QCOMPARE(value, QString("Bank"));
  }

  void realQuestion_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("isYes");
    QTest::newRow("yes button") << "btnYes" << true;
    QTest::newRow("no button") << "btnNo" << false;
    QTest::newRow("escape") << "escape" << false;
    QTest::newRow("enter takes default") << "enter" << true;
    QTest::newRow("title bar close") << "close" << false;
  }
  void realQuestion() {
    QFETCH(QString, how);
    QFETCH(bool, isYes);
    QString title;
    QStringList buttons;
    WhenModal([&](QWidget* box) {
      title = box->windowTitle();
      for (auto* b : box->findChildren<QPushButton*>()) buttons << b->text();
      if (how == "escape") {
        QTest::keyClick(box, Qt::Key_Escape);
      } else if (how == "enter") {
        QTest::keyClick(box, Qt::Key_Return);
      } else if (how == "close") {
        box->close();
      } else {
        box->findChild<QPushButton*>(how)->click();
      }
    });
    QCOMPARE(MsgDlg().IsYes("Delete selected site?"), isYes);
    QCOMPARE(title, QString("Confirm"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"&No", "&Yes"}));
  }

  void realDismissedDeleteQuestionKeepsSite() {
    WhenModal([](QWidget* box) { box->close(); });
    QVERIFY(MsgDlg().IsNo("Delete selected site?"));
  }

  void realNotices_data() {
    QTest::addColumn<bool>("error");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::newRow("error") << true << "Error" << int(QMessageBox::Critical);
    QTest::newRow("warning") << false << "Warning" << int(QMessageBox::Warning);
  }
  void realNotices() {
    QFETCH(bool, error);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QString seenTitle;
    QString seenText;
    int seenIcon = -1;
    WhenModal([&](QWidget* widget) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      seenTitle = box->windowTitle();
      seenText = box->text();
      seenIcon = box->icon();
      box->findChild<QPushButton*>("btnOK")->click();
    });
    const int result = error ? MsgDlg().ShowError("Site name / Description must be filled")
                             : MsgDlg().ShowWarning("Site name / Description must be filled");
    QCOMPARE(result, int(mrOk));
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenText, QString("Site name / Description must be filled"));
  }

  void realOpenDialogCancelGivesEmpty() {
    QString filter;
    WhenModal([&](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      filter = dialog->nameFilters().join(";;");
      dialog->reject();
    });
    QCOMPARE(MsgDlg().OpenFileDlg("Open Vornix file", "Vornix files (*.zip)|*.zip"), QString());
    QCOMPARE(filter, QString("Vornix files (*.zip)"));
  }

  void realSaveDialogAddsExtension() {
    QTemporaryDir temp;
    const QString folder = temp.path();
    WhenModal([](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite) == false);
      dialog->selectFile("safe");
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own accept is protected
    });
    QCOMPARE(MsgDlg().SaveFileDlg("Save Vornix file as...", "Vornix files (*.zip)|*.zip", "zip",
                                  true, folder),
             QDir(folder).absoluteFilePath("safe.zip"));
  }

  void realInputQuery() {
    WhenModal([](QWidget* widget) {
      auto* dialog = qobject_cast<QInputDialog*>(widget);
      QCOMPARE(dialog->windowTitle(), QString("Enter a name for the shortcut"));
      QCOMPARE(dialog->labelText(), QString("Shortcut name"));
      dialog->setTextValue("Bank");
      dialog->accept();
    });
    QString value;
    QVERIFY(MsgDlg().InputQuery("Enter a name for the shortcut", "Shortcut name", value));
    QCOMPARE(value, QString("Bank"));
  }

  void filterTranslation_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("patterns in description") << "Vornix files (*.zip)|*.zip"
                                             << "Vornix files (*.zip)";
    QTest::newRow("bare description") << "Archives|*.zip"
                                      << "Archives (*.zip)";
    QTest::newRow("two pairs") << "Vornix files (*.zip)|*.zip|All files (*.*)|*.*"
                               << "Vornix files (*.zip);;All files (*.*)";
    QTest::newRow("several patterns") << "Archives|*.zip;*.bak"
                                      << "Archives (*.zip *.bak)";
    QTest::newRow("description differs from patterns") << "Backups (old)|*.bak"
                                                       << "Backups (old) (*.bak)";
    QTest::newRow("missing pattern") << "Everything"
                                     << "Everything";
  }
  void filterTranslation() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(ToQtNameFilters(filter), expected);
  }

  void defaultFolderIsWritable() { QVERIFY(QFileInfo(TqelMsgDlg::DefaultFolder()).isDir()); }
};

QTEST_MAIN(MsgDlgTest)
#include "msg_dlg_test.moc"
