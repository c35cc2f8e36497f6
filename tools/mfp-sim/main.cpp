// leafwright-mfp-sim: a stand-in for the cover page service of a multi-function peripheral.
// Serves until interrupted; prints the port it listens on.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pthread.h>

#include "MfpSimulator.h"

namespace {

void Usage() {
  std::fputs(
      "usage: leafwright-mfp-sim [--port P] [--bind ADDR] [--data DIR] [--slots 5|20] [--verbose]\n"
      "                          [--delay MS] [--close-without-body] [--drop-body] [--error-code N]\n"
      "                          [--cord] [--malformed-xml] [--oversized BYTES] [--status-404]\n"
      "                          [--fault-path PATH]\n"
      "  --port 0 (the default) picks a free port; the port is printed as \"listening on ADDR:PORT\".\n"
      "  The fault options make every answer (or only those to --fault-path) misbehave.\n",
      stderr);
}

bool Number(const char* text, long long min, long long max, long long& out) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno || !end || *end || end == text || v < min || v > max) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  mfpsim::Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](long long min, long long max, long long& out) {
      if (i + 1 >= argc || !Number(argv[++i], min, max, out)) {
        std::fprintf(stderr, "leafwright-mfp-sim: %s needs a number from %lld to %lld\n", a.c_str(), min, max);
        std::exit(2);
      }
    };
    auto text = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "leafwright-mfp-sim: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    long long n = 0;
    if (a == "--port") value(0, 65535, n), o.port = static_cast<int>(n);
    else if (a == "--bind") o.bind = text();
    else if (a == "--data") o.dataDir = text();
    else if (a == "--slots") value(5, 20, n), o.slotCount = static_cast<int>(n);
    else if (a == "--verbose") o.verbose = true;
    else if (a == "--delay") value(0, 3600000, n), o.faults.delayMs = static_cast<int>(n);
    else if (a == "--close-without-body") o.faults.closeWithoutBody = true;
    else if (a == "--drop-body") o.faults.dropBody = true;
    else if (a == "--error-code") value(-2147483647, 2147483647, n), o.faults.errorCode = static_cast<int>(n);
    else if (a == "--cord") o.faults.cord = true;
    else if (a == "--malformed-xml") o.faults.malformedXml = true;
    else if (a == "--oversized") value(1, 1LL << 31, n), o.faults.oversizedBytes = static_cast<size_t>(n);
    else if (a == "--status-404") o.faults.status404 = true;
    else if (a == "--fault-path") o.faults.onlyPath = text();
    else if (a == "-h" || a == "--help") return Usage(), 0;
    else {
      std::fprintf(stderr, "leafwright-mfp-sim: unknown option %s\n", a.c_str());
      Usage();
      return 2;
    }
  }

  // SIGINT and SIGTERM are taken by sigwait below, so every thread must block them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  mfpsim::Simulator sim(o);
  std::string error;
  if (!sim.Start(error)) {
    std::fprintf(stderr, "leafwright-mfp-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("listening on %s:%d\n", o.bind.c_str(), sim.Port());
  std::fflush(stdout);
  int sig = 0;
  sigwait(&stopSignals, &sig);
  sim.Stop();
  return 0;
}
