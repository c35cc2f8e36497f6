#pragma once
// The diagnostic log: a trace of the upload transactions as timestamped text lines, written
// to a log file and/or standard error. Off by default; switched on and tuned only through
// the values of section [Log] of the store "Software\Pellucor\Nexilo\Leafwright"
// (<config>/Pellucor/Nexilo/Leafwright.ini, see base/RegistryPath.h):
//
//   [Log]
//   OutLevel=2            ; 2 writes the trace; 0 and 1 write nothing (default 0)
//   ToLogFile=1           ; write to the log file (default 1)
//   ToDebugWnd=1          ; write to standard error (default 1)
//   ToXML=1               ; selects XML output, which writes nothing (default 1)
//   OutputTimeInfo=1      ; "hh:mm:ss mmmm " before each line (default 1)
//   UseDayFileName=0      ; "yyyymmdd" before the file name (default 0)
//   DeleteFileSize=0      ; start a new file when it is larger than this many KB (0: never)
//   AlwaysOpenFile=0      ; keep the file open between lines (default 0)
//   LogFolder=/path/      ; joined to the file name as it is (default: the user's state
//                         ; folder, ~/.local/state/leafwright/)
//
// Lines end in CR LF in the file. Every process that writes the same log file takes one
// advisory file lock per line, so lines never interleave; a line that cannot get the lock
// within 3 seconds is dropped. All failures are silent.

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

namespace lw {

inline constexpr const char* kLogKeyPath = "Software\\Pellucor\\Nexilo\\Leafwright\\Log";
inline constexpr const char* kLogFileName = "Leafwright.log";

struct LogSettings {
  std::string keyPath = kLogKeyPath;
  std::string folder;  // including its trailing "/"; joined to the names as it is
  std::string logFileName;
  std::string xmlFileName;
  int toLogFile = 1;
  int toXml = 1;
  int toDebugWnd = 1;
  int outputTimeInfo = 1;
  int outLevel = 0;  // 0..2; 2 writes the trace
  int useDayFileName = 0;
  int deleteFileSize = 0;  // KB (1024 bytes); 0: no limit
  int alwaysOpenFile = 0;
  int readRegistry = 0;
};

// The local time a line is stamped with.
struct LogTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class DiagnosticLog {
 public:
  DiagnosticLog();
  virtual ~DiagnosticLog();
  DiagnosticLog(const DiagnosticLog&) = delete;
  DiagnosticLog& operator=(const DiagnosticLog&) = delete;

  // Takes the key path and the names (each only when not null), reads the store and makes
  // the settings final. The program calls it once: (kLogKeyPath, kLogFileName, nullptr).
  void Configure(const char* keyPath, const char* logFileName, const char* xmlFileName);

  // Writes one line made from a printf-style format (the message is cut at 2000 bytes, on a
  // character boundary). Does nothing unless the output level is 2.
  void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void WriteV(const char* format, va_list args);

  // The settings (final once Configure ran or the first line was written).
  const LogSettings& Settings() const { return m_settings; }
  // Settings to start from before Configure or the first line (for tools and tests).
  void SetSettings(const LogSettings& settings) { m_settings = settings; }

  // Where the line written now would go: folder + the (dated) log file name.
  std::string CurrentLogFilePath() const;

  // The lock file shared by every writer of this log file (empty before initialisation or
  // when the private temporary folder cannot be had).
  const std::string& LockFilePath() const { return m_lockPath; }

  // The clock that stamps lines and dates file names; the local time by default.
  void SetClock(std::function<LogTime()> clock) { m_clock = std::move(clock); }

 private:
  void Initialize();
  void ReadRegistry();
  void Normalize();
  void WriteLine(const char* format, va_list args);
  void WriteToFile(const std::string& path, const char* bytes, size_t length);
  void CloseFile();
  bool AcquireLock(std::chrono::steady_clock::time_point deadline);
  void ReleaseLock();
  std::string LogFilePathFor(const LogTime& now) const;

  LogSettings m_settings;
  char m_line[4096] = {};
  bool m_bInitialized = false;
  int m_hFile = -1;        // the open log file, or -1
  std::string m_openPath;  // the path m_hFile was opened with
  int m_lockFd = -1;       // the lock shared with other writers of the same file
  std::string m_lockPath;
  uint32_t* m_lockShared = nullptr;  // two counters in the lock file: waiting writers, grants
  bool m_defaultFolder = false;      // the folder is ours to create
  std::timed_mutex m_mutex;          // one line at a time within this process
  std::function<LogTime()> m_clock;
};

// The program's one log.
DiagnosticLog& TheDiagnosticLog();

// The local time now, to the millisecond.
LogTime LocalLogTime();

}  // namespace lw
