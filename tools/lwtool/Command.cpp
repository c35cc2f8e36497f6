#include "Command.h"

#include <cstdio>
#include <map>
#include <string>

namespace lwtool {
namespace {
std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}
}  // namespace

bool Register(const Command& command) {
  Registry().emplace(command.name, command);
  return true;
}

const Command* Find(const QString& name) {
  auto it = Registry().find(name.toStdString());
  return it == Registry().end() ? nullptr : &it->second;
}

QStringList Usages() {
  QStringList out;
  for (const auto& [name, cmd] : Registry()) out << QString::fromUtf8(cmd.usage);
  return out;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "lwtool: %s\n", message.toUtf8().constData());
  return 1;
}

void Print(const QString& line) {
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace lwtool
