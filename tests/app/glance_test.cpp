// The site at a glance: what the details pane shows for the selected site,
// the copy commands' clipboard rules, and the report opening its sites.

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>

#include "app/details_pane.h"
#include "core/totp.h"
#include "support/secret_clipboard.h"
#include "support/shell_open.h"
#include "tests/app/window_fixture.h"
#include "tests/app/fake_ticker.h"

namespace {

const char kSecret[] = "JBSWY3DPEHPK3PXP";
}  // namespace

class GlanceTest : public TWindowFixture {
  Q_OBJECT
 private:
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  void Open() {
    OpenWritten("sites.zip", "pw",
                SiteText({"Bank=ana\tp1\thttps://bank.example/?a=1&b=2\tpin 7\\nTOTP: "
                          "JBSWY3DPEHPK3PXP",
                          "Mail=bob\tCorrect-Horse-Battery-Staple-91\t\t",
                          "Shop=cy\tCorrect-Horse-Battery-Staple-91\t\t"}));
    QCOMPARE(SiteNames(*window_), (QStringList{"Bank", "Mail", "Shop"}));
  }

 private slots:
  void init() { StartWindowWithClipboardClock(); }
  void cleanup() {
    SetShellOpener(nullptr);
    EndWindow();
  }

  void detailsPaneShowsTheSelectedSite() {
    Open();
    auto* pane = Find<TDetailsPane>("pnlDetails");
    QVERIFY(!pane->isVisibleTo(window_.get()));
    const int narrow = window_->width();
    Find<QAction>("mmiDetails")->trigger();
    QVERIFY(pane->isVisibleTo(window_.get()));
    QCOMPARE(window_->width(), narrow + pane->width());
    QCOMPARE(State().GetValue("TfrmMain.Details"), QStringLiteral("1"));
    pane->SetClock([] { return std::int64_t(59); });

    QCOMPARE(Text("lblDetailSite"), QStringLiteral("Bank"));
    QCOMPARE(Text("lblDetailUser"), QStringLiteral("ana"));
    QVERIFY(Text("lblDetailURL").startsWith("<a href=\"open\">https://ba"));
    QCOMPARE(Find<QLabel>("lblDetailURL")->toolTip(), QStringLiteral("https://bank.example/?a=1&b=2"));
    auto* pw = Find<QLineEdit>("edtDetailPW");
    QCOMPARE(pw->text(), QStringLiteral("p1"));
    QCOMPARE(pw->echoMode(), QLineEdit::Password);
    Find<QAction>("actDetailShowPW")->trigger();
    QCOMPARE(pw->echoMode(), QLineEdit::Normal);
    QVERIFY(Find<QProgressBar>("pbrDetailStrength")->format().startsWith("weak"));
    QCOMPARE(Text("lblDetailChanged"), QStringLiteral("unknown"));
    const QString code = QString::fromStdString(TotpCode(ParseTotp(kSecret), 59));
    QCOMPARE(Text("lblDetailCode"), code + "  (1 s left)");
    QStringList opened;
    SetShellOpener([&opened](const QString& address) { opened << address; });
    emit Find<QLabel>("lblDetailURL")->linkActivated("open");
    QCOMPARE(opened, (QStringList{"https://bank.example/?a=1&b=2"}));

    // Another site: masked again, its own date from the change records.
    window_->SetChangeDates([](const TqelPwRec&) -> std::optional<TChangeTime> {
      return TChangeTime(std::chrono::sys_days(std::chrono::year(2025) / 1 / 2)) +
             std::chrono::hours(12);
    });
    auto* list = Find<TSiteListBox>("lbxSiteList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(Text("lblDetailSite"), QStringLiteral("Mail"));
    QCOMPARE(pw->echoMode(), QLineEdit::Password);
    QCOMPARE(Text("lblDetailChanged"), QStringLiteral("2025-01-02"));
    QCOMPARE(Text("lblDetailCode"), QStringLiteral("none"));

    // The lock leaves nothing in the pane.
    window_->mmiLockClick();
    QVERIFY(window_->IsLocked());
    QCOMPARE(pw->text(), QString());
    QCOMPARE(Text("lblDetailSite"), QString());
    Find<QAction>("mmiDetails")->trigger();
    QCOMPARE(window_->width(), narrow);
    QCOMPARE(State().GetValue("TfrmMain.Details"), QStringLiteral("0"));
  }

  void copiedFieldsCarryTheHintAndAreCleared_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");  // empty: the current one-time code
    QTest::newRow("user name") << "mmiCopyUser" << "ana";
    QTest::newRow("password") << "mmiCopyPW" << "p1";
    QTest::newRow("one-time code") << "mmiCopyTotp" << QString();
  }
  void copiedFieldsCarryTheHintAndAreCleared() {
    QFETCH(QString, command);
    QFETCH(QString, expected);
    Open();
    const std::int64_t before = UnixNow();
    Find<QAction>(qPrintable(command))->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    if (expected.isEmpty()) {
      const TTotpParams params = ParseTotp(kSecret);
      QVERIFY2(copied == QString::fromStdString(TotpCode(params, before)) ||
                   copied == QString::fromStdString(TotpCode(params, UnixNow())),
               qPrintable(copied));
    } else {
      QCOMPARE(copied, expected);
    }
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->data("x-kde-passwordManagerHint"),
             QByteArray("secret"));
    QCOMPARE(Find<QLabel>("lblClipboard")->text(), QStringLiteral("Clipboard clears in 10 s"));
    seconds_->Pass(10);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
  }

  void copyOneTimeCodeExplainsAMissingCode() {
    Open();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    Find<TSiteListBox>("lbxSiteList")->SetItemIndex(1);
    Find<QAction>("mmiCopyTotp")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(env_->errors, (QStringList{QString::fromStdString(NoTotpText("Mail"))}));
    env_->errors.clear();
  }

  void reportRowsOpenTheirSite() {
    Open();
    QStringList rows;
    modal::WhenModal("frmPasswordReport", [&rows](QWidget* dialog) {
      auto* tree = modal::Child<QTreeWidget>(dialog, "tvwReport");
      for (int i = 0; i < tree->topLevelItemCount(); ++i)
        rows << tree->topLevelItem(i)->text(0) + "|" + tree->topLevelItem(i)->text(1) + "|" +
                    tree->topLevelItem(i)->text(2);
      tree->setCurrentItem(tree->topLevelItem(2));
      modal::Click(dialog, "btnOpenSite");
    });
    QString shown;
    AnswerSiteEditor(std::nullopt, &shown);
    Find<QAction>("mmiPasswordReport")->trigger();
    QCOMPARE(rows, (QStringList{"Bank|Weak password|unknown",
                                "Mail|Reused password (group 1)|unknown",
                                "Shop|Reused password (group 1)|unknown"}));
    QCOMPARE(shown, QStringLiteral("Shop"));
  }
};

QTEST_MAIN(GlanceTest)
#include "glance_test.moc"
