#include "forms/import_dialog.h"

#include <memory>

#include "forms/form_style.h"
#include "forms/import_form.h"
#include "support/modal_result.h"

int ExecuteImport(TqelPwList& list) { return ExecuteImport(list, {}, {}); }

int ExecuteImport(TqelPwList& list, const QString& title, const QString& note) {
  const std::unique_ptr<TfrmImport, form_style::DeleteLater> form(new TfrmImport());
  form->SetList(list);
  if (!title.isEmpty()) form->SetSource(title, note);
  return form->exec() == mrOk ? mrOk : mrCancel;
}
