#include "app/search_command.h"

#include <cstdio>

#include "app/main_window.h"
#include "net/download.h"
#include "platform/codepage.h"
#include "search/search_address.h"

namespace {

// Every fetch of a search is bounded by its own timeouts; this only keeps a
// stuck run from waiting for ever.
constexpr int kLongestWaitMs = 15 * 60 * 1000;

void PrintStatus(const Text& caption) {
  std::fflush(stdout);  // rows first, for a reader of both streams
  std::fprintf(stderr, "%s\n", codepage::AnsiToUtf8(caption).c_str());
  std::fflush(stderr);
}

void PrintRows() {
  const int rows = ui::RowCount(超级列表框1);
  for (int row = 0; row < rows; ++row) {
    TextArray cells;
    for (int column = 0; column < 4; ++column) cells.push_back(ui::GetCell(超级列表框1, row, column));
    const Text line = RowLine(cells);
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  std::fflush(stdout);
}

int Download(int row) {
  if (row > ui::RowCount(超级列表框1)) {
    std::fprintf(stderr, "zendrel: there is no row %d to download; the search found %d\n", row,
                 ui::RowCount(超级列表框1));
    return 1;
  }
  ui::SelectRow(超级列表框1, row - 1);
  ui::ChooseMenuItem(kMenuDownload);
  if (!ui::RunEventsUntil([] { return ui::GetCaption(标签2) != DownloadingStatus(); }, kLongestWaitMs)) {
    std::fprintf(stderr, "zendrel: the download did not end in time\n");
    return 1;
  }
  const Text caption = ui::GetCaption(标签2);
  PrintStatus(caption);
  return caption == DownloadFailedStatus() ? 1 : 0;
}

}  // namespace

Text RowLine(const TextArray& cells) {
  Text line;
  for (size_t i = 0; i < cells.size(); ++i) {
    Text cell = codepage::AnsiToUtf8(cells[i]);
    for (char& c : cell)
      if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    line += (i ? "\t" : "") + cell;
  }
  return line + "\n";
}

int RunSearchCommand(const Text& keywordUtf8, int downloadRow) {
  CreateAppWindow();  // never shown, and no home page opened
  ui::SetText(编辑框1, codepage::Utf8ToAnsi(keywordUtf8));
  // The click disables the button before the search starts; it is enabled
  // again when the search has ended, whichever way.
  ui::Click(按钮1);
  if (!ui::RunEventsUntil([] { return !ui::IsDisabled(按钮1); }, kLongestWaitMs)) {
    std::fprintf(stderr, "zendrel: the search did not end in time\n");
    return 1;
  }
  PrintRows();
  const Text status = ui::GetCaption(标签1);
  PrintStatus(status);
  if (status == FailedStatus()) return 1;
  return downloadRow > 0 ? Download(downloadRow) : 0;
}
