#pragma once
// Small helpers shared by the test programs.

#include <QByteArray>
#include <QString>

namespace lwtest {

// The repository's source folder and the build folder (set by CTest).
QString SourceDir();
QString BinaryDir();

// A fixture file under tests/fixtures.
QString FixturePath(const QString& name);

QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& bytes);

}  // namespace lwtest
