#pragma once
// lwtool's sub-commands. Each cmd_*.cpp defines one or more commands and registers them
// with a static LWTOOL_COMMAND; main() looks the first argument up here.

#include <QStringList>
#include <functional>

namespace lwtool {

struct Command {
  const char* name;   // first word on the command line, e.g. "dump"
  const char* usage;  // one line, e.g. "dump FILE.lwt"
  // Runs with the arguments after the name; returns the exit status.
  std::function<int(const QStringList& args)> run;
};

bool Register(const Command& command);
const Command* Find(const QString& name);
QStringList Usages();

// Prints "lwtool: <message>" on standard error and returns 1 (for `return Fail(...)`).
int Fail(const QString& message);
// Prints a line on standard output.
void Print(const QString& line);

}  // namespace lwtool

#define LWTOOL_CONCAT2(a, b) a##b
#define LWTOOL_CONCAT(a, b) LWTOOL_CONCAT2(a, b)
#define LWTOOL_COMMAND(name, usage, fn) \
  static const bool LWTOOL_CONCAT(lwtool_registered_, __LINE__) = ::lwtool::Register({name, usage, fn})
