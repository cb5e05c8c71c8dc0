// The user's commands racing the workers: the list cleared and addresses
// copied while a search fills it, downloads chosen in quick succession, and
// a new search the moment the last one ends.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "search/search_address.h"
#include "tests/support/result_site.h"
#include "tests/support/support.h"
#include "tests/support/torrent_service.h"
#include "tests/support/torrents.h"
#include "tests/support/ui_support.h"

namespace {

namespace fs = std::filesystem;
using codepage::Ansi;
using testsupport::NumberedEntries;
using testsupport::ResultEntry;
using testsupport::ResultPage;

class WorkerTiming : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testsupport::StartTestWindow(true);
    site = new testsupport::ResultSite;
  }
  static void TearDownTestSuite() {
    delete site;
    site = nullptr;
  }
  void SetUp() override {
    site->Clear();
    ASSERT_TRUE(SetSearchSite(site->base()));
  }

  static bool WaitForButton() {
    return testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); }, std::chrono::seconds(120));
  }

  static testsupport::ResultSite* site;
};

testsupport::ResultSite* WorkerTiming::site = nullptr;

TEST_F(WorkerTiming, ClearAndCopyWhileTheListFills) {
  std::vector<ResultEntry> entries = NumberedEntries("f", 3000);
  site->SetPage(1, ResultPage(entries, {}));
  ui::SetText(编辑框1, "fill");
  ui::Click(按钮1);

  // Clear and copy as often as the fill lets us, while it still runs.
  int clearsDuringFill = 0;
  std::vector<Text> copied;
  while (ui::IsDisabled(按钮1)) {
    if (ui::RowCount(超级列表框1) > 0) {
      ui::SelectRow(超级列表框1, 0);
      ui::ChooseMenuItem(kMenuCopyAddress);
      copied.push_back(ui::ClipboardText());
      ui::ChooseMenuItem(kMenuClear);
      if (ui::IsDisabled(按钮1)) ++clearsDuringFill;
    }
    testsupport::WaitUntil([] { return false; }, std::chrono::milliseconds(20));
  }
  EXPECT_GT(clearsDuringFill, 0);
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("fill", 3000));

  // The rows left are the last ones of the fill, with their own numbers.
  int left = ui::RowCount(超级列表框1);
  ASSERT_LT(left, 3000);
  for (int r = 0; r < left; ++r) {
    int number = 3000 - left + r + 1;
    ASSERT_EQ(ui::GetCell(超级列表框1, r, 0), std::to_string(number));
    ASSERT_EQ(ui::GetCell(超级列表框1, r, 3), "magnet:?" + entries[number - 1].hash);
  }
  // Every copy is one whole address of an entry (or nothing yet, when the
  // first row had no address so far).
  for (const Text& address : copied) {
    if (address.empty()) continue;
    ASSERT_EQ(address.rfind("magnet:?xt=urn:btih:f", 0), 0u) << address;
    int n = std::stoi(address.substr(21));
    ASSERT_EQ(address, "magnet:?" + entries[n - 1].hash);
  }
}

TEST_F(WorkerTiming, TenQuickDownloadsLeaveOneWholeFile) {
  testsupport::TempDir dir;
  files::SetProgramDirectoryForTesting(dir.path());
  const auto torrent = testsupport::MakeTorrent("quick", 3000);
  testsupport::TorrentService service;
  service.Answer(torrent.hexHash, testsupport::Serves(torrent.bytes));
  ASSERT_TRUE(SetTorrentService(service.Base()));
  ui::DeleteAllRows(超级列表框1);
  int row = ui::InsertRow(超级列表框1);
  ui::SetCell(超级列表框1, row, 1, "quick");
  ui::SetCell(超级列表框1, row, 3, testsupport::MagnetFor(torrent.hexHash));
  ui::SelectRow(超级列表框1, row);

  for (int i = 0; i < 10; ++i) ui::ChooseMenuItem(kMenuDownload);
  EXPECT_EQ(ui::GetCaption(标签2), Ansi("下载中"));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return service.Requests().size() == 10; }));
  // Each worker writes a second after its answer; wait for the last of them.
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    return std::chrono::steady_clock::now() - service.LastAnswered() > std::chrono::milliseconds(2500);
  }));
  EXPECT_EQ(ui::GetCaption(标签2), Ansi("下载完成"));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  ASSERT_EQ(names, std::vector<std::string>{"quick.torrent"});
  std::ifstream in(dir.path() + "/quick.torrent", std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), torrent.bytes);
  files::SetProgramDirectoryForTesting("");
}

TEST_F(WorkerTiming, ASearchStartedTheMomentTheLastEndsStartsClean) {
  site->SetPage(1, ResultPage(NumberedEntries("old", 4), {2}));
  site->SetPage(2, ResultPage(NumberedEntries("old2", 4), {}));
  ui::SetText(编辑框1, "old");
  ui::Click(按钮1);
  // Poll without a pause, and click in the same turn the button comes back.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (ui::IsDisabled(按钮1) && std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents();
  ASSERT_FALSE(ui::IsDisabled(按钮1));
  ASSERT_EQ(ui::RowCount(超级列表框1), 8);

  site->Clear();
  std::vector<ResultEntry> fresh = NumberedEntries("new", 2);
  site->SetPage(1, ResultPage(fresh, {}));
  ui::SetText(编辑框1, "new");
  ui::Click(按钮1);
  ASSERT_TRUE(WaitForButton());
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("new", 2));
  ASSERT_EQ(ui::RowCount(超级列表框1), 2);
  EXPECT_EQ(ui::GetCell(超级列表框1, 1, 3), "magnet:?" + fresh[1].hash);
}

}  // namespace
