// Program start: the application object with its error display, the main
// window, and the event loop until the window closes.

#include "app/error_display.h"
#include "app/main_window.h"
#include "core/process_guard.h"

int main(int argc, char* argv[]) {
  GuardProcessSecrets();
  TVornixApplication app(argc, argv);
  // The display name follows the application name; setting it separately
  // would make the platform append it to every window title.
  QApplication::setApplicationName("Vornix");
  TfrmMain window;
  window.show();
  return app.exec();
}
