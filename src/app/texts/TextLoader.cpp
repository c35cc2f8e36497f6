#include "app/texts/TextLoader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

#include "app/texts/CharsetFonts.h"
#include "app/texts/LanguageFile.h"
#include "app/texts/StringTable.h"

namespace lw {

int g_nMenuPopupIndex = 0;

namespace {

// The state of the open language file. The program uses texts from its user-interface
// thread only.
struct OpenState {
  std::unique_ptr<LanguageFile> file;
  QString path;
  QString error;
  bool missingFlag = false;
  // Bit 0 would suppress the missing flag; nothing sets it.
  unsigned options = 0;
};

OpenState& State() {
  static OpenState state;
  return state;
}

constexpr CommandText kCommandTable[] = {
    {57600, 62657}, {57601, 62658}, {57603, 62659}, {57604, 62660}, {32771, 62661}, {32772, 62662},
    {57607, 62663}, {32773, 62664}, {57616, 62665}, {57617, 62665}, {57618, 62665}, {57619, 62665},
    {57620, 62665}, {57621, 62665}, {57622, 62665}, {57623, 62665}, {57624, 62665}, {57625, 62665},
    {57626, 62665}, {57627, 62665}, {57628, 62665}, {57629, 62665}, {57630, 62665}, {57631, 62665},
    {57665, 62666}, {57643, 62668}, {57635, 62669}, {57634, 62670}, {57637, 62671}, {57632, 62672},
    {57642, 62673}, {32774, 62675}, {59392, 62677}, {32775, 62678}, {32776, 62679}, {32777, 62680},
    {59393, 62681}, {32778, 62682}, {32779, 62683}, {32780, 62686}, {32781, 62687}, {32782, 62688},
    {32783, 62689}, {32784, 62690}, {32785, 62691}, {32786, 62693}, {32787, 62694}, {32788, 62695},
    {32789, 62696}, {32790, 62697}, {32791, 62698}, {32792, 62700}, {32793, 62701}, {32794, 62702},
    {32795, 62703}, {32796, 62704}, {32797, 62705}, {32798, 62707}, {32799, 62708}, {32800, 62709},
    {32801, 62710}, {32802, 62711}, {32803, 62713}, {32804, 62715}, {32805, 62716}, {32806, 62717},
    {32807, 62718}, {32808, 62720}, {32809, 62721}, {32810, 62722}, {32811, 62723}, {32812, 62725},
    {32813, 62726}, {32814, 62727}, {32815, 62728}, {57667, 62730}, {57664, 62731},
};
static_assert(std::size(kCommandTable) == 77);

constexpr unsigned kPopupTitles[] = {62656, 62667, 62674, 62676, 62684, 62685, 62692,
                                     62699, 62706, 62712, 62714, 62719, 62724, 62729};

struct DefaultAccel {
  unsigned command;
  unsigned key;
  unsigned flags;
};
constexpr DefaultAccel kDefaultAccelerators[] = {
    {57642, 'A', kAccelCtrl}, {32809, 'B', kAccelCtrl},  {57634, 'C', kAccelCtrl},
    {32808, 'F', kAccelCtrl}, {32774, 'G', kAccelCtrl},  {57600, 'N', kAccelCtrl},
    {57601, 'O', kAccelCtrl}, {57607, 'P', kAccelCtrl},  {57603, 'S', kAccelCtrl},
    {32771, 'U', kAccelCtrl}, {57637, 'V', kAccelCtrl},  {57670, 112, 0},
    {57680, 117, 0},          {57681, 117, kAccelShift}, {57635, 'X', kAccelCtrl},
    {57643, 'Z', kAccelCtrl},
};

QString ExecutablePath() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

// Reads and validates `path` into the open state; the state must be closed already.
bool OpenPath(const QString& path) {
  OpenState& st = State();
  QFile f(path);
  if (!f.exists()) {
    st.error = QStringLiteral("%1: no such file").arg(path);
    return false;
  }
  if (!f.open(QIODevice::ReadOnly)) {
    st.error = QStringLiteral("%1: %2").arg(path, f.errorString());
    return false;
  }
  if (f.size() > kMaxLanguageFileSize) {
    st.error = QStringLiteral("%1: file larger than 16 MB").arg(path);
    return false;
  }
  const QByteArray bytes = f.read(kMaxLanguageFileSize + 1);
  if (f.error() != QFileDevice::NoError) {
    st.error = QStringLiteral("%1: %2").arg(path, f.errorString());
    return false;
  }
  QString why;
  std::unique_ptr<LanguageFile> file = LanguageFile::Parse(bytes, CharsetFontInstalled, &why);
  if (!file) {
    st.error = QStringLiteral("%1: %2").arg(path, why);
    return false;
  }
  st.file = std::move(file);
  st.path = path;
  st.error.clear();
  return true;
}

}  // namespace

bool OpenLanguageFile(const QString& modulePath, const QString& name) {
  CloseLanguageFile();
  const QFileInfo module(modulePath);
  QString base = module.completeBaseName();
  QString extension = QStringLiteral(".lrc");
  if (!name.isEmpty()) {
    const QString fileName = QFileInfo(name).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    base = dot < 0 ? fileName : fileName.left(dot);
    if (dot >= 0) extension = fileName.mid(dot);
  }
  return OpenPath(module.absolutePath() + QLatin1Char('/') + base + extension);
}

bool OpenLanguageFileAt(const QString& path) {
  CloseLanguageFile();
  return OpenPath(path);
}

QString UserLanguageFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/leafwright/leafwright.lrc");
}

