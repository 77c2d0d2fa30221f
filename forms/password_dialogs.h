#pragma once
// The archive password prompts. On OK the entered text is copied into
// password exactly as typed.

#include <QString>

#include "archive/crypto/zip_encryption.h"

int ExecuteOpenPW(QString& password);
// aes256, when given, presets the encryption choice and receives it on OK.
int ExecuteSavePW(QString& password, bool* aes256 = nullptr);
// The same with the encryption shown first and, on OK, the one chosen.
int ExecuteSavePW(QString& password, TEncryption& encryption);
