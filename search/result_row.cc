#include "search/result_row.h"

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
