#include "manual_clock.h"

namespace quorvant::test {

namespace {

// Seconds of the clock's reading counted from 1970-01-01 00:00:00, as if the
// local time were a plain calendar without daylight saving.
long long current = 0;
long long stepAfterReading = 0;

// Days from 1970-01-01 to a date, and back (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

long long SecondsOf(const WallClockReading& r) {
  return DaysFromCivil(r.year, r.month, r.day) * 86400 + r.hour * 3600LL + r.minute * 60LL +
         r.second;
}

WallClockReading ReadingOf(long long seconds) {
  long long days = seconds / 86400;
  long long rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  WallClockReading r{};
  CivilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600);
  r.minute = static_cast<int>(rest / 60 % 60);
  r.second = static_cast<int>(rest % 60);
  return r;
}

WallClockReading Read() {
  const WallClockReading reading = ReadingOf(current);
  current += stepAfterReading;
  return reading;
}

}  // namespace

ManualClock::ManualClock(const WallClockReading& start) {
  current = SecondsOf(start);
  stepAfterReading = 0;
  SetWallClockSource(&Read);
}

ManualClock::~ManualClock() {
  stepAfterReading = 0;
  SetWallClockSource(nullptr);
}

void ManualClock::Set(const WallClockReading& reading) { current = SecondsOf(reading); }

void ManualClock::Advance(long long seconds) { current += seconds; }

WallClockReading ManualClock::Now() const { return ReadingOf(current); }

void ManualClock::StepAfterEachReading(long long seconds) { stepAfterReading = seconds; }

WallClockReading ManualClock::Shifted(const WallClockReading& reading, long long seconds) {
  return ReadingOf(SecondsOf(reading) + seconds);
}

}  // namespace quorvant::test
