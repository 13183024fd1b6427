// The real Tallowick.exe under Wine and Xvfb, driven with the pointer and keyboard and read
// back from this process.
#include <gtest/gtest.h>

#include <string>

#include "jpeg_builder.h"
#include "test_files.h"
#include "window_driver.h"

using namespace windriver;

namespace {

std::string Config(const std::string& src, const std::string& tar, int deleteSrc = 0) {
  return "[Brindlemark]\r\nIsDeleteSrc=" + std::to_string(deleteSrc) + "\r\nPathSrc=" + src +
         "\r\nPathTar=" + tar + "\r\n";
}

POINT CentreOf(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks a control of the main window where a user would.
void Press(const ProgramUnderTest& program, int id) {
  ClickCentre(program.Control(id));
}

// Presses organize and returns the text of the "提示" box it shows, closing the box.
std::string RefusalOfOrganize(ProgramUnderTest& program) {
  Press(program, 1005);
  HWND box = program.WaitForMessageBox("提示");
  if (!box)
    return "(no box)";
  std::string text = ProgramUnderTest::MessageBoxText(box);
  Key("Return");
  WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(program.Main()); });
  // The next press is a new click, not the second half of a double-click. The pointer stays
  // over the window: without a window manager the keyboard goes where the pointer is.
  const RECT window = ScreenRectOf(program.Main());
  RunLinux("/usr/bin/xdotool mousemove " + std::to_string(window.left + 300) + " " +
           std::to_string(window.top + 60));
  Sleep(GetDoubleClickTime() + 100);
  return text;
}

std::string Summary(int files, int failed) {
  return "\r\n\r\n整理文件 " + std::to_string(files) + " 个, 失败 " + std::to_string(failed) +
         " 个";
}

// Waits until at least `least` pixels of the window show the colour (it may still be painting).
int PixelsOnceDrawn(HWND window, COLORREF colour, int least) {
  int count = 0;
  WaitFor([&] { return (count = CountPixels(ScreenRectOf(window), colour, 40)) >= least; }, 3000);
  return count;
}

bool IsSummary(const std::string& text) {
  return text.find("整理文件") != std::string::npos;
}

}  // namespace

TEST(MainWindow, ControlsTakeTheLayoutRectanglesAndColours) {
  // Folder texts as saved by an earlier run (they need not exist to be shown).
  const std::string src = "D:\\照片相册\\家庭旅行\\";
  const std::string tar = "D:\\整理结果\\按日期归档\\";
  ProgramUnderTest program(Config(src, tar, 1));
  ASSERT_TRUE(program.Start());

  RECT window = ScreenRectOf(program.Main());
  EXPECT_EQ(622, window.right - window.left);
  EXPECT_EQ(416, window.bottom - window.top);
  struct Row {
    int id;
    RECT rect;  // left, top, right, bottom in the window's client area
  };
  const Row rows[] = {
      {1009, {582, 2, 620, 36}},    {1010, {544, 2, 582, 36}},    {1011, {512, 5, 528, 21}},
      {1012, {494, 5, 510, 21}},    {1001, {87, 91, 242, 143}},   {1019, {252, 91, 563, 143}},
      {1003, {87, 183, 242, 235}},  {1020, {252, 183, 563, 235}}, {1005, {87, 274, 242, 326}},
      {1018, {252, 274, 563, 378}}, {1007, {573, 286, 597, 310}}, {1006, {93, 391, 293, 409}},
      {1013, {261, 396, 661, 414}},
  };
  for (const Row& row : rows) {
    RECT r = ClientRectOf(program.Control(row.id));
    EXPECT_TRUE(EqualRect(&r, &row.rect))
        << row.id << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_FALSE(IsWindowVisible(program.Control(1007)));
  EXPECT_FALSE(IsWindowVisible(program.Control(1004)));
  EXPECT_EQ(src, Text(program.Control(1019)));
  EXPECT_EQ(tar, Text(program.Control(1020)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(program.Control(1006), BM_GETCHECK, 0, 0));

  // Texts in their colours over the light skin: the paths and the check box in teal (a thin
  // face with smoothed edges seldom reaches the full colour, so any clearly teal pixel counts),
  // the maker line white on its dark band.
  auto teal = [](int r, int g, int b) { return r < 170 && g > r + 30 && b > r + 45; };
  for (int id : {1019, 1020, 1006}) {
    int count = 0;
    WaitFor(
        [&] { return (count = CountPixelsWhere(ScreenRectOf(program.Control(id)), teal)) >= 20; },
        3000);
    EXPECT_GE(count, 20) << id;
  }
  EXPECT_GE(PixelsOnceDrawn(program.Control(1013), RGB(255, 255, 255), 20), 20);
  Screenshot("main-window", program.Main());
}

TEST(MainWindow, DragsByItsBodyAndStaticsMinimisesAndRestores) {
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start());
  for (int id : {0, 1018, 1019}) {
    RECT before = ScreenRectOf(program.Main());
    POINT from = id ? CentreOf(ScreenRectOf(program.Control(id)))
                    : POINT{before.left + 300, before.top + 60};
    Drag(from, {from.x - 40, from.y + 30});
    RECT after = ScreenRectOf(program.Main());
    EXPECT_EQ(before.left - 40, after.left) << id;
    EXPECT_EQ(before.top + 30, after.top) << id;
  }

  RECT placed = ScreenRectOf(program.Main());
  Press(program, 1010);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(program.Main()) != FALSE; }));
  PostMessageW(program.Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(program.Main()); }));
  RECT restored = ScreenRectOf(program.Main());
  EXPECT_TRUE(EqualRect(&placed, &restored));
}

