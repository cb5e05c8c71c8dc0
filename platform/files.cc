#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>

namespace files {
namespace {

std::mutex overrideMutex;
std::string directoryOverride;

std::string WithoutTrailingSlash(std::string directory) {
  while (!directory.empty() && directory.back() == '/') directory.pop_back();
  return directory;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A name of our own in the target's directory: the rename is then atomic,
// and concurrent writers of the same target never share a temporary file.
int CreateTemporary(const std::string& directory, std::string* name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    *name = directory + "/.zendrel-" + std::to_string(::getpid()) + "-" +
            std::to_string(counter++) + ".part";
    int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

std::string ProgramDirectory() {
  {
    std::lock_guard<std::mutex> lock(overrideMutex);
    if (!directoryOverride.empty()) return directoryOverride;
  }
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithoutTrailingSlash(std::filesystem::current_path(error).string());
  return WithoutTrailingSlash(program.parent_path().string());
}

void SetProgramDirectoryForTesting(const std::string& directory) {
  std::lock_guard<std::mutex> lock(overrideMutex);
  directoryOverride = directory.empty() ? directory : WithoutTrailingSlash(directory);
  if (!directory.empty() && directoryOverride.empty()) directoryOverride = "/";
}

bool WriteFileAtomically(const std::string& path, const Bytes& bytes) {
  std::string temporary;
  int fd = CreateTemporary(DirectoryOf(path), &temporary);
  if (fd < 0) return false;
  // The data reaches the disk before the name does, so a crash cannot leave
  // a complete-looking name over missing contents.
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace files
