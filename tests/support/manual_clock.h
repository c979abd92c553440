// A wall clock that only moves when the test says so. The program's clock is
// a plain function, so there is one manual clock at a time.
#pragma once

#include "dial/clock.h"

namespace quorvant::test {

class ManualClock {
 public:
  // Becomes the program's clock, reading `start`.
  explicit ManualClock(const WallClockReading& start);
  // Gives the program back the system clock.
  ~ManualClock();
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  void Set(const WallClockReading& reading);
  // Moves the clock by whole seconds; negative sets it back.
  void Advance(long long seconds);
  WallClockReading Now() const;
  // From now on every reading moves the clock on by `seconds` once it has
  // been taken, so that two readings in a row differ; 0 stops that.
  void StepAfterEachReading(long long seconds);

  // `reading` moved by whole seconds, across days, months and years.
  static WallClockReading Shifted(const WallClockReading& reading, long long seconds);
};

}  // namespace quorvant::test
