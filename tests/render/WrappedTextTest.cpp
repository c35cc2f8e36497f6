// Line breaking of object texts. Runs are measured by a fixed advance per character (10 units;
// 'W' 40 and the emoji 60, to have characters wider than a box) so that every break is known
// exactly; one test paints through the real fonts.
//
// Invariants: lines go down by the line height from the top of the box; a CR LF ends a line;
// a tab is eight blanks or, when those do not fit, a line break after which the next line
// starts with one blank; a character (a surrogate pair included) is never split; a line that
// would start below the box is not drawn, except the rest of the text after the last break.
#include <gtest/gtest.h>

#include <vector>

#include "RenderTestSupport.h"
#include "document/FontMapping.h"
#include "document/WrappedText.h"

namespace {

using lw::WrappedLine;

int Measure(QStringView run) {
  int w = 0;
  for (int i = 0; i < run.size(); ++i) {
    if (run[i].isHighSurrogate()) continue;  // counted with its low half
    w += run[i] == u'W' ? 40 : run[i].isLowSurrogate() ? 60 : 10;
  }
  return w;
}

std::vector<QString> Texts(const std::vector<WrappedLine>& lines) {
  std::vector<QString> out;
  for (const auto& l : lines) out.push_back(l.text);
  return out;
}

std::vector<int> Tops(const std::vector<WrappedLine>& lines) {
  std::vector<int> out;
  for (const auto& l : lines) out.push_back(l.top);
  return out;
}

// A box 100 units wide (10 characters) and 100 high, line height 20.
const LRect kBox{0, 100, 100, 0};

std::vector<WrappedLine> Wrap(const QString& text, const LRect& box = kBox) {
  return lw::WrapText(box, text, 20, Measure);
}

TEST(WrapText, CrLfGivesTwoLines) {
  const auto lines = Wrap(QStringLiteral("ab\r\nc"));
  EXPECT_EQ(Texts(lines), (std::vector<QString>{QStringLiteral("ab\r"), QStringLiteral("c")}));
  EXPECT_EQ(Tops(lines), (std::vector<int>{100, 80}));
}

TEST(WrapText, LinesBreakAtAnyCharacter) {
  const auto lines = Wrap(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(Texts(lines), (std::vector<QString>{QStringLiteral("abcdefghij"), QStringLiteral("klmnopqrst"),
                                                QStringLiteral("uvwxyz")}));
  EXPECT_EQ(Tops(lines), (std::vector<int>{100, 80, 60}));
}

TEST(WrapText, TabBecomesEightBlanksOrALineBreak) {
  // Fits: "a" + 8 blanks = 90 units.
  EXPECT_EQ(Texts(Wrap(QStringLiteral("a\tb"))),
            (std::vector<QString>{QStringLiteral("a        b")}));
  // Does not fit: "abc" + 8 blanks = 110 units. The line ends, the next starts with a blank.
  const auto lines = Wrap(QStringLiteral("abc\tde"));
  EXPECT_EQ(Texts(lines), (std::vector<QString>{QStringLiteral("abc        "), QStringLiteral(" de")}));
  EXPECT_EQ(Tops(lines), (std::vector<int>{100, 80}));
}

TEST(WrapText, CharactersWiderThanTheBoxGetALineOfTheirOwn) {
  const LRect narrow{0, 100, 30, -100};
  EXPECT_EQ(Texts(Wrap(QStringLiteral("aWb"), narrow)),
            (std::vector<QString>{QStringLiteral("a"), QStringLiteral("W"), QStringLiteral("b")}));
  // A surrogate pair (U+1F600) wider than the box: alone on its line, never split.
  const QString emoji = QString::fromUcs4(U"a\U0001F600b");
  const auto lines = Wrap(emoji, narrow);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].text, QString::fromUcs4(U"\U0001F600"));
  EXPECT_EQ(lines[2].text, QStringLiteral("b"));
}

TEST(WrapText, SurrogatePairIsNeverSplitAtAWidthBreak) {
  // Nine letters (90) and a 60-wide pair: the pair moves to the next line whole.
  const auto lines = Wrap(QString::fromUcs4(U"abcdefghi\U0001F600"));
  EXPECT_EQ(Texts(lines), (std::vector<QString>{QStringLiteral("abcdefghi"),
                                                QString::fromUcs4(U"\U0001F600")}));
}

