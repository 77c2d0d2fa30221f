#include "forms/site_dialog.h"

#include <memory>

#include "forms/form_style.h"
#include "forms/site_form.h"
#include "support/modal_result.h"

int ExecuteSite(TqelPwRec& rec) {
  const std::unique_ptr<TfrmSite, form_style::DeleteLater> form(new TfrmSite());
  form->LoadRecord(rec);
  return form->exec() == mrOk ? mrOk : mrCancel;
}
