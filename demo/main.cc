// zendrel-demo-site: the offline demo index on its own, until interrupted.
#include <csignal>
#include <cstdio>
#include <string>

#include "demo/demo_site.h"

namespace {

const char kUsage[] =
    "Usage: zendrel-demo-site [--port N] [--latency-ms MS]\n"
    "Serves the Zendrel demo index on 127.0.0.1 until interrupted.\n"
    "\n"
    "  --port N         listen on port N (default: a free port)\n"
    "  --latency-ms MS  wait MS milliseconds before every answer (0 to 60000)\n"
    "  --help           show this help\n";

bool ParseNumber(const std::string& text, int lowest, int highest, int& value) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return value >= lowest && value <= highest;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "zendrel-demo-site: %s\n\n%s", message.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  int latencyMs = 0;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    std::string value;
    const size_t equals = option.find('=');
    if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.erase(equals);
    } else if ((option == "--port" || option == "--latency-ms") && i + 1 < argc) {
      value = argv[++i];
    }
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (option == "--port") {
      if (!ParseNumber(value, 0, 65535, port))
        return UsageError("--port needs a port number from 0 to 65535");
    } else if (option == "--latency-ms") {
      if (!ParseNumber(value, 0, 60000, latencyMs))
        return UsageError("--latency-ms needs a number of milliseconds from 0 to 60000");
    } else {
      return UsageError("unknown argument: " + option);
    }
  }

  // Blocked before the site starts its threads, so that they inherit the
  // mask and the signal reaches the sigwait below.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  DemoSiteHandle site = StartDemoSite(port, latencyMs);
  if (!site) {
    std::fprintf(stderr, "zendrel-demo-site: cannot listen on 127.0.0.1:%d (in use?)\n", port);
    return 1;
  }
  std::printf("zendrel-demo-site: serving on %s\n", DemoSiteAddress(*site).c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  return 0;
}
