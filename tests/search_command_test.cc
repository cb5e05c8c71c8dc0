// The built program from a terminal, end to end: "zendrel search" against
// the demo index, as a separate process, its output and exit status.
#include "app/search_command.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/catalogue.h"
#include "demo/demo_site.h"
#include "demo/http_server.h"
#include "demo/result_pages.h"
#include "net/torrent_check.h"
#include "net/torrent_file_name.h"
#include "platform/codepage.h"
#include "tests/support/support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status = -1;  // exit status; -1 when killed or not started
  std::string out, err;
};

// The build directory: the test programs live in its tests/ folder.
std::string BuildDir() {
  if (const char* dir = std::getenv("ZENDREL_BUILD_DIR")) return dir;
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).parent_path().parent_path().string();
}

// Runs `program` with `args`, both output streams captured; killed after 60 s.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
  ProgramRun run;
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  for (int open = 2; spawned == 0 && open > 0;) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char block[65536];
      ssize_t n = read(fds[i].fd, block, sizeof block);
      if (n > 0) {
        sinks[i]->append(block, n);
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(outPipe[0]);
  close(errPipe[0]);
  int wstatus = 0;
  if (spawned == 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
    run.status = WEXITSTATUS(wstatus);
  return run;
}

ProgramRun Zendrel(const std::vector<std::string>& args) {
  return RunProgram(BuildDir() + "/zendrel", args);
}

// The lines the program prints for catalogue entries, numbered from 1.
std::string ExpectedRows(const std::vector<const CatalogueEntry*>& entries) {
  std::string rows;
  int number = 0;
  for (const CatalogueEntry* e : entries)
    rows += std::to_string(++number) + "\t" + e->title + "\t" + e->size +
            "\tmagnet:?xt=urn:btih:" + e->btih + "&dn=" + PercentEncode(e->title) + "\n";
  return rows;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class SearchCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    site = StartDemoSite();
    ASSERT_TRUE(site);
    address = DemoSiteAddress(*site);
  }

  std::vector<std::string> Against(std::vector<std::string> args) {
    for (const char* option : {"--search-site", "--torrent-service"}) {
      args.push_back(option);
      args.push_back(address);
    }
    return args;
  }

  DemoSiteHandle site;
  std::string address;
};

TEST_F(SearchCommand, PrintsEveryRowAndTheStatus) {
  // One page, several pages, and the whole catalogue over 17 pages.
  for (const std::string keyword : {"海洋 纪录片", "1080p", ""}) {
    SCOPED_TRACE(keyword);
    const auto entries = MatchingEntries(keyword);
    ProgramRun run = Zendrel(Against({"search", keyword}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ExpectedRows(entries));
    EXPECT_NE(run.err.find("搜索到与关键词  " + keyword + "  相关的BT种子 " +
                           std::to_string(entries.size()) + "个\n"),
              std::string::npos)
        << run.err;
  }
  EXPECT_GT(MatchingEntries("1080p").size(), 4u * kRowsPerPage);
}

TEST_F(SearchCommand, DemoOptionBringsItsOwnIndex) {
  ProgramRun run = Zendrel({"search", "星空", "--demo"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, ExpectedRows(MatchingEntries("星空")));
}

TEST_F(SearchCommand, DownloadWritesAVerifiedFileNextToTheProgram) {
  testsupport::TempDir dir;
  const fs::path program = fs::path(dir.path()) / "zendrel";
  fs::copy_file(BuildDir() + "/zendrel", program);
  const auto entries = MatchingEntries("qq");
  ASSERT_GE(entries.size(), 3u);
  const CatalogueEntry& wanted = *entries[2];

  ProgramRun run = RunProgram(program.string(), Against({"search", "qq", "--download", "3"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("下载完成\n"), std::string::npos) << run.err;
  const Text magnet = "magnet:?xt=urn:btih:" + wanted.btih + "&dn=" + PercentEncode(wanted.title);
  const fs::path saved = fs::path(dir.path()) / TorrentFileName(codepage::Ansi(wanted.title), magnet);
  ASSERT_TRUE(fs::exists(saved)) << saved;
  EXPECT_TRUE(IsTorrentFor(ReadFile(saved), magnet));
  EXPECT_EQ(ReadFile(saved), wanted.torrent);
}

TEST_F(SearchCommand, FailuresEndWithStatusOne) {
  // A service that answers every magnet with the same, other torrent.
  const Bytes other = Catalogue()[0].torrent;
  HttpServerHandle wrongService = StartHttpServer(0, [&](const HttpRequest&) {
    HttpResponse response;
    response.body = other;
    return response;
  });
  ASSERT_TRUE(wrongService);
  const std::string wrong = "http://127.0.0.1:" + std::to_string(HttpServerPort(*wrongService));
  testsupport::TempDir dir;
  const fs::path program = fs::path(dir.path()) / "zendrel";
  fs::copy_file(BuildDir() + "/zendrel", program);

  ProgramRun refused = RunProgram(program.string(), {"search", "wild", "--search-site", address,
                                              "--torrent-service", wrong, "--download", "2"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("下载失败\n"), std::string::npos) << refused.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "nothing saved beside the program";

  ProgramRun noSuchRow = Zendrel(Against({"search", "海洋 纪录片", "--download", "999"}));
  EXPECT_EQ(noSuchRow.status, 1);
  EXPECT_NE(noSuchRow.err.find("no row 999"), std::string::npos) << noSuchRow.err;

  const int port = DemoSitePort(*site);
  site.reset();  // nobody listens there any more
  ProgramRun unreachable = Zendrel({"search", "wild", "--search-site",
                             "http://127.0.0.1:" + std::to_string(port), "--download", "1"});
  EXPECT_EQ(unreachable.status, 1);
  EXPECT_EQ(unreachable.out, "");
  EXPECT_NE(unreachable.err.find("搜索失败"), std::string::npos) << unreachable.err;
}

TEST(SearchCommandUsage, ErrorsHelpAndVersion) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string outHas, errHas;
  } cases[] = {
      {{"search"}, 2, "", "KEYWORD"},
      {{"--colour"}, 2, "", "unknown argument: --colour"},
      {{"search", "a", "--download", "x"}, 2, "", "usage:"},
      {{"search", "a", "--search-site", "ftp://x"}, 2, "", "not an http address"},
      {{"--help"}, 0, "search KEYWORD", ""},
      {{"--version"}, 0, "zendrel " ZENDREL_VERSION "\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    ProgramRun run = Zendrel(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.out.find(c.outHas), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    if (c.status == 2) {
      EXPECT_EQ(run.out, "");
    }
  }
}

}  // namespace