TEST(MainWindow, OrganizeRefusesEachFailingStartCheck) {
  testfiles::TempFolder folders;
  const std::string photos = folders / "Photos\\";
  testfiles::MakeFolders(photos);
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start());

  struct Case {
    std::string src, tar, text;
  };
  const Case cases[] = {
      {photos, "", "请先选择目录."},
      {photos, folders / "photos\\", "照片目录和输出目录不能是同一个目录."},
      {photos, photos + "sorted\\", "照片目录和输出目录不能在是同一个目录内."},
      {folders / "gone\\", folders / "missing\\", "目录不存在:" + folders / "missing\\"},
      {folders / "gone\\", photos, "目录不存在:" + folders / "gone\\"},
  };
  for (const Case& c : cases) {
    // The statics are set as the folder buttons would set them.
    SendMessageTimeoutA(program.Control(1019), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(c.src.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    SendMessageTimeoutA(program.Control(1020), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(c.tar.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_EQ(c.text, RefusalOfOrganize(program)) << c.src << " -> " << c.tar;
  }
  EXPECT_FALSE(IsWindowVisible(program.Control(1007)));
}

TEST(MainWindow, RunsAJobShowsTheSummaryAndOpensTheFailures) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  const std::string tar = folders / "整理\\";
  // Two photos of one day under the same name: the second cannot be placed.
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2012:05:17 10:00:00");
  testfiles::MakeFolders(src + "a");
  testfiles::MakeFolders(src + "b");
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "a\\IMG_0001.jpg", photo));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "b\\IMG_0001.jpg", photo));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "b\\IMG_0002.jpg", photo));
  ASSERT_TRUE(testfiles::WriteText(src + "notes.txt", "not a photo"));
  testfiles::MakeFolders(tar);
  ProgramUnderTest program(Config(src, tar));
  ASSERT_TRUE(program.Start());

  Press(program, 1005);
  ASSERT_TRUE(WaitFor([&] { return IsSummary(Text(program.Control(1018))); }));
  EXPECT_EQ(Summary(3, 1), Text(program.Control(1018)));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Control(1005)) != FALSE; }));
  EXPECT_FALSE(IsWindowVisible(program.Control(1007)));
  const std::vector<std::string> placed = {"2012年/2012-05-17/IMG_0001.jpg",
                                           "2012年/2012-05-17/IMG_0002.jpg"};
  EXPECT_EQ(placed, testfiles::ListFiles(tar));

  // The failure list and the summary, opened in the text editor.
  HWND editor = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (editor = FindTopLevelByCaption("errorFile")) != nullptr; }));
  const std::string failures = testfiles::ReadAll(program.Folder() + "errorFile.txt");
  // One failure line naming the clashing photo, then the summary after two empty lines.
  const size_t lineEnd = failures.find("\r\n");
  ASSERT_NE(std::string::npos, lineEnd) << failures;
  EXPECT_NE(std::string::npos, failures.substr(0, lineEnd).find("img_0001.jpg")) << failures;
  EXPECT_EQ("\r\n" + Summary(3, 1), failures.substr(lineEnd)) << failures;
  // After its UTF-8 byte-order mark the editor reads the file as it is, summary line and all.
  const HWND page = editor ? FindWindowExW(editor, nullptr, L"Edit", nullptr) : nullptr;
  EXPECT_TRUE(WaitFor([&] { return Text(page) == failures.substr(3); })) << Text(page);
  Screenshot("failure-file-in-editor");
  if (editor) {
    PostMessageW(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  }
  Screenshot("finished-job", program.Main());
}

