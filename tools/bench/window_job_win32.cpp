// Times one organize job run from the window: starts a copy of Tallowick.exe with the two
// folders in its Config.ini, presses "整理" with the real pointer and waits for the summary.
// Meanwhile it asks the window for its message text every 10 ms (the longest wait for an
// answer shows whether the window stays responsive) and drags the window once.
//   tallowick-window-job.exe SOURCE TARGET [--move]
// Prints: seconds, longest answer wait in ms, whether the drag moved the window, the summary.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "window_driver.h"

using namespace windriver;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SOURCE TARGET [--move]\n", argv[0]);
    return 2;
  }
  const bool move = argc > 3 && std::strcmp(argv[3], "--move") == 0;
  ProgramUnderTest program(std::string("[Brindlemark]\r\nIsDeleteSrc=") + (move ? "1" : "0") +
                           "\r\nPathSrc=" + argv[1] + "\r\nPathTar=" + argv[2] + "\r\n");
  if (!program.Start()) {
    std::fprintf(stderr, "the window did not open\n");
    return 1;
  }
  HWND message = program.Control(1018);
  const RECT organize = ScreenRectOf(program.Control(1005));
  const auto start = Clock::now();  // the click's own time counts against the window
  RunLinux("/usr/bin/xdotool mousemove --sync " +
           std::to_string((organize.left + organize.right) / 2) + " " +
           std::to_string((organize.top + organize.bottom) / 2) + " click 1");

  double longestWaitMs = 0;
  bool dragged = false;
  bool moved = false;
  std::string text;
  while (text.find("整理文件") == std::string::npos) {
    const auto asked = Clock::now();
    text = Text(message);
    const double waitMs = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
    longestWaitMs = waitMs > longestWaitMs ? waitMs : longestWaitMs;
    if (!dragged && Clock::now() - start > std::chrono::seconds(1)) {
      dragged = true;
      const RECT before = ScreenRectOf(program.Main());
      Drag({before.left + 300, before.top + 60}, {before.left + 260, before.top + 90});
      const RECT after = ScreenRectOf(program.Main());
      moved = after.left != before.left || after.top != before.top;
    }
    Sleep(10);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  for (char& c : text)
    c = c == '\r' || c == '\n' ? ' ' : c;
  std::printf("%.2f %.0f %s %s\n", seconds, longestWaitMs,
              dragged ? (moved ? "moved" : "stuck") : "finished-before-drag", text.c_str());
  PostMessageW(program.Main(), WM_CLOSE, 0, 0);
  program.WaitForExit();
  return 0;
}
