// lwtool text ID [--lrc FILE | --builtin]: a text as the program would show it.
#include <QCoreApplication>

#include "Command.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/TextLoader.h"

namespace {

int Run(const QStringList& args) {
  bool ok = false;
  const unsigned id = args.isEmpty() ? 0 : args[0].toUInt(&ok);
  const QString usage = QStringLiteral("usage: lwtool text ID [--lrc FILE | --builtin]");
  if (!ok || (args.size() != 1 && args.size() != 2 && args.size() != 3)) return lwtool::Fail(usage);
  if (args.size() == 3 && args[1] == QLatin1String("--lrc")) {
    // As the program does with a file it cannot use: say why, then show the built-in text.
    if (!lw::OpenLanguageFileAt(args[2]))
      lwtool::Fail(lw::LanguageFileError() + QStringLiteral("; using the built-in texts"));
  } else if (args.size() == 2 && args[1] == QLatin1String("--builtin")) {
    lw::CloseLanguageFile();
  } else if (args.size() == 1) {
    // The file the editor would load: the user's translation, else the one beside the
    // executable (here: beside lwtool, named leafwright.lrc).
    const QString user = lw::UserLanguageFilePath();
    if (!lw::OpenLanguageFileAt(user))
      lw::OpenLanguageFile(QCoreApplication::applicationFilePath(),
                           QStringLiteral("leafwright.lrc"));
  } else {
    return lwtool::Fail(usage);
  }
  QString text;
  if (!lw::CTextLoader().LoadTextInto(text, id))
    return lwtool::Fail(QStringLiteral("no text with id %1").arg(id));
  if (lw::IsLanguageFileOpen() && !lw::OpenLanguageFileData()->Find(id))
    lwtool::Fail(QStringLiteral("text %1 is not in %2; showing the built-in text")
                     .arg(id)
                     .arg(lw::LanguageFilePath()));
  lwtool::Print(text);
  return 0;
}

}  // namespace

LWTOOL_COMMAND("text", "text ID [--lrc FILE | --builtin]", Run);
