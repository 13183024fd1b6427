// The real Tallowick.exe under Wine and Xvfb, driven with the pointer and keyboard and read
// back from this process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "jpeg_builder.h"
#include "test_files.h"
#include "window_driver.h"

using namespace windriver;

namespace {

std::string Config(const std::string& src, const std::string& tar, int deleteSrc = 0) {
  return "[Brindlemark]\r\nIsDeleteSrc=" + std::to_string(deleteSrc) + "\r\nPathSrc=" + src +
         "\r\nPathTar=" + tar + "\r\n";
}

// Clicks a control of the main window where a user would.
void Press(const ProgramUnderTest& program, int id) {
  ClickCentre(program.Control(id));
}

std::string Summary(int files, int failed) {
  return "\r\n\r\n整理文件 " + std::to_string(files) + " 个, 失败 " + std::to_string(failed) +
         " 个";
}

// The job's summary, once the window shows it; empty until then.
std::string ShownSummary(const ProgramUnderTest& program) {
  std::string text;
  WaitFor(
      [&] { return (text = Text(program.Control(1018))).find("整理文件") != std::string::npos; });
  return text;
}

// Whether the window shows at least `least` pixels that pass the test (it may still be painting).
bool Shows(HWND window, bool (*test)(int, int, int), int least = 20) {
  return WaitFor([&] { return CountPixelsWhere(ScreenRectOf(window), test) >= least; }, 3000);
}

bool IsWhite(int r, int g, int b) {
  return r > 200 && g > 200 && b > 200;
}

// The main window's controls at 96 DPI: left, top, right, bottom in its client area.
const struct {
  int id;
  RECT rect;
} kLayout[] = {
    {1009, {582, 2, 620, 36}},   {1010, {544, 2, 582, 36}},    {1011, {512, 5, 528, 21}},
    {1012, {494, 5, 510, 21}},   {1001, {87, 91, 242, 143}},   {1019, {252, 91, 563, 143}},
    {1003, {87, 183, 242, 235}}, {1020, {252, 183, 563, 235}}, {1021, {573, 196, 617, 222}},
    {1005, {87, 274, 242, 326}}, {1018, {252, 274, 563, 378}}, {1007, {573, 286, 597, 310}},
    {1006, {93, 391, 293, 409}}, {1013, {261, 396, 661, 414}},
};

// `r` at `dpi` as the window scales its layout: corner, width and height each from 96 DPI.
RECT AtDpi(const RECT& r, int dpi) {
  const LONG left = MulDiv(r.left, dpi, 96), top = MulDiv(r.top, dpi, 96);
  return {left, top, left + MulDiv(r.right - r.left, dpi, 96),
          top + MulDiv(r.bottom - r.top, dpi, 96)};
}

// Whether each main window control lies where the layout puts it at `dpi`.
void ExpectLayoutAt(const ProgramUnderTest& program, int dpi) {
  for (const auto& row : kLayout) {
    const RECT r = ClientRectOf(program.Control(row.id)), expected = AtDpi(row.rect, dpi);
    EXPECT_TRUE(EqualRect(&r, &expected)) << row.id << " at " << dpi << ": " << r.left << ","
                                          << r.top << "," << r.right << "," << r.bottom;
  }
}

// The rectangles of a dialog's controls in its client area, then the dialog's own size.
// A drop-down list's height follows its font alone: its rectangle is its top edge.
std::vector<RECT> ControlRects(HWND dialog) {
  std::vector<RECT> rects;
  for (HWND control = GetWindow(dialog, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    RECT r = ClientRectOf(control);
    char kind[16] = "";
    GetClassNameA(control, kind, sizeof kind);
    if (lstrcmpiA(kind, "ComboBox") == 0)
      r.bottom = r.top;
    rects.push_back(r);
  }
  const RECT window = ScreenRectOf(dialog);
  rects.push_back({0, 0, window.right - window.left, window.bottom - window.top});
  return rects;
}

// Whether `rects` are `base` (at 96 DPI) at `dpi`, give or take the pixels that rounding moves
// them (whatever the dialog units of the larger font), and inside their dialog.
void ExpectScaled(const std::vector<RECT>& base, const std::vector<RECT>& rects, int dpi,
                  const std::string& what) {
  ASSERT_EQ(base.size(), rects.size()) << what;
  const RECT& window = rects.back();
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT& r = rects[i];
    const RECT want = AtDpi(base[i], dpi);
    const LONG slack = 3;
    EXPECT_TRUE(std::abs(r.left - want.left) <= slack && std::abs(r.top - want.top) <= slack &&
                std::abs(r.right - want.right) <= slack &&
                std::abs(r.bottom - want.bottom) <= slack && r.left >= 0 && r.top >= 0 &&
                r.right <= window.right && r.bottom <= window.bottom)
        << what << " control " << i << ": " << r.left << "," << r.top << "," << r.right << ","
        << r.bottom << " for " << want.left << "," << want.top << "," << want.right << ","
        << want.bottom;
  }
}

POINT CentreOf(HWND control) {
  const RECT r = ClientRectOf(control);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

TEST(MainWindow, ControlsTakeTheLayoutRectanglesAndColours) {
  // Folder texts as saved by an earlier run (they need not exist to be shown).
  const std::string src = "D:\\照片相册\\家庭旅行\\";
  // Too long for its box: the end stays in view, the whole path shows as a tooltip.
  const std::string tar =
      "D:\\整理结果\\按日期归档\\Family Trip Summer 2024 Hokkaido\\Second Phone\\";
  ProgramUnderTest program(Config(src, tar, 1));
  ASSERT_TRUE(program.Start());

  RECT window = ScreenRectOf(program.Main());
  EXPECT_EQ(622, window.right - window.left);
  EXPECT_EQ(416, window.bottom - window.top);
  ExpectLayoutAt(program, 96);
  for (int hidden : {1007, 1004, 1021})
    EXPECT_FALSE(IsWindowVisible(program.Control(hidden))) << hidden;
  EXPECT_EQ(src, Text(program.Control(1019)));
  EXPECT_EQ(tar, Text(program.Control(1020)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(program.Control(1006), BM_GETCHECK, 0, 0));

  // Texts in their colours over the skin: the paths and the check box in teal (a thin face with
  // smoothed edges seldom reaches the full colour, so any clearly teal pixel counts), the maker
  // line white on its dark band (until the window has painted it, a white box).
  auto teal = [](int r, int g, int b) { return r < 170 && g > r + 30 && b > r + 45; };
  for (int id : {1019, 1006})
    EXPECT_TRUE(Shows(program.Control(id), teal)) << id;
  auto dark = [](int r, int g, int b) { return r + g + b < 300; };
  EXPECT_TRUE(Shows(program.Control(1013), dark, 400 * 18 / 2));
  EXPECT_TRUE(Shows(program.Control(1013), IsWhite));
  Screenshot("main-window", program.Main());
  MoveTo({ScreenRectOf(program.Control(1020)).left + 20,
          ScreenRectOf(program.Control(1020)).top + 20});
  HWND tip = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] { return (tip = FindTopLevel(program.ProcessId(), "tooltips_class32", nullptr)); }));
  EXPECT_EQ(tar, Text(tip));
  Screenshot("long-path-tooltip", program.Main());
}

