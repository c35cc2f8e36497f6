#include "AppTestSupport.h"

#include "app/settings/SettingsStore.h"
#include "app/texts/LanguageSource.h"
#include "app/texts/TextLoader.h"
#include "document/DocGlobals.h"
#include "view/CDrawView.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace apptest {

void ResetProgramState() {
  lw::CloseLanguageFile();
  QFile::remove(lw::SettingsStore().FilePath());
  lw::ResetAllState();
  lw::ResetViewState();
}

bool OpenLanguageSource(const QString& source) {
  static QTemporaryDir dir;
  QString error;
  const QByteArray bytes = lw::CompileLanguageSource(source, &error);
  EXPECT_FALSE(bytes.isEmpty()) << error.toStdString();
  if (bytes.isEmpty()) return false;
  const QString path = dir.filePath(QStringLiteral("test.lrc"));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    ADD_FAILURE() << "cannot write " << path.toStdString();
    return false;
  }
  f.close();
  const bool ok = lw::OpenLanguageFileAt(path);
  EXPECT_TRUE(ok) << lw::LanguageFileError().toStdString();
  return ok;
}

}  // namespace apptest