TEST(WrapText, StopsWhenTheNextLineWouldStartBelowTheBox) {
  // Box 45 high: lines at 100, 80 and 60 start inside it, the fourth (40) would not.
  const LRect shallow{0, 100, 100, 55};
  const auto lines = Wrap(QString(60, u'x'), shallow);
  EXPECT_EQ(Tops(lines), (std::vector<int>{100, 80, 60}));
  // A longer text stops there too; but the rest after the last break, when the text ends
  // right after it, is drawn even below the box.
  EXPECT_EQ(Tops(Wrap(QString(25, u'x'), LRect{0, 100, 100, 85})), (std::vector<int>{100}));
  EXPECT_EQ(Tops(Wrap(QString(11, u'x'), LRect{0, 100, 100, 85})), (std::vector<int>{100, 80}));
}

TEST(WrapText, CrLfRightAfterAWidthBreakGivesAnEmptyLine) {
  const auto lines = Wrap(QStringLiteral("abcdefghijk\r\nz"));
  EXPECT_EQ(Texts(lines), (std::vector<QString>{QStringLiteral("abcdefghij"), QStringLiteral("k\r"),
                                                QStringLiteral("z")}));
  const auto exact = Wrap(QStringLiteral("abcdefghijk") + QStringLiteral("\r\nz"));
  EXPECT_EQ(exact.size(), 3u);
}

TEST(WrapText, EmptyTextAndTinyBox) {
  EXPECT_EQ(Texts(Wrap(QString())), (std::vector<QString>{QString()}));
  // A box whose bottom lies above its top has no room: nothing is drawn.
  EXPECT_TRUE(Wrap(QStringLiteral("abc"), LRect{0, 10, 100, 20}).empty());
}

using rendertest::DarkPixels;

class WrappedTextPaint : public rendertest::RenderFixture {};

TEST_F(WrappedTextPaint, CrLfTextIsPaintedOnTwoLinesInTheBox) {
  CDrawRect* box = AddShape(lw::ShapeTool::TextBox, {-400, 400, 400, 100});
  box->m_bEditableText = 1;
  box->m_bLine = 0;
  box->m_textFont.lfHeight = -40;
  box->m_strText = QStringLiteral("AB\r\nCD");
  const QImage img = Render(lw::RenderTarget::Upload);
  const QFont font = lw::FontFromLogFont(box->m_textFont);
  const int h = QFontMetrics(font).height();
  // The text box: shrunk by 1 (outline width 1: 1/2 + 1) on each side.
  const int top = 400 - 1;
  EXPECT_GT(DarkPixels(img, -398, top - h + 1, -300, top), 50);             // first line
  EXPECT_GT(DarkPixels(img, -398, top - 2 * h + 1, -300, top - h), 50);     // second line
  EXPECT_EQ(DarkPixels(img, -398, 102, 398, top - 2 * h - 1), 0);          // nothing below
}

TEST_F(WrappedTextPaint, AlignmentPlacesTheLineInTheBox) {
  struct Case {
    int align;
    int inkLeft, inkRight;  // where the ink must lie (box from -400 to 400)
  };
  for (const Case c : {Case{lw::kAlignLeft, -399, -200}, Case{lw::kAlignCenter, -100, 100},
                       Case{lw::kAlignRight, 200, 399}}) {
    doc.DeleteAllObjects();
    CDrawRect* box = AddShape(lw::ShapeTool::TextBox, {-400, 400, 400, 300});
    box->m_bEditableText = 1;
    box->m_bLine = 0;
    box->m_textFont.lfHeight = -30;
    box->m_strText = QStringLiteral("MMM");
    box->m_nAlign = c.align;
    const QImage img = Render(lw::RenderTarget::Upload);
    const int all = DarkPixels(img, -400, 300, 400, 400);
    EXPECT_GT(all, 20) << c.align;
    EXPECT_EQ(DarkPixels(img, c.inkLeft, 300, c.inkRight, 400), all) << "align " << c.align;
  }
}

}  // namespace
