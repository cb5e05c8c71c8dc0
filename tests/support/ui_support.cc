#include "tests/support/ui_support.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>

#include "app/main_window.h"
#include "platform/ui.h"
#include "tests/support/support.h"

namespace testsupport {

void StartTestApplication() {
  static int argc = 1;
  static char name[] = "zendrel-test";
  static char* argv[] = {name, nullptr};
  ui::InitApplication(argc, argv);
}

void StartTestWindow(bool shown) {
  StartTestApplication();
  ui::SetShellOpenObserver([](const Text&) {});
  CreateAppWindow();
  if (shown) ui::ShowMainWindow();
}

QWidget* MainWindowWidget() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(widget)) return widget;
  return nullptr;
}

QWidget* FindControlWidget(const char* name) {
  QWidget* window = MainWindowWidget();
  return window ? window->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
}

bool RunOnWorker(const std::function<void()>& work) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([work, done] {
    work();
    *done = true;
  });
  bool finished = WaitUntil([&] { return done->load(); }, std::chrono::seconds(30));
  if (finished)
    worker.join();
  else
    worker.detach();
  return finished;
}

}  // namespace testsupport
