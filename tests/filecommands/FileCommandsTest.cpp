// The file commands New, Open, Save and Save As, with their questions and the file states.
//
// Invariants under test:
// - Only files whose extension is "lwt" (any case) are opened; a refused or missing file
//   leaves an untitled, empty document titled with the program's name alone.
// - The window title follows the file state: "name - Leafwright", "name(読み取り専用) -
//   Leafwright", "無題 - Leafwright".
// - Unsaved changes are never dropped without the user saying No.
// - Save As stores under the chosen folder and title (cut to 32 bytes at a whole character)
//   with ".lwt" in place of any typed extension.
// - A save to the document's own file puts the recipient name fields on top, above the
//   recipient section fields; Save As to another file does not reorder.

#include "FileTestSupport.h"

#include "common/TestSupport.h"
#include "document/CDrawObj.h"

#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

using lw::FileCommands;
using lw::PromptAnswer;

namespace {

QString Title(const QString& name) { return name + QStringLiteral(" - Leafwright"); }

}  // namespace

TEST_F(FileCommandsTest, OpeningACoverPageEditsItUnderItsName) {
  const QString path = MakeCoverPage(QStringLiteral("memo.lwt"), 3);
  ASSERT_TRUE(files->OnOpenDocument(path));
  EXPECT_EQ(doc->m_objects.size(), 3);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(g_strDocPath, path);
  EXPECT_EQ(g_bOpenedReadOnly, 0);
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(files->WindowTitle(), Title(QStringLiteral("memo.lwt")));
  EXPECT_EQ(files->Title(), QStringLiteral("memo.lwt"));
  EXPECT_EQ(files->RecentFiles().Entries(), QStringList{path});
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(FileCommandsTest, ExtensionRulesOfOpen) {
  struct Case {
    const char* name;
    bool opens;
  };
  const Case cases[] = {
      {"plain.lwt", true},       {"CAPITALS.LWT", true}, {"Mixed.Lwt", true},
      {"backup.lwt.bak", false}, {"other.txt", false},   {"nodot_lwt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = MakeCoverPage(QString::fromLatin1(c.name));
    prompts.asked.clear();
    if (!c.opens) prompts.answers.push_back(PromptAnswer::Ok);
    EXPECT_EQ(files->OnOpenDocument(path), c.opens);
    if (c.opens) {
      EXPECT_TRUE(prompts.asked.empty());
      EXPECT_EQ(g_strDocPath, path);
    } else {
      ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextNotCoverPage});
      EXPECT_EQ(prompts.asked[0].text,
                QStringLiteral("このファイルはカバーぺージファイルではありません。"));
      EXPECT_TRUE(g_strDocPath.isEmpty());
      EXPECT_TRUE(doc->m_objects.isEmpty());
      EXPECT_FALSE(files->IsHoldingFile());
      EXPECT_EQ(files->WindowTitle(), QStringLiteral("Leafwright"));
    }
  }
}

TEST_F(FileCommandsTest, OpenCommandAsksAgainAfterAWrongExtension) {
  const QString good = MakeCoverPage(QStringLiteral("good.lwt"));
  lw::Doc().bFirstOpen = 1;
  g_strDocFolder = dir.path();
  prompts.openNames = {PathOf(QStringLiteral("picture.bmp")), good};
  prompts.answers = {PromptAnswer::Ok};
  files->OnFileOpen();
  EXPECT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextNotCoverPage});
  EXPECT_EQ(g_strDocPath, good);
  // The first dialog starts in the document folder, the next where the user left it.
  ASSERT_EQ(prompts.openStarts.size(), 2u);
  EXPECT_EQ(prompts.openStarts[0], dir.path());
  EXPECT_TRUE(prompts.openStarts[1].isEmpty());
  EXPECT_EQ(prompts.lastFilter,
            QStringLiteral("Leafwright Files (*.lwt)|*.lwt|全てのファイル (*.*)|*.*||"));
}

