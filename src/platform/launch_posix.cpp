// Launching on Linux: the program is started directly with posix_spawnp (no shell, so the
// parameter text needs no quoting); it is one argument. The desktop's opener stands in for the
// Windows text editor.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/launch.h"

extern char** environ;

namespace platform {
namespace {

void WaitFor(pid_t child) {
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

int LaunchFile(const char* file, const char* parameters, bool wait, int /*show*/,
               const char* /*verb*/) {
  if (file == nullptr || *file == '\0') {
    return wait ? -1 : 0;
  }
  std::string program = file;
  if (program == "notepad.exe") {
    program = "xdg-open";
  }
  std::vector<char*> argv{program.data()};
  std::string parameter = parameters != nullptr ? parameters : "";
  if (!parameter.empty()) {
    argv.push_back(parameter.data());
  }
  argv.push_back(nullptr);

  pid_t child = 0;
  if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
    return wait ? -1 : 0;
  }
  if (wait) {
    WaitFor(child);
  } else {
    // Collects the child's exit status when it ends, so no finished process lingers.
    std::thread(WaitFor, child).detach();
  }
  return 0;
}

}  // namespace platform
