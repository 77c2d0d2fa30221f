#include "generator/gen_pw_dialog.h"

#include <memory>

#include "generator/gen_pw_form.h"
#include "support/modal_result.h"

namespace {

// Releases the dialog through the event queue: it is destroyed (and saves
// its settings) when the caller's event loop next runs.
struct DeleteLater {
  void operator()(QObject* object) const { object->deleteLater(); }
};

}  // namespace

int ExecuteGenPW(QString& password) {
  const std::unique_ptr<TfrmGenPW, DeleteLater> form(new TfrmGenPW());
  const int result = form->exec();
  if (result == mrOk) password = form->LastPassword();
  return result == mrOk ? mrOk : mrCancel;
}
