// The options dialog of the real Tallowick.exe under Wine and Xvfb, opened by its button and
// set with the pointer and keyboard; its effect read from the job's target and Config.ini.
#include <gtest/gtest.h>

#include <string>

#include "box_builder.h"
#include "jpeg_builder.h"
#include "test_files.h"
#include "window_driver.h"

using namespace windriver;

namespace {

constexpr int kOrganize = 1005, kStop = 1007, kClose = 1009, kOptions = 1011, kMessage = 1018,
              kDialogClose = 1101, kFilters = 1102, kRestoreDefault = 1103, kByYear = 1104,
              kLayout = 1105, kMediaDates = 1106, kSkipIdentical = 1107, kRenameClashes = 1108,
              kSidecars = 1109, kJournal = 1110, kUndo = 1111, kRawFolder = 1114, kAddRaw = 1115;
constexpr int kChecks[] = {kMediaDates, kSkipIdentical, kRenameClashes,
                           kSidecars,   kJournal,       kRawFolder};
constexpr char kRawEndings[] =
    ",cr2,nef,nrw,arw,sr2,srf,dng,pef,srw,3fr,erf,kdc,mef,mos,iiq,orf,rw2,rwl,cr3,raf,mrw,crw,x3f";

// Clicks the options button and returns the dialog once it is up.
HWND OpenOptions(const ProgramUnderTest& program) {
  ClickCentre(program.Control(kOptions));
  HWND dialog = nullptr;
  WaitFor([&] {
    return (dialog = FindTopLevel(program.ProcessId(), "#32770", nullptr, program.Main()));
  });
  return dialog;
}

void WaitClosed(const ProgramUnderTest& program, HWND dialog) {
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) && IsWindowEnabled(program.Main()); }));
}

// Moves the focus to the control with Tab, as a user would, then presses `key`.
void KeyOn(HWND dialog, int id, const char* key) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  for (int tab = 0;
       tab < 20 && GetGUIThreadInfo(thread, &info) && info.hwndFocus != GetDlgItem(dialog, id);
       ++tab)
    Key("Tab");
  EXPECT_EQ(GetDlgItem(dialog, id), info.hwndFocus) << id;
  Key(key);
}

bool Checked(HWND dialog, int id) {
  return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Clicks `change` (when given), presses undo in the dialog with Enter and answers its question
// with OK; returns the question.
std::string UndoFromOptions(ProgramUnderTest& program, const std::string& shot = "",
                            int change = 0) {
  HWND dialog = OpenOptions(program);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kUndo)));
  if (change)
    ClickCentre(GetDlgItem(dialog, change));
  KeyOn(dialog, kUndo, "Return");
  HWND box = program.WaitForMessageBox("提示");
  if (!box)
    return "(no box)";
  const std::string question = ProgramUnderTest::MessageBoxText(box);
  if (!shot.empty())
    Screenshot(shot);
  Key("Return");
  WaitClosed(program, dialog);
  return question;
}

std::string WaitForSummary(const ProgramUnderTest& program, const char* start) {
  std::string text;
  WaitFor(
      [&] { return (text = Text(program.Control(kMessage))).find(start) != std::string::npos; });
  WaitFor([&] { return IsWindowEnabled(program.Control(kOrganize)) != FALSE; });
  return text;
}

}  // namespace