TEST_F(FileCommandsTest, MissingFileLeavesAnUntitledDocument) {
  const QString first = MakeCoverPage(QStringLiteral("first.lwt"));
  ASSERT_TRUE(files->OnOpenDocument(first));
  prompts.answers = {PromptAnswer::Ok};
  EXPECT_FALSE(files->OnOpenDocument(PathOf(QStringLiteral("gone.lwt"))));
  ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextFileMissing});
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("このファイルは存在しません！"));
  EXPECT_EQ(prompts.asked[0].icon, lw::PromptIcon::Exclamation);
  EXPECT_TRUE(g_strDocPath.isEmpty());
  EXPECT_TRUE(doc->m_objects.isEmpty());
  EXPECT_EQ(files->WindowTitle(), QStringLiteral("Leafwright"));
  // The first file is no longer edited, so nothing holds it.
  EXPECT_FALSE(files->IsHoldingFile());
  EXPECT_TRUE(files->IsFileFree(first));
}

TEST_F(FileCommandsTest, FormatErrorOpensAnEmptyDocumentUnderTheFilesName) {
  const QString path = PathOf(QStringLiteral("broken.lwt"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray("\xFE\xFF\xFF\xFF\x01\x02", 6));
  f.close();
  EXPECT_TRUE(files->OnOpenDocument(path));
  EXPECT_EQ(reported, std::vector<int>{lw::kTextBadFileFormat});
  EXPECT_EQ(g_bLoadOk, 0);
  EXPECT_TRUE(doc->m_objects.isEmpty());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(g_strDocPath, path);
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(files->WindowTitle(), Title(QStringLiteral("broken.lwt")));
}

TEST_F(FileCommandsTest, UnreadableFileGoesBackToThePreviousFile) {
  if (RunningAsRoot()) GTEST_SKIP() << "root reads every file";
  const QString first = MakeCoverPage(QStringLiteral("first.lwt"), 2);
  const QString locked = MakeCoverPage(QStringLiteral("locked.lwt"), 5);
  ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
  ASSERT_TRUE(files->OnOpenDocument(first));
  EXPECT_FALSE(files->OnOpenDocument(locked));
  EXPECT_EQ(reported, std::vector<int>{lw::kTextFileUnreadable});
  // The previous file's contents, path, lock and title are back.
  EXPECT_EQ(doc->m_objects.size(), 2);
  EXPECT_EQ(g_strDocPath, first);
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(files->WindowTitle(), Title(QStringLiteral("first.lwt")));
}

TEST_F(FileCommandsTest, SaveQuestionBeforeOpeningAnotherFile) {
  const QString first = MakeCoverPage(QStringLiteral("first.lwt"), 1);
  const QString second = MakeCoverPage(QStringLiteral("second.lwt"), 4);
  const QByteArray firstBytes = Bytes(first);

  struct Case {
    const char* label;
    PromptAnswer answer;
    bool opens;
    bool firstRewritten;
  };
  const Case cases[] = {
      {"cancel keeps the edited page", PromptAnswer::Cancel, false, false},
      {"no discards the changes", PromptAnswer::No, true, false},
      {"yes saves the first file, then opens", PromptAnswer::Yes, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(lwtest::WriteAll(first, firstBytes));
    ASSERT_TRUE(files->OnOpenDocument(first));
    Edit();
    prompts.asked.clear();
    prompts.answers = {c.answer};
    EXPECT_EQ(files->OnOpenDocument(second), c.opens);
    ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextSaveChanges});
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("first は変更されています。保存しますか？"));
    EXPECT_EQ(prompts.asked[0].buttons, lw::PromptButtons::YesNoCancel);
    if (c.opens) {
      EXPECT_EQ(g_strDocPath, second);
      EXPECT_EQ(doc->m_objects.size(), 4);
    } else {
      EXPECT_EQ(g_strDocPath, first);
      EXPECT_EQ(doc->m_objects.size(), 2);
      EXPECT_TRUE(doc->IsModified());
    }
    EXPECT_EQ(Bytes(first) != firstBytes, c.firstRewritten);
    doc->SetModifiedFlag(false);
  }
}

