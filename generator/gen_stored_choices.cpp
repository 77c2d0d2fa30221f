#include "generator/gen_stored_choices.h"

#include <QCheckBox>
#include <QSpinBox>

#include "support/state.h"

bool StoredCheck(const QString& value, bool defaultValue) {
  return (StoredInt(value, defaultValue ? 1 : 0) & 0xFF) != 0;
}

int StoredInt(const QString& value, int defaultValue) {
  bool ok = false;
  const int number = value.trimmed().toInt(&ok);
  return ok ? number : defaultValue;
}

QString ChoiceKey(const QString& formName, const QObject* control, const char* property) {
  return formName + u'.' + control->objectName() + u'.' + QLatin1String(property);
}

void LoadCheck(QCheckBox* box, const QString& formName, bool defaultValue) {
  box->setChecked(StoredCheck(State().GetValue(ChoiceKey(formName, box, "Checked")), defaultValue));
}

void SaveCheck(const QCheckBox* box, const QString& formName) {
  State().SetValue(ChoiceKey(formName, box, "Checked"),
                   box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void LoadNumber(QSpinBox* box, const QString& formName, int defaultValue) {
  box->setValue(StoredInt(State().GetValue(ChoiceKey(formName, box, "Value")), defaultValue));
}

void SaveNumber(const QSpinBox* box, const QString& formName) {
  State().SetValue(ChoiceKey(formName, box, "Value"), QString::number(box->value()));
}
