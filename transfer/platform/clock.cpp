#include "clock.h"

#include <chrono>
#include <thread>

namespace vantor {

void CSystemClock::Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace vantor
