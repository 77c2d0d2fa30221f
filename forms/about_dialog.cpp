#include "forms/about_dialog.h"

#include <memory>

#include "forms/about_form.h"
#include "forms/form_style.h"

int ExecuteAbout() {
  const std::unique_ptr<TfrmAbout, form_style::DeleteLater> form(new TfrmAbout());
  return form->exec();
}
