// lw-lrc-compile IN.txt OUT.lrc: compiles a language file from its text form. The output
// is written to a temporary file beside OUT and renamed over it, so a failed run never
// leaves a half-written language file.
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>

#include "app/texts/LanguageSource.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: lw-lrc-compile IN.txt OUT.lrc\n", stderr);
    return 2;
  }
  const QString in = QString::fromLocal8Bit(argv[1]);
  const QString outPath = QString::fromLocal8Bit(argv[2]);
  QFile f(in);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "lw-lrc-compile: %s: %s\n", argv[1],
                 f.errorString().toLocal8Bit().constData());
    return 1;
  }
  QString error;
  const QByteArray bytes = lw::CompileLanguageSource(QString::fromUtf8(f.readAll()), &error);
  if (bytes.isEmpty()) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.toLocal8Bit().constData());
    return 1;
  }
  QSaveFile out(outPath);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
    std::fprintf(stderr, "lw-lrc-compile: %s: %s\n", argv[2],
                 out.errorString().toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