TEST_F(FileCommandsTest, UntitledSaveQuestionNamesTheUntitledFile) {
  Edit();
  const QString target = MakeCoverPage(QStringLiteral("target.lwt"));
  prompts.answers = {PromptAnswer::No};
  EXPECT_TRUE(files->OnOpenDocument(target));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("無題 は変更されています。保存しますか？"));
}

TEST_F(FileCommandsTest, YesWhoseSaveDoesNotHappenKeepsTheChanges) {
  // An untitled page: Yes leads to the save dialog, which the user cancels.
  Edit();
  prompts.answers = {PromptAnswer::Yes};
  files->OnFileNew();
  EXPECT_EQ(doc->m_objects.size(), 1);
  EXPECT_TRUE(doc->IsModified());
  ASSERT_EQ(prompts.saveInitials.size(), 1u);

  const QString other = MakeCoverPage(QStringLiteral("other.lwt"));
  prompts.answers = {PromptAnswer::Yes};
  EXPECT_FALSE(files->OnOpenDocument(other));
  EXPECT_EQ(doc->m_objects.size(), 1);
  EXPECT_TRUE(g_strDocPath.isEmpty());
}

TEST_F(FileCommandsTest, NewStartsAnUntitledPageAndLetsGoOfTheFile) {
  const QString path = MakeCoverPage(QStringLiteral("held.lwt"), 2);
  ASSERT_TRUE(files->OnOpenDocument(path));
  EXPECT_FALSE(FileCommands(*doc, prompts).IsFileFree(path));
  files->OnFileNew();
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(doc->m_objects.isEmpty());
  EXPECT_TRUE(g_strDocPath.isEmpty());
  EXPECT_FALSE(files->IsHoldingFile());
  EXPECT_TRUE(FileCommands(*doc, prompts).IsFileFree(path));
  EXPECT_EQ(files->WindowTitle(), QStringLiteral("無題 - Leafwright"));
  EXPECT_EQ(files->Title(), QStringLiteral("無題"));
}

TEST_F(FileCommandsTest, SaveAsNameRule) {
  struct Case {
    const char* chosen;
    const char* stored;
  };
  const Case cases[] = {
      {"/f/report.lwt", "/f/report.lwt"},
      {"/f/report.txt", "/f/report.lwt"},
      {"/f/report", "/f/report.lwt"},
      {"/f/a.b.c", "/f/a.b.lwt"},
      // 33 ASCII bytes: the 33rd goes.
      {"/f/abcdefghijklmnopqrstuvwxyz0123456.lwt", "/f/abcdefghijklmnopqrstuvwxyz012345.lwt"},
      // Sixteen double-byte characters are exactly 32 bytes; seventeen lose the last one.
      {"/f/あいうえおかきくけこさしすせそた.lwt", "/f/あいうえおかきくけこさしすせそた.lwt"},
      {"/f/あいうえおかきくけこさしすせそたち.lwt", "/f/あいうえおかきくけこさしすせそた.lwt"},
      // One byte and sixteen double-byte characters: the cut never splits a character.
      {"/f/xあいうえおかきくけこさしすせそた.lwt", "/f/xあいうえおかきくけこさしすせそ.lwt"},
      // Half-width katakana take one byte each.
      {"/f/ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑ.lwt", "/f/ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐ.lwt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileCommands::SaveAsPath(QString::fromUtf8(c.chosen)), QString::fromUtf8(c.stored))
        << c.chosen;
  }
}

TEST_F(FileCommandsTest, SaveAsStoresUnderTheFormedNameAndEditsThatFile) {
  Edit();
  lw::Doc().bFirstSaveAs = 1;
  g_strDocFolder = dir.path();
  prompts.saveNames = {PathOf(QStringLiteral("letter.txt"))};
  files->OnFileSaveAs();
  const QString stored = PathOf(QStringLiteral("letter.lwt"));
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_TRUE(QFileInfo::exists(stored));
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("letter.txt"))));
  EXPECT_EQ(g_strDocPath, stored);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(files->WindowTitle(), Title(QStringLiteral("letter.lwt")));
  EXPECT_EQ(files->RecentFiles().Entries(), QStringList{stored});
  ASSERT_EQ(prompts.saveStarts.size(), 1u);
  EXPECT_EQ(prompts.saveStarts[0], dir.path());
  EXPECT_TRUE(prompts.saveInitials[0].isEmpty());

  // What was written reads back as the same page.
  CDrawDoc check;
  ASSERT_TRUE(lw::ReadDocumentFile(stored, check).ok());
  EXPECT_EQ(check.m_objects.size(), 1);
  // Nothing but the document is left in the folder (no probe or half-written files).
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("letter.lwt")});
}

