// lwtool lrc compile IN.txt OUT.lrc / lrc dump IN.lrc: language files and their text form.
#include <QFile>
#include <QSaveFile>

#include "Command.h"
#include "app/texts/CharsetFonts.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/LanguageSource.h"

namespace {

int Compile(const QString& in, const QString& outPath) {
  QFile f(in);
  if (!f.open(QIODevice::ReadOnly))
    return lwtool::Fail(QStringLiteral("%1: %2").arg(in, f.errorString()));
  QString error;
  const QByteArray bytes = lw::CompileLanguageSource(QString::fromUtf8(f.readAll()), &error);
  if (bytes.isEmpty()) return lwtool::Fail(QStringLiteral("%1: %2").arg(in, error));
  QSaveFile out(outPath);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
    return lwtool::Fail(QStringLiteral("%1: %2").arg(outPath, out.errorString()));
  return 0;
}

int Dump(const QString& in) {
  QFile f(in);
  if (!f.open(QIODevice::ReadOnly))
    return lwtool::Fail(QStringLiteral("%1: %2").arg(in, f.errorString()));
  if (f.size() > lw::kMaxLanguageFileSize)
    return lwtool::Fail(QStringLiteral("%1: file larger than 16 MB").arg(in));
  QString error;
  // The dump shows the file even when no font of its character set is installed here; the
  // program itself would not use such a file, which is said on standard error.
  auto file = lw::LanguageFile::Parse(f.readAll(), nullptr, &error);
  if (!file) return lwtool::Fail(QStringLiteral("%1: %2").arg(in, error));
  if (file->HasTextSection() && !lw::CharsetFontInstalled(file->Charset()))
    lwtool::Fail(
        QStringLiteral(
            "%1: warning: no installed font for character set %2; the program would not use "
            "this file here")
            .arg(in)
            .arg(file->Charset()));
  QString text = lw::WriteLanguageSource(lw::SourceOfFile(*file));
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  lwtool::Print(text);
  return 0;
}

int Run(const QStringList& args) {
  if (args.size() == 3 && args[0] == QLatin1String("compile")) return Compile(args[1], args[2]);
  if (args.size() == 2 && args[0] == QLatin1String("dump")) return Dump(args[1]);
  return lwtool::Fail(QStringLiteral("usage: lwtool lrc compile IN.txt OUT.lrc | lrc dump IN.lrc"));
}

}  // namespace

LWTOOL_COMMAND("lrc", "lrc compile IN.txt OUT.lrc | lrc dump IN.lrc", Run);
