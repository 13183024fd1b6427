// Tallowick.exe with a recorder behind its taskbar seam: each call becomes a line of
// taskbar.txt beside the program ("indeterminate", "normal 2/3", "error 3/3", "none", "flash"),
// and its clock moves ten seconds at each reading, so every job counts as a long one.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/job_taskbar.h"
#include "app/sort_app.h"
#include "organize/app_config.h"

namespace {

class Recorder : public TaskbarSeam {
 public:
  void Show(HWND, TaskbarState state, int done, int total) override {
    static const char* const kNames[] = {"none", "indeterminate", "normal", "error"};
    std::string line = kNames[static_cast<int>(state)];
    if (state == TaskbarState::kNormal || state == TaskbarState::kError)
      line.append(" ").append(std::to_string(done)).append("/").append(std::to_string(total));
    Write(line);
  }
  void Flash(HWND) override { Write("flash"); }
  ULONGLONG Now() override { return m_now += 10000; }

 private:
  static void Write(const std::string& line) {
    if (FILE* file = std::fopen((theConfig.PathApp + "taskbar.txt").c_str(), "ab")) {
      std::fprintf(file, "%s\n", line.c_str());
      std::fclose(file);
    }
  }
  ULONGLONG m_now = 0;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  static Recorder recorder;
  TaskbarSeam::s_seam = &recorder;
  return RunTallowick();
}