// Started with a folder, the window shows it as the photo folder; a second start brings the
// window back and hands it its folder, taken from where the second start was made; a folder
// that is not there is not taken, and the window says so.
TEST(MainWindow, StartsWithAFolderDragsMinimisesAndTakesASecondStartsFolder) {
  testfiles::TempFolder folders;
  const std::string album = folders / "相册 A";
  ASSERT_TRUE(testfiles::MakeFolders(album) && testfiles::MakeFolders(folders / "B"));
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start(1005, "\"" + album + "\""));
  EXPECT_EQ(album + "\\", Text(program.Control(1019)));
  for (int id : {0, 1019}) {
    RECT before = ScreenRectOf(program.Main());
    RECT grip = id ? ScreenRectOf(program.Control(id))
                   : RECT{before.left, before.top, before.left + 600, before.top + 120};
    POINT from{(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2};
    Drag(from, {from.x - 40, from.y + 30});
    RECT after = ScreenRectOf(program.Main());
    EXPECT_EQ(before.left - 40, after.left) << id;
    EXPECT_EQ(before.top + 30, after.top) << id;
  }
  RECT placed = ScreenRectOf(program.Main());
  Press(program, 1010);
  EXPECT_TRUE(WaitFor([&] { return IsIconic(program.Main()) != FALSE; }));
  // A second start ends at once and brings this window back.
  EXPECT_EQ(0, program.StartSecond("缺少的文件夹", folders.Path()));
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(program.Main()); }));
  EXPECT_EQ(program.Main(), GetForegroundWindow());
  RECT restored = ScreenRectOf(program.Main());
  EXPECT_TRUE(EqualRect(&placed, &restored));
  EXPECT_TRUE(WaitFor([&] {
    return Text(program.Control(1018)) ==
           "找不到文件夹: " + (folders / "缺少的文件夹") + "\r\n照片目录没有改变.";
  })) << Text(program.Control(1018));
  EXPECT_EQ(album + "\\", Text(program.Control(1019)));
  EXPECT_EQ(0, program.StartSecond("B", folders.Path()));
  EXPECT_TRUE(WaitFor([&] { return Text(program.Control(1019)) == folders / "B\\"; }));
}

