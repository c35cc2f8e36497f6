// The diagnostic log.
// Invariants: nothing is written unless the store asks for level 2 and some output; each
// line is "hh:mm:ss mmmm message" + CR LF (or the message alone); the day name changes
// with the date and never collects a second date; the size limit starts a new file only
// above the limit; two processes writing the same file lose and interleave no line.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>

#include "base/RegistryPath.h"
#include "common/TestSupport.h"
#include "log/DiagnosticLog.h"

namespace {

using Values = std::map<QString, QVariant>;

class Log : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folder = dir.path() + QLatin1Char('/');
    storeFile = QString::fromStdString(lw::LocateRegistryKey(lw::kLogKeyPath).file);
    QFile::remove(storeFile);
  }
  void TearDown() override { QFile::remove(storeFile); }

  // Writes the [Log] section of the store. LogFolder defaults to this test's folder.
  void SetStore(Values values, bool withFolder = true) {
    if (withFolder && !values.count(QStringLiteral("LogFolder")))
      values[QStringLiteral("LogFolder")] = folder;
    QSettings s(storeFile, QSettings::IniFormat);
    s.clear();
    s.beginGroup(QStringLiteral("Log"));
    for (const auto& [k, v] : values) s.setValue(k, v);
    s.endGroup();
    s.sync();
  }

  // A log configured as the program configures it, on a fixed clock.
  std::unique_ptr<lw::DiagnosticLog> MakeLog() {
    auto log = std::make_unique<lw::DiagnosticLog>();
    log->SetClock([this] { return now; });
    log->Configure(lw::kLogKeyPath, lw::kLogFileName, nullptr);
    return log;
  }

  QByteArray LogFile(const QString& name = QString::fromLatin1(lw::kLogFileName)) {
    return lwtest::ReadAll(folder + name);
  }

  QTemporaryDir dir;
  QString folder;
  QString storeFile;
  lw::LogTime now{2011, 10, 19, 11, 5, 9, 42};
};

const Values kOn = {{QStringLiteral("OutLevel"), 2}, {QStringLiteral("ToDebugWnd"), 0}};

Values With(Values v, const QString& key, const QVariant& value) {
  v[key] = value;
  return v;
}