// Every control changed and stored with OK; a job shows each option's effect in the target;
// its undo puts both folders back and is offered once; a restart reads the values back, and
// each way of cancelling stores nothing.
TEST(OptionsDialog, EachOptionReachesTheJobAndConfigIniAndCancelKeepsThem) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  const std::string tar = folders / "整理\\";
  const std::string day = "2019年\\2019-03\\";
  ASSERT_TRUE(testfiles::MakeFolders(src) && testfiles::MakeFolders(tar + day));
  // A HEIC dated by its EXIF only (its file time is years off), a photo already in place, one
  // whose name is taken by another photo, a photo with its sidecar, and a raw file without a
  // date beside its photo.
  ASSERT_TRUE(jpegbuilder::WriteBytes(
      src + "IMG_1.heic",
      boxbuilder::HeifWithExif(jpegbuilder::ExifBlockWithDate("2019:03:04 10:00:00"))));
  ASSERT_TRUE(testfiles::SetLocalWriteTime(src + "IMG_1.heic", 2001, 1, 1));
  const jpegbuilder::Bytes same = jpegbuilder::PhotoWithDate("2019:03:05 10:00:00");
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "IMG_2.jpg", same));
  ASSERT_TRUE(jpegbuilder::WriteBytes(tar + day + "IMG_2.jpg", same));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "IMG_3.jpg",
                                      jpegbuilder::PhotoWithDate("2019:03:06 10:00:00")));
  ASSERT_TRUE(jpegbuilder::WriteBytes(tar + day + "IMG_3.jpg",
                                      jpegbuilder::PhotoWithDate("2019:03:07 10:00:00")));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "IMG_4.jpg",
                                      jpegbuilder::PhotoWithDate("2019:03:08 10:00:00")));
  ASSERT_TRUE(testfiles::WriteText(src + "IMG_4.xmp", "<x:xmpmeta/>"));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "IMG_5.jpg",
                                      jpegbuilder::PhotoWithDate("2019:03:09 10:00:00")));
  ASSERT_TRUE(testfiles::WriteText(src + "IMG_5.CR2", "raw"));
  const auto srcBefore = testfiles::ReadTree(src);
  const auto tarBefore = testfiles::ReadTree(tar);
  ProgramUnderTest program("[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=" + src +
                           "\r\nPathTar=" + tar + "\r\nFileFilters=jpg\r\n");
  ASSERT_TRUE(program.Start());

  HWND dialog = OpenOptions(program);
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(IsWindowEnabled(program.Main()));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kUndo)));  // no job recorded yet
  EXPECT_EQ("jpg", Text(GetDlgItem(dialog, kFilters)));
  KeyOn(dialog, kRestoreDefault, "Return");
  EXPECT_EQ("jpg,avi,mov,mp4", Text(GetDlgItem(dialog, kFilters)));
  ClickCentre(GetDlgItem(dialog, kAddRaw));
  EXPECT_EQ(std::string("jpg,avi,mov,mp4") + kRawEndings, Text(GetDlgItem(dialog, kFilters)));
  ClickCentre(GetDlgItem(dialog, kFilters));
  Key("End");
  Type(",heic");
  // The year switch and the layout list show one choice.
  ClickCentre(GetDlgItem(dialog, kByYear));
  EXPECT_EQ(1, SendMessageW(GetDlgItem(dialog, kLayout), CB_GETCURSEL, 0, 0));
  ClickCentre(GetDlgItem(dialog, kLayout));
  Key("Down Down Return");  // the month folders
  EXPECT_EQ(3, SendMessageW(GetDlgItem(dialog, kLayout), CB_GETCURSEL, 0, 0));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kByYear)));
  for (int id : kChecks)
    ClickCentre(GetDlgItem(dialog, id));
  Screenshot("options-dialog", dialog);
  ClickCentre(GetDlgItem(dialog, IDOK));
  WaitClosed(program, dialog);

  ClickCentre(program.Control(kOrganize));
  EXPECT_NE(std::string::npos, WaitForSummary(program, "整理文件").find("失败 0 个"));
  const std::vector<std::string> placed = {
      "2019年/2019-03/IMG_1.heic", "2019年/2019-03/IMG_2.jpg",    "2019年/2019-03/IMG_3(1).jpg",
      "2019年/2019-03/IMG_3.jpg",  "2019年/2019-03/IMG_4.jpg",    "2019年/2019-03/IMG_4.xmp",
      "2019年/2019-03/IMG_5.jpg",  "2019年/2019-03/RAW/IMG_5.CR2"};
  EXPECT_EQ(placed, testfiles::ListFiles(tar));
  EXPECT_EQ(1u, testfiles::ListFiles(program.Folder() + "journal").size());

  // Undo of the copy: the copies go, the files that were there before stay; offered once. A
  // change made in the same visit is kept.
  EXPECT_NE(std::string::npos,
            UndoFromOptions(program, "", kMediaDates).find("上次整理: 6 个文件, 1 个新建的文件夹"));
  EXPECT_EQ("\r\n\r\n撤销文件 6 个, 无法撤销 0 个", WaitForSummary(program, "撤销文件"));
  EXPECT_EQ(tarBefore, testfiles::ReadTree(tar));
  EXPECT_EQ(srcBefore, testfiles::ReadTree(src));
  dialog = OpenOptions(program);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kUndo)));
  EXPECT_FALSE(Checked(dialog, kMediaDates));
  ClickCentre(GetDlgItem(dialog, kMediaDates));
  ClickCentre(GetDlgItem(dialog, IDOK));
  WaitClosed(program, dialog);
  ClickCentre(program.Control(kClose));
  ASSERT_EQ(0, program.WaitForExit());

  const std::string saved = testfiles::ReadAll(program.Folder() + "Config.ini");
  for (const char* line : {"FileFilters=jpg,avi,mov,mp4,", "x3f,heic\r\n", "IsClassifyByYear=0",
                           "FolderLayout=year-month", "ReadMediaDates=1", "SkipIdentical=1",
                           "RenameClashes=1", "Sidecars=1", "KeepJournal=1", "RawFolder=1"})
    EXPECT_NE(std::string::npos, saved.find(line)) << line << "\n" << saved;

  // Restarted: the values come back; the dialog's ways of cancelling store nothing.
  ASSERT_TRUE(program.Start());
  const struct {
    const char* name;
    void (*cancel)(HWND dialog);
  } ways[] = {
      {"Cancel", [](HWND d) { ClickCentre(GetDlgItem(d, IDCANCEL)); }},
      {"close button", [](HWND d) { ClickCentre(GetDlgItem(d, kDialogClose)); }},
      {"Escape", [](HWND) { Key("Escape"); }},
      {"Enter on Cancel", [](HWND d) { KeyOn(d, IDCANCEL, "Return"); }},
  };
  for (const auto& way : ways) {
    dialog = OpenOptions(program);
    ASSERT_TRUE(dialog) << way.name;
    EXPECT_EQ(std::string("jpg,avi,mov,mp4") + kRawEndings + ",heic",
              Text(GetDlgItem(dialog, kFilters)))
        << way.name;
    EXPECT_EQ(3, SendMessageW(GetDlgItem(dialog, kLayout), CB_GETCURSEL, 0, 0)) << way.name;
    for (int id : kChecks)
      EXPECT_TRUE(Checked(dialog, id)) << id << " " << way.name;
    ClickCentre(GetDlgItem(dialog, kMediaDates));
    way.cancel(dialog);
    WaitClosed(program, dialog);
  }
  ClickCentre(program.Control(kClose));
  ASSERT_EQ(0, program.WaitForExit());
  EXPECT_EQ(saved, testfiles::ReadAll(program.Folder() + "Config.ini"));
}

