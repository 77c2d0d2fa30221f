#pragma once
// How the generator dialog keeps its choices in the settings store: each
// control's value under "<form>.<object name>.<property>", a check box as
// "1" or "0" and a number as decimal text, as older settings files hold
// them.

#include <QString>

class QCheckBox;
class QObject;
class QSpinBox;

// The stored value of a check box: a whole number whose low eight bits are
// not all zero ticks it; absent or not a number gives the default.
bool StoredCheck(const QString& value, bool defaultValue);
// The stored length: a whole number, or the default when absent or not a
// number (the spin box then brings it into its range).
int StoredInt(const QString& value, int defaultValue);

// The settings key of one property of a control of the form.
QString ChoiceKey(const QString& formName, const QObject* control, const char* property);

void LoadCheck(QCheckBox* box, const QString& formName, bool defaultValue);
void SaveCheck(const QCheckBox* box, const QString& formName);
void LoadNumber(QSpinBox* box, const QString& formName, int defaultValue);
void SaveNumber(const QSpinBox* box, const QString& formName);
