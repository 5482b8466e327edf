// The C++ half of linked_caller.c: vantor2.h compiles as C++ and its
// functions link and run from C++ as well.
#include <cstdio>
#include <string>

#include "vantor2.h"

extern "C" int CxxCallerFailures(void) {
  int failures = 0;
  const auto check = [&](bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
  };
  check(RunVantor("C:\\", "C:\\", 5, 19200, 0, "") == VANTOR_PORT_NO_ERROR, "C++: port 5 gives VANTOR_PORT_NO_ERROR");
  check(RunVantor("C:\\", "C:\\", 1, 230400, 0, "") == VANTOR_SPEED_ERROR,
        "C++: speed 230400 gives VANTOR_SPEED_ERROR");
  check(std::string(VantorVersion()).rfind("Vantor2 ", 0) == 0, "C++: VantorVersion");
  // The convention a caller's own pointer types use.
  int(VANTOR_CALL * run)(const char*, const char*, int, int, int, const char*) = &RunVantor;
  check(run("C:\\", "C:\\", -1, 19200, 0, "") == VANTOR_PORT_NO_ERROR, "C++: through a VANTOR_CALL pointer");
  return failures;
}
