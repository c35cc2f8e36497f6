#pragma once
// The per-user settings store: the program's registry key "Software\Vantrel\Leafwright"
// kept as one INI file in the user's configuration folder (see base/RegistryPath.h), one
// section per subkey. Value names are used as they are, spaces included ("IP Address").
//
// Reading never fails: an absent or unreadable value gives the default the caller passes.
//
//   lw::SettingsStore store;                                  // the application's store
//   lw::WindowPlacementSetting p = lw::ReadWindowPlacement(store);
//   store.WriteProfileInt("Settings", "PreviewPages", 1);

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace lw {

// The application key. Every value of the program but the log's lives under it.
inline constexpr const char* kApplicationKey = "Software\\Vantrel\\Leafwright";

// Sections, value names and defaults.
inline constexpr const char* kSectionWindow = "Window";
inline constexpr const char* kValueTop = "Top";
inline constexpr const char* kValueLeft = "Left";
inline constexpr const char* kValueBottom = "Bottom";
inline constexpr const char* kValueRight = "Right";
inline constexpr const char* kValueState = "State";
inline constexpr int kDefaultTop = 107;
inline constexpr int kDefaultLeft = 206;
inline constexpr int kDefaultBottom = 617;
inline constexpr int kDefaultRight = 839;
inline constexpr int kDefaultState = 0;  // 0 normal, 1 minimised, 2 maximised

inline constexpr const char* kSectionRecentFiles = "Recent File List";
inline constexpr const char* kValueRecentFileFormat = "File%1";  // File1 .. File5
inline constexpr int kRecentFileCount = 5;

inline constexpr const char* kSectionSettings = "Settings";
inline constexpr const char* kValuePreviewPages = "PreviewPages";
inline constexpr int kDefaultPreviewPages = 0;

inline constexpr const char* kSectionServer = "Server";
inline constexpr const char* kValueIpAddress = "IP Address";
inline constexpr const char* kValueHttpPort = "HTTP Port";
inline constexpr int kDefaultHttpPort = 80;

class SettingsStore {
 public:
  // The store of an application key (default: the program's own).
  explicit SettingsStore(const QString& keyPath = QString::fromLatin1(kApplicationKey));
  // A store kept in exactly this INI file.
  static SettingsStore AtFile(const QString& iniPath);

  SettingsStore(SettingsStore&&) noexcept;
  SettingsStore& operator=(SettingsStore&&) noexcept;
  ~SettingsStore();

  QString FilePath() const;

  // The integer value, or `defaultValue` when it is absent or not an integer.
  int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
  // The string value, or `defaultValue` when it is absent.
  QString GetProfileString(const QString& section, const QString& entry,
                           const QString& defaultValue = QString()) const;
  bool Contains(const QString& section, const QString& entry) const;

  void WriteProfileInt(const QString& section, const QString& entry, int value);
  void WriteProfileString(const QString& section, const QString& entry, const QString& value);
  void Remove(const QString& section, const QString& entry);

  // Writes pending changes to disk; false when the file cannot be written.
  bool Sync();

 private:
  struct AtFileTag {};
  SettingsStore(AtFileTag, const QString& iniPath);
  std::unique_ptr<QSettings> m_settings;
};

// "Window": the normal (restored) window rectangle and the show state.
struct WindowPlacementSetting {
  int left = kDefaultLeft;
  int top = kDefaultTop;
  int right = kDefaultRight;
  int bottom = kDefaultBottom;
  int state = kDefaultState;
};
WindowPlacementSetting ReadWindowPlacement(const SettingsStore& store);
void WriteWindowPlacement(SettingsStore& store, const WindowPlacementSetting& placement);

// "Recent File List": File1 to File5, most recent first; empty and absent entries skipped.
QStringList ReadRecentFiles(const SettingsStore& store);
// Writes up to five names as File1.. and removes the entries after them.
void WriteRecentFiles(SettingsStore& store, const QStringList& files);

// "Settings"/"PreviewPages".
int ReadPreviewPages(const SettingsStore& store);
void WritePreviewPages(SettingsStore& store, int pages);

// "Server": the upload destination.
struct ServerDestination {
  QString address;  // empty: not set
  int port = kDefaultHttpPort;
};
ServerDestination ReadDestination(const SettingsStore& store);
void WriteDestination(SettingsStore& store, const ServerDestination& destination);

}  // namespace lw