// A folder dropped on the photo folder's button or path becomes the photo folder, on the
// output folder's the output folder, anywhere else the photo folder; a file stands for its
// folder; of several, the first counts. Config.ini keeps them as the picker would.
TEST(MainWindow, TakesADroppedFolderByWhereItLands) {
  testfiles::TempFolder folders;
  for (const char* name : {"相册 A", "B", "C", "D"})
    ASSERT_TRUE(testfiles::MakeFolders(folders / name));
  ASSERT_TRUE(testfiles::WriteText(folders / "C\\IMG_0001.JPG", "photo"));
  ProgramUnderTest program(Config("E:\\旧\\", "F:\\旧\\"));
  ASSERT_TRUE(program.Start());
  const struct {
    POINT at;
    std::vector<std::string> dropped;
    int box;
    std::string shown;
  } drops[] = {
      {CentreOf(program.Control(1001)), {folders / "相册 A"}, 1019, folders / "相册 A\\"},
      {CentreOf(program.Control(1020)), {folders / "B"}, 1020, folders / "B\\"},
      {{300, 60}, {folders / "C\\IMG_0001.JPG"}, 1019, folders / "C\\"},
      {CentreOf(program.Control(1003)), {folders / "D", folders / "B"}, 1020, folders / "D\\"},
  };
  for (const auto& drop : drops) {
    Drop(program.Main(), drop.at, drop.dropped);
    EXPECT_TRUE(WaitFor([&] { return Text(program.Control(drop.box)) == drop.shown; }))
        << drop.dropped[0] << " -> " << Text(program.Control(drop.box));
  }
  Screenshot("after-a-drop", program.Main());
  Press(program, 1009);
  EXPECT_EQ(0, program.WaitForExit());
  const std::string ini = testfiles::ReadAll(program.Folder() + "Config.ini");
  EXPECT_NE(std::string::npos, ini.find("PathSrc=" + (folders / "C\\") + "\r\n")) << ini;
  EXPECT_NE(std::string::npos, ini.find("PathTar=" + (folders / "D\\") + "\r\n")) << ini;
}

