#pragma once
// The About box: program name, version, the language file's version and a notice of the
// maker. Its controls carry the ids 1032 (name), 1033 (version line), 1034 (language line),
// 1040 (notice) and 1 (OK) for lw::FindControl.

#include <QDialog>

namespace lw {

inline constexpr const char* kProgramVersion = "2.0.2.4";

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace lw
