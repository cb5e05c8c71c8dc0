#include "net/torrent_file_name.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

using codepage::Ansi;

TEST(TorrentFileName, TitlesBecomeNamesInsideTheDirectory) {
  const Text hash = "0123456789abcdef0123456789abcdef01234567";
  const Text magnet = "magnet:?xt=urn:btih:" + hash + "&dn=x";
  struct Case {
    Text title;
    Text magnet;
    std::string name;  // UTF-8
  };
  const Case cases[] = {
      {"Ubuntu 22.04", magnet, "Ubuntu 22.04.torrent"},
      {"<b>Ubuntu</b><", magnet, "b>Ubuntu_b>.torrent"},
      {"a/b\\c", magnet, "a_b_c.torrent"},
      {"../../etc/passwd", magnet, ".._.._etc_passwd.torrent"},
      {"..", magnet, "...torrent"},
      {Ansi("中文 电影<"), magnet, "中文 电影.torrent"},
      {"<<<", magnet, hash + ".torrent"},
      {"", magnet, hash + ".torrent"},
      {"", "magnet:?xt=urn:btih:a/b", "a_b.torrent"},
      {"", "magnet:?dn=name/x", "dn=name_x.torrent"},
      {"", "", "torrent.torrent"},
  };
  for (const Case& c : cases) EXPECT_EQ(TorrentFileName(c.title, c.magnet), c.name) << c.title;
}

TEST(TorrentFileName, LongTitleIsCutAtACharacterWithinTheLimit) {
  Text title;
  for (int i = 0; i < 200; ++i) title += Ansi("种");  // three bytes each in UTF-8
  std::string name = TorrentFileName(title, "magnet:?");
  EXPECT_LE(name.size(), 255u);
  EXPECT_EQ(name.size(), 82 * 3 + 8u);
  EXPECT_EQ(name.substr(name.size() - 8), ".torrent");
  EXPECT_EQ(codepage::Utf8ToAnsi(name.substr(0, name.size() - 8)), title.substr(0, 82 * 2));
}

}  // namespace
