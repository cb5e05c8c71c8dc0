#include "platform/files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Names(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory))
    names.insert(entry.path().filename().string());
  return names;
}

TEST(Files, ProgramDirectoryIsTheTestBinarysOwnAndCanBeRedirected) {
  char self[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  EXPECT_EQ(files::ProgramDirectory(), fs::path(self).parent_path().string());
  files::SetProgramDirectoryForTesting("/tmp/elsewhere/");
  EXPECT_EQ(files::ProgramDirectory(), "/tmp/elsewhere");
  files::SetProgramDirectoryForTesting("");
  EXPECT_EQ(files::ProgramDirectory(), fs::path(self).parent_path().string());
}

TEST(Files, WritesCreateAndReplaceWholeFiles) {
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/种子.torrent";
  const Bytes binary("d\0\xff\r\ne", 6);
  ASSERT_TRUE(files::WriteFileAtomically(path, binary));
  EXPECT_EQ(Contents(path), binary);
  ASSERT_TRUE(files::WriteFileAtomically(path, "second"));
  EXPECT_EQ(Contents(path), "second");
  ASSERT_TRUE(files::WriteFileAtomically(path, ""));
  EXPECT_EQ(Contents(path), "");
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"种子.torrent"});
}

TEST(Files, FailedWriteLeavesEverythingAsItWas) {
  testsupport::TempDir dir;
  fs::create_directory(dir.path() + "/taken.torrent");
  std::ofstream(dir.path() + "/keep") << "old";
  EXPECT_FALSE(files::WriteFileAtomically(dir.path() + "/taken.torrent", "new"));
  EXPECT_FALSE(files::WriteFileAtomically(dir.path() + "/missing/x.torrent", "new"));
  EXPECT_TRUE(fs::is_directory(dir.path() + "/taken.torrent"));
  EXPECT_EQ(Names(dir.path()), (std::set<std::string>{"keep", "taken.torrent"}));

  if (geteuid() != 0) {  // root writes anywhere
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(files::WriteFileAtomically(dir.path() + "/keep", "new"));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(Contents(dir.path() + "/keep"), "old");
  }
}

TEST(Files, ConcurrentWritersOfOneNameLeaveOneWholeFile) {
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/same.torrent";
  const Bytes a(300000, 'a'), b(200000, 'b');
  std::thread first([&] {
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(files::WriteFileAtomically(path, a));
  });
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(files::WriteFileAtomically(path, b));
    Bytes seen = Contents(path);
    EXPECT_TRUE(seen == a || seen == b) << seen.size();
  }
  first.join();
  EXPECT_EQ(Names(dir.path()), std::set<std::string>{"same.torrent"});
}

}  // namespace
