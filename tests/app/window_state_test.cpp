// What the main window tells about its state: the title while locked, the
// find box across a lock, the note when nothing is found, the encryption
// label, where the file dialogs start and the Open URL feedback.

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "app/encryption_label.h"
#include "app/site_list_box.h"
#include "support/file_dialogs.h"
#include "support/shell_open.h"
#include "tests/app/window_fixture.h"

class WindowStateTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString Open() {
    return OpenWritten("keys.zip", "pw",
                       SiteText({"Bank=ann\tb4nk\thttps://bank.example\t", "Mail=bob\tm41l\t\t",
                                 "Shop=cy\tsh0p\t\t"}));
  }
  QString Selected() {
    auto* list = Find<TSiteListBox>("lbxSiteList");
    return list->ItemIndex() < 0 ? QString() : list->Text(list->ItemIndex());
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { EndWindow(); }

  void lockShowsInTheTitleClearsFindAndKeepsTheSelection() {
    Open();
    auto* find = Find<QLineEdit>("edtFind");
    find->setText(QStringLiteral("ma"));
    QCOMPARE(Selected(), QStringLiteral("Mail"));
    window_->mmiLockClick();
    QVERIFY(window_->IsLocked());
    QCOMPARE(window_->windowTitle(), QStringLiteral("keys.zip [Locked] - Vornix - Keyvorn"));
    QCOMPARE(find->text(), QString());
    Find<QLineEdit>("edtUnlockPW")->setText(QStringLiteral("pw"));
    Find<QPushButton>("btnUnlock")->click();
    QVERIFY(!window_->IsLocked());
    QCOMPARE(window_->windowTitle(), QStringLiteral("keys.zip[*] - Vornix - Keyvorn"));
    QCOMPARE(Selected(), QStringLiteral("Mail"));
  }

  void nothingFoundSaysSo() {
    Open();
    window_->show();
    auto* find = Find<QLineEdit>("edtFind");
    auto* note = Find<QLabel>("lblNoMatch");
    QVERIFY(!note->isVisible());
    find->setText(QStringLiteral("zzz"));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("No sites match"));
    find->setText(QStringLiteral("sho"));
    QVERIFY(!note->isVisible());
    find->clear();
    window_->mmiFileCloseClick();  // an empty archive is no failed search
    QVERIFY(!note->isVisible());
  }

  void encryptionLabel_data() {
    QTest::addColumn<int>("onDisk");  // -1: no file yet
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("warns");
    const int none = int(TEncryption::None);
    const int trad = int(TEncryption::Traditional);
    const int aes = int(TEncryption::Aes256);
    QTest::newRow("same") << aes << aes << "AES-256" << false;
    QTest::newRow("traditional") << trad << trad << "Traditional" << false;
    QTest::newRow("plain file") << none << none << "No encryption" << true;
    QTest::newRow("password chosen")
        << none << aes << "No encryption, AES-256 after saving" << true;
    QTest::newRow("password removed")
        << aes << none << "AES-256, no encryption after saving" << true;
    QTest::newRow("no file") << -1 << aes << "AES-256 after saving" << false;
    QTest::newRow("no file, no password") << -1 << none << "No encryption after saving" << true;
  }
  void encryptionLabel() {
    QFETCH(int, onDisk);
    QFETCH(int, next);
    QFETCH(QString, text);
    QFETCH(bool, warns);
    const auto disk = onDisk < 0 ? std::nullopt : std::optional(TEncryption(onDisk));
    QCOMPARE(EncryptionLabelText(disk, TEncryption(next)), text);
    QCOMPARE(EncryptionLabelWarns(disk, TEncryption(next)), warns);
  }

  void labelFollowsTheFileNotThePasswordDialog() {
    Open();
    auto* label = Find<TEncryptionLabel>("lblEncryption");
    QCOMPARE(label->text(), QStringLiteral("Traditional"));
    window_->mmiFileCloseClick();
    QCOMPARE(label->text(), QStringLiteral("Traditional after saving"));
  }

  void fileDialogsStartNearTheArchive() {
    const QString path = Open();
    env_->answers.push_back(QVariant());  // cancel
    window_->mmiImportClick();
    QCOMPARE(env_->requests.last().initialDir, env_->dir.path());
    const QString home = QDir::homePath();
    QCOMPARE(FileDialogFolder({}, false, env_->dir.path()), home);
    QCOMPARE(FileDialogFolder({}, true, env_->dir.path()), env_->dir.path());
    QCOMPARE(FileDialogFolder(env_->Path("gone/a.zip"), true, "/"), QStringLiteral("/"));
    QCOMPARE(FileDialogFolder(path, false, "/"), env_->dir.path());
    // Open asks after closing the archive, and still starts in its folder.
    env_->answers.push_back(QVariant());
    window_->mmiFileOpenClick();
    QCOMPARE(env_->requests.last().initialDir, env_->dir.path());
  }

  void openUrlSaysWhatItDoesAndReportsFailure() {
    Open();
    Find<TSiteListBox>("lbxSiteList")->SetItemIndex(0);
    QStringList opened;
    SetCheckedShellOpener([&opened, this](const QString& address) {
      opened << window_->statusBar()->currentMessage();
      return address.isEmpty();  // nothing takes it
    });
    env_->answers.push_back(int(mrOk));
    window_->mmiOpenURLClick();
    SetCheckedShellOpener(nullptr);
    QCOMPARE(opened, QStringList{"Opening https://bank.example..."});
    QCOMPARE(env_->requests.last().kind, TMsgRequest::Error);
    QVERIFY(env_->requests.last().text.startsWith("Cannot open https://bank.example: "));
    QCOMPARE(window_->statusBar()->currentMessage(), QString());
  }
};

QTEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
