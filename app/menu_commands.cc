#include "app/menu_commands.h"

#include "app/main_window.h"
#include "net/sites.h"

namespace {
constexpr int kMagnetColumn = 3;
}

void ShowResultMenu() {
  if (ui::SelectedRow(超级列表框1) < 0) return;
  ui::PopupMenuAtCursor(3, 3);
}

void CopyMagnetAddress() {
  int row = ui::SelectedRow(超级列表框1);
  if (row < 0) return;
  Text address = ui::GetCell(超级列表框1, row, kMagnetColumn);
  // An empty address would only wipe what the user had on the clipboard.
  if (address.empty()) return;
  ui::SetClipboardText(address);
}

void ClearResults() { ui::DeleteAllRows(超级列表框1); }

void OpenHomePage() { ui::OpenWebAddress(kHomePageHost); }
