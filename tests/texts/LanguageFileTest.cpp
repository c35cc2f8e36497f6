// The language file reader.
// Invariants: a file is used only when every header, section and entry rule holds; the
// reader never reads past the bytes it was given; the first entry of an id wins.

#include <gtest/gtest.h>

#include <functional>

#include "RawLanguageFile.h"
#include "app/texts/CharsetFonts.h"
#include "app/texts/LanguageFile.h"

using namespace lwtest;

namespace {

std::unique_ptr<lw::LanguageFile> Parse(const QByteArray& bytes, QString* error = nullptr) {
  return lw::LanguageFile::Parse(bytes, lw::CharsetFontInstalled, error);
}

}  // namespace

TEST(LanguageFile, ValidFileGivesVersionCharsetAndEntries) {
  RawFile f = FileWith({Entry(62656, "File", 'F', 1), Entry(62657, "New\tCtrl+N", 'N', 1, 5)});
  f.sections[0].entries[1].extra = Extra('N', lw::kAccelCtrl, 'N');
  QString error;
  auto file = Parse(Bytes(f), &error);
  ASSERT_TRUE(file) << error.toStdString();
  EXPECT_EQ(file->Version(), (std::array<uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_TRUE(file->HasTextSection());
  EXPECT_EQ(file->Charset(), 0u);
  ASSERT_EQ(file->Entries().size(), 2u);
  const lw::LanguageEntry* e = file->Find(62657);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->kind, 5);
  EXPECT_EQ(e->text, QStringLiteral("New\tCtrl+N"));
  EXPECT_TRUE(e->HasAccelerator());
  EXPECT_EQ(e->accelKey, 'N');
  EXPECT_FALSE(file->Find(1));
}

TEST(LanguageFile, FirstEntryOfAnIdWins) {
  auto file = Parse(Bytes(FileWith({Entry(7, "first"), Entry(7, "second")})));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Find(7)->text, QStringLiteral("first"));
}

TEST(LanguageFile, HeaderOnlyFileIsValidWithoutTexts) {
  RawFile f;
  const QByteArray bytes = Bytes(f);
  ASSERT_EQ(bytes.size(), 152);
  auto file = Parse(bytes);
  ASSERT_TRUE(file);
  EXPECT_FALSE(file->HasTextSection());
  EXPECT_TRUE(file->Entries().empty());
}

TEST(LanguageFile, SectionsOfOtherTypesAreValidatedAndSkipped) {
  RawFile f = FileWith({Entry(1, "one")});
  RawSection other;
  other.type = 4;
  other.data = QByteArray(10, 'x');
  f.sections.insert(f.sections.begin(), other);
  auto file = Parse(Bytes(f));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->SectionCount(), 2);
  EXPECT_EQ(file->Find(1)->text, QStringLiteral("one"));
}

TEST(LanguageFile, TextWithoutEndingZeroStopsAtItsLength) {
  RawFile f = FileWith({Entry(1, "ab")});
  f.sections[0].entries[0].text = QByteArray("a\0b\0", 4);  // no 0 character within B
  auto file = Parse(Bytes(f));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Find(1)->text, QStringLiteral("ab"));
}

TEST(LanguageFile, JapaneseCharsetIsAcceptedWhenAJapaneseFontIsInstalled) {
  auto file = Parse(Bytes(FileWith({Entry(1, QStringLiteral("ファイル"))}, 128)));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Charset(), 128u);
}

struct BrokenCase {
  const char* name;
  std::function<QByteArray()> make;
};

