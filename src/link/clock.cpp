#include "link/clock.hpp"

#include <chrono>
#include <ctime>
#include <thread>

namespace device_link {

std::int64_t SystemClock::now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::sleep_ms(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalTime SystemClock::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

Clock& system_clock() {
  static SystemClock clock;
  return clock;
}

}  // namespace device_link