// Undo of a move: the sources come back, a placed file changed since stays where it is and is
// listed in the failure file, which opens in the editor.
TEST(OptionsDialog, UndoOfAMoveBringsTheSourcesBackAndListsAChangedFile) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  const std::string tar = folders / "整理\\";
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2018:07:08 10:00:00");
  ASSERT_TRUE(testfiles::MakeFolders(src + "a"));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "a\\IMG_5.jpg", photo));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "a\\IMG_6.jpg", photo));
  ASSERT_TRUE(testfiles::MakeFolders(tar));
  ProgramUnderTest program("[Brindlemark]\r\nIsDeleteSrc=1\r\nPathSrc=" + src +
                           "\r\nPathTar=" + tar + "\r\nKeepJournal=1\r\n");
  ASSERT_TRUE(program.Start());
  ClickCentre(program.Control(kOrganize));
  EXPECT_NE(std::string::npos,
            WaitForSummary(program, "整理文件").find("整理文件 2 个, 失败 0 个"));
  EXPECT_TRUE(testfiles::ListFiles(src).empty());
  const std::string changed = tar + "2018年\\2018-07-08\\IMG_6.jpg";
  ASSERT_TRUE(testfiles::WriteText(changed, "edited since"));

  EXPECT_NE(std::string::npos,
            UndoFromOptions(program, "undo-question").find("上次整理: 2 个文件, 2 个新建的文件夹"));
  EXPECT_EQ("\r\n\r\n撤销文件 1 个, 无法撤销 1 个", WaitForSummary(program, "撤销文件"));
  EXPECT_EQ((std::vector<std::string>{"a/IMG_5.jpg"}), testfiles::ListFiles(src));
  EXPECT_EQ(std::string(photo.begin(), photo.end()), testfiles::ReadAll(src + "a\\IMG_5.jpg"));
  EXPECT_EQ((std::vector<std::string>{"2018年/2018-07-08/IMG_6.jpg"}), testfiles::ListFiles(tar));
  EXPECT_EQ("edited since", testfiles::ReadAll(changed));
  HWND editor = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (editor = FindTopLevel(0, nullptr, "errorFile")) != nullptr; }));
  EXPECT_NE(std::string::npos,
            testfiles::ReadAll(program.Folder() + "errorFile.txt").find("文件已改动"));
  if (editor)
    PostMessageW(editor, WM_CLOSE, 0, 0);
}