TEST(MainWindow, StopHidesAtOnceAndTheJobEndsWithItsSummary) {
  testfiles::TempFolder folders;
  const std::string src = folders / "src\\";
  const std::string tar = folders / "tar\\";
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2015:01:02 08:00:00");
  const int total = 8000;
  for (int i = 0; i < total; ++i) {
    if (i % 100 == 0)
      testfiles::MakeFolders(src + std::to_string(i / 100));
    jpegbuilder::WriteBytes(src + std::to_string(i / 100) + "\\" + std::to_string(i) + ".jpg",
                            photo);
  }
  testfiles::MakeFolders(tar);
  ProgramUnderTest program(Config(src, tar));
  ASSERT_TRUE(program.Start());

  Press(program, 1005);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(program.Control(1007)) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(program.Control(1005)));
  // Messages go by while the walk runs.
  EXPECT_TRUE(
      WaitFor([&] { return Text(program.Control(1018)).find(".jpg") != std::string::npos; }));
  Press(program, 1007);
  EXPECT_FALSE(IsWindowVisible(program.Control(1007)));
  ASSERT_TRUE(WaitFor([&] { return IsSummary(Text(program.Control(1018))); }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Control(1005)) != FALSE; }));
  const size_t placed = testfiles::ListFiles(tar).size();
  EXPECT_GT(placed, 0u);
  EXPECT_LT(placed, static_cast<size_t>(total));
  EXPECT_EQ(Summary(static_cast<int>(placed), 0), Text(program.Control(1018)));
}

TEST(MainWindow, AboutBoxOpensByButtonAndSystemMenuAnyNumberOfTimes) {
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start());
  for (int round = 0; round < 2; ++round) {
    for (bool byButton : {true, false}) {
      if (byButton)
        Press(program, 1012);
      else  // the system-menu item's command
        PostMessageW(program.Main(), WM_SYSCOMMAND, 0x0010, 0);
      HWND about = nullptr;
      ASSERT_TRUE(WaitFor([&] {
        return (about = FindTopLevel(program.ProcessId(), "#32770", nullptr, program.Main()));
      }));
      RECT r = ScreenRectOf(about);
      EXPECT_EQ(360, r.right - r.left);
      EXPECT_EQ(200, r.bottom - r.top);
      RECT ok = ClientRectOf(GetDlgItem(about, IDOK));
      const RECT expected{339, 5, 355, 21};
      EXPECT_TRUE(EqualRect(&ok, &expected));
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(about, 1017)));
      EXPECT_FALSE(IsWindowEnabled(program.Main()));
      // Links bound afresh: each draws in its near-white colour.
      for (int id : {1014, 1015, 1018})
        EXPECT_GE(PixelsOnceDrawn(GetDlgItem(about, id), RGB(245, 245, 245), 10), 10)
            << id << " round " << round;
      if (round == 0 && byButton)
        Screenshot("about-box", program.Main());
      if (byButton)
        ClickCentre(GetDlgItem(about, IDOK));
      else
        Key("Escape");
      EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
      EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Main()) != FALSE; }));
    }
  }
}

TEST(MainWindow, EachWayOfClosingSavesTheWindowsValues) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  struct Way {
    const char* name;
    void (*close)(const ProgramUnderTest&);
  };
  const Way ways[] = {
      {"close button", [](const ProgramUnderTest& p) { Press(p, 1009); }},
      {"Escape", [](const ProgramUnderTest&) { Key("Escape"); }},
      {"system menu Close",
       [](const ProgramUnderTest& p) { PostMessageW(p.Main(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4", [](const ProgramUnderTest&) { Key("alt+F4"); }},
  };
  for (const Way& way : ways) {
    ProgramUnderTest program(Config(src, "", 0));
    ASSERT_TRUE(program.Start());
    // A tick reaches the job state with the next press of organize (refused: no target).
    Press(program, 1006);
    EXPECT_EQ("请先选择目录.", RefusalOfOrganize(program));
    way.close(program);
    EXPECT_EQ(0, program.WaitForExit()) << way.name;
    const std::string ini = testfiles::ReadAll(program.Folder() + "Config.ini");
    EXPECT_NE(std::string::npos, ini.find("IsDeleteSrc=1")) << way.name << "\n" << ini;
    EXPECT_NE(std::string::npos, ini.find("PathSrc=" + src)) << way.name << "\n" << ini;
  }
}
