// The local wall clock, read to the second, and the arithmetic of the dial
// guard. Tests replace the clock; the program reads the system's.
#pragma once

#include <cstdint>

#include "app/types.h"

namespace quorvant {

struct WallClockReading {
  int year;
  int month;  // 1-12
  int day;    // 1-31
  int hour;
  int minute;
  int second;
};

using WallClockSource = WallClockReading (*)();

// The system's local time; what the program uses unless a test replaces it.
WallClockReading ReadSystemWallClock();
// Replaces the clock for the whole program; nullptr restores the system's.
void SetWallClockSource(WallClockSource source);

// Days since 1899-12-30 plus the fraction of the day, whole seconds.
Timestamp TimestampOf(const WallClockReading& reading);
Timestamp CurrentTime();

// Whole seconds from `earlier` to `later`; exact for d >= 0, d + 1 for d < 0.
std::int32_t ElapsedSeconds(Timestamp later, Timestamp earlier);

}  // namespace quorvant
