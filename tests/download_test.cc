#include "net/download.h"

#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/main_window.h"
#include "net/fetch_file.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tests/support/support.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/torrent_service.h"
#include "tests/support/torrents.h"
#include "tests/support/ui_support.h"

namespace {

namespace fs = std::filesystem;
using codepage::Ansi;
using testsupport::MagnetFor;
using testsupport::MakeTorrent;
using testsupport::TorrentService;

// File name (UTF-8) -> contents.
using Listing = std::map<std::string, Bytes>;

Listing ListDirectory(const std::string& directory) {
  Listing listing;
  for (const auto& entry : fs::directory_iterator(directory)) {
    std::ifstream in(entry.path(), std::ios::binary);
    listing[entry.path().filename().string()] =
        entry.is_directory() ? "<dir>" : Bytes(std::istreambuf_iterator<char>(in), {});
  }
  return listing;
}

struct Row {
  Text title;
  Text magnet;
};

void ShowRows(const std::vector<Row>& rows) {
  ui::DeleteAllRows(超级列表框1);
  for (size_t i = 0; i < rows.size(); ++i) {
    int r = ui::InsertRow(超级列表框1);
    ui::SetCell(超级列表框1, r, 0, std::to_string(i + 1));
    ui::SetCell(超级列表框1, r, 1, rows[i].title);
    ui::SetCell(超级列表框1, r, 2, "1.2 GB");
    ui::SetCell(超级列表框1, r, 3, rows[i].magnet);
  }
}

Text Status() { return ui::GetCaption(标签2); }

bool WaitForOutcome() {
  return testsupport::WaitUntil(
      [] { return Status() == Ansi("下载完成") || Status() == Ansi("下载失败"); });
}

class Download : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestWindow(true);
    files::SetProgramDirectoryForTesting(dir_.path());
    ASSERT_TRUE(SetTorrentService(service_.Base()));
    ui::SetCaption(标签2, "");
  }

  void TearDown() override {
    files::SetProgramDirectoryForTesting("");
    ui::SetShellOpenObserver(nullptr);
  }

  void ChooseDownload(int row) {
    ui::SelectRow(超级列表框1, row);
    ui::ChooseMenuItem(kMenuDownload);
    EXPECT_EQ(Status(), Ansi("下载中"));
  }

  testsupport::TempDir dir_;
  TorrentService service_;
};

TEST_F(Download, SavesTheSelectedRowsTorrentASecondAfterTheFetch) {
  const auto torrent = MakeTorrent("film.mkv");
  const Text magnet = MagnetFor(torrent.hexHash) + "&dn=film";
  service_.Answer(torrent.hexHash, testsupport::Serves(torrent.bytes));
  ShowRows({{"other", MagnetFor(MakeTorrent("x").hexHash)},
            {Ansi("<b>中文</b>/电影\\..<"), magnet}});

  ChooseDownload(1);
  ASSERT_TRUE(WaitForOutcome());
  auto waited = std::chrono::steady_clock::now() - service_.LastAnswered();

  EXPECT_EQ(Status(), Ansi("下载完成"));
  EXPECT_EQ(ListDirectory(dir_.path()), (Listing{{"b>中文_b>_电影_...torrent", torrent.bytes}}));
  ASSERT_EQ(service_.Requests().size(), 1u);
  EXPECT_EQ(service_.Requests()[0].target, "/magnet-bt/torrent.php?magnet=" + magnet);
  EXPECT_GE(waited, std::chrono::milliseconds(1000));
  EXPECT_LT(waited, std::chrono::milliseconds(4000));
}

