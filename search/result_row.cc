#include "search/result_row.h"

#include <algorithm>

#include "app/main_window.h"
#include "platform/ui.h"
#include "text/codecs.h"

void AddResultRow(int number, const Text& title, const Text& hash, const Text& size) {
  int row = ui::InsertRow(超级列表框1);
  ui::SetCell(超级列表框1, row, 0, IntegerToText(number));
  ui::SetCell(超级列表框1, row, 1, DecodeName(title));
  ui::SetCell(超级列表框1, row, 3, "magnet:?" + hash);
  ui::SetCell(超级列表框1, row, 2, size);
}

int AddResultRows(const TextArray& titles, const TextArray& hashes, const TextArray& sizes) {
  size_t rows = std::min({titles.size(), hashes.size(), sizes.size()});
  for (size_t i = 0; i < rows; ++i) {
    ui::ProcessPendingMessages();
    AddResultRow(static_cast<int>(i + 1), titles[i], hashes[i], sizes[i]);
  }
  return static_cast<int>(rows);
}