// During a job the options button is greyed and does nothing; closing the window asks first and
// on yes stops the job after the file in hand.
TEST(OptionsDialog, GreyedDuringAJobAndClosingThenAsksFirst) {
  testfiles::TempFolder folders;
  const std::string src = folders / "src\\";
  const jpegbuilder::Bytes photo = jpegbuilder::PhotoWithDate("2015:01:02 08:00:00");
  const int total = 3000;
  for (int i = 0; i < total; ++i) {
    if (i % 100 == 0)
      testfiles::MakeFolders(src + std::to_string(i / 100));
    jpegbuilder::WriteBytes(src + std::to_string(i / 100) + "\\" + std::to_string(i) + ".jpg",
                            photo);
  }
  ASSERT_TRUE(testfiles::MakeFolders(folders / "tar"));
  // One worker, so that the job outlasts the checks below on any disk.
  ProgramUnderTest program("[Brindlemark]\r\nPathSrc=" + src + "\r\nPathTar=" + folders / "tar\\" +
                           "\r\nJobs=1\r\n");
  ASSERT_TRUE(program.Start());
  const RECT options = ScreenRectOf(program.Control(kOptions));
  auto bright = [](int r, int g, int b) { return r + g + b > 600; };
  const int brightIdle = CountPixelsWhere(options, bright);
  ClickCentre(program.Control(kOrganize));
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(program.Control(kStop)) != FALSE; }));
  EXPECT_FALSE(IsWindowEnabled(program.Control(kOptions)));
  EXPECT_TRUE(WaitFor([&] { return CountPixelsWhere(options, bright) < brightIdle / 2; }, 3000))
      << "the gear is not greyed";
  ClickCentre(program.Control(kOptions));
  ClickCentre(program.Control(kClose));
  HWND box = program.WaitForMessageBox("提示");
  ASSERT_TRUE(box);  // the question: no options dialog holds the window
  ClickCentre(GetDlgItem(box, IDYES));
  EXPECT_EQ(0, program.WaitForExit(20000));
  EXPECT_LT(testfiles::ListFiles(folders / "tar").size(), static_cast<size_t>(total));
}

// A journal that cannot be opened is reported before anything moves (no: nothing moves); one
// that fills its disk during the job is reported after it.
TEST(OptionsDialog, AJournalThatCannotBeWrittenIsReported) {
  testfiles::TempFolder folders;
  const std::string src = folders / "相册\\";
  const std::string tar = folders / "整理\\";
  ASSERT_TRUE(testfiles::MakeFolders(src) && testfiles::MakeFolders(tar));
  ASSERT_TRUE(jpegbuilder::WriteBytes(src + "IMG_7.jpg",
                                      jpegbuilder::PhotoWithDate("2018:07:08 10:00:00")));
  ProgramUnderTest program("[Brindlemark]\r\nIsDeleteSrc=1\r\nPathSrc=" + src +
                           "\r\nPathTar=" + tar + "\r\nKeepJournal=1\r\n");
  const std::string journal = program.Folder() + "journal";
  ASSERT_TRUE(testfiles::WriteText(journal, "a file where the folder would be"));
  ASSERT_TRUE(program.Start());
  ClickCentre(program.Control(kOrganize));
  HWND box = program.WaitForMessageBox("提示");
  EXPECT_NE(std::string::npos, ProgramUnderTest::MessageBoxText(box).find("无法建立整理记录"));
  Screenshot("journal-not-opened", program.Main());
  ClickCentre(GetDlgItem(box, IDNO));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(program.Main()); }));
  EXPECT_EQ((std::vector<std::string>{"IMG_7.jpg"}), testfiles::ListFiles(src));

  // A file system of one full page: the journal opens, its first line finds no room.
  DeleteFileA(journal.c_str());
  ASSERT_TRUE(testfiles::MakeFolders(journal));
  const std::string mount = LinuxPath(journal);
  struct Unmount {
    std::string path;
    ~Unmount() { RunLinux("umount -l '" + path + "'"); }
  } unmount{mount};
  if (RunLinux("(mount -t tmpfs -o size=4k tmpfs '" + mount + "' && head -c 4096 /dev/zero > '" +
               mount + "/filler')") != 0)
    GTEST_SKIP() << "cannot mount a file system here";
  ClickCentre(program.Control(kOrganize));
  box = program.WaitForMessageBox("提示");
  EXPECT_NE(std::string::npos, ProgramUnderTest::MessageBoxText(box).find("整理记录没有写完整"));
  EXPECT_NE(std::string::npos, Text(program.Control(kMessage)).find("整理文件 1 个, 失败 0 个"));
  Screenshot("journal-not-written", program.Main());
  Key("Return");
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box) && IsWindowEnabled(program.Main()); }));
}
