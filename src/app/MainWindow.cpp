#include "app/MainWindow.h"

namespace lw {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("無題 - Leafwright"));
  resize(1024, 768);
}

}  // namespace lw
