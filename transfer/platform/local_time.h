#pragma once
// The local time of a moment, the way the system's time zone gives it. The
// C library's own localtime() shares one buffer between threads; this does not.

#include <ctime>

namespace vantor {

std::tm LocalTime(std::time_t seconds);

}  // namespace vantor