bool OpenDefaultLanguageFile() {
  const QString user = UserLanguageFilePath();
  QString userError;
  if (QFileInfo::exists(user)) {
    if (OpenLanguageFileAt(user)) return true;
    userError = LanguageFileError();
  }
  if (OpenLanguageFile(ExecutablePath())) return true;
  if (!userError.isEmpty()) State().error = userError + QStringLiteral("; ") + State().error;
  return false;
}

void CloseLanguageFile() {
  OpenState& st = State();
  st.file.reset();
  st.path.clear();
  st.missingFlag = false;
}

bool IsLanguageFileOpen() { return State().file != nullptr; }
QString LanguageFilePath() { return State().path; }
QString LanguageFileError() { return State().error; }
const LanguageFile* OpenLanguageFileData() { return State().file.get(); }

std::span<const CommandText> CommandTable() { return kCommandTable; }

unsigned CommandTextId(unsigned command) {
  for (const CommandText& row : kCommandTable)
    if (row.command == command) return row.textId;
  return 0;
}

std::span<const unsigned> PopupTitleIds() { return kPopupTitles; }

QKeySequence AcceleratorKeys(unsigned virtualKey, unsigned flags) {
  int key = 0;
  if (virtualKey >= 112 && virtualKey <= 135) {
    key = Qt::Key_F1 + int(virtualKey - 112);
  } else if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    key = int(virtualKey);  // Qt::Key_A.. and Qt::Key_0.. are the character codes
  } else {
    return {};
  }
  int modifiers = 0;
  if (flags & kAccelCtrl) modifiers |= Qt::CTRL;
  if (flags & kAccelShift) modifiers |= Qt::SHIFT;
  if (flags & kAccelAlt) modifiers |= Qt::ALT;
  return QKeySequence(key | modifiers);
}

std::vector<FrameAccelerator> DefaultAccelerators() {
  std::vector<FrameAccelerator> out;
  for (const DefaultAccel& a : kDefaultAccelerators)
    out.push_back({a.command, AcceleratorKeys(a.key, a.flags)});
  return out;
}

std::vector<FrameAccelerator> FrameAccelerators() {
  std::vector<FrameAccelerator> out;
  CTextLoader loader;
  for (const DefaultAccel& a : kDefaultAccelerators) {
    unsigned key = a.key;
    unsigned flags = a.flags;
    if (const unsigned textId = CommandTextId(a.command)) {
      unsigned languageFlags = 0;
      if (const unsigned languageKey = loader.LanguageAccelerator(textId, &languageFlags)) {
        key = languageKey;
        flags = languageFlags;
      }
    }
    out.push_back({a.command, AcceleratorKeys(key, flags)});
  }
  return out;
}

bool CTextLoader::LoadTextInto(QString& out, unsigned id) {
  OpenState& st = State();
  if (st.file) {
    if (const LanguageEntry* e = st.file->Find(id)) {
      out = ComposeLabel(*e);
      return true;
    }
    if (!(st.options & 1)) st.missingFlag = true;
  }
  return StringTableText(id, &out);
}

QString CTextLoader::LoadText(unsigned id) {
  QString s;
  LoadTextInto(s, id);
  return s;
}

QString CTextLoader::LanguageVersion() const {
  const OpenState& st = State();
  if (!st.file) return QStringLiteral("-");
  const auto& v = st.file->Version();
  QString s = QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
  if (st.missingFlag) s += QStringLiteral(" !");
  return s;
}

unsigned CTextLoader::LanguageAccelerator(unsigned id, unsigned* flags) {
  const OpenState& st = State();
  if (!st.file) return 0;
  const LanguageEntry* e = st.file->Find(id);
  return e ? AcceleratorKey(*e, flags) : 0;
}

QString CTextLoader::MenuItemText(unsigned commandOrSubmenu, unsigned menuFlags) {
  if (menuFlags & kMenuSeparator) return {};
  if (menuFlags & kMenuPopup) {
    if (g_nMenuPopupIndex < 0 || g_nMenuPopupIndex >= int(std::size(kPopupTitles))) return {};
    return LoadText(kPopupTitles[g_nMenuPopupIndex++]);
  }
  const unsigned textId = CommandTextId(commandOrSubmenu);
  return textId ? LoadText(textId) : QString();
}

QString LoadText(unsigned id) { return CTextLoader().LoadText(id); }

QString StatusBarText(unsigned id) {
  const QString text = LoadText(id);
  const qsizetype nl = text.indexOf(QLatin1Char('\n'));
  return nl < 0 ? text : text.left(nl);
}

QString ToolTipText(unsigned id) {
  const QString text = LoadText(id);
  const qsizetype nl = text.indexOf(QLatin1Char('\n'));
  return nl < 0 ? QString() : text.mid(nl + 1, 80);
}

}  // namespace lw
