// Program start: the application object with its error display, the main
// window, and the event loop until the window closes.

#include <cstdio>
#include <string_view>

#include "app/command_line.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "core/process_guard.h"
#include "support/build_config.h"
#include "support/version_info.h"

namespace {

// Answered before the application object exists, so that they work without
// a display, as scripts and package tools call them. True when answered.
bool AnswerInfoSwitch(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument(argv[i]);
    if (argument == "--version") {
      std::printf("vornix %s\n", qUtf8Printable(TqelVersionInfo().FileVersion()));
      return true;
    }
    if (IsHelpSwitch(argument)) {
      std::fputs(kWindowUsage, stdout);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (AnswerInfoSwitch(argc, argv)) return 0;
  GuardProcessSecrets();
  TVornixApplication app(argc, argv);
  // The display name follows the application name; setting it separately
  // would make the platform append it to every window title.
  QApplication::setApplicationName(QStringLiteral(VORNIX_PROGRAM_NAME));
  // Wayland desktops find the window's entry and icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral(VORNIX_APP_ID));
  TfrmMain window;
  window.show();
  return app.exec();
}
