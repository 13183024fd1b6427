#include "fault_support_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>
#include <thread>

#include "jpeg_builder.h"
#include "test_files.h"

namespace faulttest {

std::string Pattern(const std::string& name, std::size_t size) {
  std::uint64_t state = 14695981039346656037ull;
  for (const char c : name) {
    state = (state ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  // Eight bytes per step keeps the sanitizer build's 160 MB files quick to make.
  std::string bytes(size + 8, '\0');
  for (std::size_t i = 0; i < size; i += 8) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    std::memcpy(&bytes[i], &state, 8);
  }
  bytes.resize(size);
  return bytes;
}

Snapshot FillSource(const std::string& folder,
                    const std::vector<std::pair<std::string, std::size_t>>& files) {
  Snapshot written;
  int day = 1;
  for (const auto& [name, size] : files) {
    std::string bytes;
    if (name.ends_with(".jpg")) {
      const std::string date =
          "2012:05:" + std::string(day < 10 ? "0" : "") + std::to_string(day) + " 10:00:00";
      ++day;
      const jpegbuilder::Bytes photo =
          jpegbuilder::PhotoWithDate(date, jpegbuilder::ByteOrder::kLittle, size);
      bytes.assign(photo.begin(), photo.end());
    } else {
      bytes = Pattern(name, size);
    }
    EXPECT_TRUE(testfiles::WriteText(folder + name, bytes)) << name;
    written[name] = bytes;
  }
  return written;
}

namespace {

std::string BaseName(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

Child StartCli(const std::vector<std::string>& args, const std::string& outputFile,
               long fileSizeLimit) {
  std::vector<std::string> all = {TALLOWICK_CLI_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) {
    argv.push_back(arg.data());
  }
  argv.push_back(nullptr);
  Child child{fork(), outputFile};
  if (child.pid == 0) {
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    if (fileSizeLimit > 0) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  EXPECT_GT(child.pid, 0) << std::strerror(errno);
  return child;
}

int WaitFor(const Child& child) {
  int status = 0;
  while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

bool WaitUntilOpen(const Child& child, const std::string& path) {
  const std::string fds = "/proc/" + std::to_string(child.pid) + "/fd/";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(child.pid, &status, WNOHANG) != 0) {
      return false;  // ended (and reaped: the caller's WaitFor then fails)
    }
    for (const std::string& fd : testfiles::ListFiles(fds)) {
      char target[4096];
      const ssize_t n = readlink((fds + fd).c_str(), target, sizeof target - 1);
      if (n > 0 && std::string(target, n) == path) {
        return true;
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

bool SummaryCounts(const std::string& output, int* files, int* failures) {
  const std::size_t at = output.rfind("整理文件 ");
  return at != std::string::npos &&
         std::sscanf(output.c_str() + at, "整理文件 %d 个, 失败 %d 个", files, failures) == 2;
}

std::vector<std::string> CheckNothingLost(const Snapshot& sources, const std::string& source,
                                          const std::string& target) {
  std::vector<std::string> placed;
  for (const std::string& file : testfiles::ListFiles(target)) {
    const std::string name = BaseName(file);
    const auto original = sources.find(name);
    if (original == sources.end()) {
      ADD_FAILURE() << "a file that is no copy of a source in the target: " << file;
      continue;
    }
    EXPECT_TRUE(testfiles::ReadAll(target + file) == original->second)
        << file << " is not a complete copy of its source";
    placed.push_back(name);
  }
  for (const auto& [name, bytes] : sources) {
    if (testfiles::Exists(source + name)) {
      EXPECT_TRUE(testfiles::ReadAll(source + name) == bytes) << "source changed: " << name;
    } else {
      EXPECT_NE(std::find(placed.begin(), placed.end(), name), placed.end())
          << "source gone without a complete copy: " << name;
    }
  }
  return placed;
}

SmallFileSystem::SmallFileSystem(const std::string& folder, long bytes) : folder_(folder) {
  testfiles::MakeFolders(folder);
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
  if (!mounted_) {
    error_ = std::strerror(errno);
  }
}

SmallFileSystem::~SmallFileSystem() {
  if (mounted_) {
    umount2(folder_.c_str(), MNT_DETACH);
  }
}

bool SmallFileSystem::Resize(long bytes) {
  const std::string options = "size=" + std::to_string(bytes);
  return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_NOSUID | MS_NODEV,
               options.c_str()) == 0;
}

}  // namespace faulttest
