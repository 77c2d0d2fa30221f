#include "forms/export_dialog.h"

#include <memory>

#include "forms/export_form.h"
#include "forms/form_style.h"
#include "support/modal_result.h"

int ExecuteExport(const QStringList& formats, int& chosen) {
  const std::unique_ptr<TfrmExport, form_style::DeleteLater> form(new TfrmExport(formats));
  form->SetChosen(chosen);
  if (form->exec() != mrOk) return mrCancel;
  chosen = form->Chosen();
  return mrOk;
}
