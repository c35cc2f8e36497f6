// Two copies of the program and one file: the copy that edits a file holds it, another copy
// is offered read-only viewing and cannot save over it, a crashed copy holds nothing, and a
// save cut off half-way leaves the old file whole. The other copy is a real second process
// (lw_filecommands_peer) running the same file commands.

#include "FileTestSupport.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

QString PeerPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/lw_filecommands_peer");
}

// Starts the peer on `path` in mode "hold" and waits for the line that says how it opened.
QString StartHolding(QProcess& peer, const QString& path) {
  peer.start(PeerPath(), {QStringLiteral("hold"), path});
  if (!peer.waitForStarted(60000)) return QStringLiteral("not started");
  while (!peer.canReadLine()) {
    if (!peer.waitForReadyRead(60000)) return QStringLiteral("no answer");
  }
  return QString::fromUtf8(peer.readLine()).trimmed();
}

void Finish(QProcess& peer) {
  peer.closeWriteChannel();
  peer.waitForFinished(60000);
}

}  // namespace

TEST_F(FileCommandsTest, SecondCopyOpeningAHeldFileGetsTheReadOnlyQuestion) {
  const QString path = MakeCoverPage(QStringLiteral("shared.lwt"), 2);
  QProcess peer;
  ASSERT_EQ(StartHolding(peer, path), QStringLiteral("editing"));

  prompts.answers = {lw::PromptAnswer::Ok};
  ASSERT_TRUE(files->OnOpenDocument(path));
  ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextOpenReadOnlyInUse});
  EXPECT_EQ(prompts.asked[0].text,
            QStringLiteral("'shared.lwt' は現在編集中です。読み取り専用で開きますか ?"));
  EXPECT_EQ(g_bOpenedReadOnly, 1);
  EXPECT_FALSE(files->IsHoldingFile());
  EXPECT_EQ(doc->m_objects.size(), 2);
  EXPECT_EQ(files->WindowTitle(), QStringLiteral("shared.lwt(読み取り専用) - Leafwright"));

  // Saving to it is refused while the other copy edits it.
  const QByteArray before = Bytes(path);
  prompts.asked.clear();
  prompts.answers = {lw::PromptAnswer::Ok};
  EXPECT_FALSE(files->OnSaveDocument(path));
  ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextCannotSaveInUse});
  EXPECT_EQ(prompts.asked[0].text,
            QStringLiteral("'shared.lwt' は現在編集中です、保存できません！"));

  // So is saving another page over it.
  files->OnFileNew();
  Edit();
  prompts.asked.clear();
  prompts.answers = {lw::PromptAnswer::Ok};
  EXPECT_FALSE(files->OnSaveDocument(path));
  EXPECT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextCannotSaveInUse});
  EXPECT_EQ(Bytes(path), before);

  // Once the other copy has closed the file, it is free.
  Finish(peer);
  EXPECT_EQ(peer.exitCode(), 0);
  EXPECT_TRUE(files->IsFileFree(path));
}

TEST_F(FileCommandsTest, TheOtherCopyIsAskedWhileThisOneEdits) {
  const QString path = MakeCoverPage(QStringLiteral("mine.lwt"), 1);
  ASSERT_TRUE(files->OnOpenDocument(path));
  ASSERT_TRUE(files->IsHoldingFile());
  QProcess peer;
  EXPECT_EQ(StartHolding(peer, path), QStringLiteral("read-only"));
  EXPECT_TRUE(peer.readAllStandardError().contains("asked 62565"));
  Finish(peer);
  // This copy still holds the file and can save it.
  Edit();
  EXPECT_TRUE(files->OnSaveDocument(path));
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(FileCommandsTest, ACrashedCopyLeavesNoLockBehind) {
  const QString path = MakeCoverPage(QStringLiteral("orphan.lwt"), 1);
  QProcess peer;
  ASSERT_EQ(StartHolding(peer, path), QStringLiteral("editing"));
  EXPECT_FALSE(files->IsFileFree(path));
  peer.kill();  // no chance to clean up
  peer.waitForFinished(60000);

  ASSERT_TRUE(files->OnOpenDocument(path));
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(g_bOpenedReadOnly, 0);
}

TEST_F(FileCommandsTest, ASaveInterruptedHalfWayLeavesTheOldFileIntact) {
  const QString path = MakeCoverPage(QStringLiteral("precious.lwt"), 3);
  const QByteArray before = Bytes(path);
  QProcess peer;
  peer.start(PeerPath(), {QStringLiteral("crash-save"), path});
  ASSERT_TRUE(peer.waitForFinished(60000));
  ASSERT_EQ(peer.exitCode(), 9) << peer.readAllStandardError().toStdString();

  EXPECT_EQ(Bytes(path), before);
  CDrawDoc check;
  ASSERT_TRUE(lw::ReadDocumentFile(path, check).ok());
  EXPECT_EQ(check.m_objects.size(), 3);
  // The crashed program's lock went with it.
  ASSERT_TRUE(files->OnOpenDocument(path));
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(files->IsHoldingFile());
}