TEST(MainWindow, RunsAJobShowsTheSummaryAndOpensTheFailures) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  const std::string tar = folders / "整理\\";
  // Two photos of one day under the same name: the second cannot be placed.
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2012:05:17 10:00:00");
  for (const std::string& folder : {src + "a", src + "b", tar})
    testfiles::MakeFolders(folder);
  for (const char* name : {"a\\IMG_0001.jpg", "b\\IMG_0001.jpg", "b\\IMG_0002.jpg"})
    ASSERT_TRUE(jpegbuilder::WriteBytes(src + name, photo));
  // A folder whose path goes past the system's limit cannot be read: listed and counted too.
  wchar_t wide[MAX_PATH] = L"\\\\?\\";
  MultiByteToWideChar(CP_UTF8, 0, src.c_str(), -1, wide + 4, MAX_PATH - 4);
  const std::wstring deep = wide + (L"c" + std::wstring(120, L'z')),
                     deeper = deep + L"\\x" + std::wstring(120, L'z');
  ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) && CreateDirectoryW(deeper.c_str(), nullptr));
  ProgramUnderTest program(Config(src, tar));
  ASSERT_TRUE(program.Start());

  Press(program, 1005);
  EXPECT_EQ(Summary(3, 1) + "\r\n未能读取的文件夹 1 个", ShownSummary(program));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Control(1005)) != FALSE; }));
  const std::vector<std::string> placed = {"2012年/2012-05-17/IMG_0001.jpg",
                                           "2012年/2012-05-17/IMG_0002.jpg"};
  EXPECT_EQ(placed, testfiles::ListFiles(tar));
  // The failure list opens in the text editor.
  HWND editor = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (editor = FindTopLevel(0, nullptr, "errorFile.txt")); }));
  // After its UTF-8 byte-order mark the editor reads the file as it is, summary line and all.
  const std::string failures = testfiles::ReadAll(program.Folder() + "errorFile.txt");
  EXPECT_NE(std::string::npos, failures.find("无法读取文件夹: " + src + "c")) << failures;
  const HWND page = editor ? FindWindowExW(editor, nullptr, L"Edit", nullptr) : nullptr;
  EXPECT_TRUE(WaitFor([&] { return Text(page) == failures.substr(3); })) << Text(page);
  Screenshot("failure-file-in-editor");
  PostMessageW(editor, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
  RemoveDirectoryW(deeper.c_str());  // too long for the temporary folder's own removal
}

TEST(MainWindow, StopHidesAtOnceAndTheJobEndsWithItsSummary) {
  testfiles::TempFolder folders;
  const std::string src = folders / "src\\";
  const std::string tar = folders / "tar\\";
  testfiles::MakeFolders(src);
  testfiles::MakeFolders(tar);
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2015:01:02 08:00:00");
  const int total = 6000;  // many times what one worker places before Stop lands
  for (int i = 0; i < total; ++i)
    jpegbuilder::WriteBytes(src + std::to_string(i) + ".jpg", photo);
  // One worker: on a disk that gets several by default the job could end before Stop.
  ProgramUnderTest program(Config(src, tar) + "Jobs=1\r\n");
  ASSERT_TRUE(program.Start());

  Press(program, 1005);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(program.Control(1007)) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(program.Control(1005)));
  EXPECT_FALSE(IsWindowEnabled(program.Control(1011)));  // no options during a job
  // Ticked during the job: the tick stays through its messages (the job still copies). Enter
  // on the tick box ends nothing; Escape asks, and "no" goes on.
  Press(program, 1006);
  // A folder dropped during the job is not taken; one handed over by a second start is taken
  // once the job has ended.
  Drop(program.Main(), CentreOf(program.Control(1003)), {src});
  EXPECT_EQ(0, program.StartSecond("\"" + tar + "\""));
  EXPECT_EQ(src, Text(program.Control(1019)));
  Key("Return");
  Key("Escape");
  HWND box = program.WaitForMessageBox("提示");
  EXPECT_EQ("正在整理, 停止并退出吗?", ProgramUnderTest::MessageBoxText(box));
  Screenshot("quit-during-a-job", program.Main());
  ClickCentre(GetDlgItem(box, IDNO));
  // Stopped while messages go by.
  EXPECT_TRUE(
      WaitFor([&] { return Text(program.Control(1018)).find(".jpg") != std::string::npos; }));
  EXPECT_TRUE(IsWindowVisible(program.Control(1007)));
  Press(program, 1007);
  EXPECT_FALSE(IsWindowVisible(program.Control(1007)));
  const std::string summary = ShownSummary(program);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(program.Control(1005)) != FALSE; }));
  EXPECT_TRUE(IsWindowEnabled(program.Control(1011)));
  const size_t placed = testfiles::ListFiles(tar).size();
  EXPECT_LT(placed, static_cast<size_t>(total));
  EXPECT_EQ(Summary(static_cast<int>(placed), 0), summary);
  EXPECT_EQ(static_cast<size_t>(total), testfiles::ListFiles(src).size());
  EXPECT_EQ(BST_CHECKED, SendMessageW(program.Control(1006), BM_GETCHECK, 0, 0));
  EXPECT_TRUE(WaitFor([&] { return Text(program.Control(1019)) == tar; }));
  EXPECT_EQ(tar, Text(program.Control(1020)));
}