TEST_F(Log, WithoutTheStoreNothingIsWritten) {
  auto log = MakeLog();
  EXPECT_EQ(log->Settings().outLevel, 0);
  log->Write("SEND LISTCOVERPAGE START");
  // The default folder is the user's state folder; nothing may appear there.
  EXPECT_FALSE(QFile::exists(QString::fromStdString(log->CurrentLogFilePath())));
  EXPECT_TRUE(
      QString::fromStdString(log->CurrentLogFilePath())
          .startsWith(qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/leafwright/")));
}

TEST_F(Log, OutputLevelDecidesWhetherLinesAreWritten) {
  struct Case {
    int level;
    bool written;
  } cases[] = {{0, false}, {1, false}, {2, true}, {7, true}, {-3, true}};
  for (const Case& c : cases) {
    SetStore(With(kOn, QStringLiteral("OutLevel"), c.level));
    QFile::remove(folder + QLatin1String(lw::kLogFileName));
    auto log = MakeLog();
    log->Write("line");
    EXPECT_EQ(!LogFile().isEmpty(), c.written) << c.level;
  }
}

TEST_F(Log, LevelIsForcedOffWhenNoOutputIsSelected) {
  SetStore({{QStringLiteral("OutLevel"), 2},
            {QStringLiteral("ToLogFile"), 0},
            {QStringLiteral("ToDebugWnd"), 0},
            {QStringLiteral("ToXML"), 0}});
  auto log = MakeLog();
  EXPECT_EQ(log->Settings().outLevel, 0);
  log->Write("line");
  EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

TEST_F(Log, LinesCarryTheTimeOfDayUnlessSwitchedOff) {
  SetStore(kOn);
  MakeLog()->Write("SEND %s START", "LISTCOVERPAGE");
  EXPECT_EQ(LogFile(), QByteArray("11:05:09 0042 SEND LISTCOVERPAGE START\r\n"));

  QFile::remove(folder + QLatin1String(lw::kLogFileName));
  SetStore(With(kOn, QStringLiteral("OutputTimeInfo"), 0));
  auto log = MakeLog();
  log->Write("first");
  log->Write("second %d", 2);
  EXPECT_EQ(LogFile(), QByteArray("first\r\nsecond 2\r\n"));
}

TEST_F(Log, LongMessagesAreCutAt2000BytesOnACharacterBoundary) {
  SetStore(With(kOn, QStringLiteral("OutputTimeInfo"), 0));
  auto log = MakeLog();
  const std::string ascii(2500, 'a');
  log->Write("%s", ascii.c_str());
  // 999 ASCII bytes then three-byte characters: 999 + 3 * 333 = 1998, the next one would
  // end at 2001.
  std::string mixed(999, 'b');
  for (int i = 0; i < 400; ++i) mixed += "\xE3\x81\x82";  // あ
  log->Write("%s", mixed.c_str());
  const QList<QByteArray> lines = LogFile().split('\n');
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[0], QByteArray(2000, 'a') + '\r');
  EXPECT_EQ(lines[1].size(), 1998 + 1);
  EXPECT_EQ(QString::fromUtf8(lines[1]).toUtf8(), lines[1]);  // still valid UTF-8
}

TEST_F(Log, SizeLimitStartsANewFileOnlyAboveTheLimit) {
  SetStore(
      With(With(kOn, QStringLiteral("DeleteFileSize"), 1), QStringLiteral("OutputTimeInfo"), 0));
  const QString path = folder + QLatin1String(lw::kLogFileName);
  ASSERT_TRUE(lwtest::WriteAll(path, QByteArray(1024, 'x')));
  MakeLog()->Write("kept");
  EXPECT_EQ(LogFile(), QByteArray(1024, 'x') + "kept\r\n");

  ASSERT_TRUE(lwtest::WriteAll(path, QByteArray(1025, 'x')));
  MakeLog()->Write("fresh");
  EXPECT_EQ(LogFile(), QByteArray("fresh\r\n"));
}

TEST_F(Log, DayNamesFollowTheDateAndNeverCollectASecondDate) {
  for (int keepOpen : {0, 1}) {
    SCOPED_TRACE(keepOpen);
    for (const QString& f : QDir(folder).entryList(QDir::Files)) QFile::remove(folder + f);
    SetStore(With(
        With(With(kOn, QStringLiteral("UseDayFileName"), 1), QStringLiteral("OutputTimeInfo"), 0),
        QStringLiteral("AlwaysOpenFile"), keepOpen));
    now = {2011, 10, 19, 23, 59, 59, 999};
    auto log = MakeLog();
    log->Write("before midnight");
    now = {2011, 10, 20, 0, 0, 0, 1};
    log->Write("after midnight");
    log->Write("still the 20th");
    EXPECT_EQ(LogFile(QStringLiteral("20111019Leafwright.log")), QByteArray("before midnight\r\n"));
    EXPECT_EQ(LogFile(QStringLiteral("20111020Leafwright.log")),
              QByteArray("after midnight\r\nstill the 20th\r\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
  }
}

TEST_F(Log, FolderIsJoinedToTheNameAsItIs) {
  SetStore(With(kOn, QStringLiteral("LogFolder"), dir.path() + QStringLiteral("/logs")));
  MakeLog()->Write("x");
  EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/logsLeafwright.log")));
}

TEST_F(Log, OverlongFolderValueIsNotReadAndTheDefaultFolderIsMade) {
  SetStore(With(kOn, QStringLiteral("LogFolder"), QString(300, QLatin1Char('d'))));
  auto log = MakeLog();
  const QString path = QString::fromStdString(log->CurrentLogFilePath());
  EXPECT_EQ(path,
            qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/leafwright/Leafwright.log"));
  log->Write("into the state folder");
  EXPECT_TRUE(lwtest::ReadAll(path).endsWith("into the state folder\r\n"));
  QFile::remove(path);
}

TEST_F(Log, ALineThatCannotBeWrittenIsLostButTheNextOneIsTriedAgain) {
  const QString sub = dir.path() + QStringLiteral("/later/");
  SetStore(With(With(kOn, QStringLiteral("LogFolder"), sub), QStringLiteral("OutputTimeInfo"), 0));
  auto log = MakeLog();
  log->Write("lost");
  ASSERT_TRUE(QDir().mkpath(sub));
  log->Write("found");
  EXPECT_EQ(lwtest::ReadAll(sub + QLatin1String(lw::kLogFileName)), QByteArray("found\r\n"));
}

TEST_F(Log, AFileKeptOpenFollowsAFileStartedAnewByAnotherWriter) {
  SetStore(
      With(With(kOn, QStringLiteral("AlwaysOpenFile"), 1), QStringLiteral("OutputTimeInfo"), 0));
  auto log = MakeLog();
  log->Write("one");
  ASSERT_TRUE(QFile::remove(folder + QLatin1String(lw::kLogFileName)));
  log->Write("two");
  EXPECT_EQ(LogFile(), QByteArray("two\r\n"));
}

TEST_F(Log, LinesGoToStandardErrorWithAPlainLineFeed) {
  SetStore(With(With(kOn, QStringLiteral("ToDebugWnd"), 1), QStringLiteral("ToLogFile"), 0));
  const QString capture = dir.filePath(QStringLiteral("stderr.txt"));
  const int fd = ::open(capture.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  const int saved = dup(STDERR_FILENO);
  dup2(fd, STDERR_FILENO);
  MakeLog()->Write("to the debugger");
  dup2(saved, STDERR_FILENO);
  ::close(saved);
  ::close(fd);
  EXPECT_EQ(lwtest::ReadAll(capture), QByteArray("11:05:09 0042 to the debugger\n"));
  EXPECT_FALSE(QFile::exists(folder + QLatin1String(lw::kLogFileName)));
}

TEST_F(Log, ALineWaitsForTheLockAndIsDroppedWhenItStaysBusy) {
  SetStore(With(kOn, QStringLiteral("OutputTimeInfo"), 0));
  auto log = MakeLog();
  ASSERT_FALSE(log->LockFilePath().empty());
  const int fd = ::open(log->LockFilePath().c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);  // another writer holds the log
  log->Write("dropped");
  flock(fd, LOCK_UN);
  ::close(fd);
  log->Write("written");
  EXPECT_EQ(LogFile(), QByteArray("written\r\n"));
}

TEST_F(Log, TwoProcessesWritingAtOnceLoseAndInterleaveNoLine) {
  SetStore(kOn);
  const QString writer =
      QCoreApplication::applicationDirPath() + QStringLiteral("/log_test_writer");
  ASSERT_TRUE(QFile::exists(writer));
  constexpr int kLines = 10000;
  QProcess a, b;
  a.start(writer, {QStringLiteral("A"), QString::number(kLines)});
  b.start(writer, {QStringLiteral("B"), QString::number(kLines)});
  ASSERT_TRUE(a.waitForFinished(-1));
  ASSERT_TRUE(b.waitForFinished(-1));
  ASSERT_EQ(a.exitCode(), 0);
  ASSERT_EQ(b.exitCode(), 0);

  const QByteArray text = LogFile();
  ASSERT_TRUE(text.endsWith("\r\n"));
  const QList<QByteArray> lines = text.left(text.size() - 1).split('\n');
  ASSERT_EQ(lines.size(), 2 * kLines);
  const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d \\d{4} ([AB]) (\\d+)\\r$"));
  int next[2] = {0, 0};
  for (const QByteArray& line : lines) {
    const QRegularExpressionMatch m = shape.match(QString::fromLatin1(line));
    ASSERT_TRUE(m.hasMatch()) << line.toStdString();
    const int who = m.captured(1) == QLatin1String("A") ? 0 : 1;
    ASSERT_EQ(m.captured(2).toInt(), next[who]) << "lines of one writer out of order or lost";
    ++next[who];
  }
  EXPECT_EQ(next[0], kLines);
  EXPECT_EQ(next[1], kLines);
}

}  // namespace
