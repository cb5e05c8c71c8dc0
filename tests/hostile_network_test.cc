// The window under a torrent service that answers without end, and the
// window closed while workers are in the middle of their work: the process
// must end at once, with no file half-written.
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "tests/support/result_site.h"
#include "tests/support/support.h"
#include "tests/support/torrent_service.h"
#include "tests/support/torrents.h"
#include "tests/support/ui_support.h"

namespace {

namespace fs = std::filesystem;
using codepage::Ansi;
using Clock = std::chrono::steady_clock;
using Listing = std::map<std::string, Bytes>;

Listing ListDirectory(const std::string& directory) {
  Listing listing;
  for (const auto& entry : fs::directory_iterator(directory)) {
    std::ifstream in(entry.path(), std::ios::binary);
    listing[entry.path().filename().string()] = Bytes(std::istreambuf_iterator<char>(in), {});
  }
  return listing;
}

void ShowRow(const Text& title, const Text& magnet) {
  ui::DeleteAllRows(超级列表框1);
  int r = ui::InsertRow(超级列表框1);
  ui::SetCell(超级列表框1, r, 0, "1");
  ui::SetCell(超级列表框1, r, 1, title);
  ui::SetCell(超级列表框1, r, 3, magnet);
  ui::SelectRow(超级列表框1, r);
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class HostileNetwork : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestWindow(true);
  }
};

TEST_F(HostileNetwork, GigabyteTorrentIsRefusedWithoutHoldingIt) {
  testsupport::TempDir dir;
  files::SetProgramDirectoryForTesting(dir.path());
  std::ofstream(dir.path() + "/big.torrent") << "an earlier good download";
  const Listing before = ListDirectory(dir.path());
  const auto torrent = testsupport::MakeTorrent("big");
  testsupport::TorrentService service;
  service.Answer(torrent.hexHash, testsupport::Streamed(int64_t(1) << 30));
  ASSERT_TRUE(SetTorrentService(service.Base()));
  ShowRow("big", testsupport::MagnetFor(torrent.hexHash));

  long peakBefore = PeakKilobytes();
  ui::ChooseMenuItem(kMenuDownload);
  ASSERT_TRUE(testsupport::WaitUntil([] { return ui::GetCaption(标签2) == Ansi("下载失败"); },
                                     std::chrono::seconds(60)));
  EXPECT_EQ(ListDirectory(dir.path()), before);
  // What the download may hold is bounded far below the answer's size.
  EXPECT_LT(PeakKilobytes() - peakBefore, 256 * 1024);
  files::SetProgramDirectoryForTesting("");
}

// The child process: gets the window to `moment`, notes the time in the
// file named by ZENDREL_CLOSED_AT and closes the window; closing must end the
// process. The parent checks how soon it ended and what it left behind.
const char* kMarkVariable = "ZENDREL_CLOSED_AT";
const char* kDirectoryVariable = "ZENDREL_CLOSE_DIR";

void CloseNow() {
  std::FILE* mark = std::fopen(std::getenv(kMarkVariable), "w");
  std::fprintf(mark, "%lld\n",
               static_cast<long long>(Clock::now().time_since_epoch() / std::chrono::microseconds(1)));
  std::fclose(mark);
  testsupport::MainWindowWidget()->close();
  std::fprintf(stderr, "the window closed but the process went on\n");
  std::abort();
}

enum class Moment { ProbeFetch, Fill, DownloadFetch, DownloadWait };

void CloseDuring(Moment moment) {
  files::SetProgramDirectoryForTesting(std::getenv(kDirectoryVariable));
  testsupport::ResultSite site;
  testsupport::TorrentService service;
  const auto torrent = testsupport::MakeTorrent("closing", 2000);
  if (moment == Moment::ProbeFetch) {
    site.SetPage(1, testsupport::ResultPage(testsupport::NumberedEntries("a", 3), {2, 3, 4, 5}));
    site.Hold(5);
  } else if (moment == Moment::Fill) {
    site.SetPage(1, testsupport::ResultPage(testsupport::NumberedEntries("a", 20000), {}));
  } else {
    service.Answer(torrent.hexHash, moment == Moment::DownloadFetch ? testsupport::Held(torrent.bytes)
                                                                    : testsupport::Serves(torrent.bytes));
    ASSERT_TRUE(SetTorrentService(service.Base()));
    ShowRow("closing", testsupport::MagnetFor(torrent.hexHash));
  }
  ASSERT_TRUE(SetSearchSite(site.base()));

  if (moment == Moment::ProbeFetch || moment == Moment::Fill) {
    ui::SetText(编辑框1, "k");
    ui::Click(按钮1);
  } else {
    ui::ChooseMenuItem(kMenuDownload);
  }
  switch (moment) {
    case Moment::ProbeFetch:
      ASSERT_TRUE(testsupport::WaitUntil([&] { return site.IsWaiting(5); }));
      break;
    case Moment::Fill:
      ASSERT_TRUE(testsupport::WaitUntil([] { return ui::RowCount(超级列表框1) > 100; },
                                         std::chrono::seconds(60)))
          << ui::RowCount(超级列表框1) << " rows, button " << ui::IsDisabled(按钮1);
      break;
    case Moment::DownloadFetch:
      ASSERT_TRUE(testsupport::WaitUntil([&] { return service.Waiting() == 1; }));
      break;
    case Moment::DownloadWait:
      // Answered: the worker now waits its second before writing.
      ASSERT_TRUE(testsupport::WaitUntil([&] { return service.Requests().size() == 1; }));
      ASSERT_TRUE(testsupport::WaitUntil([&] { return service.LastAnswered() != Clock::time_point(); }));
      break;
  }
  CloseNow();
}

TEST_F(HostileNetwork, ClosingTheWindowEndsWorkAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* what;
    Moment moment;
  };
  const Case cases[] = {{"during a probe fetch", Moment::ProbeFetch},
                        {"during the fill", Moment::Fill},
                        {"during a download's fetch", Moment::DownloadFetch},
                        {"during the wait before writing", Moment::DownloadWait}};
  // The child runs this test again from the start; it must find the
  // parent's files, not make its own.
  std::optional<testsupport::TempDir> scratch;
  if (!std::getenv(kDirectoryVariable)) {
    scratch.emplace();
    setenv(kMarkVariable, (scratch->path() + "/../" + fs::path(scratch->path()).filename().string() +
                           "-closed-at").c_str(), 1);
    setenv(kDirectoryVariable, scratch->path().c_str(), 1);
  }
  const std::string markPath = std::getenv(kMarkVariable);
  const std::string directory = std::getenv(kDirectoryVariable);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& entry : fs::directory_iterator(directory)) fs::remove_all(entry.path());
    EXPECT_EXIT(CloseDuring(c.moment), ::testing::ExitedWithCode(0), "");
    auto ended = Clock::now();
    long long closedAt = 0;
    std::ifstream(markPath) >> closedAt;
    fs::remove(markPath);
    auto closed = Clock::time_point(std::chrono::microseconds(closedAt));
    EXPECT_GT(closedAt, 0);
    EXPECT_LT(ended - closed, std::chrono::seconds(1));
    // Nothing, or the whole torrent when the write came first.
    Listing left = ListDirectory(directory);
    if (!left.empty()) {
      EXPECT_EQ(left, (Listing{{"closing.torrent", testsupport::MakeTorrent("closing", 2000).bytes}}));
    }
  }
}

}  // namespace
