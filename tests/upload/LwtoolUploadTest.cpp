// lwtool's upload commands against the stand-in device: a sample cover page goes into a slot,
// the list shows it, and a failing step is named.
#include <gtest/gtest.h>

#include <QProcess>

#include "UploadTestSupport.h"
#include "common/TestSupport.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString out, err;
};

ToolRun Lwtool(const QStringList& args) {
  QProcess p;
  p.start(lwtest::BinaryDir() + "/bin/lwtool", args);
  ToolRun r;
  if (!p.waitForFinished(120000)) return r;
  r.exitCode = p.exitCode();
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

TEST(LwtoolUpload, StoreThenListShowsThePage) {
  lwtest::SimDevice device;
  const QString port = QString::number(device.port);
  const QString sample = lwtest::SourceDir() + "/src/resources/samples/business.lwt";
  const QStringList server = {"upload", "--server", "127.0.0.1", "--port", port};

  ToolRun stored = Lwtool(server + QStringList{"store", "2", sample});
  ASSERT_EQ(stored.exitCode, 0) << stored.err.toStdString();
  EXPECT_TRUE(stored.out.contains("in slot 2")) << stored.out.toStdString();
  ASSERT_EQ(device.sim->Slots().size(), 1u);
  EXPECT_EQ(device.sim->Slots()[0].name, "business");

  ToolRun list = Lwtool(server + QStringList{"list"});
  ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
  const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines[1].startsWith(" 2  business  ")) << lines[1].toStdString();
  EXPECT_TRUE(lines[1].endsWith("/COVERPAGE/CP02.TIF"));
  EXPECT_EQ(lines[0], " 1  (empty)");

  // What `fields` prints is what `store` sent.
  ToolRun fields = Lwtool({"fields", sample, "--slot", "2"});
  ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
  EXPECT_EQ(fields.out.trimmed().toStdString(), device.sim->Slots()[0].request);
}

TEST(LwtoolUpload, AFailedStepIsNamed) {
  lwtest::SimDevice device;
  const QString sample = lwtest::SourceDir() + "/src/resources/samples/memo.lwt";
  ToolRun r = Lwtool({"upload", "--server", "127.0.0.1", "--port", QString::number(device.port), "store", "9", sample});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("the create step failed: the device answered code 603")) << r.err.toStdString();

  ToolRun refused = Lwtool({"upload", "--server", "127.0.0.1", "--port", QString::number(lwtest::UnusedPort()), "list"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.contains("list failed: ")) << refused.err.toStdString();
}

}  // namespace
