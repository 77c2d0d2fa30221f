// Saving from the window: the question before sites go into a file without a
// password, and hardened archives through New archive password, Save and
// Open.

#include <QAction>
#include <QLabel>
#include <QTest>

#include "archive/crypto/hardened_key.h"
#include "archive/zip/hardened_extra.h"
#include "tests/app/window_fixture.h"

class HardenedSaveTest : public TWindowFixture {
  Q_OBJECT
 private:
  int PlainSaveQuestions() const {
    int count = 0;
    for (const TMsgRequest& request : env_->requests)
      count += request.kind == TMsgRequest::Choice && request.buttons.contains(kSavePlainAnswer);
    return count;
  }
  static std::optional<THardenedRecord> RecordOf(const QString& path) {
    TZipReader reader;
    reader.SetFileName(QFile::encodeName(path).toStdString());
    const TZipItem* entry = reader.FindMember("Data");
    return entry ? FindHardenedRecord(entry->Extra) : std::nullopt;
  }

 private slots:
  void init() {
    SetHardenedMemoryForTesting(kMinHardenedMemory);
    StartWindow();
  }
  void cleanup() {
    SetHardenedMemoryForTesting(0);
    EndWindow();
  }

  void plainSaveQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("savedWith");  // the password that reads it
    QTest::newRow("Set password") << int(kPlainSetPassword) << "pw";
    QTest::newRow("Save without password") << int(kPlainSave) << "";
    QTest::newRow("Cancel") << int(kPlainCancel) << QString();
  }
  void plainSaveQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, savedWith);
    env_->answerPlainSaves = false;
    const QString path = env_->Path("plain.zip");
    AddSiteThroughEditor(*window_, "Site");
    env_->answers.push_back(path);
    env_->answers.push_back(answer);
    if (answer == kPlainSetPassword) AnswerNewPassword("pw", "rbtAes256");
    Trigger("mmiFileSave");
    QCOMPARE(PlainSaveQuestions(), 1);
    const TMsgRequest& asked = env_->requests.last();
    QVERIFY2(asked.text.contains(path), qPrintable(asked.text));
    QVERIFY(asked.text.contains("anyone who gets the file reads every password"));
    QCOMPARE(asked.buttons,
             (QStringList{kSetPasswordAnswer, kSavePlainAnswer, kCancelAnswer}));
    QCOMPARE(window_->IsModified(), savedWith.isNull());
    if (savedWith.isNull()) {
      QVERIFY(!QFile::exists(path));
      return;
    }
    QCOMPARE(ReadDataMember(path, savedWith.toStdString()).value_or(""),
             SiteText({"Site=\t\t\t"}));
    // Asked once per archive: the next save goes ahead.
    AddSiteThroughEditor(*window_, "Other");
    Trigger("mmiFileSave");
    QCOMPARE(PlainSaveQuestions(), 1);
    QVERIFY(!window_->IsModified());
  }

  void hardenedRoundTripKeepsTheSalt() {
    const QString path = env_->Path("hard.zip");
    auto* shown = window_->findChild<QLabel*>("lblEncryption");
    AnswerNewPassword("pw", "rbtHardened");
    Trigger("mmiNewPW");
    QCOMPARE(shown->text(), QStringLiteral("AES-256 hardened after saving"));
    AddSiteThroughEditor(*window_, "Bank");
    env_->answers.push_back(path);
    Trigger("mmiFileSave");
    const auto first = RecordOf(path);
    QVERIFY(first && first->params);
    QCOMPARE(ReadDataMember(path, "pw"), std::nullopt);  // the password is no ZIP password
    const std::string key = DeriveHardenedKey("pw", *first->params).str();
    QCOMPARE(ReadDataMember(path, key).value_or(""), SiteText({"Bank=\t\t\t"}));

    Trigger("mmiFileClose");
    env_->answers.push_back(path);
    env_->passwords.push_back("wrong");
    env_->passwords.push_back("pw");
    Trigger("mmiFileOpen");
    QCOMPARE(env_->prompts, 2);
    QCOMPARE(SiteNames(*window_), QStringList{"Bank"});
    QCOMPARE(shown->text(), QStringLiteral("AES-256 hardened"));
    AddSiteThroughEditor(*window_, "Mail");
    Trigger("mmiFileSave");
    const auto second = RecordOf(path);
    QVERIFY(second && second->params);
    QCOMPARE(second->params->salt, first->params->salt);
    QCOMPARE(ReadDataMember(path, key).value_or(""), SiteText({"Bank=\t\t\t", "Mail=\t\t\t"}));
  }
};

QTEST_MAIN(HardenedSaveTest)
#include "hardened_save_test.moc"