TEST_F(Download, FailuresShowFailedAndLeaveTheDirectoryAlone) {
  const auto wanted = MakeTorrent("wanted");
  const auto other = MakeTorrent("other");
  const Text title = "Title";
  const Text closed = "http://127.0.0.1:" + std::to_string(testsupport::RefusedPort());
  struct Case {
    const char* what;
    testsupport::ServiceAnswer answer;
    Text service;  // empty: the fixture
    int row = 0;
    bool titleIsADirectory = false;
  };
  const Case cases[] = {
      {"no row selected", testsupport::Serves(wanted.bytes), "", -1},
      {"nobody at the service", testsupport::Serves(wanted.bytes), closed},
      {"the torrent with an error status", testsupport::Serves(wanted.bytes, 500), ""},
      {"an error page", testsupport::Serves("<html>No such torrent</html>"), ""},
      {"another torrent", testsupport::Serves(other.bytes), ""},
      {"a body cut short", testsupport::CutShort(wanted.bytes), ""},
      {"more than any torrent", testsupport::Streamed(kMaxFileBytes + (1 << 20)), ""},
      {"a name that cannot be written", testsupport::Serves(wanted.bytes), "", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    files::SetProgramDirectoryForTesting(dir.path());
    if (c.titleIsADirectory)
      fs::create_directory(dir.path() + "/Title.torrent");
    else
      std::ofstream(dir.path() + "/Title.torrent") << "an earlier good download";
    const Listing before = ListDirectory(dir.path());
    TorrentService service;
    service.Answer(wanted.hexHash, c.answer);
    ASSERT_TRUE(SetTorrentService(c.service.empty() ? service.Base() : c.service));
    ShowRows({{title, MagnetFor(wanted.hexHash)}});
    ui::SetCaption(标签2, "");

    ChooseDownload(c.row);
    ASSERT_TRUE(WaitForOutcome());
    EXPECT_EQ(Status(), Ansi("下载失败"));
    EXPECT_EQ(ListDirectory(dir.path()), before);
  }
}

TEST_F(Download, ConcurrentDownloadsKeepEachRowsTitleAndBytes) {
  const auto first = MakeTorrent("first", 200);
  const auto second = MakeTorrent("second", 300);
  service_.Answer(first.hexHash, testsupport::Held(first.bytes));
  service_.Answer(second.base32Hash, testsupport::Held(second.bytes));
  ShowRows({{"first", MagnetFor(first.hexHash)}, {"second", MagnetFor(second.base32Hash)}});

  // The selection moves on while the first fetch runs.
  ChooseDownload(0);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return service_.Waiting() == 1; }));
  ChooseDownload(1);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return service_.Waiting() == 2; }));
  EXPECT_EQ(Status(), Ansi("下载中"));

  // Each ends with "下载完成"; the first to end shows it at once.
  service_.Release(second.base32Hash);
  ASSERT_TRUE(WaitForOutcome());
  EXPECT_EQ(Status(), Ansi("下载完成"));
  EXPECT_EQ(ListDirectory(dir_.path()), (Listing{{"second.torrent", second.bytes}}));
  ui::SetCaption(标签2, "");
  service_.Release(first.hexHash);
  ASSERT_TRUE(WaitForOutcome());
  EXPECT_EQ(Status(), Ansi("下载完成"));
  EXPECT_EQ(ListDirectory(dir_.path()),
            (Listing{{"first.torrent", first.bytes}, {"second.torrent", second.bytes}}));
}

TEST_F(Download, ThePopupDownloadsTheRightClickedRow) {
  const auto torrent = MakeTorrent("popup");
  service_.Answer(torrent.hexHash, testsupport::Serves(torrent.bytes));
  ShowRows({{"not this one", MagnetFor(MakeTorrent("x").hexHash)},
            {"popup", MagnetFor(torrent.hexHash)}});
  auto* list = qobject_cast<QTableView*>(testsupport::FindControlWidget("超级列表框1"));
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return list->model()->rowCount() == 2; }));
  ui::SelectRow(超级列表框1, -1);

  // The popup runs its own loop; choose "下载BT" from inside it.
  bool chosen = false;
  std::function<void(int)> answer = [&](int triesLeft) {
    QTimer::singleShot(5, [&, triesLeft] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) {
        if (triesLeft > 0) answer(triesLeft - 1);
        return;
      }
      QPoint at = menu->actionGeometry(menu->actions()[kMenuDownload]).center();
      QTest::mouseMove(menu, at);
      QTest::mouseClick(menu, Qt::LeftButton, {}, at);
      chosen = true;
    });
  };
  answer(200);
  QPoint row = list->visualRect(list->model()->index(1, 1)).center();
  QTest::mousePress(list->viewport(), Qt::RightButton, {}, row);
  QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, row);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return chosen; }));

  ASSERT_TRUE(WaitForOutcome());
  EXPECT_EQ(Status(), Ansi("下载完成"));
  EXPECT_EQ(ListDirectory(dir_.path()), (Listing{{"popup.torrent", torrent.bytes}}));
}

}  // namespace