// The taskbar button (through the seam of the program under test) shows the job: indeterminate
// at first, then the share of the counted total, red once a file failed, nothing at the end, and
// a flash when a long job ends behind other windows. After a job that placed anything, a button
// opens the output folder in Explorer.
TEST(MainWindow, TaskbarShowsTheJobAndTheResultOpens) {
  testfiles::TempFolder folders;
  const std::string src = folders / "src\\";
  const std::string tar = folders / "整理,结果\\";
  ASSERT_TRUE(testfiles::MakeFolders(src) && testfiles::MakeFolders(tar));
  for (const char* name : {"1.jpg", "2.jpg", "3.jpg"})
    jpegbuilder::WriteBytes(src + name, jpegbuilder::PhotoWithDate("2016:07:08 09:00:00"));
  ProgramUnderTest program(Config(src, tar), TALLOWICK_SEAMS_EXE);
  ASSERT_TRUE(program.Start());
  const std::string log = program.Folder() + "taskbar.txt";
  // What the taskbar showed of one job, once it has ended.
  auto jobShows = [&](const std::string& end) {
    const bool ended = WaitFor([&] {
      return IsWindowEnabled(program.Control(1005)) && testfiles::ReadAll(log).ends_with(end);
    });
    const std::string shown = testfiles::ReadAll(log);
    DeleteFileA(log.c_str());
    EXPECT_TRUE(ended && shown.starts_with("indeterminate\n")) << shown;
    return shown;
  };
  Press(program, 1005);
  const std::string first = jobShows("normal 3/3\nnone\n");
  EXPECT_EQ(std::string::npos, first.find("error")) << first;
  ASSERT_TRUE(IsWindowVisible(program.Control(1021)));
  Screenshot("after-a-job", program.Main());
  ClickCentre(program.Control(1021));
  HWND explorer = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (explorer = FindTopLevel(0, nullptr, "整理,结果")); }));
  PostMessageW(explorer, WM_CLOSE, 0, 0);
  // Another output folder: the button went with the folder it opened.
  Drop(program.Main(), CentreOf(program.Control(1020)), {src});
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(program.Control(1021)); }));
  Drop(program.Main(), CentreOf(program.Control(1020)), {tar});

  // Again, minimised: every name is taken now, nothing is placed.
  Press(program, 1010);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(program.Main()) != FALSE; }));
  PostMessageW(program.Main(), WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED),
               reinterpret_cast<LPARAM>(program.Control(1005)));
  jobShows("error 3/3\nnone\nflash\n");
  EXPECT_FALSE(IsWindowVisible(program.Control(1021)));
  HWND editor = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (editor = FindTopLevel(0, nullptr, "errorFile.txt")); }));
  PostMessageW(editor, WM_CLOSE, 0, 0);
}