TEST_F(FileCommandsTest, SaveOfAnUntitledPageOffersUntitledInTheDocumentFolder) {
  g_strDocFolder = dir.path();
  Edit();
  prompts.saveNames = {PathOf(QStringLiteral("fresh.lwt"))};
  files->OnFileSave();
  ASSERT_EQ(prompts.saveInitials.size(), 1u);
  EXPECT_EQ(prompts.saveInitials[0], dir.path() + QStringLiteral("/無題.lwt"));
  EXPECT_EQ(g_strDocPath, PathOf(QStringLiteral("fresh.lwt")));
  EXPECT_FALSE(doc->IsModified());
}

TEST_F(FileCommandsTest, SavingAnUnchangedDocumentWritesNothing) {
  const QString path = MakeCoverPage(QStringLiteral("same.lwt"));
  ASSERT_TRUE(files->OnOpenDocument(path));
  struct stat before {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
  EXPECT_TRUE(files->OnSaveDocument(path));
  struct stat after {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(FileCommandsTest, SaveToOwnFilePutsRecipientNameFieldsOnTop) {
  const QString path = MakeCoverPage(QStringLiteral("fields.lwt"), 0);
  ASSERT_TRUE(files->OnOpenDocument(path));
  // Bottom to top: name A, section A, a shape, name B, section B.
  const int kinds[] = {14, 16, 0, 14, 16};
  QList<CDrawObj*> made;
  for (int k : kinds) {
    auto* o = new CDrawRect(LRect{0, 10, 10, 0});
    o->m_nKind = k;
    doc->AddObject(o);
    made.append(o);
  }
  // Save As to another file keeps the order.
  EXPECT_TRUE(files->OnSaveDocument(PathOf(QStringLiteral("copy.lwt"))));
  EXPECT_EQ(doc->m_objects, made);
  // A save to the document's own file: the shape, section B, section A, name B, name A.
  // The replaced file keeps its permissions.
  const QString copy = PathOf(QStringLiteral("copy.lwt"));
  const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions(copy, mode));
  Edit();
  CDrawObj* added = doc->m_objects.back();
  files->OnFileSave();
  const QList<CDrawObj*> expected = {made[2], added, made[4], made[1], made[3], made[0]};
  EXPECT_EQ(doc->m_objects, expected);
  const QFileDevice::Permissions ownerGroupOther(0x7077);
  EXPECT_EQ(QFile::permissions(copy) & ownerGroupOther, mode & ownerGroupOther);
  CDrawDoc check;
  ASSERT_TRUE(lw::ReadDocumentFile(PathOf(QStringLiteral("copy.lwt")), check).ok());
  ASSERT_EQ(check.m_objects.size(), 6);
  EXPECT_EQ(check.m_objects.back()->m_nKind, 14);
  EXPECT_EQ(check.m_objects[check.m_objects.size() - 3]->m_nKind, 16);
}

TEST_F(FileCommandsTest, ReadOnlyFileIsOfferedForViewing) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write every file";
  const QString path = MakeCoverPage(QStringLiteral("fixed.lwt"), 2);
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));

  // Changes of the page before are dropped (No), then the file is offered read-only.
  Edit();
  prompts.answers = {PromptAnswer::No, PromptAnswer::Ok};
  ASSERT_TRUE(files->OnOpenDocument(path));
  ASSERT_EQ(prompts.AskedIds(),
            (std::vector<int>{lw::kTextSaveChanges, lw::kTextOpenReadOnlyInUse}));
  EXPECT_EQ(prompts.asked[1].text,
            QStringLiteral("'fixed.lwt' は現在編集中です。読み取り専用で開きますか ?"));
  EXPECT_EQ(prompts.asked[1].buttons, lw::PromptButtons::OkCancel);
  // The page shown is the file's, unchanged: closing asks nothing.
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(files->SaveModified());
  EXPECT_EQ(g_bOpenedReadOnly, 1);
  EXPECT_FALSE(files->IsHoldingFile());
  EXPECT_EQ(doc->m_objects.size(), 2);
  EXPECT_EQ(files->WindowTitle(), QStringLiteral("fixed.lwt(読み取り専用) - Leafwright"));
  // Changes are not tracked for a page that is only viewed.
  Edit();
  EXPECT_FALSE(doc->IsModified());

  // A new page is the user's own again: its changes count.
  files->OnFileNew();
  Edit();
  EXPECT_TRUE(doc->IsModified());
}

