// Renders each dialog with sample content into PNG files, for checking by
// eye that no text is clipped. Not a test: run it under a display server,
// e.g.  xvfb-run -s "-screen 0 1024x768x24" ./vornix_dialog_screenshots DIR

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

#include "core/pw_list.h"
#include "core/pw_rec.h"
#include "forms/about_form.h"
#include "forms/import_form.h"
#include "forms/open_pw_form.h"
#include "forms/save_pw_form.h"
#include "forms/site_form.h"
#include "generator/gen_pw_form.h"
#include "tests/common/test_settings.h"

namespace {

bool Save(QWidget* form, const QString& dir, const char* name) {
  form->show();
  QApplication::processEvents();
  const QString path = QDir(dir).filePath(QLatin1String(name) + QStringLiteral(".png"));
  const bool ok = form->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
  return ok;
}

void SetText(QWidget* form, const char* name, const QString& text) {
  form->findChild<QLineEdit*>(QLatin1String(name))->setText(text);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  const TTempSettings settings;
  bool ok = true;

  {
    TfrmGenPW form;
    SetText(&form, "edtSpecial", QStringLiteral("#$%*+?"));
    form.findChild<QToolButton*>("spbGenPW")->click();
    ok &= Save(&form, dir, "generator");
    form.findChild<QCheckBox*>("cbxWords")->setChecked(true);
    form.findChild<QCheckBox*>("cbxDigit")->setChecked(true);
    form.findChild<QToolButton*>("spbGenPW")->click();
    ok &= Save(&form, dir, "generator_words");
  }
  {
    TqelPwRec rec;
    rec.SetLine(
        "Example Bank=joe.bloggs\tq7#Lm2x$Zp\thttps://bank.example.com/login\t"
        "Security question: first pet\\nAnswer: Rex");
    TfrmSite form;
    form.LoadRecord(rec);
    ok &= Save(&form, dir, "site");
  }
  {
    TfrmOpenPW form;
    SetText(&form, "edtPW", QStringLiteral("secret"));
    ok &= Save(&form, dir, "open_password");
  }
  {
    TfrmSavePW form;
    SetText(&form, "edtPW", QStringLiteral("secret"));
    SetText(&form, "edtConfirm", QStringLiteral("secret"));
    ok &= Save(&form, dir, "save_password");
    form.SetAes256(true);
    ok &= Save(&form, dir, "save_password_aes");
    form.findChild<QPushButton*>("btnPassphrase")->click();
    ok &= Save(&form, dir, "save_password_passphrase");
  }
  {
    TqelPwList list;
    for (const char* site : {"Bank", "Electricity supplier", "E-mail", "Forum", "Library",
                             "Phone company", "Shop", "Streaming service", "Travel agent"})
      list.Add(std::string(site) + "=user\tpw\t\t");
    TfrmImport form;
    form.SetList(list);
    form.show();
    auto* left = form.findChild<QListWidget*>(QStringLiteral("lbxFromArchive"));
    left->item(1)->setSelected(true);
    left->item(4)->setSelected(true);
    form.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    left->item(2)->setSelected(true);
    ok &= Save(&form, dir, "import");
  }
  {
    TfrmAbout form;
    ok &= Save(&form, dir, "about");
  }
  return ok ? 0 : 1;
}
