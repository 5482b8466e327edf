#include "local_time.h"

namespace vantor {

std::tm LocalTime(std::time_t seconds) {
  std::tm local{};
  localtime_s(&local, &seconds);  // the thread-safe form of the Microsoft C library
  return local;
}

}  // namespace vantor
