#pragma once
// The password generator dialog.

#include <QString>

// On OK sets password to the last generated password (empty when none was
// generated); otherwise leaves it unchanged. Returns mrOk or mrCancel.
int ExecuteGenPW(QString& password);
