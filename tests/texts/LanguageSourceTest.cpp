// The text form of language files.
// Invariants: what the writer prints, the parser reads back to the same entries (so a dump
// compiles to the same bytes); every mistake is reported with its line; the columns say
// exactly what the program will show.

#include <gtest/gtest.h>

#include "app/texts/LanguageFile.h"
#include "app/texts/LanguageSource.h"

namespace {

lw::LanguageSource ParseOk(const QString& text) {
  lw::LanguageSource src;
  QString error;
  EXPECT_TRUE(lw::ParseLanguageSource(text, &src, &error)) << error.toStdString();
  return src;
}

TEST(LanguageSource, ColumnsGiveKindFlagsMnemonicAndAccelerator) {
  const auto src = ParseOk(QStringLiteral(
      "# a translation\n"
      "version 3.1.4.1   # shown in the About box\n"
      "charset 128\n"
      "\n"
      "62658  menu  dots        O  Ctrl+O        \"Open\\tCtrl+O\"  # the Open command\n"
      "62594  text  colon,paren F  -             \"フォント名\"\n"
      "62627  text  -           -  -             \"OK\"\n"
      "7      5     0x13        U+0041  raw:0x30:65  \"raw\"\n"
      "8      text  blank       U+0023  Shift+Alt+F13  \"trailing  \"\n"));
  EXPECT_EQ(src.version, (std::array<uint8_t, 4>{3, 1, 4, 1}));
  EXPECT_EQ(src.charset, 128u);
  ASSERT_EQ(src.entries.size(), 5u);
  const lw::LanguageEntry& open = src.entries[0];
  EXPECT_EQ(open.kind, lw::kKindMenuItem);
  EXPECT_EQ(open.flags, lw::kFlagMnemonic | lw::kFlagEllipsis);
  EXPECT_EQ(open.mnemonic, u'O');
  EXPECT_TRUE(open.HasAccelerator());
  EXPECT_EQ(open.accelFlags, lw::kAccelCtrl);
  EXPECT_EQ(open.accelKey, 'O');
  EXPECT_EQ(lw::ComposeLabel(open), QStringLiteral("&Open...\tCtrl+O"));
  EXPECT_EQ(lw::ComposeLabel(src.entries[1]), QStringLiteral("フォント名(&F):"));
  EXPECT_FALSE(src.entries[2].HasAccelerator());
  EXPECT_EQ(src.entries[2].flags, 0);
  // A number in the flags column is taken as it is; raw accelerators keep unknown bits.
  EXPECT_EQ(src.entries[3].flags, 0x13);
  EXPECT_EQ(src.entries[3].mnemonic, u'A');
  EXPECT_EQ(src.entries[3].accelFlags, 0x30);
  EXPECT_EQ(src.entries[3].accelKey, 65);
  EXPECT_EQ(src.entries[4].mnemonic, u'#');
  EXPECT_EQ(src.entries[4].accelFlags, lw::kAccelShift | lw::kAccelAlt | lw::kAccelFunctionKey);
  EXPECT_EQ(src.entries[4].accelKey, 13);
  EXPECT_EQ(src.entries[4].text, QStringLiteral("trailing  "));
}

TEST(LanguageSource, WriterOutputParsesBackToTheSameEntries) {
  lw::LanguageSource src;
  src.version = {9, 8, 7, 6};
  src.charset = 204;
  auto add = [&](uint32_t key, uint16_t kind, uint16_t flags, char16_t m, bool accel, uint16_t af,
                 uint16_t ak, const QString& text) {
    lw::LanguageEntry e;
    e.key = key;
    e.kind = kind;
    e.flags = flags;
    e.mnemonic = m;
    e.extraLength = accel ? 6 : 2;
    e.accelFlags = af;
    e.accelKey = ak;
    e.text = text;
    src.entries.push_back(e);
  };
  add(1, 0, 0, 0, false, 0, 0, QStringLiteral("plain"));
  add(2, 5, lw::kFlagMnemonic | lw::kFlagColon, u'x', true, lw::kAccelCtrl, 'x',
      QStringLiteral("a\tCtrl+X"));
  add(3, 9, 0x21, 0, true, 0x40, 0, QStringLiteral("odd flags"));
  add(4, 0, lw::kFlagMnemonic, u' ', false, 0, 0, QStringLiteral("blank mnemonic"));
  add(5, 0, lw::kFlagMnemonic, u'-', false, 0, 0,
      QStringLiteral("quote \" backslash \\ cr \r lf \n"));
  add(6, 0, 0, 0, true, lw::kAccelFunctionKey, 30, QStringLiteral("F30"));
  add(7, 0, 0, 0, true, 0, '%', QStringLiteral("percent"));
  add(8, 0, 0, 0, false, 0, 0,
      QString(QChar(0xD800)) + QStringLiteral("lone surrogate, ") + QChar(0x1F));
  add(9, 0, 0, 0, false, 0, 0, QStringLiteral("\U0001F600 ▼ ＦＡＸ番号 ："));
  add(10, 0, 0, u'#', false, 0, 0, QString());  // mnemonic without its flag bit
  const QString text = lw::WriteLanguageSource(src, QStringLiteral("header\nsecond line"));
  EXPECT_TRUE(text.startsWith(QStringLiteral("# header\n# second line\n")));
  const auto back = ParseOk(text);
  if (::testing::Test::HasFailure()) std::fputs(text.toUtf8().constData(), stderr);
  EXPECT_EQ(back.version, src.version);
  EXPECT_EQ(back.charset, src.charset);
  ASSERT_EQ(back.entries.size(), src.entries.size());
  for (size_t i = 0; i < src.entries.size(); ++i) {
    const auto& a = src.entries[i];
    const auto& b = back.entries[i];
    SCOPED_TRACE(a.key);
    EXPECT_EQ(b.key, a.key);
    EXPECT_EQ(b.kind, a.kind);
    EXPECT_EQ(b.flags, a.flags);
    EXPECT_EQ(b.mnemonic, a.mnemonic);
    EXPECT_EQ(b.HasAccelerator(), a.HasAccelerator());
    EXPECT_EQ(b.accelFlags, a.accelFlags);
    EXPECT_EQ(b.accelKey, a.accelKey);
    EXPECT_EQ(b.text, a.text);
  }
}

TEST(LanguageSource, DumpOfACompiledFileCompilesToTheSameBytes) {
  const QString text = QStringLiteral(
      "version 1.0.0.2\ncharset 0\n"
      "62657 menu - N Ctrl+N \"New\\tCtrl+N\"\n"
      "62660 menu dots A - \"Save As\"\n"
      "62561 text - - - \"Enter a size from 1 to 1638.\"\n");
  QString error;
  const QByteArray bytes = lw::CompileLanguageSource(text, &error);
  ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();
  auto file = lw::LanguageFile::Parse(bytes, nullptr, &error);
  ASSERT_TRUE(file) << error.toStdString();
  EXPECT_EQ(lw::CompileLanguageSource(lw::WriteLanguageSource(lw::SourceOfFile(*file)), &error),
            bytes);
}

TEST(LanguageSource, NoEntriesCompileToAHeaderOnlyFile) {
  QString error;
  const QByteArray bytes =
      lw::CompileLanguageSource(QStringLiteral("# nothing yet\nversion 0.0.0.1\n"), &error);
  EXPECT_EQ(bytes.size(), 152);
}

struct MistakeCase {
  const char* name;
  const char* source;
  const char* expectedError;  // the start of the message
};

class LanguageSourceMistake : public ::testing::TestWithParam<MistakeCase> {};

TEST_P(LanguageSourceMistake, IsReportedWithItsLine) {
  QString error;
  EXPECT_TRUE(lw::CompileLanguageSource(QString::fromUtf8(GetParam().source), &error).isEmpty());
  EXPECT_TRUE(error.startsWith(QString::fromUtf8(GetParam().expectedError))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageSourceMistake,
    ::testing::Values(
        MistakeCase{"MissingColumn", "\n1 text - - \"x\"\n", "line 2: an entry has five columns"},
        MistakeCase{"NoText", "1 text - - -\n", "line 1: an entry needs its text"},
        MistakeCase{"UnclosedQuote", "1 text - - - \"x\n", "line 1: text has no closing"},
        MistakeCase{"BadEscape", "1 text - - - \"\\q\"\n", "line 1: unknown escape"},
        MistakeCase{"ShortUnicodeEscape", "1 text - - - \"\\u12\"\n", "line 1: \\u needs four"},
        MistakeCase{"ZeroCharacter", "1 text - - - \"\\u0000\"\n",
                    "line 1: a text cannot hold a 0"},
        MistakeCase{"UnknownFlag", "1 text colonn - - \"x\"\n", "line 1: unknown flag 'colonn'"},
        MistakeCase{"UnknownKind", "1 label - - - \"x\"\n", "line 1: kind 'label'"},
        MistakeCase{"IdTooLarge", "4294967296 text - - - \"x\"\n",
                    "line 1: '4294967296' is not a text id"},
        MistakeCase{"TwoLetterMnemonic", "1 text - ab - \"x\"\n", "line 1: mnemonic 'ab'"},
        MistakeCase{"UnknownModifier", "1 text - - Meta+X \"x\"\n",
                    "line 1: unknown modifier 'Meta'"},
        MistakeCase{"BadAcceleratorKey", "1 text - - Ctrl+Tab \"x\"\n",
                    "line 1: accelerator key 'Tab'"},
        MistakeCase{"BadRawAccelerator", "1 text - - raw:1 \"x\"\n", "line 1: accelerator 'raw:1'"},
        MistakeCase{"TextFollowedByWords", "1 text - - - \"x\" y\n",
                    "line 1: only a comment may follow"},
        MistakeCase{"VersionWithThreeNumbers", "version 1.0.0\n",
                    "line 1: version needs four numbers"},
        MistakeCase{"VersionNumberTooLarge", "version 1.0.0.256\n",
                    "line 1: version numbers run from 0 to 255"},
        MistakeCase{"VersionTwice", "version 1.0.0.0\nversion 1.0.0.0\n",
                    "line 2: version given twice"},
        MistakeCase{"CharsetNotANumber", "charset japanese\n", "line 1: charset needs one number"},
        MistakeCase{"StrayWord", "hello\n", "line 1: an entry needs its text"},
        MistakeCase{"DuplicateId", "5 text - - - \"a\"\n5 text - - - \"b\"\n",
                    "text id 5 is given twice"}),
    [](const ::testing::TestParamInfo<MistakeCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

TEST(LanguageSource, ZeroCharacterTypedIntoATextIsRefused) {
  // The file ends a text at its first 0 character, so the compiler must not take one.
  QString text = QStringLiteral("1 text - - - \"before");
  text += QChar(0);
  text += QStringLiteral("after\"\n");
  QString error;
  EXPECT_TRUE(lw::CompileLanguageSource(text, &error).isEmpty());
  EXPECT_EQ(error, QStringLiteral("line 1: a text cannot hold a 0 character"));
}

}  // namespace
