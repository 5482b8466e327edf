/* A caller that links Vantor2.dll at build time, as an integrator's program
 * does: it includes vantor2.h and links the shipped import library of its
 * word size. Written in C; linked_caller_cxx.cpp makes the same calls from
 * C++. On i686 the link itself proves that the import library maps the
 * compiler's names of the __stdcall functions (RunVantor@24) to the DLL's
 * plain exports; running it proves the calls arrive and return.
 * Prints one line per check and exits with the number of failures. */
#include <stdio.h>
#include <string.h>

#include "vantor2.h"

int CxxCallerFailures(void); /* linked_caller_cxx.cpp */

static int failures = 0;

static void Check(int ok, const char* what) {
  printf("%s %s\n", ok ? "ok  " : "FAIL", what);
  if (!ok) ++failures;
}

int main(void) {
  const char* version;
  Check(RunVantor("C:\\", "C:\\", 0, 19200, 0, "") == VANTOR_PORT_NO_ERROR, "C: port 0 gives VANTOR_PORT_NO_ERROR");
  Check(RunVantor("C:\\", "C:\\", 4, 4800, 0, "") == VANTOR_SPEED_ERROR, "C: speed 4800 gives VANTOR_SPEED_ERROR");
  version = VantorVersion();
  Check(version != NULL && strncmp(version, "Vantor2 1.0.0.1\n", 16) == 0, "C: VantorVersion");
  VantorCancel(); /* no transfer runs: nothing happens */
  failures += CxxCallerFailures();
  printf("%d failure(s)\n", failures);
  return failures;
}
