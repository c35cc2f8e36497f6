#include "app/settings/SettingsStore.h"

#include <QSettings>

#include "base/RegistryPath.h"

namespace lw {
namespace {

QString Key(const QString& section, const QString& entry) {
  return section + QLatin1Char('/') + entry;
}

}  // namespace

SettingsStore::SettingsStore(const QString& keyPath)
    : m_settings(std::make_unique<QSettings>(
          QString::fromStdString(StoreFileForKey(keyPath.toStdString())), QSettings::IniFormat)) {}

SettingsStore::SettingsStore(AtFileTag, const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

SettingsStore SettingsStore::AtFile(const QString& iniPath) {
  return SettingsStore(AtFileTag{}, iniPath);
}

SettingsStore::SettingsStore(SettingsStore&&) noexcept = default;
SettingsStore& SettingsStore::operator=(SettingsStore&&) noexcept = default;
SettingsStore::~SettingsStore() = default;

QString SettingsStore::FilePath() const { return m_settings->fileName(); }

int SettingsStore::GetProfileInt(const QString& section, const QString& entry,
                                 int defaultValue) const {
  const QVariant v = m_settings->value(Key(section, entry));
  if (!v.isValid()) return defaultValue;
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  return ok ? n : defaultValue;
}

QString SettingsStore::GetProfileString(const QString& section, const QString& entry,
                                        const QString& defaultValue) const {
  const QVariant v = m_settings->value(Key(section, entry));
  if (!v.isValid()) return defaultValue;
  // A hand-written value with a comma reads as a list; it is one string to us.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
  return v.toString();
}

bool SettingsStore::Contains(const QString& section, const QString& entry) const {
  return m_settings->contains(Key(section, entry));
}

void SettingsStore::WriteProfileInt(const QString& section, const QString& entry, int value) {
  m_settings->setValue(Key(section, entry), value);
}

void SettingsStore::WriteProfileString(const QString& section, const QString& entry,
                                       const QString& value) {
  m_settings->setValue(Key(section, entry), value);
}

void SettingsStore::Remove(const QString& section, const QString& entry) {
  m_settings->remove(Key(section, entry));
}

bool SettingsStore::Sync() {
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

WindowPlacementSetting ReadWindowPlacement(const SettingsStore& store) {
  const QString s = QLatin1String(kSectionWindow);
  WindowPlacementSetting p;
  p.top = store.GetProfileInt(s, QLatin1String(kValueTop), kDefaultTop);
  p.left = store.GetProfileInt(s, QLatin1String(kValueLeft), kDefaultLeft);
  p.bottom = store.GetProfileInt(s, QLatin1String(kValueBottom), kDefaultBottom);
  p.right = store.GetProfileInt(s, QLatin1String(kValueRight), kDefaultRight);
  p.state = store.GetProfileInt(s, QLatin1String(kValueState), kDefaultState);
  return p;
}

void WriteWindowPlacement(SettingsStore& store, const WindowPlacementSetting& p) {
  const QString s = QLatin1String(kSectionWindow);
  store.WriteProfileInt(s, QLatin1String(kValueTop), p.top);
  store.WriteProfileInt(s, QLatin1String(kValueLeft), p.left);
  store.WriteProfileInt(s, QLatin1String(kValueBottom), p.bottom);
  store.WriteProfileInt(s, QLatin1String(kValueRight), p.right);
  store.WriteProfileInt(s, QLatin1String(kValueState), p.state);
}

QStringList ReadRecentFiles(const SettingsStore& store) {
  QStringList files;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString f = store.GetProfileString(QLatin1String(kSectionRecentFiles),
                                             QString::fromLatin1(kValueRecentFileFormat).arg(i));
    if (!f.isEmpty()) files << f;
  }
  return files;
}

void WriteRecentFiles(SettingsStore& store, const QStringList& files) {
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString entry = QString::fromLatin1(kValueRecentFileFormat).arg(i);
    if (i <= files.size())
      store.WriteProfileString(QLatin1String(kSectionRecentFiles), entry, files[i - 1]);
    else
      store.Remove(QLatin1String(kSectionRecentFiles), entry);
  }
}

int ReadPreviewPages(const SettingsStore& store) {
  return store.GetProfileInt(QLatin1String(kSectionSettings), QLatin1String(kValuePreviewPages),
                             kDefaultPreviewPages);
}

void WritePreviewPages(SettingsStore& store, int pages) {
  store.WriteProfileInt(QLatin1String(kSectionSettings), QLatin1String(kValuePreviewPages), pages);
}

ServerDestination ReadDestination(const SettingsStore& store) {
  ServerDestination d;
  d.address = store.GetProfileString(QLatin1String(kSectionServer), QLatin1String(kValueIpAddress));
  d.port = store.GetProfileInt(QLatin1String(kSectionServer), QLatin1String(kValueHttpPort),
                               kDefaultHttpPort);
  return d;
}

void WriteDestination(SettingsStore& store, const ServerDestination& d) {
  store.WriteProfileString(QLatin1String(kSectionServer), QLatin1String(kValueIpAddress),
                           d.address);
  store.WriteProfileInt(QLatin1String(kSectionServer), QLatin1String(kValueHttpPort), d.port);
}

}  // namespace lw
