// The main window as a person meets it: its controls, texts, fonts, list
// columns and menu, the start-up, and the bindings of its events.
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"

namespace {

using testsupport::FindControlWidget;

QString Shown(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) return multi->toPlainText();
  return QString();
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestApplication();
    ui::SetShellOpenObserver([this](const Text& address) {
      QWidget* window = testsupport::MainWindowWidget();
      opened.push_back({address, window && window->isVisible()});
    });
  }
  void TearDown() override { ui::SetShellOpenObserver(nullptr); }
  std::vector<std::pair<Text, bool>> opened;  // address, window already shown
};

TEST_F(MainWindow, ControlsStandWhereTheDescriptionPutsThem) {
  CreateAppWindow();
  struct Expected {
    ui::Control control;
    const char* name;
    const char* metaClass;
    QRect place;
    const char* text;
    bool enabled;
  };
  const Expected table[] = {
      {标签1, "标签1", "QLabel", {24, 8, 336, 24}, "", true},
      {标签3, "标签3", "QLabel", {314, 6, 352, 29}, "Zendrel-你懂的！", true},
      {编辑框1, "编辑框1", "QLineEdit", {16, 40, 336, 28}, "", true},
      {按钮1, "按钮1", "QPushButton", {360, 40, 64, 28}, "搜索一下", true},
      {按钮2, "按钮2", "QPushButton", {456, 40, 336, 28}, "在搜索框里输入自己想搜索的内容即可", false},
      {标签2, "标签2", "QLabel", {32, 72, 184, 24}, "", true},
      {超级列表框1, "超级列表框1", "QTableView", {0, 104, 784, 464}, "", true},
      {标签4, "标签4", "QLabel", {234, 567, 376, 24}, "Zendrel 官方社区：www.zendrel.example", true},
      {编辑框2, "编辑框2", "QPlainTextEdit", {896, 56, 112, 72}, "", true},
      {编辑框3, "编辑框3", "QLineEdit", {512, 664, 80, 20}, "", true},
      {编辑框4, "编辑框4", "QLineEdit", {504, 688, 80, 20}, "", true},
      {编辑框5, "编辑框5", "QPlainTextEdit", {440, 880, 80, 64}, "", true},
      {编辑框6, "编辑框6", "QPlainTextEdit", {864, 8, 224, 80}, "", true},
  };
  const ui::WindowSpec& spec = MainWindowSpec();
  ASSERT_EQ(spec.controls.size(), std::size(table));
  for (const Expected& e : table) {
    SCOPED_TRACE(e.name);
    EXPECT_STREQ(spec.controls[e.control].name, e.name) << "the constant indexes its own row";
    QWidget* widget = FindControlWidget(e.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->inherits(e.metaClass));
    EXPECT_EQ(widget->geometry(), e.place);
    EXPECT_EQ(Shown(widget), QString::fromUtf8(e.text));
    EXPECT_EQ(ui::GetCaption(e.control), codepage::Ansi(e.text));
    EXPECT_EQ(widget->isEnabled(), e.enabled);
    EXPECT_FALSE(widget->isHidden());
  }
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(FindControlWidget("编辑框2"))->verticalScrollBarPolicy(),
            Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(FindControlWidget("编辑框5"))->verticalScrollBarPolicy(),
            Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(qobject_cast<QLabel*>(FindControlWidget("标签1"))->textFormat(), Qt::PlainText)
      << "an & in a status stays an &";
}

TEST_F(MainWindow, FontsListAndMenuFollowTheDescription) {
  CreateAppWindow();
  QFont slogan = FindControlWidget("标签3")->font();
  EXPECT_EQ(slogan.pixelSize(), 20);
  EXPECT_EQ(slogan.weight(), QFont::Normal);
  EXPECT_FALSE(slogan.italic() || slogan.underline() || slogan.strikeOut());
  EXPECT_EQ(FindControlWidget("标签1")->font(), QApplication::font());

  auto* list = qobject_cast<QTableView*>(FindControlWidget("超级列表框1"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->font().families().value(0), QString::fromUtf8("宋体"));
  EXPECT_EQ(list->font().pixelSize(), 16);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(list->isSortingEnabled());
  EXPECT_TRUE(list->showGrid());
  EXPECT_FALSE(list->horizontalHeader()->sectionsMovable());
  EXPECT_FALSE(list->horizontalHeader()->isHidden());
  const std::pair<const char*, int> columns[] = {{"序号", 45}, {"片名", 600}, {"大小", 80}, {"地址", 50}};
  ASSERT_EQ(list->model()->columnCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(), QString::fromUtf8(columns[i].first));
    EXPECT_EQ(list->columnWidth(i), columns[i].second);
  }
  EXPECT_EQ(ui::RowCount(超级列表框1), 0);
  EXPECT_EQ(ui::SelectedRow(超级列表框1), -1);

  auto* window = qobject_cast<QMainWindow*>(testsupport::MainWindowWidget());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Zendrel  BY:Korvash");
  Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(48, 48)));
  QList<QAction*> menus = window->menuBar()->actions();
  ASSERT_EQ(menus.size(), 1);
  EXPECT_EQ(menus[0]->text(), QString::fromUtf8("下载操作"));
  QStringList items;
  for (QAction* item : menus[0]->menu()->actions()) items << item->text();
  EXPECT_EQ(items, QStringList({"下载BT", "复制地址", "全部删除", "官方社区"}));
}

TEST_F(MainWindow, StartUpOpensTheHomePageOnceThenShowsTheWindowCentred) {
  StartUp();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, Text("http://") + kHomePageHost);
  EXPECT_FALSE(opened[0].second) << "the home page opens before the window shows";

  QWidget* window = testsupport::MainWindowWidget();
  ASSERT_TRUE(window->isVisible());
  QRect screen = window->screen()->geometry();
  QRect frame = window->frameGeometry();
  EXPECT_EQ(frame.size(), QSize(802, 646));
  EXPECT_EQ(frame.topLeft(), QPoint((screen.width() - 802) / 2, (screen.height() - 646) / 2));
  // The scratch boxes lie beyond the client area at the start size.
  QWidget* client = qobject_cast<QMainWindow*>(window)->centralWidget();
  for (const char* name : {"编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6"})
    EXPECT_FALSE(client->rect().intersects(FindControlWidget(name)->geometry())) << name;
  EXPECT_TRUE(client->rect().contains(FindControlWidget("超级列表框1")->geometry()));
}

TEST_F(MainWindow, MenuItemsReachTheirCommandsAndTheGreyButtonDoesNothing) {
  CreateAppWindow();
  for (int i = 0; i < 3; ++i) ui::SetCell(超级列表框1, ui::InsertRow(超级列表框1), 0, "r");
  ui::Click(按钮2);
  EXPECT_EQ(ui::RowCount(超级列表框1), 3);
  ui::ChooseMenuItem(kMenuClear);
  EXPECT_EQ(ui::RowCount(超级列表框1), 0);
  ui::ChooseMenuItem(kMenuHomePage);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, kHomePageHost) << "bare host, no scheme";
}

}  // namespace
