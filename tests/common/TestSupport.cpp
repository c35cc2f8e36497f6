#include "common/TestSupport.h"

#include <QFile>

namespace lwtest {

QString SourceDir() { return qEnvironmentVariable("LW_SOURCE_DIR", QStringLiteral(".")); }
QString BinaryDir() { return qEnvironmentVariable("LW_BINARY_DIR", QStringLiteral(".")); }

QString FixturePath(const QString& name) { return SourceDir() + "/tests/fixtures/" + name; }

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

}  // namespace lwtest
