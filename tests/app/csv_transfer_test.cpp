// Import from CSV and Export to CSV: records the archive cannot hold are
// listed and skipped only with consent, sites already present are not
// offered again, and an export reads back as the same sites.

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "interchange/site_import.h"
#include "tests/app/window_fixture.h"

namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// Presses OK in the import preview after choosing every offered site.
void TakeEveryOffered(int* offered) {
  modal::WhenModal("TfrmImport", [offered](QWidget* dialog) {
    auto* from = modal::Child<QListWidget>(dialog, "lbxFromArchive");
    *offered = from->count();
    from->selectAll();
    modal::Click(dialog, "btnAdd");
    modal::Click(dialog, "btnOK");
  });
}

}  // namespace

class CsvTransferTest : public TWindowFixture {
  Q_OBJECT
 private:

 private slots:
  void init() {
    StartWindow();
    const QString archive = env_->Path("keys.zip");
    WriteArchiveFile(archive, "", SiteText({"Home=me\th0me\t\t"}));
    env_->answers.push_back(archive);
    Trigger("mmiFileOpen");
  }
  void cleanup() { EndWindow(TErrors::Allowed); }

  void importSkipsRefusedRecordsOnlyWithConsent() {
    const QString csv = env_->Path("in.csv");
    WriteText(csv,
              "name,url,username,password\n"
              "Home,,me,h0me\n"      // already held: not offered again
              "a=b,https://x,u,p\n"  // "=" cannot be in a site name
              "Mail,https://m,joe,pw\n");
    env_->answers.push_back(csv);
    env_->answers.push_back(int(mrNo));
    Trigger("mmiImportCsv");
    QCOMPARE(SiteNames(*window_), QStringList{"Home"});
    QVERIFY(!window_->IsModified());

    int offered = 0;
    env_->answers.push_back(csv);
    env_->answers.push_back(int(mrYes));
    TakeEveryOffered(&offered);
    Trigger("mmiImportCsv");
    QCOMPARE(offered, 1);
    QCOMPARE(SiteNames(*window_), (QStringList{"Home", "Mail"}));
    QVERIFY(window_->IsModified());
    const auto question =
        std::find_if(env_->requests.begin(), env_->requests.end(),
                     [](const TMsgRequest& r) { return r.kind == TMsgRequest::Question; });
    QVERIFY(question != env_->requests.end() && question->text.contains("Line 3"));
  }

  // The preview names the file and says what it does not offer; a file of
  // sites all held already is said so instead of opening an empty preview.
  void previewNamesTheFileAndCountsSitesPresent() {
    const QString csv = env_->Path("in.csv");
    WriteText(csv, "name,url,username,password\nHome,,me,h0me\nMail ,https://m,joe,pw\n");
    QString title, note;
    modal::WhenModal("TfrmImport", [&](QWidget* dialog) {
      title = dialog->windowTitle();
      note = modal::Child<QLabel>(dialog, "lblImportNote")->text();
      modal::Click(dialog, "btnCancel");
    });
    env_->answers.push_back(csv);
    Trigger("mmiImportCsv");
    QCOMPARE(title, QStringLiteral("Import items from in.csv"));
    QVERIFY2(note.contains("1 row(s) already present") && note.contains("Line 3: site name"),
             qPrintable(note));

    WriteText(csv, "name,url,username,password\nHome,,me,h0me\n");
    env_->answers.push_back(csv);
    env_->answers.push_back(int(mrOk));
    Trigger("mmiImportCsv");
    QVERIFY(env_->requests.back().kind == TMsgRequest::Warning &&
            env_->requests.back().text.contains("1 row(s) already present"));
  }

  // Columns no format reads are left out only when the user agrees.
  void unreadColumnsAreLeftOutOnlyWithConsent() {
    const QString csv = env_->Path("in.csv");
    WriteText(csv, "name,url,username,password,extra\nMail,https://m,joe,pw,lost\n");
    env_->answers.push_back(csv);
    env_->answers.push_back(int(mrNo));
    Trigger("mmiImportCsv");
    QVERIFY(env_->requests.back().text.contains("\"extra\""));
    int offered = 0;
    env_->answers.push_back(csv);
    env_->answers.push_back(int(mrYes));
    TakeEveryOffered(&offered);
    Trigger("mmiImportCsv");
    QCOMPARE(SiteNames(*window_), (QStringList{"Home", "Mail"}));
  }

  void exportReadsBackAndIsPrivate() {
    const QString out = env_->Path("out.csv");
    modal::WhenModal("TfrmExport", [](QWidget* dialog) {
      modal::Child<QComboBox>(dialog, "cbxExportFormat")->setCurrentIndex(2);
      modal::Click(dialog, "btnExportOK");
    });
    env_->answers.push_back(out);
    Trigger("mmiExportCsv");
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
    const auto sites = interchange::ReadSites(file.readAll().toStdString());
    QCOMPARE(sites.format, interchange::TFormat::Bitwarden);
    QCOMPARE(sites.sites.size(), std::size_t{1});
    QCOMPARE(sites.sites[0].fields.password, std::string("h0me"));
  }
};

QTEST_MAIN(CsvTransferTest)
#include "csv_transfer_test.moc"