TEST_F(FileCommandsTest, CancellingTheReadOnlyQuestionClosesTheProgram) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may write every file";
  const QString path = MakeCoverPage(QStringLiteral("fixed.lwt"), 2);
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_TRUE(files->OnOpenDocument(path));
  EXPECT_EQ(prompts.closeRequests, 1);
  EXPECT_TRUE(doc->m_objects.isEmpty());  // not read
}

TEST_F(FileCommandsTest, FolderWithoutCreateRights) {
  if (RunningAsRoot()) GTEST_SKIP() << "root may create files anywhere";
  const QString path = MakeCoverPage(QStringLiteral("shared.lwt"), 1);
  ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
  EXPECT_TRUE(FileCommands::IsFolderReadOnly(path));
  EXPECT_EQ(g_bFolderReadOnly, 1);
  g_bFolderReadOnly = 0;

  prompts.answers = {PromptAnswer::Ok};
  ASSERT_TRUE(files->OnOpenDocument(path));
  ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextFolderReadOnly});
  EXPECT_EQ(prompts.asked[0].text,
            QStringLiteral("この文書は編集できません。読取専用で開きますか ?"));
  EXPECT_EQ(g_bFolderReadOnly, 0);
  EXPECT_EQ(g_bOpenedReadOnly, 1);

  // Saving into that folder is refused before anything is written.
  Edit();
  const QByteArray before = Bytes(path);
  prompts.asked.clear();
  prompts.answers = {PromptAnswer::Ok};
  files->OnFileSave();
  EXPECT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextCannotSave});
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("文書は保存できませんでした。"));
  EXPECT_EQ(Bytes(path), before);
  EXPECT_EQ(g_bFolderReadOnly, 0);
}

