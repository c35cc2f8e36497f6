// lwtool: the command-line companion of the editor. No display needed.
#include <QGuiApplication>
#include <cstdio>

#include "Command.h"

static void PrintUsage() {
  std::fputs("usage: lwtool COMMAND [ARGS]\ncommands:\n", stderr);
  for (const QString& u : lwtool::Usages()) std::fprintf(stderr, "  lwtool %s\n", u.toUtf8().constData());
}

int main(int argc, char* argv[]) {
  // Rendering needs fonts, so a GUI application on the offscreen platform: no display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty() || args[0] == "-h" || args[0] == "--help") {
    PrintUsage();
    return args.isEmpty() ? 2 : 0;
  }
  const lwtool::Command* cmd = lwtool::Find(args[0]);
  if (!cmd) {
    PrintUsage();
    return lwtool::Fail(QStringLiteral("unknown command '%1'").arg(args[0]));
  }
  return cmd->run(args.mid(1));
}
