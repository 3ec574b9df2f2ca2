// getLocalTime and getWeek.
#include <ctime>

#include "script/arg_accessor.h"
#include "script/command_registry.h"
#include "script/builtins/builtin_families.h"

namespace vellum {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian), for any month and day: they
// carry over like mktime's fields do.
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year += (month - 1) / 12;
  month = (month - 1) % 12 + 1;
  if (month <= 0) {
    month += 12;
    --year;
  }
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + (day - 1);
}

// Year, month, day, hour, minute and second: outputs 1-6 natively, one array for the VMs.
int getLocalTimeBody(void* call) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int32_t fields[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                            local.tm_hour,        local.tm_min,     local.tm_sec};
  args().beginArray(call);
  for (int i = 1; i <= 6; ++i) {
    args().returnInt(call, i, fields[i - 1]);
    args().setArrayElement(call, i);
  }
  return 1;
}

// 0 = Sunday.
int getWeekBody(void* call) {
  const int64_t days = daysFromCivil(args().getInt(call, 1), args().getInt(call, 2), args().getInt(call, 3));
  const int64_t weekday = ((days % 7) + 7 + 4) % 7;  // 1970-01-01 was a Thursday
  args().returnInt(call, 4, static_cast<int32_t>(weekday));
  return 1;
}

}  // namespace

void provideDateFunctions() {
  provideCommand("getLocalTime", &getLocalTimeBody);
  provideCommand("getWeek", &getWeekBody);
}

}  // namespace vellum
