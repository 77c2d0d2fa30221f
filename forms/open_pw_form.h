#pragma once
// Asks for the password of an archive being read.

#include "forms/password_prompt.h"

class TfrmOpenPW : public TPasswordPrompt {
  Q_OBJECT

 public:
  explicit TfrmOpenPW(QWidget* parent = nullptr);
};
