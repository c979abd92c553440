#include "dial/clock.h"

#include <cmath>
#include <ctime>

namespace quorvant {

namespace {

WallClockSource clockSource = &ReadSystemWallClock;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

constexpr long long DAYS_1899_12_30_TO_1970_01_01 = 25569;
constexpr double SECONDS_PER_DAY = 86400.0;

}  // namespace

WallClockReading ReadSystemWallClock() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) return {1970, 1, 1, 0, 0, 0};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     local->tm_sec};
}

void SetWallClockSource(WallClockSource source) {
  clockSource = source != nullptr ? source : &ReadSystemWallClock;
}

Timestamp TimestampOf(const WallClockReading& r) {
  const long long days =
      DaysFromCivil(r.year, static_cast<unsigned>(r.month), static_cast<unsigned>(r.day)) +
      DAYS_1899_12_30_TO_1970_01_01;
  const int seconds = r.hour * 3600 + r.minute * 60 + r.second;
  return static_cast<double>(days) + seconds / SECONDS_PER_DAY;
}

Timestamp CurrentTime() { return TimestampOf(clockSource()); }

std::int32_t ElapsedSeconds(Timestamp later, Timestamp earlier) {
  // The small addition lifts a difference that should be whole but came out
  // just below it back over, so truncation keeps it.
  const double x = (later - earlier) * SECONDS_PER_DAY + 0.000005787037037037037;
  // Out of range only for nonsense timestamps; keep the conversion defined.
  if (!(std::fabs(x) < 9.0e18)) return 0;
  const auto whole = static_cast<long long>(x);
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(static_cast<unsigned long long>(whole)));
}

}  // namespace quorvant
