#include "app/FormatToolBar.h"

#include "app/AppIcons.h"
#include "app/CommandIds.h"
#include "app/texts/ControlText.h"
#include "app/texts/TextLoader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace lw {

bool CFormatToolBar::g_bIgnoreNextClick = false;

// ---- sizes ----------------------------------------------------------------------------

int TwipsFromText(const QString& text) {
  int i = 0;
  const int n = int(text.size());
  auto isBlank = [&](int k) { return text[k] == QLatin1Char(' ') || text[k] == QLatin1Char('\t'); };
  while (i < n && isBlank(i)) ++i;
  if (i == n) return -1;
  int start = i;
  if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) ++i;
  int digits = 0;
  while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, ++digits;
  if (i < n && text[i] == QLatin1Char('.')) {
    ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i, ++digits;
  }
  if (digits == 0) return -2;  // no number: the whole text is what follows it
  const double value = text.mid(start, i - start).toDouble();
  while (i < n && isBlank(i)) ++i;
  if (i != n) return -2;
  if (value < 0) return 0;
  const double twips = value * 20.0;
  if (twips >= 2147483647.0) return 2147483647;
  return int(twips);
}

QString TextFromTwips(int twips) {
  if (twips < 0) return QString();
  int h = (twips + 5) / 10;
  if (h % 2 != 0) h -= 1;
  return QString::number(h / 2);
}

bool IsValidTwips(int twips) { return twips >= 20 && twips < 32761; }

// ---- font-name box --------------------------------------------------------------------

namespace {

uint8_t PreferredCharSet() {
  switch (QLocale::system().language()) {
    case QLocale::Japanese:
      return SHIFTJIS_CHARSET;
    case QLocale::Chinese:
      return GB2312_CHARSET;
    default:
      return ANSI_CHARSET;
  }
}

QFontDatabase::WritingSystem ScriptOf(uint8_t charSet) {
  switch (charSet) {
    case SHIFTJIS_CHARSET:
      return QFontDatabase::Japanese;
    case GB2312_CHARSET:
      return QFontDatabase::SimplifiedChinese;
    case SYMBOL_CHARSET:
      return QFontDatabase::Symbol;
    default:
      return QFontDatabase::Latin;
  }
}

}  // namespace

CFontNameCombo::CFontNameCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  lineEdit()->setMaxLength(32);
  setMaxVisibleItems(12);
  SetControlId(this, int(cmd::kFontNameBox));
}

void CFontNameCombo::FillFontList(uint8_t charSet) {
  const QString current = currentText();
  const uint8_t preferred = PreferredCharSet();
  std::vector<FontListEntry> entries;
  const QStringList families = charSet == DEFAULT_CHARSET
                                   ? QFontDatabase::families()
                                   : QFontDatabase::families(ScriptOf(charSet));
  for (const QString& family : families) {
    if (family.startsWith(QLatin1Char('@'))) continue;  // vertical faces
    if (!QFontDatabase::isScalable(family)) continue;   // raster faces
    const auto scripts = QFontDatabase::writingSystems(family);
    FontListEntry e;
    e.name = family;
    if (scripts.contains(ScriptOf(preferred))) {
      e.charSet = preferred;
    } else if (scripts.contains(QFontDatabase::Symbol) && scripts.size() == 1) {
      e.charSet = SYMBOL_CHARSET;
    } else {
      e.charSet = ANSI_CHARSET;
    }
    e.script = QFontDatabase::writingSystemName(ScriptOf(e.charSet));
    e.pitchAndFamily = QFontDatabase::isFixedPitch(family) ? 1 : 2;
    e.type = QFontDatabase::isSmoothlyScalable(family) ? 0x200 : 0;
    entries.push_back(std::move(e));
  }
  std::sort(entries.begin(), entries.end(),
            [](const FontListEntry& a, const FontListEntry& b) { return a.name < b.name; });
  m_entries = std::move(entries);

  const bool blocked = blockSignals(true);
  clear();
  const QIcon scalable = ScalableFontIcon();
  for (int i = 0; i < int(m_entries.size()); ++i) {
    if (m_entries[i].type == 0x200) {
      addItem(scalable, m_entries[i].name, i);
    } else {
      addItem(m_entries[i].name, i);
    }
  }
  if (SelectByPrefix(current) < 0) setEditText(current);
  blockSignals(blocked);
}

int CFontNameCombo::SelectByPrefix(const QString& prefix) {
  if (prefix.isEmpty()) {
    setCurrentIndex(-1);
    return -1;
  }
  for (int i = 0; i < count(); ++i) {
    if (itemText(i).startsWith(prefix, Qt::CaseInsensitive)) {
      setCurrentIndex(i);
      return i;
    }
  }
  return -1;
}