TEST_F(FileCommandsTest, AFailedWriteKeepsTheOldFileAndTheChanges) {
  const QString path = MakeCoverPage(QStringLiteral("precious.lwt"), 3);
  const QByteArray before = Bytes(path);
  ASSERT_TRUE(files->OnOpenDocument(path));
  Edit();

  lw::DocumentIo io = lw::DefaultDocumentIo();
  io.write = [](CDrawDoc&, QIODevice& out) {
    out.write(QByteArray(100, 'x'));
    return false;  // the disk filled up half-way
  };
  files->SetDocumentIo(io);
  prompts.answers = {PromptAnswer::Ok};
  EXPECT_FALSE(files->OnSaveDocument(path));
  EXPECT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextCannotSave});
  EXPECT_EQ(Bytes(path), before);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(files->IsHoldingFile());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("precious.lwt")});

  // Closing then asks, and a Yes whose save fails keeps the program open.
  prompts.answers = {PromptAnswer::Yes, PromptAnswer::Ok};
  EXPECT_FALSE(files->SaveModified());

  // Save As to another name that fails leaves the document where it was.
  prompts.answers = {PromptAnswer::Ok};
  EXPECT_FALSE(files->OnSaveDocument(PathOf(QStringLiteral("elsewhere.lwt"))));
  EXPECT_EQ(g_strDocPath, path);
  EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("elsewhere.lwt"))));
}

TEST_F(FileCommandsTest, SaveModifiedOnClosing) {
  // Not modified: closes without a question.
  EXPECT_TRUE(files->SaveModified());
  EXPECT_TRUE(prompts.asked.empty());

  Edit();
  prompts.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(files->SaveModified());
  ASSERT_EQ(prompts.AskedIds(), std::vector<int>{lw::kTextSaveChangesOnClose});
  EXPECT_EQ(prompts.asked[0].text, QStringLiteral("無題 への変更を保存しますか?"));

  prompts.answers = {PromptAnswer::No};
  EXPECT_TRUE(files->SaveModified());

  // Yes on an untitled page: the save dialog, then the file is written.
  prompts.answers = {PromptAnswer::Yes};
  prompts.saveNames = {PathOf(QStringLiteral("closing.lwt"))};
  EXPECT_TRUE(files->SaveModified());
  EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("closing.lwt"))));

  // Yes on an untitled page whose save dialog is cancelled: stays open.
  files->OnFileNew();
  Edit();
  prompts.answers = {PromptAnswer::Yes};
  EXPECT_FALSE(files->SaveModified());

  // A titled page is named by its path and saved in place.
  const QString path = MakeCoverPage(QStringLiteral("titled.lwt"));
  doc->SetModifiedFlag(false);
  ASSERT_TRUE(files->OnOpenDocument(path));
  Edit();
  prompts.asked.clear();
  prompts.answers = {PromptAnswer::Yes};
  EXPECT_TRUE(files->SaveModified());
  EXPECT_EQ(prompts.asked[0].text, path + QStringLiteral(" への変更を保存しますか?"));
  CDrawDoc check;
  ASSERT_TRUE(lw::ReadDocumentFile(path, check).ok());
  EXPECT_EQ(check.m_objects.size(), 2);
}

TEST(RecentFileListTest, NewestFirstAtMostFiveWithoutDuplicates) {
  lw::RecentFileList list;
  QStringList seen;
  list.onChanged = [&](const QStringList& l) { seen = l; };
  for (int i = 1; i <= 6; ++i) list.Add(QStringLiteral("/d/%1.lwt").arg(i));
  EXPECT_EQ(list.Entries(),
            (QStringList{"/d/6.lwt", "/d/5.lwt", "/d/4.lwt", "/d/3.lwt", "/d/2.lwt"}));
  list.Add(QStringLiteral("/d/./3.lwt"));  // the same file, moved to the head
  EXPECT_EQ(list.Entries(),
            (QStringList{"/d/3.lwt", "/d/6.lwt", "/d/5.lwt", "/d/4.lwt", "/d/2.lwt"}));
  list.Remove(QStringLiteral("/d/6.lwt"));
  EXPECT_EQ(list.Entries().size(), 4);
  EXPECT_EQ(seen, list.Entries());
  list.SetEntries({"", "/a.lwt", "/a.lwt", "/b.lwt", "/c.lwt", "/d.lwt", "/e.lwt", "/f.lwt"});
  EXPECT_EQ(list.Entries(), (QStringList{"/a.lwt", "/b.lwt", "/c.lwt", "/d.lwt", "/e.lwt"}));
}
