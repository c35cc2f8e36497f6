#pragma once
// Shared pieces of the file command tests: prompts answered from a script, a fixture with a
// fresh document, fresh program state and a folder of its own, and cover page files to open.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

#include "document/CDrawDoc.h"
#include "document/CDrawRect.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"
#include "document/FileCommands.h"
#include "document/MessageSeam.h"

#include <unistd.h>

// Answers questions and file dialogs from queues and records what was asked. A question the
// script did not expect fails the test and is answered with Cancel.
class ScriptedPrompts : public lw::FilePrompts {
 public:
  lw::PromptAnswer Ask(const lw::PromptMessage& m) override {
    asked.push_back(m);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected message " << m.textId << ": " << m.text.toStdString();
      return lw::PromptAnswer::Cancel;
    }
    const lw::PromptAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  QString ChooseOpenFile(const QString& filter, const QString& startFolder) override {
    openStarts.push_back(startFolder);
    lastFilter = filter;
    if (openNames.empty()) return QString();
    const QString n = openNames.front();
    openNames.pop_front();
    return n;
  }
  QString ChooseSaveFile(const QString& filter, const QString& startFolder,
                         const QString& initialPath) override {
    saveStarts.push_back(startFolder);
    saveInitials.push_back(initialPath);
    lastFilter = filter;
    if (saveNames.empty()) return QString();
    const QString n = saveNames.front();
    saveNames.pop_front();
    return n;
  }
  void PostCloseRequest() override { ++closeRequests; }

  std::vector<int> AskedIds() const {
    std::vector<int> ids;
    for (const auto& m : asked) ids.push_back(m.textId);
    return ids;
  }

  std::deque<lw::PromptAnswer> answers;
  std::deque<QString> openNames;
  std::deque<QString> saveNames;
  std::vector<lw::PromptMessage> asked;
  std::vector<QString> openStarts, saveStarts, saveInitials;
  QString lastFilter;
  int closeRequests = 0;
};

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::ResetAllState();
    ASSERT_TRUE(dir.isValid());
    previousHandler =
        lw::SetMessageHandler([this](int id, const QString&) { reported.push_back(id); });
    doc = std::make_unique<CDrawDoc>();
    files = std::make_unique<lw::FileCommands>(*doc, prompts);
    files->onTitleChanged = [this](const QString& t) { titles.push_back(t); };
  }
  void TearDown() override {
    files.reset();
    doc.reset();
    lw::SetMessageHandler(previousHandler);
    // Give back write access so the folder can be removed.
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    lw::ResetAllState();
  }

  QString PathOf(const QString& name) const { return dir.filePath(name); }

  // A cover page file with `n` rectangles, written by the real writer.
  QString MakeCoverPage(const QString& name, int n = 1) {
    CDrawDoc d;
    for (int i = 0; i < n; ++i) d.AddObject(new CDrawRect(LRect{i * 10, 100, i * 10 + 50, 0}));
    const QString path = PathOf(name);
    EXPECT_TRUE(lw::WriteDocumentFile(path, d).ok());
    return path;
  }

  static QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // Marks the document modified by adding a rectangle.
  void Edit() { doc->AddObject(new CDrawRect(LRect{-10, 10, 10, -10})); }

  static bool RunningAsRoot() { return ::geteuid() == 0; }

  QTemporaryDir dir;
  ScriptedPrompts prompts;
  std::unique_ptr<CDrawDoc> doc;
  std::unique_ptr<lw::FileCommands> files;
  std::vector<QString> titles;
  std::vector<int> reported;
  lw::MessageHandler previousHandler;
};
