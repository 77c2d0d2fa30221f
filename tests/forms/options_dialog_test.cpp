// The options: their stored texts with defaults for anything invalid, and
// the dialog that changes them.

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QtTest>
#include <optional>

#include "forms/options_dialog.h"
#include "support/modal_result.h"
#include "support/options.h"
#include "support/state.h"
#include "tests/forms/dialog_test.h"

namespace {

bool Same(const TOptions& a, const TOptions& b) {
  return a.clipboardSeconds == b.clipboardSeconds && a.idleLockMinutes == b.idleLockMinutes &&
         a.lockWithScreenSaver == b.lockWithScreenSaver && a.encryption == b.encryption &&
         a.backups == b.backups && a.saveAfterEveryChange == b.saveAfterEveryChange &&
         a.saveBeforeLock == b.saveBeforeLock && a.hidePasswordsInEditor == b.hidePasswordsInEditor;
}

TOptions Changed() {
  TOptions options;
  options.clipboardSeconds = 0;
  options.idleLockMinutes = 30;
  options.lockWithScreenSaver = false;
  options.encryption = TNewEncryption::Aes256;
  options.backups = 3;
  options.saveAfterEveryChange = true;
  options.saveBeforeLock = false;
  options.hidePasswordsInEditor = true;
  return options;
}

}  // namespace

class OptionsDialogTest : public TDialogTest {
  Q_OBJECT

 public:
  OptionsDialogTest() : TDialogTest(kSettings) {}

 private slots:
  void storedOptionsRoundTrip() {
    QVERIFY(Same(ReadOptions(), TOptions()));
    QCOMPARE(ClipboardSeconds(), 10);
    WriteOptions(Changed());
    QVERIFY(Same(ReadOptions(), Changed()));
    QCOMPARE(State().GetValue("Options.Encryption"), QStringLiteral("aes256"));
    QCOMPARE(State().GetValue("Options.LockWithScreenSaver"), QStringLiteral("0"));
    QCOMPARE(State().GetValue("Options.SaveBeforeLock"), QStringLiteral("0"));
  }

  void invalidTextsGiveTheDefaults_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("word") << "ten";
    QTest::newRow("negative") << "-1";
    QTest::newRow("too large") << "100000";
    QTest::newRow("fraction") << "2.5";
  }
  void invalidTextsGiveTheDefaults() {
    QFETCH(QString, text);
    for (const char* name :
         {"Options.ClipboardSeconds", "Options.IdleLockMinutes", "Options.LockWithScreenSaver",
          "Options.Encryption", "Options.Backups", "Options.SaveAfterEveryChange",
          "Options.SaveBeforeLock", "Options.HidePasswordsInEditor"})
      State().SetValue(name, text);
    QVERIFY(Same(ReadOptions(), TOptions()));
  }

  void okTakesTheChoicesAndCancelKeepsThem() {
    for (const bool ok : {false, true}) {
      TOptions options;
      modal::WhenModal("frmOptions", [ok](QWidget* dialog) {
        modal::Child<QSpinBox>(dialog, "speClipboardSeconds")->setValue(0);
        modal::Child<QSpinBox>(dialog, "speIdleLockMinutes")->setValue(30);
        modal::Child<QCheckBox>(dialog, "cbxLockWithScreenSaver")->setChecked(false);
        modal::Child<QComboBox>(dialog, "cmbEncryption")->setCurrentIndex(1);
        modal::Child<QSpinBox>(dialog, "speBackups")->setValue(3);
        modal::Child<QCheckBox>(dialog, "cbxSaveAfterEveryChange")->setChecked(true);
        modal::Child<QCheckBox>(dialog, "cbxSaveBeforeLock")->setChecked(false);
        modal::Child<QCheckBox>(dialog, "cbxHidePasswords")->setChecked(true);
        modal::Click(dialog, ok ? "btnOK" : "btnCancel");
      });
      QCOMPARE(ExecuteOptions(options), ok ? int(mrOk) : int(mrCancel));
      QVERIFY(Same(options, ok ? Changed() : TOptions()));
    }
  }

  void zeroReadsAsNever() {
    TfrmOptions form;
    form.SetOptions(Changed());
    QCOMPARE(form.findChild<QSpinBox*>("speClipboardSeconds")->text(), QStringLiteral("Never"));
  }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
