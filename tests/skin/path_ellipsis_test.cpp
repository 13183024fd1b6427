#include "skin/path_ellipsis.h"

#include <gtest/gtest.h>

namespace {

// Widths counted in bytes: the rule asks only whether a text fits.
TEST(PathEllipsis, KeepsTheEndOfThePath) {
  const std::string trip = "D:\\Photos\\Family Trip Summer 2024 Hokkaido\\Second Phone\\";
  const struct {
    std::string path;
    std::size_t width;
    std::string shown;
  } cases[] = {
      {trip, trip.size(), trip},
      {trip, trip.size() - 1, "D:\\…\\Family Trip Summer 2024 Hokkaido\\Second Phone\\"},
      {trip, 25, "D:\\…\\Second Phone\\"},  // whole components only
      {trip, 14, "…cond Phone\\"},          // not even the last one: its end
      {"/home/u/相册/旅行/", 19, "/…/相册/旅行/"},
      {"/home/u/相册/旅行/", 12, "/…/旅行/"},
      {"/home/u/相册/旅行/", 10, "…旅行/"},
      {"/home/u/相册/旅行/", 9, "…行/"},  // cut between characters, never inside one
      {"D:\\", 2, "…"},
  };
  for (const auto& c : cases) {
    const char separator = c.path[0] == '/' ? '/' : '\\';
    const std::string shown = ShortenPathInMiddle(
        c.path, separator, [&](const std::string& text) { return text.size() <= c.width; });
    EXPECT_EQ(c.shown, shown) << c.path << " in " << c.width;
  }
}

}  // namespace
