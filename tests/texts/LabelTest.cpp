// Composing labels and reading accelerators from language entries.
// Invariants: the mnemonic goes into the label part only (never into a menu item's
// accelerator text), an upper-case occurrence wins over a lower-case one, a label that
// already has an "&" keeps it alone, and decorations follow in the order blank, "...", ":".

#include <gtest/gtest.h>

#include "app/texts/LanguageFile.h"
#include "app/texts/TextLoader.h"

namespace {

lw::LanguageEntry Make(const QString& text, char16_t mnemonic, uint16_t flags, uint16_t kind = 0) {
  lw::LanguageEntry e;
  e.text = text;
  e.mnemonic = mnemonic;
  e.flags = flags;
  e.kind = kind;
  return e;
}

struct LabelCase {
  const char* name;
  const char16_t* text;
  char16_t mnemonic;
  uint16_t flags;
  uint16_t kind;
  const char16_t* expected;
};

constexpr uint16_t M = lw::kFlagMnemonic;
constexpr uint16_t P = lw::kFlagParenMnemonic;

class Label : public ::testing::TestWithParam<LabelCase> {};

TEST_P(Label, Composes) {
  const LabelCase& c = GetParam();
  const QString got =
      lw::ComposeLabel(Make(QString::fromUtf16(c.text), c.mnemonic, c.flags, c.kind));
  EXPECT_EQ(got, QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Label,
    ::testing::Values(
        LabelCase{"LowerCaseMnemonicMarkedInPlace", u"Print", u'r', M, 0, u"P&rint"},
        LabelCase{"ParenFlagAppendsUpperCase", u"Print", u'r', M | P, 0, u"Print(&R)"},
        LabelCase{"UpperCaseOccurrenceWins", u"apple Pie", u'p', M, 0, u"apple &Pie"},
        LabelCase{"LetterNotInTextIsAppended", u"Open", u'x', M, 0, u"Open(&X)"},
        LabelCase{"MnemonicFlagClearMeansNone", u"Open", u'O', 0, 0, u"Open"},
        LabelCase{"MnemonicZeroMeansNone", u"Open", 0, M | P, 0, u"Open"},
        LabelCase{"AmpersandInLabelKeepsItAlone", u"Sa&ve", u'S', M | P, 0, u"Sa&ve"},
        LabelCase{"AmpersandAfterTheLetterStillCancels", u"Save && Close", u'S', M, 0,
                  u"Save && Close"},
        LabelCase{"MenuItemMnemonicStaysBeforeTheTab", u"Save\tCtrl+S", u'S', M, 5,
                  u"&Save\tCtrl+S"},
        LabelCase{"MenuItemNeverMarksTheAcceleratorText", u"Open\tCtrl+O", u'C', M, 5,
                  u"Open(&C)\tCtrl+O"},
        LabelCase{"PlainTextHasNoAcceleratorPart", u"Open\tCtrl+O", u'C', M, 0, u"Open\t&Ctrl+O"},
        LabelCase{"DecorationsInOrder", u"Name", 0,
                  lw::kFlagBlank | lw::kFlagEllipsis | lw::kFlagColon, 0, u"Name ...:"},
        LabelCase{"DecorationsBeforeTheAcceleratorText", u"開く\tCtrl+O", u'o',
                  M | P | lw::kFlagEllipsis, 5, u"開く(&O)...\tCtrl+O"},
        LabelCase{"JapaneseMenuTitle", u"ファイル", u'F', M | P, 0, u"ファイル(&F)"},
        LabelCase{"JapaneseLabelWithColon", u"フォント名", u'F', M | P | lw::kFlagColon, 0,
                  u"フォント名(&F):"},
        LabelCase{"EmptyText", u"", u'A', M, 0, u"(&A)"}),
    [](const ::testing::TestParamInfo<LabelCase>& info) { return std::string(info.param.name); });

struct AccelCase {
  const char* name;
  uint16_t extraLength;
  uint16_t flags;
  uint16_t key;
  unsigned expectedKey;
  const char* expectedSequence;  // as QKeySequence::PortableText
};

class Accelerator : public ::testing::TestWithParam<AccelCase> {};

TEST_P(Accelerator, IsReadAsTheProgramUsesIt) {
  const AccelCase& c = GetParam();
  lw::LanguageEntry e = Make(QStringLiteral("x"), 0, 0);
  e.extraLength = c.extraLength;
  e.accelFlags = c.flags;
  e.accelKey = c.key;
  unsigned flags = 0xFFFF;
  const unsigned key = lw::AcceleratorKey(e, &flags);
  EXPECT_EQ(key, c.expectedKey);
  if (key != 0) {
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(lw::AcceleratorKeys(key, flags).toString(QKeySequence::PortableText).toStdString(),
              c.expectedSequence);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Accelerator,
    ::testing::Values(AccelCase{"LowerCaseLetterWithCtrl", 6, lw::kAccelCtrl, 'q', 'Q', "Ctrl+Q"},
                      AccelCase{"DigitWithAltShift", 6, lw::kAccelAlt | lw::kAccelShift, '7', '7',
                                "Alt+Shift+7"},
                      AccelCase{"FunctionKey13", 6, lw::kAccelFunctionKey, 13, 124, "F13"},
                      AccelCase{"FunctionKey1WithShift", 6, lw::kAccelFunctionKey | lw::kAccelShift,
                                1, 112, "Shift+F1"},
                      AccelCase{"FunctionKey24", 6, lw::kAccelFunctionKey, 24, 135, "F24"},
                      AccelCase{"FunctionKey30IsNone", 6, lw::kAccelFunctionKey, 30, 0, ""},
                      AccelCase{"FunctionKey0IsNone", 6, lw::kAccelFunctionKey, 0, 0, ""},
                      AccelCase{"PunctuationIsNone", 6, lw::kAccelCtrl, '+', 0, ""},
                      AccelCase{"ShortExtraHasNoAccelerator", 5, lw::kAccelCtrl, 'Q', 0, ""}),
    [](const ::testing::TestParamInfo<AccelCase>& info) { return std::string(info.param.name); });

}  // namespace
