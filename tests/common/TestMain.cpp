// Shared main of every test program: a QApplication (offscreen unless told otherwise)
// so that fonts, images and widgets work, and a private temporary folder per run.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Keep every store, log and temporary file of the run out of the user's own folders.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  qputenv("XDG_STATE_HOME", (home.path() + "/state").toLocal8Bit());
  qputenv("LW_TEMP_DIR", (home.path() + "/tmp").toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
