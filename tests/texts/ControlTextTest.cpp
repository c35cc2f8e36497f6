// Setting control texts by id.
// Invariants: an empty text never blanks a control; keepMnemonic=false removes every "&";
// mnemonics reach the widgets that show them; addressing by control id finds only
// existing controls.

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/texts/ControlText.h"
#include "app/texts/TextLoader.h"

namespace {

TEST(ControlText, EachKindOfControlGetsItsText) {
  lw::CloseLanguageFile();
  QDialog dialog;
  auto* button = new QPushButton(QStringLiteral("&Search..."), &dialog);
  auto* check = new QCheckBox(&dialog);
  auto* group = new QGroupBox(&dialog);
  auto* buddyLabel = new QLabel(&dialog);
  auto* edit = new QLineEdit(&dialog);
  buddyLabel->setBuddy(edit);
  auto* plainLabel = new QLabel(&dialog);

  lw::SetControlText(&dialog, true, 62649);
  lw::SetControlText(button, true, 62650);
  lw::SetControlText(check, true, 62598);
  lw::SetControlText(group, true, 62629);
  lw::SetControlText(buddyLabel, true, 62652);
  lw::SetControlText(plainLabel, true, 62654);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("アップロード先設定"));
  EXPECT_EQ(button->text(), QStringLiteral("検索(&S)..."));
  EXPECT_EQ(check->text(), QStringLiteral("下線(&U)"));
  EXPECT_EQ(group->title(), QStringLiteral("用紙"));
  EXPECT_EQ(buddyLabel->text(), QStringLiteral("IPアドレス(&I)"));
  // A label without a buddy has no mnemonic to act on: it shows the text without the marker.
  EXPECT_EQ(plainLabel->text(), QStringLiteral("HTTPポート番号(H)"));
}

TEST(ControlText, WithoutMnemonicEveryAmpersandGoes) {
  lw::CloseLanguageFile();
  QCheckBox check(QStringLiteral("old"));
  lw::SetControlText(&check, false, 62603);
  EXPECT_EQ(check.text(), QStringLiteral("半透明にする(T)"));
  // Without an id the control's own text loses its ampersands.
  QPushButton button(QStringLiteral("Save && &Close"));
  lw::SetControlText(&button, false);
  EXPECT_EQ(button.text(), QStringLiteral("Save  Close"));
  // ... and with keepMnemonic the call does nothing.
  QPushButton kept(QStringLiteral("&Keep"));
  lw::SetControlText(&kept, true);
  EXPECT_EQ(kept.text(), QStringLiteral("&Keep"));
}

TEST(ControlText, AnIdWithoutTextLeavesTheControlAlone) {
  lw::CloseLanguageFile();
  QPushButton button(QStringLiteral("&Template caption"));
  lw::SetControlText(&button, true, 4242);
  EXPECT_EQ(button.text(), QStringLiteral("&Template caption"));
  lw::SetControlText(static_cast<QWidget*>(nullptr), true, 62627);  // nothing happens
}

TEST(ControlText, ControlsAreFoundByTheirIds) {
  lw::CloseLanguageFile();
  QDialog dialog;
  auto* inner = new QWidget(&dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), inner);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
  lw::SetControlId(ok, 1);
  lw::SetControlId(cancel, 2);
  EXPECT_EQ(lw::FindControl(&dialog, 1), ok);
  EXPECT_EQ(lw::FindControl(&dialog, 3), nullptr);
  lw::SetControlText(&dialog, 2, true, 62628);
  EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
  lw::SetControlText(&dialog, 3, true, 62628);  // no such control
  lw::SetControlText(&dialog, 0, true, 62628);
  lw::SetControlText(nullptr, 1, true, 62628);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

}  // namespace