void CFontNameCombo::MatchFont(const QString& name, uint8_t charSet) {
  int exact = -1;
  for (int i = 0; i < count(); ++i) {
    if (itemText(i) != name) continue;
    if (exact < 0) exact = i;
    const FontListEntry* e = Entry(i);
    if (charSet == DEFAULT_CHARSET || (e && e->charSet == charSet)) {
      setCurrentIndex(i);
      return;
    }
  }
  if (exact >= 0) {
    setCurrentIndex(exact);
    return;
  }
  setCurrentIndex(-1);
  setEditText(name);
}

const FontListEntry* CFontNameCombo::Entry(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  bool ok = false;
  const int k = itemData(index).toInt(&ok);
  if (!ok || k < 0 || k >= int(m_entries.size())) return nullptr;
  return &m_entries[size_t(k)];
}

void CFontNameCombo::showPopup() {
  // The dropped list is as wide as its widest face name.
  const QFontMetrics fm(view()->font());
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = std::max(widest, fm.horizontalAdvance(itemText(i)));
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  view()->setMinimumWidth(widest + 2 * frame + scroll + 22 + iconSize().width());
  QComboBox::showPopup();
}

// ---- font-size box --------------------------------------------------------------------

CFontSizeCombo::CFontSizeCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  lineEdit()->setMaxLength(4);
  SetControlId(this, int(cmd::kFontSizeBox));
}

void CFontSizeCombo::FillSizeList(const QString& face) {
  const bool blocked = blockSignals(true);
  const QString shown = currentText();
  clear();
  if (!face.isEmpty()) {
    if (QFontDatabase::isSmoothlyScalable(face) || !QFontDatabase::families().contains(face)) {
      for (int pt : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) {
        addItem(QString::number(pt), pt * 20);
      }
    } else {
      QList<int> sizes = QFontDatabase::pointSizes(face);
      std::sort(sizes.begin(), sizes.end());
      sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
      for (int pt : sizes) addItem(QString::number(pt), pt * 20);
    }
  }
  setEditText(shown);
  blockSignals(blocked);
}

void CFontSizeCombo::SetTwipSize(int twips) {
  if (twips == m_nTwipsLast && (twips >= 0 || currentText().isEmpty())) return;
  m_nTwipsLast = twips;
  const QString text = TextFromTwips(twips);
  const int index = findText(text);
  const bool blocked = blockSignals(true);
  if (index >= 0 && !text.isEmpty()) {
    setCurrentIndex(index);
  } else {
    setCurrentIndex(-1);
    setEditText(text);
  }
  blockSignals(blocked);
}

int CFontSizeCombo::GetTwipSize() const { return TwipsFromText(currentText()); }

// ---- the bar --------------------------------------------------------------------------

CFormatToolBar::CFormatToolBar(QWidget* parent) : QToolBar(parent) {
  const QFontMetrics fm(QApplication::font());
  m_cxChar = std::max(1, fm.averageCharWidth());
  m_cyChar = std::max(15, fm.height());

  m_comboName = new CFontNameCombo(this);
  m_comboName->setFixedWidth(m_cxChar * 96 / 5);
  m_comboName->setToolTip(ToolTipText(cmd::kFontNameBox));
  m_comboName->setStatusTip(StatusBarText(cmd::kFontNameBox));
  m_comboSize = new CFontSizeCombo(this);
  m_comboSize->setFixedWidth(m_cxChar * 10);
  m_comboSize->setToolTip(ToolTipText(cmd::kFontSizeBox));
  m_comboSize->setStatusTip(StatusBarText(cmd::kFontSizeBox));
  addWidget(m_comboName);
  addSeparator();
  addWidget(m_comboSize);

  for (QWidget* w : {static_cast<QWidget*>(m_comboName), static_cast<QWidget*>(m_comboSize),
                     static_cast<QWidget*>(m_comboName->lineEdit()),
                     static_cast<QWidget*>(m_comboSize->lineEdit())}) {
    w->installEventFilter(this);
  }
  connect(m_comboName, &QComboBox::activated, this, [this] {
    Notify(NM_RETURN);
    ApplyName();
  });
  connect(m_comboSize, &QComboBox::activated, this, [this] {
    Notify(NM_RETURN);
    ApplySize();
  });
  connect(m_comboName->lineEdit(), &QLineEdit::returnPressed, this, &CFormatToolBar::ApplyName);
  connect(m_comboSize->lineEdit(), &QLineEdit::returnPressed, this, &CFormatToolBar::ApplySize);

  // No text object is selected at start.
  m_comboName->setEnabled(false);
  m_comboSize->setEnabled(false);
}

