// The two dialog templates, read back byte by byte and compared with the windows' tables.
#include <gtest/gtest.h>

#include <cctype>
#include <vector>

#include "product.h"
#include "resource.h"
#include "resource_bytes.h"
#include "tallowick_version.h"

namespace {

struct Control {
  int id;
  std::string kind;  // "button", "edit", "static"
  DWORD style;
  short x, y, cx, cy;
  std::string caption;  // "#N" for a resource ordinal
};

struct Dialog {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::string menu, windowClass, title, face;
  int pointSize = 0, weight = 0, italic = 0, charset = 0;
  std::vector<Control> controls;
};

// Walks a template: plain (DLGTEMPLATE) or extended (DLGTEMPLATEEX), items aligned to 4 bytes.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  Dialog Read() {
    Dialog d;
    const bool extended = bytes_.size() >= 4 && Word(0) == 1 && Word(2) == 0xFFFF;
    pos_ = 0;
    if (extended) {
      pos_ = 8;  // version, signature, help id
      d.exStyle = Dword();
      d.style = Dword();
    } else {
      d.style = Dword();
      d.exStyle = Dword();
    }
    const int count = Next();
    d.x = static_cast<short>(Next()), d.y = static_cast<short>(Next());
    d.cx = static_cast<short>(Next()), d.cy = static_cast<short>(Next());
    d.menu = NameOrOrdinal();
    d.windowClass = NameOrOrdinal();
    d.title = NameOrOrdinal();
    if (d.style & DS_SETFONT) {
      d.pointSize = Next();
      if (extended) {
        d.weight = Next();
        d.italic = bytes_[pos_];
        d.charset = bytes_[pos_ + 1];
        pos_ += 2;
      }
      d.face = NameOrOrdinal();
    }
    for (int i = 0; i < count && ok_; ++i) {
      pos_ = (pos_ + 3) & ~size_t{3};
      Control c{};
      DWORD exStyle = 0;
      if (extended) {
        pos_ += 4;  // help id
        exStyle = Dword();
        c.style = Dword();
      } else {
        c.style = Dword();
        exStyle = Dword();
      }
      EXPECT_EQ(exStyle, 0u) << "control " << i;
      c.x = static_cast<short>(Next()), c.y = static_cast<short>(Next());
      c.cx = static_cast<short>(Next()), c.cy = static_cast<short>(Next());
      c.id = extended ? static_cast<int>(Dword()) : static_cast<short>(Next());
      c.kind = ClassName(NameOrOrdinal());
      c.caption = NameOrOrdinal();
      pos_ += Next();  // creation data
      d.controls.push_back(c);
    }
    EXPECT_TRUE(ok_) << "template runs past its end";
    return d;
  }

 private:
  int Word(size_t at) {
    if (at + 2 > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    return bytes_[at] | bytes_[at + 1] << 8;
  }
  int Next() {
    int w = Word(pos_);
    pos_ += 2;
    return w;
  }
  DWORD Dword() {
    DWORD low = Next();
    return low | static_cast<DWORD>(Next()) << 16;
  }
  std::string NameOrOrdinal() {
    int first = Next();
    if (first == 0xFFFF)
      return std::string(1, '#').append(std::to_string(Next()));
    std::wstring name;
    for (int ch = first; ch != 0 && ok_; ch = Next())
      name += static_cast<wchar_t>(ch);
    return Utf8(name);
  }
  static std::string ClassName(const std::string& name) {
    if (name == "#128")
      return "button";
    if (name == "#129")
      return "edit";
    if (name == "#130")
      return "static";
    std::string lower = name;
    for (char& ch : lower)
      ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return lower;
  }

  std::span<const std::uint8_t> bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

Dialog ReadDialog(int id) {
  auto bytes = ResourceBytes(id, RT_DIALOG);
  EXPECT_FALSE(bytes.empty()) << "dialog " << id;
  return TemplateReader(bytes).Read();
}

// A '*' in an expected caption stands for any text (the maker's own values).
bool CaptionMatches(std::string_view expected, std::string_view actual) {
  size_t star = expected.find('*');
  if (star == std::string_view::npos)
    return expected == actual;
  std::string_view head = expected.substr(0, star), tail = expected.substr(star + 1);
  return actual.size() >= head.size() + tail.size() && actual.starts_with(head) &&
         actual.ends_with(tail);
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kImageButton = kChild | BS_OWNERDRAW | WS_TABSTOP;
constexpr DWORD kStatic = kChild | SS_LEFT | WS_GROUP;

struct ExpectedControl {
  int dialog;
  Control control;
};

const ExpectedControl kControls[] = {
    {IDD_MAIN_DIALOG, {1005, "button", kImageButton, 269, 173, 50, 14, "整理"}},
    {IDD_MAIN_DIALOG, {1007, "button", kImageButton, 327, 173, 50, 14, "停止"}},
    {IDD_MAIN_DIALOG, {1001, "button", kImageButton, 17, 72, 41, 12, "照片目录"}},
    {IDD_MAIN_DIALOG, {1003, "button", kImageButton, 17, 91, 41, 12, "输出目录"}},
    {IDD_MAIN_DIALOG,
     {1004, "edit", kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_WANTRETURN, 122, 163,
      103, 29, ""}},
    {IDD_MAIN_DIALOG,
     {1006, "button", kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 17, 191, 108, 11, "删除源文件"}},
    {IDD_MAIN_DIALOG, {1009, "button", kImageButton, 335, 7, 20, 18, "X"}},
    {IDD_MAIN_DIALOG, {1010, "button", kImageButton, 296, 7, 20, 18, "-"}},
    {IDD_MAIN_DIALOG, {1011, "button", kImageButton, 75, 221, 21, 19, "options"}},
    {IDD_MAIN_DIALOG, {1012, "button", kImageButton, 34, 221, 21, 19, "about"}},
    {IDD_MAIN_DIALOG, {1013, "static", kStatic, 140, 222, 237, 11, "*" TALLOWICK_MAKER_WEB}},
    {IDD_MAIN_DIALOG, {1018, "static", kStatic, 291, 95, 86, 62, "Static"}},
    {IDD_MAIN_DIALOG, {1019, "static", kStatic | SS_CENTERIMAGE, 82, 64, 125, 12, "Static"}},
    {IDD_MAIN_DIALOG, {1020, "static", kStatic | SS_CENTERIMAGE, 75, 87, 125, 12, "Static"}},

    {IDD_ABOUTBOX, {1017, "static", WS_CHILD | SS_ICON, 213, 75, 21, 21, "#128"}},
    {IDD_ABOUTBOX,
     {-1, "static", kStatic | SS_NOPREFIX, 63, 35, 119, 8, "* " TALLOWICK_VERSION_SHORT " 版"}},
    {IDD_ABOUTBOX, {-1, "static", kStatic, 63, 50, 119, 8, "版权所有 (C) *"}},
    {IDD_ABOUTBOX, {IDOK, "button", kChild | BS_OWNERDRAW, 181, 7, 50, 14, "确定"}},
    {IDD_ABOUTBOX, {-1, "static", kStatic, 63, 65, 119, 8, "*"}},
    {IDD_ABOUTBOX, {1014, "static", kStatic, 63, 80, 119, 8, "*"}},
    {IDD_ABOUTBOX, {1015, "static", kStatic, 63, 95, 119, 8, "E-Mail: *"}},
    {IDD_ABOUTBOX, {1016, "static", kStatic, 7, 3, 101, 10, "关于 *"}},
    {IDD_ABOUTBOX, {1018, "static", kStatic, 64, 110, 119, 8, "QQ: *"}},
};

TEST(DialogTemplates, ControlsInTemplateOrder) {
  for (int dialog : {IDD_MAIN_DIALOG, IDD_ABOUTBOX}) {
    std::vector<Control> expected;
    for (const auto& e : kControls)
      if (e.dialog == dialog)
        expected.push_back(e.control);
    Dialog d = ReadDialog(dialog);
    ASSERT_EQ(d.controls.size(), expected.size()) << "dialog " << dialog;
    for (size_t i = 0; i < expected.size(); ++i) {
      const Control &want = expected[i], &got = d.controls[i];
      SCOPED_TRACE("dialog " + std::to_string(dialog) + ", control " + std::to_string(want.id));
      EXPECT_EQ(got.id, want.id);
      EXPECT_EQ(got.kind, want.kind);
      EXPECT_EQ(got.style, want.style) << std::hex << (got.style ^ want.style);
      EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
                (std::vector<int>{want.x, want.y, want.cx, want.cy}));
      EXPECT_TRUE(CaptionMatches(want.caption, got.caption)) << got.caption;
    }
  }
}

TEST(DialogTemplates, BorderlessFramesIn9PointSongTi) {
  struct Frame {
    int id;
    DWORD style, exStyle;
    short cx, cy;
    int charset;
  } const frames[] = {
      {IDD_MAIN_DIALOG, WS_POPUP | WS_VISIBLE | DS_SETFONT, WS_EX_APPWINDOW, 384, 247, 1},
      {IDD_ABOUTBOX, WS_POPUP | DS_SETFONT, 0, 265, 136, 0},
  };
  for (const auto& f : frames) {
    SCOPED_TRACE("dialog " + std::to_string(f.id));
    Dialog d = ReadDialog(f.id);
    EXPECT_EQ(d.style, f.style) << std::hex << (d.style ^ f.style);
    EXPECT_EQ(d.exStyle, f.exStyle);
    EXPECT_EQ((std::vector<int>{d.x, d.y, d.cx, d.cy}), (std::vector<int>{0, 0, f.cx, f.cy}));
    EXPECT_EQ(d.menu + d.windowClass + d.title, "");
    EXPECT_EQ(d.face, "宋体");
    EXPECT_EQ(d.pointSize, 9);
    EXPECT_EQ(d.weight, 0);
    EXPECT_EQ(d.italic, 0);
    EXPECT_EQ(d.charset, f.charset);
  }
}

}  // namespace
