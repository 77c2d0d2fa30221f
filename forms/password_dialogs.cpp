#include "forms/password_dialogs.h"

#include <memory>

#include "forms/form_style.h"
#include "forms/open_pw_form.h"
#include "forms/save_pw_form.h"
#include "support/modal_result.h"

namespace {

// Runs a password prompt; on OK copies its password into the caller's.
template <class Form>
int RunPasswordDialog(QString& password) {
  const std::unique_ptr<Form, form_style::DeleteLater> form(new Form());
  if (form->exec() != mrOk) return mrCancel;
  password = form->Password();
  return mrOk;
}

}  // namespace

int ExecuteOpenPW(QString& password) { return RunPasswordDialog<TfrmOpenPW>(password); }

int ExecuteSavePW(QString& password, TEncryption& encryption) {
  const std::unique_ptr<TfrmSavePW, form_style::DeleteLater> form(new TfrmSavePW());
  form->SetEncryption(encryption);
  if (form->exec() != mrOk) return mrCancel;
  password = form->Password();
  encryption = form->ChosenEncryption();
  return mrOk;
}

int ExecuteSavePW(QString& password, bool* aes256) {
  const std::unique_ptr<TfrmSavePW, form_style::DeleteLater> form(new TfrmSavePW());
  if (aes256) form->SetAes256(*aes256);
  if (form->exec() != mrOk) return mrCancel;
  password = form->Password();
  if (aes256) *aes256 = form->Aes256();
  return mrOk;
}
