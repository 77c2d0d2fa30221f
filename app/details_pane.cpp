#include "app/details_pane.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/password_strength.h"
#include "core/pw_rec.h"
#include "forms/reveal_action.h"
#include "support/text_convert.h"

namespace {

constexpr int kPaneWidth = 240;
// The bar is full from this many bits on.
constexpr int kFullStrengthBits = 100;
// The room beside the row captions.
constexpr int kUrlWidth = 160;

void ShowStrength(QProgressBar* bar, const std::string& password) {
  const double bits = PasswordEntropyBits(password);
  const long rounded = std::lround(bits);
  const bool weak = bits < kWeakPasswordBits;
  bar->setValue(std::min(kFullStrengthBits, static_cast<int>(rounded)));
  bar->setFormat(password.empty() ? QStringLiteral("empty")
                 : weak           ? QStringLiteral("weak, %1 bits").arg(rounded)
                                  : QStringLiteral("%1 bits").arg(rounded));
  bar->setStyleSheet(QStringLiteral("QProgressBar { text-align: center; }"
                                    "QProgressBar::chunk { background: %1; }")
                         .arg(weak ? QStringLiteral("#e07060") : QStringLiteral("#60b080")));
}

QLabel* ValueLabel(const char* name) {
  auto* label = new QLabel;
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

}  // namespace

TDetailsPane::TDetailsPane(QWidget* parent)
    : QFrame(parent),
      lblDetailSite(ValueLabel("lblDetailSite")),
      lblDetailUser(ValueLabel("lblDetailUser")),
      lblDetailURL(new QLabel),
      edtDetailPW(new QLineEdit),
      actDetailShowPW(AddRevealAction(edtDetailPW, "actDetailShowPW", false)),
      pbrDetailStrength(new QProgressBar),
      lblDetailChanged(ValueLabel("lblDetailChanged")),
      lblDetailCode(ValueLabel("lblDetailCode")),
      mmoDetailNotes(new QPlainTextEdit),
      FCodeTimer(new QTimer(this)) {
  setObjectName("pnlDetails");
  setFrameShape(QFrame::StyledPanel);
  setFixedWidth(kPaneWidth);
  lblDetailURL->setObjectName("lblDetailURL");
  lblDetailURL->setTextFormat(Qt::RichText);
  lblDetailURL->setWordWrap(true);
  connect(lblDetailURL, &QLabel::linkActivated, this, [this] { emit OpenUrl(FUrl); });
  edtDetailPW->setObjectName("edtDetailPW");
  edtDetailPW->setReadOnly(true);
  pbrDetailStrength->setObjectName("pbrDetailStrength");
  pbrDetailStrength->setRange(0, kFullStrengthBits);
  pbrDetailStrength->setMaximumHeight(14);
  mmoDetailNotes->setObjectName("mmoDetailNotes");
  mmoDetailNotes->setReadOnly(true);

  auto* form = new QFormLayout(this);
  form->setContentsMargins(6, 6, 6, 6);
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  form->addRow("Site:", lblDetailSite);
  form->addRow("User:", lblDetailUser);
  form->addRow("URL:", lblDetailURL);
  form->addRow("Password:", edtDetailPW);
  form->addRow("Strength:", pbrDetailStrength);
  form->addRow("Changed:", lblDetailChanged);
  form->addRow("Code:", lblDetailCode);
  form->addRow(new QLabel("Notes:"));
  form->addRow(mmoDetailNotes);

  FCodeTimer->setInterval(1000);
  connect(FCodeTimer, &QTimer::timeout, this, &TDetailsPane::ShowCode);
  ShowSite(nullptr);
}

void TDetailsPane::SetChangeDates(TChangeDateFn dates) {
  FDates = dates ? std::move(dates) : NoChangeDates();
}

void TDetailsPane::SetClock(std::function<std::int64_t()> clock) {
  FClock = clock ? std::move(clock) : std::function<std::int64_t()>(UnixNow);
  ShowCode();
}

void TDetailsPane::ShowSite(const TqelPwRec* rec) {
  actDetailShowPW->setChecked(false);  // a newly shown password starts masked
  FTotp.reset();
  FTotpError.clear();
  FUrl.clear();
  if (rec == nullptr) {
    for (QLabel* label : {lblDetailSite, lblDetailUser, lblDetailURL, lblDetailChanged})
      label->clear();
    edtDetailPW->clear();
    mmoDetailNotes->clear();
    pbrDetailStrength->setValue(0);
    pbrDetailStrength->setFormat({});
    ShowCode();
    lblDetailCode->clear();
    return;
  }
  lblDetailSite->setText(ToQString(rec->Site()));
  lblDetailUser->setText(ToQString(rec->User()));
  FUrl = ToQString(rec->URL());
  // A long address is cut in the middle; the tooltip has all of it.
  const QString shown = lblDetailURL->fontMetrics().elidedText(FUrl, Qt::ElideMiddle, kUrlWidth);
  lblDetailURL->setText(FUrl.isEmpty() ? QString()
                                       : QStringLiteral("<a href=\"open\">%1</a>")
                                             .arg(shown.toHtmlEscaped()));
  lblDetailURL->setToolTip(FUrl);
  edtDetailPW->setText(ToQString(rec->PW()));
  ShowStrength(pbrDetailStrength, rec->PW());
  lblDetailChanged->setText(ToQString(ChangeDateText(FDates(*rec))));
  const TSecretBytes notes(rec->Note());
  mmoDetailNotes->setPlainText(ToQString(notes.str()));
  try {
    FTotp = TotpFromNotes(notes.view());
  } catch (const ETotpError& error) {
    FTotpError = QString::fromUtf8(error.what());
  }
  ShowCode();
}

void TDetailsPane::ShowCode() {
  if (!FTotpError.isEmpty()) {
    lblDetailCode->setText(FTotpError);
  } else if (FTotp) {
    const std::int64_t now = FClock();
    lblDetailCode->setText(QStringLiteral("%1  (%2 s left)")
                               .arg(QString::fromStdString(TotpCode(*FTotp, now)))
                               .arg(TotpSecondsLeft(*FTotp, now)));
  } else {
    lblDetailCode->setText(QStringLiteral("none"));
  }
  if (FTotp) {
    FCodeTimer->start();
  } else {
    FCodeTimer->stop();
  }
}