// Enter and Space press the focused button, which shows the focus rectangle; the window has no
// OK for Enter to end it with.
TEST(MainWindow, EnterAndSpacePressTheFocusedButton) {
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start());
  Key("Tab");  // from 整理 to 照片目录
  // The focus rectangle inverts the teal under its dots: reddish pixels, where none were.
  auto inverted = [](int r, int g, int b) { return r > g + 40 && r > b + 40; };
  EXPECT_TRUE(WaitFor(
      [&] { return CountPixelsWhere(ScreenRectOf(program.Control(1001)), inverted) > 20; }, 3000));
  EXPECT_EQ(0, CountPixelsWhere(ScreenRectOf(program.Control(1005)), inverted));
  Screenshot("focus-on-photo-folder", program.Main());
  for (const char* key : {"Return", "space"}) {
    Key(key);
    HWND picker = nullptr;
    EXPECT_TRUE(WaitFor([&] {
      return (picker = FindTopLevel(program.ProcessId(), "#32770", "浏览目录", program.Main()));
    })) << key;
    Key("Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(picker) && IsWindowEnabled(program.Main()); }));
  }
}

TEST(MainWindow, AboutBoxOpensByButtonAndSystemMenuCentredOverTheWindow) {
  ProgramUnderTest program("");
  ASSERT_TRUE(program.Start());
  const RECT main = ScreenRectOf(program.Main());
  for (bool byButton : {true, false}) {
    if (byButton)
      Press(program, 1012);
    else  // the system-menu item's command
      PostMessageW(program.Main(), WM_SYSCOMMAND, 0x0010, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (about = FindTopLevel(program.ProcessId(), "#32770", nullptr, program.Main()));
    }));
    const RECT r = ScreenRectOf(about);
    const RECT centred{(main.left + main.right - 360) / 2, (main.top + main.bottom - 200) / 2,
                       (main.left + main.right + 360) / 2, (main.top + main.bottom + 200) / 2};
    EXPECT_TRUE(EqualRect(&r, &centred)) << r.left << "," << r.top << "," << r.right;
    RECT ok = ClientRectOf(GetDlgItem(about, IDOK));
    const RECT okPlace{339, 5, 355, 21};
    EXPECT_TRUE(EqualRect(&ok, &okPlace));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(about, 1017)));
    EXPECT_FALSE(IsWindowEnabled(program.Main()));
    if (byButton) {
      ClickCentre(GetDlgItem(about, IDOK));
    } else {  // opened again: its texts still draw in their near-white on the dark skin
      EXPECT_TRUE(Shows(GetDlgItem(about, 1014), IsWhite, 10));
      Screenshot("about-box", program.Main());
      Key("Escape");
    }
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(program.Main()); }));
  }
}

