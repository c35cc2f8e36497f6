// The private temporary folder is only the user's, and temporary names never collide.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "base/TempFiles.h"

TEST(TempFiles, FolderIsPrivateToTheUser) {
  std::string dir = lw::PrivateTempDir();
  ASSERT_FALSE(dir.empty());
  struct stat st {};
  ASSERT_EQ(lstat(dir.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(TempFiles, UniqueNamesWithPrefixAndSuffix) {
  std::set<std::string> names;
  for (int i = 0; i < 50; ++i) {
    std::string p = lw::MakeTempFile("lwt", ".bmp");
    ASSERT_FALSE(p.empty());
    EXPECT_NE(p.find("/lwt"), std::string::npos);
    EXPECT_EQ(p.substr(p.size() - 4), ".bmp");
    EXPECT_TRUE(names.insert(p).second);
    std::remove(p.c_str());
  }
}
