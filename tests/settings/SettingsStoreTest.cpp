// The per-user settings store.
// Invariants: a key path maps to one INI file inside the user's configuration folder and
// never outside it; absent or unreadable values give the defaults; value names keep their
// spaces; what is written is read back by a new store.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/settings/SettingsStore.h"
#include "base/RegistryPath.h"
#include "common/TestSupport.h"

namespace {

QString ConfigDir() { return qEnvironmentVariable("XDG_CONFIG_HOME"); }

class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(QString::fromStdString(lw::StoreFileForKey(lw::kApplicationKey)));
  }
};

TEST(RegistryPath, KeyPathsMapToFilesInsideTheConfigFolder) {
  const std::string cfg = ConfigDir().toStdString();
  ASSERT_FALSE(cfg.empty());
  struct Case {
    const char* key;
    std::string file;
  } cases[] = {
      {"Software\\Vantrel\\Leafwright", cfg + "/Vantrel/Leafwright.ini"},
      {"software/Vantrel//Leafwright\\", cfg + "/Vantrel/Leafwright.ini"},
      {"Vantrel\\Leafwright", cfg + "/Vantrel/Leafwright.ini"},
      {"Software\\..\\..\\etc\\passwd", cfg + "/_/_/etc/passwd.ini"},
      {"Software\\", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(lw::StoreFileForKey(c.key), c.file) << c.key;

  const lw::RegistryLocation log =
      lw::LocateRegistryKey("Software\\Pellucor\\Nexilo\\Leafwright\\Log");
  EXPECT_EQ(log.file, cfg + "/Pellucor/Nexilo/Leafwright.ini");
  EXPECT_EQ(log.section, "Log");
  EXPECT_TRUE(lw::LocateRegistryKey("Software\\Lonely").file.empty());
}

TEST(RegistryPath, RelativeXdgFolderFallsBackToHome) {
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(lw::UserConfigDir(), qEnvironmentVariable("HOME").toStdString() + "/.config");
  qputenv("XDG_CONFIG_HOME", saved);
  EXPECT_EQ(lw::UserConfigDir(), saved.toStdString());
}

TEST_F(Store, EmptyStoreGivesTheDefaults) {
  lw::SettingsStore store;
  EXPECT_EQ(store.FilePath(), ConfigDir() + QStringLiteral("/Vantrel/Leafwright.ini"));
  const lw::WindowPlacementSetting p = lw::ReadWindowPlacement(store);
  EXPECT_EQ(p.top, 107);
  EXPECT_EQ(p.left, 206);
  EXPECT_EQ(p.bottom, 617);
  EXPECT_EQ(p.right, 839);
  EXPECT_EQ(p.state, 0);
  const lw::ServerDestination d = lw::ReadDestination(store);
  EXPECT_TRUE(d.address.isEmpty());
  EXPECT_EQ(d.port, 80);
  EXPECT_EQ(lw::ReadPreviewPages(store), 0);
  EXPECT_TRUE(lw::ReadRecentFiles(store).isEmpty());
}

TEST_F(Store, WrittenValuesAreReadBackByANewStore) {
  {
    lw::SettingsStore store;
    lw::WriteWindowPlacement(store, {10, 20, 700, 500, 2});
    lw::WriteDestination(store, {QStringLiteral("192.168.0.1"), 8080});
    lw::WritePreviewPages(store, 1);
    lw::WriteRecentFiles(store,
                         {QStringLiteral("/a/one.lwt"), QStringLiteral("/b/two, with comma.lwt")});
    ASSERT_TRUE(store.Sync());
  }
  lw::SettingsStore store;
  const lw::WindowPlacementSetting p = lw::ReadWindowPlacement(store);
  EXPECT_EQ(p.left, 10);
  EXPECT_EQ(p.top, 20);
  EXPECT_EQ(p.right, 700);
  EXPECT_EQ(p.bottom, 500);
  EXPECT_EQ(p.state, 2);
  EXPECT_EQ(lw::ReadDestination(store).address, QStringLiteral("192.168.0.1"));
  EXPECT_EQ(lw::ReadDestination(store).port, 8080);
  EXPECT_EQ(store.GetProfileString(QStringLiteral("Server"), QStringLiteral("IP Address")),
            QStringLiteral("192.168.0.1"));
  EXPECT_EQ(lw::ReadPreviewPages(store), 1);
  EXPECT_EQ(lw::ReadRecentFiles(store),
            (QStringList{QStringLiteral("/a/one.lwt"), QStringLiteral("/b/two, with comma.lwt")}));

  const QByteArray ini = lwtest::ReadAll(store.FilePath());
  EXPECT_TRUE(ini.contains("[Server]"));
  EXPECT_TRUE(ini.contains("[Recent%20File%20List]"));
}

TEST_F(Store, HandWrittenValuesThatAreNotNumbersGiveTheDefault) {
  const QString path = QString::fromStdString(lw::StoreFileForKey(lw::kApplicationKey));
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
  ASSERT_TRUE(lwtest::WriteAll(path,
                               "[Server]\nIP%20Address=printer,office\nHTTP%20Port=eighty\n"
                               "[Window]\nState= 2 \nTop=\n"));
  lw::SettingsStore store;
  EXPECT_EQ(lw::ReadDestination(store).port, 80);
  EXPECT_EQ(lw::ReadDestination(store).address, QStringLiteral("printer,office"));
  EXPECT_EQ(lw::ReadWindowPlacement(store).state, 2);
  EXPECT_EQ(lw::ReadWindowPlacement(store).top, 107);
}

TEST_F(Store, ShorterRecentListRemovesTheOldEntries) {
  lw::SettingsStore store;
  lw::WriteRecentFiles(store, {"1", "2", "3", "4", "5", "6"});
  EXPECT_EQ(lw::ReadRecentFiles(store).size(), 5);
  lw::WriteRecentFiles(store, {"only"});
  EXPECT_EQ(lw::ReadRecentFiles(store), QStringList{"only"});
  EXPECT_FALSE(store.Contains(QStringLiteral("Recent File List"), QStringLiteral("File2")));
}

TEST_F(Store, StoreInAnUnwritablePlaceReportsTheFailure) {
  lw::SettingsStore store =
      lw::SettingsStore::AtFile(QStringLiteral("/proc/leafwright-test/store.ini"));
  store.WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PreviewPages"), 1);
  EXPECT_FALSE(store.Sync());
}

}  // namespace
