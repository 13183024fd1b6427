// Days from file names, and the range of believable days.
#include <gtest/gtest.h>

#include "metadata/day_rules.h"
#include "metadata/name_date.h"

namespace {

using platform::LocalDate;

int Number(const LocalDate& d) {
  return d.year * 10000 + d.month * 100 + d.day;
}

TEST(NameDate, EveryPatternAndItsNearMisses) {
  const struct {
    const char* name;
    int day;  // YYYYMMDD, 0 when the name gives none
  } cases[] = {
      {"IMG_20210314_101500.jpg", 20210314},
      {"img_20210314_101500_1.jpg", 20210314},
      {"VID_20210314_101500.mp4", 20210314},
      {"PXL_20210314_101500123.jpg", 20210314},
      {"PXL_20210314_101500123.MP.jpg", 20210314},
      {"IMG-20210314-WA0001.jpg", 20210314},
      {"VID-20210314-WA0001.mp4", 20210314},
      {"Screenshot_2021-03-14-10-15-00.png", 20210314},
      {"Screenshot_20210314_101500.jpg", 20210314},
      {"Screenshot_20210314-101500_Chrome.jpg", 20210314},
      {"微信图片_20210314101500.jpg", 20210314},
      {"20210314_101500.jpg", 20210314},
      {"IMG_20200229_000000.jpg", 20200229},  // leap day
      // Near misses: impossible days, a 13th month, times that cannot be, digits that only
      // look like a date, patterns cut short or run on.
      {"IMG_20210230_101500.jpg", 0},
      {"IMG_20211314_101500.jpg", 0},
      {"IMG_20210014_101500.jpg", 0},
      {"IMG_20190229_101500.jpg", 0},
      {"IMG_20210314_251500.jpg", 0},
      {"IMG_20210314_106000.jpg", 0},
      {"IMG_12345678_123456.jpg", 0},
      {"IMG_20210314.jpg", 0},
      {"IMG_20210314_1015001.jpg", 0},
      {"IMG_2021031_101500.jpg", 0},
      {"IMG-20210314.jpg", 0},
      {"Screenshot_2021-03-14.png", 0},
      {"DSC_20210314_101500.jpg", 0},
      {"微信图片_2021031410150.jpg", 0},
      {"mmexport16156881000.jpg", 0},
      {"mmexport16156881000001.jpg", 0},
      {"wx_camera_161568810000.jpg", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    LocalDate day;
    const bool found = DayFromFileName(c.name, &day);
    EXPECT_EQ(found ? Number(day) : 0, c.day) << c.name;
  }
}

TEST(NameDate, MillisecondsSince1970AreTheLocalDayOfThatInstant) {
  // 2021-03-14 12:00:00 UTC: the same day from UTC-11 to UTC+11.
  for (const char* name : {"mmexport1615723200000.jpg", "wx_camera_1615723200000.mp4"}) {
    LocalDate day;
    ASSERT_TRUE(DayFromFileName(name, &day)) << name;
    EXPECT_EQ(Number(day), 20210314) << name;
  }
}

TEST(DayRules, BelievableDaysRunFrom1990ToTheLatestDay) {
  const LocalDate latest{2026, 12, 8};
  const struct {
    LocalDate day;
    bool plausible;
  } cases[] = {
      {{1990, 1, 1}, true},   {{1989, 12, 31}, false}, {{2026, 12, 8}, true},
      {{2026, 12, 9}, false}, {{2027, 1, 1}, false},   {{2000, 2, 29}, true},
      {{1900, 2, 29}, false}, {{2100, 2, 29}, false},  {{2019, 2, 29}, false},
      {{2019, 4, 31}, false}, {{2019, 0, 10}, false},  {{2019, 12, 0}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dayrules::IsPlausibleDay(c.day, latest), c.plausible) << Number(c.day);
  }
}

TEST(DayRules, DayTextsWithColonsOrHyphens) {
  const struct {
    const char* text;
    int day;
  } cases[] = {
      {"2021:03:14 10:15:00", 20210314},
      {"2021-03-14T10:15:00+0800", 20210314},
      {"2021:03:14", 20210314},
      {"2021:3:14 10:15:00", 0},
      {"2021 03 14", 0},
      {"2021:03:1", 0},
      {"    :  :     :  :  ", 0},
  };
  for (const auto& c : cases) {
    LocalDate day;
    const bool parsed = dayrules::ParseDayText(c.text, &day);
    EXPECT_EQ(parsed ? Number(day) : 0, c.day) << c.text;
  }
}

}  // namespace
