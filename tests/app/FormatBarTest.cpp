// The formatting bar's size rules and its conversation with the view.
//
// Invariants under test:
// - sizes are read in points (fractions allowed) and sent in twips; 1 to 1638 points pass,
//   anything else is refused with message 62561 and nothing is sent;
// - the boxes are enabled only while the view answers for a single text object.

#include "AppTestSupport.h"

#include "app/FormatToolBar.h"
#include "app/texts/TextLoader.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FontSize, TwipsFromText) {
  const struct {
    const char* text;
    int twips;
  } cases[] = {{"10", 200},     {"10.5", 210},   {" 12 ", 240}, {"\t8", 160}, {"", -1},
               {"   ", -1},     {"abc", -2},     {"12pt", -2},  {"-3", 0},    {"0.5", 10},
               {"1638", 32760}, {"1639", 32780}, {"1", 20}};
  for (const auto& c : cases)
    EXPECT_EQ(lw::TwipsFromText(QString::fromLatin1(c.text)), c.twips) << c.text;
}

TEST(FontSize, TextFromTwipsAndTheAcceptedRange) {
  EXPECT_EQ(lw::TextFromTwips(210), QStringLiteral("10"));
  EXPECT_EQ(lw::TextFromTwips(200), QStringLiteral("10"));
  EXPECT_EQ(lw::TextFromTwips(230), QStringLiteral("11"));
  EXPECT_EQ(lw::TextFromTwips(-1), QString());
  EXPECT_FALSE(lw::IsValidTwips(10));
  EXPECT_TRUE(lw::IsValidTwips(20));
  EXPECT_TRUE(lw::IsValidTwips(32760));
  EXPECT_FALSE(lw::IsValidTwips(32780));
}

class FormatBar : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.SetNotifier([this](int code, lw::CHARFORMAT* cf) {
      if (code == lw::FMTN_QUERY) {
        if (!answer) return 0;
        *cf = queryAnswer;
        return 1;
      }
      if (code == lw::FMTN_APPLY) applied.push_back(*cf);
      return 0;
    });
  }
  // Closes the message box the bar opens and remembers its text.
  void AnswerNextMessage() {
    QTimer::singleShot(0, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        message = box->text();
        box->accept();
      }
    });
  }

  lw::CFormatToolBar bar;
  bool answer = true;
  lw::CHARFORMAT queryAnswer;
  std::vector<lw::CHARFORMAT> applied;
  QString message;
};

TEST_F(FormatBar, BoxesFollowTheSelection) {
  bar.EnsureFontList();
  queryAnswer.dwMask = lw::CFM_FACE | lw::CFM_CHARSET | lw::CFM_SIZE;
  queryAnswer.szFaceName = QStringLiteral("Liberation Sans");
  queryAnswer.bCharSet = lw::ANSI_CHARSET;
  queryAnswer.yHeight = 210;
  bar.Refresh(true);
  EXPECT_TRUE(bar.SizeBox()->isEnabled());
  EXPECT_EQ(bar.SizeBox()->currentText(), QStringLiteral("10"));
  EXPECT_EQ(bar.NameBox()->currentText(), QStringLiteral("Liberation Sans"));

  bar.Refresh(false);  // two objects, or none
  EXPECT_FALSE(bar.NameBox()->isEnabled());
  EXPECT_FALSE(bar.SizeBox()->isEnabled());
  EXPECT_TRUE(bar.SizeBox()->currentText().isEmpty());
  EXPECT_TRUE(bar.NameBox()->currentText().isEmpty());

  answer = false;  // a view that gives no answer changes nothing
  bar.NameBox()->setEnabled(true);
  bar.Refresh(false);
  EXPECT_TRUE(bar.NameBox()->isEnabled());
}

TEST_F(FormatBar, SizesAreAppliedInTwipsAndOutOfRangeSizesAreRefused) {
  bar.Refresh(true);
  const struct {
    const char* typed;
    int twips;  // 0: nothing sent
    bool message;
  } cases[] = {{"10.5", 210, false}, {"1", 20, false}, {"1638", 32760, false}, {"0.5", 0, true},
               {"1639", 0, true},    {"x", 0, true},   {"", 0, false}};
  for (const auto& c : cases) {
    applied.clear();
    message.clear();
    lw::CFormatToolBar::g_bIgnoreNextClick = false;
    bar.SizeBox()->setEditText(QString::fromLatin1(c.typed));
    if (c.message) AnswerNextMessage();
    bar.ApplySize();
    if (c.twips) {
      ASSERT_EQ(applied.size(), 1u) << c.typed;
      EXPECT_EQ(applied[0].dwMask, lw::CFM_SIZE);
      EXPECT_EQ(applied[0].yHeight, c.twips);
    } else {
      EXPECT_TRUE(applied.empty()) << c.typed;
    }
    EXPECT_EQ(message, c.message ? lw::LoadText(62561) : QString()) << c.typed;
    EXPECT_EQ(lw::CFormatToolBar::g_bIgnoreNextClick, c.message) << c.typed;
  }
}

TEST_F(FormatBar, ATypedPrefixSelectsTheFirstMatchingFace) {
  bar.EnsureFontList();
  bar.Refresh(true);
  ASSERT_GT(bar.NameBox()->count(), 0);
  bar.NameBox()->setEditText(QStringLiteral("liberation s"));
  bar.ApplyName();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].dwMask, lw::CFM_FACE | lw::CFM_CHARSET);
  EXPECT_EQ(applied[0].szFaceName, QStringLiteral("Liberation Sans"));
}

}  // namespace
