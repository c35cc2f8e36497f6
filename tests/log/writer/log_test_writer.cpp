// log_test_writer TAG COUNT: configures the log as the program does (reading its settings
// from the user's store) and writes COUNT lines "TAG <n>", n = 0 .. COUNT-1.
#include <cstdio>
#include <cstdlib>

#include "log/DiagnosticLog.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: log_test_writer TAG COUNT\n", stderr);
    return 2;
  }
  lw::DiagnosticLog log;
  log.Configure(lw::kLogKeyPath, lw::kLogFileName, nullptr);
  const int count = std::atoi(argv[2]);
  for (int i = 0; i < count; ++i) log.Write("%s %d", argv[1], i);
  return 0;
}
