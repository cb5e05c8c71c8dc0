#pragma once
// "下载BT": saving the selected row's torrent next to the program.
#include "text/text.h"

// What 标签2 shows, in the system code page.
Text DownloadingStatus();
Text DownloadDoneStatus();
Text DownloadFailedStatus();

// Handler of the menu item: shows "下载中" and starts a download worker.
// Each choice starts one more; several may run at once.
void StartDownload();

// The worker: reads the selected row's title and magnet address once, fetches
// the torrent from the torrent service, and only when the answer is that
// torrent, complete, writes it in place of any file of that name; then
// "下载完成". Every other outcome leaves the directory as it was and shows
// "下载失败".
void DownloadTorrent();
