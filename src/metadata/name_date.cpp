#include "metadata/name_date.h"

#include <cstdint>
#include <cstring>

#include "metadata/day_rules.h"

namespace {

// A prefix, matched without regard to ASCII letter case, then a shape. In a shape, Y M D are
// the digits of the year, month and day, h m s those of the time of day, '#' the thirteen
// digits of milliseconds since 1970 UTC, '9' any digit; every other character stands for
// itself. A shape that ends in a digit may not be followed by another digit.
struct NamePattern {
  const char* prefix;
  const char* shape;
};

constexpr NamePattern kNamePatterns[] = {
    {"IMG_", "YYYYMMDD_hhmmss"},  // phone cameras
    {"VID_", "YYYYMMDD_hhmmss"},
    {"PXL_", "YYYYMMDD_hhmmss999"},  // with milliseconds
    {"IMG-", "YYYYMMDD-WA"},         // chat program saves
    {"VID-", "YYYYMMDD-WA"},
    {"Screenshot_", "YYYY-MM-DD-hh-mm-ss"},
    {"Screenshot_", "YYYYMMDD_hhmmss"},
    {"Screenshot_", "YYYYMMDD-hhmmss"},
    {"微信图片_", "YYYYMMDDhhmmss"},
    {"mmexport", "#############"},  // milliseconds since 1970 UTC
    {"wx_camera_", "#############"},
    {"", "YYYYMMDD_hhmmss"},  // cameras that write only the time
};

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The numbers a shape collects, each built from its letters' digits in order.
struct Fields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::int64_t millis = 0;
  bool hasMillis = false;
};

int* FieldOf(char letter, Fields* fields) {
  switch (letter) {
    case 'Y':
      return &fields->year;
    case 'M':
      return &fields->month;
    case 'D':
      return &fields->day;
    case 'h':
      return &fields->hour;
    case 'm':
      return &fields->minute;
    case 's':
      return &fields->second;
    default:
      return nullptr;
  }
}

// Matches `shape` against `text` (NUL-terminated); fills `fields`.
bool MatchShape(const char* shape, const char* text, Fields* fields) {
  const char* s = shape;
  const char* t = text;
  for (; *s != '\0'; ++s, ++t) {
    if (int* field = FieldOf(*s, fields)) {
      if (!IsDigit(*t)) {
        return false;
      }
      *field = *field * 10 + (*t - '0');
    } else if (*s == '#' || *s == '9') {
      if (!IsDigit(*t)) {
        return false;
      }
      if (*s == '#') {
        fields->millis = fields->millis * 10 + (*t - '0');
        fields->hasMillis = true;
      }
    } else if (*s != *t) {
      return false;
    }
  }
  const bool endsInDigit = FieldOf(s[-1], fields) != nullptr || s[-1] == '#' || s[-1] == '9';
  return !(endsInDigit && IsDigit(*t));
}

bool HasPrefix(const std::string& name, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  if (name.size() < length) {
    return false;
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (LowerAscii(name[i]) != LowerAscii(prefix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool DayFromFileName(const std::string& name, platform::LocalDate* day) {
  for (const NamePattern& pattern : kNamePatterns) {
    Fields fields;
    if (!HasPrefix(name, pattern.prefix) ||
        !MatchShape(pattern.shape, name.c_str() + std::strlen(pattern.prefix), &fields)) {
      continue;
    }
    if (fields.hasMillis) {
      return dayrules::LocalDayOfUnixSeconds(fields.millis / 1000, day);
    }
    const platform::LocalDate found{fields.year, fields.month, fields.day};
    if (dayrules::IsCalendarDay(found) && fields.hour < 24 && fields.minute < 60 &&
        fields.second < 60) {
      *day = found;
      return true;
    }
  }
  return false;
}
