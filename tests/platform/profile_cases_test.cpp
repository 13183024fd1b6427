// One table of INI cases for both builds: the Linux test program runs it against our own INI
// code, the Windows one under Wine against the system's profile functions. Where Wine's
// functions give other bytes than ours, the case says so and why ours are the ones we want.
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform_test_support.h"

namespace {

// The Windows test program (the build whose separator is a backslash) runs under Wine: the
// system's profile functions are Wine's.
constexpr bool kWineFunctions = platform::kPathSeparator == '\\';

// One call on the file: a text read (with its fallback), an integer read (fallback 5) or a
// write. `expected` is what a read returns.
struct IniOp {
  enum Kind { kText, kInt, kWrite } kind;
  const char* section;
  const char* key;
  std::string argument;  // the fallback of a text read, the value of a write
  std::string expected;
};

struct IniCase {
  const char* name;
  const char* before;  // null: no file
  std::vector<IniOp> ops;
  const char* after;  // null: the file is as before
  // What Wine's functions leave instead (null: the same bytes); the case says why ours differ.
  const char* afterOnWine = nullptr;
};

using enum IniOp::Kind;

const std::string kLongValue(2000, 'v');

const IniCase kCases[] = {
    {"missing file gives the fallbacks",
     nullptr,
     {{kText, "Brindlemark", "FileFilters", "jpg,avi,mov,mp4", "jpg,avi,mov,mp4"},
      {kInt, "Brindlemark", "IsClassifyByYear", "", "5"}},
     nullptr},
    {"a new file lists the keys in the order written",
     nullptr,
     {{kWrite, "Brindlemark", "IsDeleteSrc", "0", ""},
      {kWrite, "Brindlemark", "PathSrc", "D:\\照片\\", ""},
      {kText, "Brindlemark", "PathSrc", "", "D:\\照片\\"}},
     "[Brindlemark]\r\nIsDeleteSrc=0\r\nPathSrc=D:\\照片\\\r\n"},
    {"an existing key is replaced where it stands",
     "[A]\r\nx=1\r\ny=2\r\n",
     {{kWrite, "A", "x", "55", ""}, {kInt, "A", "x", "", "55"}},
     "[A]\r\nx=55\r\ny=2\r\n"},
    {"names match without regard to letter case; the file's spelling stays",
     "[brindlemark]\r\nfilefilters=JPG,Mp4\r\n",
     {{kText, "Brindlemark", "FileFilters", "", "JPG,Mp4"},
      {kWrite, "BRINDLEMARK", "FileFilters", "JPG,Mp4", ""}},
     nullptr},
    {"a missing key goes after the section's last line; comments and blank lines stay",
     "; settings\r\n[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n",
     {{kWrite, "A", "y", "2", ""}},
     "; settings\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n",
     // Wine rewrites the whole file from what it parsed and drops blank lines; we change only
     // the key's line, so a hand-laid-out file keeps its layout.
     "; settings\r\n[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n"},
    {"a missing section goes at the end, after the last line's missing line end",
     "[B]\r\nz=3",
     {{kWrite, "A", "x", "1", ""}},
     "[B]\r\nz=3\r\n[A]\r\nx=1\r\n"},
    {"line feeds alone are read, and new lines follow the file's own line ends",
     "[A]\nx=1\n",
     {{kInt, "A", "x", "", "1"}, {kWrite, "A", "y", "2", ""}},
     "[A]\nx=1\ny=2\n",
     // Wine rewrites every line end as CR LF; we keep a Linux-edited file in its own style
     // rather than mix both line ends in one file.
     "[A]\r\nx=1\r\ny=2\r\n"},
    {"blanks around names and values are not part of them; quotes around a value neither",
     "[ A ]\r\n  x  =  two words  \r\n\ty\t=\t\"quoted\"\r\n",
     {{kText, "A", "x", "", "two words"}, {kText, "A", "y", "", "quoted"}},
     nullptr},
    {"a text longer than 1023 bytes is cut",
     nullptr,
     {{kWrite, "A", "long", kLongValue, ""},
      {kText, "A", "long", "", kLongValue.substr(0, 1023)},
      {kText, "A", "missing", kLongValue, kLongValue.substr(0, 1023)}},
     nullptr},  // the after-bytes are checked below, from kLongValue
    {"integers: blanks, sign, digits up to the first other character; empty: the fallback",
     "[A]\r\na=  42\r\nb=-7\r\nc=12abc\r\nd=abc\r\ne=\r\n",
     {{kInt, "A", "a", "", "42"},
      {kInt, "A", "b", "", "-7"},
      {kInt, "A", "c", "", "12"},
      {kInt, "A", "d", "", "0"},
      {kInt, "A", "e", "", "5"},
      {kInt, "A", "g", "", "5"}},
     nullptr},
    {"keys of other sections and comment lines are not read",
     "[A]\r\n;x=1\r\n[B]\r\ny=2\r\n",
     {{kText, "A", "x", "none", "none"}, {kText, "A", "y", "none", "none"}},
     nullptr},
};

TEST(ProfileCases, ReadAndWriteLikeTheSystemProfileFunctions) {
  testfiles::TempFolder folder;
  int number = 0;
  for (const IniCase& test : kCases) {
    SCOPED_TRACE(test.name);
    // A file of its own per case: Wine keeps a profile file's content cached by name.
    const std::string path = folder / ("case" + std::to_string(++number) + ".ini");
    if (test.before != nullptr) {
      ASSERT_TRUE(testfiles::WriteText(path, test.before));
    }
    for (const IniOp& op : test.ops) {
      SCOPED_TRACE(op.key);
      if (op.kind == IniOp::kWrite) {
        EXPECT_TRUE(platform::WriteIniText(path, op.section, op.key, op.argument.c_str()));
      } else {
        EXPECT_EQ(op.kind == IniOp::kText
                      ? platform::ReadIniText(path, op.section, op.key, op.argument.c_str(), 1024)
                      : std::to_string(platform::ReadIniInt(path, op.section, op.key, 5)),
                  op.expected);
      }
    }
    const char* after = test.after != nullptr ? test.after : test.before;
    if (kWineFunctions && test.afterOnWine != nullptr) {
      after = test.afterOnWine;
    }
    if (after != nullptr) {
      EXPECT_EQ(testfiles::ReadAll(path), after);
    }
  }
  EXPECT_EQ(testfiles::ReadAll(folder / "case9.ini"), "[A]\r\nlong=" + kLongValue + "\r\n");
}

}  // namespace
