#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <random>

namespace zedade {
namespace {

class RealClock final : public Clock {
 public:
  LocalDateTime now() const override {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
  uint32_t tickCount() const override {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

class RealRandom final : public RandomSource {
 public:
  void seed(uint32_t seed) override { m_engine.seed(seed); }
  int draw(int low, int high) override { return std::uniform_int_distribution<int>(low, high)(m_engine); }

 private:
  std::mt19937 m_engine{std::random_device{}()};
};

Clock* g_clock = nullptr;
RandomSource* g_random = nullptr;

}  // namespace

Clock& SystemClock() {
  static RealClock real;
  return g_clock ? *g_clock : real;
}

RandomSource& ProcessRandom() {
  static RealRandom real;
  return g_random ? *g_random : real;
}

void SetClockForTesting(Clock* clock) { g_clock = clock; }
void SetRandomForTesting(RandomSource* random) { g_random = random; }

}  // namespace zedade
