// The control operations, called as the search and download workers call
// them: from worker threads, with bytes that must come back unchanged.
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "platform/codepage.h"
#include "platform/ui.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"

namespace {

using ui::ControlKind;
using testsupport::FindControlWidget;
using testsupport::RunOnWorker;

enum : ui::Control { kLabel, kLine, kMulti, kButton, kList };

ui::WindowSpec SmallWindow() {
  ui::WindowSpec spec;
  spec.caption = "t";
  spec.outerWidth = 400;
  spec.outerHeight = 300;
  spec.controls = {
      {"label", ControlKind::Label, 0, 0, 100, 20, "start"},
      {"line", ControlKind::LineEdit, 0, 20, 100, 20, ""},
      {"multi", ControlKind::MultiEdit, 0, 40, 100, 60, "", false, true},
      {"button", ControlKind::Button, 0, 100, 60, 20, "go"},
      {"list", ControlKind::ReportList, 0, 120, 300, 100, ""},
  };
  spec.columns = {{"a", 40}, {"b", 40}, {"c", 40}, {"d", 40}};
  spec.menuTitle = "m";
  spec.menuItems = {"x"};
  return spec;
}

// Typing as an input method delivers it: key events that carry the text.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class UiOperations : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestApplication();
    ui::CreateMainWindow(SmallWindow());
  }
};

// Bytes a control must hand back exactly: double-byte characters, CR LF, a
// lead byte with no trail, bytes no code page maps, and a long run.
const std::vector<Text> kAwkwardTexts = {
    "",
    codepage::Ansi("中文 标题"),
    "line one\r\nline two\r\n",
    "\r\n\r\n",
    "tail lead byte \xB0",
    "\x80\xFF\xFE\x81\x30 & &&",
    std::string(1 << 20, 'x') + "\r\nend",
};

TEST_F(UiOperations, TextsRoundTripExactlyFromAWorker) {
  for (const Text& text : kAwkwardTexts) {
    Text label, line, multi, cell;
    ASSERT_TRUE(RunOnWorker([&] {
      ui::SetCaption(kLabel, text);
      label = ui::GetCaption(kLabel);
      ui::SetText(kLine, text);
      line = ui::GetText(kLine);
      ui::SetText(kMulti, text);
      multi = ui::GetText(kMulti);
      int row = ui::InsertRow(kList);
      ui::SetCell(kList, row, 1, text);
      cell = ui::GetCell(kList, row, 1);
    }));
    EXPECT_EQ(label, text);
    EXPECT_EQ(line, text);
    EXPECT_EQ(multi, text);
    EXPECT_EQ(cell, text);
  }
}

TEST_F(UiOperations, DisplayShowsTheCodePageTextAndTypingComesBackInIt) {
  ui::SetText(kLine, codepage::Ansi("种子"));
  auto* line = qobject_cast<QLineEdit*>(FindControlWidget("line"));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(), QString::fromUtf8("种子"));

  line->clear();
  Type(line, QString::fromUtf8("电影 abc"));
  EXPECT_EQ(ui::GetText(kLine), codepage::Ansi("电影 abc"));

  auto* multi = qobject_cast<QPlainTextEdit*>(FindControlWidget("multi"));
  ASSERT_NE(multi, nullptr);
  ui::SetText(kMulti, "a\r\nb");
  EXPECT_EQ(multi->toPlainText(), "a\nb");
  multi->moveCursor(QTextCursor::End);
  QTest::keyClick(multi, Qt::Key_Return);
  Type(multi, QString::fromUtf8("丙"));
  EXPECT_EQ(ui::GetText(kMulti), "a\r\nb\r\n" + codepage::Ansi("丙"));
  // What the program appends after the user typed goes after the typing.
  ui::AppendText(kMulti, "!");
  EXPECT_EQ(ui::GetText(kMulti), "a\r\nb\r\n" + codepage::Ansi("丙") + "!");
}

TEST_F(UiOperations, AppendGrowsByExactlyTheAppendedBytes) {
  // Megabytes of lines, one append each, the way the search parks results;
  // a box that re-converted its whole text on every append would take
  // minutes here.
  const Text line = codepage::Ansi("标题 ") + std::string(200, 'y') + "\r\n";
  const int lines = 5000;
  Text expected;
  ASSERT_TRUE(RunOnWorker([&] {
    for (int i = 0; i < 200; ++i) ui::AppendText(kMulti, line);
  }));
  for (int i = 200; i < lines; ++i) ui::AppendText(kMulti, line);
  for (int i = 0; i < lines; ++i) expected += line;
  EXPECT_EQ(ui::GetText(kMulti), expected);

  // A double-byte character split over two appends is still whole bytes.
  ui::SetText(kLine, "");
  const Text word = codepage::Ansi("种");
  ui::AppendText(kLine, word.substr(0, 1));
  ui::AppendText(kLine, word.substr(1));
  EXPECT_EQ(ui::GetText(kLine), word);
  // The display catches up with a burst of appends a moment later.
  auto* multi = qobject_cast<QPlainTextEdit*>(FindControlWidget("multi"));
  const QString shown = QString::fromStdU16String(codepage::AnsiToUtf16(expected)).remove(u'\r');
  EXPECT_TRUE(testsupport::WaitUntil([&] { return multi->toPlainText() == shown; }));
  EXPECT_EQ(multi->textCursor().position(), multi->document()->characterCount() - 1)
      << "the caret stays at the end";
}

