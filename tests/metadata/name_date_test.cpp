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
  // 2021-03-14 in every pattern; the milliseconds since 1970 are noon UTC of that day, the same
  // day from UTC-11 to UTC+11.
  const char* const dated[] = {
      "IMG_20210314_101500.jpg",        "img_20210314_101500_1.jpg",
      "VID_20210314_101500.mp4",        "PXL_20210314_101500123.jpg",
      "PXL_20210314_101500123.MP.jpg",  "IMG-20210314-WA0001.jpg",
      "VID-20210314-WA0001.mp4",        "Screenshot_2021-03-14-10-15-00.png",
      "Screenshot_20210314_101500.jpg", "Screenshot_20210314-101500_Chrome.jpg",
      "微信图片_20210314101500.jpg",    "20210314_101500.jpg",
      "mmexport1615723200000.jpg",      "wx_camera_1615723200000.mp4"};
  // Impossible days and times, digits that only look like a date, patterns cut short or run on.
  const char* const undated[] = {"IMG_20210230_101500.jpg",    "IMG_20211314_101500.jpg",
                                 "IMG_20210314_251500.jpg",    "IMG_20210314_106000.jpg",
                                 "IMG_12345678_123456.jpg",    "IMG_20210314.jpg",
                                 "IMG_20210314_1015001.jpg",   "IMG_2021031_101500.jpg",
                                 "IMG-20210314.jpg",           "Screenshot_2021-03-14.png",
                                 "DSC_20210314_101500.jpg",    "微信图片_2021031410150.jpg",
                                 "mmexport16156881000.jpg",    "mmexport16156881000001.jpg",
                                 "wx_camera_161568810000.jpg", ""};
  LocalDate day;
  for (const char* name : dated) {
    EXPECT_TRUE(DayFromFileName(name, &day) && Number(day) == 20210314) << name;
  }
  for (const char* name : undated) {
    EXPECT_FALSE(DayFromFileName(name, &day)) << name;
  }
  EXPECT_TRUE(DayFromFileName("IMG_20200229_000000.jpg", &day) && Number(day) == 20200229);
}

TEST(DayRules, CalendarDaysAndTheBelievableRangeFrom1990ToTheLatestDay) {
  const LocalDate latest{2026, 12, 8};
  const struct {
    LocalDate day;
    bool calendar, plausible;
  } cases[] = {
      {{1990, 1, 1}, true, true},    {{1989, 12, 31}, true, false}, {{2026, 12, 8}, true, true},
      {{2026, 12, 9}, true, false},  {{2027, 1, 1}, true, false},   {{2024, 12, 31}, true, true},
      {{2024, 2, 29}, true, true},   {{2023, 2, 29}, false, false}, {{2024, 2, 30}, false, false},
      {{2024, 4, 30}, true, true},   {{2024, 4, 31}, false, false}, {{2023, 4, 31}, false, false},
      {{2000, 2, 29}, true, true},   {{2100, 2, 29}, false, false}, {{1900, 2, 29}, false, false},
      {{2019, 0, 10}, false, false}, {{2019, 13, 1}, false, false}, {{2019, 12, 0}, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dayrules::IsCalendarDay(c.day), c.calendar) << Number(c.day);
    EXPECT_EQ(dayrules::IsPlausibleDay(c.day, latest), c.plausible) << Number(c.day);
  }
}

TEST(DayRules, DayTextsWithColonsOrHyphens) {
  LocalDate day;
  for (const char* text : {"2021:03:14 10:15:00", "2021-03-14T10:15:00+0800", "2021:03:14"}) {
    EXPECT_TRUE(dayrules::ParseDayText(text, &day) && Number(day) == 20210314) << text;
  }
  for (const char* text :
       {"2021:3:14 10:15:00", "2021 03 14", "2021:03:1", "    :  :     :  :  "}) {
    EXPECT_FALSE(dayrules::ParseDayText(text, &day)) << text;
  }
}

}  // namespace
