#pragma once
// The archive password prompts. On OK the entered text is copied into
// password exactly as typed.

#include <QString>

int ExecuteOpenPW(QString& password);
int ExecuteSavePW(QString& password);