TEST_F(UiOperations, RowsAndCellsOutOfRangeReadEmptyAndChangeNothing) {
  int first = -2, second = -2;
  ASSERT_TRUE(RunOnWorker([&] {
    first = ui::InsertRow(kList);
    second = ui::InsertRow(kList);
    ui::SetCell(kList, 0, 0, "1");
    ui::SetCell(kList, 1, 3, "magnet:?x");
  }));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);

  struct Case { int row, column; };
  for (Case c : {Case{2, 0}, Case{-1, 0}, Case{0, 4}, Case{0, -1}, Case{5, 3}, Case{1 << 30, 1 << 30}}) {
    ui::SetCell(kList, c.row, c.column, "junk");
    EXPECT_EQ(ui::GetCell(kList, c.row, c.column), "") << c.row << "," << c.column;
  }
  EXPECT_EQ(ui::RowCount(kList), 2);
  EXPECT_EQ(ui::GetCell(kList, 0, 0), "1");
  EXPECT_EQ(ui::GetCell(kList, 1, 3), "magnet:?x");
  EXPECT_EQ(ui::GetCell(kList, 0, 3), "");

  // Operations aimed at the wrong kind of control, or at none, do nothing.
  EXPECT_EQ(ui::InsertRow(kLabel), -1);
  EXPECT_EQ(ui::GetText(kList), "");
  EXPECT_EQ(ui::GetText(99), "");
  ui::SetText(-1, "x");
  EXPECT_EQ(ui::SelectedRow(kButton), -1);

  ui::DeleteAllRows(kList);
  EXPECT_EQ(ui::RowCount(kList), 0);
  EXPECT_EQ(ui::InsertRow(kList), 0) << "numbering starts again after a clear";
}

TEST_F(UiOperations, WorkersInterleaveWithoutALock) {
  // Two workers filling the list at once, as a search and a user's clear
  // may: every row they added keeps its own cells.
  const int perWorker = 150;
  std::atomic<int> finished{0};
  auto fill = [&](const Text& tag) {
    for (int i = 0; i < perWorker; ++i) {
      int row = ui::InsertRow(kList);
      for (int column = 0; column < 4; ++column) ui::SetCell(kList, row, column, tag);
    }
    ++finished;
  };
  std::thread a(fill, "a"), b(fill, "b");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return finished == 2; }));
  a.join();
  b.join();
  ASSERT_EQ(ui::RowCount(kList), 2 * perWorker);
  for (int row = 0; row < 2 * perWorker; ++row) {
    Text tag = ui::GetCell(kList, row, 0);
    ASSERT_TRUE(tag == "a" || tag == "b");
    for (int column = 1; column < 4; ++column) EXPECT_EQ(ui::GetCell(kList, row, column), tag);
  }
  // The list itself shows every row, soon after the last was added.
  auto* view = qobject_cast<QAbstractItemView*>(FindControlWidget("list"));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return view->model()->rowCount() == 2 * perWorker; }));
  EXPECT_EQ(view->model()->index(2 * perWorker - 1, 3).data().toString(),
            QString::fromStdString(ui::GetCell(kList, 2 * perWorker - 1, 3)));
}

TEST_F(UiOperations, ButtonsDisableAndClicksReachTheirHandler) {
  static std::atomic<int> clicks{0};
  clicks = 0;
  ui::OnClicked(kButton, [] { ++clicks; });
  ui::Click(kButton);
  ASSERT_TRUE(RunOnWorker([] { ui::SetDisabled(kButton, true); }));
  EXPECT_TRUE(ui::IsDisabled(kButton));
  ui::Click(kButton);
  ui::SetDisabled(kButton, false);
  EXPECT_FALSE(ui::IsDisabled(kButton));
  EXPECT_EQ(clicks, 1);
}

TEST_F(UiOperations, ShellOpenTakesWebAddressesOnly) {
  struct Case { Text given, opened; };
  const Case cases[] = {
      {"www.zendrel.example", "http://www.zendrel.example"},
      {"http://www.zendrel.example/a?b=1", "http://www.zendrel.example/a?b=1"},
      {"HTTPS://host.example", "HTTPS://host.example"},
      {"file:///etc/passwd", ""},
      {"javascript://x", ""},
      {"", ""},
  };
  std::vector<Text> seen;
  ui::SetShellOpenObserver([&](const Text& address) { seen.push_back(address); });
  for (const Case& c : cases) {
    EXPECT_EQ(ui::WebAddressUrl(c.given), c.opened) << c.given;
    seen.clear();
    ASSERT_TRUE(RunOnWorker([&] { ui::OpenWebAddress(c.given); }));
    EXPECT_EQ(seen, c.opened.empty() ? std::vector<Text>{} : std::vector<Text>{c.given});
  }
  ui::SetShellOpenObserver(nullptr);
}

TEST_F(UiOperations, ClipboardHoldsTheConvertedTextExactly) {
  const Text text = codepage::Ansi("magnet:?xt=urn:btih:ABC 中文");
  ASSERT_TRUE(RunOnWorker([&] { EXPECT_TRUE(ui::SetClipboardText(text)); }));
  EXPECT_EQ(ui::ClipboardText(), text);
}

// Closing the window ends the process at once, even with a worker waiting
// on the user-interface thread in the middle of a control operation.
void CloseWhileAWorkerWaits() {
  static std::atomic<int> operations{0};
  std::thread([] {
    for (;;) {
      ui::InsertRow(kList);
      ++operations;
    }
  }).detach();
  testsupport::WaitUntil([] { return operations > 50; });
  testsupport::MainWindowWidget()->close();
  std::fprintf(stderr, "window closed but the process went on\n");
  std::abort();
}

TEST_F(UiOperations, ClosingTheWindowEndsTheProcessWhileAWorkerWaits) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ui::ShowMainWindow();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EXIT(CloseWhileAWorkerWaits(), ::testing::ExitedWithCode(0), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
