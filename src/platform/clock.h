#pragma once

#include <cstdint>
#include <memory>

namespace zedade {

struct LocalDateTime {
  int year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;
  int second = 0;
};

// The clock and the random source, reached only through here so that tests can set the time and
// the draws.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime now() const = 0;  // local date and time in whole seconds
  virtual uint32_t tickCount() const = 0;  // milliseconds since some fixed point
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void seed(uint32_t seed) = 0;
  virtual int draw(int low, int high) = 0;  // a whole number in [low, high]
};

Clock& SystemClock();
RandomSource& ProcessRandom();

// Test seams: replace the process-wide clock or random source (nullptr restores the real one).
void SetClockForTesting(Clock* clock);
void SetRandomForTesting(RandomSource* random);

}  // namespace zedade
