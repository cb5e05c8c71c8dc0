#include "net/download.h"

#include <chrono>
#include <thread>

#include "app/main_window.h"
#include "net/fetch_file.h"
#include "net/sites.h"
#include "net/torrent_check.h"
#include "net/torrent_file_name.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace {

constexpr auto kWaitBeforeWriting = std::chrono::milliseconds(1000);

Text ServiceAddress(const Text& magnet) {
  return TorrentServiceBase() + "/magnet-bt/torrent.php?magnet=" + magnet;
}

bool SaveSelectedTorrent() {
  // Title and address come from one row, read together before the fetch:
  // the user may move the selection while it runs.
  int row = ui::SelectedRow(超级列表框1);
  if (row < 0) return false;
  Text magnet = ui::GetCell(超级列表框1, row, 3);
  Text title = ui::GetCell(超级列表框1, row, 1);
  if (magnet.empty()) return false;

  FileFetchOutcome outcome;
  Bytes torrent = FetchFileBytes(ServiceAddress(magnet), &outcome);
  if (!outcome.ok || !IsTorrentFor(torrent, magnet)) return false;

  std::this_thread::sleep_for(kWaitBeforeWriting);
  return files::WriteFileAtomically(
      files::ProgramDirectory() + "/" + TorrentFileName(title, magnet), torrent);
}

}  // namespace

Text DownloadingStatus() {
  static const Text status = codepage::Ansi("下载中");
  return status;
}

Text DownloadDoneStatus() {
  static const Text status = codepage::Ansi("下载完成");
  return status;
}

Text DownloadFailedStatus() {
  static const Text status = codepage::Ansi("下载失败");
  return status;
}

void StartDownload() {
  ui::SetCaption(标签2, DownloadingStatus());
  if (!ui::StartWorker(DownloadTorrent)) ui::SetCaption(标签2, DownloadFailedStatus());
}

void DownloadTorrent() {
  bool saved = SaveSelectedTorrent();
  ui::SetCaption(标签2, saved ? DownloadDoneStatus() : DownloadFailedStatus());
}