// The tick box saves what it shows, unticked here without a job (the next start would move).
TEST(MainWindow, EachWayOfClosingSavesTheWindowsValues) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  for (const std::string way : {"close button", "Escape", "alt+F4", "end of session"}) {
    ProgramUnderTest program(Config(src, "", 1));
    ASSERT_TRUE(program.Start());
    Press(program, 1006);
    if (way == "close button") {
      Press(program, 1009);
    } else if (way == "end of session") {  // as the system ends it: no WM_DESTROY follows
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(program.Main(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                          SMTO_ABORTIFHUNG, 5000, &answer);
      EXPECT_TRUE(answer) << way;
      SendMessageTimeoutW(program.Main(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                          5000, &answer);
    } else {
      Key(way);
    }
    if (way != "end of session") {
      EXPECT_EQ(0, program.WaitForExit()) << way;
    }
    const std::string ini = testfiles::ReadAll(program.Folder() + "Config.ini");
    EXPECT_NE(std::string::npos, ini.find("IsDeleteSrc=0")) << way << "\n" << ini;
    EXPECT_NE(std::string::npos, ini.find("PathSrc=" + src)) << way << "\n" << ini;
  }
}

// Each window at 96, 144 and 192 DPI (the DPI the screen has when the program starts): the main
// window's layout scaled exactly, the About box's and the options dialog's controls in
// proportion and inside them, the folder picker's box as high as its larger font needs. Moved to a
// screen of another DPI, the main window and the options dialog lay themselves out, fonts and all,
// as if opened there.
TEST(MainWindow, EveryWindowScalesWithTheDpi) {
  std::vector<RECT> dialogsAt96[2];  // the About box, the options dialog
  auto teal = [](int r, int g, int b) { return r < 170 && g > r + 30 && b > r + 45; };
  for (const int dpi : {96, 144, 192}) {
    ScreenDpi screen(dpi);
    ProgramUnderTest program(Config("D:\\照片相册\\", "E:\\整理结果\\"));
    ASSERT_TRUE(program.Start());
    const std::string at = std::string("-").append(std::to_string(dpi)).append("dpi");
    const RECT window = ScreenRectOf(program.Main());
    EXPECT_EQ(MulDiv(622, dpi, 96), window.right - window.left) << dpi;
    EXPECT_EQ(MulDiv(416, dpi, 96), window.bottom - window.top) << dpi;
    ExpectLayoutAt(program, dpi);
    Screenshot("main-window" + at, program.Main());
    for (int i = 0; i < 2; ++i) {
      Press(program, i ? 1011 : 1012);
      HWND dialog = nullptr;
      ASSERT_TRUE(WaitFor([&] {
        return (dialog = FindTopLevel(program.ProcessId(), "#32770", nullptr, program.Main()));
      }));
      if (dpi == 96)
        dialogsAt96[i] = ControlRects(dialog);
      ExpectScaled(dialogsAt96[i], ControlRects(dialog), dpi, at);
      Screenshot((i ? "options" : "about-box") + at, dialog);
      if (i && dpi == 96) {
        ChangeDpi(dialog, 144, 96);
        ExpectScaled(dialogsAt96[i], ControlRects(dialog), 144, "options moved to 144 DPI");
        // The image buttons drawn anew at their size: OK's plate fills its button.
        const RECT ok = ScreenRectOf(GetDlgItem(dialog, IDOK));
        const int area = (ok.right - ok.left) * (ok.bottom - ok.top);
        EXPECT_TRUE(WaitFor([&] { return CountPixelsWhere(ok, teal) > area / 2; }, 3000));
        Screenshot("options-moved-to-144dpi", dialog);
      }
      Key("Escape");
      EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }
    // The folder picker's typed-path box (14148), just above the shell's tree (14145), as high
    // as 23 pixels at 96 DPI.
    Press(program, 1001);
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (picker = FindTopLevel(program.ProcessId(), "#32770", "浏览目录")) &&
             GetDlgItem(picker, 14148);
    }));
    const RECT box = ScreenRectOf(GetDlgItem(picker, 14148));
    EXPECT_EQ(MulDiv(23, dpi, 96), box.bottom - box.top) << at;
    EXPECT_EQ(ScreenRectOf(GetDlgItem(picker, 14145)).top - MulDiv(4, dpi, 96), box.bottom) << at;
    Screenshot("folder-picker" + at, picker);
    Key("Escape");
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(picker); }));
    if (dpi == 96) {
      // The check box's text, in the left half of its box (the right half lies on a teal band).
      auto text = [&] {
        RECT box = ScreenRectOf(program.Control(1006));
        box.right = (box.left + box.right) / 2;
        return CountPixelsWhere(box, teal);
      };
      int before = 0;  // once the check box is painted
      WaitFor([&] { return (before = text()) > 40; });
      ChangeDpi(program.Main(), 192, 96);
      ExpectLayoutAt(program, 192);
      EXPECT_TRUE(WaitFor([&] { return text() > 5 * before / 2; }, 3000)) << "at twice the size";
      Screenshot("main-window-moved-to-192dpi", program.Main());
      ChangeDpi(program.Main(), 96, 192);
      ExpectLayoutAt(program, 96);
    }
  }
}
