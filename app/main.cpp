#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vornix");
  QApplication::setApplicationDisplayName("Vornix");
  QMainWindow window;
  window.setWindowTitle("Vornix - Keyvorn");
  window.show();
  return app.exec();
}