void CFormatToolBar::EnsureFontList() {
  if (m_bFontListFilled) return;
  m_bFontListFilled = true;
  m_comboName->FillFontList(DEFAULT_CHARSET);
}

int CFormatToolBar::Notify(int code, CHARFORMAT* format) {
  return m_notify ? m_notify(code, format) : 0;
}

bool CFormatToolBar::eventFilter(QObject* watched, QEvent* event) {
  const bool nameBox = watched == m_comboName || watched == m_comboName->lineEdit();
  const bool sizeBox = watched == m_comboSize || watched == m_comboSize->lineEdit();
  if (nameBox || sizeBox) {
    if (event->type() == QEvent::FocusIn) {
      if (nameBox) EnsureFontList();
      Notify(NM_SETFOCUS);
    } else if (event->type() == QEvent::FocusOut) {
      // The popup list of the box takes the focus while it is open: that is no leaving.
      auto* fe = static_cast<QFocusEvent*>(event);
      if (fe->reason() != Qt::PopupFocusReason) {
        if (nameBox) ApplyName();
        if (sizeBox) ApplySize();
      }
    } else if (event->type() == QEvent::MouseButtonPress && sizeBox) {
      // Dropping the size list: the sizes of the chosen face.
      if (watched == m_comboSize) {
        const int exact = m_comboName->findText(m_comboName->currentText(), Qt::MatchExactly);
        m_comboSize->FillSizeList(exact >= 0 ? m_comboName->itemText(exact) : QString());
      }
    }
  }
  return QToolBar::eventFilter(watched, event);
}

void CFormatToolBar::ApplyName() {
  if (!m_comboName->isEnabled()) return;
  Notify(NM_KILLFOCUS);
  const QString typed = m_comboName->currentText();
  const int index = m_comboName->SelectByPrefix(typed);
  const QString text = index >= 0 ? m_comboName->itemText(index) : typed;
  if (text.isEmpty()) return;
  CHARFORMAT cf;
  cf.dwMask = CFM_FACE | CFM_CHARSET;
  cf.szFaceName = text.left(32);
  if (const FontListEntry* e = m_comboName->Entry(index)) {
    cf.bCharSet = e->charSet;
    cf.bPitchAndFamily = e->pitchAndFamily;
  } else {
    cf.bCharSet = DEFAULT_CHARSET;
    cf.bPitchAndFamily = 0;
  }
  Notify(FMTN_APPLY, &cf);
}

void CFormatToolBar::ApplySize() {
  if (!m_comboSize->isEnabled()) return;
  Notify(NM_KILLFOCUS);
  const int twips = m_comboSize->GetTwipSize();
  if (twips == -1) return;  // empty box
  if (twips == -2 || !IsValidTwips(twips)) {
    g_bIgnoreNextClick = true;
    QMessageBox::information(window(), QApplication::applicationName(), LoadText(62561));
    return;
  }
  CHARFORMAT cf;
  cf.dwMask = CFM_SIZE;
  cf.yHeight = twips;
  Notify(FMTN_APPLY, &cf);
}

void CFormatToolBar::Refresh(bool singleTextSelected) {
  if (m_comboName->hasFocus() || m_comboSize->hasFocus() || m_comboName->lineEdit()->hasFocus() ||
      m_comboSize->lineEdit()->hasFocus()) {
    return;
  }
  CHARFORMAT cf;
  if (Notify(FMTN_QUERY, &cf) == 0) return;
  if ((cf.dwMask & (CFM_FACE | CFM_CHARSET)) == (CFM_FACE | CFM_CHARSET)) {
    m_comboName->MatchFont(cf.szFaceName, cf.bCharSet);
  } else {
    m_comboName->setCurrentIndex(-1);
    m_comboName->setEditText(QString());
  }
  if (singleTextSelected) {
    m_comboName->setEnabled(true);
    m_comboSize->setEnabled(true);
    m_comboSize->SetTwipSize((cf.dwMask & CFM_SIZE) ? cf.yHeight : -1);
  } else {
    m_comboName->setCurrentIndex(-1);
    m_comboName->setEditText(QString());
    m_comboSize->SetTwipSize(-1);
    m_comboName->setEnabled(false);
    m_comboSize->setEnabled(false);
  }
}

}  // namespace lw
