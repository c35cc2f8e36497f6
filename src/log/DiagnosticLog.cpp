#include "log/DiagnosticLog.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include "base/RegistryPath.h"
#include "base/TempFiles.h"

namespace lw {
namespace {

constexpr size_t kMaxMessageBytes = 2000;
constexpr size_t kMaxRegistryString = 260;  // bytes, with the terminating 0
constexpr auto kLockWait = std::chrono::milliseconds(3000);
// How long a writer lets a waiting writer go first before it competes for the lock.
constexpr auto kPoliteWait = std::chrono::milliseconds(50);
constexpr size_t kLockSharedBytes = 64;

using Counter = std::atomic_ref<uint32_t>;

// Decrements without going below 0 (a count reset as stale may still be decremented).
void DecrementCounter(uint32_t& value) {
  Counter c(value);
  uint32_t v = c.load();
  while (v > 0 && !c.compare_exchange_weak(v, v - 1)) {
  }
}

// The executable's file name without its folder, cut at its last ".".
std::string ExecutableBaseName() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  std::string path = n > 0 ? std::string(buf, size_t(n)) : std::string("leafwright");
  std::string name = path.substr(path.find_last_of('/') + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

bool MakeFolders(const std::string& folder) {
  std::string partial;
  for (size_t i = 0; i < folder.size(); ++i) {
    partial += folder[i];
    if ((folder[i] == '/' && i > 0) || i + 1 == folder.size()) {
      if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

// Cuts `text` to at most `max` bytes without splitting a UTF-8 character.
size_t Utf8Cut(const char* text, size_t length, size_t max) {
  if (length <= max) return length;
  size_t cut = max;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool WriteAllBytes(int fd, const char* bytes, size_t length) {
  while (length > 0) {
    const ssize_t n = write(fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    length -= size_t(n);
  }
  return true;
}

}  // namespace

LogTime LocalLogTime() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  tm t{};
  localtime_r(&tv.tv_sec, &t);
  return {t.tm_year + 1900, t.tm_mon + 1,          t.tm_mday, t.tm_hour, t.tm_min,
          t.tm_sec,         int(tv.tv_usec / 1000)};
}

DiagnosticLog::DiagnosticLog() : m_clock(LocalLogTime) {}

DiagnosticLog::~DiagnosticLog() {
  CloseFile();
  if (m_lockShared) munmap(m_lockShared, kLockSharedBytes);
  if (m_lockFd >= 0) close(m_lockFd);
}

void DiagnosticLog::Configure(const char* keyPath, const char* logFileName,
                              const char* xmlFileName) {
  if (keyPath) m_settings.keyPath = keyPath;
  if (logFileName) m_settings.logFileName = logFileName;
  if (xmlFileName) m_settings.xmlFileName = xmlFileName;
  m_settings.readRegistry = 1;
  Initialize();
}

void DiagnosticLog::Initialize() {
  if (m_settings.readRegistry) ReadRegistry();
  Normalize();
  m_bInitialized = true;
  // The lock is named after the log file (folder and configured name, not the dated name),
  // so every writer of that file in any process of this user shares it.
  if (m_lockShared) munmap(m_lockShared, kLockSharedBytes);
  m_lockShared = nullptr;
  if (m_lockFd >= 0) close(m_lockFd);
  m_lockFd = -1;
  char name[64];
  std::snprintf(
      name, sizeof(name), "log-%016llx.lock",
      static_cast<unsigned long long>(Fnv1a(m_settings.folder + "\n" + m_settings.logFileName)));
  m_lockPath = PrivateTempPath(name);
  if (!m_lockPath.empty()) m_lockFd = open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // The lock file also holds two counters that let waiting writers go first, so that one
  // busy writer cannot keep another one waiting until its lines are dropped.
  struct stat st {};
  if (m_lockFd >= 0 && fstat(m_lockFd, &st) == 0 &&
      (st.st_size >= off_t(kLockSharedBytes) || ftruncate(m_lockFd, kLockSharedBytes) == 0)) {
    void* p = mmap(nullptr, kLockSharedBytes, PROT_READ | PROT_WRITE, MAP_SHARED, m_lockFd, 0);
    if (p != MAP_FAILED) m_lockShared = static_cast<uint32_t*>(p);
  }
}

void DiagnosticLog::ReadRegistry() {
  // The log's values always come from its own key, whatever keyPath says.
  const RegistryLocation where = LocateRegistryKey(kLogKeyPath);
  if (where.file.empty() || !QFileInfo::exists(QString::fromStdString(where.file))) return;
  QSettings store(QString::fromStdString(where.file), QSettings::IniFormat);
  const QString section = QString::fromStdString(where.section);
  if (!store.childGroups().contains(section)) return;
  store.beginGroup(section);

  auto readString = [&](const char* name, std::string& setting) {
    if (!setting.empty() || !store.contains(QLatin1String(name))) return;
    const QVariant v = store.value(QLatin1String(name));
    const QString s = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(','))
                                                           : v.toString();
    const QByteArray bytes = s.toUtf8();
    if (size_t(bytes.size()) < kMaxRegistryString)
      setting = bytes.toStdString();  // longer: not read
  };
  readString("LogFolder", m_settings.folder);
  readString("LogFileName", m_settings.logFileName);
  readString("XMLFileName", m_settings.xmlFileName);

  auto readNumber = [&](const char* name, int& setting) {
    if (!store.contains(QLatin1String(name))) return;
    bool ok = false;
    const qlonglong n = store.value(QLatin1String(name)).toString().trimmed().toLongLong(&ok);
    // A 32-bit value: larger numbers keep their low 32 bits, as a DWORD would.
    if (ok) setting = int(uint32_t(uint64_t(n)));
  };
  readNumber("OutLevel", m_settings.outLevel);
  readNumber("ToLogFile", m_settings.toLogFile);
  readNumber("ToDebugWnd", m_settings.toDebugWnd);
  readNumber("ToXML", m_settings.toXml);
  readNumber("OutputTimeInfo", m_settings.outputTimeInfo);
  readNumber("UseDayFileName", m_settings.useDayFileName);
  readNumber("DeleteFileSize", m_settings.deleteFileSize);
  readNumber("AlwaysOpenFile", m_settings.alwaysOpenFile);
  store.endGroup();
}

void DiagnosticLog::Normalize() {
  LogSettings& s = m_settings;
  if (s.folder.empty()) {
    // Users cannot write beside an installed program: the default is their state folder.
    const std::string state = UserStateDir();
    s.folder = state.empty() ? PrivateTempDir() + "/" : state + "/leafwright/";
    m_defaultFolder = true;
  }
  if (s.useDayFileName == 0) {
    if (s.logFileName.empty()) s.logFileName = ExecutableBaseName() + ".log";
    if (s.xmlFileName.empty()) s.xmlFileName = ExecutableBaseName() + ".xml";
  }
  if (s.outLevel < 0 || s.outLevel > 2) s.outLevel = 2;
  if (s.deleteFileSize < 0) s.deleteFileSize = 0;
  if (s.toLogFile == 0 && s.toXml == 0 && s.toDebugWnd == 0) s.outLevel = 0;
}

std::string DiagnosticLog::LogFilePathFor(const LogTime& now) const {
  std::string name = m_settings.logFileName;
  if (m_settings.useDayFileName) {
    char date[16];
    std::snprintf(date, sizeof(date), "%04d%02d%02d", now.year, now.month, now.day);
    name = date + name;  // always in front of the configured name
  }
  return m_settings.folder + name;
}

std::string DiagnosticLog::CurrentLogFilePath() const { return LogFilePathFor(m_clock()); }

void DiagnosticLog::Write(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteV(format, args);
  va_end(args);
}

void DiagnosticLog::WriteV(const char* format, va_list args) {
  if (!m_bInitialized) {
    std::lock_guard<std::timed_mutex> guard(m_mutex);
    if (!m_bInitialized) Initialize();
  }
  if (m_settings.outLevel <= 1) return;
  WriteLine(format, args);
}

bool DiagnosticLog::AcquireLock(std::chrono::steady_clock::time_point deadline) {
  if (m_lockFd < 0)
    return true;  // no lock file to be had: write unserialised rather than lose lines
  using Clock = std::chrono::steady_clock;
  auto tryLock = [&] {
    if (flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) return true;
    return errno != EWOULDBLOCK && errno != EINTR;  // a lock that cannot work is not waited for
  };
  uint32_t* waiters = m_lockShared;
  uint32_t* grants = m_lockShared ? m_lockShared + 1 : nullptr;

  // While others wait, let one of them take the lock first.
  if (waiters && Counter(*waiters).load() > 0) {
    const uint32_t seen = Counter(*grants).load();
    const auto politeEnd = std::min(deadline, Clock::now() + kPoliteWait);
    while (Counter(*waiters).load() > 0 && Counter(*grants).load() == seen &&
           Clock::now() < politeEnd)
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    if (Counter(*waiters).load() > 0 && Counter(*grants).load() == seen && tryLock()) {
      // Nobody took a free lock in all that time: the count is left over from a writer that
      // ended while waiting.
      Counter(*waiters).store(0);
      Counter(*grants).fetch_add(1);
      return true;
    }
  }
  if (tryLock()) {
    if (grants) Counter(*grants).fetch_add(1);
    return true;
  }
  if (waiters) Counter(*waiters).fetch_add(1);
  auto pause = std::chrono::microseconds(20);
  for (;;) {
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(200));
    if (tryLock()) {
      if (waiters) {
        DecrementCounter(*waiters);
        Counter(*grants).fetch_add(1);
      }
      return true;
    }
    if (Clock::now() >= deadline) {
      if (waiters) DecrementCounter(*waiters);
      return false;
    }
  }
}

void DiagnosticLog::ReleaseLock() {
  if (m_lockFd >= 0) flock(m_lockFd, LOCK_UN);
}

void DiagnosticLog::WriteLine(const char* format, va_list args) {
  // The names are prepared before the lock is taken; the date decides the file.
  const LogTime stamp = m_clock();
  const std::string path = LogFilePathFor(stamp);

  const auto deadline = std::chrono::steady_clock::now() + kLockWait;
  if (!m_mutex.try_lock_until(deadline)) return;  // busy for 3 seconds: the line is dropped
  std::lock_guard<std::timed_mutex> guard(m_mutex, std::adopt_lock);
  if (!AcquireLock(deadline)) return;

  m_line[0] = '\0';
  size_t length = 0;
  if (m_settings.outputTimeInfo) {
    const LogTime now = m_clock();
    const int n = std::snprintf(m_line, sizeof(m_line), "%02d:%02d:%02d %04d ", now.hour,
                                now.minute, now.second, now.millisecond);
    length = n > 0 ? std::min(size_t(n), sizeof(m_line) - 1) : 0;
  }
  char message[kMaxMessageBytes * 2 + 1];
  const int n = std::vsnprintf(message, sizeof(message), format, args);
  const size_t messageLength =
      Utf8Cut(message, n > 0 ? std::min(size_t(n), sizeof(message) - 1) : 0, kMaxMessageBytes);
  std::memcpy(m_line + length, message, messageLength);
  length += messageLength;
  m_line[length++] = '\r';
  m_line[length++] = '\n';
  m_line[length] = '\0';

  if (m_settings.toLogFile) WriteToFile(path, m_line, length);
  if (m_settings.toDebugWnd) {
    // Standard error takes the line with a plain line feed.
    m_line[length - 2] = '\n';
    WriteAllBytes(STDERR_FILENO, m_line, length - 1);
  }
  // XML output is selected by toXml but writes nothing.
  ReleaseLock();
}

void DiagnosticLog::CloseFile() {
  if (m_hFile >= 0) close(m_hFile);
  m_hFile = -1;
  m_openPath.clear();
}

void DiagnosticLog::WriteToFile(const std::string& path, const char* bytes, size_t length) {
  if (m_hFile >= 0) {
    // A file kept open is let go when the date moved the log to another file, or when
    // another writer removed the file to start a new one.
    struct stat open {
    }, named{};
    if (m_openPath != path || fstat(m_hFile, &open) != 0 || stat(path.c_str(), &named) != 0 ||
        open.st_dev != named.st_dev || open.st_ino != named.st_ino)
      CloseFile();
  }
  auto openFile = [&] {
    m_hFile = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (m_hFile < 0 && errno == ENOENT && m_defaultFolder && MakeFolders(m_settings.folder))
      m_hFile = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (m_hFile >= 0) m_openPath = path;
    return m_hFile >= 0;
  };
  if (m_hFile < 0 && !openFile()) return;  // the next line tries again

  if (m_settings.deleteFileSize != 0) {
    struct stat st {};
    if (fstat(m_hFile, &st) == 0 &&
        int64_t(st.st_size) > int64_t(m_settings.deleteFileSize) * 1024) {
      CloseFile();
      unlink(path.c_str());
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (!openFile()) return;
    }
  }
  if (lseek(m_hFile, 0, SEEK_END) < 0) {
    CloseFile();
    return;
  }
  WriteAllBytes(m_hFile, bytes, length);
  if (!m_settings.alwaysOpenFile) CloseFile();
}

DiagnosticLog& TheDiagnosticLog() {
  static DiagnosticLog log;
  return log;
}

}  // namespace lw
