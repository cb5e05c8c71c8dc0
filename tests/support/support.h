#pragma once
// Helpers shared by the tests.
#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// Runs the calling thread's event loop until `done` holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A directory under the system temp dir, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace testsupport
