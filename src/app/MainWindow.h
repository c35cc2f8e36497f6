#pragma once

#include <QMainWindow>

namespace lw {

// The main frame of the editor.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace lw
