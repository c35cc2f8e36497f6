#pragma once
// The formatting bar: the font-name and font-size boxes and the text buttons. The bar talks
// to its owner about the selected text's font through notifications: it asks (FMTN_QUERY)
// before refreshing the boxes and tells (FMTN_APPLY) when the user chose a face or a size.

#include <QComboBox>
#include <QString>
#include <QToolBar>

#include <cstdint>
#include <functional>
#include <vector>

namespace lw {

// The notification record of the formatting bar (the CHARFORMAT layout).
inline constexpr uint32_t CFM_SIZE = 0x80000000;
inline constexpr uint32_t CFM_FACE = 0x20000000;
inline constexpr uint32_t CFM_CHARSET = 0x08000000;

struct CHARFORMAT {
  uint32_t cbSize = 60;
  uint32_t dwMask = 0;
  uint32_t dwEffects = 0;
  int32_t yHeight = 0;  // twips
  int32_t yOffset = 0;
  uint32_t crTextColor = 0;
  uint8_t bCharSet = 0;
  uint8_t bPitchAndFamily = 0;
  QString szFaceName;  // at most 32 characters
};

// Notification codes sent by the bar to its owner.
inline constexpr int FMTN_APPLY = 0x1000;
inline constexpr int FMTN_QUERY = 0x1001;
inline constexpr int NM_RETURN = -4;
inline constexpr int NM_SETFOCUS = -7;
inline constexpr int NM_KILLFOCUS = -8;

// Windows character sets the font list uses.
inline constexpr uint8_t ANSI_CHARSET = 0;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t SYMBOL_CHARSET = 2;
inline constexpr uint8_t SHIFTJIS_CHARSET = 128;
inline constexpr uint8_t GB2312_CHARSET = 134;
inline constexpr uint8_t OEM_CHARSET = 255;

// Sizes: the text of the size box to twips and back.
// Blanks and tabs skipped; nothing left gives -1; a decimal number (fractions allowed)
// followed by anything but blanks gives -2; a negative number 0; else the number times 20,
// truncated.
int TwipsFromText(const QString& text);
// The points shown for a size in twips ("10" for 210): empty for a negative value.
QString TextFromTwips(int twips);
// The size box accepts 20 to 32760 twips (1 to 1638 points).
bool IsValidTwips(int twips);

struct FontListEntry {
  QString name;
  QString script;
  uint8_t charSet = 0;
  uint8_t pitchAndFamily = 0;
  int type = 0;  // 0x200 for a scalable (TrueType-like) face
};

class CFontNameCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit CFontNameCombo(QWidget* parent = nullptr);

  // Fills the list with the faces of a character set (DEFAULT_CHARSET: all), keeping the
  // text shown.
  void FillFontList(uint8_t charSet = DEFAULT_CHARSET);
  // Selects the face `name` of character set `charSet` (any with DEFAULT_CHARSET); when
  // the list has no such face the name is written into the edit field.
  void MatchFont(const QString& name, uint8_t charSet);
  // Selects the first item that starts with `prefix` (case-insensitive); -1 when none does.
  int SelectByPrefix(const QString& prefix);
  // The entry of an item, or null.
  const FontListEntry* Entry(int index) const;
  int EntryCount() const { return int(m_entries.size()); }

 protected:
  void showPopup() override;

 private:
  std::vector<FontListEntry> m_entries;  // item data holds the index into this
};

class CFontSizeCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit CFontSizeCombo(QWidget* parent = nullptr);
  // Fills the list for a face: the standard sizes for a scalable face, the face's own
  // sizes otherwise.
  void FillSizeList(const QString& face);
  // Shows a size in twips (empty for a negative value) when it differs from the last one.
  void SetTwipSize(int twips);
  // The size in the edit field in twips (see TwipsFromText).
  int GetTwipSize() const;
  int LastTwips() const { return m_nTwipsLast; }

 private:
  int m_nTwipsLast = -1;
};

class CFormatToolBar : public QToolBar {
  Q_OBJECT
 public:
  // Sends a notification to the owner; for FMTN_QUERY the owner fills the record and
  // returns non-zero when it answers.
  using Notifier = std::function<int(int code, CHARFORMAT* format)>;

  explicit CFormatToolBar(QWidget* parent = nullptr);

  void SetNotifier(Notifier notifier) { m_notify = std::move(notifier); }
  // Called at idle: asks the owner and refreshes both boxes (not while a box has focus).
  // `singleTextSelected`: exactly one object is selected and it carries text.
  void Refresh(bool singleTextSelected);
  // Fills the font list if that has not been done yet (it is deferred to after start-up).
  void EnsureFontList();

  CFontNameCombo* NameBox() { return m_comboName; }
  CFontSizeCombo* SizeBox() { return m_comboSize; }
  int AverageCharWidth() const { return m_cxChar; }

  // Applying what the user typed or chose (also run when a box loses the focus).
  void ApplyName();
  void ApplySize();

  // Set after an invalid size was refused: the view ignores its next button press.
  static bool g_bIgnoreNextClick;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Notify(int code, CHARFORMAT* format = nullptr);

  CFontNameCombo* m_comboName;
  CFontSizeCombo* m_comboSize;
  int m_cxChar = 7;
  int m_cyChar = 15;
  bool m_bFontListFilled = false;
  Notifier m_notify;
};

}  // namespace lw
