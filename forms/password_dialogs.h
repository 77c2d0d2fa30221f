#pragma once
// The archive password prompts. On OK the entered text is copied into
// password exactly as typed.

#include <QString>

int ExecuteOpenPW(QString& password);
// aes256, when given, presets the encryption choice and receives it on OK.
int ExecuteSavePW(QString& password, bool* aes256 = nullptr);
