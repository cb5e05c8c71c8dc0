#include "tests/support/support.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>
#include <filesystem>

namespace testsupport {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (QCoreApplication::instance())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zendrel-test-XXXXXX").string();
  path_ = mkdtemp(pattern.data()) ? pattern : std::string();
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace testsupport