class LanguageFileRejects : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(LanguageFileRejects, TheWholeFile) {
  QString error;
  EXPECT_FALSE(Parse(GetParam().make(), &error));
  EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LanguageFileRejects,
    ::testing::Values(
        BrokenCase{"ShorterThanHeader", [] { return Bytes(RawFile{}).left(151); }},
        BrokenCase{"Empty", [] { return QByteArray(); }},
        BrokenCase{"WrongMagic",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.magic = 0x43525651;
                     return Bytes(f);
                   }},
        BrokenCase{"HeaderSizeNot152",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.headerSize = 156;
                     return Bytes(f);
                   }},
        BrokenCase{"SectionsSize100With104BytesFollowing",
                   [] {
                     RawFile f;
                     RawSection s;
                     s.type = 2;
                     s.data = QByteArray(104 - 16, 'x');
                     f.sections.push_back(s);
                     f.sectionsSizeOverride = 100;
                     return Bytes(f);
                   }},
        BrokenCase{"MaskZeroWithSections",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.maskOverride = 0;
                     return Bytes(f);
                   }},
        BrokenCase{"SectionTypeWithTwoBits",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].type = 3;
                     f.maskOverride = 3;
                     return Bytes(f);
                   }},
        BrokenCase{"SectionTypeNotInMask",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.maskOverride = 2;
                     return Bytes(f);
                   }},
        BrokenCase{"SameTypeTwice",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections.push_back(f.sections[0]);
                     f.maskOverride = 3;  // two bits, but the second section repeats type 1
                     return Bytes(f);
                   }},
        BrokenCase{"SectionHeaderShorterThan16",
                   [] {
                     RawFile f;
                     RawSection s;
                     s.type = 2;
                     s.headerLengthOverride = 12;
                     s.data = QByteArray(8, 'x');
                     f.sections.push_back(s);
                     return Bytes(f);
                   }},
        BrokenCase{"SectionWithoutData",
                   [] {
                     RawFile f;
                     RawSection s;
                     s.type = 2;
                     f.sections.push_back(s);
                     return Bytes(f);
                   }},
        BrokenCase{"MaskPromisesMoreSections",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.maskOverride = 1 | 2;  // the walk runs out of bytes looking for type 2
                     return Bytes(f);
                   }},
        BrokenCase{"SectionsLeaveBytesOver",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.trailing = QByteArray(20, 'x');
                     return Bytes(f);
                   }},
        BrokenCase{"SectionRunsPastSectionsSize",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].dataLengthOverride = 4000;
                     return Bytes(f);
                   }},
        BrokenCase{"NoTextSection",
                   [] {
                     RawFile f;
                     RawSection s;
                     s.type = 2;
                     s.data = QByteArray(8, 'x');
                     f.sections.push_back(s);
                     return Bytes(f);
                   }},
        BrokenCase{"TextSectionHeaderTooShortForItsFields",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].textHeader = false;  // 16-byte header: no charset, format, count
                     return Bytes(f);
                   }},
        BrokenCase{"FormatNot1",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].format = 2;
                     return Bytes(f);
                   }},
        BrokenCase{"EntryCountZero",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entryCountOverride = 0;
                     return Bytes(f);
                   }},
        BrokenCase{"MoreEntriesCountedThanStored",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entryCountOverride = 2;
                     return Bytes(f);
                   }},
        BrokenCase{"FewerEntriesCountedThanStored",
                   [] {
                     RawFile f = FileWith({Entry(1, "x"), Entry(2, "y")});
                     f.sections[0].entryCountOverride = 1;
                     return Bytes(f);
                   }},
        BrokenCase{"TextLengthOdd",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entries[0].text.append('\0');
                     return Bytes(f);
                   }},
        BrokenCase{"TextLengthZero",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entries[0].text.clear();
                     return Bytes(f);
                   }},
        BrokenCase{"ExtraLengthBelow2",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entries[0].extra = QByteArray(1, 'M');
                     f.sections[0].entries[0].text.append('\0');  // keep the data even
                     return Bytes(f);
                   }},
        BrokenCase{"EntryClaimsMoreTextThanStored",
                   [] {
                     RawFile f = FileWith({Entry(1, "x")});
                     f.sections[0].entries[0].textLengthOverride = 0xFFFE;
                     return Bytes(f);
                   }},
        BrokenCase{"CharsetWithoutInstalledFont",
                   [] { return Bytes(FileWith({Entry(1, "x")}, 77)); }}),
    [](const ::testing::TestParamInfo<BrokenCase>& info) { return std::string(info.param.name); });

TEST(LanguageFile, BuildWritesWhatParseReads) {
  std::vector<lw::LanguageEntry> entries(2);
  entries[0].key = 62658;
  entries[0].kind = lw::kKindMenuItem;
  entries[0].flags = lw::kFlagMnemonic | lw::kFlagEllipsis;
  entries[0].mnemonic = u'O';
  entries[0].extraLength = 6;
  entries[0].accelFlags = lw::kAccelCtrl;
  entries[0].accelKey = 'O';
  entries[0].text = QStringLiteral("Open\tCtrl+O");
  entries[1].key = 62627;
  entries[1].text = QStringLiteral("OK");
  QString error;
  const QByteArray bytes = lw::LanguageFile::Build({2, 0, 1, 7}, 0, entries, &error);
  ASSERT_FALSE(bytes.isEmpty()) << error.toStdString();
  auto file = Parse(bytes, &error);
  ASSERT_TRUE(file) << error.toStdString();
  EXPECT_EQ(file->Version(), (std::array<uint8_t, 4>{2, 0, 1, 7}));
  ASSERT_EQ(file->Entries().size(), 2u);
  const lw::LanguageEntry& e = file->Entries()[0];
  EXPECT_EQ(e.flags, entries[0].flags);
  EXPECT_EQ(e.extraLength, 6);
  EXPECT_EQ(e.accelKey, 'O');
  EXPECT_EQ(e.text, entries[0].text);
  EXPECT_EQ(file->Entries()[1].extraLength, 2);

  const QByteArray empty = lw::LanguageFile::Build({1, 0, 0, 0}, 0, {}, &error);
  EXPECT_EQ(empty.size(), 152);
  EXPECT_TRUE(Parse(empty));
}
