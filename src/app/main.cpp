#include <QApplication>

#include "app/CEditorApp.h"

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  CEditorApp app;
  if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
  const int rc = QApplication::exec();
  return app.ExitInstance(rc);
}
