// The result list's menu: the popup on a right-click and the commands that
// act on the selected row.
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/menu_commands.h"
#include "platform/codepage.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"

namespace {

struct PopupSeen {
  bool shown = false;
  bool finished = false;  // answered, or gave up looking
  QPoint pos;
  QStringList items;
};

// Watches for the popup while it runs its own loop: notes what it shows,
// then chooses `choose` (or presses Esc for -1) with `button`. Gives up after
// about half a second.
void AnswerPopup(PopupSeen& seen, int choose, Qt::MouseButton button, int triesLeft = 100) {
  QTimer::singleShot(5, [&seen, choose, button, triesLeft] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
      if (triesLeft > 0)
        AnswerPopup(seen, choose, button, triesLeft - 1);
      else
        seen.finished = true;
      return;
    }
    seen.shown = true;
    seen.finished = true;
    seen.pos = menu->pos();
    for (QAction* action : menu->actions()) seen.items << action->text();
    if (choose < 0) {
      QTest::keyClick(menu, Qt::Key_Escape);
      return;
    }
    QPoint at = menu->actionGeometry(menu->actions()[choose]).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, button, {}, at);
  });
}

class MenuCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestWindow(true);
    list = qobject_cast<QTableView*>(testsupport::FindControlWidget("超级列表框1"));
    ASSERT_NE(list, nullptr);
    QCursor::setPos(300, 250);
  }
  void TearDown() override { ui::SetShellOpenObserver(nullptr); }

  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      int row = ui::InsertRow(超级列表框1);
      ui::SetCell(超级列表框1, row, 0, std::to_string(row + 1));
      ui::SetCell(超级列表框1, row, 1, codepage::Ansi("片名") + std::to_string(row));
      ui::SetCell(超级列表框1, row, 3, "magnet:?xt=urn:btih:" + std::string(40, char('A' + row)));
    }
    // The list shows new rows a moment later, in one batch.
    ASSERT_TRUE(testsupport::WaitUntil([&] { return list->model()->rowCount() == ui::RowCount(超级列表框1); }));
  }

  void RightClickAt(QPoint at) {
    QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
  }

  QPoint RowCentre(int row) { return list->visualRect(list->model()->index(row, 1)).center(); }

  QTableView* list = nullptr;
};

TEST_F(MenuCommands, RightClickOnARowSelectsItAndPopsTheMenuBesideThePointer) {
  AddRows(3);
  ui::SetClipboardText("before");
  PopupSeen seen;
  // Chosen with the right button, as the popup allows.
  AnswerPopup(seen, kMenuCopyAddress, Qt::RightButton);
  const QPoint pointer = QCursor::pos();
  RightClickAt(RowCentre(1));

  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.pos, pointer + QPoint(3, 3));
  EXPECT_EQ(seen.items, QStringList({"下载BT", "复制地址", "全部删除", "官方社区"}));
  EXPECT_EQ(ui::SelectedRow(超级列表框1), 1);
  EXPECT_TRUE(testsupport::WaitUntil([] { return ui::ClipboardText() != "before"; }));
  EXPECT_EQ(ui::ClipboardText(), "magnet:?xt=urn:btih:" + std::string(40, 'B'));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the popup is gone";
}

TEST_F(MenuCommands, ALeftButtonChoiceAndEscapeBothWork) {
  AddRows(2);
  PopupSeen chosen;
  AnswerPopup(chosen, kMenuClear, Qt::LeftButton);
  RightClickAt(RowCentre(0));
  ASSERT_TRUE(chosen.shown);
  EXPECT_TRUE(testsupport::WaitUntil([] { return ui::RowCount(超级列表框1) == 0; }));

  AddRows(2);
  PopupSeen escaped;
  AnswerPopup(escaped, -1, Qt::LeftButton);
  RightClickAt(RowCentre(1));
  ASSERT_TRUE(escaped.shown);
  QCoreApplication::processEvents();
  EXPECT_EQ(ui::RowCount(超级列表框1), 2) << "Esc chooses nothing";
}

TEST_F(MenuCommands, NoPopupWithoutASelectedRow) {
  struct Case {
    const char* what;
    int rows;
    bool clickBelowRows;  // else ShowResultMenu runs with nothing selected
  };
  for (Case c : {Case{"empty list", 0, true}, Case{"empty space under rows", 2, true},
                 Case{"nothing selected", 2, false}}) {
    SCOPED_TRACE(c.what);
    ui::DeleteAllRows(超级列表框1);
    AddRows(c.rows);
    ui::SelectRow(超级列表框1, c.rows - 1);
    PopupSeen seen;
    AnswerPopup(seen, -1, Qt::LeftButton);  // would close a popup that should not be there
    if (c.clickBelowRows) {
      RightClickAt(QPoint(100, list->viewport()->height() - 5));
    } else {
      ui::SelectRow(超级列表框1, -1);
      ShowResultMenu();
    }
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(ui::SelectedRow(超级列表框1), -1);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return seen.finished; }));
    EXPECT_FALSE(seen.shown);
  }
}

TEST_F(MenuCommands, CopyAddressPutsExactlyTheCellOnTheClipboard) {
  AddRows(2);
  const Text address = "magnet:?xt=urn:btih:" + codepage::Ansi("全角") + "&dn=a b";
  ui::SetCell(超级列表框1, 1, 3, address);
  ui::SelectRow(超级列表框1, 1);
  ui::ChooseMenuItem(kMenuCopyAddress);
  EXPECT_EQ(ui::ClipboardText(), address) << "no line break, no change";

  // With no row selected, or a row without an address, the user's clipboard
  // stays as it was rather than being emptied.
  ui::SetClipboardText("keep me");
  ui::SelectRow(超级列表框1, -1);
  ui::ChooseMenuItem(kMenuCopyAddress);
  EXPECT_EQ(ui::ClipboardText(), "keep me");
  ui::SetCell(超级列表框1, 0, 3, "");
  ui::SelectRow(超级列表框1, 0);
  CopyMagnetAddress();
  EXPECT_EQ(ui::ClipboardText(), "keep me");
}

TEST_F(MenuCommands, ClearEmptiesTheListAndLeavesTheRest) {
  ClearResults();
  EXPECT_EQ(ui::RowCount(超级列表框1), 0);
  AddRows(3);
  ui::SetCaption(标签1, "status");
  ui::SetText(编辑框2, "parked\r\n");
  ui::SelectRow(超级列表框1, 2);
  ClearResults();
  EXPECT_EQ(ui::RowCount(超级列表框1), 0);
  EXPECT_EQ(ui::SelectedRow(超级列表框1), -1);
  EXPECT_EQ(ui::GetCaption(标签1), "status");
  EXPECT_EQ(ui::GetText(编辑框2), "parked\r\n");
}

}  // namespace
